#include <algorithm>
#include <limits>

#include "catalogue/catalogue.hpp"
#include "state/namespaces.hpp"
#include "state/parts.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"
#include "support/zip_archive.hpp"

namespace qm {

namespace {

constexpr std::string_view kSheetPartStem = "worksheets/sheet";
constexpr std::string_view kXmlSuffix = ".xml";

std::string empty_worksheet_text(std::string_view main_namespace) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "        <worksheet xmlns=\"";
    text += main_namespace;
    text += "\">\n"
            "          <sheetData> </sheetData>\n"
            "        </worksheet>";
    return text;
}

// N of "<prefix><N>.xml".
std::optional<std::uint64_t> sheet_part_number(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() + kXmlSuffix.size()) return std::nullopt;
    if (!name.starts_with(prefix) || !name.ends_with(kXmlSuffix)) return std::nullopt;
    std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - kXmlSuffix.size());
    auto n = parse_u64(digits);
    return n ? std::optional<std::uint64_t>(*n) : std::nullopt;
}

// One more than the largest "rId<n>" among the Relationship ids, whatever their type.
std::uint64_t next_relationship_number(std::string_view rels) {
    std::uint64_t largest = 0;
    XmlReader reader(rels);
    while (auto tag = reader.next()) {
        if (!tag->opens() || tag->name != "Relationship") continue;
        auto id = first_attribute(tag->raw, "Id");
        if (!id || !id->starts_with("rId")) continue;
        if (auto n = try_parse_u32(id->substr(3))) largest = std::max<std::uint64_t>(largest, *n);
    }
    return largest + 1;
}

// One more than the largest worksheet part number the source archive or this editor has ever
// used. Parts deleted in this editor count too: a number that was handed out and then deleted
// would otherwise come back, and the save leaves deleted names out, losing the new sheet.
Result<std::uint64_t> next_sheet_number(const EditorState& state) {
    auto zip = open_unchanged_source(state);
    if (!zip) return fail(std::move(zip.error()));
    std::uint64_t largest = 0;
    std::string prefix = part_folder(state.workbook_part) + std::string(kSheetPartStem);
    auto consider = [&](std::string_view name) {
        if (auto n = sheet_part_number(name, prefix)) largest = std::max(largest, *n);
    };
    for (std::uint64_t i = 0, count = zip->entry_count(); i < count; ++i) consider(zip->entry_name(i));
    for (const auto& [name, text] : state.modified_parts) consider(name);
    for (const auto& name : state.deleted_parts) consider(name);
    if (largest == std::numeric_limits<std::uint64_t>::max())
        return fail("No free worksheet part number left in the package");
    return largest + 1;
}

}  // namespace

std::size_t count_sheet_elements(std::string_view workbook) {
    std::size_t count = 0;
    XmlReader reader(workbook);
    while (auto tag = reader.next())
        if (tag->opens() && tag->name == "sheet") ++count;
    return count;
}

Status add_sheet(EditorState& state, std::string_view name) {
    return add_sheet_at(state, name, count_sheet_elements(state.workbook_xml));
}

Status add_sheet_at(EditorState& state, std::string_view name, std::uint64_t position) {
    auto parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return fail(std::move(parsed.error()));
    for (const SheetEntry& entry : parsed->entries)
        if (same_sheet_name_ignoring_case(entry.name, name)) {
            std::string message = "Sheet " + std::string(name) + " already exists";
            if (entry.name != name) message += " as " + entry.name + " (sheet names ignore case)";
            return fail(std::move(message));
        }
    std::vector<SheetEntry>& entries = parsed->entries;
    std::uint64_t at = std::min<std::uint64_t>(position, entries.size());
    // Other parts name sheets by sheetId: existing ids stay, the new one is above them all.
    std::uint64_t largest_id = 0;
    for (const SheetEntry& entry : entries)
        if (auto id = parse_u64(entry.sheet_id)) largest_id = std::max(largest_id, *id);
    if (largest_id >= std::numeric_limits<std::uint32_t>::max()) return fail("No free sheetId left in workbook.xml");

    auto sheet_number = next_sheet_number(state);
    if (!sheet_number) return fail(std::move(sheet_number.error()));
    std::string rel_id = "rId" + to_decimal(next_relationship_number(state.workbook_rels_xml));
    std::string target = "worksheets/sheet" + to_decimal(*sheet_number) + ".xml";
    std::string part_name = part_folder(state.workbook_part) + target;

    std::string sheet_element = "<sheet name=\"" + escape_attribute(name) + "\" sheetId=\"" + to_decimal(largest_id + 1) +
                          "\" r:id=\"" + rel_id + "\"/>";
    std::size_t insert = at < entries.size() ? entries[at].begin
                         : entries.empty()   ? parsed->block.end
                                             : entries.back().end;
    std::string workbook = state.workbook_xml;
    insert_at(workbook, insert, sheet_element);
    // Into an empty list (the last sheet was just deleted) nothing is left to shift.
    if (!entries.empty()) shift_sheet_positions_after_insert(workbook, at);

    std::string rels = state.workbook_rels_xml;
    std::size_t close = find(rels, "</Relationships");
    if (close == npos) return fail("</Relationships> not found in workbook.xml.rels");
    std::string element = "<Relationship Id=\"" + rel_id + "\" Type=\"";
    element += namespaces(state).relationships;
    element += "/worksheet";
    element += "\" Target=\"" + target + "\"/>";
    insert_at(rels, close, element);

    state.workbook_xml = std::move(workbook);
    state.workbook_rels_xml = std::move(rels);
    leave_current_sheet(state);
    std::string text = empty_worksheet_text(namespaces(state).main);
    state.modified_parts.insert_or_assign(part_name, text);
    state.sheet_path = std::move(part_name);
    state.sheet_xml = std::move(text);
    state.last_row = 0;
    state.last_row_pending = false;
    return {};
}

}  // namespace qm
