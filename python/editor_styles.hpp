#pragma once
// Editor methods that style ranges: fills, fonts, borders, and removing styles.
#include "binding.hpp"

namespace qmpy {

PyObject* editor_set_fill(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_set_font(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_set_border(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* editor_remove_style(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace qmpy
