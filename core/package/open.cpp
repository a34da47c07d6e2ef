#include "catalogue/catalogue.hpp"
#include "package/package.hpp"
#include "support/zip_archive.hpp"

namespace qm {

Result<EditorState> open_workbook(const std::string& path, std::string_view sheet_name) {
    auto zip = ZipReader::open(path);
    if (!zip) return fail(std::move(zip.error()));
    auto workbook = zip->read_entry(kWorkbookPart, "xl/workbook.xml not found");
    if (!workbook) return fail(std::move(workbook.error()));
    auto rels = zip->read_entry(kWorkbookRelsPart, "xl/_rels/workbook.xml.rels not found");
    if (!rels) return fail(std::move(rels.error()));

    auto rel_id = find_sheet_rel_id(*workbook, sheet_name);
    if (!rel_id) return fail("Sheet `" + std::string(sheet_name) + "` not found in workbook.xml");
    auto relationship = find_relationship(*rels, *rel_id);
    if (!relationship)
        return fail("Relationship `" + *rel_id + "` not found in workbook.xml.rels");

    EditorState state;
    state.sheet_path = normalize_part_path(relationship->target);
    auto sheet = zip->read_entry(state.sheet_path, state.sheet_path + " not found");
    if (!sheet) return fail(std::move(sheet.error()));
    // The style sheet is optional: the first style call creates one.
    auto styles = try_read_entry(zip->handle(), kStylesPart);
    if (!styles) return fail(std::move(styles.error()));

    state.source_path = path;
    state.sheet_xml = std::move(*sheet);
    owe_last_row(state);
    state.workbook_xml = std::move(*workbook);
    state.workbook_rels_xml = std::move(*rels);
    if (*styles) state.styles_xml = std::move(**styles);
    state.styles_new = !*styles;
    return state;
}

}  // namespace qm
