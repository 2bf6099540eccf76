#pragma once
// The "Tab formatting options" chosen before a section is written as TAB text for the DOS
// tablature typesetter. The choices become the option lines of the file's header. The window
// layer's dialog 353 edits this struct; the list members hold the position of the chosen entry.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

struct CTabProperties {
  static constexpr int kDialogId = 353;
  static constexpr std::string_view kCaption = "Tab formatting options";

  // The entries of the four lists, in order (blank entries included).
  static constexpr std::array<std::string_view, 7> kFlagEntries = {
      "Default", "English (Board style)", "Modern style", "Renaissance", "Thin line ", "Quorbel style", ""};
  static constexpr std::array<std::string_view, 4> kStyleEntries = {"Default", "Tevrane", "Calvonet", "Osmire"};
  static constexpr std::array<std::string_view, 4> kStaveLineEntries = {"6", "4", "5", ""};
  static constexpr std::array<std::string_view, 5> kFontSizeEntries = {"100%", "94%", "88%", "77%", "66%"};

  int32_t baroqueStyle = 0;
  int32_t flags = 0;
  int32_t landscapeOrientation = 0;
  int32_t staveLines = 0;
  int32_t styles = 0;
  int32_t fontSize = 0;
  int32_t forcePageBreaks = 0;
  int32_t barNumbers = 0;
  int32_t printOnLines = 0;
  int32_t italianTablatureMode = 0;
  // Always shown disabled by the dialog: an export through it holds the active section only.
  int32_t exportAllSections = 0;

  // The option lines of the TAB header: "\n-P " followed by one line per choice.
  std::string BuildOptionLines() const;
};

}  // namespace vornel
