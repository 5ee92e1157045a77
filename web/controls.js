// The page's own controls around the game: the picture at a sharp scale, the buttons
// under it, the help, the notices and the questions the game asks.
(() => {
  const page = Module.page, $ = page.$;
  Object.assign(page.words.en, { screenshot: 'Screenshot', recording: 'Recording', help: 'Help', share: 'Share',
    open: 'Open', jump: 'To the end', again: 'New game' });
  Object.assign(page.words.fr, { screenshot: 'Capture', recording: 'Enregistrement', help: 'Aide', share: 'Partager',
    open: 'Ouvrir', jump: 'Aller à la fin', again: 'Nouvelle partie' });
  const canvas = $('screens'), context = canvas.getContext('2d');

  page.show = (rgba) => {
    context.putImageData(new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, 400 * 480 * 4), 400, 480), 0, 0);
  };

  // The largest whole number of screen pixels a console pixel that fits; smaller only
  // when not even one fits. The touch controls take the always black lower screen's
  // place: the upper screen shows alone, and where whole pixels would leave it under nine
  // tenths of its room it fills the room, its pixels squared off by the browser. Standing
  // up, its row grows with it, up to half the height.
  function fit() {
    const stage = $('stage'), ratio = devicePixelRatio || 1, rows = page.touch ? 240 : 480;
    const height = page.touch && innerHeight > innerWidth ? innerHeight / 2 : stage.clientHeight;
    const room = Math.min(stage.clientWidth * ratio / 400, height * ratio / rows);
    let scale = room >= 1 ? Math.floor(room) : room;
    if (page.touch && scale < 0.9 * room) scale = room;
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
    const data = extension === 'png' ? exported(text, size) : exported(size);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([HEAPU8.slice(data, data + HEAP32[size >> 2])], { type }));
    link.download = name;
    link.click();
    _free(size);
    _free(text);
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }
  // The page's own buttons keep no focus, so that Enter and Space stay the game's.
  page.onClick = (id, action) => { $(id).onclick = () => { $(id).blur(); action(); }; };
  page.onClick('screenshot', () => save(_webScreenshot, 'image/png', 'png'));
  page.onClick('recording', () => save(_webRecording, 'text/plain', 'txt'));
  page.onClick('help-button', () => page.showHelp(true));
  page.onClick('new-game', () => _webNewYear());
  page.onClick('jump', () => { _webJump(); $('jump').hidden = true; });
  page.playing = () => _webPlayingRecording() !== 0;
  page.frameDone = () => { $('jump').hidden = !page.playing(); };

  // The help: the game's own, in its order, for the keyboard or the touch buttons.
  page.helpOpen = false;
  page.showHelp = (open) => {
    page.helpOpen = open;
    $('help').hidden = !open;
    page.maybeWake();
  };
  $('help').addEventListener('pointerdown', () => page.showHelp(false));
  function loadHelp() {
    const sections = JSON.parse(UTF8ToString(_webHelp(page.language, page.touch ? 1 : 0)));
    const element = (kind, textContent) => Object.assign(document.createElement(kind), { textContent });
    const parts = [];
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
    $('help-close').textContent = page.say('paused');
    $('help-button').textContent = page.touch ? page.say('help') : `${page.say('help')} (${page.helpKey})`;
  }

  // Notices: a passing one leaves by itself; a lasting one stays until it is replaced.
  let passingTimer = 0;
  page.tell = (lasting, text) => {
    const where = $(lasting ? 'status' : 'notice');
    where.textContent = text;
    where.hidden = !text;
    if (lasting) return;
    clearTimeout(passingTimer);
    passingTimer = setTimeout(() => { $('notice').hidden = true; }, 5000);
  };

  // Beside the picture, the advice on the question being asked; what each new screen says,
  // for a screen reader.
  page.advice = (text) => {
    $('advice').replaceChildren(...text.split('\n').filter(Boolean).map((line) =>
      Object.assign(document.createElement('p'), { textContent: line })));
    $('advice').hidden = !text;
  };
  page.speak = (text) => { $('spoken').textContent = text; };

  // A question of the game's, with one or two answers: resolves with the answer's index.
  page.asking = false;
  page.ask = (question, first, second) => new Promise((resolve) => {
    page.asking = true;
    $('over-text').textContent = question;
    $('first').textContent = first;
    $('second').textContent = second;
    $('second').hidden = !second;
    $('over').hidden = false;
    $('first').focus();
    ['first', 'second'].forEach((id, index) => {
      $(id).onclick = () => {
        $('over').hidden = true;
        page.asking = false;
        page.releaseAll(true);
        resolve(index);
      };
    });
  });

  for (const id of ['screenshot', 'recording', 'share', 'open', 'jump']) $(id).textContent = page.say(id);
  $('new-game').textContent = page.say('again');
  Module.onRuntimeInitialized = () => {
    page.loadControls();
    loadHelp();
  };
  // The hosted site keeps itself for offline play; the page alone (or from file://) does not.
  if (document.querySelector('link[rel=manifest]') && navigator.serviceWorker) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
  fit();
})();
