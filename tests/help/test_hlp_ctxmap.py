#!/usr/bin/env python3
"""tools/hlp_ctxmap.py on help files that halibut writes here and now."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import hlp_ctxmap  # noqa: E402

SOURCE = r"""\title Map Test

\C{one} First chapter

\cfg{winhelp-topic}{first}

Text of the first topic.

\H{two} A section

\cfg{winhelp-topic}{Second.Topic_2}

Text of the second topic.

\C{three} Last chapter

\cfg{winhelp-topic}{third}

Text of the third topic.
"""


def make_help_file(directory):
    source = os.path.join(directory, 'test.but')
    with open(source, 'w') as f:
        f.write(SOURCE)
    target = os.path.join(directory, 'TEST.HLP')
    subprocess.run(['halibut', '--winhelp=' + target, source], check=True, capture_output=True)
    with open(target, 'rb') as f:
        return f.read()


@unittest.skipUnless(shutil.which('halibut'), 'halibut is not installed')
class ContextMapOnHalibutOutput(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.mkdtemp()
        self.original = make_help_file(self.directory)
        self.files = hlp_ctxmap.read_help_file(self.original)

    def tearDown(self):
        shutil.rmtree(self.directory)

    def test_halibut_alone_maps_no_context_number(self):
        # Why the step exists: the map halibut writes is there but empty.
        names = [name for name, _, _ in self.files]
        self.assertIn(b'|CTXOMAP', names)
        self.assertEqual(hlp_ctxmap.read_context_map(self.files), {})

    def test_numbers_reach_the_topics_their_names_reach(self):
        pairs = [(3, 'first'), (4, 'Second.Topic_2'), (8, 'third')]
        result = hlp_ctxmap.add_context_map(self.original, pairs)
        files = hlp_ctxmap.read_help_file(result)
        offsets = hlp_ctxmap.context_offsets(files)
        context_map = hlp_ctxmap.read_context_map(files)
        self.assertEqual(sorted(context_map), [3, 4, 8])
        for number, name in pairs:
            self.assertEqual(context_map[number], offsets[hlp_ctxmap.context_hash(name)], name)
        self.assertEqual(len(set(context_map.values())), 3, 'three topics, three offsets')
        # Everything else is carried over byte for byte, and the header is whole.
        before = {name: (flags, content) for name, flags, content in self.files if name != b'|CTXOMAP'}
        after = {name: (flags, content) for name, flags, content in files if name != b'|CTXOMAP'}
        self.assertEqual(before, after)
        magic, directory, free, size = struct.unpack_from('<IiiI', result, 0)
        self.assertEqual((magic, free, size), (0x00035F3F, -1, len(result)))
        # A second run replaces the map instead of adding another.
        again = hlp_ctxmap.add_context_map(result, [(5, 'third')])
        files_again = hlp_ctxmap.read_help_file(again)
        self.assertEqual([n for n, _, _ in files_again].count(b'|CTXOMAP'), 1)
        self.assertEqual(hlp_ctxmap.read_context_map(files_again), {5: context_map[8]})

    def test_a_name_without_topic_is_refused(self):
        with self.assertRaisesRegex(hlp_ctxmap.HelpFileError, "'fourth'.*number 9"):
            hlp_ctxmap.add_context_map(self.original, [(3, 'first'), (9, 'fourth')])

    def test_command_line_writes_the_output_only_on_success(self):
        source = os.path.join(self.directory, 'TEST.HLP')
        good_map = os.path.join(self.directory, 'good.map')
        bad_map = os.path.join(self.directory, 'bad.map')
        with open(good_map, 'w') as f:
            f.write('# numbers\n3 first   # the first\n\n4 third\n')
        with open(bad_map, 'w') as f:
            f.write('3 nowhere\n')
        output = os.path.join(self.directory, 'OUT.HLP')
        self.assertEqual(hlp_ctxmap.main([source, bad_map, '-o', output]), 1)
        self.assertFalse(os.path.exists(output))
        self.assertEqual(hlp_ctxmap.main([source, good_map, '-o', output]), 0)
        with open(output, 'rb') as f:
            self.assertEqual(sorted(hlp_ctxmap.read_context_map(hlp_ctxmap.read_help_file(f.read()))),
                             [3, 4])
        with open(source, 'rb') as f:
            self.assertEqual(f.read(), self.original, 'the input stays as it was')


class FileSystemAndInputs(unittest.TestCase):
    def test_a_directory_of_many_pages_reads_back_in_order(self):
        files = [(('|F%04d' % i).encode() * 3, 4, bytes([i % 256]) * (i % 7)) for i in range(400)]
        data = hlp_ctxmap.write_help_file(files)
        tree_levels = struct.unpack_from('<h', data, struct.unpack_from('<i', data, 4)[0] + 9 + 32)[0]
        self.assertGreater(tree_levels, 1, 'the test must span index pages')
        self.assertEqual(hlp_ctxmap.read_help_file(data), sorted(files))

    def test_damaged_files_are_refused_not_misread(self):
        negative_directory = struct.pack('<IiiI', 0x00035F3F, -12, -1, 16)
        for data in (b'', b'\x3f\x5f\x03\x00' + b'\0' * 12, b'MZ' + b'\0' * 30, negative_directory):
            with self.assertRaises(hlp_ctxmap.HelpFileError):
                hlp_ctxmap.read_help_file(data)
        no_context = hlp_ctxmap.write_help_file([(b'|SYSTEM', 4, b'x')])
        with self.assertRaisesRegex(hlp_ctxmap.HelpFileError, 'no \\|CONTEXT'):
            hlp_ctxmap.add_context_map(no_context, [(3, 'a')])

    def test_hash_of_the_empty_name_is_one(self):
        self.assertEqual(hlp_ctxmap.context_hash(''), 1)

    def test_map_file_lines(self):
        self.assertEqual(hlp_ctxmap.parse_map_file('# c\n3 about\n 7\tdirectory_window # x\n'),
                         [(3, 'about'), (7, 'directory_window')])
        for text in ('3 about\n3 other\n', 'about 3\n', '3\n', '3 a b\n'):
            with self.assertRaises(hlp_ctxmap.HelpFileError, msg=text):
                hlp_ctxmap.parse_map_file(text)


if __name__ == '__main__':
    unittest.main()
