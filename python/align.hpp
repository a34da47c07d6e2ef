#pragma once
// AlignSpec and the private value classes behind the two alignment enumerations.
#include "convert.hpp"

namespace qmpy {

extern PyTypeObject AlignSpecType;
extern PyTypeObject HorizAlignmentValueType;
extern PyTypeObject VertAlignmentValueType;

AlignFields align_fields(PyObject* align_spec);
// A new value object holding `code`.
PyObject* new_alignment_value(PyTypeObject* type, int code);
int ready_align_types();

}  // namespace qmpy
