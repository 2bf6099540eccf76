#pragma once
// The player: plays a section (one voice, one instrument line or every line) through a MIDI
// output and reports its progress to its owner, so that the view can follow the music.
//
// Play sends the channel set-up at once, then the stream's events, each at its due time, on a
// thread of its own that sleeps until each due time on the steady clock (stop, pause and
// tempo changes wake it). The thread allocates nothing per event: the events are read into an
// array before it starts, reports go into a fixed ring, and the owner is asked once per burst
// to drain the ring on its own thread. Tests and the offline renderer give the player a manual
// clock instead, and pump it after moving the clock.
//
// Reports: kReportStarted once per play, then the event word of every event that carries the
// stream's callback bit (notes of the reported line, bar positions), then kReportClosed last.
// A failure of the output shows the output's text in a "MIDI ERROR" box.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "midi/MidiSection.h"
#include "midi/play/MidiOut.h"
#include "midi/play/PlayReports.h"
#include "midi/play/PlayerClock.h"

namespace vornel {

class CSystemArray;
class strMidiBuffer;

// The player's owner: told, on the player's thread, that reports wait; it then calls
// DrainReports on its own thread (a window posts itself one call).
class MidiPlayerOwner {
 public:
  virtual ~MidiPlayerOwner() = default;
  virtual void ReportsPending() = 0;
};

// One stream event: delta ticks and the event word.
struct MidiStreamEvent {
  uint32_t delta = 0;
  uint32_t word = 0;
};
// The 12-byte events of a stream (whole events only).
std::vector<MidiStreamEvent> ReadStreamEvents(const std::vector<uint8_t>& stream);

class MidiOutStream {
 public:
  static constexpr uint32_t kReportStarted = 1344;
  static constexpr uint32_t kReportClosed = 1343;
  static constexpr std::string_view kErrorCaption = "MIDI ERROR";
  static constexpr int kDefaultTimeDivision = 192;
  // The slowest tempo played: 60,000,000 / 4 still fits a tempo word.
  static constexpr int kMinTempo = 4;

  // Menu commands of the "MIDI" menu that send a control change while playing.
  static constexpr int kFirstControllerCommand = 33965;
  static constexpr int kLastControllerCommand = 33978;
  static constexpr int kCelesteCommand = 33975;
  // The control change a menu command stands for; -1 for the commands that send nothing.
  static int ControllerOfCommand(int command);

  // `owner` may be null (no reports are asked for). Without `factory` the default output is
  // used. With a `manualClock` no thread runs: the caller moves the clock and calls Pump.
  explicit MidiOutStream(MidiPlayerOwner* owner = nullptr, MidiOutFactory factory = {},
                         PlayerClock* manualClock = nullptr);
  ~MidiOutStream();
  MidiOutStream(const MidiOutStream&) = delete;
  MidiOutStream& operator=(const MidiOutStream&) = delete;

  // Beats per minute (low 16 bits; below 4 counts as 4) and ticks per beat of the next play.
  int tempo = 120;
  int timeDivision = kDefaultTimeDivision;

  // Plays the section from the view's state (mode 1 the current voice, 2 the active line, 3
  // and above every line). The active system and line are looked up before anything opens
  // (std::out_of_range when missing). False when there is nothing to play (nothing is sent)
  // or the output failed (its text has been shown); a play in progress is stopped first.
  bool Play(CSystemArray& section, int mode);
  bool Play(CSystemArray& section, const MidiPlayOptions& options);
  // Plays a prepared program.
  bool PlayProgram(const MidiPlayProgram& program);
  // Stops: notes off on every channel used, the output closed, kReportClosed. False when
  // nothing plays.
  bool Stop();
  // Pause silences the channels used and holds the time; Resume shifts everything that
  // follows by the length of the pause. False when there is nothing to pause or resume.
  bool Pause();
  bool Resume();
  bool IsPlaying() const;
  bool IsPaused() const;

  // 60,000,000 / bpm microseconds per beat, at once when playing.
  void SetTempo(int bpm);
  // While playing: the control change of a "MIDI" menu command ("Celeste" on channel 0).
  void OnControllerCommand(int channel, int value, int command);
  // While playing: a program change, a control change. A failure shows the "MIDI ERROR" box.
  bool SendProgramChange(int channel, int program);
  bool SendController(int channel, int controller, int value);

  // Manual clock: sends everything due by the clock's time (ending the play after the last
  // event); false once nothing plays.
  bool Pump();
  // The clock time of the next event, or nothing when nothing plays or the play is paused.
  std::optional<int64_t> NextDueTime() const;
  // The clock time the play started at (the set-up was sent then).
  int64_t StartTime() const;

  // The system and bar of a reported bar position of the last play (its program's list, or
  // the word's own low bytes when the program listed none); nothing for another report.
  // Called on the thread that starts the plays.
  std::optional<MidiPlayPosition> ReportedPosition(uint32_t report) const;

  // Hands the waiting reports to `deliver` in order, on the caller's thread; a failure of the
  // player's thread is shown in the "MIDI ERROR" box before kReportClosed.
  void DrainReports(const std::function<void(uint32_t report)>& deliver);
  // No more ReportsPending calls; the owner calls it before it goes.
  void DetachOwner();

 private:
  using Lock = std::unique_lock<std::mutex>;
  void ThreadMain();
  void JoinThread();
  bool SendLocked(const uint8_t* bytes, size_t size);
  // A message from the window's thread while playing.
  bool SendNow(const uint8_t* bytes, size_t size);
  void PumpLocked(int64_t now);
  void DispatchLocked(uint32_t word, double tick);
  // Notes off on the channels used, the output closed, the end reported; `error` first.
  void FinishLocked(bool failed);
  void SilenceLocked();
  int64_t DueLocked(double tick) const;
  double TickAtLocked(int64_t now) const;
  void SetTempoLocked(uint32_t microsecondsPerBeat, int64_t now);
  void Report(uint32_t word, size_t keepFree);
  static void ShowError(std::string_view text);

  MidiPlayerOwner* owner_;
  MidiOutFactory factory_;
  SteadyPlayerClock steady_;
  PlayerClock* clock_;
  bool threaded_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
  std::unique_ptr<MidiOut> out_;
  std::vector<MidiStreamEvent> events_;
  std::vector<MidiPlayPosition> positions_;  // of the last play; its thread never reads them
  size_t index_ = 0;       // next event to send
  double nextTick_ = 0;    // its tick
  bool started_ = false;
  bool paused_ = false;
  bool ending_ = false;    // every event sent; the notes ring out until endAt_
  int64_t endAt_ = 0;
  int division_ = kDefaultTimeDivision;
  bool stopRequested_ = false;
  int64_t pausedAt_ = 0;
  int64_t startTime_ = 0;
  // Due time = baseTime_ + (tick - baseTick_) * nsPerTick_.
  int64_t baseTime_ = 0;
  double baseTick_ = 0;
  double nsPerTick_ = 0;
  uint16_t usedChannels_ = 0;

  PlayReportRing reports_;
  std::atomic<bool> wakePosted_{false};
  std::atomic<bool> closedLost_{false};
  std::atomic<bool> errorPending_{false};
  std::array<char, 512> errorText_{};
};

// Plays the caller's notes (absolute times, note-ons with durations, as the event builder
// makes them) on a player shared by every caller and created on first use, with the program
// on channel 0 at the tempo; any play of that player is stopped first.
bool PlayMidiPreview(int tempo, int program, const strMidiBuffer& notes);
MidiOutStream& SharedPreviewPlayer();

}  // namespace vornel
