#!/usr/bin/env python3
"""Runs bench/document_open_bench and prints the figures the open is held to.

For each form: the least processor time of an open at 10 k and 80 k chords, the growth between them
as a multiple of linear (1.00 is linear; the goal is at most 1.25), the memory the open added
at its peak over the size of the XML text (the goal is at most 3), and the XML open against
tinyxml2's bare parse of the same file (the goal is at most 1.5).

usage: scripts/open_scaling.py [BENCH | RESULTS.json] (default build/release/bench/document_open_bench);
a ".json" argument is the output of an earlier run (--benchmark_format=json).
"""

import json
import subprocess
import sys


def main():
    bench = sys.argv[1] if len(sys.argv) > 1 else "build/release/bench/document_open_bench"
    if bench.endswith(".json"):
        with open(bench) as results:
            out = results.read()
    else:
        out = subprocess.run([bench, "--benchmark_format=json"], check=True, capture_output=True, text=True).stdout
    cases = {}
    for case in json.loads(out)["benchmarks"]:
        steps = [s for s in case["name"].split("/") if not s.isdigit() and ":" not in s and s != "manual_time"]
        name, size = "/".join(steps), int(case["chords"])
        cases[(name, size)] = case
    sizes = sorted({size for _, size in cases})
    low, high = sizes[0], sizes[-1]
    print(f"{'case':<18}{'ms@' + str(low // 1000) + 'k':>10}{'ms@' + str(high // 1000) + 'k':>10}"
          f"{'of linear':>11}{'peak/xml':>10}{'vs parse':>10}")
    for name in sorted({name for name, _ in cases}):
        a, b = cases.get((name, low)), cases.get((name, high))
        if a is None or b is None:
            continue
        growth = (b["fastest_ms"] / a["fastest_ms"]) / (high / low)
        parse = cases.get(("TinyXmlParse", high))
        versus = b["fastest_ms"] / parse["fastest_ms"] if parse and name == "Open/Xml" else None
        print(f"{name:<18}{a['fastest_ms']:>10.1f}{b['fastest_ms']:>10.1f}{growth:>11.2f}"
              f"{b['peak_per_xml']:>10.2f}{'' if versus is None else f'{versus:.2f}':>10}")


if __name__ == "__main__":
    main()
