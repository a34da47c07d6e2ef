#pragma once
// Cell references, ranges and column letters; cell values and their markup; and the operations
// that write cells, rows and blocks into the current worksheet.
#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cells/sheet_scan.hpp"
#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// ---- references and ranges ----

struct CellRef {
    std::uint32_t column = 0;  // 0-based, A = 0
    std::uint32_t row = 0;     // as written

    bool operator==(const CellRef&) const = default;
};

struct CellRange {
    CellRef first;
    CellRef second;  // in the order written, not normalised
};

struct RangeSpec {
    enum class Kind { Cell, CellRange, Column, Row };
    Kind kind = Kind::Cell;
    std::string cell;         // Cell: the canonical reference text (B3)
    CellRef ref;              // Cell: the same, parsed
    CellRange range;          // CellRange
    std::uint32_t index = 0;  // Column: 0-based column; Row: row number
};

// ---- references as callers write them ----
// Strict: an optional `$`, one to three letters in any case, an optional `$`, then digits; the
// `$` markers are dropped, letters folded to upper case and leading zeros of the row dropped
// (A01 is A1). Rows run 1..1048576 and columns A..XFD; everything else is refused, so the `r` we
// write is always the canonical form another cell of the same name would carry.

inline constexpr std::uint32_t kMaxRow = 1048576;
inline constexpr std::uint32_t kMaxColumn = 16383;  // XFD, 0-based

enum class RefProblem { NoDigits, BadLetters, BadRow, OutsideSheet };

std::expected<CellRef, RefProblem> read_cell_ref(std::string_view text);
// "B3" for column 1, row 3.
std::string cell_ref_text(CellRef ref);
// The canonical text of a written reference, or the caller's message: set_cell's words.
Result<std::string> canonical_cell_coordinate(std::string_view coords);
// The same for the top-left cell of a block (append_table_at, DataFrames): checked before
// anything is written.
Result<CellRef> read_start_cell(std::string_view start);
// The same for a DataFrame table, whose letters that are no column are named as a column:
// "Invalid Excel column: " and the text before the row digits, as written.
Result<CellRef> read_table_start(std::string_view start);
// A block of rows whose top-left cell is `start` must end inside the grid.
Status check_block_fits(CellRef start, std::size_t rows, std::size_t columns);
// A row appended after `last_row` holding `cells` values.
Status check_row_fits(std::uint32_t last_row, std::size_t cells);
// "<what> <text> is outside the sheet (columns A to XFD, rows 1 to 1048576)"
std::string outside_sheet_message(std::string_view what, std::string_view text);

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

// Error is a cell error value written as t="e" ("#NUM!"); Bool a t="b" value ("1" or "0");
// Blank writes no value at all.
enum class CellKind { Formula, Number, InlineString, Error, Blank, Bool };

// A value whose kind its producer decided (typed data such as DataFrame columns): it is written
// as that kind and never re-classified from its text, so "02134" or "=1+1" stay text.
struct TypedCell {
    CellKind kind = CellKind::Blank;
    std::string text;
};
// A typed cell whose text lives elsewhere (a large table keeps its texts in blocks of its own
// rather than one allocation per cell).
struct CellText {
    CellKind kind = CellKind::Blank;
    std::string_view text;
};

// Formula for "=" and a text the part can hold; Number for a finite decimal literal; else text.
CellKind classify_value(std::string_view value);
// Whether the text holds a character XML 1.0 forbids outright (C0 controls other than tab, LF
// and CR; U+FFFE, U+FFFF).
bool has_forbidden_xml_char(std::string_view text);
// Cell text for a `t` element: entities escaped, forbidden characters as `_xHHHH_`, a literal
// `_xHHHH_` as `_x005F_xHHHH_`, CR as a character reference, so readers give back the text.
void append_cell_text(std::string& out, std::string_view text);
bool needs_space_preserve(std::string_view text);
// One `c` element: attributes r, s, t in that order, no white space.
std::string render_cell(std::string_view reference, std::string_view value,
                        std::optional<std::uint32_t> style);
void append_rendered_cell(std::string& out, std::string_view reference, std::string_view value,
                          std::optional<std::uint32_t> style);
// One `c` element of the given kind. A Blank kind gives an empty cell (`<c r=".." s=".."/>`).
void append_typed_cell(std::string& out, std::string_view reference, CellKind kind, std::string_view text,
                       std::optional<std::uint32_t> style);
// Style index of a cell start tag: its `s` attribute read as a row number.
std::optional<std::uint32_t> style_of_cell(std::string_view cell_markup);

// ---- writing cells and rows ----

// Column of a cell reference for ordering cells within a row: the letters before the first digit,
// case-insensitive. Absent without a digit, or when they are not 1 to 13 ASCII letters (13 fit in
// 64 bits).
std::optional<std::uint64_t> reference_column(std::string_view reference);

