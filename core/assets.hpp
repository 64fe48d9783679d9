// Asset files read from disk only when they are new or have changed since the last load.
#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <filesystem>
#include <functional>
#include <string>

// Loads the image at path into texture, unless the texture already holds that file as it is
// now: same file, size and modification time as at its last successful load. False when the
// file can't be loaded; the texture then keeps what it held, and the next call tries again.
bool refreshTexture(sf::Texture& texture, const std::string& path);

// The same for a font. A font whose file can't be loaded is left empty and draws nothing.
bool refreshFont(sf::Font& font, const std::string& path);

// The folder the game reads its src/ folder from: the executable's own when it holds one, as
// where the game was unpacked or built its files travel with it; otherwise none (empty), and
// the game reads src/ in its working folder, where a launcher or a developer starts it.
std::filesystem::path
chooseAssetFolder(const std::filesystem::path& executable,
                  const std::function<bool(const std::filesystem::path& folder)>& holdsSrc);

// Makes the folder chosen so the working folder, so that the game reads src/... from there.
void enterAssetFolder();
