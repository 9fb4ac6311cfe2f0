// Helpers shared by the core tests: private temporary folders and registry keys.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "ui/Win.h"

// The folder of the running test program, with a trailing "\".
std::string TestProgramDir();

// The scratch folder with ANSI paths for the program's "A" functions.
class TempDir {
  public:
    TempDir();
    // The folder with a trailing "\".
    const std::string& path() const { return path_; }
    // Creates a file (and its folders) below the folder; answers its full path.
    std::string File(const std::string& relative, const std::string& content = "x") const;
    std::string Folder(const std::string& relative) const;

  private:
    ScratchFolder folder_;
    std::string path_;
};

// Removes a registry key with all its sub-keys; no error when it is missing.
void DeleteRegTree(HKEY hive, const std::string& key);

// Keeps the main window's start quiet in a test: stores the settings that keep the catalogue notice
// away; when gAppPath is empty, makes it a folder of this test program's own with an empty
// catalogue index, so that the catalogue load finds one and has nothing to say; and the test
// program's own switches are not opened as paths.
void PresetQuietStart();

// Real key input (SendInput): each key pressed and released, with Shift held around a key that
// carries 0x100, Ctrl around one that carries 0x200 and Alt around one that carries 0x400, as
// VkKeyScanA answers for a character.
void TypeKeys(const std::vector<WORD>& keys);
// The keys that type a text ("\r" Enter, "\x1b" Esc).
std::vector<WORD> KeysOf(const std::string& text);

// For its lifetime the system gives the reader threads only their first `starts` threads; every
// start after those fails as a std::thread does when the system has none to give.
class ReaderThreadStarts {
  public:
    explicit ReaderThreadStarts(int starts);
    ~ReaderThreadStarts();
    ReaderThreadStarts(const ReaderThreadStarts&) = delete;
    ReaderThreadStarts& operator=(const ReaderThreadStarts&) = delete;
};

// Removes the program's own store so that a test starts from an empty registry, and again at the end.
class CleanStore {
  public:
    CleanStore();
    ~CleanStore();
    static void Wipe();
};

// The GDI objects this process holds: GetGuiResources where the system counts them, else (under
// Wine, which does not) the used cells of the process's GDI handle table.
size_t GdiObjectCount();

// Data put on the clipboard and read back through OLE's data object of the clipboard, as a drag
// hands it to a drop target. The test programs run side by side and share the clipboard, so each
// holds a lock shared by all of them while its data lives.
class ClipboardData {
  public:
    static ClipboardData Text(const std::string& text);
    // A file list (DROPFILES) with the names as ANSI or as wide text.
    static ClipboardData Files(const std::vector<std::string>& files, bool wide = false);
    ClipboardData(ClipboardData&& other) noexcept;
    ClipboardData(const ClipboardData&) = delete;
    ClipboardData& operator=(const ClipboardData&) = delete;
    ~ClipboardData();
    IDataObject* object() const { return object_; }

  private:
    ClipboardData(UINT format, const std::string& bytes);
    HANDLE lock_ = nullptr;
    IDataObject* object_ = nullptr;
};

// While it lives, answers the program's hotspot picker as a user would: once the picker window
// ("Set the Cursor's Hotspot") shows, a press and release of the left button at the pixel (x, y)
// of its picture is posted to it. A timer of the thread looks for the picker, so it acts inside the
// picker's own modal loop.
class HotSpotClicker {
  public:
    HotSpotClicker(int x, int y);
    ~HotSpotClicker();
    HotSpotClicker(const HotSpotClicker&) = delete;
    HotSpotClicker& operator=(const HotSpotClicker&) = delete;
    // How many times the picker was answered.
    static int Clicks();
};
