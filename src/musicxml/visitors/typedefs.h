#pragma once
// Handles of the element classes that the analysis visitors handle, named "S" plus the element
// name (hyphens as underscores).

#include "musicxml/factory/musicxml.h"

namespace vornel::MusicXML2 {

using Saccent = Smusicxml<ElementType("accent")>;
using Sactual_notes = Smusicxml<ElementType("actual-notes")>;
using Salter = Smusicxml<ElementType("alter")>;
using Sbeam = Smusicxml<ElementType("beam")>;
using Sbeat_type = Smusicxml<ElementType("beat-type")>;
using Sbeat_unit = Smusicxml<ElementType("beat-unit")>;
using Sbeat_unit_dot = Smusicxml<ElementType("beat-unit-dot")>;
using Sbeats = Smusicxml<ElementType("beats")>;
using Sbreath_mark = Smusicxml<ElementType("breath-mark")>;
using Scancel = Smusicxml<ElementType("cancel")>;
using Schord = Smusicxml<ElementType("chord")>;
using Sclef = Smusicxml<ElementType("clef")>;
using Sclef_octave_change = Smusicxml<ElementType("clef-octave-change")>;
using Scue = Smusicxml<ElementType("cue")>;
using Sdisplay_octave = Smusicxml<ElementType("display-octave")>;
using Sdisplay_step = Smusicxml<ElementType("display-step")>;
using Sdot = Smusicxml<ElementType("dot")>;
using Sduration = Smusicxml<ElementType("duration")>;
using Sfermata = Smusicxml<ElementType("fermata")>;
using Sfifths = Smusicxml<ElementType("fifths")>;
using Sfret = Smusicxml<ElementType("fret")>;
using Sgrace = Smusicxml<ElementType("grace")>;
using Sinstrument = Smusicxml<ElementType("instrument")>;
using Skey = Smusicxml<ElementType("key")>;
using Sline = Smusicxml<ElementType("line")>;
using Smetronome = Smusicxml<ElementType("metronome")>;
using Smode = Smusicxml<ElementType("mode")>;
using Snormal_notes = Smusicxml<ElementType("normal-notes")>;
using Snote = Smusicxml<ElementType("note")>;
using Soctave = Smusicxml<ElementType("octave")>;
using Spart = Smusicxml<ElementType("part")>;
using Sper_minute = Smusicxml<ElementType("per-minute")>;
using Spitch = Smusicxml<ElementType("pitch")>;
using Srest = Smusicxml<ElementType("rest")>;
using Ssenza_misura = Smusicxml<ElementType("senza-misura")>;
using Ssign = Smusicxml<ElementType("sign")>;
using Sslur = Smusicxml<ElementType("slur")>;
using Sstaccato = Smusicxml<ElementType("staccato")>;
using Sstaff = Smusicxml<ElementType("staff")>;
using Sstaves = Smusicxml<ElementType("staves")>;
using Sstem = Smusicxml<ElementType("stem")>;
using Sstep = Smusicxml<ElementType("step")>;
using Sstring = Smusicxml<ElementType("string")>;
using Sstrong_accent = Smusicxml<ElementType("strong-accent")>;
using Stechnical = Smusicxml<ElementType("technical")>;
using Stenuto = Smusicxml<ElementType("tenuto")>;
using Stie = Smusicxml<ElementType("tie")>;
using Stied = Smusicxml<ElementType("tied")>;
using Stime = Smusicxml<ElementType("time")>;
using Stime_modification = Smusicxml<ElementType("time-modification")>;
using Stype = Smusicxml<ElementType("type")>;
using Sunpitched = Smusicxml<ElementType("unpitched")>;
using Svoice = Smusicxml<ElementType("voice")>;

}  // namespace vornel::MusicXML2
