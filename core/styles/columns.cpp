#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <functional>
#include <vector>

#include "cells/cells.hpp"
#include "styles/attributes.hpp"
#include "styles/layout.hpp"
#include "styles/sheet_elements.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

constexpr std::string_view kInvalidColumn = "Invalid Excel column: ";
constexpr std::string_view kInvalidColumnRange = "Invalid column range: ";
constexpr std::string_view kWidthRange = "Column width must be in range (0, 255]";
constexpr std::string_view kColsNotClosed = "</cols> not found";
constexpr std::string_view kNoSheetData = "<sheetData> not found on the current sheet";
constexpr std::string_view kDimensionNotClosed = "<dimension> not closed";
// Column numbers are 1-based and written as 32-bit `min`/`max` values.
constexpr std::uint32_t kMaxColumnIndex = UINT32_MAX - 1;

// One `col` element of the block: its span and where its markup stands in the block.
struct ColElement {
    std::uint32_t min = 1;
    std::uint32_t max = 1;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view qname;
    std::string_view tag;  // the start tag
};

Result<std::vector<ColElement>> read_cols(std::string_view block) {
    std::vector<ColElement> cols;
    XmlReader reader(block, true);
    int depth = 0;
    while (auto tag = reader.next()) {
        if (tag->kind == TagKind::End) {
            if (--depth == 1 && !cols.empty()) cols.back().end = tag->end;
            continue;
        }
        std::string_view name = tag->name;
        std::size_t colon = name.find(':');
        if (depth == 1 && (colon == npos ? name : name.substr(colon + 1)) == "col") {
            ColElement col;
            if (auto raw = first_attribute(tag->raw, "min")) {
                auto parsed = parse_u32(*raw);
                if (!parsed) return fail(std::move(parsed.error()));
                col.min = *parsed;
            }
            col.max = col.min;
            if (auto raw = first_attribute(tag->raw, "max")) {
                auto parsed = parse_u32(*raw);
                if (!parsed) return fail(std::move(parsed.error()));
                col.max = *parsed;
            }
            col.begin = tag->begin;
            col.end = tag->end;
            col.qname = name;
            col.tag = tag->raw;
            cols.push_back(col);
        }
        if (tag->kind == TagKind::Start) ++depth;
    }
    if (reader.error()) return fail(*reader.error());
    return cols;
}

std::string render_attributes(std::string_view qname, const Attributes& attributes) {
    std::string out = "<";
    out += qname;
    append_attributes(out, attributes);
    out += "/>";
    return out;
}

// A copy of `tag` (every attribute kept) covering min..max.
Attributes span_copy(std::string_view tag, std::uint32_t min, std::uint32_t max) {
    Attributes attributes;
    for_each_attribute(tag, [&](const Attribute& a) { attributes.emplace_back(std::string(a.name), std::string(a.raw_value)); });
    set_attribute(attributes, "min", to_decimal(min));
    set_attribute(attributes, "max", to_decimal(max));
    return attributes;
}

// The change laid over the columns of a span: a width, a new default style derived from the
// current one, or both.
struct ColumnChange {
    std::optional<double> width;
    const ColumnRestyle* restyle = nullptr;

    Status apply(Attributes& attributes, std::optional<std::uint32_t> old_style) const {
        if (width) {
            set_attribute(attributes, "width", format_shortest(*width));
            set_attribute(attributes, "customWidth", "1");
        }
        if (restyle) {
            auto style = (*restyle)(old_style);
            if (!style) return fail(std::move(style.error()));
            set_attribute(attributes, "style", to_decimal(*style));
        }
        return {};
    }
};

