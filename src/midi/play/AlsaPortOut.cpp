#include "midi/play/AlsaPortOut.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "platform/UserPrompts.h"

namespace vornel {

namespace {

void ErrorCallback(RtMidiError::Type type, const std::string& text, void* self) {
  const bool isError = type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING;
  static_cast<AlsaPortOut*>(self)->OnLibraryError(isError, text);
}

// The ALSA library's own complaints go to our log instead of the standard error stream.
void RouteAlsaLog(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/, const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  MidiLog(MidiLogLevel::kInformation, text);
}

// Null, with the reason, when the sequencer cannot be opened: asked first ourselves, so that
// the port library is only started where it can work.
std::unique_ptr<RtMidiOut> NewAlsaOut(std::string& reason) {
  RouteAlsaLogOnce();
  snd_seq_t* probe = nullptr;
  const int result = snd_seq_open(&probe, "default", SND_SEQ_OPEN_OUTPUT, 0);
  if (result < 0) {
    reason = snd_strerror(result);
    return nullptr;
  }
  snd_seq_close(probe);
  return std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kApplicationName);
}

// The port named is gone with the whole sequencer: the device message, then the reason.
std::string SequencerMissing(const std::string& reason) {
  return std::string(AlsaPortOut::kPortGone) + "\nThe ALSA sequencer cannot be reached: " + reason +
         "\nChoose the built-in synthesizer as \"MIDI output\" in Preferences (MIDI).";
}

}  // namespace

void RouteAlsaLogOnce() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(RouteAlsaLog); });
}

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
    std::string reason;
    out_ = NewAlsaOut(reason);
    if (out_ == nullptr) {
      error_ = SequencerMissing(reason);
      return false;
    }
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
    error_ = SequencerMissing(e.getMessage());
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
    std::string reason;
    const std::unique_ptr<RtMidiOut> out = NewAlsaOut(reason);
    if (out == nullptr) {
      MidiLog(MidiLogLevel::kInformation, reason);
      return names;
    }
    const unsigned count = out->getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(out->getPortName(i));
  } catch (const std::exception& e) {
    MidiLog(MidiLogLevel::kInformation, e.what());
  }
  return names;
}

}  // namespace vornel
