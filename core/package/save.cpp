#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <system_error>
#include <thread>

#include "cells/cells.hpp"
#include "cells/sheet_scan.hpp"
#include "package/package.hpp"
#include "support/numbers.hpp"
#include "support/tag_lexer.hpp"
#include "support/text.hpp"
#include "state/parts.hpp"
#include "support/xml_reader.hpp"
#include "support/deflate.hpp"
#include "support/zip_save.hpp"

#include <zip.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qm {

namespace {

constexpr std::size_t kStoredLimit = 131072;
constexpr std::string_view kWorksheetContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr std::string_view kStylesContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";

// Small XML parts are stored: cheaper to write and to read back than to inflate.
Compression memory_compression(std::string_view name, std::size_t size) {
    return name.ends_with(".xml") && size <= kStoredLimit ? Compression::Store : Compression::Deflate1;
}

// Where a new or recomputed dimension element goes, as (position, length replaced).
std::optional<std::pair<std::size_t, std::size_t>> dimension_place(std::string_view sheet) {
    std::size_t existing = find(sheet, "<dimension");
    if (existing != npos) {
        std::size_t gt = find(sheet, ">", existing);
        if (gt == npos) return std::pair{existing, std::size_t{0}};
        return std::pair{existing, gt + 1 - existing};
    }
    // Schema order: sheetPr, dimension, sheetViews, sheetFormatPr, cols, sheetData. The three
    // before sheetData can only win when they come before it, so the search stops there.
    std::size_t first = find(sheet, "<sheetData");
    std::size_t limit = first == npos ? sheet.size() : first;
    for (std::string_view tag : {"<sheetViews", "<sheetFormatPr", "<cols"})
        first = std::min(first, find_before(sheet, tag, 0, limit));
    if (first == npos) return std::nullopt;
    return std::pair{first, std::size_t{0}};
}

// The next "<" before `limit` that opens a cell candidate ("<c") or a comment, CDATA section or
// processing instruction ("<!", "<?"); `limit` when there is none. Bytes after `limit` up to `stop`
// may be read as the second byte.
const char* next_cell_or_special(const char* p, const char* limit, const char* stop) {
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi8('<'), c = _mm_set1_epi8('c'), bang = _mm_set1_epi8('!'),
                  query = _mm_set1_epi8('?');
    for (; p < limit && stop - p >= 17; p += 16) {
        __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        __m128i wanted = _mm_or_si128(_mm_cmpeq_epi8(next, c),
                                      _mm_or_si128(_mm_cmpeq_epi8(next, bang), _mm_cmpeq_epi8(next, query)));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, lt), wanted)));
        if (mask != 0) return std::min(p + __builtin_ctz(mask), limit);
    }
#endif
    for (; p < limit && stop - p >= 2; ++p)
        if (p[0] == '<' && (p[1] == 'c' || p[1] == '!' || p[1] == '?')) return p;
    return limit;
}

// The cells' bounds: every cell counts, however its tag is written; a cell without `r` at its
// implied place.
struct Extent {
    std::uint64_t min_column = UINT64_MAX, max_column = 0;
    std::uint32_t min_row = UINT32_MAX, max_row = 0;
    bool any = false;
    void add(std::optional<std::uint64_t> column, std::optional<std::uint32_t> row) {
        if (!column || !row) return;
        any = true;
        min_column = std::min(min_column, *column);
        max_column = std::max(max_column, *column);
        min_row = std::min(min_row, *row);
        max_row = std::max(max_row, *row);
    }
    void add(const Extent& other) {
        if (other.any) add(other.min_column, other.min_row), add(other.max_column, other.max_row);
    }
};

