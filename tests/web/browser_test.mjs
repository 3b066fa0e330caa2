// The game's site in a headless Chromium, played through the DevTools protocol: the title
// against the desktop build's, a round started with Enter, pretend standard pads joining,
// moving and pausing, the game suspended without the focus, a pad unplugged, the tune on
// the audio output, an option kept across a reload, full screen entered and left by the
// options' row, F11, the page's button and the browser's Escape, two tabs saving one after
// the other without losing each other's highscores, and F4 ending on the page's end screen, with no page exception or runtime
// error on the way.
// Usage: node --experimental-websocket browser_test.mjs URL PROFILE_DIR DESKTOP_TITLE.png OUT_DIR
import { writeFileSync, readFileSync } from "node:fs";
import { launch, pageTools, readPng, sleep } from "./cdp.mjs";

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

const browser = await launch(profile);
const tabA = pageTools(browser, outDir);
const { send, evaluate, screenshot, key, waitForPage } = tabA;
const exceptions = [];
// A page's console lines; its exceptions join every page's.
function watch(page) {
  const lines = [];
  page.on((method, params) => {
    if (method === "Runtime.exceptionThrown") exceptions.push(params.exceptionDetails.exception?.description ?? params.exceptionDetails.text);
    if (method === "Runtime.consoleAPICalled") lines.push(params.args.map((a) => a.value ?? a.description).join(" "));
  });
  return lines;
}
const consoleLines = watch(browser);
let tabLines = [];
// A 640 x 480 page that keeps the focus, with the pretend pads and the analyser.
async function prepare(page) {
  await page.send("Runtime.enable");
  await page.send("Page.enable");
  await page.send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await page.send("Emulation.setDeviceMetricsOverride", { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });
  await page.send("Page.addScriptToEvaluateOnNewDocument", { source: kPagePreamble });
}
await prepare(browser);

async function waitFor(test, seconds, page = tabA) {
  for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(200)) {
    const shot = await page.screenshot();
    if (test(shot)) return shot;
  }
  return null;
}
// Loads the page and starts the game with a click as a player would.
async function startGame(page) {
  await page.send("Page.navigate", { url });
  if (!await page.waitForPage("!document.getElementById('start').classList.contains('hidden')", 30)) return false;
  await page.send("Input.dispatchMouseEvent", { type: "mousePressed", x: 320, y: 240, button: "left", clickCount: 1 });
  await page.send("Input.dispatchMouseEvent", { type: "mouseReleased", x: 320, y: 240, button: "left", clickCount: 1 });
  return true;
}
// Starts the game and waits for the title.
async function openGame(page = tabA) {
  if (!await startGame(page)) return null;
  const menu = await waitFor(showsMenu, 30, page);
  await sleep(1000);  // the menu takes keys once it has come in
  return menu;
}

// The options box with the cursor on the sound mode, the row below the way back (the
// box may take a moment to open and to take keys, so the cursor is watched).
async function optionsBox(name, page = tabA) {
  await page.key("ArrowLeft");
  await page.key("Enter");
  await sleep(700);
  for (let i = 0; i < 5 && !rowChosen(await page.screenshot(name), kSoundRow); ++i) {
    await page.key("ArrowDown");
    await sleep(300);
  }
  return page.screenshot(name);
}

