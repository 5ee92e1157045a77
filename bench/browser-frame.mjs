// The cost of a frame in the browser's WebAssembly against the native frame, measured
// in the same run: bench/frame_cost built both ways, the WebAssembly in Debian's chromium.
//   node bench/browser-frame.mjs NATIVE_FRAME_COST WEB_FRAME_COST.js
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const { chromium } = createRequire(new URL('../tests/web/package.json', import.meta.url))('playwright-core');
const [nativeProgram, webProgram] = process.argv.slice(2);
const figures = (text) => Object.fromEntries(text.trim().split('\n').map((line) => line.split(' ')).map(([k, v]) => [k, +v]));

const native = figures(execFileSync(nativeProgram, { encoding: 'utf8' }));
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'] });
const page = await browser.newPage();
let printed = '';
const done = new Promise((resolve) => page.on('console', (message) => {
  printed += `${message.text()}\n`;
  if (message.text().startsWith('resume_week_ms')) resolve();
}));
await page.setContent(`<script>${readFileSync(webProgram, 'utf8')}</script>`);
await done;
await browser.close();
const web = figures(printed);

console.log('                           native     browser  browser / native');
for (const [name, key] of [['heaviest frame (us)', 'heaviest_frame_us'], ['frame of the loop (us)', 'loop_frame_us'],
  ['resume a week idle (ms)', 'resume_week_ms']]) {
  console.log(`${name.padEnd(24)} ${native[key].toFixed(2).padStart(9)}  ${web[key].toFixed(2).padStart(10)}  ${(web[key] / native[key]).toFixed(2).padStart(16)}`);
}
