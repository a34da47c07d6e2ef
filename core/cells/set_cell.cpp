// Writing values into cells: set_cell and the block writer share one merge of sorted row writes
// into the sheet, so both place rows and cells alike.
#include <algorithm>

#include "cells/cells.hpp"
#include "cells/tables.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

struct Edit {
    std::size_t begin;
    std::size_t end;  // equal to begin for an insertion
    std::string text;
};

void append_reference(std::string& out, std::uint64_t column, std::uint32_t row) {
    append_column_letters(out, column);
    append_decimal(out, row);
}

CellKind kind_of(const CellWrite& w) { return w.kind ? *w.kind : classify_value(w.value); }

// A cell that did not exist: the value's markup, or a blank cell holding only the style.
Status append_new_cell(std::string& out, const CellWrite& w, std::uint32_t row, const Restyle& restyle) {
    if (w.markup) {
        out += w.value;
        return {};
    }
    if (!w.style_only) {
        const CellKind kind = kind_of(w);
        if (kind == CellKind::Blank && !w.value_style) return {};
        std::optional<std::uint32_t> style;
        if (w.value_style) {
            auto index = (*w.value_style)(std::nullopt);
            if (!index) return fail(std::move(index.error()));
            style = *index;
        }
        std::string ref;
        append_reference(ref, w.column, row);
        append_typed_cell(out, ref, kind, w.value, style);
        return {};
    }
    auto index = restyle(std::nullopt);
    if (!index) return fail(std::move(index.error()));
    out += "<c r=\"";
    append_reference(out, w.column, row);
    out += "\" s=\"";
    append_decimal(out, *index);
    out += "\"/>";
    return {};
}

Status append_new_row(std::string& out, const RowWrites& row, const Restyle& restyle) {
    out += "<row r=\"";
    append_decimal(out, row.row);
    out += "\">";
    for (const CellWrite& w : row.cells)
        if (Status st = append_new_cell(out, w, row.row, restyle); !st) return st;
    out += "</row>";
    return {};
}

// Where each write of a row lands among its existing cells: the first cell in text order with
// the same column is replaced; otherwise the new cell goes before the first cell with a greater
// column (spreadsheet applications treat cells out of column order as damage), else at the end.
struct CellEdit {
    std::size_t at;          // offset of the replaced cell, or of the insertion
    std::size_t cell;        // index of the replaced cell, or npos for an insertion
    std::size_t write;       // index into the row's writes
};

std::vector<CellEdit> place_cells(const std::vector<SheetCell>& cells, std::size_t content_end,
                                  std::span<const CellWrite> writes) {
    std::vector<CellEdit> edits;
    edits.reserve(writes.size());
    bool ordered = true;
    std::uint64_t last = 0;
    bool any = false;
    for (const SheetCell& c : cells) {
        if (!c.column) {
            ordered = false;
            break;
        }
        if (any && *c.column <= last) ordered = false;
        last = *c.column;
        any = true;
    }
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const std::uint64_t k = writes[i].column;
        std::size_t exact = npos, greater = npos;
        if (ordered) {
            auto it = std::lower_bound(cells.begin(), cells.end(), k,
                                       [](const SheetCell& c, std::uint64_t v) { return *c.column < v; });
            if (it != cells.end()) (*it->column == k ? exact : greater) = std::size_t(it - cells.begin());
        } else {
            for (std::size_t j = 0; j < cells.size(); ++j) {
                if (!cells[j].column) continue;
                if (*cells[j].column == k) {
                    exact = j;
                    break;
                }
                if (*cells[j].column > k && greater == npos) greater = j;
            }
        }
        if (exact != npos) edits.push_back({cells[exact].begin, exact, i});
        else edits.push_back({greater != npos ? cells[greater].begin : content_end, npos, i});
    }
    // Insertions before a cell come ahead of that cell's replacement; equal offsets keep column order.
    std::stable_sort(edits.begin(), edits.end(), [](const CellEdit& a, const CellEdit& b) {
        if (a.at != b.at) return a.at < b.at;
        return a.cell == npos && b.cell != npos;
    });
    return edits;
}

