#include "musicxml/visitors/conversions.h"

#include <iterator>

namespace vornel::MusicXML2 {

namespace {

template <typename E, size_t N>
bimap<std::string, E> MakeTable(const std::string (&texts)[N], const E (&values)[N]) {
  return bimap<std::string, E>(texts, values, static_cast<int>(N));
}

template <typename E>
E Lookup(const bimap<std::string, E>& table, const std::string& text) {
  const auto found = table.byFirst().find(text);
  return found == table.byFirst().end() ? E{} : found->second;
}

}  // namespace

const bimap<std::string, TrillStart::type>& TrillStart::table() {
  static const std::string texts[] = {"upper", "main", "below"};
  static const type values[] = {upper, main, below};
  static const auto map = MakeTable(texts, values);
  return map;
}

const bimap<std::string, TrillStep::type>& TrillStep::table() {
  static const std::string texts[] = {"whole", "half", "unison", "none"};
  static const type values[] = {whole, half, unison, none};
  static const auto map = MakeTable(texts, values);
  return map;
}

const bimap<std::string, FullCue::type>& FullCue::table() {
  static const std::string texts[] = {"full", "cue"};
  static const type values[] = {full, cue};
  static const auto map = MakeTable(texts, values);
  return map;
}

const bimap<std::string, YesNo::type>& YesNo::table() {
  static const std::string texts[] = {"yes", "no"};
  static const type values[] = {yes, no};
  static const auto map = MakeTable(texts, values);
  return map;
}

const bimap<std::string, StartStop::type>& StartStop::table() {
  static const std::string texts[] = {"start", "stop", "continue"};
  static const type values[] = {start, stop, cont};
  static const auto map = MakeTable(texts, values);
  return map;
}

StartStop::type StartStop::fromString(std::string text) { return Lookup(table(), text); }

const bimap<std::string, LineType::type>& LineType::table() {
  static const std::string texts[] = {"solid", "dashed", "dotted", "wavy"};
  static const type values[] = {solid, dashed, dotted, wavy};
  static const auto map = MakeTable(texts, values);
  return map;
}

const bimap<std::string, NoteType::type>& NoteType::table() {
  static const std::string texts[] = {"256th", "128th", "64th", "32nd",  "16th", "eighth",
                                      "quarter", "half", "whole", "breve", "longa"};
  static const type values[] = {t256th, t128th, t64th, t32nd, t16th, eighth, quarter, half, whole, breve, longa};
  static const auto map = MakeTable(texts, values);
  return map;
}

NoteType::type NoteType::fromString(std::string text) { return Lookup(table(), text); }

fraction NoteType::toFraction(type value) {
  for (int32_t bit = 1; bit <= 256; bit <<= 1) {
    if (value & bit) return fraction(bit, 256);
  }
  return fraction(0, 1);
}

}  // namespace vornel::MusicXML2
