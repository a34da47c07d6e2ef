#pragma once
// Sheet layout: column widths and column default styles (the `cols` block), merged ranges (the
// `mergeCells` block), and the checks the width methods run on column letters and widths.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cells/cells.hpp"
#include "state/state.hpp"
#include "styles/styles.hpp"
#include "support/error.hpp"

namespace qm {

// ---- column widths ----

// Gives the columns first..last (0-based, inclusive) the width and/or the default style. Only the
// `col` elements covering them change (split at the span's edges, every other attribute kept);
// the others are copied byte for byte, and columns without an element get one holding only what
// was asked (no width is invented for a style). The block is created when the sheet has none.
Status set_column_span_props(EditorState& state, std::uint32_t first, std::uint32_t last,
                             std::optional<double> width, std::optional<std::uint32_t> style);
Status set_column_props(EditorState& state, std::uint32_t column, std::optional<double> width,
                        std::optional<std::uint32_t> style);
// The new default style of a run of columns from its current one (none when it has no `style`).
using ColumnRestyle = std::function<Result<std::uint32_t>(std::optional<std::uint32_t>)>;
Status restyle_columns(EditorState& state, std::uint32_t first, std::uint32_t last, const ColumnRestyle& restyle);

// Trimmed, upper-cased column letters, or "Invalid Excel column: " + the text as received.
Result<std::string> check_column_letters(std::string_view text);
// 0-based index of checked letters. Letters beyond the last column number a `col` element can
// carry (4294967295) are refused like any other invalid column.
Result<std::uint32_t> column_index_of(std::string_view text);

// Columns first..last, 0-based and inclusive.
struct ColumnSpan {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};
// "B" or "A:E" (trimmed) as a span; kept as a span, not a list of letters, so that a wide span
// costs one rewrite of the block.
Result<ColumnSpan> column_letters_of(std::string_view text);

// 0 < width <= 255 and finite, else "Column width must be in range (0, 255]".
Status check_width(double width);

// ---- merged ranges ----

// Adds one `mergeCell` element for `range` (written escaped, otherwise unchanged), creating the
// `mergeCells` block in its schema position when the sheet has none.
Status merge_cells(EditorState& state, std::string_view range);

// ---- number formats and alignment ----

// Lays the number format `code` over the cells of `range` (a cell, a rectangle, "B:" or "5:"); a
// whole column also gets it as its default style. The text format "@" then turns the range's
// numeric cells into text cells.
Status set_number_format(EditorState& state, std::string_view range, std::string_view code);

// Lays `align` over the cells of `range`. "B:" and "B5:" restyle column B from row 1 or 5 on; only
// from row 1 does the column also get the alignment as its default style.
Status set_alignment(EditorState& state, std::string_view range, const Alignment& align);

// Numeric cells of the range (no `t`, or t="n", holding a `v` and no formula) become inline strings
// holding the same text, as the text format "@" asks.
Status convert_to_text_cells(EditorState& state, const RangeSpec& range);

}  // namespace qm
