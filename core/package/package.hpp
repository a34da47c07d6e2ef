#pragma once
// Opening a package into an EditorState.
#include <string>
#include <string_view>

#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// Reads the workbook part, its relationships, the named worksheet and the style sheet.
Result<EditorState> open_workbook(const std::string& path, std::string_view sheet_name);

// Writes a new one-sheet package from the built-in templates (parent folders are created).
Status create_workbook(const std::string& path, std::string_view sheet_name);

}  // namespace qm
