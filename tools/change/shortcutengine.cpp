// The change window's shortcut change: the "New" picture becomes the
// shortcut's icon; the shortcut keeps every other field.
#include <windows.h>

#include "frmchange.h"
#include "frmmessage.h"
#include "iconcache.h"
#include "seam.h"
#include "shortcutchange.h"
#include "state.h"

namespace vm {

void FrmChange::procApplyShortcut() {
    const std::string caption = Caption();
    const std::string link = picImport.Tag;
    if (link.empty()) {
        MsgBox("Choose the shortcut to change in the main window first.", vbExclamation, caption);
        return;
    }
    const ShortcutChange change =
        changeShortcutIcon(link, [this](const std::string& file) { return writeShownIcon(file); });
    Screen::SetMousePointer(vbDefault);
    if (change.outcome != ShortcutOutcome::Changed) {
        MsgBox(shortcutFailureText(change, link), vbExclamation, caption);
        return;
    }
    picImport.SetPicture(picIcon.GetPicture());
    runState.SystemIconsChanged = true;
    shortcutNotice(change.sameName, caption);
}

void shortcutNotice(bool sameName, const std::string& caption) {
    shell::MessageResult = false;
    if (!sameName) return;
    if (shell::procMessageSilenced("ShortcutCache")) return;
    shell::procShowMessage("Because Vellumar replaces the shortcut icon file with the new icon file, you need to "
                           "Rebuild the Windows Icon Cache before the new shortcut icon becomes active. You can always "
                           "rebuild the Icon Cache later by selecting Tools, Rebuild Icon Cache from the main Vellumar "
                           "menu.",
                           "ShortcutCache", caption, "Rebuild Icon Cache Now!");
    if (shell::MessageResult) procRebuildIconCache();
}

} // namespace vm
