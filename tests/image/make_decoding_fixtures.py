# Writes small image files in the forms the decoders read sample by sample (BMP RLE with
# deltas, 16-bit grey TGA, right-to-left TGA, PCX with several planes, 16-bit PGM/PPM,
# 16-bit TIFF in strips, tiles and separate planes, uncompressed, LZW and deflate with the
# predictor, BigTIFF in both byte orders), each beside NAME.rgba: "WIDTH HEIGHT MODE\n" and
# the RGBA bytes the file holds (MODE "RGB": alpha is not compared). Headers are written by
# hand, so nothing but Python is needed and the expected pixels are exact.
# usage: make_decoding_fixtures.py OUTDIR
import os
import struct
import sys
import zlib

out = sys.argv[1]


def save(name, data, width, height, mode, rgba):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
    with open(os.path.join(out, name + ".rgba"), "wb") as f:
        f.write(f"{width} {height} {mode}\n".encode())
        f.write(bytes(v for pixel in rgba for v in pixel))


def to8(v, maximum=65535):
    return (v * 255 + maximum // 2) // maximum


def sample16(x, y, k):
    return ((x * 1231 + y * 3119 + k * 16411) * 7) & 0xFFFF


# --- BMP RLE: runs, absolute runs, end of line, deltas (right dx, up dy), end of bitmap.
# What the data does not set (None here) is transparent.

PALETTE = [(0, 0, 0), (200, 30, 40), (20, 180, 60), (10, 40, 220), (250, 250, 0), (0, 240, 240), (128, 64, 32)]


def bmp(width, height, bits, compression, pixels, palette):
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels), 2835, 2835,
                       len(palette), 0)
    return header + info + colours + pixels


def indexed(rows_bottom_first, palette):
    return [(0, 0, 0, 0) if i is None else palette[i] + (255,) for row in reversed(rows_bottom_first) for i in row]


_ = None
save("bmp_rle8_delta.bmp",
     bmp(6, 4, 8, 1, bytes.fromhex("0301 0003020302 00 0000"  # 1 1 1, then 2 3 2 (padded)
                                   "0103 00020201"             # 3, then two right and one up
                                   "0201 0000"                 # 1 1 from x 3
                                   "00020400 0202 0001"), PALETTE),  # four right, 2 2, end
     6, 4, "RGBA", indexed([[1, 1, 1, 2, 3, 2], [3, _, _, _, _, _], [_, _, _, 1, 1, _], [_, _, _, _, 2, 2]], PALETTE))
save("bmp_rle4_delta.bmp",
     bmp(6, 3, 4, 2, bytes.fromhex("0412 00020101"  # 1 2 1 2, then one right and one up
                                   "0130 0000"      # 3 at x 5
                                   "00034560 0001"), PALETTE),  # absolute 4 5 6, end
     6, 3, "RGBA", indexed([[1, 2, 1, 2, _, _], [_, _, _, _, _, 3], [4, 5, 6, _, _, _]], PALETTE))


# --- TGA

def tga_header(kind, width, height, depth, descriptor):
    return struct.pack("<BBBHHBHHHHBB", 0, 0, kind, 0, 0, 0, 0, 0, width, height, depth, descriptor)


def grey_alpha(x, y):
    return (x * 40 + y * 7) & 0xFF, (255 - x * 30 - y * 50) & 0xFF


W, H = 5, 3
grey = [grey_alpha(x, y) for y in range(H) for x in range(W)]  # top line first
expected = [(g, g, g, a) for g, a in grey]
save("tga_grey16.tga", tga_header(3, W, H, 16, 0x28) + b"".join(bytes(p) for p in grey), W, H, "RGBA", expected)
# Type 11: a run of the first pixel twice, then raw packets.
rle = bytearray()
line = [grey_alpha(0, 0)] * 2 + grey[2:]
rle += bytes((0x81,)) + bytes(line[0])
rest = line[2:]
while rest:
    chunk, rest = rest[:4], rest[4:]
    rle += bytes((len(chunk) - 1,)) + b"".join(bytes(p) for p in chunk)
save("tga_grey16_rle.tga", tga_header(11, W, H, 16, 0x28) + bytes(rle), W, H, "RGBA",
     [(g, g, g, a) for g, a in line])
# Right to left, bottom line first.
colour = [[(x * 50, y * 90, 255 - x * 20) for x in range(W)] for y in range(H)]
body = b"".join(bytes((b, g, r)) for y in reversed(range(H)) for r, g, b in reversed(colour[y]))
save("tga_rtl.tga", tga_header(2, W, H, 24, 0x10) + body, W, H, "RGB",
     [p + (255,) for row in colour for p in row])


