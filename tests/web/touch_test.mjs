// Touch play on an emulated phone held sideways (740 x 360, a touch screen, no pad), on the
// test build of the site, which shows player 1's place and strike to the page: a tap starts
// the game, a tap on a plate of the title turns the wheel and one more starts the round
// with player 1 in; a thumb on the stick walks while a second finger strikes; a key hides
// the touch controls and a touch brings them back; held upright, the phone shows the hint
// to turn it.
// Usage: node --experimental-websocket touch_test.mjs SITE_URL OUT_DIR PROFILE_DIR
import { launch, pageTools, sleep } from "./cdp.mjs";

const [url, outDir, profile] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { console.log(`${ok ? "ok  " : "FAIL"} ${what}`); if (!ok) failures.push(what); };

const kWide = 740, kHigh = 360;
const browser = await launch(profile, { width: kWide, height: kHigh });
const { send, evaluate, screenshot, key, waitForPage } = pageTools(browser, outDir, "touch");
const exceptions = [];
browser.on((method, params) => {
  if (method === "Runtime.exceptionThrown") exceptions.push(params.exceptionDetails.text);
});
const phone = (sideways) => send("Emulation.setDeviceMetricsOverride", {
  width: sideways ? kWide : kHigh, height: sideways ? kHigh : kWide, deviceScaleFactor: 1, mobile: true,
  screenOrientation: sideways ? { type: "landscapePrimary", angle: 90 } : { type: "portraitPrimary", angle: 0 } });

// Every finger on the screen at once, as [x, y] in the page's pixels; fingers missing
// from the last call are lifted.
const touch = (fingers) => send("Input.dispatchTouchEvent", {
  type: fingers.length ? "touchStart" : "touchEnd", touchPoints: fingers.map(([x, y], id) => ({ x, y, id })) });
async function tap([x, y]) {
  await touch([[x, y]]);
  await sleep(60);
  await touch([]);
  await sleep(300);
}
// Sideways the virtual screen is 640 units wide: the stick's middle stands 72 units in from
// the bottom left corner, Strike 146 and 85 units in from the bottom right.
const unit = kWide / 640;
const stick = [72 * unit, kHigh - 72 * unit], strike = [kWide - 146 * unit, kHigh - 85 * unit];
// The middle of what the picture shows in one colour, in a part of it.
function middleOf(shot, [r, g, b], [x0, y0, x1, y1]) {
  let n = 0, sx = 0, sy = 0;
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      const p = shot.at(x, y);
      if (Math.abs(p[0] - r) + Math.abs(p[1] - g) + Math.abs(p[2] - b) < 60) { ++n; sx += x; sy += y; }
    }
  }
  return n > 150 ? [sx / n, sy / n] : null;
}
const kNormal = [250, 170, 40], kHard = [230, 50, 60], kWheelCorner = [0, 150, 370, 360];
const playerOne = () => evaluate("Module.playerOne || { health: 0, x: 0, attack: 0 }");
// The bottom right corner, where Jump stands: how far two pictures differ there.
function jumpCornerChange(a, b) {
  let sum = 0;
  for (let y = kHigh - 90; y < kHigh; ++y) for (let x = kWide - 90; x < kWide; ++x) {
    const p = a.at(x, y), q = b.at(x, y);
    sum += Math.abs(p[0] - q[0]) + Math.abs(p[1] - q[1]) + Math.abs(p[2] - q[2]);
  }
  return sum / (90 * 90 * 3);
}
const hintShown = () => evaluate("getComputedStyle(document.getElementById('turn')).display !== 'none'");

try {
  await send("Runtime.enable");
  await phone(true);
  await send("Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 5 });
  await send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await send("Page.navigate", { url });
  await waitForPage("!document.getElementById('start').classList.contains('hidden')", 30);
  await tap([kWide / 2, kHigh / 2]);
  let normal = null;
  for (let i = 0; i < 60 && !normal; ++i) normal = middleOf(await screenshot("title"), kNormal, kWheelCorner);
  const hard = normal && middleOf(await screenshot("title"), kHard, kWheelCorner);
  check(hard !== null, "a tap starts the game on the title");
  if (hard) await tap(hard);
  await sleep(700);  // the wheel turns
  const chosen = middleOf(await screenshot("hard"), kHard, kWheelCorner);
  if (chosen) await tap(chosen);
  check(chosen !== null && await waitForPage("Module.playerOne && Module.playerOne.health > 0", 10),
        "a tap on Hard turns the wheel, one more starts a round with player 1 in");

  // While player 1 drops in, before any opponent comes.
  const shown = await screenshot("controls");
  await key("ArrowUp");
  const hidden = await screenshot("after_key");
  await tap([kWide / 2, kHigh / 3]);
  const again = await screenshot("after_touch");
  console.log(`Jump's corner: ${jumpCornerChange(shown, hidden).toFixed(1)} after a key, ` +
              `${jumpCornerChange(shown, again).toFixed(1)} after a touch`);
  check(jumpCornerChange(shown, hidden) > 8 && jumpCornerChange(shown, again) < 3,
        "a key hides the touch controls and a touch shows them again");

  await sleep(800);  // landed
  const start = await playerOne();
  await touch([[stick[0] + 40 * unit, stick[1]]]);  // the thumb pushes right
  await sleep(600);
  const walking = await playerOne();
  await touch([[stick[0] + 40 * unit, stick[1]], strike]);
  const struck = await waitForPage("Module.playerOne.attack > 0", 2);
  await screenshot("walk_and_strike");
  const striking = await playerOne();
  await sleep(700);
  const after = await playerOne();
  await touch([]);
  console.log(`player 1 at x ${start.x}, ${walking.x} walking, ${after.x} striking (attack ${after.attack})`);
  check(walking.x > start.x + 30 && struck && after.attack > 16 && after.x > striking.x + 20,
        "the stick walks player 1, and a second finger strikes while it walks on");

  const sideways = await hintShown();
  await phone(false);
  await sleep(300);
  const upright = await hintShown();
  await screenshot("upright");
  check(!sideways && upright, "held upright the phone asks to be turned, sideways it does not");
  check(exceptions.length === 0, `no page exception (${exceptions.join("; ")})`);
} catch (error) {
  check(false, `the run went through (${error.stack})`);
} finally {
  await browser.close();
}
process.exit(failures.length ? 1 : 0);
