#include "midi/MidiDialogs.h"

#include <algorithm>
#include <cstdio>

#include "midi/CIMidiDoc.h"
#include "midi/GeneralMidiNames.h"
#include "midi/MIDIVoiceStream.h"
#include "midi/MidiInstrumentList.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "MIDI dialog";

MidiDialogs g_cancelAll;
ObjectSlot<MidiDialogs> g_dialogs(kServiceName, g_cancelAll);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

uint8_t Midi7(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 127)); }
uint8_t Channel(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 15)); }

constexpr int kProgramChangeCode = 12;

}  // namespace

std::vector<std::string> CGM_PatchDlg::Names() const {
  std::vector<std::string> names;
  const size_t count = GMNameCount(channel);
  for (size_t i = 0; i < count; ++i) names.emplace_back(GMName(channel, static_cast<int>(i)));
  return names;
}

void MIDIControlsDlg::ExchangeSettings(MIDIControllers& settings, bool toPage) {
  MIDIControllers& from = toPage ? settings : values;
  MIDIControllers& to = toPage ? values : settings;
  // The stored form's groups: six bytes, nine integers, three bytes, the echo switch, four
  // bytes, the name, the patch, ten integers.
  to.volume = from.volume;
  to.expression = from.expression;
  to.brightness = from.brightness;
  to.modulation = from.modulation;
  to.velocity = from.velocity;
  to.pan = from.pan;
  to.softPedal = from.softPedal;
  to.portamentoOn = from.portamentoOn;
  to.mergeVoices = from.mergeVoices;
  to.holdPedal = from.holdPedal;
  to.octaveDelay = from.octaveDelay;
  to.octaveString = from.octaveString;
  to.octaveVelocity = from.octaveVelocity;
  to.monophonic = from.monophonic;
  to.mute = from.mute;
  to.portamentoTime = from.portamentoTime;
  to.octaveChannel = from.octaveChannel;
  to.echoDelay = from.echoDelay;
  to.echoOn = from.echoOn;
  to.echoChannel = from.echoChannel;
  to.echoVolume = from.echoVolume;
  to.echoOctave = from.echoOctave;
  to.echoPatch = from.echoPatch;
  to.name = from.name;
  to.patch = from.patch;
  to.transpose = from.transpose;
  to.equalizer = from.equalizer;
  to.ornamentsPlayed = from.ornamentsPlayed;
  to.attack = from.attack;
  to.dynamicAmplitude = from.dynamicAmplitude;
  to.celeste = from.celeste;
  to.chorus = from.chorus;
  to.release = from.release;
  to.reverb = from.reverb;
  to.octaveDoublingOn = from.octaveDoublingOn;
  if (toPage) return;
  for (uint8_t* b : {&to.volume, &to.expression, &to.brightness, &to.modulation, &to.velocity, &to.pan, &to.patch,
                     &to.portamentoTime}) {
    *b = Midi7(*b);
  }
  for (int32_t* i : {&to.attack, &to.celeste, &to.chorus, &to.release, &to.reverb}) *i = Midi7(*i);
  to.transpose = std::clamp<int32_t>(to.transpose, -127, 127);
  to.equalizer = std::clamp<int32_t>(to.equalizer, -127, 127);
  to.dynamicAmplitude = std::clamp<int32_t>(to.dynamicAmplitude, 0, MIDIControllers::kMaxAmplitude);
}

bool MIDIControlsDlg::ChoosePatch() {
  int program = values.patch;
  std::string name;
  if (!ChooseGMPatch(program, name, nullptr, channel)) return false;
  values.patch = static_cast<uint8_t>(program);
  values.name = name;
  return true;
}

bool MIDIControlsDlg::EditEchoAndDiapasons() { return EditControllers(values); }

