#!/usr/bin/env python3
"""Makes the sample dialog designs of the end-plate beam connection.

Draws two technical pictures as 24-bit BMP files and writes, beside each, the
design file that places the dialog's controls on it:

  EndPlate\\General  side view: column flange, gap, end plate, beam with its
                     flanges, welds, and dimensions for the plate thickness,
                     the gap, the plate height, the overhang and the end cut;
  EndPlate\\Bolts    front view of the end plate: the beam section, the bolt
                     holes in rows and columns, and dimensions for the pitch,
                     the gauge, the end and the edge distances, beside the
                     bolt data.

White pixels are transparent when the design is shown (the dialog's
background shows through), so the pictures are drawn on white and every
control sits on white room next to its dimension. Control positions are
factors of the picture's width and height and follow the drawing, so moving
a part of the drawing moves its fields with it.

Usage:
  make-design-pictures.py [--library DIR]          write the pictures and designs
  make-design-pictures.py --check [--library DIR]  read them back and verify them
  make-design-pictures.py --png DIR                also write PNG previews with the
                                                   controls outlined

Standard library only.
"""

import argparse
import json
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_LIBRARY = os.path.join(HERE, "..", "examples", "library")
DESIGN_FOLDER = os.path.join("Dialog Templates", "Dialog Design")
SUBFOLDER = "EndPlate"
MACRO = os.path.join("Macros", "EndPlateBeam.json")

# Colours (R, G, B).
WHITE = (255, 255, 255)
OUTLINE = (38, 52, 84)  # visible edges of steel parts
THIN = (70, 86, 120)  # dimension and extension lines, arrowheads
CENTRE = (110, 120, 150)  # centre lines and the cut line
STEEL = (226, 232, 242)  # fill of steel parts
SECTION = (200, 210, 228)  # fill of the cut beam section
WELD = (38, 52, 84)

# Control types of the design file.
CT_TEXT, CT_GROUP, CT_EDIT, CT_COMBO = 0, 1, 2, 3
CT_PATTERN_COUNT1, CT_PATTERN_COUNT2 = 4, 5
CT_BOLT_DATA1, CT_BOLT_DATA2, CT_BOLT_DATA3 = 7, 8, 9
CT_BOLT_BUTTON = 12
CT_CUT_COMBO, CT_CHECK = 28, 29

EDIT_W, EDIT_H = 56, 20
TEXT_H = 16
CHAR_W = 7  # width of a character of the dialog font, with room to spare


def text_width(caption):
    return len(caption) * CHAR_W + 4


# ---------------------------------------------------------------- drawing


