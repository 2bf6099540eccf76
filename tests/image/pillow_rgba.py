# Decodes image files with Pillow for the corpus test: OUTDIR/NAME.rgba holds
# "WIDTH HEIGHT MODE\n" and the RGBA bytes, OUTDIR/NAME.err the reason Pillow refused.
# usage: pillow_rgba.py OUTDIR FILE...
import os
import sys
import warnings
from array import array

from PIL import Image

warnings.simplefilter("ignore")
out = sys.argv[1]
for path in sys.argv[2:]:
    name = os.path.basename(path)
    try:
        with Image.open(path) as image:
            tile = image.tile[0][3] if image.tile and isinstance(image.tile[0][3], tuple) else ()
            signed = bool(tile) and isinstance(tile[0], str) and tile[0].startswith("I;") and tile[0].endswith("S")
            image.load()
            mode = image.mode
            if mode in ("I", "I;16", "I;16B", "I;16L") and not signed:
                # Pillow clips wide grey samples to 255 when converting; keep their high byte,
                # as 16-bit images are read for display. (Signed ones it clips.)
                wide = image if mode == "I" else image.convert("I")
                high = bytes(min(255, max(0, v >> 8)) for v in array("i", wide.tobytes()))
                rgba = Image.frombytes("L", wide.size, high).convert("RGBA")
            else:
                rgba = image.convert("RGBA")
        with open(os.path.join(out, name + ".rgba"), "wb") as f:
            f.write(f"{rgba.width} {rgba.height} {mode}\n".encode())
            f.write(rgba.tobytes())
    except Exception as error:  # every refusal is an answer here
        with open(os.path.join(out, name + ".err"), "w") as f:
            f.write(type(error).__name__)
