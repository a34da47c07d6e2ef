#include <gtest/gtest.h>

#include "cells/cells.hpp"

using namespace qm;

namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

EditorState sheet(const std::string& rows, std::uint32_t last_row = 0) {
    EditorState st;
    st.sheet_xml = "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
    st.last_row = last_row;
    return st;
}

std::string rows_of(const EditorState& st) {
    std::size_t begin = st.sheet_xml.find("<sheetData>") + 11;
    return st.sheet_xml.substr(begin, st.sheet_xml.rfind("</sheetData>") - begin);
}

std::string num(const std::string& r, const std::string& v) { return "<c r=\"" + r + "\"><v>" + v + "</v></c>"; }
std::string row(std::uint32_t n, const std::string& cells) {
    return "<row r=\"" + std::to_string(n) + "\">" + cells + "</row>";
}

std::string error_of(const Status& s) { return s ? "ok" : s.error().message; }

// One row's markup after a block of one row is written into it.
Result<std::string> merge_row(const std::string& markup, std::uint32_t n, std::uint64_t first, const Row& values) {
    EditorState st = sheet(markup);
    const Rows rows{values};
    if (Status ok = write_block(st, rows, index_to_column(first) + std::to_string(n)); !ok) return fail(ok.error().message);
    return rows_of(st);
}

}  // namespace

TEST(AppendRow, NumbersFromCounterAndGoesBeforeSheetDataEnd) {
    auto st = sheet(row(40, num("A40", "1")), 40);
    ASSERT_TRUE(append_row(st, Row{"1", "x"}));
    ASSERT_TRUE(append_row(st, Row{}));
    EXPECT_EQ(rows_of(st), row(40, num("A40", "1")) + row(41, num("A41", "1") +
              "<c r=\"B41\" t=\"inlineStr\"><is><t>x</t></is></c>") + "<row r=\"42\"></row>");
    EXPECT_EQ(st.last_row, 42u);
}

TEST(AppendRow, ColumnsRunPastZ) {
    auto st = sheet("");
    Row values;
    for (int i = 0; i < 28; ++i) values.push_back(std::to_string(i));
    ASSERT_TRUE(append_row(st, values));
    std::string want;
    for (int i = 0; i < 28; ++i)
        want += num(index_to_column(i) + "1", std::to_string(i));
    EXPECT_EQ(rows_of(st), row(1, want));
}

TEST(AppendRow, SelfClosedSheetDataIsOpened) {
    EditorState st;
    st.sheet_xml = "<worksheet><sheetData /></worksheet>";
    ASSERT_TRUE(append_row(st, Row{"1"}));
    EXPECT_EQ(st.sheet_xml, "<worksheet><sheetData>" + row(1, num("A1", "1")) + "</sheetData></worksheet>");
    st.sheet_xml = "<worksheet></worksheet>";
    EXPECT_EQ(error_of(append_row(st, Row{"1"})), "</sheetData> tag not found");
    EXPECT_EQ(st.last_row, 2u);  // the counter advances all the same
}

TEST(AppendRow, NumbersAfterRowsWithoutR) {
    auto st = sheet("<row><c/></row><row><c/></row>");
    st.last_row_pending = true;
    ASSERT_TRUE(append_row(st, Row{"1"}));
    EXPECT_EQ(rows_of(st), "<row><c/></row><row><c/></row>" + row(3, num("A3", "1")));
}

TEST(BuildRow, EveryValueMakesACell) {
    EXPECT_EQ(merge_row("", 6, 2, Row{"1", "", "=A1"}).value(),
              "<row r=\"6\"><c r=\"C6\"><v>1</v></c><c r=\"D6\" t=\"inlineStr\"><is><t></t></is></c>"
              "<c r=\"E6\"><f>A1</f></c></row>");
}

