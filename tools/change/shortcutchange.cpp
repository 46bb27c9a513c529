#include "shortcutchange.h"

#include <windows.h>

#include "changerules.h"
#include "cshelllink.h"
#include "files.h"
#include "state.h"
#include "writekill.h"

namespace vm {

namespace {

std::string iconFolder() { return paths.WindowsDir + "\\Icons\\"; }

ShortcutChange writeWithIcon(const std::string& linkFile, ShellLinkInfo info,
                             const std::function<bool(const std::string&)>& writeIcon) {
    ShortcutChange change;
    const std::string oldIcon = procTrimNull(info.iconFile);
    CreateDirectoryA(iconFolder().c_str(), nullptr);
    change.iconFile = change::freeChangedIconName(iconFolder(), ".ico");
    if (change.iconFile.empty()) {
        change.outcome = ShortcutOutcome::NoFreeName;
        return change;
    }
    change.sameName = lstrcmpiA(oldIcon.c_str(), change.iconFile.c_str()) == 0;
    const bool iconWritten = writeIcon(change.iconFile);
    AfterOwnedWrite();
    if (!iconWritten || GetFileAttributesA(change.iconFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(change.iconFile.c_str());
        change.outcome = ShortcutOutcome::IconNotWritten;
        return change;
    }
    info.iconFile = change.iconFile;
    info.iconIndex = 0;
    cShellLink link;
    // The shortcut is replaced whole (written beside it, then renamed over it).
    const HRESULT written = link.Write(linkFile, info);
    AfterOwnedWrite();
    if (FAILED(written)) {
        DeleteFileA(change.iconFile.c_str());
        change.outcome = ShortcutOutcome::LinkNotWritten;
        return change;
    }
    // The shortcut names the new file: the one it named before may go.
    if (!change.sameName) procDeleteChangedIconFile(oldIcon);
    change.outcome = ShortcutOutcome::Changed;
    return change;
}

} // namespace

ShortcutChange changeShortcutIcon(const std::string& linkFile,
                                  const std::function<bool(const std::string&)>& writeIcon) {
    ShellLinkInfo info;
    cShellLink link;
    if (FAILED(link.Read(linkFile, info))) return {};
    return writeWithIcon(linkFile, info, writeIcon);
}

ShortcutChange createShortcut(const std::string& linkFile, const std::string& target,
                              const std::function<bool(const std::string&)>& writeIcon) {
    ShellLinkInfo info;
    info.target = target;
    const auto slash = target.rfind('\\');
    info.workingFolder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    info.showCommand = 1;
    return writeWithIcon(linkFile, info, writeIcon);
}

ShortcutDrop dropShortcutFiles(const std::vector<std::string>& files,
                               const std::function<bool(const std::string&)>& writeIcon,
                               const std::function<std::string(const std::string& file)>& askName) {
    ShortcutDrop drop;
    auto isLink = [](const std::string& path) {
        return path.size() >= 4 && lstrcmpiA(path.substr(path.size() - 4).c_str(), ".lnk") == 0;
    };
    for (const std::string& path : files) {
        ShortcutChange change;
        std::string link = path;
        if (isLink(path)) {
            change = changeShortcutIcon(link, writeIcon);
        } else {
            link = askName ? askName(path) : std::string();
            if (link.empty()) {
                drop.cancelled = true;
                return drop;
            }
            if (!isLink(link)) link += ".lnk";
            change = createShortcut(link, path, writeIcon);
        }
        if (change.outcome != ShortcutOutcome::Changed) drop.failures += shortcutFailureText(change, link) + "\r\n";
        drop.sameName = drop.sameName || change.sameName;
    }
    return drop;
}

std::string shortcutFailureText(const ShortcutChange& change, const std::string& linkFile) {
    switch (change.outcome) {
    case ShortcutOutcome::Unreadable:
        return "The shortcut " + linkFile + " could not be read. Its icon was not changed.";
    case ShortcutOutcome::NoFreeName:
        return "The folder " + iconFolder() + " has no free name for a new icon. The shortcut " + linkFile +
               " was not changed.";
    case ShortcutOutcome::IconNotWritten:
        return "The icon could not be written to " + change.iconFile + ". The shortcut " + linkFile +
               " was not changed.";
    case ShortcutOutcome::LinkNotWritten:
        return "The shortcut " + linkFile + " could not be written. It keeps its icon.";
    case ShortcutOutcome::Changed: break;
    }
    return {};
}

} // namespace vm
