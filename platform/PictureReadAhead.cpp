#include "platform/PictureReadAhead.h"

#include <utility>

#include "platform/Handles.h"

namespace platform {

namespace {

class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

PictureReadAhead::~PictureReadAhead() {
    if (!thread_) return;
    {
        Locked locked(lock_);
        quit_ = true;
        WakeAllConditionVariable(&changed_);
    }
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

void PictureReadAhead::Start(const std::string& path, bool moreTypes) {
    Locked locked(lock_);
    if (path == path_ && moreTypes == moreTypes_ && (pending_ || reading_ || done_)) return;
    ++request_;
    // Let go before the next is read: one spare picture at a time.
    picture_.Release();
    done_ = false;
    path_ = path;
    moreTypes_ = moreTypes;
    pending_ = true;
    if (!thread_) {
        thread_ = CreateThread(nullptr, 0, &PictureReadAhead::ThreadMain, this, 0, nullptr);
        if (!thread_) {
            // Nothing is read ahead; every step loads its own picture as before.
            pending_ = false;
            path_.clear();
            return;
        }
        SetThreadPriority(thread_, THREAD_PRIORITY_BELOW_NORMAL);
    }
    WakeAllConditionVariable(&changed_);
}

Picture PictureReadAhead::Take(const std::string& path, bool moreTypes) {
    Picture picture;
    FileStamp stamp;
    {
        Locked locked(lock_);
        if (path_.empty() || path != path_ || moreTypes != moreTypes_) return Picture();
        if (pending_ || reading_) {
            // Someone waits for it now: it reads at their priority.
            SetThreadPriority(thread_, THREAD_PRIORITY_NORMAL);
            while (pending_ || reading_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
            SetThreadPriority(thread_, THREAD_PRIORITY_BELOW_NORMAL);
        }
        picture = std::move(picture_);
        stamp = stamp_;
        path_.clear();
        done_ = false;
    }
    // A file written over since it was read shows as it is now.
    if (!picture.Empty() && !(StampOf(path) == stamp)) picture.Release();
    return picture;
}

void PictureReadAhead::Cancel() {
    Locked locked(lock_);
    ++request_;
    pending_ = false;
    done_ = false;
    path_.clear();
    picture_.Release();
}

std::string PictureReadAhead::Path() const {
    Locked locked(lock_);
    return path_;
}

void PictureReadAhead::Settle() {
    Locked locked(lock_);
    while (pending_ || reading_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
}

PictureReadAhead::FileStamp PictureReadAhead::StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return FileStamp{};
    return FileStamp{(ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                     (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

DWORD WINAPI PictureReadAhead::ThreadMain(void* self) {
    ComApartment apartment;
    static_cast<PictureReadAhead*>(self)->Run();
    return 0;
}

void PictureReadAhead::Run() {
    Locked locked(lock_);
    for (;;) {
        while (!quit_ && !pending_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        if (quit_) return;
        pending_ = false;
        reading_ = true;
        const std::string path = path_;
        const bool moreTypes = moreTypes_;
        const unsigned long request = request_;
        ReleaseSRWLockExclusive(&lock_);
        const FileStamp stamp = StampOf(path);
        Picture picture = Picture::Load(path, nullptr, moreTypes);
        AcquireSRWLockExclusive(&lock_);
        reading_ = false;
        if (request == request_) {
            picture_ = std::move(picture);
            stamp_ = stamp;
            done_ = true;
        }
        WakeAllConditionVariable(&changed_);
    }
}

}  // namespace platform
