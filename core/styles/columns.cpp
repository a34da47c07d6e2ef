#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <map>

#include "cells/cells.hpp"
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
constexpr double kDefaultStyledWidth = 8.43;
// Column numbers are 1-based and written as 32-bit `min`/`max` values.
constexpr std::uint32_t kMaxColumnIndex = UINT32_MAX - 1;

// Column number -> properties, stored as runs of equal properties rather than column by column:
// one `col` element may cover four billion columns. Assigning over a part of a run splits it, so
// the runs always mean exactly what a per-column map would.
class ColumnModel {
public:
    struct Run {
        std::uint32_t last;
        ColumnProps props;
    };

    void assign(std::uint32_t first, std::uint32_t last, const ColumnProps& props) {
        split_before(first);
        split_after(last);
        runs_.erase(runs_.lower_bound(first), runs_.upper_bound(last));
        runs_.emplace(first, Run{last, props});
    }

    // Applies `change` to every column of first..last, creating absent columns with defaults.
    template <class F>
    void update(std::uint32_t first, std::uint32_t last, F&& change) {
        split_before(first);
        split_after(last);
        std::uint64_t next = first;  // first column not yet visited
        auto it = runs_.lower_bound(first);
        while (next <= last) {
            if (it == runs_.end() || it->first > next) {
                std::uint32_t gap_end = (it == runs_.end() || it->first > last) ? last : it->first - 1;
                ColumnProps fresh;
                change(fresh);
                it = std::next(runs_.emplace_hint(it, std::uint32_t(next), Run{gap_end, fresh}));
                next = std::uint64_t(gap_end) + 1;
            } else {
                change(it->second.props);
                next = std::uint64_t(it->second.last) + 1;
                ++it;
            }
        }
    }

    // Neighbouring runs with equal properties become one element.
    std::string render() const {
        std::string out = "<cols>";
        auto it = runs_.begin();
        while (it != runs_.end()) {
            std::uint32_t first = it->first;
            std::uint32_t last = it->second.last;
            const ColumnProps& props = it->second.props;
            for (++it; it != runs_.end() && std::uint64_t(last) + 1 == it->first && it->second.props == props; ++it)
                last = it->second.last;
            out += render_col(first, last, props);
        }
        out += "</cols>";
        return out;
    }

private:
    // Make `column` the first column of its run.
    void split_before(std::uint32_t column) {
        auto it = runs_.upper_bound(column);
        if (it == runs_.begin()) return;
        --it;
        if (it->first < column && it->second.last >= column) {
            Run tail{it->second.last, it->second.props};
            it->second.last = column - 1;
            runs_.emplace(column, tail);
        }
    }
    // Make `column` the last column of its run.
    void split_after(std::uint32_t column) {
        if (column == UINT32_MAX) return;
        split_before(column + 1);
    }

    std::map<std::uint32_t, Run> runs_;
};

bool flag_value(std::string_view tag, std::string_view name) {
    auto value = first_attribute(tag, name);
    return value && (*value == "1" || *value == "true");
}

Status read_col(std::string_view tag, ColumnModel& model) {
    std::uint32_t min = 1;
    if (auto raw = first_attribute(tag, "min")) {
        auto parsed = parse_u32(*raw);
        if (!parsed) return fail(std::move(parsed.error()));
        min = *parsed;
    }
    std::uint32_t max = min;
    if (auto raw = first_attribute(tag, "max")) {
        auto parsed = parse_u32(*raw);
        if (!parsed) return fail(std::move(parsed.error()));
        max = *parsed;
    }
    ColumnProps props;
    // Only finite widths: "nan" or "inf" would be written back in a form no reader accepts.
    if (auto raw = first_attribute(tag, "width"))
        if (auto width = parse_float(*raw); width && std::isfinite(*width)) props.width = width;
    if (auto raw = first_attribute(tag, "style")) props.style = try_parse_u32(*raw);
    props.best_fit = flag_value(tag, "bestFit");
    props.custom_width = flag_value(tag, "customWidth");
    props.hidden = flag_value(tag, "hidden");
    if (max >= min) model.assign(min, max, props);
    return {};
}

Result<ColumnModel> read_cols_block(std::string_view block) {
    ColumnModel model;
    XmlReader reader(block, true);
    while (auto tag = reader.next()) {
        if (tag->opens() && tag->name == "col")
            if (auto read = read_col(tag->raw, model); !read) return fail(std::move(read.error()));
    }
    if (reader.error()) return fail(*reader.error());
    return model;
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

}  // namespace

std::string render_col(std::uint32_t min, std::uint32_t max, const ColumnProps& props) {
    std::string out = "<col min=\"";
    append_decimal(out, min);
    out += "\" max=\"";
    append_decimal(out, max);
    out += '"';
    if (props.width || props.style) {
        out += " width=\"";
        out += format_shortest(props.width.value_or(kDefaultStyledWidth));
        out += '"';
        if (props.style || props.custom_width) out += " customWidth=\"1\"";
    }
    if (props.style) {
        out += " style=\"";
        append_decimal(out, *props.style);
        out += '"';
    }
    if (props.best_fit) out += " bestFit=\"1\"";
    if (props.hidden) out += " hidden=\"1\"";
    out += "/>";
    return out;
}

Status set_column_span_props(EditorState& state, std::uint32_t first, std::uint32_t last,
                             std::optional<double> width, std::optional<std::uint32_t> style) {
    if (last > kMaxColumnIndex || first > last) return fail("column index out of range");
    std::string_view sheet = state.sheet_xml;
    ColumnModel model;
    std::string updated;
    std::size_t open = find(sheet, "<cols");
    std::size_t block_end = 0;
    NewColsPlace place;
    if (open != npos) {
        std::size_t close = find(sheet, "</cols>", open);
        if (close == npos) return fail(std::string(kColsNotClosed));
        block_end = close + std::string_view("</cols>").size();
        auto read = read_cols_block(sheet.substr(open, block_end - open));
        if (!read) return fail(std::move(read.error()));
        model = std::move(*read);
    } else {
        auto placed = place_new_cols(sheet);
        if (!placed) return fail(std::move(placed.error()));
        place = *placed;
    }

    model.update(first + 1, last + 1, [&](ColumnProps& props) {
        if (width) {
            props.width = width;
            props.custom_width = true;
        }
        if (style) {
            props.style = style;
            if (!props.width) {
                props.width = kDefaultStyledWidth;
                props.custom_width = true;
            }
        }
    });
    std::string block = model.render();

    updated.reserve(sheet.size() + block.size() + 32);
    if (open != npos) {
        updated.append(sheet.substr(0, open));
        updated.append(block);
        updated.append(sheet.substr(block_end));
    } else {
        std::size_t dim_at = place.dimension_at.value_or(place.cols_at);
        updated.append(sheet.substr(0, dim_at));
        if (place.dimension_at) updated.append("<dimension ref=\"A1\"/>");
        updated.append(sheet.substr(dim_at, place.cols_at - dim_at));
        updated.append(block);
        updated.append(sheet.substr(place.cols_at));
    }
    state.sheet_xml = std::move(updated);
    return {};
}

Status set_column_props(EditorState& state, std::uint32_t column, std::optional<double> width,
                        std::optional<std::uint32_t> style) {
    return set_column_span_props(state, column, column, width, style);
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
