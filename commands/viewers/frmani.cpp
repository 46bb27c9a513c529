#include "frmani.h"

#include <windows.h>

#include "browserstate.h"
#include "dialogs.h"
#include "errorreport.h"
#include "exportwindow.h"
#include "helpfile.h"
#include "imagelist.h"
#include "seam.h"
#include "state.h"
#include "selectiondecision.h"
#include "viewerhost.h"

namespace vm {

namespace film {

void advance(PlayMode mode, int count, std::int16_t& index, bool& backward) {
    if (mode == PlayMode::Paused || count < 1) return;
    if (index < 1 || index > count) {
        index = 1;
        return;
    }
    if (mode == PlayMode::Sequential) {
        index = static_cast<std::int16_t>(index == count ? 1 : index + 1);
        return;
    }
    // The last frame shows on two ticks in a row, the first on one.
    if (!backward) {
        ++index;
        if (index == count + 1) backward = true;
    }
    if (backward) {
        --index;
        if (index <= 1) {
            index = 1;
            backward = false;
        }
    }
}

int intervalFor(int framesPerSecond) {
    if (framesPerSecond < 1) return 0;
    return static_cast<int>(selection::roundHalfEven(1000.0 / framesPerSecond));
}

std::string speedText(int framesPerSecond) {
    return "animation speed: " + std::to_string(framesPerSecond) +
           (framesPerSecond < 2 ? " frame per second" : " frames per second");
}

} // namespace film

FrmAni& frmAni() { return defaultInstance<FrmAni>(); }

FrmAni::FrmAni() : Form("frmAni") {
    design.caption = "Animation";
    design.borderStyle = vbFixedToolWindow;
    design.width = 3720; // room for the widest caption beside the pictures
    design.height = 3480;
    design.keyPreview = true;
}

void FrmAni::CreateControls() {
    picIconBack.create(*this, 120, 120, 1800, 1800);
    picIconBack.SetBackColor(vbWhite);
    tmrFilm.create(*this, 0, false);
    sldAni.create(*this, 120, 2040, 1800, 420);
    sldAni.SetMin(1);
    sldAni.SetMax(30);
    sldAni.SetToolTipText("Animation Speed: 4 frames per second");
    Label1(0).create(*this, 120, 2460, 300, 240, "1");
    Label1(1).create(*this, 1620, 2460, 300, 240, "30", vbRightJustify);
    imgRechts.create(*this, 2040, 120, 480, 480, false);
    imgRechts.SetToolTipText("Sequential");
    RechtsBut.create(*this, 2040, 660, 1200, 270, "Sequential");
    imgTegen.create(*this, 2040, 1020, 480, 480, false);
    imgTegen.SetToolTipText("Back And Forth");
    TegenBut.create(*this, 2040, 1560, 1200, 270, "Back and Forth");
    imgTop.create(*this, 2040, 1920, 480, 480, false);
    imgTop.SetToolTipText("Always On Top");
    chkTop.create(*this, 2040, 2460, 1200, 270, "Always On Top");
    RechtsBut.SetValue(true);
    mnuBackColor.create(*this, "&Backcolor", false);
    mnuBSet.create(mnuBackColor, "&Set Backcolor To...");
    VM_ON(tmrFilm, Timer);
    VM_ON(sldAni, Change);
    VM_ON(chkTop, Click);
    VM_ON(imgTop, Click);
    VM_ON(imgRechts, Click);
    VM_ON(imgTegen, Click);
    VM_ON(picIconBack, MouseUp);
    VM_ON(mnuBSet, Click);
}

void FrmAni::Form_Load() {
    PlayBackward = false;
    PlayerWidth = Width();
    PlayerHeight = Height();
    procRestorePosition(*this, "Ani");
    SavedLeft = Left();
    SavedTop = Top();
    Move(SavedLeft, SavedTop, PlayerWidth, PlayerHeight);
}

void FrmAni::Form_Activate() {
    const int size = Keywords.IconSize;
    const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    FrameLeft = static_cast<int>(selection::roundHalfEven((picIconBack.Width() / 2.0 / tx - size / 2.0) * tx));
    FrameTop = static_cast<int>(selection::roundHalfEven((picIconBack.Height() / 2.0 / ty - size / 2.0) * ty));
    if (Viewers.imlNav) {
        const std::pair<PictureBox*, const char*> pictures[] = {
            {&imgRechts, "sequential"}, {&imgTegen, "backforth"}, {&imgTop, "top"}};
        for (const auto& [box, key] : pictures) {
            try {
                box->SetPicture(Viewers.imlNav->ListImages(key).ExtractIcon());
            } catch (const VbError&) {
                // A picture the list does not hold leaves the button plain.
            }
        }
    }
    tmrFilm.SetEnabled(true);
    sldAni.SetValue(5);
    sldAni_Change(); // a value that did not change raises no event
    picIconBack.SetToolTipText(std::to_string(Exports.AniFrameCount) + " frames");
    Screen::SetMousePointer(vbDefault);
}

void FrmAni::sldAni_Change() {
    const int value = sldAni.Value();
    const int interval = film::intervalFor(value);
    tmrFilm.SetInterval(interval);
    if (interval == 0) tmrFilm.SetEnabled(false);
    sldAni.SetToolTipText(film::speedText(value));
}

film::PlayMode FrmAni::playMode() {
    if (RechtsBut.Value()) return film::PlayMode::Sequential;
    if (TegenBut.Value()) return film::PlayMode::BackAndForth;
    return film::PlayMode::Paused;
}

void FrmAni::paintFrame(int element) {
    if (element < 1 || element > static_cast<int>(Exports.picFilm.size())) return;
    const int size = Keywords.IconSize;
    HDC dc = picIconBack.hDC();
    if (!dc) {
        MsgBox("Your system has insufficient memory to draw the icons.\rPlease close other applications and try again.",
               vbExclamation, "Animation error");
        Unload();
        return;
    }
    // A frame is its picture over the film's back colour.
    const int x = FrameLeft / TwipsPerPixelX(), y = FrameTop / TwipsPerPixelY();
    RECT cell{x, y, x + size, y + size};
    HBRUSH back = CreateSolidBrush(resolveColor(picIconBack.BackColor()));
    FillRect(dc, &cell, back);
    DeleteObject(back);
    picIconBack.PaintPicture(Exports.picFilm[static_cast<std::size_t>(element - 1)], static_cast<float>(FrameLeft),
                             static_cast<float>(FrameTop), static_cast<float>(size * TwipsPerPixelX()),
                             static_cast<float>(size * TwipsPerPixelY()));
}

void FrmAni::tmrFilm_Timer() {
    // A tick that arrives after the player closed must not touch its controls:
    // that would load the window again.
    if (!IsLoaded()) return;
    const film::PlayMode mode = playMode();
    if (mode == film::PlayMode::Paused || Exports.AniFrameCount < 1) return;
    // The tick is disabled while it runs, so the messages it lets through
    // cannot start another tick.
    tmrFilm.SetEnabled(false);
    paintFrame(Viewers.AniFrameIndex);
    if (!IsLoaded()) return;
    DoEvents();
    // The messages may have closed the player.
    if (!IsLoaded()) return;
    film::advance(playMode(), Exports.AniFrameCount, Viewers.AniFrameIndex, PlayBackward);
    tmrFilm.SetEnabled(tmrFilm.Interval() > 0);
}

void FrmAni::chkTop_Click() {
    SavedLeft = Left();
    SavedTop = Top();
    SetWindowPos(hWnd(), chkTop.Value() == vbChecked ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    Move(SavedLeft, SavedTop, PlayerWidth, PlayerHeight);
    Refresh();
}

void FrmAni::imgTop_Click() { chkTop.SetValue(chkTop.Value() == vbChecked ? vbUnchecked : vbChecked); }

void FrmAni::imgRechts_Click() { RechtsBut.SetValue(!RechtsBut.Value()); }

void FrmAni::imgTegen_Click() { TegenBut.SetValue(!TegenBut.Value()); }

void FrmAni::picIconBack_MouseUp(int Button, int, float, float) {
    if (Button == vbRightButton) PopupMenu(mnuBackColor);
}

void FrmAni::mnuBSet_Click() {
    if (!Viewers.items || !Viewers.items->dlgIcon) return;
    CommonDialog& d = *Viewers.items->dlgIcon;
    d.Flags = 2;
    d.Color = resolveColor(picIconBack.BackColor());
    if (!d.ShowColor()) return;
    // The frames are painted over the player area's colour, so both change at once.
    picIconBack.SetBackColor(static_cast<OleColor>(d.Color));
}

void FrmAni::help(int& KeyCode) {
    if (KeyCode == VK_F1) procShowHelp(hWnd(), HelpContext::Player);
}

void FrmAni::Form_KeyUp(int& KeyCode, int) { help(KeyCode); }

void FrmAni::Form_QueryUnload(int&, int) {
    tmrFilm.SetEnabled(false);
    procSavePosition(*this, "Ani");
}

} // namespace vm
