#pragma once
// The resident size of the benchmark's own process, and a fresh high-water mark before a case,
// for benchmarks that report the memory a case needs.

#include <malloc.h>
#include <sys/resource.h>

#include <fstream>
#include <string>

namespace vornel::bench {

// A field of /proc/self/status in megabytes ("VmRSS:" now, "VmHWM:" the high-water mark).
inline double ResidentMB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
  }
  return 0;
}

// Starts a new high-water mark of the resident size, from what is in use now.
inline void ResetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// Processor time of the process (user and system) in seconds, which a busy machine stretches
// less than the time on the clock.
inline double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Pages the process has touched for the first time (minor faults) so far: fresh memory costs
// the processor time of one fault per page.
inline long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

}  // namespace vornel::bench
