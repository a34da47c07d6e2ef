#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>

#include "convert.hpp"
#include "dataframe.hpp"
#include "read/read.hpp"

namespace qmpy {

namespace {

// The Arrow C data interface: these layouts are the interface's fixed ABI.
struct ArrowSchema {
    const char* format;
    const char* name;
    const char* metadata;
    std::int64_t flags;
    std::int64_t n_children;
    ArrowSchema** children;
    ArrowSchema* dictionary;
    void (*release)(ArrowSchema*);
    void* private_data;
};

struct ArrowArray {
    std::int64_t length;
    std::int64_t null_count;
    std::int64_t offset;
    std::int64_t n_buffers;
    std::int64_t n_children;
    const void** buffers;
    ArrowArray** children;
    ArrowArray* dictionary;
    void (*release)(ArrowArray*);
    void* private_data;
};

struct ArrowArrayStream {
    int (*get_schema)(ArrowArrayStream*, ArrowSchema*);
    int (*get_next)(ArrowArrayStream*, ArrowArray*);
    const char* (*get_last_error)(ArrowArrayStream*);
    void (*release)(ArrowArrayStream*);
    void* private_data;
};

struct SchemaGuard {
    ArrowSchema schema{};
    ~SchemaGuard() {
        if (schema.release) schema.release(&schema);
    }
};
struct ArrayGuard {
    ArrowArray array{};
    ~ArrayGuard() {
        if (array.release) array.release(&array);
    }
};

// Days and microseconds from 1970 that the interpreter's date and datetime can hold (years 1 to
// 9999): values outside go to the row path, which fails on them as the interpreter does.
constexpr std::int64_t kFirstDay = -719162, kLastDay = 2932896;
constexpr std::int64_t kDayMicros = 86400LL * 1000000;
constexpr std::int64_t kFirstMicro = kFirstDay * kDayMicros, kLastMicro = (kLastDay + 1) * kDayMicros - 1;

enum class Physical { Null, Bool, Int8, Int16, Int32, Int64, UInt8, UInt16, UInt32, UInt64, Float32, Float64,
                      Utf8, LargeUtf8, Utf8View, Date32, Timestamp };

struct ColumnType {
    Physical physical = Physical::Null;
    std::int64_t micros_per_unit = 0;  // timestamps: >0 multiplies, <0 divides (nanoseconds)
    bool dictionary = false;           // `physical` is the index type, `values` the dictionary's
    Physical values = Physical::Null;
};

std::optional<Physical> integer_of(std::string_view f) {
    if (f == "c") return Physical::Int8;
    if (f == "s") return Physical::Int16;
    if (f == "i") return Physical::Int32;
    if (f == "l") return Physical::Int64;
    if (f == "C") return Physical::UInt8;
    if (f == "S") return Physical::UInt16;
    if (f == "I") return Physical::UInt32;
    if (f == "L") return Physical::UInt64;
    return std::nullopt;
}

std::optional<Physical> string_of(std::string_view f) {
    if (f == "u") return Physical::Utf8;
    if (f == "U") return Physical::LargeUtf8;
    if (f == "vu") return Physical::Utf8View;
    return std::nullopt;
}

// The types this walker writes exactly as the row path would; anything else (times, durations,
// decimals, binary, nested, other time zones) is left to the row path.
std::optional<ColumnType> column_type(const ArrowSchema& s) {
    if (!s.format) return std::nullopt;
    std::string_view f = s.format;
    ColumnType t;
    if (s.dictionary) {
        auto index = integer_of(f);
        auto values = s.dictionary->format ? string_of(s.dictionary->format) : std::nullopt;
        if (!index || !values) return std::nullopt;
        t.physical = *index;
        t.dictionary = true;
        t.values = *values;
        return t;
    }
    if (auto i = integer_of(f)) t.physical = *i;
    else if (auto str = string_of(f)) t.physical = *str;
    else if (f == "n") t.physical = Physical::Null;
    else if (f == "b") t.physical = Physical::Bool;
    else if (f == "f") t.physical = Physical::Float32;
    else if (f == "g") t.physical = Physical::Float64;
    else if (f == "tdD") t.physical = Physical::Date32;
    else if (f.size() >= 4 && f.starts_with("ts") && f[3] == ':') {
        // Naive or UTC: the interpreter's datetime then shows the same wall clock.
        std::string_view zone = f.substr(4);
        if (!zone.empty() && zone != "UTC") return std::nullopt;
        t.physical = Physical::Timestamp;
        switch (f[2]) {
            case 's': t.micros_per_unit = 1000000; break;
            case 'm': t.micros_per_unit = 1000; break;
            case 'u': t.micros_per_unit = 1; break;
            case 'n': t.micros_per_unit = -1000; break;
            default: return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return t;
}

std::size_t buffer_count(Physical p) {
    switch (p) {
        case Physical::Null: return 0;
        case Physical::Utf8:
        case Physical::LargeUtf8: return 3;
        case Physical::Utf8View: return 3;  // at least: validity, views, then data buffers and sizes
        default: return 2;
    }
}

bool bit(const void* bits, std::int64_t i) {
    return (static_cast<const std::uint8_t*>(bits)[i >> 3] >> (i & 7)) & 1;
}

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

template <class T>
T load(const void* buffer, std::int64_t i) {
    T v;
    std::memcpy(&v, static_cast<const char*>(buffer) + i * static_cast<std::int64_t>(sizeof(T)), sizeof(T));
    return v;
}


std::int64_t index_at(Physical p, const void* values, std::int64_t i) {
    switch (p) {
        case Physical::Int8: return load<std::int8_t>(values, i);
        case Physical::Int16: return load<std::int16_t>(values, i);
        case Physical::Int32: return load<std::int32_t>(values, i);
        case Physical::Int64: return load<std::int64_t>(values, i);
        case Physical::UInt8: return load<std::uint8_t>(values, i);
        case Physical::UInt16: return load<std::uint16_t>(values, i);
        case Physical::UInt32: return load<std::uint32_t>(values, i);
        case Physical::UInt64: return static_cast<std::int64_t>(load<std::uint64_t>(values, i));
        default: return -1;
    }
}

// The text of string element i (offset already applied) of a string array.
std::optional<std::string_view> string_at(Physical p, const ArrowArray& a, std::int64_t i) {
    if (p == Physical::Utf8 || p == Physical::LargeUtf8) {
        std::int64_t begin, end;
        if (p == Physical::Utf8) {
            begin = load<std::int32_t>(a.buffers[1], i);
            end = load<std::int32_t>(a.buffers[1], i + 1);
        } else {
            begin = load<std::int64_t>(a.buffers[1], i);
            end = load<std::int64_t>(a.buffers[1], i + 1);
        }
        if (begin < 0 || end < begin) return std::nullopt;
        const char* data = static_cast<const char*>(a.buffers[2]);
        if (!data) return std::string_view();
        return std::string_view(data + begin, static_cast<std::size_t>(end - begin));
    }
    // A view: 4-byte length, then up to 12 bytes inline, or a 4-byte prefix, buffer index and offset.
    const char* view = static_cast<const char*>(a.buffers[1]) + i * 16;
    std::int32_t length;
    std::memcpy(&length, view, 4);
    if (length < 0) return std::nullopt;
    if (length <= 12) return std::string_view(view + 4, static_cast<std::size_t>(length));
    std::int32_t buffer, offset;
    std::memcpy(&buffer, view + 8, 4);
    std::memcpy(&offset, view + 12, 4);
    // Buffers: validity, views, the data buffers, then the buffer sizes.
    if (buffer < 0 || offset < 0 || buffer + 3 > a.n_buffers) return std::nullopt;
    const char* data = static_cast<const char*>(a.buffers[2 + buffer]);
    if (!data) return std::nullopt;
    return std::string_view(data + offset, static_cast<std::size_t>(length));
}

enum class Cell { Ok, Fallback, Broken };

// Where a value's text is made when the frame does not hold it as it is written.
struct Scratch {
    std::string text;
    char chars[kSerialChars];
};

template <class T>
std::string_view integer_text(Scratch& scratch, T value) {
    return {scratch.chars, std::to_chars(scratch.chars, scratch.chars + sizeof scratch.chars, value).ptr};
}

// One value into its kind and text (in the frame's buffers, in `scratch`, or a constant); a value
// the interpreter could not represent asks for the row path.
Cell convert(const ColumnType& t, const ArrowArray& a, std::int64_t i, qm::CellKind& cell, std::string_view& text,
             Scratch& scratch, ColumnKind& kind, bool date1904) {
    using qm::CellKind;
    const std::int64_t at = a.offset + i;
    text = {};
    if (t.physical == Physical::Null || (a.null_count != 0 && a.buffers[0] && !bit(a.buffers[0], at))) {
        cell = CellKind::Blank;
        return Cell::Ok;
    }
    const void* values = a.buffers[1];
    if (!values) return Cell::Broken;
    if (t.dictionary) {
        const ArrowArray* dict = a.dictionary;
        if (!dict) return Cell::Broken;
        std::int64_t k = index_at(t.physical, values, at);
        if (k < 0 || k >= dict->length) return Cell::Broken;
        const std::int64_t dk = dict->offset + k;
        if (dict->null_count != 0 && dict->buffers[0] && !bit(dict->buffers[0], dk)) {
            cell = CellKind::Blank;
            return Cell::Ok;
        }
        if (!dict->buffers[1]) return Cell::Broken;
        auto found = string_at(t.values, *dict, dk);
        if (!found) return Cell::Broken;
        cell = CellKind::InlineString;
        text = *found;
        return Cell::Ok;
    }
    cell = CellKind::Number;
    switch (t.physical) {
        case Physical::Bool:
            cell = CellKind::InlineString;
            text = bit(values, at) ? "TRUE" : "FALSE";
            return Cell::Ok;
        case Physical::Int8: text = integer_text(scratch, load<std::int8_t>(values, at)); return Cell::Ok;
        case Physical::Int16: text = integer_text(scratch, load<std::int16_t>(values, at)); return Cell::Ok;
        case Physical::Int32: text = integer_text(scratch, load<std::int32_t>(values, at)); return Cell::Ok;
        case Physical::Int64: text = integer_text(scratch, load<std::int64_t>(values, at)); return Cell::Ok;
        case Physical::UInt8: text = integer_text(scratch, load<std::uint8_t>(values, at)); return Cell::Ok;
        case Physical::UInt16: text = integer_text(scratch, load<std::uint16_t>(values, at)); return Cell::Ok;
        case Physical::UInt32: text = integer_text(scratch, load<std::uint32_t>(values, at)); return Cell::Ok;
        case Physical::UInt64: text = integer_text(scratch, load<std::uint64_t>(values, at)); return Cell::Ok;
        case Physical::Float32:
        case Physical::Float64: {
            double v = t.physical == Physical::Float32 ? double(load<float>(values, at)) : load<double>(values, at);
            if (!std::isfinite(v)) {
                cell = CellKind::Error;
                text = non_finite_error(v);
            } else if (!float_text(v, scratch.text)) {
                return Cell::Fallback;
            } else {
                text = scratch.text;
            }
            return Cell::Ok;
        }
        case Physical::Utf8:
        case Physical::LargeUtf8:
        case Physical::Utf8View: {
            auto found = string_at(t.physical, a, at);
            if (!found) return Cell::Broken;
            cell = CellKind::InlineString;
            text = *found;
            return Cell::Ok;
        }
        case Physical::Date32: {
            std::int64_t days = load<std::int32_t>(values, at);
            if (days < kFirstDay || days > kLastDay) return Cell::Fallback;
            text = {scratch.chars, serial_chars(static_cast<double>(qm::serial_day(days, date1904)), scratch.chars)};
            if (kind == ColumnKind::None) kind = ColumnKind::Date;
            return Cell::Ok;
        }
        case Physical::Timestamp: {
            std::int64_t raw = load<std::int64_t>(values, at);
            std::int64_t micros;
            if (t.micros_per_unit < 0) {
                micros = floor_div(raw, -t.micros_per_unit);
            } else {
                if (raw > kLastMicro / t.micros_per_unit || raw < kFirstMicro / t.micros_per_unit) return Cell::Fallback;
                micros = raw * t.micros_per_unit;
            }
            if (micros < kFirstMicro || micros > kLastMicro) return Cell::Fallback;
            std::int64_t days = floor_div(micros, kDayMicros);
            std::int64_t rest = micros - days * kDayMicros;
            const double serial =
                datetime_serial(static_cast<double>(qm::serial_day(days, date1904)), int(rest / 3600000000LL),
                                int(rest / 60000000LL % 60), int(rest / 1000000 % 60), int(rest % 1000000));
            text = {scratch.chars, serial_chars(serial, scratch.chars)};
            kind = ColumnKind::DateTime;
            return Cell::Ok;
        }
        default:
            return Cell::Broken;
    }
}

// Buffers the walker reads must be there for every non-empty column.
bool usable(const ColumnType& t, const ArrowArray& a) {
    if (a.length < 0 || a.offset < 0) return false;
    if (t.physical == Physical::Null || a.length == 0) return true;
    if (static_cast<std::size_t>(a.n_buffers) < buffer_count(t.physical) || !a.buffers) return false;
    if (t.dictionary) {
        const ArrowArray* d = a.dictionary;
        return d && d->n_buffers >= static_cast<std::int64_t>(buffer_count(t.values)) && d->buffers;
    }
    return true;
}

}  // namespace

ArrowRead read_arrow_frame(PyObject* frame, FrameTable& table, std::vector<ColumnKind>& kinds, bool date1904) {
    PyObject* method = nullptr;
    if (PyObject_GetOptionalAttrString(frame, "__arrow_c_stream__", &method) <= 0) {
        // No stream, or asking for it raised: the row path decides what the object is.
        PyErr_Clear();
        return ArrowRead::Fallback;
    }
    PyObject* capsule = PyObject_CallNoArgs(method);
    Py_DECREF(method);
    if (!capsule || !PyCapsule_IsValid(capsule, "arrow_array_stream")) {
        PyErr_Clear();
        Py_XDECREF(capsule);
        return ArrowRead::Fallback;
    }
    // The capsule releases the stream when it goes.
    std::unique_ptr<PyObject, decltype(&Py_DecRef)> owner(capsule, Py_DecRef);
    auto* stream = static_cast<ArrowArrayStream*>(PyCapsule_GetPointer(capsule, "arrow_array_stream"));
    if (!stream || !stream->release) return ArrowRead::Fallback;
    auto stream_error = [&](const char* what) {
        const char* detail = stream->get_last_error ? stream->get_last_error(stream) : nullptr;
        raise_runtime(std::string("Arrow stream: ") + what + (detail ? std::string(": ") + detail : std::string()));
        return ArrowRead::Failed;
    };

    SchemaGuard schema;
    if (stream->get_schema(stream, &schema.schema) != 0) return stream_error("cannot read the schema");
    const ArrowSchema& s = schema.schema;
    if (!s.format || std::string_view(s.format) != "+s" || s.n_children < 0) return ArrowRead::Fallback;
    const auto columns = static_cast<std::size_t>(s.n_children);
    std::vector<ColumnType> types;
    types.reserve(columns);
    for (std::size_t j = 0; j < columns; ++j) {
        const ArrowSchema* child = s.children[j];
        auto type = child ? column_type(*child) : std::nullopt;
        if (!type) {
            table.clear();
            return ArrowRead::Fallback;
        }
        types.push_back(*type);
        table.add(qm::CellKind::InlineString, child->name ? child->name : "");
    }
    table.end_row();
    kinds.assign(columns, ColumnKind::None);
    Scratch scratch;

    auto give_up = [&](ArrowRead result) {
        table.clear();
        kinds.clear();
        if (result == ArrowRead::Failed && !PyErr_Occurred()) raise_runtime("Arrow stream: malformed batch");
        return result;
    };
    for (;;) {
        ArrayGuard batch;
        if (stream->get_next(stream, &batch.array) != 0) {
            table.clear();
            return stream_error("cannot read the next batch");
        }
        const ArrowArray& b = batch.array;
        if (!b.release) break;  // the end of the stream
        if (b.n_children != s.n_children || b.length < 0 || b.null_count != 0 || !b.children)
            return give_up(ArrowRead::Failed);
        for (std::size_t j = 0; j < columns; ++j)
            if (!b.children[j] || b.children[j]->length < b.offset + b.length || !usable(types[j], *b.children[j]))
                return give_up(ArrowRead::Failed);
        const auto rows = static_cast<std::size_t>(b.length);
        const std::span<qm::CellText> cells = table.add_rows(rows, columns);
        // Column by column: one type decision per column, the column's buffers stay in cache.
        for (std::size_t j = 0; j < columns; ++j) {
            const ArrowArray& column = *b.children[j];
            for (std::size_t i = 0; i < rows; ++i) {
                qm::CellText& cell = cells[i * columns + j];
                std::string_view text;
                Cell done = convert(types[j], column, b.offset + static_cast<std::int64_t>(i), cell.kind, text, scratch,
                                    kinds[j], date1904);
                if (done == Cell::Fallback) return give_up(ArrowRead::Fallback);
                if (done == Cell::Broken) return give_up(ArrowRead::Failed);
                cell.text = table.keep(text);
            }
        }
    }
    return ArrowRead::Done;
}

}  // namespace qmpy
