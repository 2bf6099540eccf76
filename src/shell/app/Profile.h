#pragma once
// The application's profile: integers and texts under a section and a key, kept between runs.
// The editor keeps it in an INI file of the XDG config folder; tests and tools use the memory
// profile, which also logs every write so that the order of writes can be checked.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vornel {

// The sections of the profile.
inline constexpr std::string_view kSessionProfile = "SessionProfile";
inline constexpr std::string_view kRecentFileSection = "Recent File List";
// The window layout (panes, tabs, looks) saved by the main frame.
inline constexpr std::string_view kWorkspaceSection = "Workspace";

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual std::optional<std::string> ReadText(std::string_view section, std::string_view key) const = 0;
  virtual void WriteText(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual void Remove(std::string_view section, std::string_view key) = 0;
  // Writes what was changed to the backing store; false when that failed.
  virtual bool Flush() { return true; }

  std::string GetText(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
  // A stored text that is not a whole number gives the fallback.
  int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback) const;
  void WriteInt(std::string_view section, std::string_view key, int32_t value);
};

// A profile in memory. `writes` lists "section/key=value" of every write, in order.
class MemoryProfile : public ProfileStore {
 public:
  std::optional<std::string> ReadText(std::string_view section, std::string_view key) const override;
  void WriteText(std::string_view section, std::string_view key, std::string_view value) override;
  void Remove(std::string_view section, std::string_view key) override;

  std::vector<std::string> writes;

 private:
  std::map<std::pair<std::string, std::string>, std::string, std::less<>> values_;
};

}  // namespace vornel
