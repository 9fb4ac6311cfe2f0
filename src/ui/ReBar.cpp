// The cool bar over its band records.
#include "ui/ReBar.h"

#include <stdexcept>

#include "ui/Units.h"

namespace {

REBARBANDINFOA NewInfo(UINT mask) {
    REBARBANDINFOA info{};
    // The size comctl32 5 and 6 both accept.
    info.cbSize = REBARBANDINFOA_V6_SIZE;
    info.fMask = mask;
    return info;
}

}  // namespace

void ReBar::Create(Bounds bounds) {
    bands_.clear();
    // The bands keep their order: a band can be dragged to another row or resized, never before another.
    // A parent of controls: Tab goes through the controls of its bands as through the form's own.
    Define(REBARCLASSNAMEA, WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_FIXEDORDER | CCS_NODIVIDER,
           WS_EX_CONTROLPARENT, bounds);
}

const ReBar::Band& ReBar::At(int band) const {
    if (band < 1 || band > BandCount()) throw std::out_of_range("Band index out of bounds");
    return bands_[static_cast<size_t>(band) - 1];
}

ReBar::Band& ReBar::At(int band) { return const_cast<Band&>(static_cast<const ReBar*>(this)->At(band)); }

int ReBar::WindowIndex(int band) const {
    return hwnd() ? static_cast<int>(Send(RB_IDTOINDEX, static_cast<WPARAM>(band))) : -1;
}

bool ReBar::ReadBand(int band, REBARBANDINFOA& info, UINT mask) const {
    int index = WindowIndex(band);
    if (index < 0) return false;
    info = NewInfo(mask);
    return Send(RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info)) != 0;
}

void ReBar::InsertBand(int band) {
    const Band& b = At(band);
    REBARBANDINFOA info = NewInfo(RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_TEXT |
                                  (b.child && b.child->hwnd() ? RBBIM_CHILD : 0));
    info.fStyle = RBBS_CHILDEDGE | (b.newRow ? RBBS_BREAK : 0) | (b.visible ? 0 : RBBS_HIDDEN);
    info.lpText = const_cast<char*>(b.caption.c_str());
    info.hwndChild = b.child ? b.child->hwnd() : nullptr;
    info.cyMinChild = static_cast<UINT>(TwipsToPxY(b.minHeight));
    // The band is as high as its minimum: a combo box's window includes its drop-down list.
    info.cyChild = info.cyMinChild;
    info.cyMaxChild = info.cyMinChild;
    info.cx = static_cast<UINT>(TwipsToPxX(b.width));
    info.wID = static_cast<UINT>(band);
    Send(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
}

void ReBar::UpdateBand(int band, UINT mask) {
    int index = WindowIndex(band);
    if (index < 0) return;
    const Band& b = At(band);
    REBARBANDINFOA info = NewInfo(mask);
    if (mask & RBBIM_STYLE) {
        REBARBANDINFOA current{};
        ReadBand(band, current, RBBIM_STYLE);
        info.fStyle = (current.fStyle & ~(RBBS_BREAK | RBBS_HIDDEN)) | (b.newRow ? RBBS_BREAK : 0) |
                      (b.visible ? 0 : RBBS_HIDDEN);
    }
    info.cyMinChild = static_cast<UINT>(TwipsToPxY(b.minHeight));
    info.cyChild = info.cyMinChild;
    info.cyMaxChild = info.cyMinChild;
    info.cx = static_cast<UINT>(TwipsToPxX(b.width));
    if (mask & RBBIM_CHILDSIZE) {
        REBARBANDINFOA current{};
        ReadBand(band, current, RBBIM_CHILDSIZE);
        info.cxMinChild = current.cxMinChild;
    }
    Send(RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
}

int ReBar::AddBand(Control& child, int width, int minHeight, bool newRow, const std::string& caption) {
    bands_.push_back(Band{&child, caption, true, newRow, std::max(width, 0), std::max(minHeight, 0)});
    int band = BandCount();
    if (hwnd()) InsertBand(band);
    return band;
}

bool ReBar::BandVisible(int band) const { return At(band).visible; }

void ReBar::SetBandVisible(int band, bool visible) {
    At(band).visible = visible;
    int index = WindowIndex(band);
    if (index >= 0) Send(RB_SHOWBAND, static_cast<WPARAM>(index), visible ? TRUE : FALSE);
}

bool ReBar::BandNewRow(int band) const {
    REBARBANDINFOA info{};
    if (ReadBand(band, info, RBBIM_STYLE)) return (info.fStyle & RBBS_BREAK) != 0;
    return At(band).newRow;
}

void ReBar::SetBandNewRow(int band, bool newRow) {
    At(band).newRow = newRow;
    UpdateBand(band, RBBIM_STYLE);
}

int ReBar::BandWidth(int band) const {
    REBARBANDINFOA info{};
    if (ReadBand(band, info, RBBIM_SIZE)) return PxToTwipsX(static_cast<int>(info.cx));
    return At(band).width;
}

void ReBar::SetBandWidth(int band, int width) {
    At(band).width = std::max(width, 0);
    UpdateBand(band, RBBIM_SIZE);
}

int ReBar::BandMinHeight(int band) const { return At(band).minHeight; }

void ReBar::SetBandMinHeight(int band, int height) {
    At(band).minHeight = std::max(height, 0);
    UpdateBand(band, RBBIM_CHILDSIZE);
}

int ReBar::Height() const {
    if (!hwnd()) return Control::Height();
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return PxToTwipsY(r.bottom - r.top);
}

void ReBar::AfterCreate() {
    for (int band = 1; band <= BandCount(); ++band) InsertBand(band);
}

void ReBar::BeforeDestroy() {
    // Keep where the user left the bands.
    for (int band = 1; band <= BandCount(); ++band) {
        At(band).newRow = BandNewRow(band);
        At(band).width = BandWidth(band);
    }
}

void ReBar::OnParentResize() {
    // The bar stretches along the form's top edge on WM_SIZE. It places its bands' controls before
    // it takes the new width itself, and a tool bar sizes itself to the bar's width: the bar takes
    // the form's width first, so that a tool bar never keeps the width it had before (none at all
    // after a minimise).
    if (!hwnd()) return;
    RECT form{}, bar{};
    GetClientRect(GetParent(hwnd()), &form);
    GetWindowRect(hwnd(), &bar);
    if (bar.right - bar.left != form.right)
        SetWindowPos(hwnd(), nullptr, 0, 0, form.right, bar.bottom - bar.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Send(WM_SIZE);
}

void ReBar::KeepOrder() {
    // Wine's rebar lets a band be dragged above the first row whatever its style says: put each
    // band back at its place; it stays on the row it was dragged to.
    for (int band = 1; band <= BandCount(); ++band) {
        const int index = WindowIndex(band);
        if (index >= 0 && index != band - 1) Send(RB_MOVEBAND, static_cast<WPARAM>(index), band - 1);
    }
}

std::optional<LRESULT> ReBar::OnNotify(NMHDR* header) {
    if (header->code == RBN_ENDDRAG || header->code == RBN_LAYOUTCHANGED) {
        KeepOrder();
        return 0;
    }
    if (header->code != RBN_HEIGHTCHANGE) return std::nullopt;
    if (HeightChanged) HeightChanged();
    return 0;
}
