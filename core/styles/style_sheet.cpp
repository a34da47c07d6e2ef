// The style-sheet cache, the blocks a write needs, and the appends (font, fill, border, number
// format, cell format).
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include "state/parts.hpp"
#include "styles/attributes.hpp"
#include "styles/styles.hpp"
#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

constexpr std::string_view kHorizontalWords[] = {"left", "center", "right", "fill", "justify"};
constexpr std::string_view kVerticalWords[] = {"top", "center", "bottom", "justify"};

struct BuiltinFormat {
    std::string_view code;
    std::uint32_t id;
};
constexpr BuiltinFormat kBuiltinFormats[] = {
    {"General", 0}, {"0", 1},     {"0.00", 2},      {"#,##0", 3}, {"#,##0.00", 4},
    {"0%", 9},      {"0.00%", 10}, {"0.00E+00", 11}, {"@", 49},
};

constexpr std::string_view kBlockNames[] = {"numFmts",     "fonts",  "fills", "borders",     "cellStyleXfs", "cellXfs",
                                            "cellStyles",  "dxfs",   "tableStyles", "colors", "extLst"};
constexpr unsigned kBlockCount = std::size(kBlockNames);

constexpr std::string_view kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kStrictMainNamespace = "http://purl.oclc.org/ooxml/spreadsheetml/main";
constexpr std::string_view kStylesRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr std::string_view kStrictStylesRelType = "http://purl.oclc.org/ooxml/officeDocument/relationships/styles";

std::string_view local_name(std::string_view qname) {
    std::size_t colon = qname.find(':');
    return colon == npos ? qname : qname.substr(colon + 1);
}

std::string_view name_prefix(std::string_view qname) {
    std::size_t colon = qname.find(':');
    return colon == npos ? std::string_view() : qname.substr(0, colon + 1);
}

std::optional<StyleBlock> block_of(std::string_view local) {
    for (unsigned i = 0; i < kBlockCount; ++i)
        if (kBlockNames[i] == local) return static_cast<StyleBlock>(i);
    return std::nullopt;
}

std::string_view block_name(StyleBlock block) { return kBlockNames[static_cast<unsigned>(block)]; }

// The entry element of the blocks whose entries the index keys.
std::string_view entry_name(StyleBlock block) {
    switch (block) {
        case StyleBlock::Fonts: return "font";
        case StyleBlock::Fills: return "fill";
        case StyleBlock::Borders: return "border";
        case StyleBlock::CellXfs: return "xf";
        default: return {};
    }
}

std::string resolved(std::string_view raw) {
    std::string text = is_valid_utf8(raw) ? std::string(raw) : to_utf8_lossy(raw);
    if (text.find_first_of("&<>'\"\t\n\r") != npos) text = resolve_attribute_value(text);
    return text;
}

// The escaped form under which codes are keyed: what escape_text makes of the attribute's value.
std::string escaped_form(std::string_view raw) { return escape_text(resolved(raw)); }

// Runs `on_tag` over every tag of the text until it returns false; the reader's error fails.
template <class F>
Status each_tag(std::string_view text, bool fragment, F&& on_tag) {
    XmlReader reader(text, fragment);
    while (auto tag = reader.next()) {
        Result<bool> more = on_tag(*tag);
        if (!more) return fail(std::move(more.error()));
        if (!*more) return {};
    }
    if (reader.error()) return fail(*reader.error());
    return {};
}

// code <-> id, dropping any earlier relation of either side so the two maps stay each other's
// inverse (the last numFmt of a code or an id wins).
void record_code(StyleIndex& index, std::string escaped, std::string plain, std::uint32_t id) {
    if (auto old = index.codes_by_id.find(id); old != index.codes_by_id.end()) {
        auto back = index.codes_by_text.find(escape_text(old->second));
        if (back != index.codes_by_text.end() && back->second == id) index.codes_by_text.erase(back);
    }
    if (auto old = index.codes_by_text.find(escaped); old != index.codes_by_text.end()) {
        auto back = index.codes_by_id.find(old->second);
        if (back != index.codes_by_id.end() && escape_text(back->second) == escaped)
            index.codes_by_id.erase(back);
    }
    index.codes_by_text[std::move(escaped)] = id;
    index.codes_by_id[id] = std::move(plain);
}

