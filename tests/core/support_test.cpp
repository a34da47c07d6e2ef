#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/numbers.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"
#include "support/xml_reader.hpp"

using namespace qm;

TEST(Numbers, ParseU32AcceptsPlusAndDigitsOnly) {
    EXPECT_EQ(parse_u32("+7").value(), 7u);
    EXPECT_EQ(parse_u32("4294967295").value(), 4294967295u);
    struct Case { const char* text; std::string_view message; };
    for (auto [text, message] : {Case{"", kParseEmpty}, Case{"+", kParseInvalidDigit},
                                 Case{"-7", kParseInvalidDigit}, Case{" 7", kParseInvalidDigit},
                                 Case{"7 ", kParseInvalidDigit}, Case{"++7", kParseInvalidDigit},
                                 Case{"4294967296", kParseTooLarge}}) {
        auto r = parse_u32(text);
        ASSERT_FALSE(r) << text;
        EXPECT_EQ(r.error().message, message) << text;
    }
    EXPECT_EQ(parse_u64("18446744073709551615").value(), UINT64_MAX);
    EXPECT_EQ(parse_u64("18446744073709551616").error().message, kParseTooLarge);
}

TEST(Numbers, ShortestFloatText) {
    EXPECT_EQ(format_shortest(20.0), "20");
    EXPECT_EQ(format_shortest(8.43), "8.43");
    EXPECT_EQ(format_shortest(12.5), "12.5");
    EXPECT_EQ(format_shortest(1e21), "1000000000000000000000");
    EXPECT_EQ(format_shortest(1234.0f / 100.0f), "12.34");
    EXPECT_EQ(format_shortest(11.0f), "11");
}

TEST(Numbers, FloatGrammar) {
    for (const char* ok : {"3.14", "1e3", "1E-2", "+5", "-0", "5.", ".5", "inf", "Infinity", "NaN", "1e999"})
        EXPECT_TRUE(parse_float(ok).has_value()) << ok;
    for (const char* bad : {"", "+", ".", " 5", "5 ", "1,000", "0x10", "1_000", "e5", "1e", "infx"})
        EXPECT_FALSE(parse_float(bad).has_value()) << bad;
    EXPECT_TRUE(std::isinf(*parse_float("1e999")));
    EXPECT_EQ(*parse_float("1e-999"), 0.0);
}

