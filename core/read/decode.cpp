#include <cmath>

#include "read/read.hpp"
#include "support/tag_lexer.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The reference "&...;" at the start of `text`: its code point and length. Absent when unknown.
std::optional<std::pair<std::uint32_t, std::size_t>> read_reference(std::string_view text) {
    std::size_t semi = text.find(';');
    if (semi == npos || semi > 12) return std::nullopt;
    std::string_view body = text.substr(1, semi - 1);
    if (body == "lt") return std::pair{std::uint32_t('<'), semi + 1};
    if (body == "gt") return std::pair{std::uint32_t('>'), semi + 1};
    if (body == "amp") return std::pair{std::uint32_t('&'), semi + 1};
    if (body == "quot") return std::pair{std::uint32_t('"'), semi + 1};
    if (body == "apos") return std::pair{std::uint32_t('\''), semi + 1};
    if (body.size() < 2 || body[0] != '#') return std::nullopt;
    std::uint32_t cp = 0;
    bool hex = body[1] == 'x';
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    for (char c : digits) {
        int d = hex ? hex_digit(c) : (is_ascii_digit(static_cast<unsigned char>(c)) ? c - '0' : -1);
        if (d < 0) return std::nullopt;
        cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
        if (cp > 0x10FFFF) return std::nullopt;
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) return std::nullopt;
    return std::pair{cp, semi + 1};
}

void append_raw_text(std::string& out, std::string_view text) {
    // Line ends read as XML reads them: CR LF and a lone CR become LF.
    if (text.find('\r') == npos) {
        out.append(text);
        return;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') out += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n') out += '\n';
    }
}

std::optional<std::uint32_t> escape_at(std::string_view text, std::size_t i) {
    if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_') return std::nullopt;
    std::uint32_t cp = 0;
    for (std::size_t k = 2; k < 6; ++k) {
        int d = hex_digit(text[i + k]);
        if (d < 0) return std::nullopt;
        cp = cp * 16 + static_cast<std::uint32_t>(d);
    }
    return cp;
}

}  // namespace

void append_xml_text(std::string& out, std::string_view raw) {
    std::size_t pos = 0;
    while (pos < raw.size()) {
        std::size_t special = raw.find_first_of("&<", pos);
        if (special == npos) {
            append_raw_text(out, raw.substr(pos));
            return;
        }
        append_raw_text(out, raw.substr(pos, special - pos));
        if (raw[special] == '&') {
            if (auto ref = read_reference(raw.substr(special))) {
                append_utf8(out, ref->first);
                pos = special + ref->second;
            } else {
                out += '&';
                pos = special + 1;
            }
            continue;
        }
        std::string_view rest = raw.substr(special);
        if (rest.starts_with("<![CDATA[")) {
            std::size_t end = raw.find("]]>", special + 9);
            if (end == npos) end = raw.size();
            append_raw_text(out, raw.substr(special + 9, end - special - 9));
            pos = end == raw.size() ? end : end + 3;
            continue;
        }
        // Other markup (a comment, a stray tag) holds no text.
        std::size_t after;
        if (rest.starts_with("<!") || rest.starts_with("<?")) {
            after = TagLexer::markup_end(raw, special, Declarations::Skip);
        } else {
            after = raw.find('>', special);
            if (after != npos) ++after;
        }
        pos = after == npos ? raw.size() : after;
    }
}

void decode_cell_escapes(std::string& text, std::size_t from) {
    std::size_t first = text.find("_x", from);
    if (first == npos) return;
    std::string out;
    out.reserve(text.size());
    std::size_t copied = from;
    for (std::size_t i = first; i < text.size();) {
        auto cp = escape_at(text, i);
        if (!cp) {
            ++i;
            continue;
        }
        out.append(text, copied, i - copied);
        std::size_t used = 7;
        std::uint32_t point = *cp;
        if (point >= 0xD800 && point <= 0xDBFF) {
            auto low = escape_at(text, i + 7);
            if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                point = 0x10000 + ((point - 0xD800) << 10) + (*low - 0xDC00);
                used = 14;
            } else {
                point = 0xFFFD;
            }
        } else if (point >= 0xDC00 && point <= 0xDFFF) {
            point = 0xFFFD;
        }
        append_utf8(out, point);
        i += used;
        copied = i;
    }
    out.append(text, copied, npos);
    text.replace(from, npos, out);
}

