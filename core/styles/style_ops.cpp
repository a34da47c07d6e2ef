// The style operations behind Editor.set_fill, set_font, set_border and remove_style.
#include <algorithm>
#include <vector>

#include "styles/styles.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {

constexpr std::string_view kStyleNotClosed = "style attribute not closed";
constexpr std::string_view kCellTagEnd = "cell tag end";

// Removes the `s` attribute of the cells that `pick(row, cell)` accepts, in one pass over the rows
// numbered at least `from_row`; the text changes only when a cell had one. A cell start tag that
// does not read (most often an `s` value without its closing quote) fails with `tag_damage`.
template <class Pick>
Status clear_cells(EditorState& state, std::uint32_t from_row, std::string_view tag_damage, Pick pick) {
    const std::string_view text = state.sheet_xml;
    auto data = find_sheet_data(text);
    if (!data) return {};  // no cells to clear
    RowScanner rows(text, *data);
    std::vector<SheetCell> cells;
    std::string out;
    std::size_t copied = 0;
    for (;;) {
        auto found = rows.next(&cells, from_row);
        if (!found && found.error().message == kCellTagEnd) return fail(std::string(tag_damage));
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        const SheetRow& row = **found;
        for (const SheetCell& cell : cells) {
            if (!cell.s || !pick(row, cell)) continue;
            if (out.empty()) out.reserve(text.size());
            out.append(text, copied, cell.begin - copied);
            if (!append_tag_without_attribute(out, cell.start_tag(text), "s")) return fail(std::string(kStyleNotClosed));
            copied = cell.tag_end;
        }
    }
    if (copied == 0) return {};
    out.append(text, copied);
    state.sheet_xml = std::move(out);
    return {};
}

// The cells of rows [r1, r2] whose `r` is exactly the upper-case letters of a column in [c1, c2]
// and the row number, as clearing them one by one would; with `any_column`, every cell of those rows.
Status clear_rows(EditorState& state, std::uint32_t r1, std::uint32_t r2, std::uint32_t c1,
                  std::uint32_t c2, bool any_column) {
    std::string expected;
    return clear_cells(state, r1, kCellTagEnd, [&](const SheetRow& row, const SheetCell& cell) {
        if (!row.number || *row.number < r1 || *row.number > r2) return false;
        if (any_column) return true;
        if (!cell.column || *cell.column < c1 || *cell.column > c2) return false;
        expected = index_to_column(*cell.column);
        append_decimal(expected, *row.number);
        return cell.r == std::string_view(expected);
    });
}

// The cells whose `r` starts with the column's upper-case letters, as the column's cells have
// always been matched.
Status clear_column(EditorState& state, std::uint32_t column) {
    const std::string letters = index_to_column(column);
    return clear_cells(state, 0, kStyleNotClosed, [&](const SheetRow&, const SheetCell& cell) {
        return cell.column == column && cell.r && cell.r->starts_with(letters);
    });
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
    auto at = parse_cell_ref(reference);
    if (!at) return {};
    // The last row of that number holds the cell, as a later duplicate row wins for readers.
    std::optional<SheetRow> last;
    {
        auto data = find_sheet_data(state.sheet_xml);
        if (!data) return {};
        RowScanner rows(state.sheet_xml, *data);
        for (;;) {
            auto found = rows.next();
            if (!found) return fail(std::move(found.error()));
            if (!*found) break;
            if ((*found)->number == at->row) last = **found;
        }
    }
    if (!last) return {};
    const CellRef cell = *at;
    return clear_cells(state, at->row, kStyleNotClosed, [&](const SheetRow& row, const SheetCell& c) {
        return row.begin == last->begin && c.column == cell.column && cell_row(row, c) == cell.row;
    });
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
