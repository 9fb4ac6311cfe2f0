// The shell's link object (IShellLinkA with its IPersistStream and IPersistFile) behind ShellLinkObject.
#include "common/ShellLink.h"

#include <cstring>
#include <functional>
#include <vector>

#include "core/Errors.h"
#include "core/Files.h"
#include "formats/FileBytes.h"
#include "formats/LinkFile.h"
#include "ui/Unique.h"
#include "ui/Win.h"

#include <shlwapi.h>

std::function<void(const std::string& lnkFile)> gLinkChecked;

namespace {

constexpr const char* kSource = "ShellLinkObject";
// Far more than any shortcut holds; a bigger file is not read as one.
constexpr uint64_t kMaxLinkBytes = 1 << 20;
// Room for each text the link object hands back (its own texts are limited to fewer characters).
constexpr int kTextRoom = 4096;

[[noreturn]] void Raise(HRESULT hr, const std::string& what, const std::string& path) {
    throw RuntimeError(static_cast<int>(hr), kSource, what + ": " + path);
}

std::string UpToNul(std::string text) { return TrimAtNull(text); }

std::wstring Wide(const std::string& path) { return WidePath(path).wstring(); }

// COM stays started for the thread's life; a thread that runs it in the other model already uses
// it as it is.
void StartCom() {
    thread_local const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)started;
}

// Each link object comes from the class's factory, asked for once per thread: CoCreateInstance
// would look the class up in the registry again for every link, which costs more than reading the
// link. The factory is kept for the thread's life, as COM is.
UniqueCom<IShellLinkA> NewLink(const std::string& path) {
    StartCom();
    thread_local IClassFactory* factory = nullptr;
    if (!factory) {
        IClassFactory* made = nullptr;
        const HRESULT hr = CoGetClassObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                            reinterpret_cast<void**>(&made));
        if (FAILED(hr)) Raise(hr, "The shell's link object could not be made", path);
        factory = made;
    }
    UniqueCom<IShellLinkA> link;
    const HRESULT hr = factory->CreateInstance(nullptr, IID_IShellLinkA, reinterpret_cast<void**>(link.put()));
    if (FAILED(hr)) Raise(hr, "The shell's link object could not be made", path);
    return link;
}

UniqueCom<IPersistFile> FileOf(IShellLinkA* link, const std::string& path) {
    UniqueCom<IPersistFile> file;
    const HRESULT hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
    if (FAILED(hr)) Raise(hr, "The shell's link object cannot read or write files", path);
    return file;
}

// Loads the link from the bytes our own reader has checked, read from the file this once: the
// link object gets those bytes, never the file, so a file changed after the check cannot reach it.
// The show command is set back from the header: the shell's reader does not keep it (it answers 1),
// so a save would lose it.
formats::LinkHeader LoadChecked(IShellLinkA* link, const std::string& path) {
    auto bytes = formats::ReadFileBytes(WidePath(path), kMaxLinkBytes);
    if (!bytes) Raise(HRESULT_FROM_WIN32(ERROR_OPEN_FAILED), "The shortcut could not be read", path);
    auto header = formats::CheckLinkFile(*bytes);
    if (!header) Raise(HRESULT_FROM_WIN32(ERROR_BAD_FORMAT), "The shortcut is damaged (" + header.error() + ")", path);
    if (gLinkChecked) gLinkChecked(path);
    UniqueCom<IStream> stream(SHCreateMemStream(bytes->data(), static_cast<UINT>(bytes->size())));
    if (!stream) Raise(E_OUTOFMEMORY, "The shortcut could not be read", path);
    UniqueCom<IPersistStream> persist;
    HRESULT hr = link->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(persist.put()));
    if (FAILED(hr)) Raise(hr, "The shell's link object cannot read shortcuts", path);
    hr = persist.get()->Load(stream.get());
    if (FAILED(hr)) Raise(hr, "The shortcut could not be read", path);
    hr = link->SetShowCmd(static_cast<int>(header->showCommand));
    if (FAILED(hr)) Raise(hr, "The shortcut's show command could not be kept", path);
    return *header;
}

