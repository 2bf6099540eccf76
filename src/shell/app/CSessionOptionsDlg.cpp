#include "shell/app/CSessionOptionsDlg.h"

#include <algorithm>
#include <exception>

#include "platform/ServiceSlots.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/io/FileIO.h"

namespace vornel {

namespace {

HookSlot<MidiPortLister> g_portLister("MIDI port list");

}  // namespace

void SetMidiPortLister(MidiPortLister lister) { g_portLister.Exchange(std::move(lister)); }

std::vector<std::string> MidiOutputPortNames() {
  if (g_portLister.Get()) return g_portLister.Get()();
  return {"Built-in synthesizer"};
}

CSessionOptionsDlg::CSessionOptionsDlg() = default;
CSessionOptionsDlg::~CSessionOptionsDlg() = default;

std::string CSessionOptionsDlg::DefaultInstrumentName() const {
  return defaultInstrument ? defaultInstrument->nameText.text : std::string();
}

void CSessionOptionsDlg::ResetDefaultInstrument() {
  defaultInstrument = std::make_unique<CInstrumentDlg>();
  defaultInstrument->AddStave();
}

void CSessionOptionsDlg::ClampValues() {
  maximumUndo = std::min(maximumUndo, kMaximumUndoLimit);
  autoSaveMinutes = std::clamp(autoSaveMinutes, 0, kAutoSaveLimit);
  defaultZoom = std::clamp(defaultZoom, kMinimumZoom, kMaximumZoom);
  percussionChannel = std::clamp(percussionChannel, 0, kLastPercussionChannel);
}

void CSessionOptionsDlg::Store(ArchiveWriter& ar) const {
  ar.WriteU32(kFormatNumber);
  ar.WriteText(kCurrentFormatVersion);
  ar.WriteI32(openLastDocument);
  ar.WriteI32(useTexture);
  ar.WriteU32(midiPort);
  ar.WriteU32(reserved);
  ar.WriteText(textureFile);
  ar.WriteObject(defaultInstrument.get());
  titleFont.Store(ar);
  ar.WriteU32(maximumUndo);
}

std::vector<uint8_t> CSessionOptionsDlg::StoreBytes() const {
  ArchiveWriter ar;
  Store(ar);
  return ar.TakeBytes();
}

void CSessionOptionsDlg::Load(std::span<const uint8_t> bytes) {
  ArchiveReader ar(bytes);
  defaultInstrument.reset();
  try {
    formatNumber = ar.ReadU32();
    // The nested records compare their gates with the version the file was written with.
    ar.SetVersion(ar.ReadText());
    openLastDocument = ar.ReadI32();
    useTexture = ar.ReadI32();
    midiPort = ar.ReadU32();
    reserved = ar.ReadU32();
    textureFile = ar.ReadText();
    defaultInstrument = std::make_unique<CInstrumentDlg>();
    if (formatNumber <= 1) {
      // The oldest files keep only the tablature instrument of the default definition.
      defaultInstrument->tabInstrument.Load(ar);
      defaultInstrument->AddStave();
    } else {
      std::unique_ptr<CInstrumentDlg> read = ar.ReadOwnedObject<CInstrumentDlg>();
      if (!read) throw ArchiveError(ArchiveErrorCode::kBadData, "no default instrument");
      defaultInstrument = std::move(read);
      if (formatNumber > 6) titleFont.Load(ar);  // whole or not at all
      if (formatNumber > 7) maximumUndo = ar.ReadU32();
    }
  } catch (const std::exception&) {
    Prompts().ShowMessage(kIllegibleMessage, MessageKind::kError);
    ResetDefaultInstrument();
  }
  ClampValues();
}

bool CSessionOptionsDlg::WriteOptionsFile(const std::string& path) const {
  if (!WriteFileAtomically(path, StoreBytes())) {
    Prompts().ShowMessage(std::string(kCannotCreateMessage) + path, MessageKind::kError);
    return false;
  }
  return true;
}

}  // namespace vornel
