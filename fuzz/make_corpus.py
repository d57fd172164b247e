#!/usr/bin/env python3
# Writes the small seed files of fuzz/corpus: BMPs of every layout the game
# accepts (also the fixtures of the picture tests), WAVs of the common
# formats, and simulator scripts. Run from anywhere; overwrites the seeds.
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
W, H = 7, 5
# Channels only 0 or 255, so every depth holds every colour exactly.
COLOURS = [(r, g, b) for r in (0, 255) for g in (0, 255) for b in (0, 255)]


def index(x, y, colours):
    return (x + 2 * y) % colours


def bmp(name, bpp, compression=0, top_down=False, os2=False, masks=None, alpha=None, colours=8):
    rows = []
    palette = b""
    if bpp <= 8:
        for r, g, b in COLOURS[:colours] if colours > 2 else [(0, 0, 0), (255, 255, 255)]:
            palette += bytes([b, g, r]) if os2 else bytes([b, g, r, 0])
    for y in range(H):
        idx = [index(x, y, colours) for x in range(W)]
        rgb = [COLOURS[i] if colours > 2 else [(0, 0, 0), (255, 255, 255)][i] for i in idx]
        if compression == 1:  # RLE8: a run per pixel, end of line
            rows.append(b"".join(bytes([1, i]) for i in idx) + b"\0\0")
            continue
        if compression == 2:  # RLE4: a run per pixel
            rows.append(b"".join(bytes([1, i << 4]) for i in idx) + b"\0\0")
            continue
        if bpp == 1:
            bits = 0
            for x, i in enumerate(idx):
                bits |= i << (7 - x)
            row = bytes([bits])
        elif bpp == 4:
            row = bytes((idx[x] << 4) | (idx[x + 1] if x + 1 < W else 0) for x in range(0, W, 2))
        elif bpp == 8:
            row = bytes(idx)
        elif bpp == 16:
            rbits, gbits = (5, 6) if masks == "565" else (5, 5)
            row = b"".join(struct.pack("<H", ((r >> (8 - rbits)) << (gbits + 5)) | ((g >> (8 - gbits)) << 5) | (b >> 3))
                           for r, g, b in rgb)
        elif bpp == 24:
            row = b"".join(bytes([b, g, r]) for r, g, b in rgb)
        else:
            row = b"".join(bytes([b, g, r, alpha]) for r, g, b in rgb)
        row += b"\0" * ((-len(row)) % 4)
        rows.append(row)
    if not top_down:
        rows.reverse()
    pixels = b"".join(rows)
    if compression in (1, 2):
        pixels = pixels + b"\0\1"
    if os2:
        info = struct.pack("<IHHHH", 12, W, H, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, W, -H if top_down else H, 1, bpp, compression, len(pixels), 2835, 2835, 0, 0)
    if masks == "565":
        info += struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    elif masks == "555":
        info += struct.pack("<III", 0x7C00, 0x03E0, 0x001F)
    off = 14 + len(info) + len(palette)
    data = b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) + info + palette + pixels
    with open(os.path.join(ROOT, "bmp", name), "wb") as f:
        f.write(data)


def wav(name, tag, channels, bits, frames, extensible=False):
    block = channels * bits // 8
    rate = 11025
    if bits == 32 and tag == 3:
        samples = b"".join(struct.pack("<f", ((i % 8) - 4) / 8.0) for i in range(frames * channels))
    else:
        samples = bytes((i * 37) & 0xFF for i in range(frames * block))
    fmt = struct.pack("<HHIIHH", 0xFFFE if extensible else tag, channels, rate, rate * block, block, bits)
    if extensible:
        guid = struct.pack("<IHH", tag, 0x0000, 0x0010) + bytes([0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71])
        fmt += struct.pack("<HHI", 22, bits, 3 if channels == 2 else 4) + guid
    elif tag != 1:
        fmt += struct.pack("<H", 0)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(samples)) + samples
    with open(os.path.join(ROOT, "wave", name), "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


for d in ("bmp", "wave", "script"):
    os.makedirs(os.path.join(ROOT, d), exist_ok=True)

bmp("ref24.bmp", 24)
bmp("pal1.bmp", 1, colours=2)
bmp("ref24_2.bmp", 24, colours=2)
bmp("pal4.bmp", 4)
bmp("pal8.bmp", 8)
bmp("rle4.bmp", 4, compression=2)
bmp("rle8.bmp", 8, compression=1)
bmp("rgb555.bmp", 16, compression=3, masks="555")
bmp("rgb565.bmp", 16, compression=3, masks="565")
bmp("topdown24.bmp", 24, top_down=True)
bmp("argb32.bmp", 32, alpha=255)
bmp("xrgb32.bmp", 32, alpha=0)
bmp("os2_8.bmp", 8, os2=True)

wav("pcm8_stereo.wav", 1, 2, 8, 12)
wav("pcm16_mono.wav", 1, 1, 16, 12)
wav("pcm24_mono.wav", 1, 1, 24, 12)
wav("float32_stereo.wav", 3, 2, 32, 12)
wav("ext_pcm16_stereo.wav", 1, 2, 16, 12, extensible=True)
wav("ext_float32_mono.wav", 3, 1, 32, 12, extensible=True)

scripts = {
    "play.txt": "# start, turn, fire\n0 down SPACE\n5-40 down LEFT\n40 up LEFT\n41 down SHIFT\n50 other\n",
    "menu.txt": "0 down RETURN\n3 down space\n6 down 0x20\n9-12 down 27\n",
    "bom_crlf.txt": "\xef\xbb\xbf0 down UP\r\n1 up UP\r\n",
}
for name, text in scripts.items():
    with open(os.path.join(ROOT, "script", name), "w", encoding="latin-1", newline="") as f:
        f.write(text)

# 118 bytes claiming a 30000 x 30000 picture of 32 bits: must be refused
# before anything is allocated for it.
huge = struct.pack("<IiiHHIIiiII", 40, 30000, 30000, 1, 32, 0, 0, 2835, 2835, 0, 0)
huge += b"\0" * (118 - 14 - len(huge))
with open(os.path.join(ROOT, "bmp", "huge_header.bmp"), "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", 118, 0, 0, 54) + huge)
