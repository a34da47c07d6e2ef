#include <gtest/gtest.h>

#include <array>
#include <random>

#include "cells/cells.hpp"
#include "support/text.hpp"

using namespace qm;

TEST(Refs, ColumnLettersRoundTrip) {
    for (auto [letters, index] : {std::pair{"A", 0u}, {"Z", 25u}, {"AA", 26u}, {"az", 51u}, {"ZZ", 701u},
                                  {"AAA", 702u}, {"XFD", 16383u}}) {
        EXPECT_EQ(column_to_index(letters), index) << letters;
        EXPECT_EQ(index_to_column(index), ascii_uppercase(letters));
    }
    EXPECT_EQ(index_to_column(16384), "XFE");
    EXPECT_EQ(column_to_index(""), UINT64_MAX);
    EXPECT_EQ(static_cast<std::uint32_t>(column_to_index("")), UINT32_MAX);
}

TEST(Refs, SplitAndParseCellRef) {
    auto split = split_cell_ref("AB12");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->first, "AB");
    EXPECT_EQ(split->second, "12");
    EXPECT_FALSE(split_cell_ref("AB"));
    EXPECT_EQ(split_cell_ref("3")->first, "");
    EXPECT_FALSE(parse_cell_ref("A1B2"));
    EXPECT_FALSE(parse_cell_ref("XFE1"));
    EXPECT_EQ(parse_cell_ref("c7")->column, 2u);
    EXPECT_EQ(parse_row_number("+7").value(), 7u);
    for (const char* bad : {"-7", " 7", "7 "}) EXPECT_FALSE(parse_row_number(bad)) << bad;
}

namespace {
std::string describe(const Result<RangeSpec>& r) {
    if (!r) return "error: " + r.error().message;
    switch (r->kind) {
        case RangeSpec::Kind::Cell: return "cell " + r->cell;
        case RangeSpec::Kind::Column: return "column " + std::to_string(r->index);
        case RangeSpec::Kind::Row: return "row " + std::to_string(r->index);
        case RangeSpec::Kind::CellRange:
            return "range " + std::to_string(r->range.first.column) + "," + std::to_string(r->range.first.row) +
                   " " + std::to_string(r->range.second.column) + "," + std::to_string(r->range.second.row);
    }
    return "?";
}
}  // namespace

TEST(Refs, ReadCellRef) {
    struct Case { const char* text; std::string want; };
    for (const auto& c : {
             Case{"B3", "B3"}, Case{"b3", "B3"}, Case{"$B$3", "B3"}, Case{"$b3", "B3"}, Case{"B$3", "B3"},
             Case{"B03", "B3"}, Case{"xfd1048576", "XFD1048576"}, Case{"A0001", "A1"},
             Case{"AB", "no digits"}, Case{"", "no digits"}, Case{"$", "no digits"},
             Case{"3", "letters"}, Case{"$3", "letters"}, Case{"$$B3", "letters"}, Case{"B$$3", "letters"},
             Case{"A-1", "letters"}, Case{" B3", "letters"}, Case{"\xc3\x81" "3", "letters"},
             Case{"B3 ", "row"}, Case{"B3$", "row"}, Case{"A1B2", "row"}, Case{"B+3", "letters"},
             Case{"A0", "outside"}, Case{"A000", "outside"}, Case{"A1048577", "outside"},
             Case{"A99999999999", "outside"}, Case{"XFE1", "outside"}, Case{"AAAA1", "outside"},
             Case{"ZZZZZZZZZZZZZZ1", "outside"},
         }) {
        auto ref = read_cell_ref(c.text);
        std::string got = ref ? cell_ref_text(*ref)
                              : std::array{"no digits", "letters", "row", "outside"}[int(ref.error())];
        EXPECT_EQ(got, c.want) << c.text;
    }
}

