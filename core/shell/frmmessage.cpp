#include "frmmessage.h"

#include <windows.h>

#include "iconcache.h"
#include "registry.h"

namespace vm::shell {

bool MessageResult = false;

FrmMessage& frmMessage() { return defaultInstance<FrmMessage>(); }

FrmMessage::FrmMessage() : Form("frmMessage") {
    design.caption = "Message";
    design.width = 6600;
    design.height = 2700;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpManual;
}

void FrmMessage::CreateControls() {
    txtMessage.create(*this, 240, 240, 6000, 1200, "");
    chkNoShow.create(*this, 240, 1560, 3600, 300, "&Don't show this message again.");
    cmdRestart.create(*this, 2640, 1920, 2280, 375, "");
    cmdOK.create(*this, 5040, 1920, 1335, 375, "&Close");
    VM_ON(cmdOK, Click);
    VM_ON(cmdRestart, Click);
}

void FrmMessage::Form_Load() {
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, "MessageTop");
    auto top = reg.RegValue.toLong();
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, "MessageLeft");
    auto left = reg.RegValue.toLong();
    Move(left ? *left : (Screen::Width() - Width()) / 2, top ? *top : (Screen::Height() - Height()) / 2);
    if (ActionOnly) {
        cmdOK.SetVisible(false);
        cmdRestart.SetLeft(cmdOK.Left() + cmdOK.Width() - cmdRestart.Width());
    }
    // Enter and Esc press the button that closes the notice, as in every dialog.
    CommandButton& closing = ActionOnly ? cmdRestart : cmdOK;
    closing.SetDefault(true);
    closing.SetCancel(true);
    Screen::SetMousePointer(vbDefault);
}

void FrmMessage::Form_Unload(int&) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, chkNoShow.Tag, Variant(chkNoShow.Value() ? "1" : "0"), REG_SZ);
    if (WindowState() != vbMinimized) {
        const std::int32_t top = Top(), left = Left();
        procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
        procRegSetValue(kPosKey, "MessageTop", Variant(top), REG_DWORD);
        procRegCreateKey(kPosKey, HKEY_CURRENT_USER);
        procRegSetValue(kPosKey, "MessageLeft", Variant(left), REG_DWORD);
    }
}

void FrmMessage::cmdOK_Click() {
    MessageResult = false;
    Unload();
}

void FrmMessage::cmdRestart_Click() {
    MessageResult = true;
    Unload();
}

void procShowMessage(const std::string& text, const std::string& settingName, const std::string& caption,
                     const std::string& actionCaption, bool actionOnly) {
    MessageResult = false;
    FrmMessage& f = frmMessage();
    f.ActionOnly = actionOnly;
    f.txtMessage.SetCaption(text);
    f.SetCaption(caption);
    f.chkNoShow.Tag = settingName;
    if (actionCaption.empty())
        f.cmdRestart.SetVisible(false);
    else
        f.cmdRestart.SetCaption(actionCaption);
    f.Show(vbModal);
}

bool procMessageSilenced(const std::string& settingName) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, settingName);
    return reg.RegValue.toLong().value_or(0) != 0;
}

void procOfferIconCacheRebuild(const std::string& settingName, const std::string& caption) {
    MessageResult = false;
    if (procMessageSilenced(settingName)) return;
    procShowMessage("You need to Rebuild the Windows Icon Cache before these changes take effect. Restarting "
                    "Windows will not rebuild the Icon Cache. You can always rebuild the Icon Cache later by "
                    "selecting Tools, Rebuild Icon Cache from the main Vellumar menu.",
                    settingName, caption, "Rebuild Icon Cache Now!");
    if (MessageResult) procRebuildIconCache();
}

} // namespace vm::shell
