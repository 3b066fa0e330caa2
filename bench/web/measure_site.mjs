// Measures the site in headless Chromium at three window sizes. For each: the bytes
// fetched from navigation until the title menu shows, with an empty cache (the start
// click comes as soon as it is asked for), the time that took, and the longest gap between
// two animation frames from the click until 3 s after the title; then, in the heaviest
// round (four players on Hard, every opponent record filled, every particle alive: the test
// build fills it on request), updates and frames per second, the slowest second's updates,
// the CPU time the browser's processes spent per frame, and the canvas's backing store it
// settled on; last, the frames per second of a bare page that only clears a canvas the
// window's size, what the browser itself allows. Updates are counted where the game
// samples the pads, which it does once per update.
// WebGL runs on SwiftShader, the browser's software renderer, in two set-ups: with the
// page composited in software, as a browser does on a machine without a usable graphics
// card, and with the compositing on SwiftShader too, as the browser tests run it.
// Usage: node --experimental-websocket measure_site.mjs SITE_URL TEST_SITE_URL PROFILE_DIR [SHOTS_DIR]
import { readdirSync, readFileSync, writeFileSync } from "node:fs";
import { launch, readPng, sleep } from "../../tests/web/cdp.mjs";

const [url, testUrl, profile, shots] = process.argv.slice(2);
const kSizes = [[640, 480], [1280, 720], [1920, 1080]];
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
  window.frameStarts = [];
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    window.frameStarts.push(performance.now());
    callback(time);
  });`;

let browser, send;
const evaluate = async (expression) => (await send("Runtime.evaluate", { expression, returnByValue: true })).result.value;
const load = () => readFileSync("/proc/loadavg", "utf8").split(" ")[0];

// Bytes as they arrive, by request: a finished request counts its whole size.
const received = new Map();
function countBytes(method, params) {
  if (method === "Network.dataReceived") {
    received.set(params.requestId, (received.get(params.requestId) ?? 0) + params.encodedDataLength);
  } else if (method === "Network.loadingFinished") {
    received.set(params.requestId, Math.max(received.get(params.requestId) ?? 0, params.encodedDataLength));
  }
}
const fetched = () => [...received.values()].reduce((a, b) => a + b, 0);

// CPU time the browser's processes have used, in milliseconds: what a frame costs,
// whatever else the machine runs.
function browserCpu() {
  const parents = new Map(), ticks = new Map();
  for (const pid of readdirSync("/proc").filter((name) => /^\d+$/.test(name))) {
    try {
      const fields = readFileSync(`/proc/${pid}/stat`, "utf8").replace(/^.*\) /, "").split(" ");
      parents.set(pid, fields[1]);
      ticks.set(pid, Number(fields[11]) + Number(fields[12]));
    } catch {}
  }
  const inBrowser = (pid) => pid === String(browser.pid) || (parents.has(pid) && pid !== "1" && inBrowser(parents.get(pid)));
  let total = 0;
  for (const [pid, t] of ticks) if (inBrowser(pid)) total += t;
  return total * 10;
}

// The title menu at any size: the backdrop's dark blue in the top-left corner, the orange
// top-ten digits high and the green last-ten digits low in the right-hand fifth.
const near = (p, r, g, b, d) => Math.abs(p[0] - r) <= d && Math.abs(p[1] - g) <= d && Math.abs(p[2] - b) <= d;
function showsMenu(shot) {
  const { width: w, height: h } = shot;
  let blue = 0, orange = 0, green = 0;
  for (let y = 0; y < 8; ++y) for (let x = 0; x < 8; ++x) blue += near(shot.at(x, y), 0, 0, 30, 10);
  for (let y = Math.floor(h * 0.1); y < h; y += 2) {
    for (let x = Math.floor(w * 0.8); x < w; x += 2) {
      if (y < h / 2) orange += near(shot.at(x, y), 255, 200, 100, 40);
      else green += near(shot.at(x, y), 200, 255, 100, 40);
    }
  }
  const enough = (w * h) / 5000;
  return blue > 32 && orange > enough && green > enough;
}
const screenshot = async () => readPng(Buffer.from((await send("Page.captureScreenshot", { format: "png" })).data, "base64"));
async function click() {
  for (const type of ["mousePressed", "mouseReleased"]) {
    await send("Input.dispatchMouseEvent", { type, x: 20, y: 20, button: "left", clickCount: 1 });
  }
}

// Navigates with an empty cache, clicks to start and waits for the title: seconds to the
// title, bytes fetched by then, and the longest gap between frames from the click until
// 3 s after the title.
async function firstVisit(site) {
  await send("Network.clearBrowserCache");
  received.clear();
  const start = Date.now();
  await send("Page.navigate", { url: site });
  while (!await evaluate("document.getElementById('start') && !document.getElementById('start').classList.contains('hidden')")) {
    if (Date.now() - start > 60000) throw new Error("no start panel within a minute");
    await sleep(20);
  }
  const clicked = await evaluate("performance.now()");
  await click();
  while (!showsMenu(await screenshot())) {
    if (Date.now() - start > 90000) throw new Error("no title menu within 90 s");
  }
  const seconds = (Date.now() - start) / 1000, bytes = fetched();
  await sleep(3000);
  const starts = (await evaluate("window.frameStarts")).filter((t) => t >= clicked);
  let longest = starts.length ? starts[0] - clicked : 0;
  for (let i = 1; i < starts.length; ++i) longest = Math.max(longest, starts[i] - starts[i - 1]);
  return { seconds, bytes, longest };
}

// The heaviest round in the test build: Hard on the wheel, every pad joins, then the round
// is filled to its heaviest and kept there; ten seconds are counted, each second alone too.
async function heaviestRound(name) {
  await firstVisit(testUrl);
  await send("Input.dispatchKeyEvent", { type: "rawKeyDown", key: "ArrowUp", code: "ArrowUp", windowsVirtualKeyCode: 38 });
  await send("Input.dispatchKeyEvent", { type: "keyUp", key: "ArrowUp", code: "ArrowUp", windowsVirtualKeyCode: 38 });
  await sleep(300);
  await send("Input.dispatchKeyEvent", { type: "rawKeyDown", key: "Enter", code: "Enter", windowsVirtualKeyCode: 13 });
  await send("Input.dispatchKeyEvent", { type: "keyUp", key: "Enter", code: "Enter", windowsVirtualKeyCode: 13 });
  await sleep(1000);
  for (let pad = 0; pad < 4; ++pad) await evaluate(`setButton(${pad}, 0, true)`);
  await sleep(300);
  for (let pad = 0; pad < 4; ++pad) await evaluate(`setButton(${pad}, 0, false)`);
  await evaluate("Module.heaviestRound = true");
  await sleep(5000);  // the backing store settles
  await evaluate("window.updates = 0; window.frameStarts = []");
  const cpuBefore = browserCpu();
  const seconds = 10, perSecond = [];
  for (let second = 0, counted = 0; second < seconds; ++second) {
    await sleep(1000);
    const now = await evaluate("window.updates");
    perSecond.push(now - counted);
    counted = now;
  }
  const { updates, frames, store } = await evaluate(
    "({ updates: window.updates, frames: window.frameStarts.length, store: Module.canvas.width + 'x' + Module.canvas.height })");
  const cpu = (browserCpu() - cpuBefore) / frames;
  if (shots) writeFileSync(`${shots}/round_${name}.png`, Buffer.from((await send("Page.captureScreenshot", { format: "png" })).data, "base64"));
  return { updates: updates / seconds, slowest: Math.min(...perSecond), fps: frames / seconds, store, cpu };
}

// Frames per second of a page that clears a WebGL canvas the window's size, and nothing else.
const kBarePage = "data:text/html," + encodeURIComponent(`<body style="margin:0;overflow:hidden">
  <canvas style="position:fixed;width:100vw;height:100vh"></canvas><script>
  const canvas = document.querySelector("canvas");
  canvas.width = innerWidth; canvas.height = innerHeight;
  const gl = canvas.getContext("webgl", { alpha: false });
  window.frames = 0;
  (function frame() { gl.clearColor(Math.random(), 0, 0, 1); gl.clear(gl.COLOR_BUFFER_BIT); ++window.frames; requestAnimationFrame(frame); })();
  </script>`);
async function barePage() {
  await send("Page.navigate", { url: kBarePage });
  await sleep(1500);
  const before = await evaluate("window.frames");
  await sleep(3000);
  return (await evaluate("window.frames") - before) / 3;
}

const kSetUps = [["software compositing", ["--disable-gpu-compositing"]], ["compositing on SwiftShader", []]];
for (const [setUp, flags] of kSetUps) {
  browser = await launch(profile, { width: 1920, height: 1080, flags });
  send = browser.send;
  browser.on(countBytes);
  await send("Page.enable");
  await send("Runtime.enable");
  await send("Network.enable");
  await send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await send("Page.addScriptToEvaluateOnNewDocument", { source: kPreamble });
  try {
  console.log(`${setUp}:`);
  console.log("  size      | bytes to title | s to title | longest frame after click | round: updates/s (slowest s) | frames/s | browser CPU per frame | store   | bare page frames/s | load");
  for (const [width, height] of kSizes) {
    const name = `${width}x${height}`;
    await send("Emulation.setDeviceMetricsOverride", { width, height, deviceScaleFactor: 1, mobile: false });
    const visit = await firstVisit(url);
    const round = await heaviestRound(`${name}_${flags.length ? "software" : "swiftshader"}`);
    const bare = await barePage();
    console.log(`  ${name.padEnd(9)} | ${String(visit.bytes).padStart(14)} | ${visit.seconds.toFixed(2).padStart(10)} | ` +
                `${(visit.longest.toFixed(0) + " ms").padStart(25)} | ${round.updates.toFixed(1).padStart(20)} (${round.slowest}) | ` +
                `${round.fps.toFixed(1).padStart(8)} | ${(round.cpu.toFixed(1) + " ms").padStart(21)} | ${round.store.padEnd(7)} | ` +
                `${bare.toFixed(1).padStart(18)} | ${load()}`);
  }
  } finally {
    await browser.close();
  }
}
