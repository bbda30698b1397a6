// Drives the web build in headless Chromium (WebGL 2 through SwiftShader)
// over the DevTools protocol and checks what a player sees: the page, the
// blinking title, mouse, keyboard and gamepad play, the end on Escape and the
// start-up failure of a page whose package lacks a media file.
//
//   node browser_test.mjs SITE_DIR MISSING_SITE_DIR SCREENSHOT_DIR [measure SECONDS]
//
// Prints one line per check and exits non-zero if any failed. With "measure"
// it only plays a mouse game for SECONDS and prints the page's frame rate and
// the game's own milliseconds per frame.
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

const [siteDir, missingDir, shotDir, mode, measureSeconds] = process.argv.slice(2);
const width = 1280, height = 720;
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// --- a static server: the page at /, the page without a media file at /missing/
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
function serve() {
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    let root = siteDir;
    if (name.startsWith('/missing/')) { root = missingDir; name = name.slice('/missing'.length); }
    if (name.endsWith('/')) name += 'index.html';
    const file = path.join(root, path.normalize(name));
    fs.readFile(file, (error, data) => {
      if (error || !file.startsWith(root)) { response.writeHead(404); response.end(); return; }
      response.writeHead(200, { 'content-type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// --- PNG screenshots decoded to RGBA (8-bit, not interlaced, as Chromium writes them)
function decodePng(buffer) {
  let offset = 8, w = 0, h = 0, colourType = 0;
  const chunks = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset), type = buffer.toString('ascii', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') { w = body.readUInt32BE(0); h = body.readUInt32BE(4); colourType = body[9]; }
    if (type === 'IDAT') chunks.push(body);
    offset += 12 + length;
  }
  const channels = colourType === 6 ? 4 : 3;
  const raw = zlib.inflateSync(Buffer.concat(chunks));
  const stride = w * channels, pixels = Buffer.alloc(w * h * 4);
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < h; ++y) {
    const filter = raw[y * (stride + 1)];
    const row = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? row[i - channels] : 0, b = previous[i], c = i >= channels ? previous[i - channels] : 0;
      let predictor = 0;
      if (filter === 1) predictor = a;
      else if (filter === 2) predictor = b;
      else if (filter === 3) predictor = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      row[i] = (row[i] + predictor) & 255;
    }
    for (let x = 0; x < w; ++x) {
      for (let k = 0; k < 3; ++k) pixels[(y * w + x) * 4 + k] = row[x * channels + k];
      pixels[(y * w + x) * 4 + 3] = 255;
    }
    previous = row;
  }
  return { width: w, height: h, pixels };
}

function countPixels(image, test, x0 = 0, y0 = 0, x1 = image.width, y1 = image.height) {
  let n = 0;
  for (let y = y0; y < y1; ++y)
    for (let x = x0; x < x1; ++x) {
      const i = (y * image.width + x) * 4;
      if (test(image.pixels[i], image.pixels[i + 1], image.pixels[i + 2])) ++n;
    }
  return n;
}
// The shots are drawn pale yellow (255, 255, 130..180 at their centres); the
// floor is grey and the title blue-white.
const isYellow = (r, g, b) => r > 200 && g > 200 && r - b > 60 && Math.abs(r - g) < 30;
const isBright = (r, g, b) => r > 235 && g > 235 && b > 235;

// The floor's lines: each row's mean brightness over the lower part of the
// screen, which moves only when the camera follows a walking figure.
function floorProfile(image) {
  const rows = [];
  for (let y = 450; y < 690; ++y) {
    let sum = 0;
    for (let x = 0; x < 1150; ++x) {
      const i = (y * image.width + x) * 4;
      sum += image.pixels[i] + image.pixels[i + 1] + image.pixels[i + 2];
    }
    rows.push(sum / 1150 / 3);
  }
  return rows;
}
const profileChange = (a, b) => a.reduce((sum, v, i) => sum + Math.abs(v - b[i]), 0) / a.length;

// --- checks
const results = [];
function check(name, ok, detail) {
  results.push(ok);
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ` (${detail})` : ''}`);
}

async function openPage(browser, url, initScript) {
  const context = await browser.newContext({ viewport: { width, height } });
  const page = await context.newPage();
  const errors = [];
  page.on('console', message => { if (message.type() === 'error') errors.push(message.text()); });
  page.on('pageerror', error => errors.push(error.message));
  if (initScript) await page.addInitScript(initScript);
  await page.goto(url);
  return { page, errors, close: () => context.close() };
}

const frames = page => page.evaluate(() => (window.Module && Module.quillfrostFrames) || 0);
async function waitFrames(page, count) {
  const target = (await frames(page)) + count;
  await page.waitForFunction(n => (Module.quillfrostFrames || 0) >= n, target, { timeout: 60000 });
}
async function shot(page, name) {
  const buffer = await page.screenshot({ path: name ? path.join(shotDir, name) : undefined });
  return decodePng(buffer);
}

// A stand-in for the browser's gamepad list: one standard pad the test sets.
function installGamepad() {
  const pad = {
    id: 'Test pad (standard)', index: 0, connected: true, mapping: 'standard', timestamp: 0,
    axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })),
  };
  window.setTestPad = (held, axes) => {
    pad.buttons.forEach((button, i) => { button.pressed = held.includes(i); button.value = button.pressed ? 1 : 0; });
    pad.axes = axes.slice();
    pad.timestamp += 1;
  };
  Object.defineProperty(navigator, 'getGamepads', { value: () => [pad, null, null, null] });
}

async function runChecks(browser, base) {
  // Loading, the canvas and the blinking title.
  const game = await openPage(browser, base + '/');
  const { page } = game;
  await waitFrames(page, 10);
  const layout = await page.evaluate(() => {
    const c = document.getElementById('canvas'), r = c.getBoundingClientRect();
    return { x: r.x, y: r.y, w: r.width, h: r.height, bw: c.width, bh: c.height, cursor: getComputedStyle(c).cursor,
             visible: getComputedStyle(c).visibility, vw: innerWidth, vh: innerHeight };
  });
  check('the canvas fills the viewport with a drawing buffer of its size and no cursor',
        layout.x === 0 && layout.y === 0 && layout.w === layout.vw && layout.h === layout.vh && layout.bw === width &&
        layout.bh === height && layout.cursor === 'none' && layout.visible === 'visible', JSON.stringify(layout));
  const titleBright = [];
  let brightest = null, dimmest = null;
  for (let i = 0; i < 16; ++i) {
    const image = await shot(page);
    const n = countPixels(image, isBright, 100, 100, 1060, 240);
    titleBright.push(n);
    if (!brightest || n > brightest.n) brightest = { n, image };
    if (!dimmest || n < dimmest.n) dimmest = { n, image };
    await waitFrames(page, 3);
  }
  const most = Math.max(...titleBright), least = Math.min(...titleBright);
  check('the title picture blinks', most > 5000 && least < most * 0.7, `bright title pixels ${titleBright.join(' ')}`);
  await shot(page, 'title.png');
  const titleYellow = countPixels(await shot(page), isYellow);

  // A held left button starts a game aimed with the mouse; it fires yellow shots.
  await page.mouse.move(900, 200);
  await page.mouse.down();
  await waitFrames(page, 40);
  const firing = await shot(page, 'mouse-fires.png');
  const firingYellow = countPixels(firing, isYellow);
  check('a held left button starts a game and yellow shots appear', firingYellow > titleYellow + 800,
        `yellow pixels ${titleYellow} on the title, ${firingYellow} while firing`);
  await page.mouse.up();

  // Escape ends the game and the page says so.
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => document.body.dataset.ended !== undefined, null, { timeout: 20000 });
  const ended = await page.evaluate(() => ({ code: document.body.dataset.ended,
                                            text: document.getElementById('status').textContent }));
  await shot(page, 'ended.png');
  check('Escape ends the game and the page says so', ended.code === '0' && /game has ended/.test(ended.text),
        JSON.stringify(ended));
  check('the page ran with no console error', game.errors.length === 0, game.errors.join(' | '));
  await game.close();

  // A held key walks the figure: the camera follows it over the floor. A new
  // game, started with a short press, so the figure is not caught meanwhile.
  const keys = await openPage(browser, base + '/');
  const walker = keys.page;
  await waitFrames(walker, 10);
  await walker.mouse.move(640, 150);  // its shots fly up, off the floor measured below
  await walker.mouse.down();
  await waitFrames(walker, 3);
  await walker.mouse.up();
  await waitFrames(walker, 5);
  const before = floorProfile(await shot(walker, 'walk-before.png'));
  await waitFrames(walker, 10);
  const still = floorProfile(await shot(walker));
  await walker.keyboard.down('KeyS');
  await waitFrames(walker, 20);
  const walked = floorProfile(await shot(walker, 'walk-after.png'));
  const standing = profileChange(before, still), walking = profileChange(still, walked);
  check('a held key walks the figure', walking > 4 * standing + 2,
        `floor change ${standing.toFixed(2)} standing, ${walking.toFixed(2)} while S is held`);
  // A page that loses the focus hears no release: the held key is let go then,
  // and the figure slows to a stop. (Kept short: the figures close in.)
  await walker.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
  await waitFrames(walker, 10);
  const blurred = floorProfile(await shot(walker));
  await waitFrames(walker, 10);
  const afterBlur = profileChange(blurred, floorProfile(await shot(walker, 'walk-blurred.png')));
  await walker.keyboard.up('KeyS');
  check('losing the focus releases a held key', afterBlur < walking / 3,
        `floor change ${afterBlur.toFixed(2)} after the blur`);
  check('the keyboard page ran with no console error', keys.errors.length === 0, keys.errors.join(' | '));
  await keys.close();

  // A gamepad: its first button starts a game, the right stick aims and fires.
  const padGame = await openPage(browser, base + '/', installGamepad);
  const pad = padGame.page;
  await waitFrames(pad, 20);
  const padTitleYellow = countPixels(await shot(pad), isYellow);
  await pad.evaluate(() => setTestPad([0], [0, 0, 0, 0]));
  await waitFrames(pad, 5);
  await pad.evaluate(() => setTestPad([], [0, 0, 0.7, -0.7]));
  await waitFrames(pad, 40);
  const padFiring = countPixels(await shot(pad, 'gamepad-fires.png'), isYellow);
  check('a gamepad starts a game and fires', padFiring > padTitleYellow + 800,
        `yellow pixels ${padTitleYellow} on the title, ${padFiring} after the pad's input`);
  check('the gamepad page ran with no console error', padGame.errors.length === 0, padGame.errors.join(' | '));
  await padGame.close();

  // Without the floor's bitmap the page shows the one-line failure.
  const missing = await openPage(browser, base + '/missing/');
  await missing.page.waitForFunction(() => document.getElementById('status').className === 'error', null,
                                     { timeout: 30000 });
  const failure = await missing.page.evaluate(() => document.getElementById('status').textContent);
  await shot(missing.page, 'missing-media.png');
  check('a page without a media file shows the one-line failure in the page and the console',
        /^Quillfrost: .*tiles\.bmp/.test(failure) && !failure.includes('\n') && missing.errors.includes(failure),
        failure);
  await missing.close();
}

async function measure(browser, base, seconds) {
  const game = await openPage(browser, base + '/');
  const { page } = game;
  await waitFrames(page, 10);
  await page.mouse.move(900, 200);
  await page.mouse.down();
  await waitFrames(page, 5);
  const start = await page.evaluate(() => ({ f: Module.quillfrostFrames, w: Module.quillfrostWorkMs, t: performance.now() }));
  await page.waitForTimeout(seconds * 1000);
  const end = await page.evaluate(() => ({ f: Module.quillfrostFrames, w: Module.quillfrostWorkMs, t: performance.now() }));
  const count = end.f - start.f;
  console.log(`page ${width}x${height}: ${count} frames in ${((end.t - start.t) / 1000).toFixed(1)} s = ` +
              `${(count * 1000 / (end.t - start.t)).toFixed(1)} frames/s; game's own work ` +
              `${((end.w - start.w) / count).toFixed(2)} ms/frame (wake-up to Present, WebGL calls included)`);
  await game.close();
}

fs.mkdirSync(shotDir, { recursive: true });
const server = await serve();
const base = `http://127.0.0.1:${server.address().port}`;
const browser = await chromium.launch({
  executablePath: chromiumPath,
  args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
try {
  if (mode === 'measure') await measure(browser, base, Number(measureSeconds) || 10);
  else await runChecks(browser, base);
} catch (error) {
  check('the browser checks ran to the end', false, error.message.split('\n')[0]);
} finally {
  await browser.close();
  server.close();
}
process.exit(results.every(Boolean) ? 0 : 1);
