// What `--version` says for vilora and vilora-kit.
#pragma once

namespace vilora {

// The project version, then the git commit the programs were built from where
// the sources were a git work tree: "0.1.0" or "0.1.0 (commit 1a2b3c4d5e6f)".
const char* program_version();

} // namespace vilora
