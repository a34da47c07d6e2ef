#pragma once
// Opening a package into an EditorState.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// Reads the workbook part, its relationships, the named worksheet and the style sheet.
Result<EditorState> open_workbook(const std::string& path, std::string_view sheet_name);
// The same on the first sheet named in the workbook part (its name is taken as written, unchecked);
// a package without a workbook part or without sheets is refused as listing the sheets refuses it.
Result<EditorState> open_first_sheet(const std::string& path);

inline constexpr std::string_view kNoWorksheets = "Workbook contains no worksheets";

// Writes a new one-sheet package from the built-in templates (parent folders are created).
Status create_workbook(const std::string& path, std::string_view sheet_name);

// Writes the package the state describes to `target`: the held parts whose text differs from the
// source (after the fix-ups below) and every other source entry copied raw. A save whose source
// file was replaced since open writes nothing. The only changes to the state are that the current
// sheet is stored in modified_parts and, after a save onto the source, the source identity.
Status save_package(EditorState& state, const std::string& target);

// "xl/worksheets/....xml": parts that get the dimension and content-type fix-ups (with every
// other target of the workbook's worksheet relationships).
bool is_worksheet_part(std::string_view name);

// One splice: replace [pos, pos + length) by `text`.
struct TextEdit {
    std::size_t pos = 0;
    std::size_t length = 0;
    std::string text;
};

// The `dimension` element recomputed from the cells' `r` references (always from A1), and where it
// goes: over the existing element, else before the first of sheetViews, sheetFormatPr, cols or
// sheetData. nullopt when there is no place for it.
std::optional<TextEdit> sheet_dimension_edit(std::string_view sheet);
void fix_sheet_dimension(std::string& sheet);
// Marks the workbook for a full recalculation when opened: fullCalcOnLoad="1" on calcPr, or a new
// calcPr element where the schema puts it.
void request_full_calculation(std::string& workbook);
// Moves a complete numFmts block found after "</styleSheet>" to the start of the style sheet.
void relocate_num_fmts(std::string& styles);
// Adds a worksheet override before "</Types>" for each listed part not yet named.
void add_sheet_overrides(std::string& content_types, const std::vector<std::string>& names);
// Adds the style sheet's override before "</Types>" unless the part is named already.
void add_styles_override(std::string& content_types, std::string_view part);
// Removes every element naming the part.
void remove_sheet_overrides(std::string& content_types, std::string_view name);

}  // namespace qm
