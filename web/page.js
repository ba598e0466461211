// The page around the engine: the start screen, the download of the engine and
// its data, one fresh engine instance per show, the canvas laid out by whole
// pixels, and the way back to the start screen. vilora.js (the engine's
// glue) defines createVilora; sound.js the sound sinks.
"use strict";

(() => {
    const $ = (id) => document.getElementById(id);
    const stage = $("stage");
    const frameCanvas = $("frame");
    const overlayCanvas = $("overlay");
    const startScreen = $("start");

    // --- the command line from the URL ------------------------------------------

    // URL parameters and the command line's arguments for them: a function of
    // the value, or an option name that takes it. The page's own are apart.
    const urlOptions = {
        mode: (value) => [value], // ?mode=0: "0", 320x200
        test: () => ["T"],
        start: "--start",
        part: "--part",
        seed: "--seed",
        calm: () => ["--calm"], // ?calm: the finale holds each scene six frames
    };
    const pageParameters = new Set(["autoplay"]);

    function commandLine(search) {
        const argv = [];
        const ignored = [];
        for (const [name, value] of new URLSearchParams(search)) {
            const option = urlOptions[name];
            if (typeof option === "function") argv.push(...option(value));
            else if (option) argv.push(option, value);
            else if (!pageParameters.has(name)) ignored.push(name);
        }
        return {argv, ignored};
    }

    const url = commandLine(location.search);
    const autoplay = new URLSearchParams(location.search).has("autoplay");

    // --- the start screen -----------------------------------------------------------

    function say(id, text) {
        $(id).textContent = text;
    }

    function showProblem(heading, lines) {
        say("problem-heading", heading);
        say("problem-lines", lines.join("\n"));
        $("problem").hidden = false;
    }

    function showStartScreen() {
        stage.classList.remove("playing");
        startScreen.hidden = false;
        $("play").focus();
    }

    if (url.ignored.length > 0) say("note", "Not understood in the address: " + url.ignored.join(", "));

    // --- the download -----------------------------------------------------------

    // The site's files.json lists the engine and the data with their sizes,
    // so that the bar knows the whole before the first byte.
    async function fetchWithProgress(path, onBytes) {
        const response = await fetch(path);
        if (!response.ok) throw new Error(path + ": " + response.status + " " + response.statusText);
        const reader = response.body.getReader();
        const parts = [];
        let length = 0;
        for (;;) {
            const {done, value} = await reader.read();
            if (done) break;
            parts.push(value);
            length += value.length;
            onBytes(value.length);
        }
        const bytes = new Uint8Array(length);
        let at = 0;
        for (const part of parts) {
            bytes.set(part, at);
            at += part.length;
        }
        return bytes;
    }

    const site = {engine: null, data: new Map(), fonts: new Map(), ready: false};

    async function download() {
        const manifest = await (await fetch("files.json")).json();
        const total = manifest.reduce((sum, file) => sum + file.size, 0);
        let loaded = 0;
        const bar = $("loading");
        bar.max = total;
        const progress = (bytes) => {
            loaded += bytes;
            bar.value = loaded;
            say("loading-text", Math.floor((100 * loaded) / total) + " %");
        };
        await Promise.all(
            manifest.map(async (file) => {
                const bytes = await fetchWithProgress(file.path, progress);
                const [folder, name] = file.path.split("/");
                if (file.path === "vilora.wasm") site.engine = await WebAssembly.compile(bytes);
                else if (folder === "data") site.data.set(name, bytes);
                else if (folder === "fonts") site.fonts.set(name, bytes);
            }),
        );
        $("loading-row").hidden = true;
        site.ready = true;
    }

    // --- a show -----------------------------------------------------------------

    let show = null; // the running show: {sink, lines, problem}
    let starting = false; // its sound is being opened
    const stats = {frames: 0, passMs: [], drawMs: [], last: null};

    // What the engine's web backend calls (Module.page).
    function pageFor(current) {
        return {
            canvas: frameCanvas,
            overlay: overlayCanvas,
            canvasContext: frameCanvas.getContext("2d", {alpha: false}),
            overlayContext: overlayCanvas.getContext("2d"),
            audio: current.sink,
            frameSize: () => layout(),
            overlaySize: (width) => {
                overlayCanvas.hidden = width === 0;
                layout();
            },
            messageBox: (caption, text) => {
                current.problem = caption + ": " + text;
            },
            download: (name, bytes) => {
                const link = document.createElement("a");
                link.href = URL.createObjectURL(new Blob([bytes], {type: "image/png"}));
                link.download = name;
                link.click();
                setTimeout(() => URL.revokeObjectURL(link.href), 10000);
            },
            toggleFullscreen,
            frameShown: (frame) => {
                stats.frames += 1;
                stats.passMs.push(frame.passMs);
                stats.drawMs.push(frame.drawMs);
                stats.last = frame;
                frameCanvas.dispatchEvent(new CustomEvent("frame", {detail: frame}));
            },
            showEnded: (status) => setTimeout(() => ended(current, status)),
        };
    }

    // Writes the data (the site's, or the folder the user gave) and the face
    // into the instance's file system before main runs.
    function filesFor(data) {
        return (engine) => {
            engine.FS.mkdir("/data");
            for (const [name, bytes] of data) engine.FS.writeFile("/data/" + name, bytes);
            engine.FS.mkdir("/fonts");
            for (const [name, bytes] of site.fonts) engine.FS.writeFile("/fonts/" + name, bytes);
        };
    }

    // A sound sink that runs: where the browser keeps the sound stopped
    // (autoplay refused), the start screen waits for a click when no click
    // started the show, and the show plays silently by the clock when one did.
    async function runningSink(byClick) {
        const sink = await viloraSound.open();
        if (sink.state !== "suspended") return sink;
        sink.close();
        if (!byClick) return null;
        return viloraSound.silent("the browser did not start the sound");
    }

    async function play(data, byClick) {
        if (show || starting || !site.ready) return;
        starting = true;
        const sink = await runningSink(byClick);
        starting = false;
        if (!sink) {
            say("note", "Press Play: this browser starts sound only after a click.");
            showStartScreen();
            return;
        }
        $("problem").hidden = true;
        const current = {sink, lines: [], problem: null};
        if (sink.reason) say("note", "No sound: " + sink.reason + ".");
        show = current;
        stats.frames = 0;
        stats.passMs = [];
        stats.drawMs = [];
        startScreen.hidden = true;
        stage.classList.add("playing");
        overlayCanvas.hidden = true;
        if (document.activeElement) document.activeElement.blur();
        layout();
        createVilora({
            arguments: url.argv,
            page: pageFor(current),
            preRun: [filesFor(data)],
            print: (line) => console.log(line),
            onAbort: (what) => ended(current, 1, "The engine stopped: " + what),
            printErr: (line) => {
                console.warn(line);
                current.lines.push(line);
            },
            instantiateWasm: (imports, receive) => {
                WebAssembly.instantiate(site.engine, imports).then((instance) =>
                    receive(instance, site.engine),
                );
                return {};
            },
        }).catch((error) => ended(current, 1, String(error)));
    }

    function ended(current, status, failure) {
        if (show !== current) return;
        show = null;
        current.sink.close();
        if (document.fullscreenElement) document.exitFullscreen();
        if (failure) current.lines.push(failure);
        if (status !== 0) {
            // The show's own message comes first; its copy on stderr is not
            // repeated below it.
            const heading = current.problem || "The show could not start (status " + status + ").";
            showProblem(
                heading,
                current.lines.filter((line) => line !== current.problem),
            );
        }
        showStartScreen();
    }

    // --- layout and full screen ---------------------------------------------------

    // Whole device pixels per frame pixel where the stage has room, the 4:3
    // shape either way (a 200-line frame is stretched as its monitor did);
    // the overlay at the frame's top-left corner, larger on large screens.
    function layout() {
        const ratio = window.devicePixelRatio || 1;
        const width = stage.clientWidth * ratio;
        const height = stage.clientHeight * ratio;
        const shapeWidth = 320;
        const shapeHeight = frameCanvas.width === 320 ? 240 : frameCanvas.height;
        const scale = Math.floor(Math.min(width / shapeWidth, height / shapeHeight));
        let shownWidth = shapeWidth * scale;
        let shownHeight = shapeHeight * scale;
        if (scale < 1) {
            const fit = Math.min(width / shapeWidth, height / shapeHeight);
            shownWidth = Math.floor(shapeWidth * fit);
            shownHeight = Math.floor(shapeHeight * fit);
        }
        const left = Math.floor((width - shownWidth) / 2);
        const top = Math.floor((height - shownHeight) / 2);
        place(frameCanvas, left, top, shownWidth, shownHeight, ratio);
        const size = Math.max(1, Math.floor(shownHeight / 720));
        place(
            overlayCanvas,
            left + 8 * size,
            top + 8 * size,
            overlayCanvas.width * size,
            overlayCanvas.height * size,
            ratio,
        );
    }

    function place(canvas, left, top, width, height, ratio) {
        canvas.style.left = left / ratio + "px";
        canvas.style.top = top / ratio + "px";
        canvas.style.width = width / ratio + "px";
        canvas.style.height = height / ratio + "px";
    }

    function toggleFullscreen() {
        if (document.fullscreenElement) document.exitFullscreen();
        else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
    }

    window.addEventListener("resize", layout);
    document.addEventListener("fullscreenchange", layout);

    // --- "Play your own data" -----------------------------------------------------

    async function namedBytes(files) {
        const data = new Map();
        for (const file of files) data.set(file.name, new Uint8Array(await file.arrayBuffer()));
        return data;
    }

    // The files of a dropped folder, without going into its subfolders (the
    // show reads its eleven files from the one folder).
    function folderFiles(entry) {
        return new Promise((resolve, reject) => {
            const reader = entry.createReader();
            const files = [];
            const next = () =>
                reader.readEntries((entries) => {
                    if (entries.length === 0) {
                        Promise.all(files).then(resolve, reject);
                        return;
                    }
                    for (const child of entries)
                        if (child.isFile) files.push(new Promise((done, fail) => child.file(done, fail)));
                    next();
                }, reject);
            next();
        });
    }

    // Entries are taken from the drop at once: the list is gone after it.
    async function droppedFiles(items) {
        const entries = items.map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry());
        const files = [];
        for (const entry of entries) {
            if (entry && entry.isDirectory) files.push(...(await folderFiles(entry)));
            else if (entry && entry.isFile) files.push(await new Promise((done, fail) => entry.file(done, fail)));
        }
        return files;
    }

    // The data Play plays: the site's, or the user's once given. A pick or a
    // drop is not a click on Play, and browsers start sound only from one.
    let chosen = null;
    async function choose(files) {
        if (files.length === 0) return;
        chosen = await namedBytes(files);
        say("own-chosen", "Play plays your data: " + [...chosen.keys()].sort().join(", ") + ".");
        $("own-forget").hidden = false;
        $("play").focus();
    }

    // The picked folder's own files; what its subfolders hold stays out, as
    // for a dropped one.
    $("own-folder").addEventListener("change", async (event) => {
        const files = [...event.target.files];
        await choose(files.filter((file) => file.webkitRelativePath.split("/").length <= 2));
        event.target.value = "";
    });
    $("own-forget").addEventListener("click", () => {
        chosen = null;
        say("own-chosen", "");
        $("own-forget").hidden = true;
    });
    startScreen.addEventListener("dragover", (event) => {
        event.preventDefault();
        startScreen.classList.add("dropping");
    });
    startScreen.addEventListener("dragleave", () => startScreen.classList.remove("dropping"));
    startScreen.addEventListener("drop", async (event) => {
        event.preventDefault();
        startScreen.classList.remove("dropping");
        await choose(await droppedFiles([...event.dataTransfer.items]));
    });

    $("play").addEventListener("click", () => play(chosen || site.data, true));
    $("fullscreen").addEventListener("click", toggleFullscreen);

    // --- for kiosks and tests -----------------------------------------------------

    window.vilora = {
        // "loading", "ready" (the start screen), "playing"
        get state() {
            if (show) return "playing";
            return site.ready ? "ready" : "loading";
        },
        get sound() {
            return show ? {state: show.sink.state, underruns: show.sink.underruns, heard: show.sink.heard()} : null;
        },
        stats,
        play: () => play(site.data, false),
    };

    layout();
    download().then(
        () => {
            $("play").disabled = false;
            if (autoplay) play(site.data, false);
            else $("play").focus();
        },
        (error) => showProblem("The show could not be downloaded.", [String(error.message || error)]),
    );
})();
