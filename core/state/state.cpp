#include "state/state.hpp"

#include <algorithm>

#include "state/parts.hpp"
#include "support/zip_archive.hpp"

namespace qm {

std::string source_changed_message(const EditorState& state) {
    return "'" + state.source_path +
           "' was changed on disk since this editor opened it; open it again to edit the new contents";
}

Result<ZipReader> open_unchanged_source(const EditorState& state) {
    auto zip = ZipReader::open(state.source_path);
    if (!zip) return zip;
    if (state.source_identity && zip->identity() != *state.source_identity)
        return fail(source_changed_message(state));
    return zip;
}

namespace {
Result<std::string> read_source_sheet(EditorState& state, std::string_view part_name) {
    auto zip = open_unchanged_source(state);
    if (!zip) return fail(std::move(zip.error()));
    return read_held_part(*zip, part_name, std::string(part_name) + " not found in zip", state.unprefixed_parts);
}
}  // namespace

Result<std::string> load_sheet_text(EditorState& state, std::string_view part_name) {
    if (auto it = state.modified_parts.find(part_name); it != state.modified_parts.end())
        return it->second;
    if (auto it = state.loaded_sheets.find(part_name); it != state.loaded_sheets.end())
        return it->second;
    auto text = read_source_sheet(state, part_name);
    if (!text) return fail(std::move(text.error()));
    state.loaded_sheets.insert_or_assign(std::string(part_name), *text);
    return text;
}

Result<std::string> take_sheet_text(EditorState& state, std::string_view part_name) {
    if (auto it = state.modified_parts.find(part_name); it != state.modified_parts.end())
        return it->second;
    if (auto it = state.loaded_sheets.find(part_name); it != state.loaded_sheets.end())
        return std::move(state.loaded_sheets.extract(it).mapped());
    return read_source_sheet(state, part_name);
}

void stash_current_sheet(EditorState& state) {
    if (!state.sheet_path.empty())
        state.modified_parts.insert_or_assign(state.sheet_path, state.sheet_xml);
}

void leave_current_sheet(EditorState& state) {
    if (!state.sheet_path.empty())
        state.modified_parts.insert_or_assign(std::move(state.sheet_path), std::move(state.sheet_xml));
    state.sheet_path.clear();
    state.sheet_xml.clear();
}

}  // namespace qm
