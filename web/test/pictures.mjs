// Pictures of the web page for the README and docs/web/, taken by headless Chromium:
//   node pictures.mjs PAGE_DIR REPO_DIR NATIVE_BUILD_DIR
// - docs/web/page.png: the whole page at 1300 x 1000 on the title;
// - docs/web/title.png and credits.png: the same frame drawn by the native game (left) and the page
//   (right), with the share of equal pixels printed.
// The late credit card is reached by playing the level-3 recording with frames run back to back.
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

const [pageDir, repoDir, nativeDir] = process.argv.slice(2);
const outDir = path.join(repoDir, 'docs/web');
fs.mkdirSync(outDir, { recursive: true });
const TITLE_FRAME = 560, CARD_FRAME = 15900;
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

const server = http.createServer((req, res) => {
  const url = decodeURIComponent(req.url.split('?')[0]);
  const file = url.startsWith('/bot/') ? path.join(repoDir, 'tests/game/bot', path.basename(url))
    : path.join(pageDir, url === '/' ? 'index.html' : path.normalize(url).replace(/^(\.\.[/\\])+/, ''));
  fs.readFile(file, (err, data) => {
    if (err) { res.writeHead(404); res.end(); return; }
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    res.end(data);
  });
});
await new Promise((r) => server.listen(0, '127.0.0.1', r));
const base = `http://127.0.0.1:${server.address().port}/`;

function rgbOfPng(buf) {
  let at = 8, width = 0, height = 0;
  const idat = [];
  while (at < buf.length) {
    const len = buf.readUInt32BE(at), type = buf.toString('latin1', at + 4, at + 8);
    const body = buf.subarray(at + 8, at + 8 + len);
    if (type === 'IHDR') { width = body.readUInt32BE(0); height = body.readUInt32BE(4); }
    if (type === 'IDAT') idat.push(body);
    at += 12 + len;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat)), stride = width * 3, px = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const f = raw[y * (stride + 1)];
    for (let x = 0; x < stride; x++) {
      const v = raw[y * (stride + 1) + 1 + x];
      const a = x >= 3 ? px[y * stride + x - 3] : 0, b = y > 0 ? px[(y - 1) * stride + x] : 0;
      const c = x >= 3 && y > 0 ? px[(y - 1) * stride + x - 3] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      px[y * stride + x] = (v + [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : (pb <= pc ? b : c)][f]) & 255;
    }
  }
  return { width, height, px };
}
function crc32(buf) {
  let c = ~0;
  for (const byte of buf) { c ^= byte; for (let k = 0; k < 8; k++) c = (c >>> 1) ^ (0xEDB88320 & -(c & 1)); }
  return ~c >>> 0;
}
function writePng(file, { width, height, px }) {
  const raw = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; y++) px.copy(raw, y * (width * 3 + 1) + 1, y * width * 3, (y + 1) * width * 3);
  const chunk = (type, body) => {
    const len = Buffer.alloc(4); len.writeUInt32BE(body.length);
    const crc = Buffer.alloc(4); crc.writeUInt32BE(crc32(Buffer.concat([Buffer.from(type), body])));
    return Buffer.concat([len, Buffer.from(type), body, crc]);
  };
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(width, 0); ihdr.writeUInt32BE(height, 4); ihdr[8] = 8; ihdr[9] = 2;
  fs.writeFileSync(file, Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n', 'latin1'), chunk('IHDR', ihdr),
    chunk('IDAT', zlib.deflateSync(raw, { level: 9 })), chunk('IEND', Buffer.alloc(0))]));
}
// Native on the left, web on the right, 8 pixels of black between.
function sideBySide(name, native, web) {
  const gap = 8, width = native.width * 2 + gap, height = native.height, px = Buffer.alloc(width * height * 3);
  let same = 0;
  for (let y = 0; y < height; y++) {
    native.px.copy(px, y * width * 3, y * native.width * 3, (y + 1) * native.width * 3);
    web.px.copy(px, (y * width + native.width + gap) * 3, y * web.width * 3, (y + 1) * web.width * 3);
  }
  for (let i = 0; i < web.px.length; i += 3) {
    if (web.px[i] === native.px[i] && web.px[i + 1] === native.px[i + 1] && web.px[i + 2] === native.px[i + 2]) same++;
  }
  writePng(path.join(outDir, name), { width, height, px });
  console.log(`${name}: ${(100 * same / (web.px.length / 3)).toFixed(3)} % of the pixels equal`);
}
function native(args) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'bm-pic-'));
  fs.writeFileSync(path.join(dir, 'color.dat'), '2');
  execFileSync(path.join(nativeDir, 'brackmoor-headless'),
    ['--data', path.join(nativeDir, 'data'), '--save-dir', dir, ...args.map((a) => a.replace('DIR', dir))],
    { env: { ...process.env, SDL_AUDIODRIVER: 'dummy', GALLIUM_DRIVER: 'llvmpipe', LIBGL_ALWAYS_SOFTWARE: '1' } });
  return dir;
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run'],
});
const context = await browser.newContext({ viewport: { width: 1300, height: 1000 } });
async function webFrame(query, file, freely) {
  const page = await context.newPage();
  if (freely) await page.addInitScript(() => { window.brackmoorStepFreely = true; });
  await page.goto(base + query);
  await page.waitForFunction(() => document.body.dataset.exitStatus !== undefined, null, { timeout: 3600000 });
  const png = Buffer.from(await page.evaluate((f) => Array.from(FS.readFile(f)), file));
  await page.close();
  return rgbOfPng(png);
}

// The page itself, on the title.
{
  const page = await context.newPage();
  await page.goto(base + '?seed=1');
  await page.waitForFunction((n) => (window.Module.framesStepped || 0) >= n, TITLE_FRAME, { timeout: 600000 });
  await page.screenshot({ path: path.join(outDir, 'page.png') });
  await page.close();
}
const titleDir = native(['--seed', '1', '--frames', String(TITLE_FRAME + 1), '--screenshot', `${TITLE_FRAME}:DIR/t.png`]);
sideBySide('title.png', rgbOfPng(fs.readFileSync(path.join(titleDir, 't.png'))),
  await webFrame(`?seed=1&frames=${TITLE_FRAME + 1}&screenshot=${TITLE_FRAME}:/out/t.png`, '/out/t.png', false));

// A credit card: level 3 unlocked in the page's storage, then its recording played.
{
  const page = await context.newPage();
  await page.goto(base + '?frames=1&no-render');
  await page.waitForFunction(() => document.body.dataset.exitStatus !== undefined);
  await page.evaluate(() => new Promise((resolve) => {
    for (const d of ['/persist/save', '/persist/save/brackmoor']) { try { FS.mkdir(d); } catch (e) {} }
    FS.writeFile('/persist/save/brackmoor/color.dat', '2');
    FS.syncfs(false, resolve);
  }));
  await page.close();
}
const cardDir = native(['--seed', '3', '--frames', String(CARD_FRAME + 1), '--replay',
  path.join(repoDir, 'tests/game/bot/level3.replay'), '--screenshot', `${CARD_FRAME}:DIR/c.png`]);
sideBySide('credits.png', rgbOfPng(fs.readFileSync(path.join(cardDir, 'c.png'))),
  await webFrame(`?seed=3&frames=${CARD_FRAME + 1}&replay=bot/level3.replay&screenshot=${CARD_FRAME}:/out/c.png`,
    '/out/c.png', true));

await browser.close();
server.close();
