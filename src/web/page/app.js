// HEX Zwirbel in the browser: a thin face over the core built for WebAssembly. Every rule,
// text, limit and byte comes from the core (src/web/WebModule.cpp); this script only draws
// what the core's state says and hands the user's events back to it, as the Qt window does.
// Nothing here leaves the machine: files come in through the file picker or drag and drop and
// go out as downloads.

'use strict';

// ---------------------------------------------------------------------------------------------
// The module

// The WebAssembly module is part of this file, as base64 text; decoded here rather than
// fetched, so that the page makes no request at all, also from file://.
function decodeBase64(text) {
  // atob skips the line breaks (forgiving base64) and is the browser's own, fast decoder.
  const bytes = atob(text);
  const out = new Uint8Array(bytes.length);
  for (let i = 0; i < bytes.length; i++) out[i] = bytes.charCodeAt(i);
  return out;
}

let mod = null;

function call(name, ...args) {
  const types = args.map((a) => (typeof a === 'number' ? 'number' : 'string'));
  return JSON.parse(mod.ccall(name, 'string', types, args));
}

// Bytes into the module's memory for one call.
function withBytes(bytes, use) {
  const at = mod._malloc(bytes.length || 1);
  mod.HEAPU8.set(bytes, at);
  try {
    return use(at, bytes.length);
  } finally {
    mod._free(at);
  }
}

// ---------------------------------------------------------------------------------------------
// Messages and questions: the core's, shown as modal dialogs with the window's buttons

const kButtonCaptions = { ok: 'OK', cancel: 'Abbrechen', yes: 'Ja', no: 'Nein', ignore: 'Ignorieren' };

function showMessage(question) {
  const dialog = document.getElementById('message');
  const text = document.getElementById('message-text');
  const buttons = document.getElementById('message-buttons');
  dialog.dataset.kind = question.kind;
  text.textContent = question.text.replace(/\r\n/g, '\n');
  buttons.replaceChildren();
  for (const answer of question.buttons) {
    const b = document.createElement('button');
    b.type = 'submit';
    b.value = answer;
    b.dataset.answer = answer;
    b.textContent = kButtonCaptions[answer] || answer;
    buttons.append(b);
  }
  return new Promise((resolve) => {
    dialog.returnValue = '';
    const closed = () => {
      dialog.removeEventListener('close', closed);
      // Escape, or the dialog closed another way: the answer that changes nothing.
      resolve(question.buttons.includes(dialog.returnValue) ? dialog.returnValue : question.escape || question.buttons[0]);
    };
    dialog.addEventListener('close', closed);
    dialog.showModal();
    buttons.firstChild?.focus();
  });
}

// Runs one call of the core until it is done: each question is shown and the call made again
// with the answers so far. A call the core refuses shows its reason.
async function untilDone(run) {
  const answers = [];
  for (;;) {
    const r = run(answers.join(','));
    if (r.error) {
      await showMessage({ kind: 'error', text: r.error, buttons: ['ok'], escape: 'ok' });
      return r;
    }
    if (r.done) return r;
    answers.push(await showMessage(r.question));
  }
}

// The user's events run one after the other, as in the window: a dialog holds the next back.
let queue = Promise.resolve();
function later(task) {
  queue = queue.then(task).catch((e) => console.error(e));
  return queue;
}

// ---------------------------------------------------------------------------------------------
// Drawing the window from the core's state

const client = document.getElementById('client');
const places = new Map(); // the window's own controls by name
const controls = new Map(); // the pages' controls by name: { c, outer, input }
let state = null;
let shownFrames = '';

function placeAt(el, g) {
  el.style.left = `${g[0]}px`;
  el.style.top = `${g[1]}px`;
  el.style.width = `${g[2]}px`;
  el.style.height = `${g[3]}px`;
}

function windowPlace(name, parent, geometry) {
  let el = places.get(name);
  if (!el) {
    if (name.startsWith('btn_')) {
      el = document.createElement('button');
      el.type = 'button';
    } else {
      el = document.createElement('div');
    }
    el.id = name;
    el.className = 'place';
    places.set(name, el);
  }
  const home = parent ? places.get(parent) : client;
  if (el.parentNode !== home) home.append(el);
  placeAt(el, geometry);
  return el;
}

const kWindowButtons = {
  btn_prev: ['<', 'Vorherige HEX-Datei im Ordner laden', 'prev'],
  btn_load: ['HEX laden', 'Hex-File laden.\nAnschliessend können Parameter wie z.B. die Adressen geändert werden.', 'open'],
  btn_next: ['>', 'Nächste HEX-Datei im Ordner laden', 'next'],
  btn_save: ['speichern', "Hex-File speichern\nDas neue HEX-File kann dann in den PIC 'gebrannt' werden", 'save'],
  btn_info: ['HEX Info', 'Anzeige der HEX-Daten', 'info'],
};

