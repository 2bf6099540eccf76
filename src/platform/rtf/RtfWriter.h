#pragma once
// Writes the rich-text model as RTF in the style of the rich-edit control: the header with
// \ansicpg, \deff and \deflang, the font table, the colour table with its leading ";",
// "\viewkind4\uc1\pard", then each paragraph with its formats stated where they change,
// bullets as "{\pntext ...}{\*\pn ...}", pictures as "{\pict ...}" with their data in hex, and
// "\par" between paragraphs. Text goes through EscapeRtfText. Reading what is written gives
// the same model back, and writing that again gives the same bytes.

#include <string>

#include "platform/rtf/RichText.h"

namespace vornel {

std::string WriteRtf(const RichDocument& doc);

}  // namespace vornel
