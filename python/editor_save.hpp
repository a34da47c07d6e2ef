#pragma once
// Editor.save.
#include "binding.hpp"

namespace qmpy {

PyObject* editor_save(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace qmpy
