// Copy, save and print with the browser's means: the menus of the graph and
// the table, the clipboard, downloads and the browser's print. Whatever the
// browser refuses is said on the page, and nothing is left half done.
mergeInto(LibraryManager.library, {
  $KansuExport__deps: ['$KansuPage'],
  $KansuExport: {
    menu: null,
    printing: false,  // the program's own print is under way
    nextCanvas: 100000,
    crcTable: null,
    crc32: function(bytes) {
      var table = KansuExport.crcTable;
      if (!table) {
        table = KansuExport.crcTable = new Uint32Array(256);
        for (var n = 0; n < 256; ++n) {
          var c = n;
          for (var k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320 ^ (c >>> 1) : c >>> 1;
          table[n] = c >>> 0;
        }
      }
      var crc = 0xFFFFFFFF;
      for (var i = 0; i < bytes.length; ++i) crc = table[(crc ^ bytes[i]) & 255] ^ (crc >>> 8);
      return (crc ^ 0xFFFFFFFF) >>> 0;
    },
    // The PNG with its resolution written in it (a pHYs chunk), so that a
    // word processor places it at the layout's size.
    withResolution: function(png, perMetre) {
      var chunk = new Uint8Array(21), view = new DataView(chunk.buffer);
      view.setUint32(0, 9);
      chunk.set([112, 72, 89, 115], 4);  // "pHYs"
      view.setUint32(8, perMetre);
      view.setUint32(12, perMetre);
      chunk[16] = 1;  // per metre
      view.setUint32(17, KansuExport.crc32(chunk.subarray(4, 17)));
      var parts = [png.subarray(0, 8)], at = 8;
      while (at < png.length) {
        var length = new DataView(png.buffer, png.byteOffset + at).getUint32(0);
        var type = String.fromCharCode.apply(null, png.subarray(at + 4, at + 8));
        if (type !== 'pHYs') parts.push(png.subarray(at, at + 12 + length));
        if (type === 'IHDR') parts.push(chunk);
        at += 12 + length;
      }
      return new Blob(parts, {type: 'image/png'});
    },
    take: function(id) {
      var box = KansuPage.boxes[id];
      delete KansuPage.boxes[id];
      return box.canvas;
    },
    // Closes the menu, however it closes (an entry chosen by mouse or key,
    // Escape, a press elsewhere), and lets go of the press that watched for
    // one elsewhere: left behind, it would close the next menu at the first
    // press on it, and keep this one alive.
    close: function() {
      if (KansuExport.away) {
        document.removeEventListener('pointerdown', KansuExport.away, true);
        KansuExport.away = null;
      }
      if (KansuExport.menu) {
        KansuExport.menu.remove();
        KansuExport.menu = null;
      }
    },
    away: null,
  },

  // A menu of entries at a place of a box (device pixels); the one chosen
  // is handed to the program once the menu has closed.
  kansu_export_menu__deps: ['$KansuExport', '$KansuPage'],
  kansu_export_menu: function(box, entries, x, y) {
    KansuExport.close();
    var frame = KansuPage.boxes[box].frame;
    var menu = document.createElement('div');
    menu.className = 'menu';
    menu.setAttribute('role', 'menu');
    var r = frame.getBoundingClientRect();
    menu.style.left = (r.left + x) + 'px';
    menu.style.top = (r.top + y) + 'px';
    var items = [];
    UTF8ToString(entries).split('\n').forEach(function(caption, index) {
      if (caption === '') return;
      var item = document.createElement('button');
      item.type = 'button';
      item.setAttribute('role', 'menuitem');
      item.textContent = caption;
      item.addEventListener('click', function() {
        KansuExport.close();
        frame.focus({preventScroll: true});
        if (KansuPage.live()) _kansu_menu_chosen(index);
      });
      menu.appendChild(item);
      items.push(item);
    });
    menu.addEventListener('keydown', function(e) {
      var i = items.indexOf(document.activeElement);
      if (e.key === 'Escape') {
        KansuExport.close();
        frame.focus({preventScroll: true});
      } else if (e.key === 'ArrowDown') {
        items[(i + 1) % items.length].focus();
      } else if (e.key === 'ArrowUp') {
        items[(i + items.length - 1) % items.length].focus();
      } else {
        return;
      }
      e.preventDefault();
      e.stopPropagation();
    });
    document.body.appendChild(menu);
    // Kept within the window, as a menu near its edge opens leftward or upward.
    var m = menu.getBoundingClientRect();
    if (m.right > innerWidth) menu.style.left = Math.max(0, innerWidth - m.width) + 'px';
    if (m.bottom > innerHeight) menu.style.top = Math.max(0, innerHeight - m.height) + 'px';
    KansuExport.menu = menu;
    // A press outside the menu closes it (from after the press that opened it).
    setTimeout(function() {
      if (KansuExport.menu !== menu) return;
      KansuExport.away = function(e) {
        if (!menu.contains(e.target)) KansuExport.close();
      };
      document.addEventListener('pointerdown', KansuExport.away, true);
    }, 0);
    if (items.length) items[0].focus({preventScroll: true});
  },

  // Where the clipboard's own call is refused (a page opened from disk in
  // some browsers), the older copy of a selection is tried.
  kansu_export_copy_text__deps: ['$KansuPage'],
  kansu_export_copy_text: function(text) {
    var t = UTF8ToString(text);
    function done() { KansuPage.notice(KansuPage.tr('コピーしました。'), false); }
    function older() {
      var focus = document.activeElement, area = document.createElement('textarea');
      area.value = t;
      area.style.position = 'fixed';
      area.style.opacity = '0';
      document.body.appendChild(area);
      area.select();
      var ok = false;
      try { ok = document.execCommand('copy'); } catch (e) { ok = false; }
      area.remove();
      if (focus) focus.focus({preventScroll: true});
      if (ok) done();
      else KansuPage.notice(KansuPage.tr('コピーできませんでした。このブラウザはページからクリップボードに書くことを許していません。'), true);
    }
    if (navigator.clipboard && navigator.clipboard.writeText) navigator.clipboard.writeText(t).then(done, older);
    else older();
  },

  kansu_export_canvas__deps: ['$KansuExport', '$KansuPage'],
  kansu_export_canvas: function(width, height, back) {
    var canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    var ctx = canvas.getContext('2d', {alpha: false});
    ctx.fillStyle = KansuPage.colour(back);
    ctx.fillRect(0, 0, width, height);
    var id = KansuExport.nextCanvas++;
    KansuPage.boxes[id] = {canvas: canvas, ctx: ctx};
    return id;
  },

  // A picture's canvas not handed on is let go.
  kansu_export_drop__deps: ['$KansuPage'],
  kansu_export_drop: function(id) {
    delete KansuPage.boxes[id];
  },

  kansu_export_copy_picture__deps: ['$KansuExport', '$KansuPage'],
  kansu_export_copy_picture: function(id) {
    var canvas = KansuExport.take(id);
    var refused = KansuPage.tr('画像をコピーできませんでした。このブラウザはページから画像をクリップボードに入れることを' +
                               '許していません。「画像として保存…」（Ctrl+S）で保存してください。');
    if (!navigator.clipboard || !navigator.clipboard.write || typeof ClipboardItem === 'undefined') {
      KansuPage.notice(refused, true);
      return;
    }
    var blob = new Promise(function(resolve, reject) {
      canvas.toBlob(function(b) { b ? resolve(b) : reject(new Error('toBlob')); }, 'image/png');
    });
    try {
      navigator.clipboard.write([new ClipboardItem({'image/png': blob})]).then(function() {
        KansuPage.notice(KansuPage.tr('画像をコピーしました。'), false);
      }, function() { KansuPage.notice(refused, true); });
    } catch (e) {
      KansuPage.notice(refused, true);
    }
  },

  kansu_export_save_picture__deps: ['$KansuExport', '$KansuPage'],
  kansu_export_save_picture: function(id, name, perMetre) {
    var canvas = KansuExport.take(id), file = UTF8ToString(name) + '.png';
    var failed = function() {
      KansuPage.notice(KansuPage.tr('「%1」を保存できませんでした。ブラウザがダウンロードを許しているか確かめてください。', [file]), true);
    };
    canvas.toBlob(function(blob) {
      if (!blob) return failed();
      blob.arrayBuffer().then(function(bytes) {
        var url = URL.createObjectURL(KansuExport.withResolution(new Uint8Array(bytes), perMetre));
        var a = document.createElement('a');
        a.href = url;
        a.download = file;
        document.body.appendChild(a);
        a.click();
        a.remove();
        setTimeout(function() { URL.revokeObjectURL(url); }, 60000);
      }).catch(failed);
    }, 'image/png');
  },

  // The printed page: the picture as wide as A4 landscape less its margins
  // (3,272 pixels to 277 mm), the program's name and the date in a footer.
  kansu_export_print__deps: ['$KansuExport', '$KansuPage'],
  kansu_export_print: function(id, now, footerLeft, footerRight) {
    var canvas = KansuExport.take(id);
    canvas.style.width = (canvas.width / 3272 * 277) + 'mm';
    canvas.style.height = (canvas.height / 3272 * 277) + 'mm';
    document.getElementById('print-picture').replaceChildren(canvas);
    document.getElementById('print-title').textContent = UTF8ToString(footerLeft);
    document.getElementById('print-date').textContent = UTF8ToString(footerRight);
    if (!now) return;
    KansuExport.printing = true;
    try {
      window.print();
    } catch (e) {
      KansuPage.notice(KansuPage.tr('印刷できませんでした。ブラウザのメニューから印刷してください。'), true);
    } finally {
      KansuExport.printing = false;
    }
  },

  // The browser's local storage; a browser that refuses it keeps nothing.
  kansu_store_get__deps: ['$KansuPage'],
  kansu_store_get: function(key) {
    var value = null;
    try { value = localStorage.getItem('kansu:' + UTF8ToString(key)); } catch (e) { value = null; }
    return value === null ? 0 : KansuPage.newString(value);
  },

  kansu_store_set: function(key, value) {
    try { localStorage.setItem('kansu:' + UTF8ToString(key), UTF8ToString(value)); } catch (e) { /* kept nowhere */ }
  },

  kansu_page_address__deps: ['$KansuPage'],
  kansu_page_address: function() {
    return KansuPage.newString(location.href.split('#')[0]);
  },
});
