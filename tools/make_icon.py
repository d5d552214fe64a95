#!/usr/bin/env python3
"""Generate the application icon (res/MAINICON.ico).

The icon shows a flatbed scanner: a grey rounded body with a light lid, a
dark lid line, a blue/green glass strip crossed by a bright scan beam, and a
green ready lamp.  The picture is described once on a 48 x 48 logical grid;
each image size samples it with its edges snapped to whole pixels, so the
16 pixel version stays crisp.

Nine images are written (48, 32 and 16 pixels, each at 16 colours, 256
colours and 32-bit BGRA with alpha), all as plain BITMAPINFOHEADER entries
so that every Windows version can read them.  Only the standard library is
used and the output is byte-for-byte identical on every run.

Usage: python3 tools/make_icon.py res/MAINICON.ico
"""

import struct
import sys

LOGICAL = 48.0          # size of the design grid
SUPERSAMPLE = 4         # samples per pixel along each axis

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 32)

# The standard 16 colour Windows palette.
VGA16 = (
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
)

# Colours for the true-colour and 256 colour images: (top, bottom) pairs are
# vertical gradients, (left, right) pairs horizontal ones.
RICH = {
    "outline":   ((0x3A, 0x40, 0x47),),
    "highlight": ((0xFB, 0xFC, 0xFD),),
    "lid":       ((0xEC, 0xEE, 0xF1), (0xC3, 0xC8, 0xCE)),
    "lid_line":  ((0x2A, 0x2F, 0x35),),
    "glass":     ((0x17, 0x4E, 0x9C), (0x16, 0x9C, 0x86)),
    "glass_rim": ((0x1E, 0x2A, 0x38),),
    "beam":      ((0xE6, 0xFF, 0xFB),),
    "base":      ((0xB2, 0xB8, 0xBF), (0x84, 0x8B, 0x93)),
    "slot":      ((0x5C, 0x63, 0x6B),),
    "lamp":      ((0x3C, 0xD8, 0x52),),
}

# The same picture restricted to the 16 standard colours.
CLASSIC = {
    "outline":   ((0x00, 0x00, 0x00),),
    "highlight": ((0xFF, 0xFF, 0xFF),),
    "lid":       ((0xC0, 0xC0, 0xC0),),
    "lid_line":  ((0x00, 0x00, 0x00),),
    "glass":     ((0x00, 0x80, 0x80),),
    "glass_rim": ((0x00, 0x00, 0x80),),
    "beam":      ((0x00, 0xFF, 0xFF),),
    "base":      ((0x80, 0x80, 0x80),),
    "slot":      ((0x00, 0x00, 0x00),),
    "lamp":      ((0x00, 0xFF, 0x00),),
}


def lerp(a, b, t):
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def in_round_rect(x, y, x0, y0, x1, y1, r):
    """True if the point lies inside the rectangle with rounded corners."""
    if x < x0 or x >= x1 or y < y0 or y >= y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    dx, dy = x - cx, y - cy
    return dx * dx + dy * dy <= r * r


