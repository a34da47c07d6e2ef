#pragma once
// Namespace and relationship-type URIs written into fixed markup.
#include <string_view>

namespace qm {

inline constexpr std::string_view SPREADSHEETML_NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr std::string_view OFFICEDOC_REL_NS =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr std::string_view PKG_REL_NS = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr std::string_view PKG_CT_NS = "http://schemas.openxmlformats.org/package/2006/content-types";
inline constexpr std::string_view REL_TYPE_OFFICE_DOCUMENT =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr std::string_view REL_TYPE_WORKSHEET =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr std::string_view REL_TYPE_STYLES =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";

// The strict variant of the format moves the document namespaces (not the package ones).
inline constexpr std::string_view STRICT_SPREADSHEETML_NS = "http://purl.oclc.org/ooxml/spreadsheetml/main";
inline constexpr std::string_view STRICT_OFFICEDOC_REL_NS =
    "http://purl.oclc.org/ooxml/officeDocument/relationships";

// Markup written into a package uses the namespace family the package already uses.
struct Namespaces {
    std::string_view main;
    std::string_view relationships;  // prefix of every relationship type
};
inline constexpr Namespaces kTransitional{SPREADSHEETML_NS, OFFICEDOC_REL_NS};
inline constexpr Namespaces kStrict{STRICT_SPREADSHEETML_NS, STRICT_OFFICEDOC_REL_NS};

}  // namespace qm
