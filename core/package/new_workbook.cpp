#include <cerrno>
#include <filesystem>
#include <system_error>

#include "catalogue/catalogue.hpp"
#include "package/package.hpp"
#include "state/namespaces.hpp"
#include "support/text.hpp"
#include "support/zip_archive.hpp"
#include "support/zip_save.hpp"

namespace qm {

namespace {
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";

std::string content_types() {
    std::string s(kDeclaration);
    s += "\n<Types xmlns=\"";
    s += PKG_CT_NS;
    s += "\">\n"
         "  <Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>\n"
         "  <Default Extension=\"xml\" ContentType=\"application/xml\"/>\n"
         "  <Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>\n"
         "  <Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>\n"
         "  <Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>\n"
         "</Types>";
    return s;
}

std::string package_rels() {
    std::string s(kDeclaration);
    s += "\n<Relationships xmlns=\"";
    s += PKG_REL_NS;
    s += "\">\n  <Relationship Id=\"rId1\" Type=\"";
    s += REL_TYPE_OFFICE_DOCUMENT;
    s += "\" Target=\"xl/workbook.xml\"/>\n</Relationships>";
    return s;
}

std::string workbook(std::string_view sheet_name) {
    std::string s(kDeclaration);
    s += "<workbook xmlns=\"";
    s += SPREADSHEETML_NS;
    s += "\" xmlns:r=\"";
    s += OFFICEDOC_REL_NS;
    s += "\"><sheets><sheet name=\"";
    s += escape_text(sheet_name);  // & " < > ' all escaped
    s += "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    return s;
}

std::string workbook_rels() {
    std::string s(kDeclaration);
    s += "\n<Relationships xmlns=\"";
    s += PKG_REL_NS;
    s += "\">\n  <Relationship Id=\"rId1\" Type=\"";
    s += REL_TYPE_WORKSHEET;
    s += "\" Target=\"worksheets/sheet1.xml\"/>\n  <Relationship Id=\"rId2\" Type=\"";
    s += REL_TYPE_STYLES;
    s += "\" Target=\"styles.xml\"/>\n</Relationships>";
    return s;
}

std::string worksheet() {
    std::string s(kDeclaration);
    s += "\n<worksheet xmlns=\"";
    s += SPREADSHEETML_NS;
    s += "\">\n  <dimension ref=\"A1\"/>\n  <sheetData></sheetData>\n</worksheet>";
    return s;
}

std::string styles() {
    std::string s(kDeclaration);
    s += "\n<styleSheet xmlns=\"";
    s += SPREADSHEETML_NS;
    s += "\">\n"
         "  <fonts count=\"1\">\n"
         "    <font>\n"
         "      <sz val=\"11\"/>\n"
         "      <color theme=\"1\"/>\n"
         "      <name val=\"Calibri\"/>\n"
         "      <family val=\"2\"/>\n"
         "    </font>\n"
         "  </fonts>\n"
         "  <fills count=\"2\">\n"
         "    <fill><patternFill patternType=\"none\"/></fill>\n"
         "    <fill><patternFill patternType=\"gray125\"/></fill>\n"
         "  </fills>\n"
         "  <borders count=\"1\">\n"
         "    <border>\n"
         "      <left/><right/><top/><bottom/><diagonal/>\n"
         "    </border>\n"
         "  </borders>\n"
         "  <cellStyleXfs count=\"1\">\n"
         "    <xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>\n"
         "  </cellStyleXfs>\n"
         "  <cellXfs count=\"1\">\n"
         "    <xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>\n"
         "  </cellXfs>\n"
         "  <cellStyles count=\"1\">\n"
         "    <cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>\n"
         "  </cellStyles>\n"
         "</styleSheet>";
    return s;
}
}  // namespace

Status create_workbook(const std::string& path, std::string_view sheet_name) {
    auto name = check_new_sheet_name(sheet_name);
    if (!name) return fail(std::move(name.error()));

    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(parent, ec);
        if (ec) return fail(path_error("create folder", parent.string(), ec.message()));
    }

    const std::string entries[][2] = {
        {"[Content_Types].xml", content_types()},
        {"_rels/.rels", package_rels()},
        {"xl/workbook.xml", workbook(*name)},
        {"xl/_rels/workbook.xml.rels", workbook_rels()},
        {"xl/worksheets/sheet1.xml", worksheet()},
        {"xl/styles.xml", styles()},
    };
    // The zip layer writes a new file and renames it over the path: a link there would be
    // replaced instead of having its destination rewritten.
    auto written = [&]() -> Status {
        auto target = resolve_save_target(path);
        if (!target) return fail(std::move(target.error()));
        // libzip would only say "Operation not supported".
        std::error_code ec;
        if (std::filesystem::is_directory(*target, ec)) return fail(system_message(EISDIR));
        auto writer = ZipWriter::create(*target);
        if (!writer) return fail(std::move(writer.error()));
        for (const auto& entry : entries)
            if (auto added = writer->add(entry[0], entry[1], Compression::Deflate6); !added) return added;
        return writer->close();
    }();
    if (!written) return fail(path_error("write", path, std::move(written.error())));
    return {};
}

}  // namespace qm
