#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "cells/sheet_scan.hpp"
#include "package/package.hpp"
#include "state/namespaces.hpp"
#include "support/zip_archive.hpp"

using namespace qm;

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const std::string kWsType(REL_TYPE_WORKSHEET);

std::string worksheet(const std::string& rows = "") {
    return kDecl + "<worksheet xmlns=\"" + std::string(SPREADSHEETML_NS) + "\"><sheetData>" + rows +
           "</sheetData></worksheet>";
}

struct Sheet {
    std::string name;
    std::string sheet_id;
    std::string rel_id;
    std::string part;  // "xl/worksheets/sheetN.xml"
    std::string text;
};

std::string workbook_text(const std::vector<Sheet>& sheets) {
    std::string out = kDecl + "<workbook xmlns=\"" + std::string(SPREADSHEETML_NS) + "\" xmlns:r=\"" +
                      std::string(OFFICEDOC_REL_NS) + "\"><sheets>";
    for (const Sheet& s : sheets)
        out += "<sheet name=\"" + s.name + "\" sheetId=\"" + s.sheet_id + "\" r:id=\"" + s.rel_id + "\"/>";
    return out + "</sheets></workbook>";
}

std::string rels_text(const std::vector<Sheet>& sheets, const std::string& extra = "") {
    std::string out = kDecl + "<Relationships xmlns=\"" + std::string(PKG_REL_NS) + "\">";
    for (const Sheet& s : sheets)
        out += "<Relationship Id=\"" + s.rel_id + "\" Type=\"" + kWsType + "\" Target=\"" +
               s.part.substr(3) + "\"/>";
    return out + extra + "</Relationships>";
}

class Sheets : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/qm-sheets-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write_zip(const std::vector<std::pair<std::string, std::string>>& entries) {
        std::string path = dir_ + "/book" + std::to_string(++count_) + ".xlsx";
        auto writer = ZipWriter::create(path);
        EXPECT_TRUE(writer);
        for (const auto& [name, text] : entries) EXPECT_TRUE(writer->add(name, text, Compression::Deflate6));
        EXPECT_TRUE(writer->close());
        return path;
    }

    // A package with the given sheets (and any extra entries), opened on `current`.
    EditorState open(const std::vector<Sheet>& sheets, const std::string& current,
                     std::vector<std::pair<std::string, std::string>> extra = {},
                     const std::string& rels_extra = "") {
        std::vector<std::pair<std::string, std::string>> entries = {
            {"xl/workbook.xml", workbook_text(sheets)},
            {"xl/_rels/workbook.xml.rels", rels_text(sheets, rels_extra)},
            {"xl/styles.xml", kDecl + "<styleSheet/>"},
        };
        for (const Sheet& s : sheets)
            if (!s.part.empty() && !s.text.empty()) entries.emplace_back(s.part, s.text);
        for (auto& e : extra) entries.push_back(std::move(e));
        auto state = open_workbook(write_zip(entries), current);
        EXPECT_TRUE(state) << (state ? "" : state.error().message);
        return std::move(*state);
    }

    // Three sheets: Alpha (sheetId 1), Beta (5), Gamma (9) in sheet1..3.xml, with rels rId1..3.
    EditorState three(const std::string& current = "Alpha") {
        return open({{"Alpha", "1", "rId1", "xl/worksheets/sheet1.xml", worksheet("<row r=\"2\"/>")},
                     {"Beta", "5", "rId2", "xl/worksheets/sheet2.xml", worksheet("<row r=\"7\"/>")},
                     {"Gamma", "9", "rId3", "xl/worksheets/sheet3.xml", worksheet()}},
                    current);
    }

    std::string dir_;
    int count_ = 0;
};

using Snapshot = std::tuple<std::string, std::string, std::uint32_t, std::string, std::string,
                            std::map<std::string, std::string, std::less<>>,
                            std::map<std::string, std::string, std::less<>>,
                            std::set<std::string, std::less<>>>;
Snapshot snapshot(const EditorState& s) {
    return {s.sheet_path, s.sheet_xml,     s.last_row,      s.workbook_xml,
            s.workbook_rels_xml, s.modified_parts, s.loaded_sheets, s.deleted_parts};
}

