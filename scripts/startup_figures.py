#!/usr/bin/env python3
"""Start-up figures against their goals, in one run: ./scripts/startup_figures.py [--runs N]

- run.sh's set-up check and build step when everything is current (goal: under 1 s);
- vornel-tool importing a MusicXML file of one note, as a whole process (goal: under 50 ms);
- vornel-tool importing a MusicXML file of 1 MB, as a whole process (goal: under 0.5 s).

Each figure is the median of the runs, as wall time and as processor time (user + system of
the process and its children; on a shared machine the processor time is the steadier one),
with its ratio to the goal (1 or less meets it). Needs a configured and built release tree.
"""

import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "..", "shared", "corpus", "musicxml")
if not os.path.isdir(CORPUS):
    CORPUS = "/work/shared/corpus/musicxml"

TINY_SCORE = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE score-partwise PUBLIC "-//Recordare//DTD MusicXML 2.0 Partwise//EN" "http://www.musicxml.org/dtds/partwise.dtd">
<score-partwise version="2.0"><part-list><score-part id="P1"><part-name>Lute</part-name></score-part>
</part-list><part id="P1"><measure number="1"><attributes><divisions>1</divisions></attributes>
<note><pitch><step>C</step><octave>4</octave></pitch><duration>4</duration><type>whole</type></note>
</measure></part></score-partwise>
"""


def repeated_score(size):
    """The corpus's two-voice score with its measures after the first repeated up to `size` bytes."""
    with open(os.path.join(CORPUS, "42a-MultiVoice-TwoVoicesOnStaff-Lyrics.xml"), encoding="utf-8") as f:
        score = f.read()
    close = "</measure>"
    first_end = score.find(close) + len(close)
    last_end = score.rfind(close) + len(close)
    head, body, tail = score[:first_end], score[first_end:last_end], score[last_end:]
    copies = max(1, (size - len(head) - len(tail)) // len(body) + 1)
    return head + body * copies + tail


def measure(command, runs, env=None):
    """Median wall and processor seconds of `command` over `runs` runs."""
    walls, cpus = [], []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        result = subprocess.run(command, cwd=ROOT, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        walls.append(time.perf_counter() - start)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
        if result.returncode != 0:
            sys.exit(f"{' '.join(command)} failed: {result.stderr.decode(errors='replace')}")
    return statistics.median(walls), statistics.median(cpus)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--tool", default=os.path.join(ROOT, "build", "release", "tools", "vornel-tool"))
    args = parser.parse_args()
    if not os.access(args.tool, os.X_OK):
        sys.exit(f"no vornel-tool at {args.tool}: build the release preset first")

    with tempfile.TemporaryDirectory(prefix="vornel-startup-") as work:
        tiny = os.path.join(work, "tiny.xml")
        large = os.path.join(work, "large.xml")
        with open(tiny, "w", encoding="utf-8") as f:
            f.write(TINY_SCORE)
        with open(large, "w", encoding="utf-8") as f:
            f.write(repeated_score(1 << 20))
        out = os.path.join(work, "out.btxml")
        prepare = ["bash", "-c", "./scripts/install-deps.sh && { [[ build/release/build.ninja -nt CMakePresets.json ]] || "
                   "cmake --preset release >/dev/null; } && cmake --build --preset release --target vornel >/dev/null"]
        figures = [
            ("run.sh set-up and build, all current", prepare, 1.0),
            ("vornel-tool import, one note", [args.tool, "import", tiny, out], 0.050),
            (f"vornel-tool import, {os.path.getsize(large) / (1 << 20):.2f} MB MusicXML",
             [args.tool, "import", large, out], 0.5),
        ]
        print(f"{'figure':<44} {'wall s':>8} {'cpu s':>8} {'goal s':>7} {'wall/goal':>10} {'cpu/goal':>9}")
        for name, command, goal in figures:
            measure(command, 1)  # warms the caches
            wall, cpu = measure(command, args.runs)
            print(f"{name:<44} {wall:8.3f} {cpu:8.3f} {goal:7.3f} {wall / goal:10.2f} {cpu / goal:9.2f}")


if __name__ == "__main__":
    main()
