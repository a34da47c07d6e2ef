#pragma once
// Cell references, ranges and column letters; cell values and their markup; and the operations
// that write cells, rows and blocks into the current worksheet.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// ---- references and ranges ----

struct CellRef {
    std::uint32_t column = 0;  // 0-based, A = 0
    std::uint32_t row = 0;     // as written
};

struct CellRange {
    CellRef first;
    CellRef second;  // in the order written, not normalised
};

struct RangeSpec {
    enum class Kind { Cell, CellRange, Column, Row };
    Kind kind = Kind::Cell;
    std::string cell;         // Cell: the input text unchanged
    CellRange range;          // CellRange
    std::uint32_t index = 0;  // Column: 0-based column; Row: row number
};

// Letters to 0-based index, bijective base 26, no validation: each byte is folded to upper case
// and counts (byte - 64) mod 256; arithmetic wraps. The empty text gives all ones. Callers that
// work in 32 bits truncate, which is the same as wrapping in 32 bits.
std::uint64_t column_to_index(std::string_view letters);
std::string index_to_column(std::uint64_t index);
void append_column_letters(std::string& out, std::uint64_t index);
Result<std::uint32_t> parse_row_number(std::string_view text);
// (letters part, row part) split at the first ASCII digit; nothing when there is no digit.
std::optional<std::pair<std::string_view, std::string_view>> split_cell_ref(std::string_view ref);
std::optional<CellRef> parse_cell_ref(std::string_view ref);
Result<RangeSpec> parse_range(std::string_view text);
// "B:" gives (1, 1), "b5:" gives (1, 5); anything else is absent.
std::optional<std::pair<std::uint32_t, std::uint32_t>> parse_column_from(std::string_view text);
Result<std::pair<std::uint64_t, std::uint64_t>> parse_column_span(std::string_view text);
std::unordered_set<std::string> parse_column_list(std::string_view text);

// ---- values and markup ----

enum class CellKind { Formula, Number, InlineString };

CellKind classify_value(std::string_view value);
bool needs_space_preserve(std::string_view text);
// One `c` element: attributes r, s, t in that order, no white space.
std::string render_cell(std::string_view reference, std::string_view value,
                        std::optional<std::uint32_t> style);
void append_rendered_cell(std::string& out, std::string_view reference, std::string_view value,
                          std::optional<std::uint32_t> style);
// Style index of existing cell markup: the first ` s="` anywhere in it, read as a row number.
std::optional<std::uint32_t> style_of_cell(std::string_view cell_markup);

// ---- writing cells and rows ----

// The first "<sheetData/>" becomes an open and close pair, so that rows can be inserted.
void normalize_sheet_data(std::string& sheet_xml);

// Column of a cell reference for ordering cells within a row: the letters before the first digit,
// case-insensitive. Absent when they are not 1 to 13 ASCII letters (13 fit in 64 bits).
std::optional<std::uint64_t> reference_column(std::string_view reference);

// Writes one value into the cell whose `r` is exactly `coords`, keeping an existing cell's style;
// a missing cell goes before the first cell of its row with a greater column, a missing row before
// the first row with a greater number.
Status set_cell(EditorState& state, std::string_view coords, std::string_view value);

}  // namespace qm
