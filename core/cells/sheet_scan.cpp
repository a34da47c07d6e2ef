#include "cells/sheet_scan.hpp"

#include <algorithm>
#include <cstring>

#include "cells/cells.hpp"
#include "support/numbers.hpp"
#include "support/tag_lexer.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

constexpr std::string_view kNoSheetDataEnd = "</sheetData> tag not found";
constexpr std::string_view kMalformedRow = "malformed <row>";
constexpr std::string_view kNoRowEnd = "</row> not found";
constexpr std::string_view kCellTagEnd = "cell tag end";
constexpr std::string_view kNoCellEnd = "</c> missing";

inline bool ends_name(char c) { return is_xml_space(c) || c == '>' || c == '/'; }

// Sheet bodies hold no declarations: one is damage.
TagLexer sheet_lexer(std::string_view text, std::size_t pos, std::size_t limit) {
    return TagLexer(text, pos, limit, Declarations::Fail);
}

// The opener of the comment or CDATA section that `at` lies inside, or npos. Judged from the text
// after `at` (a closer before any opener), which after sheetData is short.
std::size_t enclosing_section(std::string_view text, std::size_t at) {
    for (auto [open, close] : {std::pair<std::string_view, std::string_view>{"<!--", "-->"},
                               std::pair<std::string_view, std::string_view>{"<![CDATA[", "]]>"}}) {
        std::size_t c = find(text, close, at);
        if (c == npos) continue;
        std::size_t o = find(text, open, at);
        if (o != npos && o < c) continue;
        return rfind_before(text, open, at);
    }
    return npos;
}

}  // namespace

ReferenceParts cell_reference_parts(std::string_view r) {
    std::size_t i = 0;
    std::uint64_t column = 0;
    while (i < r.size() && i < 14 && is_ascii_letter(static_cast<unsigned char>(r[i])))
        column = column * 26 + static_cast<std::uint64_t>(ascii_upper(r[i++]) - 'A' + 1);
    if (i > 0 && i <= 13 && i < r.size() && is_ascii_digit(static_cast<unsigned char>(r[i])))
        return {column - 1, try_parse_u32(r.substr(i))};
    std::size_t digit = find_first_digit(r);
    return {reference_column(r), digit == npos ? std::nullopt : try_parse_u32(r.substr(digit))};
}

