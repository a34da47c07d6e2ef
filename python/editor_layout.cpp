// Editor methods for column widths.
#include <memory>

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

using Width = Param<arg::Real>;

constexpr EditorMethod set_column_width{
    "set_column_width", Access::Edit, Returns::Self,
    Params{Param<arg::Text>{"col_letter"}, Width{"width"}},
    [](qm::EditorState& st, const std::string& letter, double width) -> qm::Status {
        auto index = qm::column_index_of(letter);
        if (!index) return qm::fail(std::move(index.error()));
        if (auto checked = qm::check_width(width); !checked) return checked;
        return qm::set_column_props(st, *index, width, std::nullopt);
    },
};

constexpr EditorMethod set_column_width_range{
    "set_column_width_range", Access::Edit, Returns::Self,
    Params{Param<arg::Text>{"col_range"}, Width{"width"}},
    [](qm::EditorState& st, const std::string& range, double width) -> qm::Status {
        if (auto checked = qm::check_width(width); !checked) return checked;
        return set_span_width(st, range, width);
    },
};

constexpr EditorMethod set_columns_width{
    "set_columns_width", Access::Edit, Returns::Self,
    Params{Param<arg::TextList>{"col_letters"}, Width{"width"}},
    [](qm::EditorState& st, const std::vector<std::string>& entries, double width) -> qm::Status {
        if (auto checked = qm::check_width(width); !checked) return checked;
        for (const std::string& entry : entries)
            if (auto set = set_span_width(st, entry, width); !set) return set;
        return {};
    },
};

constexpr EditorMethod set_column_widths{
    "set_column_widths", Access::Edit, Returns::Self,
    Params{Param<arg::Dict>{"widths"}},
    [](qm::EditorState& st, PyObject* widths) -> bool {
        // A snapshot of the items: converting a value may run Python code (__float__) that
        // changes the dict, and the pairs hold their own references meanwhile.
        std::unique_ptr<PyObject, void (*)(PyObject*)> items(PyDict_Items(widths), [](PyObject* o) { Py_XDECREF(o); });
        if (!items) return false;
        for (Py_ssize_t i = 0, n = PyList_GET_SIZE(items.get()); i < n; ++i) {
            PyObject* pair = PyList_GET_ITEM(items.get(), i);
            if (!apply_width_entry(st, PyTuple_GET_ITEM(pair, 0), PyTuple_GET_ITEM(pair, 1))) return false;
        }
        return true;
    },
};

}  // namespace

const PyMethodDef set_column_width_method = editor_entry<set_column_width>();
const PyMethodDef set_column_width_range_method = editor_entry<set_column_width_range>();
const PyMethodDef set_columns_width_method = editor_entry<set_columns_width>();
const PyMethodDef set_column_widths_method = editor_entry<set_column_widths>();

}  // namespace qmpy
