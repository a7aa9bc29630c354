// On-screen controls for touch screens: buttons that press and release the
// same keys as the keyboard (by KeyboardEvent.code), so the game cannot tell
// a tap from a key. A page with no touch screen never shows them. Their names
// are the page's words (Data/page.txt, its defaults the engine's); the arrows
// show symbols and carry their names for screen readers. (Loaded by
// index.html before its own script.)
'use strict';
window.KeravonTouch = (function () {
  // word: the page word naming the control (null: the label is its name);
  // scene: shown only in that scene of the game (0 the intro), else always.
  const kControls = [
    { pad: 'move', word: 'forward', code: 'ArrowUp', label: '\u25b2', area: 'up' },
    { pad: 'move', word: 'turn-left', code: 'ArrowLeft', label: '\u25c0', area: 'left' },
    { pad: 'move', word: 'turn-right', code: 'ArrowRight', label: '\u25b6', area: 'right' },
    { pad: 'move', word: 'back', code: 'ArrowDown', label: '\u25bc', area: 'down' },
    { pad: 'answer', word: null, code: 'Digit1', label: '1', area: 'one' },
    { pad: 'answer', word: null, code: 'Digit2', label: '2', area: 'two' },
    { pad: 'answer', word: null, code: 'Digit3', label: '3', area: 'three' },
    { pad: 'answer', word: 'hint', code: 'Space', label: null, area: 'hint' },
    { pad: 'answer', word: 'skip', code: 'Escape', label: null, area: 'skip', scene: 0 },
  ];
  // Each pad is three buttons wide and three high; a button is never smaller
  // than a fingertip nor larger than a thumb needs.
  const kSmallest = 44;
  const kLargest = 84;
  const kGap = 6;
  const kMargin = 8;

  // A touch screen, or a pointer as coarse as a finger.
  function wanted() {
    return (window.matchMedia && matchMedia('(any-pointer: coarse)').matches) ||
           navigator.maxTouchPoints > 0 || 'ontouchstart' in window;
  }

  // The room a pad needs across (and down) at the smallest button size.
  function smallestPad() {
    return 3 * kSmallest + 2 * kGap + 2 * kMargin;
  }

  // press(code, down): what a key does; called once per press and release.
  function create(press) {
    const root = document.createElement('div');
    root.id = 'controls';
    // Shown once the engine has sent the page's words: no control without
    // its name, and none while the quiz is still loading.
    root.hidden = true;
    const pads = { move: document.createElement('div'), answer: document.createElement('div') };
    pads.move.className = 'pad move';
    pads.answer.className = 'pad answer';
    const buttons = [];
    let scene = -1;  // before the start screen is passed

    for (const control of kControls) {
      const button = document.createElement('button');
      button.type = 'button';
      button.style.gridArea = control.area;
      button.className = control.area;
      button.tabIndex = -1;  // the keyboard has its own keys
      // A named control gets its name with the page's words, which the
      // engine sends as it starts (English where the quiz gives none).
      if (control.label) button.textContent = control.label;
      holdable(button, control.code, press);
      pads[control.pad].appendChild(button);
      buttons.push({ control: control, button: button });
    }
    root.appendChild(pads.move);
    root.appendChild(pads.answer);
    document.body.appendChild(root);

    function showForScene() {
      for (const { control, button } of buttons) {
        const shown = control.scene === undefined || control.scene === scene;
        button.classList.toggle('hidden', !shown);
      }
    }
    showForScene();

    return {
      // A page word arrived from the quiz folder.
      name(word, text) {
        root.hidden = false;
        for (const { control, button } of buttons) {
          if (control.word !== word) continue;
          button.setAttribute('aria-label', text);
          if (!control.label) button.textContent = text;
        }
      },
      scene(number) {
        scene = number;
        showForScene();
      },
      // The pads in the room the picture leaves: beside it in landscape,
      // below it in portrait. `picture` is the canvas's rectangle.
      place(picture, portrait) {
        const room = portrait ? innerHeight - picture.bottom : Math.min(picture.left, innerWidth - picture.right);
        const across = portrait ? innerWidth / 2 : room;
        const size = Math.max(kSmallest, Math.min(kLargest,
            Math.floor((Math.min(room, across) - 2 * kMargin - 2 * kGap) / 3)));
        const side = 3 * size + 2 * kGap;
        root.style.setProperty('--button', size + 'px');
        const top = portrait ? picture.bottom + Math.max(kMargin, (room - side) / 2)
                             : innerHeight - side - 2 * kMargin;
        pads.move.style.top = pads.answer.style.top = Math.max(kMargin, top) + 'px';
        const inset = portrait ? Math.max(kMargin, (across - side) / 2)
                               : Math.max(kMargin, (room - side) / 2);
        pads.move.style.left = inset + 'px';
        pads.answer.style.left = (innerWidth - inset - side) + 'px';
      },
    };
  }

  // Held while a finger is on it; several fingers on several buttons at once
  // (walk and turn) each hold their own.
  function holdable(button, code, press) {
    let held = false;
    const release = () => {
      if (!held) return;
      held = false;
      button.classList.remove('held');
      press(code, false);
    };
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (button.setPointerCapture) {
        try { button.setPointerCapture(event.pointerId); } catch (e) { /* the finger is gone */ }
      }
      if (held) return;
      held = true;
      button.classList.add('held');
      press(code, true);
    });
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
    button.addEventListener('lostpointercapture', release);
    // No long-press menu, no text selection, no double-tap zoom.
    button.addEventListener('contextmenu', (event) => event.preventDefault());
  }

  return { wanted: wanted, create: create, smallestPad: smallestPad };
})();
