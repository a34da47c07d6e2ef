// The style operations behind Editor.set_fill, set_font, set_border and remove_style.
#include <algorithm>
#include <vector>

#include "styles/styles.hpp"
#include "styles/walk.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

constexpr std::string_view kStyleNotClosed = "style attribute not closed";

// Removes the `s` attribute of the cells of rows [r1, r2] whose `r` is exactly the upper-case
// letters of a column in [c1, c2] and the row number, as clearing them one by one would, in one
// pass instead of one search of the sheet per cell. With `any_column`, every cell of those rows.
Status clear_rows(EditorState& state, std::uint32_t r1, std::uint32_t r2, std::uint32_t c1,
                  std::uint32_t c2, bool any_column) {
    std::string_view text = state.sheet_xml;
    std::string out;
    std::vector<CellSpan> cells;
    std::size_t copied = 0, pos = 0;
    std::string expected;
    while (true) {
        auto found = next_row_span(text, pos);
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        const RowSpan& row = **found;
        pos = row.end;
        if (!row.number || *row.number < r1 || *row.number > r2 || row.self_closing) continue;
        if (Status st = row_cells(text, row, cells); !st) return st;
        for (const CellSpan& cell : cells) {
            std::string_view tag = text.substr(cell.begin, cell.tag_close + 1 - cell.begin);
            if (!any_column) {
                if (!cell.column || *cell.column < c1 || *cell.column > c2) continue;
                expected = index_to_column(*cell.column);
                append_decimal(expected, *row.number);
                if (tag_reference(tag) != std::string_view(expected)) continue;
            }
            if (find(tag, " s=\"") == npos) continue;
            if (out.empty()) out.reserve(text.size());
            out.append(text, copied, cell.begin - copied);
            if (!append_tag_without_style(out, tag)) return fail(std::string(kStyleNotClosed));
            copied = cell.tag_close + 1;
        }
    }
    if (copied == 0) return {};
    out.append(text, copied);
    state.sheet_xml = std::move(out);
    return {};
}

Status clear_column(EditorState& state, std::uint32_t column) {
    const std::string needle = " r=\"" + index_to_column(column);
    std::string_view text = state.sheet_xml;
    std::string out;
    std::size_t copied = 0, pos = 0;
    while ((pos = find(text, needle, pos)) != npos) {
        std::size_t at = pos;
        pos += needle.size();
        if (pos >= text.size() || !is_ascii_digit(static_cast<unsigned char>(text[pos]))) continue;
        std::size_t lt = rfind_before(text, "<", at);
        if (lt == npos || lt < copied || lt + 1 >= text.size() || text[lt + 1] != 'c') continue;
        std::size_t gt = find(text, ">", at);
        if (gt == npos) continue;
        std::string_view tag = text.substr(lt, gt + 1 - lt);
        if (find(tag, " s=\"") == npos) continue;
        if (out.empty()) out.reserve(text.size());
        out.append(text, copied, lt - copied);
        if (!append_tag_without_style(out, tag)) return fail(std::string(kStyleNotClosed));
        copied = gt + 1;
        pos = copied;
    }
    if (copied == 0) return {};
    out.append(text, copied);
    state.sheet_xml = std::move(out);
    return {};
}

}  // namespace

Status set_fill(EditorState& state, std::string_view range, std::string_view colour) {
    auto fill = add_fill(state, colour);
    if (!fill) return fail(std::move(fill.error()));
    StyleSpec change;
    change.fill_id = *fill;
    return apply_style(state, range, change);
}

Status set_font(EditorState& state, std::string_view range, std::string_view name, float size,
                bool bold, bool italic, std::optional<Alignment> align) {
    auto font = add_font(state, name, size, bold, italic);
    if (!font) return fail(std::move(font.error()));
    StyleSpec change;
    change.font_id = *font;
    change.alignment = align;
    return apply_style(state, range, change);
}

Status set_border(EditorState& state, std::string_view range, std::string_view style) {
    auto border = add_border(state, style);
    if (!border) return fail(std::move(border.error()));
    StyleSpec change;
    change.border_id = *border;
    return apply_style(state, range, change);
}

Status clear_cell_style(EditorState& state, std::string_view reference) {
    std::size_t digit = find_first_digit(reference);
    if (digit == npos) return fail("invalid cell coordinate \u2013 no digits");
    std::string_view text = state.sheet_xml;
    std::size_t row = rfind(text, "<row r=\"" + std::string(reference.substr(digit)) + "\"");
    if (row == npos) return {};
    std::size_t row_gt = find(text, ">", row);
    if (row_gt != npos && text[row_gt - 1] == '/') return {};  // a self-closing row has no cells
    std::size_t row_end = find(text, "</row>", row);
    if (row_end == npos) return fail("</row> not found");
    std::size_t cell = find(text, "<c r=\"" + std::string(reference) + "\"", row);
    if (cell == npos || cell > row_end) return {};
    std::size_t gt = find(text, ">", cell);
    if (gt == npos) return fail("malformed <c> tag");
    std::size_t s = find_before(text, " s=\"", cell, gt);
    if (s == npos) return {};
    // The closing quote must be inside the tag: anything further would cut into other markup.
    std::size_t quote = find_before(text, "\"", s + 4, gt);
    if (quote == npos) return fail(std::string(kStyleNotClosed));
    state.sheet_xml.erase(s, quote + 1 - s);
    return {};
}

Status remove_style_in_range(EditorState& state, std::string_view range) {
    auto spec = parse_range(range);
    if (!spec) return fail(std::move(spec.error()));
    switch (spec->kind) {
        case RangeSpec::Kind::Cell: return clear_cell_style(state, spec->cell);
        case RangeSpec::Kind::CellRange: {
            const CellRef& a = spec->range.first;
            const CellRef& b = spec->range.second;
            return clear_rows(state, std::min(a.row, b.row), std::max(a.row, b.row),
                              std::min(a.column, b.column), std::max(a.column, b.column), false);
        }
        case RangeSpec::Kind::Column: return clear_column(state, spec->index);
        case RangeSpec::Kind::Row: return clear_rows(state, spec->index, spec->index, 0, 0, true);
    }
    return {};
}

}  // namespace qm
