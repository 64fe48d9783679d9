// Asset files read only when new or changed: each texture and font remembers which file it
// last loaded successfully and how that file was then, and a use of an unchanged file costs
// one stat() and no allocation instead of reading and decoding it again.
#include "core/assets.hpp"

#include <sys/stat.h>

#include <unordered_map>

namespace {

// A file's identity, size and modification time.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
};

// The file a texture or font holds, as it was when it was loaded.
struct HeldFile {
    std::string path;
    FileStamp stamp;
};

// The file each texture or font holds, by the address of the texture or font.
std::unordered_map<const void*, HeldFile> loadedFiles;

bool readStamp(const std::string& path, FileStamp& stamp) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = info.st_mtim;
    return true;
}

// A file replaced by another (a new inode) counts as changed even with the same size and
// time, which the clock's coarse steps can give two quick writes.
bool sameStamp(const FileStamp& a, const FileStamp& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
}

template <typename Asset> bool refresh(Asset& asset, const std::string& path) {
    FileStamp now;
    const bool exists = readStamp(path, now);
    const auto held = loadedFiles.find(&asset);
    if (exists && held != loadedFiles.end() && held->second.path == path &&
        sameStamp(held->second.stamp, now)) {
        return true;
    }
    // Whatever happens next, the asset no longer holds a file known to be current.
    loadedFiles.erase(&asset);
    if (!asset.loadFromFile(path)) {
        return false;
    }
    // The stamp read before the load: a file changed while it was read is read again.
    if (exists) {
        loadedFiles[&asset] = HeldFile{path, now};
    }
    return true;
}

} // namespace

bool refreshTexture(sf::Texture& texture, const std::string& path) {
    return refresh(texture, path);
}

bool refreshFont(sf::Font& font, const std::string& path) {
    return refresh(font, path);
}
