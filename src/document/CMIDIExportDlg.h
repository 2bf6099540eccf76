#pragma once
// The MIDI export settings of a document, stored inside the binary document. The export
// command sets the signature and tempo before writing; they are not stored.

#include <cstdint>
#include <string>

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class CMIDIExportDlg {
 public:
  // Set by the export command, not stored.
  int32_t numerator = 4;
  int32_t denominator = 4;
  int32_t tempo = 120;  // beats per minute in the low 12 bits

  // Stored, in this order. Only the expand-repeats switch has a meaning of its own so far;
  // the others are kept as the files hold them.
  int32_t option1 = 0;
  int32_t option2 = 0;  // set: the dialog disables its first edit field
  int32_t option3 = 0;
  int32_t option4 = 0;  // the dialog's spin value, 0 to 60
  int32_t option5 = 6;
  int32_t expandRepeats = 0;
  int32_t option7 = 0;  // enables two of the dialog's controls
  int32_t option8 = 60;
  int32_t option9 = 0;
  std::string text;
  int32_t option11 = 0;
  int32_t option12 = 1;

  bool operator==(const CMIDIExportDlg&) const = default;

  void Store(ArchiveWriter& ar) const;
  void Load(ArchiveReader& ar);
};

}  // namespace vornel
