#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>

#include "styles/layout.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

using namespace qm;

namespace {

EditorState sheet_state(std::string xml) {
    EditorState st;
    st.sheet_xml = std::move(xml);
    return st;
}

// The `cols` block of the sheet after the call, or "error: <message>".
std::string cols_after(std::string sheet, std::uint32_t column, std::optional<double> width,
                       std::optional<std::uint32_t> style = std::nullopt) {
    EditorState st = sheet_state(std::move(sheet));
    auto done = set_column_props(st, column, width, style);
    if (!done) return "error: " + done.error().message;
    std::size_t open = st.sheet_xml.find("<cols");
    std::size_t close = st.sheet_xml.find("</cols>");
    if (open == std::string::npos || close == std::string::npos) return "no block";
    return st.sheet_xml.substr(open, close + 7 - open);
}

std::string with_cols(std::string_view cols) {
    return "<worksheet><dimension ref=\"A1\"/>" + std::string(cols) + "<sheetData/></worksheet>";
}

}  // namespace

TEST(Cols, NewBlockGoesAfterDimension) {
    EditorState st = sheet_state("<worksheet><dimension ref=\"A1:B2\"/><sheetData></sheetData></worksheet>");
    ASSERT_TRUE(set_column_props(st, 1, 20.0, std::nullopt));
    EXPECT_EQ(st.sheet_xml,
              "<worksheet><dimension ref=\"A1:B2\"/><cols><col min=\"2\" max=\"2\" width=\"20\" "
              "customWidth=\"1\"/></cols><sheetData></sheetData></worksheet>");
}

TEST(Cols, MissingDimensionIsInsertedBeforeTheBlock) {
    EditorState st = sheet_state("<worksheet><sheetData/></worksheet>");
    ASSERT_TRUE(set_column_props(st, 0, 8.0, std::nullopt));
    EXPECT_EQ(st.sheet_xml,
              "<worksheet><dimension ref=\"A1\"/><cols><col min=\"1\" max=\"1\" width=\"8\" "
              "customWidth=\"1\"/></cols><sheetData/></worksheet>");
}

TEST(Cols, NewBlockKeepsSchemaOrder) {
    // sheetPr precedes dimension; the views and format defaults precede cols.
    EditorState st = sheet_state(
        "<worksheet><sheetPr/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/></worksheet>");
    ASSERT_TRUE(set_column_props(st, 0, 9.5, std::nullopt));
    EXPECT_EQ(st.sheet_xml,
              "<worksheet><sheetPr/><dimension ref=\"A1\"/><sheetViews><sheetView workbookViewId=\"0\"/>"
              "</sheetViews><sheetFormatPr defaultRowHeight=\"15\"/><cols><col min=\"1\" max=\"1\" "
              "width=\"9.5\" customWidth=\"1\"/></cols><sheetData/></worksheet>");

    st = sheet_state("<worksheet><dimension ref=\"A1\"/><sheetViews><sheetView/></sheetViews><sheetData/></worksheet>");
    ASSERT_TRUE(set_column_props(st, 0, 9.5, std::nullopt));
    EXPECT_NE(st.sheet_xml.find("</sheetViews><cols>"), std::string::npos) << st.sheet_xml;
}

TEST(Cols, BlockFailures) {
    EXPECT_EQ(cols_after("<worksheet><cols><col min=\"1\" max=\"1\"/><sheetData/></worksheet>", 0, 5.0),
              "error: </cols> not found");
    EXPECT_EQ(cols_after("<worksheet></worksheet>", 0, 5.0), "error: <sheetData> not found on the current sheet");
    EXPECT_EQ(cols_after("<worksheet><sheetData/><dimension ref=\"A1\"", 0, 5.0), "error: <dimension> not closed");
    EXPECT_EQ(cols_after(with_cols("<cols><col min=\"x\" max=\"2\"/></cols>"), 0, 5.0),
              "error: invalid digit found in string");
    EXPECT_EQ(cols_after(with_cols("<cols><col min=\"1\" max=\"\"/></cols>"), 0, 5.0),
              "error: cannot parse integer from empty string");
    EXPECT_EQ(cols_after(with_cols("<cols><col min=\"1\" max=\"4294967296\"/></cols>"), 0, 5.0),
              "error: number too large to fit in target type");
    std::string broken = cols_after(with_cols("<cols><col min=\"1\"></cols>"), 0, 5.0);
    EXPECT_EQ(broken.rfind("error: ", 0), 0u) << broken;
    // A failed read leaves the sheet as it was.
    EditorState st = sheet_state(with_cols("<cols><col min=\"x\"/></cols>"));
    std::string before = st.sheet_xml;
    EXPECT_FALSE(set_column_props(st, 0, 5.0, std::nullopt));
    EXPECT_EQ(st.sheet_xml, before);
}

