#pragma once
// The property dialogs of meta-events as plain structs: each reads its fields from an event and
// packs them back on OK. `lower` is the line flag the view passes: set for the tablature line,
// whose numbers several kinds keep apart from the staff line's.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

class CMetaEvent;

// A signed number kept in one byte as magnitude (bits 0-6) and sign (bit 7); the magnitude is
// kept to 127.
int ReadSignedByte(uint32_t byte);
uint8_t MakeSignedByte(int number);
// The signed byte of the line: byte 2 of the value with `lower`, else byte 1.
int ReadLineByte(uint32_t value, bool lower);
// Stores the line byte: with `lower` the value keeps its low 16 bits, else bytes 0 and 2; the
// top byte is cleared either way.
uint32_t StoreLineByte(uint32_t value, bool lower, int number);

// "Time signature" (kind 1).
struct CTimeSignatureDlg {
  int beats = 4;
  int beatValue = 4;
  bool visible = true;
  bool verticalShift = false;
  bool numeratorOnly = false;
  bool format = false;  // "Format 4/4  && 2/2"
  bool deleteMe = false;
  int relativeSize = 80;  // 50-120

  void From(const CMetaEvent& event);
  std::string Validate() const;
  void To(CMetaEvent& event) const;
};

// "Legato control" (kind 6).
struct LegatoDlg {
  int beginLine = 0;  // -7 to 7
  int endLine = 0;
  int steps = 0;      // 0 to 64
  int depth = 0;      // -36 to 36
  std::string text;
  bool wavy = false;
  bool deleteMe = false;
  bool undoOffset = false;

  void From(const CMetaEvent& event, bool lower);
  std::string Validate() const;
  void To(CMetaEvent& event, bool lower) const;
};

// "Figured bass" (kind 8).
struct CContinuoDlg {
  static constexpr size_t kMaxText = 24;
  std::string text;
  bool aboveStaff = false;
  int space = 0;  // "Add vertical space:" 0 to 15

  void From(const CMetaEvent& event, bool lower);
  std::string Validate() const;
  void To(CMetaEvent& event, bool lower) const;
};

// "Extended action dialog" (kind 12).
struct CEndingDlg {
  static constexpr std::array<std::string_view, 11> kTypes = {
      "Ending", "Free text", "String number", "Trill", "Barré [C]", "Half barré [1/2C]", "Arm", "H.", "Ped.",
      "Wavy line", "Curved line"};
  std::string text = "First ending";
  int barLength = 6;
  int top = 4;
  int type = 0;

  void From(const CMetaEvent& event, bool lower);
  std::string Validate() const;
  void To(CMetaEvent& event, bool lower) const;
};

// "Crescendo" (kind 15) and, with the volume hidden, "Rasgueado" (kind 21).
struct CCrescendo {
  int horizontal = 0;  // 0 to 32
  int volume = 30;     // 0 to 60, shown as -30 to 30
  int vertical = 0;    // -30 to 30; "Speed" for a rasgueado
  bool rasgueado = false;

  void From(const CMetaEvent& event, bool lower);
  std::string Validate() const;
  void To(CMetaEvent& event, bool lower) const;
};

// "Barré editor" (kind 26).
struct CBarreDlg {
  int fret = 1;
  int extent = 1;
  bool half = false;
  bool latin = false;

  void From(const CMetaEvent& event);
  std::string Validate() const;
  void To(CMetaEvent& event) const;
};

// "Hyperlink metaevent" (kind 32).
struct CMetaHyperlink {
  static constexpr std::array<std::string_view, 4> kTypes = {"Internal to document", "PDF copy", "WEB link",
                                                             "Audio file"};
  int type = 0;
  std::string caption;
  std::string url;
  int section = 1;
  int bar = 1;
  bool printFullUrl = false;
  int sectionCount = 1;  // bounds the section slider

  void From(const CMetaEvent& event);
  std::string Validate() const;
  void To(CMetaEvent& event) const;
  // The section and bar sliders serve internal links; the URL every other type.
  bool InternalLink() const { return type == 0; }
};

// "Bracket properties" (kind 33).
struct CMeta_LBracketDlg {
  static constexpr std::array<std::string_view, 8> kTypes = {
      "Straight plain bracket", "Curly bracket", "Parenthesis",       "Curved ends",
      "Ornate square bracket",  "Vertical wavy line", "L bracket", " Inverted L-bracket"};
  int height = 1;
  int thickness = 4;
  bool facesLeft = false;
  int type = 0;

  void From(const CMetaEvent& event, bool lower);
  std::string Validate() const;
  void To(CMetaEvent& event, bool lower) const;
};

// "Clef change dialog" (kind 9): a clef and a key signature inserted together or alone. The
// key list, "minor" and the accidental list are shown but not kept in the event.
struct CClefChange {
  static constexpr std::array<std::string_view, 4> kClefs = {"G8 clef", "G clef", "F clef", "C clef"};
  static constexpr std::array<std::string_view, 7> kKeys = {"C", "D", "E", "F", "G", "A", "B"};
  static constexpr std::array<std::string_view, 3> kAccidentals = {"", "b", "#"};
  bool insertClef = true;
  int clef = 1;
  int raise = 0;  // -12 to 12
  bool insertKey = false;
  bool sharp = false;
  int count = 0;  // "Clef Alterations:" 0 to 7
  int key = -1;
  bool minor = false;
  int accidental = 0;

  void From(const CMetaEvent& event);
  std::string Validate() const;
  void To(CMetaEvent& event) const;
};

// "Reprise" (kind 17): a sign from the glyph list, or a free text in one of twelve sizes.
struct CMetaReprise {
  static constexpr std::array<std::string_view, 6> kGlyphs = {"Sign 1", "Sign 2", "Sign 3",
                                                              "Sign 4", "Sign 5", "No sign"};
  static constexpr std::array<std::string_view, 12> kSizes = {"8",  "9",  "10", "11", "12", "13",
                                                              "14", "16", "24", "26", "28", "36"};
  bool shortDots = false;
  bool drawLine = false;
  bool left = false;  // "Left"; clear: "Right"
  int glyph = 0;
  std::string text;
  bool italic = false;
  bool bold = false;
  int size = 6;  // index into kSizes; -1 when the event holds none

  void From(const CMetaEvent& event);
  std::string Validate() const;
  void To(CMetaEvent& event) const;
};

// "Dynamic control" (kind 34).
struct CDynamicCtrl {
  static constexpr std::array<std::string_view, 11> kTypes = {"ppp.", "pp.", "p.", "mp.", "mf.", "f.",
                                                              "ff.",  "fff.", "fz", "sf",  "pedal"};
  int type = 0;
  int volume = 70;
  int extent = 0;

  void From(const CMetaEvent& event);
  std::string Validate() const;
  void To(CMetaEvent& event) const;
  // Choosing a type sets the volume to (index * 5 + 25) * 2.
  void ChooseType(int index);
};

}  // namespace vornel
