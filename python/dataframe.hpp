#pragma once
// DataFrame import: turning Python values into cell texts, and Editor.with_polars.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cells/cells.hpp"

#include "binding.hpp"

namespace qmpy {

enum class ValueClass { Other, Date, DateTime };

// str() of a finite float as the interpreter writes it, without its slower digit generation:
// the shortest digits that read back to the same value (to_chars finds the same ones), fixed
// from 1e-4 up to 1e16 with ".0" when whole, else d.ddde+XX. False for inf and nan.
bool float_text(double value, std::string& text);
// Fixed notation with 15 decimals, correctly rounded, then trailing zeros and point removed.
void format_serial(double serial, std::string& text);
// The same into `buf`, which holds kSerialChars; returns the end of the text.
inline constexpr std::size_t kSerialChars = 400;
char* serial_chars(double serial, char* buf);
// A DataFrame value as a typed cell: None is blank, str is text, bool is the text TRUE/FALSE,
// dates and datetimes are serial numbers, ints and finite floats numbers, NaN and infinities the
// errors #NUM! and #DIV/0!; anything else is str() of it, a number when that reads as a finite one.
// False with an exception set on failure.
bool typed_value(PyObject* value, qm::TypedCell& cell, ValueClass& cls, bool date1904);
// The error value a spreadsheet shows for a non-finite result.
std::string_view non_finite_error(double value);
// Serial number of a date-time on the day whose serial is `day`.
double datetime_serial(double day, int hour, int minute, int second, int microsecond);

// Columns whose values were dates or datetimes get a date format over their data rows.
enum class ColumnKind { None, Date, DateTime };

// A frame's cells row after row, header first. Their texts are kept in large blocks that never
// move: a frame of a million cells would otherwise allocate and free most of its texts one by one.
class FrameTable {
public:
    // A copy of `text` that lives as long as the table.
    std::string_view keep(std::string_view text);
    void add(qm::CellKind kind, std::string_view text) { cells_.push_back({kind, keep(text)}); }
    void end_row() { row_ends_.push_back(cells_.size()); }
    // `count` rows of `width` blank cells at the end, row after row, for the caller to fill.
    std::span<qm::CellText> add_rows(std::size_t count, std::size_t width);
    std::size_t rows() const { return row_ends_.size(); }
    // Rows from `from` on shorter than `width` get blank cells up to it.
    void pad_rows(std::size_t from, std::size_t width);
    std::vector<std::span<const qm::CellText>> row_spans() const;
    void clear();

private:
    std::vector<qm::CellText> cells_;
    std::vector<std::size_t> row_ends_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t block_used_ = 0, block_size_ = 0;
};

// The frame read through the Arrow PyCapsule stream interface, walking its buffers without a
// Python object per value: the header then the rows, as the row path builds them. Fallback when
// the object has no stream or holds a type (or a value) only the row path converts; Failed with
// an exception set when the stream itself fails.
enum class ArrowRead { Done, Fallback, Failed };
ArrowRead read_arrow_frame(PyObject* frame, FrameTable& table, std::vector<ColumnKind>& kinds, bool date1904);

}  // namespace qmpy
