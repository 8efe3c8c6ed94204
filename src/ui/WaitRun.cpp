#include "ui/WaitRun.h"

#include "gui/Application.h"
#include "gui/Fonts.h"

namespace ui {

TFWaitRun::TFWaitRun() {
    CreateHandle({L"TFWaitRun", L"Запуск Велтон-Dozevo...", 314, 39, WS_POPUP | WS_CAPTION | WS_BORDER, WS_EX_TOPMOST,
                  gui::GetFont({L"Tahoma", 13, RUSSIAN_CHARSET})});
    LblProgress.Create(Handle(), {L"", {0, 0, 314, 19}, false, gui::TextAlign::Left, true});
    ProgressBar.Create(Handle(), {.bounds = {0, 19, 314, 20}, .min = 0, .max = 25, .step = 1, .smooth = true});
    FormCreate();
}

TFWaitRun::~TFWaitRun() {
    DestroyHandle();
}

void TFWaitRun::FormCreate() {
    ProgressBar.SetPosition(0);
    SetCaption(CaptionFor(typemessage));
}

void TFWaitRun::FormShow() {
    SetCaption(CaptionFor(typemessage));
    CenterOnScreen();
}

void TFWaitRun::Next(const std::wstring& msg) {
    try {
        ProgressBar.StepIt();
        LblProgress.SetText(msg);
        gui::App().ProcessMessages();
    } catch (...) {
        // A progress display must never stop the work it reports on.
    }
}

std::wstring TFWaitRun::CaptionFor(uint8_t typemessage) {
    switch (typemessage) {
        case 2:
            return L"Запись данных ЭКГ";
        case 3:
            return L"Преобразование данных ЭКГ в формат Велтон-Dozevo";
        case 4:
            return L"";
        default:
            return L"Launching ";
    }
}

}  // namespace ui