function drawWindow(w) {
  client.style.width = `${w.size[0]}px`;
  client.style.height = `${w.size[1]}px`;
  for (const p of w.places) {
    if (p.name === 'btn_close' || p.name === 'ProgressBar1') continue; // a tab closes in the browser; loads take no time
    const el = windowPlace(p.name, p.parent, p.geometry);
    const button = kWindowButtons[p.name];
    if (button && !el.dataset.action) {
      el.textContent = button[0];
      el.title = button[1];
      el.dataset.action = button[2];
    }
  }
  const main = places.get('GroupBoxMain');
  main.classList.add('group');
  places.get('GroupBoxButtons').classList.add('group');
  const image = places.get('GroupBoxImage');
  image.classList.add('group');
  const picture = places.get('Image2');
  if (!picture.textContent) {
    picture.textContent = 'HEX Zwirbel';
    picture.classList.add('picture');
  }
  const goweb = places.get('btn_goweb');
  if (!goweb.dataset.manual) {
    goweb.dataset.manual = 'true';
    goweb.addEventListener('click', () => {
      // The page of the loaded type, as the window opens it, from the manual inside this file.
      const page = ((state && state.window.doc) || '').match(/(typen\/[^/]+\.html)$/);
      showManual(page ? page[1] : 'index.html');
    });
  }
  // The manual's pages are not part of this file: the button names the type's page.
  goweb.title = w.doc_hint.replace(/\r\n/g, '\n');
  goweb.textContent = w.doc_caption;
  goweb.hidden = !w.doc_caption;

  let header = document.getElementById('lbl_header');
  if (!header) {
    header = document.createElement('div');
    header.id = 'lbl_header';
    main.append(header);
  }
  if (header.textContent !== w.header) {
    header.textContent = w.header;
    fitHeader(header, main);
  }
  header.hidden = !w.header_shown;
  const panels = document.querySelectorAll('#statusbar span');
  w.status.forEach((t, i) => { panels[i].textContent = t; });
  panels[4].textContent = w.type;
  panels[4].title = w.type;
  panels[4].hidden = !w.type;
}

// The header at the largest size that fits the address group, as the window fits it.
function fitHeader(header, box) {
  for (const points of [15, 13, 11, 10, 9]) {
    header.style.fontSize = `${points}pt`;
    if (header.scrollWidth <= box.clientWidth) break;
  }
}

function labelFor(c, list) {
  // An edit is named by the label left of it on its line, else by its hint.
  if (!c.geometry) return c.hint || c.name;
  const [x, y, , h] = c.geometry;
  let best = null;
  for (const o of list) {
    if (o.kind !== 'label' || !o.geometry || !o.caption || o.parent !== c.parent) continue;
    const [lx, ly, lw, lh] = o.geometry;
    if (lx + lw <= x + 2 && ly < y + h && ly + lh > y && (!best || lx > best.geometry[0])) best = o;
  }
  return best ? best.caption : (c.hint || c.name).split('\n')[0];
}

