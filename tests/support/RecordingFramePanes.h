#pragma once
// The main frame's panes for tests of views and documents: installed for its lifetime, it
// logs every call ("status 12 100%", "sections 3 active 1", "tempo 120" ...).

#include <string>
#include <vector>

#include "view/FramePanes.h"

namespace vornel::testing {

class RecordingFramePanes : public view::FramePanes {
 public:
  RecordingFramePanes() : scope_(*this) {}

  void SetStatusText(int slot, std::string_view text) override {
    log.push_back("status " + std::to_string(slot) + " " + std::string(text));
  }
  void RefreshProperties() override { log.push_back("properties"); }
  void ShowSections(const std::vector<std::string>& lines, int active) override {
    log.push_back("sections " + std::to_string(lines.size()) + " active " + std::to_string(active));
  }
  void ShowFacsimiles(const std::vector<std::string>& names) override {
    log.push_back("facsimiles " + std::to_string(names.size()));
  }
  void TempoChanged(int beatsPerMinute) override { log.push_back("tempo " + std::to_string(beatsPerMinute)); }
  void RequestLayoutReset() override { log.push_back("layout"); }
  void AddToMidiPlaylist(const std::string& path) override { log.push_back("playlist " + path); }
  void EnableMainWindow(bool enable) override { log.push_back(enable ? "frame enabled" : "frame disabled"); }
  bool DispatchCommand(int id) override {
    log.push_back("command " + std::to_string(id));
    return true;
  }

  std::vector<std::string> log;

 private:
  view::ScopedFramePanes scope_;
};

}  // namespace vornel::testing
