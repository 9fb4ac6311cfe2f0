// The picture import window: a picture from a file or the clipboard made into a 32 x 32 icon or
// cursor, with the colour the user clicks made transparent; modeless, without an owner.
#pragma once

#include <string>

#include "ui/CommonDialog.h"
#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/ReBar.h"
#include "ui/StatusBar.h"
#include "ui/ToolBar.h"

class FrmImport : public Form {
  public:
    FrmImport() : Form("frmImport") {}

    // Control and menu ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 3300,
        ID_pnlCoolBar = kIdBase + 1,
        ID_pnlToolbar,
        ID_pnlStatusbar,
        ID_lblResource,
        ID_picImportBack,
        ID_picImport,
        ID_lblIcon,
        ID_picIconBack,
        ID_picIcon,
        ID_picOpen,
        ID_mnuFile = kIdBase + kMenuIdOffset,
        ID_mnuFileOpen,
        ID_mnuFileSaveAs,
        ID_mnuFileClose,
        ID_mnuEdit,
        ID_mnuEditCopy,
        ID_mnuEditPaste,
        ID_mnuView,
        ID_mnuViewBackcolor,
        ID_mnuIconClick,
        ID_mnuIconClickSaveAs,
        ID_mnuIconClickCopy,
        ID_mnuIconClickBackColor,
        ID_mnuImportClick,
        ID_mnuImportClickOpen,
        ID_mnuImportClickPaste,
    };

    ReBar pnlCoolBar{*this, ID_pnlCoolBar};
    ToolBar pnlToolbar{*this, ID_pnlToolbar};
    StatusBar pnlStatusbar{*this, ID_pnlStatusbar};
    Label lblResource{*this, ID_lblResource};
    PictureBox picImportBack{*this, ID_picImportBack};
    // The picture as an icon; a click on it picks the transparent colour.
    PictureBox picImport{*this, ID_picImport};
    Label lblIcon{*this, ID_lblIcon};
    PictureBox picIconBack{*this, ID_picIconBack};
    // The icon preview; its Tag is the name Save As offers, its picture what the icon is written from.
    PictureBox picIcon{*this, ID_picIcon};
    // Hidden: the picture shrunk or stretched to 32 x 32, which Copy puts on the clipboard.
    PictureBox picOpen{*this, ID_picOpen};
    // The open, save and colour dialogs' settings, kept while the window is loaded.
    CommonDialog dlgIcon;

    void mnuFileOpen_Click();
    void mnuFileSaveAs_Click();
    void mnuFileClose_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuViewBackcolor_Click();
    void mnuIconClickSaveAs_Click();
    void mnuIconClickCopy_Click();
    void mnuIconClickBackColor_Click();
    void mnuImportClickOpen_Click();
    void mnuImportClickPaste_Click();
    void pnlToolbar_ButtonClick(ToolButton& button);
    // x and y in twips in the picture.
    void picImport_MouseUp(int button, int shift, float x, float y);
    void picImport_MouseMove(int button, int shift, float x, float y);
    void picImportBack_MouseUp(int button, int shift, float x, float y);
    void picImportBack_MouseMove(int button, int shift, float x, float y);
    void picIcon_MouseUp(int button, int shift, float x, float y);
    void picIconBack_MouseUp(int button, int shift, float x, float y);

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    bool OnMenuCommand(int id) override;
    HACCEL Accelerators() const override;
    void OnPaint(HDC dc) override;

  private:
    // The picture brought to 32 x 32 into picOpen and made into an icon whose RGB(128, 0, 0) is
    // transparent; false, with nothing changed, without a picture.
    bool BuildIcon(UniqueBitmap picture);
    void EnableSaveAs();
    void EnableCopy();
    // Places the pictures below the cool bar, whose height follows its buttons.
    void Arrange();
};

extern FrmImport frmImport;
