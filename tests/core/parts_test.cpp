#include <gtest/gtest.h>

#include "package/package.hpp"
#include "state/parts.hpp"

using namespace qm;

TEST(PartNames, TargetsResolveFromTheirFolder) {
    struct Case {
        const char* folder;
        const char* target;
        const char* part;
    } cases[] = {
        {"xl/", "worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
        {"xl/", "/xl/worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
        {"xl/", "xl/worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
        {"wb/sub/", "../s/./a.xml", "wb/s/a.xml"},
        {"wb/", "../../../a.xml", "a.xml"},
        {"", "wb/book.xml", "wb/book.xml"},
        {"", "/wb//book.xml", "wb/book.xml"},
    };
    for (const Case& c : cases) EXPECT_EQ(resolve_target(c.folder, c.target), c.part) << c.target;
    EXPECT_EQ(part_folder("xl/workbook.xml"), "xl/");
    EXPECT_EQ(part_folder("book.xml"), "");
    EXPECT_EQ(relationships_part("wb/book.xml"), "wb/_rels/book.xml.rels");
    EXPECT_EQ(relationships_part("book.xml"), "_rels/book.xml.rels");
}

TEST(PartNames, RelationshipsOfEitherFamilyByKind) {
    std::string rels =
        "<Relationships xmlns=\"p\">"
        "<Relationship Id=\"a\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/styles\" "
        "Target=\"s&amp;t.xml\"/>"
        "<Relationship Id=\"b\" Type=\"http://example.com/x/calcChain\" Target=\"no.xml\"/>"
        "<Relationship Id=\"c\" Target='c.xml' "
        "Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain'/>"
        "</Relationships>";
    EXPECT_EQ(relationship_target_of_kind(rels, "styles"), "s&t.xml");
    EXPECT_EQ(relationship_target_of_kind(rels, "calcChain"), "c.xml");
    EXPECT_FALSE(relationship_target_of_kind(rels, "worksheet"));
    EXPECT_FALSE(relationship_target_of_kind(rels, "Chain"));
}

TEST(Unprefix, RewritesTagsOnlyWhenMeaningIsKept) {
    const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    struct Case {
        std::string in;
        std::optional<std::string> out;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<x:a xmlns:x=\"" + ns + "\"><x:b r='1'>t<x:c/></x:b><!-- <x:d> --></x:a>",
         "<?xml version=\"1.0\"?>\n<a xmlns=\"" + ns + "\" xmlns:x=\"" + ns + "\"><b r='1'>t<c/></b><!-- <x:d> --></a>"},
        // Other namespaces keep their prefixes.
        {"<x:a xmlns:x=\"" + ns + "\" xmlns:m=\"u\"><m:e/><x:b/></x:a>",
         "<a xmlns=\"" + ns + "\" xmlns:x=\"" + ns + "\" xmlns:m=\"u\"><m:e/><b/></a>"},
        {"<a xmlns=\"" + ns + "\"><b/></a>", std::nullopt},                      // already plain
        {"<x:a xmlns:x=\"other\"><x:b/></x:a>", std::nullopt},                   // not the main namespace
        {"<x:a xmlns:x=\"" + ns + "\"><b/></x:a>", std::nullopt},                // element in no namespace
        {"<x:a xmlns:x=\"" + ns + "\"><m:b xmlns=\"u\"/></x:a>", std::nullopt},  // a default declared
        {"<x:a xmlns:x=\"" + ns + "\"><x:b xmlns:x=\"u\"/></x:a>", std::nullopt},  // prefix redeclared
        {"<x:a xmlns:x=\"" + ns + "\"><x:b></x:a>", std::nullopt},                // malformed
        {"<s:a xmlns:s=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"/>",
         "<a xmlns=\"http://purl.oclc.org/ooxml/spreadsheetml/main\" "
         "xmlns:s=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"/>"},
    };
    for (const Case& c : cases) EXPECT_EQ(unprefix_main_namespace(c.in), c.out) << c.in;
    EXPECT_TRUE(is_strict_document("<s:a xmlns:s=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"/>"));
    EXPECT_FALSE(is_strict_document("<a xmlns=\"" + ns + "\"/>"));
}

TEST(FullCalculation, AttributeOrElementInSchemaOrder) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"<workbook><sheets/><calcPr calcId=\"1\"/></workbook>",
         "<workbook><sheets/><calcPr calcId=\"1\" fullCalcOnLoad=\"1\"/></workbook>"},
        {"<workbook><calcPr calcId=\"1\"></calcPr></workbook>",
         "<workbook><calcPr calcId=\"1\" fullCalcOnLoad=\"1\"></calcPr></workbook>"},
        {"<workbook><calcPr fullCalcOnLoad='0'/></workbook>", "<workbook><calcPr fullCalcOnLoad='1'/></workbook>"},
        {"<workbook><calcPr fullCalcOnLoad=\"true\"/></workbook>",
         "<workbook><calcPr fullCalcOnLoad=\"true\"/></workbook>"},
        {"<workbook><sheets/><definedNames/><pivotCaches/><extLst/></workbook>",
         "<workbook><sheets/><definedNames/><calcPr fullCalcOnLoad=\"1\"/><pivotCaches/><extLst/></workbook>"},
        {"<workbook><sheets><extLst/></sheets></workbook>",
         "<workbook><sheets><extLst/></sheets><calcPr fullCalcOnLoad=\"1\"/></workbook>"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        request_full_calculation(text);
        EXPECT_EQ(text, c.out) << c.in;
    }
}
