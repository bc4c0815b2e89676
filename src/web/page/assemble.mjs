// Puts the browser's page together into one HTML file: the page, its style, the module's
// JavaScript and this page's script in one inline script, and the WebAssembly module as base64
// text. The Content-Security-Policy allows exactly that script and that style (by their
// SHA-256) and the compilation of WebAssembly, and nothing else: no request of any kind.
//
// The German manual goes in as well: its pages (the type pages included) as one JSON text, shown
// by the page inside itself; its pictures stay out (the program draws them of the window).
//
//   node assemble.mjs PAGE.html STYLE.css APP.js MODULE.mjs MODULE.wasm MANUAL-FOLDER OUT.html

import { createHash } from 'node:crypto';
import { readdirSync, readFileSync, renameSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [page, style, app, moduleJs, wasm, manualDir, out] = process.argv.slice(2);
const read = (f) => readFileSync(f, 'utf8');
const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

// The module is built as an ES module; inside the page's one module script its export has no
// one to import it.
const module = read(moduleJs).replace(/export default createHexZwirbel;\s*$/, '');
const script = `\n${module}\n${read(app)}\n`;
const css = `\n${read(style)}\n`;
for (const [what, text] of [['script', script], ['style', css]])
  if (/<\/(script|style)/i.test(text)) throw new Error(`the ${what} holds a closing tag`);

const policy = [
  "default-src 'none'",
  `script-src ${hash(script)} 'wasm-unsafe-eval'`,
  `style-src ${hash(css)}`,
  "img-src 'none'",
  "base-uri 'none'",
  "form-action 'none'",
].join('; ');
const base64 = readFileSync(wasm).toString('base64').replace(/.{1,76}/g, '$&\n');

// Every .html below the manual's folder, by its path there ("laden.html", "typen/0x308.html").
const manual = {};
(function collect(dir, prefix) {
  for (const name of readdirSync(dir).sort()) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) collect(path, `${prefix}${name}/`);
    else if (name.endsWith('.html')) manual[prefix + name] = read(path);
  }
})(manualDir, '');
// As JSON inside a <script> element: "</" written as "<\/", so that no page ends the element.
const manualJson = JSON.stringify(manual).replace(/<\//g, '<\\/');

const parts = { CSP: policy, STYLE: css, SCRIPT: script, WASM: `\n${base64}`, MANUAL: manualJson };
const html = read(page).replace(/@(CSP|STYLE|SCRIPT|WASM|MANUAL)@/g, (_, key) => parts[key]);
writeFileSync(`${out}.part`, html);
renameSync(`${out}.part`, out);
