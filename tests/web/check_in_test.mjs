// The check-in through the browser's fetch: the test build of the site, told by its
// "checkin" parameter to announce itself to SERVER_URL, is started with a click; the reply
// must come back through the event pump ("Http GET complete! 200" on the console) and the
// server must have seen the game's query. The page is not the game's 640 x 480, so the
// canvas is resized as the game starts, as in most browser windows.
// Usage: node --experimental-websocket check_in_test.mjs SITE_URL SERVER_URL SERVER_LOG PROFILE_DIR
import { readFileSync } from "node:fs";
import { launch, sleep } from "./cdp.mjs";

const [siteUrl, serverUrl, serverLog, profile] = process.argv.slice(2);
const browser = await launch(profile);
const lines = [];
browser.on((method, params) => {
  if (method === "Runtime.consoleAPICalled") lines.push(params.args.map((a) => a.value ?? a.description).join(" "));
  if (method === "Runtime.exceptionThrown") lines.push(`exception: ${params.exceptionDetails.text}`);
});
let failed = true;
try {
  await browser.send("Runtime.enable");
  await browser.send("Emulation.setDeviceMetricsOverride", { width: 800, height: 600, deviceScaleFactor: 1, mobile: false });
  await browser.send("Page.navigate", { url: `${siteUrl}?checkin=${encodeURIComponent(serverUrl)}` });
  const startShown = "!document.getElementById('start').classList.contains('hidden')";
  for (let i = 0; i < 300; ++i) {
    const shown = await browser.send("Runtime.evaluate", { expression: startShown, returnByValue: true });
    if (shown.result.value) break;
    await sleep(100);
  }
  for (const type of ["mousePressed", "mouseReleased"]) {
    await browser.send("Input.dispatchMouseEvent", { type, x: 320, y: 240, button: "left", clickCount: 1 });
  }
  for (let i = 0; i < 150 && !lines.includes("Http GET complete! 200"); ++i) await sleep(100);
  const arrived = readFileSync(serverLog, "utf8").includes("GET /housecall.php?hello=1&gameID=415 ");
  const replied = lines.includes("Http GET complete! 200");
  console.log(`${arrived ? "ok  " : "FAIL"} the check-in's GET reached the server with the game's number`);
  console.log(`${replied ? "ok  " : "FAIL"} its reply came back through the event pump`);
  failed = !arrived || !replied;
  if (failed) console.log(lines.join("\n"));
} finally {
  await browser.close();
}
process.exit(failed ? 1 : 0);
