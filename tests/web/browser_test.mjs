// The game's site in a headless Chromium, played through the DevTools protocol: the title
// against the desktop build's, a round started with Enter, pretend standard pads joining,
// moving and pausing, the game suspended without the focus, a pad unplugged, the tune on
// the audio output, an option kept across a reload, and F4
// ending on the page's end screen, with no page exception or runtime error on the way.
// Usage: node --experimental-websocket browser_test.mjs URL PROFILE_DIR DESKTOP_TITLE.png OUT_DIR
import { writeFileSync, readFileSync } from "node:fs";
import { launch, readPng, sleep } from "./cdp.mjs";

const [url, profile, desktopTitle, outDir] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { console.log(`${ok ? "ok  " : "FAIL"} ${what}`); if (!ok) failures.push(what); };

// Pretend standard pads in place of the browser's, and an analyser on the audio output.
const kPagePreamble = `
  window.pads = [0, 1].map((index) => ({
    id: "Pretend pad " + (index + 1), index, connected: true, mapping: "standard", timestamp: 0,
    axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) }));
  Object.defineProperty(Navigator.prototype, "getGamepads",
                        { configurable: true, value: () => window.pads.concat([null, null]) });
  window.setButton = (pad, button, down) => {
    window.pads[pad].buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
    window.pads[pad].timestamp += 1;
  };
  window.setAxis = (pad, axis, value) => { window.pads[pad].axes[axis] = value; window.pads[pad].timestamp += 1; };
  const BaseContext = window.AudioContext;
  window.AudioContext = function (...args) {
    const context = new BaseContext(...args);
    const analyser = context.createAnalyser();
    analyser.fftSize = 4096;
    const connect = AudioNode.prototype.connect;
    AudioNode.prototype.connect = function (target, ...rest) {
      const result = connect.call(this, target, ...rest);
      if (target === context.destination) connect.call(this, analyser);
      return result;
    };
    window.soundLevel = () => {
      const samples = new Float32Array(analyser.fftSize);
      analyser.getFloatTimeDomainData(samples);
      return samples.reduce((m, s) => Math.max(m, Math.abs(s)), 0);
    };
    return context;
  };
  window.AudioContext.prototype = BaseContext.prototype;`;

const kKeys = { Enter: 13, Escape: 27, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, F4: 115 };

const browser = await launch(profile);
const { send } = browser;
const exceptions = [];
const consoleLines = [];
browser.on((method, params) => {
  if (method === "Runtime.exceptionThrown") exceptions.push(params.exceptionDetails.exception?.description ?? params.exceptionDetails.text);
  if (method === "Runtime.consoleAPICalled") consoleLines.push(params.args.map((a) => a.value ?? a.description).join(" "));
});
await send("Runtime.enable");
await send("Page.enable");
await send("Emulation.setFocusEmulationEnabled", { enabled: true });
await send("Emulation.setDeviceMetricsOverride", { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });
await send("Page.addScriptToEvaluateOnNewDocument", { source: kPagePreamble });

const evaluate = async (expression) => (await send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true })).result.value;
// Each screenshot is kept in OUT_DIR under its name, for a look after a failure.
async function screenshot(name = "last") {
  const bytes = Buffer.from((await send("Page.captureScreenshot", { format: "png" })).data, "base64");
  writeFileSync(`${outDir}/web_${name}.png`, bytes);
  return readPng(bytes);
}
async function key(name, holdMs = 150) {
  const code = kKeys[name];
  const base = { key: name, code: name, windowsVirtualKeyCode: code, nativeVirtualKeyCode: code };
  await send("Input.dispatchKeyEvent", { type: "rawKeyDown", ...base });
  await sleep(holdMs);
  await send("Input.dispatchKeyEvent", { type: "keyUp", ...base });
  await sleep(150);
}
async function waitFor(test, seconds) {
  for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(200)) {
    const shot = await screenshot();
    if (test(shot)) return shot;
  }
  return null;
}
// Loads the page, starts the game with a click as a player would, waits for the title.
async function openGame() {
  await send("Page.navigate", { url });
  if (!await waitForPage("!document.getElementById('start').classList.contains('hidden')", 30)) return null;
  await send("Input.dispatchMouseEvent", { type: "mousePressed", x: 320, y: 240, button: "left", clickCount: 1 });
  await send("Input.dispatchMouseEvent", { type: "mouseReleased", x: 320, y: 240, button: "left", clickCount: 1 });
  const menu = await waitFor(showsMenu, 30);
  await sleep(1000);  // the menu takes keys once it has come in
  return menu;
}
async function waitForPage(expression, seconds) {
  for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(100)) {
    if (await evaluate(expression)) return true;
  }
  return false;
}

