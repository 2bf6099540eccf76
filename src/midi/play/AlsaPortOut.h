#pragma once
// An ALSA sequencer port, through RtMidi's ALSA interface only. RtMidi reports its errors to a
// callback of ours; every call into it is wrapped, so that none of its exceptions leaves here.

#include <memory>
#include <string>
#include <vector>

#include "midi/play/MidiOut.h"

class RtMidiOut;

namespace vornel {

class AlsaPortOut : public MidiOut {
 public:
  static constexpr std::string_view kPortGone = "The specified device identifier is out of range.";

  explicit AlsaPortOut(std::string portName);
  ~AlsaPortOut() override;
  bool Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  bool Send(const uint8_t* bytes, size_t size) override;

  // Called by RtMidi for its warnings and errors.
  void OnLibraryError(bool isError, const std::string& text);

 private:
  std::string portName_;
  std::unique_ptr<RtMidiOut> out_;
  bool open_ = false;
  bool failed_ = false;
};

// The ALSA library (under the sequencer and the synthesizer's audio driver) reports to MidiLog.
void RouteAlsaLogOnce();

// The names of the ALSA sequencer's output ports; empty when the sequencer cannot be reached.
std::vector<std::string> ListAlsaPorts();

}  // namespace vornel
