#include "formula/formula.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

void append_column_letters(std::string& out, std::int64_t column) {
    char letters[4];
    int n = 0;
    while (column > 0) {
        --column;
        letters[n++] = static_cast<char>('A' + column % 26);
        column /= 26;
    }
    while (n > 0) out += letters[--n];
}

// A point moved by the offsets; false when a moved part leaves the grid.
bool shift(RefPoint& p, std::int64_t rows, std::int64_t columns) {
    // Offsets beyond the grid's size are checked before adding, so no sum can overflow.
    if (p.column != 0 && !p.column_anchored) {
        if (columns > kMaxColumns || columns < -kMaxColumns) return false;
        p.column += columns;
        if (p.column < 1 || p.column > kMaxColumns) return false;
    }
    if (p.row != 0 && !p.row_anchored) {
        if (rows > kMaxRows || rows < -kMaxRows) return false;
        p.row += rows;
        if (p.row < 1 || p.row > kMaxRows) return false;
    }
    return true;
}

// Anchored parts are copied as written; moved parts are written anew.
void append_point(std::string& out, std::string_view formula, const RefPoint& p) {
    if (p.column != 0) {
        if (p.column_anchored) {
            out += formula.substr(p.column_begin, p.column_end - p.column_begin);
        } else {
            append_column_letters(out, p.column);
        }
    }
    if (p.row != 0) {
        if (p.row_anchored) {
            out += formula.substr(p.row_begin, p.row_end - p.row_begin);
        } else {
            append_decimal(out, static_cast<std::uint64_t>(p.row));
        }
    }
}

}  // namespace

Result<std::string> translate_formula(std::string_view formula, std::int64_t row_offset,
                                      std::int64_t column_offset) {
    auto tokens = tokenize_formula(formula);
    if (!tokens) return fail(std::move(tokens.error()));
    std::string out;
    out.reserve(formula.size() + 8);
    for (const FormulaToken& token : *tokens) {
        if (token.kind != TokenKind::Reference || token.in_array) {
            out += formula.substr(token.begin, token.end - token.begin);
            continue;
        }
        RefPoint a = token.first;
        std::optional<RefPoint> b = token.second;
        if (!shift(a, row_offset, column_offset) || (b && !shift(*b, row_offset, column_offset))) {
            out += "#REF!";
            continue;
        }
        if (token.sheet) out += formula.substr(token.sheet->begin, token.sheet->end - token.sheet->begin);
        append_point(out, formula, a);
        if (b) {
            out += ':';
            append_point(out, formula, *b);
        }
    }
    return out;
}

}  // namespace qm