// Screen readings, as the desktop whole-program tests read the 640 x 480 window.
const near = (p, r, g, b, d) => Math.abs(p[0] - r) <= d && Math.abs(p[1] - g) <= d && Math.abs(p[2] - b) <= d;
function count(shot, x0, y0, x1, y1, test) {
  let n = 0;
  for (let y = y0; y < y1; ++y) for (let x = x0; x < x1; ++x) n += test(shot.at(x, y)) ? 1 : 0;
  return n;
}
function showsMenu(shot) {
  return count(shot, 0, 0, 8, 8, (p) => near(p, 0, 0, 30, 10)) > 32 &&
         count(shot, 510, 55, 640, 230, (p) => near(p, 255, 200, 100, 40)) > 60 &&
         count(shot, 510, 255, 640, 430, (p) => near(p, 200, 255, 100, 40)) > 60;
}
function playFieldColours(shot) {
  const colours = new Set();
  for (let y = 100; y < 380; y += 4) for (let x = 0; x < 640; x += 4) colours.add(shot.at(x, y).join());
  return colours.size;
}
const kPlayerColours = [[255, 25, 25], [255, 127, 25], [255, 255, 25], [25, 255, 25]];
function healthBar(shot, player) {
  const [r, g, b] = kPlayerColours[player - 1];
  return count(shot, 225, 16 * player + 38, 415, 16 * player + 39, (p) => near(p, r * 0.9, g * 0.9, b * 0.9, 40));
}
// Mean difference per channel over a rectangle.
function difference(a, b, x0 = 0, y0 = 0, x1 = 640, y1 = 480) {
  let sum = 0;
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      const p = a.at(x, y), q = b.at(x, y);
      sum += Math.abs(p[0] - q[0]) + Math.abs(p[1] - q[1]) + Math.abs(p[2] - q[2]);
    }
  }
  return sum / ((x1 - x0) * (y1 - y0) * 3);
}
function brightness(shot, x0, y0, x1, y1) {
  let sum = 0;
  for (let y = y0; y < y1; ++y) for (let x = x0; x < x1; ++x) sum += shot.at(x, y).reduce((a, b) => a + b);
  return sum / ((x1 - x0) * (y1 - y0) * 3);
}
// Columns of the floor band darkened since `before` as a shadow darkens it: every bright
// channel keeps about 65 percent. Where the fighters' shadows are.
function darkened(p, q) {
  let bright = 0;
  for (let c = 0; c < 3; ++c) {
    if (p[c] < 40) continue;
    ++bright;
    const kept = q[c] / p[c];
    if (kept < 0.55 || kept > 0.75) return false;
  }
  return bright > 0;
}
function shadowColumns(before, now) {
  const columns = [];
  for (let x = 40; x < 600; ++x) {
    let n = 0;
    for (let y = 428; y < 437; ++y) n += darkened(before.at(x, y), now.at(x, y)) ? 1 : 0;
    if (n >= 2) columns.push(x);
  }
  return columns;
}

