#pragma once
// The reader of ".ft2" tablature files of another tablature editor, and of ".ft3" files,
// which are the same bytes compressed with gzip. Each piece of a file becomes a section; each
// track of a piece an instrument of it, tuned as the file says.
//
// The layout as read here (little-endian):
//   header: 18 words, the first the version (20 to 22); blocks of 294 and 34 (38 from version
//   22) bytes; two strings; 22 bytes, two words, a long string, four words; six strings (the
//   first and third rich texts); a word, the track count N, N pairs of words, 12 bytes, N
//   track names, N blocks of 11 bytes, 20 bytes; words up to and including 0xFFFF; a word and
//   a long string. Strings have a length byte (0xFF: a word of length follows), long strings
//   a length word.
//   per track of a piece: a header of 7 bytes (bytes 0-1 the bars it announces, byte 4 the
//   tempo); a bar header of 8 bytes (the low nibbles of bytes 1 and 2 the time signature's
//   denominator as a power of two and its numerator) and a bar record of 15 bytes; then
//   event records (ft_chord) until one whose count is 0; every bar record is followed by the
//   next bar header and bar record.
//   the end of the file: the tuning 64 bytes before the end; the number of pieces and the
//   title in the trailer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/instrument/CKey.h"

namespace vornel {

class CBriotabDoc;
class CInstrumentDlg;
class CSystemArray;
class nChordArray;

// One event record of the file: a chord, a bar (an extended record) or a time signature made
// from a bar header.
struct ft_chord {
  static constexpr int kChord = 0;
  static constexpr int kBar = 1;
  static constexpr int kTimeSignature = 2;
  static constexpr int kText = 3;

  uint8_t count = 0;           // entries of 5 bytes
  std::vector<uint8_t> bytes;  // the entries
  int kind = kChord;
  bool barHeaderFollows = false;
  bool afterFirstBar = false;  // a time signature that changes the one of an earlier bar
  int numerator = 4;
  int denominator = 4;
  std::string text;
  size_t position = 0;
};

class Ft2Import {
 public:
  static constexpr std::string_view kUnzipFailedMessage = "Cannot unzip this file";
  static constexpr std::string_view kCorruptTuningMessage = "Corrupt tuning found";
  static constexpr std::string_view kCorruptTuningCaption = "Error: Cannot proceed";
  static constexpr std::string_view kVersionMessage = "This ft2 file version cannot be read: ";
  static constexpr std::string_view kDamagedMessage = "The ft2 file ends inside a piece: ";
  static constexpr std::string_view kNoTitle = "No title found";
  static constexpr std::string_view kPromptTitle = "Select an ft2 folder";
  // The most bytes a file may expand to.
  static constexpr size_t kMaxFileBytes = size_t(64) << 20;
  // Tracks and pieces beyond these are not read.
  static constexpr size_t kMaxTracks = 64;
  static constexpr size_t kMaxPieces = 999;

  explicit Ft2Import(CBriotabDoc& doc);
  ~Ft2Import();
  Ft2Import(const Ft2Import&) = delete;
  Ft2Import& operator=(const Ft2Import&) = delete;

  // Reads the file (expanded in memory when it is gzip-compressed; the file itself is never
  // changed) into new sections, the last one active. Returns how many were added; 0 after the
  // system's message when none was.
  size_t ReadFile(const std::string& path);
  // The same from the file's bytes; `name` goes into the messages.
  size_t ReadBytes(std::span<const uint8_t> bytes, std::string_view name);
  // False when the last file stopped the command (a refused version, a damaged piece).
  bool Completed() const { return completed_; }

 private:
  struct Reader;

  // 1, or -1 when the piece cannot be read.
  int Ft2ImportPiece(Reader& in);
  // The number of pieces the trailer announces less one, or -1 without a trailer; reads the
  // piece title.
  int Ft2ReadTrailerText(std::span<const uint8_t> bytes);
  // Reads the header of the file; false after the message when it is refused.
  bool ReadHeader(Reader& in);
  // The events of one track into the current voice; false when the file ended inside them.
  bool ReadTrackEvents(Reader& in, CInstrumentDlg& definition);
  void ReadBarHeader(Reader& in, std::vector<ft_chord>& records, bool first);
  // 1 a record, 0 the end of the events, -1 the file ended inside the record.
  int ReadRecord(Reader& in, ft_chord& record);
  void ConvertRecord(const ft_chord& record, nChordArray& voice, CInstrumentDlg& definition);
  void ConvertChord(const ft_chord& record, nChordArray& voice, CInstrumentDlg& definition);
  void FinishPiece();

  CBriotabDoc& doc_;
  CSystemArray* section_ = nullptr;
  CKey key_;
  std::string name_;
  size_t added_ = 0;
  bool completed_ = true;
  // From the header: the version, the section texts, the track count.
  int version_ = 0;
  std::string author_;
  std::string comments_;
  std::string endText_;
  size_t tracks_ = 0;
  std::string title_;
  std::vector<int> tuning_;  // MIDI pitches, lowest course first
  int numerator_ = 4;
  int denominator_ = 4;
  std::string pendingText_;
};

// The bytes of a file read through zlib's gzip reader: a gzip file expanded, any other file as
// it is. Nothing when it cannot be read or would grow beyond `limit` bytes.
std::optional<std::vector<uint8_t>> ReadGzipFile(const std::string& path, size_t limit);

}  // namespace vornel
