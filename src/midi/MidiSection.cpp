#include "midi/MidiSection.h"

#include <algorithm>

#include "midi/MidiChannels.h"
#include "midi/MidiFileTrack.h"
#include "midi/MidiStreamEvents.h"
#include "midi/MidiTime.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/events/MIDIControllers.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

constexpr size_t kPercussionFamily = 10;  // "Percussions"

uint8_t Value(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 127)); }

bool HasChords(const nChordArray& voice) {
  return std::any_of(voice.begin(), voice.end(), [](const nChordArray::Handle& e) { return e && e->IsChord(); });
}

// Every definition's gathered voices are released when the export or play is done, whatever
// happens on the way.
struct GatheredVoices {
  explicit GatheredVoices(CSystemArray& s, size_t first) : section(s) { section.GatherAllVoices(first); }
  ~GatheredVoices() { section.ClearGatheredVoices(); }
  GatheredVoices(const GatheredVoices&) = delete;
  GatheredVoices& operator=(const GatheredVoices&) = delete;
  CSystemArray& section;
};

void WriteMainControllers(MidiFile& file, const MIDIControllers& m, uint8_t ch) {
  file.WriteProgramChange(0, ch, m.patch);
  if (m.echoOn != 0) {
    file.WriteProgramChange(0, m.echoChannel, m.echoPatch);
    file.WriteController(0, m.echoChannel, 7, m.echoVolume);
  }
  file.WriteController(0, ch, 7, m.volume);
  file.WriteController(0, ch, 10, m.pan);
  file.WriteController(0, ch, 11, m.expression);
  if (m.portamentoOn != 0) {
    file.WriteController(0, ch, 65, 127);
    file.WriteController(0, ch, 5, m.portamentoTime);
  }
  if (m.softPedal != 0) file.WriteController(0, ch, 67, 127);
  if (m.holdPedal != 0) {
    for (uint8_t c : {64, 69, 66, 68}) file.WriteController(0, ch, c, 127);
  }
  file.WriteController(0, ch, 91, Value(m.reverb));
  file.WriteController(0, ch, 94, Value(m.celeste));
  file.WriteController(0, ch, 93, Value(m.chorus));
  file.WriteController(0, ch, 73, Value(m.attack));
  file.WriteController(0, ch, 74, m.brightness);
  file.WriteController(0, ch, 99, 0);
  file.WriteController(0, ch, 98, 0);
  file.WriteController(0, ch, 6, 125);
  file.WriteController(0, ch, 96, 122);
  file.WriteController(0, ch, 97, 120);
}

std::vector<MidiLineNeeds> LineNeeds(const CSystemArray& section, const std::vector<size_t>& lines) {
  std::vector<MidiLineNeeds> needs;
  for (size_t d : lines) {
    const CInstrumentDlg& def = *section.Definition(d);
    needs.push_back({def.family == kPercussionFamily, def.midi.mergeVoices == 0 && HasChords(def.gathered[1])});
  }
  return needs;
}

}  // namespace

MidiVoiceSettings MidiVoiceSettingsOf(const CInstrumentDlg& d) {
  const MIDIControllers& m = d.midi;
  MidiVoiceSettings s;
  s.transpose = m.transpose;
  s.velocity = m.velocity;
  s.equalizer = m.equalizer;
  s.dynamicAmplitude = m.dynamicAmplitude;
  s.ornamentsPlayed = m.ornamentsPlayed != 0;
  s.mergeVoices = m.mergeVoices != 0;
  s.mute = m.mute != 0;
  s.percussion = d.family == kPercussionFamily;
  s.currentVoice = 0;
  s.octaveOn = m.octaveDoublingOn != 0;
  s.octaveString = m.octaveString;
  s.octaveDelay = m.octaveDelay;
  s.octaveVelocity = m.octaveVelocity;
  s.echoOn = m.echoOn != 0;
  s.echoChannel = m.echoChannel;
  s.echoDelay = m.echoDelay;
  s.echoOctave = static_cast<int8_t>(m.echoOctave);  // stored as a byte, meant signed
  s.key = d.key;
  return s;
}

