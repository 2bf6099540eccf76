#pragma once
// The files of the rich-text editor: RTF, or plain text when the name ends in the three
// letters "txt" (in any case). Plain text is written as UTF-8 and read as UTF-8 when valid,
// else as Windows-1252.

#include <optional>
#include <string>
#include <string_view>

#include "platform/rtf/RichText.h"

namespace vornel {

// What the rich-text editor exchanges with the block it edits.
struct RichTextEditorData {
  std::string rtf;
  bool readOnly = false;
  int32_t textLength = 0;  // characters in the editor at OK; 0 when it was cleared
};

bool IsPlainTextFileName(std::string_view path);

// The file's rich text; nothing (with `error` set) when it cannot be read. A text stopped by
// the reader's limits is kept as far as it was read and sets `stopped`.
std::optional<RichDocument> ReadRichTextFile(const std::string& path, std::string* error = nullptr,
                                             bool* stopped = nullptr);
// Writes the text as the name asks, through a temporary file; false (with `error` set) when
// the file cannot be written, which leaves an existing file as it was.
bool WriteRichTextFile(const std::string& path, const RichDocument& doc, std::string* error = nullptr);

}  // namespace vornel
