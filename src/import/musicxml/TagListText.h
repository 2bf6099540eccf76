#pragma once
// The flat tag list as text, one element per line: its name and its parameters separated by
// blanks ("staff 1 1 1 0 0"). A word that is empty or holds a blank, a double quote or a
// control character is written in double quotes, with \" \\ \n \r \t and \xHH escapes inside.
// `vornel-tool mx2tags` prints this form and the tests read it back to build lists to walk.

#include <string>
#include <string_view>

#include "import/musicxml/vornelelement.h"

namespace vornel {

// One line per child of `list` (the flat list's "Score" element).
std::string TagListToText(const vornelelement& list);
// One element's line, without the line end.
std::string TagLineText(const vornelelement& element);

// A flat list (a "Score" element) from that text. Blank lines and lines starting with "#" are
// passed over; a quoted word that is not closed runs to the end of its line. At most
// `maxElements` elements and 64 parameters per element are read, the rest of the text ignored.
Svornelelement TagListFromText(std::string_view text, size_t maxElements = 1000000);

}  // namespace vornel
