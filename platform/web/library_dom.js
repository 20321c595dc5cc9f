// The page and its controls: the lesson's root element, the HTML controls,
// the picture boxes' canvases, their places at the zoom, and the page's
// answer when the lesson ends. C++ decides everything; this only touches the
// page. Elements are named by their index in KansuPage.elements.
mergeInto(LibraryManager.library, {
  $KansuPage__deps: ['malloc', 'free'],
  $KansuPage: {
    elements: [],
    boxes: {},      // box id -> {frame, canvas, ctx, scale, ratio}
    lesson: null,
    ended: false,
    framePending: false,
    firstFrame: false,
    away: false,    // the page has not the focus (the browser's own controls, another window)
    family: 'sans-serif',         // the captions' face in the language chosen
    programFamily: 'sans-serif',  // the program's own face, as the program names it

    // A text of the page in the pupil's language, looked up by its Japanese
    // original, with %1, %2, ... replaced by the arguments in turn.
    tr: function(japanese, args) {
      var original = KansuPage.newString(japanese);
      var text = UTF8ToString(_kansu_translate(original));
      _free(original);
      return text.replace(/%([1-9])/g, function(all, n) {
        return args && Number(n) <= args.length ? String(args[Number(n) - 1]) : all;
      });
    },
    // A copy of a text in the program's memory, for the program to free.
    newString: function(text) {
      var size = lengthBytesUTF8(text) + 1, ptr = _malloc(size);
      stringToUTF8(text, ptr, size);
      return ptr;
    },
    colour: function(c) {
      return 'rgb(' + (c & 255) + ',' + ((c >>> 8) & 255) + ',' + ((c >>> 16) & 255) + ')';
    },
    // Adds an element to the window or to a picture box, below every windowed
    // control made before it (controls are made in stacking order, first on top).
    add: function(el, parent) {
      var id = KansuPage.elements.length;
      KansuPage.elements.push(el);
      el.dataset.kansu = id;
      el.style.zIndex = String(2000 - id);
      (parent >= 0 ? KansuPage.boxes[parent].frame : KansuPage.lesson).appendChild(el);
      return id;
    },
    // The element that takes the focus for an element of the page: the
    // field of a check box or of the pace box, else the element itself.
    focusable: function(id) {
      var el = KansuPage.elements[id];
      if (el && (el.classList.contains('check') || el.classList.contains('combo'))) return el.querySelector('input');
      return el;
    },
    // A short message at the top of the page: what was done, or what failed
    // and why (read out by a screen reader either way).
    notice: function(text, error) {
      var n = document.getElementById('notice');
      n.setAttribute('role', error ? 'alert' : 'status');
      n.className = error ? 'error' : '';
      // A link of any length is named by its start: the notice stays short
      // enough to read and to hear.
      n.textContent = text.length > KansuPage.noticeLength ? text.slice(0, KansuPage.noticeLength) + '…' : text;
      n.hidden = false;
      clearTimeout(KansuPage.noticeTimer);
      KansuPage.noticeTimer = setTimeout(function() { n.hidden = true; }, error ? 10000 : 2500);
    },
    noticeTimer: 0,
    noticeLength: 300,
    // The face has no bold of its own: browsers make one. Where the one made
    // is hardly heavier than the regular (Firefox's adds about half the ink
    // the others add), bold texts get an outline as wide as this share of
    // their size, which brings them to the others' weight. 0 elsewhere.
    boldStroke: 0,
    measureBold: function() {
      var ctx = document.createElement('canvas').getContext('2d', {willReadFrequently: true});
      ctx.canvas.width = 160;
      ctx.canvas.height = 40;
      var ink = function(bold) {
        ctx.clearRect(0, 0, 160, 40);
        ctx.font = (bold ? 'bold ' : '') + '32px ' + KansuPage.family;
        ctx.fillText('出す終了', 0, 32);
        var d = ctx.getImageData(0, 0, 160, 40).data, sum = 0;
        for (var i = 3; i < d.length; i += 4) sum += d[i];
        return sum;
      };
      var regular = ink(false);
      KansuPage.boldStroke = regular > 0 && ink(true) / regular < 1.4 ? 0.02 : 0;
      if (KansuPage.boldStroke) {
        KansuPage.lesson.classList.add('thin-bold');
        KansuPage.lesson.style.setProperty('--bold-stroke', KansuPage.boldStroke + 'em');
      }
    },
    // Marks a bold text's element as bold.
    bold: function(el, bold) {
      el.style.fontWeight = bold ? 'bold' : 'normal';
      el.classList.toggle('bold', !!bold);
    },

    // Calls into the program only while the lesson runs.
    live: function() {
      return !KansuPage.ended && !ABORT;
    },
    // The lesson as it stands (its link) in the browser's storage, under the
    // key the page gives (its address and the link it was opened with), so
    // that the page hands it back when the pupil returns after a reload, a
    // step back in the tab's history or a closed tab. Written only when it
    // changed; a browser that keeps nothing changes nothing.
    kept: null,
    keep: function() {
      var key = Module['keepKey'];
      if (!key || !KansuPage.live()) return;
      var ptr = _kansu_lesson_link();
      if (!ptr) return;
      var text = UTF8ToString(ptr);
      _free(ptr);
      if (text === KansuPage.kept) return;
      try {
        localStorage.setItem(key, JSON.stringify({link: text, at: Date.now()}));
        KansuPage.kept = text;
      } catch (e) { /* storage refused or full: the lesson runs on */ }
    },
  },

  kansu_dom_window__deps: ['$KansuPage'],
  kansu_dom_window: function(caption, back, focusColour, families) {
    document.title = UTF8ToString(caption);
    KansuPage.lesson = document.getElementById('lesson');
    KansuPage.lesson.style.backgroundColor = KansuPage.colour(back);
    KansuPage.lesson.style.setProperty('--focus-colour', KansuPage.colour(focusColour));
    document.getElementById('stage').style.backgroundColor = KansuPage.colour(back);
    // The face the page carries, then the program's face by its names.
    KansuPage.programFamily = (Module['face'] ? '"' + Module['face'] + '", ' : '') + UTF8ToString(families) + ', sans-serif';
    KansuPage.family = KansuPage.programFamily;
    document.body.style.fontFamily = KansuPage.family;
    KansuPage.measureBold();
  },

  kansu_dom_box__deps: ['$KansuPage', '$KansuInput'],
  kansu_dom_box: function(parent, back) {
    var frame = document.createElement('div');
    frame.className = 'box';
    frame.style.backgroundColor = KansuPage.colour(back);
    var canvas = document.createElement('canvas');
    frame.appendChild(canvas);
    var id = KansuPage.add(frame, parent);
    KansuPage.boxes[id] = {frame: frame, canvas: canvas, ctx: canvas.getContext('2d', {alpha: false})};
    KansuInput.attachBox(id, frame, canvas);
    return id;
  },

  kansu_dom_button__deps: ['$KansuPage'],
  kansu_dom_button: function(caption, back, bold) {
    var b = document.createElement('button');
    b.type = 'button';
    b.className = 'button';
    b.textContent = UTF8ToString(caption);
    b.style.backgroundColor = KansuPage.colour(back);
    b.style.borderColor = KansuPage.colour(back);
    KansuPage.bold(b, bold);
    var id = KansuPage.add(b, -1);
    b.addEventListener('click', function() {
      if (KansuPage.live()) _kansu_clicked(id);
    });
    return id;
  },

  kansu_dom_check__deps: ['$KansuPage'],
  kansu_dom_check: function(parent, caption, value, back, fore, bold) {
    var label = document.createElement('label');
    label.className = 'check';
    var box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = !!value;
    var text = document.createElement('span');
    text.textContent = UTF8ToString(caption);
    label.appendChild(box);
    label.appendChild(text);
    label.style.backgroundColor = KansuPage.colour(back);
    label.style.color = KansuPage.colour(fore);
    KansuPage.bold(label, bold);
    box.style.setProperty('--tick', 'url("data:image/svg+xml,' + encodeURIComponent(
      '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 14 14"><path d="M3 7l2.5 3L10 3" fill="none" stroke="' +
      KansuPage.colour(fore) + '" stroke-width="1.8"/></svg>') + '")');
    var id = KansuPage.add(label, parent);
    box.addEventListener('change', function() {
      if (KansuPage.live()) _kansu_toggled(id, box.checked ? 1 : 0);
    });
    return id;
  },

  kansu_dom_text__deps: ['$KansuPage'],
  kansu_dom_text: function(parent, text) {
    var input = document.createElement('input');
    input.type = 'text';
    input.className = 'text';
    input.readOnly = true;
    input.value = UTF8ToString(text);
    return KansuPage.add(input, parent);
  },

  // An editable drop-down: a text field and, at its right, a list whose
  // choice is written into the field.
  kansu_dom_combo__deps: ['$KansuPage'],
  kansu_dom_combo: function(items, text) {
    var combo = document.createElement('div');
    combo.className = 'combo';
    var input = document.createElement('input');
    input.type = 'text';
    input.value = UTF8ToString(text);
    input.setAttribute('role', 'combobox');
    input.setAttribute('aria-expanded', 'false');
    input.autocomplete = 'off';
    input.spellcheck = false;
    var list = document.createElement('select');
    list.tabIndex = -1;
    list.setAttribute('aria-hidden', 'true');
    var none = document.createElement('option');
    none.textContent = '';
    none.hidden = true;
    list.appendChild(none);
    UTF8ToString(items).split('\n').forEach(function(item) {
      if (item === '') return;
      var o = document.createElement('option');
      o.textContent = item;
      list.appendChild(o);
    });
    list.addEventListener('change', function() {
      input.value = list.value;
      list.selectedIndex = 0;
      input.focus();
    });
    combo.appendChild(input);
    combo.appendChild(list);
    return KansuPage.add(combo, -1);
  },

  kansu_dom_label__deps: ['$KansuPage'],
  kansu_dom_label: function(caption, fore, back, transparent, bold) {
    var span = document.createElement('span');
    span.className = 'label';
    span.textContent = UTF8ToString(caption);
    span.style.color = KansuPage.colour(fore);
    span.style.backgroundColor = transparent ? 'transparent' : KansuPage.colour(back);
    KansuPage.bold(span, bold);
    var id = KansuPage.add(span, -1);
    span.style.zIndex = '0';  // graphical controls lie below the windowed ones
    return id;
  },

  kansu_dom_place__deps: ['$KansuPage'],
  kansu_dom_place: function(id, left, top, width, height, fontPixels, border, ratio) {
    var el = KansuPage.elements[id];
    var s = el.style;
    s.left = (left / ratio) + 'px';
    s.top = (top / ratio) + 'px';
    s.width = (width / ratio) + 'px';
    s.height = (height / ratio) + 'px';
    s.fontSize = fontPixels + 'px';
    s.setProperty('--border', (border / ratio) + 'px');
  },

  // The lesson's root element: its place in the viewport and its size, in the
  // page's pixels, on whole device pixels so that nothing in it is blurred.
  kansu_dom_lesson__deps: ['$KansuPage'],
  kansu_dom_lesson: function(left, top, width, height, ratio, zoom, focusWidth) {
    var s = KansuPage.lesson.style;
    s.setProperty('--zoom', String(zoom));
    s.setProperty('--focus-width', focusWidth + 'px');
    s.left = (Math.round(left * ratio) / ratio) + 'px';
    s.top = (Math.round(top * ratio) / ratio) + 'px';
    s.width = width + 'px';
    s.height = height + 'px';
    KansuPage.lesson.hidden = false;
  },

  kansu_dom_canvas__deps: ['$KansuPage'],
  kansu_dom_canvas: function(id, width, height, ratio) {
    var canvas = KansuPage.boxes[id].canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = (width / ratio) + 'px';
    canvas.style.height = (height / ratio) + 'px';
  },

  kansu_dom_tab_index__deps: ['$KansuPage'],
  kansu_dom_tab_index: function(id, index) {
    KansuPage.focusable(id).tabIndex = index;
  },

  kansu_dom_keyboard__deps: ['$KansuPage'],
  kansu_dom_keyboard: function(used) {
    KansuPage.lesson.classList.toggle('keyboard', !!used);
  },

  kansu_dom_enable__deps: ['$KansuPage'],
  kansu_dom_enable: function(id, enabled) {
    KansuPage.elements[id].disabled = !enabled;
  },

  // Hidden, an element takes no focus and is left out of what a screen
  // reader finds.
  kansu_dom_shown__deps: ['$KansuPage'],
  kansu_dom_shown: function(id, shown) {
    KansuPage.elements[id].style.visibility = shown ? '' : 'hidden';
  },

  // A caption (its HTML: text, and readings above kanji words as ruby); the
  // text of a check box is its span.
  kansu_dom_caption__deps: ['$KansuPage'],
  kansu_dom_caption: function(id, html) {
    var el = KansuPage.elements[id];
    var target = el.classList.contains('check') ? el.querySelector('span') : el;
    target.innerHTML = UTF8ToString(html);
  },

  kansu_dom_title: function(title) {
    document.title = UTF8ToString(title);
  },

  // The page's language: the document's, and the captions' face (the
  // language's faces on the device first; the numbers drawn keep the
  // program's own).
  kansu_dom_language__deps: ['$KansuPage', '$KansuCanvas'],
  kansu_dom_language: function(tag, faces) {
    document.documentElement.lang = UTF8ToString(tag);
    // The page's own texts (its messages, the button that starts again)
    // follow, and the page's script translates through KansuPage.tr from now on.
    document.querySelectorAll('[data-tr]').forEach(function(el) {
      if (el.tagName === 'TITLE') return;  // the program sets the title
      if (!el.dataset.ja) el.dataset.ja = el.textContent;
      el.textContent = KansuPage.tr(el.dataset.ja);
    });
    window.kansuTr = KansuPage.tr;
    var f = UTF8ToString(faces);
    KansuPage.family = (f ? f + ', ' : '') + KansuPage.programFamily;
    document.body.style.fontFamily = KansuPage.family;
    KansuCanvas.ascents = {};
  },

  kansu_dom_check_set__deps: ['$KansuPage'],
  kansu_dom_check_set: function(id, value) {
    KansuPage.elements[id].querySelector('input').checked = !!value;
  },

  kansu_dom_text_set__deps: ['$KansuPage'],
  kansu_dom_text_set: function(id, text) {
    var el = KansuPage.elements[id];
    (el.tagName === 'INPUT' ? el : el.querySelector('input')).value = UTF8ToString(text);
  },

  kansu_dom_text_get__deps: ['$KansuPage'],
  kansu_dom_text_get: function(id) {
    var el = KansuPage.elements[id];
    return KansuPage.newString((el.tagName === 'INPUT' ? el : el.querySelector('input')).value);
  },

  kansu_dom_focus__deps: ['$KansuPage'],
  kansu_dom_focus: function(id) {
    var el = KansuPage.focusable(id);
    if (el) el.focus({preventScroll: true});
  },

  kansu_dom_focused__deps: ['$KansuPage'],
  kansu_dom_focused: function() {
    // The page keeps its active element while the focus is away from it.
    if (KansuPage.away) return -1;
    var el = document.activeElement;
    var owner = el && el.closest ? el.closest('[data-kansu]') : null;
    return owner ? Number(owner.dataset.kansu) : -1;
  },

  kansu_dom_full_screen: function(on) {
    if (on && !document.fullscreenElement && document.documentElement.requestFullscreen)
      document.documentElement.requestFullscreen().catch(function() {});
    else if (!on && document.fullscreenElement)
      document.exitFullscreen().catch(function() {});
  },

  kansu_dom_is_full_screen: function() {
    return document.fullscreenElement ? 1 : 0;
  },

  // One frame for whatever changed: the program draws in the browser's next
  // animation frame, once however many changes came.
  kansu_dom_request_frame__deps: ['$KansuPage'],
  kansu_dom_request_frame: function() {
    if (KansuPage.framePending) return;
    KansuPage.framePending = true;
    requestAnimationFrame(function() {
      KansuPage.framePending = false;
      if (!KansuPage.live()) return;
      _kansu_frame();
      // Whatever changed the lesson is on screen: it is kept as it now is.
      KansuPage.keep();
      if (!KansuPage.firstFrame) {
        KansuPage.firstFrame = true;
        // The frame just drawn is on screen by the next one.
        requestAnimationFrame(function() { performance.mark('kansu:first-frame'); });
      }
    });
  },

  kansu_page_notice__deps: ['$KansuPage'],
  kansu_page_notice: function(text, error) {
    KansuPage.notice(UTF8ToString(text), !!error);
  },

  kansu_dom_ended__deps: ['$KansuPage'],
  kansu_dom_ended: function() {
    KansuPage.ended = true;
    // 終了 ends the lesson on purpose: the next start is a fresh one.
    try { if (Module['keepKey']) localStorage.removeItem(Module['keepKey']); } catch (e) {}
    if (Module['onEnded']) Module['onEnded']();
  },
});