// One tag's share of a canonical key. Separators no markup holds keep the key unambiguous.
void append_canonical(std::string& key, const Tag& tag) {
    if (tag.kind == TagKind::End) {
        key += "\x01/";
        return;
    }
    key += '\x01';
    key += local_name(tag.name);
    std::vector<std::pair<std::string_view, std::string>> attributes;
    for_each_attribute(tag.raw, [&](const Attribute& a) {
        if (a.name == "xmlns" || a.name.starts_with("xmlns:")) return;
        std::string value = resolved(a.raw_value);
        if (a.name == "rgb") value = ascii_uppercase(value);
        attributes.emplace_back(a.name, std::move(value));
    });
    std::sort(attributes.begin(), attributes.end());
    for (const auto& [name, value] : attributes) {
        key += '\x02';
        key += name;
        key += '\x03';
        key += value;
    }
    if (tag.kind == TagKind::Empty) key += "\x01/";
}

std::optional<std::uint32_t> id_attribute(std::string_view tag, std::string_view name) {
    auto raw = first_attribute(tag, name);
    if (!raw) return std::nullopt;
    return try_parse_u32(*raw).value_or(0);
}

template <std::size_t N>
std::optional<std::uint8_t> word_code(const std::string_view (&words)[N], std::string_view word) {
    for (std::size_t i = 0; i < N; ++i)
        if (words[i] == word) return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

bool true_word(std::optional<std::string_view> raw) { return raw && (*raw == "1" || *raw == "true"); }

// The AlignSpec view of an `alignment` tag: every schema word is accepted; those an AlignSpec
// cannot express leave the code absent.
Alignment alignment_of(std::string_view tag) {
    Alignment align;
    if (auto word = first_attribute(tag, "horizontal")) align.horiz = word_code(kHorizontalWords, resolved(*word));
    if (auto word = first_attribute(tag, "vertical")) align.vert = word_code(kVerticalWords, resolved(*word));
    align.wrap = true_word(first_attribute(tag, "wrapText"));
    return align;
}

void start_cell_format(CellFormat& format, std::string_view tag) {
    format = CellFormat{};
    format.font_id = id_attribute(tag, "fontId");
    format.fill_id = id_attribute(tag, "fillId");
    format.border_id = id_attribute(tag, "borderId");
    format.num_fmt_id = id_attribute(tag, "numFmtId").value_or(0);
}

// Where each top-level block stands, for inserting, opening and counting blocks.
struct BlockPlace {
    std::optional<StyleBlock> block;
    std::string qname;
    std::size_t begin = 0, start_end = 0;
    bool empty = false;
    bool counted = false;
    std::uint32_t entries = 0;
};

struct Layout {
    std::string prefix;
    std::string root_name;
    std::size_t root_begin = npos, root_start_end = 0, root_close = npos;
    bool root_empty = false;
    std::vector<BlockPlace> blocks;
};

Result<Layout> layout_of(std::string_view text) {
    Layout layout;
    int depth = 0;
    Status st = each_tag(text, false, [&](const Tag& tag) -> Result<bool> {
        if (tag.kind == TagKind::End) {
            if (--depth == 0) layout.root_close = tag.begin;
            return true;
        }
        if (depth == 0) {
            layout.root_name = std::string(tag.name);
            layout.prefix = std::string(name_prefix(tag.name));
            layout.root_begin = tag.begin;
            layout.root_start_end = tag.end;
            layout.root_empty = tag.kind == TagKind::Empty;
        } else if (depth == 1) {
            layout.blocks.push_back(BlockPlace{block_of(local_name(tag.name)), std::string(tag.name), tag.begin, tag.end,
                                               tag.kind == TagKind::Empty, first_attribute(tag.raw, "count").has_value(), 0});
        } else if (depth == 2) {
            ++layout.blocks.back().entries;
        }
        if (tag.kind == TagKind::Start) ++depth;
        return true;
    });
    if (!st) return fail(std::move(st.error()));
    if (layout.root_begin == npos) return fail("styles.xml has no root element");
    return layout;
}

// `markup` (unprefixed elements, no comments) with every element name given the prefix `p`.
std::string with_prefix(std::string_view markup, std::string_view p) {
    if (p.empty()) return std::string(markup);
    std::string out;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        out += markup[i];
        if (markup[i] != '<') continue;
        if (i + 1 < markup.size() && markup[i + 1] == '/') out += markup[++i];
        out += p;
    }
    return out;
}

