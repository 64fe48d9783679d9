// The Windows side of the system: file stamps from the C runtime's stat(), which gives a
// file's size and its modification time in whole seconds, NUL, and the executable's path from
// the module's file name.
#include "core/system.hpp"

#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include <vector>

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

std::filesystem::path executablePath() {
    // Wide characters keep any folder name; a name longer than the buffer is truncated, so the
    // buffer grows until the name fits.
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            return std::filesystem::path(std::wstring(name.data(), length));
        }
        name.resize(name.size() * 2);
    }
}
