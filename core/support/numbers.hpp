#pragma once
// Unsigned decimal parsing with the three standard messages, and shortest float printing.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "support/error.hpp"

namespace qm {

inline constexpr std::string_view kParseEmpty = "cannot parse integer from empty string";
inline constexpr std::string_view kParseInvalidDigit = "invalid digit found in string";
inline constexpr std::string_view kParseTooLarge = "number too large to fit in target type";

// One optional leading "+", then ASCII digits only. Failures carry one of the messages above.
Result<std::uint32_t> parse_u32(std::string_view text);
Result<std::uint64_t> parse_u64(std::string_view text);

// parse_u32 without the message, inline: scanners read one per cell.
inline std::optional<std::uint32_t> try_parse_u32(std::string_view text) {
    std::size_t i = !text.empty() && text[0] == '+' ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        unsigned digit = static_cast<unsigned char>(text[i]) - unsigned('0');
        if (digit > 9) return std::nullopt;
        value = value * 10 + digit;
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// Decimal float text: optional sign, digits with an optional fraction and exponent, or
// inf/infinity/nan in any case. Nothing else (no white space). Absent when it does not read.
std::optional<double> parse_float(std::string_view text);

// Shortest decimal text that reads back as the same value, fixed notation, no fraction part for
// whole numbers ("11", "10.5", "8.43").
std::string format_shortest(double value);
std::string format_shortest(float value);

}  // namespace qm
