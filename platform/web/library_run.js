// The one place the program waits: the pause of the automatic run. The
// program's stack is set aside (Asyncify) while the browser runs on, handling
// clicks, keys and drawing; a timer, or ストップ, brings it back. Nothing
// turns while it waits. And the timers of what runs after a while.
mergeInto(LibraryManager.library, {
  $KansuRun: {
    sleeps: 0,     // pauses begun, for the key handler to see a run start
    wake: null,    // ends the pause in progress early
  },

  kansu_run_sleep__deps: ['$KansuRun'],
  kansu_run_sleep: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      ++KansuRun.sleeps;
      var timer = setTimeout(function() {
        KansuRun.wake = null;
        wakeUp(1);
      }, ms);
      KansuRun.wake = function() {
        clearTimeout(timer);
        KansuRun.wake = null;
        // The program is back only once the handler that woke it has returned.
        setTimeout(function() { wakeUp(0); }, 0);
      };
    });
  },

  kansu_run_wake__deps: ['$KansuRun'],
  kansu_run_wake: function() {
    if (KansuRun.wake) KansuRun.wake();
  },

  // A call back into the program after a while, also during a pause (as a
  // click is); not once the lesson has ended.
  kansu_run_after__deps: ['$KansuPage'],
  kansu_run_after: function(ms, id) {
    setTimeout(function() {
      if (KansuPage.live()) _kansu_after_done(id);
    }, ms);
  },
});
