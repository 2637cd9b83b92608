// Plays the web build in Debian's Chromium (headless, software WebGL) and checks it as a player
// and as the recordings see it:
//   node browser-test.mjs PAGE_DIR REPO_DIR NATIVE_BUILD_DIR
// PAGE_DIR is scripts/web-build.sh's output; REPO_DIR holds tests/game/bot's recordings; the native
// build's brackmoor-headless draws the reference pictures and states the page is compared with.
import { chromium } from 'playwright-core';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import os from 'node:os';
import zlib from 'node:zlib';

const [pageDir, repoDir, nativeDir] = process.argv.slice(2);
if (!pageDir || !repoDir || !nativeDir) {
  console.error('usage: node browser-test.mjs PAGE_DIR REPO_DIR NATIVE_BUILD_DIR');
  process.exit(2);
}
const botDir = path.join(repoDir, 'tests/game/bot');
// The title with its menu (the recorded runs press Enter a few frames later).
const TITLE_FRAME = 560;
// The climb: Enter on the title, then X and Up held, at these frames of the page.
const ENTER_AT = 700, CLIMB_FROM = 900, CLIMB_TO = 1100, CLIMB_END = 1400;

// The native game (headless) with the same options, for the reference picture and states.
function native(args) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'bm-web-'));
  execFileSync(path.join(nativeDir, 'brackmoor-headless'),
    ['--data', path.join(nativeDir, 'data'), '--save-dir', dir, ...args.map((a) => a.replace('DIR', dir))],
    { env: { ...process.env, SDL_AUDIODRIVER: 'dummy', GALLIUM_DRIVER: 'llvmpipe', LIBGL_ALWAYS_SOFTWARE: '1' } });
  return dir;
}
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

