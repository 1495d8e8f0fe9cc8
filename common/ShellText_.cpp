#include "common/ShellText_.h"

#include <algorithm>
#include <cstring>

namespace common {

namespace {

constexpr const char* kTrayIconLost1 = "The ";
constexpr const char* kTrayIconLost2 = " tray icon could not be "
                                       "updated due to an API call error, therefore the ";
constexpr const char* kTrayIconLost3 = " window will now be restored.";

constexpr const char* kShortcutError1 = "An error occurred attempting to ";
constexpr const char* kShortcutError2 = " the ";
constexpr const char* kShortcutError3 = " shortcut ";
constexpr const char* kShortcutError4 = " the StartUp program group.";
constexpr const char* kGroupError = "An error occurred attempting to create the "
                                    "StartUp program group.";
constexpr const char* kSystemError3 = " shortcut:";
constexpr const char* kSystemError4 = "The probable cause of this error is the Vb5stkit.dll support "
                                      "file does not exist in the Windows System folder.";
constexpr const char* kCrLf = "\r\n";

}  // namespace

int ViewCodeFromMenuPosition(int position) {
    static constexpr int kCodes[] = {kViewLargeIcons, kViewSmallIcons, kViewList, kViewDetails};
    return position >= 0 && position < 4 ? kCodes[position] : kViewLargeIcons;
}

long ViewCodeInEffect(long reportedView, long storedStyle) {
    // The list view's view numbers and the style's view codes coincide for the four views.
    if (reportedView >= kViewLargeIcons && reportedView <= kViewList) return reportedView;
    return storedStyle & kViewMask;
}

void SetTipField(char* field, const std::string& tip) {
    std::memset(field, ' ', kTipFieldLength);
    size_t length = std::min(tip.size(), kTipFieldLength - 1);
    // A cut inside a UTF-8 sequence would leave the system a character without its end.
    while (length > 0 && length < tip.size() && (static_cast<unsigned char>(tip[length]) & 0xC0) == 0x80) --length;
    std::memcpy(field, tip.data(), length);
    field[length] = '\0';
}

std::string TrayIconLostMessage(const std::string& title) {
    return kTrayIconLost1 + title + kTrayIconLost2 + title + kTrayIconLost3;
}

std::string LastPathComponent(const std::string& path) {
    if (path.empty()) return path;
    std::string folder = path;
    if (folder.back() != '\\') folder += '\\';
    size_t last = folder.size() - 1;
    size_t previous = last == 0 ? std::string::npos : folder.rfind('\\', last - 1);
    size_t start = previous == std::string::npos ? 0 : previous + 1;
    return folder.substr(start, last - start);
}

std::string StartupShortcutErrorText(long code, bool create, const std::string& title, const std::string& description) {
    const std::string op = create ? "create" : "remove";
    const std::string prep = create ? "in" : "from";
    if (code == kErrShortcut)
        return kShortcutError1 + op + kShortcutError2 + title + kShortcutError3 + prep + kShortcutError4;
    if (code == kErrStartupGroup) return kGroupError;
    return kShortcutError1 + op + kShortcutError2 + title + kSystemError3 + kCrLf + kCrLf + description + kCrLf + kCrLf +
           kSystemError4;
}

std::string StartupShortcutCreatedText(const std::string& title) {
    return "A " + title + " shortcut was created in the StartUp program group successfully.  " + title +
           " will now be run every time Windows starts up.";
}

std::string StartupShortcutRemovedText(const std::string& title) {
    return "The " + title + " shortcut was removed from the StartUp program group successfully.";
}

}  // namespace common