TEST(MergeRow, WritesInColumnOrderAndKeepsEverythingElse) {
    struct Case { std::string cells; std::uint64_t first; Row values; std::string want; };
    const std::string a = num("A5", "1"), e = num("E5", "5");
    for (const auto& c : {
             // Into A5 .. E5: C5 and D5 go between them, in that order.
             Case{a + e, 2, {"3", "4"}, a + num("C5", "3") + num("D5", "4") + e},
             // Overwriting keeps the style and nothing else of the old cell.
             Case{a + "<c r=\"C5\" s=\"3\" t=\"s\"><v>0</v></c>" + e, 2, {"9"}, a + "<c r=\"C5\" s=\"3\"><v>9</v></c>" + e},
             // Overwrite, insert and append in one row.
             Case{a + "<c r=\"C5\" s=\"2\"/>" + e, 1, {"b", "c", "d", "e", "f"},
                  a + "<c r=\"B5\" t=\"inlineStr\"><is><t>b</t></is></c>" +
                      "<c r=\"C5\" s=\"2\" t=\"inlineStr\"><is><t>c</t></is></c>" +
                      "<c r=\"D5\" t=\"inlineStr\"><is><t>d</t></is></c>" +
                      "<c r=\"E5\" t=\"inlineStr\"><is><t>e</t></is></c>" +
                      "<c r=\"F5\" t=\"inlineStr\"><is><t>f</t></is></c>"},
             // Lower-case references are read case-insensitively.
             Case{"<c r=\"b5\"><v>0</v></c>", 1, {"7"}, num("B5", "7")},
             // Cells out of column order (written by other programs) are still matched exactly.
             Case{e + a, 0, {"8"}, e + num("A5", "8")},
             Case{e + a, 2, {"8"}, num("C5", "8") + e + a},
             // A cell without r stands after the one before: the first is A5, and is written.
             Case{"<c s=\"1\"><v>1</v></c>" + num("C5", "1"), 0, {"2"}, "<c r=\"A5\" s=\"1\"><v>2</v></c>" + num("C5", "1")},
             Case{num("$A5", "1") + "<c/>", 1, {"2"}, num("$A5", "1") + "<c/>" + num("B5", "2")},
             // A reference without a row number is not a cell of this row's columns: AB5 is new.
             Case{"<c r=\"AB\"><v>1</v></c>", 27, {"2"}, "<c r=\"AB\"><v>1</v></c>" + num("AB5", "2")},
             Case{"", 0, {}, ""},
         }) {
        const std::string head = "<row r=\"5\" spans=\"1:5\" ht=\"30\">";
        auto merged = merge_row(head + c.cells + "</row>", 5, c.first, c.values);
        ASSERT_TRUE(merged) << merged.error().message;
        EXPECT_EQ(*merged, head + c.want + "</row>") << c.cells;
    }
}

TEST(MergeRow, RichTextInsideCellsIsNotTakenForCells) {
    const std::string rich = "<c r=\"B2\" t=\"inlineStr\"><is><r><rPr><color rgb=\"FF0000\"/><charset val=\"0\"/>"
                             "</rPr><t>x</t></r></is></c>";
    auto merged = merge_row(row(2, rich), 2, 0, Row{"1", "2", "3"});
    ASSERT_TRUE(merged);
    EXPECT_EQ(*merged, row(2, num("A2", "1") + "<c r=\"B2\"><v>2</v></c>" + num("C2", "3")));
}

TEST(MergeRow, SelfClosedRowIsReopened) {
    auto merged = merge_row("<row r=\"5\" spans=\"1:3\"/>", 5, 0, Row{"1"});
    ASSERT_TRUE(merged);
    EXPECT_EQ(*merged, "<row r=\"5\" spans=\"1:3\">" + num("A5", "1") + "</row>");
}

TEST(MergeRow, SelfClosedRowWithoutValuesStaysAsItIs) {
    auto merged = merge_row("<row r=\"5\" spans=\"1:3\"/>", 5, 0, Row{});
    ASSERT_TRUE(merged);
    EXPECT_EQ(*merged, "<row r=\"5\" spans=\"1:3\"/>");
}

TEST(MergeRow, Failures) {
    EXPECT_EQ(merge_row(row(1, "<c r=\"A1\""), 1, 0, Row{"1"}).error().message, "cell tag end");
    EXPECT_EQ(merge_row(row(1, "<c r=\"A1\"><v>1</v>"), 1, 0, Row{"1"}).error().message, "</c> missing");
}