TEST(Unicode, TrimsEveryWhiteSpaceCharacter) {
    EXPECT_EQ(trim_white_space("  Summary  "), "Summary");
    EXPECT_EQ(trim_white_space("\xC2\xA0\xE3\x80\x80X\xE2\x80\xA9\t"), "X");  // NBSP, ideographic, PS
    EXPECT_EQ(trim_white_space("\xE2\x80\x8BX"), "\xE2\x80\x8BX");  // zero-width space is not White_Space
    EXPECT_EQ(trim_white_space("   "), "");
    EXPECT_EQ(count_code_points("\xC3\xA9t\xC3\xA9"), 3u);
    EXPECT_EQ(to_utf8_lossy("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
}

TEST(Unicode, SimpleCaseFolding) {
    struct Case { char32_t from, to; };
    for (const Case& c : {
             Case{U'A', U'a'}, Case{U'a', U'a'}, Case{U'Z', U'z'}, Case{U'@', U'@'}, Case{U'[', U'['},
             Case{0xC0, 0xE0}, Case{0xD7, 0xD7}, Case{0xDF, 0xDF}, Case{0x100, 0x101}, Case{0x101, 0x101},
             Case{0x130, 0x130},    // full folding only: no simple one
             Case{0x1E9E, 0xDF},    // a simple folding beside the full one
             Case{0x1F88, 0x1F80}, Case{0x1FBC, 0x1FB3}, Case{0x3A3, 0x3C3}, Case{0x3C2, 0x3C3},
             Case{0x212A, U'k'}, Case{0x10400, 0x10428}, Case{0x1E921, 0x1E943}, Case{0x1E922, 0x1E922},
             Case{0x10FFFF, 0x10FFFF},
         })
        EXPECT_EQ(std::uint32_t(fold_case_simple(c.from)), std::uint32_t(c.to)) << std::hex << std::uint32_t(c.from);

    EXPECT_TRUE(equal_ignoring_case("Data", "dATA"));
    EXPECT_TRUE(equal_ignoring_case("\xc3\x84rger", "\xc3\xa4RGER"));        // Ärger
    EXPECT_TRUE(equal_ignoring_case("Stra\xe1\xba\x9e" "e", "stra\xc3\x9f" "e"));  // ẞ and ß, lengths differ
    EXPECT_FALSE(equal_ignoring_case("Strasse", "Stra\xc3\x9f" "e"));           // full folding only
    EXPECT_FALSE(equal_ignoring_case("Data", "Data2"));
    EXPECT_FALSE(equal_ignoring_case("a\xff", "a\xfe"));
    EXPECT_TRUE(equal_ignoring_case("a\xff", "A\xff"));
    EXPECT_TRUE(equal_ignoring_case("", ""));
}

TEST(Text, EscapesAndEntityResolution) {
    EXPECT_EQ(escape_text("a<b & 'c' \"d\""), "a&lt;b &amp; &apos;c&apos; &quot;d&quot;");
    EXPECT_EQ(escape_minimal("<'\"&>"), "&lt;'\"&amp;&gt;");
    EXPECT_EQ(escape_attribute("R&D's \"x\""), "R&amp;D's &quot;x&quot;");
    EXPECT_EQ(resolve_attribute_value("R&amp;D &#65;&#x42; &lt;&gt;&quot;&apos;"), "R&D AB <>\"'");
    EXPECT_EQ(resolve_attribute_value("a\tb\r\nc"), "a b c");
}

TEST(Text, SearchHelpers) {
    std::string_view t = "abcabc";
    EXPECT_EQ(find(t, "bc", 2), 4u);
    EXPECT_EQ(find(t, "x"), npos);
    EXPECT_EQ(rfind_before(t, "abc", 3), 0u);
    EXPECT_EQ(find_before(t, "ca", 0, 3), 2u);  // may start before the limit and run past it
    EXPECT_EQ(find_before(t, "ca", 0, 2), npos);
    EXPECT_EQ(find_before(t, "bc", 2, 4), npos);
}

// The search takes 16 starts at a time with a byte-by-byte tail and memmem for long needles and
// far matches: every start offset, text length and needle length must agree with the plain search.
TEST(Text, FindAgreesWithPlainSearchAtEveryOffset) {
    std::mt19937 rng(12345);
    const std::string alphabet = "<</c>r\"";
    for (int round = 0; round < 400; ++round) {
        std::string text(rng() % 300, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        std::size_t size = 1 + rng() % 40;
        std::string needle;
        if (!text.empty() && rng() % 2) {
            std::size_t at = rng() % text.size();
            needle = text.substr(at, size);
        } else {
            needle.resize(size);
            for (char& c : needle) c = alphabet[rng() % alphabet.size()];
        }
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            std::size_t expected = from > text.size() ? npos : std::string_view(text).find(needle, from);
            ASSERT_EQ(qm::find(text, needle, from), expected)
                << "text '" << text << "' needle '" << needle << "' from " << from;
        }
    }
    // A match only past the one-by-one window, and one ending on the text's last byte.
    std::string far(5000, 'x');
    far += "</row>";
    EXPECT_EQ(qm::find(far, "</row>"), 5000u);
    EXPECT_EQ(qm::find(far, std::string(40, 'x') + "</row>"), 4960u);
    EXPECT_EQ(qm::find(far, "</row>x"), npos);
}

namespace {
std::vector<std::string> tags(std::string_view text, bool fragment, std::optional<std::string>* error = nullptr) {
    std::vector<std::string> out;
    XmlReader reader(text, fragment);
    while (auto tag = reader.next()) {
        const char* kind = tag->kind == TagKind::Start ? "S:" : tag->kind == TagKind::Empty ? "E:" : "/:";
        out.push_back(kind + std::string(tag->name) + "@" + std::to_string(tag->begin) + "+" +
                      std::to_string(tag->raw.size()));
    }
    if (error) *error = reader.error();
    return out;
}
}  // namespace

TEST(XmlReader, YieldsRawNamesAndRanges) {
    std::string doc = "<?xml version=\"1.0\"?><x:a r:id='1'><b/>t<c  k=\"&gt;\"\n></c></x:a>";
    std::optional<std::string> error;
    auto got = tags(doc, false, &error);
    std::vector<std::string> want = {"S:x:a@21+14", "E:b@35+4", "S:c@40+14", "/:c@54+4", "/:x:a@58+6"};
    EXPECT_EQ(got, want);
    EXPECT_FALSE(error);
}

TEST(XmlReader, FragmentsAndChunkBoundaries) {
    std::string big;
    for (int i = 0; i < 60000; ++i) big += "<row r=\"" + std::to_string(i) + "\"><c/></row>";
    XmlReader reader(big, true);
    std::size_t rows = 0, last_begin = 0;
    while (auto tag = reader.next())
        if (tag->kind == TagKind::Start && tag->name == "row") {
            ++rows;
            last_begin = tag->begin;
            ASSERT_EQ(big.compare(tag->begin, 5, "<row "), 0);
        }
    EXPECT_EQ(rows, 60000u);
    EXPECT_EQ(big.substr(last_begin, 13), "<row r=\"59999");
    EXPECT_FALSE(reader.error());
}

TEST(XmlReader, StopsAtFirstErrorAfterEarlierTags) {
    std::optional<std::string> error;
    auto got = tags("<a><b></a>", false, &error);
    EXPECT_EQ(got.size(), 2u);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("mismatched tag"), std::string::npos);
    got = tags("<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", false, &error);
    EXPECT_TRUE(got.empty());
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "DOCTYPE declarations are not allowed");
}

