#pragma once
// Progress of a long run over files (reindexing, building a group, batch conversions, folder
// imports): the window layer shows a bar, a status line and a Cancel button; tools and tests
// record it.

#include <string>

namespace vornel {

class BatchProgress {
 public:
  virtual ~BatchProgress() = default;
  virtual void Start(int total, const std::string& title) = 0;
  // Before file `number` (counted from 1). False when the user cancelled: the run stops
  // between files.
  virtual bool Step(int number, const std::string& status) = 0;
  virtual void Finish() = 0;
};

// Shows nothing and never cancels.
class SilentProgress : public BatchProgress {
 public:
  void Start(int, const std::string&) override {}
  bool Step(int, const std::string&) override { return true; }
  void Finish() override {}
};

// Finishes the progress however the run ends.
class ProgressRun {
 public:
  ProgressRun(BatchProgress& progress, int total, const std::string& title) : progress_(progress) {
    progress_.Start(total, title);
  }
  ~ProgressRun() { progress_.Finish(); }
  ProgressRun(const ProgressRun&) = delete;
  ProgressRun& operator=(const ProgressRun&) = delete;
  bool Step(int number, const std::string& status) { return progress_.Step(number, status); }

 private:
  BatchProgress& progress_;
};

}  // namespace vornel
