// Single-cell writes held back and merged in one pass. A loop of set_cell calls would otherwise
// scan the sheet and splice into the middle of one large text per call. Each queued write is
// checked and worked out when it is made, against the text as it stood when the queue started
// (which nothing changes while writes are held) and the writes before it, so the call fails
// exactly when a direct write would, and the merge at the end cannot fail.
#include <algorithm>
#include <map>
#include <vector>

#include "cells/cells.hpp"
#include "support/text.hpp"

namespace qm {

// A cell as the queue holds it: its whole markup after every queued write so far.
struct QueuedCell {
    std::string markup;
    std::size_t tag_size = 0;  // the start tag's length
    bool has_r = true;
};

struct CellQueue {
    bool started = false;
    std::optional<CoreError> sheet_error;  // what every write into this text fails with
    // Where the first row of each number starts, by number: a compact index (a large sheet has
    // hundreds of thousands of rows), each row read again from its start when a write needs it.
    std::vector<std::pair<std::uint32_t, std::size_t>> rows;
    bool ascending = true;  // rows stand in the text in rising number order, each numbered once
    SheetDataSpan data;
    // The cells of the row read last, or why they could not be read. Loops write along a row or
    // down a column, and a column's rows are each read once: one row is all worth keeping.
    std::optional<std::uint32_t> listed_row;
    std::vector<SheetCell> listed_cells;
    std::optional<CoreError> listed_error;
    std::map<std::pair<std::uint32_t, std::uint64_t>, QueuedCell> cells;
};

namespace {

Status start(EditorState& state, CellQueue& queue) {
    if (queue.started) return {};
    queue = CellQueue{};
    queue.started = true;
    open_sheet_data(state.sheet_xml);
    auto data = find_sheet_data(state.sheet_xml);
    if (!data) {
        queue.sheet_error = data.error();
        return {};
    }
    queue.data = *data;
    RowScanner scanner(state.sheet_xml, *data);
    for (;;) {
        auto row = scanner.next();
        if (!row) {
            queue.sheet_error = row.error();
            queue.rows = {};
            return {};
        }
        if (!*row) break;
        if (!(*row)->number || (!queue.rows.empty() && queue.rows.back().first >= *(*row)->number))
            queue.ascending = false;
        if ((*row)->number) queue.rows.emplace_back(*(*row)->number, (*row)->begin);
    }
    // Rows in rising order are already sorted and unique. Otherwise the sort is stable, so that
    // of rows sharing a number the first in text order comes first and stays.
    if (!queue.ascending) {
        std::stable_sort(queue.rows.begin(), queue.rows.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        queue.rows.erase(std::unique(queue.rows.begin(), queue.rows.end(),
                                     [](const auto& a, const auto& b) { return a.first == b.first; }),
                         queue.rows.end());
    }
    queue.rows.shrink_to_fit();
    return {};
}

// The first row numbered `number`, read again from where the index says it starts.
std::optional<SheetRow> indexed_row(const EditorState& state, const CellQueue& queue, std::uint32_t number) {
    auto it = std::lower_bound(queue.rows.begin(), queue.rows.end(), number,
                               [](const auto& entry, std::uint32_t n) { return entry.first < n; });
    if (it == queue.rows.end() || it->first != number) return std::nullopt;
    SheetDataSpan from = queue.data;
    from.content_begin = it->second;
    RowScanner scanner(state.sheet_xml, from);
    auto row = scanner.next();
    // The whole sheet was read without error when the index was built, and the text is unchanged.
    if (!row || !*row) return std::nullopt;
    // A row without `r` takes its number from the rows before it, which this scan did not see.
    (*row)->number = number;
    return **row;
}

// The cell at (row, column) as the queued writes left it: from the queue, else from the text.
Result<std::optional<QueuedCell>> current(const EditorState& state, CellQueue& queue, CellRef at) {
    if (auto held = queue.cells.find({at.row, at.column}); held != queue.cells.end()) return held->second;
    if (queue.listed_row != at.row) {
        auto row = indexed_row(state, queue, at.row);
        if (!row) return std::optional<QueuedCell>();
        Status scanned = scan_row_cells(state.sheet_xml, *row, queue.listed_cells);
        queue.listed_error = scanned ? std::nullopt : std::optional<CoreError>(std::move(scanned.error()));
        queue.listed_row = at.row;
    }
    if (queue.listed_error) return fail(CoreError(*queue.listed_error));
    for (const SheetCell& c : queue.listed_cells) {
        if (c.column != at.column) continue;
        std::string_view text = state.sheet_xml;
        return std::optional<QueuedCell>(
            QueuedCell{std::string(text.substr(c.begin, c.end - c.begin)), c.tag_end - c.begin, c.r.has_value()});
    }
    return std::optional<QueuedCell>();
}

// Runs one write: `apply` turns the cell's current markup (none for a missing cell) into the new.
template <class Apply>
Status queue_write(EditorState& state, CellRef at, Apply apply) {
    CellQueue& queue = *state.cell_queue;
    if (Status st = start(state, queue); !st) return st;
    if (queue.sheet_error) return fail(CoreError(*queue.sheet_error));
    auto cell = current(state, queue, at);
    if (!cell) return fail(std::move(cell.error()));
    auto next = apply(*cell);
    if (!next) return fail(std::move(next.error()));
    queue.cells.insert_or_assign({at.row, at.column}, std::move(*next));
    state.last_row = std::max(state.last_row, at.row);
    return {};
}

std::string reference(CellRef at) {
    std::string ref;
    append_column_letters(ref, at.column);
    append_decimal(ref, at.row);
    return ref;
}

}  // namespace

void enable_cell_queue(EditorState& state) {
    if (!state.cell_queue) state.cell_queue = std::make_shared<CellQueue>();
}

Status queue_cell_value(EditorState& state, CellRef at, std::string_view value) {
    return queue_write(state, at, [&](const std::optional<QueuedCell>& old) -> Result<QueuedCell> {
        const CellKind kind = classify_value(value);
        QueuedCell cell;
        append_typed_cell(cell.markup, reference(at), kind, value, old ? style_of_cell(old->markup) : std::nullopt);
        cell.tag_size = cell.markup.find('>') + 1;
        return cell;
    });
}

Status queue_cell_style(EditorState& state, CellRef at, const Restyle& restyle) {
    return queue_write(state, at, [&](const std::optional<QueuedCell>& old) -> Result<QueuedCell> {
        auto index = restyle(old ? style_of_cell(old->markup) : std::nullopt);
        if (!index) return fail(std::move(index.error()));
        QueuedCell cell;
        if (!old) {
            cell.markup = "<c r=\"" + reference(at) + "\" s=\"";
            append_decimal(cell.markup, *index);
            cell.markup += "\"/>";
            cell.tag_size = cell.markup.size();
            return cell;
        }
        std::string_view tag = std::string_view(old->markup).substr(0, old->tag_size);
        std::string with_r;
        if (!old->has_r) {
            append_tag_with_r(with_r, tag, reference(at));
            tag = with_r;
        }
        append_tag_with_style(cell.markup, tag, *index);
        cell.tag_size = cell.markup.size();
        cell.markup.append(old->markup, old->tag_size);
        return cell;
    });
}

Status flush_cell_queue(EditorState& state) {
    if (!state.cell_queue || !state.cell_queue->started) return {};
    CellQueue& queue = *state.cell_queue;
    std::vector<CellWrite> writes;
    writes.reserve(queue.cells.size());
    std::vector<RowWrites> rows;
    for (const auto& [at, cell] : queue.cells) {
        CellWrite w;
        w.column = at.second;
        w.value = cell.markup;
        w.markup = true;
        writes.push_back(w);
    }
    std::size_t i = 0, row_begin = 0;
    for (const auto& [at, cell] : queue.cells) {
        if (rows.empty() || rows.back().row != at.first) {
            rows.push_back({at.first, {}});
            row_begin = i;
        }
        ++i;
        rows.back().cells = std::span<const CellWrite>(writes).subspan(row_begin, i - row_begin);
    }
    // Rows in rising order are placed from the index: the row of the same number is merged into,
    // a new one goes before the next higher row. Other orders leave it to the merge's own walk.
    RowPlaces places;
    if (queue.ascending) {
        for (const RowWrites& row : rows) {
            auto next = std::upper_bound(queue.rows.begin(), queue.rows.end(), row.row,
                                         [](std::uint32_t n, const auto& entry) { return n < entry.first; });
            places.insert_at.push_back(next == queue.rows.end() ? queue.data.content_end : next->second);
            places.merge_into.push_back(indexed_row(state, queue, row.row));
        }
    }
    Status done = write_rows(state, rows, {}, queue.ascending ? &places : nullptr);
    *state.cell_queue = CellQueue{};
    return done;
}

}  // namespace qm
