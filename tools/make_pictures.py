#!/usr/bin/env python3
"""Draws Zelvane's Windows resource pictures and writes them to resources/pictures/.

Each picture is an ASCII-art grid with its own legend mapping characters to the
standard 16-colour VGA palette, so the art can be reviewed and edited as text.
Run:  python3 tools/make_pictures.py
"""

import os
import struct

# The standard 16-colour VGA palette, in the index order Windows uses.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE) = range(16)

# Marks a pixel that the AND mask makes see-through (icons and cursors).
CLEAR = None

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                       "..", "resources", "pictures")


# --------------------------------------------------------------------------
# program.ico: two text pages with an arrow carrying lines from left to right.

PROGRAM_LEGEND = {
    ".": CLEAR, "K": BLACK, "W": WHITE, "s": SILVER, "d": GREY,
    "B": BLUE, "g": GREEN, "R": RED,
}

PROGRAM_32 = [
    "................................",
    ".KKKKKKKKK.......KKKKKKKKK......",
    ".KWWWWWWWKK......KWWWWWWWKK.....",
    ".KWWWWWWWKsK.....KWWWWWWWKsK....",
    ".KWBBBBBWKssK....KWggggWWKssK...",
    ".KWWWWWWWKKKKK...KWWWWWWWKKKKK..",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWBBBBBBBBBWKd..KWggggggggWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWBBBBBBBWWWKd..KWgggggggWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWBBBBBBBBBWKd..KWKgggggggWWKd.",
    ".KWWWWWWWWWWWKd..KWKKWWWWWWWWKd.",
    ".KWBBBBBBBKKKKKKKKKKRKgggggWWKd.",
    ".KWWWWWWWWKRRRRRRRRRRRKWWWWWWKd.",
    ".KWBBBBBBBKRRRRRRRRRRRRKgggWWKd.",
    ".KWWWWWWWWKRRRRRRRRRRRKWWWWWWKd.",
    ".KWBBBBBBWKKKKKKKKKKRKgggWWWWKd.",
    ".KWWWWWWWWWWWKd..KWKKWWWWWWWWKd.",
    ".KWBBBBBBBBBWKd..KWKgggggggWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWBBBBBBBBWWKd..KWggggggggWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWBBBBWWWWWWKd..KWgggWWWWWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KKKKKKKKKKKKKd..KKKKKKKKKKKKKd.",
    "..ddddddddddddd...ddddddddddddd.",
    "................................",
    "................................",
]

PROGRAM_16 = [
    "KKKKK....KKKKK..",
    "KWWWKK...KWWWKK.",
    "KWBBKKK..KWggKKK",
    "KWWWWWK..KWWWWWK",
    "KWBBBWK..KWgggWK",
    "KWWWWWK.KKWWWWWK",
    "KWBBBWK.KKWgggWK",
    "KWWWKKKKKRKWWWWK",
    "KWBBKRRRRRRKggWK",
    "KWWWKKKKKRKWWWWK",
    "KWBBBWK.KKWgggWK",
    "KWWWWWK.KKWWWWWK",
    "KWBBBWK..KWgggWK",
    "KWWWWWK..KWWWWWK",
    "KKKKKKK..KKKKKKK",
    "................",
]

# --------------------------------------------------------------------------
# compare.ico: the same pages, with the differing lines highlighted the way the
# comparison window shows them (magenta on the Source side, yellow on Master).

COMPARE_LEGEND = {
    ".": CLEAR, "K": BLACK, "W": WHITE, "s": SILVER, "d": GREY,
    "n": NAVY, "M": MAGENTA, "Y": YELLOW,
}

