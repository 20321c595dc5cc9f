// What a screen reader is told about the lesson (names, roles, descriptions
// and a polite status line) and the marks that show where the keyboard is:
// the keyboard cursor's frame and a selected block's outline above the
// blackboard, and a larger hit area around its small check box.
mergeInto(LibraryManager.library, {
  $KansuAccess__deps: ['$KansuPage'],
  $KansuAccess: {
    marks: {},  // box id -> {cursor, selection: [x, y, w, h] in the box's layout pixels, elements}
    hits: {},   // box id -> {area, element}

    target: function(id) {
      return KansuPage.focusable(id);
    },
    // Places a band's element over a box in device pixels of its scale.
    band: function(el, rect, box) {
      var b = KansuPage.boxes[box];
      var s = b.scale, r = b.ratio;
      var left = Math.round(rect[0] * s), top = Math.round(rect[1] * s);
      el.style.left = (left / r) + 'px';
      el.style.top = (top / r) + 'px';
      el.style.width = ((Math.round((rect[0] + rect[2]) * s) - left) / r) + 'px';
      el.style.height = ((Math.round((rect[1] + rect[3]) * s) - top) / r) + 'px';
      el.style.borderWidth = (Math.max(1, Math.round(3 * s)) / r) + 'px';
      el.hidden = rect[2] <= 0 || rect[3] <= 0;
    },
    placeMarks: function(box) {
      var m = KansuAccess.marks[box];
      if (m) {
        KansuAccess.band(m.cursorElement, m.cursor, box);
        KansuAccess.band(m.selectionElement, m.selection, box);
      }
      var h = KansuAccess.hits[box];
      if (h) KansuAccess.band(h.element, h.area, box);
    },
  },

  kansu_access_name__deps: ['$KansuAccess'],
  kansu_access_name: function(id, name) {
    var el = KansuAccess.target(id);
    el.setAttribute('aria-label', UTF8ToString(name));
  },

  kansu_access_role__deps: ['$KansuAccess'],
  kansu_access_role: function(id, role) {
    KansuAccess.target(id).setAttribute('role', UTF8ToString(role));
  },

  kansu_access_tooltip__deps: ['$KansuPage'],
  kansu_access_tooltip: function(id, text) {
    KansuPage.elements[id].title = UTF8ToString(text);
  },

  // A picture box's description lives in a hidden element that the box
  // names as its description.
  kansu_access_describe__deps: ['$KansuAccess'],
  kansu_access_describe: function(id, text) {
    var el = KansuAccess.target(id);
    var key = 'kansu-description-' + id;
    var d = document.getElementById(key);
    if (!d) {
      d = document.createElement('div');
      d.id = key;
      d.className = 'unseen';
      document.body.appendChild(d);
      el.setAttribute('aria-describedby', key);
    }
    var t = UTF8ToString(text);
    if (d.textContent !== t) d.textContent = t;
  },

  kansu_access_status: function(text) {
    var status = document.getElementById('status');
    var t = UTF8ToString(text);
    if (status && status.textContent !== t) status.textContent = t;
  },

  // Marks in the box's layout pixels (their outer edges); an empty one is hidden.
  kansu_access_marks__deps: ['$KansuAccess', '$KansuPage'],
  kansu_access_marks: function(box, cx, cy, cw, ch, sx, sy, sw, sh) {
    var m = KansuAccess.marks[box];
    if (!m) {
      m = KansuAccess.marks[box] = {};
      m.cursorElement = document.createElement('div');
      m.cursorElement.className = 'mark cursor';
      m.selectionElement = document.createElement('div');
      m.selectionElement.className = 'mark selection';
      KansuPage.boxes[box].frame.appendChild(m.cursorElement);
      KansuPage.boxes[box].frame.appendChild(m.selectionElement);
    }
    m.cursor = [cx, cy, cw, ch];
    m.selection = [sx, sy, sw, sh];
    KansuAccess.placeMarks(box);
  },

  // A press and release inside the area toggle the check box, as on it.
  kansu_access_hit_area__deps: ['$KansuAccess', '$KansuPage'],
  kansu_access_hit_area: function(check, box, x, y, w, h) {
    var area = document.createElement('div');
    area.className = 'hit';
    area.setAttribute('aria-hidden', 'true');
    var input = KansuPage.elements[check].querySelector('input');
    area.addEventListener('click', function() {
      if (!KansuPage.live()) return;
      input.focus({preventScroll: true});
      input.click();
    });
    KansuPage.boxes[box].frame.appendChild(area);
    KansuAccess.hits[box] = {area: [x, y, w, h], element: area};
    KansuAccess.placeMarks(box);
  },
});
