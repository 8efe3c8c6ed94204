#pragma once
// A demonstration installation for scripts/run: the UI driver presses through
// every page of the real program and, at each page, asks the script for a
// screenshot through files in a signal folder ("NN-page.ready" from here,
// "NN-page.done" back from the script).
namespace e2e {

// Arguments after "--demo": Install.exe path, target folder, signal folder
// (read from the wide command line). Returns 0 when the
// demonstration reached its end; writes "progress.txt" (the progress list,
// UTF-8) into the signal folder.
int RunDemo();

}  // namespace e2e
