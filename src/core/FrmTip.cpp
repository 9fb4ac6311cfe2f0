// The tip-of-the-day window: the tips, their order and what the window keeps in the settings.
#include "core/FrmTip.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "core/Settings.h"
#include "ui/Unique.h"
#include "ui/Units.h"

FrmTip frmTip;

namespace {

struct Tip {
    const char* category;
    const char* text;
};

// The program's text is ANSI: "\x91" and "\x92" are the Windows-1252 typographic quotes.
constexpr std::array<Tip, FrmTip::kTipCount> kTips = {{
    {"Change Icons",
         "Change almost every Windows icon you see with Ornavale. Icons which can be changed are "
         "Windows System icons (Drives, Files etc.), Program Shortcuts (Desktop, Start Menu), "
         "Cursors, File Type icons and Any Folder icon. De-installing Ornavale will leave changed "
         "icons intact."},
    {"Change Icons",
         "Select the Windows icon you want to change by selecting the appropriate node of the "
         "'Your Icons' main node in the left pane. Rightclick the icon you want to change and "
         "select the Change menu option. All changed icons can be set back to their Windows "
         "default icon."},
    {"Change Icons",
         "Change the icon of Any Folder by selecting an icon in Ornavale, then select Tools, "
         "Change Any Folder Icon... from the Ornavale main menu. Select the 'Groups by Design' "
         "node to see lots of folder icons which you can use."},
    {"Change Icons",
         "Drag Shortcuts (*.lnk) from your Desktop or Windows Explorer onto an Ornavale icon to "
         "change the Shortcut Icon or even drag & drop files/executables to create a shortcut to "
         "the dropped file. Hold the dragged shortcut a few seconds over the Ornavale button in "
         "your system tray if Ornavale is not visible."},
    {"Favorites",
         "Organize the icons you like most into the Favorite Folder. Add Favorite subfolders by "
         "selecting Favorites, Create Folder in the main menu. The Favorites folder resides in the "
         "Ornavale program directory by default, but this can be adjusted by selecting View, "
         "Options, Favorites Tab."},
    {"Favorites",
         "Drag any icon from the right Results Pane and drop it on any Favorite Folder just below "
         "the 'Your Icons'node. The Favorites tree will auto-expand while hovering an icon over it "
         "if it contains subfolders."},
    {"Favorites",
         "Re-assign the Favorite tree to any folder you want (View, Options, Favorites tab). This "
         "is also a great way to scan folders for icons folder by folder."},
    {"Favorites",
         "Move Favorite icons by dragging them from the results window while holding down the "
         "Shift button when dropping a Favorite Icon on a Favorite Folder. Without holding the "
         "Shift button, Favorites will be copied."},
    {"Favorites",
         "When selecting a keyword you can also search for the keyword in your Favorites. Goto "
         "View, Option, Favorites tab and check the 'Also Search Favorites when Searching on "
         "Keywords'option."},
    {"Favorites",
         "Add a Favorite as a Reference icon to Ornavale (References, Add...). This way you can "
         "describe a Favorite icon with multiple keywords. Ornavale will find the Favorite as a "
         "Referenced icon if keywords match."},
    {"Favorites",
         "Share your best icons with other Ornavale users! Gather them in a Favorite Folder "
         "(Favorites, Create Folder), zip that folder and send the zip file to the maker of "
         "Ornavale by e-mail."},
    {"Favorites",
         "Select View, Options, Favorites Tab and check the 'Also Search Favorites when Searching "
         "on Keywords' option to let Ornavale also search for matching Favorite icons besides "
         "matching Ornavale and Referenced Icons."},
    {"Add Icons",
         "Add references to your icons to Ornavale. First view your icons selecting File, Open by "
         "File or Open by Folder. After scanning of the selected icons click on an icon and select "
         "References, Add... Then select an appropriate keyword and icon type in the popup window "
         "and select Add."},
    {"Add Icons",
         "Add your own keywords to Ornavale. Use these keywords to describe your own (referenced) "
         "icons which you add to Ornavale. Select References, Edit Custom Keywords from the "
         "Ornavale main menu to add own keywords to Ornavale."},
    {"Add Icons",
         "You can also add references to Favorites to Ornavale. This way it is possible to "
         "describe your favorite icons by multiple keywords for easy finding."},
    {"Double-click Action",
         "Define your own action when double clicking an icon (View, Options, Double Click Icon "
         "tab). This can be dependand on the icon type if you want."},
    {"Shell Integration",
         "Add Ornavale to the 'Send Menu', available when right-clicking files and folders in the "
         "Windows Explorer (View, Shell Integration, Add to Send Menu). Now you can scan entire "
         "directories and icon libraries for icons, just by selecting them in the Windows Explorer "
         "and 'send' them to Ornavale. Only one instance of Ornavale will be started."},
    {"Shell Integration",
         "Associate icon libraries with Ornavale, and Ornavale will start and scan the file for "
         "icons when doubleclicking the file in your Windows Explorer (View, Shell Integration, "
         "File Associations). The file type icons of ICO and CUR files are not replaced by the "
         "Ornavale icon. Only one instance of Ornavale will be started."},
    {"Create Icons/Cursors",
         "Create icons from graphic files you like. Open them or paste them from the clipboard "
         "into the Glyphwright (Tools, Glyphwright). Select the transparant color, or not, and "
         "save it as an icon or cursor. Create 32x32 pixels images and use the enhanced techniques "
         "of your favorite bitmap editor to create icons."},
    {"Keywords",
         "The keywords of icons are generally used to describe the contents of an icon, not the "
         "function where the icon stands for. I.e. \x91" "rainbow\x92" " will give you all icons with a "
         "rainbow on them which generally are related to color settings icons."},
    {"Keywords",
         "To limit the amount of keywords, and therefore the Ornavale startup time , some icons do "
         "not have a specific keyword which describes them. In most cases these icons belong to a "
         "functional group. I.e. \x91" "kitchen\x92" " will give you lots of icons which are related to a "
         "kitchen and contains household appliances."},
    {"Keywords",
         "To better understand the way Ornavale uses keywords, it is advisable to have a look at "
         "all of the keywords of an Ornavale icon. Popup the Properties window by selecting File, "
         "Properties from the main menu. At the bottom next to \x91" "keywords\x92" " all keywords for the "
         "selected icon are shown."},
    {"Keywords",
         "If you don\x92" "t want to use your mouse to select a keyword from the keyword list, you can "
         "type the keyword and press {ALT}+{ARROW DOWN} or {ENTER}. If a matching keyword is not "
         "present, Ornavale will select the first keyword in the list when {ALT}+{ARROW DOWN} is "
         "used and will not select any keyword if {ENTER} is used."},
    {"Results",
         "When View, Detail is selected in the right results pane, you can easily resize the "
         "columns to their contents by doubleclicking on the column seperator."},
    {"Results",
         "When View, Detail is selected in the right results pane, you can sort the columns by "
         "clicking on the appropriate column header."},
    {"Results",
         "A red light will be flashing in the page numbering status field (most right on the "
         "bottom status bar) to indicate multiple pages. Jump to any page by clicking on the page "
         "numbering status field and select the desired page, or select Go, To Page in the "
         "Ornavale main menu."},
    {"Results",
         "By default Ornavale will show 200 icons per page. If you experience memory problems "
         "while paging through the icons, you should set the 'Icons Per Page' option to a lower "
         "value. Select View, Options, General Tab and set the 'Icons Per Page' option to the "
         "desired value with the picklist."},
    {"Clipboard",
         "When Copying icons to the clipboard, the transparancy is replaced by the results pane "
         "background color. Define a different 'Maskcolor' by selecting View, Options, General "
         "Tab, uncheck the 'Use Result Pane Background Color option' and define a system- or "
         "custom color to act as the maskcolor."},
}};

// Geometry in twips. The client area is fixed; the window is sized around it at load.
constexpr int kClientWidth = 6300;
constexpr int kClientHeight = 3735;
constexpr int kBackLeft = 180, kBackTop = 180, kBackWidth = 5940, kBackHeight = 2850;
constexpr int kLogoSize = 600;
constexpr int kTextLeft = 390;
constexpr int kRuleTop = 1110;  // the thin line between title and text, in form coordinates
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Tip numbers count on like the stored 32-bit value, wrapping instead of overflowing.
int32_t Following(int32_t n) { return static_cast<int32_t>(static_cast<uint32_t>(n) + 1u); }

UniquePen SolidPen(int width, COLORREF c) { return UniquePen(CreatePen(PS_SOLID, width, c)); }
UniqueBrush SolidBrush(COLORREF c) { return UniqueBrush(CreateSolidBrush(c)); }

// A bitmap of the given pixel size, drawn by paint on a memory DC; the caller owns the result.
// Paint leaves the stock null pen and brush selected before the objects it made go.
template <class Paint>
HBITMAP DrawBitmap(int width, int height, Paint paint) {
    MemoryBitmap picture(width, height);
    if (!picture) return nullptr;
    HDC dc = picture.dc();
    SelectInDC pen(dc, GetStockObject(NULL_PEN));
    SelectInDC brush(dc, GetStockObject(NULL_BRUSH));
    RECT all{0, 0, width, height};
    UniqueBrush white = SolidBrush(kWhite);
    FillRect(dc, &all, white.get());
    paint(dc);
    return picture.Release();
}

// A small light bulb with a few rays, drawn on a 40-unit grid scaled to size pixels.
HBITMAP DrawBulb(int size) {
    return DrawBitmap(size, size, [size](HDC dc) {
        auto u = [size](double v) { return static_cast<int>(std::lround(v * size / 40.0)); };
        UniquePen rays = SolidPen(std::max(1, u(1.5)), RGB(240, 170, 30));
        SelectObject(dc, rays.get());
        for (int degrees : {0, 40, 90, 140, 180}) {
            double a = degrees * 3.14159265 / 180.0;
            MoveToEx(dc, u(20 + 12 * std::cos(a)), u(16 - 12 * std::sin(a)), nullptr);
            LineTo(dc, u(20 + 16 * std::cos(a)), u(16 - 16 * std::sin(a)));
        }
        UniquePen outline = SolidPen(1, RGB(200, 140, 20));
        UniqueBrush glass = SolidBrush(RGB(255, 220, 80));
        SelectObject(dc, outline.get());
        SelectObject(dc, glass.get());
        POINT neck[] = {{u(15), u(21)}, {u(25), u(21)}, {u(24), u(28)}, {u(16), u(28)}};
        Polygon(dc, neck, 4);
        Ellipse(dc, u(11), u(7), u(29), u(25));
        // The glass's lower outline stays out of the neck.
        SelectObject(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, u(16), u(20), u(25), u(27));
        UniqueBrush shine = SolidBrush(kWhite);
        SelectObject(dc, shine.get());
        Ellipse(dc, u(14), u(10), u(19), u(16));
        UniquePen metal = SolidPen(1, RGB(110, 110, 110));
        UniqueBrush base = SolidBrush(RGB(170, 170, 170));
        SelectObject(dc, metal.get());
        SelectObject(dc, base.get());
        Rectangle(dc, u(15), u(28), u(25), u(35));
        MoveToEx(dc, u(15), u(30.5), nullptr);
        LineTo(dc, u(25), u(30.5));
        MoveToEx(dc, u(15), u(32.5), nullptr);
        LineTo(dc, u(25), u(32.5));
        UniqueBrush contact = SolidBrush(RGB(90, 90, 90));
        SelectObject(dc, contact.get());
        Rectangle(dc, u(18), u(35), u(22), u(38));
        SelectObject(dc, GetStockObject(NULL_PEN));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
    });
}

// The white panel behind the tip with a thin rule under the title; rule is in the panel's pixels.
HBITMAP DrawTipBack(int width, int height, int ruleY, int margin) {
    return DrawBitmap(width, height, [=](HDC dc) {
        UniquePen rule = SolidPen(1, RGB(215, 215, 215));
        SelectObject(dc, rule.get());
        MoveToEx(dc, margin, ruleY, nullptr);
        LineTo(dc, width - margin, ruleY);
        SelectObject(dc, GetStockObject(NULL_PEN));
    });
}

}  // namespace

