# vornel-tool mxparts and mxnotes on a small two-part score.
file(MAKE_DIRECTORY "${WORK_DIR}")
set(score "${WORK_DIR}/score.xml")
file(WRITE "${score}" [=[<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE score-partwise PUBLIC "-//Recordare//DTD MusicXML 2.0 Partwise//EN" "http://www.musicxml.org/dtds/partwise.dtd">
<score-partwise version="2.0">
  <part-list><score-part id="P1"/><score-part id="P2"/></part-list>
  <part id="P1">
    <measure number="1">
      <attributes><divisions>2</divisions><key><fifths>-1</fifths><mode>major</mode></key>
        <time symbol="common"><beats>4</beats><beat-type>4</beat-type></time><staves>2</staves>
        <clef number="1"><sign>G</sign><line>2</line></clef><clef number="2"><sign>F</sign><line>4</line></clef>
      </attributes>
      <direction><direction-type><metronome><beat-unit>quarter</beat-unit><beat-unit-dot/>
        <per-minute>60</per-minute></metronome></direction-type></direction>
      <note><pitch><step>B</step><alter>-1</alter><octave>4</octave></pitch><duration>4</duration>
        <voice>1</voice><type>half</type><staff>1</staff></note>
      <note><chord/><pitch><step>D</step><octave>5</octave></pitch><duration>4</duration><tie type="start"/>
        <voice>1</voice><type>half</type><staff>1</staff></note>
      <note><rest/><duration>4</duration><voice>1</voice><staff>1</staff></note>
      <backup><duration>8</duration></backup>
      <note><pitch><step>F</step><octave>2</octave></pitch><duration>8</duration><voice>2</voice><staff>2</staff></note>
    </measure>
  </part>
  <part id="P2">
    <measure number="1">
      <attributes><time><senza-misura/></time><clef><sign>TAB</sign><line>5</line></clef></attributes>
      <note dynamics="70"><pitch><step>E</step><octave>2</octave></pitch><duration>8</duration>
        <notations><technical><string>6</string><fret>0</fret></technical></notations></note>
    </measure>
  </part>
</score-partwise>
]=])

execute_process(COMMAND "${TOOL}" mxparts "${score}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(expected [=[part P1
  staves 2
  voice 1 main staff 1
  voice 2 main staff 2
  key fifths -1 cancel 0 mode major
  time 4/4 symbol common
  clef G line 2 octave-change 0 staff 1
  clef F line 4 octave-change 0 staff 2
  metronome quarter. per-minute 60
part P2
  staves 1
  voice 0 main staff 0
  time senza-misura
  clef TAB line 5 octave-change 0 staff -1
]=])
if(NOT rc EQUAL 0 OR NOT out STREQUAL expected OR NOT err STREQUAL "")
  message(FATAL_ERROR "mxparts: rc=${rc} err='${err}' out=\n${out}")
endif()

execute_process(COMMAND "${TOOL}" mxnotes "${score}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(expected [=[note Bb4 (58) - duration 4 
note D5 (62) - duration 4 in chord - tie start 
rest - duration 4 
note F2 (29) - duration 8 
note E2 (28) - duration 8 dynamics 70
]=])
if(NOT rc EQUAL 0 OR NOT out STREQUAL expected OR NOT err STREQUAL "")
  message(FATAL_ERROR "mxnotes: rc=${rc} err='${err}' out=\n${out}")
endif()

foreach(command mxparts mxnotes)
  execute_process(COMMAND "${TOOL}" ${command} "${WORK_DIR}/missing.xml" OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err STREQUAL "can't open file ${WORK_DIR}/missing.xml\n")
    message(FATAL_ERROR "${command} on a missing file: rc=${rc} out='${out}' err='${err}'")
  endif()
endforeach()
