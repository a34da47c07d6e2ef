#include "convert.hpp"

#include "align.hpp"
#include "module.hpp"

#include <cmath>
#include <limits>

namespace qmpy {

std::optional<std::string> to_text(PyObject* obj) {
    if (!PyUnicode_Check(obj)) {
        set_type_mismatch(obj, "str");
        return std::nullopt;
    }
    Py_ssize_t len = 0;
    const char* data = PyUnicode_AsUTF8AndSize(obj, &len);
    if (!data) return std::nullopt;
    return std::string(data, static_cast<std::size_t>(len));
}

std::optional<std::optional<std::string>> to_optional_text(PyObject* obj) {
    if (!obj || obj == Py_None) return std::optional<std::string>();
    auto text = to_text(obj);
    if (!text) return std::nullopt;
    return std::optional<std::string>(std::move(*text));
}

std::optional<std::string> to_path(PyObject* obj) {
    PyObject* fs = PyOS_FSPath(obj);
    if (!fs) return std::nullopt;
    if (!PyUnicode_Check(fs)) {
        set_type_mismatch(fs, "str");
        Py_DECREF(fs);
        return std::nullopt;
    }
    // The file system encoding (with surrogateescape) gives back the bytes of names that are not
    // valid UTF-8, as os.fsencode does.
    PyObject* encoded = PyUnicode_EncodeFSDefault(fs);
    Py_DECREF(fs);
    if (!encoded) return std::nullopt;
    std::string path(PyBytes_AS_STRING(encoded), static_cast<std::size_t>(PyBytes_GET_SIZE(encoded)));
    Py_DECREF(encoded);
    if (path.find('\0') != std::string::npos) {
        PyErr_SetString(PyExc_ValueError, "embedded null byte");
        return std::nullopt;
    }
    return path;
}

std::optional<bool> to_flag(PyObject* obj) {
    if (obj == Py_True) return true;
    if (obj == Py_False) return false;
    // NumPy booleans without importing NumPy: recognised by the type's module and name.
    PyTypeObject* type = Py_TYPE(obj);
    PyObject* module = PyObject_GetAttrString(reinterpret_cast<PyObject*>(type), "__module__");
    if (!module) PyErr_Clear();
    bool numpy_bool = false;
    if (module && PyUnicode_Check(module) && PyUnicode_CompareWithASCIIString(module, "numpy") == 0) {
        PyObject* name = PyType_GetName(type);
        if (name) {
            numpy_bool = PyUnicode_CompareWithASCIIString(name, "bool_") == 0 ||
                         PyUnicode_CompareWithASCIIString(name, "bool") == 0;
            Py_DECREF(name);
        } else {
            PyErr_Clear();
        }
    }
    Py_XDECREF(module);
    if (numpy_bool) {
        int truth = PyObject_IsTrue(obj);
        if (truth < 0) return std::nullopt;
        return truth != 0;
    }
    set_type_mismatch(obj, "bool");
    return std::nullopt;
}

std::optional<double> to_real(PyObject* obj) {
    if (PyFloat_CheckExact(obj)) return PyFloat_AS_DOUBLE(obj);
    double value = PyFloat_AsDouble(obj);
    if (value == -1.0 && PyErr_Occurred()) return std::nullopt;
    return value;
}

std::optional<float> to_narrow_real(PyObject* obj) {
    auto value = to_real(obj);
    if (!value) return std::nullopt;
    // Converting a double outside the float range is undefined in C++; round to nearest instead:
    // past FLT_MAX plus half its spacing (2^103) is infinity, below it FLT_MAX.
    double v = *value;
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isfinite(v) && std::fabs(v) > kMax) {
        float limit = std::fabs(v) >= kMax + 0x1p103 ? std::numeric_limits<float>::infinity()
                                                     : std::numeric_limits<float>::max();
        return std::copysign(limit, static_cast<float>(v > 0 ? 1 : -1));
    }
    return static_cast<float>(v);
}

std::optional<std::uint64_t> to_count(PyObject* obj) {
    PyObject* index = PyLong_Check(obj) ? Py_NewRef(obj) : PyNumber_Index(obj);
    if (!index) return std::nullopt;
    unsigned long long value = PyLong_AsUnsignedLongLong(index);
    Py_DECREF(index);
    if (value == static_cast<unsigned long long>(-1) && PyErr_Occurred()) return std::nullopt;
    return value;
}

namespace {
// Steps shared by every list kind: a str is refused first (it is a sequence itself), then the
// sequence check; items are taken by iteration. `take` converts one item and returns false on
// failure.
template <class Take>
bool for_each_item(PyObject* obj, Take&& take, Py_ssize_t* size_hint) {
    if (PyUnicode_Check(obj)) {
        PyErr_SetString(PyExc_TypeError, "Can't extract `str` to `Vec`");
        return false;
    }
    if (!PySequence_Check(obj)) {
        set_type_mismatch(obj, "Sequence");
        return false;
    }
    Py_ssize_t n = PyObject_Length(obj);
    if (n < 0) PyErr_Clear();
    *size_hint = n < 0 ? 0 : n;
    PyObject* iter = PyObject_GetIter(obj);
    if (!iter) return false;
    bool ok = true;
    while (PyObject* item = PyIter_Next(iter)) {
        ok = take(item);
        Py_DECREF(item);
        if (!ok) break;
    }
    Py_DECREF(iter);
    return ok && !PyErr_Occurred();
}
}  // namespace

std::optional<std::vector<std::string>> to_text_list(PyObject* obj) {
    std::vector<std::string> out;
    Py_ssize_t hint = 0;
    bool ok = for_each_item(
        obj,
        [&](PyObject* item) {
            if (out.capacity() == 0 && hint > 0) out.reserve(static_cast<std::size_t>(hint));
            auto text = to_text(item);
            if (!text) return false;
            out.push_back(std::move(*text));
            return true;
        },
        &hint);
    if (!ok) return std::nullopt;
    return out;
}

std::optional<std::vector<std::vector<std::string>>> to_text_table(PyObject* obj) {
    std::vector<std::vector<std::string>> out;
    Py_ssize_t hint = 0;
    bool ok = for_each_item(
        obj,
        [&](PyObject* item) {
            if (out.capacity() == 0 && hint > 0) out.reserve(static_cast<std::size_t>(hint));
            auto row = to_text_list(item);
            if (!row) return false;
            out.push_back(std::move(*row));
            return true;
        },
        &hint);
    if (!ok) return std::nullopt;
    return out;
}

std::optional<std::vector<PyObject*>> to_object_list(PyObject* obj) {
    std::vector<PyObject*> out;
    Py_ssize_t hint = 0;
    bool ok = for_each_item(
        obj,
        [&](PyObject* item) {
            if (out.capacity() == 0 && hint > 0) out.reserve(static_cast<std::size_t>(hint));
            out.push_back(Py_NewRef(item));
            return true;
        },
        &hint);
    if (!ok) {
        for (PyObject* o : out) Py_DECREF(o);
        return std::nullopt;
    }
    return out;
}

std::optional<AlignFields> to_alignment(PyObject* obj, PyTypeObject* owner) {
    ModuleState* state = module_state(owner);
    if (!state) return std::nullopt;
    if (!PyObject_TypeCheck(obj, state->align_spec)) {
        set_type_mismatch(obj, "AlignSpec");
        return std::nullopt;
    }
    return align_fields(obj);
}

}  // namespace qmpy
