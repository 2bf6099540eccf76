# vornel-tool play and ports, with no sound card: a section imported from the MIDI corpus is
# rendered offline into a WAVE file that Python's wave module reads and that is not silent,
# and into the log of the recording output; a bad command line is refused.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
find_program(PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

execute_process(COMMAND "${TOOL}" ports RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^Built-in synthesizer\n")
  message(FATAL_ERROR "ports: ${rc} ${out}")
endif()

execute_process(COMMAND "${TOOL}" midi-import "${CORPUS_DIR}/midi/test-c-major-scale.mid" "${WORK_DIR}/scale.btxml"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "midi-import: ${err}")
endif()

if(NOT EXISTS "/usr/share/sounds/sf2/TimGM6mb.sf2" AND NOT EXISTS "/usr/share/sounds/sf2/default-GM.sf2")
  message(WARNING "no General MIDI SoundFont: the WAVE rendering is not checked")
else()
  execute_process(COMMAND "${TOOL}" play "${WORK_DIR}/scale.btxml" --metronome --wav "${WORK_DIR}/scale.wav"
                  RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "play --wav: ${rc} ${err}")
  endif()
  set(check [=[
import sys, wave, array
w = wave.open(sys.argv[1])
assert w.getnchannels() == 2 and w.getsampwidth() == 2 and w.getframerate() == 44100, w.getparams()
frames = w.getnframes()
samples = array.array('h', w.readframes(frames))
peak = max(abs(s) for s in samples)
seconds = frames / 44100
print(f"{seconds:.2f} s, peak {peak}")
assert seconds > 3, seconds
assert peak > 500, peak
]=])
  execute_process(COMMAND "${PYTHON}" -c "${check}" "${WORK_DIR}/scale.wav" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the rendered file: ${out} ${err}")
  endif()
endif()

execute_process(COMMAND "${TOOL}" play "${WORK_DIR}/scale.btxml" --mode 1 --log "${WORK_DIR}/scale.log"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
file(STRINGS "${WORK_DIR}/scale.log" lines REGEX " 90 [0-9A-F][0-9A-F] [0-9A-F][0-9A-F]$")
list(LENGTH lines notes)
if(NOT rc EQUAL 0 OR NOT notes EQUAL 8)
  message(FATAL_ERROR "play --log: ${rc} ${err}, ${notes} notes")
endif()

foreach(bad "--mode;4" "--section;0" "--wav;a.wav;--log;b.log")
  execute_process(COMMAND "${TOOL}" play "${WORK_DIR}/scale.btxml" ${bad} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "play ${bad}: ${rc} ${err}")
  endif()
endforeach()
