// The site in a real Chromium: what the page draws, plays and answers to.
//
//   VILORA_SITE=build-web/site VILORA_NATIVE=build/vilora VILORA_NPM=DIR \
//       node tests/web/page_test.mjs [GROUP...]
//
// Each group prints "ok" or "FAILED" and why; the exit status is 1 when any
// failed. tests/web/run sets the environment up.
import {execFileSync, spawn} from "node:child_process";
import {copyFileSync, existsSync, mkdtempSync, readdirSync, rmSync, truncateSync} from "node:fs";
import {tmpdir} from "node:os";
import {join} from "node:path";
import {launchChromium, openSite, serveSite, sleep, waitForPage} from "../../web/browser.mjs";

const site = process.env.VILORA_SITE;
const native = process.env.VILORA_NATIVE;
const siteData = join(site, "data");

class Failure extends Error {}
function check(condition, what) {
    if (!condition) throw new Failure(what);
}

// --- frames --------------------------------------------------------------------

// The native program's first frame from `start`: a capture that is stopped
// (SIGTERM, after which what it wrote is complete) once the second frame
// appears. RGB bytes, row by row.
async function nativeFirstFrame(argv) {
    const folder = mkdtempSync(join(tmpdir(), "vilora-native-"));
    try {
        const child = spawn(native, [...argv, "--capture", folder, "--data", siteData], {
            stdio: "ignore",
        });
        const exited = new Promise((done) => child.on("exit", done));
        while (!existsSync(join(folder, "frame-00001.png")) && child.exitCode === null)
            await sleep(50);
        child.kill("SIGTERM");
        await exited;
        const png = join(folder, "frame-00000.png");
        check(existsSync(png), `the native capture of ${argv.join(" ")} wrote no first frame`);
        const size = execFileSync("identify", ["-format", "%w %h", png]).toString().split(" ");
        const rgb = execFileSync("convert", [png, "-depth", "8", "rgb:-"]);
        return {width: Number(size[0]), height: Number(size[1]), rgb};
    } finally {
        rmSync(folder, {recursive: true, force: true});
    }
}

// The canvas as the page's first "frame" event finds it, as RGBA bytes.
async function pageFirstFrame(browser, url, query) {
    const page = await browser.newPage();
    await page.setViewport({width: 960, height: 720});
    await page.evaluateOnNewDocument(() => {
        document.addEventListener("DOMContentLoaded", () => {
            const canvas = document.getElementById("frame");
            canvas.addEventListener("frame", (event) => {
                if (event.detail.frame !== 0) return;
                const {width, height} = canvas;
                const bytes = canvas.getContext("2d").getImageData(0, 0, width, height).data;
                let text = "";
                for (let i = 0; i < bytes.length; i += 8192)
                    text += String.fromCharCode(...bytes.subarray(i, i + 8192));
                window.firstFrame = {width, height, rgba: btoa(text)};
            });
        });
    });
    await page.goto(url + "index.html" + query);
    try {
        await waitForPage(page, () => window.firstFrame !== undefined, 60);
    } catch {
        const state = await page.evaluate(() => window.vilora.state + ": " + document.body.innerText);
        throw new Failure(`${query}: no first frame within 60 s (${state.slice(0, 300)})`);
    }
    const frame = await page.evaluate(() => window.firstFrame);
    const note = await page.evaluate(() => document.getElementById("note").textContent);
    check(note === "", `${query}: the page says "${note}"`);
    await page.close();
    return {...frame, rgba: Buffer.from(frame.rgba, "base64")};
}

function differingPixels(canvas, reference) {
    let differing = 0;
    for (let i = 0, j = 0; j < reference.rgb.length; i += 4, j += 3)
        if (
            canvas.rgba[i] !== reference.rgb[j] ||
            canvas.rgba[i + 1] !== reference.rgb[j + 1] ||
            canvas.rgba[i + 2] !== reference.rgb[j + 2] ||
            canvas.rgba[i + 3] !== 255
        )
            ++differing;
    return differing;
}

