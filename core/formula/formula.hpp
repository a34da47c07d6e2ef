#pragma once
// Formula text as stored in the parts (no leading "="): a tokenizer that keeps every byte, the
// translation of relative references to another cell, and the rewriting of sheet prefixes when a
// sheet is renamed or deleted.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/error.hpp"

namespace qm {

inline constexpr std::int64_t kMaxRows = 1048576;
inline constexpr std::int64_t kMaxColumns = 16384;

enum class TokenKind {
    Whitespace,
    Operator,    // + - * / ^ & = < > <= >= <> % : @ and anything else between operands
    Separator,   // , ;
    OpenParen,
    CloseParen,
    ArrayOpen,
    ArrayClose,
    Function,    // the name only; the "(" that follows is its own token
    String,      // "..." with doubled quotes inside
    Number,
    Error,       // #REF!, #N/A, ... possibly after a sheet prefix
    Reference,   // cell, cell range, column range or row range, possibly after a sheet prefix
    Name,        // defined names, TRUE/FALSE, anything else word-like, possibly after a sheet prefix
    Structured,  // Table1[Col], [@Col]
    Unknown,
};

// `Sheet1!`, `'Q1 Sales'!`, `Jan:Mar!`, `[1]Data!`, `'C:\dir\[b.xlsx]Data'!`.
struct SheetPrefix {
    std::size_t begin = 0;  // first byte of the prefix
    std::size_t end = 0;    // just after its "!"
    bool quoted = false;
    std::string book;       // "[1]" or a path with its bracketed file name; empty for this workbook
    std::string first;      // sheet name with doubled apostrophes undone
    std::string last;       // other end of a 3-D range; empty for one sheet
};

// One end of a reference: a column and/or a row, each anchored by "$" or not.
struct RefPoint {
    std::int64_t column = 0;  // 1-based; 0 when the reference has no column part (row range)
    std::int64_t row = 0;     // 1-based; 0 when it has no row part (column range)
    bool column_anchored = false;
    bool row_anchored = false;
    std::size_t column_begin = 0, column_end = 0;  // spans in the formula, "$" included
    std::size_t row_begin = 0, row_end = 0;
};

struct FormulaToken {
    TokenKind kind = TokenKind::Unknown;
    std::size_t begin = 0;  // bytes [begin, end) of the formula, prefix included
    std::size_t end = 0;
    std::optional<SheetPrefix> sheet;
    // References only: one point for a cell, two for any range.
    RefPoint first;
    std::optional<RefPoint> second;
    bool in_array = false;  // inside an array constant {...}
};

// Every byte of the formula belongs to exactly one token, in order. Fails only on an unterminated
// string literal, quoted sheet name or bracket.
Result<std::vector<FormulaToken>> tokenize_formula(std::string_view formula);

// The formula as it reads in a cell `row_offset` rows below and `column_offset` columns right of
// the cell it is written for: relative parts shift, "$" parts stay, and a reference pushed beyond
// the grid becomes #REF!. Names, strings, structured and external-name references stay.
Result<std::string> translate_formula(std::string_view formula, std::int64_t row_offset,
                                      std::int64_t column_offset);

// Whether a sheet name must be written in apostrophes in a reference.
bool sheet_name_needs_quotes(std::string_view name);
// `name` as it appears before "!": quoted (apostrophes doubled) only when needed.
std::string format_sheet_prefix_name(std::string_view name);

// A sheet renamed (`new_name` set) or deleted (`new_name` empty). `sheet_order` lists the sheet
// names before the change: a deleted end of a 3-D range moves to its inward neighbour.
struct SheetChange {
    std::string old_name;
    std::optional<std::string> new_name;
    std::vector<std::string> sheet_order;
    // Set when another sheet's name differs from the old one only in case: then only the exact
    // spelling refers to it.
    bool match_case = false;
};

// Same sheet name as the sheet list compares them: equal under Unicode simple case folding, so a
// reference written 'äpfel'!A1 names the sheet Äpfel.
bool same_sheet_name(std::string_view a, std::string_view b);

// The formula with every reference to the changed sheet rewritten; nullopt when nothing refers to
// it (the caller keeps its text as is). References into other workbooks are left alone.
Result<std::optional<std::string>> rewrite_sheet_references(std::string_view formula,
                                                            const SheetChange& change);

// Bytes of the name that any reference to the sheet in XML markup contains as they are (the name
// may be escaped or have doubled apostrophes around them): a part whose text lacks them, compared
// without regard to ASCII case, refers nowhere to the sheet.
std::string sheet_search_key(std::string_view name);
std::size_t find_ignoring_case(std::string_view text, std::string_view key, std::size_t from = 0);

// A part's text with every reference to the changed sheet rewritten: the text of formula elements
// (cells, validations, conditional formats, defined names, chart series, table columns, whatever
// their prefix), hyperlink locations, and on rename pivot sources. nullopt when nothing changes.
std::optional<std::string> rewrite_part_sheet_references(std::string_view part, const SheetChange& change);

}  // namespace qm