// A block as a new style sheet holds it: the entries every reader expects at index 0. The
// entries are written unprefixed and given the root's prefix afterwards.
std::string default_block(StyleBlock block, std::string_view p) {
    std::string_view entries;
    std::string_view count = "0";
    switch (block) {
        case StyleBlock::Fonts:
            entries = "<font><sz val=\"11\"/><name val=\"Calibri\"/></font>";
            count = "1";
            break;
        case StyleBlock::Fills:
            entries = "<fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill>";
            count = "2";
            break;
        case StyleBlock::Borders:
            entries = "<border><left/><right/><top/><bottom/><diagonal/></border>";
            count = "1";
            break;
        case StyleBlock::CellStyleXfs:
            entries = "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>";
            count = "1";
            break;
        case StyleBlock::CellXfs:
            entries = "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>";
            count = "1";
            break;
        case StyleBlock::CellStyles:
            entries = "<cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>";
            count = "1";
            break;
        default: break;
    }
    std::string out = "<";
    out += block_name(block);
    if (block != StyleBlock::Colors && block != StyleBlock::ExtLst) {
        out += " count=\"";
        out += count;
        out += '"';
    }
    out += '>';
    out += entries;
    out += "</";
    out += block_name(block);
    out += '>';
    return with_prefix(out, p);
}

// One repair of the text toward `blocks`, or false when there is nothing left to repair.
Result<bool> repair_once(std::string& text, std::uint32_t blocks) {
    auto layout = layout_of(text);
    if (!layout) return fail(std::move(layout.error()));
    const Layout& l = *layout;
    auto open_tag = [&](std::size_t begin, std::size_t end, std::string_view qname, std::string_view extra) {
        std::string_view tag = std::string_view(text).substr(begin, end - begin);
        std::string opened(tag.substr(0, tag.rfind('/')));
        opened += extra;
        opened += "></";
        opened += qname;
        opened += '>';
        splice(text, begin, end - begin, opened);
    };
    if (l.root_empty) {
        open_tag(l.root_begin, l.root_start_end, l.root_name, "");
        return true;
    }
    for (unsigned b = 0; b < kBlockCount; ++b) {
        if (!(blocks & (1u << b))) continue;
        auto place = std::find_if(l.blocks.begin(), l.blocks.end(),
                                  [&](const BlockPlace& p) { return p.block && static_cast<unsigned>(*p.block) == b; });
        if (place == l.blocks.end()) {
            std::size_t at = l.root_close;
            for (const BlockPlace& p : l.blocks)
                if (p.block && static_cast<unsigned>(*p.block) > b) {
                    at = p.begin;
                    break;
                }
            insert_at(text, at, default_block(static_cast<StyleBlock>(b), l.prefix));
            return true;
        }
        if (place->empty) {
            open_tag(place->begin, place->start_end, place->qname, place->counted ? "" : " count=\"0\"");
            return true;
        }
        if (!place->counted) {
            insert_at(text, place->begin + 1 + place->qname.size(), " count=\"" + to_decimal(place->entries) + "\"");
            return true;
        }
    }
    return false;
}

