#pragma once
// A pull-style tag reader over expat. It yields start, empty-element and end tags with the raw
// qualified name as written and the raw byte range of the tag in the caller's text, so callers
// can read undecoded attribute values from their own buffer. It stops at the first error.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace qm {

enum class TagKind { Start, Empty, End };

struct Tag {
    TagKind kind;
    std::size_t begin = 0;   // offset of "<" in the text
    std::size_t end = 0;     // offset just after ">"
    std::string_view raw;    // the tag's bytes
    std::string_view name;   // qualified name exactly as written (r:id stays r:id)

    bool opens() const { return kind != TagKind::End; }
};

struct Attribute {
    std::string_view name;
    std::string_view raw_value;  // between the quotes, entities not resolved
};

// Calls f(Attribute) for every attribute of a raw start or empty-element tag, in order.
// The tag must be well-formed (the reader has checked it).
template <class F>
void for_each_attribute(std::string_view tag, F&& f);

// Raw value of the first / last attribute named exactly `name`.
std::optional<std::string_view> first_attribute(std::string_view tag, std::string_view name);
std::optional<std::string_view> last_attribute(std::string_view tag, std::string_view name);

class XmlReader {
public:
    // `fragment`: the text is a stretch of element content, not a whole document (it is parsed
    // inside a synthetic wrapper element that is never reported).
    explicit XmlReader(std::string_view text, bool fragment = false);
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // The next tag; nullopt at the end of the text or at the first error.
    std::optional<Tag> next();
    // Set once next() has returned nullopt because of malformed XML.
    const std::optional<std::string>& error() const { return error_; }

private:
    struct Impl;
    void feed();

    std::string_view text_;
    bool fragment_;
    void* parser_;  // XML_Parser
    std::size_t fed_ = 0;
    std::size_t chunk_;  // grows up to the largest chunk
    bool done_ = false;
    std::deque<Tag> queue_;
    std::optional<std::string> error_;
    std::optional<std::string> stop_reason_;
    friend struct Impl;
};

// Calls on_tag(raw tag) for every start and empty-element tag whose qualified name is exactly
// `name`, in document order, until the end of the text or the first error (which is not reported).
// One expat pass without XmlReader's per-tag bookkeeping: for single scans of large worksheets.
void for_each_tag_named(std::string_view text, const char* name, void (*on_tag)(void* context, std::string_view raw),
                        void* context);

template <class F>
void for_each_tag_named(std::string_view text, const char* name, F&& on_tag) {
    for_each_tag_named(
        text, name, [](void* f, std::string_view raw) { (*static_cast<std::remove_reference_t<F>*>(f))(raw); },
        static_cast<void*>(&on_tag));
}

// ---- inline template ----

template <class F>
void for_each_attribute(std::string_view tag, F&& f) {
    auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t i = 1;
    if (i < tag.size() && tag[i] == '/') return;  // end tag
    while (i < tag.size() && !is_space(tag[i]) && tag[i] != '>' && tag[i] != '/') ++i;
    while (i < tag.size()) {
        while (i < tag.size() && is_space(tag[i])) ++i;
        if (i >= tag.size() || tag[i] == '>' || tag[i] == '/') return;
        std::size_t name_begin = i;
        while (i < tag.size() && !is_space(tag[i]) && tag[i] != '=') ++i;
        std::string_view name = tag.substr(name_begin, i - name_begin);
        while (i < tag.size() && is_space(tag[i])) ++i;
        if (i >= tag.size() || tag[i] != '=') return;
        ++i;
        while (i < tag.size() && is_space(tag[i])) ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) return;
        char quote = tag[i++];
        std::size_t value_begin = i;
        while (i < tag.size() && tag[i] != quote) ++i;
        if (i >= tag.size()) return;
        f(Attribute{name, tag.substr(value_begin, i - value_begin)});
        ++i;
    }
}

}  // namespace qm
