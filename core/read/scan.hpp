#pragma once
// Byte-level steps over markup the readers share: tag names, start tags with their attributes,
// element content with nesting, comments and CDATA. Inline: they run once per cell.
#include <optional>
#include <string_view>
#include <utility>

#include "support/text.hpp"

namespace qm {

inline bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The name that starts at `at` (just after "<" or "</").
inline std::string_view tag_name(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && !is_xml_space(text[end]) && text[end] != '>' && text[end] != '/') ++end;
    return text.substr(at, end - at);
}

inline std::string_view local_name(std::string_view name) {
    std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

struct ScannedTag {
    std::size_t end;  // just after ">"
    bool self_closing;
};

// The start tag at `lt`, calling on_attribute(name, raw value) for each attribute. Quoted values
// may hold ">". Absent when the tag does not end.
template <class F>
std::optional<ScannedTag> scan_tag(std::string_view text, std::size_t lt, F&& on_attribute) {
    std::size_t i = lt + 1;
    const std::size_t n = text.size();
    while (i < n && !is_xml_space(text[i]) && text[i] != '>' && text[i] != '/') ++i;
    for (;;) {
        while (i < n && is_xml_space(text[i])) ++i;
        if (i >= n) return std::nullopt;
        if (text[i] == '>') return ScannedTag{i + 1, false};
        if (text[i] == '/') {
            if (i + 1 < n && text[i + 1] == '>') return ScannedTag{i + 2, true};
            return std::nullopt;
        }
        std::size_t name_begin = i;
        while (i < n && text[i] != '=' && !is_xml_space(text[i]) && text[i] != '>') ++i;
        std::string_view name = text.substr(name_begin, i - name_begin);
        while (i < n && is_xml_space(text[i])) ++i;
        if (i >= n || text[i] != '=') return std::nullopt;
        ++i;
        while (i < n && is_xml_space(text[i])) ++i;
        if (i >= n || (text[i] != '"' && text[i] != '\'')) return std::nullopt;
        char quote = text[i++];
        std::size_t value_begin = i;
        while (i < n && text[i] != quote) ++i;
        if (i >= n) return std::nullopt;
        on_attribute(name, text.substr(value_begin, i - value_begin));
        ++i;
    }
}

// Past a comment, CDATA section, processing instruction or declaration that starts at `lt`.
inline std::size_t skip_markup_declaration(std::string_view text, std::size_t lt) {
    std::string_view rest = text.substr(lt);
    std::string_view close = rest.starts_with("<!--")        ? "-->"
                             : rest.starts_with("<![CDATA[") ? "]]>"
                             : rest.starts_with("<?")        ? "?>"
                                                             : ">";
    std::size_t at = find(text, close, lt + 2);
    return at == npos ? npos : at + close.size();
}

// Content of the element whose start tag ends at `content_begin`: (start of its end tag, just
// after it). Absent when it does not close.
inline std::optional<std::pair<std::size_t, std::size_t>> element_content(std::string_view text,
                                                                          std::size_t content_begin) {
    std::size_t depth = 1;
    std::size_t pos = content_begin;
    for (;;) {
        std::size_t lt = text.find('<', pos);
        if (lt == npos || lt + 1 >= text.size()) return std::nullopt;
        char c = text[lt + 1];
        if (c == '/') {
            std::size_t gt = text.find('>', lt);
            if (gt == npos) return std::nullopt;
            if (--depth == 0) return std::pair{lt, gt + 1};
            pos = gt + 1;
        } else if (c == '!' || c == '?') {
            pos = skip_markup_declaration(text, lt);
            if (pos == npos) return std::nullopt;
        } else {
            auto tag = scan_tag(text, lt, [](std::string_view, std::string_view) {});
            if (!tag) return std::nullopt;
            if (!tag->self_closing) ++depth;
            pos = tag->end;
        }
    }
}

}  // namespace qm
