// Where the time goes, for the benches: when ZELVANE_TIMINGS names a file at
// start-up, each PHASE_MARK appends "<phase>\t<ms since process creation>" to
// it, so the gaps between marks are the phases. Off, a mark is one test of a
// flag.
#pragma once

namespace phase_timing {

extern bool g_enabled;
// Reads ZELVANE_TIMINGS once; the program calls it first thing.
void Start();
void Mark(const char* phase);

} // namespace phase_timing

#define PHASE_MARK(phase)                                                                                     \
    do {                                                                                                      \
        if (phase_timing::g_enabled)                                                                          \
            phase_timing::Mark(phase);                                                                        \
    } while (0)
