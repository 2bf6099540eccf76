#include "midi/play/MidiOutStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <pthread.h>
#include <sched.h>

#include "midi/MidiStreamEvents.h"
#include "midi/strMidiNote.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"
#include "platform/io/ByteOrder.h"

namespace vornel {

namespace {

constexpr uint32_t kCallbackBit = 0x40000000;
constexpr uint32_t kTypeShortMessage = 0;
constexpr uint32_t kTypeTempo = 1;
// Room kept in the report ring: position words leave two places, for the end of this play and
// the start of the next; the end leaves one.
constexpr size_t kKeepForPositions = 2;
constexpr size_t kKeepForClosed = 1;
// After the last event the notes ring out this long before a live output closes.
constexpr int64_t kLiveTailNs = 750'000'000;
constexpr uint8_t kAllNotesOff = 123;

uint32_t MicrosecondsPerBeat(int bpm) {
  int b = bpm & 0xFFFF;
  if (b < MidiOutStream::kMinTempo) b = MidiOutStream::kMinTempo;
  return 60'000'000u / static_cast<uint32_t>(b);
}

// Program change and channel pressure carry one data byte, the other channel messages two.
size_t MessageSize(uint8_t status) { return (status & 0xE0) == 0xC0 ? 2 : 3; }

}  // namespace

std::vector<MidiStreamEvent> ReadStreamEvents(const std::vector<uint8_t>& stream) {
  std::vector<MidiStreamEvent> events(stream.size() / kMidiStreamEventBytes);
  for (size_t i = 0; i < events.size(); ++i) {
    events[i].delta = ReadLE32(stream.data() + i * kMidiStreamEventBytes);
    events[i].word = ReadLE32(stream.data() + i * kMidiStreamEventBytes + 8);
  }
  return events;
}

int MidiOutStream::ControllerOfCommand(int command) {
  switch (command) {
    case 33965: return 7;   // "Volume"
    case 33966: return 11;  // "Expression"
    case 33968: return 74;  // "Sustain"
    case 33969: return 10;  // "Pan"
    case 33972: return 84;  // "Portamento"
    case 33973: return 91;  // "Reverb"
    case 33974: return 93;  // "Chorus"
    case kCelesteCommand: return 94;
    case 33978: return 1;   // "Vibrato"
    default: return -1;
  }
}

MidiOutStream::MidiOutStream(MidiPlayerOwner* owner, MidiOutFactory factory, PlayerClock* manualClock)
    : owner_(owner),
      factory_(std::move(factory)),
      clock_(manualClock != nullptr ? manualClock : &steady_),
      threaded_(manualClock == nullptr) {}

MidiOutStream::~MidiOutStream() {
  DetachOwner();
  Stop();
  JoinThread();
}

void MidiOutStream::DetachOwner() {
  std::lock_guard lock(mutex_);
  owner_ = nullptr;
}

bool MidiOutStream::Play(CSystemArray& section, int mode) {
  MidiPlayOptions options;
  options.mode = mode;
  return Play(section, options);
}

bool MidiOutStream::Play(CSystemArray& section, const MidiPlayOptions& options) {
  Stop();
  JoinThread();
  // Before anything opens: a section without its active system or line cannot play.
  (void)section.ActiveLine();
  return PlayProgram(BuildPlayProgram(section, options));
}

bool MidiOutStream::PlayProgram(const MidiPlayProgram& program) {
  Stop();
  JoinThread();
  std::vector<MidiStreamEvent> events = ReadStreamEvents(program.stream);
  if (events.empty()) return false;
  positions_ = program.positions;
  const MidiOutFactory& factory = factory_ ? factory_ : DefaultMidiOutFactory();
  std::unique_ptr<MidiOut> out = factory ? factory() : nullptr;
  if (out == nullptr) {
    ShowError("No MIDI output is available.");
    return false;
  }
  if (!out->Open()) {
    ShowError(out->Error());
    return false;
  }
  {
    Lock lock(mutex_);
    out_ = std::move(out);
    events_ = std::move(events);
    index_ = 0;
    nextTick_ = events_[0].delta;
    usedChannels_ = 0;
    paused_ = false;
    stopRequested_ = false;
    for (const MidiShortMessage& m : program.setup) {
      if (!SendLocked(m.bytes.data(), m.size)) {
        const std::string text = out_->Error();
        out_->Close();
        out_.reset();
        lock.unlock();
        ShowError(text);
        return false;
      }
    }
    const int64_t now = clock_->Now();
    startTime_ = baseTime_ = now;
    baseTick_ = 0;
    division_ = timeDivision > 0 ? timeDivision : kDefaultTimeDivision;
    nsPerTick_ = MicrosecondsPerBeat(tempo) * 1000.0 / division_;
    ending_ = false;
    started_ = true;
    Report(kReportStarted, 0);
  }
  if (threaded_) {
    try {
      thread_ = std::thread(&MidiOutStream::ThreadMain, this);
    } catch (const std::exception& e) {
      Lock lock(mutex_);
      FinishLocked(false);
      lock.unlock();
      ShowError(e.what());
      return false;
    }
  }
  return true;
}

bool MidiOutStream::Stop() {
  {
    Lock lock(mutex_);
    if (!started_ || stopRequested_) {
      const bool joinable = !stopRequested_;
      lock.unlock();
      if (joinable) JoinThread();
      return false;
    }
    if (!threaded_) {
      FinishLocked(false);
      return true;
    }
    stopRequested_ = true;
  }
  wake_.notify_all();
  JoinThread();
  return true;
}

void MidiOutStream::JoinThread() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
  std::lock_guard lock(mutex_);
  stopRequested_ = false;
}

