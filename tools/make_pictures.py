#!/usr/bin/env python3
"""Generates the saver's built-in pictures: the sky and room sphere maps, the digit strip, the
About logo and the program icon. Deterministic: the same bytes on every run and machine.

Usage: make_pictures.py OUTDIR
Writes sky.bmp (129), room.bmp (131), digits.bmp (133), logo.bmp (123), mereflow.ico (100) and
builtin_bitmaps.inc, the packed DIBs of 129, 131 and 133 as C++ arrays for the native build.
"""
import math
import os
import struct
import sys

# ---------------------------------------------------------------- noise without a random module


def hash01(ix, iy, seed):
    """A repeatable value in [0, 1) for an integer lattice point."""
    h = (ix * 374761393 + iy * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFFFF) / float(0x1000000)


def value_noise(x, y, seed):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = hash01(ix, iy, seed)
    b = hash01(ix + 1, iy, seed)
    c = hash01(ix, iy + 1, seed)
    d = hash01(ix + 1, iy + 1, seed)
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy


def fractal(x, y, seed, octaves=5):
    total, amplitude, norm = 0.0, 1.0, 0.0
    for octave in range(octaves):
        total += value_noise(x, y, seed + octave) * amplitude
        norm += amplitude
        x, y, amplitude = x * 2.03, y * 2.03, amplitude * 0.5
    return total / norm


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp01(v):
    return max(0.0, min(1.0, v))


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------- sphere maps


