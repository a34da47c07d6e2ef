#include "cells/cells.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

CellKind classify_value(std::string_view value) {
    if (!value.empty() && value.front() == '=') return CellKind::Formula;
    // parse_float accepts exactly the literal grammar: sign, inf/infinity/nan, or a mantissa with
    // an optional exponent, nothing else.
    if (parse_float(value)) return CellKind::Number;
    return CellKind::InlineString;
}

bool needs_space_preserve(std::string_view text) {
    if (text.empty()) return false;
    auto edge_space = [](char c) { return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' '; };
    if (edge_space(text.front()) || edge_space(text.back())) return true;
    return text.find_first_of("\t\n\r") != npos;
}

void append_typed_cell(std::string& out, std::string_view reference, CellKind kind, std::string_view text,
                       std::optional<std::uint32_t> style) {
    out += "<c r=\"";
    append_escaped_text(out, reference);
    out += '"';
    if (style) {
        out += " s=\"";
        append_decimal(out, *style);
        out += '"';
    }
    switch (kind) {
        case CellKind::Formula:
            out += "><f>";
            append_escaped_text(out, text.substr(1));
            out += "</f></c>";
            break;
        case CellKind::Number:
            out += "><v>";
            append_escaped_text(out, text);
            out += "</v></c>";
            break;
        case CellKind::InlineString:
            out += needs_space_preserve(text) ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                                              : " t=\"inlineStr\"><is><t>";
            append_escaped_text(out, text);
            out += "</t></is></c>";
            break;
        case CellKind::Error:
            out += " t=\"e\"><v>";
            append_escaped_text(out, text);
            out += "</v></c>";
            break;
        case CellKind::Blank:
            out += "/>";
            break;
    }
}

void append_rendered_cell(std::string& out, std::string_view reference, std::string_view value,
                          std::optional<std::uint32_t> style) {
    append_typed_cell(out, reference, classify_value(value), value, style);
}

std::string render_cell(std::string_view reference, std::string_view value,
                        std::optional<std::uint32_t> style) {
    std::string out;
    out.reserve(reference.size() + value.size() + 48);
    append_rendered_cell(out, reference, value, style);
    return out;
}

std::optional<std::uint32_t> style_of_cell(std::string_view cell_markup) {
    std::size_t at = find(cell_markup, " s=\"");
    if (at == npos) return std::nullopt;
    std::size_t begin = at + 4;
    std::size_t quote = find(cell_markup, "\"", begin);
    if (quote == npos) return std::nullopt;
    std::string_view value = cell_markup.substr(begin, quote - begin);
    if (!is_valid_utf8(value)) return std::nullopt;
    return try_parse_u32(value);
}

}  // namespace qm
