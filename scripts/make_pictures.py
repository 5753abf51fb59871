#!/usr/bin/env python3
"""Makes the program's pictures in res/: four icons and three banners.

The icons are drawn here from simple shapes and written as single-image
32-bit .ico files; the banners are set in WenQuanYi Zen Hei by ImageMagick.
The build does not run this; the results are committed.

    python3 scripts/make_pictures.py
"""

import math
import os
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")
FONT = "WenQuanYi-Zen-Hei"  # ImageMagick's name for fonts-wqy-zenhei

# ---------------------------------------------------------------- shapes
# A picture is a list of layers (shape, colour); a shape answers the
# coverage (0..1) of one sample point. Layers are composited in order.


def rgba(hexcode, alpha=1.0):
    v = int(hexcode.lstrip("#"), 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255, alpha)


def disc(cx, cy, r):
    return lambda x, y: 1.0 if (x - cx) ** 2 + (y - cy) ** 2 <= r * r else 0.0


def ring(cx, cy, r_in, r_out):
    def f(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        return 1.0 if r_in * r_in <= d2 <= r_out * r_out else 0.0

    return f


def glow(cx, cy, r_full, r_zero):
    """Full inside r_full, fading smoothly to nothing at r_zero."""

    def f(x, y):
        d = math.hypot(x - cx, y - cy)
        if d <= r_full:
            return 1.0
        if d >= r_zero:
            return 0.0
        t = 1.0 - (d - r_full) / (r_zero - r_full)
        return t * t

    return f


def clock_angle(cx, cy, x, y):
    """Degrees clockwise from twelve o'clock (y grows downwards)."""
    return math.degrees(math.atan2(x - cx, cy - y)) % 360.0


def sector(cx, cy, r, a0, a1):
    def f(x, y):
        if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
            return 0.0
        return 1.0 if a0 <= clock_angle(cx, cy, x, y) <= a1 else 0.0

    return f


def seg_dist(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def capsule(ax, ay, bx, by, half_width):
    return lambda x, y: 1.0 if seg_dist(x, y, ax, ay, bx, by) <= half_width else 0.0


def hand(cx, cy, angle, length, half_width, tail=0.0):
    a = math.radians(angle)
    sx, sy = math.sin(a), -math.cos(a)
    return capsule(cx - sx * tail, cy - sy * tail, cx + sx * length, cy + sy * length, half_width)


def rect(x0, y0, x1, y1):
    return lambda x, y: 1.0 if x0 <= x <= x1 and y0 <= y <= y1 else 0.0


def polygon(points):
    """Convex polygon, points in either winding."""
    n = len(points)

    def f(x, y):
        sign = 0
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            c = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
            if c != 0:
                s = 1 if c > 0 else -1
                if sign and s != sign:
                    return 0.0
                sign = s
        return 1.0

    return f


def rounded_polygon(points, radius):
    """A convex polygon grown by radius: round corners, straight sides."""
    inside = polygon(points)
    n = len(points)

    def f(x, y):
        if inside(x, y):
            return 1.0
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if seg_dist(x, y, ax, ay, bx, by) <= radius:
                return 1.0
        return 0.0

    return f


def render(size, layers, samples):
    """Supersampled render; returns rows top-down of (r, g, b, a) bytes.

    Each sample is composited premultiplied ("over" stays linear then), so
    averaging the samples gives the right colour at soft edges.
    """
    rows = []
    step = 1.0 / samples
    total = samples * samples
    for py in range(size):
        row = []
        for px in range(size):
            pr = pg = pb = pa = 0.0  # premultiplied sums
            for sy in range(samples):
                y = py + (sy + 0.5) * step
                for sx in range(samples):
                    x = px + (sx + 0.5) * step
                    r = g = b = a = 0.0
                    for shape, (cr, cg, cb, ca) in layers:
                        cov = shape(x, y) * ca
                        if cov <= 0.0:
                            continue
                        r = cr * cov + r * (1.0 - cov)
                        g = cg * cov + g * (1.0 - cov)
                        b = cb * cov + b * (1.0 - cov)
                        a = cov + a * (1.0 - cov)
                    pr += r
                    pg += g
                    pb += b
                    pa += a
            a = pa / total
            if a < 1.0 / 510.0:
                row.append((0, 0, 0, 0))
                continue
            row.append(
                (
                    min(255, round(pr / total / a)),
                    min(255, round(pg / total / a)),
                    min(255, round(pb / total / a)),
                    round(a * 255),
                )
            )
        rows.append(row)
    return rows


def ico_bytes(rows):
    """One 32-bit BGRA image with its AND mask, as a whole .ico file."""
    size = len(rows)
    pixels = bytearray()
    for row in reversed(rows):  # DIB rows run bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:  # set bit: transparent where alpha is ignored
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    image_len = 40 + len(pixels) + len(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, image_len, 6 + 16)
    dib = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + entry + dib + bytes(pixels) + bytes(mask)


# ---------------------------------------------------------------- icons

WHITE = rgba("#FFFFFF")
BLACK = rgba("#141414")
RIM = rgba("#7C7299")  # grey-violet
RIM_EDGE = rgba("#5B5278")
TICK = rgba("#6A6A78")
YELLOW = rgba("#FFD21F")
SECTOR = rgba("#FFE066")


def app_icon():
    c, r = 24.0, 23.0
    layers = [
        (disc(c, c, r), RIM_EDGE),
        (disc(c, c, r - 0.9), RIM),
        (disc(c, c, r - 4.2), WHITE),
        # The slice swept from twelve to two o'clock, between the hands.
        (sector(c, c, 16.5, 0.0, 60.0), SECTOR),
    ]
    for hour in range(12):
        outer = 18.0
        inner = 14.8 if hour % 3 == 0 else 16.3
        a = math.radians(hour * 30)
        sx, sy = math.sin(a), -math.cos(a)
        layers.append((capsule(c + sx * inner, c + sy * inner, c + sx * outer, c + sy * outer, 0.75), TICK))
    layers += [
        (hand(c, c, 0.0, 15.0, 1.15, tail=2.5), BLACK),  # minute hand at twelve
        (hand(c, c, 60.0, 10.0, 1.7, tail=2.0), BLACK),  # hour hand at two
        (disc(c, c, 2.4), BLACK),
        (disc(c, c, 1.0), rgba("#FFD21F")),
        # Glowing dot on the rim at the upper right.
        (glow(38.8, 9.2, 3.2, 8.2), rgba("#FFE45C", 0.85)),
        (disc(38.8, 9.2, 3.9), rgba("#C99A00")),
        (disc(38.8, 9.2, 3.2), YELLOW),
        (disc(37.9, 8.3, 1.3), rgba("#FFF6C8")),
    ]
    return render(48, layers, 6)


def tray_icon():
    c, r = 8.0, 7.5
    layers = [
        (disc(c, c, r), RIM_EDGE),
        (disc(c, c, r - 0.6), RIM),
        (disc(c, c, r - 2.0), WHITE),
        # Hands pivot on a pixel centre so the minute hand is one sharp column.
        (sector(7.5, 8.5, 5.2, 0.0, 60.0), SECTOR),
        (rect(7.0, 3.0, 8.0, 9.0), BLACK),
        (hand(7.5, 8.5, 60.0, 3.6, 0.95), BLACK),
        (glow(12.8, 3.2, 1.7, 3.2), rgba("#FFE45C", 0.7)),
        (disc(12.8, 3.2, 2.2), rgba("#C99A00")),
        (disc(12.8, 3.2, 1.7), YELLOW),
    ]
    return render(16, layers, 8)


def info_icon():
    c = 8.0
    layers = [
        (disc(c, c, 7.6), rgba("#1B4FB0")),
        (disc(c, c, 6.8), rgba("#2A6FDB")),
        # The "i" on whole pixels, rows 3 to 12, so it stays sharp.
        (rect(7.0, 3.0, 9.0, 5.0), WHITE),  # dot
        (rect(7.0, 6.0, 9.0, 13.0), WHITE),  # stem
        (rect(6.0, 6.0, 7.0, 7.0), WHITE),  # serif at the top left
        (rect(6.0, 12.0, 10.0, 13.0), WHITE),  # foot
    ]
    return render(16, layers, 8)


def warning_icon():
    # Corners of the inner triangle; growing it by 3 rounds them.
    tri = [(24.0, 5.5), (44.3, 41.8), (3.7, 41.8)]
    inner = [(24.0, 9.8), (40.4, 39.3), (7.6, 39.3)]
    layers = [
        (rounded_polygon(tri, 3.0), rgba("#8E1111")),
        (rounded_polygon(inner, 3.0), rgba("#DD2222")),
        # The bar of the "!" narrows downwards.
        (rounded_polygon([(22.4, 18.0), (25.6, 18.0), (24.8, 30.5), (23.2, 30.5)], 1.0), WHITE),
        (disc(24.0, 35.6, 2.3), WHITE),
    ]
    return render(48, layers, 6)


# ---------------------------------------------------------------- banners

BANNERS = [
    {
        "name": "banner1.jpg",
        "background": ("#0E3B6E", "#1F77C8"),
        "accent": "#FFD21F",
        "title": "速净磁盘清理",
        "lines": ["一键清除垃圾文件，释放磁盘空间", "开机更快，运行更顺"],
        "action": ("点击了解详情", "frame"),
    },
    {
        "name": "banner2.jpg",
        "background": ("#114D2F", "#2E9B5E"),
        "accent": "#FFFFFF",
        "title": "稳存文件备份",
        "lines": ["定时自动备份，重要文件不再丢失", "支持移动硬盘与局域网共享文件夹"],
        "action": ("数据安全，从备份开始", None),
    },
    {
        "name": "banner3.jpg",
        "background": ("#5A1A6E", "#B0367A"),
        "accent": "#FFE066",
        "title": "快截屏幕截图",
        "lines": ["截图、标注、贴图，一步完成", "支持滚动长截图与快捷键"],
        "action": ("免费下载", "button"),
    },
]


def banner_command(b, out):
    top, bottom = b["background"]
    accent = b["accent"]
    cmd = ["convert", "-size", "250x750", "gradient:%s-%s" % (top, bottom)]
    cmd += ["-rotate", "-90"]  # gradient runs left to right
    cmd += ["-fill", "none", "-stroke", "#FFFFFF40", "-strokewidth", "2", "-draw", "rectangle 8,8 741,241"]
    cmd += ["-stroke", "none", "-font", FONT]
    cmd += ["-fill", accent, "-pointsize", "50", "-annotate", "+40+92", b["title"]]
    cmd += ["-fill", "#FFFFFF", "-pointsize", "24"]
    for i, line in enumerate(b["lines"]):
        cmd += ["-annotate", "+42+%d" % (140 + 34 * i), line]
    cmd += ["-fill", "#FFFFFFB0", "-pointsize", "16", "-annotate", "+42+228", "Tervan Software Lab 出品"]
    text, style = b["action"]
    if style == "frame":
        cmd += ["-fill", "none", "-stroke", accent, "-strokewidth", "3", "-draw", "roundrectangle 520,170 712,218 8,8"]
        cmd += ["-stroke", "none", "-fill", accent, "-pointsize", "26", "-annotate", "+538+204", text]
    elif style == "button":
        cmd += ["-stroke", "none", "-fill", accent, "-draw", "roundrectangle 540,160 712,222 12,12"]
        cmd += ["-fill", "#5A1A6E", "-pointsize", "32", "-annotate", "+562+203", text]
    else:
        cmd += ["-fill", accent, "-pointsize", "24", "-annotate", "+470+204", text]
    # Baseline, three components, no metadata: the same bytes every run.
    cmd += ["-strip", "-interlace", "none", "-colorspace", "sRGB", "-type", "TrueColor"]
    cmd += ["-sampling-factor", "2x2,1x1,1x1", "-quality", "88", "jpeg:" + out]
    return cmd


def main():
    os.makedirs(RES, exist_ok=True)
    for name, make in [
        ("app.ico", app_icon),
        ("info.ico", info_icon),
        ("tray.ico", tray_icon),
        ("warning.ico", warning_icon),
    ]:
        with open(os.path.join(RES, name), "wb") as f:
            f.write(ico_bytes(make()))
    for b in BANNERS:
        subprocess.run(banner_command(b, os.path.join(RES, b["name"])), check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
