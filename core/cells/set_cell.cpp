#include <algorithm>

#include "cells/cells.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

constexpr std::string_view kRowOpen = "<row ";
constexpr std::string_view kRowClose = "</row>";
constexpr std::string_view kRAttr = " r=\"";

// Where the new cell goes in an existing row: the position of the cell to replace (with its end),
// or the insertion offset.
struct CellSlot {
    bool found = false;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Walks the cells of the row content [content_begin, content_end) of `text`.
Result<CellSlot> locate_cell(std::string_view text, std::size_t content_begin, std::size_t content_end,
                             std::string_view coords) {
    std::optional<std::uint64_t> column = reference_column(coords);
    std::size_t insert_at = npos;
    std::size_t walk = content_begin;
    while (walk < content_end) {
        std::size_t lt = find_before(text, "<c", walk, content_end);
        if (lt == npos) break;
        std::size_t gt = find(text, ">", lt + 2);
        if (gt == npos) break;
        walk = gt + 1;
        if (!opens_cell(text, lt + 2)) continue;
        std::size_t attr = find_before(text, kRAttr, lt, gt);
        if (attr == npos) continue;
        std::size_t value_begin = attr + kRAttr.size();
        std::size_t quote = find(text, "\"", value_begin);
        if (quote == npos) continue;
        std::string_view r = text.substr(value_begin, quote - value_begin);
        if (r == coords) {
            std::size_t end;
            if (text[gt - 1] == '/') {
                end = gt + 1;
            } else {
                std::size_t close = find_before(text, "</c>", gt + 1, content_end);
                if (close == npos) return fail("</c> missing");
                end = close + 4;
            }
            return CellSlot{true, lt, end};
        }
        // Spreadsheet applications treat cells out of column order as damage, so a new cell goes
        // before the first greater one; the walk goes on, since the exact reference may follow.
        if (column && insert_at == npos) {
            if (auto other = reference_column(r); other && *other > *column) insert_at = lt;
        }
    }
    std::size_t at = insert_at != npos ? insert_at : content_end;
    return CellSlot{false, at, at};
}

}  // namespace

bool opens_cell(std::string_view text, std::size_t after_c) {
    if (after_c >= text.size()) return true;
    switch (text[after_c]) {
        case ' ': case '/': case '>': case 'r': case 's': case 't': return true;
        default: return false;
    }
}

void normalize_sheet_data(std::string& sheet_xml) {
    constexpr std::string_view kSelfClosed = "<sheetData/>";
    if (std::size_t at = find(sheet_xml, kSelfClosed); at != npos)
        splice(sheet_xml, at, kSelfClosed.size(), "<sheetData></sheetData>");
}

std::optional<std::uint64_t> reference_column(std::string_view reference) {
    std::size_t digit = find_first_digit(reference);
    if (digit == npos) return std::nullopt;  // no row number: not a reference to a cell
    std::string_view letters = reference.substr(0, digit);
    if (letters.empty() || letters.size() > 13) return std::nullopt;
    for (char c : letters)
        if (!is_ascii_letter(static_cast<unsigned char>(c))) return std::nullopt;
    return column_to_index(letters);
}

Status set_cell(EditorState& state, std::string_view coords, std::string_view value) {
    // Checked before anything changes; the canonical text is what the cell is found and written by.
    auto canonical = canonical_cell_coordinate(coords);
    if (!canonical) return fail(std::move(canonical.error()));
    coords = *canonical;
    std::string& xml = state.sheet_xml;
    normalize_sheet_data(xml);

    auto parts = split_cell_ref(coords);
    if (!parts) return fail("invalid cell coordinate \u2013 no digits found");
    auto parsed_row = parse_row_number(parts->second);
    if (!parsed_row) return fail("invalid row number in cell coordinate");
    const std::uint32_t row = *parsed_row;

    std::size_t insert_row_at = npos;  // the first row in text order whose number is greater
    std::size_t pos = 0;
    for (;;) {
        std::size_t lt = find(xml, kRowOpen, pos);
        if (lt == npos) break;
        std::size_t gt = find(xml, ">", lt);
        if (gt == npos) break;
        pos = gt + 1;
        std::size_t attr = find_before(xml, kRAttr, lt, gt);
        if (attr == npos) continue;
        std::size_t value_begin = attr + kRAttr.size();
        std::size_t quote = find(xml, "\"", value_begin);
        if (quote == npos) continue;
        auto number = parse_row_number(std::string_view(xml).substr(value_begin, quote - value_begin));
        if (!number) continue;
        if (*number != row) {
            if (*number > row && insert_row_at == npos) insert_row_at = lt;
            continue;
        }

        if (xml[gt - 1] == '/') {
            // A self-closed row holds no cells: it becomes an open and close pair around the new
            // cell, and the rows after it are left alone.
            std::string markup = ">";
            append_rendered_cell(markup, coords, value, std::nullopt);
            markup += kRowClose;
            splice(xml, gt - 1, 2, markup);
            state.last_row = std::max(state.last_row, row);
            return {};
        }
        std::size_t close = find(xml, kRowClose, gt + 1);
        if (close == npos) break;
        auto slot = locate_cell(xml, gt + 1, close, coords);
        if (!slot) return fail(std::move(slot.error()));
        std::optional<std::uint32_t> style;
        if (slot->found)
            style = style_of_cell(std::string_view(xml).substr(slot->begin, slot->end - slot->begin));
        splice(xml, slot->begin, slot->end - slot->begin, render_cell(coords, value, style));
        state.last_row = std::max(state.last_row, row);
        return {};
    }

    std::string markup = "<row r=\"";
    append_decimal(markup, row);
    markup += "\">";
    append_rendered_cell(markup, coords, value, std::nullopt);
    markup += kRowClose;
    if (insert_row_at == npos) {
        insert_row_at = rfind(xml, "</sheetData>");
        if (insert_row_at == npos) return fail("</sheetData> tag not found");
    }
    insert_at(xml, insert_row_at, markup);
    state.last_row = std::max(state.last_row, row);
    return {};
}

}  // namespace qm
