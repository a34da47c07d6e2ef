// Scanner and the two module functions.
#include "callable.hpp"
#include "catalogue/catalogue.hpp"
#include "editor.hpp"
#include "module.hpp"
#include "package/package.hpp"

namespace qmpy {

namespace {

struct ScannerObject {
    PyObject_HEAD
    BusyFlag busy;
    std::string* path;
};

constexpr Constructor scanner_new{
    "Scanner",
    Params{Param<arg::Path>{"path"}},
    [](PyTypeObject* type, std::string& path) -> PyObject* {
        auto owned = std::make_unique<std::string>(std::move(path));
        PyObject* obj = type->tp_alloc(type, 0);
        if (!obj) return nullptr;
        auto* scanner = reinterpret_cast<ScannerObject*>(obj);
        new (&scanner->busy) BusyFlag(0);
        scanner->path = owned.release();
        return obj;
    },
};

void scanner_dealloc(PyObject* self) {
    auto* scanner = reinterpret_cast<ScannerObject*>(self);
    delete scanner->path;
    scanner->busy.~BusyFlag();
    PyTypeObject* type = Py_TYPE(self);
    type->tp_free(self);
    Py_DECREF(type);
}

// Scanner methods take the flag shared: a Scanner only reads its file, from any thread.
template <auto& D>
PyObject* scanner_call(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    Bound<D> bound;
    if (!bind_fast(signature_of<D>, args, nargs, kwnames, bound.args.data())) return nullptr;
    auto* scanner = reinterpret_cast<ScannerObject*>(self);
    SharedBorrow borrow(scanner->busy);
    if (!borrow) return nullptr;
    return guarded([&]() -> PyObject* {
        CallContext cx{Py_TYPE(self)};
        return convert_then<D>(cx, bound.args.data(), [&](auto&... v) { return D.body(cx, *scanner->path, v...); });
    });
}

// Taking no arguments at all, refused by the interpreter itself when given any.
template <auto& D>
PyObject* scanner_call_noargs(PyObject* self, PyObject*) {
    return scanner_call<D>(self, nullptr, 0, nullptr);
}

constexpr ScannerMethod get_sheets{
    "get_sheets",
    Params{},
    [](CallContext&, const std::string& path) -> PyObject* {
        auto names = qm::list_sheet_names(path);
        // This one method says which exception it is in its text.
        if (!names) return raise_runtime("RuntimeError: " + names.error().message);
        return str_list(*names);
    },
};

constexpr ScannerMethod open_editor_method{
    "open_editor",
    Params{Param<arg::OptionalText>{"sheet_name"}},
    [](CallContext& cx, const std::string& path, const std::optional<std::string>& sheet_name) -> PyObject* {
        ModuleState* state = module_state(cx.owner);
        if (!state) return nullptr;
        return open_editor(state->editor, path, sheet_name);
    },
};

// Written as the call that makes an equal Scanner: it holds nothing but the path.
PyObject* scanner_repr(PyObject* self) {
    auto* scanner = reinterpret_cast<ScannerObject*>(self);
    PyObject* path = str_from_utf8(*scanner->path);
    if (!path) return nullptr;
    PyObject* text = PyUnicode_FromFormat("quillmark.Scanner(%R)", path);
    Py_DECREF(path);
    return text;
}

constexpr Function scan_excel{
    "scan_excel",
    Params{Param<arg::Path>{"path"}},
    [](PyObject*, const std::string& path) -> PyObject* {
        auto list = qm::list_sheet_names(path);
        if (!list) return raise_core(list.error());
        return str_list(*list);
    },
};

constexpr Function create_excel{
    "create_excel",
    Params{Param<arg::Path>{"path"}, Param<arg::TextOr<"Sheet1">>{"sheet_name"}},
    [](PyObject*, const std::string& path, const std::string& sheet_name) -> PyObject* {
        if (auto created = qm::create_workbook(path, sheet_name); !created) return raise_core(created.error());
        Py_RETURN_NONE;
    },
};

}  // namespace

PyType_Spec* scanner_spec() {
    static PyMethodDef methods[] = {
        {get_sheets.name, scanner_call_noargs<get_sheets>, METH_NOARGS, doc_of<get_sheets>.data()},
        method_entry<open_editor_method>(scanner_call<open_editor_method>),
        {nullptr, nullptr, 0, nullptr},
    };
    static PyType_Slot slots[] = {
        {Py_tp_dealloc, reinterpret_cast<void*>(scanner_dealloc)},
        {Py_tp_doc, const_cast<char*>(doc_of<scanner_new>.data())},
        {Py_tp_methods, methods},
        {Py_tp_new, reinterpret_cast<void*>(construct<scanner_new>)},
        {Py_tp_repr, reinterpret_cast<void*>(scanner_repr)},
        {0, nullptr},
    };
    static PyType_Spec spec = {"quillmark.Scanner", sizeof(ScannerObject), 0,
                               Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE, slots};
    return &spec;
}

PyMethodDef scan_excel_entry() { return function_entry<scan_excel>(); }
PyMethodDef create_excel_entry() { return function_entry<create_excel>(); }

}  // namespace qmpy
