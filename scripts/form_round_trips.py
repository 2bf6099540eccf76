#!/usr/bin/env python3
"""Documents through the binary form and the bundle: what comes back.

Every file of the corpus folders is imported and saved as an XML document; that document is
checked by xmllint, converted to ".btb" and back and to ".btz" and back, and the stored fields
of the three (`vornel-tool dump`) are compared: a field of the first missing from, or changed
in, a round trip is counted, texts (quoted values) apart. Documents given with --documents are
taken as they are. Prints a table per folder and the fields lost, with their paths.

    scripts/form_round_trips.py TOOL CORPUS [--documents FILE...] [--folders abc,guitarpro,...]
"""

import argparse
import collections
import os
import subprocess
import sys
import tempfile


def run(args):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=600)


def field_paths(dump):
    """The dump's lines, each with the names of the fields that hold it."""
    lines, outer = [], []
    for line in dump.splitlines():
        stripped = line.lstrip(" ")
        if not stripped:
            continue
        indent = len(line) - len(stripped)
        while outer and outer[-1][0] >= indent:
            outer.pop()
        lines.append(" / ".join([name for _, name in outer] + [stripped]))
        outer.append((indent, stripped))
    return lines


def lost_fields(before, after):
    """The fields of `before` that `after` lacks or holds with another value."""
    remaining = collections.Counter(field_paths(after))
    lost = []
    for line in field_paths(before):
        if remaining[line] > 0:
            remaining[line] -= 1
        else:
            lost.append(line)
    return lost


def is_text(field):
    value = field.rsplit(" / ", 1)[-1]
    return '"' in value and value.split(" ", 1)[-1].startswith('"')


def dump(tool, path):
    result = run([tool, "dump", path])
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None


def round_trip(tool, work, document, extension):
    """The dump of `document` saved in the form `extension` and opened again as XML."""
    converted = os.path.join(work, "converted" + extension)
    back = os.path.join(work, "back.btxml")
    for path in (converted, back):
        if os.path.exists(path):
            os.remove(path)
    if run([tool, "resave", document, converted]).returncode != 0:
        return None
    if run([tool, "resave", converted, back]).returncode != 0:
        return None
    return dump(tool, back)


def well_formed(path):
    return run(["xmllint", "--noout", path]).returncode == 0


def check(tool, work, document, totals, losses):
    totals["documents"] += 1
    if document.lower().endswith((".btxml", ".bttx")) and not well_formed(document):
        totals["not well-formed"] += 1
    before = dump(tool, document)
    if before is None:
        totals["not opened"] += 1
        return
    for extension in (".btb", ".btz"):
        after = round_trip(tool, work, document, extension)
        if after is None:
            totals[extension + " failed"] += 1
            continue
        lost = lost_fields(before, after)
        texts = [field for field in lost if is_text(field)]
        totals[extension + " fields lost"] += len(lost)
        totals[extension + " texts lost"] += len(texts)
        if texts:
            totals[extension + " documents losing texts"] += 1
        for field in lost:
            losses[extension][field.rsplit(" ", 1)[0]] += 1
            if is_text(field):
                # The text's field with its value, its place in the document left out.
                losses[extension + " texts"][" / ".join(part for part in field.split(" / ")
                                                        if not part.split(" ")[-1].isdigit())] += 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool")
    parser.add_argument("corpus")
    parser.add_argument("--folders", default="abc,guitarpro,musicxml,tab,midi")
    parser.add_argument("--documents", nargs="*", default=[])
    args = parser.parse_args()
    losses = {key: collections.Counter() for key in (".btb", ".btb texts", ".btz", ".btz texts")}
    rows = []
    with tempfile.TemporaryDirectory() as work:
        groups = [(folder, sorted(os.path.join(args.corpus, folder, name)
                                  for name in os.listdir(os.path.join(args.corpus, folder))))
                  for folder in args.folders.split(",") if folder]
        if args.documents:
            groups.append(("documents", args.documents))
        for folder, files in groups:
            totals = collections.Counter()
            for source in files:
                totals["files"] += 1
                if folder == "documents":
                    document = source
                else:
                    document = os.path.join(work, "imported.btxml")
                    if os.path.exists(document):
                        os.remove(document)
                    command = "midi-import" if folder == "midi" else "import"
                    if run([args.tool, command, source, document]).returncode != 0 or not os.path.exists(document):
                        totals["not imported"] += 1
                        continue
                check(args.tool, work, document, totals, losses)
            rows.append((folder, totals))
    columns = ["files", "documents", "not well-formed", ".btb fields lost", ".btb texts lost",
               ".btb documents losing texts", ".btz fields lost", ".btz texts lost"]
    print("| folder | " + " | ".join(columns) + " |")
    print("|---" * (len(columns) + 1) + "|")
    for folder, totals in rows:
        print("| " + folder + " | " + " | ".join(str(totals[c]) for c in columns) + " |")
    for extension, counter in losses.items():
        if counter:
            print("\n" + extension + ": fields lost (documents)")
            for field, count in counter.most_common(25):
                print("  %5d  %s" % (count, field[:160]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