TEST(WriteBlock, IntoEmptySheetAtC5) {
    auto st = sheet("", 2);
    ASSERT_TRUE(write_block(st, Rows{{"1", "2"}, {"3", "4"}}, "c5"));
    EXPECT_EQ(rows_of(st), row(5, num("C5", "1") + num("D5", "2")) + row(6, num("C6", "3") + num("D6", "4")));
    EXPECT_EQ(st.last_row, 6u);
}

TEST(WriteBlock, NewRowsGoBeforeTheFirstGreaterRow) {
    auto st = sheet(row(2, num("A2", "1")) + row(9, num("A9", "1")), 9);
    ASSERT_TRUE(write_block(st, Rows{{"4"}, {"5"}, {"6"}}, "A4"));
    EXPECT_EQ(rows_of(st), row(2, num("A2", "1")) + row(4, num("A4", "4")) + row(5, num("A5", "5")) +
                               row(6, num("A6", "6")) + row(9, num("A9", "1")));
    EXPECT_EQ(st.last_row, 9u);
}

TEST(WriteBlock, MergesIntoExistingRowsOutOfOrder) {
    // Rows out of order: existing rows are written into wherever they lie, and a new row goes
    // before the first row in text order with a greater number, so no row number appears twice.
    const std::string r7 = row(7, num("A7", "0")), r3 = row(3, num("A3", "0") + num("B3", "0")),
                      r5 = row(5, num("B5", "0")), r1 = row(1, "");
    auto st = sheet(r7 + r3 + r1 + r5);
    ASSERT_TRUE(write_block(st, Rows{{"1"}, {"2"}, {"3"}, {"4"}, {"5"}, {"6"}}, "A3"));
    EXPECT_EQ(rows_of(st), row(4, num("A4", "2")) + row(6, num("A6", "4")) + r7.substr(0, r7.size() - 6 - num("A7", "0").size()) +
                               num("A7", "5") + "</row>" + row(3, num("A3", "1") + num("B3", "0")) + r1 +
                               row(5, num("A5", "3") + num("B5", "0")) + row(8, num("A8", "6")));
    EXPECT_EQ(st.last_row, 8u);
}

TEST(WriteBlock, SelfClosedRowsAndSheetData) {
    const std::string r6 = row(6, num("A6", "1") + num("B6", "1"));
    auto st = sheet("<row r=\"5\" ht=\"20\" customHeight=\"1\"/>" + r6);
    ASSERT_TRUE(write_block(st, Rows{{"7"}, {"8"}}, "B5"));
    // Row 5 is reopened around its cell, row 6 keeps its own cells, and no second row 5 appears.
    EXPECT_EQ(rows_of(st), "<row r=\"5\" ht=\"20\" customHeight=\"1\">" + num("B5", "7") + "</row>" +
                               row(6, num("A6", "1") + num("B6", "8")));

    EditorState empty;
    empty.sheet_xml = "<worksheet><sheetData/></worksheet>";
    ASSERT_TRUE(write_block(empty, Rows{{"1"}}, "A1"));
    EXPECT_EQ(empty.sheet_xml, "<worksheet><sheetData>" + row(1, num("A1", "1")) + "</sheetData></worksheet>");
}

TEST(WriteBlock, EmptyInputAndEmptyRows) {
    auto st = sheet(row(7, num("A7", "1")), 3);
    ASSERT_TRUE(write_block(st, Rows{}, "A9"));
    EXPECT_EQ(rows_of(st), row(7, num("A7", "1")));
    EXPECT_EQ(st.last_row, 3u);
    ASSERT_TRUE(write_block(st, Rows{{}}, "A7"));
    EXPECT_EQ(rows_of(st), row(7, num("A7", "1")));
    EXPECT_EQ(st.last_row, 7u);
    ASSERT_TRUE(write_block(st, Rows{{}}, "A8"));
    EXPECT_EQ(rows_of(st), row(7, num("A7", "1")) + "<row r=\"8\"></row>");
}

