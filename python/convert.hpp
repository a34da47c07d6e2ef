#pragma once
// Conversions of Python arguments into the plain kinds the core takes. Each returns nullopt with a
// Python exception set when the object is refused; callers that convert a whole argument pass the
// parameter name to the `arg_` forms, which prefix a TypeError with "argument '<name>': ".
#include "binding.hpp"
#include "styles/styles.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qmpy {

// An AlignSpec's three fields are exactly the core's alignment.
using AlignFields = qm::Alignment;

std::optional<std::string> to_text(PyObject* obj);
// Absent (None or omitted) gives an engaged optional holding nullopt.
std::optional<std::optional<std::string>> to_optional_text(PyObject* obj);
std::optional<std::string> to_path(PyObject* obj);
std::optional<bool> to_flag(PyObject* obj);
std::optional<double> to_real(PyObject* obj);
std::optional<float> to_narrow_real(PyObject* obj);
std::optional<std::uint64_t> to_count(PyObject* obj);
std::optional<std::vector<std::string>> to_text_list(PyObject* obj);
std::optional<std::vector<std::vector<std::string>>> to_text_table(PyObject* obj);
// New references to the items, in iteration order.
std::optional<std::vector<PyObject*>> to_object_list(PyObject* obj);
std::optional<AlignFields> to_alignment(PyObject* obj);

// Whole-argument forms: a failing TypeError gets the parameter-name prefix.
template <class T>
std::optional<T> with_prefix(std::optional<T> value, const char* param) {
    if (!value) prefix_conversion_error(param);
    return value;
}
inline std::optional<std::string> arg_text(PyObject* o, const char* p) { return with_prefix(to_text(o), p); }
inline std::optional<std::optional<std::string>> arg_optional_text(PyObject* o, const char* p) {
    return with_prefix(to_optional_text(o), p);
}
inline std::optional<std::string> arg_path(PyObject* o, const char* p) { return with_prefix(to_path(o), p); }
inline std::optional<bool> arg_flag(PyObject* o, const char* p) { return with_prefix(to_flag(o), p); }
inline std::optional<double> arg_real(PyObject* o, const char* p) { return with_prefix(to_real(o), p); }
inline std::optional<float> arg_narrow_real(PyObject* o, const char* p) {
    return with_prefix(to_narrow_real(o), p);
}
inline std::optional<std::uint64_t> arg_count(PyObject* o, const char* p) { return with_prefix(to_count(o), p); }
inline std::optional<std::vector<std::string>> arg_text_list(PyObject* o, const char* p) {
    return with_prefix(to_text_list(o), p);
}
inline std::optional<std::vector<std::vector<std::string>>> arg_text_table(PyObject* o, const char* p) {
    return with_prefix(to_text_table(o), p);
}
inline std::optional<AlignFields> arg_alignment(PyObject* o, const char* p) {
    return with_prefix(to_alignment(o), p);
}

// Releases the references of an object list.
struct ObjectListGuard {
    std::vector<PyObject*>& items;
    ~ObjectListGuard() {
        for (PyObject* o : items) Py_DECREF(o);
    }
};

}  // namespace qmpy
