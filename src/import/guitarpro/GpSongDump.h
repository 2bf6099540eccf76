#pragma once
// The text form of what the Guitar Pro reader read (vornel-tool gpdump): version, song
// texts, lyrics and tempo, the song's bars, the tracks and, bar by bar and voice by voice,
// each track's beats with their notes.

#include <string>

namespace vornel {

class gp_import;

// Appends the dump of the reader's song to `out`.
void DumpGuitarProSong(const gp_import& reader, std::string& out);

}  // namespace vornel
