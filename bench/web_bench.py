#!/usr/bin/python3
"""Speed, size and memory of the lesson in a browser (headless Chromium),
side by side with the desktop build. Prints figures; asserts nothing.

Usage: web_bench.py PAGE [BENCH_STEPS]
  PAGE         out/web/kansu.html
  BENCH_STEPS  the desktop's bench_steps, for the ratio of a step's time
"""

import json
import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests'))
from web_lesson import Page, Server, chromium, wait_until  # noqa: E402

# Every option on and a 6-cm block in every column.
WHOLE_LESSON = """
const k = window.kansu;
const id = n => Number(document.querySelector('#lesson [aria-label="' + n + '"]').closest('[data-kansu]').dataset.kansu);
const board = id('黒板');
for (let column = 0; column < 5; ++column) {
  k._kansu_pointer(board, 0, 1, 1, 0, 470, 100);
  k._kansu_pointer(board, 1, 1, 1, 0, 320 + 40 * column, 240);
  k._kansu_pointer(board, 2, 1, 1, 0, 320 + 40 * column, 240);
}
for (const n of ['方眼', 'グラフ', '表'])
  document.querySelector('#lesson input[aria-label="' + n + '"]').click();
"""

# The whole lesson, then 1,000 steps of P, each timed with the frame that
# shows it: forward to the far end, 最初に (not timed), and on.
STEPS = WHOLE_LESSON + """
k._kansu_frame();
const step = id('出す'), start = id('最初に'), chi = document.querySelector('input[aria-label="点Pが動いた距離"]');
const handler = [], shown = [];
for (let i = 0; i < 1000; ++i) {
  if (chi.value === ' 10.0') { k._kansu_clicked(start); k._kansu_frame(); }
  const t0 = performance.now();
  k._kansu_clicked(step);
  const t1 = performance.now();
  k._kansu_frame();
  const t2 = performance.now();
  handler.push(t1 - t0);
  shown.push(t2 - t0);
}
const median = a => a.sort((x, y) => x - y)[a.length >> 1];
return [median(handler), median(shown), k.HEAP8.length];
"""


# The same lesson at χ = 7, then English and Portuguese in turn, chosen from
# the graph's menu, each timed from the click to the frame that shows it,
# beside 100 steps in the same page.
LANGUAGE = WHOLE_LESSON + """
const step = id('出す'), start = id('最初に');
const steps = [];
for (let i = 0; i < 100; ++i) {
  if (i % 20 === 0) { k._kansu_clicked(start); k._kansu_frame(); }
  const t0 = performance.now();
  k._kansu_clicked(step);
  k._kansu_frame();
  steps.push(performance.now() - t0);
}
const pane = Number(document.querySelector('#lesson div[aria-label="グラフ"]').closest('[data-kansu]').dataset.kansu);
const entry = text => [...document.querySelectorAll('.menu button')].find(b => b.textContent.endsWith(text));
const changes = [];
for (let i = 0; i < 20; ++i) {
  k._kansu_context(pane, 60, 60);  // a long press on the graph
  entry('言語 / Language').click();
  const chosen = entry(i % 2 ? 'Português' : 'English');
  const t0 = performance.now();
  chosen.click();
  k._kansu_frame();
  changes.push(performance.now() - t0);
}
localStorage.clear();
const median = a => a.sort((x, y) => x - y)[a.length >> 1];
return [median(changes), Math.max(...changes), median(steps)];
"""


def language_change(url):
    b = chromium()
    try:
        return Page(b, url).js(LANGUAGE)
    finally:
        b.quit()


FIRST_FRAME = "const e = performance.getEntriesByName('kansu:first-frame'); return e.length ? e[0].startTime : 0"


def first_frame(url, loads=10, before=None):
    """Navigation to the first frame on screen, each load in a new browser
    (a first visit); `before` runs ahead of the page's own scripts."""
    times = []
    for _ in range(loads):
        b = chromium()
        try:
            if before:
                b.d.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': before})
            b.get(url)
            times.append(wait_until(lambda: b.js(FIRST_FRAME), 10))
        finally:
            b.quit()
    return statistics.median(times), min(times), max(times)


def offline_second_visit(folder, loads=5):
    """The first frame of a visit after the server is gone."""
    times = []
    for _ in range(loads):
        server = Server(folder)
        b = chromium()
        try:
            b.get(server.url + 'index.html')
            wait_until(lambda: b.d.execute_async_script(
                "caches.keys().then(k => k.length ? caches.open(k[0]).then(c => c.keys()) : []).then(r => arguments[0](r.length))")
                       >= 10, 10)
            server.close()
            b.get('about:blank')
            b.get(server.url + 'index.html')
            times.append(wait_until(lambda: b.js(FIRST_FRAME), 10))
        finally:
            b.quit()
    return statistics.median(times), min(times), max(times)


