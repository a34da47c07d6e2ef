#pragma once
// One declaration per Python callable: its name, its parameters (each with the conversion its
// argument gets and its default) and its body. The text signature in the docstring, the names the
// argument binder matches, the display name of binding errors and the conversions all come from
// that one declaration, so they cannot drift apart. The adapters that turn a declaration into a C
// function (bind, borrow, convert in parameter order, run, map the result) live next to the
// objects they borrow: editor.hpp, scanner.cpp, module.cpp.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "binding.hpp"
#include "convert.hpp"
#include "module.hpp"

namespace qmpy {

// A string literal as a template argument: the default of a text parameter.
template <std::size_t N>
struct Literal {
    char text[N];
    constexpr Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
    }
};

// What a conversion may need besides the object: the type whose method runs, from which the
// module state (the other types) is found.
struct CallContext {
    PyTypeObject* owner;
};

// How a default shows in the text signature.
struct DefaultText {
    const char* text = "";
    bool quoted = false;
    bool present = false;  // false: the parameter is required
};

// Argument kinds. Each gives the C++ `type` the body receives, its `fallback` default (required
// when it has none), and `convert`, which is handed nullptr for an omitted optional argument and
// returns false with a Python exception set when it refuses the object.
namespace arg {

template <class T>
bool take(std::optional<T>&& value, T& out) {
    if (!value) return false;
    out = std::move(*value);
    return true;
}

struct Text {
    using type = std::string;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_text(o), out); }
};

// Text whose omission means the literal (None is refused, as for any str parameter).
template <Literal D>
struct TextOr {
    using type = std::string;
    static constexpr DefaultText fallback{D.text, true, true};
    static bool convert(PyObject* o, CallContext&, type& out) {
        if (!o) {
            out = D.text;
            return true;
        }
        return take(to_text(o), out);
    }
};

struct OptionalText {
    using type = std::optional<std::string>;
    static constexpr DefaultText fallback{"None", false, true};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_optional_text(o), out); }
};

struct Path {
    using type = std::string;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_path(o), out); }
};

struct FlagOrFalse {
    using type = bool;
    static constexpr DefaultText fallback{"False", false, true};
    static bool convert(PyObject* o, CallContext&, type& out) {
        if (!o) {
            out = false;
            return true;
        }
        return take(to_flag(o), out);
    }
};

struct Real {
    using type = double;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_real(o), out); }
};

struct NarrowReal {
    using type = float;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_narrow_real(o), out); }
};

struct Count {
    using type = std::uint64_t;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_count(o), out); }
};

struct TextList {
    using type = std::vector<std::string>;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_text_list(o), out); }
};

struct TextTable {
    using type = std::vector<std::vector<std::string>>;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) { return take(to_text_table(o), out); }
};

struct Alignment {
    using type = AlignFields;
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext& cx, type& out) { return take(to_alignment(o, cx.owner), out); }
};

struct OptionalAlignment {
    using type = std::optional<AlignFields>;
    static constexpr DefaultText fallback{"None", false, true};
    static bool convert(PyObject* o, CallContext& cx, type& out) {
        if (!o || o == Py_None) {
            out.reset();
            return true;
        }
        return take(to_alignment(o, cx.owner), out.emplace());
    }
};

struct Dict {
    using type = PyObject*;  // borrowed
    static constexpr DefaultText fallback{};
    static bool convert(PyObject* o, CallContext&, type& out) {
        if (!PyDict_Check(o)) {
            set_type_mismatch(o, "dict");
            return false;
        }
        out = o;
        return true;
    }
};

// Any object, borrowed, for a body that converts it itself; omitted optional ones arrive as
// nullptr.
template <Literal D = "">
struct Object {
    using type = PyObject*;
    static constexpr DefaultText fallback{D.text, false, D.text[0] != '\0'};
    static bool convert(PyObject* o, CallContext&, type& out) {
        out = o;
        return true;
    }
};

}  // namespace arg

template <class Kind>
struct Param {
    const char* name;
};

template <class... Kinds>
struct Params {
    static constexpr std::size_t count = sizeof...(Kinds);
    static constexpr std::array<DefaultText, count> defaults{Kinds::fallback...};
    static constexpr std::size_t required = [] {
        std::size_t n = 0;
        while (n < count && !defaults[n].present) ++n;
        for (std::size_t i = n; i < count; ++i)
            if (!defaults[i].present) throw "a required parameter follows an optional one";
        return n;
    }();
    template <std::size_t I>
    using kind = std::tuple_element_t<I, std::tuple<Kinds...>>;

    std::array<const char*, (count ? count : 1)> names;

