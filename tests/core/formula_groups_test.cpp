#include <gtest/gtest.h>

#include "cells/cells.hpp"

using namespace qm;

namespace {

EditorState sheet(std::string rows) {
    EditorState st;
    st.sheet_path = "xl/worksheets/sheet1.xml";
    st.sheet_xml = "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
    return st;
}

const std::string kGroup =
    "<row r=\"1\"><c r=\"B1\"><f t=\"shared\" ref=\"B1:B3\" si=\"4\">A1&amp;\"x\"</f><v>0</v></c></row>"
    "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"4\"/><v>0</v></c></row>"
    "<row r=\"3\"><c r=\"B3\"><f t=\"shared\" si=\"4\"/><v>0</v></c></row>";

}  // namespace

TEST(FormulaGroups, MasterMovesWithItsEscapedText) {
    EditorState st = sheet(kGroup);
    ASSERT_TRUE(set_cell(st, "B1", "1"));
    EXPECT_NE(st.sheet_xml.find("<c r=\"B2\"><f t=\"shared\" ref=\"B2:B3\" si=\"4\">A2&amp;\"x\"</f><v>0</v></c>"),
              std::string::npos)
        << st.sheet_xml;
    // The group was read again: overwriting the new master moves it once more.
    ASSERT_TRUE(set_cell(st, "B2", "2"));
    EXPECT_NE(st.sheet_xml.find("<c r=\"B3\"><f t=\"shared\" ref=\"B3\" si=\"4\">A3&amp;\"x\"</f>"), std::string::npos)
        << st.sheet_xml;
}

TEST(FormulaGroups, AFailedWriteRestoresTheMovedMaster) {
    EditorState st = sheet(kGroup + "<row r=\"9\"><c r=\"A9\"><v>1</v></row>");  // row 9: </c> missing
    const std::string before = st.sheet_xml;
    const CellWrite b1{1, "x", false, std::nullopt, false};
    const CellWrite a9{0, "y", false, std::nullopt, false};
    const RowWrites rows[] = {{1, std::span(&b1, 1)}, {9, std::span(&a9, 1)}};
    ASSERT_FALSE(write_rows(st, rows));
    EXPECT_EQ(st.sheet_xml, before);
}
