// The page's typing and its phone side (after web/page.js): a number typed on a question
// goes to the game's session, which makes the console's presses; a refused key says why
// on the page. A phone gets a number pad, and its help shows the touch buttons instead
// of the keyboard's keys. The help ends with how to play, from the game.
(() => {
  const page = Module.page, $ = (id) => document.getElementById(id);
  let whyTimer = 0;

  // '0' to '9', '\b' erases, '\n' confirms. A confirmation refused because the last one
  // is still on its way says nothing: a second tap of A in the same moment.
  page.type = (key) => {
    const why = UTF8ToString(_webType(key.charCodeAt(0)));
    if (!why || key === '\n') return;
    $('why').textContent = why;
    $('why').hidden = false;
    clearTimeout(whyTimer);
    whyTimer = setTimeout(() => { $('why').hidden = true; }, 3000);
  };

  const KEYS = { erase: '\b', confirm: '\n' };
  for (const button of document.querySelectorAll('#digits [data-key]')) {
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (!page.paused()) page.type(KEYS[button.dataset.key] || button.dataset.key);
    });
  }
  $('digits').addEventListener('contextmenu', (event) => event.preventDefault());

  const TEXT = {
    en: { digits: 'the number pad', erase: 'its erase key', touchMore: 'START, in the corner, leaves the game.' },
    fr: { digits: 'le pavé de chiffres', erase: 'sa touche d\'effacement', touchMore: 'START, dans le coin, quitte la partie.' },
  };

  // On a phone, each row of the help names the touch buttons that do it.
  function touchHelp(table, text) {
    $('help-button').textContent = $('help-button').textContent.replace(/ \(.*/, ''); // no F1 here
    const labels = (mask) => [...document.querySelectorAll('#pad [data-button]')]
      .filter((button) => Number(button.dataset.mask) & mask).map((button) => button.textContent).join(' ');
    const rows = [];
    for (const control of table.controls) {
      if (control.windowOnly) continue;
      let where = '';
      if (control.action === 'button') where = labels(control.keys.reduce((mask, key) => mask | key.button, 0));
      if (control.action === 'digit') where = `${text.digits} (0-9)`;
      if (control.action === 'erase') where = `${text.erase} (${document.querySelector('#digits [data-key=erase]').textContent})`;
      if (control.action === 'help') where = $('help-button').textContent;
      if (where) rows.push([control.what, where]);
    }
    $('help-rows').replaceChildren(...rows.map((row) => {
      const line = document.createElement('tr');
      for (const cell of row) line.append(Object.assign(document.createElement('td'), { textContent: cell }));
      return line;
    }));
    $('help-more').textContent = text.touchMore;
  }

  const loaded = Module.onRuntimeInitialized;
  Module.onRuntimeInitialized = () => {
    loaded();
    const language = page.language(), text = TEXT[language === 2 ? 'fr' : 'en'];
    if (page.touch) touchHelp(JSON.parse(UTF8ToString(_webControls(language))), text);
    const paragraphs = UTF8ToString(_webHowToPlay(language)).split('\n'); // (no destructuring: see page.js)
    $('howto').replaceChildren(Object.assign(document.createElement('h2'), { textContent: paragraphs.shift() }),
      ...paragraphs.map((paragraph) => Object.assign(document.createElement('p'), { textContent: paragraph })));
  };
})();
