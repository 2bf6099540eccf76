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
