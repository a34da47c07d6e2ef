#include <gtest/gtest.h>

#include <algorithm>

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

// Everything the index says, as text, for comparing an index kept up to date with one built again.
std::string summary(const StyleIndex& ix) {
    std::string out = ix.prefix + "|" + std::to_string(ix.ready_blocks) + "|" + std::to_string(ix.next_custom_id) + "|" +
                      std::to_string(ix.font_count) + "," + std::to_string(ix.fill_count) + "," +
                      std::to_string(ix.border_count) + "|";
    for (const auto& f : ix.cell_formats) out += f.markup + ";";
    for (const auto* map : {&ix.formats_by_key, &ix.fonts_by_key, &ix.fills_by_key, &ix.borders_by_key, &ix.codes_by_text}) {
        std::vector<std::pair<std::string, std::uint32_t>> sorted(map->begin(), map->end());
        std::sort(sorted.begin(), sorted.end());
        for (const auto& [k, v] : sorted) out += k + "=" + std::to_string(v) + ";";
        out += "|";
    }
    return out;
}

}  // namespace

TEST(StyleIndex, EntriesAreKeyedByAllTheyHold) {
    Sheet s;
    s.num_fmts = "<numFmts count=\"1\"><numFmt numFmtId=\"170\" formatCode=\"0.0\"/></numFmts>";
    s.fonts = "<fonts count=\"4\"><font/><font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font>"
              "<font><b val=\"0\"/><sz val=\"11\"/><name val=\"Calibri\"/></font>"
              "<font>\n  <b/>\n  <sz val=\"11\"></sz><name val='Calibri'/></font></fonts>";
    s.tail = "<dxfs count=\"1\"><dxf><font><b/></font><numFmt numFmtId=\"300\" formatCode=\"0.000\"/></dxf></dxfs>";
    auto built = build_style_index(s.text());
    ASSERT_TRUE(built) << built.error().message;
    const StyleIndex& ix = *built;
    EXPECT_EQ(ix.font_count, 4u);  // the dxf font is not one of them
    EXPECT_EQ(ix.fonts_by_key.size(), 3u);  // the last font equals the second: spelling aside
    EXPECT_EQ(ix.fonts_by_key.at(canonical_key("<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font>").value()), 1u);
    EXPECT_EQ(ix.fill_count, 2u);
    EXPECT_EQ(ix.border_count, 1u);
    // Only styleSheet/numFmts defines cell codes; the dxf's id is taken all the same.
    EXPECT_EQ(ix.codes_by_text.at("0.0"), 170u);
    EXPECT_FALSE(ix.codes_by_text.contains("0.000"));
    EXPECT_EQ(ix.next_custom_id, 301u);
    EXPECT_EQ(ix.codes_by_id.at(49), "@");
}

TEST(StyleIndex, CellFormatsAcceptEverySchemaWord) {
    Sheet s;
    s.cell_xfs = "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                 "<xf fontId=\"2\" numFmtId=\"junk\"/>"
                 "<xf numFmtId=\"14\"><alignment horizontal=\"general\" vertical=\"distributed\" wrapText=\"true\"/></xf>"
                 "<xf><alignment horizontal=\"center\" vertical=\"top\" wrapText=\"0\"/></xf></cellXfs>";
    auto built = build_style_index(s.text());
    ASSERT_TRUE(built) << built.error().message;
    const auto& f = built->cell_formats;
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[1].font_id, 2u);
    EXPECT_FALSE(f[1].fill_id);
    EXPECT_EQ(f[1].num_fmt_id, 0u);
    EXPECT_EQ(f[2].num_fmt_id, 14u);
    EXPECT_EQ(f[2].alignment, (Alignment{true, std::nullopt, std::nullopt}));
    EXPECT_EQ(f[3].alignment, (Alignment{false, 0, 1}));
    EXPECT_EQ(f[3].markup, "<xf><alignment horizontal=\"center\" vertical=\"top\" wrapText=\"0\"/></xf>");
    EXPECT_EQ(num_fmt_code(*built, 0), std::nullopt);
    EXPECT_EQ(num_fmt_code(*built, 2), std::nullopt);  // built-in 14 has no code here
    EXPECT_EQ(num_fmt_code(*built, 9), std::nullopt);
}

