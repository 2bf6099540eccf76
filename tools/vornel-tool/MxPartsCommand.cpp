// mxparts FILE: per part of a MusicXML file, its staves, its voices with their main staff, and
// its clefs, keys, time signatures and metronome marks in document order.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "MusicXmlCommand.h"
#include "musicxml/visitors/browser.h"
#include "musicxml/visitors/clefvisitor.h"
#include "musicxml/visitors/partsummary.h"
#include "musicxml/visitors/timesignvisitor.h"

namespace vornel::tool {

namespace {

using namespace MusicXML2;

class PartMarks : public partsummary,
                  public clefvisitor,
                  public keysignvisitor,
                  public timesignvisitor,
                  public metronomevisitor {
 public:
  std::vector<std::string> marks;

  void visitEnd(Sclef&) override {
    marks.push_back("clef " + sign + " line " + std::to_string(line) + " octave-change " +
                    std::to_string(octaveChange) + " staff " + std::to_string(clefvisitor::staffNumber));
  }
  void visitEnd(Skey&) override {
    marks.push_back("key fifths " + std::to_string(fifths) + " cancel " + std::to_string(cancel) +
                    (mode.empty() ? "" : " mode " + mode));
  }
  void visitEnd(Stime&) override {
    std::string text = "time";
    for (uint32_t i = 0; i < timeSigns.size(); ++i) {
      text += ' ';
      text += getTimeSign(i).toString();
    }
    if (!symbol.empty()) text += " symbol " + symbol;
    if (senzaMisura) text += " senza-misura";
    marks.push_back(text);
  }
  void visitEnd(Smetronome& elt) override {
    metronomevisitor::visitEnd(elt);
    std::string text = "metronome";
    for (size_t i = 0; i < beats.size(); ++i) {
      text += i ? " = " : " ";
      text += beats[i].unit + std::string(static_cast<size_t>(std::max(0, beats[i].dots)), '.');
    }
    marks.push_back(text + " per-minute " + std::to_string(perMinute));
  }
};

int MxParts(const CommandArguments& args) {
  return RunOnMusicXml(args, "mxparts", [](const Sxmlelement& root) {
    if (!root) return 0;
    for (const Sxmlelement& part : root->elements()) {
      if (part->getType() != ElementType("part")) continue;
      PartMarks v;
      xml_tree_browser(&v).browse(*part);
      std::printf("part %s\n  staves %d\n", part->getAttributeValue("id").c_str(), v.countStaves());
      const auto voices = v.getVoices();
      for (const int voice : *voices) std::printf("  voice %d main staff %d\n", voice, v.getMainStaff(voice));
      for (const std::string& mark : v.marks) std::printf("  %s\n", mark.c_str());
    }
    return 0;
  });
}

const ToolCommand registration("mxparts", "mxparts FILE",
                               "staves, voices, clefs, keys, times and tempi of each part of a MusicXML file", MxParts);

}  // namespace

}  // namespace vornel::tool
