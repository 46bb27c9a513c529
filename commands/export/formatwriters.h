#pragma once
// The writers Save As runs once the file name is final: each writes the
// selected item (or, with DetailPaneActive, each selected detail image; or the
// frames of the selected animation) under fileName through a temporary file,
// and reports a failure itself, naming the file and the reason.
#include <string>
#include <vector>

#include "exportwindow.h"
#include "twips.h"

namespace vm {


bool procWriteBmp(ExportWindow& w, const std::string& fileName);
bool procWriteIco(ExportWindow& w, const std::string& fileName);
bool procWriteCur(ExportWindow& w, const std::string& fileName);
// An ANI file of the frames, or (separate) one icon per frame named after
// fileName with the frame number from 1 (walk.ico: walk1.ico, walk2.ico ...).
// When a frame icon cannot be written the message names it, its reason and
// which frame icons were written and which not.
bool procWriteFrames(ExportWindow& w, const std::string& fileName, bool separate);
// "Written: a1.ico, a2.ico.\rNot written: a3.ico." (names without their folder).
std::string PartlyWrittenText(const std::vector<std::string>& written, const std::vector<std::string>& notWritten);
// JPG and GIF return the image library's code (0 = written).
int procWriteJpg(ExportWindow& w, const std::string& fileName);
int procWriteGif(ExportWindow& w, const std::string& fileName);

// The folder a dialog starts in for the stored path of the last file written.
std::string storedStartFolder(const std::string& storedPath);

// The picture of the selected result item, or an empty one.
Picture SelectedItemPicture(ExportWindow& w);
// The picture of detail row i (from 1) of FileIcons(1), or an empty one.
Picture DetailImagePicture(int row);
// picOpen sized to width x height pixels.
void SizePicOpen(ExportWindow& w, int width, int height);
// The background of a copied or saved picture: MaskColor with UseMask, else
// the result list's back colour.
OleColor ExportBackColor(ExportWindow& w);

} // namespace vm
