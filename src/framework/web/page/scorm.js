// The page inside a learning platform: it finds the platform's SCORM 1.2 API
// and reports the quiz there. Outside a platform connect() gives null and the
// page carries on as a plain site. (Loaded by index.html before its own script.)
//
// What is reported, and when:
//   begin     LMSInitialize; status "incomplete" unless the platform already
//             holds a finished attempt; the score's range 0 to 100
//   answered  the score: questions answered right at the first try as a
//             share of all questions, 0 to 100
//   completed status "completed" and the score; commit
//   keep      the player's progress (the page's record of it) as
//             cmi.suspend_data, with cmi.core.exit "suspend" while there is
//             something to continue and "" once there is not; committed after
//             each answer
//   suspend   the game was ended by a key before the quiz was won: commit,
//             the session stays open for the player to continue
//   finish    the session time, LMSCommit and LMSFinish, once (platforms add
//             the session time to the attempt's total once per session)
//
// What it reads: cmi.core.entry "resume" says the platform holds progress
// from an earlier session, in cmi.suspend_data (savedData gives it).
'use strict';
window.KeravonScorm = (function () {
  // The API object lives in a window above the page (the platform's frame
  // set) or in the window that opened it; frames of another origin cannot be
  // looked into and are passed over.
  const kMaxLevels = 10;

  function apiOf(win) {
    try {
      return win.API && typeof win.API.LMSInitialize === 'function' ? win.API : null;
    } catch (e) {
      return null;
    }
  }

  function parentOf(win) {
    try {
      return win.parent && win.parent !== win ? win.parent : null;
    } catch (e) {
      return null;
    }
  }

  function searchUp(win) {
    for (let level = 0; win && level <= kMaxLevels; ++level) {
      const api = apiOf(win);
      if (api) return api;
      win = parentOf(win);
    }
    return null;
  }

  function findApi() {
    const api = searchUp(window);
    if (api) return api;
    let opener = null;
    try {
      opener = window.opener || null;
    } catch (e) {
      opener = null;
    }
    return opener ? searchUp(opener) : null;
  }

  // SCORM 1.2's time span: HHHH:MM:SS.SS, hours up to four digits.
  function timeSpan(milliseconds) {
    const hundredths = Math.min(Math.max(0, Math.round(milliseconds / 10)), 9999 * 360000 - 1);
    const hours = Math.floor(hundredths / 360000);
    const minutes = Math.floor(hundredths / 6000) % 60;
    const seconds = (hundredths % 6000) / 100;
    const two = (n) => String(n).padStart(2, '0');
    return String(hours).padStart(4, '0') + ':' + two(minutes) + ':' +
           seconds.toFixed(2).padStart(5, '0');
  }

  // SCORM 1.2 allows cmi.suspend_data this many characters.
  const kSuspendDataLimit = 4096;

  // 0 to 100, whole numbers: what gradebooks show as a percentage.
  function scoreOf(tally) {
    return tally.total > 0 ? Math.round(100 * tally.rightFirstTime / tally.total) : 0;
  }

  function connect() {
    const api = findApi();
    if (!api) return null;
    const call = (name, ...args) => {
      try {
        return String(api[name](...args));
      } catch (e) {
        console.warn('learning platform: ' + name + ' failed: ' + e);
        return 'false';
      }
    };
    const began = Date.now();
    let open = false;
    let finished = false;
    // An attempt opened for review takes nothing; a finished attempt played
    // again keeps its status and score and only adds the time.
    let review = false;
    let resultKept = false;
    // The progress to continue from, as the platform gave it or as last kept.
    let savedData = '';
    let commitPending = false;

    function set(element, value) {
      if (open && !review && !finished && call('LMSSetValue', element, String(value)) !== 'true') {
        console.warn('learning platform: ' + element + ' was not taken');
      }
    }
    function setResult(element, value) {
      if (!resultKept) set(element, value);
    }

    const session = {
      begin() {
        open = call('LMSInitialize', '') === 'true';
        if (!open) {
          console.warn('learning platform: LMSInitialize failed; nothing is reported');
          return;
        }
        const status = call('LMSGetValue', 'cmi.core.lesson_status');
        review = call('LMSGetValue', 'cmi.core.lesson_mode') === 'review';
        resultKept = status === 'completed' || status === 'passed';
        setResult('cmi.core.score.min', 0);
        setResult('cmi.core.score.max', 100);
        setResult('cmi.core.lesson_status', 'incomplete');
        if (call('LMSGetValue', 'cmi.core.entry') === 'resume') {
          savedData = call('LMSGetValue', 'cmi.suspend_data');
        }
      },
      isOpen() {
        return open;
      },
      savedData() {
        return open ? savedData : '';
      },
      answered(tally) {
        setResult('cmi.core.score.raw', scoreOf(tally));
        commitPending = true;
      },
      keep(text) {
        if (text.length > kSuspendDataLimit) {
          console.warn('learning platform: the progress (' + text.length +
                       ' characters) is longer than suspend data may be; it is not kept');
          return;
        }
        savedData = text;
        set('cmi.suspend_data', text);
        set('cmi.core.exit', text ? 'suspend' : '');
        if (open && commitPending && !finished) call('LMSCommit', '');
        commitPending = false;
      },
      suspend() {
        if (open && !finished) call('LMSCommit', '');
      },
      completed(tally) {
        setResult('cmi.core.score.raw', scoreOf(tally));
        setResult('cmi.core.lesson_status', 'completed');
        if (open) call('LMSCommit', '');
      },
      finish() {
        if (!open || finished) return;
        set('cmi.core.session_time', timeSpan(Date.now() - began));
        finished = true;  // nothing is set after this
        call('LMSCommit', '');
        call('LMSFinish', '');
      },
    };
    // The platform may close the page at any moment: whatever happens first
    // of these finishes the session.
    addEventListener('pagehide', () => session.finish());
    addEventListener('beforeunload', () => session.finish());
    return session;
  }

  return { connect: connect, timeSpan: timeSpan, scoreOf: scoreOf };
})();
