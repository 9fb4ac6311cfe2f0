// Icon copies: the files that every change of a Windows icon or cursor writes for Windows to show.
//
// A change never hands Windows the user's own file. It writes the picture as a file of its own, an
// icon copy, into the copy folder gWinDir & "\Icons\" (one level below the Windows folder, made
// when missing), named by a number and the change's extension: 1.ico, 12.cur, 3.ani, numbers 1 to
// 5000 in plain decimal. The folder's contents are the only record; there is no counter.
//
// MakeIconCopy is the one way a change makes a copy. In order:
//   1. Make the copy folder when it is missing.
//   2. List the folder once. A number is taken when any entry of that name exists (a file of any
//      kind, also one that cannot be read or is held open, or a folder); only the change's own
//      extension counts (7.ico does not take 7 for a cursor). With 1 to 5000 all taken nothing is
//      written and the user is told.
//   3. Write the bytes to a temporary name that only this program uses, in the copy folder.
//   4. Read that file back and check it with the file readers: a 32 x 32 icon or cursor, or an
//      animated cursor of the frame count asked for.
//   5. Move it, never replacing, to the first free number. A name another program made after the
//      listing is skipped and the next free number tried.
//   6. Call the change's pointSetting with the new copy's path: it points the Windows setting (a
//      registry value, a shortcut, a desktop.ini entry) at it and answers whether it did. It tells
//      the user nothing itself and, when it fails, leaves the setting as it was.
//   7. Only then remove the copy the target used before (DeleteWinIconsFile: only a file lying
//      directly in the copy folder and named as a copy is ever deleted), unless it is the new copy
//      itself: a target naming a copy that is gone gets that name back when it is the first free.
// A failure at any step removes the temporary or new file, leaves the setting and the earlier copy
// as they were, and tells the user in one box what failed. A change that replaces its own earlier
// copy therefore gets a new number: with 1.ico to 5.ico present and 3.ico in use, the new copy is
// 6.ico, and 3.ico goes once the setting names 6.ico. A new copy's path equals the one the target
// used before only when that file was gone (two targets shared a copy and the other one's change
// removed it): Windows may then show the picture it cached for that path.
//
// A change uses it like this (bytes from the writer's encoding in src/formats/IconEncode.h):
//   auto bytes = formats::EncodeIconFile(picture, bitCount, formats::IconKind::Icon);
//   if (!bytes) ...;  // tell the user: nothing to copy
//   auto copy = MakeIconCopy(".ico", *bytes, {CopyKind::Icon}, currentFile, [&](const std::string& path) {
//       return WriteRegValue(key, value, Variant(path + ",0"), REG_SZ) == ERROR_SUCCESS;
//   });
//   if (!copy) return;  // the user was told; setting and earlier copy are as they were
// An animated cursor passes ".ani", the bytes of EncodeAni and {CopyKind::Animation, frameCount}.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Files.h"

// What the written copy must read back as.
enum class CopyKind { Icon, Cursor, Animation };
struct CopyCheck {
    CopyKind kind = CopyKind::Icon;
    uint32_t frames = 1;  // animations only: the frame count the file must hold
};

// The copy folder, with its trailing "\".
std::string IconCopyFolder();

// The first number 1 to kMaxIconCopyNumber that no entry of `folder` (with its trailing "\") takes
// for the extension (".ico", ".cur", ".ani"), from one listing of the folder; 0 when all are taken.
int FirstFreeCopyNumber(const std::string& folder, const std::string& extension);

// Makes an icon copy of `bytes` (a whole .ico, .cur or .ani file, as the writer encodes it) with
// the extension, checks it against `check`, points the setting at it and removes `currentPath`, the
// file the target uses now ("" for none), in the order above. Answers the new copy's path, nothing
// after a failure, which the user has been told of.
std::optional<std::string> MakeIconCopy(const std::string& extension, const std::vector<uint8_t>& bytes,
                                        const CopyCheck& check, const std::string& currentPath,
                                        const std::function<bool(const std::string& copyPath)>& pointSetting);

// The steps of MakeIconCopy that a test can make fail: the write stops half way and fails, the
// check reads back half the bytes, the move is refused, the setting fails without pointSetting
// being called. The hook is called before each of these steps and answers whether it fails;
// it may also act there, as another program would (make a file before the move).
enum class CopyStep { Write, Check, Move, Setting };
extern std::function<bool(CopyStep step)> gIconCopyFault;
