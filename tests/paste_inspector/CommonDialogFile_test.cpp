// The common file dialogs: the record handed to the system, the remembered filter index
// and folder of each mode, and the failure message.
#include "InspectorHarness.h"

#include <shlobj.h>

using namespace paste_inspector;

namespace {

class FileDialog : public ::testing::Test {
protected:
    void SetUp() override { ResetFileDialogMemory(); }
    // Answers with `path`, selecting filter `chooseIndex`; records the record it was given.
    std::function<BOOL(OPENFILENAMEA*)> Answer(std::string path, DWORD chooseIndex = 0) {
        return [this, path, chooseIndex](OPENFILENAMEA* record) -> BOOL {
            seen = *record;
            title = record->lpstrTitle ? record->lpstrTitle : "";
            initialDir = record->lpstrInitialDir ? record->lpstrInitialDir : "";
            filter.assign(record->lpstrFilter, 22);
            fileBuffer.assign(record->lpstrFile, 40);
            if (path.empty()) return FALSE;
            memcpy(record->lpstrFile, path.data(), path.size());
            record->lpstrFile[path.size()] = 0;
            record->lpstrFile[path.size() + 1] = 0;
            record->nFileOffset = static_cast<WORD>(path.find_last_of('\\') + 1);
            if (chooseIndex) record->nFilterIndex = chooseIndex;
            return TRUE;
        };
    }
    OPENFILENAMEA seen{};
    std::string initialDir;
    std::string title;
    std::string filter;
    std::string fileBuffer;
    testing_support::MsgBoxRecorder boxes;
};

}  // namespace

TEST_F(FileDialog, SaveRecordAsTheSystemExpectsIt) {
    platform::ScopedSeam save(seams::GetSaveFileNameA, Answer("C:\\windows\\out.txt"));
    long index = 0;
    std::string path =
        SaveFileDialog(nullptr, std::string("Text Files (*.txt)\0*.txt", 24), index, "", "start", "Save Text");
    EXPECT_EQ(path, "C:\\windows\\out.txt");
    EXPECT_EQ(seen.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
    EXPECT_EQ(seen.Flags, 0x280808u | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
    EXPECT_EQ(seen.nMaxFile, 32767u);
    EXPECT_EQ(fileBuffer.substr(0, 6), std::string("start\0", 6));
    EXPECT_EQ(seen.nFilterIndex, 1u);
    EXPECT_EQ(title, "Save Text");
    // The start folder "" does not exist: the current folder.
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(initialDir, current);
}

TEST_F(FileDialog, EachModeRemembersItsOwnFilterAndFolder) {
    testing_support::TempFolder saveFolder("dialog-save");
    testing_support::TempFolder openFolder("dialog-open");
    const std::string filters("Text (*.txt)\0*.txt\0Bitmaps (*.bmp)\0*.bmp", 40);
    {
        platform::ScopedSeam save(seams::GetSaveFileNameA, Answer(saveFolder.File("a.bmp"), 2));
        long index = 0;
        SaveFileDialog(nullptr, filters, index, "", "", "t");
        EXPECT_EQ(index, 2);
    }
    {
        platform::ScopedSeam open(seams::GetOpenFileNameA, Answer(openFolder.File("b.txt")));
        long index = 0;
        bool readOnly = true;
        ShowFileDialog(FileDialogMode::Open, nullptr, filters, index, "", "", "t", false, &readOnly);
        EXPECT_EQ(seen.nFilterIndex, 1u);  // the save dialog's choice is not the open dialog's
        EXPECT_EQ(seen.Flags, 0x280808u | 0x101000u);
    }
    platform::ScopedSeam save(seams::GetSaveFileNameA, Answer(""));
    long index = 0;
    SaveFileDialog(nullptr, filters, index, "", "", "t");
    EXPECT_EQ(seen.nFilterIndex, 2u);
    EXPECT_EQ(initialDir, saveFolder.Path());
    // An existing start folder wins over the remembered one; a blank filter is "All Files".
    index = 5;
    SaveFileDialog(nullptr, "  ", index, openFolder.Path(), "", "t");
    EXPECT_EQ(initialDir, openFolder.Path());
    EXPECT_EQ(filter, std::string("All Files (*.*)\0*.*\0\0", 22));
    EXPECT_EQ(seen.nFilterIndex, 1u);
}

TEST_F(FileDialog, FailureSaysItsCodeButCancelSaysNothing) {
    platform::ScopedSeam save(seams::GetSaveFileNameA, Answer(""));
    DWORD code = 0;
    platform::ScopedSeam error(seams::CommDlgExtendedError, [&code] { return code; });
    long index = 0;
    EXPECT_EQ(SaveFileDialog(nullptr, "", index, "", "", "t"), "");
    EXPECT_EQ(boxes.Count(), 0u);
    code = 0x3002;  // FNERR_INVALIDFILENAME
    EXPECT_EQ(SaveFileDialog(nullptr, "", index, "", "", "t"), "");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "An error occurred with Windows Common Dialogs (code 12290).");
    EXPECT_TRUE(boxes.Last().flags & MB_SYSTEMMODAL);
}

TEST_F(FileDialog, MultipleSelectionCollectsEveryFile) {
    platform::ScopedSeam open(seams::GetOpenFileNameA, [](OPENFILENAMEA* record) -> BOOL {
        const char answer[] = "C:\\pics\0one.bmp\0two.bmp\0";
        memcpy(record->lpstrFile, answer, sizeof answer);
        record->nFileOffset = 8;
        return TRUE;
    });
    long index = 0;
    std::string first = ShowFileDialog(FileDialogMode::Open, nullptr, "", index, "", "", "t", true, nullptr);
    EXPECT_EQ(first, "C:\\pics\\one.bmp");
    ASSERT_EQ(FileDialogFiles().size(), 2u);
    EXPECT_EQ(FileDialogFiles()[1], "C:\\pics\\two.bmp");
}

TEST_F(FileDialog, CurrentFolderLongerInUtf8ThanMaxPathBytesOpensWhole) {
    const std::string parent = "C:\\Fotos Café ☀";
    std::string deep = parent;
    for (int level = 0; level < 2; ++level) {
        deep += "\\";
        for (int i = 0; i < 50; ++i) deep += "日";
    }
    testing_support::DeleteTree(parent);
    ASSERT_TRUE(SHCreateDirectoryExW(nullptr, testing_support::Utf16(deep).c_str(), nullptr) == ERROR_SUCCESS);
    ASSERT_GT(deep.size(), static_cast<size_t>(MAX_PATH));
    char saved[MAX_PATH * 3] = {};
    GetCurrentDirectoryA(sizeof saved, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(testing_support::Utf16(deep).c_str()));
    platform::ScopedSeam save(seams::GetSaveFileNameA, Answer(""));
    long index = 0;
    SaveFileDialog(nullptr, "", index, "C:\\no such folder", "", "Save Text");
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(initialDir, deep);
    testing_support::DeleteTree(parent);
}
