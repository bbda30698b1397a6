// Drives the web build in headless Chromium (WebGL 2 through SwiftShader)
// over the DevTools protocol and checks what a player sees: the page, the
// blinking title, mouse, keyboard and gamepad play, the end on Escape, the
// start-up failure of a page whose package lacks a media file, and a phone:
// touch sticks, the sharp canvas, the upright hint, the manifest and a lost
// display.
//
//   node browser_test.mjs SITE_DIR MISSING_SITE_DIR SCREENSHOT_DIR [measure SECONDS [phone|WIDTHxHEIGHT]]
//
// Prints one line per check and exits non-zero if any failed. With "measure"
// it only plays a game for SECONDS, with the mouse in a 1280x720 page (or one
// of the size given) or with touch sticks on the emulated phone, and prints
// the page's frame rate and the game's own milliseconds per frame.
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { serve } from './static_server.mjs';

const [siteDir, missingDir, shotDir, mode, measureSeconds, measureDevice] = process.argv.slice(2);
const width = 1280, height = 720;
// A phone held sideways, as Chromium's device list has it (an iPhone 12's size).
const phone = { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

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
// screen (rows 450..690 and columns below 1150 of a 1280x720 picture, in
// proportion on others), which moves only when the camera follows a walking figure.
function floorProfile(image) {
  const rows = [], columns = Math.round(image.width * 1150 / 1280);
  for (let y = Math.round(image.height * 450 / 720); y < Math.round(image.height * 690 / 720); ++y) {
    let sum = 0;
    for (let x = 0; x < columns; ++x) {
      const i = (y * image.width + x) * 4;
      sum += image.pixels[i] + image.pixels[i + 1] + image.pixels[i + 2];
    }
    rows.push(sum / columns / 3);
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

async function openPage(browser, url, initScript, device = { viewport: { width, height } }) {
  const context = await browser.newContext(device);
  const page = await context.newPage();
  const errors = [];
  page.on('console', message => { if (message.type() === 'error') errors.push(message.text()); });
  page.on('pageerror', error => errors.push(error.message));
  if (initScript) await page.addInitScript(initScript);
  await page.goto(url);
  return { page, errors, close: () => context.close(), cdp: () => context.newCDPSession(page) };
}

const frames = page => page.evaluate(() => (window.Module && Module.quillfrostFrames) || 0);
async function waitFrames(page, count) {
  const target = (await frames(page)) + count;
  await page.waitForFunction(n => (Module.quillfrostFrames || 0) >= n, target, { timeout: 60000 });
}
// The checks read CSS-sized pictures; on a phone the saved ones keep every device pixel.
async function shot(page, name) {
  const buffer = await page.screenshot({ scale: 'css' });
  if (name && await page.evaluate(() => devicePixelRatio) !== 1)
    await page.screenshot({ path: path.join(shotDir, name), scale: 'device' });
  else if (name) fs.writeFileSync(path.join(shotDir, name), buffer);
  return decodePng(buffer);
}
// The touch sticks' rings the page shows now.
const ringsShown = page => page.evaluate(() =>
  [...document.querySelectorAll('.stick-ring')].filter(ring => getComputedStyle(ring).display !== 'none').length);

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
  let ringsWithoutTouch = await ringsShown(page);
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
  ringsWithoutTouch += await ringsShown(walker);
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
  ringsWithoutTouch += await ringsShown(pad);
  check('no touch stick ring shows in the mouse, keyboard and gamepad pages', ringsWithoutTouch === 0,
        `${ringsWithoutTouch} rings shown`);
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

// Fingers on the touch screen, through the DevTools protocol: a start or a
// move lists all fingers down; Chromium lifts the fingers an end lists (all
// of them if it lists none), and not those a move leaves out.
class Fingers {
  constructor(cdp) { this.cdp = cdp; this.points = new Map(); }
  async send(type, points = this.points) {
    const touchPoints = [...points].map(([id, p]) => ({ id, x: p.x, y: p.y }));
    await this.cdp.send('Input.dispatchTouchEvent', { type, touchPoints });
  }
  async down(id, x, y) { this.points.set(id, { x, y }); await this.send('touchStart'); }
  async move(id, x, y) { this.points.set(id, { x, y }); await this.send('touchMove'); }
  async up(id) {
    const lifted = new Map([[id, this.points.get(id)]]);
    this.points.delete(id);
    await this.send('touchEnd', lifted);
  }
  async tap(x, y) { await this.down(99, x, y); await this.up(99); }
}
async function openPhone(browser, base, device = phone) {
  const game = await openPage(browser, base + '/', null, device);
  await waitFrames(game.page, 10);
  game.fingers = new Fingers(await game.cdp());
  return game;
}
// The title's bright pixels, the most of several pictures (it blinks).
async function titleBrightness(page, pictures = 6) {
  let most = 0;
  for (let i = 0; i < pictures; ++i) {
    most = Math.max(most, countPixels(await shot(page), isBright));
    await waitFrames(page, 3);
  }
  return most;
}
// What the sticks read now, as the game's poll sees them.
const stickReading = page => page.evaluate(() => {
  const values = new Float64Array(5);
  quillfrostTouch.sample(values, 0);
  return [...values.subarray(0, 4)].map(v => Math.round(v * 1000) / 1000);
});

async function phoneChecks(browser, base) {
  // The canvas, a tap that starts a game, a thumb that fires, and the page
  // staying put under drags and a pinch.
  const game = await openPhone(browser, base);
  const { page, fingers } = game;
  const layout = await page.evaluate(() => {
    const c = document.getElementById('canvas'), r = c.getBoundingClientRect();
    return { w: r.width, h: r.height, bw: c.width, bh: c.height, vw: innerWidth, vh: innerHeight,
             ratio: devicePixelRatio, rings: document.querySelectorAll('.stick-ring').length };
  });
  const capped = Math.min(layout.ratio, 2);
  check('on the phone the drawing buffer is the screen (here the viewport) times the pixel ratio, capped at 2',
        layout.w === layout.vw && layout.h === layout.vh && layout.bw === Math.round(layout.vw * capped) &&
        layout.bh === Math.round(layout.vh * capped) && layout.bw * layout.bh <= 1920 * 1080 && layout.ratio === 3,
        JSON.stringify(layout));
  const onTitle = await titleBrightness(page);
  await shot(page, 'phone-title.png');
  const ringsBefore = await ringsShown(page);
  // Kept short from here to the last shot: the figures close in on the player's.
  await fingers.tap(422, 200);  // pressed and lifted before any frame can run
  await waitFrames(page, 10);
  const started = await titleBrightness(page, 4);
  await shot(page, 'phone-tapped.png');
  const fullScreen = await page.evaluate(() => document.fullscreenElement === document.documentElement);

  const unfired = countPixels(await shot(page), isYellow);
  const reach = await page.evaluate(() => quillfrostTouch.fullDeflection);
  await fingers.down(1, 640, 200);
  await fingers.move(1, 640 + reach, 200 - reach / 2);
  await waitFrames(page, 30);
  const fired = countPixels(await shot(page, 'phone-fires.png'), isYellow);
  const ringsFiring = await ringsShown(page);
  await fingers.up(1);
  await waitFrames(page, 2);
  const ringsAfter = await ringsShown(page);
  const stillStarted = await titleBrightness(page, 4);
  check('the first tap takes the page to full screen', fullScreen);
  check('a tap starts a game: the title goes and stays gone',
        onTitle > 2000 && started < onTitle / 10 && stillStarted < onTitle / 10 && ringsBefore === 0,
        `bright title pixels ${onTitle} before, ${started} and ${stillStarted} after the tap; ${ringsBefore} rings before`);
  check('a drag on the right half fires, with its ring shown only while touched',
        fired > unfired + 300 && ringsFiring === 1 && ringsAfter === 0,
        `yellow pixels ${unfired} before, ${fired} while the thumb is held; rings ${ringsFiring} then ${ringsAfter}`);

  // Swipes both ways and a pinch, slowly, as a player's would be; the page
  // must not zoom, scroll or reload (pull-to-refresh).
  await page.evaluate(() => { window.stillThisPage = true; });
  for (const [x0, y0, x1, y1] of [[300, 100, 300, 350], [600, 350, 600, 20], [100, 200, 800, 200]]) {
    await fingers.down(5, x0, y0);
    for (let i = 1; i <= 8; ++i) await fingers.move(5, x0 + (x1 - x0) * i / 8, y0 + (y1 - y0) * i / 8);
    await fingers.up(5);
  }
  await fingers.down(6, 380, 200);
  await fingers.down(7, 460, 200);
  for (let i = 1; i <= 8; ++i) {
    await fingers.move(6, 380 - 35 * i, 200 - 10 * i);
    await fingers.move(7, 460 + 35 * i, 200 + 10 * i);
  }
  await fingers.up(7);
  await fingers.up(6);
  await page.waitForTimeout(1000);
  const view = await page.evaluate(() => ({ x: scrollX, y: scrollY, scale: visualViewport.scale,
                                            left: visualViewport.offsetLeft, top: visualViewport.offsetTop,
                                            selected: String(getSelection()), same: window.stillThisPage === true }));
  check('the page neither scrolls, zooms nor reloads after drags and a pinch',
        view.x === 0 && view.y === 0 && view.scale === 1 && view.left === 0 && view.top === 0 &&
        view.selected === '' && view.same, JSON.stringify(view));

  // The sticks' reading: a dead zone, then a straight rise to full
  // deflection at the reach, the direction kept; one thumb per half.
  await fingers.down(1, 200, 200);
  await fingers.move(1, 200 + reach * 0.1, 200);
  const inDeadZone = await stickReading(page);
  await fingers.move(1, 200 + reach * 0.5, 200);
  const half = await stickReading(page);
  await fingers.move(1, 200 + reach * 0.6, 200 - reach * 0.8);
  const diagonal = await stickReading(page);
  await fingers.move(1, 200 - reach * 2, 200);
  const beyond = await stickReading(page);
  await fingers.down(2, 600, 200);
  await fingers.move(2, 600, 200 + reach);
  await fingers.down(3, 100, 300);  // a second thumb on the left half changes nothing
  await fingers.move(3, 130, 330);
  const both = await stickReading(page);
  await fingers.up(3);
  await fingers.up(1);
  const rightOnly = await stickReading(page);
  await fingers.move(2, 600, 1000);  // slides off the bottom of the canvas
  const slidOff = await stickReading(page);
  await fingers.up(2);
  const halfway = Math.round((0.5 - 0.12) / 0.88 * 1000) / 1000;
  const expected = [[0, 0, 0, 0], [halfway, 0, 0, 0], [0.6, -0.8, 0, 0], [-1, 0, 0, 0], [-1, 0, 0, 1],
                    [0, 0, 0, 1], [0, 0, 0, 0]];
  const readings = [inDeadZone, half, diagonal, beyond, both, rightOnly, slidOff];
  check('the sticks read a dead zone, the full deflection at the reach, both thumbs apart, and let go',
        readings.every((r, i) => r.every((v, k) => Math.abs(v - expected[i][k]) < 0.002)),
        readings.map(r => r.join(',')).join(' | '));
  check('the phone page ran with no console error', game.errors.length === 0, game.errors.join(' | '));
  await game.close();
}

async function phoneWalks(browser, base) {
  // A thumb on the left half walks the figure and stops it when lifted; then
  // both thumbs walk and fire at once. A fresh game, as the figures close in.
  const game = await openPhone(browser, base);
  const { page, fingers } = game;
  await fingers.tap(422, 200);
  await waitFrames(page, 10);
  const before = floorProfile(await shot(page));
  await waitFrames(page, 10);
  const still = floorProfile(await shot(page));
  const reach = await page.evaluate(() => quillfrostTouch.fullDeflection);
  await fingers.down(1, 200, 250);
  await fingers.move(1, 200, 250 + reach);
  await waitFrames(page, 20);
  const walked = floorProfile(await shot(page, 'phone-walks.png'));
  const standing = profileChange(before, still), walking = profileChange(still, walked);
  await fingers.up(1);
  await waitFrames(page, 10);
  const lifted = floorProfile(await shot(page));
  await waitFrames(page, 10);
  const afterLift = profileChange(lifted, floorProfile(await shot(page)));
  check('a drag on the left half walks the figure, which stops when the thumb lifts',
        walking > 4 * standing + 2 && afterLift < walking / 3,
        `floor change ${standing.toFixed(2)} standing, ${walking.toFixed(2)} walking, ${afterLift.toFixed(2)} after the lift`);

  check('the walking phone page ran with no console error', game.errors.length === 0, game.errors.join(' | '));
  await game.close();

  // Both thumbs at once, in a new game: the pictures above take long enough
  // for the figures to catch the player's.
  const again = await openPhone(browser, base);
  await again.fingers.tap(422, 200);
  await waitFrames(again.page, 10);
  await twoThumbs(again, reach, standing);
  await again.close();
}

async function twoThumbs(game, reach, standing) {
  const { page, fingers } = game;
  const rested = await shot(page);
  const unfired = countPixels(rested, isYellow);
  await fingers.down(1, 200, 250);
  await fingers.down(2, 640, 250);
  await fingers.move(1, 200, 250 + reach);  // walk down the screen, which moves the floor's rows
  await fingers.move(2, 640, 250 - reach);  // and aim up, off the floor measured
  await waitFrames(page, 25);
  const both = await shot(page, 'phone-two-thumbs.png');
  const bothYellow = countPixels(both, isYellow), bothWalk = profileChange(floorProfile(rested), floorProfile(both));
  const rings = await ringsShown(page);
  await fingers.up(2);
  await fingers.up(1);
  check('two thumbs at once walk and fire', bothWalk > 4 * standing + 2 && bothYellow > unfired + 300 && rings === 2,
        `floor change ${bothWalk.toFixed(2)}, yellow pixels ${unfired} before, ${bothYellow} with both; ${rings} rings`);
  check('the two-thumb phone page ran with no console error', game.errors.length === 0, game.errors.join(' | '));
}

// The line of the shots fired toward the cursor: the principal direction of
// the yellow pixels, in degrees, however far the shots have flown.
function shotLineAngle(image) {
  let n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
  for (let y = 0; y < image.height; ++y)
    for (let x = 0; x < image.width; ++x) {
      const i = (y * image.width + x) * 4;
      if (!isYellow(image.pixels[i], image.pixels[i + 1], image.pixels[i + 2])) continue;
      ++n; sx += x; sy += y; sxx += x * x; syy += y * y; sxy += x * y;
    }
  if (n < 50) return NaN;
  const cxx = sxx / n - (sx / n) ** 2, cyy = syy / n - (sy / n) ** 2, cxy = sxy / n - (sx / n) * (sy / n);
  return 0.5 * Math.atan2(2 * cxy, cxx - cyy) * 180 / Math.PI;
}

async function sharpMouse(browser, base) {
  // A high-density desktop screen: the buffer takes the pixel ratio within
  // about 1920x1080 pixels, and the mouse aims at the same place as at ratio 1.
  const found = [];
  for (const ratio of [1, 2]) {
    const game = await openPage(browser, base + '/', null, { viewport: { width, height }, deviceScaleFactor: ratio });
    const { page } = game;
    await waitFrames(page, 10);
    await page.mouse.move(900, 200);
    await page.mouse.down();
    await waitFrames(page, 30);
    const image = await shot(page, ratio === 2 ? 'mouse-ratio-2.png' : undefined);
    const buffer = await page.evaluate(() => `${document.getElementById('canvas').width}x${document.getElementById('canvas').height}`);
    found.push({ ratio, buffer, angle: shotLineAngle(image), errors: game.errors.length });
    await game.close();
  }
  check('at pixel ratio 2 the page draws 1920x1080 and the mouse fires along the same line as at ratio 1',
        found[0].buffer === '1280x720' && found[1].buffer === '1920x1080' && Math.abs(found[0].angle - found[1].angle) < 4 &&
        found.every(f => f.errors === 0), JSON.stringify(found));
}

async function phoneUpright(browser, base) {
  const upright = { ...phone, viewport: { width: phone.viewport.height, height: phone.viewport.width } };
  const game = await openPhone(browser, base, upright);
  const { page, fingers } = game;
  const onTitle = await titleBrightness(page);
  for (let i = 0; i < 3; ++i) {
    await fingers.tap(195, 300 + 100 * i);
    await waitFrames(page, 10);
  }
  await fingers.down(1, 100, 400);
  await fingers.move(1, 100, 500);
  await waitFrames(page, 20);
  const afterTaps = await titleBrightness(page);
  const state = await page.evaluate(() => {
    const hint = document.getElementById('turn-sideways'), c = document.getElementById('canvas');
    return { hint: getComputedStyle(hint).display !== 'none' ? hint.textContent : '', bw: c.width, bh: c.height };
  });
  const rings = await ringsShown(page);
  await fingers.up(1);
  await shot(page, 'phone-upright.png');
  check('held upright, the phone says to turn it and the game stays on the title',
        state.hint === 'Turn your device sideways to play' && onTitle > 1000 && afterTaps > onTitle / 2 && rings === 0,
        `${JSON.stringify(state)}; bright title pixels ${onTitle} before, ${afterTaps} after taps and a drag; ${rings} rings`);
  await game.close();
  // The browser's bars take part of the screen until the first tap goes full
  // screen: the game draws for the whole screen all the same.
  const barred = await openPhone(browser, base, { ...phone, viewport: { width: 844, height: 334 },
                                                  screen: { width: 844, height: 390 } });
  const barredBuffer = await barred.page.evaluate(() =>
    `${document.getElementById('canvas').width}x${document.getElementById('canvas').height}`);
  await barred.close();
  check('held upright or under the browser\'s bars, the game draws for the sideways screen it is played on',
        state.bw === 1688 && state.bh === 780 && barredBuffer === '1688x780',
        `upright ${state.bw}x${state.bh}, under bars ${barredBuffer}`);
}

async function phoneManifestAndLostDisplay(browser, base) {
  const game = await openPhone(browser, base);
  const { page } = game;
  const installed = await page.evaluate(async () => {
    const link = document.querySelector('link[rel="manifest"]');
    const manifest = await (await fetch(link.href)).json();
    const icons = [];
    for (const icon of manifest.icons || []) {
      const response = await fetch(new URL(icon.src, link.href));
      const bytes = new Uint8Array(await response.arrayBuffer());
      const size = offset => ((bytes[offset] << 24) | (bytes[offset + 1] << 16) | (bytes[offset + 2] << 8) | bytes[offset + 3]);
      const png = response.ok && String.fromCharCode(...bytes.subarray(1, 4)) === 'PNG';
      icons.push({ sizes: icon.sizes, type: icon.type, found: png ? `${size(16)}x${size(20)}` : `status ${response.status}` });
    }
    return { name: manifest.name, display: manifest.display, orientation: manifest.orientation,
             theme: manifest.theme_color, start: manifest.start_url, icons };
  });
  check('the manifest is served, parses and names icons that exist at their sizes',
        installed.name === 'Quillfrost' && installed.display === 'fullscreen' && installed.orientation === 'landscape' &&
        /^#[0-9a-f]{6}$/i.test(installed.theme || '') && installed.icons.length >= 2 &&
        installed.icons.some(icon => icon.sizes === '512x512') &&
        installed.icons.every(icon => icon.found === icon.sizes && icon.type === 'image/png'),
        JSON.stringify(installed));

  // The phone takes the WebGL context away: one line, in the page and the
  // console, and nothing after it: the game stops stepping.
  await page.evaluate(() => document.getElementById('canvas').getContext('webgl2')
                                    .getExtension('WEBGL_lose_context').loseContext());
  await page.waitForFunction(() => document.getElementById('status').className === 'error', null, { timeout: 10000 });
  const errorsAtLoss = game.errors.length;
  const framesAtLoss = await frames(page);
  await page.waitForTimeout(2000);
  const framesAfter = await frames(page);
  const lost = await page.evaluate(() => document.getElementById('status').textContent);
  await shot(page, 'phone-display-lost.png');
  check('a lost display shows one line in the page and the console, and no error follows',
        /^Quillfrost: the display was lost.*reload/.test(lost) && !lost.includes('\n') && errorsAtLoss === 1 &&
        game.errors[0] === lost && game.errors.length === 1 && framesAfter - framesAtLoss <= 1,
        `"${lost}"; console errors: ${game.errors.join(' | ')}; ${framesAfter - framesAtLoss} frames after the loss`);
  await game.close();
}

async function measure(browser, base, seconds, device) {
  const size = /^(\d+)x(\d+)$/.exec(device || '');
  const touch = device === 'phone';
  const game = touch ? await openPhone(browser, base)
    : await openPage(browser, base + '/', null, { viewport: size ? { width: +size[1], height: +size[2] } : { width, height } });
  const { page } = game;
  await waitFrames(page, 10);
  if (touch) {
    await game.fingers.tap(422, 200);
    await game.fingers.down(1, 640, 200);
    await game.fingers.move(1, 720, 160);
  } else {
    await page.mouse.move(900, 200);
    await page.mouse.down();
  }
  await waitFrames(page, 5);
  const start = await page.evaluate(() => ({ f: Module.quillfrostFrames, w: Module.quillfrostWorkMs, t: performance.now() }));
  await page.waitForTimeout(seconds * 1000);
  const end = await page.evaluate(() => ({ f: Module.quillfrostFrames, w: Module.quillfrostWorkMs, t: performance.now() }));
  const count = end.f - start.f;
  const canvas = await page.evaluate(() => `${innerWidth}x${innerHeight} CSS pixels, drawing buffer ` +
    `${document.getElementById('canvas').width}x${document.getElementById('canvas').height}`);
  console.log(`${touch ? 'phone' : 'page'} ${canvas}: ${count} frames in ${((end.t - start.t) / 1000).toFixed(1)} s = ` +
              `${(count * 1000 / (end.t - start.t)).toFixed(1)} frames/s; game's own work ` +
              `${((end.w - start.w) / count).toFixed(2)} ms/frame (wake-up to Present, WebGL calls included)`);
  await game.close();
}

fs.mkdirSync(shotDir, { recursive: true });
const server = await serve(siteDir, missingDir);
const base = `http://127.0.0.1:${server.address().port}`;
const browser = await chromium.launch({
  executablePath: chromiumPath,
  args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
try {
  if (mode === 'measure') await measure(browser, base, Number(measureSeconds) || 10, measureDevice);
  else {
    await runChecks(browser, base);
    await sharpMouse(browser, base);
    await phoneChecks(browser, base);
    await phoneWalks(browser, base);
    await phoneUpright(browser, base);
    await phoneManifestAndLostDisplay(browser, base);
  }
} catch (error) {
  check('the browser checks ran to the end', false, error.message.split('\n')[0]);
} finally {
  await browser.close();
  server.close();
}
process.exit(results.every(Boolean) ? 0 : 1);
