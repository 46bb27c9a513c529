#include "itemcommands.h"

#include <windows.h>

#include "browserstate.h"
#include "errorreport.h"
#include "exportwindow.h"
#include "files.h"
#include "folderpicker.h"
#include "frmprop.h"
#include "getfield.h"
#include "listview.h"
#include "menu.h"
#include "registry.h"
#include "seam.h"
#include "state.h"
#include "viewerhost.h"
#include "zandrelbind.h"
#include "systempaths.h"

namespace vm {

namespace {

ListItem* selectedItem() {
    ExportWindow* items = Viewers.items;
    return items && items->pnlResult ? items->pnlResult->SelectedItem() : nullptr;
}

HWND mainWindow() { return Viewers.mainForm ? Viewers.mainForm->hWnd() : nullptr; }

std::string setting(const char* name) {
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
    return reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
}

const char kEditorSteps[] = "select Options from the main menu.\rselect the Double Click Icon tab\r"
                            "select an Icon Editor executable with the Browse button.";

} // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

namespace {

// The shortcut file a "Shortcut Icon" item was listed from.
std::string shortcutFile(ListItem& item) {
    // The origin holds the shortcut's whole folder.
    const std::string folder = item.SubItems(2);
    // The listing cuts only a lower-case ".lnk" from the name it shows.
    const std::string file = joinPath(folder, item.Text() + ".lnk");
    return procFileExists(file) || !procFileExists(joinPath(folder, item.Text())) ? file : joinPath(folder, item.Text());
}

} // namespace

void mnuFileExtract_Click() {
    ListItem* item = selectedItem();
    if (!item) return;
    const std::string entry = item->Tag;
    folderPicker.BrowseResult.clear();
    folderPicker.BrowseForExtract = true;
    procBrowseForFolder(CurrentFolder(), kExtractPrompt);
    folderPicker.BrowseForExtract = false;
    procTrimNull(folderPicker.BrowseResult);
    const std::string folder = folderPicker.BrowseResult;
    if (folder.empty()) return;

    const std::string archive = procGetField(entry, ';', 2);
    const std::string member = procGetFileName(procGetField(entry, ';', 1));
    const std::string target = joinPath(folder, member);
    // An existing file is replaced only when the user agrees.
    if (procFileExists(target) &&
        MsgBox("The file " + target + " already exists.\rDo you want to replace it?", vbYesNo | vbQuestion,
               "Extract from ZIP") != vbYes)
        return;
    Chunks.UnzipResult = 0;
    zandrel::addUNZIP_Initialise();
    zandrel::addUNZIP_ArchiveName(archive.c_str());
    zandrel::addUNZIP_Include(member.c_str());
    zandrel::addUNZIP_ExtractTo(folder.c_str());
    zandrel::addUNZIP_Overwrite(ZANDREL_OVERWRITE_ALWAYS);
    Chunks.UnzipResult = zandrel::addUNZIP();
    if (Chunks.UnzipResult != 1)
        MsgBox("An error occured while extracting\r" + procGetField(entry, ';', 1) + " from\r" + archive, vbExclamation,
               "Zip Extraction Error");
}

void mnuFileRun_Click(MenuItem& mnuFileRun) {
    ListItem* item = selectedItem();
    if (!item) return;
    const std::string caption = mnuFileRun.Caption();
    if (caption == "Open ZIP &Archive...") {
        const std::string archive = procGetField(item->Tag, ';', 2);
        if (seamShellExecute(nullptr, "", archive, "", "c:\\", SW_SHOWNORMAL) <= 32)
            MsgBox("The archive " + archive + " could not be opened.", vbExclamation, "Error");
    } else if (caption == "&Run Shortcut...") {
        const std::string target = procGetField(item->Tag, ';', 3);
        if (seamStartProgram(quoted(target), SW_SHOWNORMAL) != 0)
            MsgBox("The program " + target + " could not be started.", vbExclamation, "Error");
    }
}

void mnuFileEditWith_Click() {
    const std::string editor = setting("ExtEditFile");
    if (editor.empty()) {
        MsgBox(std::string("Please specify an External Icon Editor:\r\r") + kEditorSteps, vbExclamation,
               "Edit With Error");
        return;
    }
    Exports.EditWithMode = true;
    if (Viewers.saveAs) Viewers.saveAs();
    Exports.EditWithMode = false;
    const std::string file = paths.TempPath + "VMTemp.ico";
    const std::string program = setting("ExtEditFolder") + editor;
    const DWORD error = seamStartProgram(quoted(program) + " " + quoted(file), SW_SHOWNORMAL);
    if (error == 0) return;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_BAD_EXE_FORMAT)
        MsgBox(std::string("Please specify a valid External Icon Editor:\r\r") + kEditorSteps, vbExclamation,
               "Edit With Error");
    else
        procShowError(static_cast<std::int32_t>(error), "mnuFileEditWith", "The editor could not be started.",
                      "Edit With Error");
}

void mnuFileProperties_Click() {
    ListItem* item = selectedItem();
    if (!item) return;
    Screen::SetMousePointer(vbHourglass);
    const std::string origin = item->SubItems(2);
    const std::string entry = item->Tag;
    auto is = [&](const char* text) { return _stricmp(origin.c_str(), text) == 0; };
    bool shown = false;
    if (is("Windows Default")) {
        frmProp().Show(vbModal, Viewers.mainForm);
        shown = true;
    } else if (is("Theme Cursor") || is("Reference") || is("File") || is("File Favorite") || is("Icon Library")) {
        procShowFileProperties(procGetField(entry, ';', 1), mainWindow());
    } else if (is("ZIP File")) {
        procShowFileProperties(procGetField(entry, ';', 2), mainWindow());
    }
    if (!shown && origin.compare(0, 8, "Vellumar") == 0) frmProp().Show(vbModal, Viewers.mainForm);
    if (item->SubItems(1) == "Shortcut Icon") procShowFileProperties(shortcutFile(*item), mainWindow());
    Screen::SetMousePointer(vbDefault);
}

} // namespace vm
