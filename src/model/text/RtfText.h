#pragma once
// RTF strings the records build. Plain text goes into them through EscapeRtfText.

#include <string>
#include <string_view>

#include "platform/rtf/RtfEscape.h"

namespace vornel {

// The body of an RTF string after its last group: what follows the last unescaped '}' once
// the string's final '}' and every '}' just before it are cut off. An escaped brace in the
// text is never taken for the end of a group.
std::string RtfTrailingBody(std::string_view rtf);

}  // namespace vornel