TEST(WriteBlock, RowsWithoutReadableNumberAreCopied) {
    const std::string odd = "<row spans=\"1:1\"><c r=\"A1\"/></row><row r=\"x\"></row>";
    auto st = sheet(odd + row(4, ""));
    ASSERT_TRUE(write_block(st, Rows{{"1"}}, "A4"));
    EXPECT_EQ(rows_of(st), odd + row(4, num("A4", "1")));
}

TEST(WriteBlock, RefusedStartOrSizeChangesNothing) {
    struct Case { std::string start; Rows rows; std::string message; };
    const std::string grid = " (columns A to XFD, rows 1 to 1048576)";
    for (const auto& c : {
             Case{"AB", Rows{{"1"}}, "invalid start coordinate \u2013 no digits"},
             Case{"A1x", Rows{{"1"}}, "invalid row in start coordinate"},
             Case{"1", Rows{{"1"}}, "invalid column letters in start coordinate 1"},
             Case{"A99999999999", Rows{{"1"}}, "start coordinate A99999999999 is outside the sheet" + grid},
             Case{"XFE3", Rows{}, "start coordinate XFE3 is outside the sheet" + grid},
             Case{"$XFD$1048576", Rows{{"1", "2"}},
                  "a table of 1 rows and 2 columns at XFD1048576 does not fit in the sheet" + grid},
             Case{"A1048576", Rows{{"1"}, {}},
                  "a table of 2 rows and 1 columns at A1048576 does not fit in the sheet" + grid},
         }) {
        EditorState st;
        st.sheet_xml = "<worksheet><sheetData/></worksheet>";
        EXPECT_EQ(error_of(write_block(st, c.rows, c.start)), c.message) << c.start;
        EXPECT_EQ(st.sheet_xml, "<worksheet><sheetData/></worksheet>");
        EXPECT_EQ(st.last_row, 0u);
    }
    // The last cell of the grid itself is fine, written canonically.
    EditorState st;
    st.sheet_xml = "<worksheet><sheetData/></worksheet>";
    ASSERT_TRUE(write_block(st, Rows{{"1"}}, "$xfd$01048576"));
    EXPECT_EQ(rows_of(st), row(1048576, num("XFD1048576", "1")));
}

TEST(WriteBlock, FailuresKeepTheNormalisedTextAndCounter) {
    struct Case { std::string text; std::string start; std::string message; };
    for (const auto& c : {
             Case{"<worksheet><sheetData><row r=\"1\"", "A1", "</sheetData> tag not found"},
             Case{"<worksheet><sheetData><row r=\"1\"</sheetData></worksheet>", "A1", "malformed <row>"},
             Case{"<worksheet><sheetData><row r=\"1\"></sheetData></worksheet>", "A1", "</row> not found"},
             // A malformed row fails the call even when the block does not touch it.
             Case{"<worksheet><sheetData><row r=\"1\"></row><row r=\"9\"><c/></sheetData></worksheet>", "A2",
                  "</row> not found"},
             Case{"<worksheet><sheetData><row r=\"1\"><c r=\"A1\"</row></sheetData></worksheet>", "A1", "cell tag end"},
             Case{"<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></row></sheetData></worksheet>", "A1",
                  "</c> missing"},
             Case{"<worksheet><sheetData><row r=\"1\"></row></worksheet>", "A2", "</sheetData> tag not found"},
             Case{"<worksheet><sheetData><row r=\"1\"></row></worksheet>", "A1", "</sheetData> tag not found"},
         }) {
        EditorState st;
        st.sheet_xml = c.text;
        st.last_row = 0;
        std::string normalised = st.sheet_xml;
        open_sheet_data(normalised);
        EXPECT_EQ(error_of(write_block(st, Rows{{"1"}}, c.start)), c.message) << c.text << " " << c.start;
        EXPECT_EQ(st.sheet_xml, normalised);
        EXPECT_EQ(st.last_row, 0u);
    }
}

