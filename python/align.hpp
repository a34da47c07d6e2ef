#pragma once
// AlignSpec and the private value classes behind the two alignment enumerations.
#include "convert.hpp"

namespace qmpy {

AlignFields align_fields(PyObject* align_spec);
// A new value object of one of the private value classes, holding `code`.
PyObject* new_alignment_value(PyTypeObject* type, int code);

}  // namespace qmpy