// The saved dimension is computed at every save of a changed sheet, so the common markup gets one
// vector pass: where sheetData holds no comment, CDATA section or processing instruction, every
// "<c" followed by white space, "/" or ">" opens a cell. Reads the cells starting in [from, to).
// False (nothing decided) when that part is not of this form or a cell has no `r`; the scanner then
// reads the sheet.
bool plain_cell_refs(std::string_view sheet, std::size_t from, std::size_t to, Extent& extent) {
    const char* const base = sheet.data();
    const char* const stop = base + sheet.size();
    const char* const limit = base + to;
    for (const char* at = next_cell_or_special(base + from, limit, stop); at != limit;
         at = next_cell_or_special(at + 2, limit, stop)) {
        if (at[1] != 'c') return false;
        char next = stop - at > 2 ? at[2] : '>';
        if (!is_xml_space(next) && next != '/' && next != '>') continue;
        // Most writers start a cell with ` r="` and letters and digits: the value is taken in place.
        std::string_view r;
        constexpr std::string_view kR = " r=\"";
        if (stop - at > 24 && std::string_view(at + 2, kR.size()) == kR) {
            const char* value = at + 2 + kR.size();
            const char* end = value;
            while (end - value < 16 && (is_ascii_letter(static_cast<unsigned char>(*end)) ||
                                        is_ascii_digit(static_cast<unsigned char>(*end))))
                ++end;
            if (*end == '"') r = std::string_view(value, static_cast<std::size_t>(end - value));
        }
        if (r.empty()) {
            std::size_t pos = static_cast<std::size_t>(at - base);
            std::size_t gt = sheet.find('>', pos);
            auto attribute = start_tag_attribute(sheet.substr(pos, gt == npos ? npos : gt + 1 - pos), "r");
            if (!attribute) return false;
            r = *attribute;
        }
        auto [column, row] = cell_reference_parts(r);
        extent.add(column, row);
    }
    return true;
}

// Large sheets are read in two halves at once (a cell belongs to the half its "<c" starts in).
constexpr std::size_t kSplitScan = std::size_t(4) << 20;

bool plain_cell_refs(std::string_view sheet, Extent& extent) {
    auto data = find_sheet_data(sheet, true);
    if (!data) return true;  // no cells
    const std::size_t begin = data->content_begin, end = data->content_end;
    if (end - begin >= kSplitScan) {
        const std::size_t middle = begin + (end - begin) / 2;
        Extent second;
        bool second_plain = true;
        std::thread other;
        try {
            other = std::thread([&] { second_plain = plain_cell_refs(sheet, middle, end, second); });
        } catch (const std::system_error&) {
            return plain_cell_refs(sheet, begin, end, extent);  // no thread to be had
        }
        bool first_plain = plain_cell_refs(sheet, begin, middle, extent);
        other.join();
        extent.add(second);
        return first_plain && second_plain;
    }
    return plain_cell_refs(sheet, begin, end, extent);
}

}  // namespace

bool is_worksheet_part(std::string_view name) {
    return name.starts_with("xl/worksheets/") && name.ends_with(".xml");
}

std::optional<TextEdit> sheet_dimension_edit(std::string_view sheet) {
    auto place = dimension_place(sheet);
    if (!place) return std::nullopt;

    Extent extent;
    if (!plain_cell_refs(sheet, extent)) {
        extent = {};
        for_each_sheet_cell(sheet, [&](const SheetRow& row, const SheetCell& cell) { extent.add(cell.column, cell_row(row, cell)); });
    }
    const auto [min_column, max_column, min_row, max_row, any] = extent;

    // A reference that still covers every cell is kept as it is written.
    if (place->second > 0) {
        std::string_view tag = sheet.substr(place->first, place->second);
        if (auto ref = start_tag_attribute(tag, "ref")) {
            auto range = parse_range(*ref);
            if (range && (range->kind == RangeSpec::Kind::Cell || range->kind == RangeSpec::Kind::CellRange)) {
                CellRef a, b;
                if (range->kind == RangeSpec::Kind::Cell) {
                    auto cell = parse_cell_ref(range->cell);
                    if (cell) a = b = *cell;
                    else range = fail("");
                } else {
                    a = range->range.first;
                    b = range->range.second;
                }
                if (range && (!any || (std::min(a.column, b.column) <= min_column &&
                                       std::max(a.column, b.column) >= max_column &&
                                       std::min(a.row, b.row) <= min_row && std::max(a.row, b.row) >= max_row)))
                    return std::nullopt;
            }
        }
    }

    std::string element = "<dimension ref=\"A1";
    if (any && (max_column >= 1 || max_row >= 2)) {
        element += ":";
        append_column_letters(element, max_column);
        append_decimal(element, std::max<std::uint32_t>(max_row, 1));
    }
    element += "\"/>";
    return TextEdit{place->first, place->second, std::move(element)};
}

void fix_sheet_dimension(std::string& sheet) {
    if (auto edit = sheet_dimension_edit(sheet)) splice(sheet, edit->pos, edit->length, edit->text);
}

