// The page around the game: the loading bar, the start gesture browsers require before
// sound, the saved state's storage, keys kept from the browser, full screen, and the end
// and error screens.
"use strict";

const page = {
  panel: document.getElementById("panel"),
  bar: document.querySelector("#bar div"),
  status: document.getElementById("status"),
  // The console's last lines, for the error report.
  lines: [],
  started: false,
  ended: false,
};

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

function stop(report) {
  if (page.ended) return;
  page.ended = true;
  document.getElementById("report").textContent = report;
  show("error");
}

// Keys the game uses that would otherwise scroll the page or open browser tools.
const kGameKeys = new Set(["ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", " ", "Backspace",
                           "Tab", "F1", "F2", "F4", "F11"]);
window.addEventListener("keydown", (event) => {
  if (page.started && kGameKeys.has(event.key)) event.preventDefault();
}, true);

var Module = {
  canvas: document.getElementById("canvas"),
  // The debugger handshake reads nothing here: a runtime error ends the game at once.
  stdin: () => null,
  print: (text) => { console.log(text); remember(text); },
  printErr: (text) => { console.error(text); remember(text); },
  setStatus: (text) => {
    const progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
    if (progress) page.bar.style.width = (100 * progress[1] / progress[2]) + "%";
    if (text) page.status.textContent = text.replace(/\(.*\)/, "").trim() || "Loading…";
  },
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
  }],
  onRuntimeInitialized: () => {
    page.bar.style.width = "100%";
    show("start");
    waitForGesture();
  },
  // Every exit comes here, also while the browser keeps the runtime for the frame loop:
  // the frames stop, and the page shows how the game ended.
  quit: (code, exit) => {
    Module.pauseMainLoop();
    fullScreenButton.classList.add("hidden");
    if (code === 0) {
      page.ended = true;
      show("end");
    } else {
      stop(page.lines.join("\n"));
    }
    throw exit;
  },
  onAbort: (what) => stop(page.lines.concat([String(what)]).join("\n")),
};

function start() {
  if (page.started) return;
  page.started = true;
  show(null);
  Module.canvas.focus();
  try {
    Module.callMain([]);
  } catch (error) {
    if (error !== "unwind" && !(error && error.name === "ExitStatus")) throw error;
  }
}

function padButtonDown() {
  const pads = navigator.getGamepads ? navigator.getGamepads() : [];
  for (const pad of pads) {
    if (pad && pad.buttons.some((button) => button.pressed)) return true;
  }
  return false;
}

function waitForGesture() {
  page.panel.addEventListener("click", start, {once: true});
  window.addEventListener("keydown", start, {once: true});
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
document.getElementById("again").addEventListener("click", () => location.reload());
document.getElementById("reload").addEventListener("click", () => location.reload());
