#pragma once
// The Editor type: one EditorState per object, a busy flag, and the method table.
#include <memory>
#include <optional>
#include <string>

#include "binding.hpp"
#include "state/state.hpp"

namespace qmpy {

struct EditorObject {
    PyObject_HEAD
    BusyFlag busy;
    qm::EditorState* state;
};

extern PyTypeObject EditorType;

// Opens `path` on the named sheet (checked and trimmed) or on the first sheet, as Editor.open does.
PyObject* open_editor(const std::string& path, const std::optional<std::string>& sheet_name);

// create_excel's work: converts (path, sheet_name="Sheet1") and writes the new package. Returns the
// path and the name as given, or nullopt with an exception set.
std::optional<std::pair<std::string, std::string>> create_from_args(PyObject* path_arg, PyObject* name_arg);

// Runs `body(state)` for an instance method with the busy flag taken exclusively.
template <class F>
PyObject* with_state(PyObject* self, F&& body) {
    auto* editor = reinterpret_cast<EditorObject*>(self);
    ExclusiveBorrow borrow(editor->busy);
    if (!borrow) return nullptr;
    return guarded([&]() -> PyObject* { return body(*editor->state); });
}

inline PyObject* self_or_raise(PyObject* self, const qm::Status& status) {
    if (!status) return raise_core(status.error());
    return Py_NewRef(self);
}

int ready_editor_type();

}  // namespace qmpy
