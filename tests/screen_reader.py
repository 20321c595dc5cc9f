"""What a screen reader finds in the running program, over the accessibility
bus (AT-SPI), as a screen reader reads it:

1. every control in the window has a name that is neither empty, nor a code
   name, nor a mere value, and every name of the lesson is there;
2. pressing "出す" through its accessible action changes the blackboard's
   description, and the change is sent as an event;
3. a short lesson by keyboard (xdotool): the focused control's description
   changes after every step, drop and move, and is sent as an event. What a
   screen reader would say is written to the transcript file.

Usage: /usr/bin/python3 screen_reader.py <program pid> <transcript file>
Run under Xvfb, inside a session bus with the accessibility bus launched
(tests/e2e_screen_reader.sh does all of that).
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WAIT = 20  # seconds for anything to appear
EXPECTED = {"初期画面", "最初に", "出す", "戻す", "自動", "ストップ", "終了", "方眼", "グラフ", "表",
            "BからPまでの線分", "速度", "点Pが動いた距離", "黒板"}
CODE_NAME = re.compile(r"^(Check|Command|Combo|Text|Label|Line|Shape|Form)\d*$"
                       r"|^(kokuban|hyo|gamen|susumu|modoru|jidou|tomeru|end)$")
VALUE = re.compile(r"^\s*[-+.\d]+\s*$")


def fail(message):
    print(f"screen_reader: FAILED: {message}", flush=True)
    sys.exit(1)


def pump(seconds, until=lambda: False):
    """Handles the bus's events for up to `seconds`, or until `until()` holds."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        if until():
            return True
        time.sleep(0.02)
    return until()


def showing(node):
    state = node.getState()
    return state.contains(pyatspi.STATE_VISIBLE) and state.contains(pyatspi.STATE_SHOWING)


def controls(node):
    """The controls a pupil can reach: focusable nodes, and the pictures, in what is shown."""
    for child in node:
        if child is None or not showing(child):
            continue
        if child.getState().contains(pyatspi.STATE_FOCUSABLE) or child.getRoleName() in ("canvas", "image", "chart"):
            yield child
        yield from controls(child)


def find_app(pid):
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        time.sleep(0.2)
    fail(f"the program (pid {pid}) did not appear on the accessibility bus within {WAIT} s")


def named(app, name, role):
    for node in controls(app):
        if node.name == name and node.getRoleName() == role:
            return node
    fail(f"no {role} named '{name}'")


def main():
    pid, transcript_path = int(sys.argv[1]), sys.argv[2]
    app = find_app(pid)

    # 1. Names.
    found = [(node.getRoleName(), node.name) for node in controls(app)]
    print("screen_reader: controls: " + ", ".join(f"{role} '{name}'" for role, name in found), flush=True)
    bad = [f"{role} '{name}'" for role, name in found
           if not name.strip() or CODE_NAME.match(name) or VALUE.match(name)]
    if bad:
        fail("controls without a proper name: " + ", ".join(bad))
    missing = EXPECTED - {name for _, name in found}
    if missing:
        fail("names not found: " + ", ".join(sorted(missing)))
    print(f"screen_reader: ok: {len(found)} controls, all named", flush=True)

    events = []  # (kind, source, text)

    def heard(event):
        kind = "focus" if event.type.startswith("object:state-changed:focused") else "description"
        if kind == "focus" and not event.detail1:
            return
        events.append((kind, event.source, event.source.description))

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-description",
                                           "object:state-changed:focused")
    pump(0.5)

    # 2. "出す" through its accessible action.
    board, step = named(app, "黒板", "canvas"), named(app, "出す", "push button")
    before = board.description
    action = step.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail(f"'出す' has no Press action (actions: {names})")
    action.doAction(names.index("Press"))
    if not pump(WAIT, lambda: board.description != before and any(s == board for _, s, _ in events)):
        fail(f"after '出す' the board's description stayed '{before}' or no change was sent")
    if "χ = 0.5 cm" not in board.description:
        fail(f"after '出す' the board says '{board.description}'")
    print(f"screen_reader: ok: '出す' changed the board's description to '{board.description}'", flush=True)

    # 3. A short lesson by keyboard, as a screen reader hears it.
    window = subprocess.run(["xdotool", "search", "--pid", str(pid)], capture_output=True, text=True).stdout.split()
    if not window:
        fail("no window of the program found by xdotool")
    subprocess.run(["xdotool", "windowfocus", "--sync", window[-1]], check=True)
    del events[:]

    def keys(*names):
        for name in names:
            subprocess.run(["xdotool", "key", name], check=True)
            pump(0.3)

    def said(check, what):
        if not pump(WAIT, lambda: any(check(kind, source, text) for kind, source, text in events)):
            fail(f"not heard: {what}")

    for _ in range(20):  # Tab to the board
        keys("Tab")
        if any(kind == "focus" and source == board for kind, source, _ in events):
            break
    said(lambda k, s, t: k == "focus" and s == board, "the focus on the board")
    keys("Home", "Right", "Right", "space")
    said(lambda k, s, t: s == board and t.startswith("6 cmのブロックを持ちました"), "the 6-cm block picked up")
    keys("1", "space")
    said(lambda k, s, t: s == board and t.startswith("列1に6 cmのブロックを置きました"), "the block put into column 1")
    keys("Next", "Next", "Next")
    said(lambda k, s, t: s == board and "χ = 1.5 cm" in t and "y = 9 cm²" in t, "χ = 1.5 and y = 9 after three steps")
    keys("Tab", "space")  # "出す" itself
    said(lambda k, s, t: k == "description" and s.name == "出す" and t == "χ = 2.0 cm、y = 12 cm²",
         "the status line on the focused '出す'")
    keys("Prior")
    said(lambda k, s, t: k == "description" and s.name == "出す" and t == "χ = 1.5 cm、y = 9 cm²",
         "PageUp's status line on the focused '出す'")

    # A screen reader speaks the focused control on arrival and its description when it changes.
    lines, focused = [], None
    for kind, source, text in events:
        if kind == "focus":
            focused = source
            lines.append(f"{source.name}、{source.getLocalizedRoleName()}" + (f": {text}" if text else ""))
        elif source == focused:
            lines.append(text)
    with open(transcript_path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    print("screen_reader: ok: the keyboard lesson, as heard:\n  " + "\n  ".join(lines), flush=True)


if __name__ == "__main__":
    main()
