#include <algorithm>

#include "cells/cells.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {

constexpr std::string_view kRowClose = "</row>";
constexpr std::string_view kRAttr = " r=\"";
constexpr std::string_view kSheetDataClose = "</sheetData>";

// Column letters of a block, computed once: every row of a block uses the same columns.
class ColumnLetters {
public:
    explicit ColumnLetters(std::uint64_t first) : first_(first) {}
    std::uint64_t first_column() const { return first_; }
    std::string_view operator()(std::size_t i) {
        while (letters_.size() <= i) letters_.push_back(index_to_column(first_ + letters_.size()));
        return letters_[i];
    }

private:
    std::uint64_t first_;
    std::vector<std::string> letters_;
};

void append_row_start(std::string& out, std::uint32_t row) {
    out += "<row r=\"";
    append_decimal(out, row);
    out += "\">";
}

// Block values are plain texts, classified as set_cell classifies them, or typed cells.
CellKind kind_of(const std::string& value) { return classify_value(value); }
CellKind kind_of(const TypedCell& value) { return value.kind; }
std::string_view text_of(const std::string& value) { return value; }
std::string_view text_of(const TypedCell& value) { return value.text; }

template <class Value>
void append_cells(std::string& out, std::uint32_t row, ColumnLetters& letters, std::span<const Value> values) {
    std::string ref;
    for (std::size_t i = 0; i < values.size(); ++i) {
        CellKind kind = kind_of(values[i]);
        if (kind == CellKind::Blank) continue;
        ref.assign(letters(i));
        append_decimal(ref, row);
        append_typed_cell(out, ref, kind, text_of(values[i]), std::nullopt);
    }
}

template <class Value>
void append_row_markup(std::string& out, std::uint32_t row, ColumnLetters& letters, std::span<const Value> values) {
    append_row_start(out, row);
    append_cells(out, row, letters, values);
    out += kRowClose;
}

template <class Value>
std::size_t estimated_size(std::span<const Value> values) {
    std::size_t n = 32;
    for (const auto& v : values) n += text_of(v).size() + 48;
    return n;
}

struct ExistingCell {
    std::uint64_t column;
    std::size_t begin;
    std::size_t end;
};

// The cells of a row's content [content_begin, content_end) that have a readable reference, in
// text order.
Result<std::vector<ExistingCell>> inventory(std::string_view markup, std::size_t content_begin,
                                            std::size_t content_end) {
    std::vector<ExistingCell> cells;
    std::size_t pos = content_begin;
    for (;;) {
        std::size_t lt = find_before(markup, "<c", pos, content_end);
        if (lt == npos) break;
        std::size_t gt = find_before(markup, ">", lt + 2, content_end);
        if (gt == npos) return fail("cell tag end");
        if (!opens_cell(markup, lt + 2)) {
            pos = gt + 1;
            continue;
        }
        std::size_t end;
        if (markup[gt - 1] == '/') {
            end = gt + 1;
        } else {
            std::size_t close = find(markup, "</c>", gt + 1);
            if (close == npos) return fail("</c> missing");
            end = close + 4;
        }
        pos = end;
        std::string_view cell = markup.substr(lt, end - lt);
        std::size_t attr = find(cell, kRAttr);
        if (attr == npos) continue;
        std::size_t quote = find(cell, "\"", attr + kRAttr.size());
        if (quote == npos) continue;
        std::string_view r = cell.substr(attr + kRAttr.size(), quote - attr - kRAttr.size());
        // Unreadable references are stepped over, as set_cell does, so both place cells alike.
        auto column = reference_column(r);
        if (!column || !is_valid_utf8(r)) continue;
        cells.push_back({*column, lt, end});
    }
    return cells;
}

struct Edit {
    std::size_t begin;
    std::size_t end;  // equal to begin for an insertion
    std::size_t text_begin;
    std::size_t text_size;
};