// The page and the recordings, served on this machine only.
function serve() {
  const server = http.createServer((req, res) => {
    const url = decodeURIComponent(req.url.split('?')[0]);
    const file = url.startsWith('/bot/') ? path.join(botDir, path.basename(url))
      : path.join(pageDir, url === '/' ? 'index.html' : path.normalize(url).replace(/^(\.\.[/\\])+/, ''));
    fs.readFile(file, (err, data) => {
      if (err) { res.writeHead(404); res.end(); return; }
      res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      res.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// PNG pictures as the game writes them (8-bit RGB), into rows of RGB bytes.
function readPng(buf) {
  assert.equal(buf.toString('latin1', 1, 4), 'PNG');
  let at = 8, width = 0, height = 0;
  const idat = [];
  while (at < buf.length) {
    const len = buf.readUInt32BE(at), type = buf.toString('latin1', at + 4, at + 8);
    const body = buf.subarray(at + 8, at + 8 + len);
    if (type === 'IHDR') { width = body.readUInt32BE(0); height = body.readUInt32BE(4); assert.equal(body[9], 2); }
    if (type === 'IDAT') idat.push(body);
    at += 12 + len;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * 3, px = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const f = raw[y * (stride + 1)], row = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; x++) {
      const a = x >= 3 ? px[y * stride + x - 3] : 0, b = y > 0 ? px[(y - 1) * stride + x] : 0;
      const c = x >= 3 && y > 0 ? px[(y - 1) * stride + x - 3] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const pred = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : (pb <= pc ? b : c)][f];
      px[y * stride + x] = (row[x] + pred) & 255;
    }
  }
  return { width, height, px };
}

const problems = [];
const browser = await chromium.launch({
  executablePath: CHROMIUM,
  headless: true,
  args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
    '--autoplay-policy=user-gesture-required'],
});
const server = await serve();
const base = `http://127.0.0.1:${server.address().port}/`;
// One browser profile for the whole test, so the storage carries from one page load to the next.
const context = await browser.newContext({ viewport: { width: 660, height: 510 } });

// Opens the page with the query, collects its console and errors, and waits for its exit status.
async function play(query, { timeout = 240000, during } = {}) {
  const page = await context.newPage();
  const log = [];
  page.on('console', (m) => log.push(m.type() + ': ' + m.text()));
  page.on('pageerror', (e) => problems.push(`${query}: exception: ${e.message}`));
  await page.goto(base + query);
  if (during) await during(page);
  await page.waitForFunction(() => document.body.dataset.exitStatus !== undefined, null, { timeout });
  const status = await page.evaluate(() => document.body.dataset.exitStatus);
  const text = log.join('\n');
  for (const line of log) if (/uncaught|exception|abort/i.test(line)) problems.push(`${query}: ${line}`);
  if (!log.includes('log: exit status ' + status)) problems.push(`${query}: no "exit status" line`);
  return { page, status, log: text };
}
function dumpOf(log) {
  const at = log.indexOf('/out/state.json:\n');
  assert.ok(at >= 0, 'no state dump in the console');
  const rest = log.slice(at + '/out/state.json:\n'.length);
  return JSON.parse(rest.slice(0, rest.indexOf('\nlog: ') >= 0 ? rest.indexOf('\nlog: ') : undefined));
}
function check(name, fn) {
  return fn().then(() => console.log('ok   ' + name), (e) => { problems.push(name + ': ' + e.message); console.log('FAIL ' + name); });
}

await check('the title is drawn in the game\'s own colours, as the native game draws it', async () => {
  const { page, status } = await play(`?seed=1&frames=${TITLE_FRAME + 1}&screenshot=${TITLE_FRAME}:/out/title.png`);
  assert.equal(status, '0');
  const png = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/out/title.png'))));
  await page.close();
  fs.writeFileSync(path.join(pageDir, 'web-title.png'), png);
  const dir = native(['--seed', '1', '--frames', String(TITLE_FRAME + 1), '--screenshot', `${TITLE_FRAME}:DIR/title.png`]);
  const web = readPng(png), ref = readPng(fs.readFileSync(path.join(dir, 'title.png')));
  assert.equal(web.width, 640);
  const colours = (img) => {
    const set = new Set();
    for (let i = 0; i < img.px.length; i += 3) set.add((img.px[i] << 16) | (img.px[i + 1] << 8) | img.px[i + 2]);
    return set;
  };
  const palette = colours(ref), seen = colours(web);
  assert.ok(seen.size >= 3, `${seen.size} colours: a blank canvas`);
  for (const c of seen) assert.ok(palette.has(c), `colour #${c.toString(16)} is not in the native title`);
  let same = 0;
  for (let i = 0; i < web.px.length; i += 3) {
    if (web.px[i] === ref.px[i] && web.px[i + 1] === ref.px[i + 1] && web.px[i + 2] === ref.px[i + 2]) same++;
  }
  const share = same / (web.px.length / 3);
  console.log(`     ${(share * 100).toFixed(3)} % of the title's pixels as the native game draws them`);
  assert.ok(share > 0.999, `only ${(share * 100).toFixed(3)} % of the pixels match the native title`);
});

await check('Enter starts level 1 and the player climbs with X and Up', async () => {
  const atFrame = (p, n) => p.waitForFunction((f) => (window.Module.framesStepped || 0) >= f, n, { timeout: 240000 });
  let recording = '';
  const { page, status, log } = await play(`?seed=1&frames=${CLIMB_END}&dump-state&record=/out/keys.replay`, {
    during: async (p) => {
      await atFrame(p, ENTER_AT);
      await p.keyboard.down('Enter');
      await atFrame(p, ENTER_AT + 5);
      await p.keyboard.up('Enter');
      await atFrame(p, CLIMB_FROM);
      await p.keyboard.down('x');
      await p.keyboard.down('ArrowUp');
      await atFrame(p, CLIMB_TO);
      await p.keyboard.up('ArrowUp');
      await p.keyboard.up('x');
      // The page did not scroll under the arrow keys.
      assert.equal(await p.evaluate(() => window.scrollY), 0);
      await p.waitForFunction(() => document.body.dataset.exitStatus !== undefined, null, { timeout: 240000 });
      recording = await p.evaluate(() => FS.readFile('/out/keys.replay', { encoding: 'utf8' }));
    },
  });
  await page.close();
  assert.equal(status, '0');
  const s = dumpOf(log);
  assert.equal(s.MainMenuOn, false, 'still on the title');
  // The native game given the keys at the frames the page took them ends in the same state; with
  // the Enter alone, the player stands lower.
  const nativeState = (keys) => {
    const replay = path.join(os.tmpdir(), `bm-keys-${process.pid}.replay`);
    fs.writeFileSync(replay, keys);
    const dir = native(['--seed', '1', '--frames', String(CLIMB_END), '--replay', replay, '--no-render',
      '--dump-state', 'DIR/state.json']);
    return JSON.parse(fs.readFileSync(path.join(dir, 'state.json'), 'utf8'));
  };
  assert.deepEqual(s, nativeState(recording), 'the page and the native game differ on the same keys');
  const still = nativeState(recording.split('\n').filter((l) => !/ (X|UP) /.test(l)).join('\n'));
  assert.ok(s.player.tY < still.player.tY - 1, `no climb: row ${s.player.tY}, ${still.player.tY} without climbing`);
});

const replay = fs.readFileSync(path.join(botDir, 'level1.replay'), 'utf8');
const [, seed, frames] = replay.match(/^# seed (\d+) frames (\d+)/);
await check('the level-1 recording follows its trace, render-free, to the end', async () => {
  const { page, status, log } = await play(`?seed=${seed}&frames=${frames}&replay=bot/level1.replay&check-trace=bot/level1.trace&no-render&dump-state`);
  assert.equal(status, '0', log.slice(-800));
  assert.equal(dumpOf(log).frame, Number(frames));
  await page.close();
});

await check('the level-1 recording follows its trace, drawn, for 1,000 frames', async () => {
  const { page, status, log } = await play(`?seed=${seed}&frames=1000&replay=bot/level1.replay&check-trace=bot/level1.trace`);
  assert.equal(status, '0', log.slice(-800));
  await page.close();
});

await check('a recording that leaves its trace stops with status 1 and names the frame', async () => {
  const { page, status, log } = await play(`?seed=${Number(seed) + 1}&frames=50&replay=bot/level1.replay&check-trace=bot/level1.trace&no-render`);
  assert.equal(status, '1');
  assert.match(log, /level1\.trace:\d+: .*frame/);
  await page.close();
});

await check('progress and files the game writes in one page load are there in the next', async () => {
  // The game writes a file (as it writes its progress: beside the target, then renamed), and the
  // page keeps it; progress put in the storage is what the next load's game reads.
  const first = await play('?seed=1&frames=2&no-render&dump-state=/persist/save/brackmoor/state.json');
  assert.equal(first.status, '0');
  await first.page.evaluate(() => new Promise((resolve) => {
    FS.writeFile('/persist/save/brackmoor/color.dat', '2');
    FS.syncfs(false, resolve);
  }));
  await first.page.close();
  const second = await play('?seed=1&frames=2&no-render&dump-state');
  assert.equal(second.status, '0');
  const kept = await second.page.evaluate(() => FS.readdir('/persist/save/brackmoor'));
  await second.page.close();
  assert.ok(kept.includes('state.json'), 'the written file is gone: ' + kept);
  assert.ok(!kept.some((f) => /\.tmp/.test(f)), 'a half-written file was kept: ' + kept);
  assert.equal(dumpOf(second.log).unlockFile, 2);
});

if (process.env.BRACKMOOR_WEB_MEASURE) {
  // The level-1 recording drawn in real time: game frames per second over 20 seconds once it
  // runs, and the program's own time (JavaScript and WebAssembly) per game frame.
  await check('frame rate and time per frame (measured)', async () => {
    const page = await context.newPage();
    await page.goto(base + `?seed=${seed}&frames=${frames}&replay=bot/level1.replay`);
    const sample = () => page.evaluate(() => ({ t: performance.now(), frames: Module.framesStepped || 0, busy: Module.busyMs || 0 }));
    await page.waitForFunction(() => (window.Module.framesStepped || 0) >= 600, null, { timeout: 240000 });
    const a = await sample();
    await page.waitForTimeout(20000);
    const b = await sample();
    await page.close();
    const n = b.frames - a.frames;
    console.log(`     ${(n / ((b.t - a.t) / 1000)).toFixed(1)} game frames per second, ` +
      `${((b.busy - a.busy) / n).toFixed(2)} ms of JavaScript and WebAssembly per frame (${n} frames)`);
  });
}

await browser.close();
server.close();
if (problems.length) {
  console.log('\nThe browser test failed:\n  ' + problems.join('\n  '));
  process.exit(1);
}
console.log('The browser test passed');
