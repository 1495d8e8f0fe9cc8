// One picture decoded ahead of need, on a thread of its own at low priority, so that the
// next step through a list of photos finds its picture ready instead of decoding it then.
// One picture at most is held or being read: asking for another drops the one before.
#pragma once
#include <windows.h>

#include <string>

#include "platform/Picture.h"

namespace platform {

class PictureReadAhead {
public:
    PictureReadAhead() = default;
    // Waits for a picture being read: the thread reads into this object.
    ~PictureReadAhead();
    PictureReadAhead(const PictureReadAhead&) = delete;
    PictureReadAhead& operator=(const PictureReadAhead&) = delete;

    // Starts reading `path` as Picture::Load(path, error, moreTypes) would, dropping what was
    // read ahead before; nothing new when that one is already read or being read.
    void Start(const std::string& path, bool moreTypes);
    // The picture read ahead for `path` with the same types, waited for while it is still
    // being read. Empty, leaving the read-ahead alone, when it is for another picture; empty
    // too when it failed or the file has changed since, so that the caller loads the file
    // itself and reports its errors as it always does.
    Picture Take(const std::string& path, bool moreTypes);
    // Drops what was read ahead; a picture still being read is dropped when done.
    void Cancel();

    // The picture asked for, "" when none.
    std::string Path() const;
    // Waits until nothing is being read.
    void Settle();

private:
    struct FileStamp {
        ULONGLONG size = 0;
        ULONGLONG written = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp StampOf(const std::string& path);
    static DWORD WINAPI ThreadMain(void* self);
    void Run();

    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    HANDLE thread_ = nullptr;
    bool quit_ = false;
    std::string path_;  // asked for
    bool moreTypes_ = false;
    bool pending_ = false;  // asked for, not started yet
    bool reading_ = false;
    bool done_ = false;  // picture_ and stamp_ are path_'s
    unsigned long request_ = 0;  // a picture read for an older request is dropped
    Picture picture_;
    FileStamp stamp_;
};

}  // namespace platform