std::vector<std::tuple<std::string, std::string, std::string>> entries_of(const EditorState& s) {
    std::vector<std::tuple<std::string, std::string, std::string>> out;
    auto parsed = parse_sheet_entries(s.workbook_xml);
    EXPECT_TRUE(parsed);
    if (!parsed) return out;
    for (const SheetEntry& e : parsed->entries)
        out.emplace_back(e.name, e.sheet_id, e.rel_id);
    return out;
}

using Entries = std::vector<std::tuple<std::string, std::string, std::string>>;

}  // namespace

TEST(CountSheetElements, CountsEverywhereUntilTheFirstParseError) {
    EXPECT_EQ(count_sheet_elements("<w><sheets><sheet/><sheet></sheet></sheets><x><sheet a='1'/></x></w>"), 3u);
    EXPECT_EQ(count_sheet_elements("<w><sheets><sheet/><r:sheet/><sheets/></sheets></w>"), 1u);
    EXPECT_EQ(count_sheet_elements("<w><sheet/><sheet/><<sheet/></w>"), 2u);
    EXPECT_EQ(count_sheet_elements(""), 0u);
}

TEST_F(Sheets, AddedSheetHasTheFixedTextAndBecomesCurrent) {
    EditorState st = three("Beta");
    std::string beta = st.sheet_xml;
    st.sheet_xml += "<!-- edited -->";
    ASSERT_TRUE(add_sheet_at(st, "Delta", 99));

    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet4.xml");
    EXPECT_EQ(st.sheet_xml,
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
              "        <worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">\n"
              "          <sheetData> </sheetData>\n"
              "        </worksheet>");
    EXPECT_EQ(st.sheet_xml.size(), 197u);
    EXPECT_EQ(st.last_row, 0u);
    EXPECT_EQ(st.modified_parts.at("xl/worksheets/sheet4.xml"), st.sheet_xml);
    EXPECT_EQ(st.modified_parts.at("xl/worksheets/sheet2.xml"), beta + "<!-- edited -->");
    EXPECT_EQ(entries_of(st), (Entries{{"Alpha", "1", "rId1"}, {"Beta", "5", "rId2"},
                                       {"Gamma", "9", "rId3"}, {"Delta", "10", "rId4"}}));
    EXPECT_NE(st.workbook_rels_xml.find("<Relationship Id=\"rId4\" Type=\"" + kWsType +
                                        "\" Target=\"worksheets/sheet4.xml\"/></Relationships>"),
              std::string::npos);
}

TEST_F(Sheets, AddPositionsKeepSheetIds) {
    struct Case { std::uint64_t position; std::vector<std::string> order; };
    for (const Case& c : {Case{0, {"New", "Alpha", "Beta"}}, Case{1, {"Alpha", "New", "Beta"}},
                          Case{2, {"Alpha", "Beta", "New"}}, Case{99, {"Alpha", "Beta", "New"}},
                          Case{UINT64_MAX, {"Alpha", "Beta", "New"}}}) {
        EditorState st = open({{"Alpha", "1", "rId1", "xl/worksheets/sheet1.xml", worksheet()},
                               {"Beta", "5", "rId2", "xl/worksheets/sheet2.xml", worksheet()}},
                              "Alpha");
        ASSERT_TRUE(add_sheet_at(st, "New", c.position));
        Entries entries = entries_of(st);
        ASSERT_EQ(entries.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(std::get<0>(entries[i]), c.order[i]) << c.position;
            const char* id = c.order[i] == "Alpha" ? "1" : c.order[i] == "Beta" ? "5" : "6";
            EXPECT_EQ(std::get<1>(entries[i]), id) << c.position;
        }
    }
}

TEST_F(Sheets, AddEscapesTheNameAndKeepsOtherBlockContent) {
    EditorState st = open({{"R&amp;D", "3", "rId1", "xl/worksheets/sheet1.xml", worksheet()}}, "R&D");
    st.workbook_xml.insert(st.workbook_xml.find("</sheets>"), "<!-- note -->\n");
    ASSERT_TRUE(add_sheet_at(st, "P&L \"x\" <y>", 5));
    EXPECT_NE(st.workbook_xml.find("<sheet name=\"R&amp;D\" sheetId=\"3\" r:id=\"rId1\"/>"
                                   "<sheet name=\"P&amp;L &quot;x&quot; &lt;y&gt;\" sheetId=\"4\" "
                                   "r:id=\"rId2\"/><!-- note -->\n</sheets>"),
              std::string::npos)
        << st.workbook_xml;
}

