// Opens the page a web server serves in headless Chromium (WebGL 2 through
// SwiftShader), lets the game run, and writes screenshots of its title.
//
//   node served_page.mjs URL SCREENSHOT_DIR
//
// Prints the frames run and any console error; exits non-zero if the game ran
// no frames or the page reported an error.
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

// playwright-core as the browser tests install it (tests/web/package-lock.json).
const here = path.dirname(fileURLToPath(import.meta.url));
const { chromium } = createRequire(path.join(here, '../web/package.json'))('playwright-core');
const [url, shotDir] = process.argv.slice(2);

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
let ok = false;
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 720 } });
  const errors = [];
  page.on('console', message => { if (message.type() === 'error') errors.push(message.text()); });
  page.on('pageerror', error => errors.push(error.message));
  await page.goto(url);
  const frames = () => page.evaluate(() => (window.Module && Module.quillfrostFrames) || 0);
  // The title blinks: shots a few frames apart catch it lit.
  for (let i = 0; i < 8; ++i) {
    const target = (await frames()) + 4;
    await page.waitForFunction(n => (Module.quillfrostFrames || 0) >= n, target, { timeout: 60000 });
    await page.screenshot({ path: path.join(shotDir, `title-${i}.png`) });
  }
  console.log(`frames run: ${await frames()}; console errors: ${errors.length ? errors.join(' | ') : 'none'}`);
  ok = errors.length === 0;
} catch (error) {
  console.log(`the page did not run: ${error.message.split('\n')[0]}`);
} finally {
  await browser.close();
}
process.exit(ok ? 0 : 1);
