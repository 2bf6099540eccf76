#pragma once
// Running one measured step in a child process, so that it pays for the memory it touches:
// the benchmark process itself never holds a document, and each child starts from its small,
// clean heap. The child reports the processor time of the step (user and system, so page
// faults count), its wall time and the resident memory the step added at its peak.

#include <malloc.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "PeakMemory.h"

namespace vornel::bench {

struct StepCost {
  double cpuSeconds = 0;
  double wallSeconds = 0;
  double addedMB = 0;  // the resident size at its peak, less what was resident before the step
  bool ok = false;
};

inline double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs `step` in a child; `ok` is what the step returned.
inline StepCost InChild(const std::function<bool()>& step) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    ResetPeak();  // the high-water mark starts from now
    StepCost cost;
    const double base = ResidentMB("VmRSS:");
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wall = Seconds(CLOCK_MONOTONIC);
    cost.ok = step();
    cost.cpuSeconds = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    cost.wallSeconds = Seconds(CLOCK_MONOTONIC) - wall;
    cost.addedMB = ResidentMB("VmHWM:") - base;
    const ssize_t written = write(channel[1], &cost, sizeof cost);
    _exit(written == static_cast<ssize_t>(sizeof cost) ? 0 : 1);
  }
  close(channel[1]);
  StepCost cost;
  if (child < 0 || read(channel[0], &cost, sizeof cost) != static_cast<ssize_t>(sizeof cost)) cost = {};
  close(channel[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return cost;
}

}  // namespace vornel::bench