// An existing row with the writes merged in. The row's start tag, the cells not written to and
// everything between them stay byte for byte, except that a row or cell without `r` is given its
// position, so that nothing placed beside it depends on counting.
Status merge_row_into(std::string& out, std::string_view text, const SheetRow& row, const RowWrites& writes,
                      const Restyle& restyle, std::vector<SheetCell>& cells) {
    const std::uint32_t n = *row.number;
    std::string number;
    append_decimal(number, n);
    std::string_view start = text.substr(row.begin, row.tag_end - row.begin);
    if (row.self_closing) {
        if (writes.cells.empty()) {
            out.append(text, row.begin, row.end - row.begin);
            return {};
        }
        if (row.has_r) {
            out.append(start.substr(0, start.size() - 2));
            out += '>';
        } else {
            append_tag_with_r(out, start, number, true);
        }
        for (const CellWrite& w : writes.cells)
            if (Status st = append_new_cell(out, w, n, restyle); !st) return st;
        out += "</row>";
        return {};
    }
    if (Status st = scan_row_cells(text, row, cells); !st) return st;
    if (row.has_r) out.append(start);
    else append_tag_with_r(out, start, number);

    const auto edits = place_cells(cells, row.content_end, writes.cells);
    std::string ref;
    std::size_t copied = row.tag_end;
    std::size_t next_cell = 0;  // cells before this have been looked at for a missing `r`
    auto copy_until = [&](std::size_t until) {
        for (; next_cell < cells.size() && cells[next_cell].begin < until; ++next_cell) {
            const SheetCell& c = cells[next_cell];
            if (c.r || !c.column || c.begin < copied) continue;
            out.append(text, copied, c.begin - copied);
            ref.clear();
            append_reference(ref, *c.column, n);
            append_tag_with_r(out, c.start_tag(text), ref);
            copied = c.tag_end;
        }
        out.append(text, copied, until - copied);
        copied = until;
    };
    for (const CellEdit& e : edits) {
        copy_until(e.at);
        const CellWrite& w = writes.cells[e.write];
        if (e.cell == npos) {
            if (Status st = append_new_cell(out, w, n, restyle); !st) return st;
            continue;
        }
        const SheetCell& old = cells[e.cell];
        next_cell = std::max(next_cell, e.cell + 1);
        if (w.markup) {
            out += w.value;
            copied = old.end;
            continue;
        }
        ref.clear();
        append_reference(ref, w.column, n);
        std::optional<std::uint32_t> style = style_of_cell(old.start_tag(text));
        if (w.style_only) {
            auto index = restyle(style);
            if (!index) return fail(std::move(index.error()));
            // The start tag alone changes; a cell without `r` is given its position too.
            if (old.r) {
                append_tag_with_style(out, old.start_tag(text), *index);
            } else {
                std::string tag;
                append_tag_with_r(tag, old.start_tag(text), ref);
                append_tag_with_style(out, tag, *index);
            }
            copied = old.tag_end;
            continue;
        }
        if (w.value_style) {
            auto index = (*w.value_style)(style);
            if (!index) return fail(std::move(index.error()));
            style = *index;
        }
        // The one place where an existing cell's content is overwritten.
        append_typed_cell(out, ref, kind_of(w), w.value, style);
        copied = old.end;
    }
    copy_until(row.end);
    return {};
}

// Applies edits given in ascending order: a few are spliced in place (a single write into a
// large sheet must not copy it), many rebuild the text once.
void apply_edits(std::string& text, std::vector<Edit>& edits) {
    if (edits.size() <= 4) {
        for (auto it = edits.rbegin(); it != edits.rend(); ++it) splice(text, it->begin, it->end - it->begin, it->text);
        return;
    }
    std::size_t size = text.size();
    for (const Edit& e : edits) size += e.text.size() - (e.end - e.begin);
    std::string out;
    out.reserve(size);
    std::size_t copied = 0;
    for (const Edit& e : edits) {
        out.append(text, copied, e.begin - copied);
        out += e.text;
        copied = e.end;
    }
    out.append(text, copied);
    text = std::move(out);
}

// Where each pending row goes, found in one pass: the row it merges into (the first in text
// order with its number) and where it would be inserted (before the first row in text order with
// a greater number). Pending rows ascend, so that row never moves back: one pointer serves them
// all, and nothing per row of the sheet is kept.
Result<RowPlaces> walk_row_places(std::string_view text, const SheetDataSpan& data, std::span<const RowWrites> rows) {
    RowPlaces places;
    places.merge_into.resize(rows.size());
    places.insert_at.assign(rows.size(), data.content_end);
    std::size_t placed = 0;
    auto by_row = [](const RowWrites& a, std::uint32_t n) { return a.row < n; };
    RowScanner scanner(text, data);
    for (;;) {
        auto found = scanner.next();
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        const SheetRow& row = **found;
        if (!row.number) continue;
        if (*row.number >= rows.front().row && *row.number <= rows.back().row) {
            auto it = std::lower_bound(rows.begin(), rows.end(), *row.number, by_row);
            if (it != rows.end() && it->row == *row.number) {
                std::optional<SheetRow>& slot = places.merge_into[std::size_t(it - rows.begin())];
                if (!slot) slot = row;
            }
        }
        for (; placed < rows.size() && rows[placed].row < *row.number; ++placed)
            places.insert_at[placed] = row.begin;
    }
    return places;
}

