// What a screen reader is told about the lesson: names, roles, descriptions,
// the status line and, in a polite live region, what is said aloud.
mergeInto(LibraryManager.library, {
  $KansuAccess__deps: ['$KansuPage'],
  $KansuAccess: {
    target: function(id) {
      return KansuPage.focusable(id);
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

  // The status line as it stands, for a screen reader that reads the page;
  // its changes are not announced (kansu_access_announce says them).
  kansu_access_status: function(text) {
    var status = document.getElementById('status');
    var t = UTF8ToString(text);
    if (status && status.textContent !== t) status.textContent = t;
  },

  kansu_access_announce: function(text) {
    var spoken = document.getElementById('spoken');
    if (spoken) spoken.textContent = UTF8ToString(text);
  },
});