bool MidiOutStream::Pause() {
  {
    Lock lock(mutex_);
    if (!started_ || paused_ || ending_) return false;
    paused_ = true;
    pausedAt_ = clock_->Now();
    SilenceLocked();
  }
  wake_.notify_all();
  return true;
}

bool MidiOutStream::Resume() {
  {
    Lock lock(mutex_);
    if (!started_ || !paused_) return false;
    baseTime_ += clock_->Now() - pausedAt_;
    paused_ = false;
  }
  wake_.notify_all();
  return true;
}

bool MidiOutStream::IsPlaying() const {
  std::lock_guard lock(mutex_);
  return started_;
}

bool MidiOutStream::IsPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

void MidiOutStream::SetTempo(int bpm) {
  {
    Lock lock(mutex_);
    tempo = bpm;
    if (!started_) return;
    SetTempoLocked(MicrosecondsPerBeat(bpm), paused_ ? pausedAt_ : clock_->Now());
  }
  wake_.notify_all();
}

void MidiOutStream::SetTempoLocked(uint32_t microsecondsPerBeat, int64_t now) {
  // The time already played stays where it is; what remains runs at the new speed.
  baseTick_ = TickAtLocked(now);
  baseTime_ = now;
  nsPerTick_ = microsecondsPerBeat * 1000.0 / division_;
}

void MidiOutStream::OnControllerCommand(int channel, int value, int command) {
  const int controller = ControllerOfCommand(command);
  if (controller < 0) return;
  if (command == kCelesteCommand) channel = 0;
  SendController(channel, controller, value);
}

bool MidiOutStream::SendProgramChange(int channel, int program) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(0xC0 | (channel & 0x0F)), static_cast<uint8_t>(program & 0x7F)};
  return SendNow(bytes, 2);
}

bool MidiOutStream::SendController(int channel, int controller, int value) {
  const uint8_t bytes[3] = {static_cast<uint8_t>(0xB0 | (channel & 0x0F)), static_cast<uint8_t>(controller & 0x7F),
                            static_cast<uint8_t>(std::clamp(value, 0, 127))};
  return SendNow(bytes, 3);
}

bool MidiOutStream::SendNow(const uint8_t* bytes, size_t size) {
  Lock lock(mutex_);
  if (!started_ || out_ == nullptr) return false;
  if (SendLocked(bytes, size)) return true;
  // As a failure during the play: the output closes and its text is shown, here at once.
  const std::string text = out_->Error();
  FinishLocked(false);
  lock.unlock();
  wake_.notify_all();
  ShowError(text);
  return false;
}

bool MidiOutStream::Pump() {
  std::lock_guard lock(mutex_);
  if (!started_) return false;
  PumpLocked(clock_->Now());
  if (started_ && ending_) FinishLocked(false);
  return started_;
}

std::optional<int64_t> MidiOutStream::NextDueTime() const {
  std::lock_guard lock(mutex_);
  if (!started_ || paused_ || index_ >= events_.size()) return std::nullopt;
  return DueLocked(nextTick_);
}

int64_t MidiOutStream::StartTime() const {
  std::lock_guard lock(mutex_);
  return startTime_;
}

void MidiOutStream::ThreadMain() {
  // Wake-ups on time matter more than throughput here: a real-time priority where the system
  // grants one (the thread sleeps between events), the normal one otherwise.
  sched_param priority{};
  priority.sched_priority = std::max(1, sched_get_priority_min(SCHED_FIFO) + 10);
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
  Lock lock(mutex_);
  while (started_ && !stopRequested_) {
    if (paused_) {
      wake_.wait(lock);
      continue;
    }
    const int64_t due = ending_ ? endAt_ : DueLocked(nextTick_);
    const int64_t now = clock_->Now();
    if (due > now) {
      wake_.wait_until(lock, SteadyPlayerClock::TimePoint(due));
      continue;
    }
    if (ending_) break;
    PumpLocked(now);
    if (ending_) endAt_ = now + kLiveTailNs;
  }
  if (started_) FinishLocked(false);
}

bool MidiOutStream::SendLocked(const uint8_t* bytes, size_t size) {
  if (!out_->Send(bytes, size)) return false;
  if (bytes[0] >= 0x80 && bytes[0] < 0xF0) usedChannels_ = static_cast<uint16_t>(usedChannels_ | 1u << (bytes[0] & 0x0F));
  return true;
}

