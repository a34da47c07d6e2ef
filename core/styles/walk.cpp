#include "styles/walk.hpp"

#include "cells/cells.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"

namespace qm {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Column of a reference's letters (either case), absent when the reference has no digit.
std::optional<std::uint64_t> tag_column(std::string_view tag) {
    auto ref = tag_reference(tag);
    if (!ref) return std::nullopt;
    std::size_t digit = find_first_digit(*ref);
    if (digit == npos) return std::nullopt;
    return column_to_index(ref->substr(0, digit));
}
}  // namespace


bool opens_cell_at(std::string_view text, std::size_t at) {
    if (at + 2 >= text.size()) return true;
    char next = text[at + 2];
    return is_blank(next) || next == '/' || next == '>';
}

Status row_cells(std::string_view text, const RowSpan& row, std::vector<CellSpan>& cells) {
    cells.clear();
    if (row.self_closing) return {};
    std::size_t pos = row.tag_end;
    const std::size_t limit = row.content_end;
    while (true) {
        std::size_t at = find_before(text, "<c", pos, limit);
        if (at == npos) return {};
        if (!opens_cell_at(text, at)) {
            pos = at + 2;
            continue;
        }
        std::size_t gt = find_before(text, ">", at, limit);
        if (gt == npos) return fail("cell tag end");
        CellSpan cell;
        cell.begin = at;
        cell.tag_close = gt;
        if (auto column = tag_column(text.substr(at, gt + 1 - at)))
            cell.column = static_cast<std::uint32_t>(*column);
        if (text[gt - 1] == '/') {
            cell.end = gt + 1;
        } else {
            // Bounded by the row: a cell cut short must not swallow the rows after it.
            std::size_t close = find_before(text, "</c>", gt + 1, limit);
            if (close == npos) return fail("</c> missing");
            cell.end = close + 4;
        }
        cells.push_back(cell);
        pos = cell.end;
    }
}

std::optional<std::string_view> tag_reference(std::string_view tag) {
    std::size_t r = find(tag, " r=\"");
    if (r == npos) return std::nullopt;
    std::size_t quote = find(tag, "\"", r + 4);
    if (quote == npos) return std::nullopt;
    return tag.substr(r + 4, quote - r - 4);
}

void append_tag_with_style(std::string& out, std::string_view tag, std::uint32_t index) {
    if (std::size_t s = find(tag, " s=\""); s != npos) {
        std::size_t quote = find(tag, "\"", s + 4);
        if (quote == npos) {
            out.append(tag);
            return;
        }
        out.append(tag.substr(0, s + 4));
        append_decimal(out, index);
        out.append(tag.substr(quote));
        return;
    }
    bool self_closing = tag.size() >= 2 && tag[tag.size() - 2] == '/';
    std::size_t close = tag.size() - (self_closing ? 2 : 1);
    out.append(tag.substr(0, close));
    out += " s=\"";
    append_decimal(out, index);
    out += '"';
    out.append(tag.substr(close));
}

bool append_tag_without_style(std::string& out, std::string_view tag) {
    std::size_t s = find(tag, " s=\"");
    if (s == npos) {
        out.append(tag);
        return true;
    }
    std::size_t quote = find(tag, "\"", s + 4);
    if (quote == npos) return false;
    out.append(tag.substr(0, s));
    out.append(tag.substr(quote + 1));
    return true;
}

std::size_t place_for_column(std::string_view text, std::size_t from, std::size_t limit,
                             std::uint64_t column) {
    std::size_t pos = from;
    while (true) {
        std::size_t at = find_before(text, "<c", pos, limit);
        if (at == npos) return limit;
        std::size_t gt = find_before(text, ">", at, limit);
        if (gt == npos) return limit;
        pos = gt + 1;
        if (!opens_cell_at(text, at)) continue;
        // The same ordering rule as set_cell, whose cells these are placed among.
        auto ref = tag_reference(text.substr(at, gt + 1 - at));
        if (!ref) continue;
        if (auto other = reference_column(*ref); other && *other > column) return at;
    }
}

}  // namespace qm
