#pragma once
// DataFrame import: turning Python values into cell texts, and Editor.with_polars.
#include <string>

#include "binding.hpp"

namespace qmpy {

enum class ValueClass { Other, Date, DateTime };

// Days since 1970-01-01 in the proleptic Gregorian calendar (negative before).
long long day_number(int year, int month, int day);
// Fixed notation with 15 decimals, correctly rounded, then trailing zeros and point removed.
std::string format_serial(double serial);
// None, bool, datetime, date, then str() of anything else. False with an exception set on failure.
bool typed_value_text(PyObject* value, std::string& text, ValueClass& cls);

PyObject* editor_with_polars(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);



}  // namespace qmpy
