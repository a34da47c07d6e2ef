#include "catalogue/catalogue.hpp"

#include "state/parts.hpp"
#include "state/state.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"
#include "support/xml_reader.hpp"
#include "support/zip_archive.hpp"

namespace qm {

namespace {
std::string resolved(std::string_view raw) { return to_utf8_lossy(resolve_attribute_value(raw)); }

// Reads one `sheet` tag; repeated keys: the last one wins.
SheetEntry read_sheet_entry(std::string_view tag) {
    SheetEntry entry;
    entry.sheet_id = "0";
    for_each_attribute(tag, [&](const Attribute& a) {
        if (a.name == "name") entry.name = resolved(a.raw_value);
        else if (a.name == "sheetId") entry.sheet_id = to_utf8_lossy(a.raw_value);
        else if (a.name == "r:id") entry.rel_id = to_utf8_lossy(a.raw_value);
        else if (a.name == "state") entry.state = resolved(a.raw_value);
    });
    return entry;
}
}  // namespace

Result<std::string> check_sheet_name(std::string_view name) {
    std::string_view trimmed = trim_white_space(name);
    if (trimmed.empty()) return fail(std::string(kSheetNameEmpty));
    if (count_code_points(trimmed) > 31) return fail(std::string(kSheetNameTooLong));
    if (trimmed.find_first_of(":\\/?*[]") != npos) return fail(std::string(kSheetNameForbidden));
    return std::string(trimmed);
}

Result<std::string> check_new_sheet_name(std::string_view name) {
    auto checked = check_sheet_name(name);
    if (!checked) return checked;
    const std::string& n = *checked;
    if (n.front() == '\'' || n.back() == '\'') return fail(std::string(kSheetNameApostrophe));
    for (std::size_t i = 0; i < n.size(); ++i) {
        auto c = static_cast<unsigned char>(n[i]);
        auto next = [&](std::size_t k) { return i + k < n.size() ? static_cast<unsigned char>(n[i + k]) : 0; };
        bool c0 = c < 0x20 || c == 0x7F;
        bool c1 = c == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F;                    // U+0080..U+009F
        bool noncharacter = c == 0xEF && next(1) == 0xBF && (next(2) & 0xFE) == 0xBE;  // U+FFFE, U+FFFF
        if (c0 || c1 || noncharacter) return fail(std::string(kSheetNameControl));
    }
    return checked;
}

bool same_sheet_name_ignoring_case(std::string_view a, std::string_view b) { return equal_ignoring_case(a, b); }

Result<SheetsBlock> find_sheets_block(std::string_view workbook) {
    std::size_t open = find(workbook, "<sheets");
    if (open == npos) return fail("<sheets> not found in workbook.xml");
    std::size_t gt = find(workbook, ">", open);
    if (gt == npos) return fail("Malformed workbook.xml: <sheets ...> not closed with '>'");
    std::size_t close = find(workbook, "</sheets>", gt + 1);
    if (close == npos) return fail("</sheets> not found in workbook.xml");
    return SheetsBlock{gt + 1, close};
}

Result<ParsedSheets> parse_sheet_entries(std::string_view workbook) {
    auto block = find_sheets_block(workbook);
    if (!block) return fail(std::move(block.error()));
    ParsedSheets parsed{*block, {}};
    XmlReader reader(workbook.substr(block->begin, block->end - block->begin), true);
    int depth = 0;  // inside a `sheet` start tag's element
    while (auto tag = reader.next()) {
        if (depth > 0) {
            depth += tag->kind == TagKind::Start ? 1 : tag->kind == TagKind::End ? -1 : 0;
            if (depth == 0) parsed.entries.back().end = block->begin + tag->end;
            continue;
        }
        if (!tag->opens() || tag->name != "sheet") continue;
        SheetEntry entry = read_sheet_entry(tag->raw);
        entry.begin = block->begin + tag->begin;
        entry.tag_end = entry.end = block->begin + tag->end;
        parsed.entries.push_back(std::move(entry));
        if (tag->kind == TagKind::Start) depth = 1;
    }
    return parsed;
}

Result<std::vector<std::string>> list_sheet_names(const std::string& path) {
    auto zip = ZipReader::open(path);
    if (!zip) return fail(std::move(zip.error()));
    std::set<std::string, std::less<>> unprefixed;
    auto workbook = read_held_part(*zip, locate_parts(*zip).workbook, kWorkbookNotFound, unprefixed);
    if (!workbook) return fail(std::move(workbook.error()));
    return sheet_names_in(*workbook);
}

std::vector<std::string> sheet_names_in(std::string_view workbook) {
    std::vector<std::string> names;
    XmlReader reader(workbook);
    while (auto tag = reader.next()) {
        if (!tag->opens() || tag->name != "sheet") continue;
        if (auto name = first_attribute(tag->raw, "name")) names.push_back(resolved(*name));
    }
    return names;
}

std::optional<std::string> find_sheet_rel_id(std::string_view workbook, std::string_view name) {
    auto block = find_sheets_block(workbook);
    if (!block) return std::nullopt;
    return find_sheet_rel_id_in(workbook.substr(block->begin, block->end - block->begin), true, name);
}

std::optional<std::string> find_sheet_rel_id_in(std::string_view text, bool fragment, std::string_view name) {
    XmlReader reader(text, fragment);
    while (auto tag = reader.next()) {
        if (!tag->opens() || tag->name != "sheet") continue;
        auto raw_name = last_attribute(tag->raw, "name");
        auto rel_id = last_attribute(tag->raw, "r:id");
        if (raw_name && rel_id && resolved(*raw_name) == name) return to_utf8_lossy(*rel_id);
    }
    return std::nullopt;
}

std::optional<RelationshipRef> find_relationship(std::string_view rels, std::string_view id) {
    XmlReader reader(rels);
    while (auto tag = reader.next()) {
        if (!tag->opens() || (tag->name != "Relationship" && !tag->name.ends_with(":Relationship"))) continue;
        auto rel_id = last_attribute(tag->raw, "Id");
        auto target = last_attribute(tag->raw, "Target");
        if (!rel_id || !target || resolved(*rel_id) != id) continue;
        RelationshipRef found{tag->begin, tag->end, std::string(*target)};
        // A start tag takes its end tag along, so removing the element leaves nothing behind.
        if (tag->kind == TagKind::Start) {
            int depth = 1;
            while (auto next = reader.next()) {
                depth += next->kind == TagKind::Start ? 1 : next->kind == TagKind::End ? -1 : 0;
                if (depth == 0) {
                    found.end = next->end;
                    break;
                }
            }
        }
        return found;
    }
    return std::nullopt;
}

std::string normalize_part_path(std::string_view target, std::string_view folder) {
    return resolve_target(folder, resolve_attribute_value(target));
}

std::optional<std::string> current_sheet_name(const EditorState& state) {
    if (state.sheet_path.empty()) return std::nullopt;
    auto parsed = parse_sheet_entries(state.workbook_xml);
    if (!parsed) return std::nullopt;
    for (const SheetEntry& entry : parsed->entries) {
        auto rel = find_relationship(state.workbook_rels_xml, entry.rel_id);
        if (rel && normalize_part_path(rel->target, part_folder(state.workbook_part)) == state.sheet_path) return entry.name;
    }
    return std::nullopt;
}

}  // namespace qm
