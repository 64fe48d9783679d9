// The lobby screen: the invitation and colour table prepared at start-up, the players'
// figures with their ready marks and their wins drawn in every lobby frame, and the centring
// of the texts.
#include "core/assets.hpp"
#include "core/globals.hpp"
#include "core/scale.hpp"
#include "roster/roster.hpp"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>

namespace {

// Day colours of the first 13 player numbers; each night colour is the inverse.
const sf::Color dayColors[] = {
    sf::Color::Black,       sf::Color::Red,           sf::Color::Green,
    sf::Color::Blue,        sf::Color::Yellow,        sf::Color::Magenta,
    sf::Color::Cyan,        sf::Color(128, 128, 128), sf::Color(255, 128, 0),
    sf::Color(128, 0, 255), sf::Color(255, 0, 128),   sf::Color(0, 128, 255),
    sf::Color(128, 255, 0),
};

sf::Color inverse(sf::Color color) {
    return sf::Color(255 - color.r, 255 - color.g, 255 - color.b, 255);
}

// Loads a lobby image when its file is new or changed, and centres its sprite on the point
// where it is placed.
void loadCentredSprite(sf::Texture& texture, sf::Sprite& sprite, const std::string& path) {
    if (!refreshTexture(texture, path)) {
        std::cerr << "Error  : load texture " << path << std::endl;
    }
    // The sprite shows the whole image, also after a failed load or a change of size.
    sprite.setTexture(texture, true);
    const sf::FloatRect bounds = sprite.getLocalBounds();
    sprite.setOrigin(bounds.left + bounds.width * 0.5f, bounds.top + bounds.height * 0.5f);
}

} // namespace

void centreOnScreen(sf::Text& text) {
    // The centre of the bounds of every line together, so that a text of two lines is centred
    // as one block.
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setOrigin(bounds.left + 0.5f * bounds.width, bounds.top + 0.5f * bounds.height);
    text.setPosition(0.5f * static_cast<float>(screenWidth),
                     0.5f * static_cast<float>(screenHeight));
    // A text that the screen can't hold is shrunk around its centre rather than cut off. Its
    // glyphs are rasterised k times as large as the world's pixels (sizeText), so it is drawn
    // at 1 / k of its own size, and measured so.
    const auto k = static_cast<float>(pixelScale);
    const float width = bounds.width / k;
    const float room = std::max(1.0f, static_cast<float>(screenWidth) - 2.0f * textMargin);
    const float scale = (width > room ? room / width : 1.0f) / k;
    text.setScale(scale, scale);
}

void setupLobby() {
    if (!uiFont.loadFromFile(fontPath)) {
        std::cerr << "Error  : load police " << fontPath << std::endl;
    }
    lobbyText.setFont(uiFont);
    lobbyText.setString("Click on a button ...");
    sizeText(lobbyText, 100);
    lobbyText.setFillColor(sf::Color::Black);
    centreOnScreen(lobbyText);
    setupWinMarks();
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    int entry = 0;
    for (const sf::Color& day : dayColors) {
        playerColors[entry++] = day;
        playerColors[entry++] = inverse(day);
    }
}

void drawLobby() {
    loadCentredSprite(markTexture, markSprite, markPath);
    loadCentredSprite(idleTexture, idleSprite, idlePath);

    const int n = playerCount;
    const auto width = static_cast<float>(screenWidth);
    const auto height = static_cast<float>(screenHeight);
    float columnStep = 0.0f;
    float rowStep = 0.0f;
    float y = 0.0f;
    if (n <= 4) {
        columnStep = width / static_cast<float>(n + 1);
        y = height * 0.5f;
    } else {
        columnStep = width / 5.0f;
        rowStep = height / (0.25f * static_cast<float>(n) + 2.0f);
        y = rowStep;
    }
    float x = columnStep;
    std::vector<sf::Vector2f> centres;
    for (int p = 0; p < n; ++p) {
        if (p > 0 && p % 4 == 0) {
            x = columnStep;
            y += rowStep;
        }
        // An absent player's figure keeps its place, faded to a third.
        sf::Color tint = playerColor(p, false);
        tint.a = lobbyOpacity(players[p]);
        idleSprite.setColor(tint);
        idleSprite.setPosition(x, y);
        window.draw(idleSprite, sf::RenderStates::Default);
        markSprite.setPosition(x, y);
        markSprite.setScale(0.3f, 0.3f);
        if (players[p].ready) {
            window.draw(markSprite, sf::RenderStates::Default);
        }
        centres.emplace_back(x, y);
        x += columnStep;
    }
    // Over every figure, so that a row below hides none of them: the last winner's crown,
    // then the wins, which the crown hides none of either.
    const sf::Vector2f figure(idleSprite.getLocalBounds().width,
                              idleSprite.getLocalBounds().height);
    if (matchWinner >= 0 && matchWinner < n) {
        drawCrown(matchWinner, centres[std::size_t(matchWinner)], figure);
    }
    for (int p = 0; p < n; ++p) {
        drawWins(p, centres[std::size_t(p)], figure);
    }
}
