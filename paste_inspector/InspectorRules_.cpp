#include "paste_inspector/InspectorRules_.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace paste_inspector {

int FirstFormatPresent(std::span<const int> formats, const std::function<bool(int)>& present) {
    for (int format : formats)
        if (present(format)) return format;
    return 0;
}

const char* PicDisplayCaption(bool bestFitDisplay) { return bestFitDisplay ? kNormalCaption : kBestFitCaption; }

std::string WithExtension(const std::string& path, const std::string& extension) {
    if (path.size() >= extension.size()) {
        bool same = std::equal(extension.begin(), extension.end(), path.end() - extension.size(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
        if (same) return path;
    }
    return path + extension;
}

std::string SaveErrorText(const std::string& path, const std::string& description) {
    return "An error occurred attempting to save the '" + path + "' file:\r\n\r\n" + description;
}

int TextBoxHeight(int clientHeight) { return clientHeight / 3; }

InspectorLayout PaneBelowText(int clientHeight, int textHeight, int onePixel) {
    return {textHeight, textHeight + onePixel, clientHeight - textHeight - onePixel};
}

std::string ClipboardText(const char* data, size_t size) {
    if (!data) return {};
    const void* nul = std::memchr(data, 0, size);
    return std::string(data, nul ? static_cast<const char*>(nul) - data : size);
}

unsigned RtfCodePage(const std::string& markup) {
    static constexpr char kKeyword[] = "\\ansicpg";
    const size_t at = markup.find(kKeyword);
    if (at == std::string::npos) return 0;
    unsigned codePage = 0;
    for (size_t i = at + sizeof kKeyword - 1; i < markup.size() && std::isdigit(static_cast<unsigned char>(markup[i]));
         ++i) {
        codePage = codePage * 10 + static_cast<unsigned>(markup[i] - '0');
        if (codePage > 65535) return 0;
    }
    return codePage;
}

std::string DdeLinkText(const char* data, size_t size) {
    std::string parts[3];
    size_t at = 0;
    for (std::string& part : parts) {
        if (!data || at >= size) break;
        part = ClipboardText(data + at, size - at);
        at += part.size() + 1;
    }
    return parts[0] + "|" + parts[1] + "!" + parts[2];
}

std::string DialogFolder(const std::string& path, int fileOffset) {
    if (fileOffset <= 0) return {};
    std::string folder = path.substr(0, std::min<size_t>(fileOffset, path.size()));
    // A root keeps its backslash ("C:\"), as the folder it names needs it.
    if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::vector<std::string> SelectedFiles(const char* buffer, size_t size) {
    std::vector<std::string> names;
    size_t at = 0;
    while (at < size && buffer[at] != 0) {
        std::string name = ClipboardText(buffer + at, size - at);
        names.push_back(name);
        at += name.size() + 1;
    }
    if (names.size() <= 1) return names;
    std::string folder = names.front();
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    std::vector<std::string> files;
    for (size_t i = 1; i < names.size(); ++i) files.push_back(folder + names[i]);
    return files;
}

}  // namespace paste_inspector
