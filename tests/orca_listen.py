#!/usr/bin/python3
"""The lesson as a blind pupil hears it: Orca, with its default settings,
speaking through speech-dispatcher, while the lesson is taken by keys alone
on the desktop program and in the page (Chromium). What Orca speaks is read
from its own debug log ("SPEECH OUTPUT" lines), not from the accessibility
tree, and checked scenario by scenario.

Usage: orca_listen.py PROGRAM PAGE OUTPUT_DIR [desktop|page ...]
Run inside a session bus of its own, under Xvfb, with HOME, XDG_* and the
locale already private (tests/e2e_orca.sh does that). This starts the rest of
the session: a PulseAudio server with a null sink (speech-dispatcher needs an
audio sink, or Orca stalls after its first utterances), the accessibility
bus, speech-dispatcher, openbox and Orca.

KANSU_ORCA_RECORD_ONLY=1: record and report what was heard, but pass
whatever it was (a failure to start the session still fails).
KANSU_ORCA_ONLY=desktop or =page: that platform alone.
KANSU_ORCA_PACE: the pace box's value for the automatic run (default 20:
100 ms a step, 2 s for the run's 20 steps).
"""
import codecs
import os
import re
import signal
import subprocess
import sys
import threading
import time
import tty

QUIET = 1.2    # s of silence in Orca's log that end what one key made it say
LONGEST = 8.0  # s to wait for that silence at most
# χ and y as written ("χ = 6.5 cm") or as said ("カイ 6てん5 センチメートル").
NUMBER = r'(\d+)(?:(?:\.|てん)(\d+))?'
CHI = re.compile(r'(?:χ|カイ)\s*(?:=|＝|は|イコール)?\s*' + NUMBER)
Y = re.compile(r'(?:(?<![A-Za-z])y|ｙ|ワイ)\s*(?:=|＝|は|イコール)?\s*' + NUMBER)
# A log entry starts with a time stamp; an utterance may span lines.
ENTRY = re.compile(r'^(\d\d):(\d\d):(\d\d\.\d+) - ', re.M)
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'( ?)(?: voice=\S+)?\{[^\n]*\}\n", re.S)
RELEASED = re.compile(r"\^\^\^\^\^ PROCESS ATSPI_KEY_RELEASED_EVENT: '(.*?)' \(")
# Orca's browse mode answering keys meant for the board (English and Japanese).
BROWSE = re.compile(r'heading|見出し|No more|checked|チェック|link|リンク|table|テーブル')

# Orca's names of the keys that xdotool presses by other names.
KEY_NAMES = {'Next': ['Page_Down'], 'Prior': ['Page_Up'], 'shift+Tab': ['ISO_Left_Tab', 'Tab'], 'ctrl+a': ['a']}

failures = []
record_only = os.environ.get('KANSU_ORCA_RECORD_ONLY') == '1'
started = []  # (name, Popen), stopped in reverse order


def say(message):
    print('e2e_orca: ' + message, flush=True)


def start(name, argv, log, **kw):
    p = subprocess.Popen(argv, stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, **kw)
    started.append((name, p))
    return p


def stop_all():
    for name, p in reversed(started):
        if p.poll() is None:
            p.terminate()
            try:
                p.wait(3)
            except subprocess.TimeoutExpired:  # Orca may not answer SIGTERM while speaking
                p.kill()
                p.wait()
    started.clear()


