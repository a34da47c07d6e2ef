#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "cells/cells.hpp"
#include "package/package.hpp"
#include "support/zip_archive.hpp"

using namespace qm;

namespace {

std::string sheet(std::string_view before, std::string_view rows) {
    return std::string("<worksheet>") + std::string(before) + "<sheetData>" + std::string(rows) +
           "</sheetData></worksheet>";
}

std::string fixed(std::string text) {
    fix_sheet_dimension(text);
    return text;
}

std::string dimension_of(std::string_view rows, std::string_view existing = "<dimension ref=\"A1\"/>") {
    std::string text = fixed(sheet(existing, rows));
    std::size_t at = text.find("<dimension");
    return text.substr(at, text.find('>', at) + 1 - at);
}

std::string in_row(std::string_view cells) { return "<row r=\"1\">" + std::string(cells) + "</row>"; }

}  // namespace

TEST(SheetDimension, RangeFromTheLargestColumnAndRow) {
    struct Case { std::string rows; const char* ref; };
    for (const auto& [rows, ref] : std::vector<Case>{
             {in_row("<c r=\"B2\"/><c r=\"D7\"/>"), "A1:D7"},
             {in_row("<c r=\"A1\"/>"), "A1"},
             {"", "A1"},
             {in_row("<c r=\"b2\"/>"), "A1:B2"},                         // lower case counts
             {in_row("<c r=\"A1\"/><c r=\"A5\"/><c r=\"A3\"/>"), "A1:A5"},  // largest, not last
             {in_row("<c r=\"C3\"/><c r=\"E4\"/>"), "A1:E4"},            // always from A1
             {in_row("<c r=\"AZ1\"/><c r=\"Z2\"/>"), "A1:AZ2"},           // bijective base 26
             {in_row("<c r=\"B4294967296\"/>"), "A1"},    // a row past 32 bits is no cell
             {in_row("<c r=\"A4294967295\"/>"), "A1:A4294967295"},
             {in_row("<c r=\"QQ\"/><c r=\"C2\"/>"), "A1:C2"},  // no digit: ignored
             // However the tag is written, and wherever a cell without r stands.
             {in_row("<c s=\"1\" r=\"F9\"/><c\tr='G9'/>"), "A1:G9"},
             {"<row><c/><c/></row><row r=\"8\"><c t=\"n\" r=\"F8\"/></row><row><c/><c/></row>", "A1:F9"},
             {in_row("<c r=\"B2\"/>") + "<!-- <row r=\"99\"><c r=\"Z99\"/></row> -->", "A1:B2"},
             {in_row("<c r=\"C3\"/><c r=\"D4"), "A1:C3"},  // malformed: what was read before it
         }) {
        EXPECT_EQ(dimension_of(rows), std::string("<dimension ref=\"") + ref + "\"/>") << rows;
    }
}

// Common markup takes a byte search, anything else the scanner (which a comment in sheetData
// forces): both must find the same cells, whatever the references look like.
TEST(SheetDimension, ByteSearchAgreesWithTheScanner) {
    for (unsigned seed = 0; seed < 400; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&](unsigned n) { return rng() % n; };
        std::string rows;
        for (unsigned row = 1 + pick(3), n = pick(6); n > 0; --n, row += 1 + pick(1000)) {
            rows += "<row r=\"" + std::to_string(row) + "\">";
            for (unsigned m = pick(5); m > 0; --m) {
                std::string letters = index_to_column(pick(4) == 0 ? pick(20000) : pick(30));
                if (pick(5) == 0) letters[0] = char(letters[0] + 32);
                const std::string digits[] = {std::to_string(row), std::to_string(pick(3) == 0 ? rng() : row * 7),
                                              "12345678", "0", ""};
                const std::string r = letters + digits[pick(5)];
                const std::string tags[] = {"<c r=\"" + r + "\">", "<c r=\"" + r + "\" s=\"1\"/>",
                                            "<c s=\"1\" r=\"" + r + "\"/>", "<c r='" + r + "'/>",
                                            "<c  r=\"" + r + "\"/>", "<c r=\"" + r + "x\"/>"};
                rows += tags[pick(6)];
                if (rows.back() == '>' && rows[rows.size() - 2] != '/') rows += "<v>1</v></c>";
            }
            rows += "</row>";
        }
        std::string plain = sheet("<dimension ref=\"A1\"/>", rows);
        std::string scanned = sheet("<dimension ref=\"A1\"/>", "<!---->" + rows);
        fix_sheet_dimension(plain);
        fix_sheet_dimension(scanned);
        EXPECT_EQ(plain.substr(0, plain.find("<sheetData")), scanned.substr(0, scanned.find("<sheetData")))
            << rows;
    }
}

