#pragma once
// Conversions of Python arguments into the plain kinds the core takes. Each returns nullopt with a
// Python exception set when the object is refused. Whole arguments are converted through their
// declarations (callable.hpp), which prefix a TypeError with "argument '<name>': ".
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
// An AlignSpec of the module that made `owner`.
std::optional<AlignFields> to_alignment(PyObject* obj, PyTypeObject* owner);

// Whole-argument forms: a failing TypeError gets the parameter-name prefix.
template <class T>
std::optional<T> with_prefix(std::optional<T> value, const char* param) {
    if (!value) prefix_conversion_error(param);
    return value;
}
inline std::optional<bool> arg_flag(PyObject* o, const char* p) { return with_prefix(to_flag(o), p); }

// Releases the references of an object list.
struct ObjectListGuard {
    std::vector<PyObject*>& items;
    ~ObjectListGuard() {
        for (PyObject* o : items) Py_DECREF(o);
    }
};

}  // namespace qmpy
