#pragma once

// Every test program (and the benchmark) runs with HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and
// XDG_DATA_HOME pointing into a fresh folder under TMPDIR, made by TemporaryHome.cpp before any
// static of the program is built and removed when the process that made it exits.

namespace sombrax_test
{
/** The temporary home folder this process uses. */
const char* temporaryHome();

/** HOME as the program was started with it; nullptr if it was not set. */
const char* originalHome();

/** Removes everything inside the temporary home, so the next test finds it as a fresh
    program would. */
void emptyTemporaryHome();
} // namespace sombrax_test
