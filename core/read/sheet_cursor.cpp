#include <cstring>

#include "read/read.hpp"
#include "read/scan.hpp"

namespace qm {

namespace {

constexpr std::string_view kMalformedTag = "malformed tag in sheetData";
constexpr std::string_view kUnclosedCell = "cell element not closed in sheetData";

// Letters then digits, as "AB12": the 0-based column and the row. Absent for anything else.
std::optional<std::pair<std::uint32_t, std::uint32_t>> read_reference(std::string_view r) {
    std::size_t i = 0;
    std::uint64_t column = 0;
    while (i < r.size() && is_ascii_letter(static_cast<unsigned char>(r[i]))) {
        column = column * 26 + static_cast<std::uint64_t>(ascii_upper(r[i]) - 'A' + 1);
        if (++i > 3) return std::nullopt;
    }
    if (i == 0 || i == r.size()) return std::nullopt;
    std::uint64_t row = 0;
    for (; i < r.size(); ++i) {
        if (!is_ascii_digit(static_cast<unsigned char>(r[i]))) return std::nullopt;
        row = row * 10 + static_cast<std::uint64_t>(r[i] - '0');
        if (row > 0xFFFFFFFFu) return std::nullopt;
    }
    if (row == 0) return std::nullopt;
    return std::pair{static_cast<std::uint32_t>(column - 1), static_cast<std::uint32_t>(row)};
}

std::optional<std::uint32_t> read_number(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t n = 0;
    for (char c : text) {
        if (!is_ascii_digit(static_cast<unsigned char>(c))) return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (n > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(n);
}

}  // namespace

SheetCursor::SheetCursor(std::string_view sheet) : text_(sheet) {
    // The sheetData start tag, under any prefix.
    std::size_t at = 0;
    for (;;) {
        at = find(text_, "sheetData", at);
        if (at == npos || at == 0) {
            pos_ = npos;
            return;
        }
        std::size_t lt = at - 1;
        while (lt > 0 && text_[lt] != '<' && text_[lt] != '>' && !is_xml_space(text_[lt])) --lt;
        if (text_[lt] == '<' && text_[lt + 1] != '/') {
            auto tag = scan_tag(text_, lt, [](std::string_view, std::string_view) {});
            if (!tag) {
                pos_ = npos;
                return;
            }
            pos_ = tag->self_closing ? npos : tag->end;
            return;
        }
        at += 9;
    }
}

SheetCursor::SheetCursor(std::string_view sheet, std::size_t offset, std::uint32_t previous_row)
    : text_(sheet), pos_(offset), row_(previous_row) {}

Result<SheetCursor::Event> SheetCursor::next() {
    while (pos_ < text_.size()) {
        const char* base = text_.data();
        const void* hit = std::memchr(base + pos_, '<', text_.size() - pos_);
        if (!hit) break;
        std::size_t lt = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        if (lt + 1 >= text_.size()) break;
        char c = text_[lt + 1];
        if (c == '!' || c == '?') {
            std::size_t after = skip_markup_declaration(text_, lt);
            if (after == npos) return fail(std::string(kMalformedTag));
            pos_ = after;
            continue;
        }
        if (c == '/') {
            std::size_t gt = find(text_, ">", lt);
            if (gt == npos) return fail(std::string(kMalformedTag));
            pos_ = gt + 1;
            if (local_name(tag_name(text_, lt + 2)) == "sheetData") break;
            continue;
        }
        std::string_view local = local_name(tag_name(text_, lt + 1));
        if (local == "c") {
            if (Status read = read_cell(lt); !read) return fail(std::move(read.error()));
            return Event::Cell;
        }
        if (local == "row") return read_row(lt);
        auto tag = scan_tag(text_, lt, [](std::string_view, std::string_view) {});
        if (!tag) return fail(std::string(kMalformedTag));
        pos_ = tag->end;
    }
    pos_ = npos;
    return Event::End;
}

Result<SheetCursor::Event> SheetCursor::read_row(std::size_t lt) {
    std::optional<std::uint32_t> number;
    auto tag = scan_tag(text_, lt, [&](std::string_view name, std::string_view value) {
        if (local_name(name) == "r") number = read_number(value);
    });
    if (!tag) return fail(std::string(kMalformedTag));
    row_ = number && *number > 0 ? *number : row_ + 1;
    row_offset_ = lt;
    last_column_ = -1;
    pos_ = tag->end;
    return Event::Row;
}

Status SheetCursor::read_cell(std::size_t lt) {
    cell_ = RawCell{};
    std::string_view r;
    auto tag = scan_tag(text_, lt, [&](std::string_view name, std::string_view value) {
        std::string_view local = local_name(name);
        if (local.size() != 1) return;
        if (local[0] == 'r') r = value;
        else if (local[0] == 't') cell_.type = value;
        else if (local[0] == 's') cell_.style = read_number(value).value_or(0);
    });
    if (!tag) return fail(std::string(kMalformedTag));
    auto reference = r.empty() ? std::nullopt : read_reference(r);
    if (reference) {
        cell_.column = reference->first;
        cell_.row = reference->second;
    } else {
        cell_.column = static_cast<std::uint32_t>(last_column_ + 1);
        cell_.row = row_ == 0 ? 1 : row_;
    }
    last_column_ = cell_.column;
    pos_ = tag->end;
    if (tag->self_closing) return {};

    for (;;) {
        std::size_t child = find(text_, "<", pos_);
        if (child == npos || child + 1 >= text_.size()) return fail(std::string(kUnclosedCell));
        char c = text_[child + 1];
        if (c == '/') {
            std::size_t gt = find(text_, ">", child);
            if (gt == npos || local_name(tag_name(text_, child + 2)) != "c") return fail(std::string(kUnclosedCell));
            pos_ = gt + 1;
            return {};
        }
        if (c == '!' || c == '?') {
            std::size_t after = skip_markup_declaration(text_, child);
            if (after == npos) return fail(std::string(kUnclosedCell));
            pos_ = after;
            continue;
        }
        std::string_view local = local_name(tag_name(text_, child + 1));
        auto start = scan_tag(text_, child, [](std::string_view, std::string_view) {});
        if (!start) return fail(std::string(kMalformedTag));
        std::string_view content;
        if (start->self_closing) {
            pos_ = start->end;
        } else {
            auto span = element_content(text_, start->end);
            if (!span) return fail(std::string(kUnclosedCell));
            content = text_.substr(start->end, span->first - start->end);
            pos_ = span->second;
        }
        if (local == "v") {
            cell_.value = content;
            cell_.has_value = true;
        } else if (local == "f") {
            cell_.formula = content;
            cell_.formula_tag = text_.substr(child, start->end - child);
            cell_.has_formula = true;
        } else if (local == "is") {
            cell_.inline_text = content;
            cell_.has_inline = true;
        }
    }
}

}  // namespace qm