    constexpr Params(Param<Kinds>... p) : names{p.name...} {}
};
template <class... Kinds>
Params(Param<Kinds>...) -> Params<Kinds...>;

// What a declaration's call gives back when its body returns a status or a success flag.
enum class Returns { None, Self };
// How an Editor method treats buffered single-cell writes: merged before it runs (Edit, Read), or
// added to (Queued); Read marks no edit.
enum class Access { Edit, Queued, Read };

// The five callable shapes. `owner` is the class name errors and class docstrings use.
template <class P, class Body>
struct EditorMethod {
    const char* name;
    Access access;
    Returns returns;
    P params;
    Body body;  // (qm::EditorState&, converted arguments...) -> qm::Status, Result<T>, bool or PyObject*
    static constexpr const char* owner = "Editor";
    static constexpr bool instance = true, owned = true, constructor = false;
};
template <class P, class Body>
struct ScannerMethod {
    const char* name;
    P params;
    Body body;  // (CallContext&, const std::string& path, converted arguments...) -> PyObject*
    static constexpr const char* owner = "Scanner";
    static constexpr bool instance = true, owned = true, constructor = false;
};
template <class P, class Body>
struct StaticMethod {
    const char* owner;
    const char* name;
    P params;
    Body body;  // (ModuleState&, converted arguments...) -> PyObject*
    static constexpr bool instance = false, owned = true, constructor = false;
};
// A class's __new__: the class docstring is its text signature.
template <class P, class Body>
struct Constructor {
    const char* owner;
    P params;
    Body body;  // (PyTypeObject* type, converted arguments...) -> PyObject*
    static constexpr const char* name = "__new__";
    static constexpr bool instance = false, owned = true, constructor = true;
};
template <class P, class Body>
struct Function {
    const char* name;
    P params;
    Body body;  // (PyObject* module, converted arguments...) -> PyObject*
    static constexpr const char* owner = "";
    static constexpr bool instance = false, owned = false, constructor = false;
};

namespace detail {

struct Counter {
    std::size_t size = 0;
    constexpr void put(const char* s) {
        while (*s++) ++size;
    }
    constexpr void put(char) { ++size; }
};

template <std::size_t N>
struct Writer {
    std::array<char, N> text{};
    std::size_t at = 0;
    constexpr void put(const char* s) {
        while (*s) text[at++] = *s++;
    }
    constexpr void put(char c) { text[at++] = c; }
};

// "set_font($self, range, name, size, bold=False, italic=False, align=None)\n--\n\n"; a
// constructor is named by its class.
template <class Out, class D>
constexpr void write_doc(Out& out, const D& d) {
    if constexpr (D::constructor) out.put(d.owner);
    else out.put(d.name);
    out.put('(');
    bool first = true;
    if constexpr (D::instance) {
        out.put("$self");
        first = false;
    }
    using P = decltype(d.params);
    for (std::size_t i = 0; i < P::count; ++i) {
        if (!first) out.put(", ");
        first = false;
        out.put(d.params.names[i]);
        if (const DefaultText& def = P::defaults[i]; def.present) {
            out.put('=');
            if (def.quoted) out.put('"');
            out.put(def.text);
            if (def.quoted) out.put('"');
        }
    }
    out.put(")\n--\n\n");
}

// "Editor.set_cell()", "Editor.__new__()", "create_excel()".
template <class Out, class D>
constexpr void write_display(Out& out, const D& d) {
    if constexpr (D::owned) {
        out.put(d.owner);
        out.put('.');
    }
    if constexpr (D::constructor) out.put("__new__");
    else out.put(d.name);
    out.put("()");
}

template <auto& D, bool Doc>
constexpr std::size_t text_size() {
    Counter c;
    if constexpr (Doc) write_doc(c, D);
    else write_display(c, D);
    return c.size + 1;
}

template <auto& D, bool Doc>
constexpr auto make_text() {
    Writer<text_size<D, Doc>()> w;
    if constexpr (Doc) write_doc(w, D);
    else write_display(w, D);
    return w.text;
}

}  // namespace detail

template <auto& D>
inline constexpr auto doc_of = detail::make_text<D, true>();
template <auto& D>
inline constexpr auto display_of = detail::make_text<D, false>();
template <auto& D>
inline constexpr Signature signature_of{display_of<D>.data(), D.params.names.data(),
                                        static_cast<int>(decltype(D.params)::count),
                                        static_cast<int>(decltype(D.params)::required)};