// A new, empty style sheet and the relationship that makes it the workbook's: beside the workbook
// part, or where a relationship the package already has points.
Status create_style_sheet(EditorState& state) {
    std::string& rels = state.workbook_rels_xml;
    if (auto target = relationship_target_of_kind(rels, "styles")) {
        state.styles_part = resolve_target(part_folder(state.workbook_part), *target);
    } else {
        std::size_t close = rfind(rels, "</Relationships>");
        if (close == npos) return fail(state.workbook_rels_part + ": </Relationships> not found");
        std::uint64_t n = 1;
        for (std::size_t at = find(rels, "Id=\"rId"); at != npos; at = find(rels, "Id=\"rId", at + 1)) {
            std::size_t digits = at + 7, end = digits;
            while (end < rels.size() && is_ascii_digit(static_cast<unsigned char>(rels[end]))) ++end;
            if (auto id = try_parse_u32(std::string_view(rels).substr(digits, end - digits)))
                n = std::max<std::uint64_t>(n, std::uint64_t(*id) + 1);
        }
        std::string element = "<Relationship Id=\"rId" + to_decimal(n) + "\" Type=\"" +
                              std::string(state.strict ? kStrictStylesRelType : kStylesRelType) +
                              "\" Target=\"styles.xml\"/>";
        insert_at(rels, close, element);
        state.styles_part = part_folder(state.workbook_part) + "styles.xml";
    }
    state.styles_xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<styleSheet xmlns=\"" +
                       std::string(state.strict ? kStrictMainNamespace : kMainNamespace) + "\"/>";
    return {};
}

// Appends `markup` as the last entry of the ready block `block`, raising its count.
Status insert_entry(EditorState& state, const StyleIndex& index, StyleBlock block, std::string_view markup) {
    std::string close = "</" + index.prefix + std::string(block_name(block)) + ">";
    std::string& text = state.styles_xml;
    std::size_t at = rfind(text, close);
    if (at == npos) return fail("styles.xml: " + close + " not found");
    std::string next;
    next.reserve(text.size() + markup.size() + 8);
    next.append(text, 0, at);
    next.append(markup);
    next.append(text, at);
    if (Status st = bump_count(next, at + markup.size()); !st) return st;
    text = std::move(next);
    return {};
}

std::string default_cell_format(std::string_view p) {
    return with_prefix("<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>", p);
}

Attributes attributes_of(std::string_view tag) {
    Attributes attributes;
    for_each_attribute(tag, [&](const Attribute& a) { attributes.emplace_back(std::string(a.name), std::string(a.raw_value)); });
    return attributes;
}

// Replaces an alignment word an AlignSpec can express by the request's, or removes it when the
// request has none; other words stay (the request cannot have meant them).
template <std::size_t N>
void lay_word(Attributes& attributes, std::string_view name, const std::string_view (&words)[N],
              std::optional<std::uint8_t> code) {
    if (code) {
        set_attribute(attributes, name, std::string(words[*code]));
        return;
    }
    auto current = attribute_of(attributes, name);
    if (current && word_code(words, resolved(*current))) erase_attribute(attributes, name);
}

