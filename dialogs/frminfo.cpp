#include "frminfo.h"

#include "files.h"
#include "helpfile.h"
#include "programicon.h"
#include "seam.h"
#include "state.h"
#include "widefile.h"

namespace vm {

InfoHost infoHost;

FrmInfo& frmInfo() { return defaultInstance<FrmInfo>(); }

namespace {

// The program's version, as its version resource states it.
constexpr int kMajor = 1, kMinor = 0, kRevision = 0;
constexpr const char* kLibraryPage = "http://www.vellumar.example/libraries/";
constexpr const char* kHomePage = "http://www.vellumar.example/";
constexpr const char* kSupportMail = "mailto:support@vellumar.example";

// The file's last change as the user's short date, or "" when it is missing.
std::string shortDateOf(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!wide::AttributeData(file, data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return "";
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &t);
    char text[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, sizeof text);
    return text;
}

void openLink(const char* address) { seamShellExecute(nullptr, "", address, "", "c:\\", SW_SHOWNORMAL); }

} // namespace

FrmInfo::FrmInfo() : Form("frmInfo") {
    design.caption = "About Vellumar";
    design.width = 6600;
    design.height = 5400;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpScreen;
    design.keyPreview = true; // F1 from any control asks for the page of the tab shown
}

std::string FrmInfo::VersionText() {
    return "Vellumar version " + std::to_string(kMajor) + "." + std::to_string(kMinor) + std::to_string(kRevision);
}

std::vector<std::string> FrmInfo::LibraryLines(const std::vector<int>& sizes, const std::string& dataPath) {
    std::vector<std::string> lines;
    for (int size : sizes) {
        const std::string s = std::to_string(size), set = s + "*" + s;
        if (std::string date = shortDateOf(dataPath + "icondata-" + s + ".dat"); !date.empty())
            lines.push_back(set + " Index Version\t" + date);
        lines.push_back(set + " Core Library\t\t" +
                        (procFileExists(dataPath + "Iconlib-" + s + ".res") ? "Present" : "NOT Present"));
        for (int k = 1; k <= 10; ++k)
            if (procFileExists(dataPath + "Iconlib" + std::to_string(k) + "-" + s + ".res"))
                lines.push_back(set + " Pellandry " + std::to_string(k) + "\tPresent");
    }
    return lines;
}

void FrmInfo::CreateControls() {
    tabStrip.create(*this, 120, 120, 6300, 4140);
    const struct { const char *caption, *key, *tip; } tabs[] = {{"Version", "version", ""},
                                                                {"Disclaimer", "disclaimer", "Disclaimer"},
                                                                {"Icon Resources", "libraries", "Active Vellumar Icon Libraries"},
                                                                {"Contact", "contact", "Contact Me"}};
    for (int i = 0; i < 4; ++i) {
        tabStrip.Tabs.Add(-1, tabs[i].key, tabs[i].caption).SetToolTipText(tabs[i].tip);
        fraInfo(i + 1).create(*this, 240, 540 + (i ? 60 : 0), 6060, 3600);
    }
    picLogo.create(fraInfo(1), 2400, 360, 1200, 1200, false);
    lblBuild.create(fraInfo(1), 120, 1800, 3000, 255, "", vbRightJustify);
    lblWinVer.create(fraInfo(1), 120, 2100, 3000, 255, "", vbRightJustify);
    lblHelpNote.create(fraInfo(2), 240, 360, 5600, 600,
                       "In the Online Help you'll find extended help on the features and usage of Vellumar.");
    lblTrademarks.create(fraInfo(2), 240, 1080, 5600, 1200,
                         "The icons are for your own use. Some of them show trademarks, which are protected by law "
                         "and belong to their owners.");
    txtPellandry.create(fraInfo(3), 120, 240, 5800, 2400);
    lblPellandry.create(fraInfo(3), 120, 2760, 5800, 255, "Look for Pellandrys and Indexes at;");
    txtIcons.create(fraInfo(3), 120, 3060, 5800, 255, kLibraryPage);
    txtIcons.SetToolTipText("Click to Visit");
    picContact.create(fraInfo(4), 240, 360, 960, 960, false);
    lblUpdates.create(fraInfo(4), 240, 1500, 5600, 255, "You can find updates at;");
    txtURL.create(fraInfo(4), 240, 1800, 5600, 255, kHomePage);
    txtURL.SetToolTipText("Click to go to the Vellumar Homepage");
    lblMail.create(fraInfo(4), 240, 2280, 5600, 255, "Or contact Tarnwick by E-mail;");
    txtMail.create(fraInfo(4), 240, 2580, 5600, 255, kSupportMail);
    txtMail.SetToolTipText("Click to E-mail");
    for (Label* link : {&txtIcons, &txtURL, &txtMail}) link->SetForeColor(vbBlue);
    cmdOK.create(*this, 3840, 4440, 1215, 375, "&Close");
    cmdHelp.create(*this, 5175, 4440, 1215, 375, "&Help");
    cmdOK.SetDefault(true);
    cmdOK.SetCancel(true);
    VM_ON(tabStrip, Click);
    VM_ON(cmdOK, Click);
    VM_ON(cmdHelp, Click);
    VM_ON(txtIcons, Click);
    VM_ON(txtURL, Click);
    VM_ON(txtMail, Click);
}

void FrmInfo::Form_Load() {
    PageIndex = 1;
    for (int i = 2; i <= 4; ++i) {
        fraInfo(i).Move(fraInfo(1).Left(), fraInfo(1).Top(), fraInfo(1).Width(), fraInfo(1).Height());
        fraInfo(i).SetVisible(false);
    }
    // The logo and the Contact page's picture are the program's own icon.
    const auto showProgramIcon = [](PictureBox& box, int pixels) {
        box.Move(vmKeep, vmKeep, pixelsToTwipsX(pixels), pixelsToTwipsY(pixels));
        if (HICON icon = LoadProgramIcon(pixels, pixels)) box.SetPicture(Picture::fromIcon(icon));
    };
    showProgramIcon(picLogo, 64);
    showProgramIcon(picContact, 48);
    const std::string version = VersionText();
    const int right = picLogo.Left() + picLogo.Width();
    const int width = TextWidth(version) + 120;
    lblBuild.SetCaption(version);
    lblBuild.Move(right - width, picLogo.Top() + picLogo.Height() + pixelsToTwipsY(10), width);
    lblWinVer.SetCaption(identity.OSName);
    const int winWidth = TextWidth(identity.OSName) + 120;
    lblWinVer.Move(right - winWidth, lblBuild.Top() + lblBuild.Height() + pixelsToTwipsY(3), winWidth);
    txtPellandry.Move(vmKeep, vmKeep, fraInfo(3).Width() - 240, lblPellandry.Top() - pixelsToTwipsY(5) - txtPellandry.Top());
    for (const std::string& line : LibraryLines(infoHost.iconSizes, paths.DataPath)) txtPellandry.AddItem(line);
    if (txtPellandry.ListCount() > 0) txtPellandry.SetListIndex(0);
}

void FrmInfo::tabStrip_Click() {
    Tab* tab = tabStrip.SelectedItem();
    if (!tab || tab->Index() == PageIndex) return;
    fraInfo(tab->Index()).SetVisible(true);
    fraInfo(PageIndex).SetVisible(false);
    PageIndex = tab->Index();
}

void FrmInfo::cmdHelp_Click() {
    Tab* tab = tabStrip.SelectedItem();
    const int index = tab ? tab->Index() : 1;
    procShowHelp(hWnd(), InfoTabHelpContext(index));
}

void FrmInfo::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) cmdHelp_Click();
}

void FrmInfo::cmdOK_Click() { Unload(); }
void FrmInfo::txtIcons_Click() { openLink(kLibraryPage); }
void FrmInfo::txtURL_Click() { openLink(kHomePage); }
void FrmInfo::txtMail_Click() { openLink(kSupportMail); }

} // namespace vm