void WriteMidiChannelSetup(MidiFile& file, const MIDIControllers& m, uint8_t channel, uint8_t secondChannel,
                           bool twoChannels) {
  file.WriteController(0, channel, 121, 0);
  WriteMainControllers(file, m, channel);
  if (twoChannels) WriteMainControllers(file, m, secondChannel);
  if (m.echoOn != 0) {
    const uint8_t e = m.echoChannel;
    file.WriteController(0, e, 121, 0);
    file.WriteController(0, e, 7, m.echoVolume);
    file.WriteProgramChange(0, e, m.echoPatch);
    file.WriteController(0, e, 64, 127);
    file.WriteController(0, e, 91, 100);
    file.WriteController(0, e, 93, 100);
  }
}

std::vector<int> WriteSectionMidi(CSystemArray& section, CMIDIExportDlg settings, const MidiExportOptions& options,
                                  MidiFile& file) {
  settings.numerator = section.numerator;
  settings.denominator = section.denominator;
  settings.tempo = section.tempo;
  GatheredVoices gathered(section, 0);

  std::vector<size_t> exported;
  for (size_t d = 0; d < section.definitions.size(); ++d) {
    if (section.Definition(d)->midi.mute == 0) exported.push_back(d);
  }
  const std::vector<MidiLineChannels> channels = AssignMidiChannels(LineNeeds(section, exported));
  std::vector<int> result(section.definitions.size(), -1);

  const uint16_t tracks = static_cast<uint16_t>(std::min<size_t>(exported.size() + (options.metronome ? 1 : 0), 0xFFFE));
  MidiFileTrack::WriteHeaderAndTitle(file, tracks, options.title.empty() ? section.Title().text : options.title,
                                     options.author.empty() ? section.Author().text : options.author);
  uint64_t longest = 0;
  uint64_t events = 0;
  for (size_t i = 0; i < exported.size() && i < tracks; ++i) {
    CInstrumentDlg& def = *section.Definition(exported[i]);
    const MidiLineChannels ch = channels[i];
    result[exported[i]] = ch.first;
    file.BeginTrack(ch.first);
    const uint8_t sequence[2] = {0, 0};
    file.WriteMeta(0, MidiFile::kSequenceNumber, sequence);
    file.WriteTimeSignature(0, settings.numerator, settings.denominator);
    const int sf = std::clamp<int>(static_cast<int>(def.key.alterations), 0, 7);
    file.WriteKeySignature(0, static_cast<int8_t>(def.key.bemol != 0 ? -sf : sf), (def.key.mode & CKey::kMinorBit) != 0);
    file.WriteText(0, MidiFile::kTextEvent, def.nameText.text);
    WriteMidiChannelSetup(file, def.midi, ch.first, ch.second, ch.second != ch.first);
    file.WriteTempo(0, static_cast<uint32_t>(settings.tempo));

    MIDIVoiceStream stream;
    stream.Init(MidiVoiceSettingsOf(def), ch.first, ch.second, section.numerator, section.denominator, 0, false);
    const strMidiBuffer records = stream.BuildInstrument(&def.gathered[0], &def.gathered[1], MIDIVoiceStream::kModeAll);
    const MidiEcho echo{def.midi.echoOn != 0, static_cast<uint8_t>(def.midi.echoChannel & 0x0F)};
    longest = std::max(longest, MidiFileTrack::WriteEvents(file, records, echo, settings.expandRepeats != 0));
    events += records.size();
    file.WriteController(0, ch.first, 0x7B, 0);
    file.WriteController(0, ch.first, 0x79, 0);
    file.EndTrack();
  }
  if (options.metronome) {
    MidiFileTrack::WriteMetronome(file, longest, MidiBeatTicks(static_cast<uint32_t>(section.tempo) >> 24),
                                  options.metronomeChannel, options.metronomeKey, events);
  }
  return result;
}

