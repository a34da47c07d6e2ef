#include "editor.hpp"

#include "catalogue/catalogue.hpp"
#include "module.hpp"
#include "package/package.hpp"

namespace qmpy {

namespace {

PyObject* wrap_state(PyTypeObject* type, qm::EditorState&& state) {
    auto owned = std::make_unique<qm::EditorState>(std::move(state));
    qm::enable_cell_queue(*owned);
    PyObject* obj = type->tp_alloc(type, 0);
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
    PyTypeObject* type = Py_TYPE(self);
    type->tp_free(self);
    Py_DECREF(type);
}

// Editor(path, sheet_name=None) and Editor.open(path, sheet_name=None) are one operation.
constexpr Constructor editor_new{
    "Editor",
    Params{Param<arg::Path>{"path"}, Param<arg::OptionalText>{"sheet_name"}},
    open_editor,
};

constexpr StaticMethod editor_open{
    "Editor",
    "open",
    Params{Param<arg::Path>{"path"}, Param<arg::OptionalText>{"sheet_name"}},
    [](ModuleState& module, const std::string& path, const std::optional<std::string>& sheet_name) {
        return open_editor(module.editor, path, sheet_name);
    },
};

constexpr StaticMethod editor_create{
    "Editor",
    "create",
    Params{Param<arg::Path>{"path"}, Param<arg::TextOr<"Sheet1">>{"sheet_name"}},
    [](ModuleState& module, const std::string& path, const std::string& sheet_name) -> PyObject* {
        if (auto created = qm::create_workbook(path, sheet_name); !created) return raise_core(created.error());
        return open_editor(module.editor, path, sheet_name);
    },
};

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

PyMethodDef* editor_methods() {
    static PyMethodDef table[] = {
        static_entry<editor_create>(),
        static_entry<editor_open>(),
        add_worksheet_method,
        add_worksheet_at_method,
        with_worksheet_method,
        rename_worksheet_method,
        delete_worksheet_method,
        set_cell_method,
        append_row_method,
        append_table_at_method,
        last_row_index_method,
        last_rows_index_method,
        save_method,
        with_polars_method,
        set_number_format_method,
        set_fill_method,
        set_font_method,
        set_alignment_method,
        merge_cells_method,
        set_border_method,
        set_column_width_method,
        set_column_width_range_method,
        set_columns_width_method,
        set_column_widths_method,
        remove_style_method,
        // Reading and typed writing
        get_value_method,
        get_formula_method,
        read_rows_method,
        sheet_names_method,
        write_method,
        write_rows_method,
        {nullptr, nullptr, 0, nullptr},
    };
    return table;
}

PyGetSetDef editor_getset[] = {
    {"sheet_name", editor_sheet_name, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

PyObject* open_editor(PyTypeObject* editor_type, const std::string& path,
                      const std::optional<std::string>& sheet_name) {
    std::optional<std::string> checked;
    if (sheet_name) {
        auto name = qm::check_sheet_name(*sheet_name);
        if (!name) return raise_core(name.error());
        checked = std::move(*name);
    }
    auto state = checked ? qm::open_workbook(path, *checked) : qm::open_first_sheet(path);
    if (!state) return raise_core(state.error());
    return wrap_state(editor_type, std::move(*state));
}

int bind_editor_static_methods(PyTypeObject* type, PyObject* module) {
    static PyMethodDef bound[] = {
        bound_static_entry<editor_create>(),
        bound_static_entry<editor_open>(),
        {nullptr, nullptr, 0, nullptr},
    };
    return bind_static_methods(type, module, bound);
}

PyType_Spec* editor_spec() {
    static PyType_Slot slots[] = {
        {Py_tp_dealloc, reinterpret_cast<void*>(editor_dealloc)},
        {Py_tp_doc, const_cast<char*>(doc_of<editor_new>.data())},
        {Py_tp_methods, editor_methods()},
        {Py_tp_getset, editor_getset},
        {Py_tp_new, reinterpret_cast<void*>(construct<editor_new>)},
        {Py_tp_repr, reinterpret_cast<void*>(editor_repr)},
        {0, nullptr},
    };
    static PyType_Spec spec = {"quillmark.Editor", sizeof(EditorObject), 0,
                               Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE, slots};
    return &spec;
}

}  // namespace qmpy
