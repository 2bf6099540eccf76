#pragma once
// A clipboard in memory for tests: formats and their bytes, and whether it may be opened.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "image/bitmap/PLClipboard.h"

namespace vornel::testing {

class ScriptedClipboard : public PLClipboard {
 public:
  bool openable = true;
  std::map<int, std::vector<uint8_t>> data;
  int opened = 0;

  bool Open() override {
    if (openable) ++opened;
    return openable;
  }
  void Close() override { --opened; }
  void Empty() override { data.clear(); }
  bool IsFormatAvailable(int format) const override { return data.contains(format); }
  std::optional<std::vector<uint8_t>> GetData(int format) override {
    if (!data.contains(format)) return std::nullopt;
    return data[format];
  }
  bool SetData(int format, std::vector<uint8_t> bytes) override {
    data[format] = std::move(bytes);
    return true;
  }
};

}  // namespace vornel::testing
