#pragma once
// Editor methods that read the current sheet and the sheet list, and write typed values.
#include "binding.hpp"

namespace qmpy {

PyObject* editor_get_value(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_get_formula(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_read_rows(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_sheet_names(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
// Typed writing: values keep their Python type (text stays text, dates become dated serials).
PyObject* editor_write(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_write_rows(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
// Getter of the read-only `sheet_name` attribute.
PyObject* editor_sheet_name(PyObject* self, void* closure);

}  // namespace qmpy
