#!/usr/bin/python3
"""Memory of the lesson in a browser held open through a long lesson: a few
thousand of a class's actions (drags by mouse and by finger, 出す and 戻す,
the check boxes, the keys of the board, the menus of the graph and the table
opened and closed by keys and by the mouse, 初期画面), through the browser's
own input in headless Chromium. Prints the JavaScript heap, the DOM's nodes
and the event listeners before and after, each after a forced garbage
collection. Asserts nothing.

Usage: web_soak.py PAGE [ACTIONS] [--keys]
  PAGE     out/web/kansu.html
  ACTIONS  3000 by default
  --keys   a pupil at the keyboard alone: the board's keys, PageDown and
           PageUp, and the menus opened with Shift+F10 and closed with Escape
"""

import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests'))
from web_lesson import Page, chromium  # noqa: E402


def measure(b):
    b.d.execute_cdp_cmd('HeapProfiler.collectGarbage', {})
    b.d.execute_cdp_cmd('HeapProfiler.collectGarbage', {})
    heap = b.d.execute_cdp_cmd('Runtime.getHeapUsage', {})['usedSize']
    counters = b.d.execute_cdp_cmd('Memory.getDOMCounters', {})
    return heap, counters['nodes'], counters['jsEventListeners']


def main():
    url = 'file://' + os.path.abspath(sys.argv[1]) + '?zoom=100'
    numbers = [a for a in sys.argv[2:] if a.isdigit()]
    actions = int(numbers[0]) if numbers else 3000
    keys_only = '--keys' in sys.argv
    rnd = random.Random(1)
    b = chromium()
    try:
        page = Page(b, url)
        cdp = b.d.execute_cdp_cmd
        # Everything a lesson shows, once, before the first look.
        for name in ('グラフ', '表', '方眼'):
            page.click(name, 'input')
        centre = {n: page.control(n, k) for n, k in (('出す', 'button'), ('戻す', 'button'), ('最初に', 'button'),
                                                       ('初期画面', 'button'), ('方眼', 'input'),
                                                       ('BからPまでの線分', 'input'))}
        # The boxes' places, looked up once: the layout stays as it is.
        rects = {name: page.rect('div[aria-label="%s"] canvas' % name) for name in ('黒板', 'グラフ', '表')}
        widths = {'黒板': 597, 'グラフ': 389, '表': 605}

        def at(x, y, name='黒板'):
            r = rects[name]
            zoom = r['width'] / widths[name]
            return r['x'] + (x + 0.5) * zoom, r['y'] + (y + 0.5) * zoom
        page.at = at

        def mouse(kind, x, y, button='left', buttons=1):
            cdp('Input.dispatchMouseEvent', {'type': kind, 'x': x, 'y': y, 'button': button,
                                             'buttons': buttons if kind != 'mouseReleased' else 0, 'clickCount': 1})

        def click(x, y, button='left'):
            mouse('mouseMoved', x, y, 'none', 0)
            mouse('mousePressed', x, y, button)
            mouse('mouseReleased', x, y, button)

        def drag(points, finger):
            if finger:
                cdp('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': [{'x': points[0][0], 'y': points[0][1]}]})
                for x, y in points[1:]:
                    cdp('Input.dispatchTouchEvent', {'type': 'touchMove', 'touchPoints': [{'x': x, 'y': y}]})
                cdp('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})
            else:
                mouse('mouseMoved', *points[0], 'none', 0)
                mouse('mousePressed', *points[0])
                for x, y in points[1:]:
                    mouse('mouseMoved', x, y)
                mouse('mouseReleased', *points[-1])

        def key(k, code, vk):
            for kind in ('rawKeyDown', 'keyUp'):
                cdp('Input.dispatchKeyEvent', {'type': kind, 'key': k, 'code': code, 'windowsVirtualKeyCode': vk})

        def shift_f10():
            cdp('Input.dispatchKeyEvent', {'type': 'rawKeyDown', 'key': 'Shift', 'code': 'ShiftLeft', 'windowsVirtualKeyCode': 16,
                                           'modifiers': 8})
            cdp('Input.dispatchKeyEvent', {'type': 'rawKeyDown', 'key': 'F10', 'code': 'F10', 'windowsVirtualKeyCode': 121,
                                           'modifiers': 8})
            cdp('Input.dispatchKeyEvent', {'type': 'keyUp', 'key': 'F10', 'code': 'F10', 'windowsVirtualKeyCode': 121, 'modifiers': 8})
            cdp('Input.dispatchKeyEvent', {'type': 'keyUp', 'key': 'Shift', 'code': 'ShiftLeft', 'windowsVirtualKeyCode': 16})

        def by_keys():
            r = rnd.random()
            if r < 0.4:  # a pane's menu, opened and closed by keys
                page.js("document.querySelector('div[aria-label=\"%s\"]').focus()" % rnd.choice(['グラフ', '表']))
                shift_f10()
                key('Escape', 'Escape', 27)
            else:
                page.js("document.querySelector('div[aria-label=\"黒板\"]').focus()")
                for _ in range(3):
                    key(*rnd.choice([('ArrowRight', 'ArrowRight', 39), ('ArrowLeft', 'ArrowLeft', 37), ('Home', 'Home', 36),
                                     (' ', 'Space', 32), ('Escape', 'Escape', 27), ('PageDown', 'PageDown', 34),
                                     ('PageUp', 'PageUp', 33), ('3', 'Digit3', 51), ('Delete', 'Delete', 46)]))

        def one():
            if keys_only:
                return by_keys()
            r = rnd.random()
            if r < 0.25:  # a block from the tray into a column, by mouse or by finger
                kind, column = rnd.randint(0, 2), rnd.randint(0, 4)
                drag([page.at(370 + 50 * kind, 100), page.at(345, 170), page.at(320 + 40 * column, 240)], rnd.random() < 0.5)
            elif r < 0.35:  # a column's block dragged out
                drag([page.at(320 + 40 * rnd.randint(0, 4), 260), page.at(320, 120)], rnd.random() < 0.5)
            elif r < 0.65:
                click(*centre['出す' if rnd.random() < 0.6 else '戻す'])
            elif r < 0.72:
                click(*centre[rnd.choice(['方眼', 'BからPまでの線分', '最初に'])])
            elif r < 0.85:  # the board's keys
                click(*page.at(50, 330))
                for _ in range(3):
                    key(*rnd.choice([('ArrowRight', 'ArrowRight', 39), ('ArrowLeft', 'ArrowLeft', 37), ('Home', 'Home', 36),
                                     (' ', 'Space', 32), ('Escape', 'Escape', 27), ('PageDown', 'PageDown', 34)]))
            elif r < 0.95:  # a pane's menu, by the right button or by keys, closed or not chosen
                pane = rnd.choice(['グラフ', '表'])
                x, y = page.at(200, 60, pane)
                if rnd.random() < 0.5:
                    click(x, y, 'right')
                else:
                    click(x, y)
                    shift_f10()
                if rnd.random() < 0.5:
                    key('Escape', 'Escape', 27)
                else:
                    click(*page.at(200, 300))
            else:
                click(*centre['初期画面'])

        for _ in range(50):  # caches and the first of everything
            one()
        before = measure(b)
        looks = [before]
        start = time.monotonic()
        for n in range(1, actions + 1):
            one()
            if n % (actions // 6) == 0:
                looks.append(measure(b))
        seconds = time.monotonic() - start
        after = measure(b)
        print('%d actions in %.0f s' % (actions, seconds))
        print('JavaScript heap: %.2f MB before, %.2f MB after (%+.0f bytes an action)' %
              (before[0] / 1e6, after[0] / 1e6, (after[0] - before[0]) / actions))
        print('  along the way (MB): ' + ', '.join('%.2f' % (m[0] / 1e6) for m in looks))
        print('DOM nodes: %d before, %d after; event listeners: %d before, %d after' %
              (before[1], after[1], before[2], after[2]))
    finally:
        b.quit()
    return 0


if __name__ == '__main__':
    sys.exit(main())