TEST(XmlReader, Attributes) {
    std::string_view tag = "<sheet name=\"R&amp;D\" sheetId = '2' r:id=\"rId1\" name=\"x\"/>";
    EXPECT_EQ(first_attribute(tag, "name").value(), "R&amp;D");
    EXPECT_EQ(last_attribute(tag, "name").value(), "x");
    EXPECT_EQ(first_attribute(tag, "sheetId").value(), "2");
    EXPECT_FALSE(first_attribute(tag, "id"));
}

TEST(XmlScan, NamedTagsAcrossChunksUntilTheFirstError) {
    std::string text = "<w>";
    for (int i = 1; i <= 40000; ++i) text += "<row r=\"" + std::to_string(i) + "\"><c/></row>";  // ~1.1 MB
    text += "<x:row r=\"0\"/><row\nr='last'/></w>";
    std::vector<std::string> seen;
    for_each_tag_named(text, "row", [&](std::string_view raw) { seen.emplace_back(raw); });
    ASSERT_EQ(seen.size(), 40001u);
    EXPECT_EQ(seen[39999], "<row r=\"40000\">");
    EXPECT_EQ(seen.back(), "<row\nr='last'/>");

    seen.clear();
    for_each_tag_named("<w><row a=\"1\"/><row></w><row b=\"2\"/>", "row", [&](std::string_view raw) { seen.emplace_back(raw); });
    EXPECT_EQ(seen, (std::vector<std::string>{"<row a=\"1\"/>", "<row>"}));
    seen.clear();
    for_each_tag_named("<!DOCTYPE w><w><row/></w>", "row", [&](std::string_view raw) { seen.emplace_back(raw); });
    EXPECT_TRUE(seen.empty());
    for_each_tag_named("", "row", [&](std::string_view raw) { seen.emplace_back(raw); });
    EXPECT_TRUE(seen.empty());
}
