// The Windows side of the system: a process aware of the display's scaling, file stamps from
// the C runtime's stat(), which gives a file's size and its modification time in whole seconds,
// NUL, the network address of the machine's name, and the executable's path from the module's
// file name.
#include "core/system.hpp"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include <vector>

namespace {

// Windows tells a program that is not aware of the display's scaling a desktop shrunk by it
// (1280x720 for a 4K screen at 300%) and stretches its window, blurred, over the real one. The
// game asks for the real size before main runs (core/globals.cpp), so it declares itself aware
// before any other global is built: the lowest priority a program may use.
__attribute__((constructor(101))) void becomeDpiAware() {
    SetProcessDPIAware();
}

} // namespace

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

const bool reuseListeningPort = false;

const char* const nullDevice = "NUL";

std::string networkAddress() {
    std::string found = "127.0.0.1";
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return found;
    }
    // The addresses of the machine's own name are those of its interfaces that are up.
    char name[256] = {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* list = nullptr;
    if (gethostname(name, sizeof name) == 0 && getaddrinfo(name, nullptr, &hints, &list) == 0) {
        for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            char text[INET_ADDRSTRLEN] = {};
            if ((ntohl(address->sin_addr.s_addr) >> 24) != 127 &&
                inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
                found = text;
                break;
            }
        }
        freeaddrinfo(list);
    }
    WSACleanup();
    return found;
}

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