// The content of the block with the change laid over columns first..last (1-based): elements
// outside the span are copied byte for byte, those across its edges are split, the columns no
// element covers get elements of their own. The pieces are written in ascending order.
Result<std::string> edited_cols(std::string_view block, std::string_view col_name, std::uint32_t first,
                                std::uint32_t last, const ColumnChange& change) {
    auto cols = read_cols(block);
    if (!cols) return fail(std::move(cols.error()));
    std::vector<std::pair<std::uint32_t, std::string>> pieces;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> covered;
    for (const ColElement& col : *cols) {
        if (col.min > col.max || col.max < first || col.min > last) {
            pieces.emplace_back(col.min, std::string(block.substr(col.begin, col.end - col.begin)));
            continue;
        }
        std::uint32_t lo = std::max(col.min, first), hi = std::min(col.max, last);
        covered.emplace_back(lo, hi);
        if (col.min < lo) pieces.emplace_back(col.min, render_attributes(col.qname, span_copy(col.tag, col.min, lo - 1)));
        Attributes middle = span_copy(col.tag, lo, hi);
        std::optional<std::uint32_t> old_style;
        if (auto raw = first_attribute(col.tag, "style")) old_style = try_parse_u32(*raw);
        if (Status st = change.apply(middle, old_style); !st) return fail(std::move(st.error()));
        pieces.emplace_back(lo, render_attributes(col.qname, middle));
        if (hi < col.max) pieces.emplace_back(hi + 1, render_attributes(col.qname, span_copy(col.tag, hi + 1, col.max)));
    }
    std::sort(covered.begin(), covered.end());
    std::uint64_t next = first;
    auto add_gap = [&](std::uint64_t end) -> Status {  // columns next..end-1 have no element
        if (next >= end) return {};
        Attributes fresh{{"min", to_decimal(next)}, {"max", to_decimal(end - 1)}};
        if (Status st = change.apply(fresh, std::nullopt); !st) return st;
        pieces.emplace_back(static_cast<std::uint32_t>(next), render_attributes(col_name, fresh));
        return {};
    };
    for (const auto& [lo, hi] : covered) {
        if (Status st = add_gap(lo); !st) return fail(std::move(st.error()));
        next = std::max<std::uint64_t>(next, std::uint64_t(hi) + 1);
    }
    if (Status st = add_gap(std::uint64_t(last) + 1); !st) return fail(std::move(st.error()));
    std::stable_sort(pieces.begin(), pieces.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out;
    for (const auto& piece : pieces) out += piece.second;
    return out;
}

// Where a new `cols` block goes when the sheet has none: after the last of `dimension`,
// `sheetViews` and `sheetFormatPr` before `sheetData`; a missing `dimension` is added in front of
// the first of them, as saving would add it.
struct NewColsPlace {
    std::size_t cols_at = 0;
    std::optional<std::size_t> dimension_at;
};

Result<NewColsPlace> place_new_cols(std::string_view sheet) {
    std::size_t data = find(sheet, "<sheetData");
    if (data == npos) return fail(std::string(kNoSheetData));
    NewColsPlace place;
    place.cols_at = data;
    std::size_t after = 0;
    std::size_t dim = find(sheet, "<dimension");
    if (dim != npos) {
        std::size_t gt = find(sheet, ">", dim);
        if (gt == npos) return fail(std::string(kDimensionNotClosed));
        if (dim < data) after = gt + 1;
    } else {
        std::size_t first = data;
        for (std::string_view name : {"<sheetViews", "<sheetFormatPr"})
            first = std::min(first, find_before(sheet, name, 0, data));
        place.dimension_at = first;
    }
    for (std::string_view tag : {"<sheetViews", "<sheetFormatPr"}) {
        std::size_t at = find_before(sheet, tag, 0, data);
        if (at == npos) continue;
        std::size_t end = detail::element_end(sheet, at, tag.substr(1));
        if (end != npos && end <= data) after = std::max(after, end);
    }
    if (after != 0) place.cols_at = after;
    return place;
}

Status edit_columns(EditorState& state, std::uint32_t first, std::uint32_t last, std::optional<double> width,
                    const ColumnRestyle* restyle) {
    if (last > kMaxColumnIndex || first > last) return fail("column index out of range");
    ColumnChange change{width, restyle};
    std::string_view sheet = state.sheet_xml;
    std::string updated;
    std::size_t open = find(sheet, "<cols");
    while (open != npos && !detail::is_name_end(open + 5 < sheet.size() ? sheet[open + 5] : '>'))
        open = find(sheet, "<cols", open + 5);
    if (open != npos) {
        std::size_t gt = find(sheet, ">", open);
        if (gt == npos) return fail(std::string(kColsNotClosed));
        bool self_closing = sheet[gt - 1] == '/';
        std::size_t close = self_closing ? gt + 1 : find(sheet, "</cols>", gt);
        if (close == npos) return fail(std::string(kColsNotClosed));
        std::size_t block_end = self_closing ? close : close + std::string_view("</cols>").size();
        std::string_view block = sheet.substr(open, block_end - open);
        auto content = edited_cols(block, "col", first + 1, last + 1, change);
        if (!content) return fail(std::move(content.error()));
        updated.reserve(sheet.size() + content->size());
        updated.append(sheet.substr(0, open));
        if (self_closing) updated.append("<cols>");
        else updated.append(sheet.substr(open, gt + 1 - open));
        updated.append(*content);
        updated.append("</cols>");
        updated.append(sheet.substr(block_end));
    } else {
        auto placed = place_new_cols(sheet);
        if (!placed) return fail(std::move(placed.error()));
        const NewColsPlace& place = *placed;
        auto content = edited_cols("<cols></cols>", "col", first + 1, last + 1, change);
        if (!content) return fail(std::move(content.error()));
        std::size_t dim_at = place.dimension_at.value_or(place.cols_at);
        updated.reserve(sheet.size() + content->size() + 40);
        updated.append(sheet.substr(0, dim_at));
        if (place.dimension_at) updated.append("<dimension ref=\"A1\"/>");
        updated.append(sheet.substr(dim_at, place.cols_at - dim_at));
        updated.append("<cols>");
        updated.append(*content);
        updated.append("</cols>");
        updated.append(sheet.substr(place.cols_at));
    }
    state.sheet_xml = std::move(updated);
    return {};
}

}  // namespace