COMPARE_32 = [
    "................................",
    ".KKKKKKKKK.......KKKKKKKKK......",
    ".KWWWWWWWKK......KWWWWWWWKK.....",
    ".KWWWWWWWKsK.....KWWWWWWWKsK....",
    ".KWnnnnnWKssK....KWnnnnnWKssK...",
    ".KWWWWWWWKKKKK...KWWWWWWWKKKKK..",
    ".KWnnnnnnnnnWKd..KWnnnnnnnnnWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KMMMMMMMMMMMKd..KYYYYYYYYYYYKd.",
    ".KMnnnnnnnnMMKd..KYnnnnnnnYYYKd.",
    ".KMMMMMMMMMMMKd..KYYYYYYYYYYYKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWnnnnnnnWWWKd..KWnnnnnnnWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWnnnnnnnnnWKd..KWnnnnnnnnWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWnnnnnnWWWWKd..KWnnnnnnWWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KMMMMMMMMMMMKd..KYYYYYYYYYYYKd.",
    ".KMnnnnnnnnnMKd..KYnnnnnnnnnYKd.",
    ".KMMMMMMMMMMMKd..KYYYYYYYYYYYKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWnnnnnnnnWWKd..KWnnnnnnnWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWnnnnnnnnnWKd..KWnnnnnnnnnWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KWnnnnWWWWWWKd..KWnnnnWWWWWWKd.",
    ".KWWWWWWWWWWWKd..KWWWWWWWWWWWKd.",
    ".KKKKKKKKKKKKKd..KKKKKKKKKKKKKd.",
    "..ddddddddddddd...ddddddddddddd.",
    "................................",
    "................................",
]

COMPARE_16 = [
    "KKKKK....KKKKK..",
    "KWWWKK...KWWWKK.",
    "KWnnKKK..KWnnKKK",
    "KWWWWWK..KWWWWWK",
    "KMMMMMK..KYYYYYK",
    "KMnnnMK..KYnnnYK",
    "KMMMMMK..KYYYYYK",
    "KWWWWWK..KWWWWWK",
    "KWnnnWK..KWnnnWK",
    "KWWWWWK..KWWWWWK",
    "KMMMMMK..KYYYYYK",
    "KMnnnMK..KYnnnYK",
    "KMMMMMK..KYYYYYK",
    "KWWWWWK..KWWWWWK",
    "KKKKKKK..KKKKKKK",
    "................",
]

# --------------------------------------------------------------------------
# status.bmp: directory-list images. The list draws them transparently using
# each image's bottom-left pixel, so every background pixel is the teal key.

STATUS_LEGEND = {
    ".": TEAL, "K": BLACK, "W": WHITE, "s": SILVER, "d": GREY,
    "Y": YELLOW, "o": OLIVE, "n": NAVY, "G": LIME, "g": GREEN,
    "C": CYAN,
}

