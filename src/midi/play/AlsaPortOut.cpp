#include "midi/play/AlsaPortOut.h"

#include <RtMidi.h>

#include "platform/UserPrompts.h"

namespace vornel {

namespace {

void ErrorCallback(RtMidiError::Type type, const std::string& text, void* self) {
  const bool isError = type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING;
  static_cast<AlsaPortOut*>(self)->OnLibraryError(isError, text);
}

std::unique_ptr<RtMidiOut> NewAlsaOut() {
  return std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kApplicationName);
}

}  // namespace

AlsaPortOut::AlsaPortOut(std::string portName) : portName_(std::move(portName)) {}

AlsaPortOut::~AlsaPortOut() { AlsaPortOut::Close(); }

void AlsaPortOut::OnLibraryError(bool isError, const std::string& text) {
  MidiLog(isError ? MidiLogLevel::kError : MidiLogLevel::kWarning, text);
  if (isError) {
    failed_ = true;
    error_ = text;
  }
}

bool AlsaPortOut::Open() {
  Close();
  failed_ = false;
  try {
    out_ = NewAlsaOut();
    out_->setErrorCallback(ErrorCallback, this);
    const unsigned count = out_->getPortCount();
    unsigned port = count;
    for (unsigned i = 0; i < count; ++i) {
      if (out_->getPortName(i) == portName_) {
        port = i;
        break;
      }
    }
    if (port == count) {
      out_.reset();
      error_ = kPortGone;
      return false;
    }
    out_->openPort(port, "playback");
    if (failed_ || !out_->isPortOpen()) {
      out_.reset();
      if (error_.empty()) error_ = kPortGone;
      return false;
    }
  } catch (const RtMidiError& e) {
    out_.reset();
    error_ = "The ALSA sequencer cannot be reached: " + e.getMessage() +
             "\nChoose the built-in synthesizer as \"MIDI output\" in Preferences (MIDI).";
    return false;
  } catch (const std::exception& e) {
    out_.reset();
    error_ = e.what();
    return false;
  }
  open_ = true;
  return true;
}

void AlsaPortOut::Close() {
  if (out_ != nullptr) {
    try {
      out_->closePort();
    } catch (...) {  // closing never reports
    }
  }
  out_.reset();
  open_ = false;
}

bool AlsaPortOut::Send(const uint8_t* bytes, size_t size) {
  if (!open_ || out_ == nullptr) {
    error_ = kPortGone;
    return false;
  }
  try {
    out_->sendMessage(bytes, size);
  } catch (const RtMidiError& e) {
    error_ = e.getMessage();
    return false;
  }
  return !failed_;
}

std::vector<std::string> ListAlsaPorts() {
  std::vector<std::string> names;
  try {
    const std::unique_ptr<RtMidiOut> out = NewAlsaOut();
    const unsigned count = out->getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(out->getPortName(i));
  } catch (const std::exception& e) {
    MidiLog(MidiLogLevel::kInformation, e.what());
  }
  return names;
}

}  // namespace vornel
