// The drive, folder and file lists of the browser window, built from combo and list
// boxes, and a list box that reports keys and mouse-button releases.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Form.h"

namespace picture_browser {

// A list box that also tells its form about keys and released mouse buttons.
class PickListBox : public platform::ListBox {
public:
    PickListBox() = default;
    ~PickListBox() override;
    void Create(platform::Form& form, int left, int top, int width, int height, DWORD extraStyle = 0);
    std::function<void(int key)> KeyDown;       // Enter reaches it too, inside a dialog loop
    std::function<void(int button)> MouseUp;    // 1 left, 2 right
    // Selects without raising Click.
    void SelectQuietly(int index);

private:
    static LRESULT CALLBACK SubProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data);
};

// The drives of the machine, "c:"; choosing one raises Change.
class DriveList : public platform::ComboBox {
public:
    void Create(platform::Form& form, int left, int top, int width, int dropHeight);
    // "c:"; empty when none is selected.
    std::string Drive() const;
    // Selects the drive that `path` starts with; false when the list has no such drive.
    // `raiseChange` false sets it back without moving the other lists.
    bool SetDrive(const std::string& path, bool raiseChange = true);
    // Reads the drives again, keeping the selection.
    void Reload();

private:
    std::string selected_;
};

// A folder, its parent folders above it and its subfolders below it. A double-click
// (or Enter) enters the folder clicked; a change of folder raises Change.
class FolderList : public PickListBox {
public:
    void Create(platform::Form& form, int left, int top, int width, int height);
    const std::string& Path() const { return path_; }
    // False, with nothing changed, when the folder cannot be read (missing, no disk,
    // no access).
    bool SetPath(const std::string& path);
    std::function<void()> Change;
    // The full path shown by an entry.
    std::string EntryPath(int index) const;
    // From the form's WM_DRAWITEM.
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    // Brings the selected entry into view, after a change of height.
    void ScrollToSelection();
    // The files (neither hidden nor system, in name order) that the last SetPath read in
    // `folder`, when it moved the list there: handed over once, so that the file list
    // following into the folder does not read it a second time. False when there are none.
    bool TakeFiles(const std::string& folder, std::vector<std::string>& files);

private:
    struct Entry {
        std::string path;
        std::string name;
        int depth = 0;
        bool open = false;  // the folder and its parents
    };
    void EnterSelected();
    std::string path_;
    std::vector<Entry> entries_;
    std::string freshFolder_;
    std::vector<std::string> freshFiles_;
};

// The names of the files in a folder that match a pattern list, in name order.
class FileList : public PickListBox {
public:
    void Create(platform::Form& form, int left, int top, int width, int height);
    std::string Pattern = "*.*";
    const std::string& Path() const { return path_; }
    // Lists the folder; a new folder raises PathChange. False, with nothing changed,
    // when the folder cannot be read. `readBy`: the folder list that has just moved to
    // this folder, whose reading of it is used instead of reading it again.
    bool SetPath(const std::string& path, FolderList* readBy = nullptr);
    // Reads the folder again.
    void Refresh();
    std::function<void()> PathChange;

private:
    bool Fill(const std::string& folder, FolderList* readBy = nullptr);
    std::string path_;
};

// The full form of a folder path without a trailing backslash (but "C:\"); "c:"
// gives that drive's current folder. Empty when the path is not valid.
std::string NormalFolderPath(const std::string& path);

// Lists the names of the files in `folder` that match `patterns`, skipping hidden and
// system files, sorted. False when the folder cannot be read.
bool ListPictureNames(const std::string& folder, const std::string& patterns, std::vector<std::string>& names);

}  // namespace picture_browser