STATUS_IMAGES = [
    [   # ancestor directory: open folder
        "................",
        "................",
        "................",
        ".KKKK...........",
        "KYYYYKKKKKKK....",
        "KYooooooooooK...",
        "KYooooooooooK...",
        "KYoKKKKKKKKKKKKK",
        "KYoKYYYYYYYYYYK.",
        "KYKYYYYYYYYYYYK.",
        "KYKYYYYYYYYYYK..",
        "KKYYYYYYYYYYYK..",
        "KKYYYYYYYYYYK...",
        "KKKKKKKKKKKKK...",
        "................",
        "................",
    ],
    [   # current directory: open folder with a page showing inside
        "................",
        ".....KKKKKK.....",
        ".....KWWWWKK....",
        ".KKKKKWKKWWWK...",
        "KYYYYKWWWWWWK...",
        "KYoooKWKKKKWK...",
        "KYoooKWWWWWWK...",
        "KYoKKKKKKKKKKKKK",
        "KYoKYYYYYYYYYYK.",
        "KYKYYYYYYYYYYYK.",
        "KYKYYYYYYYYYYK..",
        "KKYYYYYYYYYYYK..",
        "KKYYYYYYYYYYK...",
        "KKKKKKKKKKKKK...",
        "................",
        "................",
    ],
    [   # subdirectory: closed folder
        "................",
        "................",
        "................",
        ".KKKKK..........",
        "KYWWWYK.........",
        "KWYYYYYKKKKKKK..",
        "KWWWWWWWWWWWWYK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KoooooooooooooK.",
        "KKKKKKKKKKKKKKK.",
        "................",
        "................",
    ],
    [   # removable drive: diskette above a drive with a slot
        "................",
        ".....KKKKKKK....",
        ".....KnWWWnK....",
        ".....KnWWWnK....",
        ".....KnnnnnK....",
        ".....KnsKsnK....",
        "...KKKKKKKKKKKK.",
        "..KWWWWWWWWWWKK.",
        ".KKKKKKKKKKKKdK.",
        ".KssssssssssKdK.",
        ".KsKKKKKKKKsKdK.",
        ".KssssssssGsKdK.",
        ".KssssssssssKK..",
        ".KKKKKKKKKKKK...",
        "................",
        "................",
    ],
    [   # fixed drive: hard disk box with its activity light
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "...KKKKKKKKKKKK.",
        "..KWWWWWWWWWWKK.",
        ".KKKKKKKKKKKKdK.",
        ".KssssssssssKdK.",
        ".KssssssssssKdK.",
        ".KsssssssGGsKdK.",
        ".KssssssssssKK..",
        ".KKKKKKKKKKKK...",
        "................",
        "................",
    ],
    [   # CD-ROM drive: disc above a drive with a tray
        ".....KKKKK......",
        "....KWWWWCK.....",
        "...KWWWWCCYK....",
        "...KWWWdddYK....",
        "...KWWd.dssK....",
        "...KCCdddssK....",
        "...KCYssssdK....",
        "...KKYsssdKKKKK.",
        "..KWWKKKKKWWWKK.",
        ".KKKKKKKKKKKKdK.",
        ".KssssssssssKdK.",
        ".KsKKKKKKsssKdK.",
        ".KssssssssGsKdK.",
        ".KssssssssssKK..",
        ".KKKKKKKKKKKK...",
        "................",
    ],
    [   # network drive: drive on a network cable
        "................",
        "...KKKKKKKKKKKK.",
        "..KWWWWWWWWWWKK.",
        ".KKKKKKKKKKKKdK.",
        ".KssssssssssKdK.",
        ".KssssssssssKdK.",
        ".KsssssssGGsKdK.",
        ".KssssssssssKK..",
        ".KKKKKKKKKKKK...",
        "......KK........",
        "......KK........",
        "......KK........",
        "KKKKKKKKKKKKKKKK",
        "gggggggggggggggg",
        "KKKKKKKKKKKKKKKK",
        "................",
    ],
    [   # unused
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ],
]

# --------------------------------------------------------------------------
# mark.bmp: drawn beside a file row the user has marked.

MARK_LEGEND = {".": TEAL, "R": RED}

MARK = [
    "........",
    "......RR",
    ".....RRR",
    "R...RRR.",
    "RR.RRR..",
    "RRRRR...",
    ".RRR....",
    "..R.....",
]

# --------------------------------------------------------------------------
# toolbar.bmp: one 16x15 image per button. Silver is the button face, which the
# toolbar control remaps to the current system colours.

TOOLBAR_LEGEND = {
    ".": SILVER, "K": BLACK, "W": WHITE, "d": GREY, "n": NAVY,
    "B": BLUE, "M": MAGENTA, "Y": YELLOW, "G": LIME, "o": OLIVE,
}

