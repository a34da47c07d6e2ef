#include "formula/formula.hpp"
#include "read/read.hpp"
#include "support/tag_lexer.hpp"
#include "support/text.hpp"

namespace qm {

namespace {

struct FormulaAttributes {
    std::string_view type, si;
};

FormulaAttributes formula_attributes(std::string_view tag) {
    FormulaAttributes out;
    TagLexer lex(tag, 0, tag.size());
    LexTag read;
    lex.next(read, [&](std::string_view name, std::string_view value) {
        if (name == "t") out.type = value;
        else if (name == "si") out.si = value;
    });
    return out;
}

std::string formula_text(std::string_view raw) {
    std::string out = "=";
    append_xml_text(out, raw);
    return out;
}

}  // namespace

Result<std::optional<std::string>> read_formula(EditorState& state, std::uint32_t row, std::uint32_t column) {
    auto raw = find_raw_cell(state, row, column);
    if (!raw) return fail(std::move(raw.error()));
    if (!*raw || !(*raw)->has_formula) return std::optional<std::string>();
    const RawCell& cell = **raw;
    FormulaAttributes attributes = formula_attributes(cell.formula_tag);
    bool follower = attributes.type == "shared" && cell.formula.find_first_not_of(" \t\r\n") == npos;
    if (!follower) {
        if (cell.formula.empty()) return std::optional<std::string>();
        return std::optional<std::string>(formula_text(cell.formula));
    }
    // A follower borrows the text of its group's first cell, shifted by its distance from it.
    SheetCursor cursor(state.sheet_xml);
    for (;;) {
        auto found = cursor.next_row();
        if (!found) return fail(std::move(found.error()));
        if (!*found) break;
        for (const RawCell& other : cursor.cells()) {
            if (!other.has_formula || other.formula.find_first_not_of(" \t\r\n") == npos) continue;
            FormulaAttributes master = formula_attributes(other.formula_tag);
            if (master.type != "shared" || master.si != attributes.si) continue;
            std::string text;
            append_xml_text(text, other.formula);
            auto moved = translate_formula(text, std::int64_t(row) - std::int64_t(other.row),
                                           std::int64_t(column) - std::int64_t(other.column));
            if (!moved) return fail(std::move(moved.error()));
            return std::optional<std::string>("=" + *moved);
        }
    }
    return fail("the shared formula of " + index_to_column(column) + std::to_string(row) + " (si=\"" +
                std::string(attributes.si) + "\") has no first cell holding its text");
}

}  // namespace qm
