#include <gtest/gtest.h>

#include <functional>

#include "styles/layout.hpp"
#include "styles/styles.hpp"
#include "support/text.hpp"

using namespace qm;

namespace {

// Four cell formats (0..3), so new ones start at 4.
const std::string kStyles =
    "<styleSheet xmlns=\"urn:x\"><fonts count=\"1\"><font/></fonts>"
    "<fills count=\"2\"><fill/><fill/></fills><borders count=\"1\"><border/></borders>"
    "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"1\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"><alignment wrapText=\"1\"/></xf>"
    "</cellXfs></styleSheet>";

constexpr std::string_view kHead = "<worksheet><cols><col min=\"2\" max=\"2\" width=\"9\"/></cols><sheetData>";
constexpr std::string_view kTail = "</sheetData></worksheet>";

EditorState state_with(std::string_view rows) {
    EditorState st;
    st.styles_xml = kStyles;
    st.sheet_xml = std::string(kHead) + std::string(rows) + std::string(kTail);
    return st;
}

// The sheetData content, for comparing with literal rows.
std::string rows_of(const EditorState& st) {
    std::string_view text = st.sheet_xml;
    std::size_t begin = find(text, "<sheetData>");
    std::size_t end = rfind(text, "</sheetData>");
    EXPECT_TRUE(begin != npos && end != npos && text.starts_with(kHead) && text.ends_with(kTail)) << text;
    if (begin == npos || end == npos) return std::string(text);
    return std::string(text.substr(begin + 11, end - begin - 11));
}

StyleSpec fill_change(std::uint32_t fill = 1) {
    StyleSpec change;
    change.fill_id = fill;
    return change;
}

struct WalkCase {
    const char* name;
    const char* range;
    std::string rows;
    std::string want;
};

void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class ApplyStyleMarkup : public ::testing::TestWithParam<WalkCase> {};

}  // namespace