void append_string_item(std::string& out, std::string_view raw) {
    const std::size_t start = out.size();
    TagLexer lex(raw, 0, raw.size(), Declarations::Skip);
    LexTag tag;
    while (lex.next(tag)) {
        if (tag.kind != LexKind::Start) continue;
        std::string_view local = local_name(tag.name);
        if (local != "t" && local != "rPh") continue;
        std::size_t content_end = 0;
        if (!lex.close_element(content_end)) break;
        // Phonetic runs are reading aids, not part of the text.
        if (local == "t") append_xml_text(out, raw.substr(tag.end, content_end - tag.end));
    }
    decode_cell_escapes(out, start);
}

// ---- number formats ----

DateKind classify_format_code(std::string_view code) {
    bool date = false, time = false, month_or_minute = false, elapsed = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        switch (c) {
            case '"': {
                std::size_t close = code.find('"', i + 1);
                if (close == npos) return DateKind::None;
                i = close;
                continue;
            }
            case '\\': case '_': case '*':
                ++i;  // an escaped, padding or fill character
                continue;
            case '[': {
                std::size_t close = code.find(']', i + 1);
                if (close == npos) return DateKind::None;
                std::string_view inside = code.substr(i + 1, close - i - 1);
                bool same = !inside.empty();
                for (char k : inside) same = same && ascii_upper(k) == ascii_upper(inside[0]);
                char first = inside.empty() ? 0 : ascii_upper(inside[0]);
                if (same && (first == 'H' || first == 'M' || first == 'S')) elapsed = true;
                i = close;
                continue;
            }
            default:
                break;
        }
        char u = ascii_upper(c);
        if (u == 'A') {
            std::string_view rest = code.substr(i);
            auto starts = [&](std::string_view word) {
                if (rest.size() < word.size()) return false;
                for (std::size_t k = 0; k < word.size(); ++k)
                    if (ascii_upper(rest[k]) != word[k]) return false;
                return true;
            };
            if (starts("AM/PM")) {
                time = true;
                i += 4;
            } else if (starts("A/P")) {
                time = true;
                i += 2;
            }
            continue;
        }
        if (u == 'Y' || u == 'D') date = true;
        else if (u == 'H' || u == 'S') time = true;
        else if (u == 'M') month_or_minute = true;
    }
    if (elapsed && !date) return DateKind::Duration;
    if (date) return time ? DateKind::DateTime : DateKind::Date;
    if (time) return DateKind::Time;
    return month_or_minute ? DateKind::Date : DateKind::None;
}

DateKind classify_number_format(std::uint32_t id, const std::string* code) {
    if (code) return classify_format_code(*code);
    if (id >= 14 && id <= 17) return DateKind::Date;
    if ((id >= 18 && id <= 21) || id == 45 || id == 47) return DateKind::Time;
    if (id == 22) return DateKind::DateTime;
    if (id == 46) return DateKind::Duration;
    return DateKind::None;
}

// ---- serials ----

namespace {
// Civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civil_from_days(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t y = yoe + era * 400;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}
constexpr std::int64_t kMsPerDay = 86400000;
}  // namespace

std::optional<DateParts> serial_to_date(double serial, bool date1904) {
    if (!std::isfinite(serial) || std::fabs(serial) > 3e6) return std::nullopt;
    double whole = std::floor(serial);
    auto days = static_cast<std::int64_t>(whole);
    auto ms = static_cast<std::int64_t>(std::llround((serial - whole) * double(kMsPerDay)));
    if (ms >= kMsPerDay) {
        ++days;
        ms -= kMsPerDay;
    }
    std::int64_t from_unix;
    if (date1904) {
        from_unix = days - 24107;  // 1904-01-01
    } else {
        // Serials below 60 count from 1899-12-31: the 1900 system counts a 29 February 1900.
        from_unix = days - 25569 + (serial >= 0 && serial < 60 ? 1 : 0);
    }
    DateParts parts;
    civil_from_days(from_unix, parts.year, parts.month, parts.day);
    if (parts.year < 1 || parts.year > 9999) return std::nullopt;
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.microsecond = static_cast<int>(ms % 1000 * 1000);
    return parts;
}

std::optional<std::int64_t> serial_to_milliseconds(double serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > 1e9) return std::nullopt;
    return static_cast<std::int64_t>(std::llround(serial * double(kMsPerDay)));
}

}  // namespace qm
