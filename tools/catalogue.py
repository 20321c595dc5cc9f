#!/usr/bin/python3
"""Writes the translations of lang/*.po as C++ for the program to carry: each
language's texts sorted by their Japanese original, so that a lookup is a
binary search. A text not translated (or fuzzy) is left out: the program
then shows the Japanese.

Usage: catalogue.py OUTPUT.cpp LANG/xx.po ...
       catalogue.py --install OUTDIR FILE.desktop FILE.metainfo.xml LANG/xx.po ...
The second form writes the desktop entry and the AppStream metainfo into
OUTDIR with each language's name, generic name and summary beside the
Japanese ones, so that a menu or a software centre presents the program in
the language of the desktop.
Needs Debian's python3-polib.
"""

import html
import os
import re
import sys

import polib


def literal(text):
    """A C++ string literal of the text's UTF-8 bytes."""
    out = []
    for b in text.encode('utf-8'):
        c = chr(b)
        if c in '\\"':
            out.append('\\' + c)
        elif 32 <= b < 127:
            out.append(c)
        else:
            out.append('\\%03o' % b)
    return '"' + ''.join(out) + '"'


def translations(files):
    """Each language's finished translations by their Japanese original, for
    the languages a desktop names by a locale (readings are for the window)."""
    found = {}
    for path in sorted(files):
        name = os.path.splitext(os.path.basename(path))[0]
        if name == 'ja_furigana':
            continue
        found[name] = {e.msgid: e.msgstr for e in polib.pofile(path)
                       if e.msgstr and not e.fuzzy and not e.obsolete}
    return found


def beside(source, outdir, pattern, original, translated, languages):
    """Copies the file into outdir with, after each line that `pattern`
    matches, the same line in every language that translates its Japanese
    (`original` of the match), written by `translated(match, code, text)`."""
    lines = []
    for line in open(source, encoding='utf-8').read().splitlines():
        lines.append(line)
        m = pattern.match(line)
        if m:
            lines += [translated(m, code, texts[original(m)])
                      for code, texts in languages.items() if original(m) in texts]
    write(os.path.join(outdir, os.path.basename(source)), '\n'.join(lines) + '\n')


def install(outdir, desktop, metainfo, files):
    languages = translations(files)
    beside(desktop, outdir, re.compile(r'^(Name|GenericName|Comment)\[ja\]=(.*)$'), lambda m: m.group(2),
           lambda m, code, text: '%s[%s]=%s' % (m.group(1), code, text), languages)
    beside(metainfo, outdir, re.compile(r'^(\s*)<(name|summary) xml:lang="ja">([^<]*)</\2>$'),
           lambda m: html.unescape(m.group(3)),
           lambda m, code, text: '%s<%s xml:lang="%s">%s</%s>' % (m.group(1), m.group(2), code,
                                                                 html.escape(text, quote=False), m.group(2)),
           languages)
    return 0


def write(path, text):
    """Writes the file unless it already holds the text, so that a build
    that changed nothing rebuilds nothing."""
    if os.path.exists(path) and open(path, encoding='utf-8').read() == text:
        return
    with open(path, 'w', encoding='utf-8') as f:
        f.write(text)


def main():
    if sys.argv[1] == '--install':
        return install(*sys.argv[2:5], sys.argv[5:])
    output, files = sys.argv[1], sys.argv[2:]
    lines = ['// Written by tools/catalogue.py from lang/*.po: do not edit.',
             '#include "lang/catalogue.h"', '', 'namespace lang::catalogue {', '']
    languages = []
    for path in sorted(files):
        name = os.path.splitext(os.path.basename(path))[0]
        po = polib.pofile(path)
        pairs = sorted((e.msgid.encode('utf-8'), e.msgid, e.msgstr) for e in po
                       if e.msgstr and not e.fuzzy and not e.obsolete)
        lines.append('const Entry k_%s[] = {' % name)
        lines += ['    {%s, %s},' % (literal(msgid), literal(msgstr)) for _, msgid, msgstr in pairs]
        lines.append('};')
        languages.append((name, len(pairs)))
    lines.append('')
    lines.append('const Table kTables[] = {')
    lines += ['    {"%s", k_%s, %d},' % (name, name, count) for name, count in languages]
    lines.append('};')
    lines.append('const std::size_t kTableCount = %d;' % len(languages))
    lines += ['', '}  // namespace lang::catalogue', '']
    write(output, '\n'.join(lines))
    return 0


if __name__ == '__main__':
    sys.exit(main())
