#include <gtest/gtest.h>

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

TEST(Refs, ParseRangeForms) {
    struct Case { const char* text; std::string want; };
    for (const auto& c : {
             Case{"B3", "cell B3"}, Case{"b3", "cell b3"}, Case{"3", "cell 3"},
             Case{"$B$3", "error: invalid range syntax: $B$3"}, Case{"B", "error: invalid"},
             Case{"C3:A1", "range 2,3 0,1"}, Case{"A1:", "error: invalid range: A1:"},
             Case{"A1:B", "error: invalid range: A1:B"}, Case{"A:B", "error: invalid range: A:B"},
             Case{"A1:B2:C3", "error: invalid range: A1:B2:C3"}, Case{"B:", "column 1"},
             Case{"5:", "row 5"}, Case{":", "column 4294967295"},
             Case{"4294967296:", "error: number too large to fit in target type"},
             Case{"B3:", "error: invalid range: B3:"},
         })
        EXPECT_EQ(describe(parse_range(c.text)), c.want) << c.text;
}

TEST(Refs, ColumnFromSpanAndList) {
    EXPECT_EQ(parse_column_from("B:"), (std::pair{1u, 1u}));
    EXPECT_EQ(parse_column_from("b5:"), (std::pair{1u, 5u}));
    for (const char* none : {"5:", "$B5:", "B5x:", ":", "B", "B5"}) EXPECT_FALSE(parse_column_from(none)) << none;

    EXPECT_EQ(parse_column_span(" a : c ").value(), (std::pair<std::uint64_t, std::uint64_t>{0, 2}));
    EXPECT_EQ(parse_column_span("C:A").error().message, "invalid range order");
    EXPECT_EQ(parse_column_span("A").error().message, "range must be in the form A:E");
    EXPECT_EQ(parse_column_span("A:E:F").error().message, "range must be in the form A:E");
    EXPECT_EQ(parse_column_span("A:").value().second, UINT64_MAX);

    EXPECT_EQ(parse_column_list("a, b,"), (std::unordered_set<std::string>{"A", "B", ""}));
    EXPECT_EQ(parse_column_list(""), (std::unordered_set<std::string>{""}));
}

TEST(Markup, Classify) {
    for (const char* n : {"3.14", "1e3", "1E-2", "+5", "-0", "5.", ".5", "inf", "Infinity", "NaN"})
        EXPECT_EQ(classify_value(n), CellKind::Number) << n;
    for (const char* s : {" 5", "5 ", "1,000", "0x10", "1_000", "TRUE", "", "+", ".", "-"})
        EXPECT_EQ(classify_value(s), CellKind::InlineString) << s;
    EXPECT_EQ(classify_value("=SUM(A1)"), CellKind::Formula);
    EXPECT_EQ(classify_value("="), CellKind::Formula);
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
    EXPECT_EQ(style_of_cell("<c r=\"A1\" t=\"inlineStr\"><is><t>x s=\"7\"</t></is></c>"), 7u);
    EXPECT_FALSE(style_of_cell("<c r=\"A1\" s=\"x\"/>"));
    EXPECT_FALSE(style_of_cell("<c r=\"A1\" s=\"7/>"));
}
