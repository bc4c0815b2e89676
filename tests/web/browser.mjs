// The browser's page in a real browser (headless Chromium through chromedriver): it opens from
// file:// with no request beyond itself, loads a file of every page kind through the file
// input, is worked as a user works it (typing, ticking, clicking, lists, a track bar, mouse
// strokes on the images), and the file it downloads must be byte for byte what
// `hexzwirbel-cli set --do` writes for the same actions. Then undo and redo with the keys, the
// unsaved question when another file is opened, a broken file's messages, and a file name that
// looks like markup.
//
//   node browser.mjs PAGE.html HEXZWIRBEL-CLI EXAMPLES-FOLDER WORK-FOLDER

import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, existsSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { pathToFileURL } from 'node:url';
import { Browser } from './webdriver.mjs';

const [page, cli, examples, work] = process.argv.slice(2).map((a) => resolve(a));
rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });

const SELECT_ALL = '\uE009a\uE000';
const TAB = '\uE004';
const control = (name) => `[data-control="${name}"]`;

// The user's actions and the same actions as `set --do` takes them. A stroke's `draw:` moves
// through its first point too, where a real mouse only presses: the strokes here go on one
// pixel from where they press, which paints what the press point would.
const cases = [
  {
    file: 'stellino_12f629.hex',
    steps: [['type', 'RowEdits[0]', '100'], ['click', 'cbx_zusatz_2']],
    cli: ['RowEdits[0]=100', 'cbx_zusatz_2=0'],
  },
  {
    file: 'relais_16f684_dcc.hex',
    steps: [['type', 'edt_adr_1', '12'], ['click', 'btn_RG_1'], ['click', 'rad_mode2'], ['click', 'cbx_mode_bit7']],
    cli: ['edt_adr_1=12', 'btn_RG_1', 'rad_mode2', 'cbx_mode_bit7=1'],
  },
  { file: 'forsta_16f18324.hex', steps: [['type', 'CvEdits[5]', '42']], cli: ['CvEdits[5]=42'] },
  { file: 'ampel_16f684.hex', steps: [['slide', 'TrackBar_01', 3]], cli: ['TrackBar_01=3'] },
  {
    file: 'blinkmuster_16f684.hex',
    steps: [['stroke', 'Image_Blink1', [[3, 3], [4, 3], [40, 4], [80, 20], [120, 22]]], ['click', 'blinkmuster_cbx_out4']],
    cli: ['Image_Blink1=draw:3,3;4,3;40,4;80,20;120,22', 'blinkmuster_cbx_out4=1'],
  },
  {
    file: 'led_blinkmuster_16f684.hex',
    steps: [['stroke', 'Image_led_Blink1', [[5, 25], [6, 25], [60, 4], [150, 4]]], ['paste', 'led_blinkmuster_edt_Anzahl', '12']],
    cli: ['Image_led_Blink1=draw:5,25;6,25;60,4;150,4', 'led_blinkmuster_edt_Anzahl=12'],
  },
  {
    file: 'servo_16f684.hex',
    steps: [['select', 'cbx_raster_x', 2], ['click', 'btn_Sin'], ['stroke', 'servo_Image1', [[100, 150], [101, 150], [200, 60], [300, 40]]],
            ['type', 'edt_Anzahl', '12'], ['click', 'servo_rad_a2'], ['select', 'servo_cbx_s1o', 3]],
    cli: ['cbx_raster_x=#2', 'btn_Sin', 'servo_Image1=draw:100,150;101,150;200,60;300,40', 'edt_Anzahl=12', 'servo_rad_a2',
          'servo_cbx_s1o=#3'],
  },
];

