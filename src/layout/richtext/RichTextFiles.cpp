#include "layout/richtext/RichTextFiles.h"

#include "platform/io/FileIO.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "platform/text/AsciiCase.h"

namespace vornel {

namespace {

// A rich text is at most 16,777,216 characters; its RTF, with pictures in hex, a few times
// that.
constexpr size_t kMaxFile = size_t(1) << 30;

}  // namespace

bool IsPlainTextFileName(std::string_view path) { return EndsWithNoCase(path, "txt"); }

std::optional<RichDocument> ReadRichTextFile(const std::string& path, std::string* error, bool* stopped) {
  const auto bytes = ReadFileBytes(path, kMaxFile);
  if (!bytes) {
    if (error != nullptr) *error = "The file " + path + " cannot be read";
    return std::nullopt;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  RtfReadResult read = IsPlainTextFileName(path) ? ReadPlainText(text) : ReadRtf(text);
  if (stopped != nullptr) *stopped = read.stopped;
  return std::move(read.document);
}

bool WriteRichTextFile(const std::string& path, const RichDocument& doc, std::string* error) {
  const std::string bytes = IsPlainTextFileName(path) ? doc.PlainText() : WriteRtf(doc);
  return WriteFileAtomically(path, std::string_view(bytes), error);
}

}  // namespace vornel