TEST(Refs, ParseRangeForms) {
    struct Case { const char* text; std::string want; };
    const std::string outside = " is outside the sheet (columns A to XFD, rows 1 to 1048576)";
    for (const auto& c : {
             Case{"B3", "cell B3"}, Case{"b3", "cell B3"}, Case{"$B$03", "cell B3"},
             Case{"3", "error: invalid range syntax: 3"}, Case{"B3x", "error: invalid range syntax: B3x"},
             Case{"B", "error: invalid"}, Case{"XFE3", "error: range XFE3" + outside},
             Case{"C3:A1", "range 2,3 0,1"}, Case{"$c$3:a1", "range 2,3 0,1"},
             Case{"A1:", "error: invalid range: A1:"},
             Case{"A1:B", "error: invalid range: A1:B"}, Case{"A:B", "error: invalid range: A:B"},
             Case{"A1:B2:C3", "error: invalid range: A1:B2:C3"}, Case{"A1:AAAAA1", "error: range A1:AAAAA1" + outside},
             Case{"A0:B2", "error: range A0:B2" + outside}, Case{"A0:B", "error: invalid range: A0:B"},
             Case{"B:", "column 1"}, Case{"$b:", "column 1"}, Case{"XFD:", "column 16383"},
             Case{"XFE:", "error: range XFE:" + outside}, Case{":", "error: invalid range: :"},
             Case{"5:", "row 5"}, Case{"$05:", "row 5"}, Case{"1048576:", "row 1048576"},
             Case{"0:", "error: range 0:" + outside}, Case{"4294967296:", "error: range 4294967296:" + outside},
             Case{"B3:", "error: invalid range: B3:"}, Case{"XFE3:", "error: range XFE3:" + outside},
         })
        EXPECT_EQ(describe(parse_range(c.text)), c.want) << c.text;
}

TEST(Refs, ColumnFromSpanAndList) {
    EXPECT_EQ(parse_column_from("B:"), (std::pair{1u, 1u}));
    EXPECT_EQ(parse_column_from("b5:"), (std::pair{1u, 5u}));
    EXPECT_EQ(parse_column_from("$D$05:"), (std::pair{3u, 5u}));
    for (const char* none : {"5:", "B5x:", ":", "B", "B5", "XFE:", "B0:"}) EXPECT_FALSE(parse_column_from(none)) << none;

    EXPECT_EQ(parse_column_span(" a : c ").value(), (std::pair<std::uint64_t, std::uint64_t>{0, 2}));
    EXPECT_EQ(parse_column_span("C:A").error().message, "invalid range order");
    EXPECT_EQ(parse_column_span("A").error().message, "range must be in the form A:E");
    EXPECT_EQ(parse_column_span("A:E:F").error().message, "range must be in the form A:E");
    EXPECT_EQ(parse_column_span("A:").value().second, UINT64_MAX);

    EXPECT_EQ(parse_column_list("a, b,"), (std::unordered_set<std::string>{"A", "B", ""}));
    EXPECT_EQ(parse_column_list(""), (std::unordered_set<std::string>{""}));
}

TEST(Markup, Classify) {
    for (const char* n : {"3.14", "1e3", "1E-2", "+5", "-0", "5.", ".5", "1e-999", "1.7976931348623157e308"})
        EXPECT_EQ(classify_value(n), CellKind::Number) << n;
    for (const char* s : {" 5", "5 ", "1,000", "0x10", "1_000", "TRUE", "", "+", ".", "-", "inf", "-Infinity",
                          "NaN", "nan", "+INF", "1e999", "-1e999", "1.8e308"})
        EXPECT_EQ(classify_value(s), CellKind::InlineString) << s;
    EXPECT_EQ(classify_value("=SUM(A1)"), CellKind::Formula);
    EXPECT_EQ(classify_value("="), CellKind::Formula);
    EXPECT_EQ(classify_value("=A1\n+A2\t"), CellKind::Formula);
    EXPECT_EQ(classify_value("=\"a\x0b\""), CellKind::InlineString);
}

TEST(Markup, CellTextEscapes) {
    struct Case { std::string text; std::string want; };
    for (const auto& c : {
             Case{"plain", "plain"},
             Case{"a<b & 'c' \"", "a&lt;b &amp; &apos;c&apos; &quot;"},
             Case{"line1\x0bline2", "line1_x000B_line2"},
             Case{std::string("\0\x01\x1f", 3), "_x0000__x0001__x001F_"},
             Case{"\t\n", "\t\n"},
             Case{"a\r\nb", "a&#13;\nb"},
             Case{"\xef\xbf\xbe\xef\xbf\xbf\xef\xbf\xbd", "_xFFFE__xFFFF_\xef\xbf\xbd"},
             Case{"_x0041_", "_x005F_x0041_"},
             Case{"_x00e9_ _X0041_ _x004_ _x00411_ _x0041", "_x005F_x00e9_ _X0041_ _x004_ _x00411_ _x0041"},
             Case{"__x0041__", "__x005F_x0041__"},
         }) {
        std::string out;
        append_cell_text(out, c.text);
        EXPECT_EQ(out, c.want) << c.text;
    }
}