def steps(url, ratio):
    b = chromium(['--force-device-scale-factor=%g' % ratio])
    try:
        page = Page(b, url)
        handler, shown, memory = page.js(STEPS)
        return handler, shown, memory
    finally:
        b.quit()


def pause_processor(url):
    """Processor time of the page's main thread while a run waits 1 s between steps."""
    b = chromium()
    try:
        page = Page(b, url)
        b.d.execute_cdp_cmd('Performance.enable', {})
        page.click('速度', 'input')
        page.js("document.querySelector('#lesson input[aria-label=\"速度\"]').value = '200'")
        page.click('自動')
        time.sleep(0.5)  # into the first pause
        metric = lambda: {m['name']: m['value'] for m in b.d.execute_cdp_cmd('Performance.getMetrics', {})['metrics']}
        m0, t0 = metric(), time.monotonic()
        time.sleep(3)
        m1, t1 = metric(), time.monotonic()
        return (m1['TaskDuration'] - m0['TaskDuration']) / (t1 - t0)
    finally:
        b.quit()


def desktop_steps(bench_steps):
    out = subprocess.run([bench_steps, '--benchmark_filter=BM_Step(Forward|AndPaint)/100/', '--benchmark_format=json'],
                         env=dict(os.environ, QT_QPA_PLATFORM='offscreen'), capture_output=True, text=True, check=True)
    medians = {b['run_name'].split('/')[0]: b['real_time'] / 1000 for b in json.JSONDecoder().raw_decode(out.stdout)[0]['benchmarks']
               if b.get('aggregate_name') == 'median'}
    return medians['BM_StepForward'], medians['BM_StepAndPaint']


def main():
    page_file = os.path.abspath(sys.argv[1])
    url = 'file://' + page_file
    with open(page_file, encoding='utf-8') as f:
        html = f.read()
    font = re.search(r'"base64": "([^"]*)"', html)
    font_bytes = len(font.group(1)) if font else 0
    print('kansu.html: %.0f kB in all, %.0f kB without the face (%.0f kB of it)' %
          (len(html.encode()) / 1000, (len(html.encode()) - font_bytes) / 1000, font_bytes / 1000))
    median, low, high = first_frame(url + '?zoom=100')
    print('navigation to the first frame: median %.0f ms (%.0f to %.0f over 10 loads)' % (median, low, high))
    median, low, high = first_frame(url + '?zoom=100#figure=3,3,3,3,3&grid&graph&table&x=10')
    print('a link to a figure with x = 10, to the first frame: median %.0f ms (%.0f to %.0f)' % (median, low, high))
    server = Server(os.path.dirname(page_file))
    try:
        with_worker = first_frame(server.url + 'index.html?zoom=100', 8)[0]
        without = first_frame(server.url + 'index.html?zoom=100', 8, 'delete Navigator.prototype.serviceWorker')[0]
    finally:
        server.close()
    print('served, a first visit to the first frame: %.0f ms with the service worker, %.0f ms without (median of 8)'
          % (with_worker, without))
    median, low, high = offline_second_visit(os.path.dirname(page_file))
    print('a second visit with the server gone, to the first frame: median %.0f ms (%.0f to %.0f over 5)'
          % (median, low, high))
    handler1, shown1, memory1 = steps(url + '?zoom=100', 1)
    handler2, shown2, memory2 = steps(url + '?zoom=100', 2)
    print('a step with every option on, zoom 100 %%, ratio 1: %.2f ms (the handler %.2f ms)' % (shown1, handler1))
    print('the same at a device pixel ratio of 2: %.2f ms (the handler %.2f ms)' % (shown2, handler2))
    print('WebAssembly memory after 1,000 steps: %.1f MB at ratio 1, %.1f MB at ratio 2' %
          (memory1 / 2**20, memory2 / 2**20))
    change, slowest, step = language_change(url + '?zoom=100')
    print('a change of language with the whole lesson, to its frame: median %.1f ms (at most %.1f over 20); '
          '%.0f times a step in the same page (%.2f ms)' % (change, slowest, change / step, step))
    print('processor while a run pauses (1 s pauses): %.2f %% of one' % (100 * pause_processor(url + '?zoom=100')))
    if len(sys.argv) > 2:
        step, step_and_paint = desktop_steps(sys.argv[2])
        print('desktop, same run: a step %.2f ms, with its screen update %.2f ms; the page takes %.1f times as long'
              % (step, step_and_paint, shown1 / step_and_paint))
    return 0


if __name__ == '__main__':
    sys.exit(main())
