// Laying a style change over the cells of a range. A cell or rectangle goes through the cell
// writer (so missing cells and rows are placed as values are); a column or row restyles the cells
// that exist. Either builds its edit aside and installs it only when the whole walk succeeded.
#include <algorithm>
#include <map>
#include <vector>

#include "styles/styles.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {

// New index for each old style, computed once per walker call.
class DerivedStyle {
public:
    DerivedStyle(EditorState& state, const StyleSpec& change) : state_(state), change_(change) {}

    Result<std::uint32_t> operator()(std::optional<std::uint32_t> old) {
        if (auto hit = known_.find(old); hit != known_.end()) return hit->second;
        auto index = derive_cell_format(state_, old, change_);
        if (!index) return fail(std::move(index.error()));
        known_.emplace(old, *index);
        return *index;
    }

private:
    EditorState& state_;
    const StyleSpec& change_;
    std::map<std::optional<std::uint32_t>, std::uint32_t> known_;
};

}  // namespace

Status style_cells(EditorState& state, CellRef first, CellRef second, const StyleSpec& change) {
    const std::uint32_t c1 = std::min(first.column, second.column), c2 = std::max(first.column, second.column);
    const std::uint32_t r1 = std::min(first.row, second.row), r2 = std::max(first.row, second.row);
    // Every cell of a rectangle is written out, so its size is the memory and time the call takes:
    // refused before anything changes rather than exhausting memory on "A1:XFD1048576".
    const std::uint64_t area = (std::uint64_t(c2) - c1 + 1) * (std::uint64_t(r2) - r1 + 1);
    if (area > kMaxStyledCells) {
        std::string range;
        append_column_letters(range, c1);
        append_decimal(range, r1);
        range += ':';
        append_column_letters(range, c2);
        append_decimal(range, r2);
        return fail("range " + range + " covers " + std::to_string(area) + " cells; a rectangle is styled cell by cell, at most " +
                    std::to_string(kMaxStyledCells) + " at once: style whole columns (\"A:\") or rows (\"1:\") instead");
    }
    std::vector<CellWrite> cells;
    cells.reserve(std::size_t(c2) - c1 + 1);
    for (std::uint64_t c = c1; c <= c2; ++c) cells.push_back({c, {}, true, std::nullopt, false});
    std::vector<RowWrites> rows;
    rows.reserve(std::size_t(r2) - r1 + 1);
    for (std::uint64_t r = r1; r <= r2; ++r) rows.push_back({static_cast<std::uint32_t>(r), cells});
    DerivedStyle derived(state, change);
    return write_rows(state, rows, [&](std::optional<std::uint32_t> old) { return derived(old); });
}

namespace {

// Restyles, in one pass, the cells whose position `pick(row, cell)` accepts; the text changes only
// when one does.
template <class Pick>
Status restyle_existing(EditorState& state, const StyleSpec& change, Pick pick) {
    const std::string_view text = state.sheet_xml;
    auto data = find_sheet_data(text);
    if (!data) return {};  // no cells to restyle
    DerivedStyle derived(state, change);
    RowScanner rows(text, *data);
    std::vector<SheetCell> cells;
    std::string out, ref;
    std::size_t copied = 0;
    for (;;) {
        auto found = rows.next(&cells);
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        const SheetRow& row = **found;
        for (const SheetCell& cell : cells) {
            auto at = cell_row(row, cell);
            if (!cell.column || !at || !pick(*at, *cell.column)) continue;
            auto index = derived(style_of_cell(cell.start_tag(text)));
            if (!index) return fail(std::move(index.error()));
            if (out.empty()) out.reserve(text.size() + 512);
            out.append(text, copied, cell.begin - copied);
            if (cell.r) {
                append_tag_with_style(out, cell.start_tag(text), *index);
            } else {
                std::string tag;
                ref.clear();
                append_column_letters(ref, *cell.column);
                append_decimal(ref, *at);
                append_tag_with_r(tag, cell.start_tag(text), ref);
                append_tag_with_style(out, tag, *index);
            }
            copied = cell.tag_end;
        }
    }
    if (copied == 0) return {};
    out.append(text, copied);
    state.sheet_xml = std::move(out);
    return {};
}

}  // namespace

Status style_column(EditorState& state, std::uint32_t column, std::uint32_t first_row,
                    const StyleSpec& change) {
    return restyle_existing(state, change, [&](std::uint32_t row, std::uint64_t c) {
        return c == column && row >= first_row;
    });
}

Status style_row(EditorState& state, std::uint32_t row_number, const StyleSpec& change) {
    return restyle_existing(state, change, [&](std::uint32_t row, std::uint64_t) { return row == row_number; });
}

Status apply_style(EditorState& state, const RangeSpec& range, const StyleSpec& change) {
    if (Status flushed = flush_cell_queue(state); !flushed) return flushed;
    switch (range.kind) {
        case RangeSpec::Kind::Cell: return style_cells(state, range.ref, range.ref, change);
        case RangeSpec::Kind::CellRange: return style_cells(state, range.range.first, range.range.second, change);
        case RangeSpec::Kind::Column: return style_column(state, range.index, 1, change);
        case RangeSpec::Kind::Row: return style_row(state, range.index, change);
    }
    return {};
}

Status apply_style(EditorState& state, std::string_view range, const StyleSpec& change) {
    auto spec = parse_range(range);
    if (!spec) return fail(std::move(spec.error()));
    return apply_style(state, *spec, change);
}

Status apply_style_or_queue(EditorState& state, std::string_view range, const StyleSpec& change) {
    auto spec = parse_range(range);
    if (!spec) return fail(std::move(spec.error()));
    if (spec->kind != RangeSpec::Kind::Cell || !state.cell_queue) return apply_style(state, *spec, change);
    DerivedStyle derived(state, change);
    return queue_cell_style(state, spec->ref, [&](std::optional<std::uint32_t> old) { return derived(old); });
}

}  // namespace qm
