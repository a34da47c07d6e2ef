#pragma once
// Editor methods for sheet layout: number formats, alignment, column widths and merged ranges.
#include "binding.hpp"

namespace qmpy {

PyObject* editor_set_number_format(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_set_alignment(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_merge_cells(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_set_column_width(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_set_column_width_range(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                                        PyObject* kwnames);
PyObject* editor_set_columns_width(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_set_column_widths(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace qmpy
