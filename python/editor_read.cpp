// Editor methods that read the current sheet and the sheet list.
#include "editor.hpp"

#include <datetime.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <utility>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "read/read.hpp"

namespace qmpy {

namespace {

constexpr std::uint64_t kMaxReadCells = 1ull << 26;

bool datetime_ready() {
    if (!PyDateTimeAPI) PyDateTime_IMPORT;
    return PyDateTimeAPI != nullptr;
}

// One cell value as a new reference; nullptr with an exception set on failure. Shared texts
// are made anew each time (ValueMaker keeps them for many values).
PyObject* value_object(const qm::CellValue& v) {
    using Kind = qm::CellValue::Kind;
    switch (v.kind) {
        case Kind::Empty: Py_RETURN_NONE;
        case Kind::Integer: return PyLong_FromLongLong(v.integer);
        case Kind::BigInteger: {
            std::string digits(v.text);
            return PyLong_FromString(digits.c_str(), nullptr, 10);
        }
        case Kind::Float: return PyFloat_FromDouble(v.number);
        case Kind::Bool: return Py_NewRef(v.flag ? Py_True : Py_False);
        case Kind::Error: return str_from_utf8(v.text);
        case Kind::Text: return str_from_utf8(v.text);
        case Kind::Date:
            if (!datetime_ready()) return nullptr;
            return PyDate_FromDate(v.date.year, v.date.month, v.date.day);
        case Kind::DateTime:
            if (!datetime_ready()) return nullptr;
            return PyDateTime_FromDateAndTime(v.date.year, v.date.month, v.date.day, v.date.hour, v.date.minute,
                                              v.date.second, v.date.microsecond);
        case Kind::Time:
            if (!datetime_ready()) return nullptr;
            return PyTime_FromTime(v.date.hour, v.date.minute, v.date.second, v.date.microsecond);
        case Kind::Duration: {
            if (!datetime_ready()) return nullptr;
            std::int64_t ms = v.integer;
            std::int64_t days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
            std::int64_t rest = ms - days * 86400000;
            return PyDelta_FromDSU(static_cast<int>(days), static_cast<int>(rest / 1000),
                                   static_cast<int>(rest % 1000 * 1000));
        }
    }
    Py_RETURN_NONE;
}

// Python objects for many cell values. Shared strings become one str each, however often they
// are used.
class ValueMaker {
public:
    ValueMaker() = default;
    ~ValueMaker() {
        for (PyObject* s : strings_) Py_XDECREF(s);
    }
    ValueMaker(const ValueMaker&) = delete;
    ValueMaker& operator=(const ValueMaker&) = delete;

    // A new reference; nullptr with an exception set on failure.
    PyObject* make(const qm::CellValue& v) {
        if (v.kind == qm::CellValue::Kind::Text && v.shared_index >= 0) return shared(v);
        return value_object(v);
    }

private:
    PyObject* shared(const qm::CellValue& v) {
        auto i = static_cast<std::size_t>(v.shared_index);
        if (i >= strings_.size()) strings_.resize(i + 1, nullptr);
        if (!strings_[i]) {
            strings_[i] = str_from_utf8(v.text);
            if (!strings_[i]) return nullptr;
        }
        return Py_NewRef(strings_[i]);
    }

    std::vector<PyObject*> strings_;
};

// A single cell reference: column letters then a row number.
std::optional<std::pair<std::uint32_t, std::uint32_t>> cell_position(const std::string& text) {
    auto area = qm::parse_read_area(text);
    if (!area || text.find(':') != std::string::npos || area->open_rows || area->open_columns) {
        raise_runtime("invalid cell reference: " + text);
        return std::nullopt;
    }
    return std::pair{area->first_row, area->first_column};
}

PyObject* no_sheet() { return raise_runtime("no current worksheet: switch to an existing sheet first"); }

// New references (nullptr for None) placed while the sheet is walked: each row a run of one flat
// buffer, so a million cells cost no allocation per row. Rows arrive in order in sound sheets, so
// a row grows at the buffer's end; a row met again after others moves there first.
class Grid {
public:
    ~Grid() {
        for (PyObject* o : flat_) Py_XDECREF(o);
    }
    void put(std::size_t r, std::size_t c, PyObject* value) {
        if (rows_.size() <= r) rows_.resize(r + 1);
        Run& run = rows_[r];
        if (c >= run.length) {
            if (run.length == 0) {
                run.offset = flat_.size();
            } else if (run.offset + run.length != flat_.size()) {
                std::size_t moved = flat_.size();
                flat_.resize(moved + run.length, nullptr);
                for (std::size_t i = 0; i < run.length; ++i) std::swap(flat_[moved + i], flat_[run.offset + i]);
                run.offset = moved;
            }
            run.length = c + 1;
            flat_.resize(run.offset + run.length, nullptr);
        }
        Py_XSETREF(flat_[run.offset + c], value);
    }
    // Hands over the reference at (r, c), nullptr when there is none.
    PyObject* take(std::size_t r, std::size_t c) {
        if (r >= rows_.size() || c >= rows_[r].length) return nullptr;
        return std::exchange(flat_[rows_[r].offset + c], nullptr);
    }

private:
    struct Run {
        std::size_t offset = 0, length = 0;
    };
    std::vector<PyObject*> flat_;
    std::vector<Run> rows_;
};

// The collector paused while a read builds its lists: they hold no cycles, and a collection every
// few thousand new lists would walk the growing result again and again.
class CollectorPause {
public:
    CollectorPause() : was_enabled_(PyGC_Disable()) {}
    ~CollectorPause() {
        if (was_enabled_) PyGC_Enable();
    }
    CollectorPause(const CollectorPause&) = delete;
    CollectorPause& operator=(const CollectorPause&) = delete;

private:
    int was_enabled_;
};

// The cells a read found, decoded, in batches handed from the thread that walks the sheet to the
// one that makes Python objects. Texts that do not live in the shared strings are copied into the
// batch, since the reader's views last only until its next call.
struct ReadItem {
    std::uint32_t row, column;
    qm::CellValue value;
    std::size_t text_offset;  // into Batch::texts when the text is the batch's own
    bool own_text;
};

struct ReadBatch {
    std::vector<ReadItem> items;
    std::string texts;
};

// The sheet walk and the decoding run on a second thread while this one makes the Python objects:
// the two halves cost about the same, so a read takes the time of the longer one. Batches travel
// through a short queue, so only a few of them exist at once.
class ReadPipe {
public:
    static constexpr std::size_t kBatchCells = 8192, kQueued = 4;

