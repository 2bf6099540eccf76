# MusicXML files of the corpus whose notes, durations, transpositions, ties, spelling and
# measures were once lost, imported, written as MIDI and exported: each output holds every
# note of the score at its onset, sounding pitch and duration, the export with its spelling
# and measure numbers (scripts/mx_compare.py, a reader of its own, with mido for MIDI).
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
find_program(PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/scripts/mx_compare.py" "${TOOL}" "${CORPUS_DIR}/musicxml"
                        "${WORK_DIR}" 01a-Pitches-Pitches.xml 11b-TimeSignatures-NoTime.xml
                        21e-Chords-PickupMeasures.xml 33k-Tie-Types.xml 41c-StaffGroups.xml
                        42a-MultiVoice-TwoVoicesOnStaff-Lyrics.xml 43h-MultiStaff-Chords.xml
                        45b-RepeatWithAlternatives.xml 46e-PickupMeasure-SecondVoiceStartsLater.xml
                        72a-TransposingInstruments.xml 72b-TransposingInstruments-Full.xml --check
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${out}${err}")
endif()
message(STATUS "${out}")
