#include <algorithm>
#include <array>

#include "cells/sheet_scan.hpp"
#include "cells/tables.hpp"
#include "styles/layout.hpp"
#include "styles/sheet_elements.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"

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

}  // namespace

Status merge_cells(EditorState& state, std::string_view range) {
    // A merge over a table makes the application drop the table.
    if (auto spec = parse_range(range); spec && spec->kind == RangeSpec::Kind::CellRange) {
        CellRef a = spec->range.first, b = spec->range.second;
        CellRef first{std::min(a.column, b.column), std::min(a.row, b.row)};
        CellRef last{std::max(a.column, b.column), std::max(a.row, b.row)};
        if (auto outside = check_merge_outside_tables(state, first, last, range); !outside) return outside;
    }
    std::string& sheet = state.sheet_xml;
    // Read by the sheet scanner: a self-closed sheetData counts, a commented-out one does not.
    auto data = find_sheet_data(sheet);
    if (!data) return fail(std::string(kNoSheetDataEnd));
    std::string element = "<mergeCell ref=\"" + escape_text(range) + "\"/>";

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

    insert_at(sheet, close, element);
    splice(sheet, value_begin, value_end - value_begin, to_decimal(std::uint64_t(*value) + 1));
    return {};
}

}  // namespace qm
