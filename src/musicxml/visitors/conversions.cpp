#include "musicxml/visitors/conversions.h"

#include <cstddef>

namespace vornel::MusicXML2 {

namespace {

// The one table of enumeration E, built at its first use from the texts and values in order.
template <typename E, size_t N>
const bimap<std::string, E>& TableOf(const char* const (&texts)[N], const E (&values)[N]) {
  static const bimap<std::string, E> table = [&] {
    std::string strings[N];
    for (size_t i = 0; i < N; ++i) strings[i] = texts[i];
    return bimap<std::string, E>(strings, values, static_cast<int>(N));
  }();
  return table;
}

template <typename E>
E Lookup(const bimap<std::string, E>& table, const std::string& text) {
  const auto found = table.byFirst().find(text);
  return found == table.byFirst().end() ? E{} : found->second;
}

}  // namespace

const bimap<std::string, TrillStart::type>& TrillStart::table() {
  return TableOf({"upper", "main", "below"}, {upper, main, below});
}

const bimap<std::string, TrillStep::type>& TrillStep::table() {
  return TableOf({"whole", "half", "unison", "none"}, {whole, half, unison, none});
}

const bimap<std::string, FullCue::type>& FullCue::table() { return TableOf({"full", "cue"}, {full, cue}); }

const bimap<std::string, YesNo::type>& YesNo::table() { return TableOf({"yes", "no"}, {yes, no}); }

const bimap<std::string, StartStop::type>& StartStop::table() {
  return TableOf({"start", "stop", "continue"}, {start, stop, cont});
}

StartStop::type StartStop::fromString(std::string text) { return Lookup(table(), text); }

const bimap<std::string, LineType::type>& LineType::table() {
  return TableOf({"solid", "dashed", "dotted", "wavy"}, {solid, dashed, dotted, wavy});
}

const bimap<std::string, NoteType::type>& NoteType::table() {
  return TableOf({"256th", "128th", "64th", "32nd", "16th", "eighth", "quarter", "half", "whole", "breve", "longa"},
                 {t256th, t128th, t64th, t32nd, t16th, eighth, quarter, half, whole, breve, longa});
}

NoteType::type NoteType::fromString(std::string text) { return Lookup(table(), text); }

fraction NoteType::toFraction(type value) {
  for (int32_t bit = 1; bit <= 256; bit <<= 1) {
    if (value & bit) return fraction(bit, 256);
  }
  return fraction(0, 1);
}

}  // namespace vornel::MusicXML2
