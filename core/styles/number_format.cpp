#include <algorithm>

#include "cells/cells.hpp"
#include "styles/layout.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {

constexpr std::string_view kCellNotClosed = "</c> missing while converting text format";
constexpr std::string_view kValueNotUtf8 = "cell value is not UTF-8";

bool in_range(const RangeSpec& range, std::uint64_t column, std::uint32_t row) {
    switch (range.kind) {
        case RangeSpec::Kind::Cell: return column == range.ref.column && row == range.ref.row;
        case RangeSpec::Kind::Column: return column == range.index;
        case RangeSpec::Kind::Row: return row == range.index;
        case RangeSpec::Kind::CellRange: {
            const CellRange& r = range.range;
            auto [c1, c2] = std::minmax(r.first.column, r.second.column);
            auto [r1, r2] = std::minmax(r.first.row, r.second.row);
            return column >= c1 && column <= c2 && row >= r1 && row <= r2;
        }
    }
    return false;
}

// The start tag without its `t` attribute, with t="inlineStr" before its ">".
bool append_inline_string_tag(std::string& out, std::string_view tag) {
    if (!append_tag_without_attribute(out, tag, "t")) return false;
    out.pop_back();  // ">"
    out += " t=\"inlineStr\">";
    return true;
}

}  // namespace

Status convert_to_text_cells(EditorState& state, const RangeSpec& range) {
    const std::string_view text = state.sheet_xml;
    auto data = find_sheet_data(text);
    if (!data) return {};  // no cells to convert
    RowScanner rows(text, *data);
    std::vector<SheetCell> cells;
    std::string out;
    std::size_t copied = 0;
    for (;;) {
        auto found = rows.next(&cells);
        if (!found) {
            if (found.error().message == "</c> missing") return fail(std::string(kCellNotClosed));
            return fail(std::move(found.error()));
        }
        if (!*found) break;
        const SheetRow& row = **found;
        for (const SheetCell& cell : cells) {
            // Numbers only: not text, booleans, errors or formulas, and a value to keep.
            auto at = cell_row(row, cell);
            bool numeric = !cell.t || *cell.t == "n";
            if (cell.self_closing || !cell.column || !at || !in_range(range, *cell.column, *at) || !numeric ||
                cell.has_formula || cell.has_inline || !cell.has_value)
                continue;
            if (!is_valid_utf8(cell.value)) return fail(std::string(kValueNotUtf8));
            if (out.empty()) out.reserve(text.size() + text.size() / 8);
            out.append(text, copied, cell.begin - copied);
            if (!append_inline_string_tag(out, cell.start_tag(text))) return fail(std::string(kCellNotClosed));
            out += needs_space_preserve(cell.value) ? "<is><t xml:space=\"preserve\">" : "<is><t>";
            out += escape_minimal(cell.value);
            out += "</t></is></c>";
            copied = cell.end;
        }
    }
    if (copied == 0) return {};
    out.append(text, copied);
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
