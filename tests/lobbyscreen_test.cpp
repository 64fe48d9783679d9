// The lobby screen: the invitation, the layout of the figures for any number of players,
// their colours, the ready marks, and missing images.
#include "support.hpp"

#include <cmath>

using sf::Keyboard;

namespace {

const sf::Color markColor(10, 200, 30);

// Colour expected at the centre of each figure for a roster of n players.
sf::Vector2f figureCentre(int p, int n, float w, float h) {
    if (n <= 4) {
        return {static_cast<float>(p + 1) * w / static_cast<float>(n + 1), h / 2.0f};
    }
    const float rowStep = h / (0.25f * static_cast<float>(n) + 2.0f);
    return {static_cast<float>(p % 4 + 1) * w / 5.0f, static_cast<float>(p / 4 + 1) * rowStep};
}

sf::Color pixelAt(const sf::Image& image, float x, float y) {
    return image.getPixel(static_cast<unsigned int>(std::lround(x)),
                          static_cast<unsigned int>(std::lround(y)));
}

// Draws one lobby frame and reads it back.
sf::Image lobbyFrame() {
    window.clear(sf::Color::White);
    drawLobby();
    return grabWindow();
}

void fillRoster(int n) {
    for (int p = 0; p < n; ++p) {
        addKeyboardPlayer(Keyboard::Unknown, Keyboard::Unknown, Keyboard::Unknown,
                          Keyboard::Unknown);
    }
}

} // namespace

// Figures and marks replaced by plain squares, so that the layout can be read exactly:
// a 40 × 40 white figure and a 40 × 40 mark drawn at 0.3, that is 12 × 12.
class LobbyLayout : public GameTest, public ::testing::WithParamInterface<sf::Vector2u> {
  protected:
    sf::Vector2u screenSize() const override { return GetParam(); }
    void SetUp() override {
        GameTest::SetUp();
        idlePath = writeSolidImage(40, 40, sf::Color::White, "figure");
        markPath = writeSolidImage(40, 40, markColor, "mark");
    }
};

TEST_P(LobbyLayout, FiguresStandInARowUpToFourThenInAGridOfFourColumns) {
    const auto w = static_cast<float>(screenWidth);
    const auto h = static_cast<float>(screenHeight);
    for (int n : {1, 4, 5, 8, 12}) {
        SCOPED_TRACE("players: " + std::to_string(n));
        resetGameState();
        idlePath = writeSolidImage(40, 40, sf::Color::White, "figure");
        markPath = writeSolidImage(40, 40, markColor, "mark");
        fillRoster(n);
        const sf::Image image = lobbyFrame();
        for (int p = 0; p < n; ++p) {
            const sf::Vector2f c = figureCentre(p, n, w, h);
            SCOPED_TRACE("player " + std::to_string(p));
            EXPECT_TRUE(sameColor(pixelAt(image, c.x, c.y), playerColor(p, false)));
            // The 40-pixel figure is centred on its point.
            EXPECT_TRUE(sameColor(pixelAt(image, c.x - 18, c.y - 18), playerColor(p, false)));
            EXPECT_TRUE(sameColor(pixelAt(image, c.x + 18, c.y + 18), playerColor(p, false)));
            EXPECT_TRUE(sameColor(pixelAt(image, c.x + 23, c.y), sf::Color::White));
            EXPECT_TRUE(sameColor(pixelAt(image, c.x, c.y - 23), sf::Color::White));
        }
    }
}

