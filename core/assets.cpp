// Asset files read only when new or changed: each texture and font remembers which file it
// last loaded successfully and how that file was then, and a use of an unchanged file costs
// one look at the file's stamp and no allocation instead of reading and decoding it again.
#include "core/assets.hpp"

#include "core/system.hpp"

#include <unordered_map>

namespace {

// The file a texture or font holds, as it was when it was loaded.
struct HeldFile {
    std::string path;
    FileStamp stamp;
};

// The file each texture or font holds, by the address of the texture or font.
std::unordered_map<const void*, HeldFile> loadedFiles;

template <typename Asset> bool refresh(Asset& asset, const std::string& path) {
    FileStamp now;
    const bool exists = readFileStamp(path, now);
    const auto held = loadedFiles.find(&asset);
    if (exists && held != loadedFiles.end() && held->second.path == path &&
        held->second.stamp == now) {
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

std::filesystem::path
chooseAssetFolder(const std::filesystem::path& executable,
                  const std::function<bool(const std::filesystem::path& folder)>& holdsSrc) {
    if (!executable.has_parent_path()) {
        return {};
    }
    const auto folder = executable.parent_path();
    return holdsSrc(folder) ? folder : std::filesystem::path();
}

void enterAssetFolder() {
    const auto folder = chooseAssetFolder(executablePath(), [](const auto& candidate) {
        std::error_code error;
        return std::filesystem::is_directory(candidate / "src", error);
    });
    if (!folder.empty()) {
        // A folder that can't be entered leaves the working folder, whose files are then
        // reported missing one by one as usual.
        std::error_code error;
        std::filesystem::current_path(folder, error);
    }
}
