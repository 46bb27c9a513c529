#pragma once
// The splash window: the first window of a first instance. It sets the
// program-wide folders, and after a second brings up the main window and
// unloads itself; unloading it offers the tip of the day.
#include <functional>

#include "controls_basic.h"
#include "form.h"
#include "timer.h"

namespace vm::shell {

// The windows the splash brings up; the program's entry sets them (the main
// window and the tip window live in layers above this one).
struct SplashTargets {
    std::function<void()> showMainWindow;
    // Creates (and may load) the main window, hidden, while the splash waits.
    std::function<void()> prepareMainWindow;
    // False while the main window's load still runs (a message it shows
    // waits for the user): the splash stays until it is done.
    std::function<bool()> mainWindowReady;
    std::function<void()> showTip;
};
extern SplashTargets splashTargets;

class FrmSplash : public Form {
public:
    FrmSplash();
    Label lblTitle{this};
    Label lblVersion{this};
    Label lblMessage{this};
    TimerControl tmrSplash{this};

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void tmrSplash_Timer();
};

FrmSplash& frmSplash();

} // namespace vm::shell