TOOLBAR_IMAGES = [
    [   # Save Source: diskette with a magenta (Source-side) label
        "................",
        ".KKKKKKKKKKKKKK.",
        ".KnKMMMMMMMMKnK.",
        ".KnKMKKKKKKMKnK.",
        ".KnKMMMMMMMMKnK.",
        ".KnKMKKKKKKMKnK.",
        ".KnKMMMMMMMMKnK.",
        ".KnnKKKKKKKKnnK.",
        ".KnnnnnnnnnnnnK.",
        ".KnnnnnnnnnnnnK.",
        ".KnnKKKKKKKKnnK.",
        ".KnnK.nn....KnK.",
        ".KnnK.nn....KnK.",
        ".KnnK.nn....KnK.",
        ".KKKKKKKKKKKKKK.",
    ],
    [   # Save Master: diskette with a yellow (Master-side) label
        "................",
        ".KKKKKKKKKKKKKK.",
        ".KnKYYYYYYYYKnK.",
        ".KnKYKKKKKKYKnK.",
        ".KnKYYYYYYYYKnK.",
        ".KnKYKKKKKKYKnK.",
        ".KnKYYYYYYYYKnK.",
        ".KnnKKKKKKKKnnK.",
        ".KnnnnnnnnnnnnK.",
        ".KnnnnnnnnnnnnK.",
        ".KnnKKKKKKKKnnK.",
        ".KnnK.nn....KnK.",
        ".KnnK.nn....KnK.",
        ".KnnK.nn....KnK.",
        ".KKKKKKKKKKKKKK.",
    ],
    [   # Print
        "................",
        "....KKKKKKKK....",
        "....KWWWWWWK....",
        "....KWKKKKWK....",
        "....KWWWWWWK....",
        "....KWKKKWWK....",
        "..KKKKKKKKKKKK..",
        ".KWWWWWWWWWWWWK.",
        ".KW..........dK.",
        ".KW........GGdK.",
        ".KW..........dK.",
        ".KddddddddddddK.",
        ".KKKKKKKKKKKKKK.",
        "................",
        "................",
    ],
    [   # Print Differences: the page carries highlighted lines
        "................",
        "....KKKKKKKK....",
        "....KWWWWWWK....",
        "....KMMMMMMK....",
        "....KWWWWWWK....",
        "....KYYYYYYK....",
        "..KKKKKKKKKKKK..",
        ".KWWWWWWWWWWWWK.",
        ".KW..........dK.",
        ".KW........GGdK.",
        ".KW..........dK.",
        ".KddddddddddddK.",
        ".KKKKKKKKKKKKKK.",
        "................",
        "................",
    ],
    [   # Next Difference
        "................",
        "..KKK...........",
        "..KBK...dddddddd",
        "..KBK...........",
        "..KBK...dddddd..",
        "..KBK...........",
        "KKKBKKK.dddddddd",
        "KBBBBBK.........",
        ".KBBBK.KKKKKKKKK",
        "..KBK..KYYYYYYYK",
        "...K...KYKKKKYYK",
        ".......KYYYYYYYK",
        ".......KKKKKKKKK",
        "........dddddd..",
        "................",
    ],
    [   # Previous Difference
        "................",
        "........dddddd..",
        ".......KKKKKKKKK",
        ".......KYYYYYYYK",
        "...K...KYKKKKYYK",
        "..KBK..KYYYYYYYK",
        ".KBBBK.KKKKKKKKK",
        "KBBBBBK.........",
        "KKKBKKK.dddddddd",
        "..KBK...........",
        "..KBK...dddddd..",
        "..KBK...........",
        "..KBK...dddddddd",
        "..KKK...........",
        "................",
    ],
    [   # Copy Source Difference: left block to the right
        "................",
        "KKKKK......KKKKK",
        "KWWWK......KWWWK",
        "KddWK..K...KddWK",
        "KWWWK..KK..KWWWK",
        "KMMMK..KBK.KYYYK",
        "KMMMKKKKBBKKYYYK",
        "KMMMKBBBBBBKYYYK",
        "KMMMKKKKBBKKYYYK",
        "KMMMK..KBK.KYYYK",
        "KWWWK..KK..KWWWK",
        "KddWK..K...KddWK",
        "KWWWK......KWWWK",
        "KKKKK......KKKKK",
        "................",
    ],
    [   # Copy Master Difference: right block to the left
        "................",
        "KKKKK......KKKKK",
        "KWWWK......KWWWK",
        "KddWK...K..KddWK",
        "KWWWK..KK..KWWWK",
        "KMMMK.KBK..KYYYK",
        "KMMMKKBBKKKKYYYK",
        "KMMMKBBBBBBKYYYK",
        "KMMMKKBBKKKKYYYK",
        "KMMMK.KBK..KYYYK",
        "KWWWK..KK..KWWWK",
        "KddWK...K..KddWK",
        "KWWWK......KWWWK",
        "KKKKK......KKKKK",
        "................",
    ],
    [   # Cut
        "................",
        "....K.....K.....",
        "....K.....K.....",
        "....KK...KK.....",
        ".....K...K......",
        ".....KK.KK......",
        "......KKK.......",
        ".......K........",
        "......nKn.......",
        "...nnnn.nnnn....",
        "..n...n.n...n...",
        "..n...n.n...n...",
        "..n...n.n...n...",
        "...nnn...nnn....",
        "................",
    ],
    [   # Copy
        "KKKKKK..........",
        "KWWWWKK.........",
        "KWnnWKWK........",
        "KWWWWKKKK.......",
        "KWnnnnnWK.......",
        "KWWWWWKKKKKK....",
        "KWnnnnKWWWWKK...",
        "KWWWWWKWnnWKWK..",
        "KWnnnnKWWWWKKKK.",
        "KKKKKKKWnnnnnWK.",
        "......KWWWWWWWK.",
        "......KWnnnnnWK.",
        "......KWWWWWWWK.",
        "......KWnnnnnWK.",
        "......KKKKKKKKK.",
    ],
    [   # Paste
        ".....KKK........",
        ".KKKKK.KKKKK....",
        "KooK.....KooK...",
        "KooKKKKKKKooK...",
        "KoooooooooooK...",
        "KooooKKKKKKKK...",
        "KooooKWWWWWWKK..",
        "KooooKWnnnnWKWK.",
        "KooooKWWWWWWKKKK",
        "KooooKWnnnnnnnWK",
        "KooooKWWWWWWWWWK",
        "KooooKWnnnnnnnWK",
        "KooooKWWWWWWWWWK",
        "KooooKWnnnnnWWWK",
        "KKKKKKKKKKKKKKKK",
    ],
    [   # Undo
        "................",
        "................",
        "................",
        "......nnnnn.....",
        "....nnnnnnnnn...",
        "...nnn.....nnn..",
        "...nn.......nn..",
        "nnnnnnnn....nn..",
        ".nnnnnn.....nn..",
        "..nnnn.....nnn..",
        "...nn.....nnn...",
        "..........nn....",
        "................",
        "................",
        "................",
    ],
    [   # Redo
        "................",
        "................",
        "................",
        ".....nnnnn......",
        "...nnnnnnnnn....",
        "..nnn.....nnn...",
        "..nn.......nn...",
        "..nn....nnnnnnnn",
        "..nn.....nnnnnn.",
        "..nnn.....nnnn..",
        "...nnn.....nn...",
        "....nn..........",
        "................",
        "................",
        "................",
    ],
]

