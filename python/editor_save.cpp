#include "editor_save.hpp"

#include "convert.hpp"
#include "editor.hpp"
#include "package/package.hpp"

namespace qmpy {

PyObject* editor_save(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"path"};
    static const Signature sig{"Editor.save()", names, 1, 1};
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto path = arg_path(a[0], "path");
        if (!path) return nullptr;
        return none_or_raise(qm::save_package(st, *path));
    });
}

}  // namespace qmpy
