#!/usr/bin/python3
"""Writes the catalogue of the program's texts, lang/kansu.pot, from the
sources: every text the program shows or says is looked up by its Japanese
original through one function (lang::tr in C++, tr in the page's
JavaScript), elements of the page that carry `data-tr` hold theirs, and the
desktop entry and the AppStream metainfo hold the Japanese name and summary
with which a menu or a software centre presents the program. A
translator copies the catalogue to lang/LANGUAGE.po and fills it in with any
PO editor; the Japanese is the source and needs no file of its own.

Usage: tools/texts.py            rewrite lang/kansu.pot
       tools/texts.py --check    fail (status 1) when it is not up to date
Needs Debian's gettext (xgettext) and python3-polib.
"""

import html
import os
import re
import subprocess
import sys
import tempfile

import polib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CATALOGUE = os.path.join('lang', 'kansu.pot')
CODE_DIRS = ['app', 'access', 'chart', 'export', 'figure', 'link', 'motion', 'lang', 'platform']
PLACEHOLDER = re.compile(r'%[1-9]')
HEADER = {
    'Project-Id-Version': 'kansu',
    'Report-Msgid-Bugs-To': '',
    'MIME-Version': '1.0',
    'Content-Type': 'text/plain; charset=UTF-8',
    'Content-Transfer-Encoding': '8bit',
    'Language': '',
}


def sources(*suffixes):
    found = []
    for top in CODE_DIRS:
        for root, dirs, files in os.walk(top):
            dirs.sort()
            found += [os.path.join(root, f) for f in sorted(files) if f.endswith(suffixes)]
    return found


def xgettext(language, files, keywords):
    """The texts that the files look up, as a catalogue."""
    with tempfile.NamedTemporaryFile(suffix='.pot') as out:
        subprocess.run(['xgettext', '--from-code=UTF-8', '-L', language, '--add-comments=TRANSLATORS:',
                        '--force-po', '--no-wrap', '--add-location=file', '-o', out.name] + ['--keyword=' + k for k in keywords] + files,
                       check=True, cwd=ROOT)
        return polib.pofile(out.name)


def page_texts(path):
    """The texts of a page: those its inline scripts look up, and the text of
    every element marked `data-tr`."""
    with open(os.path.join(ROOT, path), encoding='utf-8') as f:
        page = f.read()
    entries = []
    for m in re.finditer(r'<(\w+)\b[^>]*?\sdata-tr\b[^>]*>([^<]+)</\1>', page):
        entries.append(polib.POEntry(msgid=html.unescape(m.group(2)), occurrences=[(path, '')]))
    # The inline scripts, each on the lines it has in the page.
    scripts = ''
    for m in re.finditer(r'<script>(.*?)</script>', page, re.S):
        scripts += '\n' * (page.count('\n', 0, m.start(1)) - scripts.count('\n')) + m.group(1)
    if scripts:
        with tempfile.NamedTemporaryFile('w', suffix='.js', dir=ROOT, encoding='utf-8', delete=False) as js:
            js.write(scripts)
        try:
            for e in xgettext('JavaScript', [os.path.basename(js.name)], ['tr']):
                e.occurrences = [(path, '')]
                entries.append(e)
        finally:
            os.remove(js.name)
    return entries


def install_texts():
    """The Japanese name, description and summary with which the desktop entry
    and the AppStream metainfo present the program in a menu or a software
    centre; the install step writes each language's beside them."""
    entries = []
    for path, pattern in ((os.path.join('install', 'org.kansu.Kansu.desktop'), r'^(?:Name|GenericName|Comment)\[ja\]=(.*)$'),
                          (os.path.join('install', 'org.kansu.Kansu.metainfo.xml'),
                           r'<(?:name|summary) xml:lang="ja">([^<]*)</')):
        with open(os.path.join(ROOT, path), encoding='utf-8') as f:
            text = f.read()
        for m in re.finditer(pattern, text, re.M):
            entries.append(polib.POEntry(msgid=html.unescape(m.group(1)), occurrences=[(path, '')]))
    return entries


def catalogue():
    pot = polib.POFile(wrapwidth=0)
    pot.metadata = dict(HEADER)
    parts = [xgettext('C++', sources('.cpp', '.h'), ['tr', 'trq', 'N_']),
             xgettext('JavaScript', sources('.js'), ['tr'])]
    parts.append(page_texts(os.path.join('platform', 'web', 'kansu.html')))
    parts.append(install_texts())
    for part in parts:
        for e in part:
            known = pot.find(e.msgid)
            if known:
                known.occurrences += [o for o in e.occurrences if o not in known.occurrences]
                known.comment = '\n'.join(c for c in (known.comment, e.comment) if c and c not in known.comment)
                continue
            entry = polib.POEntry(msgid=e.msgid, msgstr='', occurrences=e.occurrences, comment=e.comment)
            # %1, %2 ... are checked by msgfmt --check as the placeholders of qt-format.
            if PLACEHOLDER.search(e.msgid):
                entry.flags = ['qt-format']
            pot.append(entry)
    return pot


def main():
    text = str(catalogue()) + '\n'
    path = os.path.join(ROOT, CATALOGUE)
    if '--check' in sys.argv[1:]:
        with open(path, encoding='utf-8') as f:
            if f.read() != text:
                print('%s is not up to date with the sources: run tools/texts.py' % CATALOGUE, file=sys.stderr)
                return 1
        return 0
    with open(path, 'w', encoding='utf-8') as f:
        f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main())
