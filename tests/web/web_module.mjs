// The browser's module under Node.js: open a firmware file from its bytes (a servo decoder with
// its ID and configuration records taken out), answer its load's questions one call at a time,
// draw on the curve page, save with "Geänderte Werte übernehmen?" answered on a second call,
// and want the bytes `hexzwirbel-cli set --do` writes; then open another file over unsaved
// changes, as the window asks.
//
//   node web_module.mjs MODULE.mjs FIRMWARE.hex HEXZWIRBEL-CLI WORK-FOLDER

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [modulePath, firmware, cli, work] = process.argv.slice(2);
// The module is built for the browser, which fetches its .wasm; here it is handed over.
const { default: createHexZwirbel } = await import(pathToFileURL(modulePath).href);
const m = await createHexZwirbel({ wasmBinary: readFileSync(modulePath.replace(/\.mjs$/, '.wasm')) });

const call = (name, ...args) =>
  JSON.parse(m.ccall(name, 'string', args.map((a) => (typeof a === 'number' ? 'number' : 'string')), args));

function open(name, bytes, answers) {
  const at = m._malloc(bytes.length || 1);
  m.HEAPU8.set(bytes, at);
  try {
    return call('hz_open', name, at, bytes.length, answers);
  } finally {
    m._free(at);
  }
}

assert.match(m.UTF8ToString(m._hz_version()), /^\d+\.\d+\.\d+/);
assert.equal(call('hz_state').info, null, 'no file before the first load');
assert.equal(call('hz_action', 'servo_btn_uebernehmen', '').done, false, 'no file: refused');

// The fixture without its ID (0x4000) and configuration (0x400E) records.
const lines = readFileSync(firmware, 'latin1').split(/\r?\n/);
const stripped = lines.filter((l) => !/^:..400[0E]00/.test(l));
assert.equal(stripped.length, lines.length - 2, 'the fixture has one ID and one configuration record');
const bytes = Buffer.from(stripped.join('\r\n'), 'latin1');
rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
const input = join(work, 'kornel4.hex');
writeFileSync(input, bytes);
const name = 'kornel4.hex';

// Without them the load tells twice that the PIC's ID and CONFIG are not where they belong
// (OK only: the user clicks through each, once, in order) and asks twice; one call each.
const expected = [
  ['error', /die ID liegt aber nicht bei 0x2000/, ['ok'], 'ok'],
  ['error', /CONFIG liegt aber nicht bei 0x2007/, ['ok'], 'ok'],
  ['warning', /^In dem HEX-File wurde kein Wert für die ID gefunden\.$/, ['cancel', 'ignore'], 'ignore'],
  ['warning', /^In dem HEX-File wurde kein Config-Wert gefunden\. Standard-Wert erzeugen\?$/, ['yes', 'ignore'], 'ignore'],
];
const given = [];
let r;
for (const [kind, text, buttons, answer] of expected) {
  r = open(name, bytes, given.join(','));
  assert.equal(r.done, false);
  assert.equal(r.question.kind, kind);
  assert.match(r.question.text, text);
  assert.deepEqual(r.question.buttons, buttons);
  // The messages answered come back answered, none of them asked again.
  assert.deepEqual(r.messages.map((q) => q.answer), given);
  assert.equal(call('hz_state').info, null, 'a load waiting for an answer opens nothing');
  given.push(answer);
}
r = open(name, bytes, given.join(','));
assert.equal(r.done, true);
assert.equal(r.loaded, true);
assert.equal(r.messages.length, expected.length);

let state = call('hz_state');
assert.equal(state.info.loaded, true);
assert.equal(state.info.file, name);
assert.equal(state.info.messages.length, expected.length);
assert.equal(state.unsaved, false);

// Yes is not offered for the missing ID: the question stays, and the file open stays as it was.
r = open(name, bytes, 'ok,ok,yes');
assert.equal(r.done, false);
assert.equal(r.question.text, 'In dem HEX-File wurde kein Wert für die ID gefunden.');
assert.deepEqual(call('hz_state'), state);
assert.equal(call('hz_save', 'maybe').error, 'Unbekannte Antwort in "maybe".');

// A stroke on the curve: a working copy not yet taken over.
const draw = 'servo_Image1=draw:26,100;78,150;104,50';
r = call('hz_action', draw, '');
assert.deepEqual([r.done, r.accepted], [true, true]);
r = call('hz_action', 'no_such_control=1', '');
assert.equal(r.accepted, false);
assert.ok(r.reason.length > 0);
state = call('hz_state');
assert.equal(state.unsaved, true);
assert.equal(state.can_undo, true);

// The save asks; while it waits nothing is saved and nothing changes.
r = call('hz_save', '');
assert.equal(r.done, false);
assert.equal(r.question.text, 'Geänderte Werte übernehmen?');
assert.equal(r.question.escape, 'no');
assert.deepEqual(call('hz_state'), state);
r = call('hz_save', 'yes');
assert.deepEqual([r.done, r.saved, r.name], [true, true, name], 'saved under the name the window proposes');
const saved = Buffer.from(m.HEAPU8.subarray(m._hz_saved_data(), m._hz_saved_data() + m._hz_saved_size()));
assert.equal(call('hz_state').unsaved, false);

// The tool, given the same file and action, answers the same questions the same way.
const out = join(work, 'out.hex');
execFileSync(cli, ['set', input, '-o', out, '--do', draw], { stdio: ['ignore', 'ignore', 'pipe'] });
assert.ok(saved.equals(readFileSync(out)), 'the module saves what hexzwirbel-cli set --do writes');

// Undo takes back the acceptance, then the stroke; redo brings the stroke back.
assert.equal(call('hz_undo', '').changed, true);
assert.equal(call('hz_state').unsaved, true);
assert.equal(call('hz_undo', '').changed, true);
assert.equal(call('hz_undo', '').changed, false);
assert.equal(call('hz_redo', '').changed, true);
assert.equal(call('hz_state').can_redo, true);

// Another file while changes are unsaved: the window's question comes first; No keeps it all.
state = call('hz_state');
const other = readFileSync(firmware); // whole, with its ID and configuration records
r = open('zweite.hex', other, '');
assert.equal(r.question.text, 'Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?');
r = open('zweite.hex', other, 'no');
assert.deepEqual([r.done, r.opened, r.loaded], [true, false, false]);
assert.deepEqual(call('hz_state'), state);
r = open('zweite.hex', other, 'yes');
assert.deepEqual([r.done, r.opened, r.loaded], [true, true, true]);
assert.equal(call('hz_state').info.file, 'zweite.hex');
assert.equal(open('../x.hex', other, '').error.length > 0, true, 'a name with a folder is refused');
console.log('web module: ok');
