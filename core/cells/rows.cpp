#include "cells/cells.hpp"

namespace qm {

Result<std::optional<RowSpan>> next_row_span(std::string_view text, std::size_t from) {
    auto data = find_sheet_data(text);
    if (!data) return std::optional<RowSpan>();  // no rows to walk
    SheetDataSpan rest = *data;
    rest.content_begin = std::max(rest.content_begin, std::min(from, rest.content_end));
    RowScanner rows(text, rest);
    auto row = rows.next();
    if (!row) return fail(std::move(row.error()));
    if (!*row) return std::optional<RowSpan>();
    const SheetRow& r = **row;
    return RowSpan{r.begin, r.tag_end, r.content_end, r.end, r.has_r || from <= data->content_begin ? r.number : std::nullopt,
                   r.self_closing};
}

}  // namespace qm
