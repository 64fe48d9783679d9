// The score at the top right of a match, in the ink of day or night.
#include "match/match.hpp"

#include "core/assets.hpp"
#include "core/globals.hpp"
#include "core/scale.hpp"

#include <iostream>
#include <string>

void drawScore() {
    if (!refreshFont(scoreFont, fontPath)) {
        std::cerr << "Error  : load police " << fontPath << std::endl;
    }
    scoreText.setFont(scoreFont);
    scoreText.setString(std::to_string(static_cast<std::int32_t>(score)));
    // 24 pixels of the world high, rasterised at the window's resolution.
    sizeText(scoreText, 24);
    scoreText.setFillColor(inkColor);
    // Top left corner of the text: a longer score grows to the right.
    scoreText.setPosition(static_cast<float>(screenWidth - 100), 10.0f);
    window.draw(scoreText, sf::RenderStates::Default);
}
