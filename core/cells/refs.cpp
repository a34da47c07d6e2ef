#include <algorithm>

#include "cells/cells.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {
bool all_letters(std::string_view s) {
    for (char c : s)
        if (!is_ascii_letter(static_cast<unsigned char>(c))) return false;
    return true;
}
bool all_digits(std::string_view s) {
    for (char c : s)
        if (!is_ascii_digit(static_cast<unsigned char>(c))) return false;
    return true;
}

constexpr std::string_view kGridBounds = " is outside the sheet (columns A to XFD, rows 1 to 1048576)";

// Row digits with leading zeros dropped; 0 and anything above the last row are outside.
std::optional<std::uint32_t> grid_row(std::string_view digits) {
    std::size_t first = digits.find_first_not_of('0');
    if (first == npos) return std::nullopt;
    digits.remove_prefix(first);
    if (digits.size() > 7) return std::nullopt;
    std::uint32_t row = 0;
    for (char c : digits) row = row * 10 + std::uint32_t(c - '0');
    if (row > kMaxRow) return std::nullopt;
    return row;
}

std::optional<std::uint32_t> grid_column(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) return std::nullopt;
    auto index = column_to_index(letters);
    if (index > kMaxColumn) return std::nullopt;
    return static_cast<std::uint32_t>(index);
}

std::string_view without_dollar(std::string_view s) {
    if (!s.empty() && s.front() == '$') s.remove_prefix(1);
    return s;
}

// Column letters with an optional `$` before them, as in "$B:" or "B:".
std::expected<std::uint32_t, RefProblem> read_column_letters(std::string_view text) {
    std::string_view letters = without_dollar(text);
    if (letters.empty() || !all_letters(letters)) return std::unexpected(RefProblem::BadLetters);
    auto column = grid_column(letters);
    if (!column) return std::unexpected(RefProblem::OutsideSheet);
    return *column;
}

std::expected<std::uint32_t, RefProblem> read_row_digits(std::string_view text) {
    std::string_view digits = without_dollar(text);
    if (digits.empty() || !all_digits(digits)) return std::unexpected(RefProblem::BadRow);
    auto row = grid_row(digits);
    if (!row) return std::unexpected(RefProblem::OutsideSheet);
    return *row;
}

}  // namespace

std::expected<CellRef, RefProblem> read_cell_ref(std::string_view text) {
    std::size_t digit = find_first_digit(text);
    if (digit == npos) return std::unexpected(RefProblem::NoDigits);
    // A `$` right before the digits belongs to the row.
    std::size_t row_begin = digit > 0 && text[digit - 1] == '$' ? digit - 1 : digit;
    std::string_view letters = text.substr(0, row_begin);
    if (letters.starts_with('$')) letters.remove_prefix(1);
    if (letters.empty() || !all_letters(letters)) return std::unexpected(RefProblem::BadLetters);
    std::string_view digits = text.substr(digit);
    if (!all_digits(digits)) return std::unexpected(RefProblem::BadRow);
    auto column = grid_column(letters);
    auto row = grid_row(digits);
    if (!column || !row) return std::unexpected(RefProblem::OutsideSheet);
    return CellRef{*column, *row};
}

std::string cell_ref_text(CellRef ref) {
    std::string out;
    out.reserve(11);
    append_column_letters(out, ref.column);
    append_decimal(out, ref.row);
    return out;
}

std::string outside_sheet_message(std::string_view what, std::string_view text) {
    std::string out(what);
    out += ' ';
    out += text;
    out += kGridBounds;
    return out;
}

Result<std::string> canonical_cell_coordinate(std::string_view coords) {
    auto ref = read_cell_ref(coords);
    if (ref) return cell_ref_text(*ref);
    switch (ref.error()) {
        case RefProblem::NoDigits: return fail("invalid cell coordinate \u2013 no digits found");
        case RefProblem::BadLetters:
            return fail("invalid column letters in cell coordinate " + std::string(coords));
        case RefProblem::BadRow: return fail("invalid row number in cell coordinate");
        case RefProblem::OutsideSheet: break;
    }
    return fail(outside_sheet_message("cell coordinate", coords));
}

Result<CellRef> read_start_cell(std::string_view start) {
    auto ref = read_cell_ref(start);
    if (ref) return *ref;
    switch (ref.error()) {
        case RefProblem::NoDigits: return fail("invalid start coordinate \u2013 no digits");
        case RefProblem::BadLetters:
            return fail("invalid column letters in start coordinate " + std::string(start));
        case RefProblem::BadRow: return fail("invalid row in start coordinate");
        case RefProblem::OutsideSheet: break;
    }
    return fail(outside_sheet_message("start coordinate", start));
}

Result<CellRef> read_table_start(std::string_view start) {
    if (auto ref = read_cell_ref(start); !ref && ref.error() == RefProblem::BadLetters) {
        auto parts = split_cell_ref(start);
        return fail("Invalid Excel column: " + std::string(parts ? parts->first : start));
    }
    return read_start_cell(start);
}