def wait_for(predicate, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    raise RuntimeError('%s within %d s' % (what, seconds))


def xdo(*args):
    return subprocess.run(['xdotool'] + [str(a) for a in args], capture_output=True, text=True).stdout


class Orca:
    """What Orca says, and which keys it has handled, read from its debug log
    as it grows. Entries are numbered in the order Orca wrote them; a mark is
    such a number."""

    def __init__(self, log):
        self.log = log
        self.read = 0
        self.decoder = codecs.getincrementaldecoder('utf-8')('replace')
        self.pending = ''
        self.events = []  # ('say', seconds of the day, text, is a key's echo) or ('key', name)
        self.at = 0

    def poll(self):
        if not os.path.exists(self.log):
            return
        with open(self.log, 'rb') as f:
            f.seek(self.read)
            data = f.read()
        self.read += len(data)
        self.pending += self.decoder.decode(data)
        # An entry starts with a time stamp; the last one is whole once the
        # next has begun, or once its line has ended.
        stamps = list(ENTRY.finditer(self.pending))
        done = 0
        for i, m in enumerate(stamps):
            last = i + 1 == len(stamps)
            body = self.pending[m.end():None if last else stamps[i + 1].start()]
            if last and not body.endswith('\n'):
                break
            said = SPOKEN.match(body)
            if body.startswith('SPEECH OUTPUT:') and not said:
                if last:
                    break
            elif said:
                t = int(m.group(1)) * 3600 + int(m.group(2)) * 60 + float(m.group(3))
                self.events.append(('say', t, said.group(1), said.group(2) == ' '))
            self.events += [('key', k) for k in RELEASED.findall(body)]
            done = len(self.pending) if last else stamps[i + 1].start()
        self.pending = self.pending[done:]

    def mark(self):
        self.poll()
        self.at = len(self.events)

    def got(self, key):
        """Whether Orca has handled the release of `key` since the mark."""
        self.poll()
        names = KEY_NAMES.get(key, [key])
        return any(e[0] == 'key' and e[1] in names for e in self.events[self.at:])

    def spoken(self, since=0):
        """(seconds of the day, text, is a key's echo) of what Orca said since entry `since`."""
        self.poll()
        return [e[1:] for e in self.events[since:] if e[0] == 'say']

    def listen(self, quiet=QUIET, longest=LONGEST):
        """Waits until Orca has said nothing new for `quiet` s (at most `longest` s)
        and returns what it said since the mark; the mark moves past it."""
        deadline = time.monotonic() + longest
        count, last_change = len(self.spoken(self.at)), time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.1)
            n = len(self.spoken(self.at))
            if n != count:
                count, last_change = n, time.monotonic()
            elif time.monotonic() - last_change >= quiet:
                break
        said = self.spoken(self.at)
        self.at = len(self.events)
        return said


class Lesson:
    """One platform's lesson, key by key, with a transcript."""

    def __init__(self, platform, orca, transcript):
        self.platform = platform
        self.orca = orca
        self.transcript = transcript
        self.results = []

    def keys(self, *names, quiet=QUIET, longest=LONGEST):
        """Presses the keys one by one, each followed by what Orca says to it."""
        heard = []
        for name in names:
            late = self.orca.spoken(self.orca.at)
            for _, text, echo in late:  # after the quiet that ended the last key's
                self.transcript.write('    (late) %s%s\n' % ('(key) ' if echo else '', text))
            self.orca.mark()
            xdo('key', name)
            # Orca may take its time over a key: what it says belongs to the
            # key only once it has handled the key.
            deadline = time.monotonic() + 10
            while not self.orca.got(name) and time.monotonic() < deadline:
                time.sleep(0.05)
            late = '' if self.orca.got(name) else ' (Orca did not get the key within 10 s)'
            said = self.orca.listen(quiet, longest)
            self.transcript.write('  [%s]%s\n' % (name, late))
            for t, text, echo in said:
                self.transcript.write('    %s%s\n' % ('(key) ' if echo else '', text))
            self.transcript.flush()
            heard.append((name, said))
        return heard

    def tab_to(self, *words, most=25):
        """Tabs until Orca says all `words` in one utterance; returns what it
        said on arriving, or None."""
        for _ in range(most):
            speech = self.tab()
            if any(all(w in text for w in words) for text in speech):
                return speech
        return None

    def tab(self):
        """One Tab; what Orca said to it."""
        return [text for _, text, echo in self.keys('Tab')[-1][1] if not echo]

    def scenario(self, name, expected, ok, heard):
        self.transcript.write('  => %s: %s\n\n' % (name, 'as expected' if ok else 'NOT as expected'))
        self.results.append((name, expected, ok, heard))
        line = '%-6s %s %-22s expected: %s' % ('ok' if ok else 'FAILED', self.platform, name, expected)
        say(line)
        if not ok:
            say('         heard: %s' % (' | '.join(heard) if heard else '(nothing)'))
            failures.append('%s %s' % (self.platform, name))

    def begin(self, title):
        self.transcript.write('%s\n' % title)