TEST(StyleIndex, BuildFailures) {
    struct Case { std::string num_fmts, message; };
    for (const auto& c : {
             Case{"<numFmts count=\"1\"><numFmt numFmtId=\"\" formatCode=\"x\"/></numFmts>",
                  "cannot parse integer from empty string"},
             Case{"<numFmts count=\"1\"><numFmt numFmtId=\"1x\"/></numFmts>", "invalid digit found in string"},
             Case{"<numFmts count=\"1\"><numFmt numFmtId=\"4294967296\" formatCode=\"x\"/></numFmts>",
                  "number too large to fit in target type"},
         }) {
        Sheet s;
        s.num_fmts = c.num_fmts;
        EditorState st = s.state();
        auto ix = ensure_style_index(st);
        ASSERT_FALSE(ix) << c.message;
        EXPECT_EQ(ix.error().message, c.message);
        EXPECT_FALSE(st.style_index);  // nothing stored: the next call tries again
    }
    EXPECT_FALSE(build_style_index("<styleSheet><fonts></styleSheet>"));
}

TEST(StyleSheet, BlocksArePreparedInSchemaOrder) {
    struct Case { std::string text; std::uint32_t blocks; std::string want; };
    const std::string ns = "<styleSheet xmlns=\"urn:x\"";
    const std::string font = "<font><sz val=\"11\"/><name val=\"Calibri\"/></font>";
    const std::string xf = "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>";
    for (const auto& c : {
             Case{ns + " xml:space=\"preserve\"/>", block_bit(StyleBlock::NumFmts),
                  ns + " xml:space=\"preserve\"><numFmts count=\"0\"></numFmts></styleSheet>"},
             Case{ns + "><cellXfs count=\"1\">" + xf + "</cellXfs></styleSheet>", block_bit(StyleBlock::Fonts),
                  ns + "><fonts count=\"1\">" + font + "</fonts><cellXfs count=\"1\">" + xf + "</cellXfs></styleSheet>"},
             Case{ns + "><numFmts count=\"0\"/><fonts>" + font + font + "</fonts><dxfs/></styleSheet>",
                  block_bit(StyleBlock::NumFmts) | block_bit(StyleBlock::Fonts) | block_bit(StyleBlock::CellStyles),
                  ns + "><numFmts count=\"0\"></numFmts><fonts count=\"2\">" + font + font +
                      "</fonts><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
                      "</cellStyles><dxfs/></styleSheet>"},
             Case{ns + "><numFmts/><extLst/></styleSheet>", block_bit(StyleBlock::NumFmts) | block_bit(StyleBlock::Borders),
                  ns + "><numFmts count=\"0\"></numFmts><borders count=\"1\"><border><left/><right/><top/><bottom/>"
                       "<diagonal/></border></borders><extLst/></styleSheet>"},
             Case{"<x:styleSheet xmlns:x=\"urn:x\"/>", block_bit(StyleBlock::Fills),
                  "<x:styleSheet xmlns:x=\"urn:x\"><x:fills count=\"2\"><x:fill><x:patternFill patternType=\"none\"/>"
                  "</x:fill><x:fill><x:patternFill patternType=\"gray125\"/></x:fill></x:fills></x:styleSheet>"},
         }) {
        auto done = with_blocks(c.text, c.blocks);
        ASSERT_TRUE(done) << c.text;
        EXPECT_EQ(*done, c.want);
        auto ix = build_style_index(*done);
        ASSERT_TRUE(ix);
        EXPECT_EQ(ix->ready_blocks & c.blocks, c.blocks) << *done;
    }
}

