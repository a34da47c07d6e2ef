#include "scanner.hpp"

#include "catalogue/catalogue.hpp"
#include "convert.hpp"
#include "editor.hpp"

namespace qmpy {

namespace {
struct ScannerObject {
    PyObject_HEAD
    BusyFlag busy;
    std::string* path;
};

PyObject* scanner_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    static const char* const names[] = {"path"};
    static const Signature sig{"Scanner.__new__()", names, 1, 1};
    PyObject* a[1];
    if (!bind_tuple(sig, args, kwargs, a)) return nullptr;
    return guarded([&]() -> PyObject* {
        auto path = arg_path(a[0], "path");
        if (!path) return nullptr;
        auto owned = std::make_unique<std::string>(std::move(*path));
        PyObject* obj = type->tp_alloc(type, 0);
        if (!obj) return nullptr;
        auto* scanner = reinterpret_cast<ScannerObject*>(obj);
        new (&scanner->busy) BusyFlag(0);
        scanner->path = owned.release();
        return obj;
    });
}

void scanner_dealloc(PyObject* self) {
    auto* scanner = reinterpret_cast<ScannerObject*>(self);
    delete scanner->path;
    scanner->busy.~BusyFlag();
    Py_TYPE(self)->tp_free(self);
}

PyObject* scanner_get_sheets(PyObject* self, PyObject*) {
    auto* scanner = reinterpret_cast<ScannerObject*>(self);
    SharedBorrow borrow(scanner->busy);
    if (!borrow) return nullptr;
    return guarded([&]() -> PyObject* {
        auto names = qm::list_sheet_names(*scanner->path);
        // This one method says which exception it is in its text.
        if (!names) return raise_runtime("RuntimeError: " + names.error().message);
        return str_list(*names);
    });
}

PyObject* scanner_open_editor(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"sheet_name"};
    static const Signature sig{"Scanner.open_editor()", names, 1, 0};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    auto* scanner = reinterpret_cast<ScannerObject*>(self);
    SharedBorrow borrow(scanner->busy);
    if (!borrow) return nullptr;
    return guarded([&]() -> PyObject* {
        auto name = arg_optional_text(a[0], "sheet_name");
        if (!name) return nullptr;
        return open_editor(*scanner->path, *name);
    });
}

// Written as the call that makes an equal Scanner: it holds nothing but the path.
PyObject* scanner_repr(PyObject* self) {
    auto* scanner = reinterpret_cast<ScannerObject*>(self);
    PyObject* path = str_from_utf8(*scanner->path);
    if (!path) return nullptr;
    PyObject* text = PyUnicode_FromFormat("quillmark.Scanner(%R)", path);
    Py_DECREF(path);
    return text;
}

PyMethodDef scanner_methods[] = {
    {"get_sheets", scanner_get_sheets, METH_NOARGS, "get_sheets($self)\n--\n\n"},
    {"open_editor", fastcall_method(scanner_open_editor),
     METH_FASTCALL | METH_KEYWORDS, "open_editor($self, sheet_name=None)\n--\n\n"},
    {nullptr, nullptr, 0, nullptr},
};
}  // namespace

PyTypeObject ScannerType = [] {
    PyTypeObject t = blank_type();
    t.tp_name = "quillmark.Scanner";
    t.tp_basicsize = sizeof(ScannerObject);
    t.tp_dealloc = scanner_dealloc;
    t.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE;
    t.tp_doc = "Scanner(path)\n--\n\n";
    t.tp_methods = scanner_methods;
    t.tp_new = scanner_new;
    t.tp_repr = scanner_repr;
    return t;
}();

PyObject* scan_excel(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"path"};
    static const Signature sig{"scan_excel()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return guarded([&]() -> PyObject* {
        auto path = arg_path(a[0], "path");
        if (!path) return nullptr;
        auto list = qm::list_sheet_names(*path);
        if (!list) return raise_core(list.error());
        return str_list(*list);
    });
}

PyObject* create_excel(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"path", "sheet_name"};
    static const Signature sig{"create_excel()", names, 2, 1};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return guarded([&]() -> PyObject* {
        if (!create_from_args(a[0], a[1])) return nullptr;
        Py_RETURN_NONE;
    });
}

int ready_scanner_type() { return PyType_Ready(&ScannerType); }

}  // namespace qmpy
