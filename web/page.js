// The page around the game: its files fetched (gzipped where the browser can unpack them,
// the larger picture sets only when the game asks for them), the start, the sound that
// browsers hold until the player clicks or presses a key, the saved state's storage, keys
// kept from the browser, full screen, and the end and error screens.
"use strict";

const page = {
  panel: document.getElementById("panel"),
  bar: document.querySelector("#bar div"),
  status: document.getElementById("status"),
  soundSign: document.getElementById("sound"),
  // The console's last lines, for the error report.
  lines: [],
  started: false,
  ended: false,
  // Opened by "Play again": the game starts as soon as it is ready.
  again: sessionStorage.getItem("vortan.again") === "1",
};
sessionStorage.removeItem("vortan.again");

function show(id) {
  for (const part of ["loading", "start", "end", "error"]) {
    document.getElementById(part).classList.toggle("hidden", part !== id);
  }
  page.panel.classList.toggle("hidden", id === null);
}

// The full-screen button shows while the pointer moves over the running game.
const fullScreenButton = document.getElementById("fullscreen");
let buttonTimer = 0;
window.addEventListener("mousemove", () => {
  if (!page.started || page.ended) return;
  fullScreenButton.classList.remove("hidden");
  clearTimeout(buttonTimer);
  buttonTimer = setTimeout(() => fullScreenButton.classList.add("hidden"), 2500);
});

function remember(line) {
  page.lines.push(line);
  if (page.lines.length > 40) page.lines.shift();
}

// The game cannot go on: what happened and what to try, in a player's words, with the
// console's last lines when they tell more, and Reload when reloading can help.
function trouble(what, tryThis, { report = "", reload = true } = {}) {
  if (page.ended) return;
  page.ended = true;
  fullScreenButton.classList.add("hidden");
  document.getElementById("what").textContent = what;
  document.getElementById("try").textContent = tryThis;
  const reportBox = document.getElementById("report");
  reportBox.textContent = report;
  reportBox.classList.toggle("hidden", !report);
  document.getElementById("reload").classList.toggle("hidden", !reload);
  showSoundSign();
  show("error");
}

function stop(report) {
  trouble("The game stopped on an error.",
          "Reload the page to play again. The report below tells what went wrong.", { report });
}

function missing(file) {
  trouble(`A part of the game (${file}) could not be downloaded.`,
          "Check the connection and reload the page. If this happens again, the site is " +
          "missing a file: please tell whoever runs it.");
}

// The game draws with WebGL; without it nothing else is worth fetching.
function canDraw() {
  const gl = document.createElement("canvas").getContext("webgl");
  if (!gl) return false;
  const lose = gl.getExtension("WEBGL_lose_context");
  if (lose) lose.loseContext();
  return true;
}

// Sound: browsers hold an audio context until the player clicks, taps or presses a key on
// the page (a pad's button does not count), so every such gesture resumes the game's
// contexts until they run, and a sign says so meanwhile.
const audioContexts = [];
const BaseAudioContext = window.AudioContext || window.webkitAudioContext;
if (BaseAudioContext) {
  window.AudioContext = class extends BaseAudioContext {
    constructor(...args) {
      super(...args);
      audioContexts.push(this);
      this.addEventListener("statechange", showSoundSign);
    }
  };
}
const soundHeld = () => audioContexts.some((context) => context.state === "suspended");
function showSoundSign() {
  page.soundSign.classList.toggle("hidden", !page.started || page.ended || !soundHeld());
}
function resumeSound() {
  for (const context of audioContexts) {
    if (context.state === "suspended") context.resume().then(showSoundSign, () => {});
  }
}
for (const type of ["pointerdown", "pointerup", "keydown", "touchend", "click"]) {
  window.addEventListener(type, resumeSound, true);
}

