#include "support/xml_reader.hpp"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace qm {

namespace {
// Feeding in bounded chunks keeps expat's internal copy small on 100 MB worksheets. The first
// chunks are small: a caller that reads only the first tags (the root element of a large
// sheet) must not get a megabyte of tags queued.
constexpr std::size_t kChunk = 1 << 20;
constexpr std::size_t kFirstChunk = 16 << 10;
constexpr std::string_view kWrapOpen = "<w>";
constexpr std::string_view kWrapClose = "</w>";
}  // namespace

struct XmlReader::Impl {
    static XmlReader* self(void* data) { return static_cast<XmlReader*>(data); }

    // Offset of the current event in the caller's text, or npos for the synthetic wrapper.
    static std::size_t offset(XmlReader* r) {
        XML_Index index = XML_GetCurrentByteIndex(static_cast<XML_Parser>(r->parser_));
        if (index < 0) return std::string_view::npos;
        std::size_t at = static_cast<std::size_t>(index);
        if (r->fragment_) {
            if (at < kWrapOpen.size()) return std::string_view::npos;
            at -= kWrapOpen.size();
        }
        return at < r->text_.size() ? at : std::string_view::npos;
    }

    static void on_start(void* data, const XML_Char*, const XML_Char**) {
        XmlReader* r = self(data);
        std::size_t at = offset(r);
        if (at == std::string_view::npos) return;
        std::size_t count =
            static_cast<std::size_t>(XML_GetCurrentByteCount(static_cast<XML_Parser>(r->parser_)));
        count = std::min(count, r->text_.size() - at);
        Tag tag;
        tag.begin = at;
        tag.end = at + count;
        tag.raw = r->text_.substr(at, count);
        tag.kind = (count >= 2 && tag.raw[count - 2] == '/') ? TagKind::Empty : TagKind::Start;
        std::size_t n = 1;
        while (n < count && tag.raw[n] != ' ' && tag.raw[n] != '\t' && tag.raw[n] != '\n' &&
               tag.raw[n] != '\r' && tag.raw[n] != '>' && tag.raw[n] != '/')
            ++n;
        tag.name = tag.raw.substr(1, n - 1);
        r->queue_.push_back(tag);
    }

    static void on_end(void* data, const XML_Char*) {
        XmlReader* r = self(data);
        int count = XML_GetCurrentByteCount(static_cast<XML_Parser>(r->parser_));
        if (count <= 0) return;  // the end half of an empty-element tag
        std::size_t at = offset(r);
        if (at == std::string_view::npos) return;
        std::size_t len = std::min(static_cast<std::size_t>(count), r->text_.size() - at);
        Tag tag;
        tag.kind = TagKind::End;
        tag.begin = at;
        tag.end = at + len;
        tag.raw = r->text_.substr(at, len);
        std::size_t n = 2;
        while (n < len && tag.raw[n] != ' ' && tag.raw[n] != '\t' && tag.raw[n] != '\n' &&
               tag.raw[n] != '\r' && tag.raw[n] != '>')
            ++n;
        tag.name = tag.raw.substr(std::min<std::size_t>(2, len), n > 2 ? n - 2 : 0);
        r->queue_.push_back(tag);
    }

    // Worksheet and style parts never carry a DOCTYPE; refusing it shuts out entity expansion.
    static void on_doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        XmlReader* r = self(data);
        r->stop_reason_ = "DOCTYPE declarations are not allowed";
        XML_StopParser(static_cast<XML_Parser>(r->parser_), XML_FALSE);
    }
};

XmlReader::XmlReader(std::string_view text, bool fragment)
    : text_(text), fragment_(fragment), parser_(XML_ParserCreate(nullptr)), chunk_(kFirstChunk) {
    if (!parser_) {
        done_ = true;
        error_ = "out of memory creating the XML parser";
        return;
    }
    XML_Parser p = static_cast<XML_Parser>(parser_);
    XML_SetUserData(p, this);
    XML_SetElementHandler(p, &Impl::on_start, &Impl::on_end);
    XML_SetStartDoctypeDeclHandler(p, &Impl::on_doctype);
    if (fragment_ && XML_Parse(p, kWrapOpen.data(), int(kWrapOpen.size()), XML_FALSE) ==
                         XML_STATUS_ERROR) {
        done_ = true;
        error_ = XML_ErrorString(XML_GetErrorCode(p));
    }
}

