#!/usr/bin/env python3
"""Gives a Windows Help file the context-number map that WinHelp's HELP_CONTEXT reads.

halibut names topics by context strings (\\cfg{winhelp-topic}) and writes an empty
|CTXOMAP, so a program's numeric help requests find nothing. This reads the map
file (lines "NUMBER context_name", '#' starts a comment), looks every name up in
the file's |CONTEXT tree by its hash, and rewrites the file's internal file
system with a |CTXOMAP that sends each number to that topic.

    hlp_ctxmap.py FILE.HLP MAPFILE [-o OUT.HLP]   add the map (in place without -o)
    hlp_ctxmap.py --list FILE.HLP                  list internal files and the map

Layout of the file (all little-endian), as publicly described for WinHelp 3.1/4:
a 16-byte header (magic, directory offset, free-list offset, file size); each
internal file is a 9-byte header (reserved space, used space, flags) and its
bytes; the directory is a B+ tree of (name, offset) in 1 KB pages; |CONTEXT is a
B+ tree of (hash, topic offset); |CTXOMAP is a 16-bit count and (number, topic
offset) pairs.
"""
import argparse
import struct
import sys

HLP_MAGIC = 0x00035F3F
BTREE_MAGIC = 0x293B
BTREE_HEADER = struct.Struct('<HHH16shhhhhhi')
DIRECTORY_PAGE_SIZE = 1024
DIRECTORY_FLAGS = 0x0402
LEAF_HEADER = 8
INDEX_HEADER = 6


class HelpFileError(Exception):
    pass


# The context-string hash: one signed byte per character, hash = hash * 43 + value.
_HASH_TABLE = bytes([
    0x00, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF,
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF,
    0xF0, 0x0B, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0x0C, 0xFF,
    0x0A, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,
    0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0D,
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,
    0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F,
    0x80, 0x81, 0x82, 0x83, 0x0B, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F,
    0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F,
    0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF,
    0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF,
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,
])


def context_hash(name):
    """The 32-bit hash under which |CONTEXT files a context string (unsigned)."""
    if not name:
        return 1
    value = 0
    for byte in name.encode('cp1252'):
        signed = _HASH_TABLE[byte] - 256 if _HASH_TABLE[byte] >= 128 else _HASH_TABLE[byte]
        value = (value * 43 + signed) & 0xFFFFFFFF
    return value


def _unpack(fmt, data, offset, what):
    if offset < 0:
        raise HelpFileError('%s lies before the start of the data' % what)
    try:
        return struct.unpack_from(fmt, data, offset)
    except struct.error:
        raise HelpFileError('%s lies past the end of the data' % what) from None


def _btree_leaf_entries(data, read_entry, what):
    """All leaf entries of the B+ tree in data, in key order."""
    magic, _flags, page_size, _structure, _zero, _splits, root, _neg, total_pages, levels, _count = \
        _unpack(BTREE_HEADER.format, data, 0, what)
    if magic != BTREE_MAGIC or page_size < LEAF_HEADER or levels < 1:
        raise HelpFileError('%s is not a B+ tree' % what)
    pages = BTREE_HEADER.size

    def page_at(number):
        if not 0 <= number < total_pages:
            raise HelpFileError('%s refers to page %d of %d' % (what, number, total_pages))
        return pages + number * page_size

    page = root
    for _ in range(levels - 1):
        _unused, _n, previous = _unpack('<Hhh', data, page_at(page), what)
        page = previous  # the leftmost child holds the smallest keys
    entries = []
    seen = set()
    while page != -1:
        if page in seen:
            raise HelpFileError('%s has a loop in its leaf pages' % what)
        seen.add(page)
        start = page_at(page)
        _unused, count, _previous, following = _unpack('<Hhhh', data, start, what)
        position = start + LEAF_HEADER
        for _ in range(count):
            entry, position = read_entry(data, position)
            entries.append(entry)
        page = following
    return entries


def _read_directory_entry(data, position):
    end = data.find(b'\0', position)
    if end < 0:
        raise HelpFileError('directory name without its end')
    (offset,) = _unpack('<i', data, end + 1, 'directory')
    return (data[position:end], offset), end + 5


def _read_context_entry(data, position):
    return _unpack('<II', data, position, '|CONTEXT'), position + 8


def read_help_file(data):
    """The internal files of a help file: a list of (name, flags, bytes) in directory order."""
    magic, directory_start, _free, _size = _unpack('<IiiI', data, 0, 'header')
    if magic != HLP_MAGIC:
        raise HelpFileError('not a Windows Help file (magic %#x)' % magic)
    _reserved, used, _flags = _unpack('<iiB', data, directory_start, 'directory header')
    directory = data[directory_start + 9:directory_start + 9 + used]
    files = []
    for name, offset in _btree_leaf_entries(directory, _read_directory_entry, 'directory'):
        _reserved, used, flags = _unpack('<iiB', data, offset, name.decode('latin-1'))
        if used < 0 or offset + 9 + used > len(data):
            raise HelpFileError('internal file %r runs past the end' % name)
        files.append((name, flags, data[offset + 9:offset + 9 + used]))
    return files


def context_offsets(files):
    """hash -> topic offset from |CONTEXT."""
    for name, _flags, content in files:
        if name == b'|CONTEXT':
            return dict(_btree_leaf_entries(content, _read_context_entry, '|CONTEXT'))
    raise HelpFileError('the help file has no |CONTEXT')


def read_context_map(files):
    """number -> topic offset from |CTXOMAP (empty when there is none)."""
    for name, _flags, content in files:
        if name == b'|CTXOMAP':
            (count,) = _unpack('<H', content, 0, '|CTXOMAP')
            return dict(_unpack('<iI', content, 2 + 8 * i, '|CTXOMAP') for i in range(count))
    return {}


