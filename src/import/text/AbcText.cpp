// The texts of an ABC file: accented letters and the words under the notes.

#include "import/text/AbcText.h"

#include <algorithm>
#include <array>
#include <string>

#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

struct Mnemonic {
  std::string_view code;    // the two characters after the backslash
  std::string_view letter;  // UTF-8
};

// The accent (grave, acute, circumflex, umlaut, tilde, cedilla, ring, caron, breve, macron, dot,
// double acute, ogonek) before its letter, then the slashed letters and the ligatures.
constexpr Mnemonic kMnemonics[] = {
    {"`A", "À"}, {"`a", "à"}, {"`E", "È"}, {"`e", "è"}, {"`I", "Ì"}, {"`i", "ì"}, {"`O", "Ò"}, {"`o", "ò"},
    {"`U", "Ù"}, {"`u", "ù"}, {"'A", "Á"}, {"'a", "á"}, {"'E", "É"}, {"'e", "é"}, {"'I", "Í"}, {"'i", "í"},
    {"'O", "Ó"}, {"'o", "ó"}, {"'U", "Ú"}, {"'u", "ú"}, {"'Y", "Ý"}, {"'y", "ý"}, {"'C", "Ć"}, {"'c", "ć"},
    {"'N", "Ń"}, {"'n", "ń"}, {"'S", "Ś"}, {"'s", "ś"}, {"'Z", "Ź"}, {"'z", "ź"}, {"'R", "Ŕ"}, {"'r", "ŕ"},
    {"'L", "Ĺ"}, {"'l", "ĺ"}, {"^A", "Â"}, {"^a", "â"}, {"^E", "Ê"}, {"^e", "ê"}, {"^I", "Î"}, {"^i", "î"},
    {"^O", "Ô"}, {"^o", "ô"}, {"^U", "Û"}, {"^u", "û"}, {"^Y", "Ŷ"}, {"^y", "ŷ"}, {"^C", "Ĉ"}, {"^c", "ĉ"},
    {"^S", "Ŝ"}, {"^s", "ŝ"}, {"^G", "Ĝ"}, {"^g", "ĝ"}, {"^W", "Ŵ"}, {"^w", "ŵ"}, {"\"A", "Ä"}, {"\"a", "ä"},
    {"\"E", "Ë"}, {"\"e", "ë"}, {"\"I", "Ï"}, {"\"i", "ï"}, {"\"O", "Ö"}, {"\"o", "ö"}, {"\"U", "Ü"},
    {"\"u", "ü"}, {"\"Y", "Ÿ"}, {"\"y", "ÿ"}, {"~A", "Ã"}, {"~a", "ã"}, {"~I", "Ĩ"}, {"~i", "ĩ"}, {"~O", "Õ"},
    {"~o", "õ"}, {"~U", "Ũ"}, {"~u", "ũ"}, {"~N", "Ñ"}, {"~n", "ñ"}, {"cC", "Ç"}, {"cc", "ç"}, {"cN", "Ņ"},
    {"cn", "ņ"}, {"cS", "Ş"}, {"cs", "ş"}, {"cG", "Ģ"}, {"cg", "ģ"}, {"cR", "Ŗ"}, {"cr", "ŗ"}, {"cL", "Ļ"},
    {"cl", "ļ"}, {"cT", "Ţ"}, {"ct", "ţ"}, {"cK", "Ķ"}, {"ck", "ķ"}, {"oA", "Å"}, {"oa", "å"}, {"oU", "Ů"},
    {"ou", "ů"}, {"vE", "Ě"}, {"ve", "ě"}, {"vC", "Č"}, {"vc", "č"}, {"vN", "Ň"}, {"vn", "ň"}, {"vS", "Š"},
    {"vs", "š"}, {"vZ", "Ž"}, {"vz", "ž"}, {"vR", "Ř"}, {"vr", "ř"}, {"vL", "Ľ"}, {"vl", "ľ"}, {"vD", "Ď"},
    {"vd", "ď"}, {"vT", "Ť"}, {"vt", "ť"}, {"uA", "Ă"}, {"ua", "ă"}, {"uE", "Ĕ"}, {"ue", "ĕ"}, {"uI", "Ĭ"},
    {"ui", "ĭ"}, {"uO", "Ŏ"}, {"uo", "ŏ"}, {"uU", "Ŭ"}, {"uu", "ŭ"}, {"uG", "Ğ"}, {"ug", "ğ"}, {"=A", "Ā"},
    {"=a", "ā"}, {"=E", "Ē"}, {"=e", "ē"}, {"=I", "Ī"}, {"=i", "ī"}, {"=O", "Ō"}, {"=o", "ō"}, {"=U", "Ū"},
    {"=u", "ū"}, {".E", "Ė"}, {".e", "ė"}, {".I", "İ"}, {".C", "Ċ"}, {".c", "ċ"}, {".Z", "Ż"}, {".z", "ż"},
    {".G", "Ġ"}, {".g", "ġ"}, {"HO", "Ő"}, {"Ho", "ő"}, {"HU", "Ű"}, {"Hu", "ű"}, {";A", "Ą"}, {";a", "ą"},
    {";E", "Ę"}, {";e", "ę"}, {";I", "Į"}, {";i", "į"}, {";U", "Ų"}, {";u", "ų"}, {"/o", "ø"}, {"/O", "Ø"},
    {"/l", "ł"}, {"/L", "Ł"}, {"ss", "ß"}, {"ae", "æ"}, {"AE", "Æ"}, {"oe", "œ"}, {"OE", "Œ"}, {"aa", "å"},
    {"AA", "Å"}, {"dh", "ð"}, {"DH", "Ð"}, {"th", "þ"}, {"TH", "Þ"},
};