Status check_block_fits(CellRef start, std::size_t rows, std::size_t columns) {
    const std::uint64_t last_row = std::uint64_t(start.row) + rows - (rows == 0 ? 0 : 1);
    const std::uint64_t last_column = std::uint64_t(start.column) + columns - (columns == 0 ? 0 : 1);
    if (last_row <= kMaxRow && last_column <= kMaxColumn) return {};
    return fail("a table of " + to_decimal(rows) + " rows and " + to_decimal(columns) + " columns at " +
                cell_ref_text(start) + " does not fit in the sheet (columns A to XFD, rows 1 to 1048576)");
}

Status check_row_fits(std::uint32_t last_row, std::size_t cells) {
    if (last_row >= kMaxRow) return fail("the sheet is full: row 1048576 is its last row");
    if (cells > std::size_t(kMaxColumn) + 1)
        return fail("a row holds at most 16384 cells, not " + to_decimal(cells));
    return {};
}

std::uint64_t column_to_index(std::string_view letters) {
    std::uint64_t value = 0;
    for (char c : letters) {
        auto digit = static_cast<std::uint8_t>(static_cast<std::uint8_t>(ascii_upper(c)) - 64);
        value = value * 26 + digit;
    }
    return value - 1;
}

void append_column_letters(std::string& out, std::uint64_t index) {
    char buf[16];
    std::size_t n = 0;
    for (;;) {
        buf[n++] = static_cast<char>('A' + index % 26);
        if (index < 26) break;
        index = index / 26 - 1;
    }
    while (n > 0) out += buf[--n];
}

std::string index_to_column(std::uint64_t index) {
    std::string out;
    append_column_letters(out, index);
    return out;
}

Result<std::uint32_t> parse_row_number(std::string_view text) { return parse_u32(text); }

std::optional<std::pair<std::string_view, std::string_view>> split_cell_ref(std::string_view ref) {
    std::size_t digit = find_first_digit(ref);
    if (digit == npos) return std::nullopt;
    return std::pair{ref.substr(0, digit), ref.substr(digit)};
}

std::optional<CellRef> parse_cell_ref(std::string_view ref) {
    auto parsed = read_cell_ref(ref);
    return parsed ? std::optional<CellRef>(*parsed) : std::nullopt;
}

Result<RangeSpec> parse_range(std::string_view text) {
    RangeSpec spec;
    auto outside = [&] { return fail(outside_sheet_message("range", text)); };
    if (!text.empty() && text.back() == ':') {
        std::string_view before = text.substr(0, text.size() - 1);
        if (auto column = read_column_letters(before)) {
            spec.kind = RangeSpec::Kind::Column;
            spec.index = *column;
            return spec;
        } else if (column.error() == RefProblem::OutsideSheet) {
            return outside();
        }
        // "B5:" is the column-from form of set_alignment; its cell must lie in the sheet too.
        if (auto ref = read_cell_ref(before); !ref && ref.error() == RefProblem::OutsideSheet) return outside();
        std::string_view digits = without_dollar(before);
        if (!digits.empty() && all_digits(digits)) {
            auto row = read_row_digits(before);
            if (!row) return outside();
            spec.kind = RangeSpec::Kind::Row;
            spec.index = *row;
            return spec;
        }
    }
    if (std::size_t colon = text.find(':'); colon != npos) {
        auto first = read_cell_ref(text.substr(0, colon));
        auto second = read_cell_ref(text.substr(colon + 1));
        if (first && second) {
            spec.kind = RangeSpec::Kind::CellRange;
            spec.range = CellRange{*first, *second};
            return spec;
        }
        bool inside = (first || first.error() == RefProblem::OutsideSheet) &&
                      (second || second.error() == RefProblem::OutsideSheet);
        if (inside) return outside();
        return fail("invalid range: " + std::string(text));
    }
    auto ref = read_cell_ref(text);
    if (!ref) {
        switch (ref.error()) {
            case RefProblem::NoDigits: return fail("invalid");
            case RefProblem::OutsideSheet: return outside();
            default: return fail("invalid range syntax: " + std::string(text));
        }
    }
    spec.kind = RangeSpec::Kind::Cell;
    spec.ref = *ref;
    spec.cell = cell_ref_text(*ref);
    return spec;
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> parse_column_from(std::string_view text) {
    if (text.size() < 2 || text.back() != ':') return std::nullopt;
    std::string_view before = text.substr(0, text.size() - 1);
    if (auto column = read_column_letters(before)) return std::pair{*column, 1u};
    auto ref = read_cell_ref(before);
    if (!ref) return std::nullopt;
    return std::pair{ref->column, ref->row};
}

Result<std::pair<std::uint64_t, std::uint64_t>> parse_column_span(std::string_view text) {
    std::size_t colon = text.find(':');
    if (colon == npos || text.find(':', colon + 1) != npos) return fail("range must be in the form A:E");
    std::string first = ascii_uppercase(trim_white_space(text.substr(0, colon)));
    std::string last = ascii_uppercase(trim_white_space(text.substr(colon + 1)));
    std::uint64_t a = column_to_index(first), b = column_to_index(last);
    if (b < a) return fail("invalid range order");
    return std::pair{a, b};
}

std::unordered_set<std::string> parse_column_list(std::string_view text) {
    std::unordered_set<std::string> set;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = text.find(',', start);
        std::string_view piece = text.substr(start, comma == npos ? npos : comma - start);
        set.insert(ascii_uppercase(trim_white_space(piece)));
        if (comma == npos) break;
        start = comma + 1;
    }
    return set;
}

}  // namespace qm
