#include <gtest/gtest.h>

#include <cmath>

#include "styles/styles.hpp"
#include "support/text.hpp"

using namespace qm;

namespace {

// A style sheet with the usual blocks; `num_fmts`, `fonts` ... replace a block's content.
struct Sheet {
    std::string num_fmts;  // whole block, or empty for none
    std::string fonts = "<fonts count=\"1\"><font><sz val=\"11\"/><color theme=\"1\"/><name val=\"Calibri\"/>"
                        "<family val=\"2\"/><scheme val=\"minor\"/></font></fonts>";
    std::string fills = "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
                        "<fill><patternFill patternType=\"gray125\"/></fill></fills>";
    std::string borders = "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>";
    std::string cell_xfs = "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>";
    std::string tail = "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
                       "<dxfs count=\"1\"><dxf><font><b/><name val=\"Dxf\"/></font></dxf></dxfs>";

    std::string text() const {
        return "<?xml version=\"1.0\"?><styleSheet xmlns=\"urn:x\">" + num_fmts + fonts + fills + borders +
               "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>" +
               cell_xfs + tail + "</styleSheet>";
    }
    EditorState state() const {
        EditorState st;
        st.styles_xml = text();
        return st;
    }
};

std::size_t count_of(std::string_view text, std::string_view needle) {
    std::size_t n = 0;
    for (std::size_t at = find(text, needle); at != npos; at = find(text, needle, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(StyleIndex, CountsSelfClosingEntriesAndSkipsOtherBlocks) {
    Sheet s;
    s.fonts = "<fonts count=\"3\"><font/><font><b/><sz val=\"12\"/><name val=\"Arial\"/></font>"
              "<font><i val=\"0\"/><sz val=\"bad\"/></font></fonts>";
    s.fills = "<fills count=\"3\"><fill/><fill><patternFill><fgColor theme=\"4\"/><fgColor rgb=\"ff00aa00\"/>"
              "<fgColor rgb=\"FF111111\"/></patternFill></fill><fill/></fills>";
    s.borders = "<borders count=\"3\"><border/><border><left style=\"thin\"/><right style=\"thin\"/>"
                "<top style=\"thin\"/><bottom style=\"thin\"/></border>"
                "<border><left style=\"thick\"/><right style=\"thick\"/><top style=\"thick\"/></border></borders>";
    auto built = build_style_index(s.text());
    ASSERT_TRUE(built) << built.error().message;
    const StyleIndex& ix = *built;
    EXPECT_EQ(ix.font_count, 3u);  // the dxf font is not one of them
    EXPECT_EQ(ix.fonts_by_key.at(FontKey{"Calibri", 1100, false, false}), 0u);
    EXPECT_EQ(ix.fonts_by_key.at(FontKey{"Arial", 1200, true, false}), 1u);
    // `i` counts whatever its val; an unreadable size stays 11.
    EXPECT_EQ(ix.fonts_by_key.at(FontKey{"Calibri", 1100, false, true}), 2u);
    EXPECT_EQ(ix.fill_count, 3u);
    EXPECT_EQ(ix.fills_by_colour.size(), 1u);
    EXPECT_EQ(ix.fills_by_colour.at("FF00AA00"), 1u);  // the first fgColor with rgb, upper-cased
    EXPECT_EQ(ix.border_count, 3u);
    EXPECT_EQ(ix.borders_by_style.size(), 1u);  // a border missing an edge is not keyed
    EXPECT_EQ(ix.borders_by_style.at("thin"), 1u);
}

TEST(StyleIndex, NumberFormatIds) {
    struct Case { std::string block; std::uint32_t next; };
    for (const auto& c : {Case{"", 164},
                          Case{"<numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"0.0\"/>"
                               "<numFmt numFmtId=\"200\" formatCode=\"0.000\"/></numFmts>", 201},
                          Case{"<numFmts count=\"1\"><numFmt numFmtId=\"+7\" formatCode=\"x\"/></numFmts>", 164}}) {
        Sheet s;
        s.num_fmts = c.block;
        auto built = build_style_index(s.text());
        ASSERT_TRUE(built) << c.block;
        EXPECT_EQ(built->next_custom_id, c.next) << c.block;
        EXPECT_EQ(built->codes_by_text.at("0.00"), 2u);
        EXPECT_EQ(built->codes_by_id.at(49), "@");
    }
    // The last numFmt of an id wins, and the code it replaced no longer maps to it.
    Sheet s;
    s.num_fmts = "<numFmts count=\"2\"><numFmt numFmtId=\"170\" formatCode=\"a\"/>"
                 "<numFmt numFmtId=\"170\" formatCode=\"b\"/></numFmts>";
    auto built = build_style_index(s.text());
    ASSERT_TRUE(built);
    EXPECT_EQ(built->codes_by_id.at(170), "b");
    EXPECT_FALSE(built->codes_by_text.contains("a"));
    EXPECT_EQ(built->next_custom_id, 171u);
}

TEST(StyleIndex, CellFormatsAndAlignment) {
    Sheet s;
    s.cell_xfs = "<cellXfs count=\"5\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                 "<xf fontId=\"2\" numFmtId=\"junk\"/>"
                 "<xf numFmtId=\"14\" fontId=\"x\"><alignment horizontal=\"center\" vertical=\"top\" wrapText=\"true\"/></xf>"
                 "<xf><alignment wrapText=\"1\"/></xf>"
                 "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>";
    auto built = build_style_index(s.text());
    ASSERT_TRUE(built) << built.error().message;
    const auto& f = built->cell_formats;
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0], (CellFormat{0, 0, 0, 0, std::nullopt}));
    EXPECT_EQ(f[1], (CellFormat{2, std::nullopt, std::nullopt, 0, std::nullopt}));
    EXPECT_EQ(f[2].font_id, 0u);  // present but unreadable
    EXPECT_EQ(f[2].num_fmt_id, 14u);
    EXPECT_EQ(f[2].alignment, (Alignment{false, 0, 1}));  // wrapText only when exactly "1"
    EXPECT_EQ(f[3].alignment, (Alignment{true, std::nullopt, std::nullopt}));
    EXPECT_EQ(built->formats_by_content.at(f[0]), 0u);  // the first of equal entries wins
    EXPECT_EQ(built->formats_by_content.size(), 4u);
}

TEST(StyleIndex, BuildFailures) {
    struct Case { std::string num_fmts, cell_xfs, message; };
    const std::string xfs = "<cellXfs count=\"1\"><xf numFmtId=\"0\"/></cellXfs>";
    for (const auto& c : {
             Case{"<numFmts count=\"1\"><numFmt numFmtId=\"\" formatCode=\"x\"/></numFmts>", xfs,
                  "cannot parse integer from empty string"},
             Case{"<numFmts count=\"1\"><numFmt numFmtId=\"1x\"/></numFmts>", xfs, "invalid digit found in string"},
             Case{"<numFmts count=\"1\"><numFmt numFmtId=\"4294967296\" formatCode=\"x\"/></numFmts>", xfs,
                  "number too large to fit in target type"},
             Case{"", "<cellXfs count=\"1\"><xf><alignment horizontal=\"general\"/></xf></cellXfs>",
                  "Unknown horizontal alignment: general"},
             Case{"", "<cellXfs count=\"1\"><xf><alignment vertical=\"middle\"/></xf></cellXfs>",
                  "Unknown vertical alignment: middle"},
         }) {
        Sheet s;
        s.num_fmts = c.num_fmts;
        s.cell_xfs = c.cell_xfs;
        EditorState st = s.state();
        auto ix = ensure_style_index(st);
        ASSERT_FALSE(ix) << c.message;
        EXPECT_EQ(ix.error().message, c.message);
        EXPECT_FALSE(st.style_index);  // nothing stored: the next call tries again
    }
    EXPECT_FALSE(build_style_index("<styleSheet><fonts></styleSheet>"));
}

TEST(StyleSheet, FillsAreUpperCasedAndReused) {
    EditorState st = Sheet{}.state();
    EXPECT_EQ(add_fill(st, "ff00aa00").value(), 2u);  // after none and gray125
    std::string once = st.styles_xml;
    EXPECT_EQ(add_fill(st, "FF00AA00").value(), 2u);
    EXPECT_EQ(st.styles_xml, once);
    EXPECT_NE(find(once, "<fills count=\"3\">"), npos);
    EXPECT_NE(find(once, "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FF00AA00\"/>"
                         "<bgColor indexed=\"64\"/></patternFill></fill></fills>"),
              npos);
}

TEST(StyleSheet, FontsBySizeHundredths) {
    EditorState st = Sheet{}.state();
    EXPECT_EQ(add_font(st, "Calibri", 11.0f, false, false).value(), 0u);  // the existing first font
    EXPECT_EQ(count_of(st.styles_xml, "<font>"), 2u);                     // nothing written (+ dxf)
    EXPECT_EQ(add_font(st, "Calibri", 10.999f, true, false).value(), 1u);
    EXPECT_EQ(add_font(st, "Calibri", 11.0f, true, false).value(), 1u);
    EXPECT_EQ(add_font(st, "Calibri", 10.994f, true, false).value(), 2u);
    EXPECT_EQ(add_font(st, "Arial", 12.34f, true, true).value(), 3u);
    EXPECT_NE(find(st.styles_xml, "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font>"), npos);
    EXPECT_NE(find(st.styles_xml, "<font><b/><sz val=\"10.99\"/><name val=\"Calibri\"/></font>"), npos);
    EXPECT_NE(find(st.styles_xml, "<font><b/><i/><sz val=\"12.34\"/><name val=\"Arial\"/></font></fonts>"), npos);
    EXPECT_NE(find(st.styles_xml, "<fonts count=\"4\">"), npos);
    EXPECT_EQ(size_hundredths(-3.0f), 0u);
    EXPECT_EQ(size_hundredths(std::nanf("")), 0u);
    EXPECT_EQ(size_hundredths(1e30f), UINT32_MAX);
    EXPECT_EQ(size_hundredths(0.125f), 13u);  // half away from zero
}

TEST(StyleSheet, BorderIndexCountsSelfClosingBorders) {
    Sheet s;
    s.borders = "<borders count=\"2\"><border/><border><left/><right/><top/><bottom/></border></borders>";
    EditorState st = s.state();
    EXPECT_EQ(add_border(st, "thin").value(), 2u);
    EXPECT_EQ(add_border(st, "thin").value(), 2u);
    EXPECT_EQ(add_border(st, "Thin").value(), 3u);  // case-sensitive
    EXPECT_NE(find(st.styles_xml, "<border><left style=\"thin\"/><right style=\"thin\"/><top style=\"thin\"/>"
                                  "<bottom style=\"thin\"/><diagonal/></border>"),
              npos);
    EXPECT_NE(find(st.styles_xml, "<borders count=\"4\">"), npos);
}

TEST(StyleSheet, NumberFormatsBuiltInAndCustom) {
    EditorState st = Sheet{}.state();
    const std::string before = st.styles_xml;
    EXPECT_EQ(num_fmt_id_for(st, "0.00").value(), 2u);
    EXPECT_EQ(num_fmt_id_for(st, "@").value(), 49u);
    EXPECT_EQ(st.styles_xml, before);
    EXPECT_EQ(num_fmt_id_for(st, "0.000").value(), 164u);
    EXPECT_NE(find(st.styles_xml, "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.000\"/>"
                                  "</numFmts><fonts"),
              npos);
    EXPECT_EQ(num_fmt_id_for(st, "0.0000").value(), 165u);
    EXPECT_EQ(num_fmt_id_for(st, "0.000").value(), 164u);
    EXPECT_NE(find(st.styles_xml, "<numFmts count=\"2\">"), npos);

    // No fonts block: the new block goes right after the root's start tag.
    EditorState bare;
    bare.styles_xml = "<styleSheet xmlns=\"urn:x\"><cellXfs count=\"0\"></cellXfs></styleSheet>";
    EXPECT_EQ(num_fmt_id_for(bare, "0.0").value(), 164u);
    EXPECT_EQ(bare.styles_xml, "<styleSheet xmlns=\"urn:x\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" "
                               "formatCode=\"0.0\"/></numFmts><cellXfs count=\"0\"></cellXfs></styleSheet>");
}

TEST(StyleSheet, CellFormatMarkupAndReuse) {
    EditorState st = Sheet{}.state();
    StyleSpec same_as_first;
    same_as_first.font_id = same_as_first.fill_id = same_as_first.border_id = 0;
    EXPECT_EQ(add_cell_format(st, same_as_first).value(), 0u);

    struct Case { StyleSpec spec; std::string markup; };
    StyleSpec none, empty_align, full, fmt;
    empty_align.alignment = Alignment{};
    full.font_id = 3;
    full.fill_id = 2;
    full.border_id = 1;
    full.alignment = Alignment{true, 2, 4};
    fmt.num_fmt = "0.00%";
    fmt.alignment = Alignment{false, std::nullopt, 1};
    const Case cases[] = {
        // absent ids differ from present zeros: the first xf does not match
        {none, "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"},
        {empty_align, "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyAlignment=\"1\"/>"},
        {full, "<xf numFmtId=\"0\" fontId=\"3\" fillId=\"2\" borderId=\"1\" xfId=\"0\" applyFont=\"1\" applyFill=\"1\" "
               "applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"justify\" vertical=\"bottom\" "
               "wrapText=\"1\"/></xf>"},
        {fmt, "<xf numFmtId=\"10\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\" "
              "applyAlignment=\"1\"><alignment horizontal=\"center\"/></xf>"},
    };
    std::uint32_t next = 1;
    for (const auto& c : cases) {
        EXPECT_EQ(add_cell_format(st, c.spec).value(), next) << c.markup;
        EXPECT_EQ(add_cell_format(st, c.spec).value(), next) << c.markup;
        EXPECT_NE(find(st.styles_xml, c.markup + "</cellXfs>"), npos) << c.markup;
        ++next;
        EXPECT_NE(find(st.styles_xml, "<cellXfs count=\"" + std::to_string(next) + "\">"), npos);
    }
    // Reading the text again finds the same number formats and alignments (absent ids read back
    // as present zeros, an empty alignment as none: the markup
    // always names the three ids and writes no empty alignment child).
    auto rebuilt = build_style_index(st.styles_xml);
    ASSERT_TRUE(rebuilt);
    ASSERT_EQ(rebuilt->cell_formats.size(), st.style_index->cell_formats.size());
    for (std::size_t i = 0; i < rebuilt->cell_formats.size(); ++i) {
        EXPECT_EQ(rebuilt->cell_formats[i].num_fmt_id, st.style_index->cell_formats[i].num_fmt_id);
        EXPECT_EQ(rebuilt->cell_formats[i].alignment.value_or(Alignment{}),
                  st.style_index->cell_formats[i].alignment.value_or(Alignment{}));
        EXPECT_EQ(rebuilt->cell_formats[i].font_id.value_or(0), st.style_index->cell_formats[i].font_id.value_or(0));
    }
}

TEST(StyleSheet, CountFailuresLeaveTextAndIndexInStep) {
    struct Case { std::string fills; std::string message; };
    for (const auto& c : {
             Case{"<fills><fill/></fills>", "attribute count not found"},
             Case{"<fills count=\"x\"><fill/></fills>", "invalid digit found in string"},
         }) {
        Sheet s;
        s.fills = c.fills;
        EditorState st;
        st.styles_xml = s.text();
        const std::string before = st.styles_xml;
        auto r = add_fill(st, "FF0000FF");
        ASSERT_FALSE(r) << c.fills;
        EXPECT_EQ(r.error().message, c.message);
        EXPECT_EQ(st.styles_xml, before);  // no element the index does not know
        ASSERT_TRUE(st.style_index);
        EXPECT_EQ(st.style_index->fill_count, 1u);
        EXPECT_FALSE(st.style_index->fills_by_colour.contains("FF0000FF"));
    }
    // Other blocks' counts are not touched.
    std::string text = "<fonts count=\"1\"></fonts><fills></fills>";
    EXPECT_EQ(bump_count(text, "<fills").error().message, "attribute count not found");
    EXPECT_EQ(text, "<fonts count=\"1\"></fonts><fills></fills>");
    ASSERT_TRUE(bump_count(text, "<fonts"));
    EXPECT_EQ(text, "<fonts count=\"2\"></fonts><fills></fills>");
    std::string open_quote = "<fills count=\"1>";
    EXPECT_EQ(bump_count(open_quote, "<fills").error().message, "closing quote not found");
    std::string plus = "<a/><fills x=\"1\" count=\"+9\">";
    ASSERT_TRUE(bump_count(plus, "<fills"));
    EXPECT_EQ(plus, "<a/><fills x=\"1\" count=\"10\">");
}

TEST(StyleSheet, MissingBlocks) {
    struct Case { std::string text; int op; std::string message; };
    const std::string root = "<styleSheet xmlns=\"urn:x\">";
    for (const auto& c : {
             Case{root + "</styleSheet>", 0, "<fills> block not found in styles.xml"},
             Case{root + "</styleSheet>", 1, "<fonts> block not found in styles.xml"},
             Case{root + "</styleSheet>", 2, "styles.xml: </borders> not found"},
             Case{root + "</styleSheet>", 3, "styles.xml: </cellXfs> not found"},
         }) {
        EditorState st;
        st.styles_xml = c.text;
        Result<std::uint32_t> r = c.op == 0   ? add_fill(st, "FF000000")
                                  : c.op == 1 ? add_font(st, "A", 10, false, false)
                                  : c.op == 2 ? add_border(st, "thin")
                                              : add_cell_format(st, StyleSpec{});
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().message, c.message);
        EXPECT_EQ(st.styles_xml, c.text);
    }
}

TEST(StyleSheet, CallerTextsAreEscapedAndMatchedEscaped) {
    Sheet s;
    s.num_fmts = "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"&quot;$&quot;#,##0\"/></numFmts>";
    s.fonts = "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"R&amp;D Sans\"/></font></fonts>";
    s.cell_xfs = "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                 "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>";
    EditorState st = s.state();
    EXPECT_EQ(num_fmt_id_for(st, "\"$\"#,##0").value(), 164u);
    EXPECT_EQ(add_font(st, "R&D Sans", 11, false, false).value(), 0u);
    EXPECT_EQ(num_fmt_id_for(st, "[>=100]\"<\"0;'x'").value(), 165u);
    EXPECT_EQ(num_fmt_id_for(st, "[>=100]\"<\"0;'x'").value(), 165u);
    EXPECT_NE(find(st.styles_xml, "formatCode=\"[&gt;=100]&quot;&lt;&quot;0;&apos;x&apos;\""), npos);
    EXPECT_EQ(add_fill(st, "a\"<b").value(), 2u);
    EXPECT_NE(find(st.styles_xml, "rgb=\"A&quot;&lt;B\""), npos);
    EXPECT_EQ(add_border(st, "x&y").value(), 1u);
    EXPECT_EQ(add_border(st, "x&y").value(), 1u);
    EXPECT_NE(find(st.styles_xml, "<left style=\"x&amp;y\"/>"), npos);
    EXPECT_EQ(add_font(st, "A<B", 9, false, false).value(), 1u);
    EXPECT_NE(find(st.styles_xml, "<name val=\"A&lt;B\"/>"), npos);
    // The sheet is still well-formed, and reading it again finds the same entries.
    auto rebuilt = build_style_index(st.styles_xml);
    ASSERT_TRUE(rebuilt) << rebuilt.error().message;
    EXPECT_EQ(rebuilt->codes_by_text.at("[&gt;=100]&quot;&lt;&quot;0;&apos;x&apos;"), 165u);
    EXPECT_EQ(rebuilt->fills_by_colour.at("A&quot;&lt;B"), 2u);

    // A cell whose format uses the quoted code keeps it when another part of its style changes.
    auto spec = spec_of_style(st, 1);
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->num_fmt, "\"$\"#,##0");
    StyleSpec change;
    change.fill_id = 2;
    auto derived = add_cell_format(st, merge_style(*spec, change));
    ASSERT_TRUE(derived);
    EXPECT_EQ(st.style_index->cell_formats[*derived].num_fmt_id, 164u);
    EXPECT_EQ(count_of(st.styles_xml, "<numFmt "), 2u);
}

