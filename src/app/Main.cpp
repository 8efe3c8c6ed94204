#include "app/Main.h"

#include <vector>

#include "app/ProductResources.h"
#include "app/ResourceIds.h"
#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Text.h"
#include "gui/Application.h"
#include "gui/Dialogs.h"
#include "gui/FolderBrowser.h"
#include "gui/Fonts.h"
#include "gui/Png.h"
#include "install/InstallRun.h"
#include "ui/FontSize.h"
#include "ui/MessageForm.h"

namespace app {

namespace {

// ---- Texts

const std::vector<std::wstring> kMemoStart = {
    L"Добро пожаловать в программу установки комплекса ",
    L"\"ВЕЛТОН-DOZEVO\"!",
    L"",
    L"Для продолжения установки, нажмите кнопку \"Далее\".",
    L"",
    L"Для выхода из программы установки нажмите кнопку \"Отмена\".",
};

const std::vector<std::wstring> kMemoInputPath = {
    L"Пожалуйста, задайте путь куда устанавливать программную часть ",
    L"комплекса \"Велтон-Dozevo\"",
};

const std::vector<std::wstring> kMemoInputComponents = {
    L" - Если у Вас есть 2-х канальный кабель для регистрации детских ЭКГ, поставьте ",
    L"галочку в поле \"Регистрация 2-х канальной ЭКГ\".",
    L" - Если у Вас есть универсальный регистратор, поставьте галочку в поле ",
    L"\"Универсальный регистратор\".",
    L" - Если у Вас установлен монитор АД \"BPLab\", поставьте галочку в поле \"установлен ",
    L"монитор АД \"BPLab\"\".",
    L"",
    L" - Задайте, пожалуйста, тип ЭКГ, который Вы чаще всего будете регистрировать.",
    L"",
    L" - Нажмите кнопку \"Начать установку\", для того чтобы установить программное ",
    L"обеспечение на Ваш компъютер.",
    L"",
    L"Все настройки можно изменить позже, во время работы с программой ",
    L"\"Велтон-Dozevo\" в меню \"Настройки\".",
};

const std::vector<std::wstring> kMemoCancel = {
    L"Установка комплекса \"Велтон-Dozevo\" отменена!",
    L"",
    L"Нажмите кнопку \"Выход\", для выхода из программы установки.",
};

const std::vector<std::wstring> kMemoChangeFontSize = {
    L"В настройках операционной системы Вашего компьютера выбрано использование ",
    L"\"мелкого\" размера шрифта.",
    L"",
    L"Для корректной работы программы \"Велтон-Dozevo\" требуется использование ",
    L"\"крупного\" размера шрифта.",
    L"",
    L"Рекомендуется произвести изменения. Для этого надо нажать кнопку \"Изменить ",
    L"настройки\". В появившемся окне надо ответить \"Да\".",
    L"",
    L"Если Вы считаете, что установка \"крупного\" размера шрифта Вам не нужна, ",
    L"нажмите кнопку \"Выход\".",
};

// The driver notice's lines are joined by a lone carriage return.
const std::vector<std::wstring> kDriverNotice = {
    L"Внимание!",
    L" Если на вашем компьютере уже установлен комплекс \"Велтон-Dozevo\",",
    L" снимите галочку установки драйвера!",
};

const std::vector<std::wstring> kRestartQuestion = {
    L"Изменения в настройки внесены, для того чтобы они",
    L"вступили в силу, требуется перзагрузить операционную систему.",
    L"Выполнить перезагрузку сейчас?",
};

const wchar_t kCancelQuestion[] = L"Вы уверены, что хотите отменить процесс установки?";
const wchar_t kNoPath[] = L"Не выбран путь для установки программы!";
const wchar_t kRootFolder[] = L"Программу нелзя устанавливать в корневой каталог!";
const wchar_t kBrowseTitle[] = L"Выберете путь для установки программ";

// ---- Sizes

constexpr int kClientWidth = 954;
constexpr int kClientHeight = 579;
constexpr int kButtonWidth = 100;
constexpr int kInstallButtonWidth = 168;
constexpr int kChangeFontButtonWidth = 180;
constexpr int kBrowseButtonWidth = 91;
constexpr int kButtonHeight = 27;
constexpr int kButtonMargin = 8;  // between a bottom panel's ends and its buttons
constexpr int kButtonGap = 8;
constexpr int kPathMemoHeight = 60;
constexpr int kPathPanelHeight = 32;
constexpr int kComponentsPanelHeight = 123;
constexpr int kCancelMemoHeight = 177;
constexpr int kListRowHeight = 18;

// Posted when the options page becomes visible, so that the page is on the
// screen before the modal driver notice covers it.
constexpr UINT kDriverNoticeMessage = WM_APP + 1;

HFONT DefaultFont() {
    return gui::GetFont({L"MS Sans Serif", 13});
}
HFONT PagesFont() {
    return gui::GetFont({L"Tahoma", 15, RUSSIAN_CHARSET});
}
HFONT InfoFont() {
    return gui::GetFont({L"MS Sans Serif", 13, RUSSIAN_CHARSET});
}
HFONT MemoSerifFont() {
    return gui::GetFont({L"Times New Roman", 20});
}

gui::Box ToBox(const Bounds& b) {
    return {b.left, b.top, b.width, b.height};
}

// Where a bottom panel's buttons sit: near its ends, vertically centred.
gui::Box ButtonRow(const gui::Box& panel) {
    return {kButtonMargin, (panel.height - kButtonHeight) / 2, panel.width - 2 * kButtonMargin, kButtonHeight};
}

gui::PanelArgs BottomPanel(const wchar_t* name, const gui::Box& bounds) {
    return {.text = name, .bounds = bounds, .border = gui::PanelBorder::FlatRounded};
}

}  // namespace

TFMain::TFMain() {
    LoadBackdropImages();
    glyph_.next = Glyphs.AddStrip(L"GLYPH_NEXT");
    glyph_.back = Glyphs.AddStrip(L"GLYPH_BACK");
    glyph_.cancel = Glyphs.AddStrip(L"GLYPH_CANCEL");
    glyph_.exit = Glyphs.AddStrip(L"GLYPH_EXIT");
    glyph_.install = Glyphs.AddStrip(L"GLYPH_INSTALL");
    glyph_.font = Glyphs.AddStrip(L"GLYPH_FONT");
    CreateHandle({.className = L"TFMain",
                  .caption = L"Установка комплекса",
                  .clientWidth = kClientWidth,
                  .clientHeight = kClientHeight,
                  .style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                  .font = DefaultFont(),
                  .icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON))});
    CreateControls();
    FormCreate();
    SetActiveControl(BtnStartNext);
}

