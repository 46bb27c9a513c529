// Without the shell-link class a shortcut cannot be read or written.
#include "frmchange.h"
#include "frmmessage.h"
#include "seam.h"

namespace vm {

void FrmChange::procApplyShortcut() {
    MsgBox("Shortcuts cannot be changed in this build. Nothing was changed.", vbInformation, Caption());
}

void shortcutNotice(bool, const std::string&) { shell::MessageResult = false; }

} // namespace vm
