#!/usr/bin/env python3
"""Compiles each unity-built program's sources as ONE translation unit (syntax only) and
prints the clashes: ./scripts/unity_check.py [BUILD_DIR] [-j N] [TARGET...]

A unity build compiles a target's sources a batch at a time, and which files share a batch
shifts as files are added. Two files that keep a helper of the same name to themselves
(anonymous namespace, static, a file-scope alias) only clash once they land in one batch. This
puts every source of a target into one unit, so that every such clash shows now, whatever the
batches. BUILD_DIR (default build/release) must be configured with the unity build on.
"""

import argparse
import collections
import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build/release")
    parser.add_argument("-j", type=int, default=3, help="compilers at once (default 3)")
    parser.add_argument("targets", nargs="*", help="only these targets (default all)")
    args = parser.parse_args()

    commands_file = os.path.join(args.build, "compile_commands.json")
    if not os.path.exists(commands_file):
        sys.exit(f"{commands_file} is missing: configure {args.build} first")
    with open(commands_file) as f:
        entries = json.load(f)

    batches = collections.defaultdict(list)
    commands = {}
    for entry in entries:
        match = re.search(r"CMakeFiles/([^/]+)\.dir/Unity/unity_\d+_cxx\.cxx$", entry["file"])
        if not match or (args.targets and match.group(1) not in args.targets):
            continue
        target = match.group(1)
        batches[target].append(entry["file"])
        words = shlex.split(entry["command"])
        if "ccache" in os.path.basename(words[0]):
            words = words[1:]
        # Drop the object file and the source: the whole unit is compiled instead, checked only.
        for flag in ("-o", "-c"):
            at = words.index(flag)
            del words[at:at + 2]
        commands[target] = (entry["directory"], words)
    if not batches:
        sys.exit(f"no unity sources in {commands_file}: is the unity build on?")

    scratch = tempfile.mkdtemp(prefix="unity_check.")

    def check(target):
        includes = []
        for batch in sorted(batches[target]):
            with open(batch) as f:
                includes += [line for line in f if line.startswith("#include")]
        unit = os.path.join(scratch, target + ".cxx")
        with open(unit, "w") as f:
            f.writelines(includes)
        directory, words = commands[target]
        run = subprocess.run(words + ["-fsyntax-only", "-c", unit], cwd=directory,
                             capture_output=True, text=True)
        return target, len(includes), run.returncode, run.stderr

    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.j)) as pool:
        for target, count, code, errors in pool.map(check, sorted(batches)):
            print(f"{target}: {count} sources, {'ok' if code == 0 else 'CLASHES'}")
            if code != 0:
                failed += 1
                lines = [l for l in errors.splitlines() if " error: " in l]
                print("\n".join("  " + l for l in lines[:20]))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
