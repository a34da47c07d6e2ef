#pragma once
// The style sheet and its lookup cache, laying a style change over the cells of a range, and the
// style operations. Only this layer edits `styles_xml` and `style_index`.
#include <compare>
#include <cstddef>
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

// One `xf` of `cellXfs`. The ids are read from its attributes (an absent id differs from a
// present 0); `alignment` is what an AlignSpec can express of its `alignment` child (words such
// as "general" or "distributed" leave the code absent). `markup` is the element as written: a
// derived format is a copy of it, so everything a change does not touch survives.
struct CellFormat {
    std::optional<std::uint32_t> font_id;
    std::optional<std::uint32_t> fill_id;
    std::optional<std::uint32_t> border_id;
    std::uint32_t num_fmt_id = 0;
    std::optional<Alignment> alignment;
    std::string markup;
};

// A requested change: only the fields being set are present. The number format is the code as
// the caller writes it, unescaped.
struct StyleSpec {
    std::optional<std::string> num_fmt;
    std::optional<std::uint32_t> font_id;
    std::optional<std::uint32_t> fill_id;
    std::optional<std::uint32_t> border_id;
    std::optional<Alignment> alignment;
};

// The top-level blocks of a style sheet, in the order the schema gives them.
enum class StyleBlock : std::uint8_t {
    NumFmts, Fonts, Fills, Borders, CellStyleXfs, CellXfs, CellStyles, Dxfs, TableStyles, Colors, ExtLst
};
inline constexpr std::uint32_t block_bit(StyleBlock block) { return 1u << static_cast<unsigned>(block); }
// What writing a cell format needs: every list its ids point into, and the cell style of xfId 0.
inline constexpr std::uint32_t kCellFormatBlocks =
    block_bit(StyleBlock::Fonts) | block_bit(StyleBlock::Fills) | block_bit(StyleBlock::Borders) |
    block_bit(StyleBlock::CellStyleXfs) | block_bit(StyleBlock::CellXfs) | block_bit(StyleBlock::CellStyles);

// The style sheet as the operations need it. Fonts, fills, borders and cell formats are keyed by
// their canonical form (canonical_key): an entry is reused only when it equals in every respect
// the one that would be written. Codes are keyed in their escaped form: the attribute value with
// its references resolved, then escaped as we write it.
struct StyleIndex {
    std::string prefix;            // "x:" when the root element is written with a prefix
    std::uint32_t ready_blocks = 0;  // block_bit of each block present, open and counted
    std::vector<CellFormat> cell_formats;
    std::unordered_map<std::string, std::uint32_t> formats_by_key;
    std::unordered_map<std::string, std::uint32_t> fonts_by_key;
    std::unordered_map<std::string, std::uint32_t> fills_by_key;
    std::unordered_map<std::string, std::uint32_t> borders_by_key;
    std::unordered_map<std::string, std::uint32_t> codes_by_text;  // escaped code -> id
    std::unordered_map<std::uint32_t, std::string> codes_by_id;    // id -> unescaped code
    std::uint32_t next_custom_id = 164;  // above every id of numFmts and of the dxfs' numFmts
    std::uint32_t font_count = 0;
    std::uint32_t fill_count = 0;
    std::uint32_t border_count = 0;
};

// ---- style sheet ----

std::optional<std::uint32_t> builtin_num_fmt_id(std::string_view code);
std::string_view horizontal_word(std::uint8_t code);
std::string_view vertical_word(std::uint8_t code);

// The form under which two elements are equal: local names, attributes sorted with their values
// resolved (colours upper-cased), whitespace and the empty-element spelling ignored.
Result<std::string> canonical_key(std::string_view element);

// An empty text gives an empty index (a package without a style sheet).
Result<StyleIndex> build_style_index(std::string_view styles_xml);
Result<StyleIndex*> ensure_style_index(EditorState& state);
// The text with each block of `blocks` present (inserted in schema order with the entries cells
// may already refer to), open, and carrying a `count`; a self-closing root is opened first.
Result<std::string> with_blocks(std::string_view styles_xml, std::uint32_t blocks);
// Makes the blocks ready in the state's style sheet, creating the part (with its relationship)
// when the package has none; the index is rebuilt when the text changed.
Result<StyleIndex*> prepare_blocks(EditorState& state, std::uint32_t blocks);
// Adds one to the `count` of the start tag of the block that ends at `block_end`.
Status bump_count(std::string& text, std::size_t block_end);

