#pragma once
// The module's state: the classes it made at execution, found from any of its types.
#include "binding.hpp"

namespace qmpy {

struct ModuleState {
    PyTypeObject* editor = nullptr;
    PyTypeObject* scanner = nullptr;
    PyTypeObject* align_spec = nullptr;
    PyTypeObject* horiz_value = nullptr;  // private value classes of the two enumerations
    PyTypeObject* vert_value = nullptr;
};

// The state of the module that made `type` (or one of its bases); nullptr with an exception set.
ModuleState* module_state(PyTypeObject* type);
// The state of this module object; nullptr with an exception set when it is no quillmark module.
ModuleState* module_state_of(PyObject* module);

// Type specifications, turned into classes of each module object at its execution.
PyType_Spec* editor_spec();
// After the class is made from its spec: Editor.create and Editor.open bound to it.
int bind_editor_static_methods(PyTypeObject* editor_type, PyObject* module);
PyType_Spec* scanner_spec();
PyType_Spec* align_spec_spec();
PyType_Spec* horiz_value_spec();
PyType_Spec* vert_value_spec();

// The two module functions' table entries.
PyMethodDef scan_excel_entry();
PyMethodDef create_excel_entry();

}  // namespace qmpy
