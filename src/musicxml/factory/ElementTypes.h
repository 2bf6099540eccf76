#pragma once
// The element type table: the one place where element names and type numbers are paired.
// Type 1 is a comment, type 2 a processing instruction, types 3 to 390 the element names in
// ascending byte order. The element classes, their creation functors and the factory's name
// table are all generated from this array.

#include <array>
#include <cstdint>
#include <string_view>

namespace vornel::MusicXML2 {

inline constexpr int32_t kElementTypeCount = 390;

// kElementNames[N - 1] is the name of type N.
inline constexpr std::array<std::string_view, kElementTypeCount> kElementNames = {
    // 1-10
    "comment", "pi", "accent", "accidental", "accidental-mark", "accidental-text", "accord", "accordion-high",
    "accordion-low", "accordion-middle",
    // 11-20
    "accordion-registration", "actual-notes", "alter", "appearance", "arpeggiate", "arrow", "arrow-direction",
    "arrow-style", "articulations", "artificial",
    // 21-30
    "attributes", "backup", "bar-style", "barline", "barre", "base-pitch", "bass", "bass-alter", "bass-step",
    "beam",
    // 31-40
    "beat-repeat", "beat-type", "beat-unit", "beat-unit-dot", "beater", "beats", "bend", "bend-alter",
    "bookmark", "bottom-margin",
    // 41-50
    "bracket", "breath-mark", "caesura", "cancel", "capo", "chord", "chromatic", "circular-arrow", "clef",
    "clef-octave-change",
    // 51-60
    "coda", "creator", "credit", "credit-image", "credit-type", "credit-words", "cue", "damp", "damp-all",
    "dashes",
    // 61-70
    "defaults", "degree", "degree-alter", "degree-type", "degree-value", "delayed-inverted-turn",
    "delayed-turn", "detached-legato", "diatonic", "direction",
    // 71-80
    "direction-type", "directive", "display-octave", "display-step", "display-text", "distance", "divisions",
    "doit", "dot", "double",
    // 81-90
    "double-tongue", "down-bow", "duration", "dynamics", "effect", "elevation", "elision", "encoder",
    "encoding", "encoding-date",
    // 91-100
    "encoding-description", "end-line", "end-paragraph", "ending", "ensemble", "extend", "eyeglasses", "f",
    "falloff", "feature",
    // 101-110
    "fermata", "ff", "fff", "ffff", "fffff", "ffffff", "fifths", "figure", "figure-number", "figured-bass",
    // 111-120
    "fingering", "fingernails", "first-fret", "footnote", "forward", "fp", "frame", "frame-frets",
    "frame-note", "frame-strings",
    // 121-130
    "fret", "function", "fz", "glass", "glissando", "grace", "group", "group-abbreviation",
    "group-abbreviation-display", "group-barline",
    // 131-140
    "group-name", "group-name-display", "group-symbol", "group-time", "grouping", "hammer-on", "handbell",
    "harmonic", "harmony", "harp-pedals",
    // 141-150
    "heel", "hole", "hole-closed", "hole-shape", "hole-type", "humming", "identification", "image",
    "instrument", "instrument-abbreviation",
    // 151-160
    "instrument-name", "instrument-sound", "instruments", "interchangeable", "inversion", "inverted-mordent",
    "inverted-turn", "ipa", "key", "key-accidental",
    // 161-170
    "key-alter", "key-octave", "key-step", "kind", "laughing", "left-divider", "left-margin", "level", "line",
    "line-width",
    // 171-180
    "link", "lyric", "lyric-font", "lyric-language", "measure", "measure-distance", "measure-layout",
    "measure-numbering", "measure-repeat", "measure-style",
    // 181-190
    "membrane", "metal", "metronome", "metronome-beam", "metronome-dot", "metronome-note",
    "metronome-relation", "metronome-tuplet", "metronome-type", "mf",
    // 191-200
    "midi-bank", "midi-channel", "midi-device", "midi-instrument", "midi-name", "midi-program",
    "midi-unpitched", "millimeters", "miscellaneous", "miscellaneous-field",
    // 201-210
    "mode", "mordent", "movement-number", "movement-title", "mp", "multiple-rest", "music-font", "mute",
    "natural", "non-arpeggiate",
    // 211-220
    "normal-dot", "normal-notes", "normal-type", "notations", "note", "note-size", "notehead",
    "notehead-text", "octave", "octave-change",
    // 221-230
    "octave-shift", "offset", "open-string", "opus", "ornaments", "other-appearance", "other-articulation",
    "other-direction", "other-dynamics", "other-notation",
    // 231-240
    "other-ornament", "other-percussion", "other-play", "other-technical", "p", "page-height", "page-layout",
    "page-margins", "page-width", "pan",
    // 241-250
    "part", "part-abbreviation", "part-abbreviation-display", "part-group", "part-list", "part-name",
    "part-name-display", "part-symbol", "pedal", "pedal-alter",
    // 251-260
    "pedal-step", "pedal-tuning", "per-minute", "percussion", "pitch", "pitched", "play", "plop", "pluck",
    "pp",
    // 261-270
    "ppp", "pppp", "ppppp", "pppppp", "pre-bend", "prefix", "principal-voice", "print", "pull-off",
    "rehearsal",
    // 271-280
    "relation", "release", "repeat", "rest", "rf", "rfz", "right-divider", "right-margin", "rights", "root",
    // 281-290
    "root-alter", "root-step", "scaling", "schleifer", "scoop", "scordatura", "score-instrument",
    "score-part", "score-partwise", "score-timewise",
    // 291-300
    "segno", "semi-pitched", "senza-misura", "sf", "sffz", "sfp", "sfpp", "sfz", "shake", "sign",
    // 301-310
    "slash", "slash-dot", "slash-type", "slide", "slur", "snap-pizzicato", "software", "solo", "sound",
    "sounding-pitch",
    // 311-320
    "source", "spiccato", "staccatissimo", "staccato", "staff", "staff-details", "staff-distance",
    "staff-layout", "staff-lines", "staff-size",
    // 321-330
    "staff-tuning", "staff-type", "staves", "stem", "step", "stick", "stick-location", "stick-material",
    "stick-type", "stopped",
    // 331-340
    "stress", "string", "string-mute", "strong-accent", "suffix", "supports", "syllabic", "system-distance",
    "system-dividers", "system-layout",
    // 341-350
    "system-margins", "tap", "technical", "tenths", "tenuto", "text", "thumb-position", "tie", "tied", "time",
    // 351-360
    "time-modification", "time-relation", "timpani", "toe", "top-margin", "top-system-distance",
    "touching-pitch", "transpose", "tremolo", "trill-mark",
    // 361-370
    "triple-tongue", "tuning-alter", "tuning-octave", "tuning-step", "tuplet", "tuplet-actual", "tuplet-dot",
    "tuplet-normal", "tuplet-number", "tuplet-type",
    // 371-380
    "turn", "type", "unpitched", "unstress", "up-bow", "vertical-turn", "virtual-instrument",
    "virtual-library", "virtual-name", "voice",
    // 381-390
    "volume", "wavy-line", "wedge", "with-bar", "wood", "word-font", "words", "work", "work-number",
    "work-title",
};

namespace detail {
consteval bool ElementNamesAreOrdered() {
  for (size_t i = 3; i < kElementNames.size(); ++i) {
    if (!(kElementNames[i - 1] < kElementNames[i])) return false;
  }
  return true;
}
}  // namespace detail
static_assert(detail::ElementNamesAreOrdered(), "types 3 to 390 are numbered in ascending byte order");

// The type number of an element name, at compile time: ElementType("note") is 215. A name that
// is not in the table does not compile.
consteval int32_t ElementType(std::string_view name) {
  for (size_t i = 0; i < kElementNames.size(); ++i) {
    if (kElementNames[i] == name) return static_cast<int32_t>(i) + 1;
  }
  throw "not an element name of the type table";
}

// The name of a type number, or empty for a number outside 1 to 390.
constexpr std::string_view ElementName(int32_t type) {
  return type >= 1 && type <= kElementTypeCount ? kElementNames[static_cast<size_t>(type) - 1] : std::string_view();
}

}  // namespace vornel::MusicXML2
