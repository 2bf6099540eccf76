#include "midi/play/EchoOutput.h"

namespace vornel {

namespace {

constexpr uint8_t kVelocity = 64;
constexpr uint8_t kAllNotesOff = 123;

}  // namespace

EchoOutput::EchoOutput(MidiOutFactory factory, std::function<std::string()> settings)
    : factory_(std::move(factory)), settings_(std::move(settings)) {}

EchoOutput::~EchoOutput() {
  WaitForOpening();
  std::lock_guard lock(mutex_);
  if (out_ != nullptr) {
    SilenceHeld();
    out_->Close();
  }
}

void EchoOutput::WaitForOpening() {
  if (opener_.joinable()) opener_.join();
}

bool EchoOutput::Sound(uint8_t channel, uint8_t program, std::span<const uint8_t> pitches) {
  if (!factory_) return false;
  const std::string settings = settings_ ? settings_() : std::string();
  Chord chord{channel, program, std::vector<uint8_t>(pitches.begin(), pitches.end())};
  std::unique_lock lock(mutex_);
  if (state_ == State::kOpening) {
    waiting_ = std::move(chord);
    chordWaiting_ = true;
    return false;
  }
  if (settings != openedWith_ && state_ != State::kClosed) {
    // Other settings: the output they name is opened instead, and may fail again.
    if (out_ != nullptr) {
      SilenceHeld();
      out_->Close();
      out_.reset();
    }
    state_ = State::kClosed;
  }
  switch (state_) {
    case State::kFailed: return false;
    case State::kOpen:
      SilenceHeld();
      SendChord(chord);
      return true;
    case State::kOpening: return false;
    case State::kClosed: break;
  }
  state_ = State::kOpening;
  openedWith_ = settings;
  waiting_ = std::move(chord);
  chordWaiting_ = true;
  lock.unlock();
  // The last opening is over (the state said so): its thread has only to end.
  WaitForOpening();
  opener_ = std::thread([this] { Open(); });
  return false;
}

void EchoOutput::Open() {
  std::unique_ptr<MidiOut> out = factory_();
  const bool opened = out != nullptr && out->Open();
  std::lock_guard lock(mutex_);
  if (!opened) {
    failure_ = out != nullptr && !out->Error().empty() ? out->Error() : "The MIDI output cannot be opened.";
    failureTaken_ = false;
    chordWaiting_ = false;
    state_ = State::kFailed;
    return;
  }
  out_ = std::move(out);
  state_ = State::kOpen;
  if (chordWaiting_) SendChord(waiting_);
  chordWaiting_ = false;
}

void EchoOutput::SendChord(const Chord& chord) {
  const uint8_t program[2] = {static_cast<uint8_t>(0xC0 | (chord.channel & 0x0F)), static_cast<uint8_t>(chord.program & 0x7F)};
  out_->Send(program, 2);
  for (const uint8_t pitch : chord.pitches) {
    const uint8_t on[3] = {static_cast<uint8_t>(0x90 | (chord.channel & 0x0F)), static_cast<uint8_t>(pitch & 0x7F), kVelocity};
    out_->Send(on, 3);
  }
  sounding_ = true;
}

void EchoOutput::SilenceHeld() {
  chordWaiting_ = false;
  if (out_ == nullptr || !sounding_) return;
  for (uint8_t channel = 0; channel < 16; ++channel) {
    const uint8_t off[3] = {static_cast<uint8_t>(0xB0 | channel), kAllNotesOff, 0};
    out_->Send(off, 3);
  }
  sounding_ = false;
}

void EchoOutput::Silence() {
  std::lock_guard lock(mutex_);
  SilenceHeld();
}

std::string EchoOutput::TakeFailure() {
  std::lock_guard lock(mutex_);
  if (state_ != State::kFailed || failureTaken_) return {};
  failureTaken_ = true;
  return failure_;
}

}  // namespace vornel
