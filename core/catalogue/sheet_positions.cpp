#include <algorithm>

#include "catalogue/catalogue.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

struct Edit {
    std::size_t pos, length;
    std::string text;
};

void apply(std::string& text, std::vector<Edit>& edits) {
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.pos > b.pos; });
    for (const Edit& e : edits) splice(text, e.pos, e.length, e.text);
}

// Offset of an attribute's raw value in `text`, for a tag that lies in `text`.
std::optional<std::pair<std::size_t, std::uint64_t>> position_attribute(std::string_view text, const Tag& tag,
                                                                        std::string_view name) {
    auto raw = last_attribute(tag.raw, name);
    if (!raw) return std::nullopt;
    auto value = try_parse_u32(*raw);
    if (!value) return std::nullopt;
    return std::pair{static_cast<std::size_t>(raw->data() - text.data()), std::uint64_t{*value}};
}

Edit set_value(std::string_view text, std::size_t at, std::uint64_t value) {
    std::size_t length = 0;
    while (at + length < text.size() && text[at + length] != '"' && text[at + length] != '\'') ++length;
    return Edit{at, length, to_decimal(value)};
}

// The attribute added at the end of a tag that lacks it (its absence means 0).
Edit add_attribute(const Tag& tag, std::string_view name, std::uint64_t value) {
    std::size_t at = tag.end - (tag.kind == TagKind::Empty ? 2 : 1);
    std::string text = " ";
    text += name;
    text += "=\"";
    append_decimal(text, value);
    text += '"';
    return Edit{at, 0, std::move(text)};
}

// End of the element whose start tag is `tag`: past its end tag (elements here hold text only).
std::size_t element_end(XmlReader& reader, const Tag& tag) {
    if (tag.kind == TagKind::Empty) return tag.end;
    int depth = 1;
    while (auto next = reader.next()) {
        depth += next->kind == TagKind::Start ? 1 : next->kind == TagKind::End ? -1 : 0;
        if (depth == 0) return next->end;
    }
    return tag.end;
}

// A definedNames block left without names goes as a whole.
void drop_empty_defined_names(std::string& workbook) {
    XmlReader reader(workbook);
    while (auto tag = reader.next()) {
        if (tag->name != "definedNames") continue;
        if (tag->kind == TagKind::Empty) {
            workbook.erase(tag->begin, tag->end - tag->begin);
            return;
        }
        if (tag->kind != TagKind::Start) return;
        std::size_t begin = tag->begin;
        auto next = reader.next();
        if (next && next->kind == TagKind::End && next->name == "definedNames") {
            std::string_view between(workbook.data() + tag->end, next->begin - tag->end);
            if (between.find_first_not_of(" \t\r\n") == npos) workbook.erase(begin, next->end - begin);
        }
        return;
    }
}

}  // namespace

void shift_sheet_positions_after_insert(std::string& workbook, std::size_t position) {
    std::vector<Edit> edits;
    XmlReader reader(workbook);
    while (auto tag = reader.next()) {
        if (!tag->opens()) continue;
        std::vector<std::string_view> names;
        if (tag->name == "definedName") names = {"localSheetId"};
        else if (tag->name == "workbookView") names = {"activeTab", "firstSheet"};
        for (std::string_view name : names) {
            auto at = position_attribute(workbook, *tag, name);
            if (at && at->second >= position) edits.push_back(set_value(workbook, at->first, at->second + 1));
            // An absent active tab is the first sheet: it stays active when one is put before it.
            if (!at && name == "activeTab" && position == 0) edits.push_back(add_attribute(*tag, name, 1));
        }
    }
    apply(workbook, edits);
}

void shift_sheet_positions_after_delete(std::string& workbook, std::size_t position, const std::vector<bool>& visible) {
    // The active tab goes to the sheet that took the deleted one's place, or the nearest visible
    // sheet after it, else before it.
    auto visible_near = [&](std::size_t from) -> std::uint64_t {
        for (std::size_t i = from; i < visible.size(); ++i)
            if (visible[i]) return i;
        for (std::size_t i = std::min(from, visible.size()); i-- > 0;)
            if (visible[i]) return i;
        return 0;
    };
    std::vector<Edit> edits;
    XmlReader reader(workbook);
    while (auto tag = reader.next()) {
        if (!tag->opens()) continue;
        if (tag->name == "definedName") {
            auto at = position_attribute(workbook, *tag, "localSheetId");
            if (!at || at->second < position) continue;
            if (at->second == position) {
                edits.push_back(Edit{tag->begin, element_end(reader, *tag) - tag->begin, ""});
            } else {
                edits.push_back(set_value(workbook, at->first, at->second - 1));
            }
        } else if (tag->name == "workbookView") {
            auto active = position_attribute(workbook, *tag, "activeTab");
            std::uint64_t was = active ? active->second : 0;
            std::uint64_t tab = was > position ? was - 1 : was;
            if (tab >= visible.size() || !visible[tab] || was == position) tab = visible_near(position);
            if (active && tab != was) edits.push_back(set_value(workbook, active->first, tab));
            if (!active && tab != 0) edits.push_back(add_attribute(*tag, "activeTab", tab));
            if (auto at = position_attribute(workbook, *tag, "firstSheet")) {
                std::uint64_t first = at->second > position ? at->second - 1 : at->second;
                if (!visible.empty() && first >= visible.size()) first = visible.size() - 1;
                if (first != at->second) edits.push_back(set_value(workbook, at->first, first));
            }
        }
    }
    apply(workbook, edits);
    drop_empty_defined_names(workbook);
}

}  // namespace qm
