#pragma once
// What every call shares: argument binding with the fixed TypeError texts, the busy flag,
// conversion-error prefixing, and the mapping of core errors and C++ exceptions to Python.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "support/error.hpp"

namespace qmpy {

// A callable's parameters. `display` is the name errors use: "Editor.set_cell()".
struct Signature {
    const char* display;
    const char* const* names;
    int count;
    int required;
};

// Fills out[0..count) with borrowed references (nullptr for an omitted optional parameter).
// On failure a TypeError is set and false returned.
bool bind_fast(const Signature& sig, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
               PyObject** out);
bool bind_tuple(const Signature& sig, PyObject* args, PyObject* kwargs, PyObject** out);

// Busy flag: 0 free, -1 taken exclusively, n > 0 shared by n readers.
using BusyFlag = std::atomic<std::intptr_t>;

class ExclusiveBorrow {
public:
    explicit ExclusiveBorrow(BusyFlag& flag) : flag_(flag) {
        std::intptr_t expected = 0;
        ok_ = flag_.compare_exchange_strong(expected, -1);
        if (!ok_) PyErr_SetString(PyExc_RuntimeError, "Already borrowed");
    }
    ~ExclusiveBorrow() {
        if (ok_) flag_.store(0);
    }
    explicit operator bool() const { return ok_; }
    ExclusiveBorrow(const ExclusiveBorrow&) = delete;
    ExclusiveBorrow& operator=(const ExclusiveBorrow&) = delete;

private:
    BusyFlag& flag_;
    bool ok_;
};

class SharedBorrow {
public:
    explicit SharedBorrow(BusyFlag& flag) : flag_(flag) {
        std::intptr_t current = flag_.load();
        do {
            if (current == -1) {
                PyErr_SetString(PyExc_RuntimeError, "Already borrowed");
                return;
            }
        } while (!flag_.compare_exchange_weak(current, current + 1));
        ok_ = true;
    }
    ~SharedBorrow() {
        if (ok_) flag_.fetch_sub(1);
    }
    explicit operator bool() const { return ok_; }
    SharedBorrow(const SharedBorrow&) = delete;
    SharedBorrow& operator=(const SharedBorrow&) = delete;

private:
    BusyFlag& flag_;
    bool ok_ = false;
};

// A pending TypeError becomes "argument '<param>': <message>" keeping the original's cause;
// other exceptions are left as they are.
void prefix_conversion_error(const char* param);

// "'int' object is not an instance of 'str'" / "'None' is not an instance of 'str'".
void set_type_mismatch(PyObject* obj, const char* expected);

// Raise RuntimeError with a message (invalid UTF-8 is replaced, never refused).
PyObject* raise_runtime(std::string_view message);
inline PyObject* raise_core(const qm::CoreError& error) { return raise_runtime(error.message); }

// True on success, else false with the core error raised: for steps that sit among others
// failing with Python exceptions.
inline bool ok_or_raise(const qm::Status& status) {
    if (!status) raise_core(status.error());
    return bool(status);
}

// Runs the body of a call; no C++ exception crosses into the interpreter.
template <class F>
PyObject* guarded(F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    } catch (const std::exception& e) {
        return raise_runtime(std::string("internal error: ") + e.what());
    } catch (...) {
        return raise_runtime("internal error");
    }
}

PyObject* str_from_utf8(std::string_view text);
// A list of str, one per name (sheet lists).
PyObject* str_list(const std::vector<std::string>& names);

// A METH_FASTCALL | METH_KEYWORDS function as the PyCFunction a method table holds.
inline PyCFunction fastcall_method(PyCFunctionFastWithKeywords f) {
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(f));
}

}  // namespace qmpy
