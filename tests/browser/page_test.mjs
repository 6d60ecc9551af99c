// grx draw's page of a controller in a real browser: Debian's chromium, headless, driven by
// playwright-core. It opens the demo's page from its file, follows a sub-chart, a global
// variable's connector, the search and a finding, checks what is shown, and takes a screenshot of
// every chart, which must be of the drawing's size and not blank.
//
//   node page_test.mjs PAGE.html SCREENSHOT_FOLDER
import { chromium } from 'playwright-core';
import { mkdirSync, writeFileSync } from 'node:fs';
import { resolve } from 'node:path';

const [pageFile, shots] = process.argv.slice(2).map(p => resolve(p));
mkdirSync(shots, { recursive: true });
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

const browser = await chromium.launch({
  executablePath: process.env.GRX_CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1400, height: 900 } });
  const errors = [], requests = [];
  page.on('pageerror', e => errors.push(e.message));
  page.on('console', m => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('request', r => requests.push(r.url()));
  await page.goto('file://' + pageFile);
  const shown = () => page.locator('#drawing').getAttribute('data-chart');
  const selected = () => page.locator('#drawing .selected').first().getAttribute('data-path');

  check(await shown() === 'D445_AXES/Axis1', 'the first chart is shown when the page opens');
  // A sub-chart leads to its drawing, and the tree marks it.
  await page.locator('#drawing .subchart[data-path="D445_AXES/Axis1/Homing"]').click();
  check(await shown() === 'D445_AXES/Axis1/Homing', 'a click on the sub-chart Homing shows it');
  check((await page.locator('#tree button.current').textContent()) === 'Homing', 'the tree marks Homing');
  // A global's connector lists its uses and leads to the other end.
  await page.locator('#tree button[data-path="D445_AXES/Axis1"]').click();
  await page.locator('#drawing .connector.global[data-label="gLineSpeed"]').first().click();
  check(await page.locator('#uses button.use').count() === 2, 'gLineSpeed lists its two uses');
  check(await shown() === 'D445_AXES/Axis2', 'the connector leads to the other use, in Axis2');
  check(await selected() === 'D445_AXES/Axis2/Ramp2', 'the block that uses it there is marked');
  // The search over the globals.
  await page.locator('#search').fill('linesp');
  check(await page.locator('#results button').count() === 1, 'the search finds gLineSpeed alone');
  await page.locator('#results button').first().click();
  await page.locator('#uses button.use').first().click();
  check(await shown() === 'D445_AXES/Axis1' && await selected() === 'D445_AXES/Axis1/Ramp1',
        'a use from the search shows Ramp1 in Axis1');
  // The findings, each leading to its chart.
  const findings = await page.locator('#findings button').count();
  check(findings > 0, 'the check\'s findings are listed');
  if (findings > 0) {
    const text = await page.locator('#findings button').first().textContent();
    await page.locator('#findings button').first().click();
    const object = text.slice(0, text.indexOf(':')), chart = await shown();
    check(chart.startsWith(object) || object.startsWith(chart), 'a finding shows its chart: ' + text);
  }
  // A screenshot of every chart: the drawing's size, and not blank.
  const charts = await page.locator('#tree button').evaluateAll(bs => bs.map(b => b.dataset.path));
  for (const chart of charts) {
    await page.locator(`#tree button[data-path="${chart}"]`).click();
    const svg = page.locator('#drawing svg');
    const width = Number(await svg.getAttribute('width')), height = Number(await svg.getAttribute('height'));
    const png = await svg.screenshot();
    writeFileSync(`${shots}/${chart.replaceAll('/', '_')}.png`, png);
    const seen = await page.evaluate(async (data) => {
      const image = new Image();
      image.src = 'data:image/png;base64,' + data;
      await image.decode();
      const canvas = document.createElement('canvas');
      canvas.width = image.naturalWidth;
      canvas.height = image.naturalHeight;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const pixels = context.getImageData(0, 0, canvas.width, canvas.height).data;
      let inked = 0;
      for (let i = 0; i < pixels.length; i += 4) {
        if (pixels[i] + pixels[i + 1] + pixels[i + 2] < 600) inked++;
      }
      return { width: image.naturalWidth, height: image.naturalHeight, inked };
    }, png.toString('base64'));
    check(seen.width === width && seen.height === height,
          `${chart}: screenshot ${seen.width}x${seen.height}, drawing ${width}x${height}`);
    check(seen.inked > 500, `${chart}: the screenshot is blank (${seen.inked} inked pixels)`);
  }
  check(charts.length === 8, `the tree lists the eight charts of D445_AXES (${charts.length})`);
  check(errors.length === 0, 'the page reports no errors: ' + errors.join('; '));
  const elsewhere = requests.filter(u => u !== 'file://' + pageFile && !u.startsWith('data:'));
  check(elsewhere.length === 0, 'the page fetches nothing: ' + elsewhere.join(', '));
  console.log(`page_test: ${charts.length} charts shown and photographed into ${shots}`);
} finally {
  await browser.close();
}
if (failures.length) {
  for (const f of failures) console.error('page_test: ' + f);
  process.exit(1);
}