void CMoreMidiControlsDlg::From(const MIDIControllers& m) {
  echoOn = m.echoOn != 0;
  echoChannel = m.echoChannel;
  echoDelay = m.echoDelay;
  echoPatch = m.echoPatch;
  echoVolume = m.echoVolume;
  echoOctave = std::clamp<int>(static_cast<int8_t>(m.echoOctave), -1, 1);  // stored as a byte, meant signed
  octaveOn = m.octaveDoublingOn != 0;
  octaveString = m.octaveString;
  octaveVelocity = m.octaveVelocity;
  octaveDelay = m.octaveDelay;
  octaveChannel = m.octaveChannel;
}

void CMoreMidiControlsDlg::To(MIDIControllers& m) const {
  m.echoOn = echoOn ? 1 : 0;
  m.echoChannel = Channel(echoChannel);
  m.echoDelay = Midi7(echoDelay);
  m.echoPatch = Midi7(echoPatch);
  m.echoVolume = Midi7(echoVolume);
  m.echoOctave = static_cast<uint8_t>(static_cast<int8_t>(std::clamp(echoOctave, -1, 1)));
  m.octaveDoublingOn = octaveOn ? 1 : 0;
  m.octaveString = std::clamp(octaveString, 0, 24);
  m.octaveVelocity = Midi7(octaveVelocity);
  m.octaveDelay = Midi7(octaveDelay);
  m.octaveChannel = Channel(octaveChannel);
}

const std::vector<MidiControllerKind>& MidiControllerKinds() {
  // The codes the event builder plays, named after what they change.
  static const std::vector<MidiControllerKind> kinds = {
      {0, "Volume"},     {1, "Velocity"},   {2, "Expression"}, {3, "Foot controller"}, {4, "Sustain"},
      {5, "Legato"},     {6, "Vibrato"},    {7, "Balance"},    {8, "Portamento"},      {9, "Soft pedal and balance"},
      {10, "Soft pedal"}, {kProgramChangeCode, "MIDI patch"}, {13, "Tempo"},         {65, "Portamento time"}};
  return kinds;
}

void CMidiMetaControl::From(const CMetaEvent& event) {
  const auto& kinds = MidiControllerKinds();
  const int code = MidiControllerCode(event);
  const auto it = std::find_if(kinds.begin(), kinds.end(), [code](const auto& k) { return k.code == code; });
  kind = it == kinds.end() ? 0 : static_cast<int>(it - kinds.begin());
  value = std::clamp(MidiControllerValue(event), 0, 127);
  caption = event.text;
}

void CMidiMetaControl::To(CMetaEvent& event) const {
  const auto& kinds = MidiControllerKinds();
  const size_t k = static_cast<size_t>(std::clamp<int>(kind, 0, static_cast<int>(kinds.size()) - 1));
  event.text = caption;
  event.value = PackMidiController(kinds[k].code, std::clamp(value, 0, 127));
}

bool CMidiMetaControl::ResetPatch() {
  int program = std::clamp(value, 0, 127);
  std::string name;
  if (!ChooseGMPatch(program, name)) return false;
  const auto& kinds = MidiControllerKinds();
  kind = static_cast<int>(std::find_if(kinds.begin(), kinds.end(),
                                       [](const auto& k) { return k.code == kProgramChangeCode; }) -
                          kinds.begin());
  value = program;
  return true;
}

void CMidiTrackList::From(const CIMidiDoc& doc, const MidiImportOptions& options, const CInstrumentArray* base) {
  char line[96];
  std::snprintf(line, sizeof line, "MIDI Format: %d. Time division: %d. Tracks: %d", doc.format, doc.division,
                static_cast<int>(doc.tracks.size()));
  header = line;
  instruments = {"Default"};
  if (base != nullptr) {
    for (std::string& name : InstrumentNames(*base)) instruments.push_back(std::move(name));
  }
  rows.clear();
  for (const auto& t : doc.tracks) {
    MidiTrackRow row;
    row.import = t->mark == TrackInfo::kImport;
    row.instrument = std::clamp<int>(t->choice + 1, 0, static_cast<int>(instruments.size()) - 1);
    row.chosen = !t->HasNotes() ? "Text" : (row.instrument == 0 ? "Default instrument" : instruments[row.instrument]);
    row.name = t->name;
    row.numerator = t->numerator < 0 ? "" : std::to_string(t->numerator);
    row.denominator = t->denominator < 0 ? "" : std::to_string(t->denominator);
    if (t->hasKey) row.key = std::to_string(t->keyAccidentals) + " " + (t->keyMinor != 0 ? "minor" : "Major");
    row.program = t->program >= 0 ? std::string(GMProgramName(t->program)) : std::string();
    row.instrumentText = t->instrumentText;
    rows.push_back(std::move(row));
  }
  minorMode = options.keyMinor != 0;
  mergeTracks = options.mergeTracks;
  retainPatches = options.retainPatches;
  createNewSection = options.newSection;
  numerator = options.numerator;
  denominator = options.denominator;
  quantization = options.quantizeLevel;
  tempo = options.tempo;
  alterations = options.keyAccidentals;
}