// The cell format `base` with `change` laid over it: every attribute and child the change does
// not touch is copied as it stands.
Result<std::string> derived_markup(std::string_view base, const StyleSpec& change,
                                   std::optional<std::uint32_t> num_fmt_id, std::string_view prefix) {
    std::string xf_name;
    Attributes xf;
    std::optional<Attributes> alignment;
    std::string alignment_name = std::string(prefix) + "alignment";
    std::string rest;  // other children (protection, extLst), as written
    int depth = 0;
    std::size_t other_begin = npos;  // start of another child being copied
    Status st = each_tag(base, true, [&](const Tag& tag) -> Result<bool> {
        if (tag.kind == TagKind::End) {
            if (--depth == 1 && other_begin != npos) {
                rest.append(base.substr(other_begin, tag.end - other_begin));
                other_begin = npos;
            }
            return true;
        }
        if (depth == 0) {
            xf_name = std::string(tag.name);
            xf = attributes_of(tag.raw);
        } else if (depth == 1) {
            if (local_name(tag.name) == "alignment") {
                alignment_name = std::string(tag.name);
                alignment = attributes_of(tag.raw);
            } else if (tag.kind == TagKind::Empty) {
                rest.append(tag.raw);
            } else {
                other_begin = tag.begin;
            }
        }
        if (tag.kind == TagKind::Start) ++depth;
        return true;
    });
    if (!st) return fail(std::move(st.error()));
    if (xf_name.empty()) return fail("cell format without an xf element");

    if (num_fmt_id) set_attribute(xf, "numFmtId", to_decimal(*num_fmt_id));
    if (change.font_id) set_attribute(xf, "fontId", to_decimal(*change.font_id));
    if (change.fill_id) set_attribute(xf, "fillId", to_decimal(*change.fill_id));
    if (change.border_id) set_attribute(xf, "borderId", to_decimal(*change.border_id));
    if (num_fmt_id) set_attribute(xf, "applyNumberFormat", "1");
    if (change.font_id) set_attribute(xf, "applyFont", "1");
    if (change.fill_id) set_attribute(xf, "applyFill", "1");
    if (change.border_id) set_attribute(xf, "applyBorder", "1");
    if (change.alignment) {
        set_attribute(xf, "applyAlignment", "1");
        if (!alignment) alignment.emplace();
        lay_word(*alignment, "horizontal", kHorizontalWords, change.alignment->horiz);
        lay_word(*alignment, "vertical", kVerticalWords, change.alignment->vert);
        if (change.alignment->wrap) set_attribute(*alignment, "wrapText", "1");
        else erase_attribute(*alignment, "wrapText");
    }

    std::string out = "<" + xf_name;
    append_attributes(out, xf);
    bool has_alignment = alignment && !alignment->empty();
    if (!has_alignment && rest.empty()) {
        out += "/>";
        return out;
    }
    out += '>';
    if (has_alignment) {
        out += '<';
        out += alignment_name;
        append_attributes(out, *alignment);
        out += "/>";
    }
    out += rest;
    out += "</" + xf_name + ">";
    return out;
}

Result<CellFormat> cell_format_of(std::string markup) {
    CellFormat format;
    int depth = 0;
    Status st = each_tag(markup, true, [&](const Tag& tag) -> Result<bool> {
        if (tag.kind == TagKind::End) {
            --depth;
            return true;
        }
        if (depth == 0) start_cell_format(format, tag.raw);
        else if (depth == 1 && local_name(tag.name) == "alignment") format.alignment = alignment_of(tag.raw);
        if (tag.kind == TagKind::Start) ++depth;
        return true;
    });
    if (!st) return fail(std::move(st.error()));
    format.markup = std::move(markup);
    return format;
}

// Finds an entry equal to `markup` in `by_key`, or appends it to `block`.
Result<std::uint32_t> find_or_add(EditorState& state, StyleBlock block,
                                  std::unordered_map<std::string, std::uint32_t> StyleIndex::*by_key,
                                  std::uint32_t StyleIndex::*count, std::string_view markup) {
    auto key = canonical_key(markup);
    if (!key) return fail(std::move(key.error()));
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    if (auto hit = ((**index).*by_key).find(*key); hit != ((**index).*by_key).end()) return hit->second;
    index = prepare_blocks(state, block_bit(block));
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    // The blocks a new style sheet gets may hold an equal entry.
    if (auto hit = (ix.*by_key).find(*key); hit != (ix.*by_key).end()) return hit->second;
    if (Status st = insert_entry(state, ix, block, markup); !st) return fail(std::move(st.error()));
    std::uint32_t id = (ix.*count)++;
    (ix.*by_key).emplace(std::move(*key), id);
    return id;
}

}  // namespace

std::optional<std::uint32_t> builtin_num_fmt_id(std::string_view code) {
    for (const auto& f : kBuiltinFormats)
        if (f.code == code) return f.id;
    return std::nullopt;
}

std::string_view horizontal_word(std::uint8_t code) {
    return code < std::size(kHorizontalWords) ? kHorizontalWords[code] : std::string_view();
}

std::string_view vertical_word(std::uint8_t code) {
    return code < std::size(kVerticalWords) ? kVerticalWords[code] : std::string_view();
}

Result<std::string> canonical_key(std::string_view element) {
    std::string key;
    Status st = each_tag(element, true, [&](const Tag& tag) -> Result<bool> {
        append_canonical(key, tag);
        return true;
    });
    if (!st) return fail(std::move(st.error()));
    return key;
}