TEST(StyleSheet, SpecOfStyleAndMerge) {
    Sheet s;
    s.cell_xfs = "<cellXfs count=\"3\"><xf numFmtId=\"14\" fontId=\"1\"/><xf numFmtId=\"2\" fillId=\"3\">"
                 "<alignment vertical=\"top\" wrapText=\"1\"/></xf><xf numFmtId=\"0\"/></cellXfs>";
    EditorState st = s.state();
    auto first = spec_of_style(st, 0);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->num_fmt);  // built-in 14 has no code here, but its id is kept
    EXPECT_EQ(first->num_fmt_id, 14u);
    EXPECT_EQ(first->font_id, 1u);
    StyleSpec fill;
    fill.fill_id = 2;
    auto dated = add_cell_format(st, merge_style(*first, fill));
    ASSERT_TRUE(dated);
    EXPECT_EQ(st.style_index->cell_formats[*dated].num_fmt_id, 14u);  // dates stay dates
    StyleSpec text;
    text.num_fmt = "@";
    auto as_text = add_cell_format(st, merge_style(*first, text));
    EXPECT_EQ(st.style_index->cell_formats[as_text.value()].num_fmt_id, 49u);
    auto second = spec_of_style(st, 1).value();
    EXPECT_EQ(second.num_fmt, "0.00");
    EXPECT_FALSE(spec_of_style(st, 2)->num_fmt);
    EXPECT_EQ(spec_of_style(st, 9).error().message, "style id 9 not found in style index");
    EXPECT_FALSE(spec_of_style(st, std::nullopt)->fill_id);

    StyleSpec change;
    change.font_id = 7;
    change.alignment = Alignment{false, std::nullopt, 1};
    StyleSpec merged = merge_style(second, change);
    EXPECT_EQ(merged.num_fmt, "0.00");
    EXPECT_EQ(merged.fill_id, 3u);
    EXPECT_EQ(merged.font_id, 7u);
    EXPECT_EQ(merged.alignment, change.alignment);  // replaced as a whole: wrap and top are gone
}
