// The lobby's marks of the matches won: a crown on the head of the last match's winner, made
// here pixel by pixel, and under every figure its player's number of wins from the first on.
#include "core/globals.hpp"
#include "core/scale.hpp"
#include "roster/roster.hpp"

#include <string>

namespace {

// The crown, one letter a pixel: gold, its darker band, and red stones.
const char* const crownRows[] = {
    "G....G....G", "GG..GGG..GG", "GGG.GGG.GGG", "GGGGGGGGGGG",
    "GGRGGGGGRGG", "GGGGGGGGGGG", "DDDDDDDDDDD",
};
// Each pixel of the crown is this many pixels of the world wide and high.
constexpr float crownPixel = 3.0f;
// The middle of the figure's head, from the figure's centre, in shares of its width: the
// dinosaur looks right.
constexpr float headAcross = 0.27f;

// The crown's picture, its sprite, and the text of a number of wins.
sf::Texture crownTexture;
sf::Sprite crownSprite;
sf::Text winsText;

} // namespace

void setupWinMarks() {
    const unsigned int width = 11;
    const unsigned int height = sizeof crownRows / sizeof *crownRows;
    sf::Image picture;
    picture.create(width, height, sf::Color::Transparent);
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int x = 0; x < width; ++x) {
            const char c = crownRows[y][x];
            if (c != '.') {
                picture.setPixel(x, y,
                                 c == 'G'   ? sf::Color(255, 196, 0)
                                 : c == 'D' ? sf::Color(196, 128, 0)
                                            : sf::Color(220, 0, 40));
            }
        }
    }
    crownTexture.loadFromImage(picture);
    crownSprite.setTexture(crownTexture, true);
    // Centred across, standing on the head's top with its band.
    crownSprite.setOrigin(width * 0.5f, static_cast<float>(height) - 1.0f);
    crownSprite.setScale(crownPixel, crownPixel);
    winsText.setFont(uiFont);
    sizeText(winsText, 28);
}

void drawCrown(int p, sf::Vector2f centre, sf::Vector2f figure) {
    crownSprite.setColor(sf::Color(255, 255, 255, lobbyOpacity(players[p])));
    crownSprite.setPosition(centre.x + headAcross * figure.x, centre.y - 0.5f * figure.y);
    window.draw(crownSprite, sf::RenderStates::Default);
}

void drawWins(int p, sf::Vector2f centre, sf::Vector2f figure) {
    const sf::Uint8 alpha = lobbyOpacity(players[p]);
    if (players[p].wins > 0) {
        winsText.setString(std::to_string(players[p].wins));
        winsText.setFillColor(sf::Color(0, 0, 0, alpha));
        const sf::FloatRect bounds = winsText.getLocalBounds();
        winsText.setOrigin(bounds.left + 0.5f * bounds.width, bounds.top);
        winsText.setPosition(centre.x, centre.y + 0.5f * figure.y + 6.0f);
        window.draw(winsText, sf::RenderStates::Default);
    }
}
