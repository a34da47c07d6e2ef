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
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto coords = arg_text(a[0], "coords");
        if (!coords) return nullptr;
        auto cell = arg_text(a[1], "cell");
        if (!cell) return nullptr;
        return none_or_raise(qm::set_cell(st, *coords, *cell));
    });
}

}  // namespace qmpy
