// The page's own controls around the game: the picture at a sharp scale, the buttons
// under it, the help, the notices, what the screens say and the questions the game asks.
(() => {
  const page = Module.page, $ = page.$;
  Object.assign(page.words.en, { screenshot: 'Screenshot', recording: 'Recording', help: 'Help', share: 'Share',
    open: 'Open', jump: 'To the end', again: 'New game', layout: 'Both screens', close: 'Close',
    waits: 'The game waits while the help is open.', advice: 'Advice', picture: 'Quorvandelle, the game\'s screen',
    keys: (help, read) => `${help}: help; ${read}: the screen read again` });
  Object.assign(page.words.fr, { screenshot: 'Capture', recording: 'Enregistrement', help: 'Aide', share: 'Partager',
    open: 'Ouvrir', jump: 'Aller à la fin', again: 'Nouvelle partie', layout: 'Les deux écrans', close: 'Fermer',
    waits: 'Le jeu attend tant que l\'aide est ouverte.', advice: 'Conseils', picture: 'Quorvandelle, l\'écran du jeu',
    keys: (help, read) => `${help} : aide ; ${read} : l'écran relu` });
  const canvas = $('screens'), context = canvas.getContext('2d');

  page.show = (rgba) => {
    context.putImageData(new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, 400 * 480 * 4), 400, 480), 0, 0);
  };

  // The touch controls take the always black lower screen's place; without them, the
  // page may show both screens, as the player last chose.
  $('pad').hidden = $('digits').hidden = !page.touch;
  $('layout').hidden = page.touch;
  const LAYOUT = 'quorvandelle.layout';
  try {
    page.both = !page.touch && localStorage.getItem(LAYOUT) === 'both';
  } catch (error) {
    page.both = false;
  }

  // The picture is never drawn smaller than a screen pixel a console pixel, so that no
  // row is lost, and only what the picture's room leaves goes to the rest: the page
  // scrolls rather than shrink it. Without touch: the largest whole number of screen
  // pixels a console pixel with the advice beside the picture, or below it where that is
  // larger. With touch, the upper screen as wide as it goes (standing up, its row up to
  // half the height; on its side, between the buttons and above the digits), in whole
  // pixels where they leave nine tenths of that room, else filling it, squared off by
  // the browser. Room in em: the advice beside or below, the buttons' row, the digits.
  const BESIDE = 23, BELOW = 9, BAR = 4.5, DIGITS = 3.5;
  const SIDEWAYS = matchMedia('(orientation: landscape) and (max-height: 560px)');
  function fit() {
    const ratio = devicePixelRatio || 1, rows = page.both ? 480 : 240;
    const em = parseFloat(getComputedStyle(document.documentElement).fontSize);
    const width = document.documentElement.clientWidth, height = innerHeight;
    const room = (across, down) => Math.min((across * ratio) / 400, (down * ratio) / rows);
    let scale, below = false;
    if (page.touch) {
      const sides = [...document.querySelectorAll('#pad .side')].reduce((sum, side) => sum + side.offsetWidth, 0);
      const fill = Math.max(1, SIDEWAYS.matches ? room(width - sides, height - DIGITS * em) : room(width, height / 2));
      scale = Math.floor(fill) >= 0.9 * fill ? Math.floor(fill) : fill;
    } else {
      const beside = Math.floor(room(width - BESIDE * em, height - BAR * em));
      const under = Math.floor(room(width - em, height - (BAR + BELOW) * em));
      below = under > beside;
      scale = Math.max(1, beside, under);
    }
    const css = (pixels) => `${(pixels * scale) / ratio}px`;
    canvas.style.width = $('view').style.width = css(400);
    canvas.style.height = css(480);
    $('view').style.height = css(rows);
    $('stage').classList.toggle('below', below);
    $('info').style.width = below ? css(400) : '';
    $('layout').setAttribute('aria-pressed', String(page.both));
  }
  addEventListener('resize', fit);

  // Downloads what an exported function hands out (its bytes and their count), named
  // with the date and time.
  function save(exported, type, extension) {
    const stamp = new Date().toISOString().replace(/\..*/, '').replace(/[-:]/g, '').replace('T', '-');
    const name = `quorvandelle-${stamp}.${extension}`;
    const size = _malloc(4), text = _malloc(64);
    stringToUTF8(name, text, 64);
    const data = extension === 'png' ? exported(text, size) : exported(size);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([HEAPU8.slice(data, data + HEAP32[size >> 2])], { type }));
    link.download = name;
    link.click();
    _free(size);
    _free(text);
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }
  // While playing, the picture holds the focus, so that Enter and Space are the game's;
  // a question or the help takes it while it is open.
  page.focusGame = () => {
    if (!page.helpOpen) (page.asking ? $('first') : canvas).focus({ preventScroll: true });
  };
  page.onClick = (id, action) => { $(id).onclick = () => { action(); page.focusGame(); }; };
  page.onClick('screenshot', () => save(_webScreenshot, 'image/png', 'png'));
  page.onClick('recording', () => save(_webRecording, 'text/plain', 'txt'));
  page.onClick('help-button', () => page.showHelp(true));
  page.onClick('new-game', () => _webNewYear());
  page.onClick('jump', () => { _webJump(); $('jump').hidden = true; });
  page.onClick('layout', () => {
    page.both = !page.both;
    try {
      localStorage.setItem(LAYOUT, page.both ? 'both' : 'upper');
    } catch (error) {
      // a browser that keeps nothing: the choice lasts as long as the page
    }
    fit();
  });
  page.playing = () => _webPlayingRecording() !== 0;
  page.frameDone = () => {
    const playing = page.playing();
    if ($('jump').hidden === playing) $('jump').hidden = !playing;
  };

  // The help: the game's own, in its order, for the keyboard or the touch buttons. It is
  // read and scrolled as any page is, and closes only with its key or its button.
  page.helpOpen = false;
  page.showHelp = (open) => {
    page.helpOpen = open;
    $('help').hidden = !open;
    $('page').inert = open; // nothing else can be reached while it is open
    if (open) $('help-text').focus();
    page.focusGame();
    page.maybeWake();
  };
  $('help-done').onclick = () => page.showHelp(false);
  function loadHelp() {
    const sections = JSON.parse(UTF8ToString(_webHelp(page.language, page.touch ? 1 : 0)));
    const element = (kind, textContent) => Object.assign(document.createElement(kind), { textContent });
    const parts = [element('p', page.say('waits'))];
    for (const section of sections) {
      parts.push(element('h2', section.title));
      if (section.rows.length) {
        const table = document.createElement('table');
        for (const row of section.rows) {
          const line = table.insertRow();
          for (const text of row) line.insertCell().textContent = text;
        }
        parts.push(table);
      }
      for (const paragraph of section.paragraphs) parts.push(element('p', paragraph));
    }
    $('help-text').replaceChildren(...parts);
    $('help-title').textContent = page.say('help');
    const key = (name) => (page.touch ? name : `${name} (${page.helpKey})`);
    $('help-done').textContent = key(page.say('close'));
    $('help-button').textContent = key(page.say('help'));
    canvas.setAttribute('aria-label', page.touch ? page.say('picture')
      : `${page.say('picture')} (${page.say('keys')(page.helpKey, page.readKey)})`);
  }

  // Notices, beside or below the picture, never over it: a passing one leaves by itself;
  // a lasting one stays until it is replaced.
  let passingTimer = 0;
  page.tell = (lasting, text) => {
    const where = $(lasting ? 'status' : 'notice');
    where.textContent = text;
    where.hidden = !text;
    if (lasting) return;
    clearTimeout(passingTimer);
    passingTimer = setTimeout(() => { $('notice').hidden = true; }, 5000);
  };

  // Beside the picture, the advice on the question being asked.
  const paragraphs = (lines) => lines.map((line) => Object.assign(document.createElement('p'), { textContent: line }));
  page.advice = (text) => {
    $('advice').replaceChildren(...paragraphs(text.split('\n').filter(Boolean)));
    $('advice').hidden = !text;
  };
  // What each new screen says, for a screen reader, a paragraph a line; a line of
  // underscores says nothing. Read again, the same text is news only once the region
  // was emptied for a moment.
  let rereading = 0;
  page.speak = (text) => {
    clearTimeout(rereading);
    $('spoken').replaceChildren(...paragraphs(text.split('\n').filter((line) => /[0-9A-Za-z\u00C0-\u024F]/.test(line))));
  };
  page.readAgain = () => {
    $('spoken').replaceChildren();
    clearTimeout(rereading);
    rereading = setTimeout(() => page.speak(UTF8ToString(_webScreenText())), 100);
  };

  // A question of the game's, with one or two answers: resolves with the answer's index.
  page.asking = false;
  page.ask = (question, first, second) => new Promise((resolve) => {
    page.asking = true;
    $('over-text').textContent = question;
    $('first').textContent = first;
    $('second').textContent = second;
    $('second').hidden = !second;
    $('over').hidden = false;
    page.focusGame();
    ['first', 'second'].forEach((id, index) => {
      $(id).onclick = () => {
        $('over').hidden = true;
        page.asking = false;
        page.releaseAll(true);
        page.focusGame();
        resolve(index);
      };
    });
  });

  for (const id of ['screenshot', 'recording', 'share', 'open', 'jump', 'layout']) $(id).textContent = page.say(id);
  $('new-game').textContent = page.say('again');
  $('advice').setAttribute('aria-label', page.say('advice'));
  Module.onRuntimeInitialized = () => {
    page.loadControls();
    loadHelp();
  };
  // The hosted site keeps itself for offline play; the page alone (or from file://) does not.
  if (document.querySelector('link[rel=manifest]') && navigator.serviceWorker) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
  fit();
  page.focusGame();
})();