// Three places of the show, one of them at 320x200, with captions in two
// sizes and the finale's random choices, and the calm finale: the canvas holds
// the native frame, and the page understood every parameter.
async function framesMatchNative(browser, url) {
    const places = [
        {query: "?autoplay&seed=1&start=20", argv: ["--seed", "1", "--start", "20"]},
        {query: "?autoplay&seed=1&start=26:16&mode=0", argv: ["0", "--seed", "1", "--start", "26:16"]},
        {query: "?autoplay&seed=1&start=63:10", argv: ["--seed", "1", "--start", "63:10"]},
        {query: "?autoplay&calm&seed=2&start=64", argv: ["--calm", "--seed", "2", "--start", "64"]},
    ];
    for (const place of places) {
        const reference = await nativeFirstFrame(place.argv);
        const canvas = await pageFirstFrame(browser, url, place.query);
        check(
            canvas.width === reference.width && canvas.height === reference.height,
            `${place.query}: a ${canvas.width}x${canvas.height} canvas, native ${reference.width}x${reference.height}`,
        );
        const differing = differingPixels(canvas, reference);
        check(differing === 0, `${place.query}: ${differing} pixels differ from the native frame`);
    }
}

// --- sound -----------------------------------------------------------------------

async function playsAMinuteWithoutUnderruns(browser, url) {
    const page = await openSite(browser, url, "?autoplay");
    await waitForPage(page, () => window.vilora.state === "playing");
    await sleep(60000);
    const sound = await page.evaluate(() => window.vilora.sound);
    const frames = await page.evaluate(() => window.vilora.stats.frames);
    await page.close();
    check(sound !== null, "the show was no longer playing after 60 s");
    check(sound.state === "running", `the AudioContext is ${sound.state}, not running`);
    check(sound.underruns === 0, `the worklet ran dry ${sound.underruns} times`);
    // The music's clock follows what is heard: most of the minute was heard,
    // and the frames kept up with it.
    check(sound.heard > 50 * 44100, `only ${(sound.heard / 44100).toFixed(1)} s were heard`);
    check(frames > 700, `only ${frames} frames were shown in 60 s`);
}

// --- keys ------------------------------------------------------------------------

const lastFrame = (page) => page.evaluate(() => window.vilora.stats.last);
const framesShown = (page) => page.evaluate(() => window.vilora.stats.frames);

async function keysPauseJumpAndLeave(browser, url) {
    const page = await openSite(browser, url, "?autoplay&start=10");
    await waitForPage(page, () => window.vilora.state === "playing" && window.vilora.stats.frames > 5);

    await page.keyboard.press("Space");
    await sleep(300);
    const pausedAt = await framesShown(page);
    const heardAt = await page.evaluate(() => window.vilora.sound.heard);
    await sleep(1000);
    check((await framesShown(page)) === pausedAt, "frames went on after Space");
    const heard = await page.evaluate(() => window.vilora.sound.heard);
    check(heard === heardAt, `the music went on after Space (${heardAt} -> ${heard} frames)`);

    // While paused, Right shows one frame: the start of the next order.
    const before = await lastFrame(page);
    await page.keyboard.press("ArrowRight");
    await waitForPage(page, (n) => window.vilora.stats.frames > n, 10, pausedAt);
    const after = await lastFrame(page);
    check(
        after.order === before.order + 1 && after.row === 0,
        `Right went from ${before.order}:${before.row} to ${after.order}:${after.row}`,
    );

    // Tab lays the overlay over the frame; F12 downloads the frame; F takes
    // the stage to full screen and back.
    await page.keyboard.press("Tab");
    await waitForPage(page, () => !document.getElementById("overlay").hidden, 10);
    check(await page.evaluate(() => document.getElementById("overlay").width > 0), "an empty overlay");
    const downloads = mkdtempSync(join(tmpdir(), "vilora-downloads-"));
    try {
        const session = await browser.target().createCDPSession();
        await session.send("Browser.setDownloadBehavior", {behavior: "allow", downloadPath: downloads});
        await page.keyboard.press("F12");
        const png = join(downloads, "vilora-0001.png");
        for (let tries = 0; tries < 100 && !existsSync(png); ++tries) await sleep(100);
        check(existsSync(png), "F12 downloaded no vilora-0001.png");
        const size = execFileSync("identify", ["-format", "%w %h", png]).toString();
        check(size === "320 240", `the screenshot is ${size}, not the 320x240 frame`);
    } finally {
        rmSync(downloads, {recursive: true, force: true});
    }
    await page.keyboard.press("f");
    await waitForPage(page, () => document.fullscreenElement === document.getElementById("stage"), 10);
    await page.keyboard.press("f");
    await waitForPage(page, () => document.fullscreenElement === null, 10);

    await page.keyboard.press("Space");
    await waitForPage(page, (n) => window.vilora.stats.frames > n + 5, 10, pausedAt + 1);

    // A hidden tab holds music and picture; shown again, the show goes on.
    const setHidden = (hidden) =>
        page.evaluate((value) => {
            Object.defineProperty(document, "hidden", {value, configurable: true});
            Object.defineProperty(document, "visibilityState", {
                value: value ? "hidden" : "visible",
                configurable: true,
            });
            document.dispatchEvent(new Event("visibilitychange"));
        }, hidden);
    await setHidden(true);
    await waitForPage(page, () => window.vilora.sound.state === "suspended", 10);
    const hiddenAt = await framesShown(page);
    const heardHidden = await page.evaluate(() => window.vilora.sound.heard);
    await sleep(1000);
    check((await framesShown(page)) <= hiddenAt + 1, "frames went on in a hidden tab");
    check(
        (await page.evaluate(() => window.vilora.sound.heard)) === heardHidden,
        "the music went on in a hidden tab",
    );
    await setHidden(false);
    await waitForPage(page, (n) => window.vilora.stats.frames > n + 5, 10, hiddenAt + 1);

    await page.keyboard.press("Escape");
    await waitForPage(page, () => window.vilora.state === "ready", 10);
    check(
        await page.evaluate(() => !document.getElementById("start").hidden),
        "Escape did not bring the start screen back",
    );
    await page.close();
}