Result<StyleIndex> build_style_index(std::string_view text) {
    StyleIndex ix;
    for (const auto& f : kBuiltinFormats) record_code(ix, std::string(f.code), std::string(f.code), f.id);
    if (text.empty()) return ix;
    std::uint32_t largest = 163;
    int depth = 0;
    std::optional<StyleBlock> block;  // the top-level element being read
    bool in_entry = false;
    std::size_t entry_begin = 0;
    std::string key;
    CellFormat format;
    auto finish_entry = [&](std::size_t end) {
        in_entry = false;
        switch (*block) {
            case StyleBlock::Fonts: ix.fonts_by_key.try_emplace(std::move(key), ix.font_count++); break;
            case StyleBlock::Fills: ix.fills_by_key.try_emplace(std::move(key), ix.fill_count++); break;
            case StyleBlock::Borders: ix.borders_by_key.try_emplace(std::move(key), ix.border_count++); break;
            default: {
                format.markup = std::string(text.substr(entry_begin, end - entry_begin));
                ix.formats_by_key.try_emplace(std::move(key), static_cast<std::uint32_t>(ix.cell_formats.size()));
                ix.cell_formats.push_back(std::move(format));
            }
        }
        key.clear();
    };
    Status st = each_tag(text, false, [&](const Tag& tag) -> Result<bool> {
        if (tag.kind == TagKind::End) {
            --depth;
            if (in_entry) {
                append_canonical(key, tag);
                if (depth == 2) finish_entry(tag.end);
            }
            return true;
        }
        std::string_view local = local_name(tag.name);
        if (depth == 0) {
            ix.prefix = std::string(name_prefix(tag.name));
        } else if (depth == 1) {
            block = block_of(local);
            if (block && tag.kind == TagKind::Start && first_attribute(tag.raw, "count")) ix.ready_blocks |= block_bit(*block);
        } else if (block) {
            // Only styleSheet/numFmts defines cell number formats; the dxfs' ids are taken all the same.
            bool own = *block == StyleBlock::NumFmts && depth == 2;
            if ((own || *block == StyleBlock::Dxfs) && local == "numFmt") {
                if (auto raw = first_attribute(tag.raw, "numFmtId")) {
                    auto id = parse_u32(*raw);
                    if (!id) return fail(std::move(id.error()));
                    largest = std::max(largest, *id);
                    if (auto code = first_attribute(tag.raw, "formatCode"); code && own)
                        record_code(ix, escaped_form(*code), resolved(*code), *id);
                }
            }
            if (depth == 2 && local == entry_name(*block)) {
                in_entry = true;
                entry_begin = tag.begin;
                if (*block == StyleBlock::CellXfs) start_cell_format(format, tag.raw);
            } else if (in_entry && depth == 3 && *block == StyleBlock::CellXfs && local == "alignment") {
                format.alignment = alignment_of(tag.raw);
            }
            if (in_entry) append_canonical(key, tag);
        }
        if (tag.kind == TagKind::Start) ++depth;
        else if (in_entry && depth == 2) finish_entry(tag.end);
        return true;
    });
    if (!st) return fail(std::move(st.error()));
    ix.next_custom_id = largest == UINT32_MAX ? largest : largest + 1;
    return ix;
}

Result<StyleIndex*> ensure_style_index(EditorState& state) {
    if (!state.style_index) {
        auto built = build_style_index(state.styles_xml);
        if (!built) return fail(std::move(built.error()));
        state.style_index = std::make_shared<StyleIndex>(std::move(*built));
    }
    return state.style_index.get();
}

Result<std::string> with_blocks(std::string_view styles_xml, std::uint32_t blocks) {
    std::string text(styles_xml);
    // Each round repairs one thing: the root, then block by block in schema order.
    for (unsigned round = 0; round <= 3 * kBlockCount + 1; ++round) {
        auto repaired = repair_once(text, blocks);
        if (!repaired) return fail(std::move(repaired.error()));
        if (!*repaired) return text;
    }
    return fail("styles.xml: blocks could not be prepared");
}

