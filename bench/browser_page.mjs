// Times the browser's page in headless Chromium (tests/web/webdriver.mjs): how long after it
// starts loading the page is ready to open a file (the module compiled and the empty window
// drawn), and how long after a full-size 16F18324 file was picked it is shown (loaded, drawn,
// the next frame painted); ROUNDS rounds each, medians and the spread, and the HTML file's
// size. Nothing is asserted; the numbers are for reading beside the native window's start-up
// (bench/compare_processes.sh). Goals: ready <= 300 ms, shown <= 50 ms, file <= 3 MB.
//
//   node bench/browser_page.mjs PAGE.html [ROUNDS]     (bench/browser_page.sh runs it)

import { execFileSync } from 'node:child_process';
import { mkdtempSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { Browser } from '../tests/web/webdriver.mjs';

const [page, roundsText] = process.argv.slice(2);
const rounds = Number(roundsText || 10);
const here = dirname(fileURLToPath(import.meta.url));
const work = mkdtempSync(join(tmpdir(), 'hz-browser-bench-'));
const full = join(work, 'full.hex');
writeFileSync(full, execFileSync(join(here, 'full_18324_hex.sh')));

const b = await Browser.start();
const ready = [], shown = [];
try {
  for (let k = 0; k < rounds; k++) {
    await b.open(pathToFileURL(page).href);
    for (let i = 0; !(await b.run('return document.body.dataset.ready === "true"')); i++) {
      if (i > 200) throw new Error('the page did not get ready');
      await sleep(20);
    }
    ready.push(await b.run('return performance.getEntriesByName("hz-ready")[0].startTime'));
    await b.type(await b.find('#filepicker'), full);
    for (let i = 0; !(await b.run('return performance.getEntriesByName("hz-shown").length')); i++) {
      if (i > 200) throw new Error('the file was not shown');
      await sleep(20);
    }
    shown.push(await b.run('return performance.getEntriesByName("hz-shown")[0].duration'));
  }
} finally {
  await b.quit();
}
const median = (xs) => { const s = [...xs].sort((x, y) => x - y); return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2; };
const line = (what, xs, goal) => console.log(`${what.padEnd(34)} median ${median(xs).toFixed(1).padStart(7)} ms   (${Math.min(...xs).toFixed(1)} .. ${Math.max(...xs).toFixed(1)}; goal <= ${goal} ms)`);
console.log(`${rounds} rounds, headless Chromium`);
line('ready to open a file', ready, 300);
line('full 16F18324 file shown', shown, 50);
console.log(`${'HTML file'.padEnd(34)} ${(statSync(page).size / 1e6).toFixed(2)} MB (goal <= 3 MB)`);