namespace {
// What a reader makes of `t` element text: entities and character references, then `_xHHHH_`.
std::string read_back(std::string_view t) {
    std::string xml;
    for (std::size_t i = 0; i < t.size();) {
        if (t[i] != '&') { xml += t[i++]; continue; }
        std::size_t semi = t.find(';', i);
        std::string_view name = t.substr(i + 1, semi - i - 1);
        if (name == "amp") xml += '&';
        else if (name == "lt") xml += '<';
        else if (name == "gt") xml += '>';
        else if (name == "apos") xml += '\'';
        else if (name == "quot") xml += '"';
        else if (name == "#13") xml += '\r';
        else ADD_FAILURE() << "entity " << name;
        i = semi + 1;
    }
    std::string out;
    for (std::size_t i = 0; i < xml.size();) {
        if (xml.compare(i, 2, "_x") == 0 && i + 7 <= xml.size() && xml[i + 6] == '_' &&
            xml.substr(i + 2, 4).find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
            unsigned code = std::stoul(xml.substr(i + 2, 4), nullptr, 16);
            if (code < 0x80) out += char(code);
            else out += char(0xE0 | (code >> 12)), out += char(0x80 | ((code >> 6) & 0x3F)), out += char(0x80 | (code & 0x3F));
            i += 7;
        } else {
            out += xml[i++];
        }
    }
    return out;
}
}  // namespace

TEST(Markup, CellTextReadsBackUnchanged) {
    // Random texts over the bytes that matter: every C0 control, the escape's own letters, entities,
    // and the noncharacters' bytes.
    const std::string alphabet = std::string("\0\x01\x08\t\n\x0b\x0c\r\x1f _xX05Ff0&<>'\"", 22);
    const std::string pieces[] = {"\xef\xbf\xbe", "\xef\xbf\xbf", "\xc3\xa9", "_x005F_", "_x000D_"};
    std::mt19937 rng(12);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = std::uniform_int_distribution(0, 12)(rng); n > 0; --n) {
            if (rng() % 6 == 0) text += pieces[rng() % std::size(pieces)];
            else text += alphabet[rng() % alphabet.size()];
        }
        std::string out;
        append_cell_text(out, text);
        ASSERT_FALSE(has_forbidden_xml_char(out)) << out;
        ASSERT_EQ(out.find('\r'), std::string::npos);
        ASSERT_EQ(read_back(out), text) << out;
    }
}

TEST(Markup, RenderCell) {
    EXPECT_EQ(render_cell("B3", "hello", 4), "<c r=\"B3\" s=\"4\" t=\"inlineStr\"><is><t>hello</t></is></c>");
    EXPECT_EQ(render_cell("A1", "=SUM(A1:A3)", std::nullopt), "<c r=\"A1\"><f>SUM(A1:A3)</f></c>");
    EXPECT_EQ(render_cell("A1", "=", std::nullopt), "<c r=\"A1\"><f></f></c>");
    EXPECT_EQ(render_cell("A1", "1e3", std::nullopt), "<c r=\"A1\"><v>1e3</v></c>");
    EXPECT_EQ(render_cell("A1", "", std::nullopt), "<c r=\"A1\" t=\"inlineStr\"><is><t></t></is></c>");
    EXPECT_EQ(render_cell("A&\"1", "a<b & 'c' \"", std::nullopt),
              "<c r=\"A&amp;&quot;1\" t=\"inlineStr\"><is><t>a&lt;b &amp; &apos;c&apos; &quot;</t></is></c>");
    EXPECT_EQ(render_cell("A1", " 5", std::nullopt),
              "<c r=\"A1\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> 5</t></is></c>");
}

TEST(Markup, SpacePreserveAndStyleOfCell) {
    EXPECT_TRUE(needs_space_preserve("5 "));
    EXPECT_TRUE(needs_space_preserve("a\tb"));
    EXPECT_FALSE(needs_space_preserve("a b"));
    EXPECT_FALSE(needs_space_preserve("a\fb"));
    EXPECT_TRUE(needs_space_preserve("\fa"));
    EXPECT_FALSE(needs_space_preserve(""));

    EXPECT_EQ(style_of_cell("<c r=\"A1\" s=\"7\" t=\"s\"><v>1</v></c>"), 7u);
    EXPECT_FALSE(style_of_cell("<c r=\"A1\"><v>1</v></c>"));
    EXPECT_FALSE(style_of_cell("<c r=\"A1\" t=\"inlineStr\"><is><t>x s=\"7\"</t></is></c>"));
    EXPECT_EQ(style_of_cell("<c s='7'\tr=\"A1\">"), 7u);
    EXPECT_FALSE(style_of_cell("<c r=\"A1\" s=\"x\"/>"));
    EXPECT_FALSE(style_of_cell("<c r=\"A1\" s=\"7/>"));
}