namespace {

// Reads the cells of a row's content [from, limit) into `cells` (when given); returns the span of
// the row's end tag, or fails. Each cell's attributes are taken as its tag is read, and the
// content of its `v`, `f` and `is` children is noted for readers.
Result<std::pair<std::size_t, std::size_t>> scan_cells(std::string_view text, std::size_t from, std::size_t limit,
                               std::vector<SheetCell>* cells) {
    TagLexer lex = sheet_lexer(text, from, limit);
    LexTag tag;
    int depth = 0;
    bool in_cell = false;
    std::optional<std::uint64_t> previous;  // column of the cell before, none at the row's start
    bool first = true;
    std::optional<std::string_view> r, s, t;  // of the tag just read
    auto on_attribute = [&](std::string_view name, std::string_view value) {
        if (name.size() != 1) return;
        if (name[0] == 'r') {
            if (!r) r = value;
        } else if (name[0] == 's') {
            if (!s) s = value;
        } else if (name[0] == 't') {
            if (!t) t = value;
        }
    };
    auto place = [&](SheetCell& c) {
        c.r = r;
        c.s = s;
        c.t = t;
        if (c.r) {
            auto [column, row] = cell_reference_parts(*c.r);
            c.column = column;
            c.r_row = row;
        }
        else if (first) c.column = 0;
        else if (previous) c.column = *previous + 1;
        first = false;
        previous = c.column;
    };
    // The child of the open cell whose content is being read: 'v', 'f', 'i' (is) or none.
    char child = 0;
    std::size_t child_begin = 0;
    for (;;) {
        r.reset(), s.reset(), t.reset();
        if (!lex.next(tag, on_attribute)) break;
        switch (tag.kind) {
            case LexKind::Start:
                if (depth == 0 && tag.name == "c") {
                    in_cell = true;
                    if (cells) {
                        // Listed at its start tag, so that a reader stopped by damage inside the
                        // cell still sees it; its end is filled in at its end tag.
                        SheetCell& cell = cells->emplace_back();
                        cell.begin = tag.begin;
                        cell.tag_end = tag.end;
                        place(cell);
                        // The common cell "<v>text</v></c>" read at once: the same tags the
                        // lexer would step through, since the text holds no "<".
                        constexpr std::string_view kOpen = "<v>", kClose = "</v></c>";
                        if (text.substr(tag.end, kOpen.size()) == kOpen) {
                            const std::size_t from = tag.end + kOpen.size();
                            const void* lt = from < limit ? std::memchr(text.data() + from, '<', limit - from) : nullptr;
                            const std::size_t close = lt ? std::size_t(static_cast<const char*>(lt) - text.data()) : npos;
                            if (close != npos && text.substr(close, kClose.size()) == kClose) {
                                cell.value = text.substr(from, close - from);
                                cell.has_value = true;
                                cell.content_end = close + 4;
                                cell.end = close + kClose.size();
                                lex.seek(cell.end);
                                in_cell = false;
                                break;
                            }
                        }
                    }
                } else if (depth == 1 && in_cell && cells) {
                    SheetCell& cell = cells->back();
                    child = 0;
                    if (tag.name == "v") child = 'v';
                    else if (tag.name == "f") child = 'f', cell.formula_tag = text.substr(tag.begin, tag.end - tag.begin);
                    else if (tag.name == "is") child = 'i';
                    child_begin = tag.end;
                }
                ++depth;
                break;
            case LexKind::Empty:
                if (depth == 0 && tag.name == "c" && cells) {
                    SheetCell empty;
                    empty.begin = tag.begin;
                    empty.tag_end = empty.content_end = empty.end = tag.end;
                    empty.self_closing = true;
                    place(empty);
                    cells->push_back(empty);
                } else if (depth == 1 && in_cell && cells) {
                    SheetCell& cell = cells->back();
                    if (tag.name == "v") cell.value = {}, cell.has_value = true;
                    else if (tag.name == "f")
                        cell.formula = {}, cell.has_formula = true,
                        cell.formula_tag = text.substr(tag.begin, tag.end - tag.begin);
                    else if (tag.name == "is") cell.inline_text = {}, cell.has_inline = true;
                }
                break;
            case LexKind::End:
                if (depth == 0) {
                    if (tag.name != "row") return fail(std::string(kNoRowEnd));
                    return std::pair{tag.begin, tag.end};
                }
                --depth;
                if (depth == 1 && child && cells) {
                    SheetCell& cell = cells->back();
                    std::string_view content = text.substr(child_begin, tag.begin - child_begin);
                    if (child == 'v') cell.value = content, cell.has_value = true;
                    else if (child == 'f') cell.formula = content, cell.has_formula = true;
                    else cell.inline_text = content, cell.has_inline = true;
                    child = 0;
                }
                if (depth == 0 && in_cell) {
                    if (tag.name != "c") return fail(std::string(kNoCellEnd));
                    in_cell = false;
                    if (cells) {
                        cells->back().content_end = tag.begin;
                        cells->back().end = tag.end;
                    }
                }
                break;
        }
    }
    if (lex.failed() && depth == 0 && text.substr(lex.failed_at()).starts_with("<c") &&
        (lex.failed_at() + 2 >= text.size() || ends_name(text[lex.failed_at() + 2])))
        return fail(std::string(kCellTagEnd));
    if (in_cell) return fail(std::string(kNoCellEnd));
    return fail(std::string(lex.failed() ? kMalformedRow : kNoRowEnd));
}

// An attribute of a start tag: from the white space before its name to after its closing quote,
// and its value. Absent when the tag has none.
struct AttributeSpan {
    std::size_t begin;
    std::size_t value_begin;
    std::size_t value_end;
    std::size_t end;
};
std::optional<AttributeSpan> attribute_span(std::string_view tag, std::string_view name) {
    std::optional<AttributeSpan> found;
    for_each_attribute(tag, [&](const Attribute& a) {
        if (found || a.name != name) return;
        std::size_t at = std::size_t(a.name.data() - tag.data());
        std::size_t value = std::size_t(a.raw_value.data() - tag.data());
        std::size_t begin = at;
        while (begin > 0 && is_xml_space(tag[begin - 1])) --begin;
        found = AttributeSpan{begin, value, value + a.raw_value.size(), value + a.raw_value.size() + 1};
    });
    return found;
}
// The end tag of a row whose cells nobody asked for. Only comments, CDATA sections and processing
// instructions can hide a "</row>", so where the content has none the first one is the end: a
// byte search instead of reading every tag. Damage inside cells is not looked for here; the
// writers read the cells of every row they change.
Result<std::pair<std::size_t, std::size_t>> skip_row(std::string_view text, std::size_t from, std::size_t limit) {
    constexpr std::string_view kClose = "</row";
    for (std::size_t at = from;;) {
        std::size_t close = find_before(text, kClose, at, limit);
        if (close == npos) return fail(std::string(kNoRowEnd));
        if (find_before(text, "<!", from, close) != npos || find_before(text, "<?", from, close) != npos)
            return scan_cells(text, from, limit, nullptr);
        std::size_t i = close + kClose.size();
        while (i < text.size() && is_xml_space(text[i])) ++i;
        if (i < text.size() && text[i] == '>') return std::pair{close, i + 1};
        at = close + kClose.size();  // "</rowx>": not this row's end
    }
}

}  // namespace