function makeControl(c, list) {
  let outer;
  let input;
  switch (c.kind) {
    case 'label':
      outer = document.createElement('div');
      outer.className = 'label';
      break;
    case 'edit':
      outer = input = document.createElement('input');
      input.type = 'text';
      input.setAttribute('aria-label', labelFor(c, list));
      input.addEventListener('input', () => later(() => userEvent(c.name, 'text', input.value)));
      input.addEventListener('change', () => later(() => userEvent(c.name, 'leave')));
      input.addEventListener('keydown', (e) => { if (e.key === 'Enter') later(() => userEvent(c.name, 'leave')); });
      break;
    case 'check':
    case 'radio': {
      outer = document.createElement('label');
      outer.className = c.kind;
      input = document.createElement('input');
      input.type = c.kind === 'check' ? 'checkbox' : 'radio';
      const caption = document.createElement('span');
      outer.append(input, caption);
      if (c.kind === 'check')
        input.addEventListener('change', () => later(() => userEvent(c.name, 'check', input.checked ? '1' : '0')));
      else
        input.addEventListener('click', () => later(() => userEvent(c.name, 'click')));
      break;
    }
    case 'trackbar':
      if (c.geometry && c.geometry[2] < c.geometry[3]) {
        // Narrower than high: the spinner beside an edit; only its arrows show.
        outer = document.createElement('div');
        outer.className = 'spinner';
        const up = document.createElement('button');
        const down = document.createElement('button');
        up.type = down.type = 'button';
        up.textContent = '▲';
        down.textContent = '▼';
        up.tabIndex = down.tabIndex = -1;
        up.setAttribute('aria-label', 'höher');
        down.setAttribute('aria-label', 'niedriger');
        up.addEventListener('click', () => later(() => step(c.name, +1)));
        down.addEventListener('click', () => later(() => step(c.name, -1)));
        outer.append(up, down);
        input = outer;
      } else {
        outer = input = document.createElement('input');
        input.type = 'range';
        input.setAttribute('aria-label', c.hint ? c.hint.split('\n')[0] : c.name);
        input.addEventListener('input', () => later(() => userEvent(c.name, 'position', String(input.value))));
      }
      break;
    case 'list':
      outer = input = document.createElement('select');
      input.setAttribute('aria-label', labelFor(c, list));
      input.addEventListener('change', () => later(() => userEvent(c.name, 'select', String(input.selectedIndex))));
      break;
    case 'button':
      outer = input = document.createElement('button');
      input.type = 'button';
      input.addEventListener('click', () => later(() => (c.file_dialog ? pageFile(c.name) : userEvent(c.name, 'click'))));
      break;
    case 'group':
      outer = document.createElement(c.caption ? 'fieldset' : 'div');
      outer.className = c.caption ? 'group' : 'panel';
      if (c.caption) outer.append(document.createElement('legend'));
      if (c.geometry && Math.min(c.geometry[2], c.geometry[3]) <= 3) outer.classList.add('separator');
      break;
    case 'image':
      outer = input = document.createElement('canvas');
      input.setAttribute('role', 'img');
      input.setAttribute('aria-label', c.hint || c.name);
      input.addEventListener('pointerdown', (e) => {
        if (e.button !== 0) return;
        input.setPointerCapture(e.pointerId);
        mouse(c.name, 'press', e);
      });
      input.addEventListener('pointermove', (e) => mouse(c.name, 'move', e));
      input.addEventListener('pointerup', (e) => { if (e.button === 0) mouse(c.name, 'release', e); });
      break;
    default:
      outer = document.createElement('div');
  }
  outer.classList.add('control');
  outer.dataset.control = c.name;
  return { c: null, outer, input };
}

function updateControl(entry, c) {
  const { outer, input } = entry;
  const old = entry.c || {};
  entry.c = c;
  if (c.geometry && String(c.geometry) !== String(old.geometry)) placeAt(outer, c.geometry);
  outer.hidden = !c.visible;
  if (c.hint !== old.hint) outer.title = (c.hint || '').replace(/\r\n/g, '\n');
  if (input && 'disabled' in input) input.disabled = !c.enabled;
  outer.classList.toggle('disabled', !c.enabled);
  switch (c.kind) {
    case 'label':
      if (outer.textContent !== c.caption) outer.textContent = c.caption;
      break;
    case 'edit':
      if (input.value !== c.text) input.value = c.text;
      input.readOnly = !!c.readonly;
      input.style.backgroundColor = c.background || '';
      break;
    case 'check':
    case 'radio':
      input.checked = c.checked;
      if (outer.lastChild.textContent !== c.caption) outer.lastChild.textContent = c.caption;
      if (!c.caption) input.setAttribute('aria-label', (c.hint || c.name).split('\n')[0]);
      break;
    case 'trackbar':
      if (input.type === 'range') {
        input.min = c.min;
        input.max = c.max;
        if (Number(input.value) !== c.position) input.value = c.position;
      }
      break;
    case 'list':
      if (String(c.items) !== String(old.items)) {
        input.replaceChildren(...c.items.map((t) => {
          const o = document.createElement('option');
          o.textContent = t;
          return o;
        }));
      }
      if (input.selectedIndex !== c.selected) input.selectedIndex = c.selected;
      break;
    case 'button':
      if (input.textContent !== c.caption) input.textContent = c.caption;
      break;
    case 'group':
      if (c.caption && outer.firstChild.textContent !== c.caption) outer.firstChild.textContent = c.caption;
      break;
    case 'image':
      if (c.visible) paintImage(c, input);
      break;
  }
}

function paintImage(c, canvas) {
  const r = call('hz_image', c.name);
  if (!r.done) return;
  if (canvas.width !== r.width) canvas.width = r.width;
  if (canvas.height !== r.height) canvas.height = r.height;
  const at = mod._hz_image_data();
  const pixels = new Uint8ClampedArray(mod.HEAPU8.buffer, at, r.width * r.height * 4);
  canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(pixels), r.width, r.height), 0, 0);
}

