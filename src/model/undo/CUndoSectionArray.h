#pragma once
// A section list used as an undo, redo or copy stack: the newest entry first, at most `limit`
// entries kept. Entries are deep copies of sections made through their binary record, so a
// copy shares nothing with the section it was taken from. The list's strings name the entries,
// one each (what made the snapshot; empty when nothing said).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/score/CSectionArray.h"

namespace vornel {

// State of the document outside a section that an undo entry keeps with its section copy (the
// document settings a command changed). Undo and redo exchange it with the live state, so the
// same object then serves the entry that brings the change back.
class SnapshotExtra {
 public:
  virtual ~SnapshotExtra() = default;
  virtual void Exchange() = 0;
};

// A separate copy of `section`, written through its binary record in the current form and
// read back.
std::unique_ptr<CSystemArray> CopySection(const CSystemArray& section);

// An entry holding copies of systems [first, first + count) of `section` alone (see
// SystemsSnapshot), each as CopySection would copy it, bound to the section's definitions.
// The range must lie inside the section.
std::unique_ptr<CSystemArray> CopySystems(CSystemArray& section, size_t first, size_t count);

// Puts the systems `entry` (an entry of CopySystems) holds in place of those of `section` that
// stand there now, and gives those in an entry of the same kind: what brings the section back.
// Null, with nothing changed, when the section no longer has as many systems as the entry was
// taken from.
std::unique_ptr<CSystemArray> ExchangeSystems(CSystemArray& section, CSystemArray& entry);

// True when `section` holds what `entry` holds: the whole section's record, or for an entry of
// CopySystems the records of the systems in its place.
bool HoldsSnapshot(const CSystemArray& section, const CSystemArray& entry);

class CUndoSectionArray : public CSectionArray {
 public:
  explicit CUndoSectionArray(int32_t limitIn = 12) : limit(limitIn) {}

  // The most entries kept; 0 keeps none.
  int32_t limit;
  // Entries put in front and taken from it so far (a check of what an action did reads them).
  uint64_t pushes = 0;
  uint64_t pops = 0;

  // Puts a copy of `section` in front and trims the list to its limit. Returns 1 when a copy
  // was made (with limit 0 it is made and discarded). `state` is what the document calls the
  // state the entry gives back (0 when it keeps none).
  int SaveSnapshot(const CSystemArray& section, std::string label = {}, uint64_t state = 0);
  // The same with copies of systems [first, first + count) alone (CopySystems): the entry of
  // an edit that changes nothing of the section outside them.
  int SaveSystemsSnapshot(CSystemArray& section, size_t first, size_t count, std::string label = {},
                          uint64_t state = 0);
  // Puts `section` in front and trims the list to its limit (with limit 0 it is dropped).
  void PushFront(std::unique_ptr<CSystemArray> section, std::string label = {}, uint64_t state = 0);
  // Takes entry 0 out, and its name into `label` and its state into `state` when given; null
  // when the list is empty.
  std::unique_ptr<CSystemArray> PopFront(std::string* label = nullptr, uint64_t* state = nullptr);
  // Deletes entries from the end until at most `limit` remain.
  void Trim();
  // Deletes every entry and its name.
  void clear();
  // The name of entry `index`; empty when it has none.
  const std::string& Label(size_t index) const;

 private:
  std::vector<uint64_t> states_;  // one per entry, as `strings` holds the names
};

}  // namespace vornel