class Canvas:
    """An RGB picture with the few drawing operations of a technical drawing."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[WHITE] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def dot(self, x, y, colour, width):
        # A square brush centred on the point: width 1 is the pixel itself.
        lo = -((width - 1) // 2)
        for dy in range(lo, lo + width):
            for dx in range(lo, lo + width):
                self.put(x + dx, y + dy, colour)

    def line(self, x0, y0, x1, y1, colour, width=1, dash=None):
        """Bresenham from (x0, y0) to (x1, y1); dash is a list of on/off
        lengths in pixels along the line (None: solid)."""
        x0, y0, x1, y1 = int(round(x0)), int(round(y0)), int(round(x1)), int(round(y1))
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        step = 0
        period = sum(dash) if dash else 0
        while True:
            if self._dash_on(dash, period, step):
                self.dot(x0, y0, colour, width)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy
            step += 1

    @staticmethod
    def _dash_on(dash, period, step):
        if not dash:
            return True
        pos = step % period
        for i, length in enumerate(dash):
            if pos < length:
                return i % 2 == 0
            pos -= length
        return True

    def polyline(self, points, colour, width=1, dash=None):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, colour, width, dash)

    def fill_rect(self, left, top, right, bottom, colour):
        for y in range(max(0, top), min(self.height, bottom)):
            for x in range(max(0, left), min(self.width, right)):
                self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour, width=1, fill=None):
        """The rectangle with corners (left, top) and (right, bottom), both
        on the outline."""
        if fill:
            self.fill_rect(left, top, right + 1, bottom + 1, fill)
        self.polyline(
            [(left, top), (right, top), (right, bottom), (left, bottom), (left, top)], colour, width
        )

    def triangle(self, a, b, c, colour):
        """A filled triangle: every pixel whose centre lies inside or on it."""
        xs = [a[0], b[0], c[0]]
        ys = [a[1], b[1], c[1]]

        def edge(p, q, x, y):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

        area = edge(a, b, c[0], c[1])
        if area == 0:
            return
        sign = 1 if area > 0 else -1
        lengths = [math.hypot(q[0] - p[0], q[1] - p[1]) for p, q in ((b, c), (c, a), (a, b))]
        for y in range(int(math.floor(min(ys))), int(math.ceil(max(ys))) + 1):
            for x in range(int(math.floor(min(xs))), int(math.ceil(max(xs))) + 1):
                # Signed distances from the three edges; half a pixel outside
                # still counts, so thin tips keep their shape.
                d = [sign * edge(p, q, x, y) / n for (p, q), n in zip(((b, c), (c, a), (a, b)), lengths)]
                if min(d) >= -0.5:
                    self.put(x, y, colour)

    def circle(self, cx, cy, r, colour, width=1, fill=None):
        """Midpoint circle; fill paints the inside first."""
        if fill:
            for y in range(-r, r + 1):
                half = int(math.sqrt(max(0, r * r - y * y)))
                for x in range(-half, half + 1):
                    self.put(cx + x, cy + y, fill)
        x, y, err = r, 0, 1 - r
        while x >= y:
            for px, py in ((x, y), (y, x), (-y, x), (-x, y), (-x, -y), (-y, -x), (y, -x), (x, -y)):
                self.dot(cx + px, cy + py, colour, width)
            y += 1
            if err < 0:
                err += 2 * y + 1
            else:
                x -= 1
                err += 2 * (y - x) + 1

    # -- drawing conventions

    def arrow(self, tip_x, tip_y, dir_x, dir_y, length=7, half=2.6):
        """A filled arrowhead whose tip is at the point and which points in
        the direction (dir_x, dir_y)."""
        n = math.hypot(dir_x, dir_y)
        ux, uy = dir_x / n, dir_y / n
        bx, by = tip_x - ux * length, tip_y - uy * length
        self.triangle(
            (tip_x, tip_y), (bx - uy * half, by + ux * half), (bx + uy * half, by - ux * half), THIN
        )

    def hdim(self, x1, x2, y, ext=(), outside=False, tail=14):
        """A horizontal dimension between x1 and x2 on the line y. ext lists
        extension lines as (x, y_from): each runs from y_from to 3 pixels
        past the dimension line. Short dimensions put their arrowheads
        outside, pointing in, with tails of `tail` pixels."""
        for x, y_from in ext:
            end = y + 3 if y > y_from else y - 3
            start = y_from + (2 if y > y_from else -2)
            self.line(x, start, x, end, THIN)
        if outside:
            self.line(x1 - tail, y, x1, y, THIN)
            self.line(x2, y, x2 + tail, y, THIN)
            self.arrow(x1, y, 1, 0)
            self.arrow(x2, y, -1, 0)
        else:
            self.line(x1, y, x2, y, THIN)
            self.arrow(x1, y, -1, 0)
            self.arrow(x2, y, 1, 0)

    def vdim(self, y1, y2, x, ext=(), outside=False, tail=14):
        """A vertical dimension between y1 and y2 on the line x; ext lists
        (y, x_from) as for hdim."""
        for y, x_from in ext:
            end = x + 3 if x > x_from else x - 3
            start = x_from + (2 if x > x_from else -2)
            self.line(start, y, end, y, THIN)
        if outside:
            self.line(x, y1 - tail, x, y1, THIN)
            self.line(x, y2, x, y2 + tail, THIN)
            self.arrow(x, y1, 0, 1)
            self.arrow(x, y2, 0, -1)
        else:
            self.line(x, y1, x, y2, THIN)
            self.arrow(x, y1, 0, -1)
            self.arrow(x, y2, 0, 1)

    def break_line_h(self, x1, x2, y, colour=OUTLINE):
        """A horizontal break line with one zig-zag in the middle."""
        m = (x1 + x2) // 2
        self.polyline([(x1 - 3, y), (m - 4, y), (m - 1, y - 5), (m + 2, y + 5), (m + 5, y), (x2 + 3, y)], colour)

    def break_line_v(self, x, y1, y2, colour=OUTLINE):
        m = (y1 + y2) // 2
        self.polyline([(x, y1 - 3), (x, m - 4), (x - 5, m - 1), (x + 5, m + 2), (x, m + 5), (x, y2 + 3)], colour)

    def fillet_weld(self, x, y, toward_x, toward_y, size=6):
        """A fillet weld seen along its length: a filled right triangle in the
        corner at (x, y) whose legs run toward_x and toward_y (each ±1)."""
        self.triangle((x, y), (x + toward_x * size, y), (x, y + toward_y * size), WELD)


# ---------------------------------------------------------------- files


def write_bmp(path, canvas):
    """24-bit uncompressed BMP, rows bottom-up, each padded to 4 bytes."""
    row_bytes = (canvas.width * 3 + 3) & ~3
    pad = b"\0" * (row_bytes - canvas.width * 3)
    data = bytearray()
    for row in reversed(canvas.pixels):
        for r, g, b in row:
            data += bytes((b, g, r))
        data += pad
    header = struct.pack(
        "<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40
    ) + struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    write_atomic(path, header + bytes(data))


def read_bmp(path):
    """Reads a BMP written by write_bmp: (width, height, rows of RGB)."""
    with open(path, "rb") as f:
        raw = f.read()
    if raw[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", raw, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", raw, 18)
    if bits != 24:
        raise ValueError(f"{path}: {bits} bits a pixel, 24 expected")
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        start = offset + y * row_bytes
        rows.append([(raw[start + 3 * x + 2], raw[start + 3 * x + 1], raw[start + 3 * x]) for x in range(width)])
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def write_png(path, rows):
    """An 8-bit RGB PNG of the rows."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for r, g, b in row:
            raw += bytes((r, g, b))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    write_atomic(path, png)


