#pragma once
// The texts of an ABC file: the backslash escapes of accented letters in its fields and
// words, and the words of a "w:" line set under the notes of the music line before it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class nChordArray;

// The text with ABC's backslash mnemonics of accented letters and ligatures ("\'e", "\"u",
// "\cc", "\ss", "\ae" ...) turned into their UTF-8 letters. An escape it does not know
// stays as written, so "\-" and "\\" reach the readers that give them a meaning.
std::string DecodeAbcEscapes(std::string_view text);

// One step of a "w:" line: a syllable for the next note, or a move over notes without one.
struct AbcSyllable {
  enum class Kind {
    kText,      // a syllable for the next note
    kSkipNote,  // "*", "_" or a lone "-": the next note gets no syllable
    kNextBar,   // "|": the rest of the bar gets no syllable
  };
  Kind kind = Kind::kText;
  std::string text;  // with a closing "-" when the word goes on under a later note
};

// The steps of a "w:" line (its text after "w:"): syllables parted by blanks and hyphens, "~"
// a blank inside a syllable, "\-" a hyphen inside one.
std::vector<AbcSyllable> SplitAbcWords(std::string_view words);

// Sets the syllables of a "w:" line under the chords with notes of `voice` from `start` on.
// `verse` counts the "w:" lines already given to the same music line: a later verse goes
// under the earlier ones as a further line of each lyric. `linesOfNotes` keeps, from one verse
// of the music line to the next, how many lines the lyric of each note from `start` on holds.
void SetAbcWords(nChordArray& voice, size_t start, std::string_view words, size_t verse,
                 std::vector<size_t>& linesOfNotes);

}  // namespace vornel