TFMain::~TFMain() {
    DestroyHandle();
}

// The creation step's first action: the seven pictures, in this order, before
// any control exists, because the backdrop composes as soon as its box has a size.
void TFMain::LoadBackdropImages() {
    struct Entry {
        const wchar_t* resource;
        gui::Bitmap32 BackdropImages::*field;
    };
    static const Entry kImages[] = {
        {L"BACKGROUND", &BackdropImages::bg},       // BG_bmp
        {L"MAIN", &BackdropImages::panels},         // Panels_bmp
        {L"LOGO", &BackdropImages::logo},           // Logo_bmp
        {L"TITLE_PNL_L", &BackdropImages::titleL},  // Title_pnl_l_bmp
        {L"TITLE_PNL_R", &BackdropImages::titleR},  // Title_pnl_r_bmp
        {L"TITLE_PNL_M", &BackdropImages::titleM},  // Title_pnl_m_bmp
        {L"TITLE", &BackdropImages::title},         // Title_bmp
    };
    for (const Entry& e : kImages) (void)gui::LoadPngResource(Images.*e.field, e.resource);
}

// ---- Layout: the window, back to front, then each page as its table reads.

void TFMain::CreateControls() {
    RichEdit1.Create(Handle(), {.bounds = {6, 97, 200, 474}, .innerBorder = 4, .font = InfoFont()});
    InsatallPages.Create(Handle(), {.text = L"InsatallPages", .bounds = {212, 97, 620, 480}, .font = PagesFont()});
    BG.Create(Handle(), ClientBox(), [this] { BGResize(); });
    ::SetWindowPos(BG.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CreateStartPage();
    CreateInputPathPage();
    CreateInputComponentsPage();
    CreateProgressPage();
    CreateCancelPage();
    CreateChangeFontSizePage();
}

void TFMain::CreateButton(gui::BitButton& button, gui::Panel& panel, const wchar_t* caption, const gui::Box& bounds,
                          int glyph, void (TFMain::*handler)()) {
    button.Create(
        panel,
        {.caption = caption, .bounds = bounds, .images = &Glyphs, .imageIndex = glyph, .onClick = [this, handler] {
             (this->*handler)();
         }});
}

void TFMain::CreateStartPage() {
    InsatallPages.AddPage(tsStart, L"tsStart");
    gui::Box area = InsatallPages.ClientArea();
    const gui::Box bottom = area.TakeBottom(42);
    area.TakeBottom(4);
    MemoStart.Create(tsStart, {kMemoStart, area, gui::colors::kNavy, MemoSerifFont()});
    PnlStartButtons.Create(tsStart, BottomPanel(L"PnlStartButtons", bottom));
    gui::Box row = ButtonRow(bottom);
    CreateButton(BtnCancel, PnlStartButtons, L"Отмена", row.TakeLeft(kButtonWidth), glyph_.cancel,
                 &TFMain::BtnCancelClick);
    CreateButton(BtnStartNext, PnlStartButtons, L"Далее", row.TakeRight(kButtonWidth), glyph_.next,
                 &TFMain::BtnStartNextClick);
}

void TFMain::CreateInputPathPage() {
    InsatallPages.AddPage(tsInputPath, L"tsInputPath");
    gui::Box area = InsatallPages.ClientArea();
    MemoInputPath.Create(tsInputPath,
                         {kMemoInputPath, area.TakeTop(kPathMemoHeight), gui::colors::kBlack, MemoSerifFont()});
    const gui::Box path = area.TakeTop(kPathPanelHeight);
    PnlPath.Create(tsInputPath, {.text = L"PnlPath", .bounds = path, .border = gui::PanelBorder::FlatRounded});
    gui::Box inside{0, 0, path.width, path.height};
    const gui::Box browse = inside.TakeRight(kBrowseButtonWidth);
    ePath.Create(PnlPath, {.bounds = inside});
    BtnSelectPath.Create(PnlPath, {.caption = L"Выбрать",
                                   .bounds = browse,
                                   .colors = {.highlight = RGB(106, 141, 244)},
                                   .onClick = [this] { BtnSelectPathClick(); }});
    const gui::Box bottom = area.TakeBottom(37);
    PnlInputPathButtons.Create(tsInputPath, BottomPanel(L"PnlInputPathButtons", bottom));
    gui::Box row = ButtonRow(bottom);
    CreateButton(BtnCancel2, PnlInputPathButtons, L"Отмена", row.TakeLeft(kButtonWidth), glyph_.cancel,
                 &TFMain::BtnCancelClick);
    CreateButton(BtnInputPathNext, PnlInputPathButtons, L"Далее", row.TakeRight(kButtonWidth), glyph_.next,
                 &TFMain::BtnInputPathNextClick);
}

void TFMain::CreateInputComponentsPage() {
    InsatallPages.AddPage(tsInputComponents, L"tsInputComponents");
    tsInputComponents.OnShow = [this] { tsInputComponentsShow(); };
    gui::Box area = InsatallPages.ClientArea();
    const gui::Box bottom = area.TakeBottom(37);
    area.TakeBottom(4);
    const gui::Box options = area.TakeBottom(kComponentsPanelHeight);
    MemoInputComponents.Create(tsInputComponents, {kMemoInputComponents, area, gui::colors::kBlack, PagesFont()});
    PnlComponents.Create(tsInputComponents, {.text = L"PnlComponents", .bounds = options});
    CBWindows.Create(PnlComponents, {.items = {L"Windows 7, Windows 8", L"Windows XP"},
                                     .itemIndex = 0,
                                     .bounds = {kButtonMargin, 48, 200, 23},
                                     .visible = false});
    CbDriverInstal.Create(
        PnlComponents, {.caption = L"Устанавливать драйвер", .bounds = {kButtonMargin, 12, 300, 24}, .checked = true});
    PnlInputComponentsButtons.Create(tsInputComponents, BottomPanel(L"PnlInputComponentsButtons", bottom));
    gui::Box row = ButtonRow(bottom);
    CreateButton(BtnCancel4, PnlInputComponentsButtons, L"Отмена", row.TakeLeft(kButtonWidth), glyph_.cancel,
                 &TFMain::BtnCancelClick);
    const gui::Box install = row.TakeRight(kInstallButtonWidth);
    row.TakeRight(kButtonGap);
    CreateButton(BtnInputComponentsBack, PnlInputComponentsButtons, L"Назад", row.TakeRight(kButtonWidth), glyph_.back,
                 &TFMain::BtnInputComponentsBackClick);
    CreateButton(BtnInsatall, PnlInputComponentsButtons, L"Начать установку", install, glyph_.install,
                 &TFMain::BtnInsatallClick);
}

void TFMain::CreateProgressPage() {
    InsatallPages.AddPage(tsProgressInstall, L"tsProgressInstall");
    gui::Box area = InsatallPages.ClientArea();
    const gui::Box bottom = area.TakeBottom(37);
    area.TakeBottom(4);
    LogList.Create(tsProgressInstall, {.bounds = area, .itemHeight = kListRowHeight, .visible = false});
    PnlProgressButtons.Create(tsProgressInstall, BottomPanel(L"PnlProgressButtons", bottom));
    gui::Box row = ButtonRow(bottom);
    CreateButton(BtnExit, PnlProgressButtons, L"Выход", row.TakeRight(kButtonWidth), glyph_.exit,
                 &TFMain::BtnExitClick);
}

void TFMain::CreateCancelPage() {
    InsatallPages.AddPage(tsCancel, L"tsCancel");
    gui::Box area = InsatallPages.ClientArea();
    MemoCancel.Create(tsCancel, {kMemoCancel, area.TakeTop(kCancelMemoHeight), gui::colors::kMaroon, MemoSerifFont()});
    const gui::Box bottom = area.TakeBottom(37);
    PnlCancelButtons.Create(tsCancel, BottomPanel(L"PnlCancelButtons", bottom));
    gui::Box row = ButtonRow(bottom);
    CreateButton(BtnExitCancel, PnlCancelButtons, L"Выход", row.TakeRight(kButtonWidth), glyph_.exit,
                 &TFMain::BtnExitClick);
}

void TFMain::CreateChangeFontSizePage() {
    InsatallPages.AddPage(tsChangeFontSize, L"tsChangeFontSize");
    gui::Box area = InsatallPages.ClientArea();
    const gui::Box bottom = area.TakeBottom(37);
    area.TakeBottom(3);
    MemoChangeFontSize.Create(tsChangeFontSize, {kMemoChangeFontSize, area, gui::colors::kBlack, PagesFont()});
    PnlChangeFontButtons.Create(tsChangeFontSize, BottomPanel(L"PnlChangeFontButtons", bottom));
    gui::Box row = ButtonRow(bottom);
    const gui::Box exit = row.TakeRight(kButtonWidth);
    row.TakeRight(kButtonGap);
    CreateButton(BtnChangeFont, PnlChangeFontButtons, L"Изменить настройки", row.TakeRight(kChangeFontButtonWidth),
                 glyph_.font, &TFMain::BtnChangeFontClick);
    CreateButton(BtnExitOnChangefont, PnlChangeFontButtons, L"Выход", exit, glyph_.exit, &TFMain::BtnExitClick);
}

// ---- Creation and backdrop

// The creation step after the pictures (loaded before the controls exist).
void TFMain::FormCreate() {
    WriteBtoothIni = ProductTitleMatchesSibling(LoadProductString(kProductTitle));
    RichEdit1.LoadRtf(LoadRawResource(L"INFO", kInfoLanguage));
    AppNameStr = LoadProductString(kAppName);
    ePath.SetText(L"C:\\" + AppNameStr);
    FCanClose = true;
    InsatallPages.SetActivePage(tsStart);
    BtnExit.SetEnabled(false);
    if (Images.title.Width() > 0 && Images.title.Height() > 0) {
        const COLORREF color = gui::PixelToColor(Images.title.At(0, 0));
        RichEdit1.SetColor(color);
        InsatallPages.SetColor(color);
    }
    PnlPath.SetBorderColor(InsatallPages.Color());
}

void TFMain::BGResize() {
    ComposeBackdrop(BG.Buffer(), BG.Width(), BG.Height(), Images);
    RichEdit1.SetBounds(ToBox(kRichEditBounds));
    InsatallPages.SetBounds(ToBox(kPagesBounds));
}

void TFMain::FormShow() {
    CenterOnScreen();
}

LRESULT TFMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kDriverNoticeMessage) {
        ShowDriverNotice();
        return 0;
    }
    return Form::HandleMessage(msg, wp, lp);
}

