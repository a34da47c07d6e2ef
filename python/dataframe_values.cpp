#include "convert.hpp"
#include "dataframe.hpp"

#include <datetime.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "read/read.hpp"
#include "support/numbers.hpp"

namespace qmpy {

namespace {
// The datetime C API is reached through a capsule, imported on first use.
bool datetime_api_ready() {
    if (!PyDateTimeAPI) PyDateTime_IMPORT;
    return PyDateTimeAPI != nullptr;
}

// The serial number of a date's (or datetime's) day in the workbook's date system.
double day_of(PyObject* value, bool date1904) {
    return static_cast<double>(qm::serial_day(
        qm::days_from_civil(PyDateTime_GET_YEAR(value), static_cast<unsigned>(PyDateTime_GET_MONTH(value)),
                            static_cast<unsigned>(PyDateTime_GET_DAY(value))),
        date1904));
}

}  // namespace

bool float_text(double value, std::string& text) {
    if (!std::isfinite(value)) return false;
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    if (ec != std::errc()) return false;
    const char* p = buf;
    text.clear();
    if (*p == '-') text += *p++;
    char digits[32];
    std::size_t n = 0;
    for (; p < end && *p != 'e' && n < sizeof digits; ++p)
        if (*p != '.') digits[n++] = *p;
    int exponent = 0;
    if (p + 1 < end) std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    const int point = exponent + 1;  // digits before the decimal point
    if (point <= -4 || point > 16) {
        text += digits[0];
        if (n > 1) {
            text += '.';
            text.append(digits + 1, n - 1);
        }
        text += exponent < 0 ? "e-" : "e+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) text += '0';
        text += std::to_string(magnitude);
    } else if (point <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-point), '0');
        text.append(digits, n);
    } else if (static_cast<std::size_t>(point) >= n) {
        text.append(digits, n);
        text.append(static_cast<std::size_t>(point) - n, '0');
        text += ".0";
    } else {
        text.append(digits, static_cast<std::size_t>(point));
        text += '.';
        text.append(digits + point, n - static_cast<std::size_t>(point));
    }
    return true;
}

char* serial_chars(double serial, char* buf) {
    // Whole serials (every date) are their integer's digits: the same text, without the slow
    // fixed-point conversion. -0 keeps its sign through the general route.
    if (serial == std::trunc(serial) && std::fabs(serial) < 1e15 && !(serial == 0 && std::signbit(serial)))
        return std::to_chars(buf, buf + kSerialChars, static_cast<long long>(serial)).ptr;
    // Exactly rounded, like printf's "%.15f" (309 digits before the point at most).
    char* end = std::to_chars(buf, buf + kSerialChars, serial, std::chars_format::fixed, 15).ptr;
    if (std::find(buf, end, '.') != end) {
        while (end > buf && end[-1] == '0') --end;
        if (end > buf && end[-1] == '.') --end;
    }
    return end;
}

void format_serial(double serial, std::string& text) {
    char buf[kSerialChars];
    text.assign(buf, serial_chars(serial, buf));
}

bool typed_value(PyObject* value, qm::TypedCell& cell, ValueClass& cls, bool date1904) {
    cls = ValueClass::Other;
    std::string& text = cell.text;
    if (value == Py_None) {
        cell.kind = qm::CellKind::Blank;
        text.clear();
        return true;
    }
    // Text is data, never a number or a formula to be derived from it.
    if (PyUnicode_Check(value)) {
        auto converted = to_text(value);
        if (!converted) return false;
        cell.kind = qm::CellKind::InlineString;
        text = std::move(*converted);
        return true;
    }
    if (Py_IS_TYPE(value, &PyBool_Type)) {
        cell.kind = qm::CellKind::InlineString;
        text = value == Py_True ? "TRUE" : "FALSE";
        return true;
    }
    cell.kind = qm::CellKind::Number;
    if (!datetime_api_ready()) return false;
    if (PyDateTime_Check(value)) {
        double date = day_of(value, date1904);
        format_serial(datetime_serial(date, PyDateTime_DATE_GET_HOUR(value), PyDateTime_DATE_GET_MINUTE(value),
                                      PyDateTime_DATE_GET_SECOND(value), PyDateTime_DATE_GET_MICROSECOND(value)),
                      text);
        cls = ValueClass::DateTime;
        return true;
    }
    if (PyDate_Check(value)) {
        format_serial(day_of(value, date1904), text);
        cls = ValueClass::Date;
        return true;
    }
    // str() of an exact int or finite float without building the str object; subclasses may
    // define their own __str__ and take the general route, as do big ints.
    if (PyLong_CheckExact(value)) {
        int overflow = 0;
        long long number = PyLong_AsLongLongAndOverflow(value, &overflow);
        if (!overflow && !(number == -1 && PyErr_Occurred())) {
            char buf[24];
            text.assign(buf, std::to_chars(buf, buf + sizeof buf, number).ptr);
            return true;
        }
        PyErr_Clear();
    } else if (PyFloat_Check(value)) {
        const double number = PyFloat_AS_DOUBLE(value);
        if (!std::isfinite(number)) {
            cell.kind = qm::CellKind::Error;
            text = non_finite_error(number);
            return true;
        }
        if (PyFloat_CheckExact(value) && float_text(number, text)) return true;
    }
    PyObject* str = PyObject_Str(value);
    if (!str) return false;
    auto converted = to_text(str);
    Py_DECREF(str);
    if (!converted) return false;
    text = std::move(*converted);
    // Other objects (Decimal, int subclasses, times) are numbers when their text is a finite
    // number and text otherwise; a text never becomes a formula.
    auto number = qm::parse_float(text);
    cell.kind = number && std::isfinite(*number) ? qm::CellKind::Number : qm::CellKind::InlineString;
    return true;
}

std::string_view non_finite_error(double value) { return std::isnan(value) ? "#NUM!" : "#DIV/0!"; }

double datetime_serial(double day, int hour, int minute, int second, int microsecond) {
    // The order of the operations is fixed: the last digits of the serial depend on it.
    double a = hour * 3600.0 + minute * 60.0;
    double b = second + a;
    double c = microsecond / 1000000.0 + b;
    double d = c / 86400.0;
    return d + day;
}

}  // namespace qmpy