TEST(StyleSheet, ReuseOnlyWhatIsEqualInEveryRespect) {
    struct Case { std::string block; int op; std::uint32_t want; };
    // op 0: bold Calibri 11; 1: solid fill FFFF0000; 2: thin border.
    const std::string solid = "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFFF0000\"/>"
                              "<bgColor indexed=\"64\"/></patternFill></fill>";
    const std::string thin = "<border><left style=\"thin\"/><right style=\"thin\"/><top style=\"thin\"/>"
                             "<bottom style=\"thin\"/><diagonal/></border>";
    for (const auto& c : {
             Case{"<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font>", 0, 1},
             Case{"<font><b/><sz val=\"11\"/><color rgb=\"FFFF0000\"/><u/><name val=\"Calibri\"/></font>", 0, 2},
             Case{"<font><b val=\"0\"/><sz val=\"11\"/><name val=\"Calibri\"/></font>", 0, 2},
             Case{solid, 1, 2},
             Case{"<fill><patternFill patternType=\"solid\"><fgColor rgb=\"ffff0000\"/><bgColor indexed=\"64\"/>"
                  "</patternFill></fill>", 1, 2},
             Case{"<fill><patternFill patternType=\"darkGray\"><fgColor rgb=\"FFFF0000\"/><bgColor indexed=\"64\"/>"
                  "</patternFill></fill>", 1, 3},
             Case{thin, 2, 1},
             Case{"<border><left style=\"thin\"><color rgb=\"FFFF0000\"/></left><right style=\"thin\"/><top style=\"thin\"/>"
                  "<bottom style=\"thin\"/><diagonal/></border>", 2, 2},
         }) {
        Sheet s;
        if (c.op == 0) s.fonts = "<fonts count=\"2\">" + Sheet{}.fonts.substr(17, Sheet{}.fonts.size() - 25) + c.block + "</fonts>";
        if (c.op == 1) s.fills = "<fills count=\"3\"><fill/><fill/>" + c.block + "</fills>";
        if (c.op == 2) s.borders = "<borders count=\"2\"><border/>" + c.block + "</borders>";
        EditorState st = s.state();
        auto id = c.op == 0 ? add_font(st, "Calibri", 11, true, false) : c.op == 1 ? add_fill(st, "FFFF0000") : add_border(st, "thin");
        ASSERT_TRUE(id) << c.block;
        EXPECT_EQ(*id, c.want) << c.block;
        auto rebuilt = build_style_index(st.styles_xml);
        ASSERT_TRUE(rebuilt);
        EXPECT_EQ(summary(*rebuilt), summary(*st.style_index)) << c.block;
    }
}

