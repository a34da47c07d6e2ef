#pragma once
// The Editor type: one EditorState per object, a busy flag, and the method table.
#include <memory>
#include <optional>
#include <string>

#include "binding.hpp"
#include "cells/cells.hpp"
#include "convert.hpp"
#include "read/read.hpp"
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

// Runs `body(state)` for an instance method with the busy flag taken exclusively. Buffered
// single-cell writes are merged first, except for the calls that add to them (`Queued`).
template <bool Queued = false, class F>
PyObject* with_state(PyObject* self, F&& body) {
    auto* editor = reinterpret_cast<EditorObject*>(self);
    ExclusiveBorrow borrow(editor->busy);
    if (!borrow) return nullptr;
    // Whatever the body changes (or queues), what reads cached from the old texts is stale.
    qm::note_edit(*editor->state);
    return guarded([&]() -> PyObject* {
        if constexpr (!Queued)
            if (qm::Status flushed = qm::flush_cell_queue(*editor->state); !flushed) return raise_core(flushed.error());
        return body(*editor->state);
    });
}

inline PyObject* self_or_raise(PyObject* self, const qm::Status& status) {
    if (!status) return raise_core(status.error());
    return Py_NewRef(self);
}

// (range, text) methods returning the editor, whose core step takes both texts.
template <bool Queued = false, class Op>
PyObject* range_and_text(PyObject* self, const Signature& sig, const char* text_name, PyObject* const* args,
                         Py_ssize_t nargs, PyObject* kwnames, Op op) {
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state<Queued>(self, [&](qm::EditorState& st) -> PyObject* {
        auto range = arg_text(a[0], "range");
        if (!range) return nullptr;
        auto text = arg_text(a[1], text_name);
        if (!text) return nullptr;
        return self_or_raise(self, op(st, *range, *text));
    });
}

int ready_editor_type();

}  // namespace qmpy
