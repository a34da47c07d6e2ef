#include <algorithm>
#include <charconv>
#include <cmath>
#include <tuple>

#include "catalogue/catalogue.hpp"
#include "read/read.hpp"
#include "styles/styles.hpp"
#include "support/numbers.hpp"
#include "support/tag_lexer.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"
#include "support/zip_archive.hpp"

namespace qm {

namespace {

constexpr std::string_view kSharedStringsType = "/sharedStrings";

std::string_view trim_xml_space(std::string_view text) {
    while (!text.empty() && is_xml_space(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_xml_space(text.back())) text.remove_suffix(1);
    return text;
}

bool needs_decoding(std::string_view raw) {
    return raw.find_first_of("&<\r") != npos || raw.find("_x") != npos;
}

// The part the workbook's relationships name as its shared strings, if any.
std::optional<std::string> shared_strings_part(std::string_view rels) {
    XmlReader reader(rels);
    while (auto tag = reader.next()) {
        if (!tag->opens() || local_name(tag->name) != "Relationship") continue;
        auto type = last_attribute(tag->raw, "Type");
        auto target = last_attribute(tag->raw, "Target");
        if (type && target && type->ends_with(kSharedStringsType)) return normalize_part_path(*target);
    }
    return std::nullopt;
}

Status load_shared_strings(EditorState& state, ReadCache& cache) {
    // Without a relationship, the part's usual name (some writers leave the relationship out).
    auto part = shared_strings_part(state.workbook_rels_xml).value_or("xl/sharedStrings.xml");
    std::string text;
    if (auto held = state.modified_parts.find(part); held != state.modified_parts.end()) {
        text = held->second;
    } else {
        auto zip = ZipReader::open(state.source_path);
        if (!zip) return fail(std::move(zip.error()));
        if (!zip->has_entry(part)) {
            cache.strings_loaded = true;
            return {};
        }
        auto read = zip->read_entry(part, part + " not found in zip");
        if (!read) return fail(std::move(read.error()));
        text = std::move(*read);
    }
    std::string strings;
    std::vector<std::size_t> ends;
    std::string_view sst = text;
    TagLexer lex(sst, 0, sst.size(), Declarations::Skip);
    LexTag tag;
    while (lex.next(tag)) {
        if (tag.kind == LexKind::End || local_name(tag.name) != "si") continue;
        if (tag.kind == LexKind::Start) {
            std::size_t content_end = 0;
            if (!lex.close_element(content_end)) return fail("malformed shared strings part " + part);
            append_string_item(strings, sst.substr(tag.end, content_end - tag.end));
        }
        ends.push_back(strings.size());
    }
    if (lex.failed()) return fail("malformed shared strings part " + part);
    cache.strings = std::move(strings);
    cache.string_ends = std::move(ends);
    cache.strings_loaded = true;
    return {};
}

bool workbook_uses_1904(std::string_view workbook) {
    XmlReader reader(workbook);
    while (auto tag = reader.next()) {
        if (!tag->opens() || local_name(tag->name) != "workbookPr") continue;
        auto value = last_attribute(tag->raw, "date1904");
        return value && (*value == "1" || *value == "true");
    }
    return false;
}

Status build_row_index(EditorState& state, ReadCache& cache) {
    cache.row_starts.clear();
    SheetCursor cursor(state.sheet_xml);
    for (;;) {
        auto row = cursor.next_row(false);
        if (!row) return fail(std::move(row.error()));
        if (!*row) break;
        cache.row_starts.emplace_back(**row, cursor.row_offset());
    }
    // Rows out of order (damaged files) are found by a stable sort: the first of equal rows wins.
    std::stable_sort(cache.row_starts.begin(), cache.row_starts.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    cache.sheet_data = cursor.sheet_data();
    cache.index_sheet = state.sheet_path;
    cache.index_ready = true;
    return {};
}

// Parses a decimal number as a spreadsheet stores it; `integral` when it has no fraction or
// exponent and fits in 64 bits.
struct ParsedNumber {
    enum class Kind { Integer, BigInteger, Float } kind;
    std::int64_t integer = 0;
    double number = 0;
};

std::optional<ParsedNumber> parse_number(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::size_t digits_from = text.front() == '-' ? 1 : 0;
    bool integral = text.size() > digits_from;
    for (std::size_t i = digits_from; i < text.size() && integral; ++i)
        integral = is_ascii_digit(static_cast<unsigned char>(text[i]));
    ParsedNumber out{ParsedNumber::Kind::Float};
    const char* end = text.data() + text.size();
    if (integral) {
        auto [ptr, ec] = std::from_chars(text.data(), end, out.integer);
        if (ec == std::errc() && ptr == end) {
            out.kind = ParsedNumber::Kind::Integer;
            out.number = static_cast<double>(out.integer);
            return out;
        }
        out.kind = ParsedNumber::Kind::BigInteger;
    }
    auto [ptr, ec] = std::from_chars(text.data(), end, out.number, std::chars_format::general);
    if (ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range)) return std::nullopt;
    if (ec == std::errc::result_out_of_range) return std::nullopt;
    // from_chars reads "inf" and "nan": a stored number is finite.
    if (!std::isfinite(out.number)) return std::nullopt;
    return out;
}

// "2024-03-05", "2024-03-05T10:20:30", with optional fraction and zone (ignored).
std::optional<DateParts> parse_iso_date(std::string_view text, bool& has_time) {
    auto number = [&](std::size_t at, std::size_t len) -> std::optional<int> {
        if (at + len > text.size()) return std::nullopt;
        int v = 0;
        for (std::size_t i = at; i < at + len; ++i) {
            if (!is_ascii_digit(static_cast<unsigned char>(text[i]))) return std::nullopt;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    DateParts p;
    auto y = number(0, 4), mo = number(5, 2), d = number(8, 2);
    if (!y || !mo || !d || text[4] != '-' || text[7] != '-') return std::nullopt;
    p.year = *y, p.month = *mo, p.day = *d;
    has_time = text.size() > 10 && text[10] == 'T';
    if (has_time) {
        auto h = number(11, 2), mi = number(14, 2), s = number(17, 2);
        if (!h || !mi || !s || text[13] != ':' || text[16] != ':') return std::nullopt;
        p.hour = *h, p.minute = *mi, p.second = *s;
        if (text.size() > 20 && text[19] == '.') {
            int us = 0, scale = 100000;
            for (std::size_t i = 20; i < text.size() && is_ascii_digit(static_cast<unsigned char>(text[i])); ++i) {
                us += (text[i] - '0') * scale;
                scale /= 10;
            }
            p.microsecond = us;
        }
    }
    if (p.year < 1 || p.month < 1 || p.month > 12 || p.day < 1 || p.day > 31 || p.hour > 23 || p.minute > 59 ||
        p.second > 59)
        return std::nullopt;
    return p;
}

}  // namespace

ReadCache& read_cache(EditorState& state) {
    if (!state.read_cache) state.read_cache = std::make_shared<ReadCache>();
    return *state.read_cache;
}

void note_edit(EditorState& state) {
    if (!state.read_cache) return;
    ReadCache& cache = *state.read_cache;
    cache.date1904.reset();
    cache.styles_ready = false;
    cache.style_kinds.clear();
    cache.index_ready = false;
    cache.row_starts.clear();
}

CellReader::CellReader(EditorState& state) : state_(state), cache_(read_cache(state)) {
    if (!cache_.date1904) cache_.date1904 = workbook_uses_1904(state.workbook_xml);
    date1904_ = *cache_.date1904;
}

Result<std::string_view> CellReader::shared_string(std::uint64_t index) {
    if (!cache_.strings_loaded)
        if (Status loaded = load_shared_strings(state_, cache_); !loaded) return fail(std::move(loaded.error()));
    if (index >= cache_.string_ends.size())
        return fail("shared string index " + std::to_string(index) + " is out of range (the workbook has " +
                    std::to_string(cache_.string_ends.size()) + ")");
    std::size_t begin = index == 0 ? 0 : cache_.string_ends[index - 1];
    return std::string_view(cache_.strings).substr(begin, cache_.string_ends[index] - begin);
}

DateKind CellReader::date_kind(std::uint32_t style) {
    if (!cache_.styles_ready) {
        cache_.style_kinds.clear();
        // A style sheet that does not read shows no dates: the numbers are still there.
        if (auto index = ensure_style_index(state_)) {
            const StyleIndex& ix = **index;
            cache_.style_kinds.reserve(ix.cell_formats.size());
            for (const CellFormat& format : ix.cell_formats) {
                auto code = ix.codes_by_id.find(format.num_fmt_id);
                cache_.style_kinds.push_back(classify_number_format(
                    format.num_fmt_id, code == ix.codes_by_id.end() ? nullptr : &code->second));
            }
        }
        cache_.styles_ready = true;
    }
    return style < cache_.style_kinds.size() ? cache_.style_kinds[style] : DateKind::None;
}

Result<CellValue> CellReader::value(const RawCell& cell) {
    CellValue out;
    std::string_view type = cell.type;
    auto text_of = [&](std::string_view raw) -> std::string_view {
        if (!needs_decoding(raw)) return raw;
        scratch_.clear();
        append_xml_text(scratch_, raw);
        decode_cell_escapes(scratch_);
        return scratch_;
    };
    if (type == "s") {
        if (!cell.has_value) return out;
        std::string_view digits = trim_xml_space(cell.value);
        if (digits.empty()) return out;
        std::uint64_t index = 0;
        auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (ec != std::errc() || ptr != digits.data() + digits.size())
            return fail("shared string index `" + std::string(digits) + "` is not a number");
        auto text = shared_string(index);
        if (!text) return fail(std::move(text.error()));
        out.kind = CellValue::Kind::Text;
        out.text = *text;
        out.shared_index = static_cast<std::int64_t>(index);
        return out;
    }
    if (type == "inlineStr") {
        if (cell.has_inline) {
            scratch_.clear();
            append_string_item(scratch_, cell.inline_text);
            out.kind = CellValue::Kind::Text;
            out.text = scratch_;
        } else if (cell.has_value) {
            out.kind = CellValue::Kind::Text;
            out.text = text_of(cell.value);
        }
        return out;
    }
    if (!cell.has_value) return out;
    if (type == "str") {
        out.kind = CellValue::Kind::Text;
        out.text = text_of(cell.value);
        return out;
    }
    if (type == "e") {
        out.kind = CellValue::Kind::Error;
        out.text = text_of(trim_xml_space(cell.value));
        return out;
    }
    std::string_view raw = trim_xml_space(cell.value);
    if (type == "b") {
        if (raw == "1" || raw == "true") out.flag = true;
        else if (raw != "0" && raw != "false") return fail("boolean cell holds `" + std::string(raw) + "`");
        out.kind = CellValue::Kind::Bool;
        return out;
    }
    if (type == "d") {
        bool has_time = false;
        if (auto date = parse_iso_date(raw, has_time)) {
            out.kind = CellValue::Kind::DateTime;
            out.date = *date;
        } else if (!raw.empty()) {
            out.kind = CellValue::Kind::Text;
            out.text = text_of(raw);
        }
        return out;
    }
    if (raw.empty()) return out;
    auto number = parse_number(raw);
    if (!number) {
        // Not a number after all: the text is kept rather than lost.
        out.kind = CellValue::Kind::Text;
        out.text = text_of(raw);
        return out;
    }
    switch (DateKind kind = date_kind(cell.style)) {
        case DateKind::None: break;
        case DateKind::Duration:
            if (auto ms = serial_to_milliseconds(number->number)) {
                out.kind = CellValue::Kind::Duration;
                out.integer = *ms;
                return out;
            }
            break;
        default: {
            auto date = serial_to_date(number->number, date1904_);
            if (!date) break;
            out.date = *date;
            bool time_only = kind == DateKind::Time && number->number < 1;
            out.kind = time_only               ? CellValue::Kind::Time
                       : kind == DateKind::Date ? CellValue::Kind::Date
                                                : CellValue::Kind::DateTime;
            return out;
        }
    }
    switch (number->kind) {
        case ParsedNumber::Kind::Integer:
            out.kind = CellValue::Kind::Integer;
            out.integer = number->integer;
            break;
        case ParsedNumber::Kind::BigInteger:
            out.kind = CellValue::Kind::BigInteger;
            out.text = raw;
            out.number = number->number;
            break;
        case ParsedNumber::Kind::Float:
            out.kind = CellValue::Kind::Float;
            out.number = number->number;
            break;
    }
    return out;
}

Result<std::optional<RawCell>> find_raw_cell(EditorState& state, std::uint32_t row, std::uint32_t column) {
    ReadCache& cache = read_cache(state);
    if (!cache.index_ready || cache.index_sheet != state.sheet_path)
        if (Status built = build_row_index(state, cache); !built) return fail(std::move(built.error()));
    auto it = std::lower_bound(cache.row_starts.begin(), cache.row_starts.end(), row,
                               [](const auto& entry, std::uint32_t r) { return entry.first < r; });
    if (it == cache.row_starts.end() || it->first != row) return std::optional<RawCell>();
    SheetCursor cursor(state.sheet_xml, cache.sheet_data, it->second, row - 1);
    auto found = cursor.next_row();
    if (!found) return fail(std::move(found.error()));
    for (const RawCell& cell : cursor.cells())
        if (cell.row == row && cell.column == column) return std::optional<RawCell>(cell);
    return std::optional<RawCell>();
}

Result<CellValue> read_cell(CellReader& reader, EditorState& state, std::uint32_t row, std::uint32_t column) {
    auto raw = find_raw_cell(state, row, column);
    if (!raw) return fail(std::move(raw.error()));
    if (!*raw) return CellValue{};
    return reader.value(**raw);
}

Result<ReadArea> parse_read_area(std::string_view text) {
    auto invalid = [&] { return fail("invalid range: " + std::string(text)); };
    auto letters_of = [](std::string_view s, std::size_t& i) {
        std::size_t start = i;
        while (i < s.size() && is_ascii_letter(static_cast<unsigned char>(s[i]))) ++i;
        return s.substr(start, i - start);
    };
    auto digits_of = [](std::string_view s, std::size_t& i) {
        std::size_t start = i;
        while (i < s.size() && is_ascii_digit(static_cast<unsigned char>(s[i]))) ++i;
        return s.substr(start, i - start);
    };
    // One side: letters, digits, or both; each within the sheet's limits.
    struct Side {
        std::optional<std::uint32_t> column, row;
    };
    auto side = [&](std::string_view s) -> std::optional<Side> {
        std::size_t i = 0;
        std::string_view letters = letters_of(s, i);
        std::string_view digits = digits_of(s, i);
        if (i != s.size() || (letters.empty() && digits.empty()) || letters.size() > 3 || digits.size() > 7)
            return std::nullopt;
        Side out;
        if (!letters.empty()) {
            std::uint64_t c = column_to_index(letters);
            if (c > 16383) return std::nullopt;
            out.column = static_cast<std::uint32_t>(c);
        }
        if (!digits.empty()) {
            auto r = parse_u32(digits);
            if (!r || *r == 0 || *r > 1048576) return std::nullopt;
            out.row = *r;
        }
        return out;
    };
    std::size_t colon = text.find(':');
    auto first = side(text.substr(0, colon));
    auto second = colon == npos ? first : side(text.substr(colon + 1));
    if (!first || !second) return invalid();
    bool a_cell = first->column && first->row, b_cell = second->column && second->row;
    ReadArea area;
    if (a_cell && b_cell) {
        std::tie(area.first_row, area.last_row) = std::minmax(*first->row, *second->row);
        std::tie(area.first_column, area.last_column) = std::minmax(*first->column, *second->column);
    } else if (colon != npos && !first->row && !second->row) {
        std::tie(area.first_column, area.last_column) = std::minmax(*first->column, *second->column);
        area.open_rows = true;
    } else if (colon != npos && !first->column && !second->column) {
        std::tie(area.first_row, area.last_row) = std::minmax(*first->row, *second->row);
        area.open_columns = true;
    } else {
        return invalid();
    }
    return area;
}

Result<std::vector<std::string>> sheet_names(const EditorState& state) {
    auto parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return fail(std::move(parsed.error()));
    std::vector<std::string> names;
    names.reserve(parsed->entries.size());
    for (SheetEntry& entry : parsed->entries) names.push_back(std::move(entry.name));
    return names;
}

}  // namespace qm
