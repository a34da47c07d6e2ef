#pragma once
// The style sheet and its lookup cache, laying a style change over the cells of a range, and the
// style operations. Only this layer edits `styles_xml` and `style_index`.
#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cells/cells.hpp"
#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

// ---- records ----

// Codes as AlignSpec numbers them: horizontal 0 left, 1 center, 2 right, 3 fill, 4 justify;
// vertical 0 top, 1 center, 2 bottom, 3 justify.
struct Alignment {
    bool wrap = false;
    std::optional<std::uint8_t> vert;
    std::optional<std::uint8_t> horiz;

    auto operator<=>(const Alignment&) const = default;
};

// One `xf` of `cellXfs`. An absent id differs from a present 0, and no alignment from an empty one.
struct CellFormat {
    std::optional<std::uint32_t> font_id;
    std::optional<std::uint32_t> fill_id;
    std::optional<std::uint32_t> border_id;
    std::uint32_t num_fmt_id = 0;
    std::optional<Alignment> alignment;

    auto operator<=>(const CellFormat&) const = default;
};

// A requested change (only the fields being set are present) or a cell's current style. The number
// format is the code as the caller writes it, unescaped.
struct StyleSpec {
    std::optional<std::string> num_fmt;
    // A cell's number-format id that has no code here (built-in ids such as 14, the date format),
    // so that a format derived from it keeps showing dates as dates. A change's num_fmt replaces it.
    std::optional<std::uint32_t> num_fmt_id;
    std::optional<std::uint32_t> font_id;
    std::optional<std::uint32_t> fill_id;
    std::optional<std::uint32_t> border_id;
    std::optional<Alignment> alignment;
};

// The name is held as it stands in the markup (escaped).
struct FontKey {
    std::string name;
    std::uint32_t size_hundredths = 0;
    bool bold = false;
    bool italic = false;

    auto operator<=>(const FontKey&) const = default;
};

// Texts taken from attributes (codes, colours, names, border styles) are keyed in their escaped
// form: the value with its references resolved, then escaped as we write it. A caller's text
// escaped the same way finds it whatever entity spelling the file used.
struct StyleIndex {
    std::vector<CellFormat> cell_formats;
    std::unordered_map<std::string, std::uint32_t> codes_by_text;  // escaped code -> id
    std::unordered_map<std::uint32_t, std::string> codes_by_id;    // id -> unescaped code
    std::map<FontKey, std::uint32_t> fonts_by_key;
    std::unordered_map<std::string, std::uint32_t> fills_by_colour;
    std::unordered_map<std::string, std::uint32_t> borders_by_style;
    std::map<CellFormat, std::uint32_t> formats_by_content;
    std::uint32_t next_custom_id = 164;
    std::uint32_t font_count = 0;
    std::uint32_t fill_count = 0;
    std::uint32_t border_count = 0;
};

// ---- style sheet ----

// Font size times 100, rounded half away from zero, saturated to 0..4294967295 (NaN gives 0).
std::uint32_t size_hundredths(float size);
FontKey font_key(std::string_view escaped_name, float size, bool bold, bool italic);
std::optional<std::uint32_t> builtin_num_fmt_id(std::string_view code);
std::string_view horizontal_word(std::uint8_t code);
std::string_view vertical_word(std::uint8_t code);

Result<StyleIndex> build_style_index(std::string_view styles_xml);
Result<StyleIndex*> ensure_style_index(EditorState& state);
// Adds one to the `count` of the last start tag beginning with `prefix` ("<fills").
Status bump_count(std::string& text, std::string_view prefix);

Result<std::uint32_t> add_fill(EditorState& state, std::string_view colour);
Result<std::uint32_t> add_font(EditorState& state, std::string_view name, float size, bool bold,
                               bool italic);
Result<std::uint32_t> add_border(EditorState& state, std::string_view style);
Result<std::uint32_t> num_fmt_id_for(EditorState& state, std::string_view code);
Result<std::uint32_t> add_cell_format(EditorState& state, const StyleSpec& spec);
Result<StyleSpec> spec_of_style(EditorState& state, std::optional<std::uint32_t> style);
StyleSpec merge_style(const StyleSpec& cell, const StyleSpec& change);

// ---- applying a change to a range ----

// Lays `change` over the current format of every cell of `range` (a cell, a rectangle, "B:", "5:").
Status apply_style(EditorState& state, std::string_view range, const StyleSpec& change);
Status apply_style(EditorState& state, const RangeSpec& range, const StyleSpec& change);
// The style of the cell whose `r` is exactly `reference`: nothing when it has no `s`.
Result<std::optional<std::uint32_t>> read_cell_style(std::string_view sheet_xml,
                                                     std::string_view reference);
// Gives the cell `reference` the cell format `index`, creating the cell (and its row) if missing.
Status write_cell_style(EditorState& state, std::string_view reference, std::uint32_t index);
Status style_single_cell(EditorState& state, std::string_view reference, const StyleSpec& change);
Status style_rectangle(EditorState& state, CellRef first, CellRef second, const StyleSpec& change);
Status style_column(EditorState& state, std::uint32_t column, std::uint32_t first_row,
                    const StyleSpec& change);
Status style_row(EditorState& state, std::uint32_t row, const StyleSpec& change);
std::string new_styled_row(std::uint32_t row, std::uint32_t first_column, std::uint32_t last_column,
                           std::uint32_t index);

// ---- style operations ----

Status set_fill(EditorState& state, std::string_view range, std::string_view colour);
Status set_font(EditorState& state, std::string_view range, std::string_view name, float size,
                bool bold, bool italic, std::optional<Alignment> align);
Status set_border(EditorState& state, std::string_view range, std::string_view style);
Status remove_style_in_range(EditorState& state, std::string_view range);
Status clear_cell_style(EditorState& state, std::string_view reference);

}  // namespace qm