bool CMidiTrackList::Apply(CIMidiDoc& doc, MidiImportOptions& options) const {
  std::vector<int32_t> choices;
  for (size_t i = 0; i < doc.tracks.size() && i < rows.size(); ++i) {
    TrackInfo& track = *doc.tracks.at(i);
    track.mark = rows[i].import ? TrackInfo::kImport : TrackInfo::kSkip;
    if (rows[i].import) choices.push_back(defaultInstrument ? 0 : rows[i].instrument);
  }
  doc.tracks.ApplyTrackChoices(choices);
  options.keyMinor = minorMode ? 1 : 0;
  options.mergeTracks = mergeTracks;
  options.retainPatches = retainPatches;
  options.newSection = createNewSection;
  options.numerator = std::clamp(numerator, 1, 99);
  options.denominator = std::clamp(denominator, 1, 64);
  options.quantizeLevel = std::clamp(quantization, 0, kMidiMaxQuantizeLevel);
  options.tempo = std::clamp(tempo, 1, 0xFFF);
  options.keyAccidentals = std::clamp(alterations, -7, 7);
  return doc.CheckTracksSelected();
}

bool MidiDialogs::ChooseGMPatch(CGM_PatchDlg&, MidiOutStream*) { return Missing(); }
bool MidiDialogs::EditMoreControllers(CMoreMidiControlsDlg&) { return Missing(); }
bool MidiDialogs::EditControllerEvent(CMidiMetaControl&) { return Missing(); }
bool MidiDialogs::ChooseTracks(CMidiTrackList&) { return Missing(); }

MidiDialogs& MidiEditors() { return g_dialogs.Get(); }

ScopedMidiDialogs::ScopedMidiDialogs(MidiDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}
ScopedMidiDialogs::~ScopedMidiDialogs() { g_dialogs.Exchange(previous_); }

bool ChooseGMPatch(int& program, std::string& name, MidiOutStream* player, int channel) {
  CGM_PatchDlg dialog;
  dialog.channel = channel;
  const int last = static_cast<int>(GMNameCount(channel)) - 1;
  dialog.selected = std::clamp(program, 0, last);
  if (!MidiEditors().ChooseGMPatch(dialog, player)) return false;
  program = std::clamp(dialog.selected, 0, last);
  name = std::string(GMName(channel, program));
  return true;
}

bool EditControllers(MIDIControllers& settings) {
  CMoreMidiControlsDlg dialog;
  dialog.From(settings);
  if (!MidiEditors().EditMoreControllers(dialog)) return false;
  MIDIControllers copy = settings;
  dialog.To(copy);
  settings = copy;
  return true;
}

bool EditMidiController(CMetaEvent& event) {
  CMidiMetaControl dialog;
  dialog.From(event);
  if (!MidiEditors().EditControllerEvent(dialog)) return false;
  dialog.To(event);
  return true;
}

bool DialogTrackChooser::Choose(CIMidiDoc& doc, MidiImportOptions& options) {
  CMidiTrackList dialog;
  dialog.From(doc, options, base_);
  while (MidiEditors().ChooseTracks(dialog)) {
    if (dialog.Apply(doc, options)) return true;
  }
  return false;
}

}  // namespace vornel