const b = await Browser.start();
try {
  const url = pathToFileURL(page).href;
  await b.open(url);
  await until(() => b.run('return document.body.dataset.ready === "true"'), 'the page gets ready');

  // The page draws the window's own buttons with their actions before a file is open.
  for (const action of ['open', 'save', 'undo', 'redo', 'prev', 'next'])
    assert.ok((await b.findAll(`[data-action="${action}"]`)).length > 0, `an element for ${action}`);

  async function dialog() {
    return b.run(`const d = document.getElementById('message');
      return d.open ? { kind: d.dataset.kind, text: document.getElementById('message-text').textContent,
        buttons: [...d.querySelectorAll('button')].map(x => x.textContent) } : null`);
  }
  // The next message, once it is shown (the page may take a moment under load).
  async function nextDialog() {
    let d = null;
    await until(async () => (d = await dialog()) !== null, 'a message');
    return d;
  }
  async function answer(caption) {
    const buttons = await b.findAll('#message button');
    for (const el of buttons)
      if ((await b.text(el)) === caption) return b.click(el);
    throw new Error(`no button ${caption}`);
  }
  async function settle() {
    await b.runAsync('const done = arguments[arguments.length - 1]; requestAnimationFrame(() => setTimeout(done, 0));');
  }
  async function openFile(path) {
    await b.type(await b.find('#filepicker'), path);
    await settle();
  }
  // Loads a file; messages the load shows are clicked through with the answer that changes
  // nothing, as `set` answers them.
  async function load(path) {
    await openFile(path);
    const name = path.replace(/^.*\//, '');
    await until(async () => {
      const d = await dialog();
      if (d) await answer(d.buttons.includes('Ignorieren') ? 'Ignorieren' : d.buttons[0]);
      return !d && (await b.run('return document.title')).includes(name);
    }, `${path} shown`);
  }
  async function download(before) {
    let name;
    await until(() => {
      const now = readdirSync(b.downloads).filter((f) => !before.includes(f) && !f.endsWith('.crdownload'));
      name = now[0];
      return !!name;
    }, 'the download');
    return join(b.downloads, name);
  }
  async function save() {
    const before = readdirSync(b.downloads);
    await b.click(await b.find('#btn_save'));
    let name;
    await until(async () => {
      const d = await dialog();
      if (d) {
        assert.match(d.text, /Geänderte Werte übernehmen\?/);
        await answer('Ja');
        return false;
      }
      name = readdirSync(b.downloads).filter((f) => !before.includes(f) && !f.endsWith('.crdownload'))[0];
      return !!name;
    }, 'the saved file downloaded');
    return join(b.downloads, name);
  }
  async function act([what, name, value]) {
    const el = await b.find(control(name));
    if (what === 'type') {
      await b.click(el);
      await b.type(el, SELECT_ALL + value + TAB);
    } else if (what === 'paste') {
      // The whole text as one change, as a paste gives it (and `set --do NAME=TEXT`).
      await b.click(el);
      await b.type(el, SELECT_ALL);
      await b.run(`const e = arguments[0]; e.value = ${JSON.stringify(value)}; e.dispatchEvent(new Event('input'));`, { 'element-6066-11e4-a52e-4f735466cecf': el });
      await b.keys(TAB);
    } else if (what === 'click') {
      await b.click(el);
    } else if (what === 'select') {
      await b.run(`const s = arguments[0]; s.selectedIndex = ${value}; s.dispatchEvent(new Event('change'));`, { 'element-6066-11e4-a52e-4f735466cecf': el });
    } else if (what === 'slide') {
      await b.run(`const s = arguments[0]; s.value = ${value}; s.dispatchEvent(new Event('input'));`, { 'element-6066-11e4-a52e-4f735466cecf': el });
    } else if (what === 'stroke') {
      await b.stroke(el, value);
    }
    await settle();
    assert.equal(await dialog(), null, `no message after ${what} ${name}`);
  }

  // Every page kind: the browser's download is what the tool writes for the same actions.
  for (const c of cases) {
    const input = join(work, c.file);
    copyFileSync(join(examples, c.file), input);
    await load(input);
    for (const s of c.steps) {
      try {
        await act(s);
      } catch (e) {
        throw new Error(`${c.file}: ${s[0]} ${s[1]}: ${e.message.slice(0, 200)}`);
      }
    }
    const got = readFileSync(await save());
    const want = join(work, `cli-${c.file}`);
    execFileSync(cli, ['set', input, '-o', want, ...c.cli.flatMap((d) => ['--do', d])], { stdio: 'pipe' });
    assert.ok(got.equals(readFileSync(want)), `${c.file}: the browser's save equals set --do ${c.cli.join(' ')}`);
  }

  // "HEX Info" shows the lists `dump` prints, and its comparison with a second file the report
  // `compare` prints.
  {
    const file = join(work, 'info-' + cases[0].file), other = join(examples, cases[1].file);
    copyFileSync(join(examples, cases[0].file), file);
    await load(file);
    const dump = JSON.parse(execFileSync(cli, ['dump', '--json', file]));
    await b.click(await b.find('[data-action="info"]'));
    await settle();
    const value = (name) => b.run(`return document.querySelector('#info [data-control="${name}"]').value`);
    assert.equal(await value('edt_config_1'), dump.config[0]);
    assert.equal(await value('edt_ID_1'), dump.id[0]);
    assert.equal(await value('Memo1a'), dump.eeprom.join('\n'));
    assert.equal(await value('Memo3a'), dump.rom.join('\n'));
    // (compare ends with 1 when the files differ)
    const compared = JSON.parse(spawnSync(cli, ['compare', '--json', file, other]).stdout);
    await b.click(await b.find('#info [data-control="btn_compare"]'));
    await b.type(await b.find('#infofile'), other);
    await until(async () => (await value('Memo1a')) === compared.eeprom.join('\n'), 'the comparison in HEX Info', 5000).catch(async (e) => { throw new Error(e.message + ': ' + JSON.stringify((await value('Memo1a')).slice(0, 300)) + ' / ' + JSON.stringify(compared.eeprom.slice(0, 3))); });
    assert.equal(await value('Memo3a'), compared.rom.join('\n'));
    await b.click(await b.find('#info [data-control="btn_close"]'));
    assert.equal(await b.run('return document.getElementById("info").open'), false);
  }

  // The settings sheet goes to the browser's printing: the sheet `sheet --html` writes, with its
  // headings, tables and pictures, and no picture as an image from outside.
  {
    const file = join(work, 'sheet-' + cases[6].file);
    copyFileSync(join(examples, cases[6].file), file);
    await load(file);
    const html = join(work, 'sheet.html');
    execFileSync(cli, ['sheet', file, '--html', html], { stdio: 'pipe' });
    await b.run('window.printed = 0; window.print = () => { window.printed++; };');
    await b.click(await b.find('[data-action="sheet"]'));
    await settle();
    assert.equal(await b.run('return window.printed'), 1, 'the sheet is printed');
    const shown = await b.run(`const s = document.getElementById('sheet');
      return { h1: s.querySelector('h1').textContent, rows: s.querySelectorAll('tr').length, svg: s.querySelectorAll('svg').length };`);
    const want = readFileSync(html, 'utf8');
    assert.equal(shown.h1, want.match(/<h1>([^<]*)<\/h1>/)[1].replace(/&amp;/g, '&'));
    assert.equal(shown.rows, (want.match(/<tr[ >]/g) || []).length);
    assert.equal(shown.svg, (want.match(/<svg[ >]/g) || []).length);
    assert.ok(shown.svg > 0, 'the servo sheet has pictures');
  }

  // "Anlagen-Übersicht" over a folder the user picks: the double uses and the lines `overview`
  // finds (two copies of one decoder in a folder and its subfolder).
  {
    const root = join(work, 'Anlage');
    mkdirSync(join(root, 'Bahnhof'), { recursive: true });
    copyFileSync(join(examples, cases[0].file), join(root, 'a.hex'));
    copyFileSync(join(examples, cases[0].file), join(root, 'Bahnhof', 'b.hex'));
    copyFileSync(join(examples, cases[1].file), join(root, 'c.hex'));
    const found = JSON.parse(spawnSync(cli, ['overview', '--json', root]).stdout);
    const csvLines = spawnSync(cli, ['overview', '--csv', root]).stdout.toString().trim().split('\r\n').length - 1;
    await b.type(await b.find('#folderpicker'), root);
    await until(() => b.run('return document.getElementById("overview").open'), 'the overview');
    const shown = await b.run(`return { doubles: document.querySelectorAll('#overview-doubles li').length,
      rows: document.querySelectorAll('#overview tbody tr').length,
      marked: document.querySelectorAll('#overview tbody tr.double').length }`);
    assert.equal(shown.doubles, found.double_uses.length);
    assert.ok(shown.doubles > 0);
    assert.equal(shown.rows, csvLines);
    await b.click(await b.find('#overview-only'));
    assert.equal(await b.run('return document.querySelectorAll("#overview tbody tr").length'), shown.marked);
    await b.click(await b.find('#overview-close'));
  }

  // A page's file dialogs: "speichern" of a curve downloads what the page writes, "laden" takes
  // a file the user picks; both as `set --do NAME=FILE` does.
  {
    const file = join(work, 'kurve-' + cases[6].file);
    copyFileSync(join(examples, cases[6].file), file);
    await load(file);
    const before = readdirSync(b.downloads);
    await b.click(await b.find(control('servo_save_1')));
    const saved = await download(before);
    assert.match(saved, /kurve-servo_16f684\.cur$/);
    const want = join(work, 'cli.cur');
    execFileSync(cli, ['set', file, '-o', join(work, 'unused.hex'), '--do', `servo_save_1=${want}`], { stdio: 'pipe' });
    assert.ok(readFileSync(saved).equals(readFileSync(want)), 'the curve downloaded is the one the tool writes');
    // A sine curve made by the tool, loaded into curve 1 by the browser.
    const sine = join(work, 'sinus.cur');
    execFileSync(cli, ['set', file, '-o', join(work, 'unused2.hex'), '--do', 'btn_Sin', '--do', `servo_save_1=${sine}`], { stdio: 'pipe' });
    await b.click(await b.find(control('servo_load_1')));
    await b.type(await b.find('#pagefile'), sine);
    await settle();
    assert.equal(await dialog(), null);
    const got = readFileSync(await save());
    const cliLoaded = join(work, 'cli-geladen.hex');
    execFileSync(cli, ['set', file, '-o', cliLoaded, '--do', `servo_load_1=${sine}`], { stdio: 'pipe' });
    assert.ok(got.equals(readFileSync(cliLoaded)), 'the loaded curve is saved as the tool saves it');
  }

  // "Vergleichen mit…" lists the differences `diff` finds; "Einstellungen übernehmen aus…"
  // previews, and "Übernehmen" carries what `migrate` carries.
  {
    const here = join(work, 'hier-' + cases[0].file), there = join(work, 'dort.hex');
    copyFileSync(join(examples, cases[0].file), here);
    execFileSync(cli, ['set', here, '-o', there, '--row', '1=7g', '--do', 'RowEdits[0]=20'], { stdio: 'pipe' });
    await load(here);
    const diff = JSON.parse(spawnSync(cli, ['diff', '--json', here, there]).stdout);
    await b.click(await b.find('[data-action="compare"]'));
    await b.type(await b.find('#secondfile'), there);
    await until(() => b.run('return document.getElementById("compare").open'), 'the comparison');
    assert.equal(await b.run('return document.querySelectorAll("#compare tbody tr").length'), diff.differences.length);
    await b.click(await b.find('#compare [data-control="btn_close"]'));

    await b.click(await b.find('[data-action="carry"]'));
    await b.type(await b.find('#secondfile'), there);
    await until(() => b.run('return document.getElementById("carry").open'), 'the preview of carrying');
    assert.ok(await b.run('return document.querySelectorAll("#carry [data-control=tbl_carried] tbody tr").length') > 0);
    await b.click(await b.find('#carry [data-control="btn_apply"]'));
    await settle();
    const got = readFileSync(await save());
    const migrated = join(work, 'migriert.hex');
    execFileSync(cli, ['migrate', there, here, '-o', migrated], { stdio: 'pipe' });
    assert.ok(got.equals(readFileSync(migrated)), 'carried in the browser as migrate carries');
  }

  // The manual is inside the file: F1 opens it, its links lead on inside it, and the
  // documentation button opens the loaded type's page.
  {
    await b.chord('\uE031');
    await until(() => b.run('return document.getElementById("manual").open'), 'the manual');
    assert.match(await b.run('return document.querySelector("#manual-content h1").textContent'), /Handbuch/);
    await b.click(await b.find('#manual-content a[href="laden.html"]'));
    assert.match(await b.run('return document.getElementById("manual-title").textContent'), /laden/i);
    await b.click(await b.find('#manual-close'));
    const file = join(work, 'typ-' + cases[0].file);
    copyFileSync(join(examples, cases[0].file), file);
    await load(file);
    await b.click(await b.find('#btn_goweb'));
    await until(() => b.run('return document.getElementById("manual").open'), 'the type page');
    assert.match(await b.run('return document.getElementById("manual-content").textContent'), /Stellino/);
    await b.click(await b.find('#manual-close'));
  }

  // Two files opened at once are a folder: ">" and "<" step through them.
  {
    const folder = join(work, 'ordner');
    mkdirSync(folder, { recursive: true });
    copyFileSync(join(examples, cases[0].file), join(folder, 'a.hex'));
    copyFileSync(join(examples, cases[2].file), join(folder, 'b.hex'));
    await b.type(await b.find('#filepicker'), `${join(folder, 'a.hex')}\n${join(folder, 'b.hex')}`);
    await until(async () => (await b.run('return document.title')).includes(' - a.hex'), 'the first file of the two');
    await b.click(await b.find('[data-action="next"]'));
    await until(async () => (await b.run('return document.title')).includes(' - b.hex'), '">" opens the next');
    await b.click(await b.find('[data-action="prev"]'));
    await until(async () => (await b.run('return document.title')).includes(' - a.hex'), '"<" opens the previous');
  }

  // Undo and redo with the keys the window has.
  const first = join(work, 'undo-' + cases[0].file);
  copyFileSync(join(examples, cases[0].file), first);
  await load(first);
  const edit = await b.find(control('RowEdits[0]'));
  const before = await b.prop(edit, 'value');
  await act(['type', 'RowEdits[0]', '100']);
  assert.equal(await b.prop(edit, 'value'), '100');
  assert.match(await b.run('return document.title'), /\*$/, 'the title marks unsaved changes');
  await b.chord('\uE009', 'z');
  await settle();
  assert.equal(await b.prop(edit, 'value'), before, `Ctrl+Z undoes the typing (${await b.run('return document.title')})`);
  await b.chord('\uE009', '\uE008', 'z');
  await settle();
  assert.equal(await b.prop(edit, 'value'), '100', 'Ctrl+Shift+Z redoes it');

  // Another file over unsaved changes: the core's question; No keeps the file shown.
  const second = join(work, 'second-' + cases[2].file);
  copyFileSync(join(examples, cases[2].file), second);
  await openFile(second);
  const asked = await nextDialog();
  assert.ok(asked, 'opening over unsaved changes asks');
  assert.deepEqual(asked.buttons.length >= 2, true);
  await answer('Nein');
  await settle();
  assert.ok((await b.run('return document.title')).includes('undo-'), 'No keeps the file shown');
  assert.equal(await b.prop(edit, 'value'), '100', 'and its changes');

  // A broken file: its messages as the tool reports them, in order, as dialogs.
  const broken = join(work, 'kaputt.hex');
  writeFileSync(broken, ':020000040000FA\r\n:10000000ZZ\r\n:00000001FF\r\n');
  const told = JSON.parse(execFileSync(cli, ['info', '--json', broken], { stdio: ['ignore', 'pipe', 'ignore'] })).messages;
  await openFile(broken);
  let d = await nextDialog();
  if (/nicht gespeichert|Änderungen/.test(d.text)) {
    await answer('Ja');
    await settle();
    d = await nextDialog();
  }
  for (const [k, m] of told.entries()) {
    assert.equal(d.text, m.text);
    await answer(d.buttons.includes('Ignorieren') ? 'Ignorieren' : d.buttons[0]);
    await settle();
    if (k + 1 < told.length) d = await nextDialog();
  }
  await until(async () => (await b.run('return document.title')).includes('kaputt.hex'), 'the broken file shown');
  assert.equal(await dialog(), null);

  // A file name that looks like markup is shown as text.
  const odd = join(work, '<img src=x onerror=alert(1)>.hex');
  copyFileSync(join(examples, cases[0].file), odd);
  await load(odd);
  assert.equal(await b.run('return document.querySelectorAll("img").length'), 0, 'no element made from a name');
  assert.ok((await b.run('return document.getElementById("statusbar").textContent')).includes('<img src=x onerror=alert(1)>.hex'));

  // No request beyond the page itself, and nothing the policy refused.
  const requests = (await b.log('performance'))
    .map((e) => JSON.parse(e.message).message)
    .filter((m) => m.method === 'Network.requestWillBeSent')
    .map((m) => m.params.request.url)
    .filter((u) => !u.startsWith('blob:'));
  assert.deepEqual([...new Set(requests)], [url], 'the page asks for nothing but itself');
  const console = await b.log('browser');
  assert.deepEqual(console.filter((e) => e.level === 'SEVERE').map((e) => e.message), [], 'no errors in the console');
} finally {
  await b.quit();
}

async function until(test, what, ms = 30000) {
  const end = Date.now() + ms;
  while (!(await test())) {
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(50);
  }
}
console.log('browser tests passed');
