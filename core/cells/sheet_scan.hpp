#pragma once
// The one reader of a worksheet's rows and cells. Every writer, walker, query and fix-up finds
// rows and cells through it, so all of them agree on what markup means: attributes in any order,
// either quote and white space inside tags; comments, CDATA sections and processing instructions
// skipped; rows and cells without `r` placed after the one before them; a self-closed sheetData,
// row or cell. Tag names are compared exactly ("row", "c"): prefixed SpreadsheetML is turned into
// the default-namespace form when a part is loaded.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// The sheetData element. A self-closed one has content_begin == content_end == end.
struct SheetDataSpan {
    std::size_t begin = 0;          // "<sheetData"
    std::size_t content_begin = 0;  // just after the start tag
    std::size_t content_end = 0;    // "</sheetData>"
    std::size_t end = 0;            // just after the element
    bool self_closing = false;
};

struct SheetRow {
    std::size_t begin = 0;        // "<row"
    std::size_t tag_end = 0;      // just after the start tag
    std::size_t content_end = 0;  // "</row>"; tag_end for a self-closed row
    std::size_t end = 0;          // just after the element
    // The written `r`, or for a row without one the number after the previous row's. Absent when
    // `r` does not read as a row number, and after such a row until a row states its number.
    std::optional<std::uint32_t> number;
    bool has_r = false;  // `r` is written (whether or not it reads)
    bool self_closing = false;
};

struct SheetCell {
    std::size_t begin = 0;        // "<c"
    std::size_t tag_end = 0;      // just after the start tag
    std::size_t content_end = 0;  // "</c>"; tag_end for a self-closed cell
    std::size_t end = 0;          // just after the element
    // 0-based column: the letters of `r`, or for a cell without `r` the column after the previous
    // cell's in its row. Absent when `r` has no plain letters-then-digits form (or follows such a
    // cell without `r`).
    std::optional<std::uint64_t> column;
    std::optional<std::uint32_t> r_row;  // the row number of `r`, when it has one that reads
    std::optional<std::string_view> r;  // raw values, entities not resolved
    std::optional<std::string_view> s;
    std::optional<std::string_view> t;
    // The content of the cell's `v`, `f` and `is` children (the last of each), for readers;
    // `formula_tag` is the `f` start tag with its t/ref/si attributes.
    std::string_view value, formula, formula_tag, inline_text;
    bool has_value = false, has_formula = false, has_inline = false;
    bool self_closing = false;

    std::string_view start_tag(std::string_view text) const { return text.substr(begin, tag_end - begin); }
};

// The sheetData element: "</sheetData> tag not found" when there is none or it is not closed
// (the end is found by searching backwards, so a large sheet is not read to find it). Readers
// pass `open_to_end` to take an unclosed one as running to the end of the text.
Result<SheetDataSpan> find_sheet_data(std::string_view xml, bool open_to_end = false);

// A self-closed sheetData becomes an open and close pair, keeping its attributes, so that rows can
// be inserted. Nothing else changes; a sheet without sheetData is left alone.
void open_sheet_data(std::string& xml);

// Walks the rows of sheetData in text order. A malformed row or sheetData fails with the message
// the writers report ("malformed <row>", "</row> not found", "cell tag end", "</c> missing",
// "</sheetData> tag not found"); the rows before it were returned.
class RowScanner {
public:
    RowScanner(std::string_view xml, const SheetDataSpan& data);
    // Walks from `from` (the start of a row, from a row index) up to sheetData's end, with
    // `previous` as the number of the row before for a first row without `r`.
    RowScanner(std::string_view xml, const SheetDataSpan& data, std::size_t from, std::uint32_t previous);

    // The next row, with its cells in `cells` (cleared first) when that is given. On failure
    // `cells` holds those whose start tags were read. Without `cells` the row's content is not
    // read: its end is found by a byte search where nothing can hide an end tag. Rows numbered
    // below `cells_from` are skipped that way too (a reader of a range starts there).
    Result<std::optional<SheetRow>> next(std::vector<SheetCell>* cells = nullptr, std::uint32_t cells_from = 0);
    // Position just after the last row read, or the start of sheetData's content.
    std::size_t position() const { return pos_; }
    // Number of the last row whose start tag was read, even when its content then failed.
    std::optional<std::uint32_t> last_number() const { return previous_; }

private:
    std::string_view text_;
    std::size_t pos_;
    std::size_t limit_;
    std::optional<std::uint32_t> previous_;  // number of the row before, for rows without `r`
    bool started_ = false;
};

// The cells of one row returned by RowScanner, in text order with their columns.
Status scan_row_cells(std::string_view xml, const SheetRow& row, std::vector<SheetCell>& cells);

// Calls f(row, cell) for every cell of every row, in text order; stops quietly at the first
// malformed markup, after the cells whose start tags were read before it (queries report what
// they read before the damage).
template <class F>
void for_each_sheet_cell(std::string_view xml, F&& f) {
    auto data = find_sheet_data(xml, true);
    if (!data) return;
    RowScanner rows(xml, *data);
    std::vector<SheetCell> cells;
    for (;;) {
        auto row = rows.next(&cells);
        if (!row) {
            SheetRow cut;
            cut.number = rows.last_number();
            for (const SheetCell& cell : cells) f(cut, cell);
            return;
        }
        if (!*row) return;
        for (const SheetCell& cell : cells) f(**row, cell);
    }
}

// The column (0-based) and row number a cell's `r` names, as reference_column and cell_row read
// them; the common "AB12" in one pass. Either is absent when it does not read.
struct ReferenceParts {
    std::optional<std::uint64_t> column;
    std::optional<std::uint32_t> row;
};
ReferenceParts cell_reference_parts(std::string_view r);

// Row number a cell stands in: the digits of its `r`, else its row's number. Absent when neither
// reads.
std::optional<std::uint32_t> cell_row(const SheetRow& row, const SheetCell& cell);

// Number of the last row element (written or implied) read before the end of sheetData or the
// first malformed markup; 0 when there is none.
std::uint32_t scan_last_row(std::string_view xml);
// The counter with the owed scan of the current sheet folded in.
std::uint32_t resolve_last_row(EditorState& state);

// Appends a start tag ("<row ...>", "<c .../>") with `r="value"` added before its end, for rows
// and cells given their implied position; an empty-element tag is reopened when `reopen`.
void append_tag_with_r(std::string& out, std::string_view tag, std::string_view value, bool reopen = false);

// Appends `tag` ("<c ...>" or "<c .../>") with its `s` value replaced by `index`, or with
// ` s="index"` added before its closing "/>" or ">".
void append_tag_with_style(std::string& out, std::string_view tag, std::uint32_t index);
// Appends `tag` without its attribute `name`; false when the value has no closing quote.
bool append_tag_without_attribute(std::string& out, std::string_view tag, std::string_view name);

// A start tag's raw attribute value (first occurrence), any quote or white space.
std::optional<std::string_view> start_tag_attribute(std::string_view tag, std::string_view name);

}  // namespace qm
