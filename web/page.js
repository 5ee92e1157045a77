// The page around the game (web/page.cpp): the settings in the address, the picture at
// a sharp scale, the keyboard, touch buttons and game controllers as the console's
// buttons, pausing, the help, and the files the page offers.
Module.page = (() => {
  // The keys, the controller's buttons and the help's rows come from the game's table of
  // controls (frontend/controls.cpp), read once the WebAssembly is there.
  let byCode = {}, byLabel = {}, typedByCode = {}, padButtons = [], helpKey = 'F1';
  const CPAD = 0xF0000000; // the Circle Pad's four directions, which the stick presses
  const KEY_A = 1;

  const TEXT = {
    en: { screenshot: 'Screenshot', recording: 'Recording', help: 'Help', controls: 'Controls',
      over: 'The game is over.', again: 'New game', paused: 'Paused: any key or a tap goes on.',
      controller: 'A game controller plays too:', touch: 'On a touch screen, the buttons under the screens.',
      back: 'Back to the game', resumed: 'Game resumed, month ', resumedEnd: 'Game resumed, the year is over.',
      cannotKeep: 'This browser does not let the page keep the game: a reload loses it.',
      kept: 'A game is kept on this page. Go back to it, or start a new one?',
      refused: 'The kept game cannot be resumed: ',
      columns: ['Month', 'Adult males', 'Young males', 'Adult females', 'Young females', 'Cash ($)', 'Food (kg)',
        'Dead of hunger', 'Dead of crowding', 'Price ($)'],
      chart: 'Hamsters (white), cash (yellow), food (green)',
      share: 'Share', open: 'Open', jump: 'To the end', copied: 'Link copied.', badLink: 'This recording cannot be played: ',
      noDraws: 'This recording does not say whose random draws it played with: it may not replay the same game.' },
    fr: { screenshot: 'Capture', recording: 'Enregistrement', help: 'Aide', controls: 'Commandes',
      over: 'La partie est finie.', again: 'Nouvelle partie',
      paused: 'En pause : une touche ou un appui pour reprendre.',
      controller: 'Une manette joue aussi :', touch: 'Sur un écran tactile, les boutons sous les écrans.',
      back: 'Revenir à la partie', resumed: 'Partie reprise, mois ', resumedEnd: 'Partie reprise, l\'année est finie.',
      cannotKeep: 'Ce navigateur ne laisse pas la page garder la partie : la recharger la perd.',
      kept: 'Une partie est gardée sur cette page. Y revenir, ou en commencer une nouvelle ?',
      refused: 'La partie gardée ne peut pas reprendre : ',
      columns: ['Mois', 'Mâles adultes', 'Jeunes mâles', 'Femelles adultes', 'Jeunes femelles', 'Argent ($)',
        'Nourriture (kg)', 'Morts de faim', 'Morts d\'entassement', 'Prix ($)'],
      chart: 'Hamsters (blanc), argent (jaune), nourriture (vert)',
      share: 'Partager', open: 'Ouvrir', jump: 'Aller à la fin', copied: 'Lien copié.',
      badLink: 'Cet enregistrement ne peut pas se jouer : ',
      noDraws: 'Cet enregistrement ne dit pas avec quels tirages il a joué : il peut ne pas rejouer la même partie.' },
  };

  const query = new URLSearchParams(location.search);
  const asked = query.get('language') || (navigator.languages || [navigator.language])[0] || '';
  const language = asked.toLowerCase().startsWith('fr') ? 2 : 1;
  const text = TEXT[language === 2 ? 'fr' : 'en'];
  const $ = (id) => document.getElementById(id);
  const canvas = $('screens'), context = canvas.getContext('2d');

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

  function loadControls() {
    const table = JSON.parse(UTF8ToString(_webControls(language)));
    const rows = [], controllers = [];
    for (const control of table.controls) {
      control.keys.forEach((key, digit) => {
        if (control.action === 'digit') typedByCode[key.code] = String(digit);
        if (control.action === 'erase') typedByCode[key.code] = '\b';
      });
      for (const key of control.keys) {
        if (control.action === 'help') helpKey = key.code;
        if (control.action !== 'button') continue;
        byCode[key.code] = (byCode[key.code] || 0) | key.button;
        if (key.label) byLabel[key.label] = key.button;
      }
      for (const pad of control.pad) padButtons.push(pad);
      if (control.windowOnly) continue;
      rows.push([control.what, control.keyboard]);
      if (control.controller) controllers.push(control.controller);
    }
    $('help-rows').append(...rows.map((row) => {
      const line = document.createElement('tr');
      for (const cell of row) line.append(Object.assign(document.createElement('td'), { textContent: cell }));
      return line;
    }));
    $('help-more').textContent = `${text.controller} ${controllers.join(', ')}. ${text.touch}`;
    $('help-button').textContent = `${text.help} (${helpKey})`;
    // The touch buttons are named as in replay scripts.
    const name = _malloc(16);
    for (const button of document.querySelectorAll('#pad [data-button]')) {
      stringToUTF8(button.dataset.button, name, 16);
      button.dataset.mask = _webButton(name);
    }
    _free(name);
  }
  Module.onRuntimeInitialized = loadControls;

  // Paused while hidden (the console's HOME menu) or while the help is open.
  let helpOpen = false, playing = true, wake = null;
  const paused = () => document.hidden || helpOpen;
  function maybeWake() {
    if (wake && !paused()) { wake(); wake = null; }
  }

  function showHelp(open) {
    helpOpen = open;
    $('help').hidden = !open;
    maybeWake();
  }

  // Keys that closed the help count for nothing until they come up.
  const swallowed = new Set();
  addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    // Enter and Space on a button reached with Tab are the button's.
    if (event.target.closest && event.target.closest('button') && /^(Enter|NumpadEnter|Space)$/.test(event.code)) return;
    if (helpOpen || event.code === helpKey) {
      event.preventDefault();
      if (!event.repeat) showHelp(!helpOpen);
      if (!helpOpen) swallowed.add(event.code);
      return;
    }
    const buttons = (byCode[event.code] || 0) | (byLabel[String(event.key).toLowerCase()] || 0);
    // Digits and Backspace type the number; A confirms it once it is reached.
    const typed = typedByCode[event.code] || (buttons === KEY_A ? '\n' : '');
    if (!playing || !(buttons || typed)) return;
    event.preventDefault();
    if (event.repeat || swallowed.has(event.code)) return;
    if (typed) return Module.page.type(typed);
    keys.set(event.code, buttons);
    update();
  });
  addEventListener('keyup', (event) => {
    swallowed.delete(event.code);
    if (keys.delete(event.code)) update();
  });
  // Without the keyboard, every key is up; presses already seen still count.
  addEventListener('blur', () => { keys.clear(); touches.clear(); update(); });
  document.addEventListener('visibilitychange', maybeWake);
  $('help').addEventListener('pointerdown', () => showHelp(false));

  // Touch buttons: a touch holds the button until the finger leaves; a tap counts once.
  for (const button of document.querySelectorAll('#pad [data-button]')) {
    const release = (event) => { if (touches.delete(event.pointerId)) update(); };
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (!playing || helpOpen) return;
      if (Number(button.dataset.mask) === KEY_A) return Module.page.type('\n'); // after a typed number
      button.setPointerCapture(event.pointerId);
      touches.set(event.pointerId, Number(button.dataset.mask));
      update();
    });
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, release);
  }
  $('pad').addEventListener('contextmenu', (event) => event.preventDefault()); // a long press is a held button
  const touch = navigator.maxTouchPoints > 0 || matchMedia('(pointer: coarse)').matches;
  $('pad').hidden = $('digits').hidden = !touch;
  document.body.classList.toggle('touch', touch);

  // The largest whole number of screen pixels a console pixel that fits; smaller only
  // when not even one fits. The touch controls take the always black lower screen's
  // place: the upper screen shows alone, and where whole pixels would leave it under nine
  // tenths of its room it fills the room, its pixels squared off by the browser. Standing
  // up, its row grows with it, up to half the height.
  function fit() {
    const stage = $('stage'), ratio = devicePixelRatio || 1, rows = touch ? 240 : 480;
    const height = touch && innerHeight > innerWidth ? innerHeight / 2 : stage.clientHeight;
    const room = Math.min(stage.clientWidth * ratio / 400, height * ratio / rows);
    let scale = room >= 1 ? Math.floor(room) : room;
    if (touch && scale < 0.9 * room) scale = room;
    canvas.style.width = `${400 * scale / ratio}px`;
    canvas.style.height = `${480 * scale / ratio}px`;
    $('view').style.height = `${rows * scale / ratio}px`;
  }
  addEventListener('resize', fit);
  new ResizeObserver(fit).observe($('stage'));

  // Downloads what an exported function hands out (its bytes and their count), named
  // with the date and time.
  function save(exported, type, extension) {
    const stamp = new Date().toISOString().replace(/\..*/, '').replace(/[-:]/g, '').replace('T', '-');
    const name = `quorvandelle-${stamp}.${extension}`;
    const size = _malloc(4), text = _malloc(64);
    stringToUTF8(name, text, 64);
    const data = exported(text, size);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([HEAPU8.slice(data, data + HEAP32[size >> 2])], { type }));
    link.download = name;
    link.click();
    _free(size);
    _free(text);
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }
  // The page's own buttons keep no focus, so that Enter and Space stay the game's.
  const onClick = (id, action) => { $(id).onclick = () => { $(id).blur(); action(); }; };
  onClick('screenshot', () => save(_webScreenshot, 'image/png', 'png'));
  onClick('recording', () => save(_webRecording, 'text/plain', 'txt'));
  onClick('help-button', () => showHelp(true));

  // The game is kept in the browser's storage as its recording, written at most half a
  // second after a press and when the page is hidden; nothing is written while no key is
  // pressed. Without storage the game plays on and the page says so once.
  const KEPT = 'quorvandelle.game';
  let keeping = true, keepTimer = 0, toldCannotKeep = false, restart = false, askedKept = false;
  function storage() {
    try {
      return window.localStorage;
    } catch (error) {
      return null;
    }
  }
  function cannotKeep() {
    keeping = false;
    if (toldCannotKeep) return;
    toldCannotKeep = true;
    notice(text.cannotKeep, false);
  }
  function stopKeepTimer() {
    clearTimeout(keepTimer);
    keepTimer = 0;
  }
  function keep() {
    stopKeepTimer();
    if (!keeping) return;
    try {
      storage().setItem(KEPT, UTF8ToString(_webKept()));
    } catch (error) {
      cannotKeep();
    }
  }
  function forget() {
    stopKeepTimer();
    try {
      storage().removeItem(KEPT);
      keeping = true;
    } catch (error) {
      cannotKeep();
    }
  }
  const keptText = () => { try { return storage().getItem(KEPT); } catch (error) { cannotKeep(); return null; } };
  addEventListener('pagehide', () => keepTimer && keep());
  document.addEventListener('visibilitychange', () => document.hidden && keepTimer && keep());

  // A line over the picture, with "New game" when it tells of a resumed game.
  function notice(line, again) {
    $('notice-text').textContent = line;
    $('notice-again').hidden = !again;
    $('notice').hidden = false;
  }
  const newGame = () => { forget(); restart = true; $('notice').hidden = true; };
  $('notice-again').textContent = text.again;
  $('notice-again').onclick = () => { $('notice-again').blur(); newGame(); };

  // A choice on the overlay: resolves with the button's id.
  function choose(line, buttons) {
    return new Promise((resolve) => {
      playing = false;
      $('over-text').textContent = line;
      $('back').hidden = !buttons.includes('back');
      $('over').hidden = false;
      $(buttons[0]).focus();
      for (const id of ['back', 'again']) {
        $(id).onclick = () => {
          $('over').hidden = true;
          keys.clear();
          touches.clear();
          held = pressed = frames = 0;
          playing = true;
          resolve(id);
        };
      }
    });
  }

  // A year shared as a link: its recording, deflated, in base64url after "#r=". Opening
  // one (or a recording's file) plays it at the console's pace; then the keys take over.
  let incoming = location.hash.startsWith('#r=') ? location.hash.slice(3) : null, sharing = false;
  async function deflated(bytes, stream) {
    return new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(stream)).arrayBuffer());
  }
  async function shareLink() {
    const packed = await deflated(new TextEncoder().encode(UTF8ToString(_webKept())), new CompressionStream('deflate'));
    let binary = '';
    for (let i = 0; i < packed.length; i += 4096) binary += String.fromCharCode.apply(null, packed.subarray(i, i + 4096));
    const link = `${location.href.replace(/#.*/, '')}#r=${btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '')}`;
    if (navigator.share) return navigator.share({ title: document.title, url: link }).catch(() => {});
    await navigator.clipboard.writeText(link);
    notice(text.copied, false);
  }
  async function unpack(code) {
    const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
    return new TextDecoder('utf-8', { fatal: true }).decode(await deflated(bytes, new DecompressionStream('deflate')));
  }
  onClick('share', () => { shareLink().catch((error) => notice(String(error.message || error), false)); });
  onClick('open', () => $('open-file').click());
  const openText = (file) => file.text().then((recording) => { incoming = { recording }; restart = true; });
  $('open-file').onchange = () => { if ($('open-file').files[0]) openText($('open-file').files[0]); $('open-file').value = ''; };
  addEventListener('dragover', (event) => event.preventDefault());
  addEventListener('drop', (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (file) openText(file);
  });
  onClick('jump', () => { _webJump(); $('jump').hidden = true; });

  // The year month by month: a small chart and the table of the same numbers.
  function showYear(ended) {
    $('year').hidden = !ended;
    if (!ended) return;
    const rows = UTF8ToString(_webYear()).trim().split('\n').slice(1).map((line) => line.split(',').map(Number));
    const money = new Set([5, 9]);
    const line = (cells, kind) => {
      const row = document.createElement('tr');
      row.append(...cells.map((textContent) => Object.assign(document.createElement(kind), { textContent })));
      return row;
    };
    $('year-table').replaceChildren(line(text.columns, 'th'), ...rows.map((row) =>
      line(row.map((value, column) => (money.has(column) ? value.toFixed(2) : String(value))), 'td')));
    const series = [[(row) => row[1] + row[2] + row[3] + row[4], '#fff'], [(row) => row[5], '#ec3'], [(row) => row[6], '#5c5']];
    const svg = series.map((one) => {
      const values = rows.map(one[0]), top = Math.max(1, ...values);
      const points = values.map((value, i) => `${(i * 240) / Math.max(1, rows.length - 1)},${78 - (value / top) * 76}`);
      return `<polyline fill="none" stroke="${one[1]}" stroke-width="1.5" vector-effect="non-scaling-stroke" points="${points.join(' ')}"/>`;
    });
    $('year-chart').innerHTML = `<title>${text.chart}</title>${svg.join('')}`;
  }

  // The hosted site keeps itself for offline play; the page alone (or from file://) does not.
  if (document.querySelector('link[rel=manifest]') && navigator.serviceWorker) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }

  document.documentElement.lang = language === 2 ? 'fr' : 'en';
  $('screenshot').textContent = text.screenshot;
  $('recording').textContent = text.recording;
  $('help-title').textContent = text.controls;
  $('help-close').textContent = text.paused;
  $('again').textContent = text.again;
  $('back').textContent = text.back;
  $('share').textContent = text.share;
  $('open').textContent = text.open;
  $('jump').textContent = text.jump;
  fit();

  let firstGame = true;
  return {
    // The kept game to resume, if any; a page opened with another ?seed= asks first.
    keptGame: async () => {
      restart = false;
      sharing = false;
      if (incoming !== null) {
        const code = incoming;
        incoming = null;
        history.replaceState(null, '', location.href.replace(/#.*/, ''));
        let recording = null;
        try {
          recording = typeof code === 'string' ? await unpack(code) : code.recording;
        } catch (error) {
          await choose(text.badLink + (error.message || 'it does not decode'), ['again']);
        }
        if (recording !== null) {
          sharing = true;
          return recording;
        }
      }
      const kept = keptText();
      if (!kept) return null;
      // (a reload of the page that made it resumes it without asking)
      const keptSeed = (/^seed=(\d+)$/m.exec(kept) || [])[1];
      if (query.has('seed') && query.get('seed') !== keptSeed && !askedKept) {
        askedKept = true;
        if (await choose(text.kept, ['back', 'again']) === 'again') {
          forget();
          return null;
        }
      }
      askedKept = true;
      return kept;
    },
    // A kept game that does not read back is left as it is, and nothing is written over
    // it, until the player starts a new game.
    refused: async (why) => {
      if (sharing) {
        $('jump').hidden = true;
        return void await choose(text.badLink + why, ['again']);
      }
      keeping = false;
      await choose(text.refused + why, ['again']);
      forget();
    },
    resumed: (month) => notice(month > 12 ? text.resumedEnd : text.resumed + month, true),
    pressed: () => {
      if (!$('notice-again').hidden) $('notice').hidden = true; // the resumed game goes on
      if (keeping && !keepTimer) keepTimer = setTimeout(keep, 500);
    },
    restarting: () => restart,
    shared: () => sharing,
    // A shared recording that plays: it will be kept, so a kept game is asked about first.
    playShared: async () => {
      const play = !keptText() || await choose(text.kept, ['back', 'again']) === 'again';
      $('jump').hidden = !play;
      return play;
    },
    warn: () => notice(text.noDraws, false),
    scriptOver: () => { $('jump').hidden = true; },
    year: showYear,
    frames: () => frames,
    language: () => language,
    touch,
    // The console clock at start-up: ?seed=N, or now, in milliseconds since 1900.
    seed: () => {
      const seed = firstGame ? query.get('seed') : null;
      firstGame = false;
      const largest = '18446744073709551615';
      if (/^\d{1,20}$/.test(seed) && (seed.length < 20 || seed <= largest)) return seed;
      return String(Date.now() + 2208988800000);
    },
    takeButtons(heldOut, pressedOut) {
      readGamepads();
      HEAPU32[heldOut >> 2] = held;
      HEAPU32[pressedOut >> 2] = pressed;
      pressed = 0;
      frames++;
    },
    show(rgba) {
      context.putImageData(new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, 400 * 480 * 4), 400, 480), 0, 0);
    },
    paused: () => paused(),
    unpaused: () => new Promise((resolve) => { wake = resolve; }),
    // START ended the game: the page says so and waits for the player to go back to it
    // (it is kept without that START) or to start another.
    gameOver: async () => {
      keep();
      const back = keeping && keptText() !== null;
      if (await choose(text.over, back ? ['back', 'again'] : ['again']) === 'again') forget();
    },
  };
})();