Status set_column_span_props(EditorState& state, std::uint32_t first, std::uint32_t last,
                             std::optional<double> width, std::optional<std::uint32_t> style) {
    ColumnRestyle fixed = [&](std::optional<std::uint32_t>) -> Result<std::uint32_t> { return *style; };
    return edit_columns(state, first, last, width, style ? &fixed : nullptr);
}

Status set_column_props(EditorState& state, std::uint32_t column, std::optional<double> width,
                        std::optional<std::uint32_t> style) {
    return set_column_span_props(state, column, column, width, style);
}

Status restyle_columns(EditorState& state, std::uint32_t first, std::uint32_t last, const ColumnRestyle& restyle) {
    return edit_columns(state, first, last, std::nullopt, &restyle);
}

Result<std::string> check_column_letters(std::string_view text) {
    std::string letters = ascii_uppercase(trim_white_space(text));
    if (letters.empty() || !std::all_of(letters.begin(), letters.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return fail(std::string(kInvalidColumn) + std::string(text));
    return letters;
}

Result<std::uint32_t> column_index_of(std::string_view text) {
    auto letters = check_column_letters(text);
    if (!letters) return fail(std::move(letters.error()));
    // Seven letters can already pass the last column number; longer texts could wrap around.
    std::uint64_t index = letters->size() > 7 ? UINT64_MAX : column_to_index(*letters);
    if (index > kMaxColumnIndex) return fail(std::string(kInvalidColumn) + std::string(text));
    return std::uint32_t(index);
}

Result<ColumnSpan> column_letters_of(std::string_view text) {
    std::string_view trimmed = trim_white_space(text);
    std::size_t colon = trimmed.find(':');
    if (colon == npos) {
        auto index = column_index_of(trimmed);
        if (!index) return fail(std::move(index.error()));
        return ColumnSpan{*index, *index};
    }
    auto first = column_index_of(trimmed.substr(0, colon));
    if (!first) return fail(std::move(first.error()));
    auto last = column_index_of(trimmed.substr(colon + 1));
    if (!last) return fail(std::move(last.error()));
    if (*last < *first) return fail(std::string(kInvalidColumnRange) + std::string(text));
    return ColumnSpan{*first, *last};
}

Status check_width(double width) {
    if (!std::isfinite(width) || !(width > 0) || width > 255) return fail(std::string(kWidthRange));
    return {};
}

}  // namespace qm
