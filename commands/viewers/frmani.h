#pragma once
// The animation player: paints the film's frames one per timer tick into its
// player area, sequentially or back and forth, at 1 to 30 frames a second.
#include <cstdint>
#include <string>

#include "controls_basic.h"
#include "controls_common.h"
#include "form.h"
#include "menu.h"
#include "picturebox.h"
#include "timer.h"

namespace vm {

namespace film {

enum class PlayMode { Paused, Sequential, BackAndForth };

// The frame after index in a film of count frames (index counts from 1).
// Sequential: 1, 2, ..., N, 1, ...; back and forth: 1, ..., N, N, N-1, ..., 1,
// 2, ... (backward says which way it goes). An index outside the film starts
// again at 1; paused, or an empty film, leaves it.
void advance(PlayMode mode, int count, std::int16_t& index, bool& backward);

// The timer interval for a speed in frames a second (halves to even); 0 for no speed.
int intervalFor(int framesPerSecond);

// The slider's tooltip for a speed.
std::string speedText(int framesPerSecond);

} // namespace film

class FrmAni : public Form {
public:
    FrmAni();

    PictureBox picIconBack{this};
    TimerControl tmrFilm{this};
    Slider sldAni{this};
    ControlArray<Label> Label1{this};
    OptionButton RechtsBut{this}, TegenBut{this};
    PictureBox imgRechts{this}, imgTegen{this}, imgTop{this};
    CheckBox chkTop{this};
    MenuItem mnuBackColor{this}, mnuBSet{this};

    // Where a frame's top-left corner goes (twips) and the way back and forth goes.
    int FrameLeft = 0, FrameTop = 0;
    bool PlayBackward = false;

    void tmrFilm_Timer();
    film::PlayMode playMode();

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

private:
    void sldAni_Change();
    void chkTop_Click();
    void imgTop_Click();
    void imgRechts_Click();
    void imgTegen_Click();
    void picIconBack_MouseUp(int Button, int Shift, float X, float Y);
    void mnuBSet_Click();
    void help(int& KeyCode);
    void paintFrame(int element);

    int PlayerWidth = 0, PlayerHeight = 0;
    int SavedLeft = 0, SavedTop = 0;
};

FrmAni& frmAni();

} // namespace vm