// ---- Navigation

void TFMain::BtnStartNextClick() {
    InsatallPages.SetActivePage(tsInputPath);
    ePath.SetFocus();
}

void TFMain::BtnSelectPathClick() {
    if (const auto folder = gui::BrowseForFolder(Handle(), kBrowseTitle)) ePath.SetText(*folder);
}

void TFMain::BtnInputPathNextClick() {
    std::wstring path = base::Trim(ePath.Text());
    LogList.Clear();
    LogList.SetVisible(true);
    if (path.empty()) {
        gui::MessageDlg(kNoPath, gui::MsgDlgType::Error, gui::MsgDlgButtons::OK);
        ePath.SetFocus();
        return;
    }
    path = base::IncludeTrailingBackslash(path);
    ePath.SetText(path);
    if (path.size() <= 3) {
        gui::MessageDlg(kRootFolder, gui::MsgDlgType::Warning, gui::MsgDlgButtons::OK);
        ePath.SetFocus();
        return;
    }
    // One level each; a failure shows later, when the installation run checks again.
    if (!base::DirectoryExists(path)) (void)base::CreateDir(path);
    if (!base::DirectoryExists(path + L"Settings\\")) (void)base::CreateDir(path + L"Settings\\");
    InsatallPages.SetActivePage(tsInputComponents);
}

