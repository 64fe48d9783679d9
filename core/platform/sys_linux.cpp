// The Linux side of the system: file stamps from stat(), timers without slack, /dev/null, the
// network address from getifaddrs() and the executable's path from /proc.
#include "core/system.hpp"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/stat.h>

bool readFileStamp(const std::string& path, FileStamp& stamp) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    // The inode tells a file replaced by another, even one of the same size and time, which
    // the clock's coarse steps can give two quick writes.
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedSeconds = info.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = info.st_mtim.tv_nsec;
    return true;
}

void prepareSystem() {
    // Sleeps end on time: the kernel's default slack of 50 µs on each wake-up would stretch
    // every frame a little and bring 60 frames a second down to nearly 59.
    prctl(PR_SET_TIMERSLACK, 1UL);
}

const bool reuseListeningPort = true;

const char* const nullDevice = "/dev/null";

std::string networkAddress() {
    std::string found = "127.0.0.1";
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return found;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        const bool usable = entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET &&
                            (entry->ifa_flags & IFF_UP) != 0 &&
                            (entry->ifa_flags & IFF_LOOPBACK) == 0;
        if (usable) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
                found = text;
                break;
            }
        }
    }
    freeifaddrs(list);
    return found;
}

std::filesystem::path executablePath() {
    // The kernel's link names the file itself, whatever link or working folder started it.
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}
