#!/usr/bin/python3
"""The lesson in a browser, driven from outside as a pupil would, through
real pointer and key input: in headless Chromium, in WebKit (the engine of
Safari on the iPad) under Xvfb and in Firefox. The same lesson is run in the
desktop program (under Xvfb, by xdotool) and compared pixel by pixel; then
what a teacher does with the page (a link, copy, save, print, offline).

Usage: web_lesson.py PROGRAM PAGE OUTPUT_DIR
  PROGRAM     the desktop program, for the comparison
  PAGE        out/web/kansu.html
  OUTPUT_DIR  screenshots and the log of what was checked
"""

import base64
import functools
import http.server
import io
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_actions import PointerActions
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.chrome.service import Service as ChromeService

# The lesson that both platforms run: blocks 1, 1, 3, 0, 2 dragged from the
# tray into columns 1 to 5, grid, graph and table on, 13 steps of P.
FIGURE = [1, 1, 3, 0, 2]
LESSON = [('drop', kind, column) for column, kind in enumerate(FIGURE) if kind] + \
         [('tick', '方眼'), ('tick', 'グラフ'), ('tick', '表')] + [('click', '出す')] * 13
# The picture boxes' drawing areas: their layout places (the window's client
# pixels) and sizes.
BOXES = {'黒板': (18, 66, 597, 405), 'グラフ': (634, 18, 389, 509), '表': (10, 562, 605, 109)}
# The most of a box's pixels that may differ between the platforms: only the
# edges of glyphs may, which the table has most of.
MOST_DIFFERENT = {'黒板': 0.02, 'グラフ': 0.02, '表': 0.05}
# Top-level controls' centres in the window's client pixels, for the desktop.
CONTROLS = {'出す': (337, 512), '方眼': (387, 36), 'グラフ': (528, 525), '表': (528, 493)}

failures = []
# With KANSU_FIRST_FAILURE set (the planted faults' runs), the test ends at
# the first check that fails.
FIRST_FAILURE = bool(os.environ.get('KANSU_FIRST_FAILURE'))


class FirstFailure(Exception):
    pass


def check(condition, what, detail=''):
    print(('ok     ' if condition else 'FAILED ') + what + ('' if condition else ': ' + str(detail)), flush=True)
    if not condition:
        failures.append(what)
        if FIRST_FAILURE:
            raise FirstFailure(what)
    return condition