TEST_F(Sheets, PartAndRelationshipNumbersComeFromEverythingEverUsed) {
    // sheet3 is only in the archive, "+8" and "01" count as numbers, other shapes do not.
    EditorState st = open(
        {{"Alpha", "1", "rId1", "xl/worksheets/sheet1.xml", worksheet()},
         {"Beta", "2", "rId2", "xl/worksheets/sheet3.xml", worksheet()}},
        "Alpha",
        {{"xl/worksheets/sheet+8.xml", worksheet()}, {"xl/worksheets/sheet01.xml", worksheet()},
         {"xl/worksheets/sheet.xml", ""}, {"xl/worksheets/sheet99x.xml", ""},
         {"xl/worksheets/sub/sheet50.xml", ""}, {"xl/worksheets/sheet40.xml.rels", ""},
         {"xl/worksheets/sheet99999999999999999999.xml", ""}},
        "<Relationship Id=\"rId+7\" Type=\"x\" Target=\"styles.xml\"/>"
        "<Relationship Id=\"rId99999999999\" Type=\"x\" Target=\"a.xml\"/>"
        "<Relationship Id=\"RID20\" Type=\"x\" Target=\"b.xml\"/>");
    ASSERT_TRUE(add_sheet_at(st, "One", 9));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet9.xml");
    EXPECT_NE(st.workbook_rels_xml.find("Id=\"rId8\""), std::string::npos);
    // Consecutive adds: the previous new part is in modified_parts by then.
    ASSERT_TRUE(add_sheet_at(st, "Two", 9));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet10.xml");
    EXPECT_NE(st.workbook_rels_xml.find("Id=\"rId9\" Type=\"" + kWsType + "\" Target=\"worksheets/sheet10.xml\""),
              std::string::npos);
}

TEST_F(Sheets, DeletedPartNumbersAreNeverReused) {
    // The highest source part deleted: the archive still names it.
    EditorState st = three();
    ASSERT_TRUE(delete_sheet(st, "Gamma"));
    ASSERT_TRUE(add_sheet_at(st, "Added", 9));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet4.xml");
    // A part added and deleted in this editor lives nowhere but in deleted_parts.
    ASSERT_TRUE(delete_sheet(st, "Added"));
    EXPECT_FALSE(st.modified_parts.contains("xl/worksheets/sheet4.xml"));
    ASSERT_TRUE(add_sheet_at(st, "Again", 9));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet5.xml");
    EXPECT_FALSE(st.deleted_parts.contains(st.sheet_path));
    // Relationship ids only have to be unique among the relationships present.
    EXPECT_NE(st.workbook_rels_xml.find("Id=\"rId3\" Type=\"" + kWsType + "\" Target=\"worksheets/sheet5.xml\""),
              std::string::npos);
}

TEST_F(Sheets, FailedAddLeavesTheStateAsItWas) {
    struct Case { std::string label; std::function<void(EditorState&)> damage; std::string name; std::string message; };
    std::vector<Case> cases = {
        {"existing name", [](EditorState&) {}, "Beta", "Sheet Beta already exists"},
        {"no sheets block", [](EditorState& s) { s.workbook_xml = "<workbook/>"; }, "New",
         "<sheets> not found in workbook.xml"},
        {"unclosed sheets block", [](EditorState& s) { s.workbook_xml = "<workbook><sheets/></workbook>"; },
         "New", "</sheets> not found in workbook.xml"},
        {"no relationships end", [](EditorState& s) { s.workbook_rels_xml.resize(s.workbook_rels_xml.find("</Relationships")); },
         "New", "</Relationships> not found in workbook.xml.rels"},
        {"source gone", [this](EditorState& s) { s.source_path = dir_ + "/missing.xlsx"; }, "New",
         "cannot open '" + dir_ + "/missing.xlsx': No such file or directory"},
        {"source not a zip", [this](EditorState& s) { s.source_path = dir_; }, "New",
         "cannot open '" + dir_ + "': Is a directory"},
        {"no part number left",
         [](EditorState& s) { s.modified_parts["xl/worksheets/sheet18446744073709551615.xml"] = "x"; }, "New",
         "No free worksheet part number left in the package"},
    };
    for (const Case& c : cases) {
        EditorState st = three("Beta");
        st.sheet_xml += "<!-- unsaved -->";
        c.damage(st);
        Snapshot before = snapshot(st);
        auto r = add_sheet_at(st, c.name, 0);
        ASSERT_FALSE(r) << c.label;
        EXPECT_EQ(r.error().message, c.message) << c.label;
        EXPECT_EQ(snapshot(st), before) << c.label;
    }
}

