// A folder of damaged programs, libraries, icons, cursors and animated files, handed to the running
// program by a second start as a user hands it a folder of downloads: the first instance lists and
// draws all of it, answers its messages all the while, and ends cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "DamagedSources.h"
#include "StartedProgram.h"
#include "common/FileIconReader.h"
#include "mainwindow/FrmMainIds.h"

namespace {

constexpr int kPageSize = 5000;  // a few large pages, each drawn at once

// The titles of visible windows other than `main` that belong to the process or tell of a crash
// (Wine's box for a program that ended by an exception belongs to its debugger).
std::vector<std::string> OtherWindows(DWORD pid, HWND main) {
    struct Search {
        DWORD pid;
        HWND main;
        std::vector<std::string> titles;
    } search{pid, main, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (hwnd == s->main || !IsWindowVisible(hwnd)) return TRUE;
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char title[256] = {};
            GetWindowTextA(hwnd, title, sizeof title);
            const std::string t = title;
            if (owner == s->pid || t.find("Program Error") != std::string::npos ||
                t.find("serious problem") != std::string::npos)
                s->titles.push_back(t);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.titles;
}

}  // namespace

TEST(DamagedFolder, HandedOverItIsListedAndDrawnWhileTheProgramAnswersAndThenEndsCleanly) {
    QuietStore store;
    StoreSetting("IconsPerPage", std::to_string(kPageSize));

    std::vector<std::pair<std::string, Bytes>> modules = SourceModules();
    for (const auto& [name, bytes] : modules) ASSERT_FALSE(bytes.empty()) << name;
    TempDir dir;
    std::vector<std::string> files;
    damaged::ForEachDamagedFile(modules, 3u << 20, [&](const std::string& name, const Bytes& bytes) {
        files.push_back(dir.File("Downloads\\" + name, std::string(bytes.begin(), bytes.end())));
    });
    for (const damaged::SoundFile& s : damaged::SoundFiles())
        files.push_back(dir.File("Downloads\\" + s.file.name, std::string(s.file.bytes.begin(), s.file.bytes.end())));
    ASSERT_GT(files.size(), 300u);
    modules.clear();
    int entries = 0;
    for (const std::string& f : files) entries += ReadFileIconCount(f).count;
    ASSERT_GT(entries, 0);

    StartedProgram first;
    HWND window = first.Main();
    ASSERT_NE(window, nullptr);

    // A watcher asks the window for an answer every 100 ms until the program is closed.
    std::atomic<bool> watching{true};
    std::atomic<DWORD> slowest{0};
    std::atomic<int> unanswered{0}, checks{0};
    std::thread watcher([&] {
        while (watching) {
            const DWORD asked = GetTickCount();
            DWORD_PTR r = 0;
            if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r) && watching) ++unanswered;
            slowest = std::max<DWORD>(slowest, GetTickCount() - asked);
            ++checks;
            Sleep(100);
        }
    });
    struct StopWatching {
        std::atomic<bool>& watching;
        std::thread& watcher;
        ~StopWatching() {
            watching = false;
            watcher.join();
        }
    } stop{watching, watcher};

    const DWORD start = GetTickCount();
    StartedProgram second("\"" + dir.path() + "Downloads\"");
    ASSERT_TRUE(second.WaitForEnd());
    EXPECT_EQ(second.ExitCode(), 0u);

    // The first page comes with the listing; every further page is drawn on the next-page command.
    const int pages = (entries + kPageSize - 1) / kPageSize;
    int items = 0;
    while (GetTickCount() - start < 60000 && items < std::min(entries, kPageSize)) {
        ASSERT_FALSE(first.WaitForEnd(100)) << "the program ended while listing";
        items = first.ShownItems();
        ASSERT_GE(items, 0) << "the list view did not answer";
    }
    EXPECT_EQ(items, std::min(entries, kPageSize));
    const DWORD listed = GetTickCount() - start;
    for (int page = 2; page <= pages; ++page) {
        DWORD_PTR r = 0;
        ASSERT_TRUE(SendMessageTimeoutA(window, WM_COMMAND, ID_mnuGoNextPage, 0, SMTO_ABORTIFHUNG, 30000, &r)) << page;
        EXPECT_EQ(first.ShownItems(), std::min(kPageSize, entries - (page - 1) * kPageSize)) << page;
    }
    EXPECT_FALSE(first.WaitForEnd(0)) << "the program ended on a page";
    EXPECT_EQ(unanswered, 0);
    EXPECT_LT(slowest, 3000u);
    EXPECT_GT(checks, 1);
    EXPECT_EQ(OtherWindows(first.id(), window), std::vector<std::string>{});
    std::printf("%zu files, %d entries listed in %lu ms, %d pages in %lu ms, slowest answer %lu ms\n", files.size(),
                entries, static_cast<unsigned long>(listed), pages, static_cast<unsigned long>(GetTickCount() - start),
                static_cast<unsigned long>(slowest.load()));

    ASSERT_TRUE(first.Close());
    EXPECT_EQ(first.ExitCode(), 0u) << std::hex << "exit code 0x" << first.ExitCode();
    EXPECT_EQ(OtherWindows(first.id(), nullptr), std::vector<std::string>{});
}