// A control's element is made when it is first shown: a page keeps many controls hidden (the
// CV page 512 rows of which a file shows a few dozen). The elements stand in reading order
// among their siblings, for Tab; each lies above or below the others in the page's own order,
// as the window stacks its widgets (a later one above an earlier one).
let shownList = new Map(); // name -> { c, k, list, home } of the controls now shown by the core

function before(a, b) {
  const ga = a.geometry || [0, 0], gb = b.geometry || [0, 0];
  return ga[1] - gb[1] || ga[0] - gb[0];
}

function ensure(name) {
  const have = controls.get(name);
  if (have) return have;
  const known = shownList.get(name);
  if (!known) return null;
  const { c, k, list, home } = known;
  const parent = c.parent ? ensure(c.parent) : null;
  const entry = makeControl(c, list);
  entry.outer.style.zIndex = k + 1;
  controls.set(name, entry);
  const into = parent ? parent.outer : home;
  const next = [...into.children].find((el) => el.dataset.control && shownList.get(el.dataset.control) &&
                                               before(c, shownList.get(el.dataset.control).c) < 0);
  into.insertBefore(entry.outer, next || null);
  return entry;
}

// The controls the core sent: all of a page after a file was opened, later only those that
// changed (their stamps), as the window's frames refresh.
function drawPages(v) {
  const key = v.pages.map((p) => p.frame).join(',') + '|' + v.file;
  const main = places.get('GroupBoxMain');
  if (v.fresh || key !== shownFrames) {
    shownFrames = key;
    for (const el of document.querySelectorAll('.frame')) el.remove();
    controls.clear();
    shownList = new Map();
    v.pages.forEach((p, n) => {
      const f = document.createElement('div');
      f.className = n === 0 ? 'frame rows' : 'frame';
      f.dataset.frame = p.frame;
      (n === 0 ? main : client).append(f);
    });
  }
  const changed = [];
  v.pages.forEach((p) => {
    const home = document.querySelector(`.frame[data-frame="${CSS.escape(p.frame)}"]`);
    p.controls.forEach((c, k) => {
      const known = shownList.get(c.name);
      if (known) known.c = c;
      else shownList.set(c.name, { c, k: p.all ? k : shownList.size, list: p.controls, home });
      changed.push(c);
    });
  });
  for (const c of changed) {
    const entry = c.visible ? ensure(c.name) : controls.get(c.name);
    if (entry) updateControl(entry, c);
  }
  for (const f of v.window.frames) {
    const el = client.querySelector(`.frame[data-frame="${CSS.escape(f.frame)}"]`);
    if (el) placeAt(el, f.geometry);
  }
  let start = document.getElementById('lbl_start');
  if (!start) {
    start = document.createElement('div');
    start.id = 'lbl_start';
    start.textContent = 'HEX-Datei laden: mit „HEX laden“ oder indem Sie eine .hex-Datei auf das Fenster ziehen.';
    main.append(start);
  }
  start.hidden = v.loaded;
}

function refresh() {
  state = call('hz_view');
  performance.mark('hz-state');
  drawWindow(state.window);
  drawPages(state);
  performance.mark('hz-drawn');
  const loaded = state.loaded;
  for (const el of document.querySelectorAll('[data-action="save"], [data-action="sheet"], [data-action="compare"], [data-action="carry"]'))
    el.disabled = !loaded;
  for (const el of document.querySelectorAll('[data-action="undo"]')) el.disabled = !state.can_undo;
  for (const el of document.querySelectorAll('[data-action="redo"]')) el.disabled = !state.can_redo;
  for (const el of document.querySelectorAll('[data-action="info"]')) el.disabled = !state.pages.length;
  // The window's title: the file, its decoder type and version, "*" while there are changes.
  const name = state.file;
  const type = state.window.type;
  document.title = state.window.title + (name ? ` - ${name}` : '') + (name && type ? ` (${type})` : '') +
                   (name && state.unsaved ? '*' : '');
}

// ---------------------------------------------------------------------------------------------
// The user's events

async function userEvent(name, kind, value = '', x = 0, y = 0) {
  const r = await untilDone((answers) => call('hz_event', name, kind, value, x, y, answers));
  refresh();
  if (r.focus) controls.get(r.focus)?.input?.focus();
  return r;
}

async function step(name, by) {
  const c = controls.get(name)?.c;
  if (!c) return;
  const to = Math.max(c.min, Math.min(c.max, c.position + by));
  if (to !== c.position) await userEvent(name, 'position', String(to));
}

// An image's mouse: every press, move and release reaches the page in the image's own pixels.
function mouse(name, kind, e) {
  const x = Math.floor(e.offsetX), y = Math.floor(e.offsetY);
  later(() => userEvent(name, kind, '', x, y));
}