// Large sheets are read in two halves at once: what either half holds counts.
TEST(SheetDimension, LargeSheetsReadInHalves) {
    std::string rows;
    int last = 0;
    while (rows.size() < (std::size_t(6) << 20)) {
        const std::string n = std::to_string(++last);
        rows += "<row r=\"" + n + "\"><c r=\"B" + n + "\"><v>1</v></c></row>";
    }
    const std::string far = "<row r=\"999999\"><c r=\"C999999\"/></row>";
    struct Case { std::string rows, want; };
    for (const auto& [text, want] : std::vector<Case>{
             {"<row r=\"0\"><c r=\"Z1\"/></row>" + rows, "A1:Z" + std::to_string(last)},  // widest first
             {rows + far, "A1:C999999"},                                                  // last row second
             {rows + "<!-- -->" + far, "A1:C999999"},  // a comment hands the sheet to the scanner
         })
        EXPECT_EQ(dimension_of(text), "<dimension ref=\"" + want + "\"/>");
}

TEST(SheetDimension, ReferenceThatStillCoversEveryCellIsKept) {
    struct Case { const char* existing; std::string rows; const char* want; };
    for (const auto& c : std::vector<Case>{
             {"<dimension ref=\"A1:Z99\"/>", in_row("<c r=\"B2\"/>"), "<dimension ref=\"A1:Z99\"/>"},
             {"<dimension ref='B2:C3' />", in_row("<c r=\"B2\"/><c r=\"C3\"/>"), "<dimension ref='B2:C3' />"},
             {"<dimension ref=\"B2:C3\"/>", in_row("<c r=\"A2\"/><c r=\"C3\"/>"), "<dimension ref=\"A1:C3\"/>"},
             {"<dimension ref=\"A1:C3\"/>", in_row("<c r=\"C4\"/>"), "<dimension ref=\"A1:C4\"/>"},
             {"<dimension ref=\"B5\"/>", "", "<dimension ref=\"B5\"/>"},
             {"<dimension ref=\"nonsense\"/>", in_row("<c r=\"A1\"/>"), "<dimension ref=\"A1\"/>"},
         })
        EXPECT_EQ(dimension_of(c.rows, c.existing), c.want) << c.existing;
}

TEST(SheetDimension, PlacementFollowsSchemaOrder) {
    const std::string cell = "<row r=\"2\"><c r=\"B2\"/></row>";
    const std::string dim = "<dimension ref=\"A1:B2\"/>";
    struct Case { const char* before; std::string expected; };
    for (const auto& [before, expected] : {
             Case{"<dimension ref=\"A1\" />", dim},
             Case{"<dimension ref=\"A1\"/><dimension ref=\"C3\"/>", dim + "<dimension ref=\"C3\"/>"},
             Case{"<cols><col min=\"1\" max=\"1\"/></cols>", dim + "<cols><col min=\"1\" max=\"1\"/></cols>"},
             Case{"<sheetPr/><sheetViews/><cols/>", "<sheetPr/>" + dim + "<sheetViews/><cols/>"},
             Case{"<sheetFormatPr/><cols/>", dim + "<sheetFormatPr/><cols/>"},
             Case{"", dim},
         }) {
        EXPECT_EQ(fixed(sheet(before, cell)), sheet(expected, cell)) << before;
    }
    // Only markup before sheetData competes with it.
    EXPECT_EQ(fixed("<worksheet><sheetData>" + cell + "</sheetData><cols/></worksheet>"),
              "<worksheet>" + dim + "<sheetData>" + cell + "</sheetData><cols/></worksheet>");
    // A dimension tag that never closes: the new element goes in front of it.
    EXPECT_EQ(fixed("<worksheet><c r=\"B2\"/><dimension"), "<worksheet><c r=\"B2\"/><dimension ref=\"A1\"/><dimension");
    // Nowhere to put it.
    EXPECT_EQ(fixed("<worksheet><c r=\"B2\"/></worksheet>"), "<worksheet><c r=\"B2\"/></worksheet>");
}

TEST(SheetDimension, EditDescribesTheSplice) {
    std::string text = sheet("<sheetPr/><dimension ref=\"A1\"/>", "<row r=\"4\"><c r=\"C4\"/></row>");
    auto edit = sheet_dimension_edit(text);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->pos, text.find("<dimension"));
    EXPECT_EQ(edit->length, std::string("<dimension ref=\"A1\"/>").size());
    EXPECT_EQ(edit->text, "<dimension ref=\"A1:C4\"/>");
    EXPECT_FALSE(sheet_dimension_edit("<worksheet/>"));
}