def speech_of(heard):
    """The utterances (not the keys' echoes) of what keys() returned."""
    return [text for _, said in heard for _, text, echo in said if not echo]


def value(match):
    """The number that a match of CHI or Y found."""
    return float(match.group(1) + '.' + (match.group(2) or '0'))


def state_said(speech, chi=None, y=None):
    """The utterances that give χ and y (equal to `chi` and `y`, when given)."""
    found = []
    for text in speech:
        c, v = CHI.search(text), Y.search(text)
        if c and v and (chi is None or abs(value(c) - chi) < 1e-6) \
                and (y is None or abs(value(v) - y) < 1e-6):
            found.append(text)
    return found


def once(speech):
    """No utterance twice, and χ's value not in two utterances."""
    values = [value(CHI.search(t)) for t in speech if CHI.search(t)]
    return len(set(speech)) == len(speech) and len(set(values)) == len(values)


def check_state(lesson, name, keys, chi, y, extra=None):
    """After `keys`, the state with χ = `chi` and y = `y` is heard, once."""
    heard = lesson.keys(*keys)
    speech = speech_of(heard[-1:])
    found = state_said(speech, chi, y)
    ok = len(found) >= 1 and once(speech) and (extra is None or extra(speech))
    lesson.scenario(name, 'χ = %g, y = %g said once after %s' % (chi, y, '+'.join(keys)), ok, speech)
    return speech


def take_lesson(lesson):
    """The scenarios, the same on both platforms."""
    # The tab order: ..., "グラフ" (the check box), the board, "出す", ...,
    # "点Pが動いた距離", "最初に": the control before the one checked is
    # found by what Orca says, the one checked is one Tab on.
    lesson.begin('== Tab to the board')
    if not lesson.tab_to('グラフ', 'チェックボックス'):
        lesson.scenario('tab-order', 'the check box "グラフ" reached by Tab', False, [])
        return
    arrival = lesson.tab()
    # Its name and what it is: a word beside the name (the role, in the same
    # utterance or the next), and never "embedded".
    told = [t for t in arrival if not CHI.search(t) and not re.search(r'(Focus|Browse) mode', t)]
    ok = any('黒板' in t for t in told) and re.sub(r'黒板|[\s.。、]', '', ''.join(told)) != '' \
        and not any('embedded' in t or '埋め込み' in t for t in arrival)
    lesson.scenario('tab-to-board', '"黒板" with its role on Tab', ok, arrival)

    lesson.begin('== On the board: a cursor move, pick up, a drop, a put-back')
    check_state(lesson, 'cursor-move', ['Right'], 0.0, 0,
                extra=lambda s: not any(BROWSE.search(t) for t in s))
    lesson.keys('Home', 'space')  # the 2-cm block picked up (not checked: heard either way)
    check_state(lesson, 'drop', ['1', 'space'], 0.0, 0,
                extra=lambda s: not any(BROWSE.search(t) for t in s))
    lesson.begin('== Steps, a removal, the block put back')
    check_state(lesson, 'step', ['Next'], 0.5, 1)
    check_state(lesson, 'step-back', ['Prior'], 0.0, 0)
    check_state(lesson, 'removal', ['Delete'], 0.0, 0)
    lesson.keys('Home', 'space')
    check_state(lesson, 'put-back', ['Escape'], 0.0, 0)
    # A 6-cm block in column 1 for the run: y = 12 cm² at its end.
    lesson.keys('End', 'Home', 'Right', 'Right', 'space', '1', 'space', quiet=0.8)

    lesson.begin('== The buttons on Tab, and the return to start')
    said = lesson.tab()
    lesson.scenario('tab-to-出す', '"出す" said on Tab from the board', any('出す' in t for t in said), said)
    lesson.keys('space', 'space', quiet=0.8)  # χ = 1.0
    if lesson.tab_to('点Pが動いた距離'):
        said = lesson.tab()
        lesson.scenario('tab-to-最初に', '"最初に" said on Tab', any('最初に' in t for t in said), said)
        check_state(lesson, 'return-to-start', ['space'], 0.0, 0)
    else:
        lesson.scenario('tab-order', 'the box "点Pが動いた距離" reached by Tab', False, [])

    lesson.begin('== An automatic run')
    pace = os.environ.get('KANSU_ORCA_PACE', '20')
    if lesson.tab_to('速度'):
        lesson.keys('ctrl+a', *list(pace), 'Tab', quiet=0.8)
    lesson.orca.mark()
    begun = time.monotonic()
    heard = lesson.keys('F5', quiet=3.0, longest=5 + 20 * int(pace) * 5 / 1000 + 10)
    said = [(t, text) for _, s in heard for t, text, echo in s if not echo]
    states = [(t, text) for t, text in said if CHI.search(text)]
    if states:
        span = states[-1][0] - states[0][0]
        last = states[-1][1]
    else:
        span, last = 0.0, ''
    limit = int(span) + 2  # about one a second, the first and the last
    final = bool(states) and abs(value(CHI.search(last)) - 10.0) < 1e-6 and Y.search(last) is not None \
        and value(Y.search(last)) == 12 and len(state_said([x for _, x in states], 10.0, 12)) == 1
    lesson.scenario('run-not-flooding', 'at most about one update a second (%d over %.1f s); heard %d'
                    % (limit, span, len(states)), bool(states) and len(states) <= limit, [x for _, x in said])
    lesson.scenario('run-end', 'the end of the run said once, with χ = 10.0 and y = 12', final, [x for _, x in states])
    lesson.transcript.write('  (the run: %.1f s from F5 until quiet)\n' % (time.monotonic() - begun))