Result<StyleIndex*> prepare_blocks(EditorState& state, std::uint32_t blocks) {
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    if (((**index).ready_blocks & blocks) == blocks) return *index;
    if (state.styles_xml.empty()) {
        if (Status st = create_style_sheet(state); !st) return fail(std::move(st.error()));
        blocks |= kCellFormatBlocks;
    }
    auto text = with_blocks(state.styles_xml, blocks);
    if (!text) return fail(std::move(text.error()));
    auto rebuilt = build_style_index(*text);
    if (!rebuilt) return fail(std::move(rebuilt.error()));
    if ((rebuilt->ready_blocks & blocks) != blocks) return fail("styles.xml: blocks could not be prepared");
    state.styles_xml = std::move(*text);
    state.style_index = std::make_shared<StyleIndex>(std::move(*rebuilt));
    return state.style_index.get();
}

Status bump_count(std::string& text, std::size_t block_end) {
    constexpr std::string_view kNotFound = "attribute count not found";
    std::size_t gt = find(text, ">", block_end);
    if (block_end + 2 >= text.size() || text.compare(block_end, 2, "</") != 0 || gt == npos)
        return fail(std::string(kNotFound));
    std::string opening(1, '<');
    opening.append(text, block_end + 2, gt - block_end - 2);
    std::size_t tag = block_end;
    do {
        tag = rfind_before(text, opening, tag);
    } while (tag != npos && tag + opening.size() < text.size() &&
             std::string_view(" \t\r\n/>").find(text[tag + opening.size()]) == npos);
    if (tag == npos) return fail(std::string(kNotFound));
    std::size_t tag_end = find(text, ">", tag);
    std::string_view start = std::string_view(text).substr(tag, tag_end == npos ? npos : tag_end + 1 - tag);
    std::optional<std::string_view> count;
    for_each_attribute(start, [&](const Attribute& a) {
        if (a.name == "count" && !count) count = a.raw_value;
    });
    if (!count) return fail(std::string(kNotFound));
    auto value = parse_u32(*count);
    if (!value) return fail(std::move(value.error()));
    splice(text, tag + static_cast<std::size_t>(count->data() - start.data()), count->size(),
           to_decimal(std::uint64_t(*value) + 1));
    return {};
}

Result<std::uint32_t> add_fill(EditorState& state, std::string_view colour) {
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    std::string markup = "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"";
    markup += escape_text(colour);
    markup += "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
    return find_or_add(state, StyleBlock::Fills, &StyleIndex::fills_by_key, &StyleIndex::fill_count,
                       with_prefix(markup, (**index).prefix));
}

Result<std::uint32_t> add_font(EditorState& state, std::string_view name, float size, bool bold,
                               bool italic) {
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    std::string markup = "<font>";
    if (bold) markup += "<b/>";
    if (italic) markup += "<i/>";
    markup += "<sz val=\"";
    // Sizes are kept to hundredths of a point, so 10.999 and 11 are one font.
    markup += format_shortest(std::round(size * 100.0f) / 100.0f);
    markup += "\"/><name val=\"";
    markup += escape_text(name);
    markup += "\"/></font>";
    return find_or_add(state, StyleBlock::Fonts, &StyleIndex::fonts_by_key, &StyleIndex::font_count,
                       with_prefix(markup, (**index).prefix));
}

Result<std::uint32_t> add_border(EditorState& state, std::string_view style) {
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    std::string markup = "<border>";
    for (std::string_view edge : {"left", "right", "top", "bottom"}) {
        markup += '<';
        markup += edge;
        markup += " style=\"";
        markup += escape_text(style);
        markup += "\"/>";
    }
    markup += "<diagonal/></border>";
    return find_or_add(state, StyleBlock::Borders, &StyleIndex::borders_by_key, &StyleIndex::border_count,
                       with_prefix(markup, (**index).prefix));
}

