// The page's pace in headless Chromium with its own frame-rate limit off, so
// animation frames come as fast as it can draw, as on a fast display: 60
// steps a second by default and never more, more with ?frame_rate=0, and a
// console warning for a value that is no rate. A small viewport, so that
// SwiftShader can draw well over 60 frames a second.
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

// Steps a second over the measured seconds, and the most in any one of them.
async function stepRate(browser, url) {
  const context = await browser.newContext({ viewport: { width: 320, height: 180 } });
  const page = await context.newPage();
  const warnings = [];
  page.on('console', message => { if (message.text().includes('frame_rate')) warnings.push(message.text()); });
  await page.goto(url);
  await page.waitForFunction(() => (window.Module && Module.quillfrostFrames) >= 30, null, { timeout: 60000 });
  const counts = await page.evaluate(async s => {
    const counts = [];
    for (let i = 0; i < s; ++i) {
      const before = Module.quillfrostFrames;
      await new Promise(resolve => setTimeout(resolve, 1000));
      counts.push(Module.quillfrostFrames - before);
    }
    return counts;
  }, seconds);
  await context.close();
  const rate = counts.reduce((a, b) => a + b, 0) / counts.length;
  return { rate, most: Math.max(...counts), counts, warnings };
}

const server = await serve(siteDir);
const base = `http://127.0.0.1:${server.address().port}`;
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
         '--disable-frame-rate-limit', '--disable-gpu-vsync'],
});
try {
  const unpaced = await stepRate(browser, `${base}/?frame_rate=0`);
  // SwiftShader makes only some 70 to 80 frames a second here: a second of
  // more than 64 steps is one that no limiter at 60 lets through.
  check('?frame_rate=0 steps on every animation frame, above 60 a second', unpaced.most > 64,
        `${unpaced.rate.toFixed(1)} steps/s, per second ${unpaced.counts.join(' ')}`);
  const headroom = unpaced.rate > 75;
  for (const [what, query, rate] of [['by default', '', 60], ['?frame_rate=30', '?frame_rate=30', 30]]) {
    const paced = await stepRate(browser, `${base}/${query}`);
    check(`${what}: ${rate} steps a second or just under, never more`,
          paced.rate <= rate + 1 && paced.most <= rate + 2 && (paced.rate >= rate * 0.8 || !headroom) &&
          paced.warnings.length === 0, `${paced.rate.toFixed(1)} steps/s, per second ${paced.counts.join(' ')}`);
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
