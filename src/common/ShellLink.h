// Reading and writing the user's shortcut files (.lnk) through the shell's own link object.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Each call makes a link object of its own and releases it; COM is started once per thread.
// Texts passed in end at their first NUL; texts returned carry none. Every failure raises a
// RuntimeError with the HRESULT as its number.
class ShellLinkObject {
  public:
    // Creates or replaces the shortcut LnkFile. A new file goes to a temporary name in the link's
    // folder first and replaces the old link only once it is complete, so a failed write leaves the
    // old link as it was and a missing folder leaves no file. The link is new: nothing of a link it
    // replaces (description, hot key) stays, and that one is never read.
    void WriteLink(const std::string& LnkFile, const std::string& ExeFile, const std::string& WorkDir,
                   const std::string& ExeArgs, const std::string& IconFile, int32_t IconIdx, int32_t ShowCmd);

    // The six values stored in the shortcut LnkFile, as stored: the link is never resolved (no
    // search for a moved target, no window). The show command comes from the file's header.
    void ReadLink(const std::string& LnkFile, std::string& ExeFile, std::string& WorkDir, std::string& ExeArgs,
                  std::string& IconFile, int32_t& IconIdx, int32_t& ShowCmd);

    // Gives the existing shortcut LnkFile another icon and keeps everything else, safely as WriteLink.
    // An empty IconFile leaves it no icon location of its own (index 0): the shell then draws its
    // target's picture.
    void ChangeLinkIcon(const std::string& LnkFile, const std::string& IconFile, int32_t IconIdx);
};

// Called when a link's bytes have been read and checked, before the link object gets them; a test
// changes the file there, as another program would.
extern std::function<void(const std::string& lnkFile)> gLinkChecked;