// The rows merged into the sheet text, sheetData already open (see write_rows).
Status merge_rows(EditorState& state, std::span<const RowWrites> rows, const Restyle& restyle,
                  const RowPlaces* known) {
    const std::string_view text = state.sheet_xml;
    auto data = find_sheet_data(text);
    if (!data) return fail(std::move(data.error()));
    RowPlaces walked;
    if (!known) {
        auto found = walk_row_places(text, *data, rows);
        if (!found) return fail(std::move(found.error()));
        walked = std::move(*found);
    }
    const RowPlaces& places = known ? *known : walked;
    const auto& merge_into = places.merge_into;
    const auto& insert_at = places.insert_at;

    // Rows that all go to one place and outweigh the sheet (a new sheet filled, a large block
    // after the rows): the new text is built once at its final size, instead of growing the
    // insertion and then splicing it into yet another copy of the sheet. A few rows into a large
    // sheet are spliced into the text where it lies, which keeps room for them.
    std::size_t added = 0;
    for (const RowWrites& r : rows) {
        added += 32;
        for (const CellWrite& w : r.cells) added += w.value.size() + 48;
    }
    if (added > text.size() &&
        std::none_of(merge_into.begin(), merge_into.end(), [](const auto& m) { return m.has_value(); }) &&
        std::all_of(insert_at.begin(), insert_at.end(), [&](std::size_t at) { return at == insert_at.front(); })) {
        std::string out;
        out.reserve(text.size() + added);
        out.append(text.substr(0, insert_at.front()));
        for (const RowWrites& r : rows)
            if (Status st = append_new_row(out, r, restyle); !st) return st;
        out.append(text.substr(insert_at.front()));
        state.sheet_xml = std::move(out);
        state.last_row = std::max(state.last_row, rows.back().row);
        return {};
    }

    std::vector<Edit> edits;
    std::vector<SheetCell> cells;
    std::uint32_t highest = 0;
    for (std::size_t p = 0; p < rows.size(); ++p) {
        highest = std::max(highest, rows[p].row);
        if (merge_into[p]) {
            const SheetRow& row = *merge_into[p];
            std::string merged;
            merged.reserve(row.end - row.begin + 64 * rows[p].cells.size());
            if (Status st = merge_row_into(merged, text, row, rows[p], restyle, cells); !st) return st;
            edits.push_back({row.begin, row.end, std::move(merged)});
            continue;
        }
        std::size_t at = insert_at[p];
        if (edits.empty() || edits.back().begin != at || edits.back().end != at) edits.push_back({at, at, {}});
        if (Status st = append_new_row(edits.back().text, rows[p], restyle); !st) return st;
    }
    // A merge and the insertions before the same row share an offset: insertions come first.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
        if (a.begin != b.begin) return a.begin < b.begin;
        return a.end == a.begin && b.end != b.begin;
    });
    apply_edits(state.sheet_xml, edits);
    state.last_row = std::max(state.last_row, highest);
    return {};
}

}  // namespace

Status write_rows(EditorState& state, std::span<const RowWrites> rows, const Restyle& restyle,
                  const RowPlaces* places) {
    // Header cells name their table's columns: checked first, renamed only when the write lands.
    auto renames = table_header_renames(state, rows);
    if (!renames) return fail(std::move(renames.error()));
    open_sheet_data(state.sheet_xml);
    if (rows.empty()) return {};
    // The one place where writes meet shared and array formulas.
    auto before = prepare_formula_groups(state, rows);
    if (!before) return fail(std::move(before.error()));
    // Places known beforehand hold only while formula groups left the text alone.
    Status written = merge_rows(state, rows, restyle, before->has_value() ? nullptr : places);
    if (!written) {
        if (*before) state.sheet_xml = std::move(**before);
        return written;
    }
    install_table_renames(state, std::move(*renames));
    commit_formula_groups(state, rows, before->has_value());
    return written;
}

Status set_cell(EditorState& state, std::string_view coords, std::string_view value) {
    // Checked before anything changes; the cell is found and written by its position.
    auto canonical = canonical_cell_coordinate(coords);
    if (!canonical) return fail(std::move(canonical.error()));
    auto ref = read_cell_ref(*canonical);
    if (!ref) return fail("invalid cell coordinate: " + std::string(coords));
    if (state.cell_queue) {
        // A header write renames a table column, and a write into a formula group changes the
        // group: both are made at once, after the writes held before them.
        auto header = is_table_header_cell(state, *ref);
        if (!header) return fail(std::move(header.error()));
        if (!*header && !touches_formula_group(state, *ref)) return queue_cell_value(state, *ref, value);
        if (Status flushed = flush_cell_queue(state); !flushed) return flushed;
    }
    open_sheet_data(state.sheet_xml);
    const CellWrite write{ref->column, value, false, std::nullopt, false};
    const RowWrites rows[] = {{ref->row, std::span(&write, 1)}};
    return write_rows(state, rows);
}

}  // namespace qm