class Layout:
    """The scanner geometry for one image size, in pixels."""

    def __init__(self, size, shadow, smooth):
        s = size / LOGICAL
        snap = lambda v: float(round(v * s))
        self.size = size
        # Outer body.
        self.x0, self.x1 = snap(3), snap(45)
        self.y0, self.y1 = snap(12), snap(39)
        # Small sizes and the 16 colour images are drawn as hard pixel art
        # (one sample per pixel); at 16 pixels the radii below cut one pixel
        # off each outer corner and step the outline diagonally.
        self.samples = SUPERSAMPLE if smooth and size >= 32 else 1
        self.radius = 6 * s if size >= 32 else 2.0
        self.inner_radius = self.radius - 1 if size >= 32 else 0.6
        # Lid, lid line and glass strip (from the top down).
        self.line_h = 2.0 if size >= 48 else 1.0
        self.line_y0 = snap(21)
        self.line_y1 = self.line_y0 + self.line_h
        self.glass_y0 = self.line_y1
        self.glass_y1 = snap(30)
        self.glass_x0, self.glass_x1 = snap(9), snap(39)
        self.rim = 1.0 if size >= 32 else 0.0
        # Scan beam across the glass.
        self.beam_x = snap(29)
        self.beam_w = 2.0 if size >= 48 else 1.0
        self.glow = 0.0 if size < 32 else 3.5 * s
        # Paper slot and ready lamp on the front of the base.
        self.slot = size >= 32
        self.slot_y0 = snap(34)
        self.slot_y1 = self.slot_y0 + 1.0
        self.slot_x0, self.slot_x1 = snap(9), snap(30)
        self.lamp_x0, self.lamp_x1 = snap(36), snap(39)
        self.lamp_y0, self.lamp_y1 = snap(33), snap(36)
        if size < 32:
            self.lamp_x0, self.lamp_x1 = snap(36), snap(36) + 1.0
            self.lamp_y0, self.lamp_y1 = snap(33), snap(33) + 1.0
        # Soft shadow under the body (true colour only; too faint to
        # survive in the hard-edged palette images).
        self.shadow = shadow and size >= 32
        self.shadow_cx, self.shadow_cy = 24 * s, 39.5 * s
        self.shadow_rx, self.shadow_ry = 21 * s, 3.5 * s


def paint(g, scheme, x, y):
    """Colour (r, g, b, a) at a sample point, in pixel coordinates."""
    def col(name, t=0.0):
        stops = scheme[name]
        return stops[0] if len(stops) == 1 else lerp(stops[0], stops[1], t)

    if not in_round_rect(x, y, g.x0, g.y0, g.x1, g.y1, g.radius):
        if g.shadow and y > g.y0:
            dx = (x - g.shadow_cx) / g.shadow_rx
            dy = (y - g.shadow_cy) / g.shadow_ry
            d = dx * dx + dy * dy
            if d < 1.0:
                return (0.0, 0.0, 0.0, 0.35 * (1.0 - d))
        return (0.0, 0.0, 0.0, 0.0)
    if not in_round_rect(x, y, g.x0 + 1, g.y0 + 1, g.x1 - 1, g.y1 - 1,
                         g.inner_radius):
        return col("outline") + (1.0,)

    if y < g.line_y0:
        if y < g.y0 + 2 and g.size >= 32:
            return col("highlight") + (1.0,)
        t = (y - g.y0) / max(1.0, g.line_y0 - g.y0)
        return col("lid", t) + (1.0,)
    if y < g.line_y1:
        return col("lid_line") + (1.0,)

    if y < g.glass_y1 and g.glass_x0 <= x < g.glass_x1:
        inner = (g.glass_x0 + g.rim <= x < g.glass_x1 - g.rim
                 and y < g.glass_y1 - g.rim)
        if not inner:
            return col("glass_rim") + (1.0,)
        if g.beam_x <= x < g.beam_x + g.beam_w:
            return col("beam") + (1.0,)
        t = (x - g.glass_x0) / (g.glass_x1 - g.glass_x0)
        c = col("glass", t)
        if g.glow > 0.0:
            d = min(abs(x - g.beam_x), abs(x - (g.beam_x + g.beam_w)))
            if d < g.glow:
                k = (1.0 - d / g.glow) ** 2 * 0.65
                c = lerp(c, col("beam"), k)
        return c + (1.0,)

    if g.lamp_x0 <= x < g.lamp_x1 and g.lamp_y0 <= y < g.lamp_y1:
        return col("lamp") + (1.0,)
    if g.slot and g.slot_x0 <= x < g.slot_x1 and g.slot_y0 <= y < g.slot_y1:
        return col("slot") + (1.0,)
    t = (y - g.line_y1) / max(1.0, g.y1 - g.line_y1)
    return col("base", t) + (1.0,)


