// The change window: one result icon applied to one changeable Windows item (a system icon, a file
// type, a current cursor or a shortcut), or that item put back to its Windows default.
#pragma once

#include <string>

#include "ui/Control.h"
#include "ui/DragDrop.h"
#include "ui/Form.h"
#include "ui/ReBar.h"
#include "ui/StatusBar.h"
#include "ui/ToolBar.h"
#include "ui/Win.h"

class ListItem;
struct Node;

// What File > Change hands to the change window.
struct ChangeRequest {
    // The item's type text: "System Icon", "File Type Icon", "Current Cursor", "Animated Cursor" or
    // "Shortcut Icon".
    std::string kind;
    // The item's ResultEntry; once a change wrote a new copy, the entry names that copy.
    std::string entry;
    // A system icon row or a file-type line of lstChange, the cursor's ResultEntry, or the
    // shortcut's .lnk path; "" when the item has none, and then nothing can be applied.
    std::string target;
    // Shortcuts: the item's ResultEntry.
    std::string shortcutEntry;
};

// What the change procedures and the default views work out and share during one change.
struct ChangeState {
    std::string dropped;          // the ResultEntry of the icon dropped on "New"
    bool defaultShown = false;    // the default view was drawn after the last drop: Apply restores
    std::string targetRef;        // identity piece of the target (icon location, cursor key or id)
    std::string defaultCursorId;  // the cursor id the cursor default view drew
    std::string hiveName;         // "HKEY_CLASSES_ROOT" ... of a system icon row
    std::string keyName;          // registry key of the target, or the file-type class
    std::string valueName;        // registry value of the target ("" the key's unnamed value)
    std::string iconPath;         // the icon copy written for the target
    std::string iconIndex;        // icon index text of an icon location
    HKEY hive = nullptr;          // predefined handle of the target's hive
    std::string defaultMarker;    // first field of a cursor entry: its file or "default"
    bool noIconDefault = false;   // the shortcut default view found no icon: Apply takes the link's away
    // Set by a change procedure that showed the icon cache reminder itself, so that Apply does not
    // show it a second time.
    bool cacheReminderShown = false;
};

class FrmChange : public Form {
  public:
    FrmChange() : Form("frmChange") {}

    // Control and menu ids, from this form's own base.
    enum ControlId : int {
        kIdBase = 3000,
        ID_CoolBar1 = kIdBase + 1,
        ID_pnlToolbar,
        ID_picImportBack,
        ID_picImport,
        ID_lblResource,
        ID_picIconBack,
        ID_picIcon,
        ID_lblIcon,
        ID_lblTitle,
        ID_pnlStatusbar,
        ID_mnuFile = kIdBase + kMenuIdOffset,
        ID_mnuFileApply,
        ID_mnuFileCloseApply,
        ID_mnuFileClose,
        ID_mnuView,
        ID_mnuViewEquiv,
        ID_mnuViewDefault,
        ID_mnuViewGroup,
        ID_mnuViewBackcolor,
        ID_mnuTools,
        ID_mnuToolsRebuild,
    };

    ReBar CoolBar1{*this, ID_CoolBar1};
    ToolBar pnlToolbar{*this, ID_pnlToolbar};
    PictureBox picImportBack{*this, ID_picImportBack};
    PictureBox picImport{*this, ID_picImport};  // the target's current icon
    Label lblResource{*this, ID_lblResource};
    PictureBox picIconBack{*this, ID_picIconBack};
    PictureBox picIcon{*this, ID_picIcon};  // the new icon: a dropped one or the default view
    Label lblIcon{*this, ID_lblIcon};
    Label lblTitle{*this, ID_lblTitle};
    StatusBar pnlStatusbar{*this, ID_pnlStatusbar};
    // Drops on "New": the picture and the frame around it take the same drag.
    OleDropTarget picIconDrop{picIcon};
    OleDropTarget picIconBackDrop{picIconBack};

    // What the window was handed and what it worked out for the change: read by the tests as by
    // the change procedures.
    const ChangeRequest& Request() const { return request_; }
    const ChangeState& State() const { return state_; }

    // ---- handlers (FrmChange.cpp)
    void mnuFileApply_Click();
    void mnuFileCloseApply_Click();
    void mnuFileClose_Click();
    void mnuToolsRebuild_Click();
    void mnuViewBackcolor_Click();
    void mnuViewEquiv_Click();
    void mnuViewGroup_Click();
    void pnlToolbar_ButtonClick(ToolButton& button);
    void picIcon_OLEDragOver(DragData& data, int& effect, int button, int shift, POINT screen, int state);
    void picIcon_OLEDragDrop(DragData& data, int& effect, int button, int shift, POINT screen);
    void procSavePos();
    // Opens the window for the main window's result item: the hand-over of File > Change. A new
    // request starts a new change: of the one before only the default view's flag carries over.
    void procHandOver(const ListItem& item, ChangeRequest request);
    // Apply, Apply and Close on or off, menus and buttons together.
    void procEnableApply(bool on);
    // Shows a reminder of the message window with this window's caption as title unless the user
    // switched it off (its value not 0); its button runs "Rebuild Icon Cache Now!" or "Restart Windows
    // Now!". Answers whether it was shown.
    bool procRemind(const std::string& text, const std::string& valueName, const std::string& buttonCaption);
    // Panel 1 of the status bar.
    void SetStatus(const std::string& text);
    std::string Status();

    // ---- the default views (frmChange_Defaults.cpp)
    void mnuViewDefault_Click();
    // Answers whether the icon was drawn; the placeholder shows when it was not.
    bool procShowIconFromFile(const std::string& sFile, int32_t lIndex);
    void procShowFileTypeDefault();
    void procShowSystemDefault(PictureBox& box);
    void procShowShortcutDefault();
    void procShowCursorDefault();

    // ---- the changes Apply hands the work to (frmChange_FileType.cpp, frmChange_SystemIcon.cpp,
    // frmChange_Shortcut.cpp, frmChange_Cursor.cpp)
    void procApplyFileType();
    void procApplySystemIcon();
    void procApplyShortcut();
    void procApplyCursor();

  protected:
    FormSpec Spec() const override;
    void CreateControls() override;
    void BindEvents() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    bool OnMenuCommand(int id) override;
    void OnPaint(HDC dc) override;

  private:
    ChangeRequest request_;
    ChangeState state_;
};

extern FrmChange frmChange;

// The key of the tree node selected when the window was last opened; "" when none was.
extern std::string gChangeNode;

// Tests take the place of the change procedures: called with the request instead of the kind's
// procedure; answers whether it showed the icon cache reminder itself.
extern bool (*gChangeProcedureHook)(FrmChange& form, const ChangeRequest& request);
