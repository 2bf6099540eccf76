#pragma once
// A Guitar Pro song as the reader leaves it: song texts, lyrics and tempo, and per track its
// strings, tuning and MIDI settings, a copy of the song's bar list and the beats ("columns")
// of all its bars and voices with their notes. It knows nothing of the score.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vornel {

// One bar, of the song or of a track. A track's bar copies the song bar's signature, flags,
// key and marker.
struct TabBar {
  // Bits of `flags`, as the file gives them.
  static constexpr uint8_t kNumerator = 0x01;
  static constexpr uint8_t kDenominator = 0x02;
  static constexpr uint8_t kBeginRepeat = 0x04;
  static constexpr uint8_t kEndRepeat = 0x08;
  static constexpr uint8_t kAlternativeEnding = 0x10;
  static constexpr uint8_t kMarker = 0x20;
  static constexpr uint8_t kKeyChange = 0x40;
  static constexpr uint8_t kDoubleBar = 0x80;

  int32_t beatCount = 0;    // track bars: the beats of the last voice read
  int32_t numerator = 4;    // the signature in force in this bar
  int32_t denominator = 4;
  int32_t firstColumn = 0;  // track bars: the first column of the last voice read
  std::string markerName;
  uint8_t flags = 0;
  uint8_t timeNumerator = 0;    // set only where the bar changes it
  uint8_t timeDenominator = 0;
  int8_t key = 0;  // sharps, negative for flats
  uint8_t repeatCount = 0;  // of an end repeat
  // Track bars: where each voice's beats of the bar start and how many there are.
  std::array<int32_t, 2> voiceFirstColumn = {0, 0};
  std::array<int32_t, 2> voiceBeatCount = {0, 0};
};

struct TabNote {
  // Bits of `flags`.
  static constexpr uint32_t kTie = 0x001;
  static constexpr uint32_t kGhost = 0x002;
  static constexpr uint32_t kLegato = 0x004;
  static constexpr uint32_t kLetRing = 0x010;
  static constexpr uint32_t kStaccato = 0x020;
  static constexpr uint32_t kDeadNote = 0x040;
  static constexpr uint32_t kSlide = 0x080;
  static constexpr uint32_t kPalmMute = 0x100;
  static constexpr uint32_t kHarmonic = 0x200;
  static constexpr uint32_t kTremoloPicking = 0x800;
  // Keys of `attributes`.
  enum Attribute : int {
    kDuration = 1,         // (duration code << 4) | tuplet, + 0x100 for the accent flag
    kDynamic = 2,          // level 1-8
    kLeftFingering = 4,
    kRightFingering = 5,
    kGraceNote = 6,        // fret << 12 | dynamic << 8 | transition << 4 | duration
    kTrill = 7,            // fret << 4 | period
    kBend = 8,             // 1
  };

  uint8_t string = 0;  // 0 = the highest string of the track
  uint8_t fret = 0;
  uint32_t flags = 0;
  std::map<int, int> attributes;
};

// One beat of one voice.
struct TabColumn {
  // Bits of `flags`.
  static constexpr int32_t kTied = 0x1;
  static constexpr int32_t kDotted = 0x2;

  int32_t flags = 0;
  int32_t duration = 3;  // 1 whole ... 7 sixty-fourth
  int32_t status = 0;    // the beat's status byte, 0 when it gives none
  int32_t tuplet = 0;    // code of the chord rhythm word: 1 triplet, 2 five, 3 seven ...
  // The file's tuplet is the rhythm word's tuplet of the next longer value: the file's five
  // sixteenths in the time of four last what the word's five eighths in the time of two do.
  bool tupletOfLongerValue = false;
  std::string chordName;
  std::string lyric;
  uint8_t voice = 0;
  std::vector<TabNote> notes;
};

struct TabTrack {
  // Bits of the track's first byte.
  static constexpr uint8_t kDrums = 0x01;
  // The MIDI channel (1-16) of percussion.
  static constexpr uint8_t kPercussionChannel = 10;

  uint8_t voices = 1;
  bool percussion = false;  // a drum track, or a track on the percussion channel
  uint8_t program = 0;
  uint8_t channel = 0;
  uint8_t stringCount = 0;
  uint8_t frets = 0;
  std::string name;
  uint8_t capo = 0;
  std::array<int32_t, 7> tuning = {0, 0, 0, 0, 0, 0, 0};  // MIDI pitches, index 0 the lowest string
  std::vector<TabBar> bars;
  std::vector<TabColumn> columns;
};

struct TabLyricLine {
  int32_t startBar = 0;  // 1-based
  std::string text;
};

struct TabSong {
  int32_t lyricsTrack = 0;  // 1-based; 0 none
  std::array<TabLyricLine, 5> lyrics;
  // "TITLE", "SUBTITLE", "ARTIST", "ALBUM", "COMPOSER", "UNKNOWN", "COPYRIGHT", "TRANSCRIBER",
  // "INSTRUCTIONS", "COMMENTS".
  std::map<std::string, std::string> info;
  std::vector<std::unique_ptr<TabTrack>> tracks;
  int32_t tempo = 0;
  int32_t currentTrack = 0;

  // The text of a key, empty when the song has none.
  const std::string& Info(const std::string& key) const;
};

}  // namespace vornel
