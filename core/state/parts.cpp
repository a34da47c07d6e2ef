#include "state/parts.hpp"

#include <vector>

#include "state/namespaces.hpp"
#include "state/state.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {
constexpr std::string_view kPackageRelsPart = "_rels/.rels";

bool is_main_namespace(std::string_view uri) {
    return uri == kTransitional.main || uri == kStrict.main;
}

// The namespace the root element's name is in, as declared on the root itself.
std::optional<std::string> root_namespace(std::string_view text) {
    XmlReader reader(text);
    auto root = reader.next();
    if (!root || !root->opens()) return std::nullopt;
    std::size_t colon = root->name.find(':');
    std::string declaration = colon == std::string_view::npos
                                  ? std::string("xmlns")
                                  : "xmlns:" + std::string(root->name.substr(0, colon));
    auto uri = last_attribute(root->raw, declaration);
    if (!uri) return std::nullopt;
    return resolve_attribute_value(*uri);
}
}  // namespace

std::string part_folder(std::string_view part) {
    std::size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

std::string relationships_part(std::string_view part) {
    std::size_t slash = part.rfind('/');
    std::size_t name = slash == std::string_view::npos ? 0 : slash + 1;
    return std::string(part.substr(0, name)) + "_rels/" + std::string(part.substr(name)) + ".rels";
}

std::vector<std::string> relationship_targets(std::string_view rels, std::string_view folder,
                                              std::string_view type_suffix) {
    std::vector<std::string> parts;
    XmlReader reader(rels);
    while (auto tag = reader.next()) {
        if (!tag->opens() || tag->name != "Relationship") continue;
        auto type = last_attribute(tag->raw, "Type");
        auto target = last_attribute(tag->raw, "Target");
        if (type && target && resolve_attribute_value(*type).ends_with(type_suffix))
            parts.push_back(resolve_target(folder, resolve_attribute_value(*target)));
    }
    return parts;
}

std::set<std::string, std::less<>> worksheet_targets(std::string_view workbook_rels, std::string_view folder) {
    auto targets = relationship_targets(workbook_rels, folder, "/worksheet");
    return {std::make_move_iterator(targets.begin()), std::make_move_iterator(targets.end())};
}

std::string resolve_target(std::string_view folder, std::string_view target) {
    std::string path;
    if (target.starts_with('/')) {
        path = target;
    } else if (!folder.empty() && target.starts_with(folder)) {
        path = target;
    } else {
        path = std::string(folder) + std::string(target);
    }
    std::vector<std::string_view> segments;
    std::string_view rest = path;
    while (!rest.empty()) {
        std::size_t slash = rest.find('/');
        std::string_view segment = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (segment.empty() || segment == ".") continue;
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
            continue;
        }
        segments.push_back(segment);
    }
    std::string out;
    for (std::string_view segment : segments) {
        if (!out.empty()) out += '/';
        out += segment;
    }
    return out;
}

std::optional<std::string> relationship_target_of_kind(std::string_view rels, std::string_view kind) {
    XmlReader reader(rels);
    while (auto tag = reader.next()) {
        if (!tag->opens() || tag->name != "Relationship") continue;
        auto type = last_attribute(tag->raw, "Type");
        auto target = last_attribute(tag->raw, "Target");
        if (!type || !target) continue;
        std::string resolved = resolve_attribute_value(*type);
        for (const Namespaces* family : {&kTransitional, &kStrict}) {
            std::string_view prefix = family->relationships;
            if (resolved.size() == prefix.size() + 1 + kind.size() && resolved.starts_with(prefix) &&
                resolved[prefix.size()] == '/' && std::string_view(resolved).ends_with(kind))
                return resolve_attribute_value(*target);
        }
    }
    return std::nullopt;
}

bool is_strict_document(std::string_view text) {
    auto uri = root_namespace(text);
    return uri && *uri == kStrict.main;
}

std::optional<std::string> unprefix_main_namespace(std::string_view text) {
    XmlReader reader(text);
    auto root = reader.next();
    if (!root || !root->opens()) return std::nullopt;
    std::size_t colon = root->name.find(':');
    if (colon == std::string_view::npos) return std::nullopt;  // the common form: nothing to do
    std::string_view prefix = root->name.substr(0, colon + 1);  // with its colon
    std::string declaration = "xmlns:" + std::string(prefix.substr(0, colon));
    auto uri = last_attribute(root->raw, declaration);
    if (!uri) return std::nullopt;
    std::string main = resolve_attribute_value(*uri);
    if (!is_main_namespace(main)) return std::nullopt;

    // Offsets of the prefixes to drop, checked tag by tag before anything is written.
    std::vector<std::size_t> cuts;
    bool meaning_kept = true;
    auto visit = [&](const Tag& tag, bool is_root) {
        if (tag.opens()) {
            for_each_attribute(tag.raw, [&](const Attribute& a) {
                if (a.name == "xmlns" || (!is_root && a.name == declaration)) meaning_kept = false;
            });
        }
        if (!tag.name.starts_with(prefix)) {
            // Unprefixed here is no namespace; the new default declaration would capture it.
            if (tag.name.find(':') == std::string_view::npos) meaning_kept = false;
            return;
        }
        cuts.push_back(tag.begin + (tag.kind == TagKind::End ? 2 : 1));
    };
    visit(*root, true);
    while (meaning_kept) {
        auto tag = reader.next();
        if (!tag) break;
        visit(*tag, false);
    }
    if (!meaning_kept || reader.error()) return std::nullopt;

    std::string out;
    out.reserve(text.size() + main.size() + 10);
    std::size_t from = 0;
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        out.append(text, from, cuts[i] - from);
        from = cuts[i] + prefix.size();
        if (i == 0) {
            // The root keeps its prefix declaration (attribute values may name the prefix).
            std::size_t name_end = from + (root->name.size() - prefix.size());
            out.append(text, from, name_end - from);
            out += " xmlns=\"";
            out += escape_attribute(main);
            out += '"';
            from = name_end;
        }
    }
    out.append(text, from, text.size() - from);
    return out;
}

PackageParts locate_parts(const ZipReader& zip) {
    PackageParts parts{std::string(kWorkbookPart), "", std::string(kStylesPart)};
    auto package_rels = zip.read_entry(kPackageRelsPart, "");
    if (package_rels) {
        if (auto target = relationship_target_of_kind(*package_rels, "officeDocument")) {
            std::string name = resolve_target("", *target);
            if (zip.has_entry(name)) parts.workbook = std::move(name);
        }
    }
    parts.workbook_rels = relationships_part(parts.workbook);
    auto rels = zip.read_entry(parts.workbook_rels, "");
    if (rels) {
        if (auto target = relationship_target_of_kind(*rels, "styles")) {
            std::string name = resolve_target(part_folder(parts.workbook), *target);
            if (zip.has_entry(name)) parts.styles = std::move(name);
        }
    }
    return parts;
}

Result<std::string> read_held_part(const ZipReader& zip, std::string_view name, std::string_view not_found,
                                   std::set<std::string, std::less<>>& unprefixed) {
    auto text = zip.read_entry(name, not_found);
    if (!text) return text;
    if (auto plain = unprefix_main_namespace(*text)) {
        unprefixed.emplace(name);
        return std::move(*plain);
    }
    return text;
}

}  // namespace qm
