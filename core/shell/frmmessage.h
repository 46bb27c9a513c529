#pragma once
// The notice window: a text the user can silence for good with a check box,
// a Close button and an optional action button. procShowMessage fills and
// shows it modally; MessageResult tells whether the action button closed it.
#include <string>

#include "controls_basic.h"
#include "form.h"

namespace vm::shell {

extern bool MessageResult;

class FrmMessage : public Form {
public:
    FrmMessage();
    Label txtMessage{this};
    CheckBox chkNoShow{this};
    CommandButton cmdOK{this};
    CommandButton cmdRestart{this};
    // Only the action button shows, in the Close button's place (the
    // hotspot picker's notice, which must go on to the picker).
    bool ActionOnly = false;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void cmdOK_Click();
    void cmdRestart_Click();
};

FrmMessage& frmMessage();

// Shows the notice and returns when it has closed. MessageResult is False at
// the start of every notice, so only the action button makes it True.
// actionOnly hides the Close button.
void procShowMessage(const std::string& text, const std::string& settingName, const std::string& caption,
                     const std::string& actionCaption, bool actionOnly = false);

// True when the user silenced the notice of settingName: its stored value is a
// number other than 0.
bool procMessageSilenced(const std::string& settingName);

// After Windows icons were changed: unless settingName silenced it, tells that
// the icon cache must be rebuilt and rebuilds it when the user asks.
// MessageResult tells whether it was rebuilt.
void procOfferIconCacheRebuild(const std::string& settingName, const std::string& caption);

} // namespace vm::shell
