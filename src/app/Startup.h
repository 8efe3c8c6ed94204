#pragma once

namespace app {

// The start-up sequence and the message loop; returns the process exit code.
int RunInstaller();

}  // namespace app
