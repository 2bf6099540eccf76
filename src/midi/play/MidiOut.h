#pragma once
// An output of MIDI messages for the player: the embedded synthesizer (the default), an ALSA
// sequencer port, or a recording for tests. The player opens an output for each play and
// closes it at the end; it never sends from two threads at once.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class MidiOut {
 public:
  virtual ~MidiOut() = default;
  // Makes the output ready; false with the reason in Error() (a text for the user that says
  // what is missing and which setting to change).
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // One whole channel message: status and its one or two data bytes. Allocates nothing.
  // False, with the reason in Error(), when the output failed.
  virtual bool Send(const uint8_t* bytes, size_t size) = 0;
  const std::string& Error() const { return error_; }

 protected:
  std::string error_;
};

using MidiOutFactory = std::function<std::unique_ptr<MidiOut>()>;

// What the preferences choose: the output and the synthesizer's SoundFont.
struct MidiOutputSettings {
  // Empty or kSynthesizerName: the embedded synthesizer; otherwise an ALSA port's name.
  std::string port;
  // Empty: "sounds/sf2/default-GM.sf2", then "sounds/sf2/TimGM6mb.sf2", in the XDG data folders.
  std::string soundFont;
  // The synthesizer's audio drivers, tried in order.
  std::vector<std::string> audioDrivers = {"alsa", "pulseaudio"};
};

// The name the output list gives the embedded synthesizer.
inline constexpr std::string_view kSynthesizerName = "Built-in synthesizer";

// The settings in force; the preferences change them.
MidiOutputSettings& CurrentMidiOutputSettings();

// The output the settings name (not yet open).
std::unique_ptr<MidiOut> CreateMidiOut(const MidiOutputSettings& settings);

// The outputs there are: the synthesizer first, then the ALSA sequencer ports.
std::vector<std::string> ListMidiOutputs();

// The factory players use when given none: CreateMidiOut on the settings in force, unless a
// ScopedMidiOutFactory (tests, the offline renderer) stands in.
MidiOutFactory DefaultMidiOutFactory();

class ScopedMidiOutFactory {
 public:
  explicit ScopedMidiOutFactory(MidiOutFactory factory);
  ~ScopedMidiOutFactory();
  ScopedMidiOutFactory(const ScopedMidiOutFactory&) = delete;
  ScopedMidiOutFactory& operator=(const ScopedMidiOutFactory&) = delete;

 private:
  MidiOutFactory previous_;
};

// Messages of the synthesizer and the port library, routed to one place. The default writes
// warnings and errors to the standard error stream; the editor sends them to its output pane.
enum class MidiLogLevel { kError, kWarning, kInformation };
using MidiLogSink = std::function<void(MidiLogLevel level, std::string_view text)>;
void SetMidiLogSink(MidiLogSink sink);
void MidiLog(MidiLogLevel level, std::string_view text);

}  // namespace vornel
