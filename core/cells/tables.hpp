#pragma once
// Tables of the current worksheet: their header cells name the table's columns, so a write into
// a header cell renames its column, and merged cells may not cover a table.
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "cells/cells.hpp"
#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// New texts of the table parts whose header cells the writes change, checked: a header name may
// not be empty, a formula, or equal (ignoring case) to another column's name of its table.
// Nothing is changed; install_table_renames puts the texts in place.
using TableRenames = std::vector<std::pair<std::string, std::string>>;
Result<TableRenames> table_header_renames(EditorState& state, std::span<const RowWrites> rows);
void install_table_renames(EditorState& state, TableRenames&& renames);
// Whether the cell is a header cell of a table of the current sheet.
Result<bool> is_table_header_cell(EditorState& state, CellRef cell);

// Refuses a merge of the rectangle (0-based columns, rows as written, inclusive) that overlaps a
// table of the current sheet.
Status check_merge_outside_tables(EditorState& state, CellRef first, CellRef last, std::string_view range);

}  // namespace qm
