#pragma once
// What one Editor owns: the source path, the current worksheet, the workbook, relationships and
// style-sheet texts, and the tables of worksheet texts changed, read or removed in this editor.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "state/namespaces.hpp"
#include "support/error.hpp"
#include "support/zip_archive.hpp"

namespace qm {

struct StyleIndex;     // built lazily by the style layer
struct CellQueue;      // single-cell writes held by the cell layer until something reads the sheet
struct FormulaGroups;  // shared and array formulas of a worksheet, read at its first write
struct ReadCache;      // built lazily by reads

inline constexpr std::string_view kWorkbookPart = "xl/workbook.xml";
inline constexpr std::string_view kWorkbookRelsPart = "xl/_rels/workbook.xml.rels";
inline constexpr std::string_view kStylesPart = "xl/styles.xml";
inline constexpr std::string_view kContentTypesPart = "[Content_Types].xml";

struct EditorState {
    std::string source_path;
    // The source file as opened: a save refuses to build on a file replaced since.
    std::optional<FileIdentity> source_identity;
    // Where this package keeps its parts, from its relationships (the fixed names when it says
    // nothing), and the namespace family new markup must use.
    std::string workbook_part{kWorkbookPart};
    std::string workbook_rels_part{kWorkbookRelsPart};
    std::string styles_part{kStylesPart};
    bool strict = false;
    // Held parts whose source text had the main namespace on a prefix and was rewritten at load.
    std::set<std::string, std::less<>> unprefixed_parts;
    // Table parts each worksheet's relationships name, looked up once per sheet.
    std::map<std::string, std::vector<std::string>, std::less<>> sheet_table_parts;
    std::string sheet_path;  // empty only after a failed sheet switch
    std::string sheet_xml;
    // Row counter of the current sheet. When a sheet becomes current its last row element is not
    // looked for at once (a full parse of a large sheet costs more than inflating it): the scan
    // is owed (`last_row_pending`) and folded in by resolve_last_row (cells/sheet_scan.hpp) before anything reads the
    // counter. Writers only raise it with max(), and rows they add at the end of sheetData
    // exceed every existing row, so the late scan gives the value an early one would have.
    std::uint32_t last_row = 0;
    bool last_row_pending = false;
    std::string workbook_xml;
    std::string workbook_rels_xml;
    std::string styles_xml;  // empty while the package has no style sheet
    // The package has no style sheet part: saving adds the one a style call created.
    bool styles_new = false;
    std::shared_ptr<StyleIndex> style_index;  // absent until a style operation needs it
    // Present when single-cell writes are buffered (the Python editor): they are merged into
    // `sheet_xml` in one pass by flush_cell_queue, which must run before anything else reads it.
    std::shared_ptr<CellQueue> cell_queue;
    std::shared_ptr<ReadCache> read_cache;    // absent until a read needs it
    // Ordered maps: saves write added sheets in a stable order.
    std::map<std::string, std::string, std::less<>> modified_parts;
    std::map<std::string, std::string, std::less<>> loaded_sheets;
    std::set<std::string, std::less<>> deleted_parts;
    std::map<std::string, std::shared_ptr<FormulaGroups>, std::less<>> formula_groups;
};

// A sheet's text just became current: its counter starts from its last row element.
inline void owe_last_row(EditorState& state) {
    state.last_row = 0;
    state.last_row_pending = true;
}

inline const Namespaces& namespaces(const EditorState& state) { return state.strict ? kStrict : kTransitional; }

// The refusal of any read or save on a source replaced since open.
std::string source_changed_message(const EditorState& state);
// The source archive, when it is still the file this editor opened.
Result<ZipReader> open_unchanged_source(const EditorState& state);

// Text of a worksheet part: from modified_parts, then loaded_sheets, then the source file (which
// fills loaded_sheets).
Result<std::string> load_sheet_text(EditorState& state, std::string_view part_name);
// The same text for a sheet about to become current, which holds it alone: a copy in
// loaded_sheets is moved out rather than copied, and a sheet read from the source is not kept
// there too (a save compares it with the source by size and checksum instead).
Result<std::string> take_sheet_text(EditorState& state, std::string_view part_name);

// Store the current sheet's text in modified_parts (when there is a current sheet).
void stash_current_sheet(EditorState& state);

// The same for a sheet being left: its text is moved rather than copied (worksheets can be very
// large), and the editor has no current sheet afterwards.
void leave_current_sheet(EditorState& state);

}  // namespace qm
