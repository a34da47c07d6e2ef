#include <algorithm>

#include "cells/cells.hpp"
#include "styles/layout.hpp"
#include "styles/walk.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {

constexpr std::string_view kCellNotClosed = "</c> missing while converting text format";
constexpr std::string_view kValueNotUtf8 = "cell value is not UTF-8";

bool equals_ignoring_ascii_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ascii_upper(x) == ascii_upper(y); });
}

// Raw value of the attribute written as ` name="` inside a start tag.
std::optional<std::string_view> tag_attribute(std::string_view tag, std::string_view marker) {
    std::size_t at = find(tag, marker);
    if (at == npos) return std::nullopt;
    std::size_t begin = at + marker.size();
    std::size_t end = find(tag, "\"", begin);
    if (end == npos) return std::nullopt;
    return tag.substr(begin, end - begin);
}

// A reference without a digit, or with a row that does not read, lies in no range.
bool in_range(const RangeSpec& range, std::string_view ref) {
    if (range.kind == RangeSpec::Kind::Cell) return equals_ignoring_ascii_case(ref, range.cell);
    auto split = split_cell_ref(ref);
    if (!split) return false;
    auto row = parse_row_number(split->second);
    if (!row) return false;
    auto column = std::uint32_t(column_to_index(split->first));
    switch (range.kind) {
        case RangeSpec::Kind::Column: return column == range.index;
        case RangeSpec::Kind::Row: return *row == range.index;
        case RangeSpec::Kind::CellRange: {
            const CellRange& r = range.range;
            auto [c1, c2] = std::minmax(r.first.column, r.second.column);
            auto [r1, r2] = std::minmax(r.first.row, r.second.row);
            return column >= c1 && column <= c2 && *row >= r1 && *row <= r2;
        }
        case RangeSpec::Kind::Cell: break;
    }
    return false;
}

// The start tag without its `t` attributes, with t="inlineStr" before its ">".
std::string inline_string_tag(std::string_view tag) {
    std::string out;
    out.reserve(tag.size() + 16);
    std::size_t pos = 0;
    while (true) {
        std::size_t at = find(tag, " t=\"", pos);
        std::size_t quote = at == npos ? npos : find(tag, "\"", at + 4);
        if (quote == npos) break;
        out.append(tag.substr(pos, at - pos));
        pos = quote + 1;
    }
    out.append(tag.substr(pos, tag.size() - 1 - pos));
    out += " t=\"inlineStr\">";
    return out;
}

}  // namespace

Status convert_to_text_cells(EditorState& state, const RangeSpec& range) {
    std::string_view text = state.sheet_xml;
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t pos = 0;
    while (true) {
        std::size_t open = find(text, "<c", pos);
        std::size_t gt = open == npos ? npos : find(text, ">", open);
        if (gt == npos) break;
        if (!opens_cell_at(text, open) || text[gt - 1] == '/') {
            out.append(text.substr(pos, gt + 1 - pos));
            pos = gt + 1;
            continue;
        }
        std::size_t close = find(text, "</c>", gt + 1);
        if (close == npos) return fail(std::string(kCellNotClosed));
        std::size_t cell_end = close + 4;
        std::string_view tag = text.substr(open, gt + 1 - open);
        std::string_view cell = text.substr(open, cell_end - open);
        out.append(text.substr(pos, open - pos));
        pos = cell_end;

        auto ref = tag_attribute(tag, " r=\"");
        auto type = tag_attribute(tag, " t=\"");
        bool numeric = !contains(tag, " t=\"") || (type && *type == "n");
        std::size_t v = find(cell, "<v>");
        std::size_t v_end = v == npos ? npos : find(cell, "</v>", v + 3);
        if (!ref || !in_range(range, *ref) || !numeric || contains(cell, "<f") || contains(cell, "<is") ||
            v_end == npos) {
            out.append(cell);
            continue;
        }
        std::string_view value = cell.substr(v + 3, v_end - v - 3);
        if (!is_valid_utf8(value)) return fail(std::string(kValueNotUtf8));
        out += inline_string_tag(tag);
        out += needs_space_preserve(value) ? "<is><t xml:space=\"preserve\">" : "<is><t>";
        out += escape_minimal(value);
        out += "</t></is></c>";
    }
    out.append(text.substr(pos));
    state.sheet_xml = std::move(out);
    return {};
}

Status set_number_format(EditorState& state, std::string_view range, std::string_view code) {
    if (code.empty()) return fail("Number format code must not be empty");
    if (Status st = check_style_text("Number format code", code); !st) return st;
    StyleSpec change;
    change.num_fmt = std::string(code);
    auto parsed = parse_range(range);
    if (!parsed) return fail(std::move(parsed.error()));
    // A column default or the text conversion follows the restyling: both steps or neither.
    const bool column = parsed->kind == RangeSpec::Kind::Column;
    StyleTransaction transaction(state, column || code == "@");
    if (Status styled = apply_style(state, *parsed, change); !styled) return styled;
    if (column) {
        // A whole column also gets the format as its default, for cells written later.
        auto derive = [&](std::optional<std::uint32_t> old) { return derive_cell_format(state, old, change); };
        if (Status set = restyle_columns(state, parsed->index, parsed->index, derive); !set) return set;
    }
    if (code == "@") return transaction.finish(convert_to_text_cells(state, *parsed));
    return transaction.finish({});
}

}  // namespace qm
