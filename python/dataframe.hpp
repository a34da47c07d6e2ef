#pragma once
// DataFrame import: turning Python values into cell texts, and Editor.with_polars.
#include <string>
#include <string_view>

#include "cells/cells.hpp"

#include "binding.hpp"

namespace qmpy {

enum class ValueClass { Other, Date, DateTime };

// Days since 1970-01-01 in the proleptic Gregorian calendar (negative before).
long long day_number(int year, int month, int day);
// Fixed notation with 15 decimals, correctly rounded, then trailing zeros and point removed.
std::string format_serial(double serial);
// A DataFrame value as a typed cell: None is blank, str is text, bool is the text TRUE/FALSE,
// dates and datetimes are serial numbers, ints and finite floats numbers, NaN and infinities the
// errors #NUM! and #DIV/0!; anything else is str() of it, a number when that reads as a finite one.
// False with an exception set on failure.
bool typed_value(PyObject* value, qm::TypedCell& cell, ValueClass& cls);
// The error value a spreadsheet shows for a non-finite result.
std::string_view non_finite_error(double value);
// Serial number of a date-time, `days` counted from 1970-01-01.
double datetime_serial(double days, int hour, int minute, int second, int microsecond);

PyObject* editor_with_polars(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);



}  // namespace qmpy
