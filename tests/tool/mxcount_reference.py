"""Element counts of MusicXML files by an independent XML parser, in the form of
`vornel-tool mxcount`: one line "NAME COUNT" per element name in byte order, then "total N".

usage: mxcount_reference.py OUTPUT_DIR FILE...   (writes OUTPUT_DIR/<file name>.expected)
"""
import collections
import os
import sys
import xml.etree.ElementTree as ElementTree

out_dir = sys.argv[1]
for path in sys.argv[2:]:
    counts = collections.Counter(e.tag for e in ElementTree.parse(path).getroot().iter())
    lines = ["%s %d\n" % (name, counts[name]) for name in sorted(counts, key=lambda n: n.encode())]
    lines.append("total %d\n" % sum(counts.values()))
    with open(os.path.join(out_dir, os.path.basename(path) + ".expected"), "w", encoding="utf-8") as f:
        f.writelines(lines)
