// The main window: pages with their texts and controls, navigation, the path
// page's validation, the cancel confirmation and the close rule.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/Backdrop.h"
#include "app/Main.h"
#include "app/ProductResources.h"
#include "base/FileSystem.h"
#include "gui/Application.h"
#include "gui/Screen.h"

using app::TFMain;
using testsupport::DialogRecorder;
using testsupport::TimedMessageRecorder;

namespace {

// Memo lines as the window holds them: joined by hard line breaks.
std::wstring Lines(std::initializer_list<const wchar_t*> lines) {
    std::wstring text;
    bool first = true;
    for (const wchar_t* line : lines) {
        if (!first) text += L"\r\n";
        text += line;
        first = false;
    }
    return text;
}

std::wstring ClassOf(HWND wnd) {
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    return name;
}

// Keeps the current folder for the test and puts it back.
class Wizard : public testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TFMain>();
        form->Show();
    }
    void TearDown() override {
        form.reset();
        testsupport::PumpFor(0);
    }
    // Runs the posted work of the window (the driver notice follows the options page that way).
    void Pump() { gui::App().ProcessMessages(); }
    void GoToPathPage() { form->BtnStartNextClick(); }
    void GoToOptionsPage() {
        GoToPathPage();
        form->ePath.SetText(dir / L"Holter");
        form->BtnInputPathNextClick();
        Pump();
    }

    testsupport::TempDir dir;
    TimedMessageRecorder notices;
    std::unique_ptr<TFMain> form;
};

const std::wstring kDriverNotice =
    L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Велтон-Dozevo\",\r снимите галочку "
    L"установки драйвера!";

}  // namespace

TEST_F(Wizard, WindowIsTheDesignedFixedWizard) {
    EXPECT_EQ(form->Caption(), L"Установка комплекса");
    EXPECT_EQ(ClassOf(form->Handle()), L"TFMain");
    const gui::Box client = form->ClientBox();
    EXPECT_EQ(client.width, 954);
    EXPECT_EQ(client.height, 579);
    const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);

    // The backdrop places both working controls into its frames.
    const gui::Box info = form->RichEdit1.Bounds(), pages = form->InsatallPages.Bounds();
    EXPECT_EQ((std::vector<int>{info.left, info.top, info.width, info.height}), (std::vector<int>{16, 110, 282, 441}));
    EXPECT_EQ((std::vector<int>{pages.left, pages.top, pages.width, pages.height}),
              (std::vector<int>{320, 110, 619, 441}));
    EXPECT_EQ(GetWindow(form->BG.Handle(), GW_HWNDNEXT), nullptr) << "the backdrop lies below every other control";
    EXPECT_EQ(form->BG.Buffer().Width(), 954);
    EXPECT_EQ(form->BG.Buffer().Height(), 579);
}

TEST_F(Wizard, CreationStepLoadsResourcesAndStartsOnTheWelcomePage) {
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsStart);
    EXPECT_TRUE(form->tsStart.Visible());
    EXPECT_FALSE(form->tsInputPath.Visible());
    EXPECT_EQ(form->ePath.Text(), L"C:\\Holter");
    EXPECT_EQ(form->AppNameStr, L"Holter");
    EXPECT_TRUE(form->FCanClose);
    EXPECT_FALSE(app::WriteBtoothIni) << "the product title is not the sibling's";
    EXPECT_FALSE(form->BtnExit.Enabled());
    EXPECT_FALSE(form->LogList.Visible());

    // The information document is shown formatted (not as RTF source) and cannot be edited.
    const std::wstring info = form->RichEdit1.Text();
    EXPECT_FALSE(info.empty());
    EXPECT_EQ(info.find(L"{\\rtf"), std::wstring::npos);
    EXPECT_TRUE(form->RichEdit1.ReadOnly());

    // Panel colours come from the title art's top-left pixel.
    const COLORREF expected = gui::PixelToColor(form->Images.title.At(0, 0));
    EXPECT_EQ(form->InsatallPages.Color(), expected);
    EXPECT_EQ(form->RichEdit1.Color(), expected);
    EXPECT_EQ(form->MemoStart.Color(), expected);
    EXPECT_EQ(form->PnlPath.BorderColor(), expected);
    for (const gui::Bitmap32* bmp : {&form->Images.bg, &form->Images.panels, &form->Images.logo, &form->Images.titleL,
                                     &form->Images.titleR, &form->Images.titleM, &form->Images.title})
        EXPECT_GT(bmp->Width() * bmp->Height(), 0);
}