bool WriteSectionMidiFile(CSystemArray& section, const CMIDIExportDlg& settings, const MidiExportOptions& options,
                          const std::string& path) {
  MidiFile file;
  WriteSectionMidi(section, settings, options, file);
  std::string error;
  if (!file.Save(path, &error)) {
    Prompts().ShowMessage("Cannot open file for writing\n" + path + ":\n" + error, MessageKind::kWarning);
    return false;
  }
  return true;
}

MidiShortMessage MidiMessage(uint8_t status, uint8_t a) { return MidiShortMessage{{status, static_cast<uint8_t>(a & 0x7F), 0}, 2}; }

MidiShortMessage MidiMessage(uint8_t status, uint8_t a, uint8_t b) {
  return MidiShortMessage{{status, static_cast<uint8_t>(a & 0x7F), static_cast<uint8_t>(b & 0x7F)}, 3};
}

void AddInstrumentSetup(const MIDIControllers& m, uint8_t channel, std::vector<MidiShortMessage>& out) {
  const uint8_t cc = static_cast<uint8_t>(0xB0 | (channel & 0x0F));
  out.push_back(MidiMessage(cc, 127, 127));
  out.push_back(MidiMessage(cc, 7, m.volume));
  out.push_back(MidiMessage(cc, 10, 100));
  out.push_back(MidiMessage(cc, 1, m.modulation));
  out.push_back(MidiMessage(cc, 8, m.pan));
  out.push_back(MidiMessage(cc, 11, m.expression));
  out.push_back(MidiMessage(cc, 4, m.brightness));
  if (m.holdPedal != 0) out.push_back(MidiMessage(cc, 69, 127));
  if (m.portamentoOn != 0) out.push_back(MidiMessage(cc, 65, 127));
}

MidiMeter PlayMeter(const CSystemArray& section) {
  const size_t active = std::min<size_t>(static_cast<size_t>(std::max(section.activeSystem, 0)),
                                         section.systems.empty() ? 0 : section.systems.size() - 1);
  const size_t line = section.ActiveInstrumentIndex();
  const CMetaEvent* inForce = nullptr;
  for (size_t s = 0; s <= active && s < section.systems.size(); ++s) {
    const CStaveArray* system = section.System(s);
    if (system == nullptr || line >= system->lines.size() || system->lines[line] == nullptr) continue;
    const nChordArray& voice = system->lines[line]->Voice(0);
    const CMetaEvent* first = nullptr;
    const CMetaEvent* last = nullptr;
    for (const auto& e : voice) {
      if (e == nullptr) continue;
      if (const CMetaEvent* signature = e->metaEvents.Find(CMetaEvent::kTimeSignature)) {
        if (first == nullptr) first = signature;
        last = signature;
      }
    }
    if (s < active && last != nullptr) inForce = last;
    if (s == active && first != nullptr) inForce = first;
  }
  if (inForce != nullptr) {
    const MidiMeter meter = MidiMeter::From(inForce->cx & 0xFF, inForce->cy & 0xFF);
    if (meter.numerator == static_cast<uint32_t>(inForce->cx & 0xFF)) return meter;
  }
  return MidiMeter::From(section.numerator, section.denominator);
}

