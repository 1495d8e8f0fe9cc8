// The clipboard window's rules that need no Windows: which clipboard formats it looks
// for and in what order, its layout, the names it saves under and the dialog's folder
// memory.
#pragma once
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace paste_inspector {

// Clipboard format codes as the program numbers them; the two negative codes stand for
// the registered rich-text and DDE link formats.
inline constexpr int vbCFText = 1;
inline constexpr int vbCFBitmap = 2;
inline constexpr int vbCFMetafile = 3;
inline constexpr int vbCFDIB = 8;
inline constexpr int vbCFPalette = 9;
inline constexpr int vbCFEMetafile = 14;
inline constexpr int vbCFFiles = 15;
inline constexpr int vbCFRTF = -16639;
inline constexpr int vbCFLink = -16640;

inline constexpr int kTextFormats[] = {vbCFText, vbCFRTF, vbCFLink, vbCFFiles};
inline constexpr int kPictureFormats[] = {vbCFBitmap, vbCFDIB, vbCFMetafile, vbCFEMetafile, vbCFPalette};
inline constexpr int kClearFormats[] = {vbCFBitmap,   vbCFDIB,     vbCFEMetafile, vbCFFiles, vbCFLink,
                                        vbCFMetafile, vbCFPalette, vbCFRTF,       vbCFText};

inline constexpr const char* kShellFileObject = "<Shell file object>";
inline constexpr const char* kBestFitCaption = "Best Fit &Display";
inline constexpr const char* kNormalCaption = "Normal &Display";

// The first format of `formats` that `present` finds; 0 when none is.
int FirstFormatPresent(std::span<const int> formats, const std::function<bool(int)>& present);

// The caption of the layout menu item: it always offers the other layout.
const char* PicDisplayCaption(bool bestFitDisplay);

// `path`, with `extension` (".txt") appended unless it already ends in it, whatever the case.
std::string WithExtension(const std::string& path, const std::string& extension);

// "An error occurred attempting to save the '<path>' file:" CR LF CR LF <description>.
std::string SaveErrorText(const std::string& path, const std::string& description);

// The window's two parts, in twips: the text box on top, one third of the client height,
// and the pane below it, one pixel (`onePixel` twips) further down.
struct InspectorLayout {
    int TextHeight;
    int PicTop;
    int PicHeight;
};
int TextBoxHeight(int clientHeight);
// `textHeight` is the text box's height as it came out.
InspectorLayout PaneBelowText(int clientHeight, int textHeight, int onePixel);

// A DDE link as text: application, topic and item from their NUL-separated form, shown as
// "application|topic!item".
std::string DdeLinkText(const char* data, size_t size);

// The text of a clipboard text format: everything before the first NUL.
std::string ClipboardText(const char* data, size_t size);

// The code page that rich-text markup names for its 8-bit text (\ansicpgN); 0 when it
// names none.
unsigned RtfCodePage(const std::string& markup);

// The folder of a chosen path: the part before `fileOffset`, without the separator.
std::string DialogFolder(const std::string& path, int fileOffset);

// The answer of a multiple-selection dialog ("folder" NUL "a" NUL "b" NUL NUL) as full
// paths; a single selection ("C:\x\a.txt" NUL NUL) as itself.
std::vector<std::string> SelectedFiles(const char* buffer, size_t size);

}  // namespace paste_inspector
