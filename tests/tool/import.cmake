# vornel-tool import: the importer is picked by the file; a file that no importer takes, a
# missing file and a wrong command line fail without writing the output.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(expect_failure label rc_expected err_expected)
  execute_process(COMMAND "${TOOL}" ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL rc_expected OR NOT out STREQUAL "" OR NOT err MATCHES "${err_expected}")
    message(FATAL_ERROR "${label}: rc=${rc} out='${out}' err='${err}'")
  endif()
  if(EXISTS "${WORK_DIR}/out.btxml")
    message(FATAL_ERROR "${label}: the output was written")
  endif()
endfunction()

file(WRITE "${WORK_DIR}/notes.txt" "neither music nor a score\n")
expect_failure("unknown kind" 1 "notes.txt: no importer reads this file\n$" import "${WORK_DIR}/notes.txt"
               "${WORK_DIR}/out.btxml")
expect_failure("missing file" 1 "missing.bin: no importer reads this file\n$" import "${WORK_DIR}/missing.bin"
               "${WORK_DIR}/out.btxml")
expect_failure("one file" 2 "^usage: vornel-tool import " import "${WORK_DIR}/notes.txt")

# A MusicXML score of two parts: into a new document (whose own first section goes) and into
# an existing one (after its sections).
set(score "${WORK_DIR}/duo.musicxml")
file(WRITE "${score}" [=[<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE score-partwise PUBLIC "-//Recordare//DTD MusicXML 2.0 Partwise//EN" "http://www.musicxml.org/dtds/partwise.dtd">
<score-partwise version="2.0">
  <movement-title>Duo</movement-title>
  <part-list>
    <score-part id="P1"><part-name>Guitar</part-name>
      <score-instrument id="P1-I1"><instrument-name>Guitar</instrument-name></score-instrument>
      <midi-instrument id="P1-I1"><midi-program>25</midi-program></midi-instrument></score-part>
    <score-part id="P2"><part-name>Flute</part-name></score-part>
  </part-list>
  <part id="P1"><measure number="1"><attributes><staff-details><staff-lines>4</staff-lines>
    <staff-tuning line="1"><tuning-step>E</tuning-step><tuning-octave>2</tuning-octave></staff-tuning>
    <staff-tuning line="2"><tuning-step>A</tuning-step><tuning-octave>2</tuning-octave></staff-tuning>
    <staff-tuning line="3"><tuning-step>D</tuning-step><tuning-octave>3</tuning-octave></staff-tuning>
    <staff-tuning line="4"><tuning-step>G</tuning-step><tuning-octave>3</tuning-octave></staff-tuning>
    </staff-details></attributes>
    <note><pitch><step>E</step><octave>2</octave></pitch><duration>1</duration><voice>1</voice></note>
    <note><pitch><step>B</step><octave>3</octave></pitch><duration>1</duration><voice>2</voice></note></measure></part>
  <part id="P2"><measure number="1"><note><rest/><duration>1</duration><voice>1</voice></note></measure></part>
</score-partwise>
]=])
set(listing [=[
  instrument 1 "Guitar" program 24 courses 4: 55 50 45 40
    voice 1: 2 chords, 2 notes, 0 rests, 0 bars
    voice 2: 0 chords, 0 notes, 0 rests, 0 bars
  instrument 2 "Flute" program 0 courses 7: 67 62 57 53 48 43 41
    voice 1: 0 chords, 0 notes, 1 rests, 0 bars
    voice 2: 0 chords, 0 notes, 0 rests, 0 bars
]=])
execute_process(COMMAND "${TOOL}" import "${score}" "${WORK_DIR}/duo.btxml" OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "section 1 \"Duo\": 1 systems\n${listing}" OR NOT err STREQUAL "")
  message(FATAL_ERROR "import into a new document: rc=${rc} err='${err}' out=\n${out}")
