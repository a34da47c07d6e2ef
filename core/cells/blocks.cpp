#include <algorithm>

#include "cells/cells.hpp"
#include "support/text.hpp"

namespace qm {

Status append_row(EditorState& state, std::span<const std::string> values) {
    resolve_last_row(state);
    if (Status fits = check_row_fits(state.last_row, values.size()); !fits) return fits;
    const std::uint32_t row = ++state.last_row;
    open_sheet_data(state.sheet_xml);
    auto data = find_sheet_data(state.sheet_xml);
    if (!data) return fail(std::move(data.error()));
    std::string markup;
    std::size_t size = 32;
    for (const auto& v : values) size += v.size() + 48;
    markup.reserve(size);
    markup += "<row r=\"";
    append_decimal(markup, row);
    markup += "\">";
    std::string ref;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ref.clear();
        append_column_letters(ref, i);
        append_decimal(ref, row);
        append_rendered_cell(markup, ref, values[i], std::nullopt);
    }
    markup += "</row>";
    insert_at(state.sheet_xml, data->content_end, markup);
    return {};
}

namespace {

// Block values are plain texts, classified as set_cell classifies them, or typed cells.
CellWrite write_of(std::uint64_t column, const std::string& value) { return {column, value, false, std::nullopt, false}; }
CellWrite write_of(std::uint64_t column, const TypedCell& value) { return {column, value.text, false, value.kind, false}; }
CellWrite write_of(std::uint64_t column, const CellText& value) { return {column, value.text, false, value.kind, false}; }

template <class Row>
Status write_values(EditorState& state, std::span<const Row> rows, CellRef start_ref,
                    std::span<const Restyle* const> column_styles = {}, std::size_t styled_from = 0) {
    std::size_t width = 0;
    for (const auto& row : rows) width = std::max(width, row.size());
    if (Status fits = check_block_fits(start_ref, rows.size(), width); !fits) return fits;
    open_sheet_data(state.sheet_xml);
    const std::uint64_t first_column = start_ref.column;
    const std::uint32_t first_row = start_ref.row;
    if (rows.empty()) return {};

    // Row numbers wrap at 2^32; a later row given the same number replaces the earlier one.
    struct Pending {
        std::uint32_t row;
        std::size_t index;
    };
    std::vector<Pending> pending;
    pending.reserve(rows.size());
    std::size_t values = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        pending.push_back({static_cast<std::uint32_t>(first_row + i), i});
        values += rows[i].size();
    }
    auto by_row = [](const Pending& a, const Pending& b) { return a.row < b.row; };
    if (!std::is_sorted(pending.begin(), pending.end(), by_row)) {
        std::stable_sort(pending.begin(), pending.end(), by_row);
        std::vector<Pending> unique;
        unique.reserve(pending.size());
        for (const Pending& p : pending) {
            if (!unique.empty() && unique.back().row == p.row) unique.back() = p;
            else unique.push_back(p);
        }
        pending = std::move(unique);
    }
    std::vector<CellWrite> cells;
    cells.reserve(values);
    for (const Pending& p : pending)
        for (std::size_t c = 0; c < rows[p.index].size(); ++c) {
            cells.push_back(write_of(first_column + c, rows[p.index][c]));
            if (p.index >= styled_from && c < column_styles.size()) cells.back().value_style = column_styles[c];
        }
    std::vector<RowWrites> writes;
    writes.reserve(pending.size());
    std::size_t at = 0;
    for (const Pending& p : pending) {
        writes.push_back({p.row, std::span(cells).subspan(at, rows[p.index].size())});
        at += rows[p.index].size();
    }
    return write_rows(state, writes);
}

}  // namespace

Status write_block(EditorState& state, std::span<const std::vector<std::string>> rows, std::string_view start) {
    auto start_ref = read_start_cell(start);
    if (!start_ref) return fail(std::move(start_ref.error()));
    return write_values(state, rows, *start_ref);
}

Status write_block(EditorState& state, std::span<const std::vector<TypedCell>> rows, std::string_view start,
                   std::span<const Restyle* const> column_styles, std::size_t styled_from) {
    auto start_ref = read_start_cell(start);
    if (!start_ref) return fail(std::move(start_ref.error()));
    return write_values(state, rows, *start_ref, column_styles, styled_from);
}

Status write_block(EditorState& state, std::span<const std::span<const CellText>> rows, CellRef start,
                   std::span<const Restyle* const> column_styles, std::size_t styled_from) {
    return write_values(state, rows, start, column_styles, styled_from);
}

}  // namespace qm