bool IsWordBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string DecodeAbcEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t slash = text.find('\\', pos);
    if (slash == std::string_view::npos) {
      out.append(text.substr(pos));
      break;
    }
    out.append(text.substr(pos, slash - pos));
    const std::string_view code = text.substr(slash + 1, 2);
    const auto known = std::find_if(std::begin(kMnemonics), std::end(kMnemonics),
                                    [code](const Mnemonic& m) { return m.code == code; });
    if (known != std::end(kMnemonics)) {
      out.append(known->letter);
      pos = slash + 3;
    } else {
      // Kept as written, with the character after it, so that "\\'e" stays a backslash and a letter.
      out.append(text.substr(slash, 2));
      pos = slash + 2;
    }
  }
  return out;
}

std::vector<AbcSyllable> SplitAbcWords(std::string_view words) {
  std::vector<AbcSyllable> steps;
  std::string pending;
  bool inSyllable = false;  // characters of a syllable have been met since the last break
  // A syllable or "*" just ended with nothing between: a hyphen now only parts it from the next
  // syllable. After a blank or another hyphen, a hyphen stands for a note of its own.
  bool justEnded = false;
  const auto endSyllable = [&](bool hyphen) {
    if (!inSyllable) return false;
    steps.push_back({AbcSyllable::Kind::kText, hyphen ? pending + "-" : pending});
    pending.clear();
    inSyllable = false;
    return true;
  };
  const auto hyphenLastWord = [&steps] {
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
      if (it->kind == AbcSyllable::Kind::kNextBar) return;
      if (it->kind != AbcSyllable::Kind::kText) continue;
      if (!it->text.ends_with('-')) it->text += '-';
      return;
    }
  };
  for (size_t pos = 0; pos < words.size(); ++pos) {
    const char c = words[pos];
    if (IsWordBlank(c)) {
      endSyllable(false);
      justEnded = false;
    } else if (c == '-') {
      if (endSyllable(true) || justEnded) {
        justEnded = false;
      } else {
        hyphenLastWord();
        steps.push_back({AbcSyllable::Kind::kSkipNote, {}});
      }
    } else if (c == '*' || c == '_') {
      endSyllable(false);
      steps.push_back({AbcSyllable::Kind::kSkipNote, {}});
      justEnded = true;
    } else if (c == '|') {
      endSyllable(false);
      steps.push_back({AbcSyllable::Kind::kNextBar, {}});
      justEnded = false;
    } else if (c == '~') {
      pending += ' ';
      inSyllable = true;
    } else if (c == '\\' && pos + 1 < words.size() && words[pos + 1] == '-') {
      pending += '-';
      inSyllable = true;
      ++pos;
    } else {
      pending += c;
      inSyllable = true;
    }
  }
  endSyllable(false);
  return steps;
}

void SetAbcWords(nChordArray& voice, size_t start, std::string_view words, size_t verse,
                 std::vector<size_t>& linesOfNotes) {
  if (verse == 0) linesOfNotes.clear();
  size_t index = start;
  const auto nextNote = [&voice, &index] {
    while (index < voice.size()) {
      const nChord* e = voice.at(index);
      if (e != nullptr && e->IsChord() && !e->notes.empty()) return true;
      ++index;
    }
    return false;
  };
  for (const AbcSyllable& step : SplitAbcWords(words)) {
    if (step.kind == AbcSyllable::Kind::kNextBar) {
      while (index < voice.size() && (voice.at(index) == nullptr || !voice.at(index)->IsBarLine())) ++index;
      if (index < voice.size()) ++index;
      continue;
    }
    if (!nextNote()) return;
    const size_t slot = index - start;
    nChord& chord = *voice.at(index++);
    if (step.kind != AbcSyllable::Kind::kText) continue;
    if (linesOfNotes.size() <= slot) linesOfNotes.resize(slot + 1, 0);
    // Each verse is one line of the note's lyric; a verse that left this note out leaves its
    // line empty. The lines a lyric holds are kept beside the voice, and later verses are
    // appended in place, so that many verses cost what they add.
    size_t& lines = linesOfNotes[slot];
    CMetaEvent* earlier = verse > 0 ? chord.metaEvents.Find(CMetaEvent::kLyrics) : nullptr;
    if (earlier == nullptr) {
      std::string text(verse, '\r');
      text += step.text;
      chord.SetLyric(text);
    } else {
      if (lines == 0) lines = static_cast<size_t>(std::count(earlier->text.begin(), earlier->text.end(), '\r')) + 1;
      if (lines > verse) continue;
      earlier->text.append(verse - lines + 1, '\r');
      earlier->text += step.text;
    }
    lines = verse + 1;
  }
}

}  // namespace vornel
