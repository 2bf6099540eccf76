#pragma once
// The reader of guitar tablature files of the Tabrite program (".bjo"): records of nine text
// lines each. The first line holds the record's kind and its duration code; the third, after
// one number, four side texts; the last six one text per course. A title record (kind 0)
// names the section, a text record (duration 999) carries a direction or an ending for the
// next chord, and every other record is one chord.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "import/text/CAbcImport.h"

namespace vornel {

class LineReader;
class nChord;
class nNotes;

class TabriteImport : public CAbcImport {
 public:
  static constexpr std::string_view kOpenFailedMessage = "Unable to open tabrite file: ";
  static constexpr std::string_view kPromptTitle = "Select a tabrite file";
  static constexpr std::string_view kFilePattern = "*.bjo";
  static constexpr size_t kLineBuffer = 99;
  static constexpr size_t kCourses = 6;
  // Values of the meta-events the records make.
  static constexpr uint32_t kSideCaption = 0x10020000;
  static constexpr uint32_t kDirectionCaption = 0x10030000;
  static constexpr uint32_t kEndingValue = 0x40004;

  // One record as read: its numbers, its four side texts and its six course texts.
  struct Record {
    std::array<int64_t, 8> numbers{};
    std::array<std::string, 4> sideTexts;
    std::array<std::string, kCourses> courseTexts;
  };

  explicit TabriteImport(CBriotabDoc& doc);
  ~TabriteImport() override;

  // Reads the file into the active section. 1 after reading; 0, after "Unable to open
  // tabrite file: " and the path, when the file cannot be read.
  int ReadFile(const std::string& path);
  // The same from the file's bytes.
  void ReadText(std::string_view bytes);

  // The flag word of a record's duration code.
  static uint16_t FlagsOfDuration(int64_t code);

 private:
  // Nine lines; nothing when the file ends inside the record.
  static std::optional<Record> ReadRecord(LineReader& lines);
  void ConvertRecord(const Record& record);
  void ApplySideText(size_t index, const std::string& text, nChord& chord, nNotes* lastNote);

  std::string pendingDirection_;
  std::string pendingEnding_;
};

}  // namespace vornel