def session(out):
    """Starts the sound server, the accessibility bus, speech-dispatcher, the
    window manager and Orca; returns the reader of Orca's log."""
    logs = open(os.path.join(out, 'orca-session.log'), 'w')
    run = os.environ['XDG_RUNTIME_DIR']
    start('pulseaudio', ['pulseaudio', '-n', '--daemonize=no', '--exit-idle-time=-1', '--use-pid-file=no',
                         '-L', 'module-native-protocol-unix', '-L', 'module-null-sink sink_name=silent',
                         '-L', 'module-always-sink'], logs)
    wait_for(lambda: os.path.exists(os.path.join(run, 'pulse', 'native')), 10, 'no PulseAudio server')
    start('accessibility bus', ['/usr/libexec/at-spi-bus-launcher', '--launch-immediately'], logs)
    start('speech-dispatcher', ['speech-dispatcher', '--run-single', '--timeout', '0'], logs)
    wait_for(lambda: os.path.exists(os.path.join(run, 'speech-dispatcher', 'speechd.sock')), 10,
             'no speech-dispatcher')
    start('openbox', ['openbox'], logs)
    time.sleep(0.5)
    debug = os.path.join(out, 'orca-debug.log')
    if os.path.exists(debug):
        os.remove(debug)
    # Orca writes its debug file through Python's buffer, in blocks of 8 kB,
    # but line by line to a terminal: it is given a terminal whose lines are
    # copied into the file as they come.
    master, slave = os.openpty()
    tty.setraw(slave)

    def copy():
        with open(debug, 'wb') as f:
            while True:
                try:
                    data = os.read(master, 65536)
                except OSError:
                    return
                if not data:
                    return
                f.write(data)
                f.flush()
    threading.Thread(target=copy, daemon=True).start()
    start('orca', ['orca', '--debug-file=' + os.ttyname(slave)], logs)
    orca = Orca(debug)
    wait_for(lambda: orca.spoken(), 30, 'Orca said nothing')
    orca.listen()
    return orca


def window_of(pid_or_class, by='pid', seconds=30):
    found = []

    def any_window():
        found[:] = xdo('search', '--onlyvisible', '--' + by, pid_or_class).split()
        return bool(found)
    wait_for(any_window, seconds, 'no window')
    return found[-1]


