#include "support/numbers.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "support/text.hpp"

namespace qm {

namespace {
template <class T>
Result<T> parse_unsigned(std::string_view text) {
    if (text.empty()) return fail(std::string(kParseEmpty));
    std::size_t i = 0;
    if (text[0] == '+') {
        i = 1;
        if (text.size() == 1) return fail(std::string(kParseInvalidDigit));
    }
    T value = 0;
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (!is_ascii_digit(c)) return fail(std::string(kParseInvalidDigit));
        T digit = c - '0';
        if (value > (std::numeric_limits<T>::max() - digit) / 10)
            return fail(std::string(kParseTooLarge));
        value = value * 10 + digit;
    }
    return value;
}

bool equals_ignore_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_upper(a[i]) != ascii_upper(b[i])) return false;
    return true;
}

template <class T>
std::string shortest(T value) {
    char buf[512];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) return std::string();
    return std::string(buf, ptr);
}
}  // namespace

Result<std::uint32_t> parse_u32(std::string_view text) { return parse_unsigned<std::uint32_t>(text); }
Result<std::uint64_t> parse_u64(std::string_view text) { return parse_unsigned<std::uint64_t>(text); }

std::optional<double> parse_float(std::string_view text) {
    std::string_view body = text;
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    if (body.empty()) return std::nullopt;
    if (equals_ignore_case(body, "inf") || equals_ignore_case(body, "infinity"))
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    if (equals_ignore_case(body, "nan")) return std::numeric_limits<double>::quiet_NaN();
    // from_chars takes no leading "+" and no words; the grammar check is ours.
    std::size_t i = 0, mantissa_digits = 0;
    while (i < body.size() && is_ascii_digit(body[i])) ++i, ++mantissa_digits;
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && is_ascii_digit(body[i])) ++i, ++mantissa_digits;
    }
    if (mantissa_digits == 0) return std::nullopt;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
        std::size_t exp_digits = 0;
        while (i < body.size() && is_ascii_digit(body[i])) ++i, ++exp_digits;
        if (exp_digits == 0) return std::nullopt;
    }
    if (i != body.size()) return std::nullopt;
    double value = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars refuses to round to infinity or zero; strtod does what float parsers do.
        std::string copy(body);
        value = std::strtod(copy.c_str(), nullptr);
    } else if (ec != std::errc() || ptr != body.data() + body.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string format_shortest(double value) { return shortest(value); }
std::string format_shortest(float value) { return shortest(value); }

}  // namespace qm
