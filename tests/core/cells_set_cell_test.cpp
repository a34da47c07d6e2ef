#include <gtest/gtest.h>

#include "cells/cells.hpp"

using namespace qm;

namespace {

const std::string kHead = "<worksheet><sheetData>";
const std::string kTail = "</sheetData></worksheet>";

EditorState sheet(const std::string& rows, std::uint32_t last_row = 0) {
    EditorState st;
    st.sheet_xml = kHead + rows + kTail;
    st.last_row = last_row;
    return st;
}

// The rows between the sheetData tags.
std::string rows_of(const EditorState& st) {
    std::size_t begin = st.sheet_xml.find("<sheetData>") + 11;
    return st.sheet_xml.substr(begin, st.sheet_xml.rfind("</sheetData>") - begin);
}

std::string num(const std::string& r, const std::string& v) { return "<c r=\"" + r + "\"><v>" + v + "</v></c>"; }

std::string error_of(const Status& s) { return s ? "ok" : s.error().message; }

std::string row(std::uint32_t n, const std::string& cells) {
    return "<row r=\"" + std::to_string(n) + "\">" + cells + "</row>";
}

}  // namespace

TEST(SetCell, FirstWriteIntoNewSheetMakesRowOne) {
    EditorState st;
    st.sheet_xml = "<worksheet><sheetData> </sheetData></worksheet>";
    ASSERT_TRUE(set_cell(st, "A1", "5"));
    EXPECT_EQ(st.sheet_xml, "<worksheet><sheetData> <row r=\"1\">" + num("A1", "5") + "</row></sheetData></worksheet>");
    EXPECT_EQ(st.last_row, 1u);
}

TEST(SetCell, NewRowGoesBeforeFirstGreaterRowInTextOrder) {
    struct Case { std::string rows; std::string want; };
    const std::string r1 = "<row r=\"1\"/>", r2 = "<row r=\"2\"></row>", r5 = "<row r=\"5\"></row>",
                      r4 = "<row r=\"4\"></row>", b3 = "<row r=\"3\">" + num("B3", "7") + "</row>";
    for (const auto& c : {
             Case{r1 + r2 + r5, r1 + r2 + b3 + r5},
             Case{r1 + r2, r1 + r2 + b3},
             // Out of order: the first greater row in text order wins, wherever it lies.
             Case{r5 + r1 + r4, b3 + r5 + r1 + r4},
             Case{r2 + r5 + r4, r2 + b3 + r5 + r4},
         }) {
        auto st = sheet(c.rows);
        ASSERT_TRUE(set_cell(st, "B3", "7"));
        EXPECT_EQ(rows_of(st), c.want) << c.rows;
    }
}

TEST(SetCell, LaterRowWithSameNumberIsStillFoundWhenRowsAreOutOfOrder) {
    auto st = sheet("<row r=\"9\"></row><row r=\"1\"></row><row r=\"3\">" + num("A3", "1") + "</row>");
    ASSERT_TRUE(set_cell(st, "C3", "2"));
    EXPECT_EQ(rows_of(st), "<row r=\"9\"></row><row r=\"1\"></row><row r=\"3\">" + num("A3", "1") + num("C3", "2") + "</row>");
}

TEST(SetCell, MissingCellKeepsColumnOrder) {
    struct Case { std::string coords; std::string cells; std::string want; };
    const std::string a = num("A5", "1"), c = num("C5", "3"), e = num("E5", "5"), aa = num("AA5", "9");
    for (const auto& k : {
             Case{"B5", a + c + e, a + num("B5", "0") + c + e},
             Case{"A5", c + e, num("A5", "0") + c + e},
             Case{"F5", a + c + e, a + c + e + num("F5", "0")},
             // Letters are folded to upper case, and AA sorts after Z.
             Case{"d5", a + c + e, a + c + num("D5", "0") + e},
             Case{"Z5", a + aa, a + num("Z5", "0") + aa},
             // A cell whose r does not read is stepped over; so is one without r.
             Case{"B5", a + num("$X5", "1") + "<c s=\"1\"/>" + c, a + num("$X5", "1") + "<c s=\"1\"/>" + num("B5", "0") + c},
             Case{"B5", a + num("X", "1") + c, a + num("X", "1") + num("B5", "0") + c},
             // Every spelling of an existing cell's reference finds it.
             Case{"c5", a + c + e, a + num("C5", "0") + e},
             Case{"$C$05", a + c + e, a + num("C5", "0") + e},
         }) {
        auto st = sheet("<row r=\"5\" spans=\"1:5\">" + k.cells + "</row>");
        ASSERT_TRUE(set_cell(st, k.coords, "0"));
        EXPECT_EQ(rows_of(st), "<row r=\"5\" spans=\"1:5\">" + k.want + "</row>") << k.coords << " into " << k.cells;
    }
}