// The style a style-only write gives a cell, from the cell's old style (none for a new cell).
using Restyle = std::function<Result<std::uint32_t>(std::optional<std::uint32_t>)>;
// One write of a row: a value (text not owned) into a cell, or with `style_only` a new style for
// the cell, which keeps its content (a missing cell is created blank: `<c r="B3" s="1"/>`). A
// value's kind is classified from its text unless `kind` gives it; a Blank value makes no new
// cell and empties an existing one, keeping its style.
struct CellWrite {
    std::uint64_t column = 0;
    std::string_view value;
    bool style_only = false;
    std::optional<CellKind> kind;
    bool markup = false;  // `value` is the cell's whole new markup
    // A value written with a style derived from the cell's old one (a Blank value then still
    // writes the styled empty cell), instead of keeping the old style.
    const Restyle* value_style = nullptr;
};
// The writes of one row, in ascending unique columns. A row without writes still gets written:
// an empty row element when it does not exist.
struct RowWrites {
    std::uint32_t row = 0;
    std::span<const CellWrite> cells;
};

// Merges rows of writes (ascending unique row numbers) into the sheet in one pass. An existing
// cell (the first of its row with that column) keeps its style and nothing else; a missing cell
// goes before the first cell of its row with a greater column, a missing row before the first row
// with a greater number, else at the end of sheetData. A self-closed sheetData is opened first
// (and stays open when a later step fails); otherwise a failure leaves the text as it was.
// `last_row` is raised to the highest row written.
Status write_rows(EditorState& state, std::span<const RowWrites> rows, const Restyle& restyle = {},
                  const struct RowPlaces* places = nullptr);

// Where write_rows puts each pending row, when the caller knows it from an index of the text as it
// stands: the row it merges into, else the offset it is inserted at. Spares the walk over every row.
struct RowPlaces {
    std::vector<std::optional<SheetRow>> merge_into;
    std::vector<std::size_t> insert_at;
};

// Shared and array formulas before content writes: a write inside a multi-cell array formula other
// than its first cell is refused; a shared-formula master that is overwritten hands its formula,
// translated, to the next cell of its group, whose `ref` narrows. Returns the text as it was when
// it changed (nullopt otherwise), for write_rows to restore on failure.
Result<std::optional<std::string>> prepare_formula_groups(EditorState& state, std::span<const RowWrites> rows);
// After a successful write: overwritten array anchors are forgotten, moved masters read again.
void commit_formula_groups(EditorState& state, std::span<const RowWrites> rows, bool moved_masters);

// Whether a write into the cell meets a shared-formula master or a multi-cell array formula:
// such a write does not wait in the cell queue.
bool touches_formula_group(EditorState& state, CellRef at);

// Writes one value into the cell at `coords`, keeping an existing cell's style; queued when the
// state buffers single-cell writes.
Status set_cell(EditorState& state, std::string_view coords, std::string_view value);

// ---- buffered single-cell writes ----

// From now on set_cell and single-cell styles are held and merged in one pass; every other
// reader or writer of the sheet must call flush_cell_queue first. The result is byte for byte
// what the writes made one by one would give; a write fails when it is made, as it would alone.
void enable_cell_queue(EditorState& state);
Status queue_cell_value(EditorState& state, CellRef at, std::string_view value);
Status queue_cell_style(EditorState& state, CellRef at, const Restyle& restyle);
Status flush_cell_queue(EditorState& state);

// A new row numbered last_row + 1 at the end of sheetData, cells from column A. The counter
// advances even when the sheet has no sheetData.
Status append_row(EditorState& state, std::span<const std::string> values);

// Writes rows of values with their top-left cell at `start`, merged into existing rows and cells
// as write_rows does; a later row with the same number (after wrapping) replaces an earlier one.
Status write_block(EditorState& state, std::span<const std::vector<std::string>> rows, std::string_view start);
// The same with typed values. A Blank value writes no cell; over an existing cell it leaves that
// cell's style and drops its value. From block row `styled_from` on, a column with a style in
// `column_styles` gets it on every cell, written or blank (a format laid over the columns as they
// are written, rather than by a walk over the whole sheet per column afterwards).
Status write_block(EditorState& state, std::span<const std::vector<TypedCell>> rows, std::string_view start,
                   std::span<const Restyle* const> column_styles = {}, std::size_t styled_from = 0);
// The same from a start cell already read, rows of cells whose texts live elsewhere.
Status write_block(EditorState& state, std::span<const std::span<const CellText>> rows, CellRef start,
                   std::span<const Restyle* const> column_styles = {}, std::size_t styled_from = 0);

// ---- row queries ----

// Spans wider than this are refused: a sheet has no more columns, and an empty or very long piece
// would otherwise ask for a table of billions of entries.
inline constexpr std::uint64_t kMaxColumnSpan = 16384;

// Highest row number of a cell in any of the comma-separated columns; 0 when there is none.
// Cells are read by their `r` attribute, wherever they lie; malformed XML ends the reading.
std::uint32_t last_row_index(const EditorState& state, std::string_view columns);
// Highest row number per column of a span such as A:E, in column order.
Result<std::vector<std::uint32_t>> last_rows_index(const EditorState& state, std::string_view span);

}  // namespace qm