    ReadPipe(qm::EditorState& state, const qm::ReadArea& area) : state_(state), area_(area) {
        worker_ = std::thread([this] { walk(); });
    }
    ~ReadPipe() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }
    ReadPipe(const ReadPipe&) = delete;
    ReadPipe& operator=(const ReadPipe&) = delete;

    // The next batch, nullptr at the end (then error() says whether the walk failed).
    std::unique_ptr<ReadBatch> next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty() || done_; });
        if (ready_.empty()) return nullptr;
        auto batch = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return batch;
    }
    // Hands a used batch back for reuse.
    void recycle(std::unique_ptr<ReadBatch> batch) {
        batch->items.clear();
        batch->texts.clear();
        std::lock_guard lock(mutex_);
        spare_.push_back(std::move(batch));
    }
    const std::optional<qm::CoreError>& error() const { return error_; }

private:
    void walk() {
        try {
            walk_rows();
        } catch (const std::bad_alloc&) {
            error_ = qm::CoreError("out of memory while reading the sheet");
        } catch (const std::exception& e) {
            error_ = qm::CoreError(std::string("reading the sheet failed: ") + e.what());
        }
        std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    }

    void walk_rows() {
        qm::CellReader reader(state_);
        const std::uint32_t first_row = area_.first_row, first_column = area_.first_column;
        const std::uint32_t last_row = area_.open_rows ? 0xFFFFFFFFu : area_.last_row;
        const std::uint32_t last_column = area_.open_columns ? 0xFFFFFFFFu : area_.last_column;
        std::uint32_t previous_row = 0;
        bool ascending = true;
        qm::SheetCursor cursor(state_.sheet_xml);
        std::unique_ptr<ReadBatch> batch = take_spare();
        for (;;) {
            // Rows ascend in a sound sheet: rows before the wanted ones are skipped unread, and past
            // the last wanted one nothing more is wanted.
            auto found = cursor.next_row(true, ascending ? first_row : 0);
            if (!found) {
                error_ = found.error();
                break;
            }
            if (!*found) break;
            std::uint32_t row = **found;
            ascending = ascending && row > previous_row;
            previous_row = row;
            if (ascending && row > last_row) break;
            for (const qm::RawCell& cell : cursor.cells()) {
                if (cell.row < first_row || cell.row > last_row || cell.column < first_column ||
                    cell.column > last_column)
                    continue;
                auto value = reader.value(cell);
                if (!value) {
                    error_ = value.error();
                    hand_over(std::move(batch));
                    return;
                }
                if (value->kind == qm::CellValue::Kind::Empty) continue;
                ReadItem item{cell.row - first_row, cell.column - first_column, *value, 0, false};
                if (!value->text.empty() && value->shared_index < 0) {
                    item.own_text = true;
                    item.text_offset = batch->texts.size();
                    batch->texts.append(value->text);
                }
                batch->items.push_back(item);
            }
            if (batch->items.size() >= kBatchCells) {
                if (!hand_over(std::move(batch))) return;
                batch = take_spare();
            }
        }
        hand_over(std::move(batch));
    }

    std::unique_ptr<ReadBatch> take_spare() {
        std::lock_guard lock(mutex_);
        if (spare_.empty()) return std::make_unique<ReadBatch>();
        auto batch = std::move(spare_.back());
        spare_.pop_back();
        return batch;
    }

    // Queues a batch, waiting while the queue is full; false when the reader stopped listening.
    bool hand_over(std::unique_ptr<ReadBatch> batch) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return ready_.size() < kQueued || stop_; });
        if (stop_) return false;
        if (!batch->items.empty()) ready_.push_back(std::move(batch));
        changed_.notify_all();
        return true;
    }

    qm::EditorState& state_;
    const qm::ReadArea area_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<ReadBatch>> ready_;
    std::vector<std::unique_ptr<ReadBatch>> spare_;
    bool done_ = false, stop_ = false;
    std::optional<qm::CoreError> error_;  // written by the walk before done_, read after
    std::thread worker_;
};