template <class Value>
Status merge_into(std::string& out, std::string_view markup, std::uint32_t row, ColumnLetters& letters,
                  std::span<const Value> values) {
    std::size_t start_end = find(markup, ">");
    if (start_end == npos || start_end == 0) return fail("malformed <row>");
    if (markup[start_end - 1] == '/') {
        // A self-closed row holds no cells: it is reopened around the new ones, and left as it is
        // when there are none.
        if (values.empty()) {
            out.append(markup);
            return {};
        }
        out.append(markup.substr(0, start_end - 1));
        out += '>';
        append_cells(out, row, letters, values);
        out += kRowClose;
        return {};
    }
    if (!markup.ends_with(kRowClose) || markup.size() - kRowClose.size() <= start_end)
        return fail("</row> not found");
    std::size_t content_end = markup.size() - kRowClose.size();
    auto cells = inventory(markup, start_end + 1, content_end);
    if (!cells) return fail(std::move(cells.error()));
    auto by_column = [](const ExistingCell& c, std::uint64_t k) { return c.column < k; };
    // Bisection needs ascending columns; rows written out of order by other programs are
    // searched one by one instead, so no value is written twice.
    bool ordered = std::is_sorted(cells->begin(), cells->end(),
                                  [](const ExistingCell& a, const ExistingCell& b) { return a.column < b.column; });

    std::string rendered;
    rendered.reserve(estimated_size(values));
    std::vector<Edit> edits;
    edits.reserve(values.size());
    std::string ref;
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::uint64_t k = letters.first_column() + i;
        auto hit = ordered ? std::lower_bound(cells->begin(), cells->end(), k, by_column)
                           : std::find_if(cells->begin(), cells->end(),
                                          [k](const ExistingCell& c) { return c.column >= k; });
        if (!ordered && hit != cells->end() && hit->column != k) {
            auto exact = std::find_if(hit, cells->end(), [k](const ExistingCell& c) { return c.column == k; });
            if (exact != cells->end()) hit = exact;
        }
        const bool existing = hit != cells->end() && hit->column == k;
        const CellKind kind = kind_of(values[i]);
        if (kind == CellKind::Blank && !existing) continue;
        ref.assign(letters(i));
        append_decimal(ref, row);
        std::size_t text_begin = rendered.size();
        if (existing) {
            auto style = style_of_cell(markup.substr(hit->begin, hit->end - hit->begin));
            append_typed_cell(rendered, ref, kind, text_of(values[i]), style);
            edits.push_back({hit->begin, hit->end, text_begin, rendered.size() - text_begin});
        } else {
            std::size_t at = hit != cells->end() ? hit->begin : content_end;
            append_typed_cell(rendered, ref, kind, text_of(values[i]), std::nullopt);
            edits.push_back({at, at, text_begin, rendered.size() - text_begin});
        }
    }
    // Insertions before a cell come ahead of that cell's replacement; equal offsets keep column order.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        if (a.begin != b.begin) return a.begin < b.begin;
        return a.end == a.begin && b.end != b.begin;
    });
    std::size_t copied = 0;
    for (const Edit& e : edits) {
        out.append(markup.substr(copied, e.begin - copied));
        out.append(std::string_view(rendered).substr(e.text_begin, e.text_size));
        copied = e.end;
    }
    out.append(markup.substr(copied));
    return {};
}

}  // namespace

Status append_row(EditorState& state, std::span<const std::string> values) {
    resolve_last_row(state);
    if (Status fits = check_row_fits(state.last_row, values.size()); !fits) return fits;
    const std::uint32_t row = ++state.last_row;
    std::string markup;
    markup.reserve(estimated_size(values));
    ColumnLetters letters(0);
    append_row_markup<std::string>(markup, row, letters, values);
    std::size_t at = rfind(state.sheet_xml, kSheetDataClose);
    if (at == npos) return fail("</sheetData> tag not found");
    insert_at(state.sheet_xml, at, markup);
    return {};
}

std::string build_row(std::uint32_t row, std::uint64_t first_column, std::span<const std::string> values) {
    std::string out;
    out.reserve(estimated_size(values));
    append_built_row(out, row, first_column, values);
    return out;
}

void append_built_row(std::string& out, std::uint32_t row, std::uint64_t first_column,
                      std::span<const std::string> values) {
    ColumnLetters letters(first_column);
    append_row_markup<std::string>(out, row, letters, values);
}

Result<std::string> merge_row(std::string_view row_markup, std::uint32_t row, std::uint64_t first_column,
                              std::span<const std::string> values) {
    std::string out;
    out.reserve(row_markup.size() + 32 * values.size());
    ColumnLetters letters(first_column);
    if (auto ok = merge_into<std::string>(out, row_markup, row, letters, values); !ok) return fail(std::move(ok.error()));
    return out;
}

Status append_merged_row(std::string& out, std::string_view row_markup, std::uint32_t row,
                         std::uint64_t first_column, std::span<const std::string> values) {
    ColumnLetters letters(first_column);
    return merge_into<std::string>(out, row_markup, row, letters, values);
}

namespace {
template <class Value>
Status write_rows(EditorState& state, std::span<const std::vector<Value>> rows, std::string_view start) {
    auto start_ref = read_start_cell(start);
    if (!start_ref) return fail(std::move(start_ref.error()));
    std::size_t width = 0;
    for (const auto& row : rows) width = std::max(width, row.size());
    if (Status fits = check_block_fits(*start_ref, rows.size(), width); !fits) return fits;
    normalize_sheet_data(state.sheet_xml);
    const std::uint64_t first_column = start_ref->column;
    const std::uint32_t first_row = start_ref->row;
    if (rows.empty()) return {};

    // Pending rows in ascending number; row numbers wrap at 2^32, and a later row given the same
    // number replaces the earlier one.
    struct Pending {
        std::uint32_t row;
        std::size_t index;
    };
    std::vector<Pending> pending;
    pending.reserve(rows.size());
    std::uint32_t new_last = state.last_row;
    std::size_t reserve = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto n = static_cast<std::uint32_t>(first_row + i);
        pending.push_back({n, i});
        new_last = std::max(new_last, n);
        reserve += estimated_size(std::span<const Value>(rows[i]));
    }
    auto by_row = [](const Pending& a, const Pending& b) { return a.row < b.row; };
    if (!std::is_sorted(pending.begin(), pending.end(), by_row)) {
        std::stable_sort(pending.begin(), pending.end(), by_row);
        std::vector<Pending> unique;
        unique.reserve(pending.size());
        for (const Pending& p : pending) {
            if (!unique.empty() && unique.back().row == p.row) unique.back() = p;
            else unique.push_back(p);
        }
        pending = std::move(unique);
    }

