#!/usr/bin/env python3
"""Writes the page's app icons, icon-192.png and icon-512.png, from the title
picture (an uncompressed 24-bit BMP), scaled with bilinear filtering.

    make_icons.py TITLE_BMP OUT_DIR
"""
import struct
import sys
import zlib


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0 or width <= 0 or height == 0:
        raise ValueError("not an uncompressed 24-bit BMP")
    rows = abs(height)
    stride = (width * 3 + 3) & ~3
    if offset + stride * rows > len(data):
        raise ValueError("the pixels run past the end of the file")
    pixels = []
    for y in range(rows):
        source = rows - 1 - y if height > 0 else y  # positive heights are stored bottom-up
        start = offset + source * stride
        row = data[start:start + width * 3]
        pixels.append([(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]) for x in range(width)])
    return width, rows, pixels


def scale(width, height, pixels, size):
    out = []
    for y in range(size):
        fy = min(max((y + 0.5) * height / size - 0.5, 0), height - 1)
        y0 = int(fy)
        y1, wy = min(y0 + 1, height - 1), fy - y0
        row = bytearray()
        for x in range(size):
            fx = min(max((x + 0.5) * width / size - 0.5, 0), width - 1)
            x0 = int(fx)
            x1, wx = min(x0 + 1, width - 1), fx - x0
            for c in range(3):
                top = pixels[y0][x0][c] * (1 - wx) + pixels[y0][x1][c] * wx
                bottom = pixels[y1][x0][c] * (1 - wx) + pixels[y1][x1][c] * wx
                row.append(int(top * (1 - wy) + bottom * wy + 0.5))
        out.append(bytes(row))
    return out


def write_png(path, size, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)  # 8-bit RGB
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_icons.py TITLE_BMP OUT_DIR")
    try:
        width, height, pixels = read_bmp(sys.argv[1])
    except (OSError, ValueError) as error:
        sys.exit(f"make_icons.py: {sys.argv[1]}: {error}")
    for size in (192, 512):
        out = f"{sys.argv[2]}/icon-{size}.png"
        try:
            write_png(out, size, scale(width, height, pixels, size))
        except OSError as error:
            sys.exit(f"make_icons.py: {out}: {error.strerror}")


if __name__ == "__main__":
    main()
