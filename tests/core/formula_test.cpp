#include <gtest/gtest.h>

#include "formula/formula.hpp"

using namespace qm;

namespace {

// Kinds of the tokens, one letter each, with the text of every prefixed token's sheet names.
std::string kinds(std::string_view formula) {
    auto tokens = tokenize_formula(formula);
    if (!tokens) return "!" + tokens.error().message;
    std::string out;
    std::size_t at = 0;
    for (const FormulaToken& t : *tokens) {
        EXPECT_EQ(t.begin, at) << formula;  // every byte in exactly one token, in order
        at = t.end;
        out += "wospqaAfS9ERNxu"[static_cast<int>(t.kind)];
        if (t.sheet) out += "<" + t.sheet->book + t.sheet->first + (t.sheet->last.empty() ? "" : ":" + t.sheet->last) + ">";
    }
    EXPECT_EQ(at, formula.size()) << formula;
    return out;
}

}  // namespace

TEST(Tokenize, KindsAndPrefixes) {
    struct Case { const char* formula; const char* kinds; };
    const Case cases[] = {
        {"SUM(A1:B2)", "fpRq"},
        {"LOG10(A1)+ATAN2(1,2)", "fpRqofp9s9q"},
        {"A1B+R1C1+XFE1+TRUE", "NoNoNoN"},
        {"$A$1:$B2+A:A+$3:4", "RoRoR"},
        {"'It''s'!A1&\"Data!A1\"", "R<It's>oS"},
        {"Jan:Mar!B2+'Q 1:Q 2'!C3", "R<Jan:Mar>oR<Q 1:Q 2>"},
        {"[1]Data!A1+'C:\\x\\[b.xlsx]Data'!B2+[1]!Total", "R<[1]Data>oR<C:\\x\\[b.xlsx]Data>oN<[1]>"},
        {"Table1[[#This Row],[A]:[B]]+[@Col]", "xox"},
        {"{1,2;3,4}*1.5E+3-.5%", "a9s9s9s9Ao9o9o"},
        {"#REF!A1+Data!#REF!+#DIV/0!", "ERoE<Data>oE"},
        {"Data!total + _xlfn.XLOOKUP(x)", "N<Data>wowfpNq"},
        {"Données!A1+数据!B2", "R<Données>oR<数据>"},
        {"A1 B2", "RwR"},
        {"\"open", "!Formula has an unterminated string literal"},
        {"'open!A1", "!Formula has an unterminated quoted sheet name"},
        {"Table1[Col", "!Formula has an unterminated bracket"},
    };
    for (const Case& c : cases) EXPECT_EQ(kinds(c.formula), c.kinds) << c.formula;
}

TEST(Translate, EdgesOfTheGrid) {
    struct Case { const char* formula; std::int64_t rows, columns; const char* out; };
    const Case cases[] = {
        {"A1+$A$1", 1, 1, "B2+$A$1"},
        {"A2", -1, 0, "A1"},
        {"A1", -1, 0, "#REF!"},
        {"Data!A1:B2", 0, -1, "#REF!"},
        {"XFD1", 0, 1, "#REF!"},
        {"$XFD1", 0, 1, "$XFD1"},
        {"A1048576", 1, 0, "#REF!"},
        {"A:A+1:1", 5, 5, "F:F+6:6"},
        {"a1", 0, 0, "A1"},
        {"{1,A1}+\"B1\"", 1, 1, "{1,A1}+\"B1\""},
        {"A1", INT64_MAX, INT64_MIN, "#REF!"},
        {"$A$1", INT64_MAX, INT64_MIN, "$A$1"},
    };
    for (const Case& c : cases) EXPECT_EQ(translate_formula(c.formula, c.rows, c.columns).value(), c.out) << c.formula;
}

TEST(SheetNames, QuotedExactlyWhenNeeded) {
    struct Case { const char* name; const char* written; };
    const Case cases[] = {
        {"Data", "Data"}, {"Q1 Sales", "'Q1 Sales'"}, {"It's", "'It''s'"}, {"2024", "'2024'"},
        {"A1", "'A1'"}, {"xfd99", "'xfd99'"}, {"R1C1", "'R1C1'"}, {"RC", "'RC'"}, {"C", "'C'"},
        {"R2D2", "R2D2"}, {"ABCD1", "ABCD1"}, {"Sales_2", "Sales_2"}, {"a.b", "'a.b'"},
        {"true", "'true'"}, {"Données", "Données"}, {"数据", "数据"}, {"a\u00A0b", "'a\u00A0b'"},
        {"x\xE2\x80\x94y", "'x\xE2\x80\x94y'"}, {"a-b", "'a-b'"},
    };
    for (const Case& c : cases) EXPECT_EQ(format_sheet_prefix_name(c.name), c.written) << c.name;
}

TEST(SheetReferences, RenameAndDelete) {
    const std::vector<std::string> order = {"Jan", "Data", "Mar", "Apr"};
    struct Case { const char* formula; const char* old_name; const char* new_name; const char* out; };
    const Case cases[] = {
        {"Data!A1+data!B2", "Data", "Q1 Sales", "'Q1 Sales'!A1+'Q1 Sales'!B2"},
        {"'Data'!A:A", "Data", "New", "New!A:A"},
        {"Jan:Data!B2", "Data", "It's", "'Jan:It''s'!B2"},
        {"Data2!A1+\"Data!A1\"+[1]Data!A1+Data.x+Table1[Data]", "Data", "X", nullptr},
        {"SUM(Data!A1)+Data!total", "Data", "R1C1", "SUM('R1C1'!A1)+'R1C1'!total"},
        {"'O''Neil'!A1", "O'Neil", "Plain", "Plain!A1"},
        {"'äpfel'!A1+ÄPFEL!B2", "Äpfel", "Obst", "Obst!A1+Obst!B2"},
        // deletions
        {"Data!A1 + 1", "Data", nullptr, "#REF!A1 + 1"},
        {"Data!$A$1:$B$9", "Data", nullptr, "#REF!$A$1:$B$9"},
        {"Data!total+Data!#REF!", "Data", nullptr, "#REF!+#REF!"},
        {"SUM(Data:Apr!B2)", "Data", nullptr, "SUM(Mar:Apr!B2)"},
        {"SUM(Jan:Data!B2)", "Data", nullptr, "SUM(Jan!B2)"},
        {"SUM(Apr:Data!B2)", "Data", nullptr, "SUM(Apr:Mar!B2)"},
        {"SUM(Jan:Mar!B2)", "Data", nullptr, nullptr},
        {"SUM(Data:Data!B2)", "Data", nullptr, "SUM(#REF!B2)"},
    };
    for (const Case& c : cases) {
        SheetChange change{c.old_name, c.new_name ? std::optional<std::string>(c.new_name) : std::nullopt, order};
        auto out = rewrite_sheet_references(c.formula, change).value();
        if (c.out) {
            ASSERT_TRUE(out) << c.formula;
            EXPECT_EQ(*out, c.out) << c.formula;
        } else {
            EXPECT_FALSE(out) << c.formula << " -> " << *out;
        }
    }
}