TEST_F(Sheets, AddNameCheckIgnoresCaseAndResolvesEntities) {
    EditorState st = open({{"Data", "1", "rId1", "xl/worksheets/sheet1.xml", worksheet()},
                           {"R&amp;D \xc3\x84", "2", "rId2", "xl/worksheets/sheet2.xml", worksheet()}},
                          "Data");
    Snapshot before = snapshot(st);
    EXPECT_EQ(add_sheet_at(st, "data", 9).error().message, "Sheet data already exists as Data (sheet names ignore case)");
    EXPECT_EQ(add_sheet_at(st, "R&D \xc3\x84", 9).error().message, "Sheet R&D \xc3\x84 already exists");
    EXPECT_EQ(add_sheet_at(st, "r&d \xc3\xa4", 9).error().message,
              "Sheet r&d \xc3\xa4 already exists as R&D \xc3\x84 (sheet names ignore case)");
    EXPECT_EQ(snapshot(st), before);
    EXPECT_TRUE(add_sheet_at(st, "Data2", 9));
}

TEST_F(Sheets, SwitchKeepsVisitedSheetsInMemory) {
    EditorState st = three();
    st.sheet_xml += "<!-- alpha edit -->";
    ASSERT_TRUE(switch_sheet(st, "Beta"));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet2.xml");
    EXPECT_EQ(resolve_last_row(st), 7u);
    EXPECT_FALSE(st.loaded_sheets.contains("xl/worksheets/sheet2.xml"));  // the current sheet is held once
    EXPECT_EQ(st.modified_parts.at("xl/worksheets/sheet1.xml"), worksheet("<row r=\"2\"/>") + "<!-- alpha edit -->");
    st.sheet_xml += "<!-- beta edit -->";
    ASSERT_TRUE(switch_sheet(st, "Alpha"));
    EXPECT_EQ(st.sheet_xml, worksheet("<row r=\"2\"/>") + "<!-- alpha edit -->");
    EXPECT_EQ(resolve_last_row(st), 2u);
    ASSERT_TRUE(switch_sheet(st, "Beta"));
    EXPECT_EQ(st.sheet_xml, worksheet("<row r=\"7\"/>") + "<!-- beta edit -->");

    // Switching to the current sheet only recomputes last_row.
    st.last_row = 1000;
    std::string text = st.sheet_xml;
    ASSERT_TRUE(switch_sheet(st, "Beta"));
    EXPECT_EQ(st.sheet_xml, text);
    EXPECT_EQ(resolve_last_row(st), 7u);
}

TEST_F(Sheets, SwitchFindsSheetsOutsideTheBlockAndMatchesRelationshipsExactly) {
    EditorState st = three();
    // A sheet element outside the sheets block still counts; rId3 must not match rId30.
    st.workbook_xml.insert(st.workbook_xml.find("</workbook>"),
                           "<x><sheet name=\"Out&amp;side\" r:id=\"rId3\"/></x>");
    st.workbook_rels_xml.insert(st.workbook_rels_xml.find("<Relationship Id"),
                                "<Relationship Id=\"rId30\" Type=\"x\" Target=\"/xl/worksheets/sheet1.xml\"/>");
    ASSERT_TRUE(switch_sheet(st, "Out&side"));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet3.xml");
}