def wait_until(predicate, seconds=5.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    return predicate()


# ---- the desktop program ---------------------------------------------------------

class Desktop:
    """The desktop program in a window at (0, 0) with no frame, on Xvfb."""

    def __init__(self, program, display, home):
        self.env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=home)
        self.process = subprocess.Popen([program], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Shown and painted: the board's green is on the screen.
        wait_until(lambda: self.screen().getpixel((BOXES['黒板'][0] + 10, BOXES['黒板'][1] + 300)) == (0, 128, 0), 10)

    def xdo(self, *args):
        subprocess.run(['xdotool'] + [str(a) for a in args], env=self.env, check=True)
        time.sleep(0.12)

    def run(self, lesson):
        bx, by = BOXES['黒板'][:2]
        for action in lesson:
            if action[0] == 'drop':
                kind, column = action[1:]
                self.xdo('mousemove', bx + 370 + 50 * (kind - 1), by + 100, 'mousedown', 1)
                for x, y in ((bx + 345, by + 170), (bx + 320 + 40 * column, by + 240)):
                    self.xdo('mousemove', x, y)
                self.xdo('mouseup', 1)
            else:
                x, y = CONTROLS[action[1]]
                self.xdo('mousemove', x, y, 'click', 1)
        time.sleep(1)

    def copied_picture(self):
        """The lesson's picture that Ctrl+C puts on the clipboard."""
        self.xdo('mousemove', BOXES['黒板'][0] + 10, BOXES['黒板'][1] + 10, 'key', '--clearmodifiers', 'ctrl+c')
        png = wait_until(lambda: subprocess.run(['xclip', '-selection', 'clipboard', '-t', 'image/png', '-o'], env=self.env,
                                                capture_output=True).stdout, 5)
        return Image.open(io.BytesIO(png)).convert('RGB') if png else None

    def screen(self):
        return Image.open(io.BytesIO(subprocess.run(['import', '-window', 'root', 'png:-'], env=self.env,
                                                    capture_output=True, check=True).stdout)).convert('RGB')

    def boxes(self):
        shot = self.screen()
        return {name: shot.crop((x, y, x + w, y + h)) for name, (x, y, w, h) in BOXES.items()}

    def close(self):
        self.process.kill()
        self.process.wait()


# ---- the page ----------------------------------------------------------------------

class Selenium:
    """A browser that WebDriver drives (Chromium, WebKit)."""

    def __init__(self, driver):
        self.d = driver

    def get(self, url):
        self.d.get(url)

    def js(self, body):
        return self.d.execute_script(body)

    def pointer(self, points, kind=interaction.POINTER_MOUSE):
        """Down at the first point, through the others, up at the last (viewport pixels)."""
        actions = ActionBuilder(self.d, mouse=PointerInput(kind, 'pointer'))
        p = actions.pointer_action
        p.move_to_location(*points[0]).pointer_down()
        for point in points[1:]:
            p.move_to_location(*point)
        p.pointer_up()
        actions.perform()

    def keys(self, *keys):
        a = ActionChains(self.d)
        for k in keys:
            a.send_keys(k)
        a.perform()

    def ctrl(self, letter):
        ActionChains(self.d).key_down(Keys.CONTROL).send_keys(letter).key_up(Keys.CONTROL).perform()

    def screenshot(self):
        return Image.open(io.BytesIO(self.d.get_screenshot_as_png())).convert('RGB')

    def quit(self):
        self.d.quit()


class BiDi:
    """Firefox, driven through its own WebDriver BiDi (no separate driver)."""

    def __init__(self):
        import websocket
        s = socket.socket()
        s.bind(('127.0.0.1', 0))
        port = s.getsockname()[1]
        s.close()
        self.profile = tempfile.mkdtemp()
        self.process = subprocess.Popen(['firefox-esr', '--headless', '--remote-debugging-port=%d' % port, '--profile',
                                         self.profile, '--no-remote', '--width=1280', '--height=1000'],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.ws, self.n = None, 0
        end = time.monotonic() + 60
        while not self.ws:
            try:
                self.ws = websocket.create_connection('ws://127.0.0.1:%d/session' % port, suppress_origin=True)
            except (OSError, websocket.WebSocketException):
                if time.monotonic() > end:
                    raise
                time.sleep(0.2)
        self.send('session.new', {'capabilities': {}})
        self.context = self.send('browsingContext.getTree', {})['contexts'][0]['context']

    def send(self, method, params):
        self.n += 1
        self.ws.send(json.dumps({'id': self.n, 'method': method, 'params': params}))
        while True:
            m = json.loads(self.ws.recv())
            if m.get('id') == self.n:
                if m.get('type') == 'error':
                    raise RuntimeError(m)
                return m['result']

    def get(self, url):
        self.send('browsingContext.navigate', {'context': self.context, 'url': url, 'wait': 'complete'})

    def js(self, body):
        r = self.send('script.evaluate', {'expression': 'JSON.stringify((() => { %s })())' % body,
                                          'target': {'context': self.context}, 'awaitPromise': False})
        return json.loads(r['result']['value']) if r['result'].get('type') == 'string' else None

    def pointer(self, points, kind='mouse'):
        steps = [{'type': 'pointerMove', 'x': int(points[0][0]), 'y': int(points[0][1])},
                 {'type': 'pointerDown', 'button': 0}]
        steps += [{'type': 'pointerMove', 'x': int(x), 'y': int(y)} for x, y in points[1:]]
        steps.append({'type': 'pointerUp', 'button': 0})
        self.send('input.performActions', {'context': self.context, 'actions': [
            {'type': 'pointer', 'id': 'pointer', 'parameters': {'pointerType': kind}, 'actions': steps}]})

    def screenshot(self):
        shot = self.send('browsingContext.captureScreenshot', {'context': self.context})
        return Image.open(io.BytesIO(base64.b64decode(shot['data']))).convert('RGB')

    def quit(self):
        try:
            self.send('session.end', {})
        finally:
            self.process.terminate()
            self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)


def touch(b, points, between=None):
    """One finger down at the first point, through the others, up at the
    last (viewport pixels), as a touch screen sends it to Chromium: the
    browser's own gestures (the back swipe) see it too. `between(i)` runs
    after the i-th point."""
    send = lambda kind, at: b.d.execute_cdp_cmd('Input.dispatchTouchEvent', {
        'type': kind, 'touchPoints': [{'x': at[0], 'y': at[1]}] if at else []})
    send('touchStart', points[0])
    for i, point in enumerate(points[1:], 1):
        send('touchMove', point)
        if between:
            between(i)
    send('touchEnd', None)


def swipe(x, y, dx, steps=20):
    return [(x + dx * i / steps, y) for i in range(steps + 1)]


def ink(picture, box, light):
    """The pixels of a part of a picture that are light (white text on the
    board) or dark (black text on a pane)."""
    part = picture.crop(box).convert('L')
    return sum(1 for v in part.getdata() if (v > 200 if light else v < 100))


def pieces(picture, box):
    """The dark pieces (8-connected) in a part of a picture: a stroke lost
    from a glyph splits it or takes it away."""
    part = picture.crop(box).convert('L')
    w, h = part.size
    dark = {(x, y) for y in range(h) for x in range(w) if part.getpixel((x, y)) < 100}
    count, seen = 0, set()
    for p in dark:
        if p in seen:
            continue
        count += 1
        stack = [p]
        seen.add(p)
        while stack:
            x, y = stack.pop()
            for q in ((x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                if q in dark and q not in seen:
                    seen.add(q)
                    stack.append(q)
    return count


# The graph's axis labels (left of the axis, below it) and the board's bold "cm".
LABELS = {'left': (0, 0, 30, 509), 'below': (0, 485, 389, 509)}
BOLD_CM = (336, 368, 364, 389)


def chromium(extra=(), size=(1280, 1000)):
    o = webdriver.ChromeOptions()
    o.binary_location = '/usr/bin/chromium'
    for a in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
              '--disable-background-networking', '--disable-component-update', '--disable-sync',
              '--window-size=%d,%d' % size] + list(extra):
        o.add_argument(a)
    o.set_capability('goog:loggingPrefs', {'browser': 'ALL', 'performance': 'ALL'})
    return Selenium(webdriver.Chrome(service=ChromeService('/usr/bin/chromedriver'), options=o))


def webkit():
    o = webdriver.WebKitGTKOptions()
    o.binary_location = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
    o.add_argument('--automation')
    return Selenium(webdriver.WebKitGTK(executable_path='/usr/bin/WebKitWebDriver', options=o))


class Page:
    """The lesson's page in a browser, used through its controls' names."""

    def __init__(self, browser, url):
        self.b = browser
        self.b.get('about:blank')  # a new page, also where only the part after '#' differs
        self.b.get(url)
        wait_until(lambda: self.js("return !!window.kansu && !document.getElementById('lesson').hidden"), 10)
        time.sleep(0.3)

    def js(self, body):
        return self.b.js(body)

    def rect(self, selector):
        return self.js('return document.querySelector(%s).getBoundingClientRect().toJSON()' % json.dumps(selector))

    def control(self, name, kind='button'):
        """The centre of a control (kind: button, input, div) in viewport pixels."""
        r = self.rect('#lesson %s[aria-label="%s"]' % (kind, name))
        return r['x'] + r['width'] / 2, r['y'] + r['height'] / 2

    def click(self, name, kind='button'):
        self.b.pointer([self.control(name, kind)])

    def at(self, x, y, name='黒板'):
        """The viewport pixel of pixel (x, y) of a picture box."""
        r = self.rect('div[aria-label="%s"] canvas' % name)
        zoom = r['width'] / BOXES[name][2]
        return r['x'] + (x + 0.5) * zoom, r['y'] + (y + 0.5) * zoom

    def drag(self, fx, fy, tx, ty, kind=interaction.POINTER_MOUSE):
        self.b.pointer([self.at(fx, fy), self.at((fx + tx) / 2, (fy + ty) / 2), self.at(tx, ty)], kind)

    def run(self, lesson):
        for action in lesson:
            if action[0] == 'drop':
                kind, column = action[1:]
                self.drag(370 + 50 * (kind - 1), 100, 320 + 40 * column, 240)
            else:
                self.click(action[1], 'input' if action[0] == 'tick' else 'button')
        time.sleep(0.3)

    def keys(self, *keys):
        self.b.keys(*keys)

    def state(self):
        return self.js("""const v = n => document.querySelector('input[aria-label="' + n + '"]');
                          return {chi: v('点Pが動いた距離').value, status: document.getElementById('status').textContent,
                                  table: document.getElementById(document.querySelector('div[aria-label="表"]')
                                         .getAttribute('aria-describedby')).textContent,
                                  focus: document.activeElement.getAttribute('aria-label'),
                                  lesson: document.getElementById('lesson').getBoundingClientRect().toJSON(),
                                  ended: !document.getElementById('message').hidden,
                                  message: document.getElementById('message').innerText}""")

    def description(self, name):
        return self.js("return document.getElementById(document.querySelector('div[aria-label=%s]')"
                       ".getAttribute('aria-describedby')).textContent" % json.dumps(name))

    def boxes(self):
        shot = self.b.screenshot()
        ratio = self.js('return devicePixelRatio')
        out = {}
        for name in BOXES:
            r = self.rect('div[aria-label="%s"] canvas' % name)
            out[name] = shot.crop(tuple(round(v * ratio) for v in (r['x'], r['y'], r['right'], r['bottom'])))
        return out


def different(a, b, tolerance=0):
    """The share of pixels that differ between two pictures of a box, in a
    channel by more than `tolerance`."""
    if a.size != b.size:
        return 1.0
    diff = ImageChops.difference(a, b).point(lambda v: 255 if v > tolerance else 0).convert('L')
    return sum(diff.point(lambda v: 255 if v else 0).histogram()[255:]) / (a.size[0] * a.size[1])


# ---- the checks ------------------------------------------------------------------------

def lesson_and_pixels(page, desktop, out, engine):
    """The lesson on both platforms: the same table, the same pixels."""
    page.run(LESSON)
    s = page.state()
    check(s['chi'] == ' 6.5', engine + ': P has moved 6.5 cm', s['chi'])
    check(s['table'] == 'χ = 0、1、2、3、4、5、6 cm のとき、y = 0、2、4、6、8、14、20 cm²。',
          engine + ': the table holds the totals by hand', s['table'])
    check((s['lesson']['width'], s['lesson']['height']) == (1031, 681),
          engine + ': the lesson is 1031 x 681 with graph and table at 100 %', s['lesson'])
    web = page.boxes()
    for name, picture in web.items():
        picture.save(os.path.join(out, '%s-%s.png' % (engine, name)))
    if desktop:
        # Small texts keep every stroke (WebKit at a pixel ratio of 1 lost
        # some), and bold ones their weight (Firefox's was hardly bold).
        got = {side: pieces(web['グラフ'], box) for side, box in LABELS.items()}
        want = {side: pieces(desktop['グラフ'], box) for side, box in LABELS.items()}
        check(all(abs(got[s] - want[s]) <= 3 for s in LABELS), engine + ': the graph\'s small labels keep every stroke',
              (got, want))
        bold, desktop_bold = ink(web['黒板'], BOLD_CM, True), ink(desktop['黒板'], BOLD_CM, True)
        check(bold >= 0.85 * desktop_bold, engine + ': the bold "cm" is as heavy as on the desktop', (bold, desktop_bold))
    if desktop and engine == 'chromium':
        for name, picture in desktop.items():
            share = different(picture, web[name])
            check(share <= MOST_DIFFERENT[name], '%s: the %s differs from the desktop in %.2f %% of its pixels'
                  % (engine, name, 100 * share), 'at most %g %%' % (100 * MOST_DIFFERENT[name]))


def chromium_checks(url):
    b = chromium()
    try:
        b.d.execute_cdp_cmd('Network.enable', {})
        page = Page(b, url + '?zoom=100')
        s = page.state()
        check((s['lesson']['width'], s['lesson']['height']) == (631, 548), 'the lesson is 631 x 548 at 100 %', s['lesson'])
        order = page.js("""return [...document.querySelectorAll('#lesson [tabindex]')].filter(e => e.tabIndex > 0)
                           .sort((a, b) => a.tabIndex - b.tabIndex).map(e => e.getAttribute('aria-label'))""")
        check(order == ['グラフ', '終了', '速度', 'グラフ', '黒板', '出す', '戻す', '自動', 'ストップ', '表', '方眼', '表',
                        '初期画面', 'BからPまでの線分', '点Pが動いた距離', '最初に'], 'tab order and names', order)
        check(s['focus'] == '終了', 'the first in the tab order that is shown has the focus', s['focus'])

        # Keys on the blackboard and the presenter's keys.
        page.click('黒板', 'div')
        page.keys(Keys.END, Keys.HOME, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.SPACE, '3', Keys.ENTER)
        check('列3に6 cmのブロックを置きました' in page.state()['status'], 'keys put the 6-cm block into column 3',
              page.state()['status'])
        page.keys('3', Keys.DELETE)
        check('列3のブロックを取り出しました' in page.state()['status'], 'Delete takes it out', page.state()['status'])
        page.keys(Keys.PAGE_DOWN, Keys.PAGE_DOWN, Keys.PAGE_UP)
        check(page.state()['chi'] == ' 0.5', 'PageDown and PageUp step P', page.state()['chi'])

        # F5 runs, never reloads; Escape stops; 最初に during a run; 終了 ends.
        page.js('window.stillHere = true')
        page.click('速度', 'input')
        page.keys(Keys.END, Keys.BACKSPACE, Keys.BACKSPACE, '10')
        page.click('黒板', 'div')
        page.keys(Keys.F5)
        check(wait_until(lambda: page.state()['chi'] not in (' 0.5', ' 0.0')), 'F5 starts the run')
        page.keys(Keys.ESCAPE)
        time.sleep(0.2)
        stopped = page.state()['chi']
        time.sleep(0.3)
        check(page.state()['chi'] == stopped and page.js('return window.stillHere === true'),
              'Escape stops it, the page was not reloaded', (stopped, page.state()['chi']))
        page.click('自動')
        time.sleep(0.15)
        page.click('最初に')
        check(wait_until(lambda: page.state()['chi'] == ' 10.0'), 'after 最初に the run goes on to the end')
        page.click('自動')
        time.sleep(0.15)
        page.click('終了')
        time.sleep(0.3)
        s = page.state()
        check(s['ended'] and '終わりました' in s['message'], '終了 during a run: the page says the lesson has ended',
              s['message'])
        time.sleep(0.3)
        check(page.state()['chi'] == s['chi'], 'nothing runs on after 終了', (s['chi'], page.state()['chi']))

        # Nothing but the page itself was asked for.
        asked = [e for e in b.d.get_log('performance') if '"Network.requestWillBeSent"' in e['message']]
        outside = [e['message'][:200] for e in asked if '"url":"file://' not in e['message'] and
                   '"url":"data:' not in e['message']]
        check(not outside, 'the page made no network request', outside)
        errors = [e for e in b.d.get_log('browser') if e['level'] == 'SEVERE']
        check(not errors, 'no errors on the console', errors)
    finally:
        b.quit()

    # A finger drags; a second finger during the drag drops nothing.
    b = chromium()
    try:
        page = Page(b, url + '?zoom=150')
        page.drag(470, 100, 320, 240, interaction.POINTER_TOUCH)
        check('列1に6 cmのブロックを置きました' in page.state()['status'], 'a finger drags a block at 150 %',
              page.state()['status'])
        actions = ActionBuilder(b.d, mouse=PointerInput(interaction.POINTER_TOUCH, 'one'))
        one = actions.pointer_action
        two = PointerActions(actions.add_pointer_input(interaction.POINTER_TOUCH, 'two'))
        at = lambda x, y: map(int, page.at(x, y))
        one.move_to_location(*at(370, 100)), two.pause(0)
        one.pointer_down(), two.pause(0)
        one.move_to_location(*at(360, 200)), two.move_to_location(*at(420, 100))
        one.pause(0), two.pointer_down()
        one.move_to_location(*at(360, 240)), two.move_to_location(*at(440, 240))
        one.pointer_up(), two.pause(0)
        one.pause(0), two.pointer_up()
        actions.perform()
        status = page.state()['status']
        check('列2に2 cmのブロックを置きました' in status, 'the first finger drops its block, the second nothing', status)
        check(page.js('return getComputedStyle(document.querySelector("div[aria-label=黒板]")).touchAction') == 'none',
              'a drag on the board neither scrolls nor zooms the page')
    finally:
        b.quit()

    # The lesson fits the viewport, and fits again; drawn at device resolution.
    b = chromium(['--force-device-scale-factor=2'], (900, 700))
    try:
        page = Page(b, url)
        fits = lambda s, vw, vh: abs(s['lesson']['width'] / vw - 1) < 0.01 or abs(s['lesson']['height'] / vh - 1) < 0.01
        vw, vh = page.js('return [innerWidth, innerHeight]')
        s = page.state()
        check(fits(s, vw, vh) and abs(s['lesson']['x'] * 2 + s['lesson']['width'] - vw) <= 2,
              'the lesson fits the viewport, centred', (s['lesson'], vw, vh))
        page.click('グラフ', 'input')
        time.sleep(0.3)
        s = page.state()
        check(fits(s, vw, vh) and abs(s['lesson']['width'] / s['lesson']['height'] - 1031 / 548) < 0.01,
              'グラフ fits it again', s['lesson'])
        b.d.set_window_size(1200, 500)
        time.sleep(0.5)
        vw, vh = page.js('return [innerWidth, innerHeight]')
        check(fits(page.state(), vw, vh), 'a resized window fits it again', (page.state()['lesson'], vw, vh))
        sharp_js = """const c = document.querySelector('div[aria-label="黒板"] canvas');
                      return [c.width, c.getBoundingClientRect().width * devicePixelRatio]"""
        sharp = page.js(sharp_js)
        check(abs(sharp[0] - sharp[1]) <= 1, 'the board is drawn at the device resolution', sharp)
        # The browser's own zoom changes the pixel ratio: drawn again at the new one.
        b.d.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                            {'width': 1200, 'height': 500, 'deviceScaleFactor': 1.5, 'mobile': False})
        time.sleep(0.5)
        sharp = page.js(sharp_js)
        check(abs(sharp[0] - sharp[1]) <= 1, 'drawn again when the pixel ratio changes', sharp)
    finally:
        b.quit()

    # A browser without WebAssembly, and a start that fails, are said on the page.
    for name, script, words in (('without WebAssembly', 'delete window.WebAssembly', 'WebAssembly'),
                                ('a start that fails', 'WebAssembly.instantiate = () => Promise.reject(new Error("x"))',
                                 '始められません')):
        b = chromium()
        try:
            b.d.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': script})
            b.get(url)
            text = wait_until(lambda: b.js("const m = document.getElementById('message'); return m.hidden ? '' : m.innerText"))
            check(words in text, name + ', the page says why', text)
        finally:
            b.quit()


def class_checks(url, out, desktop_picture):
    """What a teacher does with the page: a link to a ready figure, copy,
    save and print, offline after one visit, and what a screen reader hears."""
    # A link opens its figure as if built by hand: the same pictures as the lesson.
    b = chromium()
    try:
        by_hand = Page(b, url + '?zoom=100')
        by_hand.run(LESSON)
        expected = by_hand.boxes()
        page = Page(b, url + '?zoom=100#figure=1,1,3,0,2&grid&graph&table&x=6.5')
        s, pictures = page.state(), page.boxes()
        check(s['chi'] == ' 6.5' and all(different(expected[n], pictures[n], 8) == 0 for n in BOXES),
              'a link opens its figure: board, graph and table as after the steps by hand', s['chi'])
        check('χ = 6.5 cm、y = 20 cm²' in s['status'], 'a link\'s lesson is on the status line', s['status'])
        page = Page(b, url + '?zoom=100#figure=1,4,3,x,2&x=99&graph&colour=red&x=0.3')
        s = page.state()
        notice = page.js("return document.getElementById('notice').textContent")
        check(s['table'].startswith('表は隠れています') and 'グラフ' not in notice and
              all(bad in notice for bad in ('列2=4', '列4=x', 'x=99', 'colour=red', 'x=0.3')) and
              '2 cm、空き、6 cm、空き、4 cm。' in page.description('黒板'),
              'bad values in a link are refused one by one, the rest applied', notice)

        # The copied link reopens the same lesson; the table's text; a PNG; a page.
        b.d.execute_cdp_cmd('Browser.grantPermissions', {'permissions': ['clipboardReadWrite', 'clipboardSanitizedWrite']})
        b.d.execute_cdp_cmd('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': out})
        page.js('localStorage.clear()')  # a new lesson at the same address: nothing kept comes back
        page = Page(b, url + '?zoom=100')
        page.run(LESSON)
        page.click('黒板', 'div')
        clipboard = lambda: b.d.execute_async_script('navigator.clipboard.readText().then(arguments[0], e => arguments[0](""))')
        b.ctrl('l')
        link = wait_until(lambda: '#' in clipboard() and clipboard())
        check(link == url + '?zoom=100#figure=1,1,3,0,2&grid&graph&table&x=6.5', 'Ctrl+L copies the link', link)
        again = Page(b, link)
        check(again.state()['table'] == page.state()['table'] and again.state()['chi'] == ' 6.5',
              'the copied link reopens the same lesson', again.state())
        page = again
        table = page.at(300, 60, '表')
        b.d.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': 'mousePressed', 'x': table[0], 'y': table[1],
                                                         'button': 'right', 'clickCount': 1})
        b.d.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': 'mouseReleased', 'x': table[0], 'y': table[1],
                                                         'button': 'right', 'clickCount': 1})
        entries = page.js("return [...document.querySelectorAll('.menu button')].map(e => e.textContent)")
        check(entries == ['表をコピー', '画像をコピー', '画像として保存…', 'この授業のリンクをコピー', '読み上げ', '言語 / Language'],
              'the table\'s menu', entries)
        page.js("document.querySelector('.menu button').click()")
        text = wait_until(lambda: clipboard().startswith('χ') and clipboard())
        check(text == 'χ\t0\t1\t2\t3\t4\t5\t6\ny\t0\t2\t4\t6\t8\t14\t20\n', 'the table as text on the clipboard', text)
        page.click('黒板', 'div')
        b.ctrl('s')
        saved = os.path.join(out, '関数の利用.png')
        if check(wait_until(lambda: os.path.exists(saved)), 'Ctrl+S downloads the lesson as a PNG'):
            png = Image.open(saved)
            # The same composition on both platforms: only the edges of glyphs,
            # which each platform's text engine smooths its own way, may differ.
            picture = png.convert('RGB')
            share = different(picture, desktop_picture, 8) if desktop_picture else 1
            check(share <= 0.005, 'the saved picture differs from the desktop\'s copied one in %.2f %% of its pixels '
                  '(%.2f %% by any amount)' % (100 * share, 100 * different(picture, desktop_picture)), 'at most 0.5 %')
            # The board and the table below it, the graph beside: 8 pixels between and around, twice.
            check(png.size == (2 * (8 + 605 + 8 + 389 + 8), 2 * (8 + 405 + 8 + 109 + 8)) and
                  round(png.info.get('dpi', (0,))[0]) == 192,
                  'the PNG is the desktop\'s: twice the layout, 192 dots per inch', (png.size, png.info.get('dpi')))
        b.js('window.print = () => { window.printed = true; }')  # the browser's dialog would wait for a person
        b.ctrl('p')
        check(b.js('return window.printed === true'), 'Ctrl+P opens the browser\'s print')
        pdf = base64.b64decode(b.d.execute_cdp_cmd('Page.printToPDF', {'preferCSSPageSize': True})['data'])
        with open(os.path.join(out, 'printed.pdf'), 'wb') as f:
            f.write(pdf)
        pages = len(re.findall(rb'/Type\s*/Page\b', pdf))
        box = re.search(rb'/MediaBox\s*\[\s*0 0 ([0-9.]+) ([0-9.]+)', pdf)
        check(pages == 1 and box and float(box.group(1)) > float(box.group(2)), 'Ctrl+P prints one landscape page',
              (pages, box and box.groups()))

        # What a screen reader finds.
        tree = b.d.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
        names = {n.get('name', {}).get('value') for n in tree}
        wanted = {'自動', '方眼', '黒板', '表', 'グラフ', '速度', 'BからPまでの線分', '点Pが動いた距離', '出す', '最初に'}
        check(wanted <= names, 'the controls\' names in the accessibility tree', wanted - names)
        page.keys(Keys.PAGE_UP)
        time.sleep(0.3)
        tree = b.d.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
        live = [n for n in tree if any(p.get('name') == 'live' and p['value'].get('value') == 'polite'
                                       for p in n.get('properties', []))]
        heard = ' '.join(n.get('name', {}).get('value', '') for n in tree)
        check(live and 'χ = 6.0 cm、y = 20 cm²' in heard, 'the status line in a polite live region', heard[-200:])
    finally:
        b.quit()

    # Served from a web server, the page works offline after one visit.
    server = Server(os.path.dirname(url[len('file://'):]))
    served = server.url + 'index.html'
    b = chromium()
    try:
        Page(b, served)
        kept = wait_until(lambda: b.js("return navigator.serviceWorker.controller ? 1 : 0") or
                          b.js("navigator.serviceWorker.ready.then(() => 0); return 0"), 10)
        wait_until(lambda: b.d.execute_async_script(
            "caches.keys().then(k => k.length ? caches.open(k[0]).then(c => c.keys()) : []).then(r => arguments[0](r.length))")
                   >= 10, 10)
        server.close()
        page = Page(b, served + '?zoom=100')
        page.run(LESSON[:1])
        check('列1に2 cmのブロックを置きました' in page.state()['status'], 'with the server gone, the page works offline',
              (kept, page.state()['status']))
    finally:
        b.quit()


