#pragma once
// Our texts (UTF-8) as the window system's strings.

#include <wx/string.h>

#include <string_view>

namespace vornel {

inline wxString WxText(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

}  // namespace vornel