void TFMain::tsInputComponentsShow() {
    ::PostMessageW(Handle(), kDriverNoticeMessage, 0, 0);
}

void TFMain::ShowDriverNotice() {
    if (InsatallPages.ActivePage() != &tsInputComponents) return;
    (void)ui::ShowTimedMessage(gui::JoinLines(kDriverNotice, L"\r"), ui::mtMessage, L"", 0);
}

void TFMain::BtnInputComponentsBackClick() {
    InsatallPages.SetActivePage(tsInputPath);
}

void TFMain::BtnInsatallClick() {
    install::RunInputs inputs;
    inputs.pathText = ePath.Text();
    inputs.installDriver = CbDriverInstal.Checked();
    inputs.windowsItem = CBWindows.ItemIndex();
    inputs.writeBtoothIni = WriteBtoothIni;
    inputs.sourceFolder = base::ExeFolder();
    inputs.productTitle = app::LoadProductString(1);
    inputs.productDescription = app::LoadProductString(2);
    inputs.mainProgram = app::LoadProductString(4);
    Fcopyfrom = inputs.sourceFolder;
    try {
        install::RunInstallation(*this, inputs);
    } catch (const base::Error& e) {
        gui::App().ShowException(e.Message());
    }
}

void TFMain::BtnCancelClick() {
    if (gui::MessageDlg(kCancelQuestion, gui::MsgDlgType::Confirmation, gui::MsgDlgButtons::YesNo) != IDYES) return;
    FCanClose = true;
    InsatallPages.SetActivePage(tsCancel);
}