TEST(WriteBlock, MatchesCellByCellWrites) {
    // The block writer and set_cell agree on where every value lands, rows in order or not.
    const std::string r2 = row(2, num("$A2", "0") + num("B2", "0") + "<c r=\"D2\" s=\"5\"><v>0</v></c>" + num("E2x", "0")),
                      r3 = "<row r=\"3\"/>",
                      r6 = row(6, num("A6", "0") + num("F6", "0")), r9 = row(9, "");
    Rows block;
    for (int r = 0; r < 6; ++r) {
        std::string n = std::to_string(r);
        block.push_back({std::string("a") += n, n, std::string("=B") += n});
    }
    for (const std::string& existing : {r2 + r3 + r6 + r9, r6 + r2 + r9 + r3, r9 + r6 + r3 + r2, std::string()}) {
        auto by_block = sheet(existing), by_cell = sheet(existing);
        ASSERT_TRUE(write_block(by_block, block, "B2"));
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c)
                ASSERT_TRUE(set_cell(by_cell, index_to_column(1 + c) + std::to_string(2 + r), block[r][c]));
        EXPECT_EQ(by_block.sheet_xml, by_cell.sheet_xml) << existing;
        EXPECT_EQ(by_block.last_row, by_cell.last_row);
    }
}

TEST(WriteBlock, TypedValuesAreWrittenAsTheirKind) {
    // Typed cells are never re-classified; a blank writes no cell, and over an existing cell keeps
    // only its style.
    const std::string existing = "<c r=\"B2\" s=\"4\"><v>9</v></c><c r=\"C2\"><v>9</v></c>";
    auto st = sheet(row(2, existing));
    using T = TypedCell;
    std::vector<std::vector<T>> rows{
        {{CellKind::InlineString, "=1+1"}, {CellKind::Blank, ""}, {CellKind::Blank, ""}, {CellKind::Error, "#NUM!"}},
        {{CellKind::Blank, ""}, {CellKind::Number, "02"}, {CellKind::InlineString, "1e5"}}};
    ASSERT_TRUE(write_block(st, rows, "A2"));
    EXPECT_EQ(rows_of(st),
              row(2, "<c r=\"A2\" t=\"inlineStr\"><is><t>=1+1</t></is></c><c r=\"B2\" s=\"4\"/><c r=\"C2\"/>"
                     "<c r=\"D2\" t=\"e\"><v>#NUM!</v></c>") +
                  row(3, num("B3", "02") + "<c r=\"C3\" t=\"inlineStr\"><is><t>1e5</t></is></c>"));
}

// A block that outweighs the sheet is written into a new text, a smaller one spliced into the
// sheet where it lies: padding the sheet (a comment before sheetData) switches between the two,
// and the rows must come out the same either way.
TEST(WriteBlock, NewTextAndSpliceAgree) {
    const std::string pad = "<!--" + std::string(200000, 'p') + "-->";
    struct Case { std::string rows; std::string start; std::size_t height; };
    for (const auto& c : {Case{"", "A1", 3}, Case{row(5, num("A5", "1")) + row(100, num("B100", "2")), "B1", 3},
                          Case{row(5, num("A5", "1")) + row(100, num("B100", "2")), "C6", 4},
                          Case{row(5, num("A5", "1")) + row(100, num("B100", "2")), "A101", 2},
                          Case{row(9, "") + "<row><c><v>3</v></c></row>" + row(2, num("A2", "4")), "A3", 5}}) {
        Rows block;
        for (std::size_t i = 0; i < c.height; ++i) block.push_back({"x&<" + std::to_string(i), std::to_string(i) + ".5"});
        EditorState plain = sheet(c.rows), padded = sheet(c.rows);
        padded.sheet_xml.insert(padded.sheet_xml.find("<sheetData>"), pad);
        ASSERT_TRUE(write_block(plain, block, c.start)) << c.start;
        ASSERT_TRUE(write_block(padded, block, c.start)) << c.start;
        EXPECT_EQ(rows_of(plain), rows_of(padded)) << c.rows << " " << c.start;
        EXPECT_EQ(plain.last_row, padded.last_row);
    }
}