def build_context_map(files, numbered_names):
    """The |CTXOMAP bytes for [(number, context name)]; every name must be in |CONTEXT."""
    offsets = context_offsets(files)
    records = []
    for number, name in sorted(numbered_names):
        offset = offsets.get(context_hash(name))
        if offset is None:
            raise HelpFileError('context %r (number %d) names no topic of the help file' % (name, number))
        records.append(struct.pack('<iI', number, offset))
    if len(records) > 0xFFFF:
        raise HelpFileError('too many context numbers')
    return struct.pack('<H', len(records)) + b''.join(records)


def _directory_pages(entries):
    """The directory's pages, its root page and its number of levels."""
    def leaf_record(name, offset):
        return name + b'\0' + struct.pack('<i', offset)

    # Leaves: as many records as fit in a page.
    leaves = []
    current = []
    space = DIRECTORY_PAGE_SIZE - LEAF_HEADER
    for name, offset in entries:
        record = leaf_record(name, offset)
        if len(record) > DIRECTORY_PAGE_SIZE - LEAF_HEADER:
            raise HelpFileError('internal file name too long: %r' % name)
        if current and sum(len(r) for _, r in current) + len(record) > space:
            leaves.append(current)
            current = []
        current.append((name, record))
    leaves.append(current)

    pages = []
    level = []  # (first key, page number) of the level just built
    for i, records in enumerate(leaves):
        body = b''.join(r for _, r in records)
        previous = i - 1 if i > 0 else -1
        following = i + 1 if i + 1 < len(leaves) else -1
        header = struct.pack('<Hhhh', space - len(body), len(records), previous, following)
        pages.append(header + body + b'\0' * (space - len(body)))
        level.append((records[0][0] if records else b'', i))
    levels = 1
    while len(level) > 1:
        levels += 1
        upper = []
        index_space = DIRECTORY_PAGE_SIZE - INDEX_HEADER
        # An index page names its first child in PreviousPage and each further
        # child by (its first key, its page).
        groups = [[level[0]]]
        used = 0
        for key, page in level[1:]:
            size = len(key) + 3
            if used + size > index_space:
                groups.append([(key, page)])
                used = 0
            else:
                groups[-1].append((key, page))
                used += size
        for group in groups:
            body = b''.join(key + b'\0' + struct.pack('<h', page) for key, page in group[1:])
            header = struct.pack('<Hhh', index_space - len(body), len(group) - 1, group[0][1])
            upper.append((group[0][0], len(pages)))
            pages.append(header + body + b'\0' * (index_space - len(body)))
        level = upper
    return pages, level[0][1], levels


def write_help_file(files):
    """A help file holding the given internal files, each packed without spare space."""
    files = sorted(files, key=lambda f: f[0])
    out = bytearray(16)
    entries = []
    for name, flags, content in files:
        entries.append((name, len(out)))
        out += struct.pack('<iiB', 9 + len(content), len(content), flags) + content
    pages, root, levels = _directory_pages(entries)
    tree = BTREE_HEADER.pack(BTREE_MAGIC, DIRECTORY_FLAGS, DIRECTORY_PAGE_SIZE,
                             b'z4'.ljust(16, b'\0'), 0, 0, root, -1, len(pages), levels,
                             len(entries)) + b''.join(pages)
    directory_start = len(out)
    out += struct.pack('<iiB', 9 + len(tree), len(tree), 4) + tree
    struct.pack_into('<IiiI', out, 0, HLP_MAGIC, directory_start, -1, len(out))
    return bytes(out)


def add_context_map(data, numbered_names):
    """The help file data with its |CTXOMAP replaced by one for [(number, name)]."""
    files = read_help_file(data)
    context_map = build_context_map(files, numbered_names)
    files = [f for f in files if f[0] != b'|CTXOMAP'] + [(b'|CTXOMAP', 0, context_map)]
    return write_help_file(files)


def parse_map_file(text):
    """[(number, name)] from lines "NUMBER name"; '#' starts a comment."""
    pairs = []
    numbers = set()
    for line_number, line in enumerate(text.splitlines(), 1):
        line = line.split('#', 1)[0].strip()
        if not line:
            continue
        parts = line.split()
        if len(parts) != 2 or not parts[0].lstrip('-').isdigit():
            raise HelpFileError('map line %d: expected "NUMBER context_name"' % line_number)
        number = int(parts[0])
        if number in numbers:
            raise HelpFileError('map line %d: number %d given twice' % (line_number, number))
        numbers.add(number)
        pairs.append((number, parts[1]))
    return pairs


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--list', action='store_true', help='list internal files and the context map')
    parser.add_argument('helpfile')
    parser.add_argument('mapfile', nargs='?')
    parser.add_argument('-o', '--output')
    args = parser.parse_args(argv)
    try:
        with open(args.helpfile, 'rb') as f:
            data = f.read()
        if args.list:
            files = read_help_file(data)
            for name, flags, content in files:
                print('%-12s flags %d, %d bytes' % (name.decode('latin-1'), flags, len(content)))
            context_map = read_context_map(files)
            print('|CTXOMAP: %d entries' % len(context_map))
            for number, offset in sorted(context_map.items()):
                print('  %d -> topic offset %#x' % (number, offset))
            return 0
        if not args.mapfile:
            parser.error('a map file is needed unless --list is given')
        with open(args.mapfile, encoding='ascii') as f:
            pairs = parse_map_file(f.read())
        result = add_context_map(data, pairs)
        with open(args.output or args.helpfile, 'wb') as f:
            f.write(result)
        return 0
    except (HelpFileError, OSError, UnicodeError) as error:
        print('hlp_ctxmap.py: %s: %s' % (args.helpfile, error), file=sys.stderr)
        return 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
