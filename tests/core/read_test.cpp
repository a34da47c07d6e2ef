#include <gtest/gtest.h>

#include "read/read.hpp"

namespace qm {
namespace {

// (row, column, value) of every cell the cursor yields, and the rows it announces.
std::string walk(std::string_view sheet) {
    std::string out;
    SheetCursor cursor(sheet);
    for (;;) {
        auto row = cursor.next_row();
        if (!row) return "error: " + row.error().message;
        if (!*row) return out;
        out += "row" + std::to_string(**row) + " ";
        for (const RawCell& cell : cursor.cells())
            out += index_to_column(cell.column) + std::to_string(cell.row) + "=" + std::string(cell.value) + " ";
    }
}

TEST(SheetCursor, WalksTheMarkupOtherWritersProduce) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"<sheetData><row r=\"2\"><c r=\"B2\"><v>1</v></c></row></sheetData>", "row2 B2=1 "},
        {"<sheetData><row><c><v>1</v></c><c><v>2</v></c></row><row><c><v>3</v></c></row></sheetData>",
         "row1 A1=1 B1=2 row2 A2=3 "},
        {"<sheetData><row r=\"5\"/><row><c r=\"C6\"/><c><v>x</v></c></row></sheetData>", "row5 row6 C6= D6=x "},
        {"<sheetData><row r='3'><c s='1' r='A3'><v>7</v></c></row><row r='x'><c r='?'><v>8</v></c></row></sheetData>",
         "row3 A3=7 row4 A4=8 "},
        {"<sheetData><!-- <row r=\"9\"> --><row r=\"1\"><c r=\"A1\" t=\"str\"><f>\"&gt;\"</f><v><![CDATA[</v>]]></v>"
         "</c></row></sheetData><row r=\"99\"/>",
         "row1 A1=<![CDATA[</v>]]> "},
        {"<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><r><t>a</t></r></is></c><c><v>2</v></c></row>"
         "</sheetData>",
         "row1 A1= B1=2 "},
        {"<sheetData/><row r=\"1\"/>", ""},
        {"<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></row></sheetData>", "error: </c> missing"},
    };
    for (auto [sheet, expected] : cases) EXPECT_EQ(walk(sheet), expected) << sheet;
}

TEST(FormatCodes, DatesTimesAndDurations) {
    const std::pair<std::string_view, DateKind> cases[] = {
        {"General", DateKind::None},         {"0.00", DateKind::None},
        {"yyyy-mm-dd", DateKind::Date},      {"d-mmm", DateKind::Date},
        {"mmm-yy", DateKind::Date},          {"mm", DateKind::Date},
        {"yyyy-mm-dd hh:mm:ss", DateKind::DateTime}, {"h:mm AM/PM", DateKind::Time},
        {"hh:mm:ss", DateKind::Time},        {"[h]:mm:ss", DateKind::Duration},
        {"[mm]:ss", DateKind::Duration},     {"\"day\" 0", DateKind::None},
        {"0\\d", DateKind::None},            {"[Red]0.00", DateKind::None},
        {"[$-409]d/m/yyyy", DateKind::Date}, {"_(* #,##0_)", DateKind::None},
        {"0.00E+00", DateKind::None},        {"#,##0 \"hours\"", DateKind::None},
        {"@", DateKind::None},               {"a/p h", DateKind::Time},
    };
    for (auto [code, kind] : cases) EXPECT_EQ(classify_format_code(code), kind) << code;
    std::string custom = "0.0";
    EXPECT_EQ(classify_number_format(14, &custom), DateKind::None);  // a code overrides the id
    EXPECT_EQ(classify_number_format(14, nullptr), DateKind::Date);
    EXPECT_EQ(classify_number_format(46, nullptr), DateKind::Duration);
    EXPECT_EQ(classify_number_format(23, nullptr), DateKind::None);
}

TEST(Serials, DateSystemsAndRounding) {
    struct Case {
        double serial;
        bool date1904;
        DateParts expected;
    };
    const Case cases[] = {
        {1, false, {1900, 1, 1}},
        {59, false, {1900, 2, 28}},
        {61, false, {1900, 3, 1}},
        {45356.5, false, {2024, 3, 5, 12}},
        {0.9999999999, false, {1900, 1, 1}},  // rounds up to the next midnight
        {0, true, {1904, 1, 1}},
        {1.0000115740740, true, {1904, 1, 2, 0, 0, 1}},
        {2958465.5, false, {9999, 12, 31, 12}},
        {-1400.5, true, {1900, 3, 1, 12}},  // before the 1904 epoch, as peers read it
        {-1, false, {1899, 12, 29}},
    };
    for (const Case& c : cases) {
        auto got = serial_to_date(c.serial, c.date1904);
        ASSERT_TRUE(got) << c.serial;
        EXPECT_EQ(std::tie(got->year, got->month, got->day, got->hour, got->minute, got->second, got->microsecond),
                  std::tie(c.expected.year, c.expected.month, c.expected.day, c.expected.hour, c.expected.minute,
                           c.expected.second, c.expected.microsecond))
            << c.serial;
    }
    EXPECT_FALSE(serial_to_date(-700000, false));
    EXPECT_FALSE(serial_to_date(2958466, false));
}

TEST(CellText, EscapesAndReferences) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a_x000D_b", "a\rb"},        {"_x005F_x0041_", "_x0041_"}, {"_x004g_", "_x004g_"},
        {"_xD83D__xDE00_", "\xF0\x9F\x98\x80"}, {"_xD83D_", "\xEF\xBF\xBD"}, {"x_x0041", "x_x0041"},
    };
    for (auto [raw, expected] : cases) {
        std::string text(raw);
        decode_cell_escapes(text);
        EXPECT_EQ(text, expected) << raw;
    }
    std::string out;
    append_xml_text(out, "&lt;&amp;&#65;&#x42;&unknown;&#xD800;\r\n<![CDATA[&lt;]]>");
    EXPECT_EQ(out, "<&AB&unknown;&#xD800;\n&lt;");
}

}  // namespace
}  // namespace qm