def hands_checks(url):
    """What a class's fingers, keys and links do to the page: swipes the
    browser would take for its own, a reload, keys with a menu open, a long
    press during a drag, a long bad link, the address changed, the server's
    page opened from disk, the lesson offline by every address."""
    b = chromium()
    try:
        page = Page(b, url + '?zoom=100')  # with a page behind it in the tab's history
        page.run(LESSON[:3] + [('tick', '方眼')] + [('click', '出す')] * 3)
        page.js('window.stillHere = true')
        lesson = page.state()['lesson']
        for x, y in ((lesson['x'] / 2, lesson['y'] + lesson['height'] / 2), page.control('自動'), page.control('最初に')):
            for dx in (500, -500):
                touch(b, swipe(x, y, dx))
        time.sleep(0.5)
        check(page.js('return window.stillHere === true') and b.d.current_url == url + '?zoom=100',
              'a sideways swipe over the margin and the buttons leaves the page where it is', b.d.current_url)
        figure = '列1から列5のブロック: 2 cm、2 cm、6 cm、空き、空き。'
        b.d.refresh()
        wait_until(lambda: b.js("return !!window.kansu && !document.getElementById('lesson').hidden"), 10)
        time.sleep(0.3)
        grid = 'return document.querySelector(\'input[aria-label="方眼"]\').checked'
        check(figure in page.description('黒板') and page.state()['chi'] == ' 1.5' and page.js(grid),
              'a reload brings the figure, the boxes and P back', (page.description('黒板'), page.state()['chi']))
        page = Page(b, url + '?zoom=100#figure=3')
        check('6 cm、空き、空き、空き、空き' in page.description('黒板'), 'another link opens as it is',
              page.description('黒板'))
        # The address changed while the page is open: that lesson opens.
        page.js("location.hash = '#figure=0,2&x=1'")
        time.sleep(0.5)
        wait_until(lambda: b.js("return !!window.kansu && !document.getElementById('lesson').hidden"), 10)
        page = Page.__new__(Page)
        page.b = b
        check('空き、4 cm、空き' in page.description('黒板') and page.state()['chi'] == ' 1.0',
              'an address changed while the page is open opens its lesson', page.description('黒板'))

        # Tab alone shows the keyboard's marks; no pane that is not shown takes the focus.
        page = Page(b, url + '?zoom=100#table')
        check(page.state()['focus'] == '終了', 'the focus starts on the first control shown', page.state()['focus'])
        page.keys(Keys.TAB, Keys.TAB, Keys.TAB)
        time.sleep(0.2)
        # The cursor's white band around the tray's 2-cm block, left of it (x 345 to 347).
        marks = page.js("""const f = document.activeElement, c = f.querySelector('canvas'), s = c.width / 597;
                           const p = c.getContext('2d').getImageData(Math.floor(346 * s), Math.floor(100 * s), 1, 1).data;
                           return [f.getAttribute('aria-label'), getComputedStyle(f).outlineStyle,
                                   p[0] + p[1] + p[2] === 765 ? 'cursor' : 'none']""")
        check(marks == ['黒板', 'solid', 'cursor'], 'Tab alone shows the focus mark and the board\'s cursor', marks)
        page.js("document.querySelector('div[aria-label=\"グラフ\"]').focus()")
        check(page.state()['focus'] == '黒板', 'the graph pane, not shown, takes no focus', page.state()['focus'])

        # With the table's menu open, F5 reloads nothing; a menu opened by
        # keys and closed once still takes a click.
        b.d.execute_cdp_cmd('Browser.grantPermissions', {'permissions': ['clipboardReadWrite', 'clipboardSanitizedWrite']})
        # (A headless browser reloads for no key it is sent: the page's own refusal is looked at.)
        page.js("window.reloads = []; addEventListener('keydown', e => { if (e.key === 'F5') reloads.push(!e.defaultPrevented); })")
        shift_f10 = lambda: ActionChains(b.d).key_down(Keys.SHIFT).send_keys(Keys.F10).key_up(Keys.SHIFT).perform()
        page.js("document.querySelector('div[aria-label=\"表\"]').focus()")
        shift_f10()
        page.keys(Keys.F5)
        time.sleep(0.3)
        check(page.js('return window.reloads') == [False] and page.js("return !!document.querySelector('.menu')"),
              'F5 with a menu open reloads nothing', page.js('return window.reloads'))
        page.keys(Keys.ESCAPE)
        shift_f10()
        r = page.rect('.menu button')
        b.pointer([(r['x'] + r['width'] / 2, r['y'] + r['height'] / 2)])
        text = wait_until(lambda: b.d.execute_async_script(
            'navigator.clipboard.readText().then(arguments[0], e => arguments[0](""))').startswith('χ'))
        check(text and not page.js("return !!document.querySelector('.menu')"),
              'a click on an entry of a menu opened by keys a second time copies the table')

        # A long press during a finger's drag drops nothing of its own.
        page = Page(b, url + '?zoom=100')
        points = [page.at(470, 100), page.at(420, 150), page.at(360, 240), page.at(362, 242)]
        def long_press(i):
            if i == 1:  # above the rectangle, on the way
                page.js("const c = document.querySelector('div[aria-label=\"黒板\"]');"
                        "c.dispatchEvent(new MouseEvent('contextmenu', {bubbles: true, cancelable: true, clientX: %d, "
                        "clientY: %d}))" % points[1])
        touch(b, points, long_press)
        status = page.state()['status']
        check('列2に6 cmのブロックを置きました' in status, 'a long press during a drag drops nothing', status)
        # A drag that leaves the board is a drag all the same: a column's
        # block dragged out to the window's margin is taken out.
        out_of_board = page.rect('#lesson')
        b.pointer([page.at(360, 260), page.at(360, 120), (out_of_board['x'] / 2, out_of_board['y'] + 40)])
        check('列2のブロックを取り出しました' in page.state()['status'], 'a block dragged out past the board is taken out',
              page.state()['status'])
        # A touch the browser takes back puts the block back, changes nothing.
        before = page.description('黒板')
        b.d.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': [
            {'x': page.at(420, 100)[0], 'y': page.at(420, 100)[1]}]})
        b.d.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchMove', 'touchPoints': [
            {'x': page.at(400, 240)[0], 'y': page.at(400, 240)[1]}]})
        b.d.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchCancel', 'touchPoints': []})
        time.sleep(0.2)
        check(page.description('黒板') == before, 'a touch the browser takes back changes nothing', page.description('黒板'))

        # A long bad link: its notice wraps within the window and covers no control.
        page = Page(b, url + '#' + 'x' * 200000 + '&grid')  # fitted: the lesson as tall as the window
        notice = page.rect('#notice')
        inside = page.js("const n = document.getElementById('notice'); return n.scrollWidth <= n.clientWidth")
        controls = page.js("""return [...document.querySelectorAll('#lesson button, #lesson .check, #lesson .box, #lesson .combo')]
                              .map(e => e.getBoundingClientRect().toJSON())""")
        vw, vh = page.js('return [innerWidth, innerHeight]')
        covered = [c for c in controls if c['y'] < notice['bottom'] and c['bottom'] > notice['y'] and
                   c['x'] < notice['right'] and c['right'] > notice['x']]
        check(notice['height'] > 0 and notice['x'] >= 0 and notice['right'] <= vw and notice['bottom'] <= vh and inside and
              not covered,
              'a long link\'s notice wraps within the window and covers no control', (notice, covered[:2]))

        # The browser's zoom changed twice (the pixel ratio up, the window's
        # width in the page's pixels down): drawn anew at each ratio.
        for ratio in (1.5, 2):
            b.d.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                {'width': int(1500 / ratio), 'height': 800, 'deviceScaleFactor': ratio, 'mobile': False})
            time.sleep(0.5)
            sharp = page.js("""const c = document.querySelector('div[aria-label="黒板"] canvas');
                               return [c.width, c.getBoundingClientRect().width * devicePixelRatio]""")
            check(abs(sharp[0] - sharp[1]) <= 1, 'drawn again at a pixel ratio of %g' % ratio, sharp)
        b.d.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})

        # The server's page opened from disk says which file to open.
        b.get(url.replace('kansu.html', 'index.html'))
        text = wait_until(lambda: b.js("const m = document.getElementById('message'); return m.hidden ? '' : m.innerText"))
        check('kansu.html' in text and 'サーバー' in text, 'index.html from disk names kansu.html', text)
    finally:
        b.quit()

    # Served, the lesson opens offline after one visit by every address a school gives.
    server = Server(os.path.dirname(url[len('file://'):]))
    b = chromium()
    try:
        Page(b, server.url + 'index.html')
        wait_until(lambda: b.d.execute_async_script(
            "navigator.serviceWorker.ready.then(() => caches.keys()).then(k => k.length ? caches.open(k[0]).then(c => "
            "c.keys()) : []).then(r => arguments[0](r.length))") >= 10, 10)
        server.close()
        for address in ('', 'index.html?zoom=150', '#figure=3', 'index.html#graph'):
            try:
                page = Page(b, server.url + address)
                board = page.js("const d = document.querySelector('div[aria-label=\"黒板\"]');"
                                "return d ? document.getElementById(d.getAttribute('aria-describedby')).textContent : ''")
            except WebDriverException as e:  # the browser's own error page, or none
                board = str(e).splitlines()[0]
            check('点Pは' in board, 'offline, the lesson opens at /' + address, board)
    finally:
        b.quit()


