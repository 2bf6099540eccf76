// tuning TEXT: reads a tuning text as the tuning dialogs do and prints each course's note,
// MIDI pitch and stored pitch byte, then the number of tablature lines (six, or fewer when
// there are fewer courses). "Error processing tuning" goes to the standard error stream.

#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "model/instrument/nTuning.h"

namespace vornel::tool {

namespace {

int Tuning(const CommandArguments& args) {
  if (args.size() != 1) return PrintUsage("tuning");
  nTuning tuning;
  tuning.SetTuning(args[0]);
  for (size_t i = 0; i < tuning.CoursesInUse(); ++i) {
    const CourseRecord& course = tuning.courses[i];
    const int midi = course.pitch + kCoursePitchOffset;
    std::printf("%2zu  %-4s %3d  %3d\n", i + 1, tuning.GetStringLabel(static_cast<int>(i)).c_str(), midi,
                static_cast<int>(course.pitch));
  }
  std::printf("courses %d  lines %d\n", tuning.stringCount, tuning.lines);
  return 0;
}

const ToolCommand registration("tuning", "tuning TEXT",
                               "print the courses of a tuning text (note, MIDI pitch, stored byte) and its lines",
                               Tuning);

}  // namespace

}  // namespace vornel::tool
