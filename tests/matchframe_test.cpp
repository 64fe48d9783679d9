// What a match frame shows, read back from the window: the ground, the entities, the living
// dinosaurs and the score, in the colours of day and night; and images changed on disk.
#include "support.hpp"

#include <fcntl.h>
#include <sys/stat.h>

class MatchFrame : public MatchTest {};

TEST_F(MatchFrame, GroundEntitiesLivingDinosaursAndScoreInTheColoursOfTheTick) {
    // Plain squares for the first run frame (the only one these ticks show), the cactus (green) and
    // the coin (blue), and a green ground tile whose last column is red, so that tiles side by side
    // show it every 64 pixels.
    useImage(dinoLeftPath, solidImage(20, 20, sf::Color::White));
    useImage(cactus0Path, solidImage(10, 10, sf::Color::Green));
    useImage(coinPath, solidImage(10, 10, sf::Color::Blue));
    sf::Image tile = solidImage(64, 40, sf::Color::Green);
    tile.copy(solidImage(1, 40, sf::Color::Red), 63, 0);
    useImage(groundPath, tile);
    addPlayer("WSAD");
    setupMatch();
    players[0].alive = false;
    place(1, 200, floorY);
    score = 41.0;
    // Entities one pixel right of where this tick's scroll leaves them: a cactus, a coin, a
    // taken coin, and a coin over the cactus.
    addEntity("cactus0", 402, 0);
    addEntity("coin", 422, 300);
    addEntity("coin", 702, 300);
    addEntity("coin", 422, floorY);
    entities[2].taken = true;
    sf::Image frame;
    beforePresent = [&frame] { frame = grabWindow(); };
    ticks(1);
    // Player 1 by day (dead player 0 isn't drawn) on the first run frame; the background; ten
    // ground tiles from -1.001: the tenth one's red column at 638, none red 9 pixels before.
    // Then the cactus scaled 3 on the floor (728), not above; the coin scaled 4, its bottom-left
    // corner at its y, not above; not the taken coin; the later coin over the cactus.
    // clang-format off
    auto seen = [&frame] {
        return colours(frame, {{210, 718}, {40, 718}, {230, 698}, {600, 300}, {638, 767},
                               {629, 767}, {405, 700}, {405, 696}, {457, 262}, {425, 255},
                               {705, 290}, {425, 726}});
    };
    // clang-format on
    EXPECT_EQ(seen(), "rwwwrggwbwwb");
    // The score at 100 pixels from the right, at size 24, in the ink of the day.
    EXPECT_TRUE(scoreText.getString() == "41" && scoreText.getPosition() == sf::Vector2f(924, 10) &&
                scoreText.getCharacterSize() == 24 && scoreText.getFillColor() == sf::Color::Black);
    // By night the player, the background and the score take the night's colours.
    score = 1000.0;
    ticks(2);
    EXPECT_EQ(seen().substr(0, 4), "ckkk");
    EXPECT_EQ(scoreText.getFillColor(), sf::Color::White);
}

TEST_F(MatchFrame, AnImageShowsAtTheNextMatchWhenItsSizeTimeOrFileChangedAndIsNotReadOtherwise) {
    // The ground's file written anew in a new colour, then given a width, a modification time
    // (nanoseconds past a fixed second) and, where the row says, put in place as another file;
    // and whether the next match shows the new colour. Plain images of the same width make files
    // of the same size, so the second row leaves the file as it was at its last load.
    // clang-format off
    const std::tuple<unsigned int, long, bool, bool> rows[] = {
        {64, 0, false, true}, {64, 0, false, false}, {64, 1, false, true}, {65, 1, false, true},
        {65, 1, true, true}};
    // clang-format on
    useImage(groundPath, solidImage(64, 40, sf::Color::Black));
    sf::Color shown, color;
    for (const auto& [width, nanoseconds, replaced, shows] : rows) {
        color.r += 40;
        const std::string file = groundPath + (replaced ? ".png" : "");
        ASSERT_TRUE(solidImage(width, 40, color).saveToFile(file));
        const timespec times[] = {{0, UTIME_OMIT}, {1000000000, nanoseconds}};
        ASSERT_TRUE(utimensat(AT_FDCWD, file.c_str(), times, 0) == 0 &&
                    std::rename(file.c_str(), groundPath.c_str()) == 0);
        setupMatch();
        shown = shows ? color : shown;
        EXPECT_EQ(groundTexture.copyToImage().getPixel(0, 0), shown) << int(color.r);
    }
}
