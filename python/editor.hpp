#pragma once
// The Editor type: one EditorState per object, a busy flag, and the adapter that runs an Editor
// method's declaration.
#include <memory>
#include <optional>
#include <string>

#include "binding.hpp"
#include "callable.hpp"
#include "cells/cells.hpp"
#include "read/read.hpp"
#include "state/state.hpp"

namespace qmpy {

struct EditorObject {
    PyObject_HEAD
    BusyFlag busy;
    qm::EditorState* state;
};

// Opens `path` on the named sheet or on the first one, as Editor.open does, as an instance of
// `editor_type`.
PyObject* open_editor(PyTypeObject* editor_type, const std::string& path, const std::optional<std::string>& sheet_name);

// Runs `body(state)` with the busy flag taken exclusively. Buffered single-cell writes are merged
// first, except for the calls that add to them.
template <Access A, class F>
PyObject* with_state(PyObject* self, F&& body) {
    auto* editor = reinterpret_cast<EditorObject*>(self);
    ExclusiveBorrow borrow(editor->busy);
    if (!borrow) return nullptr;
    // Whatever the body changes (or queues), what reads cached from the old texts is stale.
    if constexpr (A != Access::Read) qm::note_edit(*editor->state);
    return guarded([&]() -> PyObject* {
        if constexpr (A != Access::Queued)
            if (qm::Status flushed = qm::flush_cell_queue(*editor->state); !flushed) return raise_core(flushed.error());
        return body(*editor->state);
    });
}

template <auto& D>
PyObject* editor_call(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    Bound<D> bound;
    if (!bind_fast(signature_of<D>, args, nargs, kwnames, bound.args.data())) return nullptr;
    return with_state<D.access>(self, [&](qm::EditorState& state) -> PyObject* {
        CallContext cx{Py_TYPE(self)};
        return convert_then<D>(cx, bound.args.data(),
                               [&](auto&... v) { return result_of<D.returns>(self, D.body(state, v...)); });
    });
}

template <auto& D>
PyMethodDef editor_entry() {
    return method_entry<D>(editor_call<D>);
}

// Method table entries of the Editor methods, one per declaration, in their families' files.
extern const PyMethodDef add_worksheet_method, add_worksheet_at_method, with_worksheet_method,
    rename_worksheet_method, delete_worksheet_method;
extern const PyMethodDef set_cell_method, append_row_method, append_table_at_method, last_row_index_method,
    last_rows_index_method;
extern const PyMethodDef save_method, with_polars_method;
extern const PyMethodDef set_number_format_method, set_fill_method, set_font_method, set_alignment_method,
    merge_cells_method, set_border_method, remove_style_method;
extern const PyMethodDef set_column_width_method, set_column_width_range_method, set_columns_width_method,
    set_column_widths_method;
extern const PyMethodDef get_value_method, get_formula_method, read_rows_method, sheet_names_method, write_method,
    write_rows_method;
// Getter of the read-only `sheet_name` attribute.
PyObject* editor_sheet_name(PyObject* self, void* closure);

}  // namespace qmpy
