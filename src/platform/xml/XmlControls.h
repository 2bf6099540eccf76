#pragma once
// Texts in written XML keep every character. XML 1.0 cannot hold the C0 control characters
// other than tab, line feed and carriage return, not even as character references: they are
// written as the Unicode pictures of the controls (U+2401 for U+0001 ... U+241F for U+001F),
// which any reader takes. A picture of that range that stands for itself, and the escape sign
// U+2421, are written after an escape sign U+2421. Reading turns the pictures back, so a text
// read gives the text written; a lone picture another program wrote reads as the control.

#include <tinyxml2.h>

#include <string>
#include <string_view>

namespace vornel {

// Whether `text` holds a character EncodeXmlControls changes.
bool NeedsXmlControlForms(std::string_view text);
// The text as written XML holds it.
std::string EncodeXmlControls(std::string_view text);
// Whether `text` holds a character DecodeXmlControls may change.
bool HoldsXmlControlForms(std::string_view text);
// The text a written one stands for.
std::string DecodeXmlControls(std::string_view text);
// Decodes every text and attribute value of `node` and everything below it, in place.
void DecodeXmlControls(tinyxml2::XMLNode& node);

}  // namespace vornel
