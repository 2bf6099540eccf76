// ABC music lines in a tablature clef: every token is one chord of fret letters on courses.
//
// A token begins after blanks, "|" and "\" (a "|" before it marks the chord with status bit
// 0x1000). Decoration prefixes, a quoted lyric and "!name!" marks may open it. Inside
// brackets ("[a,,c1]") every letter takes the current course and moves to the next one, as
// does every comma; the token ends at "]". Outside brackets the commas before a letter choose
// its course and the token ends after the letter and its length, so "a,d,c" is three chords.
// A length (digits, "/", "z") always ends the token. "y" stands for a chord without letters.

#include <algorithm>
#include <string>

#include "import/text/AbcText.h"
#include "import/text/CAbcImport.h"
#include "import/text/TextImportSupport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChordArray.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"

namespace vornel {

namespace {

// Characters that start a new token once a chord outside brackets has its letter.
constexpr std::string_view kTokenSeparators = " \\|TSH><'UVX.;(]\t";
// Bit of a chord's status word set by a "|" in its token.
constexpr uint16_t kBarMark = 0x1000;

// Decorations of the next note, by the character that sets them inside a token.
int DecorationOfMark(char c) {
  switch (c) {
    case 'U': return 0x12;
    case 'V': return 0x13;
    case 'X': return 0x13;
    case '\'': return 0x10;
    case '#': return 0x12;
    case '*': return 0x11;
    case 'L': return 0x0F;
    case '~': return 0x18;
    default: return -1;
  }
}

// Decorations that open a token.
int DecorationOfPrefix(char c) {
  switch (c) {
    case '.': return 0;
    case ':': return 1;
    case ';': return 2;
    case '+': return 5;
    case 'T': return 6;
    default: return -1;
  }
}

}  // namespace

void CAbcImport::ReadTablatureLine(std::string_view line) {
  LookUpVoice();
  lineStart_ = voice_->size();
  versesOfLine_ = 0;
  size_t pos = 0;
  while (pos < line.size()) {
    const size_t before = pos;
    ReadTablatureToken(line, pos);
    if (pos == before) ++pos;
  }
}

void CAbcImport::ReadTablatureToken(std::string_view line, size_t& pos) {
  const size_t n = line.size();
  bool barMark = false;
  bool bracketed = false;
  bool spacer = false;
  std::string lyric;
  bool hasLyric = false;
  int decoration = -1;

  // The opening of the token: blanks, bars, decorations, a lyric, the bracket.
  while (pos < n) {
    const char c = line[pos];
    if (IsBlank(c) || c == '\\') {
      ++pos;
    } else if (c == '|') {
      barMark = true;
      ++pos;
    } else if (c == ':' && pos + 1 < n && line[pos + 1] == ':') {
      voice_->push_back(std::make_shared<nChord>(0x31));
      pos += 2;
    } else if (c == '[' && pos + 2 < n && line[pos + 1] >= 'A' && line[pos + 1] <= 'Z' && line[pos + 2] == ':') {
      // An inline field ("[M:3/4]", "[K:frenchtab]") adds nothing to the tablature.
      const size_t close = line.find(']', pos);
      pos = close == std::string_view::npos ? n : close + 1;
    } else if (c == 'M' && !bracketed) {
      // An inline meter written without brackets.
      while (pos < n && !IsBlank(line[pos])) ++pos;
    } else if (c == '"') {
      const size_t close = line.find('"', pos + 1);
      const size_t end = close == std::string_view::npos ? n : close;
      lyric = DecodeAbcEscapes(line.substr(pos + 1, end - pos - 1));
      hasLyric = true;
      pos = close == std::string_view::npos ? n : close + 1;
    } else if (c == '!') {
      const size_t close = line.find('!', pos + 1);
      pos = close == std::string_view::npos ? n : close + 1;
    } else if (DecorationOfPrefix(c) >= 0) {
      decoration = DecorationOfPrefix(c);
      ++pos;
    } else if (c == '[' && !bracketed) {
      bracketed = true;
      ++pos;
    } else if (c == 'y') {
      spacer = true;
      ++pos;
      break;
    } else {
      break;
    }
  }

  auto chord = std::make_shared<nChord>();
  int course = 0;
  int step = 0;
  bool hasNote = false;
  bool hasLength = false;
  bool dotted = false;
  int code = lastCode_;
  while (pos < n && !spacer) {
    const char c = line[pos];
    if (bracketed && c == ']') {
      ++pos;
      if (pos < n && ((line[pos] >= '0' && line[pos] <= '9') || line[pos] == '/')) {
        code = ReadLength(line, pos, dotted);
        hasLength = true;
      }
      break;
    }
    if (!bracketed && (hasNote ? kTokenSeparators.find(c) != std::string_view::npos
                               : (IsBlank(c) || c == '|' || c == '\\' || c == '[' || c == ']'))) {
      break;
    }
    // Outside brackets a chord is one letter and its length.
    if (!bracketed && hasNote && !((c >= '0' && c <= '9') || c == '/' || c == 'z')) break;
    if (c == ',') {
      ++course;
      ++pos;
    } else if (DecorationOfMark(c) >= 0) {
      decoration = DecorationOfMark(c);
      ++pos;
    } else if (c == '(') {
      ++pos;
      if (pos < n && line[pos] >= '1' && line[pos] <= '9') {
        tupletNumber_ = static_cast<int>(ReadBoundedNumber(line, pos, 99));
        tupletLeft_ = tupletNumber_;
      } else {
        decoration = 10;
      }
    } else if (c == '{') {
      ++pos;
      int bass = -1;
      if (pos < n && line[pos] >= '0' && line[pos] <= '9') {
        bass = static_cast<int>(ReadBoundedNumber(line, pos, 99)) - 1;
      } else {
        int commas = 0;
        while (pos < n && line[pos] == ',') {
          ++commas;
          ++pos;
        }
        bass = 6 + commas;
      }
      if (pos < n && line[pos] == '}') ++pos;
      // An open bourdon; a course the instrument lacks is added to it.
      PlaceFret(*chord, bass, 0);
      hasNote = true;
    } else if (c >= 'a' && c <= 'o') {
      if (PlaceFret(*chord, course, FretOfLetter(c)) != nullptr) {
        if (decoration >= 0) chord->notes.ToggleDecorationOnString(static_cast<uint8_t>(course), decoration);
      }
      decoration = -1;
      hasNote = true;
      ++course;
      ++pos;
    } else if ((c >= '0' && c <= '9') || c == '/' || c == 'z') {
      if (c == 'z') ++pos;
      code = ReadLength(line, pos, dotted);
      hasLength = true;
      if (bracketed) {
        const size_t close = line.find(']', pos);
        pos = close == std::string_view::npos ? n : close + 1;
      }
      break;
    } else if (c == '>') {
      if (nChord* previous = LastChord()) previous->rhythm |= kDottedFlag;
      ++step;
      ++pos;
    } else if (c == '<') {
      if (nChord* previous = LastChord()) previous->rhythm = ShiftRhythmCode(previous->rhythm, 1);
      --step;
      ++pos;
    } else {
      ++pos;
    }
  }
  if (!hasNote && !hasLength && !hasLyric && !spacer) return;

  if (hasLength) lastCode_ = code;
  uint16_t flags = static_cast<uint16_t>(ClampRhythmCode(code + step) | (dotted ? kDottedFlag : 0));
  if (tupletLeft_ > 0) {
    // Triplets and their multiples are marked as the note lines and the other importers mark them.
    if (tupletNumber_ % 3 == 0) flags = static_cast<uint16_t>((flags & 0x0F) | kTripletFlag);
    --tupletLeft_;
  }
  chord->rhythm = flags;
  if (barMark) chord->status |= kBarMark;
  if (hasLyric) chord->SetLyric(lyric);
  voice_->push_back(std::move(chord));
}

}  // namespace vornel
