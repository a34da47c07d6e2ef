// Laying a style change over the cells of a range: one cell in place, or a rewrite of the sheet
// text for a rectangle, a column or a row. The rewrites build the new text aside and install it
// only when the whole walk succeeded.
#include <algorithm>
#include <map>
#include <vector>

#include "styles/styles.hpp"
#include "styles/walk.hpp"
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

// The old style of a cell start tag as the walkers read it: a number gives that index, other text
// no style; a value without its closing quote fails with `quote_error`.
Result<std::optional<std::uint32_t>> walker_tag_style(std::string_view tag, std::string_view quote_error) {
    std::size_t at = find(tag, " s=\"");
    if (at == npos) return std::optional<std::uint32_t>();
    std::size_t begin = at + 4;
    std::size_t quote = find(tag, "\"", begin);
    if (quote == npos) return fail(std::string(quote_error));
    return try_parse_u32(tag.substr(begin, quote - begin));
}

void append_new_cell(std::string& out, std::uint64_t column, std::uint32_t row, std::uint32_t index) {
    out += "<c r=\"";
    append_column_letters(out, column);
    append_decimal(out, row);
    out += "\" s=\"";
    append_decimal(out, index);
    out += "\"/>";
}

void append_new_row(std::string& out, std::uint32_t row, std::uint64_t first, std::uint64_t last,
                    std::uint32_t index) {
    out += "<row r=\"";
    append_decimal(out, row);
    out += "\">";
    for (std::uint64_t c = first; c <= last; ++c) append_new_cell(out, c, row, index);
    out += "</row>";
}

// The start tag of a row, opened when it was written self-closing.
void append_open_row_tag(std::string& out, std::string_view text, const RowSpan& row) {
    std::string_view tag = text.substr(row.begin, row.tag_end - row.begin);
    if (row.self_closing) {
        out.append(tag.substr(0, tag.size() - 2));
        out += '>';
    } else {
        out.append(tag);
    }
}

// Restyles every cell of an existing row (for the row walker: no column test).
Status restyle_all_cells(std::string& out, std::string_view text, const RowSpan& row,
                         std::vector<CellSpan>& cells, DerivedStyle& derived) {
    if (Status st = row_cells(text, row, cells); !st) return st;
    std::size_t copied = row.begin;
    for (const CellSpan& cell : cells) {
        std::string_view tag = text.substr(cell.begin, cell.tag_close + 1 - cell.begin);
        auto old = walker_tag_style(tag, "style quote");
        if (!old) return fail(std::move(old.error()));
        auto index = derived(*old);
        if (!index) return fail(std::move(index.error()));
        out.append(text, copied, cell.begin - copied);
        append_tag_with_style(out, tag, *index);
        copied = cell.tag_close + 1;
    }
    out.append(text, copied, row.end - copied);
    return {};
}

// Length of the leading ASCII letters of a reference.
std::size_t letters_length(std::string_view reference) {
    std::size_t n = 0;
    while (n < reference.size() && is_ascii_letter(static_cast<unsigned char>(reference[n]))) ++n;
    return n;
}

}  // namespace

std::string new_styled_row(std::uint32_t row, std::uint32_t first_column, std::uint32_t last_column,
                           std::uint32_t index) {
    std::string out;
    append_new_row(out, row, first_column, last_column, index);
    return out;
}

Result<std::optional<std::uint32_t>> read_cell_style(std::string_view sheet_xml,
                                                     std::string_view reference) {
    std::string needle = "<c r=\"" + std::string(reference) + "\"";
    std::size_t at = rfind(sheet_xml, needle);
    if (at == npos) return std::optional<std::uint32_t>();
    std::size_t gt = find(sheet_xml, ">", at);
    std::string_view tag = sheet_xml.substr(at, gt == npos ? npos : gt - at);
    std::size_t s = find(tag, " s=\"");
    if (s == npos) return std::optional<std::uint32_t>();
    std::size_t begin = s + 4;
    std::size_t quote = find(tag, "\"", begin);
    std::string_view value = tag.substr(begin, quote == npos ? npos : quote - begin);
    if (!is_valid_utf8(value))
        return fail("style attribute of cell " + std::string(reference) + " is not valid UTF-8");
    return std::optional<std::uint32_t>(try_parse_u32(value).value_or(0));
}