Result<std::uint32_t> num_fmt_id_for(EditorState& state, std::string_view code) {
    if (auto builtin = builtin_num_fmt_id(code)) return *builtin;
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    std::string escaped = escape_text(code);
    if (auto hit = (**index).codes_by_text.find(escaped); hit != (**index).codes_by_text.end()) return hit->second;
    index = prepare_blocks(state, block_bit(StyleBlock::NumFmts));
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    std::uint32_t id = ix.next_custom_id;
    if (id == UINT32_MAX) return fail("no free number format id left in styles.xml");
    std::string element = "<numFmt numFmtId=\"";
    element += to_decimal(id);
    element += "\" formatCode=\"";
    element += escaped;
    element += "\"/>";
    element = with_prefix(element, ix.prefix);
    if (Status st = insert_entry(state, ix, StyleBlock::NumFmts, element); !st) return fail(std::move(st.error()));
    record_code(ix, std::move(escaped), std::string(code), id);
    ix.next_custom_id = id + 1;
    return id;
}

Result<std::uint32_t> derive_cell_format(EditorState& state, std::optional<std::uint32_t> old,
                                         const StyleSpec& change) {
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    std::string base;
    {
        const StyleIndex& ix = **index;
        if (old) {
            if (*old >= ix.cell_formats.size())
                return fail("style id " + to_decimal(*old) + " not found in style index");
            base = ix.cell_formats[*old].markup;
        } else {
            base = ix.cell_formats.empty() ? default_cell_format(ix.prefix) : ix.cell_formats[0].markup;
        }
    }
    std::optional<std::uint32_t> num_fmt_id;
    if (change.num_fmt) {
        auto id = num_fmt_id_for(state, *change.num_fmt);
        if (!id) return fail(std::move(id.error()));
        num_fmt_id = *id;
    }
    auto markup = derived_markup(base, change, num_fmt_id, state.style_index->prefix);
    if (!markup) return fail(std::move(markup.error()));
    auto key = canonical_key(*markup);
    if (!key) return fail(std::move(key.error()));
    if (auto hit = state.style_index->formats_by_key.find(*key); hit != state.style_index->formats_by_key.end())
        return hit->second;
    index = prepare_blocks(state, kCellFormatBlocks);
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    if (auto hit = ix.formats_by_key.find(*key); hit != ix.formats_by_key.end()) return hit->second;
    auto format = cell_format_of(std::move(*markup));
    if (!format) return fail(std::move(format.error()));
    if (Status st = insert_entry(state, ix, StyleBlock::CellXfs, format->markup); !st) return fail(std::move(st.error()));
    auto id = static_cast<std::uint32_t>(ix.cell_formats.size());
    ix.cell_formats.push_back(std::move(*format));
    ix.formats_by_key.emplace(std::move(*key), id);
    return id;
}

Result<std::uint32_t> add_cell_format(EditorState& state, const StyleSpec& spec) {
    return derive_cell_format(state, std::nullopt, spec);
}

std::optional<std::string> num_fmt_code(const StyleIndex& index, std::uint32_t format) {
    if (format >= index.cell_formats.size()) return std::nullopt;
    std::uint32_t id = index.cell_formats[format].num_fmt_id;
    if (id == 0) return std::nullopt;
    auto code = index.codes_by_id.find(id);
    if (code == index.codes_by_id.end()) return std::nullopt;
    return code->second;
}

StyleTransaction::StyleTransaction(EditorState& state, bool keep_sheet)
    : state_(state),
      styles_(state.styles_xml),
      rels_(state.workbook_rels_xml),
      styles_part_(state.styles_part),
      last_row_(state.last_row),
      last_row_pending_(state.last_row_pending) {
    if (keep_sheet) sheet_ = state.sheet_xml;
}

StyleTransaction::~StyleTransaction() {
    if (done_) return;
    if (state_.styles_xml != styles_) {
        // The index followed the text; built again from the old text when next needed.
        state_.styles_xml = std::move(styles_);
        state_.style_index.reset();
    }
    state_.workbook_rels_xml = std::move(rels_);
    state_.styles_part = std::move(styles_part_);
    if (sheet_) {
        state_.sheet_xml = std::move(*sheet_);
        state_.last_row = last_row_;
        state_.last_row_pending = last_row_pending_;
    }
}

Status StyleTransaction::finish(Status status) {
    if (status) done_ = true;
    return status;
}

}  // namespace qm