# --------------------------------------------------------------------------
# Cursors are monochrome: '.' shows the screen, 'K' is black, 'W' is white.

CURSOR_LEGEND = {".": CLEAR, "K": BLACK, "W": WHITE}

DRAG_ONE = [
    "K...............................",
    "KK..............................",
    "KWK.............................",
    "KWWK............................",
    "KWWWK...........................",
    "KWWWWK..........................",
    "KWWWWWK.........................",
    "KWWWWWWK........................",
    "KWWWWWWWK.......................",
    "KWWWWWWWWK......................",
    "KWWWWWWWWWK.....................",
    "KWWWWWWKKKKK....................",
    "KWWWKWWK........................",
    "KWWK.KWWK..KKKKKKKKK............",
    "KWK..KWWK..KWWWWWWWKK...........",
    "KK....KWWK.KWWWWWWWKWK..........",
    "K.....KWWK.KWKKKKKKKKKK.........",
    ".......KWWKKWWWWWWWWWWK.........",
    ".......KWWKKWKKKKKKWWWK.........",
    "........KK.KWWWWWWWWWWK.........",
    "...........KWKKKKKKKKWK.........",
    "...........KWWWWWWWWWWK.........",
    "...........KWKKKKKKKKWK.........",
    "...........KWWWWWWWWWWK.........",
    "...........KWKKKKKKWWWK.........",
    "...........KWWWWWWWWWWK.........",
    "...........KWWWWWWWWWWK.........",
    "...........KKKKKKKKKKKK.........",
    "................................",
    "................................",
    "................................",
    "................................",
]

