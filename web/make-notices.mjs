// Writes the site's notices page: every library compiled into the engine the
// page runs, and the face it carries, with its licence, the Debian source
// package (and version) it was built from, and that package's copyright file.
//
//   node web/make-notices.mjs VERSIONS COPYRIGHTS OUT.html
//
// VERSIONS holds lines "package=version"; COPYRIGHTS is a folder of copyright
// files named after their source packages.
import {readFileSync, writeFileSync} from "node:fs";
import {join} from "node:path";

const [versionsFile, copyrights, output] = process.argv.slice(2);
if (!output) {
    console.error("usage: node web/make-notices.mjs VERSIONS COPYRIGHTS OUT.html");
    process.exit(2);
}

const components = [
    {
        name: "libxmp",
        use: "plays the music module",
        licence: "GNU Lesser General Public License 2.1 or later (LGPL-2.1+)",
        source: "libxmp",
    },
    {
        name: "FreeType",
        use: "renders the captions' face",
        licence: "FreeType License (FTL), or the GNU GPL 2",
        source: "freetype",
    },
    {
        name: "zlib",
        use: "inflates the pictures of the .782 archives",
        licence: "zlib License",
        source: "zlib",
    },
    {
        name: "libpng",
        use: "writes the screenshots",
        licence: "PNG Reference Library License version 2",
        source: "libpng1.6",
    },
    {
        name: "CLI11",
        use: "reads the options the page's address gives",
        licence: "BSD 3-Clause License",
        source: "cli11",
    },
    {
        name: "Emscripten's runtime: musl libc, libc++, libc++abi, compiler-rt, dlmalloc and the JavaScript glue",
        use: "the C and C++ libraries of the WebAssembly build",
        licence:
            "MIT or University of Illinois/NCSA (Emscripten); MIT (musl); Apache 2.0 with LLVM exception, or MIT and NCSA (libc++, libc++abi, compiler-rt); public domain (dlmalloc)",
        source: "emscripten",
    },
    {
        name: "DejaVu Sans",
        use: "the face the captions are set in (carried as a file)",
        licence: "Bitstream Vera Fonts licence, DejaVu changes in the public domain",
        source: "fonts-dejavu",
    },
];

const versions = new Map(
    readFileSync(versionsFile, "utf8")
        .split("\n")
        .filter((line) => line.includes("="))
        .map((line) => [line.slice(0, line.indexOf("=")), line.slice(line.indexOf("=") + 1)]),
);

const escape = (text) =>
    text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;");

const rows = [];
const texts = [];
for (const c of components) {
    const version = versions.get(c.source);
    if (!version) {
        console.error(`make-notices: no version of ${c.source} in ${versionsFile}`);
        process.exit(1);
    }
    const copyright = readFileSync(join(copyrights, c.source), "utf8");
    rows.push(
        `<tr><td>${escape(c.name)}</td><td>${escape(c.use)}</td><td>${escape(c.licence)}</td>` +
            `<td><code>${escape(c.source)}</code> ${escape(version)}</td></tr>`,
    );
    texts.push(
        `<details><summary>${escape(c.name)}: <code>${escape(c.source)}</code> ` +
            `${escape(version)}, debian/copyright</summary><pre>${escape(copyright)}</pre></details>`,
    );
}

writeFileSync(
    output,
    `<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>vilora: notices</title>
<link rel="stylesheet" href="style.css">
</head>
<body class="notices">
<h1>Notices</h1>
<p>The engine this site runs is vilora compiled to WebAssembly with Debian's Emscripten.
Compiled into it, each from its Debian source package at the version given:</p>
<table>
<tr><th>library</th><th>what for</th><th>licence</th><th>Debian source package</th></tr>
${rows.join("\n")}
</table>
<p>libxmp is under the LGPL: the site is built by <code>scripts/web</code> from vilora's
sources and the Debian source packages above, and can be built again with a changed
libxmp the same way. The copyright file of each package follows.</p>
${texts.join("\n")}
<p><a href="index.html">Back to the show</a></p>
</body>
</html>
`,
);
