#pragma once
// Where a package keeps the parts the editor holds, and the one rewrite a held part may get at
// load: the main namespace moved from a prefix to the default, so every search sees plain names.
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "support/error.hpp"
#include "support/zip_archive.hpp"

namespace qm {

// Folder of a part name with its trailing slash ("xl/" for "xl/workbook.xml"; "" at the root).
std::string part_folder(std::string_view part);
// The relationships part of a part ("xl/_rels/workbook.xml.rels" for "xl/workbook.xml").
std::string relationships_part(std::string_view part);
// The part a relationship target names, seen from `folder`: absolute targets start at the
// package root, "." and ".." segments are resolved, and a target already starting with the
// folder is taken as written (older producers write "xl/..." from "xl/").
std::string resolve_target(std::string_view folder, std::string_view target);
// Targets (entities resolved) of the Relationships whose Type ends with `type_suffix`, resolved
// from `folder`, in document order.
std::vector<std::string> relationship_targets(std::string_view rels, std::string_view folder,
                                              std::string_view type_suffix);
// Targets of the workbook's worksheet relationships, resolved from the workbook's folder: its
// sheets, wherever the package keeps them.
std::set<std::string, std::less<>> worksheet_targets(std::string_view workbook_rels, std::string_view folder);
// Target (entities resolved) of the first Relationship whose Type is `kind` under either
// namespace family ("styles", "worksheet", "calcChain", ...).
std::optional<std::string> relationship_target_of_kind(std::string_view rels, std::string_view kind);
// The root element's namespace is the strict family's main namespace (on the default or a prefix).
bool is_strict_document(std::string_view text);

// `text` with the prefix its root element uses for the main namespace taken off every tag name
// and a default-namespace declaration added to the root, so the document means the same. nullopt
// when the root has no such prefix or when the rewrite could change meaning (a default namespace
// declared anywhere, the prefix redeclared, an element in no namespace, malformed XML).
std::optional<std::string> unprefix_main_namespace(std::string_view text);

struct PackageParts {
    std::string workbook;
    std::string workbook_rels;
    std::string styles;
};
// Follows _rels/.rels to the workbook part and its relationships to the style sheet; a name that
// is not given, or names no entry, falls back to the fixed one.
PackageParts locate_parts(const ZipReader& zip);

// A part the editor holds, unprefixed when it needs it (its name then goes into `unprefixed`).
Result<std::string> read_held_part(const ZipReader& zip, std::string_view name, std::string_view not_found,
                                   std::set<std::string, std::less<>>& unprefixed);

}  // namespace qm