TEST_F(Sheets, FailedSwitchLeavesNoCurrentSheet) {
    struct Case { std::string label; std::string name; std::function<void(EditorState&)> damage; std::string message; };
    std::vector<Case> cases = {
        {"unknown", "Nope", [](EditorState&) {}, "Sheet `Nope` not found in workbook.xml"},
        {"case differs", "beta", [](EditorState&) {}, "Sheet `beta` not found in workbook.xml"},
        {"no relationship", "Beta",
         [](EditorState& s) { s.workbook_rels_xml.replace(s.workbook_rels_xml.find("\"rId2\""), 6, "\"rId9\""); },
         "Relationship for `Beta` not found in workbook.xml.rels"},
        {"part missing", "Beta",
         [](EditorState& s) {
             auto at = s.workbook_rels_xml.find("sheet2.xml");
             s.workbook_rels_xml.replace(at, 10, "sheet7.xml");
         },
         "xl/worksheets/sheet7.xml not found in zip"},
    };
    for (const Case& c : cases) {
        EditorState st = three();
        st.sheet_xml += "<!-- unsaved -->";
        std::string alpha = st.sheet_xml;
        std::uint32_t last_row = st.last_row;
        c.damage(st);
        auto r = switch_sheet(st, c.name);
        ASSERT_FALSE(r) << c.label;
        EXPECT_EQ(r.error().message, c.message) << c.label;
        EXPECT_EQ(st.sheet_path, "") << c.label;
        EXPECT_EQ(st.sheet_xml, "") << c.label;
        EXPECT_EQ(st.last_row, last_row) << c.label;
        EXPECT_EQ(st.modified_parts.at("xl/worksheets/sheet1.xml"), alpha) << c.label;
        // A later switch recovers, and the edit made before the failure is still there.
        ASSERT_TRUE(switch_sheet(st, "Alpha")) << c.label;
        EXPECT_EQ(st.sheet_xml, alpha) << c.label;
    }
}

TEST_F(Sheets, RenameChangesOnlyTheName) {
    EditorState st = three("Beta");
    std::string rels = st.workbook_rels_xml;
    ASSERT_TRUE(rename_sheet(st, "Beta", "beta & co"));
    EXPECT_EQ(entries_of(st), (Entries{{"Alpha", "1", "rId1"}, {"beta & co", "5", "rId2"}, {"Gamma", "9", "rId3"}}));
    EXPECT_NE(st.workbook_xml.find("name=\"beta &amp; co\""), std::string::npos);
    EXPECT_EQ(st.workbook_rels_xml, rels);
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet2.xml");
    ASSERT_TRUE(rename_sheet(st, "Alpha", "ALPHA"));  // differs only in case from itself: fine
    EXPECT_EQ(std::get<0>(entries_of(st)[0]), "ALPHA");
}

TEST_F(Sheets, RenameFailuresAndNoOpChangeNothing) {
    struct Case { std::string old_name, new_name, message; };
    for (const Case& c : {Case{"Alpha", "Alpha", ""}, Case{"Missing", "Missing", ""},
                          Case{"Alpha", "Gamma", "Sheet `Gamma` already exists"},
                          Case{"Missing", "Gamma", "Sheet `Gamma` already exists"},
                          Case{"Alpha", "gAMMA", "Sheet `gAMMA` already exists as `Gamma` (sheet names ignore case)"},
                          Case{"Missing", "Other", "Sheet `Missing` not found"}}) {
        EditorState st = three();
        Snapshot before = snapshot(st);
        auto r = rename_sheet(st, c.old_name, c.new_name);
        EXPECT_EQ(r ? "" : r.error().message, c.message) << c.old_name << " " << c.new_name;
        EXPECT_EQ(snapshot(st), before) << c.old_name << " " << c.new_name;
    }
    EditorState st = three();
    st.workbook_xml = "<workbook><sheets></workbook>";
    EXPECT_EQ(rename_sheet(st, "Alpha", "B").error().message, "</sheets> not found in workbook.xml");
}

TEST_F(Sheets, DeleteOtherSheetKeepsIdsAndDropsRelationship) {
    EditorState st = three();
    ASSERT_TRUE(switch_sheet(st, "Beta"));
    ASSERT_TRUE(switch_sheet(st, "Alpha"));
    ASSERT_TRUE(delete_sheet(st, "Beta"));
    EXPECT_EQ(entries_of(st), (Entries{{"Alpha", "1", "rId1"}, {"Gamma", "9", "rId3"}}));
    EXPECT_EQ(st.workbook_rels_xml.find("rId2"), std::string::npos);
    EXPECT_NE(st.workbook_rels_xml.find("\"/><Relationship Id=\"rId3\""), std::string::npos);
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(st.deleted_parts.contains("xl/worksheets/sheet2.xml"));
    EXPECT_FALSE(st.modified_parts.contains("xl/worksheets/sheet2.xml"));
    EXPECT_FALSE(st.loaded_sheets.contains("xl/worksheets/sheet2.xml"));
}

