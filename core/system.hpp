// What differs between the systems the game runs on, kept in one file per system
// (core/platform/sys_linux.cpp, core/platform/sys_win.cpp): preparing the process, how a file is
// now, where writes go to be discarded, and where the running executable lies.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A file as the system describes it: which file it is, where the system tells (0 where it
// doesn't), its size and its modification time. Equal stamps mean an unchanged file.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedSeconds == other.modifiedSeconds &&
               modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

// Reads the stamp of the file at path; false when there is no such file.
bool readFileStamp(const std::string& path, FileStamp& stamp);

// Prepares the process before the game starts: what the system needs for steady frames.
void prepareSystem();

// Ends the process when the command line needs no display (app/main.cpp): --help, --version or
// an option refused without the desktop. Linux's display probe calls it before any global opens
// the display; main calls it first thing on every system.
void answerWithoutDisplay(int argc, char** argv);

// Whether a listening socket may take its port again at once after the game ends. On Windows
// the same option would let another program take the port over.
extern const bool reuseListeningPort;

// The path of the device that discards what is written to it.
extern const char* const nullDevice;

// The machine's first IPv4 address that is not a loopback one, as text; "127.0.0.1" when it
// has none.
std::string networkAddress();

// The path of the running executable, links resolved; empty where the system doesn't tell.
std::filesystem::path executablePath();
