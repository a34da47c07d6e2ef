#pragma once
// The workbook's sheet catalogue at the text level: the sheet-name rule, the `sheets` block of the
// workbook part, and the worksheet relationships.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/formula.hpp"
#include "state/state.hpp"
#include "support/error.hpp"

namespace qm {

struct SheetEntry {
    std::string name;      // entity references resolved
    std::string sheet_id;  // as written; "0" when absent
    std::string rel_id;    // r:id as written
    std::string state;     // "hidden", "veryHidden"; empty when visible
    // The element in the workbook text: [begin, end), its start tag ending at tag_end.
    std::size_t begin = 0, tag_end = 0, end = 0;

    bool visible() const { return state.empty() || state == "visible"; }
};

struct SheetsBlock {
    std::size_t begin = 0;  // just after the `>` of the sheets start tag
    std::size_t end = 0;    // start of "</sheets>"
};

struct ParsedSheets {
    SheetsBlock block;
    std::vector<SheetEntry> entries;
};

struct RelationshipRef {
    std::size_t begin = 0;  // "<Relationship"
    std::size_t end = 0;    // just after the element (its end tag when it has one)
    std::string target;     // raw, entities not resolved (normalize_part_path resolves them)
};

inline constexpr std::string_view kSheetNameEmpty = "Sheet name cannot be empty";
inline constexpr std::string_view kSheetNameTooLong = "Sheet name cannot be longer than 31 characters";
inline constexpr std::string_view kSheetNameForbidden =
    "Sheet name contains forbidden Excel characters (: \\ / ? * [ ])";

inline constexpr std::string_view kSheetNameApostrophe = "Sheet name cannot start or end with an apostrophe";
inline constexpr std::string_view kSheetNameControl =
    "Sheet name cannot contain control characters (U+0000 to U+001F, U+007F to U+009F, U+FFFE, U+FFFF)";

// Trimmed name, or the message of the rule it breaks.
Result<std::string> check_sheet_name(std::string_view name);
// The rule for a name a sheet is given (add, insert, rename, create): check_sheet_name's, and no
// apostrophe at either end and no control character, which readers refuse or repair. Names of
// existing sheets are looked up with check_sheet_name alone, so files from other producers open.
Result<std::string> check_new_sheet_name(std::string_view name);
// Sheet names are one name whatever their case (Unicode simple case folding).
bool same_sheet_name_ignoring_case(std::string_view a, std::string_view b);

Result<SheetsBlock> find_sheets_block(std::string_view workbook);
// Positions in the entries are offsets in `workbook`.
Result<ParsedSheets> parse_sheet_entries(std::string_view workbook);

// Names of every `sheet` element of the package's workbook part, in document order.
Result<std::vector<std::string>> list_sheet_names(const std::string& path);
// The same over the workbook part's text.
std::vector<std::string> sheet_names_in(std::string_view workbook);
// What listing says when the package has no workbook part.
inline constexpr std::string_view kWorkbookNotFound = "workbook.xml not found";

std::optional<std::string> find_sheet_rel_id(std::string_view workbook, std::string_view name);
// The same search over any text: the first `sheet` tag with both a name and an r:id (repeated keys:
// the last wins) whose resolved name matches. `fragment` when the text is element content.
std::optional<std::string> find_sheet_rel_id_in(std::string_view text, bool fragment, std::string_view name);
// The first Relationship element with this Id and a Target, read as XML: attributes in any order,
// either quote, any white space.
std::optional<RelationshipRef> find_relationship(std::string_view rels, std::string_view id);
// The part a worksheet relationship's raw target names, from the workbook part's folder.
std::string normalize_part_path(std::string_view target, std::string_view folder = "xl/");

// Display name of the current sheet: the first sheet entry whose relationship targets the
// current part; nullopt when there is no current sheet or no entry points at it.
std::optional<std::string> current_sheet_name(const EditorState& state);

// Start and empty-element `sheet` tags anywhere in the text, up to the first parse error.
std::size_t count_sheet_elements(std::string_view workbook);

// Adds an empty worksheet named `name` at `position` (clamped to the end) with a fresh part number,
// relationship id and the next free sheetId, and makes it current. Other sheet elements stay as
// written; names scoped by position and the workbook views follow their sheets. On failure the
// state is as it was.
Status add_sheet_at(EditorState& state, std::string_view name, std::uint64_t position);
// The same after every `sheet` element of the workbook part (count_sheet_elements).
Status add_sheet(EditorState& state, std::string_view name);

// Sheet positions in the workbook part after the sheet list changed at `position`: definedName
// localSheetId and workbookView activeTab/firstSheet. On delete, names scoped to the sheet go and
// the active tab moves to a visible sheet (`visible` lists the sheets after the change).
void shift_sheet_positions_after_insert(std::string& workbook, std::size_t position);
void shift_sheet_positions_after_delete(std::string& workbook, std::size_t position, const std::vector<bool>& visible);

// Makes the named sheet current; the sheet it leaves waits in modified_parts. On failure there is
// no current sheet until a later switch succeeds.
Status switch_sheet(EditorState& state, std::string_view name);

// New texts of every part that refers to the changed sheet: the workbook part, the current sheet,
// held parts, and the source's worksheets, charts, tables and pivot caches whose text contains the
// name. `skipped_part` (a sheet being deleted) is not looked at. The state is not changed.
struct ReferenceRewrite {
    std::optional<std::string> workbook;
    std::optional<std::string> current_sheet;
    std::vector<std::pair<std::string, std::string>> parts;
};
Result<ReferenceRewrite> rewrite_sheet_references_in_parts(const EditorState& state, const SheetChange& change,
                                                           std::string_view skipped_part = {});
// Installs the texts; parts move to modified_parts.
void apply_reference_rewrite(EditorState& state, ReferenceRewrite&& rewrite);

// Changes the display name and every reference to the sheet; sheetIds, relationships and part
// names stay.
Status rename_sheet(EditorState& state, std::string_view old_name, std::string_view new_name);

// Removes the sheet's entry and relationship and drops its part from the next save; references to
// it become #REF!, names scoped to it go, and the active tab stays on a visible sheet. Refused when
// it is the last visible sheet while hidden ones remain. A deleted current sheet is replaced by the first remaining one, or by a new Sheet1 when none remains.
Status delete_sheet(EditorState& state, std::string_view name);

}  // namespace qm
