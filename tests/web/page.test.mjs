// The page in Debian's chromium, served on 127.0.0.1: keys, touch buttons and a game
// controller press the console's buttons; the canvas shows what the headless program
// on Node shows for the same presses; the page's recording replays there to the same end.
//   node page.test.mjs PAGE.html CLI.js
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { deflateSync } from 'node:zlib';
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';

const [pagePath, cliPath] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'quorvandelle-web-'));
const errors = [];
const site = join(dirname(pagePath), 'site'), changed = {}; // the site's files, some changed by a test
const TYPES = { html: 'text/html', js: 'text/javascript', webmanifest: 'application/manifest+json', png: 'image/png' };
let server, browser, address;

before(async () => {
  const html = readFileSync(pagePath);
  // The page alone at every address, but the installable site under site/.
  server = createServer((request, response) => {
    const name = request.url.replace(/[?#].*/, '').replace(/\/$/, '/index.html');
    if (!name.startsWith('/site/')) return response.writeHead(200, { 'content-type': 'text/html' }).end(html);
    try {
      const body = changed[name.slice(6)] || readFileSync(join(site, name.slice(6)));
      response.writeHead(200, { 'content-type': TYPES[name.split('.').pop()], 'cache-control': 'no-cache' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
  address = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', timeout: 30000,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'] });
});
after(async () => {
  await browser?.close();
  server?.close();
  rmSync(work, { recursive: true, force: true });
  assert.deepEqual(errors, [], 'the page logged errors');
});

async function open(query, options = {}) {
  const { init, ...contextOptions } = options;
  const context = await browser.newContext(contextOptions);
  const page = listen(await context.newPage());
  if (init) await page.addInitScript(init);
  await page.addInitScript(`window.presses = ${presses.toString()}`);
  await page.addInitScript(() => {
    window.pad = { connected: true, axes: [0, 0], buttons: [...Array(17)].map(() => ({ pressed: false })) };
    navigator.getGamepads = () => [window.pad];
  });
  await page.goto(address + query);
  await settle(page);
  return page;
}
const listen = (page) => {
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  return page;
};

// Waits until the game has scanned the buttons `frames` more times.
async function settle(page, frames = 3) {
  const now = await page.evaluate(() => Module.page.frames());
  await page.waitForFunction((until) => Module.page.frames() >= until, now + frames);
}

// The headless program on Node: its state and screenshot after a script.
function replay(script, name) {
  writeFileSync(join(work, `${name}.txt`), script);
  const files = ['.txt', '.json', '.png', '.csv'].map((extension) => join(work, name + extension));
  execFileSync('node', [cliPath, '--headless', '--replay', files[0], '--state', files[1], '--screenshot', files[2],
    '--history', files[3]]);
  return { state: JSON.parse(readFileSync(files[1], 'utf8')), png: readFileSync(files[2]).toString('base64'),
    history: readFileSync(files[3], 'utf8') };
}
// The farm as the page's game holds it, and the canvas.
const farmOf = (page) => page.evaluate(() => [JSON.parse(UTF8ToString(_webState())),
  document.getElementById('screens').toDataURL()]);
const KEPT = 'quorvandelle.game';
// The kept game once it holds `count` presses or more.
const keptText = async (page, count) => {
  await page.waitForFunction(([name, count]) => presses(localStorage.getItem(name) || '').length >= count, [KEPT, count]);
  return page.evaluate((name) => localStorage.getItem(name), KEPT);
};

// Canvas pixels that differ from a PNG (those left clear beside the lower screen read as black).
const differingPixels = (page, png) => page.evaluate(async (png) => {
  const image = new Image();
  image.src = `data:image/png;base64,${png}`;
  await image.decode();
  const other = new OffscreenCanvas(400, 480).getContext('2d');
  other.drawImage(image, 0, 0);
  const want = other.getImageData(0, 0, 400, 480).data;
  const got = document.getElementById('screens').getContext('2d').getImageData(0, 0, 400, 480).data;
  let differing = 0;
  for (let i = 0; i < got.length; i += 4) differing += got[i] !== want[i] || got[i + 1] !== want[i + 1] || got[i + 2] !== want[i + 2];
  return differing;
}, png);

async function download(page, button, encoding = 'utf8') {
  const [file] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
  return readFileSync(await file.path(), encoding);
}
const recording = (page) => download(page, '#recording');
// The buttons of a recording's frames, without the frames in which none went down.
const presses = (script) => script.replace(/#.*/g, '').split(/\s+/).filter((t) => t && !t.startsWith('.') && !t.includes('='));

// The game scans no button while ten of the browser's frames pass (and something is done).
async function waits(page, meanwhile = async () => {}) {
  const frames = await page.evaluate(() => Module.page.frames());
  await meanwhile();
  await page.evaluate(() => new Promise((done) => { let n = 0; const tick = () => (++n < 10 ? requestAnimationFrame(tick) : done()); requestAnimationFrame(tick); }));
  assert.equal(await page.evaluate(() => Module.page.frames()), frames);
}

// Presses one after another, each scanned in a frame of its own.
async function play(page, actions) {
  for (const action of actions) {
    await action();
    await settle(page, 2);
  }
}
const times = (n, action) => Array(n).fill(action);
// Keys typed in one go, before the next frame: { code, key } each, as a layout sends them.
const typeAtOnce = (page, keys) => page.evaluate((keys) => {
  for (const init of keys) ['keydown', 'keyup'].forEach((type) => dispatchEvent(new KeyboardEvent(type, init)));
}, keys);

test('a year with the keys alone plays as the same presses headless, and reads to its grade; the recording replays to the same end', async () => {
  const page = await open('?seed=7&language=en', { viewport: { width: 1366, height: 768 } });
  // Two screen pixels a console pixel: 800 + the advice's 23em (368) fit in 1351 (1366 less
  // the scroll bar), and 480 + 4.5em of buttons in 768; three would not (1200 + 368 wide).
  assert.equal(await checkLayout(page, 1366, 768), 2);
  assert.equal(await focused(page), 'screens');
  const clock = () => page.evaluate(() => [Module.page.frames(), performance.now()]);
  const start = await clock();
  const key = (name) => () => page.keyboard.press(name);
  const azertyA = () => typeAtOnce(page, [{ code: 'KeyQ', key: 'a' }]);
  await play(page, [...['Enter', 'Space', 'ArrowRight', 'ArrowUp', 'Numpad8', 'Numpad4', 'PageUp', 'PageDown', 'KeyR',
    'KeyL', 'ArrowDown', 'Numpad2', 'Numpad6', 'ArrowLeft', 'KeyA'].map(key), azertyA, key('NumpadEnter'),
  // Held, with the keyboard's auto-repeat: one press.
  () => page.keyboard.down('ArrowUp'), () => page.keyboard.down('ArrowUp'), () => page.keyboard.up('ArrowUp'), key('Enter')]);
  // 10 kg of food bought; no cages, then months 2 to 12 answered with 0.
  await play(page, times(79, key('Enter')));
  await settle(page);
  const end = await clock(); // never faster than the console's 59.83 frames a second
  // The food bought (15 kg) feeds the pair until month 8's close, when 1 kg is left for
  // 2: one dies; in month 9 the other. From month 10 the pair an empty farm receives dies
  // of hunger each month. 0 hamsters, 2 cages and 5.00 - 1.00 $ are worth 6.00 $.
  await hears(page, `
- status:
  - paragraph: ...........END OF GAME...........
  - paragraph: OOPS !, YOUR BREEDING METHOD IS FAILING.
  - paragraph: "YOU HAVE AFTER THESE 12 MONTHS :"
  - paragraph: 0 ADULTS
  - paragraph: 0 YOUNGS
  - paragraph: 2 CAGES
  - paragraph: 0 KG OF FOOD
  - paragraph: THE VALUE OF YOUR BREEDING IS 6.00 $
  - paragraph: "** PRESS A TO PLAY AGAIN..."`);
  assert.equal(await focused(page), 'screens');
  assert.ok(end[0] - start[0] <= ((end[1] - start[1]) / 1000) * 59.83 + 2, `${end[0] - start[0]} frames too fast`);
  const year = `A A DRIGHT DUP CPAD_UP CPAD_LEFT R L R L DDOWN CPAD_DOWN CPAD_RIGHT DLEFT A A A DUP A${' A'.repeat(79)}`;
  const headless = replay(`seed=7 language=en ${year} . .`, 'year');
  assert.deepEqual([headless.state.gameState, headless.state.month], [8, 13]);
  assert.equal(await differingPixels(page, headless.png), 0);
  const screenshot = await download(page, '#screenshot', 'base64');
  assert.deepEqual([0, 4].map((at) => Buffer.from(screenshot, 'base64').readUInt32BE(16 + at)), [400, 480]);
  assert.equal(await differingPixels(page, screenshot), 0);
  const recorded = await recording(page);
  assert.match(recorded, /\n# screenshot quorvandelle-\d{8}-\d{6}\.png\n/);
  assert.deepEqual(presses(recorded), year.split(' '));
  const again = replay(recorded, 'year-recorded');
  assert.deepEqual(again.state, headless.state);
  // The page kept the year as it was played; its table is Node's --history (money to the cent).
  const kept = await keptText(page, presses(recorded).length);
  assert.match(kept, /^seed=7\nlanguage=1\nversion=\S+\ndraws=musl\n/);
  assert.deepEqual(presses(kept), presses(recorded));
  const table = await page.$$eval('#year-table tr', (rows) => rows.slice(1).map((row) =>
    [...row.children].map((cell) => cell.textContent)));
  const csv = headless.history.trim().split('\n').slice(1).map((line) => line.split(',')
    .map((value, column) => (column === 5 || column === 9 ? Number(value).toFixed(2) : value)));
  assert.equal(csv.length, 12);
  assert.deepEqual(table, csv);

  // The year shared as a link plays to the same end (jumping to it); a link cut short says why.
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  await page.click('#share');
  await page.waitForSelector('#notice', { state: 'visible' });
  // The year and the notice below the picture or beside it, which keeps its scale.
  assert.equal(await checkLayout(page, 1366, 768), 2);
  assert.equal(await page.textContent('#notice'), 'Link copied.');
  const link = await page.evaluate(() => navigator.clipboard.readText());
  assert.ok(link.length < 4000, `a link of ${link.length} characters`);
  const other = await browser.newContext();
  await other.addInitScript(`window.presses = ${presses.toString()}`);
  const shared = listen(await other.newPage());
  await shared.goto(link.replace('seed=7', 'seed=8'));
  await shared.waitForSelector('#jump', { state: 'visible' });
  await shared.click('#jump');
  await settle(shared);
  assert.deepEqual((await farmOf(shared))[0], again.state);
  assert.equal(await differingPixels(shared, again.png), 0);
  // Then the keys take over: A at the year's end starts the next.
  await play(shared, [() => shared.keyboard.press('Enter')]);
  assert.deepEqual([(await farmOf(shared))[0].month, (await farmOf(shared))[0].gameState], [1, 1]);
  // A link that cannot be played says why, in the player's words, and leaves the kept
  // year as it is; the largest that can replays at once within the page's memory.
  const keptHere = presses(await keptText(shared, presses(recorded).length + 1));
  const code = (text) => deflateSync(text).toString('base64url');
  const cut = link.slice(link.indexOf('#r=') + 3);
  const half = cut.slice(0, (cut.length >> 1) - ((cut.length >> 1) % 4 === 1 ? 1 : 0));
  for (const [sent, why] of [[half, 'link: the link is cut short'], ['bm90IGEgbGluaw', 'link: this is not a link of this game'],
    [code(''), 'link: it holds no frame'], [code(' '.repeat(1048577)), 'link: it is larger than 1048576 bytes']]) {
    await shared.goto(`${address}?language=en&link=${sent.length}#r=${sent}`); // a page of its own each
    await shared.waitForSelector('#over', { state: 'visible' });
    assert.equal(await shared.textContent('#over-text'), `This recording cannot be played: ${why}`);
  }
  assert.deepEqual(presses(await shared.evaluate((name) => localStorage.getItem(name), KEPT)), keptHere);
  await shared.goto(`${address}?language=en#r=${code(`seed=3\nversion=${kept.match(/version=(\S+)/)[1]}\ndraws=musl\n${'A .\n'.repeat(100000)}`)}`);
  await shared.click('#second'); // in place of the year kept from the link before
  await shared.click('#jump');
  await shared.waitForFunction(() => !Module.page.playing());
  assert.equal((await farmOf(shared))[0].keysDown, 0);
  await other.close();

  // The recording's file, opened, plays to the same end; one dropped on the page that
  // cannot be played says why.
  const opened = await open('?language=en');
  await opened.setInputFiles('#open-file', { name: 'year.txt', mimeType: 'text/plain', buffer: Buffer.from(recorded) });
  await opened.waitForFunction(() => Module.page.playing());
  await opened.evaluate(() => document.getElementById('jump').click());
  await opened.waitForFunction(() => !Module.page.playing());
  assert.deepEqual((await farmOf(opened))[0], again.state);
  await opened.evaluate(() => {
    const files = new DataTransfer();
    files.items.add(new File(['seed=3\ndraws=glibc\nA\n'], 'desktop.txt'));
    dispatchEvent(new DragEvent('drop', { dataTransfer: files }));
  });
  await opened.waitForSelector('#over', { state: 'visible' });
  assert.equal(await opened.textContent('#over-text'),
    "This recording cannot be played: file: made with glibc's random draws (the desktop's), not musl's (a browser's): its litters and deaths would differ here");
  await opened.context().close();

  // Hidden, the page waits.
  const hide = (hidden) => page.evaluate((hidden) => {
    Object.defineProperty(document, 'hidden', { value: hidden, configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  await hide(true);
  await waits(page);
  await hide(false);
  await settle(page);

  // Keys on the year's table scroll it, and play nothing.
  await page.focus('#year-scroll');
  await page.keyboard.press('ArrowRight');

  // F1 pauses the game behind the help, which other keys read and scroll: they close it
  // no more than they play. F1 closes it, and is no press either.
  await page.keyboard.press('F1');
  assert.ok(await page.isVisible('#help'));
  await waits(page, async () => {
    for (const key of ['KeyA', 'Enter', 'Escape', 'PageDown', 'ArrowDown']) await page.keyboard.press(key);
  });
  assert.ok(await page.isVisible('#help'));
  await page.keyboard.press('F1');
  await settle(page);
  assert.ok(await page.isHidden('#help'));
  assert.equal(await focused(page), 'screens');
  assert.deepEqual(presses(await recording(page)), presses(recorded));

  // Escape is START: the game ends, and a new game starts at the rules, once the kept year may go.
  await page.keyboard.press('Escape');
  await page.waitForSelector('#over', { state: 'visible' });
  assert.equal(await page.textContent('#over-text'), 'You left the game.');
  await page.click('#second');
  await page.waitForFunction(() => document.getElementById('over-text').textContent.startsWith('Forget'));
  await page.click('#first');
  await settle(page);
  assert.equal(await differingPixels(page, replay('language=en .', 'rules-en').png), 0);
});

// The visible controls, the screen and what is shown around it, in CSS pixels from the
// top of the page.
const boxes = (page) => page.evaluate(() => [...document.querySelectorAll('#view, #pad button, #digits button, #bar button, #notice, #status, #advice, #year')]
  .filter((element) => element.getClientRects().length).map((element) => {
    const box = element.getBoundingClientRect();
    return { name: element.id || element.dataset.button || element.dataset.key, control: element.matches('#view, button'),
      first: element.matches('#view, #pad button, #digits button'), bar: element.matches('#bar button'),
      left: box.left + scrollX, top: box.top + scrollY, right: box.right + scrollX, bottom: box.bottom + scrollY };
  }));
const overlap = (a, b) => Math.min(a.right, b.right) > Math.max(a.left, b.left) && Math.min(a.bottom, b.bottom) > Math.max(a.top, b.top);
const apart = (a, b) => Math.hypot(Math.max(0, b.left - a.right, a.left - b.right), Math.max(0, b.top - a.bottom, a.top - b.bottom));
const PHONE = { deviceScaleFactor: 3, isMobile: true, hasTouch: true };
// The picture: screen pixels a console pixel, and the console's rows it shows.
const picture = (page) => page.evaluate(() => {
  const canvas = document.getElementById('screens').getBoundingClientRect();
  const scale = (canvas.width * devicePixelRatio) / 400;
  return { scale, tall: (canvas.height * devicePixelRatio) / scale,
    rows: (document.getElementById('view').getBoundingClientRect().height * devicePixelRatio) / scale };
});

// Every control on the page and clear of the others, the picture and the touch controls
// in the first screenful; nothing shown over the picture or a control, nor past the
// page's sides. The picture at one screen pixel a console pixel or more, whole ones
// without touch, all its rows shown. On a phone START well away from A, and standing up,
// the screen as wide as the page. Gives the picture's scale.
async function checkLayout(page, width, height, rows = 240) {
  const phone = await page.evaluate(() => Module.page.touch), at = `${width}x${height}`;
  const shown = await boxes(page), named = (name) => shown.find((box) => box.name === name);
  for (const a of shown) {
    assert.ok(a.left >= -0.5 && a.top >= -0.5 && a.right <= width + 0.5, `${at}: ${a.name} off the page`);
    if (a.first) assert.ok(a.bottom <= height + 0.5, `${at}: ${a.name} below the first screenful`);
    for (const b of shown) assert.ok(a === b || !overlap(a, b), `${at}: ${a.name} overlaps ${b.name}`);
  }
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth), `${at}: the page scrolls sideways`);
  assert.equal(shown.filter((box) => box.control).length, phone ? 1 + 8 + 12 + 6 : 1 + 7, at);
  for (const a of shown) assert.ok(!a.bar || a.top >= named('view').bottom, `${at}: ${a.name} is not below the picture`);
  if (phone) {
    const middle = (box) => (box.left + box.right) / 2 < width / 2;
    assert.ok(apart(named('START'), named('A')) >= 48 && middle(named('START')) !== middle(named('A')), `${at}: START near A`);
  }
  if (phone && width < height) assert.ok(named('view').right - named('view').left >= 0.9 * width, `${at}: the screen is narrow`);
  const shows = await picture(page);
  // (in layout units of 1/64 of a CSS pixel)
  assert.ok(shows.scale > 0.999 && (phone || Number.isInteger(shows.scale)), `${at}: ${shows.scale} screen pixels a console pixel`);
  assert.deepEqual([Math.round(shows.tall * 1000) / 1000, Math.round(shows.rows * 1000) / 1000], [480, rows], at);
  return shows.scale;
}

// What a screen reader is told of the screens: the live region's lines, as its
// accessibility tree holds them.
const hears = async (page, snapshot) => assert.equal(await page.locator('#spoken').ariaSnapshot(), snapshot.trim());
const focused = (page) => page.evaluate(() => document.activeElement.id);

// A year answered with 0 throughout, shared as a link: played to its end in a page of its own.
const ZERO_YEAR = deflateSync('.*3600 ' + 'A .\n'.repeat(85)).toString('base64url');
async function yearsEnd(options, query = '') {
  const page = await open(`?seed=7${query}#r=${ZERO_YEAR}`, options);
  await page.evaluate(() => document.getElementById('jump').click());
  await page.waitForSelector('#year', { state: 'visible' });
  await settle(page);
  return page;
}

const digits = (text) => [...text].map((digit) => ({ code: `Digit${digit}`, key: digit }));
const ENTER = { code: 'Enter', key: 'Enter' }, ERASE = { code: 'Backspace', key: 'Backspace' };

test('on a laptop, a month reads as it is heard; a typed number plays as the fewest presses; Tab reaches the page\'s buttons, whose Enter is theirs; both screens, once chosen, stay', async () => {
  const page = await open('?seed=7&language=en', { viewport: { width: 1366, height: 768 } });
  const typed = ['A', 'A', 'R*5', 'DDOWN*2', 'A', 'DUP*2', 'L*5', 'A', 'A', 'CPAD_UP', 'DRIGHT', 'DDOWN', 'A', 'DUP*3', 'A',
    'DRIGHT', 'A'];
  const headless = replay(`seed=7 language=en ${typed.join(' ')} . .`, 'typed');
  const price = headless.state.hamsterPrice.toFixed(2); // month 1's, drawn by the game
  await hears(page, `
- status:
  - paragraph: "***** QUORVANDELLE *****"
  - paragraph: THE PURPOSE OF THE GAME IS TO MANAGE BREEDING
  - paragraph: HAMSTERS 12 MONTHS BY MAKING PROFITS.
  - paragraph: YOU CAN SELL OR COUPLE ONLY THE ADULTS.
  - paragraph: YOUNG BECOME ADULTS 1 MONTH.
  - paragraph: EACH COUPLING CAN GIVE A MAXIMUM OF 18 YOUNG.
  - paragraph: "** PRESS A TO CONTINUE..."`);
  await typeAtOnce(page, digits('5')); // the rules: no number here, and the page says so
  assert.equal(await page.textContent('#notice'), 'Numbers are typed on a question.');
  const after = (keys, frames) => async () => { await typeAtOnce(page, keys); await settle(page, frames); };
  // The month's situation: each line the rules did not show (their last line stays).
  const situation = `
  - paragraph: SITUATION OF THE MONTH No 1
  - paragraph: MALES
  - paragraph: FEMALES
  - paragraph: "ADULTS : 1"
  - paragraph: "ADULTS : 1"
  - paragraph: "YOUNGS : 0"
  - paragraph: "YOUNGS : 0"
  - paragraph: "CAGES : 1"
  - paragraph: "CAGES : 1"
  - paragraph: "NB PER CAGE : 1"
  - paragraph: "NB PER CAGE : 1"
  - paragraph: "REMAINING FOOD : 5 KG"
  - paragraph: "PRICE OF HAMSTER THIS MONTH : ${price} $"
  - paragraph: "CHECKOUT : 5.00 $"
  - paragraph: "DEAD HUNGRY : 0"
  - paragraph: "DEAD SUFFOCATED : 0"`;
  await play(page, [() => page.keyboard.press('Enter')]);
  await hears(page, `- status:${situation}`);
  // The first question (the line of underscores above it says nothing), its advice beside the picture.
  await play(page, [() => page.keyboard.press('Enter')]);
  await hears(page, '- status:\n  - paragraph: MALES FOR SALE ? 0');
  assert.equal(await page.locator('#screens').ariaSnapshot(),
    '- \'application "Quorvandelle, the game\'\'s screen (F1: help; F2: the screen read again)"\'');
  assert.equal(await page.locator('#advice').ariaSnapshot(), `
- complementary "Advice":
  - paragraph: A male sells for ${price} $ this month.
  - paragraph: At most 1 adult male.`.trim());
  await play(page, [after([...digits('480'), ENTER], 10)]); // R*5 DDOWN*2 A: more males than the farm has
  await hears(page, `
- status:
  - paragraph: MALES FOR SALE ? 480
  - paragraph: IMPOSSIBLE
  - paragraph: "Refused: at most 1 adult male."`);
  // F2: the whole screen again.
  await page.keyboard.press('F2');
  await page.waitForFunction(() => document.getElementById('spoken').childElementCount > 3);
  await hears(page, `- status:${situation}
  - paragraph: "** PRESS A TO CONTINUE..."
  - paragraph: MALES FOR SALE ? 480
  - paragraph: IMPOSSIBLE`);
  await play(page, [after([ERASE, ERASE, ERASE, ENTER], 10)]); // back to 0, up before down: DUP*2 L*5 A
  await hears(page, '- status:\n  - paragraph: MALES FOR SALE ? 0\n  - paragraph: FEMALES FOR SALE ? 0');
  await play(page, [after([ENTER], 3),
    () => page.keyboard.press('Numpad8'), // the keypad stays the Circle Pad: 10
    after([ERASE, ENTER], 4), // 1 coupling: DRIGHT DDOWN A
    after([{ code: 'Digit3', key: '"' }, { code: 'Digit0', key: 'à' }, ENTER], 6), // AZERTY, no Shift: 30 kg
    after([...digits('1'), ENTER], 4)]); // a cage for 5 $ of the 2 left: refused
  await hears(page, `
- status:
  - paragraph: PURCHASE CAGES FOR MALES ? 1
  - paragraph: IMPOSSIBLE
  - paragraph: "Refused: the cash buys at most 0 cages."`);
  assert.deepEqual(presses(await recording(page)), typed);
  const s = headless.state;
  assert.deepEqual([s.gameState, s.couplingsRequested, s.foodStock, s.cash, s.maleCagesToBuy, s.showImpossible], [6, 1, 35, 2, 1, 1]);
  assert.equal(await differingPixels(page, headless.png), 0);

  // The picture has the focus, marked around it. Tab reaches the page's buttons, and Enter
  // or Space on one is the button's, not the game's. The help takes the focus, and gives it
  // back to the picture when its own button closes it. Both screens, chosen, come back with
  // the page: in 768 rows their 480 take one screen pixel each.
  assert.equal(await focused(page), 'screens');
  assert.ok(await page.evaluate(() => getComputedStyle(document.getElementById('view')).outlineStyle !== 'none'));
  for (let tab = 0; tab < 6; tab++) await page.keyboard.press('Tab');
  assert.equal(await focused(page), 'help-button');
  await page.keyboard.press('Space');
  assert.ok(await page.isVisible('#help'));
  await page.keyboard.press('Shift+Tab');
  assert.equal(await focused(page), 'help-done');
  await page.keyboard.press('Enter');
  assert.ok(await page.isHidden('#help'));
  assert.equal(await focused(page), 'screens');
  for (let tab = 0; tab < 7; tab++) await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  assert.equal(await checkLayout(page, 1366, 768, 480), 1);
  await settle(page);
  assert.deepEqual(presses(await recording(page)), typed);
  await page.reload();
  await settle(page);
  assert.equal(await page.getAttribute('#layout', 'aria-pressed'), 'true');
  assert.equal(await checkLayout(page, 1366, 768, 480), 1);
  await page.click('#layout');
  assert.equal(await checkLayout(page, 1366, 768), 2);
  // 1000 wide, two screen pixels a console pixel with the advice beside would need 800 + 368
  // of 985; below it, 800 fits, and 480 + 4.5em of buttons + 9em of advice in 1100 high.
  await page.setViewportSize({ width: 1000, height: 1100 });
  await page.waitForFunction(() => document.getElementById('stage').classList.contains('below'));
  assert.equal(await checkLayout(page, 1000, 1100), 2);
  const below = await boxes(page);
  assert.ok(below.find((box) => box.name === 'advice').top >= below.find((box) => box.name === 'view').bottom);
  // Where not even one fits, one screen pixel a console pixel all the same: the page scrolls.
  await page.setViewportSize({ width: 320, height: 200 });
  await page.waitForFunction(() => document.getElementById('screens').getBoundingClientRect().width !== 800);
  assert.deepEqual(await picture(page), { scale: 1, tall: 480, rows: 240 });
});

test('a phone standing up, in French by the browser: touch buttons, the number pad and a game controller play; the help scrolls; the year fits', async () => {
  const phone = { viewport: { width: 390, height: 844 }, ...PHONE, locale: 'fr-FR',
    init: () => { navigator.share = (data) => { window.sheet = data; return Promise.resolve(); }; } };
  const page = await open('?seed=12', phone);
  const scale = await checkLayout(page, 390, 844);
  assert.equal(await differingPixels(page, replay('language=fr .', 'rules-fr').png), 0);
  const tap = (button) => () => page.tap(`#pad [data-button=${button}]`);
  const digit = (key) => () => page.tap(`#digits [data-key="${key}"]`);
  const pad = (kind, index, value) => () => page.evaluate(([kind, index, value]) => { window.pad[kind][index] = value; }, [kind, index, value]);
  const padButton = (index) => [pad('buttons', index, { pressed: true }), pad('buttons', index, { pressed: false })];
  await play(page, [...['A', 'A', 'DUP', 'DRIGHT', 'R', 'L', 'DDOWN', 'DLEFT'].map(tap),
    pad('axes', 0, 0.9), pad('axes', 0, 0), ...padButton(14), ...padButton(0), digit('1'), digit('confirm')]);
  await settle(page);
  const played = 'A A DUP DRIGHT R L DDOWN DLEFT CPAD_RIGHT DLEFT A DRIGHT A'; // no male sold, a female
  const headless = replay(`seed=12 language=fr ${played} . .`, 'touch');
  assert.deepEqual([headless.state.gameState, headless.state.adultFemales], [4, 0]);
  assert.equal(await differingPixels(page, headless.png), 0);

  // The help names the touch buttons, not the keyboard's keys, then tells how to play. A
  // finger scrolls it and a tap leaves it open: only its own button closes it.
  await page.tap('#help-button');
  const help = await page.textContent('#help-text table');
  assert.ok(!/Échap|F1|flèches|Entrée/.test(help) && /START/.test(help) && /0 à 9/.test(help), help);
  assert.ok((await page.$$('#help-text p')).length >= 6);
  const cdp = await page.context().newCDPSession(page); // (headless, it scrolls with a wheel, not a finger)
  await cdp.send('Input.synthesizeScrollGesture', { x: 195, y: 600, yDistance: -300 });
  assert.ok(await page.evaluate(() => document.getElementById('help-text').scrollTop) > 0, 'the help does not scroll');
  await page.tap('#help-text p');
  await page.tap('#help-text h2');
  assert.ok(await page.isVisible('#help'));
  assert.equal(await page.textContent('#help-done'), 'Fermer');
  await page.tap('#help-done');
  assert.ok(await page.isHidden('#help'));
  // Share hands the link to the phone's share sheet.
  await page.tap('#share');
  const sheet = await (await page.waitForFunction(() => window.sheet)).jsonValue();
  assert.match(sheet.url, /^http:\/\/127\.0\.0\.1:\d+\/\?seed=12#r=[\w-]+$/);
  await page.tap('#pad [data-button=START]');
  await page.waitForSelector('#over', { state: 'visible' });
  const recorded = await recording(page);
  assert.match(recorded, /^seed=12\nlanguage=2\n/);
  assert.deepEqual(presses(recorded), [...played.split(' '), 'START']);
  await page.context().close();

  // At the year's end, its charts and table below: the picture keeps its scale, nothing
  // goes past the page's sides, the table scrolls within itself and keeps its months in
  // view. A year answered with 0: the pair eats the 5 kg by month 2's close; in month 3 one
  // dies of hunger, in month 4 the other, and from month 5 the pair an empty farm receives.
  const end = await yearsEnd(phone);
  assert.equal(await checkLayout(end, 390, 844), scale);
  assert.equal(await end.locator('#year-charts').ariaSnapshot(), `
- 'img "Hamsters, mois 1 à 12: 2, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0"'
- 'img "Argent ($), mois 1 à 12: 5.00, 5.00, 5.00, 5.00, 5.00, 5.00, 5.00, 5.00, 5.00, 5.00, 5.00, 5.00"'
- 'img "Nourriture (kg), mois 1 à 12: 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"'`.trim());
  // Each chart's legend, its values up the side (the largest, 0) and its months along the bottom.
  assert.deepEqual(await end.$$eval('#year-charts svg', (charts) => charts.map((chart) => [...chart.querySelectorAll('text')]
    .map((text) => text.textContent).join(' '))), ['Hamsters 2 0', 'Argent ($) 5 0', 'Nourriture (kg) 3 0']
    .map((values) => `${values} 1 2 3 4 5 6 7 8 9 10 11 12 Mois`));
  const table = await end.evaluate(() => {
    const scroll = document.getElementById('year-scroll'), month = document.querySelector('#year-table tr:last-child > :first-child');
    scroll.scrollLeft = scroll.scrollWidth;
    return { overflow: getComputedStyle(scroll).overflowX, scrolled: scroll.scrollLeft, month: month.textContent,
      at: month.getBoundingClientRect().left - scroll.getBoundingClientRect().left };
  });
  assert.deepEqual([table.overflow, table.month, table.at], ['auto', '12', 0]);
  assert.ok(table.scrolled > 0, 'the table is as narrow as the phone');
  await end.context().close();
});

test('the page keeps the game: a reload in month 3 resumes it, START is taken back; one tab keeps it at a time; a seed of its own and a new game ask first', async () => {
  const page = await open('?seed=9&language=en');
  await play(page, times(15, () => page.keyboard.press('Enter'))); // the rules, months 1 and 2 answered with 0
  await keptText(page, 15);
  const before = await farmOf(page);
  assert.deepEqual([before[0].month, before[0].gameState], [3, 1]);
  await page.reload();
  await settle(page);
  assert.equal(await page.textContent('#notice'), 'Game resumed, month 3.');
  await checkLayout(page, 1280, 720); // the notice beside the picture, until it leaves by itself
  await page.waitForSelector('#notice', { state: 'hidden' });
  assert.deepEqual(await farmOf(page), before);
  // START, then back to the game, which has the focus again: the stray START is not kept.
  await page.keyboard.press('Escape');
  await page.waitForSelector('#over', { state: 'visible' });
  assert.equal(await page.textContent('#over-text'), 'You left the game.');
  assert.deepEqual([await page.textContent('#first'), await page.textContent('#second'), await page.isVisible('#second'),
    await focused(page)], ['Back to the game', 'New game', true, 'first']);
  await page.click('#first');
  await settle(page);
  assert.equal(await focused(page), 'screens');
  assert.deepEqual(await farmOf(page), before);
  assert.ok(await page.isHidden('#year'));
  await play(page, [() => page.keyboard.press('Enter')]);
  assert.deepEqual(presses(await keptText(page, 16)), times(16, 'A'));
  // A second tab: the year is open in the first; played apart, it is left as it is.
  const second = listen(await page.context().newPage());
  await second.goto(`${address}?language=en`);
  await second.waitForSelector('#over', { state: 'visible' });
  assert.match(await second.textContent('#over-text'), /^This year is open in another window or tab\./);
  await second.click('#second');
  await play(second, [() => second.keyboard.press('Enter')]);
  assert.equal(await second.textContent('#status'), 'The kept year cannot be kept here (it is open in another tab); this game is not kept.');
  assert.deepEqual(presses(await keptText(page, 16)), times(16, 'A'));
  await second.close();
  // A tab that takes the year over, with a seed of its own: asked first, it goes back to the
  // kept year, and the first tab says it keeps the year no longer.
  const third = listen(await page.context().newPage());
  await third.goto(`${address}?seed=4&language=en`);
  await third.waitForSelector('#over', { state: 'visible' });
  await third.click('#first');
  await third.waitForFunction(() => document.getElementById('over-text').textContent.startsWith('A year is kept here.'));
  await third.click('#first');
  await settle(third);
  assert.deepEqual((await farmOf(third))[0], (await farmOf(page))[0]);
  await page.waitForFunction(() => document.getElementById('status').textContent.includes('taken over in another tab'));
  // New game forgets the kept one, once the player says so: the new year is kept in its place.
  await third.click('#new-game');
  await third.waitForFunction(() => document.getElementById('over-text').textContent.startsWith('Forget'));
  assert.equal(await third.textContent('#over-text'), 'Forget the year kept at month 3 and start another?');
  await third.click('#first');
  await settle(third);
  assert.ok(!(await third.evaluate((name) => localStorage.getItem(name), KEPT)).startsWith('seed=9\n'));
  await page.context().close();
});

test('without storage the game plays on and the page says so; on a phone on its side, a kept game that does not read back is refused and kept, and the year\'s end keeps the picture\'s scale', async () => {
  const blocked = await open('?seed=3&language=en', { init: () => Object.defineProperty(window, 'localStorage',
    { get() { throw new DOMException('blocked', 'SecurityError'); } }) });
  await play(blocked, [() => blocked.keyboard.press('Enter'), () => blocked.keyboard.press('Enter')]);
  assert.equal((await farmOf(blocked))[0].gameState, 2);
  assert.equal(await blocked.textContent('#status'), 'This year is not kept: this browser keeps nothing for this page');
  await checkLayout(blocked, 1280, 720); // the state beside the picture
  await blocked.context().close();

  const side = { viewport: { width: 844, height: 390 }, ...PHONE };
  const page = await open('?language=en', side);
  const scale = await checkLayout(page, 844, 390);
  // (each reason is the player's: its own tests hold them; here, a NUL the storage keeps)
  const kept = 'seed=3\nversion=1.0.0\ndraws=musl\nA\u0000B\n', why = 'kept game:4:2: not text (a control character or a byte that is not UTF-8)';
  await page.evaluate(([name, kept]) => localStorage.setItem(name, kept), [KEPT, kept]);
  await page.reload();
  await settle(page);
  assert.equal(await page.textContent('#status'), `The kept game cannot be resumed (${why}); it is left as it is, and this game is not kept.`);
  await checkLayout(page, 844, 390);
  await play(page, [() => page.keyboard.press('Enter')]);
  assert.equal(await page.evaluate((name) => localStorage.getItem(name), KEPT), kept);
  await page.context().close();
  const end = await yearsEnd(side, '&language=en');
  assert.equal(await checkLayout(end, 844, 390), scale);
  await end.context().close();
});

test('the page alone plays from disk, fetching nothing else; the site plays offline, shows a changed page within two reloads, and is installable', async () => {
  // From disk, in the language the address asks for.
  const disk = listen(await (await browser.newContext()).newPage()), fetched = [];
  disk.on('request', (request) => fetched.push(request.url()));
  const file = `${pathToFileURL(resolve(pagePath)).href}?language=fr`;
  await disk.goto(file);
  await settle(disk);
  assert.equal(await differingPixels(disk, replay('language=fr .', 'rules-fr').png), 0);
  assert.deepEqual(fetched.filter((url) => !url.startsWith('data:')), [file]);
  await disk.context().close();

  const context = await browser.newContext();
  const page = listen(await context.newPage());
  await page.goto(`${address}site/?language=en`);
  await page.waitForFunction(() => navigator.serviceWorker.getRegistration().then((kept) => Boolean(kept && kept.active)));
  // Installable: its manifest read, and an icon large enough fetched and drawn from it.
  const cdp = await context.newCDPSession(page);
  const installability = (await cdp.send('Page.getInstallabilityErrors')).installabilityErrors;
  assert.deepEqual(installability.map((error) => error.errorId).filter((id) => id !== 'in-incognito'), []);

  await context.setOffline(true);
  await page.reload();
  await settle(page);
  await play(page, [() => page.keyboard.press('Enter')]);
  assert.equal((await farmOf(page))[0].gameState, 1);
  await context.setOffline(false);

  const html = readFileSync(join(site, 'index.html'), 'utf8');
  changed['index.html'] = html.replace('<title>Quorvandelle</title>', '<title>Quorvandelle, again</title>');
  changed['sw.js'] = readFileSync(join(site, 'sw.js'), 'utf8').replace(/quorvandelle-\w+/, 'quorvandelle-changed');
  for (let reload = 0; reload < 2 && await page.title() === 'Quorvandelle'; reload++) await page.reload();
  assert.equal(await page.title(), 'Quorvandelle, again');
  await context.close();
});
