// The Windows side of the system: file stamps from the C runtime's stat(), which gives a
// file's size and its modification time in whole seconds, and NUL.
#include "core/system.hpp"

#include <sys/stat.h>
#include <sys/types.h>

bool readFileStamp(const std::string& path, FileStamp& stamp) {
    struct _stat64 info {};
    if (_stat64(path.c_str(), &info) != 0) {
        return false;
    }
    // Windows' stat has no inode; a file replaced by another of the same size within the same
    // second counts as unchanged until its next change.
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.size = info.st_size;
    stamp.modifiedSeconds = info.st_mtime;
    return true;
}

void prepareSystem() {
    // Nothing to do: the library's sleeps already ask Windows for its finest timer.
}

const char* const nullDevice = "NUL";
