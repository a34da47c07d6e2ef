#pragma once
// Pieces the sheet walkers share: finding rows and the cells inside them by plain search, and
// giving a cell start tag its style index.
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
    std::optional<std::uint32_t> column;  // from the letters of `r`; absent without a digit
};

// The cells of a row, in text order: "cell tag end" / "</c> missing" when one is cut short.
Status row_cells(std::string_view text, const RowSpan& row, std::vector<CellSpan>& cells);
// "<c" at `at` opens a cell (not "<col", "<cfRule" and the like).
bool opens_cell_at(std::string_view text, std::size_t at);
// Raw value of the ` r="` attribute of a start tag.
std::optional<std::string_view> tag_reference(std::string_view tag);
// Appends `tag` ("<c ...>" or "<c .../>") with its `s` value replaced by `index`, or with
// ` s="index"` added before its closing "/>" or ">".
void append_tag_with_style(std::string& out, std::string_view tag, std::uint32_t index);
// Appends `tag` without its ` s="..."` attribute; false when the value has no closing quote.
bool append_tag_without_style(std::string& out, std::string_view tag);
// Where a new cell of `column` goes in the row content [from, limit): before the first cell of a
// greater column, else at `limit`.
std::size_t place_for_column(std::string_view text, std::size_t from, std::size_t limit,
                             std::uint64_t column);

}  // namespace qm
