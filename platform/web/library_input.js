// The page's input handed to the program: pointers (mouse, finger, pen) on
// the picture boxes, keys, the browser's viewport and its pixel ratio, and
// focus moves. Which of them count, and what they do, the program decides.
mergeInto(LibraryManager.library, {
  $KansuInput__deps: ['$KansuPage', '$KansuRun'],
  $KansuInput: {
    // Mouse buttons as the program numbers them: 1 left, 2 right, 4 middle.
    button: function(e) {
      if (e.pointerType !== 'mouse') return 1;
      return e.button === 0 ? 1 : e.button === 2 ? 2 : e.button === 1 ? 4 : 0;
    },
    buttons: function(e) {
      if (e.pointerType !== 'mouse') return 1;
      return (e.buttons & 1) | (e.buttons & 2) | (e.buttons & 4);
    },
    shift: function(e) {
      return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
    },

    // Pointers on a picture box reach the program in the canvas's page
    // pixels. A pressed pointer is captured, so that its moves and its
    // release arrive also outside the box, as the mouse's do on the desktop.
    attachBox: function(id, frame, canvas) {
      function send(kind, e, button) {
        if (!KansuPage.live()) return;
        var r = canvas.getBoundingClientRect();
        _kansu_pointer(id, kind, e.pointerId, button, KansuInput.shift(e), e.clientX - r.left, e.clientY - r.top);
      }
      var pointerType = 'mouse';
      // The press in progress (the first pointer down), and whether it has
      // moved beyond a click's few pixels: then it is a drag.
      var press = null;
      canvas.addEventListener('pointerdown', function(e) {
        pointerType = e.pointerType;
        if (!press) press = {id: e.pointerId, x: e.clientX, y: e.clientY, dragging: false};
        frame.focus({preventScroll: true});
        try { canvas.setPointerCapture(e.pointerId); } catch (err) {}
        send(0, e, KansuInput.button(e));
      });
      canvas.addEventListener('pointermove', function(e) {
        if (press && press.id === e.pointerId && !press.dragging) {
          var b = KansuPage.boxes[id], slack = 4 * b.scale / b.ratio;  // four of the layout's pixels
          press.dragging = Math.abs(e.clientX - press.x) > slack || Math.abs(e.clientY - press.y) > slack;
        }
        send(1, e, KansuInput.buttons(e));
      });
      function ended(e) {
        if (press && press.id === e.pointerId) press = null;
      }
      canvas.addEventListener('pointerup', function(e) { ended(e); send(2, e, KansuInput.button(e)); });
      canvas.addEventListener('pointercancel', function(e) { ended(e); send(3, e, 1); });
      // No browser menu, no selection, no drag of the picture by a long press
      // or the right button: the program's own menus open on the right
      // button's release, and a long press of a finger or a pen stands for it.
      // A long press during a drag is no press of its own: the drag goes on
      // to its release.
      frame.addEventListener('contextmenu', function(e) {
        e.preventDefault();
        if (pointerType === 'mouse' || !KansuPage.live() || (press && press.dragging)) return;
        var r = canvas.getBoundingClientRect();
        _kansu_context(id, e.clientX - r.left, e.clientY - r.top);
      });
      canvas.addEventListener('dragstart', function(e) { e.preventDefault(); });
    },

    key: function(e) {
      if (!KansuPage.live()) return;
      // F5 never reloads the lesson away, wherever the focus is (a menu of
      // the page's own among them).
      if (e.key === 'F5') e.preventDefault();
      var focus = document.activeElement;
      if (focus && focus !== document.body && !KansuPage.lesson.contains(focus)) return;
      // Any key in the lesson shows the keyboard's marks, Tab first of all:
      // the focus it moves must be seen.
      _kansu_keyboard(1);
      // On a Mac or an iPad, Command+C, S, P and L are what Ctrl+ is elsewhere.
      var ctrl = e.ctrlKey || (e.metaKey && /Mac|iPhone|iPad/.test(navigator.platform) && /^Key[CSPL]$/.test(e.code));
      // The browser's own keys stay the browser's: its zoom, full screen,
      // developer tools and the system's shortcuts.
      if ((e.metaKey && !ctrl) || e.key === 'Tab' || e.key === 'F11' || e.key === 'F12') return;
      if (e.ctrlKey && (e.key === '+' || e.key === '=' || e.key === '-' || e.key === '0' || e.code === 'Equal' ||
                        e.code === 'Minus' || e.code === 'Digit0' || e.code === 'NumpadAdd' ||
                        e.code === 'NumpadSubtract' || e.code === 'Numpad0'))
        return;
      var sleeps = KansuRun.sleeps;
      var name = KansuPage.newString(e.key), code = KansuPage.newString(e.code);
      var taken = _kansu_key(name, code, ctrl ? 1 : 0, e.shiftKey ? 1 : 0, e.altKey ? 1 : 0);
      _free(name);
      _free(code);
      // A key that started the automatic run returned here at the run's
      // first pause: the program took it.
      if (taken || KansuRun.sleeps !== sleeps) e.preventDefault();
    },

    // The viewport less the band of a notice at its top, which the lesson
    // leaves free so that a notice covers no control.
    viewport: function() {
      if (!KansuPage.live()) return;
      var notice = document.getElementById('notice');
      var band = notice.hidden ? 0 : Math.ceil(notice.getBoundingClientRect().height);
      document.getElementById('stage').style.top = band + 'px';
      _kansu_viewport(window.innerWidth, window.innerHeight - band, window.devicePixelRatio || 1);
    },

    // A finger swiped sideways where nothing scrolls that way would go back
    // or forward in the tab's history (the back gesture of touch screens),
    // and with it the lesson: such a move is the page's. Two fingers zoom
    // as ever; a page zoomed in, or a lesson wider than the window, still
    // pans up to its edge.
    swipe: null,
    touchStart: function(e) {
      KansuInput.swipe = e.touches.length === 1 ? {x: e.touches[0].clientX, y: e.touches[0].clientY} : null;
    },
    touchMove: function(e) {
      var s = KansuInput.swipe;
      if (!s || e.touches.length !== 1 || !e.cancelable || !KansuPage.live()) return;
      if (window.visualViewport && window.visualViewport.scale > 1.01) return;
      var dx = e.touches[0].clientX - s.x, dy = e.touches[0].clientY - s.y;
      if (Math.abs(dx) <= Math.abs(dy)) return;
      var stage = document.getElementById('stage');
      var room = dx > 0 ? stage.scrollLeft : stage.scrollWidth - stage.clientWidth - stage.scrollLeft;
      if (room < 1) e.preventDefault();
    },

    // The pixel ratio changes with the browser's zoom and between screens.
    watchRatio: function() {
      var query = matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
      query.addEventListener('change', function once() {
        query.removeEventListener('change', once);
        KansuInput.viewport();
        KansuInput.watchRatio();
      });
    },
  },

  kansu_input_start__deps: ['$KansuInput', '$KansuExport'],
  kansu_input_start: function() {
    document.addEventListener('keydown', KansuInput.key);
    window.addEventListener('resize', KansuInput.viewport);
    document.addEventListener('pointerdown', function() { if (KansuPage.live()) _kansu_keyboard(0); }, true);
    document.addEventListener('focusin', function() {
      KansuPage.away = false;
      if (KansuPage.live()) _kansu_focus_moved();
    });
    // The focus gone to the browser's own controls or another window: no
    // control of the lesson has it (when it comes back, focusin says where).
    window.addEventListener('blur', function() {
      KansuPage.away = true;
      if (KansuPage.live()) _kansu_focus_moved();
    });
    window.addEventListener('focus', function() { KansuPage.away = false; });
    // The browser's own print prints the lesson as it stands.
    window.addEventListener('beforeprint', function() {
      if (KansuPage.live() && !KansuExport.printing) _kansu_print_view();
    });
    // A link to another lesson put into the address: that lesson, from its start.
    window.addEventListener('hashchange', function() { location.reload(); });
    // Leaving the page (a reload, another page, a closed tab, the tab put
    // away on a tablet) keeps the lesson as it is that moment.
    window.addEventListener('pagehide', KansuPage.keep);
    document.addEventListener('visibilitychange', KansuPage.keep);
    document.addEventListener('touchstart', KansuInput.touchStart, {passive: true});
    document.addEventListener('touchmove', KansuInput.touchMove, {passive: false});
    // A notice shown, grown or gone: the lesson fits the room left.
    if (typeof ResizeObserver === 'function')
      new ResizeObserver(KansuInput.viewport).observe(document.getElementById('notice'));
    KansuInput.watchRatio();
    KansuInput.viewport();
  },
});
