// A cool bar: a rebar whose numbered bands each hold a control of the form.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

// Bands are numbered from 1 in the order they were added and keep that order: the user may drag a
// band to another row, never before another band. Create() starts the bands afresh.
class ReBar : public Control {
  public:
    using Control::Control;
    // Geometry in twips; the bar takes the form's top edge and full width itself, and its height
    // follows its bands.
    void Create(Bounds bounds);
    // Adds a band holding child's window (create the child first: the band takes it into the bar).
    // Width and minimum height in twips. Answers the band's number.
    int AddBand(Control& child, int width, int minHeight, bool newRow = false, const std::string& caption = {});
    int BandCount() const { return static_cast<int>(bands_.size()); }

    // Band properties by number; a wrong number throws std::out_of_range. Width and NewRow read
    // back from the window, where the user may have moved the band.
    bool BandVisible(int band) const;
    void SetBandVisible(int band, bool visible);
    bool BandNewRow(int band) const;
    void SetBandNewRow(int band, bool newRow);
    int BandWidth(int band) const;
    void SetBandWidth(int band, int width);
    int BandMinHeight(int band) const;
    void SetBandMinHeight(int band, int height);
    // Height in twips.
    int Height() const;

    // The bar's height changed (bands shown, hidden, moved to another row, or resized).
    std::function<void()> HeightChanged;

    std::optional<LRESULT> OnNotify(NMHDR* header) override;
    void OnParentResize() override;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;

  private:
    struct Band {
        Control* child = nullptr;
        std::string caption;
        bool visible = true;
        bool newRow = false;
        int width = 0;      // twips
        int minHeight = 0;  // twips
    };
    const Band& At(int band) const;
    Band& At(int band);
    int WindowIndex(int band) const;
    bool ReadBand(int band, REBARBANDINFOA& info, UINT mask) const;
    void InsertBand(int band);
    void UpdateBand(int band, UINT mask);
    void KeepOrder();

    std::vector<Band> bands_;
};