Result<std::uint32_t> add_fill(EditorState& state, std::string_view colour);
Result<std::uint32_t> add_font(EditorState& state, std::string_view name, float size, bool bold,
                               bool italic);
Result<std::uint32_t> add_border(EditorState& state, std::string_view style);
Result<std::uint32_t> num_fmt_id_for(EditorState& state, std::string_view code);
// The format `old` (none: a cell without `s`, which shows format 0) with `change` laid over it,
// found or appended.
Result<std::uint32_t> derive_cell_format(EditorState& state, std::optional<std::uint32_t> old,
                                         const StyleSpec& change);
// A format derived from format 0.
Result<std::uint32_t> add_cell_format(EditorState& state, const StyleSpec& spec);
// The number-format code of cell format `format`: nothing for General (0), for a format out of
// range, and for an id neither built in here nor defined in `numFmts`.
std::optional<std::string> num_fmt_code(const StyleIndex& index, std::uint32_t format);

// Keeps the style sheet, its index, the workbook relationships and (with `keep_sheet`) the sheet
// text as they were unless finish() is given a success: a failed style operation changes nothing.
class StyleTransaction {
public:
    explicit StyleTransaction(EditorState& state, bool keep_sheet = false);
    ~StyleTransaction();
    StyleTransaction(const StyleTransaction&) = delete;
    StyleTransaction& operator=(const StyleTransaction&) = delete;
    Status finish(Status status);

private:
    EditorState& state_;
    std::string styles_;
    std::string rels_;
    std::string styles_part_;
    std::optional<std::string> sheet_;
    std::uint32_t last_row_;
    bool last_row_pending_;
    bool done_ = false;
};

// ---- style arguments ----

// "RRGGBB" or "AARRGGBB", a leading "#" allowed, as eight upper-case ARGB digits ("FF" alpha for six).
Result<std::string> normalize_colour(std::string_view text);
// A border style word of the schema in any case, as the schema spells it.
Result<std::string_view> canonical_border_style(std::string_view text);
Status check_font_size(float size);
// Refuses characters XML 1.0 cannot carry, which no escape makes readable.
Status check_style_text(std::string_view what, std::string_view text);

// ---- applying a change to a range ----

// Lays `change` over the current format of every cell of `range` (a cell, a rectangle, "B:", "5:").
Status apply_style(EditorState& state, std::string_view range, const StyleSpec& change);
Status apply_style(EditorState& state, const RangeSpec& range, const StyleSpec& change);
// The same, but a single cell's change joins the buffered cell writes when the state keeps them:
// for calls whose last change to the sheet this is.
Status apply_style_or_queue(EditorState& state, std::string_view range, const StyleSpec& change);
// Lays `change` over every cell of the rectangle between two corners, creating missing cells
// blank (`<c r="B3" s="1"/>`) and missing rows; raises the row counter to the rows written.
// A rectangle of more than kMaxStyledCells cells is refused before anything changes.
inline constexpr std::uint64_t kMaxStyledCells = 10'000'000;
Status style_cells(EditorState& state, CellRef first, CellRef second, const StyleSpec& change);
Status style_column(EditorState& state, std::uint32_t column, std::uint32_t first_row,
                    const StyleSpec& change);
Status style_row(EditorState& state, std::uint32_t row, const StyleSpec& change);

// ---- style operations ----

Status set_fill(EditorState& state, std::string_view range, std::string_view colour);
Status set_font(EditorState& state, std::string_view range, std::string_view name, float size,
                bool bold, bool italic, std::optional<Alignment> align);
Status set_border(EditorState& state, std::string_view range, std::string_view style);
Status remove_style_in_range(EditorState& state, std::string_view range);
Status clear_cell_style(EditorState& state, std::string_view reference);

}  // namespace qm
