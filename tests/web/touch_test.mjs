// Touch play on an emulated phone (740 x 360, touch, no pad) on the test build, which shows
// player 1 to the page: taps into a round, two fingers walk and strike, the upright hint.
// Usage: node --experimental-websocket touch_test.mjs SITE_URL OUT_DIR PROFILE_DIR
import { launch, pageTools, sleep } from "./cdp.mjs";

const [url, outDir, profile] = process.argv.slice(2);
let failures = 0;
const check = (ok, what) => { console.log(`${ok ? "ok  " : "FAIL"} ${what}`); failures += ok ? 0 : 1; };
const kWide = 740, kHigh = 360;
const browser = await launch(profile, { width: kWide, height: kHigh });
const { send, evaluate, screenshot, waitForPage } = pageTools(browser, outDir, "touch");
const phone = (w, h, type) => send("Emulation.setDeviceMetricsOverride",
  { width: w, height: h, deviceScaleFactor: 1, mobile: true, screenOrientation: { type, angle: w > h ? 90 : 0 } });
// Every finger on the screen at once, [x, y] in the page's pixels; the others lift.
const touch = (fingers) => send("Input.dispatchTouchEvent", {
  type: fingers.length ? "touchStart" : "touchEnd", touchPoints: fingers.map(([x, y], id) => ({ x, y, id })) });
const tap = async (at) => { await touch([at]); await sleep(60); await touch([]); await sleep(700); };
// Sideways the screen is 640 units wide: the stick's middle 72 units in from the bottom
// left corner, Strike's 143 and 60 units in from the bottom right.
const unit = kWide / 640;
const thumb = [(72 + 40) * unit, kHigh - 72 * unit], strike = [kWide - 143 * unit, kHigh - 60 * unit];
// The middle of the Hard plate of the title's wheel, in the bottom left, by its colour.
async function hardPlate() {
  const shot = await screenshot("title");
  let n = 0, sx = 0, sy = 0;
  for (let y = 150; y < kHigh; ++y) for (let x = 0; x < kWide / 2; ++x) {
    const [r, g, b] = shot.at(x, y);
    if (Math.abs(r - 230) + Math.abs(g - 50) + Math.abs(b - 60) < 60) { ++n; sx += x; sy += y; }
  }
  return n > 150 ? [sx / n, sy / n] : null;
}

try {
  await phone(kWide, kHigh, "landscapePrimary");
  await send("Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 5 });
  await send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await send("Page.navigate", { url });
  await waitForPage("!document.getElementById('start').classList.contains('hidden')", 30);
  await tap([kWide / 2, kHigh / 2]);
  for (let i = 0; i < 60 && !await hardPlate(); ++i) await sleep(100);
  await sleep(1000);  // the title has come in
  const hard = await hardPlate();
  if (hard) await tap(hard);  // the wheel turns to it
  const chosen = await hardPlate();
  if (chosen) await tap(chosen);
  check(hard && chosen && await waitForPage("Module.playerOne && Module.playerOne.health > 0", 10),
        "taps start the game, turn the wheel to Hard and start a round with player 1 in");

  await sleep(800);  // landed
  const start = await evaluate("Module.playerOne");
  await touch([thumb]);
  await sleep(600);
  const walking = await evaluate("Module.playerOne");
  await touch([thumb, strike]);
  const struck = await waitForPage("Module.playerOne.attack > 0", 2);
  await screenshot("walk_and_strike");
  await sleep(700);
  const after = await evaluate("Module.playerOne");
  await touch([]);
  check(walking.x > start.x + 30 && struck && after.attack > 16 && after.x > walking.x + 40,
        `the stick walks player 1 (x ${start.x}, ${walking.x}), a second finger strikes as it walks on (${after.x})`);

  const hint = () => evaluate("getComputedStyle(document.getElementById('turn')).display != 'none'");
  const sideways = await hint();
  await phone(kHigh, kWide, "portraitPrimary");
  check(!sideways && await hint(), "held upright the phone asks to be turned, sideways it does not");
} catch (error) {
  check(false, `the run went through (${error.stack})`);
} finally {
  await browser.close();
}
process.exit(failures ? 1 : 0);
