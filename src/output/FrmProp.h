// The properties window of a catalogue icon or a Windows default cursor: its picture, name, type,
// origin, the catalogue keywords that list it and its file; and what File > Properties shows for
// the other origins.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/TabStrip.h"

// What File > Properties shows for an item of this Origin (exact, case-sensitive): this window
// ("Windows Default", "Ornavale"), the shell's property sheet of the entry's file ("File Favorite",
// "File", "Reference", "Theme Cursor") or of the shortcut file (an origin beginning with "Desktop"
// or "Start Menu"), or nothing.
enum class PropertiesShow { Nothing, Window, FileSheet, LinkSheet };
PropertiesShow PropertiesShowFor(const std::string& origin);

// The keywords whose reference list (tokens each followed by ";") holds `token` as a whole token,
// in slot order from 0 to lastSlot (slots past the lists' end are not read), joined by ", ".
std::string CatalogueKeywordsOf(std::string_view token, int32_t lastSlot, std::span<const std::string> keywords,
                                std::span<const std::string> refs);

// Opens the shell's property sheet of a file for the window; tests replace it.
using FilePropertiesSheet = void (*)(const std::string& file, HWND owner);
extern FilePropertiesSheet gShowFileProperties;

class FrmProp : public Form {
  public:
    FrmProp() : Form("frmProp") {}

    enum ControlId : int {
        kIdBase = 2900,
        ID_tabProperties = kIdBase + 1,
        ID_picIcon,
        ID_txtName,
        ID_txtFile,
        ID_lblType,
        ID_txtType,
        ID_lblOrigin,
        ID_txtOrigin,
        ID_lblKeywords,
        ID_txtKeywords,
        ID_cmdOK,
        ID_fraGeneral,
    };

    TabStrip tabProperties{*this, ID_tabProperties};
    PictureBox picIcon{*this, ID_picIcon};
    Label txtName{*this, ID_txtName};
    Label txtFile{*this, ID_txtFile};
    Label lblType{*this, ID_lblType};
    Label txtType{*this, ID_txtType};
    Label lblOrigin{*this, ID_lblOrigin};
    Label txtOrigin{*this, ID_txtOrigin};
    Label lblKeywords{*this, ID_lblKeywords};
    TextBox txtKeywords{*this, ID_txtKeywords};
    Button cmdOK{*this, ID_cmdOK};
    // The page of the tab, under its controls.
    Frame fraGeneral{*this, ID_fraGeneral};

    void cmdOK_Click();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    // Fills the window from the main window's selected result item.
    void Form_Load() override;
    int DefaultButtonId() const override { return cmdOK.id(); }
    int CancelButtonId() const override { return cmdOK.id(); }
};

extern FrmProp frmProp;
