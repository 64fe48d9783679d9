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
    // The executable, then the folder chosen (empty: stay in the working folder). Unpacked
    // anywhere, started by a double click or through a link from elsewhere; installed, the
    // executable in libexec/ apart from its data, whose folder the launcher enters; built, in
    // the build folder, started from the repository; and paths the system could not tell.
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ana/twinrun-0.1.0/twinrun", "/home/ana/twinrun-0.1.0"},
        {"/opt/a b/twinrun/twinrun", "/opt/a b/twinrun"}, {"/twinrun", "/"},
        {"/usr/libexec/twinrun/twinrun", ""}, {"/home/ana/code/twinrun/build/twinrun", ""},
        {"", ""}, {"twinrun", ""}};
    // clang-format on
    const auto holdsSrc = [&withSrc](const fs::path& folder) { return withSrc.count(folder); };
    for (const auto& [executable, chosen] : cases) {
        EXPECT_EQ(chooseAssetFolder(executable, holdsSrc), fs::path(chosen)) << executable;
    }
}
