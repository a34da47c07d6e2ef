// Module initialisation: multi-phase, no per-module state, and no need for the GIL (each Editor
// guards itself with its busy flag).
#include "align.hpp"
#include "binding.hpp"
#include "editor.hpp"
#include "scanner.hpp"

namespace qmpy {
namespace {

PyMethodDef scan_excel_def[] = {
    {"scan_excel", fastcall_method(scan_excel),
     METH_FASTCALL | METH_KEYWORDS, "scan_excel(path)\n--\n\n"},
    {nullptr, nullptr, 0, nullptr},
};
PyMethodDef create_excel_def[] = {
    {"create_excel", fastcall_method(create_excel),
     METH_FASTCALL | METH_KEYWORDS, "create_excel(path, sheet_name=\"Sheet1\")\n--\n\n"},
    {nullptr, nullptr, 0, nullptr},
};

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

int exec_module(PyObject* module) {
    if (ready_editor_type() < 0 || ready_scanner_type() < 0 || ready_align_types() < 0) return -1;
    if (PyModule_AddObjectRef(module, "Editor", reinterpret_cast<PyObject*>(&EditorType)) < 0) return -1;
    if (PyModule_AddObjectRef(module, "Scanner", reinterpret_cast<PyObject*>(&ScannerType)) < 0) return -1;
    if (PyModule_AddFunctions(module, scan_excel_def) < 0) return -1;
    if (PyModule_AddFunctions(module, create_excel_def) < 0) return -1;
    if (PyModule_AddObjectRef(module, "AlignSpec", reinterpret_cast<PyObject*>(&AlignSpecType)) < 0) return -1;
    if (add_enumeration(module, "HorizAlignment", "Horizontal alignment of cell content, for AlignSpec(horiz=...).",
                        &HorizAlignmentValueType,
                        {"Left", "Center", "Right", "Fill", "Justify"}) < 0)
        return -1;
    if (add_enumeration(module, "VertAlignment", "Vertical alignment of cell content, for AlignSpec(vert=...).",
                        &VertAlignmentValueType,
                        {"Top", "Center", "Bottom", "Justify"}) < 0)
        return -1;
    return 0;
}

PyModuleDef_Slot slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(exec_module)},
    {Py_mod_gil, Py_MOD_GIL_NOT_USED},
    {0, nullptr},
};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "quillmark",
    "",
    0,
    nullptr,
    slots,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace
}  // namespace qmpy

PyMODINIT_FUNC PyInit_quillmark(void) { return PyModuleDef_Init(&qmpy::module_def); }
