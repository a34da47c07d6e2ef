#pragma once
// Locating whole worksheet child elements by text search, for the blocks that must be placed in
// the order the worksheet schema requires.
#include <cstddef>
#include <string>
#include <string_view>

#include "support/text.hpp"

namespace qm::detail {

inline bool is_name_end(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '/' || c == '>';
}

// Position just after the element whose "<" is at `start`: after "/>" when it is written
// self-closing, else after its "</name>". npos when it is not closed.
inline std::size_t element_end(std::string_view text, std::size_t start, std::string_view name) {
    std::size_t gt = find(text, ">", start);
    if (gt == npos) return npos;
    if (text[gt - 1] == '/') return gt + 1;
    std::string close = "</" + std::string(name) + ">";
    std::size_t at = find(text, close, gt + 1);
    return at == npos ? npos : at + close.size();
}

// Name of the element whose "<" is at `at` (empty for comments, declarations and end tags).
inline std::string_view element_name_at(std::string_view text, std::size_t at) {
    std::size_t i = at + 1;
    if (i >= text.size() || text[i] == '/' || text[i] == '!' || text[i] == '?') return {};
    std::size_t begin = i;
    while (i < text.size() && !is_name_end(text[i])) ++i;
    return text.substr(begin, i - begin);
}

}  // namespace qm::detail
