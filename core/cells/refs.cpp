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
}  // namespace

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
    auto parts = split_cell_ref(ref);
    if (!parts) return std::nullopt;
    auto row = parse_row_number(parts->second);
    if (!row) return std::nullopt;
    return CellRef{static_cast<std::uint32_t>(column_to_index(parts->first)), *row};
}

Result<RangeSpec> parse_range(std::string_view text) {
    RangeSpec spec;
    if (!text.empty() && text.back() == ':') {
        std::string_view before = text.substr(0, text.size() - 1);
        if (all_letters(before)) {
            spec.kind = RangeSpec::Kind::Column;
            spec.index = static_cast<std::uint32_t>(column_to_index(before));
            return spec;
        }
        if (all_digits(before)) {
            auto row = parse_row_number(before);
            if (!row) return fail(std::move(row.error()));
            spec.kind = RangeSpec::Kind::Row;
            spec.index = *row;
            return spec;
        }
    }
    if (std::size_t colon = text.find(':'); colon != npos) {
        auto invalid = [&] { return fail("invalid range: " + std::string(text)); };
        if (colon + 1 == text.size()) return invalid();
        auto first = parse_cell_ref(text.substr(0, colon));
        auto second = parse_cell_ref(text.substr(colon + 1));
        if (!first || !second) return invalid();
        spec.kind = RangeSpec::Kind::CellRange;
        spec.range = CellRange{*first, *second};
        return spec;
    }
    std::size_t digit = find_first_digit(text);
    if (digit == npos) return fail("invalid");
    if (!all_letters(text.substr(0, digit)) || !all_digits(text.substr(digit)))
        return fail("invalid range syntax: " + std::string(text));
    spec.kind = RangeSpec::Kind::Cell;
    spec.cell = std::string(text);
    return spec;
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> parse_column_from(std::string_view text) {
    if (text.size() < 2 || text.back() != ':') return std::nullopt;
    std::string_view before = text.substr(0, text.size() - 1);
    if (all_letters(before)) return std::pair{static_cast<std::uint32_t>(column_to_index(before)), 1u};
    std::size_t digit = find_first_digit(before);
    if (digit == 0 || digit == npos) return std::nullopt;
    std::string_view letters = before.substr(0, digit), digits = before.substr(digit);
    if (!all_letters(letters) || !all_digits(digits)) return std::nullopt;
    auto row = parse_row_number(digits);
    if (!row) return std::nullopt;
    return std::pair{static_cast<std::uint32_t>(column_to_index(letters)), *row};
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
