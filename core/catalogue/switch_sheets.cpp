#include "catalogue/catalogue.hpp"
#include "state/parts.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

// Target of the first Relationship tag carrying both an Id and a Target, whose Id matches.
std::optional<std::string> relationship_target(std::string_view rels, std::string_view id) {
    XmlReader reader(rels);
    while (auto tag = reader.next()) {
        if (!tag->opens() || tag->name != "Relationship") continue;
        auto rel_id = last_attribute(tag->raw, "Id");
        auto target = last_attribute(tag->raw, "Target");
        if (rel_id && target && *rel_id == id) return std::string(*target);
    }
    return std::nullopt;
}

// r:id of the first `sheet` tag that has one.
std::optional<std::string> first_sheet_rel_id(std::string_view workbook) {
    XmlReader reader(workbook);
    while (auto tag = reader.next()) {
        if (!tag->opens() || tag->name != "sheet") continue;
        if (auto rel_id = first_attribute(tag->raw, "r:id")) return to_utf8_lossy(*rel_id);
    }
    return std::nullopt;
}

Status make_current(EditorState& state, const std::string& part_name) {
    auto text = load_sheet_text(state, part_name);
    if (!text) return fail(std::move(text.error()));
    state.sheet_path = part_name;
    state.sheet_xml = std::move(*text);
    owe_last_row(state);
    return {};
}

// End of a Relationship element that starts with the tag [begin, end): a start tag written with a
// separate end tag takes that end tag along, so removing the element never leaves a stray
// "</Relationship>" behind.
std::size_t relationship_element_end(std::string_view rels, std::size_t begin, std::size_t end) {
    std::string_view tag = rels.substr(begin, end - begin);
    if (tag.ends_with("/>")) return end;
    std::size_t i = end;
    while (i < rels.size() && (rels[i] == ' ' || rels[i] == '\t' || rels[i] == '\n' || rels[i] == '\r')) ++i;
    constexpr std::string_view kClose = "</Relationship>";
    if (rels.substr(i).starts_with(kClose)) return i + kClose.size();
    return end;
}

// Another sheet whose name differs from the changed one only in case.
bool has_case_twin(const SheetChange& change) {
    for (const std::string& name : change.sheet_order)
        if (name != change.old_name && same_sheet_name(name, change.old_name)) return true;
    return false;
}

}  // namespace

Status switch_sheet(EditorState& state, std::string_view name) {
    leave_current_sheet(state);
    auto rel_id = find_sheet_rel_id_in(state.workbook_xml, false, name);
    if (!rel_id) return fail("Sheet `" + std::string(name) + "` not found in workbook.xml");
    auto target = relationship_target(state.workbook_rels_xml, *rel_id);
    if (!target)
        return fail("Relationship for `" + std::string(name) + "` not found in workbook.xml.rels");
    return make_current(state, normalize_part_path(*target, part_folder(state.workbook_part)));
}

Status rename_sheet(EditorState& state, std::string_view old_name, std::string_view new_name) {
    if (old_name == new_name) return {};
    auto parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return fail(std::move(parsed.error()));
    SheetEntry* renamed = nullptr;
    std::vector<std::string> order;
    for (SheetEntry& entry : parsed->entries) {
        if (entry.name == new_name) return fail("Sheet `" + std::string(new_name) + "` already exists");
        if (!renamed && entry.name == old_name) renamed = &entry;
        order.push_back(entry.name);
    }
    if (!renamed) return fail("Sheet `" + std::string(old_name) + "` not found");
    SheetChange change{std::string(old_name), std::string(new_name), std::move(order)};
    change.match_case = has_case_twin(change);
    auto references = rewrite_sheet_references_in_parts(state, change);
    if (!references) return fail(std::move(references.error()));

    apply_reference_rewrite(state, std::move(*references));
    // The defined names before the sheets block may have changed length: find it again.
    parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return fail(std::move(parsed.error()));
    for (SheetEntry& entry : parsed->entries)
        if (entry.name == old_name) {
            entry.name = new_name;
            break;
        }
    splice(state.workbook_xml, parsed->block.begin, parsed->block.end - parsed->block.begin,
           render_sheet_entries(parsed->entries, false));
    return {};
}

Status delete_sheet(EditorState& state, std::string_view name) {
    // Every lookup comes first: a failure leaves the editor as it was.
    auto rel_id = find_sheet_rel_id(state.workbook_xml, name);
    if (!rel_id) return fail("Sheet `" + std::string(name) + "` not found in workbook.xml");
    auto parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return fail(std::move(parsed.error()));
    auto relationship = find_relationship(state.workbook_rels_xml, *rel_id);
    if (!relationship) return fail("Relationship `" + *rel_id + "` not found in workbook.xml.rels");
    std::string part_name = normalize_part_path(relationship->target, part_folder(state.workbook_part));
    std::vector<std::string> order;
    for (const SheetEntry& entry : parsed->entries) order.push_back(entry.name);
    SheetChange change{std::string(name), std::nullopt, std::move(order)};
    change.match_case = has_case_twin(change);
    auto references = rewrite_sheet_references_in_parts(state, change, part_name);
    if (!references) return fail(std::move(references.error()));

    std::size_t end = relationship_element_end(state.workbook_rels_xml, relationship->begin, relationship->end);
    state.workbook_rels_xml.erase(relationship->begin, end - relationship->begin);
    apply_reference_rewrite(state, std::move(*references));
    parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return fail(std::move(parsed.error()));
    std::erase_if(parsed->entries, [&](const SheetEntry& e) { return e.name == name; });
    splice(state.workbook_xml, parsed->block.begin, parsed->block.end - parsed->block.begin,
           render_sheet_entries(parsed->entries, true));

    state.modified_parts.erase(part_name);
    state.loaded_sheets.erase(part_name);
    state.deleted_parts.insert(part_name);
    if (part_name != state.sheet_path) return {};

    // The current sheet is gone: the first remaining sheet takes over, or a new empty one.
    if (auto next_id = first_sheet_rel_id(state.workbook_xml))
        if (auto next = find_relationship(state.workbook_rels_xml, *next_id))
            return make_current(state, normalize_part_path(next->target, part_folder(state.workbook_part)));
    return add_sheet_at(state, "Sheet1", count_sheet_elements(state.workbook_xml));
}

}  // namespace qm
