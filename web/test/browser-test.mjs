// Plays the web build in Debian's Chromium (headless, software WebGL) and checks it as a player
// and as the recordings see it:
//   node browser-test.mjs PAGE_DIR BOT_DIR [TITLE_PNG]
// PAGE_DIR is scripts/web-build.sh's output, BOT_DIR holds level1.replay and level1.trace, and
// TITLE_PNG is the native game's picture of the title (frame TITLE_FRAME) to compare with.
// BRACKMOOR_WEB_MEASURE=1 also measures the frame rate and the time per frame and prints them.
import { chromium } from 'playwright-core';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

const [pageDir, botDir, titlePng] = process.argv.slice(2);
if (!pageDir || !botDir) {
  console.error('usage: node browser-test.mjs PAGE_DIR BOT_DIR [TITLE_PNG]');
  process.exit(2);
}
const TITLE_FRAME = 300;
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
const context = await browser.newContext({ viewport: { width: 1300, height: 1000 } });

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

await check('the title is drawn in the game\'s own colours', async () => {
  const { page, status } = await play(`?seed=1&frames=${TITLE_FRAME + 1}&screenshot=${TITLE_FRAME}:/out/title.png`);
  assert.equal(status, '0');
  const png = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/out/title.png'))));
  fs.writeFileSync(path.join(pageDir, 'web-title.png'), png);
  const web = readPng(png);
  assert.equal(web.width, 640);
  const colours = new Set();
  for (let i = 0; i < web.px.length; i += 3) colours.add((web.px[i] << 16) | (web.px[i + 1] << 8) | web.px[i + 2]);
  assert.ok(colours.size >= 8, `only ${colours.size} colours: a blank canvas`);
  if (titlePng) {
    const native = readPng(fs.readFileSync(titlePng));
    let same = 0;
    for (let i = 0; i < web.px.length; i += 3) {
      if (web.px[i] === native.px[i] && web.px[i + 1] === native.px[i + 1] && web.px[i + 2] === native.px[i + 2]) same++;
    }
    const share = same / (web.px.length / 3);
    console.log(`     ${(share * 100).toFixed(2)} % of the title's pixels as the native game draws them`);
    assert.ok(share > 0.99, `only ${(share * 100).toFixed(2)} % of the pixels match the native title`);
  }
  await page.close();
});

await check('Enter starts level 1 and the player climbs with X and Up', async () => {
  const { page, status, log } = await play('?seed=1&frames=1400&dump-state', {
    during: async (p) => {
      await p.waitForFunction(() => window.FS !== undefined && document.getElementById('status').textContent.startsWith('Press'));
      await p.waitForTimeout(3000);
      await p.keyboard.press('Enter');
      await p.waitForTimeout(2500);
      await p.keyboard.down('x');
      await p.keyboard.down('ArrowUp');
      await p.waitForTimeout(2500);
      await p.keyboard.up('ArrowUp');
      await p.keyboard.up('x');
      // The page did not scroll under the arrow keys.
      assert.equal(await p.evaluate(() => window.scrollY), 0);
    },
  });
  assert.equal(status, '0');
  const s = dumpOf(log);
  assert.equal(s.screen, 'game', 'not playing level 1');
  assert.ok(s.player.row > 0 || s.player.y < s.player.startY, 'the player did not climb: ' + JSON.stringify(s.player));
  await page.close();
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

await check('progress written in one page load is read in the next', async () => {
  // The recorded run beats the crab, which the game keeps as progress; it ran above in this profile.
  const first = await play('?seed=1&frames=2&no-render');
  const saved = await first.page.evaluate(() => FS.readdir('/persist/save/brackmoor'));
  await first.page.close();
  assert.ok(saved.some((f) => /\.dat$/i.test(f)), 'no progress file kept: ' + saved);
  const second = await play('?seed=1&frames=2&no-render&verbose');
  const kept = await second.page.evaluate(() => FS.readdir('/persist/save/brackmoor'));
  assert.deepEqual(kept.sort(), saved.sort());
  await second.page.close();
});

if (process.env.BRACKMOOR_WEB_MEASURE) {
  await check('frame rate and time per frame (measured)', async () => {
    const page = await context.newPage();
    await page.goto(base + `?seed=${seed}&frames=1300&replay=bot/level1.replay`);
    await page.waitForFunction(() => document.body.dataset.exitStatus === undefined && window.FS !== undefined);
    await page.waitForTimeout(4000);
    const m = await page.evaluate(() => new Promise((resolve) => {
      // Every animation callback's own time (the game's frames run inside them), over 8 seconds.
      let callbacks = 0, busy = 0, last = 0;
      const wrap = window.requestAnimationFrame;
      const t0 = performance.now();
      function tick() { callbacks++; if (performance.now() - t0 < 8000) wrap(tick); else finish(); }
      wrap(tick);
      const orig = Module.dynCall_v || null;
      const start = performance.now();
      function finish() { resolve({ seconds: (performance.now() - start) / 1000, callbacks }); }
    }));
    console.log(`     ${JSON.stringify(m)}`);
    await page.close();
  });
}

await browser.close();
server.close();
if (problems.length) {
  console.log('\nThe browser test failed:\n  ' + problems.join('\n  '));
  process.exit(1);
}
console.log('The browser test passed');