def render(size, scheme, shadow=False, smooth=True):
    """Return rows (top-down) of (r, g, b, a) pixels, 0..255 integers."""
    g = Layout(size, shadow, smooth)
    n = g.samples
    offsets = [(i + 0.5) / n for i in range(n)]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for oy in offsets:
                for ox in offsets:
                    r, gg, b, a = paint(g, scheme, px + ox, py + oy)
                    acc[0] += r * a
                    acc[1] += gg * a
                    acc[2] += b * a
                    acc[3] += a
            cnt = n * n
            alpha = acc[3] / cnt
            if alpha <= 0.0:
                row.append((0, 0, 0, 0))
                continue
            rgb = tuple(int(round(acc[i] / acc[3])) for i in range(3))
            row.append(rgb + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def nearest(palette, c):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        dr, dg, db = c[0] - p[0], c[1] - p[1], c[2] - p[2]
        d = 3 * dr * dr + 4 * dg * dg + 2 * db * db
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def median_cut(counts, limit):
    """Reduce a {colour: count} map to at most `limit` colours."""
    boxes = [sorted(counts.items())]
    while len(boxes) < limit:
        best, best_range = None, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                vals = [c[ch] for c, _ in box]
                rng = max(vals) - min(vals)
                if rng > best_range:
                    best, best_range = (i, ch), rng
        if best is None:
            break
        i, ch = best
        box = sorted(boxes[i], key=lambda e: (e[0][ch], e[0]))
        total = sum(n for _, n in box)
        half, run, cut = total / 2.0, 0, 1
        for k, (_, n) in enumerate(box[:-1]):
            run += n
            cut = k + 1
            if run >= half:
                break
        boxes[i:i + 1] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[ch] * n for c, n in box) / total))
                             for ch in range(3)))
    return palette


def opaque_pixels(rows):
    """Hard-edged version of an image for the palette formats."""
    out = []
    for row in rows:
        out.append([p[:3] if p[3] >= 128 else None for p in row])
    return out


def row_bytes(bits, width):
    return ((bits * width + 31) // 32) * 4


def and_mask(size, transparent):
    """AND mask rows, bottom-up: bit set where the screen shows through."""
    data = bytearray()
    stride = row_bytes(1, size)
    for y in range(size - 1, -1, -1):
        line = bytearray(stride)
        for x in range(size):
            if transparent(x, y):
                line[x >> 3] |= 0x80 >> (x & 7)
        data += line
    return bytes(data)


def header(size, bits, image_bytes):
    # Height is doubled: the colour bitmap is followed by the AND mask.
    # Palettes are always full size, so biClrUsed stays 0.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                       image_bytes, 0, 0, 0, 0)


def encode_paletted(size, bits, rows):
    pixels = opaque_pixels(rows)
    if bits == 4:
        palette = list(VGA16)
    else:
        counts = {}
        for row in pixels:
            for p in row:
                if p is not None:
                    counts[p] = counts.get(p, 0) + 1
        # Index 0 stays black: transparent pixels use it.
        palette = [(0, 0, 0)] + median_cut(counts, 255)
        palette += [(0, 0, 0)] * (256 - len(palette))
    lookup = {}
    stride = row_bytes(bits, size)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        line = bytearray(stride)
        for x in range(size):
            p = pixels[y][x]
            if p is None:
                idx = 0
            else:
                if p not in lookup:
                    lookup[p] = nearest(palette, p)
                idx = lookup[p]
            if bits == 8:
                line[x] = idx
            else:
                line[x >> 1] |= idx << (4 if x % 2 == 0 else 0)
        xor += line
    mask = and_mask(size, lambda x, y: pixels[y][x] is None)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header(size, bits, len(xor) + len(mask)) + pal + bytes(xor) + mask


def encode_truecolour(size, rows):
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in rows[y]:
            xor += struct.pack("<BBBB", b, g, r, a)
    mask = and_mask(size, lambda x, y: rows[y][x][3] == 0)
    return header(size, 32, len(xor) + len(mask)) + bytes(xor) + mask


def build_icon():
    images = []
    for size in SIZES:
        for bits in DEPTHS:
            if bits == 32:
                data = encode_truecolour(size, render(size, RICH, shadow=True))
            elif bits == 8:
                data = encode_paletted(size, 8, render(size, RICH))
            else:
                data = encode_paletted(size, 4, render(size, CLASSIC, smooth=False))
            images.append((size, bits, data))

    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0,
                           1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return bytes(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_icon.py OUTPUT.ico\n")
        return 2
    with open(argv[1], "wb") as f:
        f.write(build_icon())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
