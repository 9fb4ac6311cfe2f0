// A tab strip over the common controls' tab control: tabs with a caption, a key and a tool tip,
// numbered from 1; Click is raised when the user picks another tab.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Control.h"

class TabStrip : public Control {
  public:
    using Control::Control;
    void Create(Bounds bounds);
    void AddTab(const std::string& caption, const std::string& key, const std::string& toolTip = {});
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    std::string TabCaption(int index) const;
    std::string TabKey(int index) const;
    std::string TabToolTip(int index) const;
    // The selected tab, 1 to TabCount; 0 when there is none. Setting it raises Click.
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    std::function<void()> Click;

    std::optional<LRESULT> OnNotify(NMHDR* header) override;
    bool OwnsWindow(HWND window) const override;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;

  private:
    struct Tab {
        std::string caption, key, toolTip;
    };
    void InsertTab(int position);
    std::vector<Tab> tabs_;
    int selected_ = 0;
};

// Tab pages: each tab of a strip shows its own controls (its frame among them), one page at a time.
// The form keeps the number of the page shown in a variable of its own.
using TabPageControls = std::function<std::vector<Control*>(int page)>;
// Shows page `page` of the strip's pages and hides the others.
void ShowTabPage(const TabStrip& strip, int page, const TabPageControls& controls);
// The strip's Click: the selected page is shown before the page shown so far (current) is hidden,
// so that nothing flickers through, and current follows. No selection or the same page: nothing.
void SwitchTabPage(const TabStrip& strip, int16_t& current, const TabPageControls& controls);
