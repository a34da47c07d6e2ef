#include <gtest/gtest.h>

#include "catalogue/catalogue.hpp"
#include "state/state.hpp"

using namespace qm;

TEST(SheetName, TrimsAndEnforcesTheRule) {
    EXPECT_EQ(check_sheet_name("  Summary  ").value(), "Summary");
    EXPECT_EQ(check_sheet_name("\xC2\xA0History\xE3\x80\x80").value(), "History");
    EXPECT_EQ(check_sheet_name("   ").error().message, kSheetNameEmpty);
    EXPECT_EQ(check_sheet_name("").error().message, kSheetNameEmpty);
    for (const char* bad : {"Q1/Q2", "Data[1]", "a:b", "a\\b", "a?", "a*", "]"})
        EXPECT_EQ(check_sheet_name(bad).error().message, kSheetNameForbidden) << bad;
    std::string thirty_one(31, 'x');
    EXPECT_TRUE(check_sheet_name(thirty_one));
    EXPECT_EQ(check_sheet_name(thirty_one + "x").error().message, kSheetNameTooLong);
    std::string wide;  // 31 two-byte characters pass; the limit counts code points
    for (int i = 0; i < 31; ++i) wide += "\xC3\xA9";
    EXPECT_TRUE(check_sheet_name(wide));
    EXPECT_EQ(check_sheet_name(wide + "\xC3\xA9").error().message, kSheetNameTooLong);
    EXPECT_EQ(check_sheet_name("O'Neil\x01").value(), "O'Neil\x01");  // nothing else is refused
}

TEST(SheetName, NewNamesRefuseEdgeApostrophesAndControlCharacters) {
    struct Case { std::string name; std::string_view want; };
    for (const Case& c : {
             Case{"O'Neil", ""}, Case{" O'Neil ", ""}, Case{"'Q1", kSheetNameApostrophe},
             Case{"Q1'", kSheetNameApostrophe}, Case{" 'Q1' ", kSheetNameApostrophe}, Case{"'", kSheetNameApostrophe},
             Case{"a\x01b", kSheetNameControl}, Case{std::string("a\0b", 3), kSheetNameControl},
             Case{"a\tb", kSheetNameControl}, Case{"a\x7f", kSheetNameControl},
             Case{"a\xc2\x85" "b", kSheetNameControl}, Case{"a\xc2\x9f", kSheetNameControl},
             Case{"a\xc2\xa0" "b", ""}, Case{"a\xef\xbf\xbe", kSheetNameControl}, Case{"a\xef\xbf\xbf", kSheetNameControl},
             Case{"a\xef\xbf\xbd", ""}, Case{"Q1/Q2", kSheetNameForbidden}, Case{"  ", kSheetNameEmpty},
         }) {
        auto r = check_new_sheet_name(c.name);
        EXPECT_EQ(r ? std::string_view() : std::string_view(r.error().message), c.want) << c.name;
    }
}

TEST(SheetsBlock, Messages) {
    EXPECT_EQ(find_sheets_block("<workbook/>").error().message, "<sheets> not found in workbook.xml");
    EXPECT_EQ(find_sheets_block("<workbook><sheets").error().message,
              "Malformed workbook.xml: <sheets ...> not closed with '>'");
    EXPECT_EQ(find_sheets_block("<workbook><sheets/></workbook>").error().message,
              "</sheets> not found in workbook.xml");
    std::string_view text = "<w><sheets a=\"1\">X</sheets></w>";
    auto block = find_sheets_block(text).value();
    EXPECT_EQ(text.substr(block.begin, block.end - block.begin), "X");
}