int64_t MidiOutStream::DueLocked(double tick) const {
  return baseTime_ + static_cast<int64_t>(std::llround((tick - baseTick_) * nsPerTick_));
}

double MidiOutStream::TickAtLocked(int64_t now) const {
  return baseTick_ + static_cast<double>(now - baseTime_) / nsPerTick_;
}

void MidiOutStream::PumpLocked(int64_t now) {
  while (started_ && !paused_ && !ending_ && index_ < events_.size()) {
    if (DueLocked(nextTick_) > now) return;
    const uint32_t word = events_[index_].word;
    const double tick = nextTick_;
    ++index_;
    if (index_ < events_.size()) nextTick_ += events_[index_].delta;
    DispatchLocked(word, tick);
  }
  if (started_ && !ending_ && index_ >= events_.size()) {
    // The notes are released now; the output closes when they have rung out.
    SilenceLocked();
    ending_ = true;
  }
}

void MidiOutStream::DispatchLocked(uint32_t word, double tick) {
  const uint32_t type = (word >> 24) & 0x3F;
  if (type == kTypeShortMessage) {
    const uint8_t status = static_cast<uint8_t>(word & 0xFF);
    if (status >= 0x80 && status < 0xF0) {
      const uint8_t bytes[3] = {status, static_cast<uint8_t>((word >> 8) & 0x7F), static_cast<uint8_t>((word >> 16) & 0x7F)};
      if (!SendLocked(bytes, MessageSize(status))) {
        const std::string& text = out_->Error();
        const size_t n = std::min(text.size(), errorText_.size() - 1);
        std::memcpy(errorText_.data(), text.data(), n);
        errorText_[n] = '\0';
        FinishLocked(true);
        return;
      }
    }
  } else if (type == kTypeTempo) {
    const uint32_t microseconds = word & 0xFFFFFF;
    if (microseconds != 0) SetTempoLocked(microseconds, DueLocked(tick));
  }
  if ((word & kCallbackBit) != 0) Report(word, kKeepForPositions);
}

std::optional<MidiPlayPosition> MidiOutStream::ReportedPosition(uint32_t report) const {
  if ((report & 0xFF000000u) != kMidiStreamPosition) return std::nullopt;
  if (positions_.empty()) return MidiPlayPosition{static_cast<int32_t>((report >> 16) & 0xFF), static_cast<int32_t>(report & 0xFF)};
  const size_t index = report & 0xFFFFFFu;
  if (index >= positions_.size()) return std::nullopt;
  return positions_[index];
}

void MidiOutStream::SilenceLocked() {
  if (out_ == nullptr) return;
  for (uint8_t channel = 0; channel < 16; ++channel) {
    if ((usedChannels_ & (1u << channel)) == 0) continue;
    const uint8_t bytes[3] = {static_cast<uint8_t>(0xB0 | channel), kAllNotesOff, 0};
    out_->Send(bytes, 3);  // silencing goes on whatever one channel answers
  }
}

void MidiOutStream::FinishLocked(bool failed) {
  if (!ending_ && !failed) SilenceLocked();
  if (out_ != nullptr) out_->Close();
  out_.reset();
  started_ = false;
  paused_ = false;
  ending_ = false;
  if (failed) errorPending_.store(true, std::memory_order_release);
  Report(kReportClosed, kKeepForClosed);
}

void MidiOutStream::Report(uint32_t word, size_t keepFree) {
  if (!reports_.Push(word, keepFree)) {
    if (word != kReportClosed) return;  // a position the window had no room for
    closedLost_.store(true, std::memory_order_release);
  }
  if (owner_ != nullptr && !wakePosted_.exchange(true)) owner_->ReportsPending();
}

void MidiOutStream::DrainReports(const std::function<void(uint32_t report)>& deliver) {
  wakePosted_.store(false);
  const auto closed = [&] {
    if (errorPending_.exchange(false)) ShowError(errorText_.data());
    deliver(kReportClosed);
  };
  uint32_t word = 0;
  while (reports_.Pop(word)) {
    if (word == kReportClosed) {
      closed();
    } else {
      deliver(word);
    }
  }
  if (closedLost_.exchange(false)) closed();
}

void MidiOutStream::ShowError(std::string_view text) {
  Prompts().ShowMessage(text, MessageKind::kError, kErrorCaption);
}

MidiOutStream& SharedPreviewPlayer() {
  static MidiOutStream player;
  return player;
}

bool PlayMidiPreview(int tempo, int program, const strMidiBuffer& notes) {
  MidiOutStream& player = SharedPreviewPlayer();
  player.Stop();
  strMidiBuffer records = notes;
  records.Sort();
  records.AddNoteOffs();
  MidiPlayProgram preview;
  preview.setup.push_back(MidiMessage(0xC0, static_cast<uint8_t>(program & 0x7F)));
  preview.stream = WriteStreamEvents(records);
  player.tempo = tempo;
  player.timeDivision = MidiOutStream::kDefaultTimeDivision;
  return player.PlayProgram(preview);
}

}  // namespace vornel