TEST_F(Sheets, DeleteCurrentSheetMakesTheFirstRemainingCurrent) {
    EditorState st = three("Beta");
    ASSERT_TRUE(switch_sheet(st, "Gamma"));
    ASSERT_TRUE(switch_sheet(st, "Alpha"));
    st.sheet_xml += "<!-- alpha edit -->";
    ASSERT_TRUE(switch_sheet(st, "Beta"));
    ASSERT_TRUE(delete_sheet(st, "Beta"));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(st.sheet_xml, worksheet("<row r=\"2\"/>") + "<!-- alpha edit -->");
    EXPECT_EQ(resolve_last_row(st), 2u);
    ASSERT_TRUE(delete_sheet(st, "Alpha"));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet3.xml");
    EXPECT_FALSE(st.modified_parts.contains("xl/worksheets/sheet1.xml"));
}

TEST_F(Sheets, DeletingTheLastSheetAddsAnEmptySheet1) {
    EditorState st = open({{"Only", "4", "rId5", "xl/worksheets/sheet2.xml", worksheet("<row r=\"3\"/>")}}, "Only",
                          {{"xl/worksheets/sheet6.xml", worksheet()}},
                          "<Relationship Id=\"rId9\" Type=\"x\" Target=\"styles.xml\"/>");
    ASSERT_TRUE(delete_sheet(st, "Only"));
    EXPECT_EQ(entries_of(st), (Entries{{"Sheet1", "1", "rId10"}}));
    EXPECT_EQ(st.sheet_path, "xl/worksheets/sheet7.xml");
    EXPECT_EQ(st.sheet_xml.size(), 197u);
    EXPECT_EQ(st.last_row, 0u);
    EXPECT_TRUE(st.deleted_parts.contains("xl/worksheets/sheet2.xml"));
}

TEST_F(Sheets, DeleteFailureStates) {
    // Step 1: nothing changes.
    {
        EditorState st = three();
        Snapshot before = snapshot(st);
        EXPECT_EQ(delete_sheet(st, "alpha").error().message, "Sheet `alpha` not found in workbook.xml");
        EXPECT_EQ(snapshot(st), before);
    }
    // Relationship missing: found before anything changes, so nothing does.
    {
        EditorState st = three();
        st.workbook_rels_xml.replace(st.workbook_rels_xml.find("\"rId2\""), 6, "\"rId22\"");
        Snapshot before = snapshot(st);
        auto r = delete_sheet(st, "Beta");
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().message, "Relationship `rId2` not found in workbook.xml.rels");
        EXPECT_EQ(snapshot(st), before);
    }
    // The next current sheet cannot be read: read before anything changes, so nothing does.
    {
        EditorState st = open({{"Alpha", "1", "rId1", "xl/worksheets/sheet1.xml", worksheet()},
                               {"Beta", "2", "rId2", "xl/worksheets/sheet2.xml", ""}},
                              "Alpha");
        Snapshot before = snapshot(st);
        auto r = delete_sheet(st, "Alpha");
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().message, "xl/worksheets/sheet2.xml not found in zip");
        EXPECT_EQ(snapshot(st), before);
    }
}

TEST_F(Sheets, DeleteRemovesARelationshipWrittenWithAnEndTag) {
    EditorState st = three();
    std::string& rels = st.workbook_rels_xml;
    std::size_t at = rels.find("<Relationship Id=\"rId2\"");
    std::size_t close = rels.find("/>", at);
    rels.replace(close, 2, ">\n  </Relationship>");
    ASSERT_TRUE(delete_sheet(st, "Beta"));
    EXPECT_EQ(rels.find("rId2"), std::string::npos);
    EXPECT_EQ(rels.find("</Relationship>"), std::string::npos) << rels;
}
