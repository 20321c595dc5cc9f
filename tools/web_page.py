#!/usr/bin/python3
"""Writes the lesson's web pages from the compiled program.

  page/kansu.html   one self-contained file: code, WebAssembly, the face and
                    the icon inlined; it opens from disk and asks the network
                    for nothing
  page/index.html   the same page for a web server, with its files beside it:
                    kansu.js, kansu.wasm, the face, the icons, and what makes
                    it an app that works offline (manifest.webmanifest,
                    sw.js, which keeps every file)

The program's face is IPA P Gothic. By default the page carries a subset of
it with only the characters the program can show (a few dozen kilobytes
instead of six megabytes), renamed and licensed as the IPA Font License
requires of a derived font; --full-font ships the original file unchanged
instead. Either way the licence goes with it.

The page's own texts (what it says before the lesson has started: the page
for a server opened from disk, a browser without WebAssembly, a start that
failed) go into it in every language, so that the language asked for in the
address or kept on the device is spoken from the first word; the lesson's
texts come with the program.

Usage: web_page.py --template T --single JS --server JS WASM --icon SVG
                   --icons PNG192 PNG512 --sources DIR... --catalogues PO...
                   --out DIR [--full-font]
Needs Debian's python3 with fontTools (python3-fonttools, python3-brotli) and
python3-polib.
"""

import argparse
import base64
import hashlib
import io
import json
import os
import re
import shutil
import sys

IPA_FONT = '/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf'
IPA_COPYRIGHT = '/usr/share/doc/fonts-ipafont-gothic/copyright'
FAMILY = 'Kansu Gothic'


def characters(source_dirs):
    """Every character the program can show: those of its sources and pages,
    and all printable ASCII (a pupil may type any digit or sign)."""
    chars = set(chr(c) for c in range(0x20, 0x7F))
    for root_dir in source_dirs:
        for root, _, files in os.walk(root_dir):
            for name in files:
                if name.endswith(('.cpp', '.h', '.js', '.html')):
                    with open(os.path.join(root, name), encoding='utf-8') as f:
                        chars.update(c for c in f.read() if ord(c) > 0x7F and c.isprintable())
    return ''.join(sorted(chars))


def subset_font(text):
    """The face with only `text`, named so that it cannot be taken for the
    original (IPA Font License, article 3.1 (4)), as WOFF2."""
    from fontTools import subset
    from fontTools.ttLib import TTFont

    options = subset.Options()
    options.flavor = 'woff2'
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.notdef_outline = True
    font = TTFont(IPA_FONT)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    names = font['name']
    for record in names.names:
        if record.nameID in (1, 4, 16, 18, 21):
            record.string = FAMILY
        elif record.nameID in (3, 6, 20):
            record.string = FAMILY.replace(' ', '')
    names.setName('%s, a subset of IPA P Gothic 003.03 (ipagp.ttf) with the characters of the lesson '
                  '"３.１次関数", distributed under the IPA Font License Agreement v1.0.' % FAMILY, 10, 3, 1, 0x409)
    out = io.BytesIO()
    font.flavor = 'woff2'
    font.save(out)
    return out.getvalue()


def licence_text(full):
    """The font's licence as the Debian package states it, and what was done
    to the face."""
    with open(IPA_COPYRIGHT, encoding='utf-8') as f:
        copyright_text = f.read()
    m = re.search(r'^License: IPA-1\n((?: .*\n)+)', copyright_text, re.M)
    licence = '\n'.join('' if line.strip() == '.' else line[1:] for line in m.group(1).splitlines())
    if full:
        head = ('The page shows its texts in IPA P Gothic (ipagp.ttf, version 003.03), shipped unchanged.\n'
                'Copyright (c) Information-technology Promotion Agency, Japan (IPA), 2003-2011;\n'
                '2020-2021 Japanese Character Information Technology Promotion Council (CITPC).\n')
    else:
        head = ('The page shows its texts in "%s", a derived font made from IPA P Gothic\n'
                '(ipagp.ttf, version 003.03) by keeping only the characters the program can show\n'
                '(tools/web_page.py in the program\'s source makes it with fontTools) and renaming it.\n'
                'It is distributed under the IPA Font License Agreement v1.0 below.\n'
                'Copyright (c) Information-technology Promotion Agency, Japan (IPA), 2003-2011;\n'
                '2020-2021 Japanese Character Information Technology Promotion Council (CITPC).\n'
                'To use the original font instead: build the page with `tools/web.sh --full-font`, which\n'
                'ships ipagp.ttf unchanged; the original is at https://moji.or.jp/ipafont/ and in\n'
                'Debian\'s package fonts-ipafont-gothic.\n' % FAMILY)
    return head + '\n' + licence.strip() + '\n'


