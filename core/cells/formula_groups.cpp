#include <algorithm>

#include "cells/cells.hpp"
#include "formula/formula.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

struct Area {
    std::uint32_t top = 0, bottom = 0;
    std::uint64_t left = 0, right = 0;  // 0-based

    bool contains(std::uint32_t row, std::uint64_t column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
};

// The formula element of a cell: its start tag's attributes and its text.
struct CellFormula {
    std::size_t begin = 0, end = 0;  // the whole element
    std::string type, ref, si;
    bool has_text = false;
    std::string text;  // raw, entities not resolved
};

std::optional<CellFormula> cell_formula(std::string_view xml, const SheetCell& cell) {
    if (cell.self_closing) return std::nullopt;
    std::string_view content = xml.substr(cell.tag_end, cell.content_end - cell.tag_end);
    std::size_t at = 0;
    for (;; ++at) {
        at = content.find("<f", at);
        if (at == npos) return std::nullopt;
        char next = at + 2 < content.size() ? content[at + 2] : '\0';
        if (next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\n' || next == '\r') break;
    }
    std::size_t gt = content.find('>', at);
    if (gt == npos) return std::nullopt;
    CellFormula f;
    std::string_view tag = content.substr(at, gt + 1 - at);
    for_each_attribute(tag, [&](const Attribute& a) {
        if (a.name == "t") f.type = resolve_attribute_value(a.raw_value);
        else if (a.name == "ref") f.ref = resolve_attribute_value(a.raw_value);
        else if (a.name == "si") f.si = resolve_attribute_value(a.raw_value);
    });
    f.begin = cell.tag_end + at;
    if (tag.ends_with("/>")) {
        f.end = cell.tag_end + gt + 1;
        return f;
    }
    std::size_t close = content.find("</f>", gt);
    if (close == npos) return std::nullopt;
    f.text = std::string(content.substr(gt + 1, close - gt - 1));
    f.has_text = !f.text.empty();
    f.end = cell.tag_end + close + 4;
    return f;
}

std::optional<Area> read_area(std::string_view ref) {
    std::size_t colon = ref.find(':');
    auto a = parse_cell_ref(ref.substr(0, colon));
    auto b = colon == npos ? a : parse_cell_ref(ref.substr(colon + 1));
    if (!a || !b) return std::nullopt;
    return Area{std::min(a->row, b->row), std::max(a->row, b->row), std::min(a->column, b->column),
                std::max(a->column, b->column)};
}

std::string area_text(const Area& a) {
    std::string out;
    append_column_letters(out, a.left);
    append_decimal(out, a.top);
    if (a.top == a.bottom && a.left == a.right) return out;
    out += ':';
    append_column_letters(out, a.right);
    append_decimal(out, a.bottom);
    return out;
}

struct SharedMaster {
    std::uint32_t row;
    std::uint64_t column;
    std::string si;
    Area area;
};

struct ArrayBlock {
    std::uint32_t row;
    std::uint64_t column;
    Area area;
};

}  // namespace

// Shared-formula masters and multi-cell array formulas of one worksheet, by position. Positions
// never move (no operation inserts rows or columns) and no writer creates groups, so what is read
// once stays true apart from the changes write_rows itself makes.
struct FormulaGroups {
    std::vector<SharedMaster> masters;
    std::vector<ArrayBlock> arrays;
};

namespace {

std::shared_ptr<FormulaGroups> read_groups(std::string_view xml) {
    auto groups = std::make_shared<FormulaGroups>();
    // Most sheets have neither: one byte search spares them the scan.
    if (!contains_either(xml, "shared", "array")) return groups;
    for_each_sheet_cell(xml, [&](const SheetRow& row, const SheetCell& cell) {
        auto n = cell_row(row, cell);
        if (!n || !cell.column) return;
        auto f = cell_formula(xml, cell);
        if (!f || f->ref.empty()) return;
        auto area = read_area(f->ref);
        if (!area) return;
        if (f->type == "shared" && f->has_text && !f->si.empty()) {
            groups->masters.push_back({*n, *cell.column, f->si, *area});
        } else if (f->type == "array" && (area->top != area->bottom || area->left != area->right)) {
            groups->arrays.push_back({*n, *cell.column, *area});
        }
    });
    return groups;
}

// Queued writes arrive as whole cell markup: the queue only holds writes that leave formula groups
// alone (set_cell checks touches_formula_group first), and style-only ones keep the content.
bool overwrites(const CellWrite& w) { return !w.style_only && !w.markup; }

bool written(std::span<const RowWrites> rows, std::uint32_t row, std::uint64_t column) {
    auto it = std::lower_bound(rows.begin(), rows.end(), row, [](const RowWrites& r, std::uint32_t n) { return r.row < n; });
    if (it == rows.end() || it->row != row) return false;
    return std::any_of(it->cells.begin(), it->cells.end(),
                       [&](const CellWrite& w) { return w.column == column && overwrites(w); });
}

// The master's formula moves to the first other cell of its group (in text order) that this write
// leaves alone, translated to that cell; `ref` narrows to the group's remaining cells. A group
// with no such cell is simply overwritten.
Status move_master(std::string& xml, SharedMaster& master, std::span<const RowWrites> rows, bool& gone) {
    struct Member {
        std::uint32_t row;
        std::uint64_t column;
        CellFormula f;
    };
    std::optional<Member> heir;
    std::optional<CellFormula> master_formula;
    Area remaining{};
    bool any = false;
    auto data = find_sheet_data(xml);
    if (!data) return fail(std::move(data.error()));
    RowScanner scanner(xml, *data);
    std::vector<SheetCell> cells;
    for (;;) {
        auto row = scanner.next(&cells);
        if (!row) return fail(std::move(row.error()));
        if (!*row) break;
        if ((*row)->number && *(*row)->number > master.area.bottom) break;
        for (const SheetCell& cell : cells) {
            auto n = cell_row(**row, cell);
            if (!n || !cell.column || !master.area.contains(*n, *cell.column)) continue;
            auto f = cell_formula(xml, cell);
            if (!f || f->type != "shared" || f->si != master.si) continue;
            if (*n == master.row && *cell.column == master.column) {
                master_formula = f;
                continue;
            }
            if (written(rows, *n, *cell.column)) continue;
            if (!any) remaining = Area{*n, *n, *cell.column, *cell.column};
            remaining.top = std::min(remaining.top, *n);
            remaining.bottom = std::max(remaining.bottom, *n);
            remaining.left = std::min(remaining.left, *cell.column);
            remaining.right = std::max(remaining.right, *cell.column);
            any = true;
            if (!heir) heir = Member{*n, *cell.column, *f};
        }
    }
    gone = !heir || !master_formula;
    if (gone) return {};
    std::string text = resolve_attribute_value(master_formula->text);
    auto moved = translate_formula(text, std::int64_t(heir->row) - std::int64_t(master.row),
                                   std::int64_t(heir->column) - std::int64_t(master.column));
    if (!moved) return fail("Cannot move the shared formula of " + cell_ref_text({std::uint32_t(master.column), master.row}) +
                            ": " + moved.error().message);
    std::string element = "<f t=\"shared\" ref=\"" + area_text(remaining) + "\" si=\"" + escape_attribute(master.si) +
                          "\">" + escape_minimal(*moved) + "</f>";
    splice(xml, heir->f.begin, heir->f.end - heir->f.begin, element);
    master = SharedMaster{heir->row, heir->column, master.si, remaining};
    return {};
}

}  // namespace

bool touches_formula_group(EditorState& state, CellRef at) {
    auto& groups = state.formula_groups[state.sheet_path];
    if (!groups) groups = read_groups(state.sheet_xml);
    for (const ArrayBlock& a : groups->arrays)
        if (a.area.contains(at.row, at.column)) return true;
    for (const SharedMaster& m : groups->masters)
        if (m.row == at.row && m.column == at.column) return true;
    return false;
}

Result<std::optional<std::string>> prepare_formula_groups(EditorState& state, std::span<const RowWrites> rows) {
    auto& groups = state.formula_groups[state.sheet_path];
    if (!groups) groups = read_groups(state.sheet_xml);
    if (groups->masters.empty() && groups->arrays.empty()) return std::optional<std::string>();

    for (const RowWrites& row : rows)
        for (const CellWrite& w : row.cells) {
            if (!overwrites(w)) continue;
            for (const ArrayBlock& a : groups->arrays)
                if (a.area.contains(row.row, w.column) && !(a.row == row.row && a.column == w.column))
                    return fail("Cannot change part of an array formula: " +
                                cell_ref_text({std::uint32_t(w.column), row.row}) + " is inside " + area_text(a.area) +
                                ", which only its first cell " + cell_ref_text({std::uint32_t(a.column), a.row}) +
                                " can change");
        }

    std::optional<std::string> before;
    for (SharedMaster master : groups->masters) {
        if (!written(rows, master.row, master.column)) continue;
        if (!before) before = state.sheet_xml;  // restored should the write fail
        bool gone = false;
        if (Status st = move_master(state.sheet_xml, master, rows, gone); !st) {
            state.sheet_xml = std::move(*before);
            return fail(std::move(st.error()));
        }
    }
    return before;
}

void commit_formula_groups(EditorState& state, std::span<const RowWrites> rows, bool moved_masters) {
    auto it = state.formula_groups.find(state.sheet_path);
    if (it == state.formula_groups.end() || !it->second) return;
    FormulaGroups& groups = *it->second;
    std::erase_if(groups.arrays, [&](const ArrayBlock& a) { return written(rows, a.row, a.column); });
    // Moved masters are found again from the text the next time: positions and refs changed.
    if (moved_masters) it->second.reset();
}

}  // namespace qm