// Converts the bound arguments in parameter order, stopping at the first refusal (a TypeError
// gets the parameter's prefix), then calls `run` with the converted values.
template <auto& D, class Run, std::size_t... I>
PyObject* convert_then(CallContext& cx, PyObject* const* given, Run&& run, std::index_sequence<I...>) {
    using P = decltype(D.params);
    [[maybe_unused]] std::tuple<typename P::template kind<I>::type...> values{};
    [[maybe_unused]] auto one = [&]<std::size_t J>(std::integral_constant<std::size_t, J>) {
        if (P::template kind<J>::convert(given[J], cx, std::get<J>(values))) return true;
        prefix_conversion_error(D.params.names[J]);
        return false;
    };
    if (!(one(std::integral_constant<std::size_t, I>{}) && ...)) return nullptr;
    return run(std::get<I>(values)...);
}

template <auto& D, class Run>
PyObject* convert_then(CallContext& cx, PyObject* const* given, Run&& run) {
    return convert_then<D>(cx, given, std::forward<Run>(run),
                           std::make_index_sequence<decltype(D.params)::count>{});
}

// Bound arguments of a vectorcall-style call; nullptr with a TypeError set on failure.
template <auto& D>
struct Bound {
    std::array<PyObject*, (decltype(D.params)::count ? decltype(D.params)::count : 1)> args;
};

// Results: a core status or success flag becomes None or self, a core result its Python value,
// a PyObject* passes through.
template <Returns R>
PyObject* done(PyObject* self) {
    if constexpr (R == Returns::Self) return Py_NewRef(self);
    else Py_RETURN_NONE;
}
template <Returns R>
PyObject* result_of(PyObject* self, const qm::Status& status) {
    if (!status) return raise_core(status.error());
    return done<R>(self);
}
template <Returns R>
PyObject* result_of(PyObject* self, bool ok) {
    return ok ? done<R>(self) : nullptr;
}
template <Returns R>
PyObject* result_of(PyObject*, PyObject* object) {
    return object;
}
PyObject* to_python(std::uint32_t value);
PyObject* to_python(const std::vector<std::uint32_t>& values);
PyObject* to_python(const std::vector<std::string>& values);
PyObject* to_python(const std::optional<std::string>& value);
template <Returns R, class T>
PyObject* result_of(PyObject*, const qm::Result<T>& result) {
    if (!result) return raise_core(result.error());
    return to_python(*result);
}
template <Returns R>
PyObject* result_of(PyObject*, std::uint32_t value) {
    return to_python(value);
}

// Method table entries.
template <auto& D>
PyMethodDef method_entry(PyCFunctionFastWithKeywords call, int flags = 0) {
    return {D.name, fastcall_method(call), METH_FASTCALL | METH_KEYWORDS | flags, doc_of<D>.data()};
}

// The interpreter calls a METH_STATIC function without anything to find the module by. So a
// class's table holds its static methods only to place them, and bind_static_methods then puts in
// their place the same functions bound to the module (wrapped as static methods).
template <auto& D>
PyObject* static_call(PyObject* module, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    ModuleState* state = module ? module_state_of(module) : nullptr;
    if (!state) return raise_runtime("internal error: static method without its module");
    Bound<D> bound;
    if (!bind_fast(signature_of<D>, args, nargs, kwnames, bound.args.data())) return nullptr;
    return guarded([&]() -> PyObject* {
        CallContext cx{state->editor};
        return convert_then<D>(cx, bound.args.data(), [&](auto&... v) { return D.body(*state, v...); });
    });
}
template <auto& D>
PyMethodDef static_entry() {
    return method_entry<D>(static_call<D>, METH_STATIC);
}
template <auto& D>
PyMethodDef bound_static_entry() {
    return method_entry<D>(static_call<D>);
}
// `bound` ends with an entry without name; its entries must outlive the class.
int bind_static_methods(PyTypeObject* type, PyObject* module, PyMethodDef* bound);

template <auto& D>
PyObject* construct(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    Bound<D> bound;
    if (!bind_tuple(signature_of<D>, args, kwargs, bound.args.data())) return nullptr;
    return guarded([&]() -> PyObject* {
        CallContext cx{type};
        return convert_then<D>(cx, bound.args.data(), [&](auto&... v) { return D.body(type, v...); });
    });
}

template <auto& D>
PyObject* function_call(PyObject* module, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    Bound<D> bound;
    if (!bind_fast(signature_of<D>, args, nargs, kwnames, bound.args.data())) return nullptr;
    return guarded([&]() -> PyObject* {
        CallContext cx{nullptr};
        return convert_then<D>(cx, bound.args.data(), [&](auto&... v) { return D.body(module, v...); });
    });
}
template <auto& D>
PyMethodDef function_entry() {
    return method_entry<D>(function_call<D>);
}

}  // namespace qmpy