TEST(SetCell, WritingC1ThenA1KeepsColumnOrder) {
    EditorState st;
    st.sheet_xml = "<sheetData></sheetData>";
    ASSERT_TRUE(set_cell(st, "C1", "x"));
    ASSERT_TRUE(set_cell(st, "A1", "y"));
    EXPECT_EQ(st.sheet_xml,
              "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>y</t></is></c>"
              "<c r=\"C1\" t=\"inlineStr\"><is><t>x</t></is></c></row></sheetData>");
}

TEST(SetCell, OverwriteKeepsOnlyTheStyle) {
    struct Case { std::string old_cell; std::string value; std::string want; };
    for (const auto& c : {
             Case{"<c r=\"B3\" s=\"7\" t=\"s\"><v>12</v></c>", "9", "<c r=\"B3\" s=\"7\"><v>9</v></c>"},
             Case{"<c r=\"B3\" s=\"7\" t=\"s\" cm=\"1\"><v>12</v></c>", "hi",
                  "<c r=\"B3\" s=\"7\" t=\"inlineStr\"><is><t>hi</t></is></c>"},
             Case{"<c r=\"B3\" t=\"str\"><f>A1</f><v>3</v></c>", "=A2", "<c r=\"B3\"><f>A2</f></c>"},
             Case{"<c r=\"B3\" s=\"4\"/>", "1", "<c r=\"B3\" s=\"4\"><v>1</v></c>"},
             Case{"<c s=\"2\" r=\"B3\" />", "1", "<c r=\"B3\" s=\"2\"><v>1</v></c>"},
             // An unreadable style is dropped.
             Case{"<c r=\"B3\" s=\"x\"><v>1</v></c>", "1", "<c r=\"B3\"><v>1</v></c>"},
         }) {
        const std::string row_head = "<row r=\"3\" spans=\"1:9\" ht=\"20\" customHeight=\"1\">";
        auto st = sheet(row_head + num("A3", "1") + c.old_cell + num("C3", "2") + "</row>");
        ASSERT_TRUE(set_cell(st, "B3", c.value));
        EXPECT_EQ(rows_of(st), row_head + num("A3", "1") + c.want + num("C3", "2") + "</row>") << c.old_cell;
    }
}

TEST(SetCell, ReferenceIsWrittenInCanonicalForm) {
    for (const char* coords : {"B3", "b3", "$B$3", "B$3", "$b3", "B03"}) {
        auto st = sheet("<row r=\"3\">" + num("B3", "1") + "</row>");
        ASSERT_TRUE(set_cell(st, coords, "2")) << coords;
        EXPECT_EQ(rows_of(st), "<row r=\"3\">" + num("B3", "2") + "</row>") << coords;
    }
}

TEST(SetCell, CellsAreFoundByPositionHoweverWritten) {
    struct Case { std::string coords; std::string rows; std::string want; };
    for (const auto& k : std::vector<Case>{
             {"b3", row(3, num("B3", "1")), row(3, num("B3", "0"))},
             // Rows and cells without r stand after the one before; writing beside them gives them r.
             {"A1", "<row><c><v>1</v></c><c><v>2</v></c></row>", "<row r=\"1\">" + num("A1", "0") + "<c r=\"B1\"><v>2</v></c></row>"},
             {"C2", "<row/><row><c/></row>", "<row/><row r=\"2\"><c r=\"A2\"/>" + num("C2", "0") + "</row>"},
             {"A3", "<row><c/></row><row><c/></row>", "<row><c/></row><row><c/></row>" + row(3, num("A3", "0"))},
             // Attributes in any order or quote, white space in tags.
             {"A5", "<row spans=\"1:3\" r='5'><c\ts=\"2\"\nr=\"A5\"/></row>",
              "<row spans=\"1:3\" r='5'><c r=\"A5\" s=\"2\"><v>0</v></c></row>"},
             // Comments and CDATA hide what looks like rows.
             {"A1", "<!-- <row r=\"1\"></row> -->", "<!-- <row r=\"1\"></row> -->" + row(1, num("A1", "0"))},
             {"B5", "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t><![CDATA[<row r=\"5\">]]></t></is></c></row>",
              "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t><![CDATA[<row r=\"5\">]]></t></is></c></row>" +
                  row(5, num("B5", "0"))},
         }) {
        auto st = sheet(k.rows);
        ASSERT_TRUE(set_cell(st, k.coords, "0")) << k.rows;
        EXPECT_EQ(rows_of(st), k.want) << k.coords << " into " << k.rows;
    }
}

TEST(SetCell, NonCellTagsInsideCellsAreNotTakenForCells) {
    // Rich text runs carry <color> and <charset>, which also begin with "<c".
    const std::string rich = "<c r=\"A2\" t=\"inlineStr\"><is><r><rPr><color rgb=\"FF0000\"/><charset val=\"0\"/>"
                             "</rPr><t>x</t></r></is></c>";
    auto st = sheet("<row r=\"2\">" + rich + num("C2", "1") + "</row>");
    ASSERT_TRUE(set_cell(st, "B2", "5"));
    EXPECT_EQ(rows_of(st), "<row r=\"2\">" + rich + num("B2", "5") + num("C2", "1") + "</row>");
}

