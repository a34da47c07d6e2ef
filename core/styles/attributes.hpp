#pragma once
// A tag's attributes as an ordered list of (name, raw value), for edits that must keep every
// attribute a producer wrote, in its order.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

using Attributes = std::vector<std::pair<std::string, std::string>>;

inline void set_attribute(Attributes& attributes, std::string_view name, std::string value) {
    for (auto& [n, v] : attributes)
        if (n == name) {
            v = std::move(value);
            return;
        }
    attributes.emplace_back(std::string(name), std::move(value));
}

inline void erase_attribute(Attributes& attributes, std::string_view name) {
    std::erase_if(attributes, [&](const auto& a) { return a.first == name; });
}

inline std::optional<std::string_view> attribute_of(const Attributes& attributes, std::string_view name) {
    for (const auto& [n, v] : attributes)
        if (n == name) return std::string_view(v);
    return std::nullopt;
}

inline void append_attributes(std::string& out, const Attributes& attributes) {
    for (const auto& [name, value] : attributes) {
        out += ' ';
        out += name;
        out += "=\"";
        // A value taken from a single-quoted attribute may hold a double quote.
        for (char c : value) {
            if (c == '"') out += "&quot;";
            else out += c;
        }
        out += '"';
    }
}

}  // namespace qm
