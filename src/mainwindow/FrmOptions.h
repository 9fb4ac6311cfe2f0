// The options dialog: page size, hot tracking and the copy mask colour; file associations and the
// program's shortcuts; the double-click action; the favorites folder. Four tab pages, stored and
// put into effect by Apply and Close.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/Associations.h"
#include "ui/CommonDialog.h"
#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/TabStrip.h"

// The system colours the mask colour list offers, row 1 on (row 0 is blank).
struct MaskSystemColor {
    const char* text;
    uint32_t value;  // 0x80000000 plus the system-colour index
};
extern const std::array<MaskSystemColor, 9> MaskSystemColors;

// Where the program's Send To and desktop shortcuts go: "" when the shell has no such folder.
std::string SendToShortcutPath();
std::string DesktopShortcutPath();

class FrmOptions : public Form {
  public:
    FrmOptions() : Form("frmOptions") {}

    // Control ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 1400,
        ID_txtFavHomeDir = kIdBase + 1,
        ID_tbsOptions,
        ID_fraResults,
        ID_lblIconsPerPage,
        ID_cmbIconsPerPage,
        ID_chkHoverSelection,
        ID_fraMask,
        ID_chkMaskUseBackground,
        ID_cmbMaskSystemColor,
        ID_cmdMaskCustom,
        ID_shpMaskColor,
        ID_chkRestart,
        ID_chkRebuild,
        ID_fraReminders,
        ID_fraShortcuts,
        ID_fraSearch,
        ID_fraAso,
        ID_chkAsoICO,
        ID_chkAsoDLL,
        ID_chkAsoCUR,
        ID_chkAsoANI,
        ID_chkAsoICL,
        ID_chkSendTo,
        ID_cmdDesktop,
        ID_fraAction,
        ID_optNone,
        ID_optCopy,
        ID_optSave,
        ID_optZoom,
        ID_lstZoom,
        ID_optProp,
        ID_optEditWith,
        ID_txtEdit,
        ID_cmdBrowseEdit,
        ID_fraPriority,
        ID_chkPlay,
        ID_chkRef,
        ID_chkRun,
        ID_chkChange,
        ID_fraFavorites,
        ID_cmdBrowse,
        ID_chkSearchFav,
        ID_cmdApply,
        ID_cmdCancel,
        ID_cmdOK,
    };

    TextBox txtFavHomeDir{*this, ID_txtFavHomeDir};
    TabStrip tbsOptions{*this, ID_tbsOptions};
    // General
    Frame fraResults{*this, ID_fraResults};
    Label lblIconsPerPage{*this, ID_lblIconsPerPage};
    ComboBox cmbIconsPerPage{*this, ID_cmbIconsPerPage};
    CheckBox chkHoverSelection{*this, ID_chkHoverSelection};
    Frame fraMask{*this, ID_fraMask};
    CheckBox chkMaskUseBackground{*this, ID_chkMaskUseBackground};
    ComboBox cmbMaskSystemColor{*this, ID_cmbMaskSystemColor};
    Button cmdMaskCustom{*this, ID_cmdMaskCustom};
    PictureBox shpMaskColor{*this, ID_shpMaskColor};
    CheckBox chkRestart{*this, ID_chkRestart};
    CheckBox chkRebuild{*this, ID_chkRebuild};
    Frame fraReminders{*this, ID_fraReminders};
    // Shell Integration
    Frame fraAso{*this, ID_fraAso};
    CheckBox chkAsoICO{*this, ID_chkAsoICO};
    CheckBox chkAsoDLL{*this, ID_chkAsoDLL};
    CheckBox chkAsoCUR{*this, ID_chkAsoCUR};
    CheckBox chkAsoANI{*this, ID_chkAsoANI};
    CheckBox chkAsoICL{*this, ID_chkAsoICL};
    CheckBox chkSendTo{*this, ID_chkSendTo};
    Button cmdDesktop{*this, ID_cmdDesktop};
    Frame fraShortcuts{*this, ID_fraShortcuts};
    // Double Click Icon
    Frame fraAction{*this, ID_fraAction};
    OptionButton optNone{*this, ID_optNone};
    OptionButton optCopy{*this, ID_optCopy};
    OptionButton optSave{*this, ID_optSave};
    OptionButton optZoom{*this, ID_optZoom};
    ComboBox lstZoom{*this, ID_lstZoom};
    OptionButton optProp{*this, ID_optProp};
    OptionButton optEditWith{*this, ID_optEditWith};
    TextBox txtEdit{*this, ID_txtEdit};  // the editor's file name; its Tag the folder, ending in "\"
    Button cmdBrowseEdit{*this, ID_cmdBrowseEdit};
    Frame fraPriority{*this, ID_fraPriority};
    CheckBox chkPlay{*this, ID_chkPlay};
    CheckBox chkRef{*this, ID_chkRef};
    CheckBox chkRun{*this, ID_chkRun};
    CheckBox chkChange{*this, ID_chkChange};
    // Favorites
    Frame fraFavorites{*this, ID_fraFavorites};
    Button cmdBrowse{*this, ID_cmdBrowse};
    CheckBox chkSearchFav{*this, ID_chkSearchFav};
    Frame fraSearch{*this, ID_fraSearch};
    // Below the pages
    Button cmdApply{*this, ID_cmdApply};
    Button cmdCancel{*this, ID_cmdCancel};
    Button cmdOK{*this, ID_cmdOK};

    CommonDialog dlgIcon;

    int16_t mCurrentTab = 1;    // the page shown, 1 to 4
    std::string mOldFavDir;     // the favorites folder shown at load or last applied
    bool mEditWithBrowse = false;  // the editor browse running was started by choosing Edit With

    void tbsOptions_Click();
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void chkMaskUseBackground_Click();
    void cmbMaskSystemColor_Click();
    void cmdMaskCustom_Click();
    void optNone_Click();
    void optCopy_Click();
    void optSave_Click();
    void optZoom_Click();
    void optProp_Click();
    void optEditWith_Click();
    void lstZoom_Change();
    void lstZoom_GotFocus();
    void cmdBrowseEdit_Click();
    void cmdBrowse_Click();
    void cmdDesktop_Click();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    int DefaultButtonId() const override { return cmdOK.id(); }
    int CancelButtonId() const override { return cmdCancel.id(); }

  private:
    // The controls on page i (1 to 4).
    std::vector<Control*> OnPage(int i);
    // The editor browse; answers true when the user answered No to its question.
    bool BrowseEditor();
    // The box of an association on the "Shell Integration" page.
    CheckBox& AsoBox(const AssociationKey& type);
    // Edit With cleared and disabled, the action back to None.
    void DropEditor();
    bool loading_ = false;
};

extern FrmOptions frmOptions;
