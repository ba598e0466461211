// Standard output and standard error as a long job meets them: a reader that
// went away (a closed pipe) or a full disk turns into failed writes, never
// into a signal that ends the job, and output that was lost is said, not
// taken for success.
#pragma once

namespace vilora {

// From now on a write to a pipe without a reader fails with EPIPE and a write
// past the file size limit with EFBIG, where they would end the process. A
// standard stream that was closed stays closed to writes (they fail with
// EBADF), but its descriptor is taken, so that no file the program opens
// later receives what was meant for the stream. Called first thing in main.
void guard_standard_streams();

// Flushes standard output now, so that what follows on standard error comes
// after it; a failure is kept for close_standard_output() to name.
void flush_standard_output();

// Flushes and closes standard output; false, after a line on standard error
// ("PROGRAM: the output to standard output was lost: No space left on
// device"), when anything written to it did not arrive.
bool close_standard_output(const char* program);

} // namespace vilora
