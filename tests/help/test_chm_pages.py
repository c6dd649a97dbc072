#!/usr/bin/env python3
"""The built ORVINTA.CHM against the program's table of help pages.

Every context number the program opens (common/help_pages.h) must name a page
that is in the CHM, the page of the section that help/contexts.map gives the
same number in ORVINTA.HLP, and the contents must list it.

    test_chm_pages.py ORVINTA.CHM
"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
CHM = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(ROOT, 'build', 'win64', 'ORVINTA.CHM')


def read(*parts):
    with open(os.path.join(ROOT, *parts), encoding='utf-8') as f:
        return f.read()


def program_pages():
    """{number: page} from the program's table."""
    source = read('common', 'help_pages.h')
    numbers = {name: int(value) for name, value in re.findall(r'(HELP_TOPIC_\w+) = (\d+)', source)}
    return {numbers[name]: page for name, page in re.findall(r'\{ (HELP_TOPIC_\w+), "([^"]+)" \}', source)}


def hlp_sections():
    """{number: section keyword} through contexts.map and the WinHelp topic names."""
    keyword_of_topic = {}
    keyword = None
    for line in read('help', 'orvinta.but').splitlines():
        heading = re.match(r'\\[CHUA]\{([^}]+)\}', line)
        if heading:
            keyword = heading.group(1)
        topic = re.match(r'\\cfg\{winhelp-topic\}\{([^}]+)\}', line)
        if topic:
            keyword_of_topic[topic.group(1)] = keyword
    sections = {}
    for line in read('help', 'contexts.map').splitlines():
        if line.strip() and not line.startswith('#'):
            number, topic = line.split()
            sections[int(number)] = keyword_of_topic.get(topic)
    return sections


class ChmPages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory()
        subprocess.run(['extract_chmLib', CHM, cls.directory.name], check=True, capture_output=True)

    @classmethod
    def tearDownClass(cls):
        cls.directory.cleanup()

    def extracted(self, name):
        path = os.path.join(self.directory.name, name)
        self.assertTrue(os.path.isfile(path), name + ' is not in ' + CHM)
        with open(path, 'rb') as f:
            return f.read().decode('ascii', 'replace')

    def test_every_number_from_3_to_8_opens_its_section_page(self):
        pages = program_pages()
        sections = hlp_sections()
        self.assertEqual(sorted(pages), list(range(3, 9)))
        self.assertEqual(sorted(sections), sorted(pages))
        contents = self.extracted('contents.hhc')
        for number, page in sorted(pages.items()):
            with self.subTest(number=number, page=page):
                self.assertEqual(page, '%s.html' % sections[number])
                self.assertIn('<title>', self.extracted(page))
                self.assertIn('VALUE="%s"' % page, contents)

    def test_contents_lists_the_chapters(self):
        contents = self.extracted('contents.hhc')
        chapters = re.findall(r'^\\C\{([^}]+)\}', read('help', 'orvinta.but'), re.MULTILINE)
        self.assertTrue(chapters)
        for chapter in chapters:
            with self.subTest(chapter=chapter):
                self.assertIn('VALUE="%s.html"' % chapter, contents)
        self.assertIn('Contents.html', self.extracted('#SYSTEM'))


if __name__ == '__main__':
    unittest.main()
