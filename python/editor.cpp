#include "editor.hpp"
#include "cells/cells.hpp"

#include "catalogue/catalogue.hpp"
#include "convert.hpp"
#include "dataframe.hpp"
#include "editor_sheets.hpp"
#include "editor_cells.hpp"
#include "editor_layout.hpp"
#include "editor_read.hpp"
#include "editor_save.hpp"
#include "editor_styles.hpp"
#include "package/package.hpp"

namespace qmpy {

namespace {

PyObject* wrap_state(qm::EditorState&& state) {
    auto owned = std::make_unique<qm::EditorState>(std::move(state));
    qm::enable_cell_queue(*owned);
    PyObject* obj = EditorType.tp_alloc(&EditorType, 0);
    if (!obj) return nullptr;
    auto* editor = reinterpret_cast<EditorObject*>(obj);
    new (&editor->busy) BusyFlag(0);
    editor->state = owned.release();
    return obj;
}

void editor_dealloc(PyObject* self) {
    auto* editor = reinterpret_cast<EditorObject*>(self);
    delete editor->state;
    editor->busy.~BusyFlag();
    Py_TYPE(self)->tp_free(self);
}

// Path and optional sheet name, converted with their prefixes, then opened.
PyObject* open_from_args(PyObject* path_arg, PyObject* name_arg) {
    auto path = arg_path(path_arg, "path");
    if (!path) return nullptr;
    auto name = arg_optional_text(name_arg, "sheet_name");
    if (!name) return nullptr;
    return open_editor(*path, *name);
}

PyObject* editor_new(PyTypeObject*, PyObject* args, PyObject* kwargs) {
    static const char* const names[] = {"path", "sheet_name"};
    static const Signature sig{"Editor.__new__()", names, 2, 1};
    PyObject* a[2];
    if (!bind_tuple(sig, args, kwargs, a)) return nullptr;
    return guarded([&] { return open_from_args(a[0], a[1]); });
}

PyObject* editor_open(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"path", "sheet_name"};
    static const Signature sig{"Editor.open()", names, 2, 1};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return guarded([&] { return open_from_args(a[0], a[1]); });
}

PyObject* editor_create(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static const char* const names[] = {"path", "sheet_name"};
    static const Signature sig{"Editor.create()", names, 2, 1};
    PyObject* a[2];
    if (!bind_fast(sig, args, nargs, kwnames, a)) return nullptr;
    return guarded([&]() -> PyObject* {
        auto created = create_from_args(a[0], a[1]);
        if (!created) return nullptr;
        return open_editor(created->first, created->second);
    });
}

// Path and current sheet; never raises for a busy editor, so debuggers and logs can always show one.
PyObject* editor_repr(PyObject* self) {
    auto* editor = reinterpret_cast<EditorObject*>(self);
    ExclusiveBorrow borrow(editor->busy);
    if (!borrow) {
        PyErr_Clear();
        return PyUnicode_FromString("<quillmark.Editor (busy)>");
    }
    return guarded([&]() -> PyObject* {
        const qm::EditorState& st = *editor->state;
        auto name = qm::current_sheet_name(st);
        PyObject* path = str_from_utf8(st.source_path);
        PyObject* sheet = path && name ? str_from_utf8(*name) : Py_NewRef(Py_None);
        PyObject* text = path && sheet ? PyUnicode_FromFormat("<quillmark.Editor path=%R sheet=%R>", path, sheet)
                                       : nullptr;
        Py_XDECREF(path);
        Py_XDECREF(sheet);
        return text;
    });
}

PyMethodDef editor_methods[] = {
    {"create", fastcall_method(editor_create),
     METH_FASTCALL | METH_KEYWORDS | METH_STATIC, "create(path, sheet_name=\"Sheet1\")\n--\n\n"},
    {"open", fastcall_method(editor_open),
     METH_FASTCALL | METH_KEYWORDS | METH_STATIC, "open(path, sheet_name=None)\n--\n\n"},
    {"add_worksheet", fastcall_method(editor_add_worksheet),
     METH_FASTCALL | METH_KEYWORDS, "add_worksheet($self, sheet_name)\n--\n\n"},
    {"add_worksheet_at", fastcall_method(editor_add_worksheet_at),
     METH_FASTCALL | METH_KEYWORDS, "add_worksheet_at($self, sheet_name, index)\n--\n\n"},
    {"with_worksheet", fastcall_method(editor_with_worksheet),
     METH_FASTCALL | METH_KEYWORDS, "with_worksheet($self, sheet_name)\n--\n\n"},
    {"rename_worksheet", fastcall_method(editor_rename_worksheet),
     METH_FASTCALL | METH_KEYWORDS, "rename_worksheet($self, old_name, new_name)\n--\n\n"},
    {"delete_worksheet", fastcall_method(editor_delete_worksheet),
     METH_FASTCALL | METH_KEYWORDS, "delete_worksheet($self, sheet_name)\n--\n\n"},
    {"set_cell", fastcall_method(editor_set_cell),
     METH_FASTCALL | METH_KEYWORDS, "set_cell($self, coords, cell)\n--\n\n"},
    {"append_row", fastcall_method(editor_append_row),
     METH_FASTCALL | METH_KEYWORDS, "append_row($self, cells)\n--\n\n"},
    {"append_table_at", fastcall_method(editor_append_table_at),
     METH_FASTCALL | METH_KEYWORDS, "append_table_at($self, cells, start_cell)\n--\n\n"},
    {"last_row_index", fastcall_method(editor_last_row_index),
     METH_FASTCALL | METH_KEYWORDS, "last_row_index($self, col_name)\n--\n\n"},
    {"last_rows_index", fastcall_method(editor_last_rows_index),
     METH_FASTCALL | METH_KEYWORDS, "last_rows_index($self, col_name)\n--\n\n"},
    {"save", fastcall_method(editor_save),
     METH_FASTCALL | METH_KEYWORDS, "save($self, path)\n--\n\n"},
    {"with_polars", fastcall_method(editor_with_polars),
     METH_FASTCALL | METH_KEYWORDS, "with_polars($self, py_df, start_cell=None)\n--\n\n"},
    {"set_number_format", fastcall_method(editor_set_number_format),
     METH_FASTCALL | METH_KEYWORDS, "set_number_format($self, range, fmt)\n--\n\n"},
    {"set_fill", fastcall_method(editor_set_fill),
     METH_FASTCALL | METH_KEYWORDS, "set_fill($self, range, fmt)\n--\n\n"},
    {"set_font", fastcall_method(editor_set_font),
     METH_FASTCALL | METH_KEYWORDS,
     "set_font($self, range, name, size, bold=False, italic=False, align=None)\n--\n\n"},
    {"set_alignment", fastcall_method(editor_set_alignment),
     METH_FASTCALL | METH_KEYWORDS, "set_alignment($self, range, spec)\n--\n\n"},
    {"merge_cells", fastcall_method(editor_merge_cells),
     METH_FASTCALL | METH_KEYWORDS, "merge_cells($self, range)\n--\n\n"},
    {"set_border", fastcall_method(editor_set_border),
     METH_FASTCALL | METH_KEYWORDS, "set_border($self, range, style)\n--\n\n"},
    {"set_column_width", fastcall_method(editor_set_column_width),
     METH_FASTCALL | METH_KEYWORDS, "set_column_width($self, col_letter, width)\n--\n\n"},
    {"set_column_width_range", fastcall_method(editor_set_column_width_range),
     METH_FASTCALL | METH_KEYWORDS, "set_column_width_range($self, col_range, width)\n--\n\n"},
    {"set_columns_width", fastcall_method(editor_set_columns_width),
     METH_FASTCALL | METH_KEYWORDS, "set_columns_width($self, col_letters, width)\n--\n\n"},
    {"set_column_widths", fastcall_method(editor_set_column_widths),
     METH_FASTCALL | METH_KEYWORDS, "set_column_widths($self, widths)\n--\n\n"},
    {"remove_style", fastcall_method(editor_remove_style),
     METH_FASTCALL | METH_KEYWORDS, "remove_style($self, range)\n--\n\n"},
    // Reading
    {"get_value", fastcall_method(editor_get_value),
     METH_FASTCALL | METH_KEYWORDS, "get_value($self, cell)\n--\n\n"},
    {"get_formula", fastcall_method(editor_get_formula),
     METH_FASTCALL | METH_KEYWORDS, "get_formula($self, cell)\n--\n\n"},
    {"read_rows", fastcall_method(editor_read_rows),
     METH_FASTCALL | METH_KEYWORDS, "read_rows($self, range=None)\n--\n\n"},
    {"sheet_names", fastcall_method(editor_sheet_names),
     METH_FASTCALL | METH_KEYWORDS, "sheet_names($self)\n--\n\n"},
    {"write", fastcall_method(editor_write),
     METH_FASTCALL | METH_KEYWORDS, "write($self, cell, value)\n--\n\n"},
    {"write_rows", fastcall_method(editor_write_rows),
     METH_FASTCALL | METH_KEYWORDS, "write_rows($self, start_cell, rows)\n--\n\n"},
    {nullptr, nullptr, 0, nullptr},
};

PyGetSetDef editor_getset[] = {
    {"sheet_name", editor_sheet_name, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

std::optional<std::pair<std::string, std::string>> create_from_args(PyObject* path_arg, PyObject* name_arg) {
    auto path = arg_path(path_arg, "path");
    if (!path) return std::nullopt;
    std::string name = "Sheet1";
    if (name_arg) {
        auto given = arg_text(name_arg, "sheet_name");
        if (!given) return std::nullopt;
        name = std::move(*given);
    }
    if (auto created = qm::create_workbook(*path, name); !created) {
        raise_core(created.error());
        return std::nullopt;
    }
    return std::pair{std::move(*path), std::move(name)};
}

PyObject* open_editor(const std::string& path, const std::optional<std::string>& sheet_name) {
    std::string name;
    if (sheet_name) {
        auto checked = qm::check_sheet_name(*sheet_name);
        if (!checked) return raise_core(checked.error());
        name = std::move(*checked);
    } else {
        auto names = qm::list_sheet_names(path);
        if (!names) return raise_core(names.error());
        if (names->empty()) return raise_runtime("Workbook contains no worksheets");
        name = std::move(names->front());
    }
    auto state = qm::open_workbook(path, name);
    if (!state) return raise_core(state.error());
    return wrap_state(std::move(*state));
}

PyTypeObject EditorType = [] {
    PyTypeObject t = blank_type();
    t.tp_name = "quillmark.Editor";
    t.tp_basicsize = sizeof(EditorObject);
    t.tp_dealloc = editor_dealloc;
    t.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE;
    t.tp_doc = "Editor(path, sheet_name=None)\n--\n\n";
    t.tp_methods = editor_methods;
    t.tp_getset = editor_getset;
    t.tp_new = editor_new;
    t.tp_repr = editor_repr;
    return t;
}();

int ready_editor_type() { return PyType_Ready(&EditorType); }

}  // namespace qmpy