TEST(NumFmts, BlockAfterTheRootMovesToTheFront) {
    const std::string block = "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.0\"/></numFmts>";
    std::string styles = "<?xml?><styleSheet xmlns=\"x\"><fonts/></styleSheet>" + block;
    relocate_num_fmts(styles);
    EXPECT_EQ(styles, "<?xml?><styleSheet xmlns=\"x\">" + block + "<fonts/></styleSheet>");

    for (const std::string& untouched : std::vector<std::string>{
             "<styleSheet>" + block + "<fonts/></styleSheet>",              // already inside
             "<styleSheet><fonts/></styleSheet>",                           // nothing follows
             "<styleSheet><fonts/></styleSheet>\n<!-- -->",                 // no block after
             "<styleSheet><fonts/></styleSheet><numFmts count=\"1\">",      // block never closes
             std::string("<fonts/></styleSheet>") + block,                  // no root start tag
             "<styleSheet"  + std::string("</styleSheet>") + block,        // root tag never closes
         }) {
        std::string text = untouched;
        relocate_num_fmts(text);
        EXPECT_EQ(text, untouched);
    }
}

TEST(ContentTypes, AddedOverridesGoBeforeTypesInReverseOrder) {
    const std::string head = "<Types><Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"w\"/>";
    std::string text = head + "\n</Types>";
    add_sheet_overrides(text, {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml", "xl/worksheets/sheet3.xml"});
    const std::string type = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
    EXPECT_EQ(text, head + "\n<Override PartName=\"/xl/worksheets/sheet3.xml\" ContentType=\"" + type +
                        "\"/><Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"" + type +
                        "\"/></Types>");

    std::string no_end = "<Types>";
    add_sheet_overrides(no_end, {"xl/worksheets/sheet2.xml"});
    EXPECT_EQ(no_end, "<Types>");
    // The insertion point is the last "</Types>".
    std::string twice = "<Types></Types></Types>";
    add_sheet_overrides(twice, {"xl/worksheets/sheet2.xml"});
    EXPECT_EQ(twice.find("<Override"), std::string("<Types></Types>").size());
}

TEST(ContentTypes, RemovedOverrideLeavesItsNeighbours) {
    std::string text =
        "<Types>\n  <Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"w\"/>\n"
        "  <Override PartName=\"/xl/worksheets/sheet10.xml\" ContentType=\"w\"/>\n"
        "  <Override ContentType=\"w\" PartName=\"/xl/worksheets/sheet1.xml\"/>\n</Types>";
    remove_sheet_overrides(text, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(text, "<Types>\n  \n  <Override PartName=\"/xl/worksheets/sheet10.xml\" ContentType=\"w\"/>\n  \n</Types>");

    std::string bare = "x PartName=\"/xl/worksheets/sheet2.xml\"/> y";  // no element start: from the match
    remove_sheet_overrides(bare, "xl/worksheets/sheet2.xml");
    EXPECT_EQ(bare, "x  y");
    std::string open = "<Override PartName=\"/xl/worksheets/sheet2.xml\"";  // never closes: stays
    remove_sheet_overrides(open, "xl/worksheets/sheet2.xml");
    EXPECT_EQ(open, "<Override PartName=\"/xl/worksheets/sheet2.xml\"");
}

TEST(WorksheetPart, NamePattern) {
    EXPECT_TRUE(is_worksheet_part("xl/worksheets/sheet1.xml"));
    EXPECT_TRUE(is_worksheet_part("xl/worksheets/data.xml"));
    EXPECT_FALSE(is_worksheet_part("xl/worksheets/_rels/sheet1.xml.rels"));
    EXPECT_FALSE(is_worksheet_part("/xl/worksheets/sheet1.xml"));
    EXPECT_FALSE(is_worksheet_part("xl/styles.xml"));
}

namespace {

class SavePackage : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("quillmark-save-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        source_ = (dir_ / "source.xlsx").string();
        ASSERT_TRUE(create_workbook(source_, "Data"));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static std::vector<std::string> names(const ZipReader& zip) {
        std::vector<std::string> out;
        for (std::uint64_t i = 0; i < zip.entry_count(); ++i) out.emplace_back(zip.entry_name(i));
        return out;
    }

    std::filesystem::path dir_;
    std::string source_;
};

}  // namespace

TEST_F(SavePackage, AddedAndDeletedSheetsAndTheirOverrides) {
    auto state = open_workbook(source_, "Data");
    ASSERT_TRUE(state);
    state->sheet_xml.insert(state->sheet_xml.find("</sheetData>"), "<row r=\"4\"><c r=\"C4\"/></row>");
    const std::string sheet_before = state->sheet_xml;
    const std::string added = "<worksheet>\n<sheetData> </sheetData>\n</worksheet>";
    state->modified_parts["xl/worksheets/sheet3.xml"] = added;
    state->modified_parts["xl/worksheets/sheet2.xml"] = added;
    state->modified_parts["xl/worksheets/sheet9.xml"] = added;
    state->deleted_parts.insert("xl/worksheets/sheet9.xml");

    std::string target = (dir_ / "out.xlsx").string();
    ASSERT_TRUE(save_package(*state, target));

    // The save changed nothing in the state: the current sheet is written from where it lies and
    // the fix-ups are made on the way out.
    EXPECT_EQ(state->sheet_xml, sheet_before);
    EXPECT_FALSE(state->modified_parts.contains("xl/worksheets/sheet1.xml"));

    auto zip = ZipReader::open(target);
    ASSERT_TRUE(zip);
    EXPECT_EQ(names(*zip), (std::vector<std::string>{"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml",
                                                    "xl/_rels/workbook.xml.rels", "xl/worksheets/sheet1.xml",
                                                    "xl/styles.xml", "xl/worksheets/sheet2.xml",
                                                    "xl/worksheets/sheet3.xml"}));
    auto sheet1 = zip->read_entry("xl/worksheets/sheet1.xml", "missing");
    ASSERT_TRUE(sheet1);
    EXPECT_NE(sheet1->find("<dimension ref=\"A1:C4\"/>"), std::string::npos);
    EXPECT_EQ(sheet1->find("<dimension ref=\"A1\"/>"), std::string::npos);
    auto sheet2 = zip->read_entry("xl/worksheets/sheet2.xml", "missing");
    EXPECT_EQ(*sheet2, "<worksheet>\n<dimension ref=\"A1\"/><sheetData> </sheetData>\n</worksheet>");

    auto types = zip->read_entry("[Content_Types].xml", "missing");
    ASSERT_TRUE(types);
    std::size_t third = types->find("/xl/worksheets/sheet3.xml");
    std::size_t second = types->find("/xl/worksheets/sheet2.xml");
    EXPECT_NE(third, std::string::npos);
    EXPECT_LT(third, second);
    EXPECT_LT(second, types->find("</Types>"));
    EXPECT_EQ(types->find("sheet9"), std::string::npos);

    // Saving again after deleting a source sheet drops the entry and its override.
    state->deleted_parts.insert("xl/worksheets/sheet1.xml");
    state->sheet_path = "xl/worksheets/sheet2.xml";
    state->sheet_xml = added;
    std::string again = (dir_ / "again.xlsx").string();
    ASSERT_TRUE(save_package(*state, again));
    auto second_zip = ZipReader::open(again);
    ASSERT_TRUE(second_zip);
    EXPECT_FALSE(second_zip->has_entry("xl/worksheets/sheet1.xml"));
    auto types2 = second_zip->read_entry("[Content_Types].xml", "missing");
    EXPECT_EQ(types2->find("/xl/worksheets/sheet1.xml"), std::string::npos);
}

TEST_F(SavePackage, FailuresNameTheirCause) {
    auto state = open_workbook(source_, "Data");
    ASSERT_TRUE(state);
    const std::string missing_path = (dir_ / "no" / "out.xlsx").string();
    auto missing_dir = save_package(*state, missing_path);
    ASSERT_FALSE(missing_dir);
    EXPECT_EQ(missing_dir.error().message,
              "cannot write '" + missing_path + "': Failure to create temporary file: No such file or directory");

    auto onto_dir = save_package(*state, dir_.string());
    ASSERT_FALSE(onto_dir);
    EXPECT_EQ(onto_dir.error().message, "cannot write '" + dir_.string() + "': Is a directory");

    std::filesystem::remove(source_);
    const std::string gone_message = "cannot open '" + source_ + "': No such file or directory";
    auto gone = save_package(*state, (dir_ / "out.xlsx").string());
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.error().message, gone_message);
    // The source is read before anything about the target is looked at.
    EXPECT_EQ(save_package(*state, dir_.string()).error().message, gone_message);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 0);
}
