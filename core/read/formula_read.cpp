#include "read/read.hpp"
#include "read/scan.hpp"

namespace qm {

namespace {

struct FormulaAttributes {
    std::string_view type, si;
};

FormulaAttributes formula_attributes(std::string_view tag) {
    FormulaAttributes out;
    scan_tag(tag, 0, [&](std::string_view name, std::string_view value) {
        std::string_view local = local_name(name);
        if (local == "t") out.type = value;
        else if (local == "si") out.si = value;
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
    return fail("the formula of " + index_to_column(column) + std::to_string(row) +
                " is shared with another cell and cannot be read yet");
}

}  // namespace qm
