// Following a play: the player's reports move the cursor bar by bar and note by note and
// turn the pages; pause and tempo; the echo of a typed chord; the view's window timers.

#include <algorithm>

#include "document/CPageDlg.h"
#include "midi/MidiDialogs.h"
#include "midi/MidiSection.h"
#include "midi/play/EchoOutput.h"
#include "midi/play/MidiOutStream.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "view/FramePanes.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"

namespace vornel::view {

namespace {

constexpr uint32_t kPositionBit = 0x2000000;
constexpr uint32_t kTickKind = 3;
constexpr const char* kTempoTitle = "Tempo";
constexpr long kMaxTempo = 500;

}  // namespace

PlayerReport PlayerReportOf(uint32_t word, const MidiOutStream& player) {
  PlayerReport report;
  switch (word) {
    case 1342: report.kind = PlayerReport::Kind::kResumed; return report;
    case MidiOutStream::kReportClosed: report.kind = PlayerReport::Kind::kEnded; return report;
    case MidiOutStream::kReportStarted: report.kind = PlayerReport::Kind::kStarted; return report;
    default: break;
  }
  if ((word & kPositionBit) == 0) {
    report.kind = PlayerReport::Kind::kNoteStep;
    return report;
  }
  if (((word >> 24) & 7) == kTickKind) {
    report.kind = PlayerReport::Kind::kTick;
    return report;
  }
  report.kind = PlayerReport::Kind::kPosition;
  if (const std::optional<MidiPlayPosition> position = player.ReportedPosition(word)) {
    report.system = position->system;
    report.bar = position->bar;
  } else {
    report.system = static_cast<int32_t>((word >> 16) & 0xFF);
    report.bar = static_cast<int32_t>(word & 0xFF);
  }
  return report;
}

bool CBriotabView::OnPlayerNotify(const MidiOutStream* sender, const PlayerReport& report) {
  if (sender == nullptr || sender != player_.get()) return false;
  switch (report.kind) {
    case PlayerReport::Kind::kResumed:
      state_.paused = false;
      break;
    case PlayerReport::Kind::kEnded:
      state_.paused = false;
      state_.playing = false;
      RecreateCaret();
      UpdateCaret();
      break;
    case PlayerReport::Kind::kStarted:
      // A play began (the play commands toggle the player): the echo stops, the cursor follows.
      CloseEcho();
      Window().StopTimer(kEchoTimer);
      state_.playing = true;
      state_.paused = false;
      state_.following = true;
      ComputePlaybackRect();
      RecreateCaret();
      return false;
    case PlayerReport::Kind::kTick:
      if (services_.playTick) services_.playTick();
      break;
    case PlayerReport::Kind::kPosition: {
      const int before = state_.pageIndex;
      state_.pageIndex = GoToSystem(report.system);
      if (CInstrument* line = ActiveLine()) {
        if (CClef* stave = ActiveStave()) {
          stave->cursorColumn = static_cast<int32_t>(
              line->GetSelectedVoice().GetBarLineIndex(static_cast<size_t>(std::max(report.bar, 0))));
        }
      }
      UpdateCaret();
      if (state_.pageIndex != before) ScrollTo({0, 0});
      state_.following = true;
      break;
    }
    case PlayerReport::Kind::kNoteStep:
      if (!state_.following) {
        if (CInstrument* line = ActiveLine(); line != nullptr && line->MoveCursorToNextNote()) UpdateCaret();
      }
      state_.following = false;
      ScrollCursorIntoView();
      break;
  }
  return true;
}

void CBriotabView::ComputePlaybackRect() {
  state_.playbackRect = {};
  CSystemArray* section = ActiveSection();
  if (section == nullptr || section->systems.empty()) return;
  const CStaveArray* system = section->ActiveSystem();
  if (system == nullptr) return;
  Rect r = system->area;
  if (const CClef* stave = ActiveStave()) r.left = stave->area.left;
  r.Normalize();
  state_.playbackRect = r;
}

void CBriotabView::StopPlaying() {
  if (player_ != nullptr && player_->IsPlaying()) player_->Stop();
  state_.playing = false;
  state_.paused = false;
}

void CBriotabView::TogglePause() {
  if (!IsPlaying() || player_ == nullptr) return;
  const bool done = state_.paused ? player_->Resume() : player_->Pause();
  state_.paused = done ? !state_.paused : false;
}

void CBriotabView::ChangeTempo() {
  CSystemArray* section = ActiveSection();
  if (section == nullptr) return;
  const std::optional<long> tempo = Prompts().PromptNumber(kTempoTitle, kTempoTitle, 1, kMaxTempo, section->tempo & 0xFFF);
  if (!tempo || *tempo < 1 || *tempo > kMaxTempo) return;
  // Only the beats per minute change; the flags and the beat unit stay.
  section->tempo = (section->tempo & ~0xFFF) | static_cast<int32_t>(*tempo);
  doc_.SetModifiedFlag(true);
  if (IsPlaying() && player_ != nullptr) player_->SetTempo(static_cast<int>(*tempo));
  Panes().TempoChanged(static_cast<int>(*tempo));
  SetPanes();
}

void CBriotabView::EchoChord(const nChord& chord) {
  if (!state_.echoOnUpdate || services_.echo == nullptr) return;
  CSystemArray* section = ActiveSection();
  CInstrument* line = ActiveLine();
  if (section == nullptr || line == nullptr || line->definition == nullptr) return;
  const CInstrumentDlg& definition = *line->definition;
  std::vector<uint8_t> pitches;
  for (const auto& note : chord.notes) {
    if (note != nullptr && note->pitch != 0) pitches.push_back(note->pitch);
  }
  // The echo sounds where playback sounds the line: percussion on the drum channel.
  const auto channel = static_cast<uint8_t>(PatchChooserChannel(definition));
  services_.echo->Sound(channel, static_cast<uint8_t>(definition.midi.patch), pitches);
  // The timer ends the echo, and tells of an output that could not be opened.
  ReportEchoFailure();
  Window().StartTimer(kEchoTimer, kEchoMs);
}

void CBriotabView::ReportEchoFailure() {
  const std::string failure = services_.echo != nullptr ? services_.echo->TakeFailure() : std::string();
  if (failure.empty()) return;
  // Said once, on one line; typing goes on without the echo.
  std::string line = failure;
  std::replace(line.begin(), line.end(), '\n', ' ');
  Panes().SetStatusText(kMessageSlot, line);
}

void CBriotabView::CloseEcho() {
  if (services_.echo == nullptr) return;
  services_.echo->Silence();
  ReportEchoFailure();
}

void CBriotabView::OnTimer(int id) {
  switch (id) {
    case kPanTimer:
      // The pan's timer runs until the middle button comes up.
      OnPanTimer();
      return;
    case kEchoTimer:
      CloseEcho();
      break;
    case kTipTimer:
      TakeDownTip();
      break;
    case kLayoutTimer:
      // Runs until every page is measured.
      if (!ContinueLayout(kLayoutSystemsPerTick)) return;
      break;
    default:
      break;
  }
  // A one-shot timer: only the one that fired stops.
  Window().StopTimer(id);
}

}  // namespace vornel::view