// Whether the page shows in full screen (the window as large as the screen, the canvas
// drawing at the screen's size and covering the page) or in its window (the canvas the
// page's size), as the browser and the page report it within 5 s; `canvas` false reads
// the browser's side alone, for a page held at one size.
const kCanvasState = `(() => {
  const box = Module.canvas.getBoundingClientRect(), canvas = Module.canvas;
  const covers = box.left === 0 && box.top === 0 && box.width === innerWidth && box.height === innerHeight;
  if (!covers) return "uncovered";
  if (canvas.width === screen.width && canvas.height === screen.height) return "full";
  return canvas.width === innerWidth && canvas.height === innerHeight && innerWidth < screen.width ? "window" : "between";
})()`;
async function reaches(state, canvas = true) {
  for (const end = Date.now() + 5000; Date.now() < end; await sleep(100)) {
    const { bounds } = await send("Browser.getWindowForTarget");
    const [width, height, element] = await evaluate("[screen.width, screen.height, !!document.fullscreenElement]");
    const full = element && bounds.windowState === "fullscreen" && bounds.width === width && bounds.height === height;
    const windowed = !element && bounds.windowState === "normal";
    if ((state === "full" ? full : windowed) && (!canvas || await evaluate(kCanvasState) === state)) return true;
  }
  return false;
}
// The title's backdrop along the top and bottom edges (once the pictures for the new size
// are loaded), where a picture drawn at another size than the canvas's would leave bands.
function fillsScreen(shot) {
  const backdrop = (p) => near(p, 0, 0, 30, 10);
  const edge = shot.width * 4;
  return count(shot, 0, 0, shot.width, 4, backdrop) > edge / 2 &&
         count(shot, 0, shot.height - 4, shot.width, shot.height, backdrop) > edge / 2;
}
// The button shows while the pointer moves.
async function clickFullScreenButton() {
  for (const x of [300, 310]) await send("Input.dispatchMouseEvent", { type: "mouseMoved", x, y: 200 });
  await sleep(200);
  const box = JSON.parse(await evaluate("JSON.stringify(document.getElementById('fullscreen').getBoundingClientRect())"));
  const at = { x: box.x + box.width / 2, y: box.y + box.height / 2, button: "left", clickCount: 1 };
  for (const type of ["mousePressed", "mouseReleased"]) await send("Input.dispatchMouseEvent", { type, ...at });
}

// The state file as the page's file system holds it, and the names stored for it.
const kStateFile = `(Module.FS.analyzePath("/state/.pellixstate").exists ?
                    Module.FS.readFile("/state/.pellixstate", { encoding: "utf8" }) : "")`;
