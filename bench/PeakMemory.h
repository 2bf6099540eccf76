#pragma once
// The resident size of the benchmark's own process, and a fresh high-water mark before a case,
// for benchmarks that report the memory a case needs.

#include <malloc.h>

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

}  // namespace vornel::bench
