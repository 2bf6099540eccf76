#include <gtest/gtest.h>

#include "midi/GeneralMidiNames.h"
#include "model/instrument/InstrumentTemplateTable.h"

namespace vornel {
namespace {

// The built-in instrument templates name their program as the patch chooser lists it.
TEST(TemplatePrograms, EveryRecordNamesItsProgramAsTheChooserLists) {
  for (size_t set = 0; set < kTemplateSetCount; ++set) {
    for (const InstrumentTemplateRecord& record : InstrumentTemplateSet(set)) {
      EXPECT_EQ(record.programName, GMProgramName(record.program - 1)) << record.name;
    }
  }
}

}  // namespace
}  // namespace vornel
