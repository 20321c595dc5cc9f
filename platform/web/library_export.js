// Copy, save and print with the browser's means: the menus of the graph and
// the table, and the clipboard.
mergeInto(LibraryManager.library, {
  $KansuExport__deps: ['$KansuPage'],
  $KansuExport: {
    menu: null,
    close: function() {
      if (KansuExport.menu) {
        KansuExport.menu.remove();
        KansuExport.menu = null;
      }
    },
  },

  // A menu of entries at a place of a box (device pixels); the one chosen
  // is handed to the program once the menu has closed.
  kansu_export_menu__deps: ['$KansuExport', '$KansuPage'],
  kansu_export_menu: function(box, entries, x, y, ratio) {
    KansuExport.close();
    var frame = KansuPage.boxes[box].frame;
    var menu = document.createElement('div');
    menu.className = 'menu';
    menu.setAttribute('role', 'menu');
    var r = frame.getBoundingClientRect();
    menu.style.left = (r.left + x / ratio) + 'px';
    menu.style.top = (r.top + y / ratio) + 'px';
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
    KansuExport.menu = menu;
    setTimeout(function() {
      document.addEventListener('pointerdown', function away(e) {
        if (menu.contains(e.target)) return;
        document.removeEventListener('pointerdown', away, true);
        KansuExport.close();
      }, true);
    }, 0);
    if (items.length) items[0].focus({preventScroll: true});
  },

  kansu_export_copy_text: function(text) {
    var t = UTF8ToString(text);
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(t).catch(function() {});
    }
  },
});