Status write_cell_style(EditorState& state, std::string_view reference, std::uint32_t index) {
    std::string_view row_part = reference.substr(letters_length(reference));
    std::string row_needle = "<row r=\"" + std::string(row_part) + "\"";
    std::size_t row_at = rfind(state.sheet_xml, row_needle);
    if (row_at == npos) {
        // set_cell numbers rows by value: when its row still cannot be found by the text of the
        // reference (a row written with other attributes first), give up and undo its cell.
        std::string before = state.sheet_xml;
        std::uint32_t last_row_before = state.last_row;
        if (Status st = set_cell(state, reference, ""); !st) return st;
        row_at = rfind(state.sheet_xml, row_needle);
        if (row_at == npos) {
            state.sheet_xml = std::move(before);
            state.last_row = last_row_before;
            return fail("row of cell " + std::string(reference) + " not found");
        }
    }
    std::string& text = state.sheet_xml;
    std::size_t row_gt = find(text, ">", row_at);
    if (row_gt == npos) return fail("</row> not found");
    std::string new_cell = "<c r=\"" + escape_text(reference) + "\" s=\"" + to_decimal(index) + "\"/>";
    if (text[row_gt - 1] == '/') {
        // A self-closing row has no cells of its own; the next "</row>" belongs to another row.
        splice(text, row_gt - 1, 2, ">" + new_cell + "</row>");
        return {};
    }
    std::size_t row_end = find(text, "</row>", row_gt);
    if (row_end == npos) return fail("</row> not found");
    std::size_t cell = find_before(text, "<c r=\"" + std::string(reference) + "\"", row_at, row_end);
    if (cell == npos) {
        std::uint64_t column = reference_column(reference).value_or(UINT64_MAX);
        insert_at(text, place_for_column(text, row_gt + 1, row_end, column), new_cell);
        return {};
    }
    std::size_t gt = find(text, ">", cell);
    if (gt == npos) return fail("malformed <c> tag");
    std::string_view tag = std::string_view(text).substr(cell, gt + 1 - cell);
    if (std::size_t s = find(tag, " s=\""); s != npos && find(tag, "\"", s + 4) == npos)
        return fail("attr closing '\"' not found");
    std::string rewritten;
    append_tag_with_style(rewritten, tag, index);
    splice(text, cell, tag.size(), rewritten);
    return {};
}

Status style_single_cell(EditorState& state, std::string_view reference, const StyleSpec& change) {
    std::string_view row_part = reference.substr(letters_length(reference));
    // "B03" names row 3, whose row element reads r="3": its cell could never be found by its text.
    if (row_part.size() > 1 && row_part[0] == '0')
        return fail("row number with leading zeros in cell reference: " + std::string(reference));
    auto old = read_cell_style(state.sheet_xml, reference);
    if (!old) return fail(std::move(old.error()));
    auto index = derive_cell_format(state, *old, change);
    if (!index) return fail(std::move(index.error()));
    return write_cell_style(state, reference, *index);
}

Status style_rectangle(EditorState& state, CellRef first, CellRef second, const StyleSpec& change) {
    // New rows are placed without raising the counter, so the owed scan must see the text first.
    resolve_last_row(state);
    const std::uint32_t c1 = std::min(first.column, second.column), c2 = std::max(first.column, second.column);
    const std::uint32_t r1 = std::min(first.row, second.row), r2 = std::max(first.row, second.row);
    std::string_view text = state.sheet_xml;
    DerivedStyle derived(state, change);
    std::optional<std::uint32_t> fresh;  // index of created cells: derived from no style
    auto fresh_index = [&]() -> Result<std::uint32_t> {
        if (!fresh) {
            auto index = derived(std::nullopt);
            if (!index) return fail(std::move(index.error()));
            fresh = *index;
        }
        return *fresh;
    };
    std::uint64_t next_row = r1;  // 64 bits: r2 may be the largest row number
    auto create_rows_below = [&](std::string& out, std::uint64_t limit) -> Status {
        if (next_row >= limit) return {};
        auto index = fresh_index();
        if (!index) return fail(std::move(index.error()));
        for (; next_row < limit; ++next_row)
            append_new_row(out, static_cast<std::uint32_t>(next_row), c1, c2, *index);
        return {};
    };

    std::string out;
    out.reserve(text.size() + 512);
    std::vector<CellSpan> cells;
    std::vector<bool> seen(std::size_t(c2) - c1 + 1);
    std::size_t pos = 0;
    bool any_row = false;
    while (true) {
        auto found = next_row_span(text, pos);
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        const RowSpan& row = **found;
        any_row = true;
        out.append(text, pos, row.begin - pos);
        pos = row.end;
        if (!row.number || *row.number < r1 || *row.number > r2) {
            if (row.number && *row.number > r2)
                if (Status st = create_rows_below(out, std::uint64_t(r2) + 1); !st) return st;
            out.append(text, row.begin, row.end - row.begin);
            continue;
        }
        const std::uint32_t m = *row.number;
        if (Status st = create_rows_below(out, m); !st) return st;
        next_row = std::max<std::uint64_t>(next_row, std::uint64_t(m) + 1);

        if (Status st = row_cells(text, row, cells); !st) return st;
        std::fill(seen.begin(), seen.end(), false);
        for (const CellSpan& cell : cells)
            if (cell.column && *cell.column >= c1 && *cell.column <= c2) seen[*cell.column - c1] = true;
        // Missing cells go before the first cell of a greater column, in ascending order.
        std::uint64_t pending = c1;
        auto add_missing_below = [&](std::uint64_t limit) -> Status {
            for (; pending <= c2 && pending < limit; ++pending) {
                if (seen[pending - c1]) continue;
                auto index = fresh_index();
                if (!index) return fail(std::move(index.error()));
                append_new_cell(out, pending, m, *index);
            }
            return {};
        };

        append_open_row_tag(out, text, row);
        std::size_t copied = row.tag_end;
        for (const CellSpan& cell : cells) {
            out.append(text, copied, cell.begin - copied);
            copied = cell.begin;
            if (!cell.column) continue;
            if (Status st = add_missing_below(*cell.column); !st) return st;
            if (*cell.column < c1 || *cell.column > c2) continue;
            std::string_view tag = text.substr(cell.begin, cell.tag_close + 1 - cell.begin);
            auto old = walker_tag_style(tag, "attr quote");
            if (!old) return fail(std::move(old.error()));
            auto index = derived(*old);
            if (!index) return fail(std::move(index.error()));
            append_tag_with_style(out, tag, *index);
            copied = cell.tag_close + 1;
        }
        std::size_t content_end = row.self_closing ? row.tag_end : row.content_end;
        out.append(text, copied, content_end - copied);
        if (Status st = add_missing_below(std::uint64_t(c2) + 1); !st) return st;
        out += "</row>";
    }
    if (any_row) {
        if (Status st = create_rows_below(out, std::uint64_t(r2) + 1); !st) return st;
        out.append(text, pos);
    } else {
        std::size_t close = rfind(text, "</sheetData>");
        if (close == npos) return fail("</sheetData> tag not found");
        out.append(text, 0, close);
        if (Status st = create_rows_below(out, std::uint64_t(r2) + 1); !st) return st;
        out.append(text, close);
    }
    state.sheet_xml = std::move(out);
    return {};
}