TEST_F(Wizard, PagesCarryTheirTextsAndControls) {
    struct Expected {
        const gui::Control& control;
        const wchar_t* className;
        std::wstring text;
    };
    const Expected table[] = {
        {form->tsStart, L"HolterPanel", L"tsStart"},
        {form->MemoStart, L"Edit",
         Lines({L"Добро пожаловать в программу установки комплекса ", L"\"ВЕЛТОН-DOZEVO\"!", L"",
                L"Для продолжения установки, нажмите кнопку \"Далее\".", L"",
                L"Для выхода из программы установки нажмите кнопку \"Отмена\"."})},
        {form->BtnCancel, L"Button", L"Отмена"},
        {form->BtnStartNext, L"Button", L"Далее"},
        {form->tsInputPath, L"HolterPanel", L"tsInputPath"},
        {form->MemoInputPath, L"Edit",
         Lines({L"Пожалуйста, задайте путь куда устанавливать программную часть ", L"комплекса \"Велтон-Dozevo\""})},
        {form->BtnSelectPath, L"Button", L"Выбрать"},
        {form->BtnCancel2, L"Button", L"Отмена"},
        {form->BtnInputPathNext, L"Button", L"Далее"},
        {form->tsInputComponents, L"HolterPanel", L"tsInputComponents"},
        {form->MemoInputComponents, L"Edit",
         Lines({L" - Если у Вас есть 2-х канальный кабель для регистрации детских ЭКГ, поставьте ",
                L"галочку в поле \"Регистрация 2-х канальной ЭКГ\".",
                L" - Если у Вас есть универсальный регистратор, поставьте галочку в поле ",
                L"\"Универсальный регистратор\".",
                L" - Если у Вас установлен монитор АД \"BPLab\", поставьте галочку в поле \"установлен ",
                L"монитор АД \"BPLab\"\".", L"",
                L" - Задайте, пожалуйста, тип ЭКГ, который Вы чаще всего будете регистрировать.", L"",
                L" - Нажмите кнопку \"Начать установку\", для того чтобы установить программное ",
                L"обеспечение на Ваш компъютер.", L"",
                L"Все настройки можно изменить позже, во время работы с программой ",
                L"\"Велтон-Dozevo\" в меню \"Настройки\"."})},
        {form->CbDriverInstal, L"Button", L"Устанавливать драйвер"},
        {form->CBWindows, L"ComboBox", L"Windows 7, Windows 8"},
        {form->BtnCancel4, L"Button", L"Отмена"},
        {form->BtnInputComponentsBack, L"Button", L"Назад"},
        {form->BtnInsatall, L"Button", L"Начать установку"},
        {form->tsProgressInstall, L"HolterPanel", L"tsProgressInstall"},
        {form->LogList, L"ListBox", L""},
        {form->BtnExit, L"Button", L"Выход"},
        {form->tsCancel, L"HolterPanel", L"tsCancel"},
        {form->MemoCancel, L"Edit",
         Lines({L"Установка комплекса \"Велтон-Dozevo\" отменена!", L"",
                L"Нажмите кнопку \"Выход\", для выхода из программы установки."})},
        {form->BtnExitCancel, L"Button", L"Выход"},
        {form->tsChangeFontSize, L"HolterPanel", L"tsChangeFontSize"},
        {form->MemoChangeFontSize, L"Edit",
         Lines({L"В настройках операционной системы Вашего компьютера выбрано использование ",
                L"\"мелкого\" размера шрифта.", L"",
                L"Для корректной работы программы \"Велтон-Dozevo\" требуется использование ",
                L"\"крупного\" размера шрифта.", L"",
                L"Рекомендуется произвести изменения. Для этого надо нажать кнопку \"Изменить ",
                L"настройки\". В появившемся окне надо ответить \"Да\".", L"",
                L"Если Вы считаете, что установка \"крупного\" размера шрифта Вам не нужна, ",
                L"нажмите кнопку \"Выход\"."})},
        {form->BtnChangeFont, L"Button", L"Изменить настройки"},
        {form->BtnExitOnChangefont, L"Button", L"Выход"},
    };
    for (const Expected& e : table) {
        EXPECT_EQ(ClassOf(e.control.Handle()), e.className) << testing::PrintToString(e.text);
        EXPECT_EQ(e.control.Text(), e.text);
    }
    for (const gui::Memo* memo : {&form->MemoStart, &form->MemoInputPath, &form->MemoInputComponents, &form->MemoCancel,
                                  &form->MemoChangeFontSize}) {
        const LONG_PTR style = GetWindowLongPtrW(memo->Handle(), GWL_STYLE);
        EXPECT_TRUE(style & ES_READONLY);
        EXPECT_FALSE(style & WS_BORDER);
    }
    EXPECT_TRUE(form->CbDriverInstal.Checked());
    EXPECT_EQ(form->CBWindows.Items(), (std::vector<std::wstring>{L"Windows 7, Windows 8", L"Windows XP"}));
    EXPECT_EQ(form->CBWindows.ItemIndex(), 0);
    EXPECT_FALSE(form->CBWindows.Visible()) << "the selector is never shown";
    EXPECT_EQ(SendMessageW(form->LogList.Handle(), LB_GETITEMHEIGHT, 0, 0), 18);
    EXPECT_EQ(form->BtnSelectPath.Width(), 91);
    EXPECT_EQ(form->BtnInsatall.Width(), 168);
    EXPECT_EQ(form->PnlPath.Height(), 32);
    EXPECT_EQ(form->MemoInputPath.Height(), 60);
    EXPECT_EQ(form->MemoCancel.Height(), 177);
    EXPECT_EQ(form->PnlStartButtons.Height(), 42);
    EXPECT_EQ(form->PnlInputPathButtons.Height(), 37);
}

