// Which implementation of the display's own pixel loops runs: the conversion of
// presented frames and the keyed copy. `fast` is the default: SSE2 on x86-64,
// with AVX2 where the processor has it; `sse2` leaves AVX2 out. `reference` is
// the plain loop every fast path matches bit for bit; tests and benchmarks
// force each in turn.
#pragma once

namespace vilora {

enum class pixel_path { fast, sse2, reference };
void force_pixel_path(pixel_path path);
pixel_path current_pixel_path();

// True when the AVX2 routines may run: the processor has them and `fast` is chosen.
bool wide_pixel_path();
// True when the SSE2 routines may run.
bool native_pixel_path();

} // namespace vilora
