#include "editor_sheets.hpp"

#include "catalogue/catalogue.hpp"
#include "convert.hpp"
#include "editor.hpp"

namespace qmpy {

namespace {

// A sheet-name argument converted and then passed through the name rule (the stricter one for a
// name a sheet is given); nullopt with an exception set on failure.
std::optional<std::string> checked_name(const std::string& given, bool new_name = false) {
    auto checked = new_name ? qm::check_new_sheet_name(given) : qm::check_sheet_name(given);
    if (!checked) {
        raise_core(checked.error());
        return std::nullopt;
    }
    return std::move(*checked);
}

// Methods taking one sheet name and returning self.
template <class Op>
PyObject* one_name_method(const Signature& sig, PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                          PyObject* kwnames, bool new_name, Op&& op) {
    PyObject* a[1];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto given = arg_text(a[0], "sheet_name");
        if (!given) return nullptr;
        auto name = checked_name(*given, new_name);
        if (!name) return nullptr;
        return self_or_raise(self, op(st, *name));
    });
}

const char* const kSheetName[] = {"sheet_name"};

}  // namespace

PyObject* editor_add_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const Signature sig{"Editor.add_worksheet()", kSheetName, 1, 1};
    return one_name_method(sig, self, args, nargs, kwnames, true, [](qm::EditorState& st, const std::string& name) {
        return qm::add_sheet_at(st, name, qm::count_sheet_elements(st.workbook_xml));
    });
}

PyObject* editor_add_worksheet_at(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"sheet_name", "index"};
    static const Signature sig{"Editor.add_worksheet_at()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto given = arg_text(a[0], "sheet_name");
        if (!given) return nullptr;
        auto index = arg_count(a[1], "index");
        if (!index) return nullptr;
        auto name = checked_name(*given, true);
        if (!name) return nullptr;
        return self_or_raise(self, qm::add_sheet_at(st, *name, *index));
    });
}

PyObject* editor_with_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const Signature sig{"Editor.with_worksheet()", kSheetName, 1, 1};
    return one_name_method(sig, self, args, nargs, kwnames, false, [](qm::EditorState& st, const std::string& name) {
        return qm::switch_sheet(st, name);
    });
}

PyObject* editor_rename_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"old_name", "new_name"};
    static const Signature sig{"Editor.rename_worksheet()", names, 2, 2};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return with_state(self, [&](qm::EditorState& st) -> PyObject* {
        auto old_given = arg_text(a[0], "old_name");
        if (!old_given) return nullptr;
        auto new_given = arg_text(a[1], "new_name");
        if (!new_given) return nullptr;
        auto old_name = checked_name(*old_given);
        if (!old_name) return nullptr;
        auto new_name = checked_name(*new_given, true);
        if (!new_name) return nullptr;
        return self_or_raise(self, qm::rename_sheet(st, *old_name, *new_name));
    });
}

PyObject* editor_delete_worksheet(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const Signature sig{"Editor.delete_worksheet()", kSheetName, 1, 1};
    return one_name_method(sig, self, args, nargs, kwnames, false, [](qm::EditorState& st, const std::string& name) {
        return qm::delete_sheet(st, name);
    });
}

}  // namespace qmpy