TEST(SetCell, SelfClosedRowBecomesOpenClosePair) {
    const std::string after = "<row r=\"6\">" + num("A6", "1") + "</row>";
    for (const std::string head : {"<row r=\"5\" spans=\"1:2\"/>", "<row r=\"5\" />"}) {
        auto st = sheet(head + after);
        ASSERT_TRUE(set_cell(st, "B5", "3"));
        std::string open = head.substr(0, head.size() - 2) + ">";
        EXPECT_EQ(rows_of(st), open + num("B5", "3") + "</row>" + after) << head;
        // A second write finds the row it made and keeps column order.
        ASSERT_TRUE(set_cell(st, "A5", "4"));
        EXPECT_EQ(rows_of(st), open + num("A5", "4") + num("B5", "3") + "</row>" + after) << head;
    }
}

TEST(SetCell, SelfClosedSheetDataIsNormalisedFirst) {
    EditorState st;
    st.sheet_xml = "<worksheet><sheetData/></worksheet>";
    ASSERT_TRUE(set_cell(st, "A2", "1"));
    EXPECT_EQ(st.sheet_xml, "<worksheet><sheetData><row r=\"2\">" + num("A2", "1") + "</row></sheetData></worksheet>");

    // A refused coordinate changes nothing, not even the normalisation.
    st.sheet_xml = "<worksheet><sheetData/></worksheet>";
    EXPECT_EQ(error_of(set_cell(st, "AB", "1")), "invalid cell coordinate \u2013 no digits found");
    EXPECT_EQ(st.sheet_xml, "<worksheet><sheetData/></worksheet>");
}

TEST(SetCell, FailuresLeaveTextAndCounter) {
    struct Case { std::string text; std::string coords; std::string message; };
    auto outside = [](std::string ref) {
        return "cell coordinate " + ref + " is outside the sheet (columns A to XFD, rows 1 to 1048576)";
    };
    const std::string open_cell = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></row></sheetData></worksheet>";
    for (const auto& c : {
             Case{kHead + kTail, "AB", "invalid cell coordinate \u2013 no digits found"},
             Case{kHead + kTail, "", "invalid cell coordinate \u2013 no digits found"},
             Case{kHead + kTail, "A1B2", "invalid row number in cell coordinate"},
             Case{kHead + kTail, "A1-", "invalid row number in cell coordinate"},
             Case{kHead + kTail, "3", "invalid column letters in cell coordinate 3"},
             Case{kHead + kTail, "A$$1", "invalid column letters in cell coordinate A$$1"},
             Case{kHead + kTail, "A4294967296", outside("A4294967296")},
             Case{kHead + kTail, "A0", outside("A0")},
             Case{kHead + kTail, "A1048577", outside("A1048577")},
             Case{kHead + kTail, "XFE1", outside("XFE1")},
             Case{open_cell, "A1", "</c> missing"},
             Case{"<worksheet></worksheet>", "A1", "</sheetData> tag not found"},
         }) {
        EditorState st;
        st.sheet_xml = c.text;
        st.last_row = 4;
        EXPECT_EQ(error_of(set_cell(st, c.coords, "1")), c.message) << c.coords;
        EXPECT_EQ(st.sheet_xml, c.text);
        EXPECT_EQ(st.last_row, 4u);
    }
}

TEST(SetCell, RowWithoutCloseTagFailsTheWrite) {
    // Writing after damage would place the value where no reader finds it.
    auto st = sheet("<row r=\"1\"/><row r=\"2\"><row r=\"7\"/>");
    const std::string before = st.sheet_xml;
    EXPECT_EQ(error_of(set_cell(st, "A2", "1")), "</row> not found");
    EXPECT_EQ(st.sheet_xml, before);
}

TEST(SetCell, RowsWithoutReadableNumberAreSkipped) {
    auto st = sheet("<row spans=\"1:1\"></row><row r=\"x\"></row><row r=\"4\"></row>");
    ASSERT_TRUE(set_cell(st, "A4", "1"));
    EXPECT_EQ(rows_of(st), "<row spans=\"1:1\"></row><row r=\"x\"></row><row r=\"4\">" + num("A4", "1") + "</row>");
}

TEST(SetCell, LastRowOnlyGrows) {
    auto st = sheet("", 4);
    ASSERT_TRUE(set_cell(st, "A9", "1"));
    EXPECT_EQ(st.last_row, 9u);
    st.last_row = 12;
    ASSERT_TRUE(set_cell(st, "A9", "2"));
    EXPECT_EQ(st.last_row, 12u);
}

TEST(SetCell, ValuesAreEscaped) {
    auto st = sheet("");
    ASSERT_TRUE(set_cell(st, "A1", "a<b & 'c' \"d\""));
    EXPECT_EQ(rows_of(st), "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>a&lt;b &amp; &apos;c&apos; "
                           "&quot;d&quot;</t></is></c></row>");
}
