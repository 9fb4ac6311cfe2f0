// The about window: the program's and Windows' versions, the catalogue files present, the system
// information tool and the maker's addresses, on four tabs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/TabStrip.h"
#include "ui/Unique.h"

// A list box that lines up text after a tab character in a column.
class TabbedListBox : public ListBox {
  public:
    using ListBox::ListBox;
    void Create(Bounds bounds);

  protected:
    void AfterCreate() override;
};

// A label drawn as a link, raising Click when clicked.
class LinkLabel : public Label {
  public:
    using Label::Label;
    std::function<void()> Click;
    std::optional<LRESULT> OnCommand(int code) override;
    std::optional<LRESULT> OnCtlColor(HDC dc) override;
};

// "Ornavale version " and the first, second and fourth numbers of the module's file version;
// "" when the module has no version resource.
std::string ProgramVersionLine(const std::string& module);

// The lines of the catalogue list for the files in folder (ending in "\"): the index's date, the
// core library, and each update library 1 to 10 present, a label and a value apart by a tab.
std::vector<std::string> CatalogueFileLines(const std::string& folder);

// Where the about window's links and tool go; the main window sets them (the shell's open and the
// program starter). Each answers the value for gResult.
struct InfoLaunchers {
    std::function<int32_t(const std::string& address)> openAddress;
    std::function<int32_t(const std::string& commandLine)> startProgram;
    // A copy of the main window's logo, the caller owns it; nullptr when it has none.
    std::function<HBITMAP()> mainLogo;
};
void SetInfoLaunchers(InfoLaunchers launchers);

class FrmInfo : public Form {
  public:
    FrmInfo() : Form("frmInfo") {}

    static constexpr const char* kHomePage = "https://ornavale.example.org/";
    static constexpr const char* kMailAddress = "ornavale@example.org";
    static constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSinfo";

    enum ControlId : int {
        kIdBase = 2600,
        ID_tabStrip = kIdBase + 1,
        ID_fraInfo1,
        ID_fraInfo2,
        ID_fraInfo3,
        ID_fraInfo4,
        ID_picLogo,
        ID_lblBuild,
        ID_lblWinVer,
        ID_lblHelp,
        ID_lblTrademarks,
        ID_lblLicences,
        ID_txtIconUpdate,
        ID_lblUpdates,
        ID_txtURL,
        ID_lblMail,
        ID_txtMail,
        ID_cmdSysInfo,
        ID_cmdOK,
    };

    TabStrip tabStrip{*this, ID_tabStrip};
    // fraInfo[i - 1] is frame i of the tab i.
    std::array<Frame, 4> fraInfo{Frame{*this, ID_fraInfo1}, Frame{*this, ID_fraInfo2}, Frame{*this, ID_fraInfo3},
                                 Frame{*this, ID_fraInfo4}};
    PictureBox picLogo{*this, ID_picLogo};
    Label lblBuild{*this, ID_lblBuild};
    Label lblWinVer{*this, ID_lblWinVer};
    Label lblHelp{*this, ID_lblHelp};
    Label lblTrademarks{*this, ID_lblTrademarks};
    Label lblLicences{*this, ID_lblLicences};
    TabbedListBox txtIconUpdate{*this, ID_txtIconUpdate};
    Label lblUpdates{*this, ID_lblUpdates};
    LinkLabel txtURL{*this, ID_txtURL};
    Label lblMail{*this, ID_lblMail};
    LinkLabel txtMail{*this, ID_txtMail};
    Button cmdSysInfo{*this, ID_cmdSysInfo};
    Button cmdOK{*this, ID_cmdOK};

    // The frame shown, 1 to 4.
    int16_t mCurFrame = 1;

    void tabStrip_Click();
    void cmdSysInfo_Click();
    void cmdOK_Click();
    void txtURL_Click();
    void txtMail_Click();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    int DefaultButtonId() const override { return cmdOK.id(); }
    int CancelButtonId() const override { return cmdOK.id(); }

  private:
    // The controls standing on frame i (1 to 4), the frame itself last.
    std::vector<Control*> OnFrame(int i);
    // The width of the text in the window's font, in twips.
    int TextWidth(const std::string& text) const;
    UniqueFont linkFont_;
};

extern FrmInfo frmInfo;
