#include "editor_styles.hpp"

#include "convert.hpp"
#include "editor.hpp"
#include "styles/styles.hpp"

namespace qmpy {

PyObject* editor_set_fill(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"range", "fmt"};
    static const Signature sig{"Editor.set_fill()", names, 2, 2};
    return range_and_text<true>(self, sig, "fmt", args, nargs, kwnames,
                          [](qm::EditorState& st, const std::string& range, const std::string& colour) {
                              return qm::set_fill(st, range, colour);
                          });
}

PyObject* editor_set_border(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"range", "style"};
    static const Signature sig{"Editor.set_border()", names, 2, 2};
    return range_and_text<true>(self, sig, "style", args, nargs, kwnames,
                          [](qm::EditorState& st, const std::string& range, const std::string& style) {
                              return qm::set_border(st, range, style);
                          });
}

PyObject* editor_set_font(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"range", "name", "size", "bold", "italic", "align"};
    static const Signature sig{"Editor.set_font()", names, 6, 3};
    PyObject* a[6];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state<true>(self, [&](qm::EditorState& st) -> PyObject* {
        auto range = arg_text(a[0], "range");
        if (!range) return nullptr;
        auto name = arg_text(a[1], "name");
        if (!name) return nullptr;
        auto size = arg_narrow_real(a[2], "size");
        if (!size) return nullptr;
        bool bold = false, italic = false;
        if (a[3]) {
            auto flag = arg_flag(a[3], "bold");
            if (!flag) return nullptr;
            bold = *flag;
        }
        if (a[4]) {
            auto flag = arg_flag(a[4], "italic");
            if (!flag) return nullptr;
            italic = *flag;
        }
        std::optional<qm::Alignment> align;
        if (a[5] && a[5] != Py_None) {
            align = arg_alignment(a[5], "align");
            if (!align) return nullptr;
        }
        return self_or_raise(self, qm::set_font(st, *range, *name, *size, bold, italic, align));
    });
}

PyObject* editor_remove_style(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"range"};
    static const Signature sig{"Editor.remove_style()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto range = arg_text(a[0], "range");
        if (!range) return nullptr;
        return self_or_raise(self, qm::remove_style_in_range(st, *range));
    });
}

}  // namespace qmpy
