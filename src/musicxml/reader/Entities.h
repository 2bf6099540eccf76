#pragma once
// The five predefined entities and numeric character references of XML text and attribute
// values, decoded to UTF-8, and the pictures our writers give the controls XML cannot hold
// (platform/xml/XmlControls.h). A reference that is not well formed stays as written.

#include <string>
#include <string_view>

namespace vornel::MusicXML2 {

std::string DecodeEntities(std::string_view text);

}  // namespace vornel::MusicXML2