PyObject* read_area(qm::EditorState& state, const qm::ReadArea& area, const std::string& label) {
    CollectorPause pause;
    ValueMaker maker;
    Grid grid;
    std::uint32_t used_rows = 0, used_columns = 0;  // extents of cells holding something
    {
        ReadPipe pipe(state, area);
        while (auto batch = pipe.next()) {
            for (ReadItem& item : batch->items) {
                if (item.own_text)
                    item.value.text = std::string_view(batch->texts).substr(item.text_offset, item.value.text.size());
                PyObject* object = maker.make(item.value);
                if (!object) return nullptr;
                grid.put(item.row, item.column, object);
                used_rows = std::max(used_rows, item.row + 1);
                used_columns = std::max(used_columns, item.column + 1);
            }
            pipe.recycle(std::move(batch));
        }
        if (pipe.error()) return raise_core(*pipe.error());
    }
    std::uint64_t height = area.open_rows ? used_rows : std::uint64_t(area.last_row) - area.first_row + 1;
    std::uint64_t width = area.open_columns ? used_columns : std::uint64_t(area.last_column) - area.first_column + 1;
    if (height * width > kMaxReadCells)
        return raise_runtime("range " + label + " has " + std::to_string(height * width) +
                             " cells; read at most " + std::to_string(kMaxReadCells) + " at once");
    PyObject* out = PyList_New(static_cast<Py_ssize_t>(height));
    if (!out) return nullptr;
    for (std::uint64_t r = 0; r < height; ++r) {
        PyObject* row = PyList_New(static_cast<Py_ssize_t>(width));
        if (!row) {
            Py_DECREF(out);
            return nullptr;
        }
        for (std::uint64_t c = 0; c < width; ++c) {
            PyObject* v = grid.take(r, c);
            PyList_SET_ITEM(row, static_cast<Py_ssize_t>(c), v ? v : Py_NewRef(Py_None));
        }
        PyList_SET_ITEM(out, static_cast<Py_ssize_t>(r), row);
    }
    return out;
}

// Reads of the current sheet take the busy flag like writes (they fill caches), but are no edit.
constexpr EditorMethod get_value{
    "get_value", Access::Read, Returns::None,
    Params{Param<arg::Text>{"cell"}},
    [](qm::EditorState& st, const std::string& text) -> PyObject* {
        auto at = cell_position(text);
        if (!at) return nullptr;
        if (st.sheet_path.empty()) return no_sheet();
        qm::CellReader reader(st);
        auto value = qm::read_cell(reader, st, at->first, at->second);
        if (!value) return raise_core(value.error());
        return value_object(*value);
    },
};

constexpr EditorMethod get_formula{
    "get_formula", Access::Read, Returns::None,
    Params{Param<arg::Text>{"cell"}},
    [](qm::EditorState& st, const std::string& text) -> PyObject* {
        auto at = cell_position(text);
        if (!at) return nullptr;
        if (st.sheet_path.empty()) return no_sheet();
        auto formula = qm::read_formula(st, at->first, at->second);
        if (!formula) return raise_core(formula.error());
        if (!*formula) Py_RETURN_NONE;
        return str_from_utf8(**formula);
    },
};

constexpr EditorMethod read_rows{
    "read_rows", Access::Read, Returns::None,
    Params{Param<arg::OptionalText>{"range"}},
    [](qm::EditorState& st, const std::optional<std::string>& text) -> PyObject* {
        qm::ReadArea area;
        area.first_row = 1;
        area.first_column = 0;
        area.open_rows = area.open_columns = true;
        if (text) {
            auto parsed = qm::parse_read_area(*text);
            if (!parsed) return raise_core(parsed.error());
            area = *parsed;
        }
        if (st.sheet_path.empty()) return no_sheet();
        return read_area(st, area, text.value_or("of the used cells"));
    },
};

constexpr EditorMethod sheet_names{
    "sheet_names", Access::Read, Returns::None,
    Params{},
    [](qm::EditorState& st) { return qm::sheet_names(st); },
};

}  // namespace

const PyMethodDef get_value_method = editor_entry<get_value>();
const PyMethodDef get_formula_method = editor_entry<get_formula>();
const PyMethodDef read_rows_method = editor_entry<read_rows>();
const PyMethodDef sheet_names_method = editor_entry<sheet_names>();

PyObject* editor_sheet_name(PyObject* self, void*) {
    return with_state<Access::Read>(self, [&](qm::EditorState& st) -> PyObject* {
        auto name = qm::current_sheet_name(st);
        if (!name) Py_RETURN_NONE;
        return str_from_utf8(*name);
    });
}

}  // namespace qmpy
