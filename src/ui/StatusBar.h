// A status bar with panels addressed by key, laid out by a pure function of the panels and the width.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Keys.h"
#include "ui/Units.h"

enum PanelAutoSize { sbrNoAutoSize = 0, sbrSpring = 1, sbrContents = 2 };
enum PanelBevel { sbrNoBevel = 0, sbrInset = 1, sbrRaised = 2 };

// What the layout needs of one panel: widths in twips, the width its contents take in pixels.
struct PanelLayout {
    int width = 1440;
    int minWidth = 1440;
    int autoSize = sbrNoAutoSize;
    int contentWidthPx = 0;
};

// The right edges of the panels in client pixels, for SB_SETPARTS; the last edge is -1 (to the
// right end). A fixed panel keeps its width; a contents panel fits its contents, never below its
// minimum; spring panels get their minimum plus an equal share of what the others leave over.
std::vector<int> StatusPanelEdges(const std::vector<PanelLayout>& panels, int clientWidthPx, const Units& units);

class StatusBar;

class Panel {
  public:
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    const std::string& Key() const { return key_; }
    int Index() const { return index_; }  // 1-based
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // Widths in twips.
    int Width() const { return width_; }
    void SetWidth(int width);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int width);
    int AutoSize() const { return autoSize_; }
    void SetAutoSize(int autoSize);
    // Not owned: the icon must stay alive while the panel shows it. nullptr shows none.
    HICON Picture() const { return picture_; }
    void SetPicture(HICON icon);
    int Bevel() const { return bevel_; }
    void SetBevel(int bevel);

    std::string Tag;

  private:
    friend class StatusBar;
    Panel(StatusBar* owner, std::string key, int index) : owner_(owner), key_(std::move(key)), index_(index) {}

    StatusBar* owner_;  // nullptr once the bar's design is made again (the panel is then detached)
    std::string key_;
    int index_;
    std::string text_;
    int width_ = 1440;
    int minWidth_ = 1440;
    int autoSize_ = sbrNoAutoSize;
    HICON picture_ = nullptr;
    int bevel_ = sbrInset;
};

// The bar keeps itself along the bottom of the form and lays its panels out again when the form
// changes size. Create() starts the panels afresh; panels of the earlier design stay valid objects
// (a form may hold references to them) but no longer show.
class StatusBar : public Control {
  public:
    using Control::Control;
    // Geometry in twips; the bar takes the form's bottom edge and full width itself.
    void Create(Bounds bounds);
    // Appends a panel. Throws KeyError for a key in use. Width in twips.
    Panel& AddPanel(const std::string& key, const std::string& text = {}, int width = 1440,
                    int autoSize = sbrNoAutoSize);
    Panel& Panels(const std::string& key);  // throws KeyError
    Panel& Panels(int index);               // 1-based; throws std::out_of_range
    Panel* FindPanel(const std::string& key);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    // Height in twips.
    int Height() const;
    // Repaints at once.
    void Refresh();

    std::function<void(Panel&)> PanelClick;

    std::optional<LRESULT> OnNotify(NMHDR* header) override;
    void OnParentResize() override;

  protected:
    void AfterCreate() override;

  private:
    friend class Panel;
    void Layout();
    void ShowText(const Panel& panel);
    void ShowPicture(const Panel& panel);

    std::vector<std::unique_ptr<Panel>> panels_;
    std::vector<std::unique_ptr<Panel>> retired_;  // panels of an earlier design, kept for references
};