DRAG_MANY = [
    "K...............................",
    "KK..............................",
    "KWK.............................",
    "KWWK............................",
    "KWWWK...........................",
    "KWWWWK..........................",
    "KWWWWWK.........................",
    "KWWWWWWK........................",
    "KWWWWWWWK.......................",
    "KWWWWWWWWK......................",
    "KWWWWWWWWWK.....................",
    "KWWWWWWKKKKK.....KKKKKKKKKKKK...",
    "KWWWKWWK.........KWWWWWWWWWWK...",
    "KWWK.KWWK........KWWWWWWWWWWK...",
    "KWK..KWWK.....KKKKKKKKKKKKWWK...",
    "KK....KWWK....KWWWWWWWWWWKWWK...",
    "K.....KWWK....KWWWWWWWWWWKWWK...",
    ".......KWWKKKKKKKKKKWWWWWKWWK...",
    ".......KWWKKWWWWWWWKKWWWWKWWK...",
    "........KK.KWWWWWWWKWKWWWKWWK...",
    "...........KWKKKKKKKKKKWWKWWK...",
    "...........KWWWWWWWWWWKWWKWWK...",
    "...........KWKKKKKKKKWKWWKWWK...",
    "...........KWWWWWWWWWWKWWKWWK...",
    "...........KWKKKKKKWWWKWWKWWK...",
    "...........KWWWWWWWWWWKWWKKKK...",
    "...........KWKKKKKKKKWKWWK......",
    "...........KWWWWWWWWWWKWWK......",
    "...........KWKKKKKKKKWKKKK......",
    "...........KWWWWWWWWWWK.........",
    "...........KWWWWWWWWWWK.........",
    "...........KKKKKKKKKKKK.........",
]

NO_DROP = [
    "................................",
    "..............WWWW..............",
    "..........WWWWKKKKWWWW..........",
    "........WWWKKKKKKKKKKWWW........",
    ".......WWKKKKKKKKKKKKKKWW.......",
    "......WKKKKKKKKKKKKKKKKKKW......",
    ".....WKKKKKKKWWWWWWKKKKKKKW.....",
    "....WKKKKKKWW......WWKKKKKKW....",
    "...WWKKKKKKKW........WWKKKKWW...",
    "...WKKKKKKKKKW........WWKKKKW...",
    "..WWKKKKKKKKKKW........WKKKKWW..",
    "..WKKKKWKKKKKKKW........WKKKKW..",
    "..WKKKKWWKKKKKKKW.......WKKKKW..",
    "..WKKKW..WKKKKKKKW.......WKKKW..",
    ".WKKKKW...WKKKKKKKW......WKKKKW.",
    ".WKKKKW....WKKKKKKKW.....WKKKKW.",
    ".WKKKKW.....WKKKKKKKW....WKKKKW.",
    ".WKKKKW......WKKKKKKKW...WKKKKW.",
    "..WKKKW.......WKKKKKKKW..WKKKW..",
    "..WKKKKW.......WKKKKKKKWWKKKKW..",
    "..WKKKKW........WKKKKKKKWKKKKW..",
    "..WWKKKKW........WKKKKKKKKKKWW..",
    "...WKKKKWW........WKKKKKKKKKW...",
    "...WWKKKKWW........WKKKKKKKWW...",
    "....WKKKKKKWW......WWKKKKKKW....",
    ".....WKKKKKKKWWWWWWKKKKKKKW.....",
    "......WKKKKKKKKKKKKKKKKKKW......",
    ".......WWKKKKKKKKKKKKKKWW.......",
    "........WWWKKKKKKKKKKWWW........",
    "..........WWWWKKKKWWWW..........",
    "..............WWWW..............",
    "................................",
]


# --------------------------------------------------------------------------
# File writers.

def parse(rows, legend, width, height, name):
    if len(rows) != height:
        raise ValueError(f"{name}: {len(rows)} rows, expected {height}")
    pixels = []
    for y, row in enumerate(rows):
        if len(row) != width:
            raise ValueError(f"{name}: row {y} is {len(row)} wide, expected {width}")
        try:
            pixels.append([legend[ch] for ch in row])
        except KeyError as err:
            raise ValueError(f"{name}: row {y} uses {err} not in its legend") from None
    return pixels


def hstack(images):
    return ["".join(parts) for parts in zip(*images)]


def pack_rows(pixels, bits, value):
    """Bottom-up rows, each padded to a 4-byte boundary, as DIBs require."""
    out = bytearray()
    per_byte = 8 // bits
    for row in reversed(pixels):
        acc = bytearray()
        for x in range(0, len(row), per_byte):
            byte = 0
            for i in range(per_byte):
                byte <<= bits
                if x + i < len(row):
                    byte |= value(row[x + i])
            acc.append(byte)
        acc.extend(b"\0" * (-len(acc) % 4))
        out += acc
    return bytes(out)


def info_header(width, height, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                       image_size, 0, 0, 0, 0)