Status style_column(EditorState& state, std::uint32_t column, std::uint32_t first_row,
                    const StyleSpec& change) {
    const std::string letters = index_to_column(column);
    std::string_view text = state.sheet_xml;
    DerivedStyle derived(state, change);
    std::string out;
    std::size_t copied = 0, pos = 0;
    while ((pos = find(text, "<c", pos)) != npos) {
        std::size_t gt = find(text, ">", pos);
        if (gt == npos) return fail("cell tag end");
        std::string_view tag = text.substr(pos, gt + 1 - pos);
        std::size_t at = pos;
        pos = gt + 1;
        if (!opens_cell_at(text, at)) continue;
        auto ref = tag_reference(tag);
        if (!ref) continue;
        std::size_t digit = find_first_digit(*ref);
        if (digit == npos || ascii_uppercase(ref->substr(0, digit)) != letters) continue;
        std::string_view digits = ref->substr(digit);
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return is_ascii_digit(c); }))
            continue;
        auto row = try_parse_u32(digits);
        if (!row || *row < first_row) continue;
        auto old = walker_tag_style(tag, "style quote");
        if (!old) return fail(std::move(old.error()));
        auto index = derived(*old);
        if (!index) return fail(std::move(index.error()));
        if (out.empty()) out.reserve(text.size() + 512);
        out.append(text, copied, at - copied);
        append_tag_with_style(out, tag, *index);
        copied = gt + 1;
    }
    if (copied == 0) return {};  // no cell of the column: the text stays as it is
    out.append(text, copied);
    state.sheet_xml = std::move(out);
    return {};
}

Status style_row(EditorState& state, std::uint32_t row_number, const StyleSpec& change) {
    std::string_view text = state.sheet_xml;
    DerivedStyle derived(state, change);
    std::string out;
    std::vector<CellSpan> cells;
    std::size_t copied = 0, pos = 0;
    while (true) {
        auto found = next_row_span(text, pos);
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        const RowSpan& row = **found;
        pos = row.end;
        if (row.number != row_number || row.self_closing) continue;
        if (out.empty()) out.reserve(text.size() + 512);
        out.append(text, copied, row.begin - copied);
        if (Status st = restyle_all_cells(out, text, row, cells, derived); !st) return st;
        copied = row.end;
    }
    if (copied == 0) return {};
    out.append(text, copied);
    state.sheet_xml = std::move(out);
    return {};
}

Status apply_style(EditorState& state, const RangeSpec& range, const StyleSpec& change) {
    switch (range.kind) {
        case RangeSpec::Kind::Cell: return style_single_cell(state, range.cell, change);
        case RangeSpec::Kind::CellRange:
            return style_rectangle(state, range.range.first, range.range.second, change);
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

}  // namespace qm
