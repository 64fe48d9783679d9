// The QR code of a text as a picture, made with Nayuki's QR Code generator.
#include "core/phones/qrcode.hpp"

#include <qrcodegen/qrcodegen.hpp>

namespace {

// White modules around the code that readers need to find it.
constexpr int quietModules = 4;

} // namespace

sf::Image qrPicture(const std::string& text) {
    const qrcodegen::QrCode code =
        qrcodegen::QrCode::encodeText(text.c_str(), qrcodegen::QrCode::Ecc::MEDIUM);
    const int side = code.getSize() + 2 * quietModules;
    sf::Image picture;
    picture.create(static_cast<unsigned int>(side), static_cast<unsigned int>(side),
                   sf::Color::White);
    for (int y = 0; y < code.getSize(); ++y) {
        for (int x = 0; x < code.getSize(); ++x) {
            if (code.getModule(x, y)) {
                picture.setPixel(static_cast<unsigned int>(x + quietModules),
                                 static_cast<unsigned int>(y + quietModules), sf::Color::Black);
            }
        }
    }
    return picture;
}