XmlReader::~XmlReader() {
    if (parser_) XML_ParserFree(static_cast<XML_Parser>(parser_));
}

void XmlReader::feed() {
    XML_Parser p = static_cast<XML_Parser>(parser_);
    XML_Status status;
    if (fed_ < text_.size()) {
        std::size_t len = std::min(chunk_, text_.size() - fed_);
        chunk_ = std::min(chunk_ * 2, kChunk);
        bool last = !fragment_ && fed_ + len == text_.size();
        status = XML_Parse(p, text_.data() + fed_, int(len), last ? XML_TRUE : XML_FALSE);
        fed_ += len;
        if (last) done_ = true;
    } else {
        status = fragment_ ? XML_Parse(p, kWrapClose.data(), int(kWrapClose.size()), XML_TRUE)
                           : XML_Parse(p, "", 0, XML_TRUE);
        done_ = true;
    }
    if (status == XML_STATUS_ERROR) {
        done_ = true;
        if (stop_reason_) {
            error_ = *stop_reason_;
        } else {
            std::string message = XML_ErrorString(XML_GetErrorCode(p));
            message += " (line " + std::to_string(XML_GetCurrentLineNumber(p)) + ", column " +
                       std::to_string(XML_GetCurrentColumnNumber(p)) + ")";
            error_ = std::move(message);
        }
    }
}

std::optional<Tag> XmlReader::next() {
    while (queue_.empty() && !done_) feed();
    if (queue_.empty()) return std::nullopt;
    Tag tag = queue_.front();
    queue_.pop_front();
    return tag;
}

namespace {
struct NamedTagScan {
    XML_Parser parser;
    std::string_view text;
    const char* name;
    void (*on_tag)(void*, std::string_view);
    void* context;

    static void on_start(void* data, const XML_Char* tag_name, const XML_Char**) {
        auto* scan = static_cast<NamedTagScan*>(data);
        if (std::strcmp(tag_name, scan->name) != 0) return;
        XML_Index index = XML_GetCurrentByteIndex(scan->parser);
        if (index < 0 || static_cast<std::size_t>(index) >= scan->text.size()) return;
        std::size_t at = static_cast<std::size_t>(index);
        std::size_t count = static_cast<std::size_t>(XML_GetCurrentByteCount(scan->parser));
        scan->on_tag(scan->context, scan->text.substr(at, std::min(count, scan->text.size() - at)));
    }

    static void on_doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        XML_StopParser(static_cast<NamedTagScan*>(data)->parser, XML_FALSE);
    }
};
}  // namespace

void for_each_tag_named(std::string_view text, const char* name, void (*on_tag)(void*, std::string_view),
                        void* context) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) return;
    NamedTagScan scan{parser, text, name, on_tag, context};
    XML_SetUserData(parser, &scan);
    XML_SetStartElementHandler(parser, &NamedTagScan::on_start);
    XML_SetStartDoctypeDeclHandler(parser, &NamedTagScan::on_doctype);
    std::size_t fed = 0;
    do {
        std::size_t len = std::min(kChunk, text.size() - fed);
        bool last = fed + len == text.size();
        if (XML_Parse(parser, text.data() + fed, int(len), last ? XML_TRUE : XML_FALSE) == XML_STATUS_ERROR) break;
        fed += len;
    } while (fed < text.size());
    XML_ParserFree(parser);
}

std::optional<std::string_view> first_attribute(std::string_view tag, std::string_view name) {
    std::optional<std::string_view> found;
    for_each_attribute(tag, [&](const Attribute& a) {
        if (!found && a.name == name) found = a.raw_value;
    });
    return found;
}

std::optional<std::string_view> last_attribute(std::string_view tag, std::string_view name) {
    std::optional<std::string_view> found;
    for_each_attribute(tag, [&](const Attribute& a) {
        if (a.name == name) found = a.raw_value;
    });
    return found;
}

}  // namespace qm
