#pragma once
// Editor methods that write cells and rows and ask for the last used rows.
#include "binding.hpp"

namespace qmpy {

PyObject* editor_set_cell(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_append_row(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_append_table_at(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_last_row_index(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_last_rows_index(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace qmpy
