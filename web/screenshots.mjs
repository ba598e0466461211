// Pictures of the page in Debian's chromium for the README: the start screen,
// the show playing, and the overlay over it (paused).
//
//   VILORA_NPM=build-web/npm node web/screenshots.mjs [FOLDER] [SITE]
//
// FOLDER defaults to docs, SITE to build-web/site. The window is 960x720, so
// the 320x240 frame is shown three pixels to the pixel.
import {join} from "node:path";
import {launchChromium, openSite, serveSite, sleep, waitForPage} from "./browser.mjs";

const folder = process.argv[2] || "docs";
const site = process.argv[3] || "build-web/site";
// Where the show is worth a look, and how many frames into it.
const place = "?autoplay&seed=1&start=58";
const frames = 40;

const server = await serveSite(site);
const browser = await launchChromium();

const start = await openSite(browser, server.url);
await waitForPage(start, () => window.vilora.state === "ready");
await start.screenshot({path: join(folder, "web-start.png")});
await start.close();

const show = await openSite(browser, server.url, place);
await waitForPage(show, (n) => window.vilora.stats.frames >= n, 60, frames);
await show.keyboard.press("Space");
await sleep(300);
await show.screenshot({path: join(folder, "web-show.png")});
await show.keyboard.press("Tab");
await sleep(300);
await show.screenshot({path: join(folder, "web-overlay.png")});
await show.close();

await browser.close();
await server.close();
console.log(`screenshots: ${folder}/web-start.png, web-show.png, web-overlay.png`);
