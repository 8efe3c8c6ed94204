#include "install/InstallRun.h"

namespace install {

void RunInstallation(IInstallView& view, const RunInputs& inputs) {
    view.ClearLines();
    view.ShowPage(Page::Progress);
    view.ProcessMessages();
}

}  // namespace install