try {
  const title = await openGame();
  check(title !== null, "the title menu shows");
  const web = await screenshot("title");
  const desktop = readPng(readFileSync(desktopTitle));
  const titleDifference = difference(desktop, web);
  console.log(`title: mean difference from the desktop's ${titleDifference.toFixed(2)} per channel`);
  check(showsMenu(desktop) && showsMenu(web) && titleDifference < 12, "the title matches the desktop build's");

  await key("Enter", 300);
  const round = await waitFor((s) => !showsMenu(s) && playFieldColours(s) > 200, 20);
  check(round !== null, "Enter starts a round");
  await evaluate("setButton(1, 0, true)");
  const joined = await waitFor((s) => healthBar(s, 2) > 180, 10);
  await evaluate("setButton(1, 0, false)");
  check(joined !== null, "the second pad's A joins player 2");
  await sleep(1500);
  const standing = await screenshot("standing");
  await evaluate("setAxis(1, 0, 1)");
  await sleep(1200);
  const walked = await screenshot("walked");
  await evaluate("setAxis(1, 0, 0)");
  const from = shadowColumns(round, standing), to = shadowColumns(round, walked);
  const rightmost = (c) => (c.length ? Math.max(...c) : 0);
  console.log(`player 2's shadow: right edge from ${rightmost(from)} to ${rightmost(to)}`);
  check(rightmost(to) > rightmost(from) + 40, "the second pad's stick moves player 2");
  const level = await evaluate("window.soundLevel ? soundLevel() : 0");
  console.log(`audio output peak ${level.toFixed(3)}`);
  check(level > 0.01, "the tune plays");
  await evaluate("setButton(1, 9, true)");
  await sleep(300);
  await evaluate("setButton(1, 9, false)");
  await sleep(500);
  const paused = await screenshot("paused");
  // The pause panel dims the frozen round behind it.
  const dimming = brightness(paused, 0, 100, 640, 380) / brightness(standing, 0, 100, 640, 380);
  console.log(`pause: the play field keeps ${(100 * dimming).toFixed(0)} percent of its brightness`);
  check(dimming < 0.7, "Start pauses the round");
  // A page that loses the focus suspends the game: even the pause panel's toy stops.
  const apart = async (name) => {
    const first = await screenshot(`${name}1`);
    await sleep(700);
    return difference(first, await screenshot(`${name}2`));
  };
  await evaluate("window.dispatchEvent(new FocusEvent('blur'))");
  await sleep(300);
  const suspended = await apart("unfocused");
  await evaluate("window.dispatchEvent(new FocusEvent('focus'))");
  await sleep(300);
  const resumed = await apart("refocused");
  console.log(`change over 0.7 s: ${suspended.toFixed(3)} without the focus, ${resumed.toFixed(3)} with it`);
  check(suspended < 0.01 && resumed > 0.05, "losing the focus suspends the game, regaining it resumes");
  // The second pad unplugged mid-round: the browser's list holds nothing in its place.
  await evaluate("window.pads[1] = null");
  for (let i = 0; i < 30 && !consoleLines.includes("Game pad 2 disconnected"); ++i) await sleep(100);
  check(consoleLines.includes("Game pad 2 disconnected"), "an unplugged pad is reported as on the desktop");

  // An option changed on the title's options box is kept across a reload.
  let menu = await openGame();
  // The options box with the cursor on the sound mode, the row below the way back (the
  // box may take a moment to open and to take keys, so the cursor is watched).
  const row = [80, 124, 560, 156];
  const soundRowChosen = (shot) => count(shot, ...row, (p) => near(p, 65, 155, 130, 30)) > 2000;
  const optionsBox = async (name) => {
    await key("ArrowLeft");
    await key("Enter");
    await sleep(700);
    for (let i = 0; i < 5 && !soundRowChosen(await screenshot(name)); ++i) {
      await key("ArrowDown");
      await sleep(300);
    }
    return screenshot(name);
  };
  const before = await optionsBox("before");
  check(soundRowChosen(before), "the options box opens on the title");
  await key("Enter");
  await sleep(500);
  const changed = await screenshot("changed");
  await key("Escape");
  await waitForPage("!Module.stateFlush", 5);
  await sleep(300);
  menu = await openGame();
  check(menu !== null, "the title shows again after a reload");
  const kept = await optionsBox("kept");
  const changeSize = difference(before, changed, ...row), keptSize = difference(changed, kept, ...row);
  console.log(`options box: change ${changeSize.toFixed(2)}, after reload ${keptSize.toFixed(2)}`);
  check(changeSize > 3 && keptSize < changeSize / 4, "the changed option is kept across a reload");
  await key("Escape");

  await key("F4");
  check(await waitForPage("!document.getElementById('end').classList.contains('hidden')", 10),
        "F4 ends the game on the end screen");
  const errors = consoleLines.filter((line) => /Runtime Error|Aborted|exception/i.test(line));
  check(exceptions.length === 0, `no page exception (${exceptions.join("; ")})`);
  check(errors.length === 0, `no runtime error (${errors.join("; ")})`);
} catch (error) {
  check(false, `the run went through (${error.stack})`);
} finally {
  writeFileSync(`${outDir}/web_console.txt`, consoleLines.join("\n") + "\n");
  await browser.close();
}
console.log(failures.length ? `${failures.length} check(s) failed` : "All browser checks passed.");
process.exit(failures.length ? 1 : 0);