void relocate_num_fmts(std::string& styles) {
    constexpr std::string_view kClose = "</styleSheet>";
    std::size_t close = rfind(styles, kClose);
    if (close == npos || close + kClose.size() >= styles.size()) return;
    std::size_t open = find(styles, "<numFmts", close + kClose.size());
    if (open == npos) return;
    constexpr std::string_view kBlockEnd = "</numFmts>";
    std::size_t end = find(styles, kBlockEnd, open);
    if (end == npos) return;
    end += kBlockEnd.size();

    std::string block = styles.substr(open, end - open);
    std::string rest = styles;
    rest.erase(open, end - open);
    std::size_t root = find(rest, "<styleSheet");
    if (root == npos) return;
    std::size_t gt = find(rest, ">", root);
    if (gt == npos) return;  // nowhere to put it: the text stays as it was
    insert_at(rest, gt + 1, block);
    styles = std::move(rest);
}

void add_sheet_overrides(std::string& content_types, const std::vector<std::string>& names) {
    // Every insertion goes to the same place, so later names end up in front of earlier ones.
    std::size_t at = rfind(content_types, "</Types>");
    if (at == npos) return;
    for (const std::string& name : names) {
        std::string part_name = "PartName=\"/" + name + "\"";
        if (contains(content_types, part_name)) continue;
        std::string element = "<Override ";
        element += part_name;
        element += " ContentType=\"";
        element += kWorksheetContentType;
        element += "\"/>";
        insert_at(content_types, at, element);
    }
}

void add_styles_override(std::string& content_types, std::string_view part) {
    std::string part_name = "PartName=\"/" + std::string(part) + "\"";
    std::size_t at = rfind(content_types, "</Types>");
    if (at == npos || contains(content_types, part_name)) return;
    insert_at(content_types, at, "<Override " + part_name + " ContentType=\"" + std::string(kStylesContentType) + "\"/>");
}

void remove_sheet_overrides(std::string& content_types, std::string_view name) {
    std::string part_name = "PartName=\"/" + std::string(name) + "\"";
    for (std::size_t at = find(content_types, part_name); at != npos; at = find(content_types, part_name)) {
        std::size_t gt = find(content_types, ">", at);
        if (gt == npos) return;
        std::size_t begin = rfind_before(content_types, "<Override", at);
        if (begin == npos) begin = at;
        content_types.erase(begin, gt + 1 - begin);
    }
}

namespace {

// Whether `text` is what the source entry holds, as the editor would have loaded it. A part read
// through this editor is compared with that copy; otherwise size and checksum come first, so a
// changed part is almost never inflated to find out.
Result<bool> same_as_source(const EditorState& state, zip* archive, std::uint64_t index, std::string_view name,
                            std::string_view text) {
    if (auto loaded = state.loaded_sheets.find(name); loaded != state.loaded_sheets.end())
        return loaded->second == text;
    if (state.unprefixed_parts.contains(name)) {
        // Held text differs from the stored bytes by the namespace rewrite: compared the long way.
        auto source = try_read_entry(archive, name);
        if (!source) return fail(std::move(source.error()));
        if (!*source) return false;
        if (auto plain = unprefix_main_namespace(**source)) return *plain == text;
        return **source == text;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, index, 0, &st) != 0) return false;
    if ((st.valid & ZIP_STAT_SIZE) && st.size != text.size()) return false;
    if ((st.valid & ZIP_STAT_CRC) && st.crc != crc32_update(0, text)) return false;
    // Size and checksum agree: almost surely unchanged, proven without inflating a second copy.
    return entry_equals(archive, index, text);
}

// The whole Relationship element of the given kind, removed; its raw target, if there was one.
std::optional<std::string> remove_relationship_of_kind(std::string& rels, std::string_view kind) {
    auto target = relationship_target_of_kind(rels, kind);
    if (!target) return std::nullopt;
    XmlReader reader(rels);
    std::optional<std::size_t> begin;
    int depth = 0;
    while (auto tag = reader.next()) {
        if (!begin) {
            if (!tag->opens() || tag->name != "Relationship") continue;
            auto type = last_attribute(tag->raw, "Type");
            if (!type) continue;
            std::string resolved = resolve_attribute_value(*type);
            if (!resolved.ends_with(kind) || resolved.size() <= kind.size() ||
                resolved[resolved.size() - kind.size() - 1] != '/')
                continue;
            if (tag->kind == TagKind::Empty) {
                rels.erase(tag->begin, tag->end - tag->begin);
                return target;
            }
            begin = tag->begin;
            continue;
        }
        if (tag->kind == TagKind::Start) ++depth;
        if (tag->kind == TagKind::End && depth-- == 0) {
            rels.erase(*begin, tag->end - *begin);
            return target;
        }
    }
    return std::nullopt;
}

}  // namespace

