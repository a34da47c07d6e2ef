#include "editor_layout.hpp"

#include <memory>

#include "convert.hpp"
#include "editor.hpp"
#include "styles/layout.hpp"

namespace qmpy {

namespace {

qm::Status set_span_width(qm::EditorState& st, std::string_view letters, double width) {
    auto span = qm::column_letters_of(letters);
    if (!span) return std::unexpected(std::move(span.error()));
    return qm::set_column_span_props(st, span->first, span->last, width, std::nullopt);
}

// One width-map entry: converted, checked and applied before the next one is looked at, so the
// entries before a failing one stay applied. Conversion failures carry no argument prefix.
bool apply_width_entry(qm::EditorState& st, PyObject* key, PyObject* value) {
    auto letters = to_text(key);
    if (!letters) return false;
    auto width = to_real(value);
    if (!width) return false;
    qm::Status done = qm::check_width(*width);
    if (done) done = set_span_width(st, *letters, *width);
    if (!done) raise_core(done.error());
    return bool(done);
}

}  // namespace

PyObject* editor_set_number_format(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"range", "fmt"};
    static const Signature sig{"Editor.set_number_format()", names, 2, 2};
    return range_and_text(self, sig, "fmt", args, nargs, kwnames,
                          [](qm::EditorState& st, const std::string& range, const std::string& code) {
                              return qm::set_number_format(st, range, code);
                          });
}

PyObject* editor_set_alignment(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"range", "spec"};
    static const Signature sig{"Editor.set_alignment()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto range = arg_text(a[0], "range");
        if (!range) return nullptr;
        auto spec = arg_alignment(a[1], "spec");
        if (!spec) return nullptr;
        return self_or_raise(self, qm::set_alignment(st, *range, *spec));
    });
}

PyObject* editor_merge_cells(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"range"};
    static const Signature sig{"Editor.merge_cells()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto range = arg_text(a[0], "range");
        if (!range) return nullptr;
        return self_or_raise(self, qm::merge_cells(st, *range));
    });
}

PyObject* editor_set_column_width(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"col_letter", "width"};
    static const Signature sig{"Editor.set_column_width()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto letter = arg_text(a[0], "col_letter");
        if (!letter) return nullptr;
        auto width = arg_real(a[1], "width");
        if (!width) return nullptr;
        auto index = qm::column_index_of(*letter);
        if (!index) return raise_core(index.error());
        if (auto checked = qm::check_width(*width); !checked) return raise_core(checked.error());
        return self_or_raise(self, qm::set_column_props(st, *index, *width, std::nullopt));
    });
}

PyObject* editor_set_column_width_range(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                                        PyObject* kwnames) {
    static const char* const names[] = {"col_range", "width"};
    static const Signature sig{"Editor.set_column_width_range()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto range = arg_text(a[0], "col_range");
        if (!range) return nullptr;
        auto width = arg_real(a[1], "width");
        if (!width) return nullptr;
        if (auto checked = qm::check_width(*width); !checked) return raise_core(checked.error());
        return self_or_raise(self, set_span_width(st, *range, *width));
    });
}

PyObject* editor_set_columns_width(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"col_letters", "width"};
    static const Signature sig{"Editor.set_columns_width()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto entries = arg_text_list(a[0], "col_letters");
        if (!entries) return nullptr;
        auto width = arg_real(a[1], "width");
        if (!width) return nullptr;
        if (auto checked = qm::check_width(*width); !checked) return raise_core(checked.error());
        for (const std::string& entry : *entries)
            if (auto set = set_span_width(st, entry, *width); !set) return raise_core(set.error());
        return Py_NewRef(self);
    });
}

PyObject* editor_set_column_widths(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"widths"};
    static const Signature sig{"Editor.set_column_widths()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        if (!PyDict_Check(a[0])) {
            set_type_mismatch(a[0], "dict");
            prefix_conversion_error("widths");
            return nullptr;
        }
        // A snapshot of the items: converting a value may run Python code (__float__) that
        // changes the dict, and the pairs hold their own references meanwhile.
        std::unique_ptr<PyObject, void (*)(PyObject*)> items(PyDict_Items(a[0]), [](PyObject* o) { Py_XDECREF(o); });
        if (!items) return nullptr;
        for (Py_ssize_t i = 0, n = PyList_GET_SIZE(items.get()); i < n; ++i) {
            PyObject* pair = PyList_GET_ITEM(items.get(), i);
            if (!apply_width_entry(st, PyTuple_GET_ITEM(pair, 0), PyTuple_GET_ITEM(pair, 1))) return nullptr;
        }
        return Py_NewRef(self);
    });
}

}  // namespace qmpy
