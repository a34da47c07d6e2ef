#include "catalogue/catalogue.hpp"
#include "package/package.hpp"
#include "state/parts.hpp"
#include "support/zip_archive.hpp"

namespace qm {

namespace {

// One open of the archive for both: without a name the first sheet's is read from the same
// workbook text that is then held.
Result<EditorState> open_package(const std::string& path, std::optional<std::string_view> named) {
    auto zip = ZipReader::open(path);
    if (!zip) return fail(std::move(zip.error()));
    EditorState state;
    PackageParts parts = locate_parts(*zip);
    auto workbook = read_held_part(*zip, parts.workbook, named ? parts.workbook + " not found" : std::string(kWorkbookNotFound),
                                   state.unprefixed_parts);
    if (!workbook) return fail(std::move(workbook.error()));
    std::string first;
    if (!named) {
        auto names = sheet_names_in(*workbook);
        if (names.empty()) return fail(std::string(kNoWorksheets));
        first = std::move(names.front());
    }
    const std::string_view sheet_name = named ? *named : std::string_view(first);
    auto rels = zip->read_entry(parts.workbook_rels, parts.workbook_rels + " not found");
    if (!rels) return fail(std::move(rels.error()));

    auto rel_id = find_sheet_rel_id(*workbook, sheet_name);
    if (!rel_id) return fail("Sheet `" + std::string(sheet_name) + "` not found in workbook.xml");
    auto relationship = find_relationship(*rels, *rel_id);
    if (!relationship)
        return fail("Relationship `" + *rel_id + "` not found in workbook.xml.rels");

    state.sheet_path = normalize_part_path(relationship->target, part_folder(parts.workbook));
    auto sheet = read_held_part(*zip, state.sheet_path, state.sheet_path + " not found", state.unprefixed_parts);
    if (!sheet) return fail(std::move(sheet.error()));
    // The style sheet is optional: the first style call creates one.
    auto styles = try_read_entry(zip->handle(), parts.styles);
    if (!styles) return fail(std::move(styles.error()));
    if (*styles)
        if (auto plain = unprefix_main_namespace(**styles)) {
            state.unprefixed_parts.insert(parts.styles);
            **styles = std::move(*plain);
        }

    state.source_path = path;
    state.source_identity = zip->identity();
    state.strict = is_strict_document(*workbook);
    state.workbook_part = std::move(parts.workbook);
    state.workbook_rels_part = std::move(parts.workbook_rels);
    state.styles_part = std::move(parts.styles);
    state.sheet_xml = std::move(*sheet);
    owe_last_row(state);
    state.workbook_xml = std::move(*workbook);
    state.workbook_rels_xml = std::move(*rels);
    if (*styles) state.styles_xml = std::move(**styles);
    state.styles_new = !*styles;
    return state;
}

}  // namespace

Result<EditorState> open_workbook(const std::string& path, std::string_view sheet_name) {
    return open_package(path, sheet_name);
}

Result<EditorState> open_first_sheet(const std::string& path) { return open_package(path, std::nullopt); }

}  // namespace qm