def desktop(program, orca, out, lang=None):
    """The lesson on the desktop; with `lang`, one step in that language
    (English: the values said in its words)."""
    name = 'english' if lang else 'desktop'
    with open(os.path.join(out, 'orca-%s.txt' % name), 'w') as transcript:
        env = dict(os.environ, QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1')
        for v in ('QT_SCALE_FACTOR', 'QT_SCREEN_SCALE_FACTORS', 'QT_AUTO_SCREEN_SCALE_FACTOR'):
            env.pop(v, None)
        p = start('program', [program] + (['--lang', lang] if lang else []),
                  open(os.path.join(out, 'orca-program.log'), 'a'), env=env)
        try:
            xdo('windowactivate', '--sync', window_of(str(p.pid)))
            transcript.write('== The window\n')
            for _, text, _ in orca.listen(quiet=2.5):
                transcript.write('    %s\n' % text)
            if not lang:
                take_lesson(Lesson('desktop', orca, transcript))
            else:
                lesson = Lesson('english', orca, transcript)
                speech = speech_of(lesson.keys('Next'))
                wanted = 'chi 0 point 5 centimetres, y 0 square centimetres'
                lesson.scenario('a step', wanted, any(wanted in text for text in speech), speech)
        finally:
            p.terminate()
            p.wait(5)
            started.remove(('program', p))
            orca.listen()


def page(url, orca, out):
    profile = os.path.join(os.environ['HOME'], 'chromium')
    # A page in Japanese in a browser in another language: no offer to translate it.
    os.makedirs(os.path.join(profile, 'Default'), exist_ok=True)
    with open(os.path.join(profile, 'Default', 'Preferences'), 'w') as f:
        f.write('{"translate": {"enabled": false}, "browser": {"has_seen_welcome_page": true}}')
    with open(os.path.join(out, 'orca-page.txt'), 'w') as transcript:
        p = start('chromium', ['chromium', '--no-sandbox', '--force-renderer-accessibility', '--user-data-dir=' + profile,
                               '--no-first-run', '--no-default-browser-check', '--disable-gpu', '--disable-sync',
                               '--disable-background-networking', '--disable-component-update', '--disable-quic',
                               '--password-store=basic', '--disable-features=Translate', '--test-type', '--window-position=0,0', '--window-size=1280,1000', url],
                  open(os.path.join(out, 'orca-chromium.log'), 'w'), start_new_session=True)
        try:
            xdo('windowactivate', '--sync', window_of('chromium', by='class'))
            transcript.write('== The page loaded\n')
            # Orca reads a page that has loaded; wait for it to settle.
            for _, text, _ in orca.listen(quiet=2.5, longest=20):
                transcript.write('    %s\n' % text)
            take_lesson(Lesson('page', orca, transcript))
        finally:
            os.killpg(p.pid, signal.SIGTERM)
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()
            started.remove(('chromium', p))


def main():
    program, page_file, out = sys.argv[1:4]
    which = sys.argv[4:] or os.environ.get('KANSU_ORCA_ONLY', 'desktop page english').split()
    began = time.monotonic()
    try:
        orca = session(out)
        say('the session is up in %.0f s' % (time.monotonic() - began))
        if 'desktop' in which:
            desktop(program, orca, out)
        if 'page' in which:
            page('file://' + os.path.abspath(page_file), orca, out)
        # Last: the language chosen is kept in the session's settings.
        if 'english' in which:
            desktop(program, orca, out, 'en')
        log = open(orca.log, encoding='utf-8', errors='replace').read()
        say('Orca could not speak a change %d times ("bad content sent to speak()"), could not process '
            '%d events' % (log.count('bad content sent to speak'), log.count('Could not process')))
    except (RuntimeError, OSError, subprocess.SubprocessError) as e:
        say('FAILED: the session: %s' % e)
        return 1
    finally:
        stop_all()
    say('transcripts in %s (orca-desktop.txt, orca-page.txt; Orca\'s own log orca-debug.log)' % out)
    say('%d scenarios not as expected%s; %.0f s' % (len(failures), ' (recorded only)' if record_only and failures
                                                     else '', time.monotonic() - began))
    return 0 if record_only or not failures else 1


if __name__ == '__main__':
    sys.exit(main())