TEST_F(Wizard, NextMovesToThePathPageWithTheFocusInTheField) {
    GoToPathPage();
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsInputPath);
    EXPECT_TRUE(form->tsInputPath.Visible());
    EXPECT_FALSE(form->tsStart.Visible());
    EXPECT_TRUE(form->ePath.Focused());
}

TEST_F(Wizard, ButtonsAreWiredToTheirHandlers) {
    SendMessageW(form->BtnStartNext.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsInputPath);
    form->ePath.SetText(dir / L"Wired");
    SendMessageW(form->BtnInputPathNext.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsInputComponents);
    SendMessageW(form->BtnInputComponentsBack.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsInputPath);
}

TEST_F(Wizard, PathPageValidatesAndPreparesTheTarget) {
    const std::wstring root = dir.Path();
    struct Case {
        std::wstring typed;
        std::wstring field;      // the path field afterwards
        const wchar_t* message;  // nullptr: no box
        gui::MsgDlgType type;
        bool accepted;         // the options page is shown
        std::wstring created;  // folder expected to exist afterwards ("" none)
    };
    const Case cases[] = {
        {L"  " + root + L"Data  ", root + L"Data\\", nullptr, {}, true, root + L"Data\\Settings"},
        {root + L"Ready\\", root + L"Ready\\", nullptr, {}, true, root + L"Ready\\Settings"},
        {L"  D:\\Data\\Holter  ", L"D:\\Data\\Holter\\", nullptr, {}, true, L""},
        {L"C:\\", L"C:\\", L"Программу нелзя устанавливать в корневой каталог!", gui::MsgDlgType::Warning, false, L""},
        {L"C:", L"C:\\", L"Программу нелзя устанавливать в корневой каталог!", gui::MsgDlgType::Warning, false, L""},
        {L"ab", L"ab\\", L"Программу нелзя устанавливать в корневой каталог!", gui::MsgDlgType::Warning, false, L""},
        {L"abc", L"abc\\", nullptr, {}, true, root + L"abc\\Settings"},
        {L"   ", L"   ", L"Не выбран путь для установки программы!", gui::MsgDlgType::Error, false, L""},
        {L"\t\r\n", L"\t\r\n", L"Не выбран путь для установки программы!", gui::MsgDlgType::Error, false, L""},
        {root + L"A\\B", root + L"A\\B\\", nullptr, {}, true, L""},
    };
    // Relative names lie in the current folder, the program's own at run time.
    testsupport::CurrentFolderScope current(root);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.typed));
        form->InsatallPages.SetActivePage(form->tsInputPath);
        form->LogList.SetVisible(false);
        form->LogList.Add(L"old line");
        form->ePath.SetText(c.typed);
        DialogRecorder dialogs;
        form->BtnInputPathNextClick();

        EXPECT_EQ(form->ePath.Text(), c.field);
        EXPECT_TRUE(form->LogList.Visible());
        EXPECT_EQ(form->LogList.Count(), 0);
        if (c.message) {
            ASSERT_EQ(dialogs.Requests().size(), 1u);
            EXPECT_EQ(dialogs.Requests()[0].text, c.message);
            EXPECT_EQ(dialogs.Requests()[0].type, c.type);
            EXPECT_EQ(dialogs.Requests()[0].buttons, gui::MsgDlgButtons::OK);
            EXPECT_EQ(dialogs.Requests()[0].caption, gui::DialogCaption(c.type));
            EXPECT_TRUE(form->ePath.Focused());
        } else {
            EXPECT_TRUE(dialogs.Requests().empty());
        }
        EXPECT_EQ(form->InsatallPages.ActivePage(), c.accepted ? &form->tsInputComponents : &form->tsInputPath);
        if (!c.created.empty()) {
            EXPECT_TRUE(base::DirectoryExists(c.created));
        }
    }
    // The target below a missing parent: nothing made, not even the parent.
    EXPECT_FALSE(base::DirectoryExists(root + L"A"));
    EXPECT_FALSE(base::DirectoryExists(root + L"ab"));
    Pump();
}

