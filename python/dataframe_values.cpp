#include "convert.hpp"
#include "dataframe.hpp"

#include <datetime.h>

#include <algorithm>
#include <cstdio>

namespace qmpy {

namespace {
// The datetime C API is reached through a capsule, imported on first use.
bool datetime_api_ready() {
    if (!PyDateTimeAPI) PyDateTime_IMPORT;
    return PyDateTimeAPI != nullptr;
}
constexpr double kUnixEpochSerial = 25569.0;  // 1970-01-01 counted from 1899-12-30
}  // namespace

long long day_number(int year, int month, int day) {
    long long y = year - (month <= 2 ? 1 : 0);
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string format_serial(double serial) {
    char buf[400];
    int n = std::snprintf(buf, sizeof buf, "%.15f", serial);
    if (n < 0) return std::string();
    std::string text(buf, static_cast<std::size_t>(std::min<int>(n, sizeof buf - 1)));
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    return text;
}

bool typed_value_text(PyObject* value, std::string& text, ValueClass& cls) {
    cls = ValueClass::Other;
    if (value == Py_None) {
        text.clear();
        return true;
    }
    if (Py_IS_TYPE(value, &PyBool_Type)) {
        text = value == Py_True ? "TRUE" : "FALSE";
        return true;
    }
    if (!datetime_api_ready()) return false;
    if (PyDateTime_Check(value)) {
        double date = static_cast<double>(day_number(PyDateTime_GET_YEAR(value), PyDateTime_GET_MONTH(value),
                                                     PyDateTime_GET_DAY(value)));
        // The order of the operations is fixed: the last digits of the serial depend on it.
        double a = PyDateTime_DATE_GET_HOUR(value) * 3600.0 + PyDateTime_DATE_GET_MINUTE(value) * 60.0;
        double b = PyDateTime_DATE_GET_SECOND(value) + a;
        double c = PyDateTime_DATE_GET_MICROSECOND(value) / 1000000.0 + b;
        double d = c / 86400.0;
        text = format_serial(d + (date + kUnixEpochSerial));
        cls = ValueClass::DateTime;
        return true;
    }
    if (PyDate_Check(value)) {
        double date = static_cast<double>(
            day_number(PyDateTime_GET_YEAR(value), PyDateTime_GET_MONTH(value), PyDateTime_GET_DAY(value)));
        text = format_serial(date + kUnixEpochSerial);
        cls = ValueClass::Date;
        return true;
    }
    PyObject* str = PyObject_Str(value);
    if (!str) return false;
    auto converted = to_text(str);
    Py_DECREF(str);
    if (!converted) return false;
    text = std::move(*converted);
    return true;
}

}  // namespace qmpy
