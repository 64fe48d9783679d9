// Where the game reads src/ from: beside the executable when its folder holds src/, else in the
// working folder.
#include "core/assets.hpp"

#include <gtest/gtest.h>

#include <set>

TEST(AssetFolder, TheExecutablesOwnFolderWinsWhenItHoldsSrcElseTheWorkingFolder) {
    namespace fs = std::filesystem;
    // The folders that hold src/ in the world of each case.
    const std::set<fs::path> withSrc = {"/home/ana/twinrun-0.1.0", "/", "/opt/a b/twinrun",
                                        "/usr/share/games/twinrun"};
    const auto holdsSrc = [&withSrc](const fs::path& folder) { return withSrc.count(folder) > 0; };
    const struct {
        const char* executable;
        const char* chosen; // empty: stay in the working folder
    } cases[] = {
        // Unpacked anywhere, started by a double click or through a link from elsewhere.
        {"/home/ana/twinrun-0.1.0/twinrun", "/home/ana/twinrun-0.1.0"},
        {"/opt/a b/twinrun/twinrun", "/opt/a b/twinrun"},
        {"/twinrun", "/"},
        // Installed: the executable in libexec/ apart from its data, whose folder the launcher
        // enters; built: the executable in the build folder, started from the repository.
        {"/usr/libexec/twinrun/twinrun", ""},
        {"/home/ana/code/twinrun/build/twinrun", ""},
        // The system could not tell.
        {"", ""},
        {"twinrun", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseAssetFolder(c.executable, holdsSrc), fs::path(c.chosen)) << c.executable;
    }
}
