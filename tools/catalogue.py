#!/usr/bin/python3
"""Writes the translations of lang/*.po as C++ for the program to carry: each
language's texts sorted by their Japanese original, so that a lookup is a
binary search. A text not translated (or fuzzy) is left out: the program
then shows the Japanese.

Usage: catalogue.py OUTPUT.cpp LANG/xx.po ...
Needs Debian's python3-polib.
"""

import os
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


def main():
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
    text = '\n'.join(lines)
    if os.path.exists(output) and open(output, encoding='utf-8').read() == text:
        return 0
    with open(output, 'w', encoding='utf-8') as f:
        f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main())