TEST(SheetEntries, ParseKeepsPositionsAndStates) {
    std::string wb =
        "<workbook xmlns:r=\"x\"><sheets><sheet name=\"R&amp;D\" sheetId=\"5\" r:id=\"rId2\"/>"
        "<!-- c --><sheet state='hidden' name=\"It's\" r:id=\"rId9\"></sheet><x:sheet name=\"ignored\"/>"
        "</sheets></workbook>";
    auto parsed = parse_sheet_entries(wb).value();
    ASSERT_EQ(parsed.entries.size(), 2u);
    const SheetEntry& a = parsed.entries[0];
    const SheetEntry& b = parsed.entries[1];
    EXPECT_EQ(a.name, "R&D");
    EXPECT_EQ(a.sheet_id, "5");
    EXPECT_EQ(b.sheet_id, "0");
    EXPECT_TRUE(a.visible());
    EXPECT_FALSE(b.visible());
    EXPECT_EQ(wb.substr(a.begin, a.end - a.begin), "<sheet name=\"R&amp;D\" sheetId=\"5\" r:id=\"rId2\"/>");
    EXPECT_EQ(wb.substr(b.begin, b.end - b.begin), "<sheet state='hidden' name=\"It's\" r:id=\"rId9\"></sheet>");
    EXPECT_EQ(wb.substr(b.begin, b.tag_end - b.begin), "<sheet state='hidden' name=\"It's\" r:id=\"rId9\">");
}

TEST(SheetEntries, ParseErrorKeepsWhatWasRead) {
    std::string wb = "<sheets><sheet name=\"A\" r:id=\"r1\"/><sheet name=\"B\" name=\"C\"/></sheets>";
    auto parsed = parse_sheet_entries(wb).value();  // a repeated attribute is malformed XML
    ASSERT_EQ(parsed.entries.size(), 1u);
    EXPECT_EQ(parsed.entries[0].name, "A");
}

TEST(SheetRelId, FindsByResolvedNameCaseSensitively) {
    std::string wb =
        "<workbook><sheets><sheet name=\"data\" r:id=\"rId1\"/><sheet name=\"Data\"/>"
        "<sheet name=\"Data\" r:id=\"rId3\"/><sheet name=\"R&amp;D\" r:id=\"rId4\"/></sheets>"
        "<sheet name=\"Outside\" r:id=\"rId5\"/></workbook>";
    EXPECT_EQ(find_sheet_rel_id(wb, "Data").value(), "rId3");
    EXPECT_EQ(find_sheet_rel_id(wb, "R&D").value(), "rId4");
    EXPECT_FALSE(find_sheet_rel_id(wb, "Outside"));  // only the sheets block counts
    EXPECT_FALSE(find_sheet_rel_id("<workbook/>", "Data"));
}

TEST(Relationships, FindByExactId) {
    std::string rels =
        "<Relationships><Relationship Id=\"rId10\" Target=\"worksheets/sheet10.xml\"/>\n"
        "<Relationship Type=\"t\" Id=\"rId1\" Target=\"/xl/worksheets/sheet1.xml\"/></Relationships>";
    auto rel = find_relationship(rels, "rId1").value();
    EXPECT_EQ(rel.target, "/xl/worksheets/sheet1.xml");
    EXPECT_EQ(rels.substr(rel.begin, rel.end - rel.begin),
              "<Relationship Type=\"t\" Id=\"rId1\" Target=\"/xl/worksheets/sheet1.xml\"/>");
    EXPECT_EQ(find_relationship(rels, "rId10")->target, "worksheets/sheet10.xml");
    EXPECT_FALSE(find_relationship(rels, "rId2"));
    EXPECT_FALSE(find_relationship("<Relationship Id=\"a\" Target=\"x\"", "a"));  // no '>'
    EXPECT_FALSE(find_relationship("<Relationship Id=\"a\" target=\"x\"/>", "a"));
    // As other producers write them: quotes, white space, order, entities, end tags.
    struct Case { const char* rels; const char* target; const char* element; };
    const Case cases[] = {
        {"<R><Relationship Target='s.xml' Id='a'/></R>", "s.xml", "<Relationship Target='s.xml' Id='a'/>"},
        {"<R><Relationship\tId=\"a\"\n Target = \"s.xml\"/></R>", "s.xml",
         "<Relationship\tId=\"a\"\n Target = \"s.xml\"/>"},
        {"<R><Relationship Id=\"b\" Target=\"x\"/><Relationship Id=\"a\" Target=\"R&amp;D.xml\"> </Relationship></R>",
         "R&amp;D.xml", "<Relationship Id=\"a\" Target=\"R&amp;D.xml\"> </Relationship>"},
        {"<p:R xmlns:p=\"u\"><p:Relationship Id=\"a\" Target=\"s.xml\"/></p:R>", "s.xml",
         "<p:Relationship Id=\"a\" Target=\"s.xml\"/>"},
        {"<R><!-- <Relationship Id=\"a\" Target=\"no.xml\"/> --><Relationship Id=\"a\" Target=\"s.xml\"/></R>",
         "s.xml", "<Relationship Id=\"a\" Target=\"s.xml\"/>"},
    };
    for (const Case& c : cases) {
        std::string_view text = c.rels;
        auto found = find_relationship(text, "a");
        ASSERT_TRUE(found) << c.rels;
        EXPECT_EQ(found->target, c.target);
        EXPECT_EQ(text.substr(found->begin, found->end - found->begin), c.element);
    }
}

