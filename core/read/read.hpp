#pragma once
// Reading what a sheet holds: a forward cursor over the rows and cells of worksheet text, the
// decoding of cell texts, number formats that show dates and times, and the per-editor caches
// reads share (shared strings, which styles are dates, where each row starts).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cells/cells.hpp"
#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// ---- walking a sheet ----

// One cell as it stands in the markup. Views point into the sheet text; nothing is decoded.
struct RawCell {
    std::uint32_t row = 0;      // 1-based; implied from the row when the cell has no usable `r`
    std::uint32_t column = 0;   // 0-based; the column after the previous cell's when implied
    std::uint32_t style = 0;    // `s`, 0 when absent
    std::string_view type;      // `t` as written, empty when absent
    std::string_view value;     // content of `v`
    std::string_view inline_text;  // content of `is`
    std::string_view formula;   // content of `f`
    std::string_view formula_tag;  // the `f` start tag, for its t/ref/si attributes
    bool has_value = false;
    bool has_inline = false;
    bool has_formula = false;
};

// The rows and cells of a sheet as readers see them: the sheet scanner's walk, with the positions
// the markup leaves open completed, since a reader has to put every value somewhere: a row whose
// `r` does not read is the row after the one before, and a cell whose `r` does not read is the
// column after the one before in its row (writers leave such rows and cells alone instead).
class SheetCursor {
public:
    // Walks the sheetData of a whole worksheet.
    explicit SheetCursor(std::string_view sheet);
    // Walks from `offset` (the start of a row tag) with `previous_row` as the row before it, in the
    // sheetData a whole-sheet cursor found (absent: a sheet without one).
    SheetCursor(std::string_view sheet, const std::optional<SheetDataSpan>& data, std::size_t offset,
                std::uint32_t previous_row);

    // The next row's number, absent at the end; an error names what is malformed. With
    // `read_cells` its cells are in cells(), else, or when its number is below `cells_from`, its
    // content is skipped unread.
    Result<std::optional<std::uint32_t>> next_row(bool read_cells = true, std::uint32_t cells_from = 0);
    // Where the last row's start tag begins.
    std::size_t row_offset() const { return row_offset_; }
    const std::vector<RawCell>& cells() const { return cells_; }
    // The sheetData walked; absent when the sheet has none.
    const std::optional<SheetDataSpan>& sheet_data() const { return data_; }

private:
    std::string_view text_;
    std::optional<SheetDataSpan> data_;
    std::optional<RowScanner> rows_;
    std::vector<SheetCell> scanned_;
    std::vector<RawCell> cells_;
    std::uint32_t row_ = 0;
    std::size_t row_offset_ = 0;
};

// ---- decoding ----

// Text content as XML gives it: entity and character references resolved, CDATA taken as is,
// CR LF and lone CR read as LF; markup inside is dropped.
void append_xml_text(std::string& out, std::string_view raw);
// The `_xHHHH_` escapes of cell text decoded in place ("_x005F_" is a literal underscore).
void decode_cell_escapes(std::string& text, std::size_t from = 0);
// A string item (`si` or `is` content): the texts of its runs joined, phonetic runs left out,
// references and escapes decoded.
void append_string_item(std::string& out, std::string_view raw);

// ---- number formats ----

enum class DateKind : std::uint8_t { None, Date, DateTime, Time, Duration };

// What a number format shows: `code` when the format has one, else the built-in id's meaning.
DateKind classify_number_format(std::uint32_t id, const std::string* code);
DateKind classify_format_code(std::string_view code);

struct DateParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, microsecond = 0;
};

// A serial day number as a date and time, rounded to the millisecond as peers read it, in the
// 1900 system (with its phantom 29 February 1900) or the 1904 one. Absent outside years 1..9999.
std::optional<DateParts> serial_to_date(double serial, bool date1904);
// The same serial as whole milliseconds of a duration.
std::optional<std::int64_t> serial_to_milliseconds(double serial);

// ---- values ----

struct CellValue {
    enum class Kind { Empty, Integer, BigInteger, Float, Text, Bool, Error, Date, DateTime, Time, Duration };
    Kind kind = Kind::Empty;
    std::int64_t integer = 0;   // Integer; milliseconds for Duration
    double number = 0;          // Float
    bool flag = false;          // Bool
    std::string_view text;      // Text, Error, and the digits of BigInteger
    std::int64_t shared_index = -1;  // Text read from the shared strings
    DateParts date;
};