void request_full_calculation(std::string& workbook) {
    constexpr std::string_view kAttribute = "fullCalcOnLoad";
    // Children of the workbook element that follow calcPr in schema order.
    constexpr std::string_view kAfterCalcPr[] = {"oleSize",        "customWorkbookViews", "pivotCaches",
                                                 "smartTagPr",     "smartTagTypes",       "webPublishing",
                                                 "fileRecoveryPr", "webPublishObjects",   "extLst"};
    XmlReader reader(workbook);
    int depth = 0;
    std::optional<std::size_t> insert_at_pos;
    while (auto tag = reader.next()) {
        if (tag->kind == TagKind::End) {
            if (--depth == 0 && !insert_at_pos) insert_at_pos = tag->begin;  // </workbook>
            continue;
        }
        bool child = depth == 1;
        if (tag->kind == TagKind::Start) ++depth;
        if (!child) continue;
        if (tag->name == "calcPr") {
            std::string_view raw = tag->raw;
            std::optional<std::string_view> value = last_attribute(raw, kAttribute);
            if (value) {
                if (*value == "1" || *value == "true") return;
                std::size_t at = tag->begin + static_cast<std::size_t>(value->data() - raw.data());
                workbook.erase(at, value->size());
                workbook.insert(at, 1, '1');
                return;
            }
            std::size_t close = tag->end - (tag->kind == TagKind::Empty ? 2 : 1);
            insert_at(workbook, close, " fullCalcOnLoad=\"1\"");
            return;
        }
        if (!insert_at_pos && std::find(std::begin(kAfterCalcPr), std::end(kAfterCalcPr), tag->name) !=
                                  std::end(kAfterCalcPr))
            insert_at_pos = tag->begin;
    }
    if (insert_at_pos) insert_at(workbook, *insert_at_pos, "<calcPr fullCalcOnLoad=\"1\"/>");
}

