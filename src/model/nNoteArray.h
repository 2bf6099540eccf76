#pragma once
// The notes of one chord, owned, in descending pitch order after every read.

#include <memory>
#include <string_view>

#include "model/nNotes.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class nNoteArray : public Persistent, public OwnedArray<nNotes> {
 public:
  static constexpr std::string_view kClassName = "nNoteArray";
  // At most this many notes stand in one chord.
  static constexpr size_t kMaxNotes = 32;

  std::string_view ClassName() const override { return kClassName; }
  // Count, then one object reference per note.
  void Store(ArchiveWriter& ar) const override;
  // Reads the notes, drops empty entries, sorts by descending pitch and keeps at most
  // kMaxNotes (the highest).
  void Load(ArchiveReader& ar) override;

  // Inserts before the first note of lower pitch (after notes of equal pitch); returns the
  // index, or -1 when the chord is full (the note is then dropped).
  int InsertInPitchOrder(std::unique_ptr<nNotes> note);

  void SortDescending();
  void SortAscending();
  // Removes the lowest notes beyond kMaxNotes after a descending sort.
  void LimitToMaxNotes();

  bool operator==(const nNoteArray& other) const;
};

}  // namespace vornel
