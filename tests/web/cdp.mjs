// A minimal DevTools-protocol client for a headless Chromium, the tools a test uses on a
// page, and the PNG reading the browser test needs (8-bit RGB or RGBA, not interlaced), in
// plain node.
import { spawn } from "node:child_process";
import { readFileSync, existsSync, rmSync, writeFileSync } from "node:fs";
import { inflateSync } from "node:zlib";

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Starts Chromium on a profile folder and connects to its first page; `flags` go to the
// browser besides its usual ones. Sound plays without the player's gesture unless
// `soundWaits` asks for a browser's usual rule. A profile used before keeps its state
// (IndexedDB, the cache) but not its old port.
export async function launch(profile, { width = 640, height = 480, flags = [], soundWaits = false } = {}) {
  const autoplay = soundWaits ? "document-user-activation-required" : "no-user-gesture-required";
  rmSync(`${profile}/DevToolsActivePort`, { force: true });
  const browser = spawn("chromium", [
    "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
    "--no-first-run", `--autoplay-policy=${autoplay}`, "--mute-audio",
    `--window-size=${width},${height}`, "--remote-debugging-port=0", `--user-data-dir=${profile}`,
    ...flags, "about:blank"], { stdio: ["ignore", "ignore", "pipe"] });
  let errors = "";
  browser.stderr.on("data", (d) => { errors += d; });
  const portFile = `${profile}/DevToolsActivePort`;
  // The browser writes its port to the profile once it listens.
  let port = "";
  for (let i = 0; i < 300 && !/^\d+\n/.test(port); ++i) {
    await sleep(100);
    port = existsSync(portFile) ? readFileSync(portFile, "utf8") : "";
  }
  port = port.split("\n")[0];
  const targets = await (await fetch(`http://127.0.0.1:${port}/json`)).json();
  const page = targets.find((t) => t.type === "page");
  const session = await connect(page.webSocketDebuggerUrl);
  // The browser is asked to close: "chromium" is a wrapper script, not the browser itself.
  session.close = async () => {
    await Promise.race([session.send("Browser.close").catch(() => {}), sleep(3000)]);
    session.socket.close();
    browser.kill();
    await sleep(300);
  };
  session.browserErrors = () => errors;
  session.pid = browser.pid;
  // Another tab of the same browser and profile, in a window of its own so that neither
  // hides the other.
  session.openTab = async ({ width = 640, height = 480 } = {}) => {
    const { targetId } = await session.send("Target.createTarget", { url: "about:blank", newWindow: true, width, height });
    const tab = await connect(`ws://127.0.0.1:${port}/devtools/page/${targetId}`);
    tab.close = async () => {
      await session.send("Target.closeTarget", { targetId }).catch(() => {});
      tab.socket.close();
    };
    return tab;
  };
  return session;
}

const kKeys = { Enter: 13, Escape: 27, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, F4: 115, F11: 122 };

// A page's tools: evaluating with the result's value, key presses, screenshots (each kept
// in outDir under its name, for a look after a failure), waiting for an expression.
export function pageTools(session, outDir, prefix = "web") {
  const { send } = session;
  const evaluate = async (expression) => (await send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true })).result.value;
  async function screenshot(name = "last") {
    const bytes = Buffer.from((await send("Page.captureScreenshot", { format: "png" })).data, "base64");
    writeFileSync(`${outDir}/${prefix}_${name}.png`, bytes);
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
  async function waitForPage(expression, seconds) {
    for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(100)) {
      if (await evaluate(expression)) return true;
    }
    return false;
  }
  return { ...session, evaluate, screenshot, key, waitForPage };
}

async function connect(url) {
  const socket = new WebSocket(url);
  await new Promise((ok, fail) => { socket.onopen = ok; socket.onerror = fail; });
  let next = 1;
  const waiting = new Map();
  const listeners = [];
  socket.onmessage = (message) => {
    const data = JSON.parse(message.data);
    if (data.id && waiting.has(data.id)) {
      const { ok, fail, method } = waiting.get(data.id);
      waiting.delete(data.id);
      if (data.error) fail(new Error(`${method}: ${data.error.message}`)); else ok(data.result);
    } else if (data.method) {
      for (const listener of listeners) listener(data.method, data.params);
    }
  };
  return {
    socket,
    send: (method, params = {}) => new Promise((ok, fail) => {
      const id = next++;
      waiting.set(id, { ok, fail, method });
      socket.send(JSON.stringify({ id, method, params }));
    }),
    on: (listener) => listeners.push(listener),
  };
}

// Decoded pixels: { width, height, at(x, y) -> [r, g, b] }.
export function readPng(bytes) {
  const width = bytes.readUInt32BE(16), height = bytes.readUInt32BE(20);
  const depth = bytes[24], type = bytes[25];
  if (depth !== 8 || (type !== 2 && type !== 6) || bytes[28] !== 0) throw new Error("unsupported PNG");
  const channels = type === 6 ? 4 : 3;
  const parts = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at), kind = bytes.toString("ascii", at + 4, at + 8);
    if (kind === "IDAT") parts.push(bytes.subarray(at + 8, at + 8 + length));
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(parts));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    for (let i = 0; i < stride; ++i) {
      const x = raw[y * (stride + 1) + 1 + i];
      const a = i >= channels ? pixels[y * stride + i - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + i] : 0;
      const c = i >= channels && y > 0 ? pixels[(y - 1) * stride + i - channels] : 0;
      let value = x;
      if (filter === 1) value += a;
      else if (filter === 2) value += b;
      else if (filter === 3) value += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        value += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      pixels[y * stride + i] = value & 0xff;
    }
  }
  return {
    width, height,
    at: (x, y) => {
      const i = y * stride + x * channels;
      return [pixels[i], pixels[i + 1], pixels[i + 2]];
    },
  };
}