def page_texts(catalogues, languages_source):
    """Each language's code (as an address names it) with its tag and its
    translations of the page's own texts, from the PO files; the languages'
    codes, tags and files as lang/texts.cpp lists them."""
    import polib
    with open(languages_source, encoding='utf-8') as f:
        listed = re.findall(r'\{"([a-z]+)", "[^"]*", "([A-Za-z-]+)", "([A-Za-z_]+)", (?:true|false)\}', f.read())
    files = {os.path.splitext(os.path.basename(p))[0]: p for p in catalogues}
    texts = {}
    for code, tag, name in listed:
        po = polib.pofile(files[name])
        texts[code] = {'tag': tag, 'texts': {e.msgid: e.msgstr for e in po if e.msgstr and not e.fuzzy and not e.obsolete
                                             and any(o[0] == 'platform/web/kansu.html' for o in e.occurrences)}}
    return texts


def script_tag(js):
    # Nothing in the code may end the script element early.
    return '<script>\n' + js.replace('</script', '<\\/script') + '\n</script>'


def page(template, icon, script, font, licence, texts, head=''):
    """The page; with a `head` (the manifest), the app that keeps its files."""
    return (template.replace('@ICON@', icon)
            .replace('@TEXTS@', json.dumps(texts, ensure_ascii=False, sort_keys=True))
            .replace('@APP@', 'true' if head else 'false')
            .replace('<!--@HEAD@-->', head)
            .replace('<!--@FONT_LICENCE@-->', '<!--\n' + licence.replace('--', '- -') + '-->')
            .replace('@SCRIPT@', script)
            .replace('@FONT@', json.dumps(font)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--template', required=True)
    parser.add_argument('--single', required=True, help='kansu.js with the WebAssembly inlined')
    parser.add_argument('--server', nargs=2, required=True, metavar=('JS', 'WASM'))
    parser.add_argument('--icon', required=True)
    parser.add_argument('--icons', nargs=2, required=True, metavar=('PNG192', 'PNG512'))
    parser.add_argument('--sources', nargs='+', required=True)
    parser.add_argument('--catalogues', nargs='+', required=True)
    parser.add_argument('--out', required=True)
    parser.add_argument('--full-font', action='store_true')
    args = parser.parse_args()

    if args.full_font:
        with open(IPA_FONT, 'rb') as f:
            font_bytes = f.read()
        font_name, family = 'ipagp.ttf', 'IPAPGothic'
    else:
        font_bytes = subset_font(characters(args.sources))
        font_name, family = 'kansu-gothic.woff2', FAMILY
    licence = licence_text(args.full_font)
    lang_dir = next(d for d in args.sources if os.path.basename(os.path.normpath(d)) == 'lang')
    texts = page_texts(args.catalogues, os.path.join(lang_dir, 'texts.cpp'))
    with open(args.template, encoding='utf-8') as f:
        template = f.read()
    with open(args.icon, 'rb') as f:
        icon_bytes = f.read()
    icon = 'data:image/svg+xml;base64,' + base64.b64encode(icon_bytes).decode()
    with open(args.single, encoding='utf-8') as f:
        single_js = f.read()

    os.makedirs(args.out, exist_ok=True)
    for stale in os.listdir(args.out):
        path = os.path.join(args.out, stale)
        if os.path.isfile(path):
            os.remove(path)
    with open(os.path.join(args.out, 'kansu.html'), 'w', encoding='utf-8') as f:
        f.write(page(template, icon, script_tag(single_js),
                     {'family': family, 'base64': base64.b64encode(font_bytes).decode()}, licence, texts))
    with open(os.path.join(args.out, 'index.html'), 'w', encoding='utf-8') as f:
        f.write(page(template, 'icon.svg', '<script src="kansu.js"></script>', {'family': family, 'url': font_name},
                     licence, texts, '<link rel="manifest" href="manifest.webmanifest">\n'
                              '<meta name="theme-color" content="#008000">'))
    shutil.copyfile(args.server[0], os.path.join(args.out, 'kansu.js'))
    shutil.copyfile(args.server[1], os.path.join(args.out, 'kansu.wasm'))
    with open(os.path.join(args.out, font_name), 'wb') as f:
        f.write(font_bytes)
    with open(os.path.join(args.out, 'icon.svg'), 'wb') as f:
        f.write(icon_bytes)
    for size, png in zip((192, 512), args.icons):
        shutil.copyfile(png, os.path.join(args.out, 'icon-%d.png' % size))
    with open(os.path.join(args.out, 'FONT-LICENCE.txt'), 'w', encoding='utf-8') as f:
        f.write(licence)
    web_dir = os.path.dirname(os.path.abspath(args.template))
    shutil.copyfile(os.path.join(web_dir, 'manifest.webmanifest'), os.path.join(args.out, 'manifest.webmanifest'))

    # The service worker keeps every file; its cache is named after their
    # contents, so that a new version is fetched whole and replaces the old.
    files = sorted(os.listdir(args.out))
    digest = hashlib.sha256()
    for name in files:
        with open(os.path.join(args.out, name), 'rb') as f:
            digest.update(name.encode() + b'\0' + f.read())
    with open(os.path.join(web_dir, 'sw.js'), encoding='utf-8') as f:
        worker = f.read()
    with open(os.path.join(args.out, 'sw.js'), 'w', encoding='utf-8') as f:
        f.write(worker.replace('@VERSION@', digest.hexdigest()[:16]).replace('@FILES@', json.dumps(['./'] + files)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