class Server:
    """A folder served on 127.0.0.1 until closed."""

    def __init__(self, folder):
        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=folder))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = 'http://127.0.0.1:%d/' % self.server.server_address[1]

    def close(self):
        self.server.shutdown()
        self.server.server_close()


def free_display():
    for n in range(150, 200):
        if not os.path.exists('/tmp/.X%d-lock' % n) and not os.path.exists('/tmp/.X11-unix/X%d' % n):
            return ':%d' % n
    raise RuntimeError('no free display')


# The browser's speech as a recording: what the page hands it, "cancel" for a cut-off.
SPEECH_STUB = """window.said = [];
window.SpeechSynthesisUtterance = function (text) { this.text = text; };
Object.defineProperty(window, 'speechSynthesis', {value: {
  getVoices: function () { return [{lang: 'ja-JP'}, {lang: 'en-US'}, {lang: 'pt-BR'}]; },
  cancel: function () { window.said.push('cancel'); },
  speak: function (u) { window.said.push(u.lang + '|' + u.text); }}});"""


def language_checks(url):
    """A lesson by keys in English (chosen in the address) and in Portuguese
    (chosen by a link), heard aloud; the choice kept over a reload; a bad
    code left out and named."""
    b = chromium()
    try:
        b.d.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': SPEECH_STUB})
        for address, tag, board, status, aloud in (
                ('?lang=en', 'en', 'Blackboard', 'χ = 1.5 cm, y = 3 cm²', 'en|chi 1 point 5 centimetres, y 3 square centimetres'),
                ('#lang=pt', 'pt-BR', 'Quadro', 'χ = 1.5 cm, y = 3 cm²',
                 'pt-BR|qui 1 vírgula 5 centímetros, ípsilon 3 centímetros quadrados')):
            page = Page(b, url + address)
            check(page.js('return document.documentElement.lang') == tag, tag + ': the page\'s lang')
            page.click(board, 'div')
            if tag == 'en':  # on from now on, kept on this device
                page.keys(Keys.F8)
            page.keys(Keys.SPACE, '1', Keys.SPACE, Keys.PAGE_DOWN, Keys.PAGE_DOWN, Keys.PAGE_DOWN)
            time.sleep(1.3)
            said = page.js('return window.said')
            shown = page.js("return document.getElementById('status').textContent")
            check(shown == status, tag + ': the status line', shown)
            check(said[-2:] == ['cancel', aloud], tag + ': said aloud, cutting off what was being said', said[-4:])
        page = Page(b, url)  # the choice kept on this device
        check(page.js("return document.documentElement.lang + ' ' + !!document.querySelector('[aria-label=\"Avançar\"]')")
              == 'pt-BR true', 'the language kept over a new start')
        page = Page(b, url + '?lang=%3Cb%3E')
        notice = page.js("return document.getElementById('notice').textContent")
        check('lang=<b>' in notice and page.js('return document.documentElement.lang') == 'pt-BR',
              'a bad code is left out and named', notice)
        page.js("localStorage.clear()")
    finally:
        b.quit()