const kStoredNames = `new Promise((done) => {
  const open = indexedDB.open("/state");
  open.onsuccess = () => {
    const names = open.result.transaction("FILE_DATA").objectStore("FILE_DATA").getAllKeys();
    names.onsuccess = () => { open.result.close(); done(names.result); };
  };
})`;
// Storage's copy of the state file once `edit` (code changing `fields`) has changed it.
const storedState = (edit) => `new Promise((done) => {
  const open = indexedDB.open("/state");
  open.onsuccess = () => {
    const store = open.result.transaction("FILE_DATA", "readwrite").objectStore("FILE_DATA");
    const get = store.get("/state/.pellixstate");
    get.onsuccess = () => {
      const record = get.result, fields = new TextDecoder().decode(record.contents).split("|");
      ${edit}
      record.contents = new TextEncoder().encode(fields.join("|"));
      store.put(record, "/state/.pellixstate").onsuccess = () => { open.result.close(); done(fields.join("|")); };
    };
  };
})`;
// Steps the sound mode `presses` times on the title's options box, closes it (it saves)
// and waits for the new file to be kept in storage; returns the file.
async function saveSoundMode(page, presses) {
  const before = await page.evaluate(kStateFile);
  await optionsBox(`sound_${presses}`, page);
  for (let i = 0; i < presses; ++i) {
    await page.key("Enter");
    await sleep(300);
  }
  await page.key("Escape");
  await page.waitForPage(`!Module.stateFlush && ${kStateFile} !== ${JSON.stringify(before)}`, 5);
  return page.evaluate(kStateFile);
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
// The options box's rows: the sound mode's, and two below it the full screen's.
const kSoundRow = [80, 124, 560, 156], kFullScreenRow = [80, 188, 560, 220];
const rowChosen = (shot, row) => count(shot, ...row, (p) => near(p, 65, 155, 130, 30)) > 2000;
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
  const row = kSoundRow;
  const before = await optionsBox("before");
  check(rowChosen(before, row), "the options box opens on the title");
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

  // Full screen as the browser means it: the window takes the whole screen. DevTools'
  // focus emulation keeps a page from it, so it is off meanwhile. The options' row is
  // chosen while the page is held at 640 x 480 (a new size reloads the pictures, and keys
  // wait meanwhile); then the page is let free to fill the screen. F11 after the page's
  // button or the browser's Escape works only if the game's own flag followed the browser.
  await key("ArrowDown");
  await key("ArrowDown");
  const onRow = rowChosen(await screenshot("full_screen_row"), kFullScreenRow);
  await send("Emulation.setFocusEmulationEnabled", { enabled: false });
  await key("Enter");
  const byRow = await reaches("full", false);
  await key("F11");
  check(onRow && byRow && await reaches("window", false), "the options' full-screen row enters full screen and F11 leaves it");
  await key("ArrowUp");  // the box opens where it closed: on the sound mode, for the tabs below
  await key("ArrowUp");
  await key("Escape");
  await sleep(300);
  await send("Emulation.clearDeviceMetricsOverride");
  await clickFullScreenButton();
  const byButton = await reaches("full");
  const filled = await waitFor(fillsScreen, 10) !== null;
  await key("F11");
  check(byButton && filled && await reaches("window"),
        "the page's button enters full screen, the game filling it, and F11 then leaves it");
  await key("F11");
  const byF11 = await reaches("full");
  await key("Escape");
  const leftByEscape = await reaches("window");
  await key("F11");
  const again = await reaches("full");
  await evaluate("document.exitFullscreen()");
  check(byF11 && leftByEscape && again && await reaches("window"),
        "F11 enters full screen, the browser's Escape leaves it, F11 enters it again, and leaving returns to the window");
  await send("Emulation.setFocusEmulationEnabled", { enabled: true });
  await send("Emulation.setDeviceMetricsOverride", { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });

  // Two tabs of one profile, both on the title: A changes the sound mode once and saves,
  // then B, which still holds the state from before A's save, changes it twice and saves.
  // The last save wins whole: B loaded again holds B's file to the byte with no damaged
  // part, and storage holds that one file. (A is not reloaded: leaving, it would save its
  // own state once more, and that save would be the last.)
  const tabB = pageTools(await browser.openTab(), outDir, "web_tab_b");
  tabLines = watch(tabB);
  await prepare(tabB);
  const bOpen = await openGame(tabB) !== null;
  await waitFor(showsMenu, 10);  // A, back at 640 x 480, has its pictures again
  const savedByA = await saveSoundMode(tabA, 1), savedByB = await saveSoundMode(tabB, 2);
  const reloadedFrom = tabLines.length;
  const bAgain = await startGame(tabB);
  for (let i = 0; i < 100 && !tabLines.slice(reloadedFrom).includes("Highscores Loaded"); ++i) await sleep(100);
  const loaded = await tabB.evaluate(kStateFile);
  const loadLines = tabLines.slice(reloadedFrom);
  console.log(`state files: A saved ${savedByA.length} bytes, B ${savedByB.length}, loaded ${loaded.length}; ` +
              `loading said: ${loadLines.filter((line) => /Loaded|Invalid|Default|Missing/.test(line)).join(", ")}`);
  check(bOpen && bAgain && savedByA && savedByB && savedByA !== savedByB && loaded === savedByB &&
        loadLines.includes("Settings Loaded") && loadLines.includes("Badges Loaded") &&
        !loadLines.some((line) => /Invalid|Defaults Used/.test(line)),
        "with two tabs open the last save wins and loads whole");
  const stored = await tabB.evaluate(kStoredNames);
  check(JSON.stringify(stored) === JSON.stringify(["/state/.pellixstate"]), `storage holds the state file alone (${stored})`);
  // Another tab's new best of Easy, 1200, reaches storage; A, which never read it, saves.
  await tabB.evaluate(storedState(`fields[55] = String(Number(fields[55]) + 4 * (1200 - Number(fields[35])));
                                   fields[35] = "1200";`));
  const savedByStaleA = await saveSoundMode(tabA, 2);
  const easyBest = savedByStaleA.split("|").slice(35, 55).filter((field, i) => i % 2 === 0);
  check(easyBest.includes("1200") && savedByStaleA.split("|")[5] !== savedByB.split("|")[5] &&
        await tabA.evaluate(storedState("")) === savedByStaleA,
        `a stale tab's save keeps another tab's new highscore in storage (best of Easy ${easyBest})`);
  await tabB.close();

  await key("F4");
  check(await waitForPage("!document.getElementById('end').classList.contains('hidden')", 10),
        "F4 ends the game on the end screen");
  const errors = consoleLines.concat(tabLines).filter((line) => /Runtime Error|Aborted|exception/i.test(line));
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
