// The page's pace in headless Chromium with its own frame-rate limit off, so
// animation frames come as fast as it can draw, as on a fast display: 60
// steps a second by default and never more, a step on every animation frame
// with ?frame_rate=0, and a console warning for a value that is no rate. A
// small viewport, so that SwiftShader can draw well over 60 frames a second.
//
//   node pace_test.mjs SITE_DIR
import { chromium } from 'playwright-core';
import { serve } from './static_server.mjs';

const [siteDir] = process.argv.slice(2);
const seconds = 5;
const results = [];
function check(name, ok, detail) {
  results.push(ok);
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ` (${detail})` : ''}`);
}

// Steps a second over the measured seconds, the most in any one of them, and
// the animation frames the browser gave in each second, counted by a callback
// of the page's own that asks for every frame.
async function stepRate(browser, url) {
  const context = await browser.newContext({ viewport: { width: 320, height: 180 } });
  await context.addInitScript(() => {
    window.animationFrames = 0;
    const count = () => { window.animationFrames += 1; requestAnimationFrame(count); };
    requestAnimationFrame(count);
  });
  const page = await context.newPage();
  const warnings = [];
  page.on('console', message => { if (message.text().includes('frame_rate')) warnings.push(message.text()); });
  await page.goto(url);
  await page.waitForFunction(() => (window.Module && Module.quillfrostFrames) >= 30, null, { timeout: 60000 });
  const measured = await page.evaluate(async s => {
    const counts = [], frames = [];
    for (let i = 0; i < s; ++i) {
      const steps = Module.quillfrostFrames, shown = window.animationFrames;
      await new Promise(resolve => setTimeout(resolve, 1000));
      counts.push(Module.quillfrostFrames - steps);
      frames.push(window.animationFrames - shown);
    }
    return { counts, frames };
  }, seconds);
  await context.close();
  const { counts, frames } = measured;
  const rate = counts.reduce((a, b) => a + b, 0) / counts.length;
  return { rate, most: Math.max(...counts), counts, frames, warnings };
}
// A measurement for the checks' lines: the rate, then steps/frames per second.
const described = measured => `${measured.rate.toFixed(1)} steps/s; steps against frames per second ${
  measured.counts.map((steps, i) => `${steps}/${measured.frames[i]}`).join(' ')}`;

const server = await serve(siteDir);
const base = `http://127.0.0.1:${server.address().port}`;
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
         '--disable-frame-rate-limit', '--disable-gpu-vsync'],
});
try {
  const unpaced = await stepRate(browser, `${base}/?frame_rate=0`);
  // Each step costs SwiftShader 13 to 35 ms of this machine's CPU, so how many
  // frames a second the browser gives depends on the load. A limiter would
  // skip frames, which then cost next to nothing and come at 80 to 110 a
  // second (see the paced runs' frames): so a step on every frame, second by
  // second, is what tells no limit from one.
  check('?frame_rate=0 steps on every animation frame', unpaced.counts.every((steps, i) =>
          unpaced.frames[i] > 0 && steps >= unpaced.frames[i] - 1), described(unpaced));
  // Where the page can step well over 60 a second, some second must come near
  // the rate: a limiter that waits too long never does, and one second asks
  // less of a shared machine's load than the mean would.
  const headroom = unpaced.rate > 75;
  for (const [what, query, rate] of [['by default', '', 60], ['?frame_rate=30', '?frame_rate=30', 30]]) {
    const paced = await stepRate(browser, `${base}/${query}`);
    check(`${what}: ${rate} steps a second or just under, never more`,
          paced.rate <= rate + 1 && paced.most <= rate + 2 && (paced.most >= rate - 3 || !headroom) &&
          paced.warnings.length === 0, described(paced));
  }
  const bad = await stepRate(browser, `${base}/?frame_rate=fast`);
  check('a bad ?frame_rate warns once in the console and steps at 60',
        bad.warnings.length === 1 && bad.warnings[0].includes('"fast"') && bad.rate <= 61,
        `${bad.rate.toFixed(1)} steps/s; ${JSON.stringify(bad.warnings)}`);
} catch (error) {
  check('the pace checks ran to the end', false, error.message.split('\n')[0]);
} finally {
  await browser.close();
  server.close();
}
console.log(`${results.filter(Boolean).length} passed, ${results.filter(ok => !ok).length} failed`);
process.exit(results.every(Boolean) ? 0 : 1);
