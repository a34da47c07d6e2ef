// The style-sheet cache and the five appends (font, fill, border, number format, cell format).
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

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

constexpr float kDefaultFontSize = 11.0f;
constexpr std::string_view kDefaultFontName = "Calibri";

// The escaped form under which attribute texts are keyed: what escape_text makes of the value the
// attribute stands for. Plain values (the usual case) are taken as they are.
std::string escaped_form(std::string_view raw, bool upper = false) {
    std::string text = is_valid_utf8(raw) ? std::string(raw) : to_utf8_lossy(raw);
    if (text.find_first_of("&<>'\"\t\n\r") != npos) text = resolve_attribute_value(text);
    if (upper) text = ascii_uppercase(text);
    return escape_text(text);
}

std::string unescaped_form(std::string_view raw) {
    std::string text = is_valid_utf8(raw) ? std::string(raw) : to_utf8_lossy(raw);
    return resolve_attribute_value(text);
}

// Runs `on_tag` over every tag of the text until it returns false; the reader's error fails.
template <class F>
Status each_tag(std::string_view text, F&& on_tag) {
    XmlReader reader(text);
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

Status read_num_fmts(std::string_view text, StyleIndex& index) {
    for (const auto& f : kBuiltinFormats) record_code(index, std::string(f.code), std::string(f.code), f.id);
    std::uint32_t largest = 163;
    Status st = each_tag(text, [&](const Tag& tag) -> Result<bool> {
        if (!tag.opens() || tag.name != "numFmt") return true;
        auto id_text = first_attribute(tag.raw, "numFmtId");
        auto code = first_attribute(tag.raw, "formatCode");
        std::optional<std::uint32_t> id;
        if (id_text) {
            auto parsed = parse_u32(*id_text);
            if (!parsed) return fail(std::move(parsed.error()));
            id = *parsed;
        }
        if (id && code) {
            record_code(index, escaped_form(*code), unescaped_form(*code), *id);
            if (*id > largest) largest = *id;
        }
        return true;
    });
    if (!st) return st;
    index.next_custom_id = largest < 164 ? 164 : largest + 1;
    return {};
}

// Walks the `entry` elements inside the `block` element: begin(tag) at each entry's start tag,
// also a self-closing one; child(tag) for every tag opened inside an entry (it may fail the pass);
// end() at the entry's end. With `stop_at_block_end` the pass ends with the block.
template <class Begin, class Child, class End>
Status each_entry(std::string_view text, std::string_view block, std::string_view entry,
                  bool stop_at_block_end, Begin&& begin, Child&& child, End&& end) {
    bool in_block = false, in_entry = false;
    return each_tag(text, [&](const Tag& tag) -> Result<bool> {
        if (tag.name == block) {
            if (tag.kind == TagKind::Start) {
                in_block = true;
                return true;
            }
            in_block = false;  // its end tag, or a self-closing block that holds nothing
            return !stop_at_block_end;
        }
        if (!in_block) return true;
        if (tag.name == entry) {
            if (tag.kind == TagKind::End) {
                if (in_entry) end();
                in_entry = false;
            } else {
                begin(tag);
                if (tag.kind == TagKind::Empty) end();
                else in_entry = true;
            }
            return true;
        }
        if (in_entry && tag.opens())
            if (Status st = child(tag); !st) return fail(std::move(st.error()));
        return true;
    });
}

Status read_fonts(std::string_view text, StyleIndex& index) {
    std::string name;
    float size = kDefaultFontSize;
    bool bold = false, italic = false;
    return each_entry(
        text, "fonts", "font", false,
        [&](const Tag&) {
            name = std::string(kDefaultFontName);
            size = kDefaultFontSize;
            bold = italic = false;
        },
        [&](const Tag& tag) -> Status {
            if (tag.name == "b") bold = true;
            else if (tag.name == "i") italic = true;
            else if (tag.name == "name") {
                if (auto v = first_attribute(tag.raw, "val")) name = escaped_form(*v);
            } else if (tag.name == "sz") {
                if (auto v = first_attribute(tag.raw, "val"))
                    if (auto parsed = parse_float(*v)) size = static_cast<float>(*parsed);
            }
            return {};
        },
        [&] {
            index.fonts_by_key.try_emplace(font_key(name, size, bold, italic), index.font_count);
            ++index.font_count;
        });
}

Status read_fills(std::string_view text, StyleIndex& index) {
    std::optional<std::string> colour;
    return each_entry(
        text, "fills", "fill", false, [&](const Tag&) { colour.reset(); },
        [&](const Tag& tag) -> Status {
            if (!colour && tag.name == "fgColor")
                if (auto rgb = first_attribute(tag.raw, "rgb")) colour = escaped_form(*rgb, true);
            return {};
        },
        [&] {
            if (colour) index.fills_by_colour.try_emplace(*colour, index.fill_count);
            ++index.fill_count;
        });
}

Status read_borders(std::string_view text, StyleIndex& index) {
    std::optional<std::string> edges[4];  // left, right, top, bottom
    return each_entry(
        text, "borders", "border", false,
        [&](const Tag&) {
            for (auto& edge : edges) edge.reset();
        },
        [&](const Tag& tag) -> Status {
            int edge = tag.name == "left" ? 0 : tag.name == "right" ? 1 : tag.name == "top" ? 2
                     : tag.name == "bottom" ? 3 : -1;
            if (edge >= 0)
                if (auto style = first_attribute(tag.raw, "style")) edges[edge] = escaped_form(*style);
            return {};
        },
        [&] {
            bool uniform = edges[0] && edges[1] == edges[0] && edges[2] == edges[0] && edges[3] == edges[0];
            if (uniform) index.borders_by_style.try_emplace(*edges[0], index.border_count);
            ++index.border_count;
        });
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

Status read_cell_formats(std::string_view text, StyleIndex& index) {
    CellFormat format;
    return each_entry(
        text, "cellXfs", "xf", true,
        [&](const Tag& tag) {
            format = CellFormat{};
            format.font_id = id_attribute(tag.raw, "fontId");
            format.fill_id = id_attribute(tag.raw, "fillId");
            format.border_id = id_attribute(tag.raw, "borderId");
            format.num_fmt_id = id_attribute(tag.raw, "numFmtId").value_or(0);
        },
        [&](const Tag& tag) -> Status {
            if (tag.name != "alignment") return {};
            Alignment align;
            if (auto word = first_attribute(tag.raw, "horizontal")) {
                align.horiz = word_code(kHorizontalWords, *word);
                if (!align.horiz) return fail("Unknown horizontal alignment: " + to_utf8_lossy(*word));
            }
            if (auto word = first_attribute(tag.raw, "vertical")) {
                align.vert = word_code(kVerticalWords, *word);
                if (!align.vert) return fail("Unknown vertical alignment: " + to_utf8_lossy(*word));
            }
            auto wrap = first_attribute(tag.raw, "wrapText");
            align.wrap = wrap && *wrap == "1";
            format.alignment = align;
            return {};
        },
        [&] {
            auto position = static_cast<std::uint32_t>(index.cell_formats.size());
            index.formats_by_content.try_emplace(format, position);
            index.cell_formats.push_back(format);
        });
}

// Inserts `markup` at `pos` and raises the block's count, or changes nothing: a block whose count
// cannot be raised must not gain an element the index does not know.
Status insert_counted(std::string& text, std::size_t pos, std::string_view markup,
                      std::string_view prefix) {
    std::string next;
    next.reserve(text.size() + markup.size() + 8);
    next.append(text, 0, pos);
    next.append(markup);
    next.append(text, pos);
    if (Status st = bump_count(next, prefix); !st) return st;
    text = std::move(next);
    return {};
}

}  // namespace

std::uint32_t size_hundredths(float size) {
    float scaled = std::round(size * 100.0f);
    if (!(scaled > 0.0f)) return 0;  // negative, zero and NaN
    if (scaled >= 4294967296.0f) return UINT32_MAX;
    return static_cast<std::uint32_t>(scaled);
}

FontKey font_key(std::string_view escaped_name, float size, bool bold, bool italic) {
    return FontKey{std::string(escaped_name), size_hundredths(size), bold, italic};
}

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

Result<StyleIndex> build_style_index(std::string_view styles_xml) {
    StyleIndex index;
    for (auto pass : {read_num_fmts, read_fonts, read_fills, read_borders, read_cell_formats})
        if (Status st = pass(styles_xml, index); !st) return fail(std::move(st.error()));
    return index;
}

Result<StyleIndex*> ensure_style_index(EditorState& state) {
    if (!state.style_index) {
        auto built = build_style_index(state.styles_xml);
        if (!built) return fail(std::move(built.error()));
        state.style_index = std::make_shared<StyleIndex>(std::move(*built));
    }
    return state.style_index.get();
}

Status bump_count(std::string& text, std::string_view prefix) {
    constexpr std::string_view kNotFound = "attribute count not found";
    constexpr std::string_view kCount = "count=\"";
    std::size_t tag = rfind(text, prefix);
    if (tag == npos) return fail(std::string(kNotFound));
    std::size_t tag_end = find(text, ">", tag);
    std::size_t at = find_before(text, kCount, tag, tag_end == npos ? text.size() : tag_end);
    if (at == npos) return fail(std::string(kNotFound));
    std::size_t begin = at + kCount.size();
    std::size_t quote = find(text, "\"", begin);
    if (quote == npos) return fail("closing quote not found");
    auto value = parse_u32(std::string_view(text).substr(begin, quote - begin));
    if (!value) return fail(std::move(value.error()));
    splice(text, begin, quote - begin, to_decimal(std::uint64_t(*value) + 1));
    return {};
}

Result<std::uint32_t> add_fill(EditorState& state, std::string_view colour) {
    std::string key = escape_text(ascii_uppercase(colour));
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    if (auto hit = ix.fills_by_colour.find(key); hit != ix.fills_by_colour.end()) return hit->second;
    std::size_t at = rfind(state.styles_xml, "</fills>");
    if (at == npos) return fail("<fills> block not found in styles.xml");
    std::string markup = "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"" + key +
                         "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
    if (Status st = insert_counted(state.styles_xml, at, markup, "<fills"); !st)
        return fail(std::move(st.error()));
    std::uint32_t id = ix.fill_count++;
    ix.fills_by_colour.emplace(std::move(key), id);
    return id;
}

Result<std::uint32_t> add_font(EditorState& state, std::string_view name, float size, bool bold,
                               bool italic) {
    FontKey key = font_key(escape_text(name), size, bold, italic);
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    if (auto hit = ix.fonts_by_key.find(key); hit != ix.fonts_by_key.end()) return hit->second;
    std::size_t at = rfind(state.styles_xml, "</fonts>");
    if (at == npos) return fail("<fonts> block not found in styles.xml");
    std::string markup = "<font>";
    if (bold) markup += "<b/>";
    if (italic) markup += "<i/>";
    markup += "<sz val=\"";
    markup += format_shortest(static_cast<float>(key.size_hundredths) / 100.0f);
    markup += "\"/><name val=\"";
    markup += key.name;
    markup += "\"/></font>";
    if (Status st = insert_counted(state.styles_xml, at, markup, "<fonts"); !st)
        return fail(std::move(st.error()));
    std::uint32_t id = ix.font_count++;
    ix.fonts_by_key.emplace(std::move(key), id);
    return id;
}

Result<std::uint32_t> add_border(EditorState& state, std::string_view style) {
    std::string key = escape_text(style);
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    if (auto hit = ix.borders_by_style.find(key); hit != ix.borders_by_style.end()) return hit->second;
    std::size_t at = rfind(state.styles_xml, "</borders>");
    if (at == npos) return fail("styles.xml: </borders> not found");
    std::string markup = "<border>";
    for (std::string_view edge : {"left", "right", "top", "bottom"}) {
        markup += '<';
        markup += edge;
        markup += " style=\"";
        markup += key;
        markup += "\"/>";
    }
    markup += "<diagonal/></border>";
    if (Status st = insert_counted(state.styles_xml, at, markup, "<borders"); !st)
        return fail(std::move(st.error()));
    std::uint32_t id = ix.border_count++;
    ix.borders_by_style.emplace(std::move(key), id);
    return id;
}

Result<std::uint32_t> num_fmt_id_for(EditorState& state, std::string_view code) {
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    if (auto builtin = builtin_num_fmt_id(code)) {
        ix.codes_by_text.try_emplace(std::string(code), *builtin);
        ix.codes_by_id.try_emplace(*builtin, std::string(code));
        return *builtin;
    }
    std::string escaped = escape_text(code);
    if (auto hit = ix.codes_by_text.find(escaped); hit != ix.codes_by_text.end()) return hit->second;

    std::uint32_t id = ix.next_custom_id;
    std::string element = "<numFmt numFmtId=\"" + to_decimal(id) + "\" formatCode=\"" + escaped + "\"/>";
    std::string& text = state.styles_xml;
    if (std::size_t block_end = rfind(text, "</numFmts>"); block_end != npos) {
        if (Status st = insert_counted(text, block_end, element, "<numFmts"); !st)
            return fail(std::move(st.error()));
    } else {
        std::size_t root = find(text, "<styleSheet");
        if (root == npos) return fail("<styleSheet> root not found in styles.xml");
        std::size_t root_end = find(text, ">", root);
        if (root_end == npos) return fail("<styleSheet> start tag '>' not found");
        std::size_t at = find(text, "<fonts");
        if (at == npos) at = root_end + 1;
        insert_at(text, at, "<numFmts count=\"1\">" + element + "</numFmts>");
    }
    record_code(ix, std::move(escaped), std::string(code), id);
    ix.next_custom_id = id + 1;
    return id;
}

Result<std::uint32_t> add_cell_format(EditorState& state, const StyleSpec& spec) {
    std::uint32_t num_fmt_id = spec.num_fmt_id.value_or(0);
    if (spec.num_fmt) {
        auto id = num_fmt_id_for(state, *spec.num_fmt);
        if (!id) return fail(std::move(id.error()));
        num_fmt_id = *id;
    }
    CellFormat format{spec.font_id, spec.fill_id, spec.border_id, num_fmt_id, spec.alignment};
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    StyleIndex& ix = **index;
    if (auto hit = ix.formats_by_content.find(format); hit != ix.formats_by_content.end())
        return hit->second;

    std::string markup = "<xf numFmtId=\"";
    append_decimal(markup, num_fmt_id);
    markup += "\" fontId=\"";
    append_decimal(markup, format.font_id.value_or(0));
    markup += "\" fillId=\"";
    append_decimal(markup, format.fill_id.value_or(0));
    markup += "\" borderId=\"";
    append_decimal(markup, format.border_id.value_or(0));
    markup += "\" xfId=\"0\"";
    if (num_fmt_id != 0) markup += " applyNumberFormat=\"1\"";
    if (format.font_id) markup += " applyFont=\"1\"";
    if (format.fill_id) markup += " applyFill=\"1\"";
    if (format.border_id) markup += " applyBorder=\"1\"";
    const auto& align = format.alignment;
    if (align) markup += " applyAlignment=\"1\"";
    if (align && (align->horiz || align->vert || align->wrap)) {
        markup += "><alignment";
        if (align->horiz) {
            markup += " horizontal=\"";
            markup += horizontal_word(*align->horiz);
            markup += '"';
        }
        if (align->vert) {
            markup += " vertical=\"";
            markup += vertical_word(*align->vert);
            markup += '"';
        }
        if (align->wrap) markup += " wrapText=\"1\"";
        markup += "/></xf>";
    } else {
        markup += "/>";
    }
    std::size_t at = rfind(state.styles_xml, "</cellXfs>");
    if (at == npos) return fail("styles.xml: </cellXfs> not found");
    if (Status st = insert_counted(state.styles_xml, at, markup, "<cellXfs"); !st)
        return fail(std::move(st.error()));
    auto id = static_cast<std::uint32_t>(ix.cell_formats.size());
    ix.cell_formats.push_back(format);
    ix.formats_by_content.emplace(std::move(format), id);
    return id;
}

Result<StyleSpec> spec_of_style(EditorState& state, std::optional<std::uint32_t> style) {
    StyleSpec spec;
    if (!style) return spec;
    auto index = ensure_style_index(state);
    if (!index) return fail(std::move(index.error()));
    const StyleIndex& ix = **index;
    if (*style >= ix.cell_formats.size())
        return fail("style id " + to_decimal(*style) + " not found in style index");
    const CellFormat& format = ix.cell_formats[*style];
    spec.font_id = format.font_id;
    spec.fill_id = format.fill_id;
    spec.border_id = format.border_id;
    spec.alignment = format.alignment;
    if (format.num_fmt_id != 0) {
        if (auto code = ix.codes_by_id.find(format.num_fmt_id); code != ix.codes_by_id.end())
            spec.num_fmt = code->second;
        else
            spec.num_fmt_id = format.num_fmt_id;
    }
    return spec;
}

StyleSpec merge_style(const StyleSpec& cell, const StyleSpec& change) {
    StyleSpec merged = cell;
    if (change.num_fmt) {
        merged.num_fmt = change.num_fmt;
        merged.num_fmt_id.reset();
    }
    if (change.font_id) merged.font_id = change.font_id;
    if (change.fill_id) merged.fill_id = change.fill_id;
    if (change.border_id) merged.border_id = change.border_id;
    if (change.alignment) merged.alignment = change.alignment;
    return merged;
}

}  // namespace qm