// One text of the link, cut at its end.
std::string Text(const std::function<HRESULT(char*, int)>& get, const char* what, const std::string& path) {
    std::vector<char> buffer(kTextRoom, '\0');
    const HRESULT hr = get(buffer.data(), kTextRoom);
    if (FAILED(hr)) Raise(hr, std::string("The shortcut's ") + what + " could not be read", path);
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

void Check(HRESULT hr, const char* what, const std::string& path) {
    if (FAILED(hr)) Raise(hr, std::string("The shortcut's ") + what + " could not be set", path);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Saves the link under a temporary name in its folder, then puts it in place of the old one: a
// failure on the way leaves the old link as it was and no temporary file behind.
void SaveReplacing(IShellLinkA* link, const std::string& path) {
    std::string full(MAX_PATH, '\0');
    char* name = nullptr;
    const DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
    if (n == 0 || n >= full.size() || !name) Raise(HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME), "No shortcut name", path);
    const std::string folder = full.substr(0, static_cast<size_t>(name - full.data()));
    char temp[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "orn", 0, temp))
        Raise(HRESULT_FROM_WIN32(GetLastError()), "The shortcut's folder cannot be written", path);
    const HRESULT hr = FileOf(link, path).get()->Save(Wide(temp).c_str(), FALSE);
    if (FAILED(hr)) {
        DeleteFileA(temp);
        Raise(hr, "The shortcut could not be written", path);
    }
    if (!MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        DeleteFileA(temp);
        Raise(HRESULT_FROM_WIN32(error), "The shortcut could not be replaced", path);
    }
}

// Makes a new link, or with `existingOnly` loads the existing one, changes it and saves it safely.
// A new link is never loaded from the file it replaces: nothing of that one may stay.
void Rewrite(const std::string& lnkFile, bool existingOnly, const std::function<void(IShellLinkA*)>& change) {
    const std::string path = UpToNul(lnkFile);
    UniqueCom<IShellLinkA> link = NewLink(path);
    if (existingOnly) {
        if (!IsFile(path)) Raise(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "The shortcut was not found", path);
        LoadChecked(link.get(), path);
    }
    change(link.get());
    SaveReplacing(link.get(), path);
}

}  // namespace

void ShellLinkObject::WriteLink(const std::string& LnkFile, const std::string& ExeFile, const std::string& WorkDir,
                                const std::string& ExeArgs, const std::string& IconFile, int32_t IconIdx,
                                int32_t ShowCmd) {
    Rewrite(LnkFile, false, [&](IShellLinkA* link) {
        const std::string path = UpToNul(LnkFile);
        Check(link->SetPath(UpToNul(ExeFile).c_str()), "target", path);
        Check(link->SetWorkingDirectory(UpToNul(WorkDir).c_str()), "working folder", path);
        Check(link->SetArguments(UpToNul(ExeArgs).c_str()), "arguments", path);
        Check(link->SetIconLocation(UpToNul(IconFile).c_str(), IconIdx), "icon", path);
        Check(link->SetShowCmd(ShowCmd), "show command", path);
    });
}

void ShellLinkObject::ReadLink(const std::string& LnkFile, std::string& ExeFile, std::string& WorkDir,
                               std::string& ExeArgs, std::string& IconFile, int32_t& IconIdx, int32_t& ShowCmd) {
    const std::string path = UpToNul(LnkFile);
    UniqueCom<IShellLinkA> link = NewLink(path);
    const formats::LinkHeader header = LoadChecked(link.get(), path);
    IShellLinkA* shell = link.get();
    // The raw path: as stored, never looked for on the disk.
    std::string exe = Text([&](char* b, int n) { return shell->GetPath(b, n, nullptr, SLGP_RAWPATH); }, "target", path);
    std::string dir = Text([&](char* b, int n) { return shell->GetWorkingDirectory(b, n); }, "working folder", path);
    std::string args = Text([&](char* b, int n) { return shell->GetArguments(b, n); }, "arguments", path);
    int index = 0;
    std::string icon = Text([&](char* b, int n) { return shell->GetIconLocation(b, n, &index); }, "icon", path);
    ExeFile = std::move(exe);
    WorkDir = std::move(dir);
    ExeArgs = std::move(args);
    IconFile = std::move(icon);
    IconIdx = index;
    ShowCmd = static_cast<int32_t>(header.showCommand);
}

void ShellLinkObject::ChangeLinkIcon(const std::string& LnkFile, const std::string& IconFile, int32_t IconIdx) {
    Rewrite(LnkFile, true, [&](IShellLinkA* link) {
        // An empty text would stay in the link as an icon location of its own: no text takes it away.
        const std::string icon = UpToNul(IconFile);
        Check(link->SetIconLocation(icon.empty() ? nullptr : icon.c_str(), icon.empty() ? 0 : IconIdx), "icon",
              UpToNul(LnkFile));
    });
}