TEST_P(ApplyStyleMarkup, RewritesTheSheet) {
    const WalkCase& c = GetParam();
    EditorState st = state_with(c.rows);
    Status done = apply_style(st, c.range, fill_change());
    ASSERT_TRUE(done) << done.error().message;
    EXPECT_EQ(rows_of(st), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Walkers, ApplyStyleMarkup,
    ::testing::Values(
        WalkCase{"rectangle fills in its row and adds the next", "B3:C4",
                 "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>a</t></is></c></row>",
                 "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>a</t></is></c><c r=\"B3\" s=\"4\"/>"
                 "<c r=\"C3\" s=\"4\"/></row><row r=\"4\"><c r=\"B4\" s=\"4\"/><c r=\"C4\" s=\"4\"/></row>"},
        WalkCase{"reversed corners", "C4:B3",
                 "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>a</t></is></c></row>",
                 "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>a</t></is></c><c r=\"B3\" s=\"4\"/>"
                 "<c r=\"C3\" s=\"4\"/></row><row r=\"4\"><c r=\"B4\" s=\"4\"/><c r=\"C4\" s=\"4\"/></row>"},
        WalkCase{"new cells go before the first greater column", "B3:C3",
                 "<row r=\"3\"><c r=\"A3\"/><c r=\"D3\"><v>4</v></c></row>",
                 "<row r=\"3\"><c r=\"A3\"/><c r=\"B3\" s=\"4\"/><c r=\"C3\" s=\"4\"/><c r=\"D3\"><v>4</v></c></row>"},
        WalkCase{"out-of-order cells: the new one precedes the first greater", "B5:C5",
                 "<row r=\"5\"><c r=\"D5\"/><c r=\"B5\" s=\"3\"><v>1</v></c></row>",
                 "<row r=\"5\"><c r=\"C5\" s=\"4\"/><c r=\"D5\"/><c r=\"B5\" s=\"5\"><v>1</v></c></row>"},
        WalkCase{"one derived format per old style", "A1:C1",
                 "<row r=\"1\"><c r=\"A1\" s=\"3\"><v>1</v></c><c r=\"B1\" s=\"3\" t=\"s\"><v>0</v></c></row>",
                 "<row r=\"1\"><c r=\"A1\" s=\"4\"><v>1</v></c><c r=\"B1\" s=\"4\" t=\"s\"><v>0</v></c>"
                 "<c r=\"C1\" s=\"5\"/></row>"},
        WalkCase{"self-closing rows hold no cells and end nothing", "A1:B2",
                 "<row r=\"1\" spans=\"1:2\"/><row r=\"2\"><c r=\"A2\"/></row><row r=\"7\"/>",
                 "<row r=\"1\" spans=\"1:2\"><c r=\"A1\" s=\"4\"/><c r=\"B1\" s=\"4\"/></row>"
                 "<row r=\"2\"><c r=\"A2\" s=\"4\"/><c r=\"B2\" s=\"4\"/></row><row r=\"7\"/>"},
        WalkCase{"missing rows go before the first greater row", "A3:A4",
                 "<row r=\"1\"><c r=\"A1\"/></row><row r=\"5\"><c r=\"A5\"/></row>",
                 "<row r=\"1\"><c r=\"A1\"/></row><row r=\"3\"><c r=\"A3\" s=\"4\"/></row>"
                 "<row r=\"4\"><c r=\"A4\" s=\"4\"/></row><row r=\"5\"><c r=\"A5\"/></row>"},
        WalkCase{"rows after the last row", "A2:A3", "<row r=\"1\"><c r=\"A1\"/></row>",
                 "<row r=\"1\"><c r=\"A1\"/></row><row r=\"2\"><c r=\"A2\" s=\"4\"/></row>"
                 "<row r=\"3\"><c r=\"A3\" s=\"4\"/></row>"},
        WalkCase{"empty sheetData", "B2:B2", "", "<row r=\"2\"><c r=\"B2\" s=\"4\"/></row>"},
        WalkCase{"column: existing cells from the first row, any letter case", "B:",
                 "<row r=\"1\"><c r=\"B1\"/><c r=\"BC1\"/></row><row r=\"2\"><c r=\"b2\" s=\"3\"/></row>"
                 "<row r=\"4\"><c r=\"B4\"><v>1</v></c></row>",
                 "<row r=\"1\"><c r=\"B1\" s=\"4\"/><c r=\"BC1\"/></row><row r=\"2\"><c r=\"b2\" s=\"5\"/></row>"
                 "<row r=\"4\"><c r=\"B4\" s=\"4\"><v>1</v></c></row>"},
        WalkCase{"row: every cell of the row, nothing created", "2:",
                 "<row r=\"1\"><c r=\"A1\"/></row><row r=\"2\"><c r=\"A2\" s=\"1\"/><c r=\"C2\"><v>2</v></c></row>",
                 // format 1 already has the fill but not applyFill: the copy adds it and equals C2's
                 "<row r=\"1\"><c r=\"A1\"/></row><row r=\"2\"><c r=\"A2\" s=\"4\"/><c r=\"C2\" s=\"4\"><v>2</v></c></row>"},
        WalkCase{"single cell: existing style replaced", "B3", "<row r=\"3\"><c r=\"B3\" s=\"2\"><v>1</v></c></row>",
                 "<row r=\"3\"><c r=\"B3\" s=\"4\"><v>1</v></c></row>"},
        WalkCase{"single cell: missing cell in column order", "B3", "<row r=\"3\"><c r=\"A3\"/><c r=\"D3\"/></row>",
                 "<row r=\"3\"><c r=\"A3\"/><c r=\"B3\" s=\"4\"/><c r=\"D3\"/></row>"},
        WalkCase{"single cell: missing row gets a blank styled cell", "B3", "<row r=\"5\"/>",
                 "<row r=\"3\"><c r=\"B3\" s=\"4\"/></row><row r=\"5\"/>"},
        WalkCase{"single cell: leading zeros name the same row", "B03", "<row r=\"3\"><c r=\"A3\"/></row>",
                 "<row r=\"3\"><c r=\"A3\"/><c r=\"B3\" s=\"4\"/></row>"},
        WalkCase{"single cell: attributes in any order", "B3", "<row spans=\"1:2\" r='3'><c s=\"3\"\tr=\"B3\"/></row>",
                 "<row spans=\"1:2\" r='3'><c s=\"4\"\tr=\"B3\"/></row>"},
        WalkCase{"rectangle: rows and cells without r get their place", "A1:B2", "<row><c/></row><row><c s=\"3\"/></row>",
                 "<row r=\"1\"><c r=\"A1\" s=\"4\"/><c r=\"B1\" s=\"4\"/></row>"
                 "<row r=\"2\"><c s=\"5\" r=\"A2\"/><c r=\"B2\" s=\"4\"/></row>"},
        WalkCase{"rectangle: a comment in sheetData stays", "A1:A1", "<!--<sheetData/>-->",
                 "<!--<sheetData/>--><row r=\"1\"><c r=\"A1\" s=\"4\"/></row>"},
        WalkCase{"single cell: any spelling names the same cell", "$b$03",
                 "<row r=\"3\"><c r=\"B3\" s=\"3\"/><c r=\"C3\"/></row>",
                 "<row r=\"3\"><c r=\"B3\" s=\"4\"/><c r=\"C3\"/></row>"},
        WalkCase{"single cell: self-closing row", "B3", "<row r=\"3\"/><row r=\"4\"><c r=\"A4\"/></row>",
                 "<row r=\"3\"><c r=\"B3\" s=\"4\"/></row><row r=\"4\"><c r=\"A4\"/></row>"}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(ApplyStyle, DerivedFormatsKeepTheRestOfTheStyle) {
    EditorState st = state_with("<row r=\"1\"><c r=\"A1\" s=\"3\"/></row>");
    ASSERT_TRUE(apply_style(st, "A1", fill_change(1)));
    const CellFormat& derived = st.style_index->cell_formats.at(4);
    EXPECT_EQ(derived.fill_id, 1u);
    EXPECT_EQ(derived.num_fmt_id, 2u);
    EXPECT_EQ(derived.alignment, (Alignment{true, std::nullopt, std::nullopt}));
}

TEST(ApplyStyle, RepeatingACallAddsNoFormat) {
    for (const char* range : {"A1:C3", "B:", "1:", "B2"}) {
        EditorState st = state_with("<row r=\"1\"><c r=\"A1\"/><c r=\"B1\" s=\"2\"/></row>");
        ASSERT_TRUE(apply_style(st, range, fill_change()));
        const std::string styles = st.styles_xml, sheet = st.sheet_xml;
        ASSERT_TRUE(apply_style(st, range, fill_change()));
        EXPECT_EQ(st.styles_xml, styles) << range;
        EXPECT_EQ(st.sheet_xml, sheet) << range;
    }
}

TEST(ApplyStyle, MissingRowChangesNothing) {
    EditorState st = state_with("<row r=\"1\"><c r=\"A1\"/></row><row r=\"5\"/>");
    const std::string sheet = st.sheet_xml, styles = st.styles_xml;
    ASSERT_TRUE(apply_style(st, "3:", fill_change()));
    ASSERT_TRUE(apply_style(st, "5:", fill_change()));
    ASSERT_TRUE(apply_style(st, "D:", fill_change()));
    EXPECT_EQ(st.sheet_xml, sheet);
    EXPECT_EQ(st.styles_xml, styles);  // no derived format either
}

TEST(ApplyStyle, ColumnFromALaterRow) {
    EditorState st = state_with("<row r=\"1\"><c r=\"B1\"/></row><row r=\"3\"><c r=\"B3\"/></row>");
    ASSERT_TRUE(style_column(st, 1, 2, fill_change()));
    EXPECT_EQ(rows_of(st), "<row r=\"1\"><c r=\"B1\"/></row><row r=\"3\"><c r=\"B3\" s=\"4\"/></row>");
}

TEST(ApplyStyle, FailuresLeaveTheSheetAsItWas) {
    struct Case { const char* range; std::string sheet; std::string message; };
    const std::string head(kHead), tail(kTail);
    for (const auto& c : {
             Case{"A1:B2", head + "<row r=\"1\"><c r=\"A1\"/><c r=\"B1\" s=\"99\"/></row>" + tail,
                  "style id 99 not found in style index"},
             Case{"B:", head + "<row r=\"1\"><c r=\"A1\"/><c r=\"B1\" s=\"99\"/></row>" + tail,
                  "style id 99 not found in style index"},
             Case{"1:", head + "<row r=\"1\"><c r=\"A1\"/><c r=\"B1\" s=\"99\"/></row>" + tail,
                  "style id 99 not found in style index"},
             Case{"B1", head + "<row r=\"1\"><c r=\"B1\" s=\"99\"/></row>" + tail, "style id 99 not found in style index"},
             Case{"A1:B2", "<worksheet></worksheet>", "</sheetData> tag not found"},
             Case{"A1:B2", head + "<row r=\"1\"><c r=\"A1\"/></row><row r=\"2\"><c r=\"A2\"><v>1</v></row>" + tail,
                  "</c> missing"},
             Case{"2:", head + "<row r=\"2\"><c r=\"A2\"><v>1</v></row>" + tail, "</c> missing"},
             Case{"A1:B2", head + "<row r=\"1\"><c r=\"A1\"/><c r=\"B1\" s=\"1/></row>" + tail, "cell tag end"},
             Case{"B:", head + "<row r=\"1\"><c r=\"B1\" s=\"1/></row>" + tail, "cell tag end"},
             Case{"1:", head + "<row r=\"1\"><c r=\"B1\" s=\"1/></row>" + tail, "cell tag end"},
             Case{"A1:B2", head + "<row r=\"1\"><c r=\"A1\"/></row><row r=\"2\"><c r=\"A2\"</row>" + tail, "cell tag end"},
             Case{"A5:B6", head + "<row r=\"1\"><c r=\"A1\"/>" + tail, "</row> not found"},
             Case{"A5:B6", head + "<row r=\"1\"", "</sheetData> tag not found"},
             Case{"A5:B6", head + "<row r=\"1\"" + tail, "malformed <row>"},
             Case{"B3", head + "<row r=\"3\"><c r=\"B3\" s=\"1></row>" + tail, "cell tag end"},
             Case{"XFE3", head + tail,
                  "range XFE3 is outside the sheet (columns A to XFD, rows 1 to 1048576)"},
             Case{"A1:AAAAA1", head + tail,
                  "range A1:AAAAA1 is outside the sheet (columns A to XFD, rows 1 to 1048576)"},
             Case{"A1:", head + tail, "invalid range: A1:"},
         }) {
        EditorState st;
        st.styles_xml = kStyles;
        st.sheet_xml = c.sheet;
        Status done = apply_style(st, c.range, fill_change());
        ASSERT_FALSE(done) << c.range << " " << c.message;
        EXPECT_EQ(done.error().message, c.message) << c.sheet;
        EXPECT_EQ(st.sheet_xml, c.sheet) << c.message;
    }
}

TEST(RemoveStyle, Forms) {
    struct Case { const char* range; std::string rows; std::string want; };
    for (const auto& c : {
             Case{"A1:C3", "<row r=\"2\"><c r=\"B2\" s=\"3\" t=\"s\"><v>1</v></c></row><row r=\"4\"><c r=\"A4\" s=\"1\"/></row>",
                  "<row r=\"2\"><c r=\"B2\" t=\"s\"><v>1</v></c></row><row r=\"4\"><c r=\"A4\" s=\"1\"/></row>"},
             Case{"C3:A1", "<row r=\"1\"><c r=\"a1\" s=\"3\"/><c r=\"D1\" s=\"3\"/><c r=\"C1\" s=\"2\"/></row>",
                  "<row r=\"1\"><c r=\"a1\" s=\"3\"/><c r=\"D1\" s=\"3\"/><c r=\"C1\"/></row>"},
             Case{"B:", "<row r=\"1\"><c r=\"B1\" s=\"1\"/><c r=\"BC1\" s=\"1\"/></row><row r=\"5\"><c r=\"b5\" s=\"2\"/></row>"
                        "<row r=\"10\"><c r=\"B10\" s=\"2\"><v>3</v></c></row>",
                  "<row r=\"1\"><c r=\"B1\"/><c r=\"BC1\" s=\"1\"/></row><row r=\"5\"><c r=\"b5\" s=\"2\"/></row>"
                  "<row r=\"10\"><c r=\"B10\"><v>3</v></c></row>"},
             Case{"2:", "<row r=\"1\"><c r=\"A1\" s=\"1\"/></row><row r=\"2\" s=\"1\" customFormat=\"1\"><c r=\"A2\" s=\"1\"/>"
                        "<c r=\"Q2\" s=\"2\"><v>1</v></c></row>",
                  "<row r=\"1\"><c r=\"A1\" s=\"1\"/></row><row r=\"2\" s=\"1\" customFormat=\"1\"><c r=\"A2\"/>"
                  "<c r=\"Q2\"><v>1</v></c></row>"},
             Case{"B2", "<row r=\"2\"><c r=\"B2\" s=\"1\"/></row>", "<row r=\"2\"><c r=\"B2\"/></row>"},
             Case{"B7", "<row r=\"2\"><c r=\"B2\" s=\"1\"/></row><row r=\"7\"/>", "<row r=\"2\"><c r=\"B2\" s=\"1\"/></row><row r=\"7\"/>"},
         }) {
        EditorState st = state_with(c.rows);
        const std::string styles = st.styles_xml;
        Status done = remove_style_in_range(st, c.range);
        ASSERT_TRUE(done) << c.range << ": " << done.error().message;
        EXPECT_EQ(rows_of(st), c.want) << c.range;
        EXPECT_EQ(st.styles_xml, styles);
    }
}

TEST(RemoveStyle, OtherProducersMarkup) {
    struct Case { const char* range; std::string rows; std::string want; };
    for (const auto& c : {
             // Attributes reordered, single quotes, white space, rows without r.
             Case{"B2", "<row r='2'><c s='1' r='B2'/></row>", "<row r='2'><c r='B2'/></row>"},
             Case{"B2", "<row>\n</row><row spans=\"1:2\" r=\"2\"><c\tr=\"B2\"\ns=\"1\"/></row>",
                  "<row>\n</row><row spans=\"1:2\" r=\"2\"><c\tr=\"B2\"/></row>"},
             // A commented-out row or a CDATA text is no cell.
             Case{"A1", "<!-- <row r=\"1\"><c r=\"A1\" s=\"1\"/></row> --><row r=\"1\"><c r=\"A1\" t=\"inlineStr\" s=\"2\">"
                        "<is><t><![CDATA[<c r=\"A1\" s=\"3\"/>]]></t></is></c></row>",
                  "<!-- <row r=\"1\"><c r=\"A1\" s=\"1\"/></row> --><row r=\"1\"><c r=\"A1\" t=\"inlineStr\">"
                  "<is><t><![CDATA[<c r=\"A1\" s=\"3\"/>]]></t></is></c></row>"},
             Case{"B:", "<row r=\"3\"><c s=\"1\" r=\"A3\"/><c s='2' r='B3'/></row>",
                  "<row r=\"3\"><c s=\"1\" r=\"A3\"/><c r='B3'/></row>"},
             Case{"3:", "<row r=\"3\"><c s=\"1\"/><c s='2'><v>1</v></c></row><row><c s=\"3\"/></row>",
                  "<row r=\"3\"><c/><c><v>1</v></c></row><row><c s=\"3\"/></row>"},
         }) {
        EditorState st = state_with(c.rows);
        Status done = remove_style_in_range(st, c.range);
        ASSERT_TRUE(done) << c.range << ": " << done.error().message;
        EXPECT_EQ(rows_of(st), c.want) << c.range << " " << c.rows;
    }
}

TEST(RemoveStyle, Failures) {
    struct Case { const char* range; std::string rows; std::string message; };
    for (const auto& c : {
             Case{"A1:B2", "<row r=\"1\"><c r=\"A1\" s=\"1/></row>", "cell tag end"},
             Case{"A:", "<row r=\"1\"><c r=\"A1\" s=\"1/></row>", "style attribute not closed"},
             Case{"A1", "<row r=\"1\"><c r=\"A1\" s=\"1/></row>", "style attribute not closed"},
             Case{"1:", "<row r=\"1\"><c r=\"A1\"><v>1</v></row>", "</c> missing"},
         }) {
        EditorState st = state_with(c.rows);
        const std::string sheet = st.sheet_xml;
        Status done = remove_style_in_range(st, c.range);
        ASSERT_FALSE(done) << c.range;
        EXPECT_EQ(done.error().message, c.message) << c.range;
        EXPECT_EQ(st.sheet_xml, sheet);
    }
    EditorState st = state_with("");
    EXPECT_EQ(clear_cell_style(st, "AB").error().message, "invalid cell coordinate \u2013 no digits");
    EXPECT_EQ(remove_style_in_range(st, "B").error().message, "invalid");
}

TEST(StyleOperations, AFailureAtAnyStepChangesNothing) {
    struct Case { const char* name; std::string rows; std::string cols; std::function<Status(EditorState&)> op; };
    const std::string rows = "<row r=\"1\"><c r=\"A1\"/><c r=\"B1\" s=\"2\"><v>1</v></c></row>";
    const std::string open_cols = "<cols><col min=\"1\" max=\"1\" width=\"9\"/>";  // never closed
    for (const auto& c : std::initializer_list<Case>{
             {"column default after the cells", rows, open_cols,
              [](EditorState& st) { return set_number_format(st, "B:", "0.000"); }},
             {"alignment default after the cells", rows, open_cols,
              [](EditorState& st) { return set_alignment(st, "B:", Alignment{true, 1, 1}); }},
             {"text conversion after the cells", rows + "<row r=\"5\"><c r=\"A5\"><v>1</v></row>", "",
              [](EditorState& st) { return set_number_format(st, "A1:B2", "@"); }},
             {"cells after the new fill", rows + "<row r=\"2\"><c r=\"A2\" s=\"99\"/></row>", "",
              [](EditorState& st) { return set_fill(st, "A1:B2", "00FF00"); }},
             {"cells after the new font", rows + "<row r=\"2\"><c r=\"A2\" s=\"99\"/></row>", "",
              [](EditorState& st) { return set_font(st, "2:", "Arial", 10, true, false, std::nullopt); }},
             {"cells after the new border", "<row r=\"1\"><c r=\"B1\" s=\"1/></row>", "",
              [](EditorState& st) { return set_border(st, "B:", "thin"); }},
         }) {
        EditorState st;
        st.styles_xml = kStyles;
        st.sheet_xml = "<worksheet>" + c.cols + "<sheetData>" + c.rows + "</sheetData></worksheet>";
        st.workbook_rels_xml = "<Relationships></Relationships>";
        ASSERT_TRUE(ensure_style_index(st));
        const EditorState before = st;
        ASSERT_FALSE(c.op(st)) << c.name;
        EXPECT_EQ(st.styles_xml, before.styles_xml) << c.name;
        EXPECT_EQ(st.sheet_xml, before.sheet_xml) << c.name;
        EXPECT_EQ(st.workbook_rels_xml, before.workbook_rels_xml) << c.name;
        // The editor goes on as if the call had never been made (in a row the damage is not in).
        EditorState fresh = before;
        fresh.style_index.reset();
        ASSERT_TRUE(apply_style(st, "A3", fill_change(1))) << c.name;
        ASSERT_TRUE(apply_style(fresh, "A3", fill_change(1))) << c.name;
        EXPECT_EQ(st.styles_xml, fresh.styles_xml) << c.name;
        EXPECT_EQ(st.sheet_xml, fresh.sheet_xml) << c.name;
    }
}