std::optional<std::uint64_t> reference_column(std::string_view reference) {
    std::size_t digit = find_first_digit(reference);
    if (digit == npos) return std::nullopt;  // no row number: not a reference to a cell
    std::string_view letters = reference.substr(0, digit);
    if (letters.empty() || letters.size() > 13) return std::nullopt;
    for (char c : letters)
        if (!is_ascii_letter(static_cast<unsigned char>(c))) return std::nullopt;
    return column_to_index(letters);
}

std::optional<std::string_view> start_tag_attribute(std::string_view tag, std::string_view name) {
    return first_attribute(tag, name);
}

Result<SheetDataSpan> find_sheet_data(std::string_view xml, bool open_to_end) {
    TagLexer lex = sheet_lexer(xml, 0, xml.size());
    LexTag tag;
    while (lex.next(tag)) {
        if (tag.kind == LexKind::End || tag.name != "sheetData") continue;
        SheetDataSpan data;
        data.begin = tag.begin;
        data.content_begin = tag.end;
        if (tag.kind == LexKind::Empty) {
            data.content_end = data.end = tag.end;
            data.self_closing = true;
            return data;
        }
        constexpr std::string_view kClose = "</sheetData>";
        std::size_t before = xml.size();
        for (;;) {
            std::size_t close = rfind_before(xml, kClose, before);
            if (close == npos || close < data.content_begin) break;
            if (std::size_t section = enclosing_section(xml, close); section != npos && section >= data.content_begin) {
                before = section;
                continue;
            }
            data.content_end = close;
            data.end = close + kClose.size();
            return data;
        }
        if (open_to_end) {
            data.content_end = data.end = xml.size();
            return data;
        }
        break;
    }
    return fail(std::string(kNoSheetDataEnd));
}

void open_sheet_data(std::string& xml) {
    auto data = find_sheet_data(xml);
    if (!data || !data->self_closing) return;
    std::string_view tag = std::string_view(xml).substr(data->begin, data->end - data->begin);
    std::size_t slash = tag.size() - 2;
    while (slash > 0 && is_xml_space(tag[slash - 1])) --slash;
    std::string opened(tag.substr(0, slash));
    opened += "></sheetData>";
    splice(xml, data->begin, tag.size(), opened);
}

RowScanner::RowScanner(std::string_view xml, const SheetDataSpan& data)
    : text_(xml), pos_(data.content_begin), limit_(data.content_end) {}

RowScanner::RowScanner(std::string_view xml, const SheetDataSpan& data, std::size_t from, std::uint32_t previous)
    : text_(xml), pos_(std::clamp(from, data.content_begin, data.content_end)), limit_(data.content_end),
      previous_(previous), started_(true) {}