namespace {

// The definitions a play sounds: the active line alone below mode 3, else every line that is
// not muted.
std::vector<size_t> PlayedLines(const CSystemArray& section, int mode, size_t active) {
  std::vector<size_t> lines;
  if (mode < MIDIVoiceStream::kModeAll) {
    lines.push_back(active);
    return lines;
  }
  for (size_t d = 0; d < section.definitions.size(); ++d) {
    if (section.Definition(d)->midi.mute == 0) lines.push_back(d);
  }
  return lines;
}

strMidiBuffer BuildPlay(CSystemArray& section, const MidiPlayOptions& options, std::vector<MidiShortMessage>* setup) {
  // A section read without systems or instruments has nothing to play (and no active line).
  if (section.systems.empty() || section.definitions.empty()) return {};
  const size_t active = section.ActiveInstrumentIndex();
  const int selectedVoice = section.ActiveLine()->selectedVoice != 0 ? 1 : 0;
  const size_t first = static_cast<size_t>(std::max(section.activeSystem, 0));
  const MidiMeter meter = PlayMeter(section);
  GatheredVoices gathered(section, first);

  const std::vector<size_t> lines = PlayedLines(section, options.mode, active);
  const std::vector<MidiLineChannels> channels = AssignMidiChannels(LineNeeds(section, lines));
  strMidiBuffer all;
  for (size_t i = 0; i < lines.size(); ++i) {
    CInstrumentDlg& def = *section.Definition(lines[i]);
    MidiVoiceSettings s = MidiVoiceSettingsOf(def);
    s.currentVoice = selectedVoice;
    MIDIVoiceStream stream;
    stream.Init(s, channels[i].first, channels[i].second, static_cast<int32_t>(meter.numerator),
                static_cast<int32_t>(meter.denominator), static_cast<int32_t>(first), lines[i] == active);
    strMidiBuffer records = stream.BuildInstrument(&def.gathered[0], &def.gathered[1], options.mode);
    all.Merge(std::move(records));
    if (setup != nullptr) {
      // The builder puts a percussion line on the drum channel whatever it was given.
      const uint8_t ch1 = s.percussion ? kMidiPercussionChannel : channels[i].first;
      const uint8_t ch2 = s.percussion ? kMidiPercussionChannel : (s.mergeVoices ? ch1 : channels[i].second);
      setup->push_back(MidiMessage(static_cast<uint8_t>(0xC0 | ch1), def.midi.patch));
      AddInstrumentSetup(def.midi, ch1, *setup);
      if (ch2 != ch1) {
        setup->push_back(MidiMessage(static_cast<uint8_t>(0xC0 | ch2), def.midi.patch));
        AddInstrumentSetup(def.midi, ch2, *setup);
      }
    }
  }
  if (setup != nullptr && options.mode < MIDIVoiceStream::kModeAll) {
    setup->push_back(MidiMessage(0xC0, section.Definition(active)->midi.patch));
  }
  all.DropBefore(options.startTick);
  if (options.metronome) {
    AddMetronomeBeats(all, meter.beatTicks, options.metronomeKey, options.metronomeChannel);
  }
  return all;
}

}  // namespace

int PatchChooserChannel(const CInstrumentDlg& definition) {
  return definition.family == kPercussionFamily ? kMidiPercussionChannel : 0;
}

uint8_t ActiveLinePlayChannel(CSystemArray& section, int mode) {
  const size_t active = section.ActiveInstrumentIndex();
  if (section.Definition(active)->family == kPercussionFamily) return kMidiPercussionChannel;
  if (mode < MIDIVoiceStream::kModeAll) return 0;
  GatheredVoices gathered(section, static_cast<size_t>(std::max(section.activeSystem, 0)));
  const std::vector<size_t> lines = PlayedLines(section, mode, active);
  const std::vector<MidiLineChannels> channels = AssignMidiChannels(LineNeeds(section, lines));
  const auto it = std::find(lines.begin(), lines.end(), active);
  return it == lines.end() ? 0 : channels[static_cast<size_t>(it - lines.begin())].first;
}

strMidiBuffer BuildPlayRecords(CSystemArray& section, const MidiPlayOptions& options) {
  return BuildPlay(section, options, nullptr);
}

std::vector<uint8_t> BuildPlayStream(CSystemArray& section, const MidiPlayOptions& options) {
  return WriteStreamEvents(BuildPlayRecords(section, options));
}

MidiPlayProgram BuildPlayProgram(CSystemArray& section, const MidiPlayOptions& options) {
  MidiPlayProgram program;
  program.stream = WriteStreamEvents(BuildPlay(section, options, &program.setup), &program.positions);
  return program;
}

}  // namespace vornel
