#pragma once
// Editor methods that write cells and rows and ask for the last used rows.
#include "binding.hpp"

namespace qmpy {

PyObject* editor_set_cell(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace qmpy
