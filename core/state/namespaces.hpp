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

}  // namespace qm
