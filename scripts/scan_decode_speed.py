#!/usr/bin/env python3
# Decoding speed of A4 scans at 300 dpi (a CCITT group 4 TIFF and an 8-bit grey LZW TIFF)
# against Pillow on the same files; goal: at most 1.2 times Pillow's time.
#
# In process: bench/codec_bench's DecodeA4* (the decoder into a bitmap of the picture's own
# depth) against Pillow's Image.open + load (best of several runs each). As programs:
# `vornel-tool image FILE OUT.pam` against a Python that opens and loads the file, with each
# one's peak memory. The files are the ones the benchmark writes (VORNEL_BENCH_FILES).
#
# usage: scripts/scan_decode_speed.py [BUILD_DIR]   (default build/release; needs python3-pil)
import json
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "release")
PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable
RUNS = 7
FILES = {"DecodeA4G4Tiff": "a4_g4.tif", "DecodeA4GreyTiff": "a4_grey.tif"}

PILLOW_LOOP = """
import sys, time
from PIL import Image
best = 1e9
for _ in range(int(sys.argv[2])):
    t = time.perf_counter()
    with Image.open(sys.argv[1]) as image:
        image.load()
    best = min(best, time.perf_counter() - t)
print(best * 1000)
"""


def run_measured(command):
    """Wall time in ms and peak resident memory in MiB of one run of `command`."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = (time.perf_counter() - start) * 1000
    if status != 0:
        sys.exit(f"failed: {' '.join(command)}")
    return elapsed, usage.ru_maxrss / 1024


def best_of(command):
    runs = [run_measured(command) for _ in range(RUNS)]
    return min(r[0] for r in runs), max(r[1] for r in runs)


def main():
    with tempfile.TemporaryDirectory() as folder:
        bench = subprocess.run([os.path.join(BUILD, "bench", "codec_bench"), "--benchmark_filter=DecodeA4",
                                "--benchmark_format=json", "--benchmark_min_time=0.5"],
                               env=dict(os.environ, VORNEL_BENCH_FILES=folder), capture_output=True, text=True,
                               check=True)
        ours = {b["name"]: b["real_time"] for b in json.loads(bench.stdout)["benchmarks"]}
        tool = os.path.join(BUILD, "tools", "vornel-tool")
        print(f"{'file':14} {'ours ms':>8} {'Pillow ms':>9} {'ratio':>6}   {'tool ms':>8} {'MiB':>5} "
              f"{'Pillow ms':>9} {'MiB':>5} {'ratio':>6}")
        for name, file_name in FILES.items():
            path = os.path.join(folder, file_name)
            pillow = float(subprocess.run([PYTHON, "-c", PILLOW_LOOP, path, str(RUNS * 3)], capture_output=True,
                                          text=True, check=True).stdout)
            tool_ms, tool_mib = best_of([tool, "image", path, os.path.join(folder, "out.pam")])
            pillow_ms, pillow_mib = best_of([PYTHON, "-c", PILLOW_LOOP, path, "1"])
            print(f"{file_name:14} {ours[name]:8.2f} {pillow:9.2f} {ours[name] / pillow:6.2f}   {tool_ms:8.0f} "
                  f"{tool_mib:5.0f} {pillow_ms:9.0f} {pillow_mib:5.0f} {tool_ms / pillow_ms:6.2f}")


if __name__ == "__main__":
    main()