endif()
execute_process(COMMAND "${TOOL}" import "${score}" "${WORK_DIR}/trio.btz" --into "${WORK_DIR}/duo.btxml"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "section 2 \"Duo\": 1 systems\n${listing}" OR NOT EXISTS "${WORK_DIR}/trio.btz")
  message(FATAL_ERROR "import into a document: rc=${rc} err='${err}' out=\n${out}")
endif()
execute_process(COMMAND "${TOOL}" dump "${WORK_DIR}/trio.btz" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
string(REGEX MATCHALL "\n    section [0-9]+\n" sections "${out}")
list(LENGTH sections count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 2)
  message(FATAL_ERROR "the saved document holds ${count} sections")
endif()

# A score that cannot be read, and a document to append to that cannot be opened.
file(WRITE "${WORK_DIR}/broken.xml" "<score-partwise>")
expect_failure("broken score" 1 "Sorry, I am unable to read this file\n.*/broken.xml:\n.+ on line 1\n$" import "${WORK_DIR}/broken.xml"
               "${WORK_DIR}/out.btxml")
expect_failure("missing document" 1 "." import "${score}" "${WORK_DIR}/out.btxml" --into "${WORK_DIR}/none.btxml")

# The flat tag list, whole and by part and voice position.
execute_process(COMMAND "${TOOL}" mx2tags "${score}" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
set(expected [=[\tuning 0
\staff_lines 4
capo 0
strings_tuning 40 45 50 55
endgroup \tuning
staff 1 1 2 0 0
note 28 e 2 "" 260 0 1 4 0
note 0 empty 3 "" 260 0 1 4 0
endstaff staff
staff 1 1 2 1 0
note 0 empty 3 "" 260 0 1 4 0
note 47 b 3 "" 260 0 1 4 0
endstaff staff
staff 2 1 1 0 1
note -1 _ 0 "" 260 0 1 4 0
endstaff staff
endgroup Score
]=])
if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "mx2tags: rc=${rc} out=\n${out}")
endif()
execute_process(COMMAND "${TOOL}" mx2tags "${score}" --part 0 --voice 1 OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "staff 1 1 2 1 0\nnote 0 empty 3 \"\" 260 0 1 4 0\nnote 47 b 3 \"\" 260 0 1 4 0\nendstaff staff\n")
  message(FATAL_ERROR "mx2tags --part 0 --voice 1: rc=${rc} out=\n${out}")
endif()
expect_failure("mx2tags of a broken score" 1 "Sorry, I am unable to read this file\n.*/broken.xml:\n.+ on line 1\n$" mx2tags "${WORK_DIR}/broken.xml")

# The converters' warnings: on the standard error stream with --warnings, else nowhere.
file(WRITE "${WORK_DIR}/warned.xml" [=[<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE score-partwise PUBLIC "-//Recordare//DTD MusicXML 2.0 Partwise//EN" "http://www.musicxml.org/dtds/partwise.dtd">
<score-partwise version="2.0"><part-list><score-part id="P1"><part-name>Lute</part-name></score-part></part-list>
  <part id="P1"><measure number="1"><attributes><divisions>0</divisions><clef><sign>Q</sign></clef></attributes>
    <note><pitch><step>C</step><octave>4</octave></pitch><duration>1</duration><voice>1</voice></note></measure></part>
</score-partwise>
]=])
set(warnings "warning: divisions of 0 left out, keeping 1\nwarning: unknown clef sign \"Q\"\n")
foreach(command mx2tags import)
  set(args "${WORK_DIR}/warned.xml")
  if(command STREQUAL "import")
    list(APPEND args "${WORK_DIR}/warned.btxml")
  endif()
  execute_process(COMMAND "${TOOL}" ${command} ${args} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "${command} without --warnings: rc=${rc} err='${err}'")
  endif()
  execute_process(COMMAND "${TOOL}" ${command} ${args} --warnings OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "${warnings}")
    message(FATAL_ERROR "${command} --warnings: rc=${rc} err='${err}'")
  endif()
endforeach()
