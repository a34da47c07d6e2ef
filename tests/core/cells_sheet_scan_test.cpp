#include <gtest/gtest.h>

#include "cells/cells.hpp"

using namespace qm;

namespace {

std::string sheet(const std::string& rows) { return "<worksheet><sheetData>" + rows + "</sheetData></worksheet>"; }

// "row:cells|row:cells" with each cell as its position, or "?" where it does not read.
std::string layout(const std::string& xml) {
    auto data = find_sheet_data(xml);
    if (!data) return "error: " + data.error().message;
    RowScanner rows(xml, *data);
    std::vector<SheetCell> cells;
    std::string out;
    for (;;) {
        auto row = rows.next(&cells);
        if (!row) {
            out.append("error: ");
            out.append(row.error().message);
            return out;
        }
        if (!*row) return out;
        if ((*row)->number) out.append(std::to_string(*(*row)->number));
        else out.push_back('?');
        out.push_back(':');
        for (const SheetCell& c : cells) {
            auto at = cell_row(**row, c);
            if (c.column && at) {
                out.append(index_to_column(*c.column));
                out.append(std::to_string(*at));
            } else {
                out.push_back('?');
            }
            if (c.s) {
                out.push_back('s');
                out.append(*c.s);
            }
            out.push_back(',');
        }
        out += '|';
    }
}

}  // namespace

TEST(SheetScan, ReadsEveryProducersMarkup) {
    struct Case { std::string xml; std::string want; };
    for (const auto& c : std::vector<Case>{
             {sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\" s=\"2\"/></row>"), "1:A1,B1s2,|"},
             // Rows and cells without r follow the one before.
             {sheet("<row><c><v>1</v></c><c/></row><row><c/></row><row r=\"7\"><c r=\"C7\"/><c/></row><row/>"),
              "1:A1,B1,|2:A2,|7:C7,D7,|8:|"},
             // Attributes in any order, single quotes, white space inside tags.
             {sheet("<row spans='1:3'\tr='5'\n><c\ts=\"0\"  r = \"A5\" ><v>1</v></c><c t=\"n\" r=\"F5\"/></row >"),
              "5:A5s0,F5,|"},
             // A ">" inside a value does not end the tag.
             {sheet("<row r=\"2\" x=\"a>b\"><c r=\"B2\" y='>'/></row>"), "2:B2,|"},
             // Comments, CDATA and processing instructions hide what looks like rows and cells.
             {sheet("<!-- <row r=\"1\"><c r=\"A1\"/></row> --><row r=\"3\"><c r=\"B3\" t=\"inlineStr\"><is><t>"
                    "<![CDATA[</c></row><row r=\"5\">]]></t></is></c><?pi <c r=\"Z9\"/>?></row>"),
              "3:B3,|"},
             // Rich text inside a cell is not taken for cells; other elements of a row are stepped over.
             {sheet("<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><r><rPr><color rgb=\"1\"/></rPr><t>x</t></r></is></c>"
                    "<extLst><ext><c r=\"Q2\"/></ext></extLst></row>"),
              "2:A2,|"},
             // A row whose r does not read has no number, nor have the rows without r after it.
             {sheet("<row r=\"x\"><c/></row><row><c r=\"B9\"/></row><row r=\"4\"/>"), "?:?,|?:B9,|4:|"},
             {"<worksheet><sheetData/></worksheet>", ""},
             {"<worksheet><sheetData  /></worksheet><!-- </sheetData> -->", ""},
             {"<worksheet><!-- <sheetData><row r=\"1\"/></sheetData> --><sheetData><row r=\"2\"/></sheetData>"
              "<!-- </sheetData> --></worksheet>",
              "2:|"},
             {"<worksheet><sheetData><row r=\"1\"/>", "error: </sheetData> tag not found"},
             {"<worksheet></worksheet>", "error: </sheetData> tag not found"},
             {sheet("<row r=\"1\"><c r=\"A1\"</row>"), "error: cell tag end"},
             {sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></row>"), "error: </c> missing"},
             {sheet("<row r=\"1\"><c r=\"A1\"/>"), "error: </row> not found"},
             {sheet("<row r=\"1\"/><row r=\"2\"><!-- x </row>"), "1:|error: malformed <row>"},
         })
        EXPECT_EQ(layout(c.xml), c.want) << c.xml;
}

TEST(SheetScan, LastRowIsTheLastRowElementReadBeforeAnyDamage) {
    struct Case { std::string rows; std::uint32_t want; };
    for (const auto& c : std::vector<Case>{
             {"<row r=\"1\"/><row r=\"7\"/><row r=\"3\"/>", 3},
             {"", 0},
             {"<row r=\"4\"/><row r=\"+5\"/>", 5},
             {"<row r=\"4\"><c/></row><row><c/></row><row/>", 6},
             // Damage inside a row's cells does not hide the rows after it; a row cut short does.
             {"<row r=\"4\"/><row r=\"6\"><c></row><row r=\"9\"/>", 9},
             {"<row r=\"4\"/><row r=\"6\"><c r=\"A6\"/><row r=\"9\"/>", 6},
             {"<row r=\"4\"/><!-- <row r=\"9\"/> -->", 4},
         })
        EXPECT_EQ(scan_last_row(sheet(c.rows)), c.want) << c.rows;
}

TEST(SheetScan, OpenSheetDataKeepsAttributes) {
    for (auto [in, want] : std::vector<std::pair<std::string, std::string>>{
             {"<w><sheetData/></w>", "<w><sheetData></sheetData></w>"},
             {"<w><sheetData x=\"1\" /></w>", "<w><sheetData x=\"1\"></sheetData></w>"},
             {"<w><!-- <sheetData/> --><sheetData></sheetData></w>", "<w><!-- <sheetData/> --><sheetData></sheetData></w>"},
         }) {
        open_sheet_data(in);
        EXPECT_EQ(in, want);
    }
}

TEST(SheetScan, TagEditsKeepTheRestOfTheTag) {
    struct Case { std::string tag; std::string with_style; std::string without_style; };
    for (const auto& c : std::vector<Case>{
             {"<c r=\"A1\">", "<c r=\"A1\" s=\"9\">", "<c r=\"A1\">"},
             {"<c s='3' r=\"A1\"/>", "<c s='9' r=\"A1\"/>", "<c r=\"A1\"/>"},
             {"<c\tr=\"A1\"\ns = \"3\" t=\"n\" />", "<c\tr=\"A1\"\ns = \"9\" t=\"n\" />", "<c\tr=\"A1\" t=\"n\" />"},
             {"<c r=\"A1\" />", "<c r=\"A1\" s=\"9\" />", "<c r=\"A1\" />"},
         }) {
        std::string with, without;
        append_tag_with_style(with, c.tag, 9);
        ASSERT_TRUE(append_tag_without_attribute(without, c.tag, "s"));
        EXPECT_EQ(with, c.with_style);
        EXPECT_EQ(without, c.without_style);
    }
    std::string out;
    append_tag_with_r(out, "<row spans=\"1:2\"/>", "3", true);
    EXPECT_EQ(out, "<row spans=\"1:2\" r=\"3\">");
}
