// Typed writing: values keep their Python type (text stays text, dates become dated serials).
#include "editor.hpp"

#include <datetime.h>

#include <charconv>
#include <cmath>

#include "read/read.hpp"

namespace qmpy {

namespace {

bool datetime_ready() {
    if (!PyDateTimeAPI) PyDateTime_IMPORT;
    return PyDateTimeAPI != nullptr;
}

// A new reference to decimal.Decimal, looked up at each use: only values of no common type get
// that far, and nothing is kept past the interpreter that imported it (or a failed import).
PyObject* decimal_type() {
    PyObject* module = PyImport_ImportModule("decimal");
    if (!module) return nullptr;
    PyObject* type = PyObject_GetAttrString(module, "Decimal");
    Py_DECREF(module);
    return type;
}

bool set_error_for_special(double v, qm::TypedValue& out) {
    if (std::isnan(v)) {
        out.kind = qm::TypedValue::Kind::Error;
        out.text = "#NUM!";
        return true;
    }
    if (std::isinf(v)) {
        out.kind = qm::TypedValue::Kind::Error;
        out.text = "#DIV/0!";
        return true;
    }
    return false;
}

// One Python value as a typed cell value; false with an exception set when it is refused.
// `where` names the cell for the TypeError.
bool to_typed(PyObject* v, qm::TypedValue& out, const std::string& where) {
    using Kind = qm::TypedValue::Kind;
    out = {};
    if (v == Py_None) return true;
    if (PyBool_Check(v)) {
        out.kind = Kind::Bool;
        out.text.assign(1, v == Py_True ? '1' : '0');
        return true;
    }
    if (PyLong_Check(v)) {
        PyObject* text = PyObject_Str(v);
        if (!text) return false;
        auto s = to_text(text);
        Py_DECREF(text);
        if (!s) return false;
        out.kind = Kind::Number;
        out.text = std::move(*s);
        return true;
    }
    if (PyFloat_Check(v)) {
        double d = PyFloat_AS_DOUBLE(v);
        if (set_error_for_special(d, out)) return true;
        char buf[32];
        auto end = std::to_chars(buf, buf + sizeof buf, d).ptr;
        out.kind = Kind::Number;
        out.text.assign(buf, end);
        return true;
    }
    if (PyUnicode_Check(v)) {
        auto s = to_text(v);
        if (!s) return false;
        out.kind = Kind::Text;
        out.text = std::move(*s);
        return true;
    }
    if (!datetime_ready()) return false;
    if (PyDateTime_Check(v) || PyDate_Check(v)) {
        out.kind = PyDateTime_Check(v) ? Kind::DateTime : Kind::Date;
        out.date.year = PyDateTime_GET_YEAR(v);
        out.date.month = PyDateTime_GET_MONTH(v);
        out.date.day = PyDateTime_GET_DAY(v);
        if (out.kind == Kind::DateTime) {
            out.date.hour = PyDateTime_DATE_GET_HOUR(v);
            out.date.minute = PyDateTime_DATE_GET_MINUTE(v);
            out.date.second = PyDateTime_DATE_GET_SECOND(v);
            out.date.microsecond = PyDateTime_DATE_GET_MICROSECOND(v);
        }
        return true;
    }
    if (PyTime_Check(v)) {
        out.kind = Kind::Time;
        out.date.hour = PyDateTime_TIME_GET_HOUR(v);
        out.date.minute = PyDateTime_TIME_GET_MINUTE(v);
        out.date.second = PyDateTime_TIME_GET_SECOND(v);
        out.date.microsecond = PyDateTime_TIME_GET_MICROSECOND(v);
        return true;
    }
    if (PyDelta_Check(v)) {
        out.kind = Kind::Duration;
        out.microseconds = (static_cast<std::int64_t>(PyDateTime_DELTA_GET_DAYS(v)) * 86400 +
                            PyDateTime_DELTA_GET_SECONDS(v)) * 1000000 + PyDateTime_DELTA_GET_MICROSECONDS(v);
        return true;
    }
    PyObject* decimal = decimal_type();
    if (!decimal) return false;
    int is_decimal = PyObject_IsInstance(v, decimal);
    Py_DECREF(decimal);
    if (is_decimal < 0) return false;
    if (is_decimal) {
        PyObject* finite = PyObject_CallMethod(v, "is_finite", nullptr);
        if (!finite) return false;
        bool ok = finite == Py_True;
        Py_DECREF(finite);
        if (!ok) {
            PyObject* nan = PyObject_CallMethod(v, "is_nan", nullptr);
            if (!nan) return false;
            set_error_for_special(nan == Py_True ? NAN : INFINITY, out);
            Py_DECREF(nan);
            return true;
        }
        PyObject* text = PyObject_Str(v);
        if (!text) return false;
        auto s = to_text(text);
        Py_DECREF(text);
        if (!s) return false;
        out.kind = Kind::Number;
        out.text = std::move(*s);
        return true;
    }
    PyErr_Format(PyExc_TypeError, "cannot write a value of type '%s' to cell %s", Py_TYPE(v)->tp_name, where.c_str());
    return false;
}

std::optional<qm::CellRef> start_of(const std::string& text) {
    auto area = qm::parse_read_area(text);
    if (!area || text.find(':') != std::string::npos) {
        raise_runtime("invalid cell reference: " + text);
        return std::nullopt;
    }
    return qm::CellRef{area->first_column, area->first_row};
}

std::string cell_name(const qm::CellRef& start, std::size_t r, std::size_t c) {
    return qm::index_to_column(start.column + c) + std::to_string(start.row + r);
}

constexpr EditorMethod write{
    "write", Access::Edit, Returns::None,
    Params{Param<arg::Text>{"cell"}, Param<arg::Object<>>{"value"}},
    [](qm::EditorState& st, const std::string& text, PyObject* value) -> bool {
        auto start = start_of(text);
        if (!start) return false;
        std::vector<std::vector<qm::TypedValue>> rows(1, std::vector<qm::TypedValue>(1));
        if (!to_typed(value, rows[0][0], text)) return false;
        return ok_or_raise(qm::write_typed_rows(st, rows, *start));
    },
};

constexpr EditorMethod write_rows{
    "write_rows", Access::Edit, Returns::None,
    Params{Param<arg::Text>{"start_cell"}, Param<arg::Object<>>{"rows"}},
    [](qm::EditorState& st, const std::string& text, PyObject* given) -> bool {
        auto start = start_of(text);
        if (!start) return false;
        auto outer = with_prefix(to_object_list(given), "rows");
        if (!outer) return false;
        ObjectListGuard release_rows{*outer};
        std::vector<std::vector<qm::TypedValue>> rows(outer->size());
        for (std::size_t r = 0; r < outer->size(); ++r) {
            auto items = with_prefix(to_object_list((*outer)[r]), "rows");
            if (!items) return false;
            ObjectListGuard release_items{*items};
            rows[r].resize(items->size());
            for (std::size_t c = 0; c < items->size(); ++c)
                if (!to_typed((*items)[c], rows[r][c], cell_name(*start, r, c))) return false;
        }
        return ok_or_raise(qm::write_typed_rows(st, rows, *start));
    },
};

}  // namespace

const PyMethodDef write_method = editor_entry<write>();
const PyMethodDef write_rows_method = editor_entry<write_rows>();

}  // namespace qmpy