Status save_package(EditorState& state, const std::string& target) {
    // Worksheets written from memory: those changed in this editor, and the current one, read
    // where it lies rather than stashed as a second copy of what may be a very large text.
    std::map<std::string_view, std::string_view> sheets(state.modified_parts.begin(), state.modified_parts.end());
    if (!state.sheet_path.empty()) sheets.insert_or_assign(state.sheet_path, state.sheet_xml);

    auto update = ZipUpdate::open(state.source_path, target);
    if (!update) return fail(std::move(update.error()));
    // Raw copies come from the file on disk: if it is no longer the one the held parts came
    // from, the result would mix two workbooks.
    if (state.source_identity && update->source_identity() != *state.source_identity)
        return fail(source_changed_message(state));
    auto before = file_identity(update->target());
    bool target_is_source = before && state.source_identity && before->device == state.source_identity->device &&
                            before->inode == state.source_identity->inode;
    zip* archive = update->handle();

    // What this save rewrites: held worksheets whose text changed, sheets added, sheets removed.
    std::set<std::string_view> changed_sheets;
    std::set<std::string_view> in_source;
    for (const auto& [name, text] : sheets) {
        zip_int64_t index = zip_name_locate(archive, std::string(name).c_str(), ZIP_FL_ENC_RAW);
        if (index < 0) continue;
        in_source.insert(name);
        auto same = same_as_source(state, archive, static_cast<std::uint64_t>(index), name, text);
        if (!same) return fail(std::move(same.error()));
        if (!*same) changed_sheets.insert(name);
    }
    bool sheets_added = false;
    for (const auto& [name, text] : sheets)
        if (!in_source.contains(name) && !state.deleted_parts.contains(name)) sheets_added = true;
    bool cells_changed = !changed_sheets.empty() || sheets_added || !state.deleted_parts.empty();

    // libzip reads every text while it writes, at commit: what is built here must outlive it.
    std::deque<std::string> built;

    // The calculation chain lists formula cells by sheet: stale after any of these edits, and the
    // application rebuilds a missing one.
    std::string& rels = built.emplace_back(state.workbook_rels_xml);
    std::string& workbook = built.emplace_back(state.workbook_xml);
    std::set<std::string, std::less<>> dropped;
    if (cells_changed) {
        if (auto calc_chain = remove_relationship_of_kind(rels, "calcChain"))
            dropped.insert(resolve_target(part_folder(state.workbook_part), *calc_chain));
        request_full_calculation(workbook);
    }
    // A deleted sheet's relationships would otherwise stay behind, naming a part that is gone.
    for (const std::string& name : state.deleted_parts) dropped.insert(relationships_part(name));
    const auto worksheets = worksheet_targets(rels, part_folder(state.workbook_part));
    auto is_sheet = [&](std::string_view name) { return is_worksheet_part(name) || worksheets.contains(name); };

    // An entry that cannot be opened is copied unchanged; a damaged one fails the save.
    auto content_types = try_read_entry(archive, kContentTypesPart);
    if (!content_types) return fail(std::move(content_types.error()));
    std::string original_types = *content_types ? **content_types : std::string();
    if (*content_types) {
        std::vector<std::string> names;
        // Sheets of the source keep their content types as they are.
        for (const auto& [name, text] : sheets)
            if (!in_source.contains(name) && is_sheet(name)) names.emplace_back(name);  // sorted, unique
        add_sheet_overrides(**content_types, names);
        for (const std::string& name : state.deleted_parts) remove_sheet_overrides(**content_types, name);
        if (state.styles_new && !state.styles_xml.empty()) add_styles_override(**content_types, state.styles_part);
        for (const std::string& name : dropped) remove_sheet_overrides(**content_types, name);
    }

    // A worksheet is written as three pieces around its dimension element, so a large sheet is
    // not copied again for a one-element change.
    auto write_sheet = [&](std::string_view name, std::string_view text, auto&& put) -> Status {
        std::optional<TextEdit> edit;
        if (is_sheet(name)) edit = sheet_dimension_edit(text);
        if (!edit) return put({text}, memory_compression(name, text.size()));
        const std::string& element = built.emplace_back(std::move(edit->text));
        std::size_t size = text.size() - edit->length + element.size();
        return put({text.substr(0, edit->pos), element, text.substr(edit->pos + edit->length)},
                   memory_compression(name, size));
    };

    std::set<std::string_view> written;
    for (std::uint64_t i = 0; i < update->entry_count(); ++i) {
        auto name = update->entry_name(i);
        if (!name) return fail(std::move(name.error()));
        auto replace = [&](std::initializer_list<std::string_view> pieces, Compression compression) {
            return update->replace(i, pieces, compression);
        };
        // A held part whose text is what the source holds stays as stored.
        auto replace_if_changed = [&](std::string_view text) -> Status {
            auto same = same_as_source(state, archive, i, *name, text);
            if (!same) return fail(std::move(same.error()));
            if (*same) return {};
            return replace({text}, memory_compression(*name, text.size()));
        };
        Status done;
        if (state.deleted_parts.contains(*name) || dropped.contains(*name)) {
            done = update->remove(i);
        } else if (auto sheet = sheets.find(*name); sheet != sheets.end()) {
            written.insert(sheet->first);
            if (changed_sheets.contains(sheet->first)) done = write_sheet(sheet->first, sheet->second, replace);
        } else if (*name == state.styles_part && !state.styles_xml.empty()) {
            written.insert(state.styles_part);
            std::string& styles = built.emplace_back(state.styles_xml);
            relocate_num_fmts(styles);
            done = replace_if_changed(styles);
        } else if (*name == state.workbook_part) {
            done = replace_if_changed(workbook);
        } else if (*name == kContentTypesPart && *content_types) {
            if (**content_types != original_types)
                done = replace({**content_types}, memory_compression(*name, (*content_types)->size()));
        } else if (*name == state.workbook_rels_part) {
            done = replace_if_changed(rels);
        }
        if (!done) return done;
    }

    // A style sheet created in this editor, then sheets added in it, follow every source entry.
    if (!state.styles_xml.empty() && !written.contains(state.styles_part))
        if (auto done = update->add(state.styles_part, {state.styles_xml},
                                    memory_compression(state.styles_part, state.styles_xml.size()));
            !done)
            return done;
    for (const auto& [name, text] : sheets) {
        if (written.contains(name) || state.deleted_parts.contains(name)) continue;
        auto add = [&](std::initializer_list<std::string_view> pieces, Compression compression) {
            return update->add(name, pieces, compression);
        };
        if (auto done = write_sheet(name, text, add); !done) return done;
    }
    // Writing happens here (the temporary file, the copies, the rename): name the target.
    if (auto done = update->commit(); !done) return fail(path_error("write", target, std::move(done.error())));
    // The editor now continues from the file it wrote.
    if (target_is_source) {
        // The next save compares with this file: the editor holds what it now contains.
        state.source_identity = file_identity(state.source_path);
        state.workbook_xml = std::move(workbook);
        state.workbook_rels_xml = std::move(rels);
    }
    return {};
}

}  // namespace qm
