// A tool bar with buttons addressed by key, drop-down button menus and tool tips.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Keys.h"

class ImageList;
class ToolBar;

enum ToolButtonStyle {
    tbrDefault = 0,
    tbrCheck = 1,
    tbrButtonGroup = 2,
    tbrSeparator = 3,
    tbrPlaceholder = 4,
    tbrDropdown = 5
};

// An item of a button's drop-down menu; only the visible ones are offered.
struct ButtonMenu {
    std::string key;
    std::string text;
    std::string tag;
    bool visible = true;
    bool enabled = true;
};

class ToolButton {
  public:
    ToolButton(const ToolButton&) = delete;
    ToolButton& operator=(const ToolButton&) = delete;

    const std::string& Key() const { return key_; }
    int Id() const { return id_; }  // the command id the window knows the button by
    int Style() const { return style_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Pressed (a check button the user pressed reads True).
    bool Value() const;
    void SetValue(bool pressed);
    const std::string& Image() const { return image_; }  // key in the tool bar's image lists
    void SetImage(const std::string& key);

    std::string ToolTipText;
    std::string Description;  // listed in the Customize dialog
    std::string Tag;

    // The drop-down menu (tbrDropdown). Throws KeyError for a key in use. The reference lasts
    // until the next AddMenu.
    ButtonMenu& AddMenu(const std::string& key, const std::string& text);
    ButtonMenu& Menus(const std::string& key);  // throws KeyError
    std::vector<ButtonMenu>& ButtonMenus() { return menus_; }

  private:
    friend class ToolBar;
    ToolButton(ToolBar* owner, int id) : owner_(owner), id_(id) {}

    ToolBar* owner_;  // nullptr once the bar's design is made again
    int id_;
    std::string key_;
    int style_ = tbrDefault;
    std::string caption_;
    std::string image_;
    bool enabled_ = true;
    bool visible_ = true;
    bool value_ = false;
    std::vector<ButtonMenu> menus_;
};

// Create() starts the buttons afresh; buttons of the earlier design stay valid objects but no
// longer show. Keys are compared without regard to case.
class ToolBar : public Control {
  public:
    using Control::Control;
    // Geometry in twips; the height follows the buttons.
    void Create(Bounds bounds);
    // Appends a button. commandId 0 gives the button an id of the bar's own. Throws KeyError for a
    // key in use.
    ToolButton& Add(const std::string& key, const std::string& caption = {}, int style = tbrDefault,
                    const std::string& image = {}, int commandId = 0);
    ToolButton& Buttons(const std::string& key);  // throws KeyError
    ToolButton& Buttons(int index);               // 1-based; throws std::out_of_range
    ToolButton* Find(const std::string& key);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }

    // Normal and hot (under the pointer) pictures, by the buttons' image keys. Not owned.
    void SetImageList(ImageList* list);
    void SetHotImageList(ImageList* list);
    // Captions shown below the pictures, or none; the captions are kept either way.
    bool TextLabels() const { return textLabels_; }
    void SetTextLabels(bool on);
    // Button size and the bar's height in twips.
    int ButtonHeight() const;
    void SetButtonHeight(int height);
    int ButtonWidth() const;
    void SetButtonWidth(int width);
    int Height() const;

    // The Customize dialog (modal); Change follows each change the user makes there.
    void Customize();
    // Saves the layout under HKEY_CURRENT_USER\key\subkey, value name `value`, in the tool bar's own format.
    bool SaveToolbar(const std::string& key, const std::string& subkey, const std::string& value);

    std::function<void(ToolButton&)> ButtonClick;
    std::function<void(ToolButton&, ButtonMenu&)> ButtonMenuClick;
    std::function<void()> Change;

    std::optional<LRESULT> OnItemCommand(int id, int code) override;
    std::optional<LRESULT> OnNotify(NMHDR* header) override;
    bool OwnsWindow(HWND window) const override;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;

  private:
    friend class ToolButton;
    ToolButton* ById(int id);
    void Realise();
    TBBUTTON Describe(const ToolButton& button, const std::string& caption) const;
    void ShowCaption(const ToolButton& button);
    // `layout`: the button appeared or went, so the bar sizes itself again.
    void ShowState(const ToolButton& button, bool layout);
    void ShowImage(const ToolButton& button);
    void Resize();
    void DropDown(ToolButton& button);

    std::vector<std::unique_ptr<ToolButton>> buttons_;
    std::vector<std::unique_ptr<ToolButton>> retired_;  // buttons of an earlier design
    ImageList* images_ = nullptr;
    ImageList* hotImages_ = nullptr;
    bool textLabels_ = true;
    int buttonHeight_ = 0;  // twips; 0: as the pictures and captions need
    int buttonWidth_ = 0;
    int nextAutoId_ = 100;
    std::string tipText_;     // the text handed to the tool tip
    std::wstring tipTextW_;
};
