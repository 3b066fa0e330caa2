// The test build of the site, in a page that is not the game's 640 x 480 (the canvas is
// resized as the game starts, as in most browser windows):
// - the check-in through the browser's fetch: told by the "checkin" parameter to announce
//   itself to SERVER_URL, the game's reply must come back through the event pump ("Http GET
//   complete! 200" on the console) and the server must have seen the game's query;
// - a runtime error raised mid-game shows its report on the page with a "Reload" button.
// Usage: node --experimental-websocket test_site_test.mjs SITE_URL SERVER_URL SERVER_LOG PROFILE_DIR
import { readFileSync } from "node:fs";
import { launch, sleep } from "./cdp.mjs";

const [siteUrl, serverUrl, serverLog, profile] = process.argv.slice(2);
const browser = await launch(profile);
const lines = [];
browser.on((method, params) => {
  if (method === "Runtime.consoleAPICalled") lines.push(params.args.map((a) => a.value ?? a.description).join(" "));
  if (method === "Runtime.exceptionThrown") lines.push(`exception: ${params.exceptionDetails.text}`);
});
const evaluate = async (expression) => (await browser.send("Runtime.evaluate", { expression, returnByValue: true })).result.value;
async function waitFor(test, seconds) {
  for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(100)) if (await test()) return true;
  return false;
}
let failures = 0;
const check = (ok, what) => { console.log(`${ok ? "ok  " : "FAIL"} ${what}`); failures += ok ? 0 : 1; };
try {
  await browser.send("Runtime.enable");
  await browser.send("Emulation.setDeviceMetricsOverride", { width: 800, height: 600, deviceScaleFactor: 1, mobile: false });
  await browser.send("Page.navigate", { url: `${siteUrl}?checkin=${encodeURIComponent(serverUrl)}` });
  await waitFor(() => evaluate("!document.getElementById('start').classList.contains('hidden')"), 30);
  for (const type of ["mousePressed", "mouseReleased"]) {
    await browser.send("Input.dispatchMouseEvent", { type, x: 320, y: 240, button: "left", clickCount: 1 });
  }
  const replied = await waitFor(() => lines.includes("Http GET complete! 200"), 15);
  const arrived = readFileSync(serverLog, "utf8").includes("GET /housecall.php?hello=1&gameID=415 ");
  check(arrived, "the check-in's GET reached the server with the game's number");
  check(replied, "its reply came back through the event pump");

  await evaluate("Module.raiseRuntimeError = true");
  const shown = await waitFor(() => evaluate("!document.getElementById('error').classList.contains('hidden')"), 10);
  const report = await evaluate("document.getElementById('report').textContent");
  const reload = await evaluate("document.getElementById('reload').textContent");
  check(shown && report.includes("Pellix Runtime Error : Raised by the test page") && /Reload/.test(reload),
        "a runtime error shows its report on the page with a Reload button");
  if (failures) console.log(lines.join("\n"));
} catch (error) {
  check(false, `the run went through (${error.stack})`);
} finally {
  await browser.close();
}
process.exit(failures ? 1 : 0);
