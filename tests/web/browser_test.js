// The page in headless Chromium: loads, starts on a click, shows the title
// picture, reacts to Space and the arrows, plays sound, keeps 60 frames a
// second, and ends on Escape. Writes its screenshots to the folder given for
// run.sh to compare; prints one line per check and exits 1 on a failure.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [url, outDir] = process.argv.slice(2);
let failed = false;
function check(ok, what, detail = '') {
  console.log(`${ok ? 'ok' : 'FAIL'}: ${what}${detail ? ' (' + detail + ')' : ''}`);
  if (!ok) failed = true;
}
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

(async () => {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'ruzov-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: false, // the flag below says it; puppeteer's would be another mode
    args: [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--autoplay-policy=no-user-gesture-required', '--force-color-profile=srgb',
      `--user-data-dir=${profile}`,
    ],
    defaultViewport: { width: 800, height: 600, deviceScaleFactor: 1 },
  });
  try {
    const page = await browser.newPage();
    page.on('pageerror', (e) => check(false, 'no script error', e.message));
    page.on('console', (m) => m.type() === 'error' && console.log('page: ' + m.text()));
    await page.goto(url, { waitUntil: 'load' });
    await page.waitForFunction(() => ['ready', 'failed'].includes(window.ruzov.state), { timeout: 90000 });
    check(await page.evaluate(() => window.ruzov.state === 'ready'), 'page loads and offers to start',
          await page.$eval('#message', (e) => e.textContent));
    if (failed) return;

    await page.click('#overlay');
    await page.waitForFunction(() => window.ruzov.frames >= 30, { timeout: 20000 });
    const canvas = await page.$('#canvas');
    const box = await canvas.boundingBox();
    const renderer = await page.evaluate(() => window.ruzov.renderer);
    check(box.width === 640 && box.height === 480, 'canvas shown at 1x', `${box.width}x${box.height}, ${renderer}`);
    const shot = (name) => page.screenshot({ path: path.join(outDir, name), clip: box });
    await shot('title.png');

    // Space starts a game; an arrow held turns the ship.
    await page.keyboard.press('Space');
    await sleep(300);
    await shot('play.png');
    await page.keyboard.down('ArrowLeft');
    await sleep(400);
    await page.keyboard.up('ArrowLeft');
    await page.keyboard.down('ArrowUp');
    await sleep(400);
    await page.keyboard.up('ArrowUp');
    await shot('turned.png');
    await page.screenshot({ path: path.join(outDir, 'page.png') });
    const scrolled = await page.evaluate(() => window.scrollX + window.scrollY);
    check(scrolled === 0, 'keys do not scroll the page');

    // Sound: the mixer's output level as the page sees it.
    await sleep(1500);
    const peak = await page.evaluate(() => window.ruzov.peak);
    check(peak > 0.01, 'audio running and not silent', `peak ${peak.toFixed(3)}`);

    // Frames a second over 10 s.
    const load = os.loadavg()[0] / os.cpus().length;
    const f0 = await page.evaluate(() => [window.ruzov.frames, performance.now()]);
    await sleep(10000);
    const f1 = await page.evaluate(() => [window.ruzov.frames, performance.now()]);
    const fps = ((f1[0] - f0[0]) * 1000) / (f1[1] - f0[1]);
    if (load > 2) console.log(`not judged: ${fps.toFixed(1)} frames a second with load ${load.toFixed(1)} a core`);
    else check(fps >= 58, '60 frames a second', `${fps.toFixed(1)}`);
    fs.writeFileSync(path.join(outDir, 'fps.txt'), fps.toFixed(1) + '\n');

    // Escape ends the game: no frame after it, and the page says so.
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => window.ruzov.state === 'ended', { timeout: 5000 }).catch(() => {});
    const endFrames = await page.evaluate(() => window.ruzov.frames);
    await sleep(500);
    const end = await page.evaluate(() => ({
      state: window.ruzov.state,
      frames: window.ruzov.frames,
      text: document.getElementById('message').textContent,
      again: !document.getElementById('again').classList.contains('hidden'),
    }));
    check(end.state === 'ended' && end.frames === endFrames, 'Escape ends the game', `${end.frames} frames`);
    check(end.text === 'The game has ended.' && end.again, 'the page says so and offers to play again');
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
})()
  .catch((e) => check(false, 'browser test ran', e.message))
  .finally(() => process.exit(failed ? 1 : 0));
