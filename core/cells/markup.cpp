#include <charconv>
#include <cmath>

#include "cells/cells.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {

// Characters XML 1.0 does not allow at all, not even as character references.
bool forbidden_control(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

// U+FFFE and U+FFFF, encoded EF BF BE and EF BF BF.
bool noncharacter_at(std::string_view text, std::size_t i) {
    return i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xEF &&
           static_cast<unsigned char>(text[i + 1]) == 0xBF &&
           (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE;
}

bool is_hex_digit(char c) { return is_ascii_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// "_x" four hex digits "_": what readers decode, so a literal one must itself be escaped.
bool escape_sequence_at(std::string_view text, std::size_t i) {
    if (i + 7 > text.size() || text[i + 1] != 'x' || text[i + 6] != '_') return false;
    for (std::size_t k = i + 2; k < i + 6; ++k)
        if (!is_hex_digit(text[k])) return false;
    return true;
}

void append_code_escape(std::string& out, unsigned code) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xF];
    out += '_';
}

// Whether the text holds nothing that needs an entity in markup.
bool plain_markup(std::string_view text) {
    for (char c : text)
        if (c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') return false;
    return true;
}

}  // namespace

bool has_forbidden_xml_char(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (forbidden_control(c) || (c == 0xEF && noncharacter_at(text, i))) return true;
    }
    return false;
}

void append_cell_text(std::string& out, std::string_view text) {
    std::size_t run = 0;
    auto replace = [&](std::size_t i, std::size_t length, std::string_view with) {
        out.append(text.substr(run, i - run));
        out.append(with);
        run = i + length;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '&': replace(i, 1, "&amp;"); continue;
            case '<': replace(i, 1, "&lt;"); continue;
            case '>': replace(i, 1, "&gt;"); continue;
            case '\'': replace(i, 1, "&apos;"); continue;
            case '"': replace(i, 1, "&quot;"); continue;
            // A raw CR would come back as LF: readers normalise line ends, not character references.
            case '\r': replace(i, 1, "&#13;"); continue;
            case '_':
                if (escape_sequence_at(text, i)) replace(i, 1, "_x005F_");
                continue;
            case 0xEF:
                if (noncharacter_at(text, i)) {
                    replace(i, 3, {});
                    append_code_escape(out, 0xFFFE | (static_cast<unsigned char>(text[i + 2]) & 1));
                    i += 2;
                }
                continue;
            default:
                if (forbidden_control(c)) {
                    replace(i, 1, {});
                    append_code_escape(out, c);
                }
                continue;
        }
    }
    out.append(text.substr(run));
}

CellKind classify_value(std::string_view value) {
    // A formula cannot hold a character the part cannot: such a text is kept as text.
    if (!value.empty() && value.front() == '=' && !has_forbidden_xml_char(value)) return CellKind::Formula;
    // Only finite decimal literals: nan, inf and literals beyond a double's range are text.
    if (auto number = parse_float(value); number && std::isfinite(*number))
        return CellKind::Number;
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
    // Numbers (and error values) laid out in one piece: the bulk of a large block.
    if ((kind == CellKind::Number || kind == CellKind::Error) && reference.size() <= 32 && text.size() <= 32 &&
        plain_markup(reference) && plain_markup(text)) {
        // Written in place: a stack buffer copied out afterwards would be read back with wide loads
        // right after its narrow stores, which stalls.
        const std::size_t old_size = out.size();
        out.resize_and_overwrite(old_size + 128, [&](char* data, std::size_t) {
            char* p = put_short(data + old_size, "<c r=\"");
            p = put_short(p, reference);
            *p++ = '"';
            if (style) {
                p = put_short(p, " s=\"");
                p = std::to_chars(p, p + 10, *style).ptr;
                *p++ = '"';
            }
            p = put_short(p, kind == CellKind::Number ? std::string_view("><v>") : std::string_view(" t=\"e\"><v>"));
            p = put_short(p, text);
            p = put_short(p, "</v></c>");
            return static_cast<std::size_t>(p - data);
        });
        return;
    }
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
            append_cell_text(out, text);
            out += "</t></is></c>";
            break;
        case CellKind::Error:
            out += " t=\"e\"><v>";
            append_escaped_text(out, text);
            out += "</v></c>";
            break;
        case CellKind::Bool:
            out += " t=\"b\"><v>";
            out += text == "1" ? '1' : '0';
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

std::optional<std::uint32_t> style_of_cell(std::string_view start_tag) {
    auto value = start_tag_attribute(start_tag, "s");
    if (!value || !is_valid_utf8(*value)) return std::nullopt;
    return try_parse_u32(*value);
}

}  // namespace qm