TEST_P(LobbyLayout, AReadyPlayerCarriesTheMarkAtAThirdOfItsSizeUntilUnmarked) {
    fillRoster(3);
    players[1].ready = true;
    const sf::Vector2f c =
        figureCentre(1, 3, static_cast<float>(screenWidth), static_cast<float>(screenHeight));
    sf::Image image = lobbyFrame();
    EXPECT_TRUE(sameColor(pixelAt(image, c.x, c.y), markColor));
    EXPECT_TRUE(sameColor(pixelAt(image, c.x - 5, c.y + 5), markColor));
    EXPECT_TRUE(sameColor(pixelAt(image, c.x + 8, c.y), sf::Color::Red));
    EXPECT_TRUE(sameColor(pixelAt(image, c.x, c.y - 8), sf::Color::Red));
    const sf::Vector2f other =
        figureCentre(0, 3, static_cast<float>(screenWidth), static_cast<float>(screenHeight));
    EXPECT_TRUE(sameColor(pixelAt(image, other.x, other.y), sf::Color::Black));

    players[1].ready = false;
    image = lobbyFrame();
    EXPECT_TRUE(sameColor(pixelAt(image, c.x, c.y), sf::Color::Red));
}

TEST_P(LobbyLayout, SixtyPlayersAreDrawnWithColoursFromTheTableOnly) {
    // Run under AddressSanitizer this also proves that no colour is read past the table.
    fillRoster(60);
    const sf::Image image = lobbyFrame();
    const auto w = static_cast<float>(screenWidth);
    const auto h = static_cast<float>(screenHeight);
    for (int p : {13, 49, 50, 51, 52, 59}) {
        const sf::Vector2f c = figureCentre(p, 60, w, h);
        SCOPED_TRACE("player " + std::to_string(p));
        EXPECT_TRUE(sameColor(pixelAt(image, c.x, c.y), playerColor(p % 50, false)));
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, LobbyLayout,
                         ::testing::Values(sf::Vector2u(800, 600), sf::Vector2u(1280, 720),
                                           sf::Vector2u(1001, 777)),
                         [](const ::testing::TestParamInfo<sf::Vector2u>& size) {
                             return std::to_string(size.param.x) + "x" +
                                    std::to_string(size.param.y);
                         });

class LobbyScreen : public GameTest {};

TEST_F(LobbyScreen, TheRealFiguresAreTintedInTheirPlayersColours) {
    fillRoster(3);
    const sf::Image image = lobbyFrame();
    for (int p = 0; p < 3; ++p) {
        const sf::Vector2f c = figureCentre(p, 3, 800.0f, 600.0f);
        const sf::Color tint = playerColor(p, false);
        int tinted = 0;
        int other = 0;
        for (int dy = -60; dy <= 60; ++dy) {
            for (int dx = -60; dx <= 60; ++dx) {
                const sf::Color pixel = pixelAt(image, c.x + dx, c.y + dy);
                if (pixel == sf::Color::White) {
                    continue;
                }
                // Multiplying by the tint keeps every channel within the tint's.
                if (pixel.r <= tint.r && pixel.g <= tint.g && pixel.b <= tint.b) {
                    ++tinted;
                } else {
                    ++other;
                }
            }
        }
        EXPECT_GT(tinted, 2000) << "player " << p;
        EXPECT_LT(other, tinted / 10) << "player " << p;
    }
}

TEST_F(LobbyScreen, AMissingFigureWritesItsErrorEveryFrameAndMarksStillShow) {
    fillRoster(1);
    players[0].ready = true;
    idlePath = "src/no-such-figure.gif";
    // As in a game whose figure never loaded: nothing to show.
    idleTexture = sf::Texture();
    idleSprite = sf::Sprite();
    ::testing::internal::CaptureStderr();
    sf::Image image = lobbyFrame();
    image = lobbyFrame();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error  : load texture src/no-such-figure.gif\n"
              "Error  : load texture src/no-such-figure.gif\n");
    int marked = 0;
    int elsewhere = 0;
    for (unsigned int y = 0; y < 600; ++y) {
        for (unsigned int x = 0; x < 800; ++x) {
            const bool inMark = x >= 370 && x <= 430 && y >= 270 && y <= 330;
            if (image.getPixel(x, y) != sf::Color::White) {
                ++(inMark ? marked : elsewhere);
            }
        }
    }
    EXPECT_GT(marked, 300) << "the ready mark is drawn where the figure would be";
    EXPECT_EQ(elsewhere, 0) << "the missing figure shows nothing";
}
