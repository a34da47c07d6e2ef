#include "cells/cells.hpp"
#include "styles/layout.hpp"

namespace qm {

Status set_alignment(EditorState& state, std::string_view range, const Alignment& align) {
    StyleSpec change;
    change.alignment = align;
    auto column = parse_column_from(range);
    if (!column) {
        StyleTransaction transaction(state);
        return transaction.finish(apply_style(state, range, change));
    }
    auto [index, first_row] = *column;
    StyleTransaction transaction(state, first_row == 1);
    if (auto styled = style_column(state, index, first_row, change); !styled) return styled;
    // A default for the whole column would also cover the rows above a later first row.
    if (first_row != 1) return transaction.finish({});
    auto derive = [&](std::optional<std::uint32_t> old) { return derive_cell_format(state, old, change); };
    return transaction.finish(restyle_columns(state, index, index, derive));
}

}  // namespace qm
