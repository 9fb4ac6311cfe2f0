// File > Play in the running program, with the real keyboard and mouse, on an animated cursor opened
// from the command line: the player comes up at 5 frames per second and its stage changes frames,
// read from the screen from outside.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "AniMaker.h"
#include "StartedProgram.h"

namespace {

// The largest picture box of a window: the player's stage.
HWND LargestPicture(HWND window) {
    HWND best = nullptr;
    LONG bestArea = 0;
    for (HWND child = FindWindowExA(window, nullptr, "OrnavalePicture", nullptr); child;
         child = FindWindowExA(window, child, "OrnavalePicture", nullptr)) {
        RECT r{};
        GetClientRect(child, &r);
        if (r.right * r.bottom > bestArea) {
            bestArea = r.right * r.bottom;
            best = child;
        }
    }
    return best;
}

}  // namespace

TEST(AnimationPlayer, PlayByKeysShowsTheFramesChanging) {
    QuietStore store;
    TempDir dir;
    const std::string file = dir.path() + "walk.ani";
    constexpr int kSeed = 3, kFrames = 4;
    ASSERT_TRUE(WriteAniFile(file, kSeed, kFrames));
    StartedProgram program("\"" + file + "\"");
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(program.WaitForShownItems(kFrames, 15000), kFrames);
    ASSERT_NE(program.SelectListItem(1), nullptr);

    TypeKeys({VK_MENU, 'F', 'L'});
    HWND player = program.WaitForWindow("Animation", 10000);
    ASSERT_NE(player, nullptr);
    HWND slider = FindChildOfClass(player, TRACKBAR_CLASSA);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 5);
    HWND stage = LargestPicture(player);
    ASSERT_NE(stage, nullptr);

    // The middle of the stage over two seconds: every frame's colour shows there in turn.
    RECT r{};
    GetClientRect(stage, &r);
    POINT middle{r.right / 2, r.bottom / 2};
    ClientToScreen(stage, &middle);
    std::set<int> seen;
    HDC screen = GetDC(nullptr);
    WaitUntil(5000, [&] {
        const COLORREF shown = GetPixel(screen, middle.x, middle.y);
        for (int step = 0; step < kFrames; ++step)
            if (shown == FrameColour(kSeed, step)) seen.insert(step);
        return static_cast<int>(seen.size()) == kFrames;
    });
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(static_cast<int>(seen.size()), kFrames);

    PostMessageA(player, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Close());
}
