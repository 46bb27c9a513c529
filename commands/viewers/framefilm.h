#pragma once
// Play: the frames of the selected animation gathered into the film
// (Exports.picFilm) and shown in the animation player.
#include <string>

#include "exportwindow.h"

namespace vm {

// Gathers the frames of the animation entry belongs to into the film, sets
// AniFrameCount and AniFrameIndex := 1 and shows the player unless
// Masks.SaveFramesMode is set (then the caller writes the frames).
void procPlayAnimation(const std::string& entry);

// File > Play (the toolbar's play button, the context menu, the double-click
// action and Save As in frame mode): procPlayAnimation for the selected
// item's entry; entries of a kind without frames are passed over.
void mnuFilePlay_Click(ExportWindow& w);

} // namespace vm
