#include <algorithm>
#include <array>

#include "cells/cells.hpp"
#include "cells/sheet_scan.hpp"
#include "cells/tables.hpp"
#include "styles/layout.hpp"
#include "styles/sheet_elements.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

constexpr std::string_view kNoSheetDataEnd = "</sheetData> not found";
constexpr std::string_view kNoCount = "attribute count not found";
constexpr std::string_view kCountNotClosed = "closing quote not found";
constexpr std::string_view kNoMergeCellsEnd = "</mergeCells> not found";

// The worksheet children that the schema puts between `sheetData` and `mergeCells`.
constexpr std::array<std::string_view, 8> kBeforeMergeCells = {
    "sheetCalcPr", "sheetProtection", "protectedRanges", "scenarios",
    "autoFilter",  "sortState",       "dataConsolidate", "customSheetViews",
};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Walks the siblings after "</sheetData>" while they are elements that must precede
// `mergeCells`; the new block goes where the walk stops.
Result<std::size_t> new_block_position(std::string_view sheet, std::size_t data_end) {
    std::size_t at = data_end;
    while (true) {
        std::size_t lt = at;
        while (lt < sheet.size() && is_blank(sheet[lt])) ++lt;
        if (lt >= sheet.size() || sheet[lt] != '<') return at;
        std::string_view name = detail::element_name_at(sheet, lt);
        if (std::find(kBeforeMergeCells.begin(), kBeforeMergeCells.end(), name) == kBeforeMergeCells.end())
            return at;
        std::size_t end = detail::element_end(sheet, lt, name);
        if (end == npos) return fail("</" + std::string(name) + "> not found");
        at = end;
    }
}

struct Rectangle {
    CellRef top_left;
    CellRef bottom_right;

    static Rectangle spanning(CellRef a, CellRef b) {
        return {{std::min(a.column, b.column), std::min(a.row, b.row)},
                {std::max(a.column, b.column), std::max(a.row, b.row)}};
    }
    bool operator==(const Rectangle&) const = default;
    bool overlaps(const Rectangle& o) const {
        return top_left.column <= o.bottom_right.column && o.top_left.column <= bottom_right.column &&
               top_left.row <= o.bottom_right.row && o.top_left.row <= bottom_right.row;
    }
};

// Two corners in the grid, as a rectangle whatever their order; single cells are refused.
Result<Rectangle> merge_rectangle(std::string_view range) {
    auto single = [&] {
        return fail("a merged range needs at least two cells, not the single cell " + std::string(range));
    };
    auto in_grid = [](const std::expected<CellRef, RefProblem>& r) {
        return r || r.error() == RefProblem::OutsideSheet;
    };
    std::size_t colon = range.find(':');
    if (colon == npos) {
        auto one = read_cell_ref(range);
        if (one) return single();
        if (in_grid(one)) return fail(outside_sheet_message("merge range", range));
    } else {
        auto a = read_cell_ref(range.substr(0, colon));
        auto b = read_cell_ref(range.substr(colon + 1));
        if (a && b) {
            if (*a == *b) return single();
            return Rectangle::spanning(*a, *b);
        }
        if (in_grid(a) && in_grid(b)) return fail(outside_sheet_message("merge range", range));
    }
    return fail("invalid merge range " + std::string(range) + ": expected two corners such as A1:C3");
}

std::string rectangle_text(const Rectangle& r) {
    return cell_ref_text(r.top_left) + ":" + cell_ref_text(r.bottom_right);
}

// Overlapping merges are a repair for readers, and a duplicate is an overlap. Existing refs that do
// not read as a range or a cell (none a conforming producer writes) are not compared.
Status check_no_overlap(std::string_view block, const Rectangle& wanted) {
    constexpr std::string_view kElement = "<mergeCell";
    for (std::size_t at = find(block, kElement); at != npos; at = find(block, kElement, at + kElement.size())) {
        std::size_t after = at + kElement.size();
        if (after >= block.size() || !(block[after] == ' ' || block[after] == '/' || block[after] == '\t' ||
                                       block[after] == '\n' || block[after] == '\r'))
            continue;
        std::size_t gt = find(block, ">", after);
        if (gt == npos) break;
        auto ref = first_attribute(block.substr(at, gt + 1 - at), "ref");
        if (!ref) continue;
        std::size_t colon = ref->find(':');
        auto a = read_cell_ref(ref->substr(0, colon));
        auto b = colon == npos ? a : read_cell_ref(ref->substr(colon + 1));
        if (!a || !b) continue;
        Rectangle existing = Rectangle::spanning(*a, *b);
        if (existing == wanted) return fail(rectangle_text(wanted) + " is already merged");
        if (wanted.overlaps(existing))
            return fail(rectangle_text(wanted) + " overlaps the merged range " + std::string(*ref));
    }
    return {};
}

}  // namespace

Status merge_cells(EditorState& state, std::string_view range) {
    auto wanted = merge_rectangle(range);
    if (!wanted) return fail(std::move(wanted.error()));
    // A merge over a table makes the application drop the table.
    if (auto outside = check_merge_outside_tables(state, wanted->top_left, wanted->bottom_right, range); !outside)
        return outside;
    std::string& sheet = state.sheet_xml;
    // Read by the sheet scanner: a self-closed sheetData counts, a commented-out one does not.
    auto data = find_sheet_data(sheet);
    if (!data) return fail(std::string(kNoSheetDataEnd));
    std::string element = "<mergeCell ref=\"" + rectangle_text(*wanted) + "\"/>";

    std::size_t block = find(sheet, "<mergeCells");
    if (block == npos) {
        auto at = new_block_position(sheet, data->end);
        if (!at) return fail(std::move(at.error()));
        insert_at(sheet, *at, "<mergeCells count=\"1\">" + element + "</mergeCells>");
        return {};
    }

    // Everything is checked before the first change, so a failure leaves the block as it was.
    std::size_t gt = find(sheet, ">", block);
    std::size_t count = gt == npos ? npos : find_before(sheet, "count=\"", block, gt);
    if (count == npos) return fail(std::string(kNoCount));
    std::size_t value_begin = count + std::string_view("count=\"").size();
    std::size_t value_end = find(sheet, "\"", value_begin);
    if (value_end == npos) return fail(std::string(kCountNotClosed));
    auto value = parse_u32(std::string_view(sheet).substr(value_begin, value_end - value_begin));
    if (!value) return fail(std::move(value.error()));
    std::size_t close = find(sheet, "</mergeCells>", block);
    if (close == npos) return fail(std::string(kNoMergeCellsEnd));
    if (Status free = check_no_overlap(std::string_view(sheet).substr(block, close - block), *wanted); !free)
        return free;

    insert_at(sheet, close, element);
    splice(sheet, value_begin, value_end - value_begin, to_decimal(std::uint64_t(*value) + 1));
    return {};
}

}  // namespace qm
