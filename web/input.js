// The console's buttons on the page: keys, touch buttons and game controllers, held and
// pressed as the console's scan reads them; digits and erase typed on a question; the
// help and the screen read again; the game waits while the page is hidden or the help is
// open.
(() => {
  const page = Module.page, $ = page.$;

  // The keys and the controller's buttons come from the game's table of controls
  // (frontend/controls.cpp), read once the WebAssembly is there.
  const byCode = {}, byLabel = {}, typedByCode = {}, padButtons = [];
  const CPAD = 0xF0000000; // the Circle Pad's four directions, which the stick presses
  const KEY_A = 1;
  page.helpKey = 'F1';
  page.readKey = 'F2';

  // The buttons held now by every source, and those that went down since the last scan.
  const keys = new Map(), touches = new Map();
  let padHeld = 0, stick = 0, held = 0, pressed = 0, frames = 0;
  function update() {
    let now = padHeld | stick;
    for (const buttons of keys.values()) now |= buttons;
    for (const buttons of touches.values()) now |= buttons;
    pressed = (pressed | (now & ~held)) >>> 0;
    held = now >>> 0;
  }
  // Everything up, and what was pressed forgotten (the game was not playing).
  page.releaseAll = (forget) => {
    keys.clear();
    touches.clear();
    update();
    if (forget) pressed = 0;
  };

  function readGamepads() {
    let buttons = 0, x = 0, y = 0;
    for (const pad of (navigator.getGamepads ? navigator.getGamepads() : [])) {
      if (!pad) continue;
      // (no destructuring: the build's minifier mangles it)
      for (const mapped of padButtons) {
        if (pad.buttons[mapped.index] && pad.buttons[mapped.index].pressed) buttons |= mapped.button;
      }
      if (Math.abs(pad.axes[0] || 0) > Math.abs(x)) x = pad.axes[0];
      if (Math.abs(pad.axes[1] || 0) > Math.abs(y)) y = pad.axes[1];
    }
    padHeld = buttons;
    stick = _webStick(stick, x, y) & CPAD;
    update();
  }

  page.loadControls = () => {
    page.controls = JSON.parse(UTF8ToString(_webControls(page.language))).controls;
    for (const control of page.controls) {
      control.keys.forEach((key, digit) => {
        if (control.action === 'digit') typedByCode[key.code] = String(digit);
        if (control.action === 'erase') typedByCode[key.code] = '\b';
        if (control.action === 'help') page.helpKey = key.code;
        if (control.action === 'read') page.readKey = key.code;
        if (control.action !== 'button') return;
        byCode[key.code] = (byCode[key.code] || 0) | key.button;
        if (key.label) byLabel[key.label] = key.button;
      });
      for (const pad of control.pad) padButtons.push(pad);
    }
    // The touch buttons are named as in replay scripts.
    const name = _malloc(16);
    for (const button of document.querySelectorAll('#pad [data-button]')) {
      stringToUTF8(button.dataset.button, name, 16);
      button.dataset.mask = _webButton(name);
    }
    _free(name);
  };

  // A key typed on a question; A confirms a number being typed, else it is a press.
  page.type = (key) => _webKey(key.charCodeAt(0)) !== 0;

  // Paused while hidden (the console's HOME menu) or while the help is open.
  let wake = null;
  page.paused = () => document.hidden || page.helpOpen;
  page.unpaused = () => new Promise((resolve) => { wake = resolve; });
  page.maybeWake = () => {
    if (wake && !page.paused()) { wake(); wake = null; }
  };
  document.addEventListener('visibilitychange', page.maybeWake);

  addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    if (event.code === page.helpKey || event.code === page.readKey) {
      event.preventDefault();
      if (event.repeat) return;
      if (event.code === page.readKey) return void page.readAgain();
      return void page.showHelp(!page.helpOpen);
    }
    // Over the help or a question the keys are the page's: they read, scroll and press
    // its buttons. So are those on the year (its table scrolls with them), and Enter and
    // Space on a button reached with Tab.
    if (page.helpOpen || page.asking || (event.target.closest && event.target.closest('#year'))) return;
    if (event.target.closest && event.target.closest('button') && /^(Enter|NumpadEnter|Space)$/.test(event.code)) return;
    const buttons = (byCode[event.code] || 0) | (byLabel[String(event.key).toLowerCase()] || 0);
    const typed = typedByCode[event.code];
    if (!(buttons || typed)) return;
    event.preventDefault();
    if (event.repeat) return;
    if (typed) return void page.type(typed);
    if (buttons === KEY_A && page.type('\n')) return;
    keys.set(event.code, buttons);
    update();
  });
  addEventListener('keyup', (event) => {
    if (keys.delete(event.code)) update();
  });
  // Without the keyboard, every key is up; presses already seen still count.
  addEventListener('blur', () => page.releaseAll(false));

  // Touch buttons: a touch holds the button until the finger leaves; a tap counts once.
  for (const button of document.querySelectorAll('#pad [data-button]')) {
    const release = (event) => { if (touches.delete(event.pointerId)) update(); };
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (page.asking || page.helpOpen) return;
      if (Number(button.dataset.mask) === KEY_A && page.type('\n')) return;
      button.setPointerCapture(event.pointerId);
      touches.set(event.pointerId, Number(button.dataset.mask));
      update();
    });
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, release);
  }
  // The number pad types as the digit keys do.
  const PAD_KEYS = { erase: '\b', confirm: '\n' };
  for (const button of document.querySelectorAll('#digits [data-key]')) {
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (page.asking || page.paused()) return;
      const key = PAD_KEYS[button.dataset.key] || button.dataset.key;
      if (!page.type(key) && key === '\n') { // OK with no number typed is A
        touches.set(event.pointerId, KEY_A);
        update();
        touches.delete(event.pointerId);
        update();
      }
    });
  }
  for (const id of ['pad', 'digits']) $(id).addEventListener('contextmenu', (event) => event.preventDefault()); // a long press holds

  page.frames = () => frames;
  page.takeButtons = (heldOut, pressedOut) => {
    readGamepads();
    HEAPU32[heldOut >> 2] = held;
    HEAPU32[pressedOut >> 2] = pressed;
    pressed = 0;
    frames++;
    page.frameDone();
  };
})();
