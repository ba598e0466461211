// The show in the web page, in Debian's chromium: how long the engine takes
// per frame against the show's 60 ms budget, and how evenly frames come.
//
//   VILORA_NPM=build-web/npm node bench/web_page_bench.mjs [SECONDS] [SITE]
//
// SECONDS of the show from its start (60 by default), SITE the built site
// (build-web/site). Per frame shown it reports the time of the pass that
// presented it and drew the next one (the page's whole work for a frame),
// the time the parts took to draw, and the period between frames shown;
// median and 99th percentile of each. tests/web/run installs puppeteer-core
// into build-web/npm.
import {launchChromium, openSite, percentiles, serveSite, sleep, waitForPage} from "../web/browser.mjs";

const seconds = Number(process.argv[2] || 60);
const site = process.argv[3] || "build-web/site";

const server = await serveSite(site);
const browser = await launchChromium();
const page = await openSite(browser, server.url, "?autoplay&seed=1");
await page.evaluate(() => {
    window.frameTimes = [];
    document.getElementById("frame").addEventListener("frame", () => window.frameTimes.push(performance.now()));
});
await waitForPage(page, () => window.vilora.state === "playing");
await sleep(seconds * 1000);
const stats = await page.evaluate(() => ({
    passMs: window.vilora.stats.passMs,
    drawMs: window.vilora.stats.drawMs,
    shown: window.frameTimes,
    sound: window.vilora.sound,
}));
await browser.close();
await server.close();

const periods = stats.shown.slice(1).map((t, i) => t - stats.shown[i]);
const line = (what, values) => {
    const p = percentiles(values);
    console.log(
        `${what.padEnd(34)} median ${p.median.toFixed(2).padStart(6)} ms   p99 ${p.p99.toFixed(2).padStart(6)} ms`,
    );
};
const sound = stats.sound
    ? `sound ${stats.sound.state}, ${stats.sound.underruns} underruns`
    : "the show had ended";
console.log(`${stats.passMs.length} frames in ${seconds} s; budget 60 ms a frame; ${sound}`);
line("work per frame (present + draw)", stats.passMs);
line("parts drawing a frame", stats.drawMs);
line("period between frames shown", periods);
