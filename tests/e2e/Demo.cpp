#include "Demo.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "E2ESupport.h"
#include "UiDriver.h"
#include "base/Text.h"

namespace e2e {

namespace {

class Demo {
public:
    Demo(std::wstring exe, std::wstring target, std::wstring signals)
        : exe_(std::move(exe)), target_(std::move(target)), signals_(base::IncludeTrailingBackslash(signals)) {}

    bool Run() {
        UiDriver ui(exe_);
        ui_ = &ui;
        if (!WaitPage(ui, Page::Welcome)) return Fail("no welcome page");
        Shot("welcome");
        if (!GoToPathPage(ui)) return Fail("no path page");
        UiDriver::SetText(ui.PathField(), target_);
        Shot("path");
        if (!ui.ClickButton(L"Далее")) return Fail("no Next on the path page");
        if (!ui.WaitNotice()) return Fail("no driver notice");
        Shot("driver-notice");
        if (!CloseNotice(ui) || !WaitPage(ui, Page::Options)) return Fail("no options page");
        Shot("options");
        if (!ui.ClickButton(L"Начать установку")) return Fail("no install button");

        auto box = ui.WaitDialog(UiDriver::kRunTimeout);
        if (!box) return Fail("the run asked nothing");
        Shot("progress-driver-question");
        UiDriver::Answer(*box, L"Yes");
        UiDriver::WaitGone(box->window);

        // Large fonts end with the question whether to leave, small fonts on the font-size page.
        std::optional<Dialog> end;
        WaitFor([&] { return (end = ui.FindDialog()) || CurrentPage(ui) == Page::FontSize; }, UiDriver::kRunTimeout);
        SaveProgress(ui.ProgressLines());
        if (end) {
            Shot("final-question");
            UiDriver::Answer(*end, end->buttons.size() > 1 ? L"Yes" : L"OK");
            return ui.WaitExit() || Fail("the program did not end");
        }
        if (CurrentPage(ui) != Page::FontSize) return Fail("the run did not end");
        Shot("font-size");
        ui.ClickButton(L"Изменить настройки");
        if (auto restart = ui.WaitDialog()) {
            Shot("restart-question");
            // Never Yes: it restarts the Wine prefix.
            UiDriver::Answer(*restart, L"No");
            UiDriver::WaitGone(restart->window);
        }
        ui.ClickButton(L"Выход");
        return ui.WaitExit() || Fail("Exit did not end the program");
    }

private:
    // Lets the program paint, then waits (bounded) for the script's screenshot.
    void Shot(const std::string& page) {
        Pause(800);
        char number[8];
        std::snprintf(number, sizeof(number), "%02d-", ++shots_);
        std::wstring name = signals_ + base::FromUtf8(number + page);
        WriteBytes(name + L".ready", "");
        WaitFor([&] { return FileExists(name + L".done"); }, 20000);
        std::printf("page %s%s\n", number, page.c_str());
        std::fflush(stdout);
    }
    void SaveProgress(const std::vector<std::wstring>& lines) {
        std::string text;
        for (const auto& line : lines) text += base::ToUtf8(line) + "\n";
        WriteBytes(signals_ + L"progress.txt", text);
    }
    bool Fail(const char* why) {
        std::fprintf(stderr, "demo: %s\n", why);
        if (ui_) {
            if (auto box = ui_->FindDialog())
                std::fprintf(stderr, "demo: box \"%s\": %s\n", base::ToUtf8(box->caption).c_str(),
                             base::ToUtf8(box->text).c_str());
            SaveProgress(ui_->ProgressLines());
        }
        return false;
    }

    std::wstring exe_, target_, signals_;
    UiDriver* ui_ = nullptr;
    int shots_ = 0;
};

}  // namespace

int RunDemo() {
    // The wide command line: paths may hold any character.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 5) {
        std::fprintf(stderr, "usage: e2e_tests --demo INSTALL_EXE TARGET SIGNAL_FOLDER\n");
        return 2;
    }
    std::wstring exe = argv[2], target = argv[3], signals = argv[4];
    LocalFree(argv);
    try {
        Demo demo(exe, target, signals);
        return demo.Run() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "demo: %s\n", e.what());
        return 1;
    }
}

}  // namespace e2e