def write_atomic(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def factor(pixels, size):
    # Six decimals bring every factor back to its whole pixel.
    return round(pixels / size, 6)


def write_design(path, controls, width, height):
    """The design file: a properties list in the core's text form."""
    lines = ["Krv properties version 1", f"i\tnrOfControls\t{len(controls)}"]
    for i, c in enumerate(controls):
        left, top, right, bottom = c["rect"]
        lines.append(f"i\ttype{i}\t{c['type']}")
        lines.append(f"d\ttopLeftX{i}\t{factor(left, width)!r}")
        lines.append(f"d\ttopLeftY{i}\t{factor(top, height)!r}")
        lines.append(f"d\tbottomRightX{i}\t{factor(right, width)!r}")
        lines.append(f"d\tbottomRightY{i}\t{factor(bottom, height)!r}")
        lines.append(f"s\tcontents{i}\t{escape(c.get('contents', ''))}")
        lines.append(f"s\tcomboList{i}\t{escape(c.get('comboList', ''))}")
    write_atomic(path, ("\n".join(lines) + "\n").encode("utf-8"))


def read_design(path):
    """The controls of a design file as dicts with type, rect (factors),
    contents and comboList."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines[0] != "Krv properties version 1":
        raise ValueError(f"{path}: not a properties list of version 1")
    props = {}
    for n, line in enumerate(lines[1:], start=2):
        if not line:
            continue
        parts = line.split("\t")
        if len(parts) != 3 or parts[0] not in ("i", "d", "s"):
            raise ValueError(f"{path}: line {n}: not a property")
        kind, name, value = parts
        props[unescape(name)] = int(value) if kind == "i" else float(value) if kind == "d" else unescape(value)
    controls = []
    for i in range(props.get("nrOfControls", 0)):
        controls.append(
            {
                "type": props.get(f"type{i}", 0),
                "rect": tuple(props.get(f"{k}{i}", 0.0) for k in ("topLeftX", "topLeftY", "bottomRightX", "bottomRightY")),
                "contents": props.get(f"contents{i}", ""),
                "comboList": props.get(f"comboList{i}", ""),
            }
        )
    return controls


# ---------------------------------------------------------------- layout helpers


def label(x, y, caption, right_aligned_at=None, cell=""):
    """A static text whose top-left corner is (x, y), or whose right edge is
    right_aligned_at."""
    w = text_width(caption)
    if right_aligned_at is not None:
        x = right_aligned_at - w
    c = {"type": CT_TEXT, "rect": (x, y, x + w, y + TEXT_H), "contents": caption}
    if cell:
        c["comboList"] = cell
    return c


def field(kind, x, y, contents="", combo_list="", width=EDIT_W):
    return {"type": kind, "rect": (x, y, x + width, y + EDIT_H), "contents": contents, "comboList": combo_list}


def labelled(kind, caption, x, y, contents, combo_list="", gap=4, width=EDIT_W):
    """A label and its field on one line, the field's top-left at (x + label
    width + gap, y); the label is centred on the field's height."""
    text = label(x, y + (EDIT_H - TEXT_H) // 2, caption)
    fx = text["rect"][2] + gap
    return [text, field(kind, fx, y, contents, combo_list, width)]


def item_file_name(name):
    return "\\".join((DESIGN_FOLDER.replace(os.sep, "\\"), SUBFOLDER, name))


# ---------------------------------------------------------------- the general page


def general_page():
    W, H = 420, 300
    cv = Canvas(W, H)
    # Scale about 0.51 pixel per mm: plate 360 high, beam 300 deep, 30 overhang.
    plate_l, plate_r = 92, 104  # plate thickness (exaggerated)
    plate_t, plate_b = 70, 254
    col_web_l, col_flange_in, col_face = 36, 76, 84  # column flange 76..84, gap 84..92
    col_t, col_b = 60, 266
    beam_t, beam_b = plate_t + 15, plate_b - 15
    flange = 6
    beam_end = 246  # break of the beam

    # Column: flange band and part of the web, broken off at the top, the
    # bottom and on the far side.
    cv.fill_rect(col_web_l, col_t, col_face + 1, col_b + 1, STEEL)
    cv.line(col_face, col_t, col_face, col_b, OUTLINE, 2)
    cv.line(col_flange_in, col_t, col_flange_in, col_b, OUTLINE, 1)
    cv.break_line_h(col_web_l, col_face, col_t)
    cv.break_line_h(col_web_l, col_face, col_b)
    cv.break_line_v(col_web_l, col_t, col_b)

    # End plate.
    cv.rect(plate_l, plate_t, plate_r, plate_b, OUTLINE, 2, fill=STEEL)

    # Beam: flanges and the web between them, broken off on the right.
    cv.fill_rect(plate_r + 1, beam_t, beam_end, beam_t + flange + 1, STEEL)
    cv.fill_rect(plate_r + 1, beam_b - flange, beam_end, beam_b + 1, STEEL)
    for y in (beam_t, beam_b):
        cv.line(plate_r, y, beam_end, y, OUTLINE, 2)
    for y in (beam_t + flange, beam_b - flange):
        cv.line(plate_r, y, beam_end, y, OUTLINE, 1)
    cv.break_line_v(beam_end, beam_t, beam_b)
    # Beam axis.
    mid = (beam_t + beam_b) // 2
    cv.line(plate_r + 4, mid, beam_end + 14, mid, CENTRE, 1, [12, 3, 2, 3])

    # Fillet welds between the flanges and the plate, on both sides of each
    # flange, and the web weld as a short hatched band along the plate.
    cv.fillet_weld(plate_r + 1, beam_t - 1, 1, -1)
    cv.fillet_weld(plate_r + 1, beam_t + flange + 1, 1, 1)
    cv.fillet_weld(plate_r + 1, beam_b - flange - 1, 1, -1)
    cv.fillet_weld(plate_r + 1, beam_b + 1, 1, 1)
    for y in range(beam_t + flange + 10, beam_b - flange - 8, 5):
        cv.line(plate_r + 1, y + 3, plate_r + 4, y, WELD)

    # Gap between the column face and the plate: ext lines up, arrows outside.
    dim_gap_y = 30
    cv.hdim(col_face, plate_l, dim_gap_y, ext=[(col_face, col_t - 4), (plate_l, plate_t)], outside=True, tail=12)
    # Plate thickness, above: arrows outside, on its own line.
    dim_thick_y = 50
    cv.hdim(plate_l, plate_r, dim_thick_y, ext=[(plate_r, plate_t)], outside=True, tail=12)

    # Plate height and overhang on the right, over the broken beam.
    dim_over_x, dim_height_x = 268, 290
    cv.vdim(plate_t, beam_t, dim_over_x, ext=[(beam_t, beam_end + 4)], outside=True, tail=12)
    cv.line(plate_r + 2, plate_t, dim_height_x + 3, plate_t, THIN)
    cv.line(plate_r + 2, plate_b, dim_height_x + 3, plate_b, THIN)
    cv.vdim(plate_t, plate_b, dim_height_x)

    # End cut: the beam is cut at the plate's face; the cut line runs below
    # the plate and is dimensioned from the column face.
    cut_y = 284
    cv.line(plate_r, plate_b + 3, plate_r, cut_y + 8, CENTRE, 1, [10, 3, 2, 3])
    cv.hdim(col_face, plate_r, cut_y, ext=[(col_face, col_b + 6)])

    # Weld callout inside the beam's web: a leader from the web weld to a
    # reference line carrying the fillet weld symbol.
    weld_x, weld_y = plate_r + 5, beam_t + 56
    ref_y, ref_l, ref_r = beam_t + 36, plate_r + 30, plate_r + 66
    cv.line(weld_x, weld_y, ref_l, ref_y, THIN)
    cv.arrow(weld_x, weld_y, weld_x - ref_l, weld_y - ref_y)
    cv.line(ref_l, ref_y, ref_r, ref_y, THIN)
    cv.triangle((ref_l + 10, ref_y), (ref_l + 20, ref_y), (ref_l + 10, ref_y + 8), THIN)

    controls = []
    # Gap: label and edit right of the dimension's tail.
    controls += labelled(CT_EDIT, "Gap", plate_l + 18, dim_gap_y - 12, "Gap")
    # Thickness: label and a combo of the usual plate thicknesses.
    controls += labelled(CT_COMBO, "Thickness", plate_r + 18, dim_thick_y - 10, "Thick", item_file_name("PlateThicknesses.lst"))
    # Overhang and plate height beside their dimension lines.
    controls += labelled(CT_EDIT, "Overhang", dim_height_x + 8, (plate_t + beam_t) // 2 - 8, "Overhang", width=50)
    controls += labelled(CT_EDIT, "Height", dim_height_x + 8, (plate_t + plate_b) // 2 - 10, "Height", width=50)
    # Extended end plate: checked while the plate reaches past the flange
    # (the overhang is not settable, so the box only shows it).
    caption = "Extended end plate"
    controls.append({"type": CT_CHECK, "rect": (W - 24 - text_width(caption), cut_y - 9, W - 4, cut_y + 9), "contents": caption, "comboList": "Overhang"})
    # End cut, right of its dimension.
    controls += labelled(CT_CUT_COMBO, "End cut", plate_r + 14, cut_y - 10, "EndCut", width=80)
    # Weld size: the label above the reference line, the field at its end.
    controls.append(label(ref_l, ref_y - TEXT_H - 2, "Weld"))
    controls.append(field(CT_EDIT, ref_r + 4, ref_y - 10, "WeldSize", width=44))
    return cv, controls, (W, H)


# ---------------------------------------------------------------- the bolts page


def bolts_page():
    W, H = 360, 320
    cv = Canvas(W, H)
    # Scale 0.6 pixel per mm: plate 200 x 360, section 150 x 300.
    plate_l, plate_r = 60, 180
    plate_t, plate_b = 44, 260
    cx = (plate_l + plate_r) // 2
    sec_half, sec_t, sec_b = 45, plate_t + 18, plate_b - 18
    flange, web_half = 6, 2
    cols = [cx - 30, cx + 30]  # gauge 100
    rows = [plate_t + 40, plate_t + 82, plate_t + 124]  # end distance, pitch 70
    hole_r = 7

    # Plate, then the cut beam section in front of it.
    cv.rect(plate_l, plate_t, plate_r, plate_b, OUTLINE, 2, fill=STEEL)
    section = [
        (cx - sec_half, sec_t), (cx + sec_half, sec_t), (cx + sec_half, sec_t + flange),
        (cx + web_half, sec_t + flange), (cx + web_half, sec_b - flange), (cx + sec_half, sec_b - flange),
        (cx + sec_half, sec_b), (cx - sec_half, sec_b), (cx - sec_half, sec_b - flange),
        (cx - web_half, sec_b - flange), (cx - web_half, sec_t + flange), (cx - sec_half, sec_t + flange),
        (cx - sec_half, sec_t),
    ]
    cv.fill_rect(cx - sec_half, sec_t, cx + sec_half + 1, sec_t + flange + 1, SECTION)
    cv.fill_rect(cx - sec_half, sec_b - flange, cx + sec_half + 1, sec_b + 1, SECTION)
    cv.fill_rect(cx - web_half, sec_t + flange, cx + web_half + 1, sec_b - flange, SECTION)
    cv.polyline(section, OUTLINE, 1)

    # Bolt holes with their centre lines.
    for y in rows:
        cv.line(plate_l - 6, y, plate_r + 6, y, CENTRE, 1, [8, 3, 2, 3])
    for x in cols:
        cv.line(x, plate_t - 6, x, plate_b + 6, CENTRE, 1, [8, 3, 2, 3])
    for x in cols:
        for y in rows:
            cv.circle(x, y, hole_r, OUTLINE, 2, fill=WHITE)
            cv.line(x - 3, y, x + 3, y, OUTLINE)
            cv.line(x, y - 3, x, y + 3, OUTLINE)

    # Vertical chain on the right: end distance, then the pitch.
    chain_x = plate_r + 24
    cv.line(plate_r + 2, plate_t, chain_x + 3, plate_t, THIN)
    for y in rows[:2]:
        cv.line(plate_r + 8, y, chain_x + 3, y, THIN)
    cv.vdim(plate_t, rows[0], chain_x)
    cv.vdim(rows[0], rows[1], chain_x)

    # Horizontal chain below: edge distance and gauge.
    chain_y = plate_b + 16
    cv.line(plate_l, plate_b + 2, plate_l, chain_y + 3, THIN)
    for x in cols:
        cv.line(x, plate_b + 8, x, chain_y + 3, THIN)
    cv.hdim(plate_l, cols[0], chain_y)
    cv.hdim(cols[0], cols[1], chain_y)

    controls = []
    fx = chain_x + 8
    # The end distance follows from the standard; the macro holds no
    # variable for it, so the page names it without a field.
    controls.append(label(fx, (plate_t + rows[0]) // 2 - 8, "End distance"))
    controls += labelled(CT_EDIT, "Pitch", fx, (rows[0] + rows[1]) // 2 - 10, "Pitch")
    # Bolt counts of the pattern: rows (direction 2), columns (direction 1).
    # Fields of both counts line up after the longer label.
    count_x = fx + text_width("Columns") + 4
    controls += [label(fx, rows[1] + 14, "Rows"), field(CT_PATTERN_COUNT2, count_x, rows[1] + 12, "BoltRows", width=30)]
    controls += [label(fx, rows[1] + 38, "Columns"), field(CT_PATTERN_COUNT1, count_x, rows[1] + 36, "BoltRows", width=30)]
    # Edge distance and gauge under their dimensions.
    ey = chain_y + 10
    edge_x = (plate_l + cols[0]) // 2 - 20
    controls += [label(2, ey + 2, "Edge", right_aligned_at=edge_x - 3), field(CT_EDIT, edge_x, ey, "EdgeDist", width=40)]
    controls += [field(CT_EDIT, cx - 20, ey, "Gauge", width=40), label(cx + 24, ey + 2, "Gauge")]

    # Bolt data in a group box on the lower right.
    gx, gy = chain_x - 4, rows[2] + 18
    box = {"type": CT_GROUP, "rect": (gx, gy, W - 4, gy + 116), "contents": "Bolts"}
    inner = []
    inner += labelled(CT_BOLT_DATA1, "Grade", gx + 8, gy + 16, "", item_file_name("BoltGrades.lst"))
    inner += labelled(CT_BOLT_DATA2, "Diameter", gx + 8, gy + 40, "")
    inner += labelled(CT_BOLT_DATA3, "Clearance", gx + 8, gy + 64, "")
    inner.append({"type": CT_BOLT_BUTTON, "rect": (gx + 8, gy + 90, gx + 80, gy + 110), "contents": "Bolt set..."})
    controls += [box] + inner
    return cv, controls, (W, H)


PAGES = {"General": general_page, "Bolts": bolts_page}

ITEM_FILES = {
    "PlateThicknesses.lst": ["8", "10", "12", "15", "20", "25", "30", "35", "40"],
    "BoltGrades.lst": ["4.6", "5.6", "8.8", "10.9"],
}


# ---------------------------------------------------------------- check


def macro_names(library):
    """Names a design may bind: variables (general and of every module), cut
    and pattern names of the sample macro."""
    with open(os.path.join(library, MACRO), encoding="utf-8") as f:
        doc = json.load(f)
    macro = doc["macro"]
    variables = {v["name"] for v in macro.get("generalVariables", [])}
    cuts, patterns = set(), set()
    for m in macro.get("modules", []):
        variables |= {v["name"] for v in m.get("variables", [])}
        cuts |= {c["name"] for c in m.get("cuts", [])}
        patterns |= {p["name"] for p in m.get("patterns", [])}
    return variables, cuts, patterns


def check_design(library, name, errors):
    folder = os.path.join(library, DESIGN_FOLDER, SUBFOLDER)
    path = os.path.join(folder, name + ".txt")
    controls = read_design(path)
    width, height, pixels = read_bmp(os.path.join(folder, name + ".bmp"))
    variables, cuts, patterns = macro_names(library)
    where = f"{SUBFOLDER}\\{name}"
    if not controls:
        errors.append(f"{where}: no controls")
    boxes = []
    for i, c in enumerate(controls):
        l, t, r, b = c["rect"]
        if not (0.0 <= l < r <= 1.0 and 0.0 <= t < b <= 1.0):
            errors.append(f"{where}: control {i} lies outside the picture or is empty: {c['rect']}")
        px = (round(l * width), round(t * height), round(r * width), round(b * height))
        boxes.append(px)
        kind = c["type"]
        bound = []
        if kind in (CT_EDIT, CT_COMBO):
            bound = [("variable", c["contents"], variables)]
        elif kind in (CT_TEXT, CT_GROUP, CT_CHECK) and c["comboList"]:
            bound = [("variable", c["comboList"], variables)]
        elif kind == CT_CUT_COMBO:
            bound = [("cut", c["contents"], cuts)]
        elif kind in (CT_PATTERN_COUNT1, CT_PATTERN_COUNT2):
            bound = [("bolt pattern", c["contents"], patterns)]
        for what, value, known in bound:
            if value not in known:
                errors.append(f"{where}: control {i} is bound to the {what} {value!r}, which the macro lacks")
        if kind in (CT_COMBO, CT_BOLT_DATA1) and c["comboList"]:
            item_path = os.path.join(library, *c["comboList"].split("\\"))
            if not os.path.isfile(item_path) or not open(item_path, encoding="utf-8").read().strip():
                errors.append(f"{where}: control {i} names the item file {c['comboList']!r}, which is missing or empty")
        # Every control but a group box's inside sits on white room.
        l, t, r, b = px
        cells = [(x, y) for y in range(t, b) for x in range(l, r)]
        if kind == CT_GROUP:
            cells = [(x, y) for (x, y) in cells if x in (l, r - 1) or y in (t, b - 1)]
        drawn = sum(1 for x, y in cells if 0 <= x < width and 0 <= y < height and pixels[y][x] != WHITE)
        if drawn:
            errors.append(f"{where}: control {i} ({c['contents'] or c['comboList']!r}) covers {drawn} drawn pixels")
    def inside(outer, inner):
        return outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2] and inner[3] <= outer[3]

    # Controls must not overlap, except the ones a group box holds whole.
    for i, a in enumerate(boxes):
        for j in range(i + 1, len(boxes)):
            b = boxes[j]
            if a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]:
                if controls[i]["type"] == CT_GROUP and inside(a, b):
                    continue
                if controls[j]["type"] == CT_GROUP and inside(b, a):
                    continue
                errors.append(f"{where}: controls {i} and {j} overlap")
    return len(controls)


# ---------------------------------------------------------------- preview

TYPE_COLOURS = {
    CT_TEXT: (0, 150, 0),
    CT_GROUP: (0, 160, 170),
    CT_EDIT: (220, 0, 0),
    CT_COMBO: (230, 130, 0),
    CT_CHECK: (150, 0, 180),
    CT_CUT_COMBO: (230, 130, 0),
    CT_BOLT_DATA1: (230, 130, 0),
}


def preview(canvas, controls, path, scale=2):
    """The picture with every control's rectangle outlined in its type's
    colour, enlarged `scale` times."""
    rows = [list(r) for r in canvas.pixels]
    for c in controls:
        l, t, r, b = c["rect"]
        colour = TYPE_COLOURS.get(c["type"], (200, 0, 120))
        for x in range(l, r):
            for y in (t, b - 1):
                if 0 <= y < len(rows) and 0 <= x < len(rows[0]):
                    rows[y][x] = colour
        for y in range(t, b):
            for x in (l, r - 1):
                if 0 <= y < len(rows) and 0 <= x < len(rows[0]):
                    rows[y][x] = colour
    rows = [[p for p in row for _ in range(scale)] for row in rows for _ in range(scale)]
    write_png(path, rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--library", default=DEFAULT_LIBRARY, help="the library folder")
    parser.add_argument("--check", action="store_true", help="verify the written designs")
    parser.add_argument("--png", metavar="DIR", help="also write previews with the controls outlined")
    args = parser.parse_args()
    library = os.path.normpath(args.library)
    folder = os.path.join(library, DESIGN_FOLDER, SUBFOLDER)

    if args.check:
        errors = []
        for name in PAGES:
            try:
                count = check_design(library, name, errors)
                print(f"{SUBFOLDER}\\{name}: {count} controls")
            except (OSError, ValueError, KeyError) as e:
                errors.append(f"{SUBFOLDER}\\{name}: {e}")
        for e in errors:
            print("error: " + e, file=sys.stderr)
        return 1 if errors else 0

    os.makedirs(folder, exist_ok=True)
    for file_name, lines in ITEM_FILES.items():
        write_atomic(os.path.join(folder, file_name), ("\n".join(lines) + "\n").encode("utf-8"))
    for name, make in PAGES.items():
        canvas, controls, (width, height) = make()
        write_bmp(os.path.join(folder, name + ".bmp"), canvas)
        write_design(os.path.join(folder, name + ".txt"), controls, width, height)
        if args.png:
            os.makedirs(args.png, exist_ok=True)
            preview(canvas, controls, os.path.join(args.png, name + ".png"))
        print(f"{SUBFOLDER}\\{name}: {width}x{height}, {len(controls)} controls")
    return 0


if __name__ == "__main__":
    sys.exit(main())
