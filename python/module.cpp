// Module initialisation: multi-phase, no need for the GIL (each Editor guards itself with its busy
// flag). The classes are heap types made per module object and kept in its state, so methods find
// the other classes from their own type instead of through process-wide globals.
#include "module.hpp"

#include <initializer_list>

#include "align.hpp"

namespace qmpy {
namespace {

ModuleState* state_of(PyObject* module) { return static_cast<ModuleState*>(PyModule_GetState(module)); }

// enum.Enum(name, {member: value, ...}) with opaque value objects, members in code order.
int add_enumeration(PyObject* module, const char* name, const char* doc, PyTypeObject* value_type,
                    std::initializer_list<const char*> members) {
    PyObject* enum_module = PyImport_ImportModule("enum");
    if (!enum_module) return -1;
    PyObject* enum_class = PyObject_GetAttrString(enum_module, "Enum");
    Py_DECREF(enum_module);
    if (!enum_class) return -1;
    PyObject* dict = PyDict_New();
    int code = 0, rc = -1;
    if (!dict) goto done;
    for (const char* member : members) {
        PyObject* value = new_alignment_value(value_type, code++);
        if (!value || PyDict_SetItemString(dict, member, value) < 0) {
            Py_XDECREF(value);
            goto done;
        }
        Py_DECREF(value);
    }
    {
        PyObject* created = PyObject_CallFunction(enum_class, "sO", name, dict);
        if (!created) goto done;
        // The functional form would name the importer's frame as the module.
        PyObject* module_name = PyModule_GetNameObject(module);
        int set = module_name ? PyObject_SetAttrString(created, "__module__", module_name) : -1;
        Py_XDECREF(module_name);
        if (set == 0) {
            PyObject* doc_text = PyUnicode_FromString(doc);
            set = doc_text ? PyObject_SetAttrString(created, "__doc__", doc_text) : -1;
            Py_XDECREF(doc_text);
        }
        if (set < 0) {
            Py_DECREF(created);
            goto done;
        }
        rc = PyModule_Add(module, name, created);
    }
done:
    Py_XDECREF(dict);
    Py_DECREF(enum_class);
    return rc;
}

PyTypeObject* make_type(PyObject* module, PyType_Spec* spec) {
    return reinterpret_cast<PyTypeObject*>(PyType_FromModuleAndSpec(module, spec, nullptr));
}

int add_type(PyObject* module, const char* name, PyTypeObject* type) {
    return PyModule_AddObjectRef(module, name, reinterpret_cast<PyObject*>(type));
}

// Builtin functions bound to the module; the table outlives every module object.
int add_function(PyObject* module, PyMethodDef* table) { return PyModule_AddFunctions(module, table); }

int exec_module(PyObject* module) noexcept {
    ModuleState* st = state_of(module);
    if (!(st->editor = make_type(module, editor_spec())) || bind_editor_static_methods(st->editor, module) < 0) return -1;
    if (!(st->scanner = make_type(module, scanner_spec()))) return -1;
    if (!(st->align_spec = make_type(module, align_spec_spec()))) return -1;
    if (!(st->horiz_value = make_type(module, horiz_value_spec()))) return -1;
    if (!(st->vert_value = make_type(module, vert_value_spec()))) return -1;
    static PyMethodDef scan_excel_table[] = {scan_excel_entry(), {nullptr, nullptr, 0, nullptr}};
    static PyMethodDef create_excel_table[] = {create_excel_entry(), {nullptr, nullptr, 0, nullptr}};
    if (add_type(module, "Editor", st->editor) < 0) return -1;
    if (add_type(module, "Scanner", st->scanner) < 0) return -1;
    if (add_function(module, scan_excel_table) < 0) return -1;
    if (add_function(module, create_excel_table) < 0) return -1;
    if (add_type(module, "AlignSpec", st->align_spec) < 0) return -1;
    if (add_enumeration(module, "HorizAlignment", "Horizontal alignment of cell content, for AlignSpec(horiz=...).",
                        st->horiz_value, {"Left", "Center", "Right", "Fill", "Justify"}) < 0)
        return -1;
    if (add_enumeration(module, "VertAlignment", "Vertical alignment of cell content, for AlignSpec(vert=...).",
                        st->vert_value, {"Top", "Center", "Bottom", "Justify"}) < 0)
        return -1;
    return 0;
}

int traverse_module(PyObject* module, visitproc visit, void* arg) {
    ModuleState* st = state_of(module);
    if (!st) return 0;
    Py_VISIT(st->editor);
    Py_VISIT(st->scanner);
    Py_VISIT(st->align_spec);
    Py_VISIT(st->horiz_value);
    Py_VISIT(st->vert_value);
    return 0;
}

int clear_module(PyObject* module) {
    ModuleState* st = state_of(module);
    if (!st) return 0;
    Py_CLEAR(st->editor);
    Py_CLEAR(st->scanner);
    Py_CLEAR(st->align_spec);
    Py_CLEAR(st->horiz_value);
    Py_CLEAR(st->vert_value);
    return 0;
}

void free_module(void* module) { clear_module(static_cast<PyObject*>(module)); }

PyModuleDef_Slot slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(exec_module)},
    {Py_mod_gil, Py_MOD_GIL_NOT_USED},
    {0, nullptr},
};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "quillmark",
    "",
    sizeof(ModuleState),
    nullptr,
    slots,
    traverse_module,
    clear_module,
    free_module,
};

}  // namespace

ModuleState* module_state_of(PyObject* module) {
    if (!PyModule_Check(module) || PyModule_GetDef(module) != &module_def) {
        PyErr_SetString(PyExc_TypeError, "not the quillmark module");
        return nullptr;
    }
    return state_of(module);
}

ModuleState* module_state(PyTypeObject* type) {
    PyObject* module = PyType_GetModuleByDef(type, &module_def);
    return module ? state_of(module) : nullptr;
}

}  // namespace qmpy

PyMODINIT_FUNC PyInit_quillmark(void) { return PyModuleDef_Init(&qmpy::module_def); }
