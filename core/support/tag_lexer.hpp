#pragma once
// The one byte-level tokenizer of the part texts the editor reads without expat: the sheet scanner,
// the read path and the string items of shared strings. It yields start, empty-element and end
// tags with their byte spans and names, hands each attribute's raw value to the caller as the tag
// is read, and steps over character data, comments, CDATA sections and processing instructions.
// Well-formed XML has no "<" inside attribute values, so every "<" starts markup; a ">" inside a
// quoted value does not end the tag. Inline: it runs once per tag of 100 MB worksheets.
#include <cstddef>
#include <cstring>
#include <string_view>

namespace qm {

inline bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The part of a qualified name after its prefix ("x:row" gives "row").
inline std::string_view local_name(std::string_view name) {
    std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

enum class LexKind : unsigned char { Start, Empty, End };

struct LexTag {
    LexKind kind;
    std::size_t begin;  // "<"
    std::size_t end;    // just after ">"
    std::string_view name;
};

// What the lexer does with a declaration such as "<!DOCTYPE ...>": a worksheet body has none, so
// the sheet scanner takes one for damage; a whole part may start with one.
enum class Declarations : unsigned char { Fail, Skip };

class TagLexer {
public:
    TagLexer(std::string_view text, std::size_t pos, std::size_t limit, Declarations declarations = Declarations::Fail)
        : t_(text), pos_(pos), limit_(limit), declarations_(declarations) {}

    // The next tag starting before `limit`, calling on_attribute(name, raw value) for each of its
    // attributes in order. False at `limit` or on malformed markup (`failed()`).
    template <class OnAttribute>
    bool next(LexTag& tag, OnAttribute&& on_attribute);
    bool next(LexTag& tag) {
        return next(tag, [](std::string_view, std::string_view) {});
    }

    // Just after the comment, CDATA section, processing instruction or (with Skip) declaration that
    // starts at the "<" at `lt`; npos when it does not close or is a declaration refused.
    static std::size_t markup_end(std::string_view text, std::size_t lt, Declarations declarations);

    // After a start tag: the start of the end tag that closes it, with the position moved past that
    // end tag. False when the element does not close before `limit`.
    bool close_element(std::size_t& content_end);

    bool failed() const { return failed_; }
    // The "<" of the markup that did not read.
    std::size_t failed_at() const { return fail_at_; }
    std::size_t position() const { return pos_; }
    // Continues at `pos`, after markup the caller has read itself.
    void seek(std::size_t pos) { pos_ = pos; }

private:
    bool fail() {
        failed_ = true;
        return false;
    }
    static bool ends_name(char c) { return is_xml_space(c) || c == '>' || c == '/'; }

    std::string_view t_;
    std::size_t pos_;
    std::size_t limit_;
    std::size_t fail_at_ = 0;
    Declarations declarations_;
    bool failed_ = false;
};

template <class OnAttribute>
bool TagLexer::next(LexTag& tag, OnAttribute&& on_attribute) {
    const char* base = t_.data();
    const std::size_t n = t_.size();
    for (;;) {
        if (pos_ >= limit_) return false;
        const void* hit = std::memchr(base + pos_, '<', limit_ - pos_);
        if (!hit) {
            pos_ = limit_;
            return false;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        fail_at_ = at;
        if (at + 1 >= n) return fail();
        const char c = t_[at + 1];
        if (c == '!' || c == '?') {
            std::size_t after = markup_end(t_, at, declarations_);
            if (after == std::string_view::npos) return fail();
            pos_ = after;
            continue;
        }
        if (c == '/') {
            std::size_t i = at + 2;
            while (i < n && !is_xml_space(t_[i]) && t_[i] != '>') ++i;
            const std::size_t name_end = i;
            while (i < n && is_xml_space(t_[i])) ++i;
            if (i >= n || t_[i] != '>' || name_end == at + 2) return fail();
            tag = {LexKind::End, at, i + 1, t_.substr(at + 2, name_end - at - 2)};
            pos_ = i + 1;
            return true;
        }
        std::size_t i = at + 1;
        while (i < n && !ends_name(t_[i])) ++i;
        if (i == at + 1) return fail();
        tag.name = t_.substr(at + 1, i - at - 1);
        for (;;) {
            while (i < n && is_xml_space(t_[i])) ++i;
            if (i >= n) return fail();
            if (t_[i] == '>') {
                tag.kind = LexKind::Start;
                tag.begin = at;
                tag.end = pos_ = i + 1;
                return true;
            }
            if (t_[i] == '/') {
                if (i + 1 >= n || t_[i + 1] != '>') return fail();
                tag.kind = LexKind::Empty;
                tag.begin = at;
                tag.end = pos_ = i + 2;
                return true;
            }
            const std::size_t name_begin = i;
            while (i < n && t_[i] != '=' && !ends_name(t_[i])) ++i;
            if (i == name_begin) return fail();
            const std::size_t name_end = i;
            while (i < n && is_xml_space(t_[i])) ++i;
            if (i >= n || t_[i] != '=') return fail();
            ++i;
            while (i < n && is_xml_space(t_[i])) ++i;
            if (i >= n || (t_[i] != '"' && t_[i] != '\'')) return fail();
            const void* quote = std::memchr(base + i + 1, t_[i], n - i - 1);
            if (!quote) return fail();
            const std::size_t value_end = static_cast<std::size_t>(static_cast<const char*>(quote) - base);
            on_attribute(t_.substr(name_begin, name_end - name_begin), t_.substr(i + 1, value_end - i - 1));
            i = value_end + 1;
        }
    }
}

inline std::size_t TagLexer::markup_end(std::string_view text, std::size_t lt, Declarations declarations) {
    std::string_view rest = text.substr(lt);
    std::string_view close;
    if (rest.starts_with("<?")) close = "?>";
    else if (rest.starts_with("<!--")) close = "-->";
    else if (rest.starts_with("<![CDATA[")) close = "]]>";
    else if (declarations == Declarations::Skip) close = ">";
    else return std::string_view::npos;
    std::size_t e = text.find(close, lt + 2);
    return e == std::string_view::npos ? e : e + close.size();
}

inline bool TagLexer::close_element(std::size_t& content_end) {
    std::size_t depth = 1;
    LexTag tag;
    while (next(tag)) {
        if (tag.kind == LexKind::Start) {
            ++depth;
        } else if (tag.kind == LexKind::End && --depth == 0) {
            content_end = tag.begin;
            return true;
        }
    }
    return false;
}

}  // namespace qm
