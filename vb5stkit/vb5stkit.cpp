// Our stand-in for the setup toolkit's support library: program groups and shortcuts
// under the user's Programs menu. Each function returns non-zero on success, 0 on failure.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace {

// Whether `name` is the StartUp group: its usual name or the StartUp folder's own name.
bool IsStartupGroup(const std::string& name, const std::string& startupFolder) {
    std::string own = startupFolder;
    while (!own.empty() && own.back() == '\\') own.pop_back();
    size_t slash = own.rfind('\\');
    own = slash == std::string::npos ? own : own.substr(slash + 1);
    return lstrcmpiA(name.c_str(), "StartUp") == 0 || (!own.empty() && lstrcmpiA(name.c_str(), own.c_str()) == 0);
}

std::string FolderPath(int code) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, code | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return path;
}

// The group's folder: the user's StartUp folder for the StartUp group, else a folder of
// that name under the user's Programs menu. Empty when the name cannot be a folder.
std::string GroupFolder(const char* group) {
    if (!group || !*group) return "";
    std::string name = group;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos || name == "." || name == "..") return "";
    std::string startup = FolderPath(CSIDL_STARTUP);
    if (!startup.empty() && IsStartupGroup(name, startup)) return startup;
    std::string programs = FolderPath(CSIDL_PROGRAMS);
    return programs.empty() ? "" : programs + "\\" + name;
}

bool ValidLinkName(const char* link) {
    return link && *link && std::string(link).find_first_of("\\/:*?\"<>|") == std::string::npos;
}

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return L"";
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// COM for the length of one call, if the caller's thread has not set it up.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT hr_;
};

template <class T>
void Release(T*& pointer) {
    if (pointer) pointer->Release();
    pointer = nullptr;
}

}  // namespace

extern "C" {

long WINAPI fCreateShellFolder(const char* folder) {
    std::string path = GroupFolder(folder);
    if (path.empty()) return 0;
    SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
    // Whether it was made now or was there already, it must be a folder.
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

long WINAPI fCreateShellLink(const char* folder, const char* link, const char* target, const char* arguments) {
    std::string path = GroupFolder(folder);
    if (path.empty() || !ValidLinkName(link) || !target || !*target) return 0;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;

    ComScope com;
    IShellLinkA* shellLink = nullptr;
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        std::string targetFolder = target;
        size_t slash = targetFolder.rfind('\\');
        targetFolder = slash == std::string::npos ? "" : targetFolder.substr(0, slash);
        if (targetFolder.size() == 2 && targetFolder[1] == ':') targetFolder += "\\";
        shellLink->SetPath(target);
        shellLink->SetArguments(arguments ? arguments : "");
        if (!targetFolder.empty()) shellLink->SetWorkingDirectory(targetFolder.c_str());
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring linkPath = Wide(path + "\\" + link + ".lnk");
            saved = !linkPath.empty() && SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
        }
    }
    Release(file);
    Release(shellLink);
    return saved ? 1 : 0;
}

long WINAPI fRemoveShellLink(const char* folder, const char* link) {
    std::string path = GroupFolder(folder);
    if (path.empty() || !ValidLinkName(link)) return 0;
    return DeleteFileA((path + "\\" + link + ".lnk").c_str()) ? 1 : 0;
}

}  // extern "C"
