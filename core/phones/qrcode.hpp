// The QR code of a text as a picture, which the lobby shows phones to join by.
#pragma once

#include <SFML/Graphics/Image.hpp>

#include <string>

// The QR code of text (error correction level M): one pixel a module, black on white, with the
// quiet zone of four white modules around it that readers need to find it.
sf::Image qrPicture(const std::string& text);
