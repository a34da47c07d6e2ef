#include "align.hpp"

#include <iterator>
#include <string>

#include "callable.hpp"
#include "module.hpp"

namespace qmpy {

namespace {
struct AlignSpecObject {
    PyObject_HEAD
    AlignFields fields;
};

struct AlignmentValueObject {
    PyObject_HEAD
    int code;
};

// The code held by `value` when it is an instance of `type`; otherwise TypeError naming `expected`.
std::optional<std::uint8_t> alignment_code(PyObject* member, PyTypeObject* type, const char* expected) {
    PyObject* value = PyObject_GetAttrString(member, "value");
    if (!value) return std::nullopt;
    if (!PyObject_TypeCheck(value, type)) {
        set_type_mismatch(value, expected);
        Py_DECREF(value);
        return std::nullopt;
    }
    auto code = static_cast<std::uint8_t>(reinterpret_cast<AlignmentValueObject*>(value)->code);
    Py_DECREF(value);
    return code;
}

constexpr Constructor align_spec_new{
    "AlignSpec",
    Params{Param<arg::Object<"None">>{"horiz"}, Param<arg::Object<"None">>{"vert"},
           Param<arg::Object<"False">>{"wrap"}},
    [](PyTypeObject* type, PyObject* horiz, PyObject* vert, PyObject* wrap) -> PyObject* {
        ModuleState* state = module_state(type);
        if (!state) return nullptr;
        // wrap is converted first; horiz and vert failures carry no argument prefix.
        AlignFields fields;
        if (wrap) {
            auto flag = arg_flag(wrap, "wrap");
            if (!flag) return nullptr;
            fields.wrap = *flag;
        }
        if (horiz && horiz != Py_None) {
            auto code = alignment_code(horiz, state->horiz_value, "HorizAlignment");
            if (!code) return nullptr;
            fields.horiz = code;
        }
        if (vert && vert != Py_None) {
            auto code = alignment_code(vert, state->vert_value, "VertAlignment");
            if (!code) return nullptr;
            fields.vert = code;
        }
        PyObject* self = type->tp_alloc(type, 0);
        if (!self) return nullptr;
        reinterpret_cast<AlignSpecObject*>(self)->fields = fields;
        return self;
    },
};

// Instances of heap types hold a reference to their type.
void plain_dealloc(PyObject* self) {
    PyTypeObject* type = Py_TYPE(self);
    type->tp_free(self);
    Py_DECREF(type);
}

// Value objects are reachable from the enumeration classes, which the module holds, and hold
// their class, which holds the module: the collector must see that edge to free the cycle.
int value_traverse(PyObject* self, visitproc visit, void* arg) {
    Py_VISIT(Py_TYPE(self));
    return 0;
}

void value_dealloc(PyObject* self) {
    PyObject_GC_UnTrack(self);
    plain_dealloc(self);
}

// Only the fields that differ from the defaults, so the text reads like the call that made it.
PyObject* align_spec_repr(PyObject* self) {
    static const char* const horiz[] = {"Left", "Center", "Right", "Fill", "Justify"};
    static const char* const vert[] = {"Top", "Center", "Bottom", "Justify"};
    const AlignFields& f = reinterpret_cast<AlignSpecObject*>(self)->fields;
    std::string text = "AlignSpec(";
    auto field = [&](std::string part) {
        if (text.back() != '(') text += ", ";
        text += part;
    };
    if (f.horiz && *f.horiz < std::size(horiz)) field(std::string("horiz=HorizAlignment.") + horiz[*f.horiz]);
    if (f.vert && *f.vert < std::size(vert)) field(std::string("vert=VertAlignment.") + vert[*f.vert]);
    if (f.wrap) field("wrap=True");
    text += ')';
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

// Values, not identities: two specs that style a cell alike are equal (and hash alike).
PyObject* align_spec_richcompare(PyObject* a, PyObject* b, int op) {
    if ((op != Py_EQ && op != Py_NE) || !PyObject_TypeCheck(b, Py_TYPE(a))) Py_RETURN_NOTIMPLEMENTED;
    bool same = reinterpret_cast<AlignSpecObject*>(a)->fields == reinterpret_cast<AlignSpecObject*>(b)->fields;
    return PyBool_FromLong(same == (op == Py_EQ));
}

Py_hash_t align_spec_hash(PyObject* self) {
    const AlignFields& f = reinterpret_cast<AlignSpecObject*>(self)->fields;
    // Codes are below 8: three bit fields, with 7 for an absent alignment. Never -1.
    return static_cast<Py_hash_t>((f.horiz.value_or(7) << 4) | (f.vert.value_or(7) << 1) | (f.wrap ? 1 : 0));
}

}  // namespace

PyType_Spec* align_spec_spec() {
    static PyType_Slot slots[] = {
        {Py_tp_dealloc, reinterpret_cast<void*>(plain_dealloc)},
        {Py_tp_doc, const_cast<char*>(doc_of<align_spec_new>.data())},
        {Py_tp_new, reinterpret_cast<void*>(construct<align_spec_new>)},
        {Py_tp_repr, reinterpret_cast<void*>(align_spec_repr)},
        {Py_tp_richcompare, reinterpret_cast<void*>(align_spec_richcompare)},
        {Py_tp_hash, reinterpret_cast<void*>(align_spec_hash)},
        {0, nullptr},
    };
    static PyType_Spec spec = {"quillmark.AlignSpec", sizeof(AlignSpecObject), 0,
                               Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE, slots};
    return &spec;
}

namespace {
// Type names are the enumeration names, so refusals say 'HorizAlignment' / 'VertAlignment'.
PyType_Spec value_spec(const char* name) {
    static PyType_Slot slots[] = {
        {Py_tp_dealloc, reinterpret_cast<void*>(value_dealloc)},
        {Py_tp_traverse, reinterpret_cast<void*>(value_traverse)},
        {0, nullptr},
    };
    return {name, sizeof(AlignmentValueObject), 0,
            Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE | Py_TPFLAGS_DISALLOW_INSTANTIATION | Py_TPFLAGS_HAVE_GC,
            slots};
}
}  // namespace

PyType_Spec* horiz_value_spec() {
    static PyType_Spec spec = value_spec("quillmark.HorizAlignment");
    return &spec;
}

PyType_Spec* vert_value_spec() {
    static PyType_Spec spec = value_spec("quillmark.VertAlignment");
    return &spec;
}

AlignFields align_fields(PyObject* align_spec) {
    return reinterpret_cast<AlignSpecObject*>(align_spec)->fields;
}

PyObject* new_alignment_value(PyTypeObject* type, int code) {
    PyObject* obj = type->tp_alloc(type, 0);
    if (obj) reinterpret_cast<AlignmentValueObject*>(obj)->code = code;
    return obj;
}

}  // namespace qmpy
