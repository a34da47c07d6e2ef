#include <algorithm>
#include <array>

#include "formula/formula.hpp"
#include "support/text.hpp"
#include "support/xml_reader.hpp"

namespace qm {

namespace {

// Elements whose text is a formula: cells, validations, conditional formats, extension lists,
// chart series and titles, table columns, defined names.
constexpr std::array<std::string_view, 7> kFormulaElements = {
    "f", "formula", "formula1", "formula2", "calculatedColumnFormula", "totalsRowFormula", "definedName",
};

// Names match under Unicode case folding, so a reference may spell a non-ASCII letter in another
// case, or k and s as the Kelvin sign and long s: those bytes never go into the key.
bool is_key_char(unsigned char c) {
    if (c >= 0x80 || c == 'k' || c == 'K' || c == 's' || c == 'S') return false;
    return c != '\'' && c != '&' && c != '<' && c != '>' && c != '"';
}

unsigned char fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

std::string_view local_name(std::string_view qualified) {
    std::size_t colon = qualified.find(':');
    return colon == npos ? qualified : qualified.substr(colon + 1);
}

// The tag name of the start tag at `lt`.
std::string_view tag_name(std::string_view text, std::size_t lt, std::size_t gt) {
    std::size_t i = lt + 1;
    while (i < gt && text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r' && text[i] != '/' &&
           text[i] != '>')
        ++i;
    return text.substr(lt + 1, i - lt - 1);
}

// Element text with entities resolved; literal tabs and line breaks are content here, so they are
// kept rather than normalised as in attribute values.
std::string resolve_element_text(std::string_view raw) {
    if (raw.find('&') == npos) return std::string(raw);
    std::string kept;
    kept.reserve(raw.size() + 8);
    for (char c : raw) {
        if (c == '\t') kept += "&#9;";
        else if (c == '\n') kept += "&#10;";
        else if (c == '\r') kept += "&#13;";
        else kept += c;
    }
    return resolve_attribute_value(kept);
}

std::string escape_for_quote(std::string_view value, char quote) {
    return quote == '\'' ? escape_text(value) : escape_attribute(value);
}

struct PartRewriter {
    std::string_view text;
    const SheetChange& change;
    std::string key;
    std::string out;
    std::size_t copied = 0;
    bool changed = false;

    void replace(std::size_t begin, std::size_t end, std::string_view with) {
        out.append(text.substr(copied, begin - copied));
        out.append(with);
        copied = end;
        changed = true;
    }

    // Rewrites one attribute of the tag [lt, gt]; `rewrite` maps a resolved value to a new one.
    template <class F>
    void attribute(std::size_t lt, std::size_t gt, std::string_view name, F&& rewrite) {
        std::string_view tag = text.substr(lt, gt + 1 - lt);
        for_each_attribute(tag, [&](const Attribute& a) {
            if (a.name != name) return;
            std::size_t begin = static_cast<std::size_t>(a.raw_value.data() - text.data());
            if (begin < copied) return;
            char quote = text[begin - 1];
            if (auto value = rewrite(resolve_attribute_value(a.raw_value)))
                replace(begin, begin + a.raw_value.size(), escape_for_quote(*value, quote));
        });
    }

