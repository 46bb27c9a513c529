#include "cshelllink.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "loadergate.h"
#include "temporaryname.h"

namespace vm {
namespace {

// Holds one COM interface and releases it when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T** out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

// A text output of the link object: the buffer up to its first NUL.
std::string cut(const std::vector<char>& buffer) { return std::string(buffer.data()); }

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

} // namespace

HRESULT cShellLink::Read(const std::string& linkFile, ShellLinkInfo& info) {
    info = ShellLinkInfo{};
    // Only a shortcut the project's own reader found whole reaches the shell.
    ComPtr<IShellLinkA> link;
    HRESULT hr = gate::LoadShellLink(linkFile, link.out());
    if (FAILED(hr)) return hr;

    // Shortcut texts are bounded by the longest path the shell knows, but an
    // argument list or a description may be longer; a generous buffer keeps them whole.
    constexpr int kText = 4096;
    std::vector<char> buffer(kText, '\0');
    ShellLinkInfo read;
    if (SUCCEEDED(link->GetPath(buffer.data(), kText, nullptr, 0))) read.target = cut(buffer);
    buffer.assign(kText, '\0');
    if (SUCCEEDED(link->GetWorkingDirectory(buffer.data(), kText))) read.workingFolder = cut(buffer);
    buffer.assign(kText, '\0');
    if (SUCCEEDED(link->GetArguments(buffer.data(), kText))) read.arguments = cut(buffer);
    buffer.assign(kText, '\0');
    int index = 0;
    if (SUCCEEDED(link->GetIconLocation(buffer.data(), kText, &index))) {
        read.iconFile = cut(buffer);
        read.iconIndex = index;
    }
    buffer.assign(kText, '\0');
    if (SUCCEEDED(link->GetDescription(buffer.data(), kText))) read.description = cut(buffer);
    int show = SW_SHOWNORMAL;
    if (SUCCEEDED(link->GetShowCmd(&show))) read.showCommand = show;
    info = std::move(read);
    return S_OK;
}

void cShellLink::GetLinkInfo(const std::string& linkFile, std::string& target, std::string& workingFolder,
                             std::string& arguments, std::string& iconFile, std::int32_t& iconIndex,
                             std::int32_t& showCommand, std::string& description, HRESULT& result) {
    ShellLinkInfo info;
    result = Read(linkFile, info);
    target = info.target;
    workingFolder = info.workingFolder;
    arguments = info.arguments;
    iconFile = info.iconFile;
    iconIndex = info.iconIndex;
    showCommand = info.showCommand;
    description = info.description;
}

HRESULT cShellLink::Write(const std::string& linkFile, const ShellLinkInfo& info) {
    ComPtr<IShellLinkA> link;
    HRESULT hr = gate::NewShellLink(link.out());
    if (FAILED(hr)) return hr;
    hr = link->SetPath(info.target.c_str());
    if (SUCCEEDED(hr)) hr = link->SetWorkingDirectory(info.workingFolder.c_str());
    if (SUCCEEDED(hr)) hr = link->SetArguments(info.arguments.c_str());
    if (SUCCEEDED(hr) && !info.iconFile.empty()) hr = link->SetIconLocation(info.iconFile.c_str(), info.iconIndex);
    if (SUCCEEDED(hr)) hr = link->SetShowCmd(info.showCommand);
    if (SUCCEEDED(hr)) hr = link->SetDescription(info.description.c_str());
    if (FAILED(hr)) return hr;

    const std::string temporary = NewTemporaryFileIn(folderOf(linkFile), "lnk");
    if (temporary.empty()) return HRESULT_FROM_WIN32(GetLastError());
    const char* temp = temporary.c_str();
    hr = gate::SaveShellLink(link.get(), temp);
    if (SUCCEEDED(hr) && !MoveFileExA(temp, linkFile.c_str(), MOVEFILE_REPLACE_EXISTING))
        hr = HRESULT_FROM_WIN32(GetLastError());
    if (FAILED(hr)) DeleteFileA(temp);
    return hr;
}

} // namespace vm
