#include "catalogue/catalogue.hpp"
#include "state/parts.hpp"
#include "support/text.hpp"
#include "support/zip_archive.hpp"

namespace qm {

namespace {

// Parts of the source package that can hold references to a sheet and are read only when needed.
bool may_hold_references(std::string_view name) {
    auto in = [&](std::string_view folder) {
        return name.starts_with(folder) && name.ends_with(".xml") && name.find('/', folder.size()) == npos;
    };
    return in("xl/worksheets/") || in("xl/charts/") || in("xl/tables/") ||
           (in("xl/pivotCache/") && name.starts_with("xl/pivotCache/pivotCacheDefinition"));
}

}  // namespace

Result<ReferenceRewrite> rewrite_sheet_references_in_parts(const EditorState& state, const SheetChange& change,
                                                           std::string_view skipped_part) {
    ReferenceRewrite result;
    std::string key = sheet_search_key(change.old_name);
    auto rewrite = [&](std::string_view text) -> std::optional<std::string> {
        if (find_ignoring_case(text, key) == npos) return std::nullopt;
        return rewrite_part_sheet_references(text, change);
    };

    result.workbook = rewrite(state.workbook_xml);
    if (!state.sheet_path.empty() && state.sheet_path != skipped_part) result.current_sheet = rewrite(state.sheet_xml);

    auto held = [&](std::string_view name) {
        return name == skipped_part || name == state.sheet_path || state.modified_parts.contains(name) ||
               state.deleted_parts.contains(name);
    };
    for (const auto& [name, text] : state.modified_parts)
        if (!(name == skipped_part || name == state.sheet_path))
            if (auto changed = rewrite(text)) result.parts.emplace_back(name, std::move(*changed));
    for (const auto& [name, text] : state.loaded_sheets)
        if (!held(name))
            if (auto changed = rewrite(text)) result.parts.emplace_back(name, std::move(*changed));

    auto zip = open_unchanged_source(state);
    if (!zip) return fail(std::move(zip.error()));
    // Sheets are found through the workbook too: some packages keep them outside xl/worksheets/.
    const auto sheets = worksheet_targets(state.workbook_rels_xml, part_folder(state.workbook_part));
    for (std::uint64_t i = 0; i < zip->entry_count(); ++i) {
        std::string_view name = zip->entry_name(i);
        if (!(may_hold_references(name) || sheets.contains(name)) || held(name) || state.loaded_sheets.contains(name))
            continue;
        auto text = zip->read_entry(name, std::string(name) + " not found in zip");
        if (!text) return fail(std::move(text.error()));
        if (auto changed = rewrite(*text)) result.parts.emplace_back(std::string(name), std::move(*changed));
    }
    return result;
}

void apply_reference_rewrite(EditorState& state, ReferenceRewrite&& rewrite) {
    if (rewrite.workbook) state.workbook_xml = std::move(*rewrite.workbook);
    if (rewrite.current_sheet) state.sheet_xml = std::move(*rewrite.current_sheet);
    for (auto& [name, text] : rewrite.parts) {
        state.loaded_sheets.erase(name);
        state.modified_parts.insert_or_assign(std::move(name), std::move(text));
    }
}

}  // namespace qm
