#include "binding.hpp"
#include "callable.hpp"

#include <vector>

namespace qmpy {

namespace {
std::string quoted_list(const std::vector<const char*>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            if (names.size() == 2) out += " and ";
            else out += (i + 1 == names.size()) ? ", and " : ", ";
        }
        out += '\'';
        out += names[i];
        out += '\'';
    }
    return out;
}

bool too_many_positional(const Signature& sig, Py_ssize_t given) {
    std::string m = sig.display;
    if (sig.required == sig.count) {
        m += " takes " + std::to_string(sig.count);
    } else {
        m += " takes from " + std::to_string(sig.required) + " to " + std::to_string(sig.count);
    }
    m += " positional arguments but " + std::to_string(given) + (given == 1 ? " was" : " were") +
         " given";
    PyErr_SetString(PyExc_TypeError, m.c_str());
    return false;
}

// Places one keyword argument; false with TypeError set when it names nothing or is a repeat.
bool place_keyword(const Signature& sig, PyObject* key, PyObject* value, PyObject** out) {
    Py_ssize_t len = 0;
    const char* k = PyUnicode_Check(key) ? PyUnicode_AsUTF8AndSize(key, &len) : nullptr;
    if (!k) {
        PyErr_Clear();
        PyErr_Format(PyExc_TypeError, "%s keywords must be strings", sig.display);
        return false;
    }
    std::string_view name(k, static_cast<std::size_t>(len));
    for (int i = 0; i < sig.count; ++i) {
        if (name != sig.names[i]) continue;
        if (out[i]) {
            PyErr_Format(PyExc_TypeError, "%s got multiple values for argument '%s'", sig.display,
                         sig.names[i]);
            return false;
        }
        out[i] = value;
        return true;
    }
    PyErr_Format(PyExc_TypeError, "%s got an unexpected keyword argument '%U'", sig.display, key);
    return false;
}

bool check_missing(const Signature& sig, PyObject** out) {
    std::vector<const char*> missing;
    for (int i = 0; i < sig.required; ++i)
        if (!out[i]) missing.push_back(sig.names[i]);
    if (missing.empty()) return true;
    std::string m = std::string(sig.display) + " missing " + std::to_string(missing.size()) +
                    " required positional " + (missing.size() == 1 ? "argument" : "arguments") +
                    ": " + quoted_list(missing);
    PyErr_SetString(PyExc_TypeError, m.c_str());
    return false;
}
}  // namespace

bool bind_fast(const Signature& sig, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
               PyObject** out) {
    nargs = PyVectorcall_NARGS(nargs);
    for (int i = 0; i < sig.count; ++i) out[i] = nullptr;
    if (nargs > sig.count) return too_many_positional(sig, nargs);
    for (Py_ssize_t i = 0; i < nargs; ++i) out[i] = args[i];
    if (kwnames) {
        Py_ssize_t nkw = PyTuple_GET_SIZE(kwnames);
        for (Py_ssize_t i = 0; i < nkw; ++i)
            if (!place_keyword(sig, PyTuple_GET_ITEM(kwnames, i), args[nargs + i], out)) return false;
    }
    return check_missing(sig, out);
}

bool bind_tuple(const Signature& sig, PyObject* args, PyObject* kwargs, PyObject** out) {
    for (int i = 0; i < sig.count; ++i) out[i] = nullptr;
    Py_ssize_t nargs = PyTuple_GET_SIZE(args);
    if (nargs > sig.count) return too_many_positional(sig, nargs);
    for (Py_ssize_t i = 0; i < nargs; ++i) out[i] = PyTuple_GET_ITEM(args, i);
    if (kwargs) {
        PyObject *key, *value;
        Py_ssize_t pos = 0;
        while (PyDict_Next(kwargs, &pos, &key, &value))
            if (!place_keyword(sig, key, value, out)) return false;
    }
    return check_missing(sig, out);
}

void prefix_conversion_error(const char* param) {
    if (!PyErr_Occurred() || !PyErr_ExceptionMatches(PyExc_TypeError)) return;
    PyObject* original = PyErr_GetRaisedException();
    PyObject* text = PyObject_Str(original);
    if (!text) {
        Py_DECREF(original);
        return;
    }
    PyObject* cause = PyException_GetCause(original);
    PyObject* message = PyUnicode_FromFormat("argument '%s': %U", param, text);
    Py_DECREF(text);
    PyObject* replaced = message ? PyObject_CallOneArg(PyExc_TypeError, message) : nullptr;
    Py_XDECREF(message);
    if (!replaced) {
        Py_XDECREF(cause);
        Py_DECREF(original);
        return;
    }
    if (cause) PyException_SetCause(replaced, cause);  // steals
    Py_DECREF(original);
    PyErr_SetRaisedException(replaced);
}

void set_type_mismatch(PyObject* obj, const char* expected) {
    if (obj == Py_None) {
        PyErr_Format(PyExc_TypeError, "'None' is not an instance of '%s'", expected);
        return;
    }
    PyObject* qualname = PyType_GetQualName(Py_TYPE(obj));
    if (!qualname) return;
    PyErr_Format(PyExc_TypeError, "'%U' object is not an instance of '%s'", qualname, expected);
    Py_DECREF(qualname);
}

PyObject* str_from_utf8(std::string_view text) {
    return PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
}

PyObject* str_list(const std::vector<std::string>& names) {
    PyObject* list = PyList_New(static_cast<Py_ssize_t>(names.size()));
    if (!list) return nullptr;
    for (std::size_t i = 0; i < names.size(); ++i) {
        PyObject* s = str_from_utf8(names[i]);
        if (!s) {
            Py_DECREF(list);
            return nullptr;
        }
        PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), s);
    }
    return list;
}

PyObject* raise_runtime(std::string_view message) {
    PyObject* text = str_from_utf8(message);
    if (!text) return nullptr;
    PyErr_SetObject(PyExc_RuntimeError, text);
    Py_DECREF(text);
    return nullptr;
}

PyObject* to_python(std::uint32_t value) { return PyLong_FromUnsignedLong(value); }

PyObject* to_python(const std::vector<std::uint32_t>& values) {
    PyObject* list = PyList_New(static_cast<Py_ssize_t>(values.size()));
    if (!list) return nullptr;
    for (std::size_t i = 0; i < values.size(); ++i) {
        PyObject* n = PyLong_FromUnsignedLong(values[i]);
        if (!n) {
            Py_DECREF(list);
            return nullptr;
        }
        PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), n);
    }
    return list;
}

PyObject* to_python(const std::vector<std::string>& values) { return str_list(values); }

PyObject* to_python(const std::optional<std::string>& value) {
    if (!value) Py_RETURN_NONE;
    return str_from_utf8(*value);
}

int bind_static_methods(PyTypeObject* type, PyObject* module, PyMethodDef* bound) {
    for (; bound->ml_name; ++bound) {
        PyObject* function = PyCFunction_NewEx(bound, module, nullptr);
        if (!function) return -1;
        PyObject* method = PyStaticMethod_New(function);
        Py_DECREF(function);
        if (!method) return -1;
        // Replacing keeps the entry's place in the class dict.
        int rc = PyDict_SetItemString(type->tp_dict, bound->ml_name, method);
        Py_DECREF(method);
        if (rc < 0) return -1;
    }
    PyType_Modified(type);
    return 0;
}

}  // namespace qmpy