TEST_F(Wizard, OptionsPageShowsTheDriverNoticeEachTimeItAppears) {
    GoToOptionsPage();
    ASSERT_EQ(notices.Calls().size(), 1u);
    EXPECT_EQ(notices.Calls()[0].text, kDriverNotice);
    EXPECT_EQ(notices.Calls()[0].type, ui::mtMessage);
    EXPECT_EQ(notices.Calls()[0].caption, L"");
    EXPECT_EQ(notices.Calls()[0].seconds, 0);

    form->BtnInputComponentsBackClick();
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsInputPath);
    EXPECT_EQ(form->ePath.Text(), dir / L"Holter\\") << "the field keeps its text";
    form->BtnInputPathNextClick();
    Pump();
    EXPECT_EQ(notices.Calls().size(), 2u);
}

TEST_F(Wizard, CancelAsksAndOnlyYesLeadsToTheCancelPage) {
    struct Case {
        gui::Page& page;
        gui::BitButton& cancel;
    };
    const Case cases[] = {{form->tsStart, form->BtnCancel},
                          {form->tsInputPath, form->BtnCancel2},
                          {form->tsInputComponents, form->BtnCancel4}};
    for (const Case& c : cases) {
        form->InsatallPages.SetActivePage(c.page);
        form->FCanClose = false;
        {
            DialogRecorder no({IDNO});
            c.cancel.Click();
            ASSERT_EQ(no.Requests().size(), 1u);
            EXPECT_EQ(no.Requests()[0].text, L"Вы уверены, что хотите отменить процесс установки?");
            EXPECT_EQ(no.Requests()[0].type, gui::MsgDlgType::Confirmation);
            EXPECT_EQ(no.Requests()[0].buttons, gui::MsgDlgButtons::YesNo);
            EXPECT_EQ(no.Requests()[0].caption, L"Confirm");
        }
        EXPECT_EQ(form->InsatallPages.ActivePage(), &c.page);
        EXPECT_FALSE(form->FCanClose);
        {
            DialogRecorder yes({IDYES});
            c.cancel.Click();
        }
        EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsCancel);
        EXPECT_TRUE(form->FCanClose);
    }
    Pump();
}

TEST_F(Wizard, CloseQueryFollowsFCanClose) {
    DialogRecorder dialogs;
    form->FCanClose = false;
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->Visible());
    form->BtnExitCancel.Click();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(dialogs.Requests().empty()) << "a refused close shows nothing";
    form->FCanClose = true;
    form->BtnExitCancel.Click();
    EXPECT_FALSE(form->Visible());
}

TEST_F(Wizard, BrowseButtonFillsTheFieldOnlyWhenAFolderIsChosen) {
    GoToPathPage();
    {
        testsupport::FolderBrowserAnswer chosen(L"C:\\Programs\\Holter");
        form->BtnSelectPath.Click();
        ASSERT_EQ(chosen.Titles().size(), 1u);
        EXPECT_EQ(chosen.Titles()[0], L"Выберете путь для установки программ");
    }
    EXPECT_EQ(form->ePath.Text(), L"C:\\Programs\\Holter");
    testsupport::FolderBrowserAnswer cancelled(std::nullopt);
    form->BtnSelectPath.Click();
    EXPECT_EQ(form->ePath.Text(), L"C:\\Programs\\Holter");
}

