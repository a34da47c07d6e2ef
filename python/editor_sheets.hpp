#pragma once
// Editor methods that add, switch, rename and delete worksheets.
#include "binding.hpp"

namespace qmpy {

PyObject* editor_add_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_add_worksheet_at(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_with_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_rename_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_delete_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace qmpy