def palette(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def bmp_file(pixels):
    height, width = len(pixels), len(pixels[0])
    bits = pack_rows(pixels, 4, lambda p: p)
    offset = 14 + 40 + 16 * 4
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return head + info_header(width, height, 4, len(bits)) + palette(VGA) + bits


def icon_image(pixels, bits, colours):
    """One icon/cursor image: colour (XOR) bits then the 1-bit AND mask."""
    height, width = len(pixels), len(pixels[0])
    xor = pack_rows(pixels, bits, lambda p: 0 if p is CLEAR else p)
    mask = pack_rows(pixels, 1, lambda p: 1 if p is CLEAR else 0)
    # The header's height covers both masks stacked.
    return (info_header(width, height * 2, bits, len(xor) + len(mask))
            + palette(colours) + xor + mask)


def group_file(kind, entries):
    """entries: (pixels, bits, colours, field_a, field_b); the two fields are
    planes/bit count for icons and the hotspot for cursors."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    directory, blobs = b"", b""
    offset = 6 + 16 * len(entries)
    for pixels, bits, colours, a, b in entries:
        blob = icon_image(pixels, bits, colours)
        height, width = len(pixels), len(pixels[0])
        count = len(colours) if len(colours) < 256 else 0
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, count,
                                 0, a, b, len(blob), offset + len(blobs))
        blobs += blob
    return head + directory + blobs


def ico_file(images):
    return group_file(1, [(p, 4, VGA, 1, 4) for p in images])


def cur_file(pixels, hotspot):
    mono = [VGA[BLACK], VGA[WHITE]]
    bw = [[p if p is CLEAR else (1 if p == WHITE else 0) for p in row]
          for row in pixels]
    return group_file(2, [(bw, 1, mono, hotspot[0], hotspot[1])])


def require_key_corner(pixels, width, name):
    """The list control takes each image's bottom-left pixel as transparent."""
    for x in range(0, len(pixels[0]), width):
        if pixels[-1][x] != TEAL:
            raise ValueError(f"{name}: image at x={x} has no key colour in its corner")


def write(name, data):
    path = os.path.join(OUT_DIR, name)
    with open(path, "wb") as f:
        f.write(data)
    print(f"wrote {os.path.normpath(path)} ({len(data)} bytes)")


def main():
    os.makedirs(OUT_DIR, exist_ok=True)

    write("program.ico", ico_file([
        parse(PROGRAM_32, PROGRAM_LEGEND, 32, 32, "program 32"),
        parse(PROGRAM_16, PROGRAM_LEGEND, 16, 16, "program 16"),
    ]))
    write("compare.ico", ico_file([
        parse(COMPARE_32, COMPARE_LEGEND, 32, 32, "compare 32"),
        parse(COMPARE_16, COMPARE_LEGEND, 16, 16, "compare 16"),
    ]))

    for i, image in enumerate(STATUS_IMAGES):
        parse(image, STATUS_LEGEND, 16, 16, f"status image {i}")
    status = parse(hstack(STATUS_IMAGES), STATUS_LEGEND, 16 * 8, 16, "status")
    require_key_corner(status, 16, "status")
    write("status.bmp", bmp_file(status))

    mark = parse(MARK, MARK_LEGEND, 8, 8, "mark")
    require_key_corner(mark, 8, "mark")
    write("mark.bmp", bmp_file(mark))

    for i, image in enumerate(TOOLBAR_IMAGES):
        parse(image, TOOLBAR_LEGEND, 16, 15, f"toolbar image {i}")
    write("toolbar.bmp", bmp_file(
        parse(hstack(TOOLBAR_IMAGES), TOOLBAR_LEGEND, 16 * 13, 15, "toolbar")))

    write("drag_one.cur", cur_file(
        parse(DRAG_ONE, CURSOR_LEGEND, 32, 32, "drag one"), (0, 0)))
    write("drag_many.cur", cur_file(
        parse(DRAG_MANY, CURSOR_LEGEND, 32, 32, "drag many"), (0, 0)))
    write("no_drop.cur", cur_file(
        parse(NO_DROP, CURSOR_LEGEND, 32, 32, "no drop"), (15, 15)))


if __name__ == "__main__":
    main()