function download(name, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name.replace(/^.*\//, '');
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

function savedBytes(size) {
  return mod.HEAPU8.slice(mod._hz_saved_data(), mod._hz_saved_data() + size);
}

// A page's button that opens a file dialog: a file to read is picked and handed to the page;
// a file the page writes is downloaded. The picker's answer comes as its change event (a
// cancelled picker sends none), for the button that opened it last.
let pageFileFor = null;

async function pageFile(name) {
  const c = controls.get(name).c;
  if (c.file_dialog === 'open') {
    const picker = document.getElementById('pagefile');
    picker.accept = (c.file_filter.match(/\*\.[A-Za-z0-9]+/g) || []).map((p) => p.slice(1)).join(',');
    pageFileFor = name;
    picker.value = '';
    picker.click();
  } else {
    // Named after the file shown, with the page's suffix ("weiche.cur").
    const base = (state.file || 'datei').replace(/\.[^.]*$/, '');
    const file = base + (c.file_suffix ? `.${c.file_suffix.replace(/^\./, '')}` : '');
    await userEvent(name, 'file', file);
    const got = call('hz_get_file', file);
    if (got.done) download(file, savedBytes(got.size));
  }
}

async function pageFilePicked(file) {
  const name = pageFileFor;
  if (!file || !name || !controls.get(name)) return;
  const bytes = new Uint8Array(await file.arrayBuffer());
  const put = withBytes(bytes, (at, size) => call('hz_put_file', file.name, at, size));
  if (!put.done) return showMessage({ kind: 'error', text: put.error, buttons: ['ok'], escape: 'ok' });
  await userEvent(name, 'file', file.name);
}

// A picker's chosen file, handed to `use` in turn with the user's other events.
function onPicked(id, use) {
  const picker = document.getElementById(id);
  picker.addEventListener('change', () => {
    const file = picker.files[0];
    picker.value = '';
    if (file) later(() => use(file));
  });
}
onPicked('pagefile', pageFilePicked);

// Files from the picker or dropped on the window: the first in the folder's order is opened,
// the others stay beside it for "<" and ">".
async function openFiles(files) {
  performance.mark('hz-open');
  const list = [...files].filter((f) => f.size >= 0);
  if (!list.length) return;
  list.sort((a, b) => a.name.localeCompare(b.name, 'de', { numeric: true, sensitivity: 'base' }));
  const chosen = list[0];
  for (const f of list.slice(1)) {
    const bytes = new Uint8Array(await f.arrayBuffer());
    withBytes(bytes, (at, size) => call('hz_put_file', f.name, at, size));
  }
  const bytes = new Uint8Array(await chosen.arrayBuffer());
  await untilDone((answers) => withBytes(bytes, (at, size) => call('hz_open', chosen.name, at, size, answers)));
  performance.mark('hz-opened');
  refresh();
  focusFirst();
  // The time from the pick to the file shown, for bench/browser_page.mjs: after the next frame.
  requestAnimationFrame(() => performance.measure('hz-shown', 'hz-open'));
}

function focusFirst() {
  const first = [...document.querySelectorAll('.rows input, .frame input, .frame select')].find(
    (el) => !el.disabled && el.offsetParent !== null);
  (first || places.get('btn_load')).focus();
}

// "HEX Info": the information dialog, filled from the core; "vergleiche mit 2. HEX-File" puts
// the report in its place.
function fillInfo(r) {
  const box = document.getElementById('info');
  const set = (name, text) => { box.querySelector(`[data-control="${name}"]`).value = text; };
  r.config.forEach((t, k) => set(`edt_config_${k + 1}`, t));
  r.id.forEach((t, k) => set(`edt_ID_${k + 1}`, t));
  box.querySelector('[data-control="lbl_anzahl"]').textContent = r.rom_count;
  set('Memo1a', r.eeprom.join('\n'));
  set('Memo3a', r.rom.join('\n'));
  box.querySelectorAll('.info-status span').forEach((el, k) => { el.textContent = r.status[k] || ''; });
}

// (The dialog is modal: everything outside it is inert, its file input too; it has its own.)
async function compareInInfo(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const r = await untilDone((answers) => withBytes(bytes, (at, size) => call('hz_info_compare', file.name, at, size, answers)));
  if (r.done) fillInfo(r);
}

{
  const box = document.getElementById('info');
  box.querySelector('[data-control="btn_close"]').addEventListener('click', () => box.close());
  box.querySelector('[data-control="btn_compare"]').addEventListener('click', () => {
    const picker = document.getElementById('infofile');
    picker.value = '';
    picker.click();
  });
  onPicked('infofile', compareInInfo);
}

// The settings sheet: the core's HTML page, parsed (nothing in it runs) and its body put into
// the page's print area; its style applies to printing only.
let sheetStyle = null;
function printSheet() {
  const r = call('hz_sheet');
  if (!r.done) return showMessage({ kind: 'error', text: r.error, buttons: ['ok'], escape: 'ok' });
  // The style is taken out before parsing: a parsed <style> counts as inline style too.
  let css = '';
  const html = r.html.replace(/<style>([\s\S]*?)<\/style>/g, (_, text) => { css += text; return ''; });
  const doc = new DOMParser().parseFromString(html, 'text/html');
  if (!sheetStyle) {
    sheetStyle = new CSSStyleSheet();
    document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheetStyle];
  }
  sheetStyle.replaceSync(`@media print { ${css} }`);
  // Style attributes are inline style to the page's policy; set through the element's style
  // object instead, which the policy does not forbid.
  const styled = [...doc.body.querySelectorAll('[style]')].map((el) => {
    const css = el.getAttribute('style');
    el.removeAttribute('style');
    return [el, css];
  });
  const area = document.getElementById('sheet');
  const marks = new Map(styled.map(([el], k) => { el.dataset.hzStyle = String(k); return [String(k), styled[k][1]]; }));
  area.replaceChildren(...[...doc.body.childNodes].map((n) => document.importNode(n, true)));
  for (const el of area.querySelectorAll('[data-hz-style]')) {
    el.style.cssText = marks.get(el.dataset.hzStyle);
    delete el.dataset.hzStyle;
  }
  const title = document.title;
  document.title = r.title;
  window.print();
  document.title = title;
}

// "Anlagen-Übersicht": the folder the user picks goes into the module's files, the core scans
// it as `overview` does, and the dialog shows its summary, double uses and table.
let overviewLines = [];
function showOverviewTable() {
  const only = document.getElementById('overview-only').checked;
  const body = document.querySelector('#overview tbody');
  body.replaceChildren(...overviewLines.filter((l) => !only || l.double).map((l) => {
    const tr = document.createElement('tr');
    if (l.double) tr.className = 'double';
    l.cells.forEach((t, k) => {
      const td = document.createElement('td');
      td.textContent = t;
      if (overviewNumbers[k]) td.className = 'number';
      tr.append(td);
    });
    return tr;
  }));
}
let overviewNumbers = [];

async function overviewOf(files) {
  const list = files.filter((f) => f.webkitRelativePath && f.webkitRelativePath.includes('/'));
  if (!list.length) return;
  const root = list[0].webkitRelativePath.split('/')[0];
  for (const f of list) {
    const bytes = new Uint8Array(await f.arrayBuffer());
    const put = withBytes(bytes, (at, size) => call('hz_overview_put', f.webkitRelativePath, at, size));
    if (!put.done) return showMessage({ kind: 'error', text: put.error, buttons: ['ok'], escape: 'ok' });
  }
  const r = call('hz_overview', root);
  const box = document.getElementById('overview');
  document.getElementById('overview-summary').textContent = r.summary;
  const items = (ul, texts) => ul.replaceChildren(...texts.map((t) => {
    const li = document.createElement('li');
    li.textContent = t;
    return li;
  }));
  items(document.querySelector('#overview-doubles ul'), r.double_uses);
  document.getElementById('overview-doubles').hidden = !r.double_uses.length;
  items(document.querySelector('#overview-errors ul'), r.errors.map((e) => `${e.file}: ${e.reason}`));
  document.getElementById('overview-errors').hidden = !r.errors.length;
  document.querySelector('#overview thead tr').replaceChildren(...r.headings.map((t) => {
    const th = document.createElement('th');
    th.textContent = t;
    return th;
  }));
  overviewLines = r.lines;
  overviewNumbers = r.numbers;
  showOverviewTable();
  if (!box.open) box.showModal();
}

{
  const picker = document.getElementById('folderpicker');
  picker.addEventListener('change', () => {
    const files = [...picker.files];
    picker.value = '';
    later(() => overviewOf(files));
  });
  document.getElementById('overview-only').addEventListener('change', showOverviewTable);
  document.getElementById('overview-close').addEventListener('click', () => document.getElementById('overview').close());
}

// "Vergleichen mit…" and "Einstellungen übernehmen aus…": the other file is picked, the core
// compares or previews, the dialog shows the core's texts; "Übernehmen" carries.
let secondFor = null;
function fillTable(table, rows) {
  table.querySelector('tbody').replaceChildren(...rows.map((cells) => {
    const tr = document.createElement('tr');
    for (const t of cells) {
      const td = document.createElement('td');
      td.textContent = t;
      tr.append(td);
    }
    return tr;
  }));
}

async function compareWith(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const r = await untilDone((answers) => withBytes(bytes, (at, size) => call('hz_compare', file.name, at, size, answers)));
  if (!r.done || !r.compared) return;
  if (r.refusal) return showMessage({ kind: 'warning', text: r.refusal, buttons: ['ok'], escape: 'ok' });
  const box = document.getElementById('compare');
  box.querySelector('[data-control="lbl_summary"]').textContent = r.summary;
  box.querySelector('th.other').textContent = file.name;
  fillTable(box.querySelector('table'), r.rows);
  box.showModal();
}

let carryPreview = null;
function showCarried() {
  const box = document.getElementById('carry');
  const all = box.querySelector('[data-control="cbx_unchanged"]').checked;
  fillTable(box.querySelector('[data-control="tbl_carried"]'),
            carryPreview.carried.filter((c) => all || !c.unchanged).map((c) => c.cells));
}

async function carryFrom(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const r = await untilDone((answers) => withBytes(bytes, (at, size) => call('hz_carry', file.name, at, size, 0, answers)));
  if (!r.done || !r.previewed) return;
  carryPreview = r;
  const box = document.getElementById('carry');
  box.querySelector('[data-control="lbl_summary"]').textContent = r.summary;
  box.querySelector('[data-control="lbl_carried"]').textContent = r.carried_heading;
  box.querySelector('[data-control="lbl_not_carried"]').textContent = r.not_carried_heading;
  const unchanged = box.querySelector('[data-control="cbx_unchanged"]');
  unchanged.checked = false;
  unchanged.parentElement.hidden = !r.unchanged;
  unchanged.parentElement.title = r.unchanged_line;
  unchanged.nextElementSibling.textContent = `auch unveränderte zeigen (${r.unchanged})`;
  showCarried();
  fillTable(box.querySelector('[data-control="tbl_not_carried"]'), r.not_carried);
  box.querySelector('[data-control="lbl_not_carried"]').hidden = !r.not_carried.length;
  box.querySelector('[data-control="tbl_not_carried"]').parentElement.hidden = !r.not_carried.length;
  box.returnValue = '';
  box.showModal();
  const go = await new Promise((resolve) => box.addEventListener('close', () => resolve(box.returnValue === 'apply'), { once: true }));
  if (!go) return;
  await untilDone((answers) => withBytes(bytes, (at, size) => call('hz_carry', file.name, at, size, 1, answers)));
  refresh();
}

{
  onPicked('secondfile', (file) => (secondFor === 'carry' ? carryFrom(file) : compareWith(file)));
  const compare = document.getElementById('compare');
  compare.querySelector('[data-control="btn_close"]').addEventListener('click', () => compare.close());
  const carry = document.getElementById('carry');
  carry.querySelector('[data-control="btn_apply"]').addEventListener('click', () => carry.close('apply'));
  carry.querySelector('[data-control="btn_cancel"]').addEventListener('click', () => carry.close('cancel'));
  carry.querySelector('[data-control="cbx_unchanged"]').addEventListener('change', showCarried);
}

function pickSecond(what) {
  secondFor = what;
  const picker = document.getElementById('secondfile');
  picker.value = '';
  picker.click();
}

// The manual inside this file: its pages parsed (nothing in them runs), their links followed
// inside the dialog; its pictures stay out (they show the window drawn by the desktop program),
// their descriptions stand in their place.
const manualPages = JSON.parse(document.getElementById('manual-pages').textContent);
let manualAt = 'index.html';

function showManual(path) {
  const [file, anchor] = path.split('#');
  const html = manualPages[file];
  if (html === undefined) return;
  manualAt = file;
  const doc = new DOMParser().parseFromString(html.replace(/<style>[\s\S]*?<\/style>/g, ''), 'text/html');
  for (const el of doc.querySelectorAll('link, script, style')) el.remove();
  for (const img of doc.querySelectorAll('img')) {
    const note = doc.createElement('span');
    note.className = 'picture';
    note.textContent = `[Bild: ${img.getAttribute('alt') || ''}]`;
    img.replaceWith(note);
  }
  for (const el of doc.querySelectorAll('[style]')) el.removeAttribute('style');
  const content = document.getElementById('manual-content');
  content.replaceChildren(...[...doc.body.childNodes].map((n) => document.importNode(n, true)));
  document.getElementById('manual-title').textContent = doc.title || 'Handbuch';
  const box = document.getElementById('manual');
  if (!box.open) box.showModal();
  const target = anchor && content.querySelector(`[id="${CSS.escape(anchor)}"]`);
  if (target) target.scrollIntoView();
  else box.scrollTop = 0;
}

{
  const content = document.getElementById('manual-content');
  content.addEventListener('click', (e) => {
    const a = e.target.closest('a[href]');
    if (!a) return;
    const href = a.getAttribute('href');
    if (/^[a-z]+:/i.test(href)) {
      // An address on the web opens in a tab of its own; the page itself asks for nothing.
      a.target = '_blank';
      a.rel = 'noopener noreferrer';
      return;
    }
    e.preventDefault();
    if (href.startsWith('#')) return showManual(manualAt + href);
    const base = manualAt.includes('/') ? manualAt.slice(0, manualAt.lastIndexOf('/') + 1) : '';
    const parts = [];
    for (const p of (base + href).split('/')) {
      if (p === '..') parts.pop();
      else if (p !== '.') parts.push(p);
    }
    showManual(parts.join('/'));
  });
  document.getElementById('manual-home').addEventListener('click', () => showManual('index.html'));
  document.getElementById('manual-close').addEventListener('click', () => document.getElementById('manual').close());
}

const actions = {
  manual: () => showManual('index.html'),
  compare: () => pickSecond('compare'),
  carry: () => pickSecond('carry'),
  overview: () => {
    const picker = document.getElementById('folderpicker');
    picker.value = '';
    picker.click();
  },
  sheet: printSheet,
  info: async () => {
    const r = call('hz_info');
    if (!r.done) return showMessage({ kind: 'error', text: r.error, buttons: ['ok'], escape: 'ok' });
    fillInfo(r);
    document.getElementById('info').showModal();
  },
  open: () => {
    const picker = document.getElementById('filepicker');
    picker.value = '';
    picker.click();
  },
  save: async () => {
    const r = await untilDone((answers) => call('hz_save', answers));
    refresh();
    if (r.done && r.saved) download(r.name, savedBytes(mod._hz_saved_size()));
  },
  undo: async () => { await untilDone((answers) => call('hz_undo', answers)); refresh(); },
  redo: async () => { await untilDone((answers) => call('hz_redo', answers)); refresh(); },
  prev: async () => { await untilDone((answers) => call('hz_neighbour', -1, answers)); refresh(); },
  next: async () => { await untilDone((answers) => call('hz_neighbour', 1, answers)); refresh(); },
};

const filepicker = document.getElementById('filepicker');
filepicker.addEventListener('change', () => {
  const files = [...filepicker.files];
  // Emptied, so that the same file picked again is a new choice.
  filepicker.value = '';
  later(() => openFiles(files));
});

document.addEventListener('click', (e) => {
  const el = e.target.closest('[data-action]');
  if (el && actions[el.dataset.action] && !el.disabled) later(actions[el.dataset.action]);
});

document.addEventListener('keydown', (e) => {
  if (e.key === 'F1' && !e.ctrlKey && !e.altKey) {
    e.preventDefault();
    showManual('index.html');
    return;
  }
  if (!(e.ctrlKey || e.metaKey) || document.getElementById('message').open) return;
  const key = e.key.toLowerCase();
  const action = key === 'z' ? (e.shiftKey ? 'redo' : 'undo') : key === 'y' ? 'redo' : key === 's' ? 'save' : key === 'o' ? 'open' : null;
  if (!action) return;
  e.preventDefault();
  const el = document.querySelector(`#menubar [data-action="${action}"]`);
  if (el && !el.disabled) later(actions[action]);
});

const win = document.getElementById('window');
win.addEventListener('dragover', (e) => { e.preventDefault(); e.dataTransfer.dropEffect = 'copy'; });
win.addEventListener('drop', (e) => {
  e.preventDefault();
  const files = e.dataTransfer.files;
  later(() => openFiles(files));
});
// Dropped anywhere else, a file must not replace the page (and its unsaved work).
window.addEventListener('dragover', (e) => e.preventDefault());
window.addEventListener('drop', (e) => e.preventDefault());

window.addEventListener('beforeunload', (e) => {
  if (state && state.unsaved) {
    e.preventDefault();
    e.returnValue = '';
  }
});

// ---------------------------------------------------------------------------------------------
// Start

const wasmBinary = decodeBase64(document.getElementById('wasm').textContent);
performance.mark('hz-decoded');
createHexZwirbel({ wasmBinary, print: () => {}, printErr: () => {} }).then((m) => {
  mod = m;
  refresh();
  document.getElementById('starting').remove();
  document.body.dataset.ready = 'true';
  performance.mark('hz-ready');
  places.get('btn_load').focus();
});