// The show's end (order 67, a few seconds after order 66 starts) brings the
// start screen back, with no problem to report.
async function theEndReturnsToTheStartScreen(browser, url) {
    const page = await openSite(browser, url, "?autoplay&start=66");
    await waitForPage(page, () => window.vilora.state === "playing");
    await waitForPage(page, () => window.vilora.state === "ready", 60);
    const shown = await page.evaluate(() => ({
        start: !document.getElementById("start").hidden,
        problem: !document.getElementById("problem").hidden,
        last: window.vilora.stats.last,
    }));
    await page.close();
    check(shown.start && !shown.problem, "the end did not bring the start screen back alone");
    check(shown.last && shown.last.order === 66, `the last frame shown was not of order 66`);
}

// --- bad data ----------------------------------------------------------------------

// Plays a copy of the data, changed by `damage`, through "Play your own
// data"; the page's problem box afterwards.
async function problemWith(browser, url, damage) {
    const folder = mkdtempSync(join(tmpdir(), "vilora-own-"));
    try {
        for (const name of readdirSync(siteData)) copyFileSync(join(siteData, name), join(folder, name));
        damage(folder);
        const page = await openSite(browser, url, "");
        await waitForPage(page, () => window.vilora.state === "ready");
        const input = await page.$("#own-folder");
        await input.uploadFile(folder);
        await waitForPage(page, () => document.getElementById("own-chosen").textContent !== "", 10);
        await page.click("#play");
        await waitForPage(page, () => !document.getElementById("problem").hidden, 20);
        const problem = await page.evaluate(() => ({
            heading: document.getElementById("problem-heading").textContent,
            lines: document.getElementById("problem-lines").textContent,
            state: window.vilora.state,
        }));
        await page.close();
        return problem;
    } finally {
        rmSync(folder, {recursive: true, force: true});
    }
}

async function badDataShowsTheMessage(browser, url) {
    const cut = await problemWith(browser, url, (folder) => truncateSync(join(folder, "dtroid.782"), 17));
    check(cut.state === "ready", "the page did not return to the start screen");
    check(
        cut.heading === "error: oneco0 class initialization error",
        `a cut library gave the heading "${cut.heading}"`,
    );
    check(
        cut.lines.includes("dtroid.782") && cut.lines.includes("truncated"),
        `no line names the cut library: "${cut.lines}"`,
    );

    const gone = await problemWith(browser, url, (folder) => rmSync(join(folder, "muska.xm")));
    check(
        gone.heading === "error: music couln't be started. the module not found!",
        `a missing module gave the heading "${gone.heading}"`,
    );
    check(gone.lines.includes("muska.xm: missing"), `no line names the module: "${gone.lines}"`);
}

// --- the run ---------------------------------------------------------------------

const groups = {
    frames: framesMatchNative,
    sound: playsAMinuteWithoutUnderruns,
    keys: keysPauseJumpAndLeave,
    end: theEndReturnsToTheStartScreen,
    "bad-data": badDataShowsTheMessage,
};

const chosen = process.argv.length > 2 ? process.argv.slice(2) : Object.keys(groups);
const server = await serveSite(site);
const browser = await launchChromium();
let failed = 0;
for (const name of chosen) {
    try {
        await groups[name](browser, server.url);
        console.log(`ok       web page: ${name}`);
    } catch (error) {
        ++failed;
        console.log(`FAILED   web page: ${name}: ${error instanceof Failure ? error.message : error.stack}`);
    }
}
await browser.close();
await server.close();
process.exit(failed ? 1 : 0);