    // Handles the occurrence of the key at `hit`; returns where the search goes on.
    std::size_t visit(std::size_t hit) {
        std::size_t lt = text.rfind('<', hit);
        if (lt == npos || lt + 1 >= text.size()) return hit + 1;
        char first = text[lt + 1];
        if (first == '/' || first == '!' || first == '?') return hit + 1;  // end tag, comment, CDATA
        std::size_t gt = text.find('>', lt);
        if (gt == npos) return text.size();
        std::string_view name = local_name(tag_name(text, lt, gt));
        if (hit > gt) {
            bool formula = false;
            for (std::string_view e : kFormulaElements) formula = formula || name == e;
            std::size_t end = text.find('<', gt);
            if (end == npos) return text.size();
            if (!formula || text[gt - 1] == '/' || gt + 1 < copied) return end;
            std::string formula_text = resolve_element_text(text.substr(gt + 1, end - gt - 1));
            auto rewritten = rewrite_sheet_references(formula_text, change);
            // A formula the tokenizer cannot read is kept as written.
            if (rewritten && *rewritten) replace(gt + 1, end, escape_minimal(**rewritten));
            return end;
        }
        if (name == "hyperlink") {
            attribute(lt, gt, "location", [&](const std::string& value) -> std::optional<std::string> {
                auto rewritten = rewrite_sheet_references(value, change);
                return rewritten ? *rewritten : std::nullopt;
            });
        } else if (name == "worksheetSource" && change.new_name) {
            // A pivot source names the sheet bare. A deleted source stays: the application reports it
            // when the pivot table is refreshed, and a sheet of that name added later serves again.
            attribute(lt, gt, "sheet", [&](const std::string& value) -> std::optional<std::string> {
                if (!same_sheet_name(value, change.old_name)) return std::nullopt;
                return *change.new_name;
            });
        }
        return gt + 1;
    }
};

}  // namespace

std::string sheet_search_key(std::string_view name) {
    // The longest run of bytes that the markup writes as they are (no escapes, no doubled quotes).
    std::size_t best = 0, best_len = 0;
    for (std::size_t i = 0; i < name.size();) {
        if (!is_key_char(static_cast<unsigned char>(name[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < name.size() && is_key_char(static_cast<unsigned char>(name[j]))) ++j;
        if (j - i > best_len) best = i, best_len = j - i;
        i = j;
    }
    // Every sheet reference carries a "!": the key of last resort.
    return best_len == 0 ? std::string("!") : std::string(name.substr(best, best_len));
}

namespace {

// Occurrences of a key without regard to ASCII case, in increasing order. Candidates are the
// positions of either case of the lead byte, each found at memchr speed; the next position of
// each case is kept between calls, so a text with many hits is still searched once.
class KeySearch {
public:
    KeySearch(std::string_view text, std::string_view key) : text_(text), key_(key) {
        if (key.empty()) return;
        upper_ = static_cast<char>(fold(static_cast<unsigned char>(key[0])));
        lower_ = (upper_ >= 'A' && upper_ <= 'Z') ? static_cast<char>(upper_ + 32) : upper_;
    }

    std::size_t next(std::size_t from) {
        if (key_.empty()) return from <= text_.size() ? from : npos;
        if (from >= text_.size()) return npos;
        if (next_upper_ < from || next_upper_ == kUnknown) next_upper_ = text_.find(upper_, from);
        if (lower_ == upper_) next_lower_ = npos;
        else if (next_lower_ < from || next_lower_ == kUnknown) next_lower_ = text_.find(lower_, from);
        while (next_upper_ != npos || next_lower_ != npos) {
            std::size_t at = std::min(next_upper_, next_lower_);
            if (text_.size() - at < key_.size()) return npos;
            std::size_t k = 1;
            while (k < key_.size() &&
                   fold(static_cast<unsigned char>(text_[at + k])) == fold(static_cast<unsigned char>(key_[k])))
                ++k;
            if (at == next_upper_) next_upper_ = text_.find(upper_, at + 1);
            else next_lower_ = text_.find(lower_, at + 1);
            if (k == key_.size()) return at;
        }
        return npos;
    }

private:
    static constexpr std::size_t kUnknown = npos - 1;
    std::string_view text_, key_;
    char upper_ = 0, lower_ = 0;
    std::size_t next_upper_ = kUnknown, next_lower_ = kUnknown;
};

}  // namespace

std::size_t find_ignoring_case(std::string_view text, std::string_view key, std::size_t from) {
    return KeySearch(text, key).next(from);
}

std::optional<std::string> rewrite_part_sheet_references(std::string_view part, const SheetChange& change) {
    PartRewriter rewriter{part, change, sheet_search_key(change.old_name), {}, 0, false};
    KeySearch search(part, rewriter.key);
    for (std::size_t at = search.next(0); at != npos; at = search.next(at)) {
        at = rewriter.visit(at);
        if (at >= part.size()) break;
    }
    if (!rewriter.changed) return std::nullopt;
    rewriter.out.append(part.substr(rewriter.copied));
    return std::move(rewriter.out);
}

}  // namespace qm
