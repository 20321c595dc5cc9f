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

  // Reading aloud with the browser's own voices (the Web Speech API): a new
  // text cuts off the one still being said. The browser fetches its list of
  // voices late: until it has one, the language's voice is left to it.
  kansu_speech_say: function(text, tag) {
    if (!window.speechSynthesis || typeof SpeechSynthesisUtterance !== 'function') return 0;
    var lang = UTF8ToString(tag), primary = lang.split('-')[0].toLowerCase();
    var voices = speechSynthesis.getVoices();
    var voice = voices.filter(function(v) { return v.lang.replace('_', '-').toLowerCase() === lang.toLowerCase(); })[0] ||
                voices.filter(function(v) { return v.lang.split(/[-_]/)[0].toLowerCase() === primary; })[0];
    if (voices.length && !voice) return 0;
    speechSynthesis.cancel();
    var u = new SpeechSynthesisUtterance(UTF8ToString(text));
    u.lang = lang;
    if (voice) u.voice = voice;
    speechSynthesis.speak(u);
    return 1;
  },

  kansu_speech_stop: function() {
    if (window.speechSynthesis) speechSynthesis.cancel();
  },
});