    // One pass over the rows records where each lies and which pending row it takes; new rows go
    // before the first row in text order with a greater number. In a sheet whose rows ascend this
    // places every row where a merge walk would; in one whose rows do not, it still writes into
    // the existing row instead of adding a second row with the same number.
    const std::string_view old = state.sheet_xml;
    struct ExistingRow {
        std::size_t begin;
        std::size_t end;
        std::optional<std::uint32_t> number;
    };
    std::vector<ExistingRow> existing;
    constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);
    std::vector<std::size_t> merge_into_row(pending.size(), kNoRow);
    for (std::size_t pos = 0;;) {
        // A self-closed row ends with its own tag; the next row's "</row>" is not its end.
        auto found = next_row_span(old, pos);
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        const RowSpan& row = **found;
        pos = row.end;
        const auto& number = row.number;
        if (number && *number >= pending.front().row && *number <= pending.back().row) {
            auto it = std::lower_bound(pending.begin(), pending.end(), Pending{*number, 0}, by_row);
            if (it != pending.end() && it->row == *number) {
                std::size_t& slot = merge_into_row[std::size_t(it - pending.begin())];
                if (slot == kNoRow) slot = existing.size();
            }
        }
        existing.push_back({row.begin, row.end, number});
    }

    struct Placement {
        std::size_t row;  // index into `existing`; existing.size() for the end of sheetData
        bool merge;
        std::size_t pending;
    };
    std::vector<Placement> placements;
    placements.reserve(pending.size());
    std::size_t greater = 0;  // first row in text order with a number above the pending one
    for (std::size_t p = 0; p < pending.size(); ++p) {
        if (merge_into_row[p] != kNoRow) {
            placements.push_back({merge_into_row[p], true, p});
            continue;
        }
        while (greater < existing.size() &&
               !(existing[greater].number && *existing[greater].number > pending[p].row))
            ++greater;
        placements.push_back({greater, false, p});
    }
    // Within one row, new rows (smaller numbers) come before the merge; pending order is ascending.
    auto by_place = [](const Placement& a, const Placement& b) { return a.row < b.row; };
    if (!std::is_sorted(placements.begin(), placements.end(), by_place))
        std::stable_sort(placements.begin(), placements.end(), by_place);

    std::string out;
    out.reserve(old.size() + reserve);
    ColumnLetters letters(first_column);
    std::size_t copied = 0;  // old text before this is in `out`
    std::size_t next = 0;
    for (; next < placements.size() && placements[next].row < existing.size(); ++next) {
        const Placement& place = placements[next];
        const ExistingRow& at = existing[place.row];
        const Pending& p = pending[place.pending];
        // Untouched rows before this one are copied as one slice.
        out.append(old.substr(copied, at.begin - copied));
        copied = at.begin;
        if (place.merge) {
            auto merged = merge_into(out, old.substr(at.begin, at.end - at.begin), p.row, letters,
                                     std::span<const Value>(rows[p.index]));
            if (!merged) return fail(std::move(merged.error()));
            copied = at.end;
        } else {
            append_row_markup(out, p.row, letters, std::span<const Value>(rows[p.index]));
        }
    }
    out.append(old.substr(copied));
    std::size_t sheet_data_end = rfind(out, kSheetDataClose);
    if (sheet_data_end == npos) return fail("</sheetData> tag not found");
    if (next < placements.size()) {
        std::string tail = out.substr(sheet_data_end);
        out.resize(sheet_data_end);
        for (; next < placements.size(); ++next) {
            const Pending& p = pending[placements[next].pending];
            append_row_markup(out, p.row, letters, std::span<const Value>(rows[p.index]));
        }
        out += tail;
    }
    state.sheet_xml = std::move(out);
    state.last_row = new_last;
    return {};
}

}  // namespace

Status write_block(EditorState& state, std::span<const std::vector<std::string>> rows, std::string_view start) {
    return write_rows(state, rows, start);
}

Status write_block(EditorState& state, std::span<const std::vector<TypedCell>> rows, std::string_view start) {
    return write_rows(state, rows, start);
}

}  // namespace qm