TEST(PartPaths, Normalize) {
    EXPECT_EQ(normalize_part_path("worksheets/sheet2.xml"), "xl/worksheets/sheet2.xml");
    EXPECT_EQ(normalize_part_path("/xl/worksheets/sheet2.xml"), "xl/worksheets/sheet2.xml");
    EXPECT_EQ(normalize_part_path("//xl/a.xml"), "xl/a.xml");
    EXPECT_EQ(normalize_part_path("../x.xml"), "x.xml");
    EXPECT_EQ(normalize_part_path("../sheets/./s.xml", "wb/sub/"), "wb/sheets/s.xml");
    EXPECT_EQ(normalize_part_path("s&amp;1.xml", "wb/"), "wb/s&1.xml");
}

TEST(SheetPositions, ShiftOnInsertAndDelete) {
    struct Case { const char* before; int insert_at; int delete_at; std::vector<bool> visible; const char* after; };
    const Case cases[] = {
        {"<w><workbookView/></w>", 0, -1, {}, "<w><workbookView activeTab=\"1\"/></w>"},
        {"<w><workbookView firstSheet='2' activeTab=\"1\"></workbookView></w>", 2, -1, {},
         "<w><workbookView firstSheet='3' activeTab=\"1\"></workbookView></w>"},
        // A name scoped to the deleted sheet goes, with its block when it was the last one.
        {"<w><definedNames><definedName name=\"a\" localSheetId=\"1\">x</definedName></definedNames></w>", -1, 1,
         {true}, "<w></w>"},
        {"<w><definedNames><definedName localSheetId=\"1\" name=\"a\"/><definedName name=\"b\" "
         "localSheetId=\"2\">y</definedName></definedNames></w>",
         -1, 0, {true, true}, "<w><definedNames><definedName localSheetId=\"0\" name=\"a\"/><definedName name=\"b\" "
                              "localSheetId=\"1\">y</definedName></definedNames></w>"},
        // No activeTab means the first sheet; a hidden sheet there hands over to a visible one.
        {"<w><workbookView/></w>", -1, 0, {false, true}, "<w><workbookView activeTab=\"1\"/></w>"},
        {"<w><workbookView activeTab=\"2\" firstSheet=\"2\"/></w>", -1, 2, {true, false},
         "<w><workbookView activeTab=\"0\" firstSheet=\"1\"/></w>"},
    };
    for (const Case& c : cases) {
        std::string text = c.before;
        if (c.insert_at >= 0) shift_sheet_positions_after_insert(text, static_cast<std::size_t>(c.insert_at));
        else shift_sheet_positions_after_delete(text, static_cast<std::size_t>(c.delete_at), c.visible);
        EXPECT_EQ(text, c.after) << c.before;
    }
}