def sphere_map(size, environment, outside):
    """Renders a sphere-map picture: each pixel of the disc shows the environment in the
    direction that a mirror sphere reflects toward the viewer. Rows are returned top first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            colour = [0.0, 0.0, 0.0]
            samples = 0
            for sy in (0.25, 0.75):
                for sx in (0.25, 0.75):
                    u = (px + sx) / size * 2 - 1
                    v = 1 - (py + sy) / size * 2
                    r2 = u * u + v * v
                    if r2 > 1:
                        c = outside
                    else:
                        nz = math.sqrt(1 - r2)
                        # The reflection of the view direction (0, 0, -1) about the normal.
                        reflected = (2 * nz * u, 2 * nz * v, 2 * nz * nz - 1)
                        c = environment(reflected)
                    colour = [colour[i] + c[i] for i in range(3)]
                    samples += 1
            row.append(tuple(v / samples for v in colour))
        rows.append(row)
    return rows


def sky(direction):
    x, y, z = direction
    # Sky all round: the half below the horizon is a second sky with clouds of its own, so the
    # water mirrors sky wherever its normals point.
    elevation = abs(y)
    seed = 11 if y >= 0 else 47
    zenith = (0.10, 0.32, 0.78)
    horizon = (0.62, 0.80, 0.97)
    base = mix(horizon, zenith, smoothstep(0.0, 0.9, elevation))
    # Clouds on a plane high above: far ones crowd toward the horizon.
    height = elevation + 0.18
    cx, cz = x / height * 0.9, z / height * 0.9
    density = fractal(cx * 1.6 + 7.3, cz * 1.6 + 2.1, seed)
    cover = smoothstep(0.47, 0.68, density) * smoothstep(0.0, 0.2, elevation)
    shade = 0.82 + 0.18 * smoothstep(0.5, 0.8, fractal(cx * 3.1, cz * 3.1, seed + 18))
    return mix(base, (shade, shade, shade), cover)


def room(direction):
    x, y, z = direction
    # Where the ray from the room's middle meets the walls of a box 2 wide, 1.2 high, 2 deep.
    half = (1.0, 0.6, 1.0)
    t = min(half[i] / abs(direction[i]) if abs(direction[i]) > 1e-9 else 1e9 for i in range(3))
    hx, hy, hz = x * t, y * t, z * t
    wood = (0.36, 0.16, 0.08)
    dark = (0.16, 0.06, 0.03)
    if abs(hy) >= half[1] - 1e-6:
        if hy > 0:
            # Ceiling with round lights.
            grain = fractal(hx * 3, hz * 3, 5)
            colour = mix(dark, wood, 0.4 + 0.4 * grain)
            for lx, lz in ((-0.5, -0.5), (0.5, -0.5), (-0.5, 0.5), (0.5, 0.5), (0.0, 0.0)):
                d = math.hypot(hx - lx, hz - lz)
                colour = mix(colour, (1.0, 1.0, 0.97), smoothstep(0.16, 0.08, d))
                colour = mix(colour, (1.0, 0.85, 0.65), 0.35 * smoothstep(0.35, 0.1, d))
            return colour
        # Floor boards.
        board = math.floor(hx * 6)
        grain = fractal(hx * 1.5 + board * 3.7, hz * 14, 17)
        return mix(dark, wood, 0.35 + 0.5 * grain)
    # Walls: panelled wood with tall windows.
    along = hx if abs(hz) >= half[2] - 1e-6 else hz
    grain = fractal(along * 2 + 13 * (hz > 0) + 7 * (hx > 0), hy * 18, 23)
    colour = mix(dark, wood, 0.45 + 0.55 * grain)
    window_x = (along + 1.0) / 2.0 * 3.0
    cell = window_x - math.floor(window_x)
    inside = abs(cell - 0.5) < 0.26 and -0.25 < hy < 0.45
    if inside:
        # Window bars darken thin lines of the bright glass.
        bar = abs(cell - 0.5) < 0.015 or abs(hy - 0.1) < 0.015
        return (0.25, 0.12, 0.06) if bar else (1.0, 1.0, 1.0)
    glow = smoothstep(0.4, 0.26, abs(cell - 0.5)) * smoothstep(0.7, 0.45, abs(hy - 0.1))
    return mix(colour, (0.95, 0.75, 0.55), 0.25 * glow)


# ---------------------------------------------------------------- digits and text


# Seven segments a to g on a 10 x 17 cell: (x0, y0, x1, y1) of each bar, y downward.
SEGMENTS = {
    "a": (2, 0, 8, 2),
    "b": (8, 1, 10, 8),
    "c": (8, 9, 10, 16),
    "d": (2, 15, 8, 17),
    "e": (0, 9, 2, 16),
    "f": (0, 1, 2, 8),
    "g": (2, 7.5, 8, 9.5),
}
DIGIT_SEGMENTS = ["abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"]


def segment_cover(sx, sy, bar):
    """How much of a bar with chamfered ends covers the point (sx, sy), in glyph units."""
    x0, y0, x1, y1 = bar
    inset = min(x1 - x0, y1 - y0) / 2
    if not (x0 <= sx <= x1 and y0 <= sy <= y1):
        return 0.0
    # Chamfer the ends so neighbouring bars meet like a display's.
    if x1 - x0 > y1 - y0:
        edge = min(sx - x0, x1 - sx)
        return 1.0 if edge + inset >= abs(sy - (y0 + y1) / 2) + inset * 0.999 else 0.0
    edge = min(sy - y0, y1 - sy)
    return 1.0 if edge + inset >= abs(sx - (x0 + x1) / 2) + inset * 0.999 else 0.0


def digit_strip():
    width, height, cell = 200, 23, 20
    rows = [[(0.0, 0.0, 0.0)] * width for _ in range(height)]
    slant = 0.22  # italic shear: the glyph leans right toward its top
    for digit in range(10):
        for py in range(height):
            for px in range(cell):
                hits = 0
                for sy in (0.125, 0.375, 0.625, 0.875):
                    for sx in (0.125, 0.375, 0.625, 0.875):
                        gy = (py + sy - 3) * (17.0 / 17.0)
                        gx = (px + sx - 4) + (gy - 17) * slant
                        if any(segment_cover(gx, gy, SEGMENTS[s]) for s in DIGIT_SEGMENTS[digit]):
                            hits += 1
                cover = hits / 16.0
                rows[py][digit * cell + px] = (0.25 * cover, cover, 0.3 * cover)
    return rows


# A 5 x 7 font for the logo's letters.
FONT = {
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "e": ["00000", "00000", "01110", "10001", "11111", "10000", "01111"],
    "r": ["00000", "00000", "10110", "11001", "10000", "10000", "10000"],
    "f": ["00110", "01001", "01000", "11100", "01000", "01000", "01000"],
    "l": ["01100", "00100", "00100", "00100", "00100", "00100", "01110"],
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "w": ["00000", "00000", "10001", "10001", "10101", "10101", "01010"],
    " ": ["00000"] * 7,
}


def logo():
    width, height = 230, 41
    rows = []
    text = "3D Mereflow"
    scale = 3
    text_width = len(text) * 6 * scale
    left = 8
    top = (height - 7 * scale) // 2
    for py in range(height):
        row = []
        for px in range(width):
            # A water gradient with soft waves behind the text.
            wave = 0.5 + 0.5 * math.sin(px * 0.11 + math.sin(py * 0.3) * 1.5)
            depth = py / (height - 1)
            colour = mix((0.55, 0.80, 0.95), (0.05, 0.22, 0.50), depth)
            colour = mix(colour, (0.75, 0.90, 1.0), 0.15 * wave)
            tx, ty = (px - left) // scale, (py - top) // scale
            if 0 <= px - left < text_width and 0 <= ty < 7:
                ch = text[tx // 6]
                col = tx % 6
                if col < 5 and FONT[ch][ty][col] == "1":
                    colour = (1.0, 1.0, 1.0)
                # A shadow one pixel down and right of each letter pixel.
            sx, sy = (px - left - 2) // scale, (py - top - 2) // scale
            if colour != (1.0, 1.0, 1.0) and 0 <= px - left - 2 < text_width and 0 <= sy < 7:
                ch = text[sx // 6]
                col = sx % 6
                if col < 5 and FONT[ch][sy][col] == "1":
                    colour = mix(colour, (0.0, 0.05, 0.15), 0.6)
            row.append(colour)
        rows.append(row)
    return rows


def icon_image(size):
    """A water drop over ripples, as BGRA rows top first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            u = (px + 0.5) / size * 2 - 1
            v = (py + 0.5) / size * 2 - 1
            # The drop: a circle below, narrowing to a point above.
            cy = 0.25
            r = 0.55
            in_circle = u * u + (v - cy) ** 2 <= r * r
            in_tip = -0.95 <= v <= cy and abs(u) <= (v + 0.95) / (cy + 0.95) * r * 0.98
            alpha = 1.0 if (in_circle or in_tip) else 0.0
            light = clamp01(0.9 - 0.5 * (u + 0.3) ** 2 - 0.4 * (v - 0.1) ** 2)
            colour = mix((0.05, 0.25, 0.70), (0.55, 0.85, 1.0), light)
            if (u + 0.2) ** 2 + (v - 0.05) ** 2 < 0.012:
                colour = (1.0, 1.0, 1.0)
            row.append((colour, alpha))
        rows.append(row)
    return rows