TEST(StyleSheet, DerivedFormatsAreCopies) {
    struct Case { std::string old; StyleSpec change; std::string want; };
    auto font = [](std::uint32_t id) { StyleSpec s; s.font_id = id; return s; };
    auto align = [](Alignment a) { StyleSpec s; s.alignment = a; return s; };
    StyleSpec code;
    code.num_fmt = "0.000";
    for (const auto& c : {
             Case{"<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyProtection=\"1\">"
                  "<protection locked=\"0\" hidden=\"1\"/></xf>", font(3),
                  "<xf numFmtId=\"0\" fontId=\"3\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyProtection=\"1\" applyFont=\"1\">"
                  "<protection locked=\"0\" hidden=\"1\"/></xf>"},
             Case{"<xf numFmtId=\"14\" fontId=\"0\" xfId=\"1\" quotePrefix=\"1\"><alignment horizontal=\"left\" "
                  "textRotation=\"90\" indent=\"2\" shrinkToFit=\"1\" wrapText=\"1\"/></xf>",
                  align(Alignment{false, 0, std::nullopt}),
                  "<xf numFmtId=\"14\" fontId=\"0\" xfId=\"1\" quotePrefix=\"1\" applyAlignment=\"1\"><alignment "
                  "textRotation=\"90\" indent=\"2\" shrinkToFit=\"1\" vertical=\"top\"/></xf>"},
             Case{"<xf numFmtId=\"0\"><alignment horizontal=\"centerContinuous\" vertical=\"distributed\" wrapText=\"true\"/></xf>",
                  align(Alignment{true, std::nullopt, std::nullopt}),
                  "<xf numFmtId=\"0\" applyAlignment=\"1\"><alignment horizontal=\"centerContinuous\" "
                  "vertical=\"distributed\" wrapText=\"1\"/></xf>"},
             Case{"<xf numFmtId=\"0\"><alignment horizontal=\"right\"/><extLst><ext uri=\"u\"/></extLst></xf>",
                  align(Alignment{}), "<xf numFmtId=\"0\" applyAlignment=\"1\"><extLst><ext uri=\"u\"/></extLst></xf>"},
             Case{"<xf numFmtId=\"0\" fontId=\"0\" applyNumberFormat=\"0\"/>", code,
                  "<xf numFmtId=\"164\" fontId=\"0\" applyNumberFormat=\"1\"/>"},
         }) {
        Sheet s;
        s.cell_xfs = "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>" +
                     c.old + "</cellXfs>";
        EditorState st = s.state();
        auto id = derive_cell_format(st, 1, c.change);
        ASSERT_TRUE(id) << id.error().message;
        EXPECT_EQ(*id, 2u);
        EXPECT_EQ(st.style_index->cell_formats.at(2).markup, c.want);
        EXPECT_NE(find(st.styles_xml, c.want + "</cellXfs>"), npos);
        EXPECT_EQ(derive_cell_format(st, 1, c.change).value(), 2u);  // equal: reused
        EXPECT_EQ(derive_cell_format(st, 2, c.change).value(), 2u);  // laying it again changes nothing
        auto rebuilt = build_style_index(st.styles_xml);
        ASSERT_TRUE(rebuilt);
        EXPECT_EQ(summary(*rebuilt), summary(*st.style_index)) << c.want;
    }
}

TEST(StyleSheet, NumberFormats) {
    EditorState st = Sheet{}.state();
    const std::string before = st.styles_xml;
    EXPECT_EQ(num_fmt_id_for(st, "0.00").value(), 2u);
    EXPECT_EQ(num_fmt_id_for(st, "@").value(), 49u);
    EXPECT_EQ(st.styles_xml, before);
    EXPECT_EQ(num_fmt_id_for(st, "0.000").value(), 164u);
    EXPECT_NE(find(st.styles_xml, "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.000\"/>"
                                  "</numFmts><fonts"),
              npos);
    EXPECT_EQ(num_fmt_id_for(st, "[>=100]\"<\"0;'x'").value(), 165u);
    EXPECT_EQ(num_fmt_id_for(st, "[>=100]\"<\"0;'x'").value(), 165u);
    EXPECT_NE(find(st.styles_xml, "formatCode=\"[&gt;=100]&quot;&lt;&quot;0;&apos;x&apos;\""), npos);
    EXPECT_NE(find(st.styles_xml, "<numFmts count=\"2\">"), npos);
    // A code written with other entity spellings is found.
    Sheet quoted;
    quoted.num_fmts = "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"&#34;$&#34;#,##0\"/></numFmts>";
    EditorState q = quoted.state();
    EXPECT_EQ(num_fmt_id_for(q, "\"$\"#,##0").value(), 164u);
}

