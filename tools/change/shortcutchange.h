#pragma once
// A shortcut's icon changed to a new numbered icon file in the changed-icon
// folder, every other field of the shortcut kept. The shortcut is rewritten
// only after the icon file was written, and the shortcut's earlier changed
// icon file goes only after the shortcut names the new one.
#include <functional>
#include <string>
#include <vector>

namespace vm {

enum class ShortcutOutcome { Changed, Unreadable, NoFreeName, IconNotWritten, LinkNotWritten };

struct ShortcutChange {
    ShortcutOutcome outcome = ShortcutOutcome::Unreadable;
    std::string iconFile; // the new icon file when changed
    bool sameName = false; // the new file has the path the shortcut's old icon had
};

// writeIcon writes the new icon to the file it is given; true when written.
ShortcutChange changeShortcutIcon(const std::string& linkFile, const std::function<bool(const std::string&)>& writeIcon);

// A new shortcut to target, saved as linkFile, with the icon writeIcon writes.
ShortcutChange createShortcut(const std::string& linkFile, const std::string& target,
                              const std::function<bool(const std::string&)>& writeIcon);

// Files dropped on an icon: every shortcut (.lnk) among them gets the icon,
// and for every other file a new shortcut to it is made under the name
// askName gives ("" when the user cancels, which ends the drop). A shortcut
// that cannot be changed is left as it is and the others still are.
struct ShortcutDrop {
    bool cancelled = false;
    bool sameName = false;    // some shortcut got a file of its old icon's path
    std::string failures;     // one line per shortcut left unchanged
};
ShortcutDrop dropShortcutFiles(const std::vector<std::string>& files,
                               const std::function<bool(const std::string&)>& writeIcon,
                               const std::function<std::string(const std::string& file)>& askName);

// The message for an outcome other than Changed, naming the shortcut.
std::string shortcutFailureText(const ShortcutChange& change, const std::string& linkFile);

} // namespace vm