struct ColsCase {
    const char* name;
    const char* before;
    std::uint32_t column;
    std::optional<double> width;
    std::optional<std::uint32_t> style;
    const char* after;
};

class ColsModel : public ::testing::TestWithParam<ColsCase> {};

TEST_P(ColsModel, RewritesTheBlock) {
    const ColsCase& c = GetParam();
    EXPECT_EQ(cols_after(with_cols(c.before), c.column, c.width, c.style), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColsModel,
    ::testing::Values(
        ColsCase{"split_middle", "<cols><col min=\"2\" max=\"4\" width=\"12\" customWidth=\"1\" outlineLevel=\"1\"/></cols>",
                 2, 20.0, {},
                 "<cols><col min=\"2\" max=\"2\" width=\"12\" customWidth=\"1\" outlineLevel=\"1\"/><col min=\"3\" max=\"3\" "
                 "width=\"20\" customWidth=\"1\" outlineLevel=\"1\"/><col min=\"4\" max=\"4\" width=\"12\" customWidth=\"1\" "
                 "outlineLevel=\"1\"/></cols>"},
        ColsCase{"split_edge", "<cols><col min=\"1\" max=\"3\" width=\"5\"/></cols>", 0, 7.25, {},
                 "<cols><col min=\"1\" max=\"1\" width=\"7.25\" customWidth=\"1\"/><col min=\"2\" max=\"3\" "
                 "width=\"5\"/></cols>"},
        ColsCase{"others_byte_for_byte",
                 "<cols><col max='1' min='1' width='9' collapsed='true'/><col min=\"3\" max=\"3\" width=\"9\"></col></cols>",
                 1, 9.0, {},
                 "<cols><col max='1' min='1' width='9' collapsed='true'/><col min=\"2\" max=\"2\" width=\"9\" "
                 "customWidth=\"1\"/><col min=\"3\" max=\"3\" width=\"9\"></col></cols>"},
        ColsCase{"defaults_min_max", "<cols><col width=\"4\"/><col min=\"3\" width=\"6\"/></cols>", 2, 1.0, {},
                 "<cols><col width=\"4\"/><col min=\"3\" width=\"1\" max=\"3\" customWidth=\"1\"/></cols>"},
        ColsCase{"reversed_span_copied", "<cols><col min=\"5\" max=\"2\" width=\"4\"/></cols>", 0, 3.0, {},
                 "<cols><col min=\"1\" max=\"1\" width=\"3\" customWidth=\"1\"/><col min=\"5\" max=\"2\" width=\"4\"/></cols>"},
        ColsCase{"group_kept",
                 "<cols><col min=\"1\" max=\"2\" width=\"10\" outlineLevel=\"1\" collapsed=\"1\" hidden=\"true\" "
                 "phonetic=\"1\"/></cols>",
                 1, 5.0, {},
                 "<cols><col min=\"1\" max=\"1\" width=\"10\" outlineLevel=\"1\" collapsed=\"1\" hidden=\"true\" "
                 "phonetic=\"1\"/><col min=\"2\" max=\"2\" width=\"5\" outlineLevel=\"1\" collapsed=\"1\" hidden=\"true\" "
                 "phonetic=\"1\" customWidth=\"1\"/></cols>"},
        ColsCase{"style_only_invents_no_width", "<cols></cols>", 0, {}, 4u, "<cols><col min=\"1\" max=\"1\" style=\"4\"/></cols>"},
        ColsCase{"self_closing_block", "<cols/>", 0, {}, 4u, "<cols><col min=\"1\" max=\"1\" style=\"4\"/></cols>"},
        ColsCase{"style_keeps_width", "<cols><col min=\"2\" max=\"2\" width=\"30\"/></cols>", 1, {}, 3u,
                 "<cols><col min=\"2\" max=\"2\" width=\"30\" style=\"3\"/></cols>"},
        ColsCase{"width_keeps_style", "<cols><col min=\"2\" max=\"2\" style=\"7\"/></cols>", 1, 12.5, {},
                 "<cols><col min=\"2\" max=\"2\" style=\"7\" width=\"12.5\" customWidth=\"1\"/></cols>"},
        ColsCase{"huge_span", "<cols><col min=\"1\" max=\"4294967295\" width=\"9\"/></cols>", 4294967294u, 2.0, {},
                 "<cols><col min=\"1\" max=\"4294967294\" width=\"9\"/><col min=\"4294967295\" max=\"4294967295\" "
                 "width=\"2\" customWidth=\"1\"/></cols>"},
        ColsCase{"shortest_width", "<cols></cols>", 0, 0.1 + 0.2, {},
                 "<cols><col min=\"1\" max=\"1\" width=\"0.30000000000000004\" customWidth=\"1\"/></cols>"}),
    [](const ::testing::TestParamInfo<ColsCase>& info) { return std::string(info.param.name); });

namespace {

// Column -> attributes (min and max left out), as the elements of a block say.
using ColumnMap = std::map<std::uint32_t, std::map<std::string, std::string>>;

ColumnMap expand(std::string_view sheet) {
    ColumnMap columns;
    std::size_t open = sheet.find("<cols>"), close = sheet.find("</cols>");
    if (open == std::string_view::npos) return columns;
    std::string_view block = sheet.substr(open + 6, close - open - 6);
    std::uint32_t previous_max = 0;
    for (std::size_t at = block.find("<col "); at != std::string_view::npos; at = block.find("<col ", at + 1)) {
        std::string_view tag = block.substr(at, block.find('>', at) + 1 - at);
        std::map<std::string, std::string> attributes;
        for_each_attribute(tag, [&](const Attribute& a) { attributes[std::string(a.name)] = std::string(a.raw_value); });
        std::uint32_t min = std::stoul(attributes["min"]), max = std::stoul(attributes["max"]);
        EXPECT_GT(min, previous_max) << "ascending, not overlapping: " << block;
        EXPECT_LE(min, max) << block;
        previous_max = max;
        attributes.erase("min");
        attributes.erase("max");
        for (std::uint32_t c = min; c <= max; ++c) columns[c] = attributes;
    }
    return columns;
}

}  // namespace

TEST(Cols, EditsFollowAColumnByColumnModel) {
    // Random spans of widths and restyles over a block of groups; the model changes one column at a time.
    std::mt19937 random(7);
    for (int trial = 0; trial < 40; ++trial) {
        EditorState st = sheet_state(with_cols("<cols><col min=\"2\" max=\"4\" width=\"6\" outlineLevel=\"1\"/>"
                                               "<col min=\"7\" max=\"7\" hidden=\"1\" style=\"2\"/>"
                                               "<col min=\"9\" max=\"12\" width=\"3\" collapsed=\"1\"/></cols>"));
        ColumnMap model = expand(st.sheet_xml);
        for (int step = 0; step < 6; ++step) {
            std::uint32_t first = random() % 14, last = first + random() % 5;
            if (random() % 2) {
                double width = 1 + random() % 20;
                ASSERT_TRUE(set_column_span_props(st, first, last, width, std::nullopt));
                const std::string width_text = format_shortest(width), custom = "1";
                for (std::uint32_t c = first + 1; c <= last + 1; ++c) {
                    model[c]["width"] = width_text;
                    model[c]["customWidth"] = custom;
                }
            } else {
                ColumnRestyle restyle = [](std::optional<std::uint32_t> old) -> Result<std::uint32_t> {
                    return old.value_or(0) + 10;
                };
                ASSERT_TRUE(restyle_columns(st, first, last, restyle));
                for (std::uint32_t c = first + 1; c <= last + 1; ++c) {
                    auto& attributes = model[c];
                    std::uint32_t old = attributes.contains("style") ? std::stoul(attributes["style"]) : 0;
                    attributes["style"] = std::to_string(old + 10);
                }
            }
            ASSERT_EQ(expand(st.sheet_xml), model) << st.sheet_xml;
        }
    }
}

TEST(Cols, ColumnChecks) {
    EXPECT_EQ(check_column_letters(" d ").value(), "D");
    EXPECT_EQ(column_index_of("b").value(), 1u);
    EXPECT_EQ(column_index_of("MWLQKWU").value(), 4294967294u);
    for (const char* bad : {"", "  ", "A1", "$A", "A B", "MWLQKWV", "AAAAAAAAAAAAAAAAAAAA"})
        EXPECT_EQ(column_index_of(bad).error().message, std::string("Invalid Excel column: ") + bad) << bad;

    auto span = column_letters_of(" a : c ");
    ASSERT_TRUE(span);
    EXPECT_EQ(span->first, 0u);
    EXPECT_EQ(span->last, 2u);
    EXPECT_EQ(column_letters_of("D:A").error().message, "Invalid column range: D:A");
    EXPECT_EQ(column_letters_of(" D:A ").error().message, "Invalid column range:  D:A ");
    EXPECT_EQ(column_letters_of(" A1 ").error().message, "Invalid Excel column: A1");
    EXPECT_EQ(column_letters_of("A: 1").error().message, "Invalid Excel column:  1");
    EXPECT_EQ(column_letters_of("A:").error().message, "Invalid Excel column: ");

    for (double ok : {255.0, 0.0001, 8.43}) EXPECT_TRUE(check_width(ok)) << ok;
    for (double bad : {0.0, -1.0, 255.0001, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(check_width(bad).error().message, "Column width must be in range (0, 255]") << bad;
}

// ---- merged ranges ----

TEST(Merge, CreatesThenExtendsTheBlock) {
    EditorState st = sheet_state("<worksheet><sheetData><row r=\"1\"/></sheetData><pageMargins/></worksheet>");
    ASSERT_TRUE(merge_cells(st, "A1:B2"));
    EXPECT_EQ(st.sheet_xml,
              "<worksheet><sheetData><row r=\"1\"/></sheetData><mergeCells count=\"1\"><mergeCell ref=\"A1:B2\"/>"
              "</mergeCells><pageMargins/></worksheet>");
    ASSERT_TRUE(merge_cells(st, "c3:d4"));
    ASSERT_TRUE(merge_cells(st, "$F$9:E5"));
    EXPECT_NE(st.sheet_xml.find("<mergeCells count=\"3\"><mergeCell ref=\"A1:B2\"/><mergeCell ref=\"C3:D4\"/>"
                                "<mergeCell ref=\"E5:F9\"/></mergeCells>"),
              std::string::npos)
        << st.sheet_xml;
}

TEST(Merge, CountIsIncrementedAsWritten) {
    EditorState st = sheet_state("<worksheet><sheetData/></worksheet>");
    ASSERT_TRUE(merge_cells(st, "A1:B2"));
    EXPECT_EQ(st.sheet_xml, "<worksheet><sheetData/><mergeCells count=\"1\"><mergeCell ref=\"A1:B2\"/></mergeCells></worksheet>");
    st = sheet_state("<worksheet><!-- <sheetData></sheetData> --></worksheet>");
    EXPECT_EQ(merge_cells(st, "A1:B2").error().message, "</sheetData> not found");

    st = sheet_state("<worksheet><sheetData></sheetData><mergeCells count=\"+5\"><mergeCell ref=\"A1:A2\"/>"
                     "</mergeCells></worksheet>");
    ASSERT_TRUE(merge_cells(st, "B1:B2"));
    EXPECT_NE(st.sheet_xml.find("<mergeCells count=\"6\">"), std::string::npos);
}

TEST(Merge, RefusedRangesChangeNothing) {
    struct Case { const char* range; std::string message; };
    const std::string sheet = "<worksheet><sheetData></sheetData><mergeCells count=\"2\"><mergeCell ref=\"B2:C3\"/>"
                              "<mergeCell ref=\"E5\"/></mergeCells></worksheet>";
    const std::string grid = " is outside the sheet (columns A to XFD, rows 1 to 1048576)";
    for (const Case& c : {
             Case{"hello", "invalid merge range hello: expected two corners such as A1:C3"},
             Case{"A1\"<&'>", "invalid merge range A1\"<&'>: expected two corners such as A1:C3"},
             Case{"A1:B", "invalid merge range A1:B: expected two corners such as A1:C3"},
             Case{"A:B", "invalid merge range A:B: expected two corners such as A1:C3"},
             Case{"A1:B2:C3", "invalid merge range A1:B2:C3: expected two corners such as A1:C3"},
             Case{"A1", "a merged range needs at least two cells, not the single cell A1"},
             Case{"b9:$B$9", "a merged range needs at least two cells, not the single cell b9:$B$9"},
             Case{"A1:XFE1", "merge range A1:XFE1" + grid},
             Case{"A0", "merge range A0" + grid},
             Case{"B2:C3", "B2:C3 is already merged"},
             Case{"c3:b2", "B2:C3 is already merged"},
             Case{"A1:B2", "A1:B2 overlaps the merged range B2:C3"},
             Case{"C1:C9", "C1:C9 overlaps the merged range B2:C3"},
             Case{"F5:E5", "E5:F5 overlaps the merged range E5"},
         }) {
        EditorState st = sheet_state(sheet);
        auto done = merge_cells(st, c.range);
        ASSERT_FALSE(done) << c.range;
        EXPECT_EQ(done.error().message, c.message) << c.range;
        EXPECT_EQ(st.sheet_xml, sheet);
    }
    EditorState st = sheet_state(sheet);
    ASSERT_TRUE(merge_cells(st, "D4:D1"));  // touches B2:C3's edge without covering it
    EXPECT_NE(st.sheet_xml.find("<mergeCell ref=\"E5\"/><mergeCell ref=\"D1:D4\"/></mergeCells>"), std::string::npos);
}

TEST(Merge, FailuresLeaveTheSheetUnchanged) {
    struct Case {
        const char* block;
        const char* message;
    };
    for (Case c : {Case{"<mergeCells count=\"2\"/>", "</mergeCells> not found"},
                   Case{"<mergeCells><mergeCell ref=\"A1:B1\"/></mergeCells>", "attribute count not found"},
                   Case{"<mergeCells x=\"1\">count=\"1\"</mergeCells>", "attribute count not found"},
                   Case{"<mergeCells count=\"\"></mergeCells>", "cannot parse integer from empty string"},
                   Case{"<mergeCells count=\"1x\"></mergeCells>", "invalid digit found in string"},
                   Case{"<mergeCells count=\"4294967296\"></mergeCells>", "number too large to fit in target type"},
                   Case{"<mergeCells count=\"1></mergeCells>", "closing quote not found"}}) {
        EditorState st = sheet_state(std::string("<worksheet><sheetData></sheetData>") + c.block + "</worksheet>");
        std::string before = st.sheet_xml;
        auto done = merge_cells(st, "A1:B2");
        ASSERT_FALSE(done) << c.block;
        EXPECT_EQ(done.error().message, c.message) << c.block;
        EXPECT_EQ(st.sheet_xml, before);
    }
}

TEST(Merge, NewBlockFollowsTheElementsTheSchemaPutsFirst) {
    EditorState st = sheet_state(
        "<worksheet><sheetData></sheetData><sheetProtection sheet=\"1\"/>\n"
        "<autoFilter ref=\"A1:B3\"><sortState ref=\"A2:B3\"/></autoFilter>"
        "<customSheetViews><customSheetView guid=\"{0}\"/></customSheetViews>"
        "<conditionalFormatting sqref=\"A1\"/><autoFilter ref=\"Z1\"/></worksheet>");
    ASSERT_TRUE(merge_cells(st, "A1:B1"));
    EXPECT_NE(st.sheet_xml.find("</customSheetViews><mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/></mergeCells>"
                                "<conditionalFormatting"),
              std::string::npos)
        << st.sheet_xml;

    st = sheet_state("<worksheet><sheetData></sheetData><autoFilter ref=\"A1\"></worksheet>");
    EXPECT_EQ(merge_cells(st, "A1:B1").error().message, "</autoFilter> not found");
}

// ---- text conversion ----

namespace {

std::string converted(std::string rows, std::string_view range_text) {
    EditorState st = sheet_state("<worksheet><cols><col min=\"1\" max=\"1\"/></cols><sheetData>" + rows +
                                 "</sheetData></worksheet>");
    auto range = parse_range(range_text);
    if (!range) return "bad range";
    auto done = convert_to_text_cells(st, *range);
    if (!done) return "error: " + done.error().message;
    std::size_t open = st.sheet_xml.find("<sheetData>") + 11;
    return st.sheet_xml.substr(open, st.sheet_xml.find("</sheetData>") - open);
}

}  // namespace

TEST(TextConversion, NumericCellsBecomeInlineStrings) {
    EXPECT_EQ(converted("<row r=\"1\"><c r=\"A1\" s=\"2\"><v>1E-3</v></c><c r=\"B1\" t=\"n\"><v>5</v></c></row>", "A1:B1"),
              "<row r=\"1\"><c r=\"A1\" s=\"2\" t=\"inlineStr\"><is><t>1E-3</t></is></c>"
              "<c r=\"B1\" t=\"inlineStr\"><is><t>5</t></is></c></row>");
    // Text that needs it keeps its spaces and is escaped.
    EXPECT_EQ(converted("<row r=\"2\"><c r=\"C2\"><v> 1>2</v></c></row>", "C2"),
              "<row r=\"2\"><c r=\"C2\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> 1&gt;2</t></is></c></row>");
}

TEST(TextConversion, OtherProducersMarkup) {
    // Quotes and attribute order as other producers write them; a cell without r is placed.
    EXPECT_EQ(converted("<row r='1'><c t='n' r='A1'><v>1</v></c><c><v>2</v></c></row>", "B1"),
              "<row r='1'><c t='n' r='A1'><v>1</v></c><c t=\"inlineStr\"><is><t>2</t></is></c></row>");
    EXPECT_EQ(converted("<row r='1'><c t='n' r='A1'><v>1</v></c></row>", "A:"),
              "<row r='1'><c r='A1' t=\"inlineStr\"><is><t>1</t></is></c></row>");
    // A commented-out cell stays as it was.
    EXPECT_EQ(converted("<row r=\"1\"><!-- <c r=\"A1\"><v>1</v></c> --></row>", "A1"),
              "<row r=\"1\"><!-- <c r=\"A1\"><v>1</v></c> --></row>");
}

TEST(TextConversion, LeavesOtherCellsAlone) {
    std::string rows =
        "<row r=\"1\"><c r=\"A1\"><f>1+1</f><v>2</v></c><c r=\"B1\" t=\"s\"><v>0</v></c>"
        "<c r=\"C1\" t=\"b\"><v>1</v></c><c r=\"D1\" t=\"inlineStr\"><is><t>7</t></is></c>"
        "<c r=\"E1\"/><c r=\"F1\"></c><c r=\"G1\" s=\"1\"><v></v></c><c r=\"H\"><v>3</v></c>"
        "<c r=\"I1x\"><v>4</v></c><c><v>5</v></c></row>";
    EXPECT_EQ(converted(rows, "A1:I1"),
              "<row r=\"1\"><c r=\"A1\"><f>1+1</f><v>2</v></c><c r=\"B1\" t=\"s\"><v>0</v></c>"
              "<c r=\"C1\" t=\"b\"><v>1</v></c><c r=\"D1\" t=\"inlineStr\"><is><t>7</t></is></c>"
              "<c r=\"E1\"/><c r=\"F1\"></c><c r=\"G1\" s=\"1\" t=\"inlineStr\"><is><t></t></is></c>"
              "<c r=\"H\"><v>3</v></c><c r=\"I1x\"><v>4</v></c><c><v>5</v></c></row>");
}

TEST(TextConversion, RangeForms) {
    std::string rows =
        "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"b1\"><v>2</v></c></row>"
        "<row r=\"2\"><c r=\"A2\"><v>3</v></c><c r=\"B2\"><v>4</v></c></row>";
    auto count = [](const std::string& s) {
        std::size_t n = 0;
        for (std::size_t at = s.find("inlineStr"); at != std::string::npos; at = s.find("inlineStr", at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count(converted(rows, "B:")), 2u);
    EXPECT_EQ(count(converted(rows, "2:")), 2u);
    EXPECT_EQ(count(converted(rows, "B2:A1")), 4u);
    EXPECT_EQ(count(converted(rows, "B1")), 1u);  // b1 matches without regard to case
    EXPECT_NE(converted(rows, "B1").find("<c r=\"b1\" t=\"inlineStr\"><is><t>2</t>"), std::string::npos);
    EXPECT_EQ(count(converted(rows, "C:")), 0u);
}

TEST(TextConversion, Failures) {
    EXPECT_EQ(converted("<row r=\"1\"><c r=\"A1\"><v>1</v></row>", "A1"),
              "error: </c> missing while converting text format");
    EXPECT_EQ(converted("<row r=\"1\"><c r=\"A1\"><v>\xff</v></c></row>", "A1"), "error: cell value is not UTF-8");
    EXPECT_EQ(converted("<row r=\"1\"><c r=\"A1\"><v>\xff</v></c></row>", "B1"),
              "<row r=\"1\"><c r=\"A1\"><v>\xff</v></c></row>");
}