TEST_F(Wizard, ChangeFontAnsweredNoStaysOnThePage) {
    form->ShowPage(install::Page::ChangeFontSize);
    DialogRecorder dialogs({IDNO});
    form->BtnChangeFont.Click();
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].text,
              L"Изменения в настройки внесены, для того чтобы они\r\nвступили в силу, требуется перзагрузить "
              L"операционную систему.\r\nВыполнить перезагрузку сейчас?");
    EXPECT_EQ(dialogs.Requests()[0].type, gui::MsgDlgType::Warning);
    EXPECT_EQ(dialogs.Requests()[0].buttons, gui::MsgDlgButtons::YesNo);
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsChangeFontSize);
    EXPECT_TRUE(form->Visible());
}

TEST_F(Wizard, InstallViewDrivesTheProgressPage) {
    install::IInstallView& view = *form;
    view.ShowPage(install::Page::Progress);
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsProgressInstall);
    view.ClearLines();
    EXPECT_TRUE(form->LogList.Visible());
    for (int i = 0; i < 40; ++i) EXPECT_EQ(view.AddLine(L"Копирование файла " + std::to_wstring(i) + L"...."), i);
    view.AppendToLine(39, L"Завершено");
    view.AppendToLine(3, L"ОШИБКА!!!");
    EXPECT_EQ(form->LogList.Item(39), L"Копирование файла 39....Завершено");
    EXPECT_EQ(form->LogList.Item(3), L"Копирование файла 3....ОШИБКА!!!");
    EXPECT_EQ(form->LogList.Count(), 40);
    // The newest line stays in view.
    const int top = static_cast<int>(SendMessageW(form->LogList.Handle(), LB_GETTOPINDEX, 0, 0));
    RECT client{};
    GetClientRect(form->LogList.Handle(), &client);
    EXPECT_GE(top + client.bottom / 18, 39);
    view.ClearLines();
    EXPECT_EQ(form->LogList.Count(), 0);

    view.SetBusy(true);
    EXPECT_FALSE(form->FCanClose);
    EXPECT_EQ(gui::TheScreen().Cursor(), gui::kCursorHourGlass);
    view.SetBusy(false);
    EXPECT_TRUE(form->FCanClose);
    EXPECT_EQ(gui::TheScreen().Cursor(), gui::kCursorDefault);

    view.EnableExit();
    EXPECT_TRUE(form->BtnExit.Enabled());
    {
        DialogRecorder dialogs({IDYES});
        EXPECT_TRUE(view.Confirm(L"Установка завершена. Выйти из программы установки?"));
        view.ShowError(L"Ошибка при создании каталога!");
        ASSERT_EQ(dialogs.Requests().size(), 2u);
        EXPECT_EQ(dialogs.Requests()[0].type, gui::MsgDlgType::Confirmation);
        EXPECT_EQ(dialogs.Requests()[1].type, gui::MsgDlgType::Error);
        EXPECT_EQ(dialogs.Requests()[1].buttons, gui::MsgDlgButtons::OK);
    }
    view.CloseWindow();
    EXPECT_FALSE(form->Visible());
}

TEST_F(Wizard, ProgressListNeverTakesTheFocus) {
    form->ShowPage(install::Page::Progress);
    form->LogList.SetVisible(true);
    form->BtnExit.SetEnabled(true);
    form->BtnExit.SetFocus();
    form->LogList.SetFocus();
    EXPECT_FALSE(form->LogList.Focused());
    EXPECT_TRUE(form->BtnExit.Focused());
}

TEST_F(Wizard, InstallButtonRunsTheInstallationIntoTheTypedFolder) {
    GoToOptionsPage();
    // A target whose parent is missing: the run's own folder check reports it.
    form->ePath.SetText(dir / L"Missing\\Target\\");
    DialogRecorder dialogs;
    form->BtnInsatall.Click();
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsProgressInstall);
    EXPECT_EQ(form->Fcopyfrom, testsupport::BinFolder());
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].text, L"Ошибка при создании каталога!");
    EXPECT_EQ(form->LogList.Items(), (std::vector<std::wstring>{L"Ошибка при создании каталога!"}));
    EXPECT_TRUE(form->FCanClose);
    EXPECT_FALSE(form->BtnExit.Enabled());
}

TEST_F(Wizard, KeyboardEnterPressesTheFocusedButtonAndTheFocusFollowsThePage) {
    Pump();
    EXPECT_TRUE(form->BtnStartNext.Focused()) << "the welcome page starts on Next";
    PostMessageW(form->BtnStartNext.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(form->InsatallPages.ActivePage(), &form->tsInputPath);
    EXPECT_TRUE(form->ePath.Focused());
    form->InsatallPages.SetActivePage(form->tsCancel);
    EXPECT_TRUE(form->BtnExitCancel.Focused()) << "the focus does not stay on a hidden page";
}
