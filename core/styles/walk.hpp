#pragma once
// Pieces the sheet walkers share: the cells of a row as the sheet scanner reads them, and giving
// a cell start tag its style index.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cells/cells.hpp"
#include "support/error.hpp"

namespace qm {

struct CellSpan {
    std::size_t begin = 0;      // "<c"
    std::size_t tag_close = 0;  // the start tag's ">"
    std::size_t end = 0;        // just after "</c>" or after a self-closing tag
    std::optional<std::uint32_t> column;  // written or implied; absent when it does not read
};

// The cells of a row, in text order: "cell tag end" / "</c> missing" when one is cut short.
Status row_cells(std::string_view text, const RowSpan& row, std::vector<CellSpan>& cells);
// "<c" at `at` opens a cell (not "<col", "<cfRule" and the like).
bool opens_cell_at(std::string_view text, std::size_t at);
// Raw value of the `r` attribute of a start tag.
std::optional<std::string_view> tag_reference(std::string_view tag);
}  // namespace qm
