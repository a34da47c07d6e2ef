#include "editor_cells.hpp"

#include "cells/cells.hpp"
#include "convert.hpp"
#include "editor.hpp"

namespace qmpy {

PyObject* editor_set_cell(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"coords", "cell"};
    static const Signature sig{"Editor.set_cell()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state<true>(self, [&](qm::EditorState& st) -> PyObject* {
        auto coords = arg_text(a[0], "coords");
        if (!coords) return nullptr;
        auto cell = arg_text(a[1], "cell");
        if (!cell) return nullptr;
        return none_or_raise(qm::set_cell(st, *coords, *cell));
    });
}

PyObject* editor_append_row(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"cells"};
    static const Signature sig{"Editor.append_row()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto cells = arg_text_list(a[0], "cells");
        if (!cells) return nullptr;
        return none_or_raise(qm::append_row(st, *cells));
    });
}

PyObject* editor_append_table_at(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"cells", "start_cell"};
    static const Signature sig{"Editor.append_table_at()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto cells = arg_text_table(a[0], "cells");
        if (!cells) return nullptr;
        auto start = arg_text(a[1], "start_cell");
        if (!start) return nullptr;
        return none_or_raise(qm::write_block(st, *cells, *start));
    });
}

PyObject* editor_last_row_index(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"col_name"};
    static const Signature sig{"Editor.last_row_index()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto columns = arg_text(a[0], "col_name");
        if (!columns) return nullptr;
        return PyLong_FromUnsignedLong(qm::last_row_index(st, *columns));
    });
}

PyObject* editor_last_rows_index(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"col_name"};
    static const Signature sig{"Editor.last_rows_index()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto span = arg_text(a[0], "col_name");
        if (!span) return nullptr;
        auto rows = qm::last_rows_index(st, *span);
        if (!rows) return raise_core(rows.error());
        PyObject* list = PyList_New(static_cast<Py_ssize_t>(rows->size()));
        if (!list) return nullptr;
        for (std::size_t i = 0; i < rows->size(); ++i) {
            PyObject* n = PyLong_FromUnsignedLong((*rows)[i]);
            if (!n) {
                Py_DECREF(list);
                return nullptr;
            }
            PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), n);
        }
        return list;
    });
}

}  // namespace qmpy