void PlainTextBox::Create(const std::string& text, Bounds bounds) {
    Define("EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, bounds, text);
}

FormSpec FrmTip::Spec() const {
    // Form_Load fits the frame exactly around the client area.
    return FixedDialogSpec("Tip of the Day", kClientWidth, kClientHeight);
}

void FrmTip::CreateControls() {
    // Siblings made first lie on top: the white panel comes last, below the title, text and logo.
    txtTitle.Create("Title", {1170, 540, 4740, 300});
    txtTitle.SetBackColor(kWhite);
    if (!titleFont_) titleFont_.reset(CreateSansFont(10, FW_BOLD));
    if (txtTitle.hwnd() && titleFont_)
        SendMessageA(txtTitle.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);
    txtTip.Create("Tip", {kTextLeft, 1290, 5520, 1560});
    txtTip.SetBackColor(kWhite);
    picLogo.Create({390, 390, kLogoSize, kLogoSize});
    picLogo.SetBackColor(kWhite);
    if (!picLogo.Picture()) picLogo.SetPicture(DrawBulb(TwipsToPxX(kLogoSize)));
    chkTip.Create("&Show Tips on Startup", {180, 3255, 3000, 255});
    cmdNextTip.Create("&Next Tip", {3780, 3210, 1125, 345});
    cmdOK.Create("&Close", {4995, 3210, 1125, 345}, ButtonOptions{.isDefault = true});
    picTipBack.Create({kBackLeft, kBackTop, kBackWidth, kBackHeight}, PictureBoxOptions{.border = true});
    picTipBack.SetBackColor(kWhite);
    if (!picTipBack.Picture() && picTipBack.hwnd()) {
        RECT r{};
        GetClientRect(picTipBack.hwnd(), &r);
        // The panel's client area starts inside its sunken edge: place the rule in its coordinates.
        POINT origin{0, 0};
        MapWindowPoints(picTipBack.hwnd(), hwnd(), &origin, 1);
        picTipBack.SetPicture(
            DrawTipBack(r.right, r.bottom, TwipsToPxY(kRuleTop) - origin.y, TwipsToPxX(kTextLeft) - origin.x));
    }
}

void FrmTip::BindEvents() {
    cmdNextTip.Click = [this] { cmdNextTip_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
}

void FrmTip::Form_Load() {
    // Size the frame around the designed client area, whatever the system's borders, and centre.
    int width = Width() + kClientWidth - ScaleWidth();
    int height = Height() + kClientHeight - ScaleHeight();
    int screenWidth = PxToTwipsX(GetSystemMetrics(SM_CXSCREEN));
    int screenHeight = PxToTwipsY(GetSystemMetrics(SM_CYSCREEN));
    Move((screenWidth - width) / 2, (screenHeight - height) / 2, width, height);

    Variant show = ReadStoredSetting(setting::Tip);
    chkTip.SetValue(show.IsBlank() || show.Number() == 1 ? 1 : 0);
    mCurrentTip = ReadStoredSetting(setting::TipNr).Number().value_or(1);
    procShowTip();
}

void FrmTip::procShowTip() {
    if (mCurrentTip < 1 || mCurrentTip > kTipCount) return;
    const Tip& tip = kTips[static_cast<size_t>(mCurrentTip - 1)];
    txtTitle.SetText("Tip " + std::to_string(mCurrentTip) + ". " + tip.category);
    txtTip.SetText(tip.text);
}

void FrmTip::cmdNextTip_Click() {
    if (mCurrentTip == kTipCount) mCurrentTip = 0;
    mCurrentTip = Following(mCurrentTip);
    procShowTip();
}

void FrmTip::procSaveTipSettings() {
    if (mCurrentTip == kTipCount) mCurrentTip = 0;
    WriteSetting(setting::TipNr, Following(mCurrentTip));
    WriteSetting(setting::Tip, std::to_string(chkTip.Value()));
}

void FrmTip::cmdOK_Click() {
    procSaveTipSettings();
    Unload();
}

void FrmTip::Form_QueryUnload(bool& /*cancel*/, UnloadMode mode) {
    // The close box keeps the place as Close does. The program's own unload at exit and the end
    // of the Windows session leave the settings alone.
    if (mode == UnloadMode::FormControlMenu) procSaveTipSettings();
}
