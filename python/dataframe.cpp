#include "dataframe.hpp"

#include <algorithm>
#include <map>
#include <vector>

#include "cells/cells.hpp"
#include "convert.hpp"
#include "editor.hpp"
#include "read/read.hpp"
#include "styles/layout.hpp"
#include "styles/styles.hpp"
#include "support/text.hpp"

namespace qmpy {

std::string_view FrameTable::keep(std::string_view text) {
    const std::size_t n = text.size();
    if (n == 0) return {};
    if (block_size_ - block_used_ < n) {
        constexpr std::size_t kBlock = std::size_t(1) << 20;
        block_size_ = std::max(kBlock, n);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
        block_used_ = 0;
    }
    char* at = blocks_.back().get() + block_used_;
    qm::put_short(at, text);
    block_used_ += n;
    return {at, n};
}

std::span<qm::CellText> FrameTable::add_rows(std::size_t count, std::size_t width) {
    const std::size_t first = cells_.size();
    cells_.resize(first + count * width);
    for (std::size_t i = 1; i <= count; ++i) row_ends_.push_back(first + i * width);
    return std::span(cells_).subspan(first);
}

void FrameTable::pad_rows(std::size_t from, std::size_t width) {
    bool short_row = false;
    for (std::size_t i = from; i < rows() && !short_row; ++i)
        short_row = row_ends_[i] - (i == 0 ? 0 : row_ends_[i - 1]) < width;
    if (!short_row) return;
    std::vector<qm::CellText> padded;
    padded.reserve(cells_.size());
    std::size_t begin = 0;
    for (std::size_t i = 0; i < rows(); ++i) {
        padded.insert(padded.end(), cells_.begin() + std::ptrdiff_t(begin), cells_.begin() + std::ptrdiff_t(row_ends_[i]));
        std::size_t size = row_ends_[i] - begin;
        if (i >= from && size < width) padded.resize(padded.size() + width - size);
        begin = row_ends_[i];
        row_ends_[i] = padded.size();
    }
    cells_ = std::move(padded);
}

std::vector<std::span<const qm::CellText>> FrameTable::row_spans() const {
    std::vector<std::span<const qm::CellText>> spans;
    spans.reserve(rows());
    std::size_t begin = 0;
    for (std::size_t end : row_ends_) {
        spans.push_back(std::span(cells_).subspan(begin, end - begin));
        begin = end;
    }
    return spans;
}

void FrameTable::clear() { *this = FrameTable(); }

namespace {
// Date columns get a date format over their data rows, datetime (or mixed) columns a date-time one.
void track(ColumnKind& kind, ValueClass value) {
    if (value == ValueClass::DateTime) kind = ColumnKind::DateTime;
    else if (value == ValueClass::Date && kind == ColumnKind::None) kind = ColumnKind::Date;
}

// One row's cell texts; the markers of the header's columns follow the values' classes. False
// with an exception set on failure.
bool convert_row(PyObject* const* values, Py_ssize_t count, std::vector<ColumnKind>& kinds, FrameTable& table,
                 qm::TypedCell& scratch, bool date1904) {
    for (Py_ssize_t j = 0; j < count; ++j) {
        ValueClass cls;
        if (!typed_value(values[j], scratch, cls, date1904)) return false;
        table.add(scratch.kind, scratch.text);
        if (static_cast<std::size_t>(j) < kinds.size()) track(kinds[static_cast<std::size_t>(j)], cls);
    }
    table.end_row();
    return true;
}

// The frame as rows of cell texts, header first; false with an exception set on failure.
bool read_frame(PyObject* frame, FrameTable& table, std::vector<ColumnKind>& kinds, bool date1904) {
    PyObject* columns = PyObject_GetAttrString(frame, "columns");
    if (!columns) {
        PyErr_Clear();
        raise_runtime("Expected polars.DataFrame with .columns");
        return false;
    }
    auto header = to_text_list(columns);
    Py_DECREF(columns);
    if (!header) return false;

    PyObject* name = PyUnicode_FromString("iter_rows");
    PyObject* rows = name ? PyObject_CallMethodNoArgs(frame, name) : nullptr;
    Py_XDECREF(name);
    if (!rows) {
        PyErr_Clear();
        raise_runtime("Expected polars.DataFrame with .iter_rows()");
        return false;
    }
    PyObject* iter = PyObject_GetIter(rows);
    Py_DECREF(rows);
    if (!iter) return false;

    kinds.assign(header->size(), ColumnKind::None);
    for (const auto& name : *header) table.add(qm::CellKind::InlineString, name);
    table.end_row();
    qm::TypedCell scratch;
    bool ok = true;
    while (PyObject* item = PyIter_Next(iter)) {
        if (PyTuple_CheckExact(item)) {
            // A tuple cannot change while its values are converted: its items need no copy.
            ok = convert_row(PySequence_Fast_ITEMS(item), PyTuple_GET_SIZE(item), kinds, table, scratch, date1904);
            Py_DECREF(item);
        } else {
            auto values = to_object_list(item);
            Py_DECREF(item);
            if (!values) {
                ok = false;
                break;
            }
            ObjectListGuard release{*values};
            ok = convert_row(values->data(), values->size(), kinds, table, scratch, date1904);
        }
        if (!ok) break;
    }
    Py_DECREF(iter);
    return ok && !PyErr_Occurred();
}

// The busy flag stays taken while the frame's own code runs, so it cannot re-enter this editor.
bool write_frame(qm::EditorState& state, PyObject* frame, const std::optional<std::string>& start_text) {
    // Read before the frame, so that a bad start writes nothing and runs none of the frame's code.
    auto start = qm::read_table_start(start_text.value_or("A1"));
    if (!start) {
        raise_core(start.error());
        return false;
    }

    std::vector<ColumnKind> kinds;
    FrameTable table;
    const bool date1904 = qm::uses_1904(state);
    switch (read_arrow_frame(frame, table, kinds, date1904)) {
        case ArrowRead::Done:
            break;
        case ArrowRead::Failed:
            return false;
        case ArrowRead::Fallback:
            table.clear();
            if (!read_frame(frame, table, kinds, date1904)) return false;
            break;
    }

    // Date and datetime columns get their format as the block is written: a format pass per
    // column afterwards would walk the whole sheet each time. Cells written over keep their
    // own style with the format joined to it, as the range format does.
    std::map<std::pair<ColumnKind, std::optional<std::uint32_t>>, std::uint32_t> derived;
    auto restyle_for = [&](ColumnKind kind) -> qm::Restyle {
        return [&derived, &state, kind](std::optional<std::uint32_t> old) -> qm::Result<std::uint32_t> {
            if (auto hit = derived.find({kind, old}); hit != derived.end()) return hit->second;
            qm::StyleSpec change;
            change.num_fmt = kind == ColumnKind::Date ? "yyyy-mm-dd" : "yyyy-mm-dd hh:mm:ss";
            auto index = qm::derive_cell_format(state, old, change);
            if (!index) return qm::fail(std::move(index.error()));
            derived.emplace(std::pair{kind, old}, *index);
            return *index;
        };
    };
    const qm::Restyle date_style = restyle_for(ColumnKind::Date);
    const qm::Restyle datetime_style = restyle_for(ColumnKind::DateTime);
    std::vector<const qm::Restyle*> column_styles(kinds.size(), nullptr);
    std::size_t styled_width = 0;
    for (std::size_t j = 0; j < kinds.size(); ++j) {
        if (kinds[j] == ColumnKind::None) continue;
        column_styles[j] = kinds[j] == ColumnKind::Date ? &date_style : &datetime_style;
        styled_width = j + 1;
    }
    // The format covers every data row of such a column, also rows too short to reach it.
    table.pad_rows(1, styled_width);
    const auto rows = table.row_spans();

    // A failed write leaves the style sheet as it was, not with formats nothing uses.
    qm::StyleTransaction transaction(state);
    return ok_or_raise(transaction.finish(
        qm::write_block(state, std::span<const std::span<const qm::CellText>>(rows), *start, column_styles, 1)));
}

constexpr EditorMethod with_polars{
    "with_polars", Access::Edit, Returns::None,
    Params{Param<arg::Object<>>{"py_df"}, Param<arg::OptionalText>{"start_cell"}},
    write_frame,
};

}  // namespace

const PyMethodDef with_polars_method = editor_entry<with_polars>();

}  // namespace qmpy
