// One shortcut written through the shell-link component.
#include "common/SaveShortcut.h"

#include "common/ShellLink.h"

void procSaveShortcut(const std::string& LnkFile, const std::string& ExeFile, const std::string& WorkDir,
                      const std::string& ExeArgs, const std::string& IconFile, int32_t IconIdx, int32_t ShowCmd) {
    ShellLinkObject link;
    link.WriteLink(LnkFile, ExeFile, WorkDir, ExeArgs, IconFile, IconIdx, ShowCmd);
}