// While the game runs, the keys it uses stay from the browser: the ones with a meaning of
// their own in a page, and any held with Ctrl, Alt or the Mac's Command key (saving,
// bookmarking, printing and finding would open dialogs), but not reloading, zooming or
// the developer tools. Browsers never let a page keep Ctrl+W, Ctrl+T or Ctrl+N.
const kGameKeys = new Set(["ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", " ", "Backspace",
                           "Tab", "F1", "F2", "F4", "F11"]);
const kBrowserCombinations = new Set(["KeyR", "Equal", "Minus", "Digit0", "NumpadAdd",
                                      "NumpadSubtract", "Numpad0", "KeyI", "KeyJ"]);
window.addEventListener("keydown", (event) => {
  if (!page.started || page.ended) return;
  const combination = event.ctrlKey || event.altKey || event.metaKey;
  if (kGameKeys.has(event.key) || (combination && !kBrowserCombinations.has(event.code))) {
    event.preventDefault();
  }
}, true);

// The files, each as bytes; the JS, the wasm and the first data package come gzipped
// when the browser can unpack them. Their progress fills the loading bar.
const kFirstFiles = ["vortan.js", "vortan.wasm", "vortan.data"];
const kPictureSets = { 2: "vortan-hd.data", 4: "vortan-hd2.data" };
const progress = new Map();
function showProgress() {
  let got = 0, total = 0;
  for (const { received, size } of progress.values()) {
    got += received;
    total += size;
  }
  if (total) page.bar.style.width = (100 * got / total) + "%";
}
async function download(file, { packed = false, tracked = false } = {}) {
  const name = packed && window.DecompressionStream ? file + ".gz" : file;
  let response;
  try {
    response = await fetch(name);
  } catch (error) {
    throw new Error(file);
  }
  if (!response.ok) throw new Error(file);
  const entry = { received: 0, size: Number(response.headers.get("Content-Length")) || 0 };
  if (tracked) progress.set(file, entry);
  const reader = response.body.getReader();
  const chunks = [];
  for (let part = await reader.read(); !part.done; part = await reader.read()) {
    chunks.push(part.value);
    entry.received += part.value.length;
    if (tracked) showProgress();
  }
  const blob = new Blob(chunks);
  const stream = name === file ? blob.stream() : blob.stream().pipeThrough(new DecompressionStream("gzip"));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

// A data package: a 4-byte length, a JSON list of [path, size], then the files in order;
// they go under /app/data, where the game reads its data folder.
function unpackData(bytes) {
  const indexLength = new DataView(bytes.buffer).getUint32(0, true);
  const index = JSON.parse(new TextDecoder().decode(bytes.subarray(4, 4 + indexLength)));
  const FS = Module.FS;
  let at = 4 + indexLength;
  for (const [path, size] of index) {
    const full = "/app/data/" + path;
    FS.mkdirTree(full.slice(0, full.lastIndexOf("/")));
    FS.writeFile(full, bytes.subarray(at, at + size));
    at += size;
  }
}

// A larger picture set, fetched in the background when the game's host asks for it (once
// the canvas shows enough pixels for it); the game draws smaller sets' pictures until then.
const pictureSets = new Map();
function fetchPictureSet(scale) {
  if (pictureSets.has(scale) || !kPictureSets[scale]) return;
  pictureSets.set(scale, "coming");
  download(kPictureSets[scale]).then((bytes) => {
    unpackData(bytes);
    pictureSets.set(scale, "here");
  }, () => console.log("The sharper pictures could not be downloaded; the game keeps the plain ones."));
}

// Emscripten's GLFW notes each pad the browser lists, without its name, which the game's
// own line gives: no news for a player.
const kToolchainNotes = /^glfw joystick (dis)?connected/;
function print(text, to) {
  if (kToolchainNotes.test(text)) return;
  to(text);
  remember(text);
}

var Module = {
  canvas: document.getElementById("canvas"),
  // Held until the player's first gesture (web_game.cpp): the game is made at once, its
  // audio context with it, so the gesture has only to let it run.
  held: true,
  fetchPictureSet,
  // One bit for each set at hand, by its scale; the plain set always is.
  pictureSetsHere: () => [...pictureSets].reduce((bits, [scale, state]) => bits | (state === "here" ? scale : 0), 1),
  // The debugger handshake reads nothing here: a runtime error ends the game at once.
  stdin: () => null,
  print: (text) => print(text, console.log),
  printErr: (text) => print(text, console.error),
  preRun: [() => {
    // The saved state lives in IndexedDB, copied into /state before the game starts.
    const FS = Module.FS;
    FS.mkdir("/state");
    FS.mount(Module.IDBFS, {}, "/state");
    Module.addRunDependency("saved state");
    FS.syncfs(true, (error) => {
      if (error) console.error("Could not read the saved state: " + error);
      FS.chdir("/state");
      Module.removeRunDependency("saved state");
    });
  }, () => {
    Module.addRunDependency("data");
    page.data.then((bytes) => {
      unpackData(bytes);
      Module.removeRunDependency("data");
    }, () => {});
  }],
  onRuntimeInitialized: () => {
    page.bar.style.width = "100%";
    try {
      Module.callMain([]);
    } catch (error) {
      if (error !== "unwind" && !(error && error.name === "ExitStatus")) throw error;
    }
    if (page.ended) return;
    if (page.again) {
      start();
    } else {
      show("start");
      waitForGesture();
    }
  },
  // Every exit comes here, also while the browser keeps the runtime for the frame loop:
  // the frames stop, and the page shows how the game ended.
  quit: (code, exit) => {
    Module.pauseMainLoop();
    fullScreenButton.classList.add("hidden");
    if (code === 0) {
      page.ended = true;
      showSoundSign();
      show("end");
    } else {
      stop(page.lines.join("\n"));
    }
    throw exit;
  },
  onAbort: (what) => stop(page.lines.concat([String(what)]).join("\n")),
};

function start() {
  if (page.started || page.ended) return;
  page.started = true;
  Module.held = false;
  show(null);
  Module.canvas.focus();
  showSoundSign();
}

function padButtonDown() {
  const pads = navigator.getGamepads ? navigator.getGamepads() : [];
  for (const pad of pads) {
    if (pad && pad.buttons.some((button) => button.pressed)) return true;
  }
  return false;
}

function waitForGesture() {
  page.panel.addEventListener("click", start, { once: true });
  window.addEventListener("keydown", start, { once: true });
  const poll = () => {
    if (page.started) return;
    if (padButtonDown()) start(); else requestAnimationFrame(poll);
  };
  requestAnimationFrame(poll);
}

window.addEventListener("error", (event) => {
  stop(page.lines.concat([String(event.message)]).join("\n"));
});
fullScreenButton.addEventListener("click", () => {
  document.documentElement.requestFullscreen().catch(() => {});
  Module.canvas.focus();
});
page.soundSign.addEventListener("click", () => Module.canvas.focus());
document.getElementById("again").addEventListener("click", () => {
  sessionStorage.setItem("vortan.again", "1");
  location.reload();
});
document.getElementById("reload").addEventListener("click", () => location.reload());

if (!canDraw()) {
  trouble("This browser cannot show the game: WebGL, which it draws with, is switched off " +
          "or missing here.",
          "Switch on hardware (graphics) acceleration in the browser's settings and reload " +
          "the page, or open it in another browser, such as a recent Firefox or Chrome.",
          { reload: false });
} else {
  const [js, wasm, data] = kFirstFiles.map((file) => download(file, { packed: true, tracked: true }));
  page.data = data;
  Promise.all([js, wasm]).then(([code, binary]) => {
    Module.wasmBinary = binary;
    const script = document.createElement("script");
    script.src = URL.createObjectURL(new Blob([code], { type: "text/javascript" }));
    document.body.appendChild(script);
  }, () => {});
  Promise.all([js, wasm, data]).catch((error) => missing(error.message));
}
