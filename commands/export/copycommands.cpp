// Copy and Save All Formats: the selected icon to the clipboard, and every
// image format of it into one ICO file.
#include <windows.h>

#include "browserstate.h"
#include "cicongrid.h"
#include "commandstate.h"
#include "dialogs.h"
#include "exportcommands.h"
#include "formatwriters.h"
#include "listview.h"
#include "picturebox.h"
#include "registry.h"
#include "safereplace.h"
#include "saveasnaming.h"
#include "selection.h"
#include "vberror.h"

namespace vm {

void mnuEditCopy_Click(ExportWindow& w) {
    if (!w.picOpen) return;
    auto copy = [&](const Picture& picture, int width, int height) {
        if (picture.empty()) return;
        SizePicOpen(w, width, height);
        w.picOpen->SetBackColor(ExportBackColor(w));
        w.picOpen->SetPicture({});
        w.picOpen->SetPicture(picture);
        Clipboard::Clear();
        Clipboard::SetData(w.picOpen->Image(), vbCFBitmap);
    };
    const int size = Keywords.IconSize;
    if (!Commands.DetailPaneActive) {
        copy(SelectedItemPicture(w), size, size);
    } else if (w.grdIcons && !Selection.FileIcons.empty()) {
        const cFileIcon& icon = Selection.FileIcons.front();
        for (int row = 1; row <= w.grdIcons->ItemCount() && row <= icon.ImageCount(); ++row)
            if (w.grdIcons->Selected(row)) copy(DetailImagePicture(row), icon.ImageWidth(row), icon.ImageHeight(row));
    }
    SizePicOpen(w, size, size);
}

void mnuDetailClickSaveAllAs_Click(ExportWindow& w) {
    if (!w.dlgIcon || Selection.FileIcons.empty()) return;
    CommonDialog& d = *w.dlgIcon;
    d.Filter = "Multiple Format Icon (*.ico)|*.ico";
    d.FilterIndex = 1;
    d.DefaultExt = "ico";
    d.Flags = 0x200C06;
    d.DialogTitle.clear();
    d.FileName = exportnaming::suggestedName(w.pnlResult ? w.pnlResult->Tag : std::string());
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "SaveAllDirectory");
    if (!reg.RegValue.isEmpty() && !reg.RegValue.toText().empty()) d.InitDir = storedStartFolder(reg.RegValue.toText());
    if (!d.ShowSave()) return;
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "SaveAllDirectory", Variant(d.FileName), REG_SZ);
    const std::string fileName = exportnaming::withExtension(d.FileName, ".ico");
    // A copy writes the temporary file, so the selected icon keeps its own name.
    cFileIcon icon = Selection.FileIcons.front();
    const WriteResult ok = writeThroughTemporary(fileName, [&](const std::string& temp) {
        try {
            return icon.SaveIcon(temp);
        } catch (const VbError&) {
            return false;
        }
    });
    if (!ok) MsgBox(writeFailureText(fileName, ok), vbExclamation, "Error");
}

} // namespace vm