void TFMain::BtnExitClick() {
    Close();
}

bool TFMain::FormCloseQuery() {
    return FCanClose;
}

void TFMain::BtnChangeFontClick() {
    ui::SwitchToLargeFonts();
    if (gui::MessageDlg(gui::JoinLines(kRestartQuestion), gui::MsgDlgType::Warning, gui::MsgDlgButtons::YesNo) != IDYES)
        return;
    (void)ui::RestartWindows(EWX_REBOOT | EWX_FORCE);
    Close();
}

// ---- The installation run's view of the window

void TFMain::ClearLines() {
    LogList.Clear();
    LogList.SetVisible(true);
}

int TFMain::AddLine(const std::wstring& text) {
    const int index = LogList.Add(text);
    LogList.ScrollTo(index);
    return index;
}

void TFMain::AppendToLine(int index, const std::wstring& word) {
    LogList.SetItem(index, LogList.Item(index) + word);
}

void TFMain::RepaintLines() {
    ::RedrawWindow(LogList.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void TFMain::ShowError(const std::wstring& text) {
    gui::MessageDlg(text, gui::MsgDlgType::Error, gui::MsgDlgButtons::OK);
}

bool TFMain::Confirm(const std::wstring& text) {
    return gui::MessageDlg(text, gui::MsgDlgType::Confirmation, gui::MsgDlgButtons::YesNo) == IDYES;
}

void TFMain::ProcessMessages() {
    gui::App().ProcessMessages();
}

void TFMain::SetBusy(bool busy) {
    FCanClose = !busy;
    gui::App().SetBusy(busy);
}

void TFMain::EnableExit() {
    BtnExit.SetEnabled(true);
}

void TFMain::ShowPage(install::Page page) {
    InsatallPages.SetActivePage(page == install::Page::Progress ? tsProgressInstall : tsChangeFontSize);
}

void TFMain::CloseWindow() {
    Close();
}

}  // namespace app
