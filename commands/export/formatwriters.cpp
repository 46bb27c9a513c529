#include "formatwriters.h"

#include <oleauto.h>

#include "browserstate.h"
#include "cicongrid.h"
#include "commandstate.h"
#include "imagehelpers.h"
#include "listview.h"
#include "orvexbind.h"
#include "picturebox.h"
#include "quenplexbind.h"
#include "safereplace.h"
#include "saveasnaming.h"
#include "seam.h"
#include "selection.h"
#include "state.h"
#include "twips.h"
#include "vberror.h"
#include "systempaths.h"
#include "widefile.h"

namespace vm {

ExportModes Exports;

namespace {

constexpr COLORREF kGifMaskColour = RGB(128, 64, 64);
constexpr int kFrameRate = 20; // jiffies

void reportSaveError(const std::string& fileName, const WriteResult& result) {
    MsgBox(writeFailureText(fileName, result), vbExclamation, "Error");
}

// What a writer says when there is no picture to write.
const WriteResult kNothingToWrite{false, "there is no icon to write"};

int iconSize() { return Keywords.IconSize; }

std::string tempFolder() {
    if (!paths.TempPath.empty()) return paths.TempPath;
    return TemporaryFolder();
}

// The selected detail rows, in order.
std::vector<int> selectedRows(ExportWindow& w) {
    std::vector<int> rows;
    if (!w.grdIcons || Selection.FileIcons.empty()) return rows;
    for (int i = 1; i <= w.grdIcons->ItemCount() && i <= Selection.FileIcons.front().ImageCount(); ++i)
        if (w.grdIcons->Selected(i)) rows.push_back(i);
    return rows;
}

// picOpen cleared to the background and showing picture, at width x height.
bool drawOnPicOpen(ExportWindow& w, const Picture& picture, int width, int height, OleColor back) {
    if (!w.picOpen || picture.empty()) return false;
    SizePicOpen(w, width, height);
    w.picOpen->SetBackColor(back);
    w.picOpen->SetPicture({});
    w.picOpen->SetPicture(picture);
    return true;
}

WriteResult writeIconFile(ExportWindow& w, const std::string& fileName, int width, int height) {
    IconCanvas canvas = w.canvas();
    procMask(canvas, static_cast<std::int16_t>(width), static_cast<std::int16_t>(height));
    procGetSaveBitDepth(canvas);
    procKeepAlpha(canvas);
    // Without a source procMask leaves picSave empty: there is nothing to write.
    if (!w.picSave || w.picSave->GetPicture().empty()) return kNothingToWrite;
    return writeThroughTemporary(fileName, [&](const std::string& temp) {
        return orvexbind::SaveAsIcon(w.pctColor->hDC(), w.pctMask->hDC(), width, height, Commands.SaveBitDepth,
                                     temp.c_str()) == -1;
    });
}

// The picture a JPG or GIF export copies, drawn on picOpen over back; sets
// PictureWidth and PictureHeight. False when there is nothing to draw.
bool preparePicture(ExportWindow& w, OleColor back) {
    if (!Commands.DetailPaneActive) {
        Exports.PictureWidth = Exports.PictureHeight = iconSize();
        return drawOnPicOpen(w, SelectedItemPicture(w), iconSize(), iconSize(), back);
    }
    bool drawn = false;
    for (int row : selectedRows(w)) {
        const cFileIcon& icon = Selection.FileIcons.front();
        Exports.PictureWidth = icon.ImageWidth(row);
        Exports.PictureHeight = icon.ImageHeight(row);
        drawn = drawOnPicOpen(w, DetailImagePicture(row), Exports.PictureWidth, Exports.PictureHeight, back);
    }
    return drawn;
}

// The picture on picOpen copied into an image of the library.
void copyPicOpen(ExportWindow& w, QuenplexImage& image) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ before = SelectObject(memory, image.bitmap);
    BitBlt(memory, 0, 0, Exports.PictureWidth, Exports.PictureHeight, w.picOpen->hDC(), 0, 0, SRCCOPY);
    SelectObject(memory, before);
    DeleteDC(memory);
}

// A write through the temporary file; a target that cannot be made gives "Cannot create".
int saveImage(const std::string& fileName, const std::function<int(const std::string&)>& save) {
    int code = 0;
    const WriteResult ok = writeThroughTemporary(fileName, [&](const std::string& temp) {
        code = save(temp);
        return code == 0;
    });
    return ok ? 0 : (code != 0 ? code : QP_CANNOT_CREATE);
}

SAFEARRAY* nameArray(const std::vector<std::string>& names) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names.size()));
    for (LONG i = 0; array && i < static_cast<LONG>(names.size()); ++i) {
        BSTR name = SysAllocStringByteLen(names[static_cast<std::size_t>(i)].c_str(),
                                          static_cast<UINT>(names[static_cast<std::size_t>(i)].size()));
        SafeArrayPutElement(array, &i, name);
        SysFreeString(name);
    }
    return array;
}

