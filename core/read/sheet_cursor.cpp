#include "read/read.hpp"
#include "support/numbers.hpp"

namespace qm {

SheetCursor::SheetCursor(std::string_view sheet) : text_(sheet) {
    if (auto data = find_sheet_data(sheet, true)) {
        data_ = *data;
        rows_.emplace(sheet, *data);
    }
}

SheetCursor::SheetCursor(std::string_view sheet, const std::optional<SheetDataSpan>& data, std::size_t offset,
                         std::uint32_t previous_row)
    : text_(sheet), data_(data), row_(previous_row) {
    if (data) rows_.emplace(sheet, *data, offset, previous_row);
}

Result<std::optional<std::uint32_t>> SheetCursor::next_row(bool read_cells, std::uint32_t cells_from) {
    cells_.clear();
    scanned_.clear();
    if (!rows_) return std::optional<std::uint32_t>();
    auto found = rows_->next(read_cells ? &scanned_ : nullptr, cells_from);
    if (!found) return fail(std::move(found.error()));
    if (!*found) {
        rows_.reset();
        return std::optional<std::uint32_t>();
    }
    const SheetRow& row = **found;
    row_ = row.number && *row.number > 0 ? *row.number : row_ + 1;
    row_offset_ = row.begin;
    if (!read_cells) return std::optional<std::uint32_t>(row_);
    cells_.reserve(scanned_.size());
    std::int64_t last_column = -1;
    for (const SheetCell& c : scanned_) {
        RawCell& cell = cells_.emplace_back();
        std::optional<std::uint32_t> at = c.column && *c.column <= UINT32_MAX ? cell_row(row, c) : std::nullopt;
        if (c.r && at && *at > 0) {
            cell.column = static_cast<std::uint32_t>(*c.column);
            cell.row = *at;
        } else {
            cell.column = static_cast<std::uint32_t>(last_column + 1);
            cell.row = row_;
        }
        last_column = cell.column;
        if (c.s) cell.style = try_parse_u32(*c.s).value_or(0);
        if (c.t) cell.type = *c.t;
        cell.value = c.value;
        cell.inline_text = c.inline_text;
        cell.formula = c.formula;
        cell.formula_tag = c.formula_tag;
        cell.has_value = c.has_value;
        cell.has_inline = c.has_inline;
        cell.has_formula = c.has_formula;
    }
    return std::optional<std::uint32_t>(row_);
}

}  // namespace qm