def main():
    program, page_file, out = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    url = 'file://' + os.path.abspath(page_file)
    display = free_display()
    xvfb = subprocess.Popen(['Xvfb', display, '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                            stderr=subprocess.DEVNULL)
    home = tempfile.mkdtemp()
    try:
        os.environ['DISPLAY'] = display
        wait_until(lambda: subprocess.run(['xdotool', 'getmouselocation'], capture_output=True).returncode == 0)
        # The desktop's lesson and its picture first (the page's are compared
        # with them), then the page in Chromium, then the lesson in every engine.
        desktop = Desktop(program, display, home)
        desktop.run(LESSON)
        reference = desktop.boxes()
        desktop_picture = desktop.copied_picture()
        if desktop_picture:
            desktop_picture.save(os.path.join(out, 'desktop-lesson.png'))
        desktop.close()
        for name, picture in reference.items():
            picture.save(os.path.join(out, 'desktop-%s.png' % name))
        chromium_checks(url)
        class_checks(url, out, desktop_picture)
        hands_checks(url)
        language_checks(url)

        engines = (('chromium', chromium), ('webkit', webkit), ('firefox', BiDi))
        for engine, start in engines:
            try:
                b = start()
            except (WebDriverException, OSError) as e:
                check(False, engine + ' starts', e)
                continue
            try:
                lesson_and_pixels(Page(b, url + '?zoom=100'), reference, out, engine)
            finally:
                b.quit()
    except FirstFailure:
        pass
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)
    print('web_lesson: %d failed' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
