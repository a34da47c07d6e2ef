#include <array>

#include "formula/formula.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

constexpr std::string_view kUnterminatedString = "Formula has an unterminated string literal";
constexpr std::string_view kUnterminatedQuote = "Formula has an unterminated quoted sheet name";
constexpr std::string_view kUnterminatedBracket = "Formula has an unterminated bracket";

// Longest first where one error is a prefix of another.
constexpr std::array<std::string_view, 17> kErrors = {
    "#GETTING_DATA", "#DIV/0!", "#EXTERNAL!", "#BLOCKED!", "#CONNECT!", "#UNKNOWN!",
    "#PYTHON!",      "#SPILL!", "#VALUE!",    "#FIELD!",   "#CALC!",    "#NULL!",
    "#NAME?",        "#BUSY!",  "#REF!",      "#NUM!",     "#N/A",
};

bool is_space(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Characters of names and unquoted sheet names; any non-ASCII byte counts (letters of every
// script may stand unquoted).
bool is_name_char(unsigned char c) {
    return is_ascii_letter(c) || is_ascii_digit(c) || c == '_' || c == '.' || c == '\\' || c == '?' || c >= 0x80;
}

struct Lexer {
    std::string_view f;
    std::vector<FormulaToken> out;
    int array_depth = 0;

    unsigned char at(std::size_t i) const { return i < f.size() ? static_cast<unsigned char>(f[i]) : 0; }

    void push(TokenKind kind, std::size_t begin, std::size_t end) {
        FormulaToken token;
        token.kind = kind;
        token.begin = begin;
        token.end = end;
        token.in_array = array_depth > 0;
        out.push_back(std::move(token));
    }

    // End of a quoted run starting at `i` (on the opening quote), past the closing quote; a doubled
    // quote is part of the text.
    std::optional<std::size_t> quoted_end(std::size_t i, char quote) const {
        for (std::size_t j = i + 1; j < f.size(); ++j) {
            if (f[j] != quote) continue;
            if (j + 1 < f.size() && f[j + 1] == quote) {
                ++j;
                continue;
            }
            return j + 1;
        }
        return std::nullopt;
    }

    // End of a bracket group starting at `i`: nested groups and apostrophe escapes inside
    // structured references; nullopt when unterminated.
    std::optional<std::size_t> bracket_end(std::size_t i) const {
        int depth = 0;
        for (std::size_t j = i; j < f.size(); ++j) {
            char c = f[j];
            if (c == '\'') {
                ++j;  // escapes the next character
            } else if (c == '[') {
                ++depth;
            } else if (c == ']') {
                if (--depth == 0) return j + 1;
            }
        }
        return std::nullopt;
    }

    std::size_t name_run_end(std::size_t i) const {
        while (i < f.size() && is_name_char(at(i))) ++i;
        return i;
    }

    // The boundary after a reference: nothing that would make the text a longer name, a function
    // call or a structured reference.
    bool ends_reference(std::size_t i) const {
        unsigned char c = at(i);
        return !(is_name_char(c) || c == '(' || c == '[' || c == '$' || c == '!');
    }

    static void fill_names(SheetPrefix& prefix, std::string_view names) {
        std::size_t colon = names.find(':');
        if (colon == npos) {
            prefix.first = std::string(names);
        } else {
            prefix.first = std::string(names.substr(0, colon));
            prefix.last = std::string(names.substr(colon + 1));
        }
    }

    // A sheet prefix at `i`, or nullopt when the text there is not one.
    Result<std::optional<SheetPrefix>> sheet_prefix(std::size_t i) const {
        SheetPrefix prefix;
        prefix.begin = i;
        if (f[i] == '\'') {
            auto close = quoted_end(i, '\'');
            if (!close) return fail(std::string(kUnterminatedQuote));
            if (at(*close) != '!') return std::optional<SheetPrefix>();
            std::string content;
            for (std::size_t j = i + 1; j + 1 < *close; ++j) {
                content += f[j];
                if (f[j] == '\'') ++j;
            }
            // Sheet names never hold brackets, so whatever ends with the last "]" is the book.
            std::size_t book_end = content.rfind(']');
            if (book_end != std::string::npos && content.find('[') != std::string::npos) {
                prefix.book = content.substr(0, book_end + 1);
                content.erase(0, book_end + 1);
            }
            prefix.quoted = true;
            fill_names(prefix, content);
            prefix.end = *close + 1;
            return prefix;
        }
        std::size_t j = i;
        if (f[j] == '[') {
            std::size_t close = f.find(']', j);
            if (close == npos) return std::optional<SheetPrefix>();
            prefix.book = std::string(f.substr(j, close + 1 - j));
            j = close + 1;
        }
        std::size_t names_begin = j;
        j = name_run_end(j);
        if (j == names_begin && prefix.book.empty()) return std::optional<SheetPrefix>();
        if (at(j) == ':' && j > names_begin) {
            std::size_t second = name_run_end(j + 1);
            if (second > j + 1 && at(second) == '!') j = second;
        }
        if (at(j) != '!') return std::optional<SheetPrefix>();
        fill_names(prefix, f.substr(names_begin, j - names_begin));
        prefix.end = j + 1;
        return prefix;
    }

    // `$`? then up to three letters naming a column within the grid.
    std::optional<std::size_t> column_part(std::size_t i, RefPoint& point) const {
        std::size_t begin = i;
        bool anchored = at(i) == '$';
        if (anchored) ++i;
        std::int64_t column = 0;
        std::size_t letters = 0;
        while (is_ascii_letter(at(i)) && letters < 4) {
            column = column * 26 + (ascii_upper(static_cast<char>(at(i))) - 'A' + 1);
            ++i;
            ++letters;
        }
        if (letters == 0 || letters > 3 || column > kMaxColumns) return std::nullopt;
        point.column = column;
        point.column_anchored = anchored;
        point.column_begin = begin;
        point.column_end = i;
        return i;
    }

    std::optional<std::size_t> row_part(std::size_t i, RefPoint& point) const {
        std::size_t begin = i;
        bool anchored = at(i) == '$';
        if (anchored) ++i;
        std::int64_t row = 0;
        std::size_t digits = 0;
        while (is_ascii_digit(at(i)) && digits < 8) {
            row = row * 10 + (at(i) - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 7 || row < 1 || row > kMaxRows) return std::nullopt;
        point.row = row;
        point.row_anchored = anchored;
        point.row_begin = begin;
        point.row_end = i;
        return i;
    }

    std::optional<std::size_t> cell(std::size_t i, RefPoint& point) const {
        auto after_column = column_part(i, point);
        if (!after_column) return std::nullopt;
        return row_part(*after_column, point);
    }

    // A cell, cell range, column range or row range at `i`, ending at a reference boundary.
    std::optional<std::size_t> reference(std::size_t i, FormulaToken& token) const {
        RefPoint a, b;
        if (auto end = cell(i, a)) {
            if (at(*end) == ':') {
                if (auto end2 = cell(*end + 1, b); end2 && ends_reference(*end2)) {
                    token.first = a;
                    token.second = b;
                    return end2;
                }
            }
            if (!ends_reference(*end)) return std::nullopt;
            token.first = a;
            return end;
        }
        a = RefPoint{};
        if (auto end = column_part(i, a); end && at(*end) == ':') {
            if (auto end2 = column_part(*end + 1, b); end2 && ends_reference(*end2)) {
                token.first = a;
                token.second = b;
                return end2;
            }
        }
        a = RefPoint{};
        b = RefPoint{};
        if (auto end = row_part(i, a); end && at(*end) == ':') {
            if (auto end2 = row_part(*end + 1, b); end2 && ends_reference(*end2)) {
                token.first = a;
                token.second = b;
                return end2;
            }
        }
        return std::nullopt;
    }

    std::optional<std::size_t> error_literal(std::size_t i) const {
        for (std::string_view e : kErrors) {
            if (f.size() - i < e.size()) continue;
            bool same = true;
            for (std::size_t k = 0; k < e.size() && same; ++k) same = ascii_upper(f[i + k]) == e[k];
            if (same) return i + e.size();
        }
        return std::nullopt;
    }

    std::size_t number_end(std::size_t i) const {
        while (is_ascii_digit(at(i))) ++i;
        if (at(i) == '.') {
            ++i;
            while (is_ascii_digit(at(i))) ++i;
        }
        if ((at(i) == 'E' || at(i) == 'e')) {
            std::size_t j = i + 1;
            if (at(j) == '+' || at(j) == '-') ++j;
            if (is_ascii_digit(at(j))) {
                while (is_ascii_digit(at(j))) ++j;
                i = j;
            }
        }
        return i;
    }

    // Everything that starts with a name character, "$", an apostrophe or a bracket.
    Status operand(std::size_t i) {
        FormulaToken token;
        token.begin = i;
        token.in_array = array_depth > 0;
        auto prefix = sheet_prefix(i);
        if (!prefix) return fail(std::move(prefix.error()));
        std::size_t body = i;
        if (*prefix) {
            body = (*prefix)->end;
            token.sheet = std::move(**prefix);
        }
        if (auto end = reference(body, token)) {
            token.kind = TokenKind::Reference;
            token.end = *end;
        } else if (at(body) == '#' && error_literal(body)) {
            token.kind = TokenKind::Error;
            token.end = *error_literal(body);
        } else {
            std::size_t end = name_run_end(body);
            if (at(end) == '[') {
                auto close = bracket_end(end);
                if (!close) return fail(std::string(kUnterminatedBracket));
                token.kind = TokenKind::Structured;
                token.end = *close;
            } else if (end == body) {
                if (token.sheet) {  // a prefix before nothing usable: keep it as one word
                    token.kind = TokenKind::Unknown;
                    token.end = body;
                } else if (at(body) == '\'') {  // quoted text not followed by "!"
                    auto close = quoted_end(body, '\'');
                    if (!close) return fail(std::string(kUnterminatedQuote));
                    token.kind = TokenKind::Unknown;
                    token.end = *close;
                } else {
                    token.kind = TokenKind::Unknown;
                    token.end = body + 1;
                }
            } else {
                token.kind = (at(end) == '(' && !token.sheet) ? TokenKind::Function : TokenKind::Name;
                token.end = end;
            }
        }
        out.push_back(std::move(token));
        return {};
    }

    Status run() {
        std::size_t i = 0;
        while (i < f.size()) {
            unsigned char c = at(i);
            std::size_t begin = i;
            if (is_space(c)) {
                while (i < f.size() && is_space(at(i))) ++i;
                push(TokenKind::Whitespace, begin, i);
            } else if (c == '"') {
                auto end = quoted_end(i, '"');
                if (!end) return fail(std::string(kUnterminatedString));
                push(TokenKind::String, begin, i = *end);
            } else if (c == '(' || c == ')') {
                push(c == '(' ? TokenKind::OpenParen : TokenKind::CloseParen, begin, ++i);
            } else if (c == '{') {
                ++array_depth;
                push(TokenKind::ArrayOpen, begin, ++i);
            } else if (c == '}') {
                push(TokenKind::ArrayClose, begin, ++i);
                if (array_depth > 0) --array_depth;
            } else if (c == ',' || c == ';') {
                push(TokenKind::Separator, begin, ++i);
            } else if (c == '#') {
                auto end = error_literal(i);
                push(end ? TokenKind::Error : TokenKind::Unknown, begin, i = end ? *end : i + 1);
            } else if (is_ascii_digit(c) || (c == '.' && is_ascii_digit(at(i + 1)))) {
                FormulaToken token;
                if (auto end = reference(i, token)) {
                    token.kind = TokenKind::Reference;
                    token.begin = begin;
                    token.end = *end;
                    token.in_array = array_depth > 0;
                    out.push_back(std::move(token));
                    i = *end;
                } else {
                    push(TokenKind::Number, begin, i = number_end(i));
                }
            } else if (is_name_char(c) || c == '$' || c == '\'' || c == '[') {
                if (auto status = operand(i); !status) return status;
                i = out.back().end;
            } else if ((c == '<' || c == '>') && (at(i + 1) == '=' || (c == '<' && at(i + 1) == '>'))) {
                push(TokenKind::Operator, begin, i += 2);
            } else if (c < 0x80) {
                push(TokenKind::Operator, begin, ++i);
            } else {
                push(TokenKind::Unknown, begin, ++i);
            }
        }
        return {};
    }
};

}  // namespace

Result<std::vector<FormulaToken>> tokenize_formula(std::string_view formula) {
    Lexer lexer{formula, {}, 0};
    if (auto status = lexer.run(); !status) return fail(std::move(status.error()));
    return std::move(lexer.out);
}

}  // namespace qm
