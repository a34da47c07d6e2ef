#include <algorithm>

#include "cells/cells.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

// Calls f(letters, row) for every cell: letters being the raw text of its `r` before the first
// digit and row its number (0 when it does not read); a cell without `r` stands at its position.
template <class F>
void for_each_cell_ref(std::string_view sheet_xml, F&& f) {
    std::string implied;
    for_each_sheet_cell(sheet_xml, [&](const SheetRow& row, const SheetCell& cell) {
        if (!cell.r) {
            if (!cell.column || !row.number) return;
            implied.clear();
            append_column_letters(implied, *cell.column);
            f(std::string_view(implied), *row.number);
            return;
        }
        std::size_t digit = find_first_digit(*cell.r);
        if (digit == npos) {
            f(*cell.r, 0u);
            return;
        }
        auto number = parse_row_number(cell.r->substr(digit));
        f(cell.r->substr(0, digit), number ? *number : 0u);
    });
}

}  // namespace

std::uint32_t last_row_index(const EditorState& state, std::string_view columns) {
    const auto wanted = parse_column_list(columns);
    std::uint32_t last = 0;
    std::string key;
    for_each_cell_ref(state.sheet_xml, [&](std::string_view letters, std::uint32_t row) {
        if (row <= last) return;
        key.assign(letters);
        for (char& c : key) c = ascii_upper(c);
        if (wanted.contains(key)) last = row;
    });
    return last;
}

Result<std::vector<std::uint32_t>> last_rows_index(const EditorState& state, std::string_view span) {
    auto bounds = parse_column_span(span);
    if (!bounds) return fail(std::move(bounds.error()));
    auto [first, last] = *bounds;
    if (last - first >= kMaxColumnSpan)
        return fail("column span too wide: at most " + std::to_string(kMaxColumnSpan) + " columns");
    std::vector<std::uint32_t> rows(last - first + 1, 0);
    for_each_cell_ref(state.sheet_xml, [&](std::string_view letters, std::uint32_t row) {
        std::uint64_t index = column_to_index(letters);
        if (index < first || index > last) return;
        std::uint32_t& slot = rows[index - first];
        slot = std::max(slot, row);
    });
    return rows;
}

}  // namespace qm
