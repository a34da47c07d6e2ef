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

namespace {
// Date columns get a date format over their data rows, datetime (or mixed) columns a date-time one.
void track(ColumnKind& kind, ValueClass value) {
    if (value == ValueClass::DateTime) kind = ColumnKind::DateTime;
    else if (value == ValueClass::Date && kind == ColumnKind::None) kind = ColumnKind::Date;
}

// One row's cell texts; the markers of the header's columns follow the values' classes. False
// with an exception set on failure.
bool convert_row(PyObject* const* values, Py_ssize_t count, std::vector<ColumnKind>& kinds,
                 std::vector<qm::TypedCell>& row, bool date1904) {
    row.reserve(static_cast<std::size_t>(count));
    for (Py_ssize_t j = 0; j < count; ++j) {
        ValueClass cls;
        if (!typed_value(values[j], row.emplace_back(), cls, date1904)) return false;
        if (static_cast<std::size_t>(j) < kinds.size()) track(kinds[static_cast<std::size_t>(j)], cls);
    }
    return true;
}

// The frame as rows of cell texts, header first; nullopt with an exception set on failure.
std::optional<std::vector<std::vector<qm::TypedCell>>> read_frame(PyObject* frame, std::vector<ColumnKind>& kinds,
                                                                          bool date1904) {
    PyObject* columns = PyObject_GetAttrString(frame, "columns");
    if (!columns) {
        PyErr_Clear();
        raise_runtime("Expected polars.DataFrame with .columns");
        return std::nullopt;
    }
    auto header = to_text_list(columns);
    Py_DECREF(columns);
    if (!header) return std::nullopt;

    PyObject* name = PyUnicode_FromString("iter_rows");
    PyObject* rows = name ? PyObject_CallMethodNoArgs(frame, name) : nullptr;
    Py_XDECREF(name);
    if (!rows) {
        PyErr_Clear();
        raise_runtime("Expected polars.DataFrame with .iter_rows()");
        return std::nullopt;
    }
    PyObject* iter = PyObject_GetIter(rows);
    Py_DECREF(rows);
    if (!iter) return std::nullopt;

    kinds.assign(header->size(), ColumnKind::None);
    std::vector<std::vector<qm::TypedCell>> table;
    auto& names = table.emplace_back();
    names.reserve(header->size());
    for (auto& name : *header) names.push_back({qm::CellKind::InlineString, std::move(name)});
    bool ok = true;
    while (PyObject* item = PyIter_Next(iter)) {
        std::vector<qm::TypedCell> row;
        if (PyTuple_CheckExact(item)) {
            // A tuple cannot change while its values are converted: its items need no copy.
            ok = convert_row(PySequence_Fast_ITEMS(item), PyTuple_GET_SIZE(item), kinds, row, date1904);
            Py_DECREF(item);
        } else {
            auto values = to_object_list(item);
            Py_DECREF(item);
            if (!values) {
                ok = false;
                break;
            }
            ObjectListGuard release{*values};
            ok = convert_row(values->data(), values->size(), kinds, row, date1904);
        }
        if (!ok) break;
        table.push_back(std::move(row));
    }
    Py_DECREF(iter);
    if (!ok || PyErr_Occurred()) return std::nullopt;
    return table;
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
    std::optional<FrameTable> table{std::in_place};
    const bool date1904 = qm::uses_1904(state);
    switch (read_arrow_frame(frame, *table, kinds, date1904)) {
        case ArrowRead::Done:
            break;
        case ArrowRead::Failed:
            return false;
        case ArrowRead::Fallback:
            table = read_frame(frame, kinds, date1904);
            if (!table) return false;
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
    for (std::size_t i = 1; i < table->size(); ++i)
        if ((*table)[i].size() < styled_width) (*table)[i].resize(styled_width);

    // A failed write leaves the style sheet as it was, not with formats nothing uses.
    qm::StyleTransaction transaction(state);
    return ok_or_raise(transaction.finish(qm::write_block(state, std::span<const std::vector<qm::TypedCell>>(*table),
                                                          *start,
                                                          column_styles, 1)));
}

constexpr EditorMethod with_polars{
    "with_polars", Access::Edit, Returns::None,
    Params{Param<arg::Object<>>{"py_df"}, Param<arg::OptionalText>{"start_cell"}},
    write_frame,
};

}  // namespace

const PyMethodDef with_polars_method = editor_entry<with_polars>();

}  // namespace qmpy
