#include <algorithm>

#include "catalogue/catalogue.hpp"
#include "state/parts.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

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
    auto text = take_sheet_text(state, part_name);
    if (!text) return fail(std::move(text.error()));
    state.sheet_path = part_name;
    state.sheet_xml = std::move(*text);
    owe_last_row(state);
    return {};
}

// Another sheet whose name differs from the changed one only in case.
bool has_case_twin(const SheetChange& change) {
    for (const std::string& name : change.sheet_order)
        if (name != change.old_name && same_sheet_name(name, change.old_name)) return true;
    return false;
}

bool references_part(const ReferenceRewrite& rewrite, std::string_view part) {
    return std::any_of(rewrite.parts.begin(), rewrite.parts.end(), [&](const auto& p) { return p.first == part; });
}

}  // namespace

Status switch_sheet(EditorState& state, std::string_view name) {
    leave_current_sheet(state);
    auto rel_id = find_sheet_rel_id_in(state.workbook_xml, false, name);
    if (!rel_id) return fail("Sheet `" + std::string(name) + "` not found in workbook.xml");
    auto relationship = find_relationship(state.workbook_rels_xml, *rel_id);
    if (!relationship)
        return fail("Relationship for `" + std::string(name) + "` not found in workbook.xml.rels");
    return make_current(state, normalize_part_path(relationship->target, part_folder(state.workbook_part)));
}

Status rename_sheet(EditorState& state, std::string_view old_name, std::string_view new_name) {
    if (old_name == new_name) return {};
    auto parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return fail(std::move(parsed.error()));
    const SheetEntry* renamed = nullptr;
    std::vector<std::string> order;
    for (SheetEntry& entry : parsed->entries) {
        if (!renamed && entry.name == old_name) renamed = &entry;
        order.push_back(entry.name);
    }
    // Another sheet of the same name in any case is taken; the renamed sheet may change its case.
    for (const SheetEntry& entry : parsed->entries) {
        if (&entry == renamed || !same_sheet_name_ignoring_case(entry.name, new_name)) continue;
        std::string message = "Sheet `" + std::string(new_name) + "` already exists";
        if (entry.name != new_name) message += " as `" + entry.name + "` (sheet names ignore case)";
        return fail(std::move(message));
    }
    if (!renamed) return fail("Sheet `" + std::string(old_name) + "` not found");
    SheetChange change{std::string(old_name), std::string(new_name), std::move(order)};
    change.match_case = has_case_twin(change);
    auto references = rewrite_sheet_references_in_parts(state, change);
    if (!references) return fail(std::move(references.error()));

    // Only the name attribute of the renamed element changes.
    std::string workbook = references->workbook ? std::move(*references->workbook) : state.workbook_xml;
    parsed = parse_sheet_entries(workbook);
    if (!parsed) return fail(std::move(parsed.error()));
    auto entry = std::find_if(parsed->entries.begin(), parsed->entries.end(),
                              [&](const SheetEntry& e) { return e.name == old_name; });
    if (entry == parsed->entries.end()) return fail("Sheet `" + std::string(old_name) + "` not found");
    std::string_view tag(workbook.data() + entry->begin, entry->tag_end - entry->begin);
    std::optional<Attribute> name_attribute;
    for_each_attribute(tag, [&](const Attribute& a) {
        if (a.name == "name") name_attribute = a;
    });
    if (!name_attribute) return fail("Sheet `" + std::string(old_name) + "` not found");
    std::size_t at = static_cast<std::size_t>(name_attribute->raw_value.data() - workbook.data());
    splice(workbook, at, name_attribute->raw_value.size(),
           workbook[at - 1] == '\'' ? escape_text(new_name) : escape_attribute(new_name));

    references->workbook = std::move(workbook);
    apply_reference_rewrite(state, std::move(*references));
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

    std::string workbook = references->workbook ? std::move(*references->workbook) : state.workbook_xml;
    parsed = parse_sheet_entries(workbook);
    if (!parsed) return fail(std::move(parsed.error()));
    auto& entries = parsed->entries;
    auto gone = std::find_if(entries.begin(), entries.end(),
                             [&](const SheetEntry& e) { return e.name == name && e.rel_id == *rel_id; });
    if (gone == entries.end()) return fail("Sheet `" + std::string(name) + "` not found in workbook.xml");
    std::size_t position = static_cast<std::size_t>(gone - entries.begin());
    std::vector<bool> visible;
    for (const SheetEntry& entry : entries)
        if (&entry != &*gone) visible.push_back(entry.visible());
    if (gone->visible() && !visible.empty() && std::find(visible.begin(), visible.end(), true) == visible.end())
        return fail("Sheet `" + std::string(name) + "` is the last visible sheet and cannot be deleted");
    workbook.erase(gone->begin, gone->end - gone->begin);
    shift_sheet_positions_after_delete(workbook, position, visible);
    std::string rels = state.workbook_rels_xml;
    rels.erase(relationship->begin, relationship->end - relationship->begin);

    // A deleted current sheet hands over to the first remaining one, which must be readable.
    std::optional<std::string> next_part;
    if (part_name == state.sheet_path)
        if (auto next_id = first_sheet_rel_id(workbook))
            if (auto next = find_relationship(rels, *next_id))
                next_part = normalize_part_path(next->target, part_folder(state.workbook_part));
    if (next_part && !references_part(*references, *next_part))
        if (auto text = load_sheet_text(state, *next_part); !text) return fail(std::move(text.error()));

    state.workbook_rels_xml = std::move(rels);
    references->workbook = std::move(workbook);
    apply_reference_rewrite(state, std::move(*references));
    state.modified_parts.erase(part_name);
    state.loaded_sheets.erase(part_name);
    state.deleted_parts.insert(part_name);
    if (part_name != state.sheet_path) return {};
    if (next_part) return make_current(state, *next_part);
    return add_sheet(state, "Sheet1");
}

}  // namespace qm
