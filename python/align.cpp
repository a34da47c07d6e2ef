#include "align.hpp"

#include <iterator>
#include <string>

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

PyObject* align_spec_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    static const char* const names[] = {"horiz", "vert", "wrap"};
    static const Signature sig{"AlignSpec.__new__()", names, 3, 0};
    PyObject* a[3];
    if (!bind_tuple(sig, args, kwargs, a)) return nullptr;
    AlignFields fields;
    if (a[2]) {
        auto wrap = arg_flag(a[2], "wrap");
        if (!wrap) return nullptr;
        fields.wrap = *wrap;
    }
    // horiz and vert failures carry no argument prefix.
    if (a[0] && a[0] != Py_None) {
        auto code = alignment_code(a[0], &HorizAlignmentValueType, "HorizAlignment");
        if (!code) return nullptr;
        fields.horiz = code;
    }
    if (a[1] && a[1] != Py_None) {
        auto code = alignment_code(a[1], &VertAlignmentValueType, "VertAlignment");
        if (!code) return nullptr;
        fields.vert = code;
    }
    PyObject* self = type->tp_alloc(type, 0);
    if (!self) return nullptr;
    reinterpret_cast<AlignSpecObject*>(self)->fields = fields;
    return self;
}

void plain_dealloc(PyObject* self) { Py_TYPE(self)->tp_free(self); }

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
    if ((op != Py_EQ && op != Py_NE) || !PyObject_TypeCheck(b, &AlignSpecType)) Py_RETURN_NOTIMPLEMENTED;
    bool same = reinterpret_cast<AlignSpecObject*>(a)->fields == reinterpret_cast<AlignSpecObject*>(b)->fields;
    return PyBool_FromLong(same == (op == Py_EQ));
}

Py_hash_t align_spec_hash(PyObject* self) {
    const AlignFields& f = reinterpret_cast<AlignSpecObject*>(self)->fields;
    // Codes are below 8: three bit fields, with 7 for an absent alignment. Never -1.
    return static_cast<Py_hash_t>((f.horiz.value_or(7) << 4) | (f.vert.value_or(7) << 1) | (f.wrap ? 1 : 0));
}
}  // namespace

PyTypeObject AlignSpecType = [] {
    PyTypeObject t = blank_type();
    t.tp_name = "quillmark.AlignSpec";
    t.tp_basicsize = sizeof(AlignSpecObject);
    t.tp_dealloc = plain_dealloc;
    t.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE;
    t.tp_doc = "AlignSpec(horiz=None, vert=None, wrap=False)\n--\n\n";
    t.tp_new = align_spec_new;
    t.tp_repr = align_spec_repr;
    t.tp_richcompare = align_spec_richcompare;
    t.tp_hash = align_spec_hash;
    return t;
}();

// Type names are the enumeration names, so refusals say 'HorizAlignment' / 'VertAlignment'.
PyTypeObject HorizAlignmentValueType = [] {
    PyTypeObject t = blank_type();
    t.tp_name = "HorizAlignment";
    t.tp_basicsize = sizeof(AlignmentValueObject);
    t.tp_dealloc = plain_dealloc;
    t.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE | Py_TPFLAGS_DISALLOW_INSTANTIATION;
    return t;
}();

PyTypeObject VertAlignmentValueType = [] {
    PyTypeObject t = blank_type();
    t.tp_name = "VertAlignment";
    t.tp_basicsize = sizeof(AlignmentValueObject);
    t.tp_dealloc = plain_dealloc;
    t.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE | Py_TPFLAGS_DISALLOW_INSTANTIATION;
    return t;
}();

AlignFields align_fields(PyObject* align_spec) {
    return reinterpret_cast<AlignSpecObject*>(align_spec)->fields;
}

PyObject* new_alignment_value(PyTypeObject* type, int code) {
    PyObject* obj = type->tp_alloc(type, 0);
    if (obj) reinterpret_cast<AlignmentValueObject*>(obj)->code = code;
    return obj;
}

int ready_align_types() {
    if (PyType_Ready(&AlignSpecType) < 0) return -1;
    if (PyType_Ready(&HorizAlignmentValueType) < 0) return -1;
    if (PyType_Ready(&VertAlignmentValueType) < 0) return -1;
    return 0;
}

}  // namespace qmpy
