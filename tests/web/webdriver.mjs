// A small WebDriver client for the browser tests: starts chromedriver, opens headless Chromium
// and speaks the W3C protocol over HTTP with Node's own fetch - no package needed. Tried on
// Debian's chromium and chromium-driver: a file input takes a path, downloads land in
// `downloads`, and `stroke` draws in an element's own pixels.
import { spawn } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';

const ELEMENT = 'element-6066-11e4-a52e-4f735466cecf';

export class Browser {
  static async start({ chromium = process.env.HZ_CHROMIUM || '/usr/bin/chromium',
                      chromedriver = process.env.HZ_CHROMEDRIVER || '/usr/bin/chromedriver' } = {}) {
    const port = 9515 + Math.floor(Math.random() * 2000);
    const driver = spawn(chromedriver, [`--port=${port}`], { stdio: 'ignore' });
    const base = `http://127.0.0.1:${port}`;
    for (let i = 0; ; i++) {
      try { if ((await fetch(`${base}/status`)).ok) break; } catch { /* not up yet */ }
      if (i > 100) throw new Error('chromedriver did not start');
      await sleep(100);
    }
    const downloads = mkdtempSync(join(tmpdir(), 'hz-downloads-'));
    const b = new Browser(base, driver, downloads);
    const caps = {
      capabilities: {
        alwaysMatch: {
          browserName: 'chrome',
          'goog:loggingPrefs': { browser: 'ALL', performance: 'ALL' },
          'goog:chromeOptions': {
            binary: chromium,
            args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--window-size=1200,900',
                   '--allow-file-access-from-files'],
            prefs: { 'download.default_directory': downloads, 'download.prompt_for_download': false },
          },
        },
      },
    };
    const r = await b.#call('POST', '/session', caps);
    b.id = r.sessionId;
    await b.cdp('Page.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    return b;
  }

  constructor(base, driver, downloads) { this.base = base; this.driver = driver; this.downloads = downloads; }

  async #call(method, path, body) {
    const res = await fetch(this.base + path, {
      method, headers: { 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const json = await res.json();
    if (!res.ok || (json.value && json.value.error)) throw new Error(`${method} ${path}: ${JSON.stringify(json.value)}`);
    return json.value;
  }
  s(path) { return `/session/${this.id}${path}`; }

  cdp(cmd, params) { return this.#call('POST', this.s('/goog/cdp/execute'), { cmd, params }); }
  open(url) { return this.#call('POST', this.s('/url'), { url }); }
  run(script, ...args) { return this.#call('POST', this.s('/execute/sync'), { script, args }); }
  runAsync(script, ...args) { return this.#call('POST', this.s('/execute/async'), { script, args }); }
  async find(css) { const v = (await this.#call('POST', this.s('/element'), { using: "css selector", value: css })); return v[ELEMENT]; }
  async findAll(css) { return (await this.#call('POST', this.s('/elements'), { using: 'css selector', value: css })).map(e => e[ELEMENT]); }
  click(el) { return this.#call('POST', this.s(`/element/${el}/click`), {}); }
  type(el, text) { return this.#call('POST', this.s(`/element/${el}/value`), { text }); }
  clear(el) { return this.#call('POST', this.s(`/element/${el}/clear`), {}); }
  text(el) { return this.#call('GET', this.s(`/element/${el}/text`)); }
  prop(el, name) { return this.#call('GET', this.s(`/element/${el}/property/${name}`)); }
  rect(el) { return this.#call('GET', this.s(`/element/${el}/rect`)); }
  keys(text) {
    const actions = [...text].flatMap(c => [{ type: 'keyDown', value: c }, { type: 'keyUp', value: c }]);
    return this.#call('POST', this.s('/actions'), { actions: [{ type: 'key', id: 'kb', actions }] });
  }
  // Keys held together, pressed in order and let go in reverse: chord('\uE009', 'z') is Ctrl+Z.
  chord(...keys) {
    const actions = [...keys.map((k) => ({ type: 'keyDown', value: k })),
                     ...keys.reverse().map((k) => ({ type: 'keyUp', value: k }))];
    return this.#call('POST', this.s('/actions'), { actions: [{ type: 'key', id: 'kb', actions }] });
  }
  // A mouse stroke through points given in the element's own pixels (from its top-left corner).
  async stroke(el, points) {
    const r = await this.rect(el);
    const at = ([x, y]) => ({ type: 'pointerMove', duration: 0, origin: { [ELEMENT]: el },
                              x: Math.round(x - r.width / 2), y: Math.round(y - r.height / 2) });
    const actions = [at(points[0]), { type: 'pointerDown', button: 0 },
                     ...points.slice(1).map(at), { type: 'pointerUp', button: 0 }];
    await this.#call('POST', this.s('/actions'),
                     { actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }] });
    await this.#call('DELETE', this.s('/actions'));
  }
  log(type = 'browser') { return this.#call('POST', this.s('/se/log'), { type }); }
  async quit() {
    try { await this.#call('DELETE', this.s('')); } finally { this.driver.kill(); }
  }
}
