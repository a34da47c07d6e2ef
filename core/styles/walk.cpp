#include "styles/walk.hpp"

#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool opens_cell_at(std::string_view text, std::size_t at) {
    if (at + 2 >= text.size()) return true;
    char next = text[at + 2];
    return is_blank(next) || next == '/' || next == '>';
}

Status row_cells(std::string_view text, const RowSpan& row, std::vector<CellSpan>& cells) {
    cells.clear();
    SheetRow scanned;
    scanned.begin = row.begin;
    scanned.tag_end = row.tag_end;
    scanned.content_end = row.content_end;
    scanned.end = row.end;
    scanned.number = row.number;
    scanned.self_closing = row.self_closing;
    std::vector<SheetCell> found;
    if (Status st = scan_row_cells(text, scanned, found); !st) return st;
    for (const SheetCell& c : found) {
        CellSpan span{c.begin, c.tag_end - 1, c.end, std::nullopt};
        if (c.column && *c.column <= UINT32_MAX) span.column = static_cast<std::uint32_t>(*c.column);
        cells.push_back(span);
    }
    return {};
}

std::optional<std::string_view> tag_reference(std::string_view tag) { return first_attribute(tag, "r"); }

}  // namespace qm
