// The lobby's card for phones: a QR code of the join address, one texel a module with its
// quiet zone, scaled to whole pixels, over the address in the lobby's font.
#include "roster/phonecard.hpp"

#include "core/globals.hpp"
#include "core/phones/qrcode.hpp"
#include "core/scale.hpp"
#include "roster/roster.hpp"

#include <algorithm>
#include <cmath>

std::string phoneJoinAddress;

namespace {

// The QR code's picture and its sprite, and the address's text.
sf::Texture codeTexture;
sf::Sprite codeSprite;
sf::Text addressText;

// Places the code and the address at the bottom right, the code as large as fits in an eighth
// of the width and a fifth of the height, in whole pixels a module so that it stays sharp.
void placeCard() {
    const auto width = static_cast<float>(screenWidth);
    const auto height = static_cast<float>(screenHeight);
    sizeText(addressText, static_cast<unsigned int>(std::max(12.0f, height / 48.0f)));
    const sf::FloatRect local = addressText.getLocalBounds();
    addressText.setOrigin(local.left + local.width, local.top + local.height);
    addressText.setPosition(width - textMargin, height - textMargin);
    const float textHeight = addressText.getGlobalBounds().height;
    const auto modules = static_cast<float>(codeTexture.getSize().x);
    const float room = std::min(width * 0.125f, height * 0.2f);
    const float pixels = std::max(1.0f, std::floor(room / std::max(modules, 1.0f)));
    codeSprite.setScale(pixels, pixels);
    codeSprite.setOrigin(modules, modules);
    codeSprite.setPosition(width - textMargin, height - textMargin - textHeight - textMargin / 2);
}

} // namespace

void preparePhoneCard(const std::string& address) {
    phoneJoinAddress = address;
    codeTexture.loadFromImage(qrPicture(address));
    codeSprite.setTexture(codeTexture, true);
    addressText.setFont(uiFont);
    addressText.setString(address);
    addressText.setFillColor(sf::Color::Black);
    // The world's size and scale are set before the card is made and stay as they are.
    placeCard();
}

void drawPhoneCard() {
    if (phoneJoinAddress.empty()) {
        return;
    }
    window.draw(codeSprite, sf::RenderStates::Default);
    window.draw(addressText, sf::RenderStates::Default);
}
