#include "midi/play/TuningSounds.h"

#include <algorithm>

#include "midi/play/MidiOutStream.h"

namespace vornel {

namespace {

constexpr uint8_t kStringVelocity = 64;

}  // namespace

strMidiBuffer OpenStringNotes(const nTuning& tuning, const PlayStringsOptions& options) {
  strMidiBuffer notes;
  const int count = static_cast<int>(tuning.CoursesInUse());
  const uint32_t beat = static_cast<uint32_t>(MidiOutStream::kDefaultTimeDivision);
  for (int n = 0; n < count; ++n) {
    const int course = options.reverse ? count - 1 - n : n;
    int key = tuning.courses[static_cast<size_t>(course)].pitch + kCoursePitchOffset;
    if (options.lowPitch) --key;
    const uint32_t time = options.asChord ? 0 : static_cast<uint32_t>(n) * beat;
    notes.AddNote(time, static_cast<uint8_t>(std::clamp(key, 0, 127)), kStringVelocity, static_cast<int32_t>(beat), 0,
                  static_cast<uint8_t>(course));
  }
  return notes;
}

bool PlayStrings(const nTuning& tuning, const PlayStringsOptions& options) {
  const strMidiBuffer notes = OpenStringNotes(tuning, options);
  if (notes.empty()) return false;
  return PlayMidiPreview(std::max(options.tempo, MidiOutStream::kMinTempo), options.program, notes);
}

void StopStrings() { SharedPreviewPlayer().Stop(); }

SingleNoteSounder::SingleNoteSounder(MidiOutFactory factory) : factory_(std::move(factory)) {}

SingleNoteSounder::~SingleNoteSounder() { NoteOff(); }

bool SingleNoteSounder::NoteOn(int key) {
  NoteOff();
  std::unique_ptr<MidiOut> out = factory_ ? factory_() : DefaultMidiOutFactory()();
  if (out == nullptr || !out->Open()) return false;
  key_ = static_cast<uint8_t>(std::clamp(key, 0, 127));
  const uint8_t on[3] = {0x90, key_, kStringVelocity};
  out->Send(on, sizeof on);
  out_ = std::move(out);
  return true;
}

void SingleNoteSounder::NoteOff() {
  if (out_ == nullptr) return;
  const uint8_t off[3] = {0x80, key_, kStringVelocity};
  out_->Send(off, sizeof off);
  out_->Close();
  out_.reset();
}

}  // namespace vornel
