#!/usr/bin/env python3
"""Writes the dialog designer's icons to resources/icons/<id>.ico: the tool
buttons, the window and the flex buttons of designs.

Each icon is 16 x 16 pixels, 32 bits per pixel, drawn from the character
pictures below: '.' is transparent, the letters are colours.
"""
import os
import struct
import sys

COLOURS = {
    "k": (40, 40, 40),
    "b": (40, 90, 170),
    "y": (230, 190, 60),
    "g": (60, 150, 60),
    "r": (190, 50, 50),
    "w": (250, 250, 250),
    "s": (150, 180, 220),
}

ICONS = {
    # open a design: a folder
    232: [
        "................",
        "................",
        "..kkkkk.........",
        ".kyyyyyk........",
        ".kyyyyyykkkkkkk.",
        ".kyyyyyyyyyyyyk.",
        ".kyyyyyyyyyyyyk.",
        ".kyyyyyyyyyyyyk.",
        ".kyyyyyyyyyyyyk.",
        ".kyyyyyyyyyyyyk.",
        ".kyyyyyyyyyyyyk.",
        ".kyyyyyyyyyyyyk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
        "................",
    ],
    # save: a disk
    233: [
        "................",
        ".kkkkkkkkkkkkk..",
        ".kbbwwwwwwwwbbk.",
        ".kbbwwwwwwwwbbk.",
        ".kbbwwwwwwwwbbk.",
        ".kbbwwwwwwwwbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbsssssssbbbk.",
        ".kbbsskksssbbbk.",
        ".kbbsskksssbbbk.",
        ".kbbsskksssbbbk.",
        ".kbbsssssssbbbk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    # add a control: a plus
    212: [
        "................",
        "................",
        "......gggg......",
        "......gggg......",
        "......gggg......",
        "......gggg......",
        "..gggggggggggg..",
        "..gggggggggggg..",
        "..gggggggggggg..",
        "..gggggggggggg..",
        "......gggg......",
        "......gggg......",
        "......gggg......",
        "......gggg......",
        "................",
        "................",
    ],
    # remove the selected controls: a cross
    206: [
        "................",
        "................",
        "..rr........rr..",
        "..rrr......rrr..",
        "...rrr....rrr...",
        "....rrr..rrr....",
        ".....rrrrrr.....",
        "......rrrr......",
        "......rrrr......",
        ".....rrrrrr.....",
        "....rrr..rrr....",
        "...rrr....rrr...",
        "..rrr......rrr..",
        "..rr........rr..",
        "................",
        "................",
    ],
    # the width: a horizontal arrow between two bars
    235: [
        "................",
        "................",
        "................",
        ".k............k.",
        ".k............k.",
        ".k...b....b...k.",
        ".k..bb....bb..k.",
        ".k.bbbbbbbbbb.k.",
        ".k.bbbbbbbbbb.k.",
        ".k..bb....bb..k.",
        ".k...b....b...k.",
        ".k............k.",
        ".k............k.",
        "................",
        "................",
        "................",
    ],
    # the height: a vertical arrow between two bars
    236: [
        "................",
        "...kkkkkkkkkk...",
        "................",
        ".......bb.......",
        "......bbbb......",
        ".....bbbbbb.....",
        ".......bb.......",
        ".......bb.......",
        ".......bb.......",
        ".......bb.......",
        ".....bbbbbb.....",
        "......bbbb......",
        ".......bb.......",
        "................",
        "...kkkkkkkkkk...",
        "................",
    ],
    # copy: two overlapping sheets
    223: [
        "................",
        ".kkkkkkkk.......",
        ".kwwwwwwk.......",
        ".kwwwwwwk.......",
        ".kwwwkkkkkkkk...",
        ".kwwwkwwwwwwk...",
        ".kwwwkwwwwwwk...",
        ".kwwwkwwwwwwk...",
        ".kkkkkwwwwwwk...",
        ".....kwwwwwwk...",
        ".....kwwwwwwk...",
        ".....kwwwwwwk...",
        ".....kkkkkkkk...",
        "................",
        "................",
        "................",
    ],
    # a background picture: hills in a frame
    231: [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".ksssssssssssyk.",
        ".ksssssssssssyk.",
        ".ksssssssssssssk",
        ".ksssssgssssssk.",
        ".kssssgggsssssk.",
        ".ksssgggggssgsk.",
        ".kssgggggggggsk.",
        ".ksgggggggggggk.",
        ".kggggggggggggk.",
        ".kggggggggggggk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
        "................",
    ],
    # a flex button: a spring between two walls (a flexible or fixed value)
    239: [
        "................",
        "................",
        "................",
        ".k............k.",
        ".k............k.",
        ".k...b.....b..k.",
        ".k..bbb...bbb.k.",
        ".k.bbbbb.bbbbbk.",
        ".kbbb.bbbbb.bbk.",
        ".kbb...bbb...bk.",
        ".kb.....b.....k.",
        ".k............k.",
        ".k............k.",
        "................",
        "................",
        "................",
    ],
    # the designer window: a dialog with a few fields
    148: [
        "................",
        "kkkkkkkkkkkkkkkk",
        "kbbbbbbbbbbbbbbk",
        "kwwwwwwwwwwwwwwk",
        "kwkkkwwsssssswwk",
        "kwwwwwwsssssswwk",
        "kwwwwwwwwwwwwwwk",
        "kwkkkwwsssssswwk",
        "kwwwwwwsssssswwk",
        "kwwwwwwwwwwwwwwk",
        "kwwwwwwwwwkkkkwk",
        "kwwwwwwwwwkkkkwk",
        "kwwwwwwwwwwwwwwk",
        "kkkkkkkkkkkkkkkk",
        "................",
        "................",
    ],
}


def icon_bytes(rows):
    size = 16
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        row = row[:size].ljust(size, ".")
        bits = 0
        for x, ch in enumerate(row):
            if ch == ".":
                pixels += bytes((0, 0, 0, 0))
                bits |= 1 << (15 - x)
            else:
                r, g, b = COLOURS[ch]
                pixels += bytes((b, g, r, 255))
        mask += struct.pack(">H", bits) + b"\0\0"  # rows padded to 4 bytes
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + bytes(pixels) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    return directory + image


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    folder = os.path.join(root, "resources", "icons")
    os.makedirs(folder, exist_ok=True)
    for icon_id, rows in sorted(ICONS.items()):
        path = os.path.join(folder, f"{icon_id}.ico")
        with open(path + ".tmp", "wb") as f:
            f.write(icon_bytes(rows))
        os.replace(path + ".tmp", path)
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
