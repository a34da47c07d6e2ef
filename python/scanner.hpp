#pragma once
// Scanner and the two module functions.
#include "binding.hpp"

namespace qmpy {

extern PyTypeObject ScannerType;
PyObject* scan_excel(PyObject* module, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* create_excel(PyObject* module, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
int ready_scanner_type();

}  // namespace qmpy