Result<std::optional<SheetRow>> RowScanner::next(std::vector<SheetCell>* cells, std::uint32_t cells_from) {
    if (cells) cells->clear();
    TagLexer lex = sheet_lexer(text_, pos_, limit_);
    LexTag tag;
    int depth = 0;  // inside other elements of sheetData, which are stepped over
    std::string_view r;
    bool has_r = false;
    auto on_attribute = [&](std::string_view name, std::string_view value) {
        if (!has_r && name == "r") r = value, has_r = true;
    };
    for (;;) {
        has_r = false;
        if (!lex.next(tag, on_attribute)) break;
        if (tag.kind == LexKind::End) {
            if (depth == 0) return fail(std::string(kMalformedRow));
            --depth;
            continue;
        }
        if (depth > 0 || tag.name != "row") {
            if (tag.kind == LexKind::Start) ++depth;
            continue;
        }
        SheetRow row;
        row.begin = tag.begin;
        row.tag_end = tag.end;
        if (has_r) {
            row.has_r = true;
            row.number = try_parse_u32(r);
        } else if (!started_) {
            row.number = 1;
        } else if (previous_ && *previous_ != UINT32_MAX) {
            row.number = *previous_ + 1;
        }
        started_ = true;
        previous_ = row.number;
        if (tag.kind == LexKind::Empty) {
            row.self_closing = true;
            row.content_end = row.end = tag.end;
        } else {
            bool read = cells && (!row.number || *row.number >= cells_from);
            auto close = read ? scan_cells(text_, tag.end, limit_, cells) : skip_row(text_, tag.end, limit_);
            if (!close) return fail(std::move(close.error()));
            row.content_end = close->first;
            row.end = close->second;
        }
        pos_ = row.end;
        return row;
    }
    if (lex.failed() || depth > 0) return fail(std::string(kMalformedRow));
    pos_ = limit_;
    return std::optional<SheetRow>();
}

Status scan_row_cells(std::string_view xml, const SheetRow& row, std::vector<SheetCell>& cells) {
    cells.clear();
    if (row.self_closing) return {};
    auto close = scan_cells(xml, row.tag_end, row.end, &cells);
    if (!close) return fail(std::move(close.error()));
    return {};
}

std::optional<std::uint32_t> cell_row(const SheetRow& row, const SheetCell& cell) {
    return cell.r ? cell.r_row : row.number;
}

std::uint32_t scan_last_row(std::string_view xml) {
    auto data = find_sheet_data(xml, true);
    if (!data) return 0;
    RowScanner rows(xml, *data);
    std::uint32_t last = 0;
    for (;;) {
        auto row = rows.next();
        // A row cut short still counts: its start tag was read.
        if (!row) return rows.last_number().value_or(last);
        if (!*row) return last;
        if ((*row)->number) last = *(*row)->number;
    }
}

std::uint32_t resolve_last_row(EditorState& state) {
    if (state.last_row_pending) {
        state.last_row = std::max(state.last_row, scan_last_row(state.sheet_xml));
        state.last_row_pending = false;
    }
    return state.last_row;
}

void append_tag_with_r(std::string& out, std::string_view tag, std::string_view value, bool reopen) {
    bool empty = tag.size() >= 2 && tag[tag.size() - 2] == '/';
    std::size_t end = tag.size() - (empty ? 2 : 1);
    std::size_t trimmed = end;
    while (trimmed > 0 && is_xml_space(tag[trimmed - 1])) --trimmed;
    out.append(tag.substr(0, trimmed));
    out += " r=\"";
    out.append(value);
    out += '"';
    out.append(tag.substr(trimmed, end - trimmed));
    out += empty && !reopen ? "/>" : ">";
}

void append_tag_with_style(std::string& out, std::string_view tag, std::uint32_t index) {
    if (auto s = attribute_span(tag, "s")) {
        out.append(tag.substr(0, s->value_begin));
        append_decimal(out, index);
        out.append(tag.substr(s->value_end));
        return;
    }
    bool self_closing = tag.size() >= 2 && tag[tag.size() - 2] == '/';
    std::size_t close = tag.size() - (self_closing ? 2 : 1);
    while (close > 0 && is_xml_space(tag[close - 1])) --close;
    out.append(tag.substr(0, close));
    out += " s=\"";
    append_decimal(out, index);
    out += '"';
    out.append(tag.substr(close));
}

bool append_tag_without_attribute(std::string& out, std::string_view tag, std::string_view name) {
    auto found = attribute_span(tag, name);
    if (!found) {
        // A value without its closing quote is no attribute: refuse rather than cut markup.
        std::string marker(1, ' ');
        marker.append(name);
        marker.append("=\"");
        std::size_t open = tag.find(marker);
        if (open != npos && tag.find('"', open + marker.size()) == npos) return false;
        out.append(tag);
        return true;
    }
    out.append(tag.substr(0, found->begin));
    out.append(tag.substr(found->end));
    return true;
}

}  // namespace qm