SAFEARRAY* rateArray(std::size_t count) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(count));
    for (LONG i = 0; array && i < static_cast<LONG>(count); ++i) {
        LONG rate = kFrameRate;
        SafeArrayPutElement(array, &i, &rate);
    }
    return array;
}

} // namespace

std::string storedStartFolder(const std::string& storedPath) {
    const DWORD attributes = wide::Attributes(storedPath);
    return exportnaming::startFolderOf(storedPath,
                                       attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

Picture SelectedItemPicture(ExportWindow& w) {
    ListItem* item = w.pnlResult ? w.pnlResult->SelectedItem() : nullptr;
    if (!item || !w.imlResult32) return {};
    try {
        return w.imlResult32->ListImages(item->Icon()).ExtractIcon();
    } catch (const VbError&) {
        return {};
    }
}

Picture DetailImagePicture(int row) {
    if (Selection.FileIcons.empty()) return {};
    const cFileIcon& icon = Selection.FileIcons.front();
    if (row < 1 || row > icon.ImageCount()) return {};
    HDC screen = GetDC(nullptr);
    HICON handle = icon.IconHandle(screen, row);
    ReleaseDC(nullptr, screen);
    return handle ? Picture::fromIcon(handle, true) : Picture();
}

void SizePicOpen(ExportWindow& w, int width, int height) {
    if (!w.picOpen) return;
    w.picOpen->SetWidth(width * TwipsPerPixelX());
    w.picOpen->SetHeight(height * TwipsPerPixelY());
}

OleColor ExportBackColor(ExportWindow& w) {
    if (w.useMask && w.useMask() && w.maskColor) return w.maskColor();
    return w.pnlResult ? w.pnlResult->BackColor() : RGB(255, 255, 255);
}

bool procWriteBmp(ExportWindow& w, const std::string& fileName) {
    const OleColor back = ExportBackColor(w);
    auto save = [&](const Picture& picture, int width, int height) {
        if (!drawOnPicOpen(w, picture, width, height, back)) return kNothingToWrite;
        const Picture image = w.picOpen->Image();
        return writeThroughTemporary(fileName, [&](const std::string& temp) {
            try {
                SavePicture(image, temp);
                return true;
            } catch (const VbError&) {
                return false;
            }
        });
    };
    WriteResult ok = kNothingToWrite;
    if (!Commands.DetailPaneActive) {
        ok = save(SelectedItemPicture(w), iconSize(), iconSize());
    } else {
        // Every selected row writes the same file; the last one stays.
        for (int row : selectedRows(w)) {
            const cFileIcon& icon = Selection.FileIcons.front();
            ok = save(DetailImagePicture(row), icon.ImageWidth(row), icon.ImageHeight(row));
            SizePicOpen(w, iconSize(), iconSize());
        }
    }
    if (!ok) reportSaveError(fileName, ok);
    return ok.ok;
}

bool procWriteIco(ExportWindow& w, const std::string& fileName) {
    WriteResult ok = kNothingToWrite;
    if (!Commands.DetailPaneActive) {
        ok = writeIconFile(w, fileName, iconSize(), iconSize());
    } else {
        for (int row : selectedRows(w)) {
            Masks.CurrentIndex = row;
            const cFileIcon& icon = Selection.FileIcons.front();
            ok = writeIconFile(w, fileName, icon.ImageWidth(row), icon.ImageHeight(row));
        }
    }
    if (!ok) reportSaveError(fileName, ok);
    return ok.ok;
}

bool procWriteCur(ExportWindow& w, const std::string& fileName) {
    IconCanvas canvas = w.canvas();
    const int size = iconSize();
    procMask(canvas, static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
    procGetSaveBitDepth(canvas);
    procKeepAlpha(canvas);
    const bool source = w.picSave && !w.picSave->GetPicture().empty();
    // The hotspot is asked for only when there is a cursor to write.
    if (source && w.setHotSpot) w.setHotSpot();
    const WriteResult ok = !source ? kNothingToWrite : writeThroughTemporary(fileName, [&](const std::string& temp) {
        return orvexbind::SaveAsCursor(w.pctColor->hDC(), w.pctMask->hDC(), size, size, Commands.SaveBitDepth,
                                       Commands.CursorHotSpotX, Commands.CursorHotSpotY, temp.c_str()) == -1;
    });
    if (!ok) reportSaveError(fileName, ok);
    return ok.ok;
}

bool procWriteFrames(ExportWindow& w, const std::string& fileName, bool separate) {
    Masks.SaveFramesMode = true;
    Exports.picFilm.clear();
    Exports.AniFrameCount = 0;
    if (w.collectFrames) w.collectFrames();
    const int count = Exports.AniFrameCount;
    if (count == 0) {
        Masks.SaveFramesMode = false;
        MsgBox("The animation has no frames to save.", vbExclamation, "Error");
        return false;
    }
    Masks.filmFrame = [](int element) {
        return element >= 1 && element <= static_cast<int>(Exports.picFilm.size())
                   ? Exports.picFilm[static_cast<std::size_t>(element - 1)]
                   : Picture();
    };
    IconCanvas canvas = w.canvas();
    procGetSaveBitDepth(canvas);
    const int size = iconSize();
    std::vector<std::string> frameFiles;
    WriteResult ok{true, {}};
    std::string failedFile;
    for (int k = 0; k < count && ok; ++k) {
        Masks.CurrentIndex = k;
        procMask(canvas, static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
        const std::string frame = tempFolder() + std::to_string(k) + ".ico";
        frameFiles.push_back(frame);
        if (!w.picSave || w.picSave->GetPicture().empty()) {
            ok = kNothingToWrite;
        } else {
            SetLastError(0);
            if (orvexbind::SaveAsIcon(w.pctColor->hDC(), w.pctMask->hDC(), size, size, Commands.SaveBitDepth,
                                      frame.c_str()) != -1)
                ok = {false, writeErrorReason(GetLastError())};
        }
        if (!ok) failedFile = frame;
    }
    std::vector<std::string> written, notWritten;
    if (ok && !separate) {
        SAFEARRAY* names = nameArray(frameFiles);
        SAFEARRAY* rates = rateArray(frameFiles.size());
        const std::int32_t replace = 0;
        ok = !names || !rates ? WriteResult{false, "there is not enough memory"}
                              : writeThroughTemporary(fileName, [&](const std::string& temp) {
                                    return orvexbind::SaveAsANI(&names, &rates, temp.c_str(), &replace) == -1;
                                });
        if (names) SafeArrayDestroy(names);
        if (rates) SafeArrayDestroy(rates);
        if (!ok) failedFile = fileName;
    } else if (ok) {
        const std::size_t slash = fileName.find_last_of('\\');
        const std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
        std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
        name = name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
        // The dialog asked about the chosen file only; frame icons already
        // there are replaced only when the user agrees.
        std::string taken;
        for (int k = 0; k < count && taken.empty(); ++k) {
            const std::string frameIcon = folder + name + std::to_string(k + 1) + ".ico";
            if (wide::Attributes(frameIcon) != INVALID_FILE_ATTRIBUTES) taken = frameIcon;
        }
        const bool write = taken.empty() ||
                           MsgBox(taken + " already exists.\rDo you want to replace it and the other frame icons?",
                                  vbYesNo | vbExclamation, "Save As") == vbYes;
        for (int k = 0; k < count && write; ++k) {
            const std::string& frame = frameFiles[static_cast<std::size_t>(k)];
            const std::string target = folder + name + std::to_string(k + 1) + ".ico";
            if (ok) {
                ok = writeThroughTemporary(target, [&](const std::string& temp) {
                    return wide::Copy(frame, temp, false);
                });
                if (!ok) failedFile = target;
            }
            (ok ? written : notWritten).push_back(target);
        }
    }
    for (const std::string& frame : frameFiles) wide::Delete(frame);
    Masks.SaveFramesMode = false;
    if (!ok) {
        std::string text = writeFailureText(failedFile, ok);
        if (separate) text.append("\r").append(PartlyWrittenText(written, notWritten));
        MsgBox(text, vbExclamation, "Error");
    }
    return ok.ok;
}

std::string PartlyWrittenText(const std::vector<std::string>& written, const std::vector<std::string>& notWritten) {
    auto names = [](const std::vector<std::string>& files) {
        std::string text;
        for (const std::string& file : files)
            text += (text.empty() ? "" : ", ") + file.substr(file.find_last_of('\\') + 1);
        return text.empty() ? std::string("none") : text;
    };
    return "Written: " + names(written) + ".\rNot written: " + names(notWritten) + ".";
}

namespace {

// A JPG or GIF export: the picture drawn over back and copied into a 24-bit image
// of the library, which write saves; its failure is shown, and picOpen goes back
// to the icon size. Nothing to draw shows the save error instead.
int writePicture(ExportWindow& w, OleColor back, const std::string& fileName,
                 const std::function<int(QuenplexImage&)>& write) {
    int code = 0;
    QuenplexImage image;
    if (!preparePicture(w, back)) {
        code = QP_BAD_IMAGE;
        reportSaveError(fileName, kNothingToWrite); // not the library's failure
    } else {
        code = quenplexbind::allocimage(image, Exports.PictureWidth, Exports.PictureHeight, 24);
        if (code == 0) {
            copyPicOpen(w, image);
            code = write(image);
        }
        procShowImageError(code, fileName);
    }
    quenplexbind::freeimage(image);
    SizePicOpen(w, iconSize(), iconSize());
    return code;
}

} // namespace

int procWriteJpg(ExportWindow& w, const std::string& fileName) {
    return writePicture(w, ExportBackColor(w), fileName, [&](QuenplexImage& image) {
        return saveImage(fileName, [&](const std::string& temp) { return quenplexbind::savejpg(temp, image, 100); });
    });
}

int procWriteGif(ExportWindow& w, const std::string& fileName) {
    return writePicture(w, kGifMaskColour, fileName, [&](QuenplexImage& image24) {
        QuenplexImage image8;
        int code = quenplexbind::allocimage(image8, Exports.PictureWidth, Exports.PictureHeight, 8);
        if (code == 0) {
            quenplexbind::convertrgbtopal(256, image24, image8);
            const int colours = procCountSingleColors(image8);
            quenplexbind::convertrgbtopal(colours, image24, image8);
            const int transparent = procFindMaskColorIndex(image8);
            code = saveImage(fileName, [&](const std::string& temp) {
                return transparent < 0 ? quenplexbind::savegif(temp, image8)
                                       : quenplexbind::savegifex(temp, image8, 2, transparent);
            });
        }
        quenplexbind::freeimage(image8);
        return code;
    });
}

} // namespace vm
