#include "cells/cells.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"

namespace qm {

Result<std::optional<RowSpan>> next_row_span(std::string_view text, std::size_t from) {
    std::size_t at = find(text, "<row ", from);
    if (at == npos) return std::optional<RowSpan>();
    std::size_t gt = find(text, ">", at);
    if (gt == npos) return fail("malformed <row>");
    RowSpan row;
    row.begin = at;
    row.tag_end = gt + 1;
    row.self_closing = text[gt - 1] == '/';
    std::string_view tag = text.substr(at, gt + 1 - at);
    if (std::size_t r = find(tag, " r=\""); r != npos)
        if (std::size_t quote = find(tag, "\"", r + 4); quote != npos)
            row.number = try_parse_u32(tag.substr(r + 4, quote - r - 4));
    if (row.self_closing) {
        row.content_end = row.end = row.tag_end;
    } else {
        std::size_t close = find(text, "</row>", row.tag_end);
        if (close == npos) return fail("</row> not found");
        row.content_end = close;
        row.end = close + 6;
    }
    return row;
}

}  // namespace qm
