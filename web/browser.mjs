// What the web tests, the page benchmark and the screenshots share: the site
// served from its folder on 127.0.0.1 by a small static server (plain files,
// no special headers, as any static host), and Debian's chromium driven
// through the DevTools protocol by puppeteer-core, installed by npm into the
// folder VILORA_NPM names (tests/web/run does that). Used by the web tests,
// bench/web_page_bench.mjs and web/screenshots.mjs.
import {createReadStream, mkdtempSync, rmSync, statSync} from "node:fs";
import {createServer} from "node:http";
import {createRequire} from "node:module";
import {tmpdir} from "node:os";
import {extname, join, normalize, resolve, sep} from "node:path";

const types = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript",
    ".css": "text/css",
    ".json": "application/json",
    ".wasm": "application/wasm",
    ".png": "image/png",
};

// Serves `folder` on a free port of 127.0.0.1; resolves to {url, close}.
export function serveSite(folder) {
    const root = normalize(folder);
    const server = createServer((request, response) => {
        const path = decodeURIComponent(new URL(request.url, "http://x").pathname);
        const file = normalize(join(root, path === "/" ? "index.html" : path));
        let size = -1;
        try {
            if (file.startsWith(root + sep) && statSync(file).isFile()) size = statSync(file).size;
        } catch {
            size = -1;
        }
        if (size < 0) {
            response.writeHead(404).end();
            return;
        }
        response.writeHead(200, {
            "Content-Type": types[extname(file)] || "application/octet-stream",
            "Content-Length": size,
        });
        createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => {
        server.listen(0, "127.0.0.1", () => {
            const url = `http://127.0.0.1:${server.address().port}/`;
            resolve({url, close: () => new Promise((done) => server.close(done))});
        });
    });
}

// Debian's chromium, headless, with a profile of its own that goes with it.
export async function launchChromium() {
    const npm = process.env.VILORA_NPM;
    if (!npm) throw new Error("VILORA_NPM names no folder with puppeteer-core");
    const puppeteer = createRequire(join(resolve(npm), "package.json"))("puppeteer-core");
    const profile = mkdtempSync(join(tmpdir(), "vilora-chromium-"));
    const browser = await puppeteer.launch({
        executablePath: process.env.VILORA_CHROMIUM || "/usr/bin/chromium",
        headless: true,
        userDataDir: profile,
        args: [
            "--no-sandbox",
            "--disable-gpu",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--no-first-run",
            "--disable-quic",
            "--autoplay-policy=no-user-gesture-required",
        ],
    });
    const close = browser.close.bind(browser);
    browser.close = async () => {
        await close();
        rmSync(profile, {recursive: true, force: true});
    };
    return browser;
}

// A page of the site at `query` (e.g. "?autoplay&start=20"), 960x720.
export async function openSite(browser, url, query = "") {
    const page = await browser.newPage();
    await page.setViewport({width: 960, height: 720});
    page.on("pageerror", (error) => console.error("page error:", error.message));
    await page.goto(url + "index.html" + query);
    return page;
}

// Resolves once `test(...args)`, run in the page, holds.
export async function waitForPage(page, test, seconds = 60, ...args) {
    await page.waitForFunction(test, {timeout: seconds * 1000, polling: 50}, ...args);
}

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Median and 99th percentile of a list of numbers.
export function percentiles(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
    return {median: at(0.5), p99: at(0.99), count: sorted.length};
}
