#include "cells/tables.hpp"

#include <algorithm>
#include <optional>

#include "state/parts.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

struct TableColumn {
    std::string name;        // entities resolved
    std::size_t value_at;    // raw name value in the part's text
    std::size_t value_size;
};

struct Table {
    std::string part;
    std::string name;
    CellRef first, last;
    std::uint32_t header_rows = 1;
    std::vector<TableColumn> columns;
};

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ascii_upper(x) == ascii_upper(y); });
}

// Table parts the sheet's relationships name, read once per sheet part.
std::vector<std::string> table_parts(EditorState& state) {
    if (auto known = state.sheet_table_parts.find(state.sheet_path); known != state.sheet_table_parts.end())
        return known->second;
    std::vector<std::string> parts;
    auto zip = open_unchanged_source(state);
    // Writes do not need the source; a save will say what became of it.
    if (!zip) return parts;
    auto rels = zip->read_entry(relationships_part(state.sheet_path), "");
    if (rels) parts = relationship_targets(*rels, part_folder(state.sheet_path), "/relationships/table");
    state.sheet_table_parts.emplace(state.sheet_path, parts);
    return parts;
}

std::optional<Table> read_table(std::string part, std::string_view text) {
    Table table{std::move(part), {}, {}, {}, 1, {}};
    bool has_ref = false;
    XmlReader reader(text);
    while (auto tag = reader.next()) {
        if (!tag->opens()) continue;
        if (tag->name == "table") {
            if (auto name = last_attribute(tag->raw, "displayName")) table.name = resolve_attribute_value(*name);
            if (auto rows = last_attribute(tag->raw, "headerRowCount")) table.header_rows = *rows == "0" ? 0 : 1;
            auto ref = last_attribute(tag->raw, "ref");
            std::size_t colon = ref ? ref->find(':') : std::string_view::npos;
            if (colon == std::string_view::npos) return std::nullopt;
            auto first = parse_cell_ref(ref->substr(0, colon));
            auto last = parse_cell_ref(ref->substr(colon + 1));
            if (!first || !last) return std::nullopt;
            table.first = *first;
            table.last = *last;
            has_ref = true;
        } else if (tag->name == "tableColumn") {
            auto name = last_attribute(tag->raw, "name");
            if (!name) return std::nullopt;
            table.columns.push_back({resolve_attribute_value(*name),
                                     tag->begin + static_cast<std::size_t>(name->data() - tag->raw.data()),
                                     name->size()});
        }
    }
    if (!has_ref || reader.error()) return std::nullopt;
    return table;
}

Result<std::vector<Table>> current_tables(EditorState& state) {
    std::vector<Table> tables;
    for (const std::string& part : table_parts(state)) {
        auto text = load_sheet_text(state, part);
        if (!text) return fail(std::move(text.error()));
        // A table part this reader cannot follow is left alone, as before.
        if (auto table = read_table(part, *text)) tables.push_back(std::move(*table));
    }
    return tables;
}

}  // namespace

Result<TableRenames> table_header_renames(EditorState& state, std::span<const RowWrites> rows) {
    TableRenames renames;
    if (state.sheet_path.empty() || rows.empty()) return renames;
    auto tables = current_tables(state);
    if (!tables) return fail(std::move(tables.error()));
    for (Table& table : *tables) {
        if (table.header_rows == 0) continue;
        auto row = std::find_if(rows.begin(), rows.end(), [&](const RowWrites& r) { return r.row == table.first.row; });
        if (row == rows.end()) continue;
        std::vector<std::optional<std::string>> renamed(table.columns.size());
        bool any = false;
        for (const CellWrite& write : row->cells) {
            // Queued cell markup only ever restyles a header cell: a value written there is not queued.
            if (write.style_only || write.markup || write.column < table.first.column) continue;
            std::uint64_t index = write.column - table.first.column;
            if (index >= table.columns.size() || write.column > table.last.column) continue;
            std::string cell = cell_ref_text({static_cast<std::uint32_t>(write.column), table.first.row});
            std::string where = "header cell " + cell + " of table '" + table.name + "'";
            if (write.value.empty() || (write.kind && *write.kind == CellKind::Blank))
                return fail("Cannot empty " + where + ": a table column needs a name");
            CellKind kind = write.kind ? *write.kind : classify_value(write.value);
            if (kind == CellKind::Formula) return fail("Cannot write a formula into " + where);
            renamed[index] = std::string(write.value);
            any = true;
        }
        if (!any) continue;
        for (std::size_t i = 0; i < renamed.size(); ++i) {
            if (!renamed[i]) continue;
            for (std::size_t j = 0; j < table.columns.size(); ++j) {
                const std::string& other = renamed[j] ? *renamed[j] : table.columns[j].name;
                if (j != i && same_ignoring_case(*renamed[i], other))
                    return fail("Table '" + table.name + "' already has a column named '" + other + "'");
            }
        }
        auto text = load_sheet_text(state, table.part);
        if (!text) return fail(std::move(text.error()));
        // Later columns first, so earlier offsets stay valid.
        for (std::size_t i = renamed.size(); i-- > 0;)
            if (renamed[i]) splice(*text, table.columns[i].value_at, table.columns[i].value_size, escape_attribute(*renamed[i]));
        renames.emplace_back(table.part, std::move(*text));
    }
    return renames;
}

Result<bool> is_table_header_cell(EditorState& state, CellRef cell) {
    auto tables = current_tables(state);
    if (!tables) return fail(std::move(tables.error()));
    for (const Table& t : *tables)
        if (t.header_rows != 0 && cell.row == t.first.row && cell.column >= t.first.column &&
            cell.column <= t.last.column)
            return true;
    return false;
}

void install_table_renames(EditorState& state, TableRenames&& renames) {
    for (auto& [part, text] : renames) state.modified_parts.insert_or_assign(std::move(part), std::move(text));
}

Status check_merge_outside_tables(EditorState& state, CellRef first, CellRef last, std::string_view range) {
    auto tables = current_tables(state);
    if (!tables) return fail(std::move(tables.error()));
    for (const Table& t : *tables) {
        bool apart = last.column < t.first.column || first.column > t.last.column || last.row < t.first.row ||
                     first.row > t.last.row;
        if (!apart)
            return fail("Cannot merge " + std::string(range) + ": it overlaps table '" + t.name + "' (" +
                        cell_ref_text(t.first) + ":" + cell_ref_text(t.last) + ")");
    }
    return {};
}

}  // namespace qm