# ---------------------------------------------------------------- file formats


def to_byte(v):
    return max(0, min(255, int(round(v * 255))))


def packed_dib_24(rows):
    """BITMAPINFOHEADER, no colour table, 24-bit rows bottom first, padded to 4 bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, stride * height, 2835, 2835, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((to_byte(b), to_byte(g), to_byte(r)))
        line += b"\0" * (stride - len(line))
        pixels += line
    return header + bytes(pixels)


def packed_dib_8(rows):
    """A 256-colour DIB: a palette of 6 x 7 x 6 colours, the rest black, and nearest matches."""
    levels_r, levels_g, levels_b = 6, 7, 6
    palette = []
    for r in range(levels_r):
        for g in range(levels_g):
            for b in range(levels_b):
                palette.append((r / (levels_r - 1), g / (levels_g - 1), b / (levels_b - 1)))
    palette += [(0.0, 0.0, 0.0)] * (256 - len(palette))
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, stride * height, 2835, 2835, 256, 0)
    table = b"".join(bytes((to_byte(b), to_byte(g), to_byte(r), 0)) for r, g, b in palette)
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            ri = int(round(clamp01(r) * (levels_r - 1)))
            gi = int(round(clamp01(g) * (levels_g - 1)))
            bi = int(round(clamp01(b) * (levels_b - 1)))
            line.append((ri * levels_g + gi) * levels_b + bi)
        line += b"\0" * (stride - len(line))
        pixels += line
    return header + table + bytes(pixels)


def bmp_file(dib):
    bits_offset = 14 + struct.unpack_from("<I", dib, 0)[0]
    colours = struct.unpack_from("<I", dib, 32)[0]
    bits_offset += colours * 4
    return struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, bits_offset) + dib


def icon_file(sizes):
    """An .ico with 32-bit images (alpha) and their AND masks."""
    images = []
    for size in sizes:
        rows = icon_image(size)
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        xor = bytearray()
        for row in reversed(rows):
            for (r, g, b), a in row:
                xor += bytes((to_byte(b), to_byte(g), to_byte(r), to_byte(a)))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (_, a) in enumerate(row):
                if a < 0.5:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        images.append((size, header + bytes(xor) + bytes(mask)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return directory + body


def cpp_array(name, data):
    lines = ["static const unsigned char %s[%d] = {" % (name, len(data))]
    for start in range(0, len(data), 24):
        lines.append("    " + ", ".join(str(b) for b in data[start:start + 24]) + ",")
    lines.append("};")
    return "\n".join(lines)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {
        "sky": (129, packed_dib_24(sphere_map(256, sky, (1.0, 1.0, 1.0)))),
        "room": (131, packed_dib_24(sphere_map(256, room, (0.0, 0.0, 0.0)))),
        "digits": (133, packed_dib_24(digit_strip())),
    }
    for name, (_, dib) in pictures.items():
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp_file(dib))
    with open(os.path.join(out, "logo.bmp"), "wb") as f:
        f.write(bmp_file(packed_dib_8(logo())))
    with open(os.path.join(out, "mereflow.ico"), "wb") as f:
        f.write(icon_file([32, 16, 48]))
    with open(os.path.join(out, "builtin_bitmaps.inc"), "w") as f:
        f.write("// Generated by tools/make_pictures.py: the packed DIBs of the built-in bitmaps.\n")
        for name, (_, dib) in pictures.items():
            f.write(cpp_array("k%sBitmap" % name.capitalize(), dib) + "\n")
        f.write("static const EmbeddedBitmap kEmbeddedBitmaps[] = {\n")
        for name, (resource_id, _) in pictures.items():
            f.write("    {%d, k%sBitmap},\n" % (resource_id, name.capitalize()))
        f.write("};\n")


if __name__ == "__main__":
    main()