# --- PCX: header palette entry k is PCX_PALETTE[k]

PCX_PALETTE = [((k * 37) & 0xFF, (k * 91 + 20) & 0xFF, (255 - k * 13) & 0xFF) for k in range(16)]


def pcx_run(data):
    encoded = bytearray()
    i = 0
    while i < len(data):
        n = 1
        while i + n < len(data) and data[i + n] == data[i] and n < 63:
            n += 1
        if n > 1 or data[i] >= 0xC0:
            encoded += bytes((0xC0 | n, data[i]))
        else:
            encoded.append(data[i])
        i += n
    return bytes(encoded)


def pcx(width, height, bits, planes, plane_lines):
    per_line = ((width * bits + 7) // 8 + 1) & ~1
    header = struct.pack("<BBBBHHHHHH", 10, 5, 1, bits, 0, 0, width - 1, height - 1, 300, 300)
    header += b"".join(bytes(c) for c in PCX_PALETTE) + bytes((0, planes)) + struct.pack("<HH", per_line, 1)
    header += bytes(128 - len(header))
    body = b"".join(pcx_run(bytes(line) + bytes(per_line - len(line))) for y in range(height)
                    for line in plane_lines(y))
    return header + body


def bit_planes(indices, planes):
    def lines(y):
        out = []
        for p in range(planes):
            line = bytearray((len(indices[y]) + 7) // 8)
            for x, index in enumerate(indices[y]):
                if index >> p & 1:
                    line[x // 8] |= 0x80 >> (x % 8)
            out.append(line)
        return out
    return lines


# A plane's line is padded to an even number of bytes: 38 pixels take 5 bytes, stored in 6.
for W, H, planes_list in ((11, 3, (2, 3, 4)), (38, 4, (4,))):
    for planes in planes_list:
        indices = [[(x * 3 + y * 5) % (1 << planes) for x in range(W)] for y in range(H)]
        name = f"pcx_1bit_{planes}planes" + ("" if W == 11 else f"_w{W}") + ".pcx"
        save(name, pcx(W, H, 1, planes, bit_planes(indices, planes)), W, H, "RGB",
             [PCX_PALETTE[i] + (255,) for row in indices for i in row])
W, H = 7, 4
rgba = [[((x * 36) & 0xFF, (y * 60 + x) & 0xFF, 0xC3 if x == 3 else 17 * x, 255 - 30 * y) for x in range(W)]
        for y in range(H)]
for planes, mode in ((3, "RGB"), (4, "RGBA")):
    save(f"pcx_8bit_{planes}planes.pcx", pcx(W, H, 8, planes, lambda y: [[p[k] for p in rgba[y]] for k in range(planes)]),
         W, H, mode, [p if planes == 4 else p[:3] + (255,) for row in rgba for p in row])


# --- 16-bit PGM and PPM (big-endian samples, scaled by the maximum)

W, H = 4, 3
for name, magic, channels, maximum in (("pgm16.pgm", b"P5", 1, 65535), ("ppm16.ppm", b"P6", 3, 4095)):
    values = [[sample16(x, y, k) % (maximum + 1) for k in range(channels)] for y in range(H) for x in range(W)]
    body = b"".join(struct.pack(">H", v) for pixel in values for v in pixel)
    pixels = [tuple(to8(v, maximum) for v in (p * 3 if channels == 1 else p)) + (255,) for p in values]
    save(name, magic + f"\n{W} {H}\n{maximum}\n".encode() + body, W, H, "RGB", pixels)


# --- TIFF with 16 bits per sample

def lzw(data):
    """TIFF's LZW: codes of 9 to 12 bits, most significant bit first, as libtiff writes them."""
    bits = bytearray()
    width = 9
    table = {bytes((i,)): i for i in range(256)}
    free = 258

    def put(code):
        bits.extend((code >> (width - 1 - i)) & 1 for i in range(width))

    put(256)
    current = b""
    for byte in data:
        extended = current + bytes((byte,))
        if extended in table:
            current = extended
            continue
        put(table[current])
        table[extended] = free
        free += 1
        if free == 4094:
            put(256)
            table = {bytes((i,)): i for i in range(256)}
            free, width = 258, 9
        elif free > (1 << width) - 1:
            width += 1
        current = bytes((byte,))
    if current:
        put(table[current])
        free += 1
        if free > (1 << width) - 1 and free != 4094:
            width += 1
    put(257)
    bits.extend(bytes(-len(bits) % 8))
    return bytes(int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8))


def tiff(name, width, height, samples, order="<", big=False, separate=False, tile=None, rows=3, compression=1,
         predictor=False):
    extra = samples in (2, 4)
    planes = samples if separate else 1
    per_pixel = 1 if separate else samples

    def block(plane, left, top, w, h):
        """The samples of one strip or tile, differenced along each row with the predictor."""
        values = []
        for y in range(top, top + h):
            row = []
            for x in range(left, left + w):
                for k in ([plane] if separate else range(samples)):
                    inside = x < width and y < height
                    row.append(sample16(x, y, k) if inside else 0)
            if predictor:
                row = [row[i] if i < per_pixel else (row[i] - row[i - per_pixel]) & 0xFFFF for i in range(len(row))]
            values += row
        raw = struct.pack(order + f"{len(values)}H", *values)
        return {1: raw, 5: lzw(raw) if compression == 5 else b"", 8: zlib.compress(raw)}[compression]

    blocks = []
    for plane in range(planes):
        if tile:
            for top in range(0, height, tile):
                for left in range(0, width, tile):
                    blocks.append(block(plane, left, top, tile, tile))
        else:
            for top in range(0, height, rows):
                blocks.append(block(plane, 0, top, width, min(rows, height - top)))

    word, entry_format, count_format = ("Q", "HHQ", "Q") if big else ("I", "HHI", "H")
    header_size = 16 if big else 8
    data = bytearray()
    offsets = []
    for b in blocks:
        offsets.append(header_size + len(data))
        data += b
        data += bytes(len(data) % 2)
    entries = []

    def add(tag, kind, values):
        entries.append((tag, kind, values))

    add(256, 4, [width])
    add(257, 4, [height])
    add(258, 3, [16] * samples)
    add(259, 3, [compression])
    add(262, 3, [2 if samples >= 3 else 1])
    if not tile:
        add(273, 16 if big else 4, offsets)
    add(277, 3, [samples])
    if not tile:
        add(278, 4, [rows])
        add(279, 4, [len(b) for b in blocks])
    add(284, 3, [2 if separate else 1])
    if predictor:
        add(317, 3, [2])
    if tile:
        add(322, 4, [tile])
        add(323, 4, [tile])
        add(324, 16 if big else 4, offsets)
        add(325, 4, [len(b) for b in blocks])
    if extra:
        add(338, 3, [2])  # unassociated alpha
    inline = 8 if big else 4
    sizes = {3: "H", 4: "I", 16: "Q"}
    arrays = bytearray()
    ifd_at = header_size + len(data)
    entry_size = 20 if big else 12
    arrays_at = ifd_at + (8 if big else 2) + entry_size * len(entries) + inline
    packed = []
    for tag, kind, values in entries:
        raw = struct.pack(order + sizes[kind] * len(values), *values)
        if len(raw) <= inline:
            field = raw + bytes(inline - len(raw))
        else:
            field = struct.pack(order + word, arrays_at + len(arrays))
            arrays += raw
            arrays += bytes(len(arrays) % 2)
        packed.append(struct.pack(order + entry_format, tag, kind, len(values)) + field)
    mark = b"II" if order == "<" else b"MM"
    if big:
        head = mark + struct.pack(order + "HHHQ", 43, 8, 0, ifd_at)
    else:
        head = mark + struct.pack(order + "HI", 42, ifd_at)
    ifd = struct.pack(order + count_format, len(entries)) + b"".join(packed) + bytes(inline)
    pixels = []
    for y in range(height):
        for x in range(width):
            v = [to8(sample16(x, y, k)) for k in range(samples)]
            if samples <= 2:
                pixels.append((v[0], v[0], v[0], v[1] if extra else 255))
            else:
                pixels.append(tuple(v[:3]) + ((v[3],) if extra else (255,)))
    save(name, head + bytes(data) + ifd + bytes(arrays), width, height, "RGBA" if extra else "RGB", pixels)


tiff("tiff16_grey_strips.tif", 13, 7, 1)
tiff("tiff16_greyalpha_tiles_deflate_predictor.tif", 21, 18, 2, tile=16, compression=8, predictor=True)
tiff("tiff16_rgb_planes_lzw_predictor.tif", 13, 7, 3, separate=True, compression=5, predictor=True)
tiff("tiff16_rgba_tiles_lzw.tif", 19, 17, 4, order=">", tile=16, compression=5)
tiff("tiff16_rgba_planes_tiles_deflate.tif", 17, 9, 4, separate=True, tile=16, compression=8)
tiff("bigtiff16_rgb_strips_lzw.tif", 13, 7, 3, big=True, compression=5, predictor=True)
tiff("bigtiff16_grey_tiles_be.tif", 18, 5, 1, order=">", big=True, tile=16, compression=8)


# --- TIFF layouts read sample by sample: extra samples, signed samples, CIE L*a*b*, YCbCr
# planes, grey and palette of few bits. Strips of uncompressed samples, one per plane.

def classic_tiff(name, width, height, tags, planes, mode, pixels):
    """A little-endian TIFF whose strips are `planes` (one strip per plane) and whose other
    fields are `tags`: {tag: (type, [values])} with types 3 (short) and 4 (long)."""
    data = bytearray()
    offsets = []
    for plane in planes:
        offsets.append(8 + len(data))
        data += plane
        data += bytes(len(data) % 2)
    fields = dict(tags)
    fields.update({256: (4, [width]), 257: (4, [height]), 273: (4, offsets), 278: (4, [height]),
                   279: (4, [len(p) for p in planes])})
    fields.setdefault(259, (3, [1]))
    ifd_at = 8 + len(data)
    arrays_at = ifd_at + 2 + 12 * len(fields) + 4
    arrays = bytearray()
    entries = b""
    for tag, (kind, values) in sorted(fields.items()):
        raw = struct.pack("<" + {3: "H", 4: "I"}[kind] * len(values), *values)
        if len(raw) <= 4:
            field = raw + bytes(4 - len(raw))
        else:
            field = struct.pack("<I", arrays_at + len(arrays))
            arrays += raw
            arrays += bytes(len(arrays) % 2)
        entries += struct.pack("<HHI", tag, kind, len(values)) + field
    body = b"II" + struct.pack("<HI", 42, ifd_at) + bytes(data)
    save(name, body + struct.pack("<H", len(fields)) + entries + bytes(4) + bytes(arrays), width, height, mode, pixels)


W, H = 7, 5
colour = [[((x * 40 + 10) & 0xFF, (y * 50 + 5) & 0xFF, (x * 20 + y * 30) & 0xFF) for x in range(W)] for y in range(H)]
alpha = [[(x * 37 + y * 11) & 0xFF for x in range(W)] for y in range(H)]
alpha[0][0] = 0
alpha[1][1] = 255
# RGB, the alpha and two further samples that are not looked at; unassociated alpha is kept.
rgbax = b"".join(bytes(colour[y][x] + (alpha[y][x], 0x55, 0xAA)) for y in range(H) for x in range(W))
classic_tiff("tiff_rgb_extra_samples.tif", W, H, {258: (3, [8] * 6), 262: (3, [2]), 277: (3, [6]), 338: (3, [2, 0, 0])},
             [rgbax], "RGBA", [colour[y][x] + (alpha[y][x],) for y in range(H) for x in range(W)])


# Associated alpha: the colour is stored multiplied by it and is divided out again.
def premultiplied(c, a):
    return c * a // 255


def divided(c, a):
    return 0 if a == 0 else min(255, c * 255 // a)


stored = [[tuple(premultiplied(c, alpha[y][x]) for c in colour[y][x]) for x in range(W)] for y in range(H)]
rgba_assoc = b"".join(bytes(stored[y][x] + (alpha[y][x], 0x55)) for y in range(H) for x in range(W))
classic_tiff("tiff_rgb_associated_alpha.tif", W, H, {258: (3, [8] * 5), 262: (3, [2]), 277: (3, [5]), 338: (3, [1, 0])},
             [rgba_assoc], "RGBA",
             [(0, 0, 0, 0) if alpha[y][x] == 0 else tuple(divided(c, alpha[y][x]) for c in stored[y][x]) + (alpha[y][x],)
              for y in range(H) for x in range(W)])

# Signed grey: the positive range runs from black to white, below 0 is black.
signed16 = [[(x * 9000 - y * 7000) for x in range(W)] for y in range(H)]
signed16 = [[max(-32768, min(32767, v)) for v in row] for row in signed16]
classic_tiff("tiff_grey_signed16.tif", W, H, {258: (3, [16]), 262: (3, [1]), 277: (3, [1]), 339: (3, [2])},
             [b"".join(struct.pack("<h", v) for row in signed16 for v in row)], "RGB",
             [(g, g, g, 255) for g in (max(0, v) >> 7 for row in signed16 for v in row)])
signed8 = [[(x * 40 - y * 30) for x in range(W)] for y in range(H)]
signed8 = [[max(-128, min(127, v)) for v in row] for row in signed8]
classic_tiff("tiff_grey_signed8.tif", W, H, {258: (3, [8]), 262: (3, [1]), 277: (3, [1]), 339: (3, [2])},
             [bytes(v & 0xFF for row in signed8 for v in row)], "RGB",
             [(g, g, g, 255) for g in (max(0, v) * 2 | max(0, v) >> 6 for row in signed8 for v in row)])


# CIE L*a*b* of 8 bits (L 0..255 for 0..100, a and b signed), to sRGB from the D50 white.
def lab_to_rgb(l8, a, b):
    fy = (l8 * 100 / 255 + 16) / 116
    fx, fz = fy + a / 500, fy - b / 200

    def inverse(t):
        return t ** 3 if t > 6 / 29 else 3 * (6 / 29) ** 2 * (t - 4 / 29)

    x, y, z = 0.96422 * inverse(fx), inverse(fy), 0.82521 * inverse(fz)
    matrix = ((3.1338561, -1.6168667, -0.4906146), (-0.9787684, 1.9161415, 0.0334540),
              (0.0719453, -0.2289914, 1.4052427))
    out = []
    for row in matrix:
        c = min(1.0, max(0.0, row[0] * x + row[1] * y + row[2] * z))
        out.append(round(255 * (12.92 * c if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055)))
    return tuple(out)


lab = [[((x * 36 + y * 9) & 0xFF, x * 17 - 60, y * 25 - 50) for x in range(W)] for y in range(H)]
classic_tiff("tiff_lab8.tif", W, H, {258: (3, [8, 8, 8]), 262: (3, [8]), 277: (3, [3])},
             [b"".join(bytes((l, a & 0xFF, b & 0xFF)) for row in lab for l, a, b in row)], "RGB",
             [lab_to_rgb(*p) + (255,) for row in lab for p in row])


# YCbCr in three planes, not subsampled: the JPEG conversion of the default reference values.
def ycbcr_to_rgb(y, cb, cr):
    return tuple(min(255, max(0, round(v))) for v in
                 (y + 1.402 * (cr - 128), y - 0.344136 * (cb - 128) - 0.714136 * (cr - 128), y + 1.772 * (cb - 128)))


ycc = [[((x * 30 + y * 20) & 0xFF, 128 + x * 9 - 30, 128 - y * 12 + 20) for x in range(W)] for y in range(H)]
classic_tiff("tiff_ycbcr_planes.tif", W, H, {258: (3, [8, 8, 8]), 262: (3, [6]), 277: (3, [3]), 284: (3, [2]),
                                             530: (3, [1, 1])},
             [bytes(p[k] for row in ycc for p in row) for k in range(3)], "RGB",
             [ycbcr_to_rgb(*p) + (255,) for row in ycc for p in row])

# Grey of 4 bits, min-is-white, and a palette of 2 bits with a 16-bit colour map.
grey4 = [[(x + y * 3) & 15 for x in range(W)] for y in range(H)]
classic_tiff("tiff_grey4_miniswhite.tif", W, H, {258: (3, [4]), 262: (3, [0]), 277: (3, [1])},
             [b"".join(bytes((row[x] << 4 | (row[x + 1] if x + 1 < W else 0)) for x in range(0, W, 2)) for row in grey4)],
             "RGB", [(255 - 17 * g,) * 3 + (255,) for row in grey4 for g in row])
index2 = [[(x * 3 + y) & 3 for x in range(W)] for y in range(H)]
colour_map = [(0xFFFF, 0, 0x8080), (0, 0xFFFF, 0x4040), (0x2020, 0x3030, 0xFFFF), (0xFFFF, 0xFFFF, 0)]
classic_tiff("tiff_palette2.tif", W, H, {258: (3, [2]), 262: (3, [3]), 277: (3, [1]),
                                        320: (3, [c[k] for k in range(3) for c in colour_map])},
             [b"".join(bytes(sum(row[x + i] << (6 - 2 * i) for i in range(4) if x + i < W) for x in range(0, W, 4))
                       for row in index2)],
             "RGB", [tuple(v * 255 // 65535 for v in colour_map[i]) + (255,) for row in index2 for i in row])
