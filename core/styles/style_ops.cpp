// The style operations behind Editor.set_fill, set_font, set_border and remove_style.
#include <algorithm>
#include <vector>

#include "styles/styles.hpp"
#include "styles/walk.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

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

Result<std::string> normalize_colour(std::string_view text) {
    std::string_view digits = text.starts_with('#') ? text.substr(1) : text;
    bool hex = std::all_of(digits.begin(), digits.end(), [](char c) {
        return is_ascii_digit(static_cast<unsigned char>(c)) || (ascii_upper(c) >= 'A' && ascii_upper(c) <= 'F');
    });
    if (!hex || (digits.size() != 6 && digits.size() != 8))
        return fail("Invalid colour '" + to_utf8_lossy(text) + "': expected RRGGBB or AARRGGBB hex digits");
    return (digits.size() == 6 ? "FF" : "") + ascii_uppercase(digits);
}

Result<std::string_view> canonical_border_style(std::string_view text) {
    static constexpr std::string_view kStyles[] = {
        "none",   "thin",         "medium",     "dashed",        "dotted",           "thick",        "double",
        "hair",   "mediumDashed", "dashDot",    "mediumDashDot", "dashDotDot",       "mediumDashDotDot", "slantDashDot"};
    std::string upper = ascii_uppercase(text);
    for (std::string_view style : kStyles)
        if (ascii_uppercase(style) == upper) return style;
    return fail("Invalid border style '" + to_utf8_lossy(text) +
                "': expected one of none, thin, medium, dashed, dotted, thick, double, hair, mediumDashed, dashDot, "
                "mediumDashDot, dashDotDot, mediumDashDotDot, slantDashDot");
}

Status check_font_size(float size) {
    if (!(size >= 1.0f && size <= 409.0f)) return fail("Font size must be between 1 and 409");
    return {};
}

Status check_style_text(std::string_view what, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        bool forbidden = (c < 0x20 && c != '\t' && c != '\n' && c != '\r') ||
                         (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                          (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE);  // U+FFFE, U+FFFF
        if (forbidden) return fail(std::string(what) + " holds a character XML cannot carry");
    }
    return {};
}

Status set_fill(EditorState& state, std::string_view range, std::string_view colour) {
    auto argb = normalize_colour(colour);
    if (!argb) return fail(std::move(argb.error()));
    StyleTransaction transaction(state);
    auto fill = add_fill(state, *argb);
    if (!fill) return fail(std::move(fill.error()));
    StyleSpec change;
    change.fill_id = *fill;
    return transaction.finish(apply_style_or_queue(state, range, change));
}

Status set_font(EditorState& state, std::string_view range, std::string_view name, float size,
                bool bold, bool italic, std::optional<Alignment> align) {
    if (Status st = check_style_text("Font name", name); !st) return st;
    if (Status st = check_font_size(size); !st) return st;
    StyleTransaction transaction(state);
    auto font = add_font(state, name, size, bold, italic);
    if (!font) return fail(std::move(font.error()));
    StyleSpec change;
    change.font_id = *font;
    change.alignment = align;
    return transaction.finish(apply_style_or_queue(state, range, change));
}

Status set_border(EditorState& state, std::string_view range, std::string_view style) {
    auto word = canonical_border_style(style);
    if (!word) return fail(std::move(word.error()));
    StyleTransaction transaction(state);
    auto border = add_border(state, *word);
    if (!border) return fail(std::move(border.error()));
    StyleSpec change;
    change.border_id = *border;
    return transaction.finish(apply_style_or_queue(state, range, change));
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