TEST(StyleSheet, CountsAreRaisedAsWritten) {
    struct Case { std::string text; std::string want; std::string error; };
    for (const auto& c : {
             Case{"<fonts count=\"1\"></fonts>", "<fonts count=\"2\"></fonts>", ""},
             Case{"<a/><fills x=\"1\" count='+9'><fill/></fills>", "<a/><fills x=\"1\" count='10'><fill/></fills>", ""},
             Case{"<fillsX count=\"1\"/><fills count=\"4\"></fills>", "<fillsX count=\"1\"/><fills count=\"5\"></fills>", ""},
             Case{"<fills></fills>", "", "attribute count not found"},
             Case{"<fills count=\"x\"></fills>", "", "invalid digit found in string"},
         }) {
        std::string text = c.text;
        Status done = bump_count(text, text.rfind("</"));
        if (c.error.empty()) {
            ASSERT_TRUE(done) << c.text << done.error().message;
            EXPECT_EQ(text, c.want);
        } else {
            ASSERT_FALSE(done) << c.text;
            EXPECT_EQ(done.error().message, c.error);
            EXPECT_EQ(text, c.text);
        }
    }
}

TEST(StyleSheet, IndexFollowsTheTextThroughEveryAppend) {
    // A differential check: after each append the index kept up to date equals one built again.
    for (const std::string& text : {Sheet{}.text(), std::string("<styleSheet xmlns=\"urn:x\"/>"),
                                    std::string("<x:styleSheet xmlns:x=\"urn:x\"><x:numFmts count=\"0\"/></x:styleSheet>")}) {
        EditorState st;
        st.styles_xml = text;
        st.workbook_rels_xml = "<Relationships></Relationships>";
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(add_font(st, "Arial", 12.5f, round == 0, true)) << text;
            ASSERT_TRUE(add_fill(st, round == 0 ? "FF00FF00" : "FF0000FF"));
            ASSERT_TRUE(add_border(st, "thick"));
            StyleSpec change;
            change.num_fmt = round == 0 ? "0.0%" : "#,##0.000";
            change.alignment = Alignment{true, 1, 2};
            ASSERT_TRUE(derive_cell_format(st, std::nullopt, change));
            ASSERT_TRUE(derive_cell_format(st, 0, change));
            auto rebuilt = build_style_index(st.styles_xml);
            ASSERT_TRUE(rebuilt) << st.styles_xml;
            EXPECT_EQ(summary(*rebuilt), summary(*st.style_index)) << st.styles_xml;
        }
    }
}

TEST(StyleSheet, AbsentStyleSheetIsCreatedWithItsRelationship) {
    EditorState st;
    st.strict = true;
    st.workbook_part = "wb/book.xml";
    st.workbook_rels_xml = "<Relationships><Relationship Id=\"rId7\" Target=\"worksheets/sheet1.xml\"/></Relationships>";
    EXPECT_EQ(add_cell_format(st, StyleSpec{}).value(), 0u);  // the new sheet's own format 0
    EXPECT_TRUE(st.styles_xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                          "<styleSheet xmlns=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"><fonts"));
    EXPECT_NE(find(st.workbook_rels_xml, "<Relationship Id=\"rId8\" Type=\"http://purl.oclc.org/ooxml/officeDocument/"
                                         "relationships/styles\" Target=\"styles.xml\"/></Relationships>"),
              npos);
    for (std::string_view block : {"<fonts count=\"1\">", "<fills count=\"2\">", "<borders count=\"1\">",
                                   "<cellStyleXfs count=\"1\">", "<cellXfs count=\"1\">", "<cellStyles count=\"1\">"})
        EXPECT_NE(find(st.styles_xml, block), npos) << block;
    EXPECT_EQ(st.styles_part, "wb/styles.xml");  // beside the workbook part, as the target says
    EXPECT_EQ(add_fill(st, "FF123456").value(), 2u);

    // A relationship to a part the package lacks names where the new one goes; none is added.
    EditorState dangling;
    dangling.workbook_rels_xml = "<Relationships><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
                                 "officeDocument/2006/relationships/styles\" Target=\"/look/here.xml\"/></Relationships>";
    const std::string rels = dangling.workbook_rels_xml;
    ASSERT_TRUE(add_border(dangling, "thin"));
    EXPECT_EQ(dangling.styles_part, "look/here.xml");
    EXPECT_EQ(dangling.workbook_rels_xml, rels);
}
