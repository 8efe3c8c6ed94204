#pragma once
// The main window: a fixed-size wizard over a painted backdrop. A page control
// whose tabs are never shown holds six pages; the buttons at the bottom of
// each page move between them. The installation run speaks to the window
// through install::IInstallView.
#include <string>

#include "app/Backdrop.h"
#include "gui/BitButton.h"
#include "gui/Containers.h"
#include "gui/Form.h"
#include "gui/ImageList.h"
#include "gui/ListControls.h"
#include "gui/TextControls.h"
#include "install/InstallView.h"

namespace app {

class TFMain : public gui::Form, public install::IInstallView {
public:
    TFMain();
    ~TFMain() override;

    // Backdrop pictures: BG_bmp, Panels_bmp, Logo_bmp, Title_pnl_l_bmp,
    // Title_pnl_r_bmp, Title_pnl_m_bmp, Title_bmp.
    BackdropImages Images;

    gui::PaintBox BG;
    gui::RichEdit RichEdit1;
    gui::PageControl InsatallPages;

    gui::Page tsStart;
    gui::Memo MemoStart;
    gui::Panel PnlStartButtons;
    gui::BitButton BtnCancel, BtnStartNext;

    gui::Page tsInputPath;
    gui::Memo MemoInputPath;
    gui::Panel PnlPath;
    gui::Edit ePath;
    gui::BitButton BtnSelectPath;
    gui::Panel PnlInputPathButtons;
    gui::BitButton BtnCancel2, BtnInputPathNext;

    gui::Page tsInputComponents;
    gui::Memo MemoInputComponents;
    gui::Panel PnlComponents;
    gui::ComboBox CBWindows;
    gui::CheckBox CbDriverInstal;
    gui::Panel PnlInputComponentsButtons;
    gui::BitButton BtnCancel4, BtnInputComponentsBack, BtnInsatall;

    gui::Page tsProgressInstall;
    gui::ListBox LogList;
    gui::Panel PnlProgressButtons;
    gui::BitButton BtnExit;

    gui::Page tsCancel;
    gui::Memo MemoCancel;
    gui::Panel PnlCancelButtons;
    gui::BitButton BtnExitCancel;

    gui::Page tsChangeFontSize;
    gui::Memo MemoChangeFontSize;
    gui::Panel PnlChangeFontButtons;
    gui::BitButton BtnChangeFont, BtnExitOnChangefont;

    bool FCanClose = true;
    std::wstring Fcopyfrom;
    std::wstring AppNameStr;

    void FormCreate();
    void BGResize();
    void BtnStartNextClick();
    void BtnSelectPathClick();
    void BtnInputPathNextClick();
    void tsInputComponentsShow();
    void BtnInputComponentsBackClick();
    void BtnInsatallClick();
    void BtnCancelClick();
    void BtnExitClick();
    void BtnChangeFontClick();

    // install::IInstallView
    void ClearLines() override;
    int AddLine(const std::wstring& text) override;
    void AppendToLine(int index, const std::wstring& word) override;
    void RepaintLines() override;
    void ShowError(const std::wstring& text) override;
    bool Confirm(const std::wstring& text) override;
    void ProcessMessages() override;
    void SetBusy(bool busy) override;
    void EnableExit() override;
    void ShowPage(install::Page page) override;
    void CloseWindow() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void FormShow() override;
    bool FormCloseQuery() override;

private:
    void LoadBackdropImages();
    void CreateControls();
    void CreateButton(gui::BitButton& button, gui::Panel& panel, const wchar_t* caption, const gui::Box& bounds,
                      int glyph, void (TFMain::*handler)());
    void CreateStartPage();
    void CreateInputPathPage();
    void CreateInputComponentsPage();
    void CreateProgressPage();
    void CreateCancelPage();
    void CreateChangeFontSizePage();
    void ShowDriverNotice();

    gui::ImageList Glyphs;
    struct GlyphIndex {
        int next = -1, back = -1, cancel = -1, exit = -1, install = -1, font = -1;
    } glyph_;
};

}  // namespace app
