// Measures the site in headless Chromium: time from navigation to the title menu with an
// empty cache and with the files cached, and, in the heaviest round (four players on Hard,
// every opponent record filled, every particle alive: the test build fills it on request),
// updates per second and main-thread time per animation frame. Updates are counted where
// the game samples the pads, which it does once per update.
// Usage: node --experimental-websocket measure_site.mjs SITE_URL TEST_SITE_URL PROFILE_DIR [ROUND.png]
import { writeFileSync } from "node:fs";
import { launch, readPng, sleep } from "../../tests/web/cdp.mjs";

const [url, testUrl, profile, roundShot] = process.argv.slice(2);
const kPreamble = `
  window.pads = [0, 1, 2, 3].map((index) => ({
    id: "Pretend pad " + (index + 1), index, connected: true, mapping: "standard", timestamp: 0,
    axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) }));
  window.updates = 0;
  Object.defineProperty(Navigator.prototype, "getGamepads", { configurable: true,
    value: () => { window.updates += 1; return window.pads; } });
  window.setButton = (pad, button, down) => {
    window.pads[pad].buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
  };
  window.frameTimes = [];
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    const start = performance.now();
    callback(time);
    window.frameTimes.push(performance.now() - start);
  });`;

const browser = await launch(profile);
const { send } = browser;
await send("Page.enable");
await send("Runtime.enable");
await send("Emulation.setFocusEmulationEnabled", { enabled: true });
await send("Emulation.setDeviceMetricsOverride", { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });
await send("Page.addScriptToEvaluateOnNewDocument", { source: kPreamble });
const evaluate = async (expression) => (await send("Runtime.evaluate", { expression, returnByValue: true })).result.value;
const near = (p, r, g, b, d) => Math.abs(p[0] - r) <= d && Math.abs(p[1] - g) <= d && Math.abs(p[2] - b) <= d;
function showsMenu(shot) {
  let blue = 0, best = 0;
  for (let y = 0; y < 8; ++y) for (let x = 0; x < 8; ++x) blue += near(shot.at(x, y), 0, 0, 30, 10);
  for (let y = 55; y < 230; y += 2) for (let x = 510; x < 640; x += 2) best += near(shot.at(x, y), 255, 200, 100, 40);
  return blue > 32 && best > 15;
}
async function key(name, code) {
  const base = { key: name, code: name, windowsVirtualKeyCode: code, nativeVirtualKeyCode: code };
  await send("Input.dispatchKeyEvent", { type: "rawKeyDown", ...base });
  await sleep(150);
  await send("Input.dispatchKeyEvent", { type: "keyUp", ...base });
  await sleep(200);
}

// Seconds from navigation to the title menu; the start click comes as soon as it is asked for.
async function timeToTitle(url) {
  const start = Date.now();
  await send("Page.navigate", { url });
  while (!await evaluate("document.getElementById('start') && !document.getElementById('start').classList.contains('hidden')")) await sleep(20);
  await send("Input.dispatchMouseEvent", { type: "mousePressed", x: 320, y: 240, button: "left", clickCount: 1 });
  await send("Input.dispatchMouseEvent", { type: "mouseReleased", x: 320, y: 240, button: "left", clickCount: 1 });
  for (;;) {
    const shot = readPng(Buffer.from((await send("Page.captureScreenshot", { format: "png" })).data, "base64"));
    if (showsMenu(shot)) return (Date.now() - start) / 1000;
    if (Date.now() - start > 60000) throw new Error("no title menu within a minute");
  }
}

await send("Network.enable");
await send("Network.clearBrowserCache");
const cold = await timeToTitle(url);
const warm = await timeToTitle(url);
console.log(`time to title: ${cold.toFixed(2)} s with an empty cache, ${warm.toFixed(2)} s cached`);

// The heaviest round, in the test build: Hard on the wheel, every pad joins, then the round
// is filled to its heaviest and kept there.
await timeToTitle(testUrl);
await key("ArrowUp", 38);
await key("Enter", 13);
await sleep(1000);
for (let pad = 0; pad < 4; ++pad) await evaluate(`setButton(${pad}, 0, true)`);
await sleep(300);
for (let pad = 0; pad < 4; ++pad) await evaluate(`setButton(${pad}, 0, false)`);
await evaluate("Module.heaviestRound = true");
await sleep(3000);
await evaluate("window.updates = 0; window.frameTimes = []");
const seconds = 10;
// Updates in each second as well as in all ten: "held" means no second falls short.
const perSecond = [];
for (let second = 0, counted = 0; second < seconds; ++second) {
  await sleep(1000);
  const now = await evaluate("window.updates");
  perSecond.push(now - counted);
  counted = now;
}
const { updates, frames } = await evaluate("({ updates: window.updates, frames: window.frameTimes })");
frames.sort((a, b) => a - b);
const mean = frames.reduce((a, b) => a + b, 0) / frames.length;
console.log(`heaviest round in Chromium: ${(updates / seconds).toFixed(1)} updates/s ` +
            `(${Math.min(...perSecond)} in the slowest second), ` +
            `${(frames.length / seconds).toFixed(1)} frames/s, main-thread time per frame ` +
            `${mean.toFixed(2)} ms mean, ${frames[Math.floor(frames.length * 0.95)].toFixed(2)} ms 95th percentile`);
if (roundShot) {
  writeFileSync(roundShot, Buffer.from((await send("Page.captureScreenshot", { format: "png" })).data, "base64"));
}
await browser.close();
