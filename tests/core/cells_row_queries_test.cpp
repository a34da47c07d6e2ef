#include <gtest/gtest.h>

#include "cells/cells.hpp"

using namespace qm;

namespace {

EditorState sheet(const std::string& rows) {
    EditorState st;
    st.sheet_xml = "<?xml version=\"1.0\"?><worksheet xmlns=\"urn:x\"><sheetData>" + rows +
                   "</sheetData></worksheet>";
    st.last_row = 999;  // the queries look at the cells, never at the counter
    return st;
}

std::string cell(const std::string& r) { return "<c r=\"" + r + "\"><v>1</v></c>"; }

std::vector<std::uint32_t> rows_of(const EditorState& st, std::string_view span) {
    auto r = last_rows_index(st, span);
    EXPECT_TRUE(r) << r.error().message;
    return r ? *r : std::vector<std::uint32_t>{};
}

}  // namespace

TEST(LastRowIndex, StyledEmptyCellCounts) {
    std::string rows;
    for (int r = 1; r <= 7; ++r) {
        std::string n = std::to_string(r);
        rows += "<row r=\"" + n + "\">" + cell(std::string("A") += n) + "</row>";
    }
    rows += "<row r=\"12\"><c r=\"A12\" s=\"3\"/></row>";
    auto st = sheet(rows);
    EXPECT_EQ(last_row_index(st, "A"), 12u);
    EXPECT_EQ(last_row_index(st, "B"), 0u);
}

TEST(LastRowIndex, ColumnListAndCellReading) {
    // Cells count by their r attribute, not by the row they sit in; prefixed names do not count.
    auto st = sheet("<row r=\"3\">" + cell("A9") + cell("e4") + "<x:c r=\"A50\"/><c s=\"1\"/>" + cell("C2x") +
                    "</row><row r=\"4\">" + cell("7") + "<c r=\"ZZ\"/>" + cell("B&amp;1") + "</row>");
    struct Case { const char* columns; std::uint32_t want; };
    for (auto c : {Case{"A", 9}, Case{"a, e", 9}, Case{" E ", 4}, Case{"C", 0}, Case{"", 7}, Case{"A,", 9},
                   Case{"zz", 0}, Case{"B&AMP;", 1}, Case{"D", 0}})
        EXPECT_EQ(last_row_index(st, c.columns), c.want) << c.columns;
}

TEST(LastRowIndex, MalformedXmlGivesWhatWasReadBeforeTheBreak) {
    EditorState st;
    st.sheet_xml = "<worksheet><sheetData><row r=\"1\">" + cell("A3") + "<c r=\"A5\"></x>" + cell("A9");
    EXPECT_EQ(last_row_index(st, "A"), 5u);
    EXPECT_EQ(rows_of(st, "A:A"), std::vector<std::uint32_t>{5});
    st.sheet_xml = "not xml at all";
    EXPECT_EQ(last_row_index(st, "A"), 0u);
}

TEST(LastRowsIndex, PerColumnMaxima) {
    auto st = sheet("<row r=\"1\">" + cell("A1") + "</row><row r=\"2\">" + cell("E2") + "</row><row r=\"4\">" +
                    cell("A4") + "</row><row r=\"9\">" + cell("F9") + "</row>");
    EXPECT_EQ(rows_of(st, "A:E"), (std::vector<std::uint32_t>{4, 0, 0, 0, 2}));
    EXPECT_EQ(rows_of(st, " b : b "), std::vector<std::uint32_t>{0});
    EXPECT_EQ(rows_of(st, "e:f"), (std::vector<std::uint32_t>{2, 9}));
    EXPECT_EQ(rows_of(st, "A:XFD").size(), 16384u);
}

TEST(LastRowsIndex, Failures) {
    auto st = sheet("");
    const std::string too_wide = "column span too wide: at most 16384 columns";
    struct Case { const char* span; std::string message; };
    for (const auto& c : {Case{"E:A", "invalid range order"}, Case{"A:B:E", "range must be in the form A:E"},
                          Case{"A", "range must be in the form A:E"}, Case{"A:", too_wide}, Case{"B:", too_wide},
                          Case{"A:XFE", too_wide}, Case{"A:ZZZZZZZZZZZZZZZZ", too_wide}}) {
        auto r = last_rows_index(st, c.span);
        ASSERT_FALSE(r) << c.span;
        EXPECT_EQ(r.error().message, c.message) << c.span;
    }
    // An empty span (both pieces empty) is one column: that of references without letters.
    auto only_numbers = sheet("<row r=\"1\">" + cell("8") + "</row>");
    EXPECT_EQ(rows_of(only_numbers, ":"), std::vector<std::uint32_t>{8});
}