// Reads of one editor share what they load: the shared strings once for the editor's life, and
// the style and row tables until the next edit.
struct ReadCache {
    bool strings_loaded = false;
    std::string strings;               // every shared string, decoded, back to back
    std::vector<std::size_t> string_ends;
    // Valid until an edit: note_edit clears them.
    std::optional<bool> date1904;
    bool styles_ready = false;
    std::vector<DateKind> style_kinds;  // by cell format index
    std::string index_sheet;           // part the row index describes
    std::vector<std::pair<std::uint32_t, std::size_t>> row_starts;  // (row, offset), ascending
    std::optional<SheetDataSpan> sheet_data;  // of the text the index describes
    bool index_ready = false;
};

// The cache of a state, made on first use.
ReadCache& read_cache(EditorState& state);
// Anything may have changed: the sheet text, the style sheet or the workbook part.
void note_edit(EditorState& state);

// Interprets cells of the current sheet; the shared strings are loaded on the first cell that
// needs them.
class CellReader {
public:
    explicit CellReader(EditorState& state);
    // Views in the result stay valid until the next call.
    Result<CellValue> value(const RawCell& cell);
    Result<std::string_view> shared_string(std::uint64_t index);

private:
    DateKind date_kind(std::uint32_t style);

    EditorState& state_;
    ReadCache& cache_;
    bool date1904_ = false;
    std::string scratch_;
};

// The value of one cell of the current sheet (found through the row index).
Result<CellValue> read_cell(CellReader& reader, EditorState& state, std::uint32_t row, std::uint32_t column);
// The cell's raw markup fields; absent when the cell is not in the sheet.
Result<std::optional<RawCell>> find_raw_cell(EditorState& state, std::uint32_t row, std::uint32_t column);

// The formula of a cell with its "=", shared-formula followers translated to their own cell;
// absent when the cell has none.
Result<std::optional<std::string>> read_formula(EditorState& state, std::uint32_t row, std::uint32_t column);

// ---- ranges ----

// A rectangle of a sheet, 1-based rows and 0-based columns, bounds included.
struct ReadArea {
    std::uint32_t first_row = 1, last_row = 0;
    std::uint32_t first_column = 0, last_column = 0;
    bool open_rows = false;     // "B:D": rows up to the last one holding something
    bool open_columns = false;  // "3:7": columns up to the last one holding something
};

// "A1", "A1:D10", "B:D", "3:7" (either order, any case).
Result<ReadArea> parse_read_area(std::string_view text);

// ---- workbook ----

Result<std::vector<std::string>> sheet_names(const EditorState& state);

}  // namespace qm

namespace qm {

// ---- typed writing ----

// A value whose type the caller knows. Dates and times are written as serial numbers with the
// number format of their kind; text is always text, never a number or a formula.
struct TypedValue {
    enum class Kind { None, Bool, Number, Text, Error, Date, DateTime, Time, Duration };
    Kind kind = Kind::None;
    std::string text;       // Number: a decimal literal; Text; Error ("#NUM!"); Bool: "1" or "0"
    DateParts date;         // Date, DateTime, Time
    std::int64_t microseconds = 0;  // Duration
};

// Number formats typed writes give their date and time kinds.
inline constexpr std::string_view kDateFormat = "yyyy-mm-dd";
inline constexpr std::string_view kDateTimeFormat = "yyyy-mm-dd hh:mm:ss";
inline constexpr std::string_view kTimeFormat = "hh:mm:ss";
inline constexpr std::string_view kDurationFormat = "[h]:mm:ss";

// The serial number of a date and time in the workbook's date system (the inverse of
// serial_to_date, the phantom 29 February 1900 included).
double date_serial(const DateParts& date, bool date1904);
// Days since 1970-01-01 in the proleptic Gregorian calendar (negative before).
std::int64_t days_from_civil(std::int64_t year, unsigned month, unsigned day);
// The serial number of the day `days` after 1970-01-01 in the workbook's date system.
std::int64_t serial_day(std::int64_t days, bool date1904);
// Whether the workbook counts dates from 1904.
bool uses_1904(EditorState& state);

// One cell's markup kind and text; the number format it needs, if any.
TypedCell typed_cell(const TypedValue& value, bool date1904, std::string_view* format);

// Writes rows of typed values with their top-left cell at `start`, merged into existing rows in
// one pass as write_block does, then gives date and time cells their formats (one pass per kind
// present). Existing cells keep their style except for the number format of date cells. On
// failure the sheet and the style sheet are as they were.
Status write_typed_rows(EditorState& state, std::span<const std::vector<TypedValue>> rows, CellRef start);

}  // namespace qm
