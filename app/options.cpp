// The command line read into Options: each option by its name, the scale checked against the
// desktop it is to fill.
#include "app/options.hpp"

#include "core/scale.hpp"

#include <algorithm>

const char* const usage =
    "Usage: twinrun [--mute] [--no-music] [--scale N] [--phones] [--phones-port N]\n"
    "  --mute     play without sound\n"
    "  --no-music play the sound effects without the music\n"
    "  --scale N  draw every pixel of the game as N x N pixels of the screen, N from 1\n"
    "             to 8; by default the largest N for which the screen holds 1280x720\n"
    "             N times (1 below 2560x1440)\n"
    "  --phones   let phones on the same network join as controllers: open the address\n"
    "             shown (or scan the lobby's QR code) in the phone's browser; this opens\n"
    "             a network port, which a firewall may ask about\n"
    "  --phones-port N  take phones on port N (7770 by default, 0 any free one); implies\n"
    "             --phones\n"
    "  --help     print this help\n"
    "  --version  print the game's version\n";

namespace {

// The number that text spells with at most maxDigits digits and nothing else; -1 for anything
// else.
long wholeNumber(const std::string& text, std::size_t maxDigits) {
    const bool digits =
        !text.empty() && text.size() <= maxDigits &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? std::stol(text) : -1;
}

// The scale that text names, if it is a whole number from 1 to largestScale; 0 otherwise.
int scaleNamed(const std::string& text) {
    const long n = wholeNumber(text, 2);
    return n >= 1 && n <= largestScale ? static_cast<int>(n) : 0;
}

// Reads a port number, 0 to 65535, digits only; false for anything else.
bool readPort(const std::string& text, unsigned short& port) {
    const long n = wholeNumber(text, 5);
    if (n < 0 || n > 65535) {
        return false;
    }
    port = static_cast<unsigned short>(n);
    return true;
}

} // namespace

Options parseOptions(const std::vector<std::string>& args, int width, int height) {
    const std::string range = " from 1 to " + std::to_string(largestScale);
    Options options;
    int chosen = 0;
    for (std::size_t a = 0; a < args.size() && options.error.empty(); ++a) {
        const std::string& arg = args[a];
        if (arg == "--mute") {
            options.mute = true;
        } else if (arg == "--no-music") {
            options.noMusic = true;
        } else if (arg == "--phones") {
            options.phones = true;
        } else if (arg == "--phones-port") {
            if (a + 1 == args.size() || !readPort(args[a + 1], options.phonesPort)) {
                options.error = "--phones-port takes a port number, 0 to 65535";
                break;
            }
            options.phones = true;
            a += 1;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
            const bool joined = arg != "--scale";
            if (!joined && a + 1 == args.size()) {
                options.error = "--scale needs a number" + range;
                break;
            }
            const std::string value = joined ? arg.substr(8) : args[++a];
            chosen = scaleNamed(value);
            if (chosen == 0) {
                options.error = "--scale " + value + ": not a number" + range;
            }
        } else {
            options.error = "unknown option " + arg;
        }
    }
    options.scale = chosen != 0 ? chosen : scaleFor(width, height);
    if (options.error.empty() && chosen != 0 && width > 0 && !scaleFits(width, height, chosen)) {
        const sf::Vector2i world = worldSize(width, height, chosen);
        options.error = "--scale " + std::to_string(chosen) + " leaves a game of " +
                        std::to_string(world.x) + "x" + std::to_string(world.y) +
                        " pixels on this " + std::to_string(width) + "x" + std::to_string(height) +
                        " screen, less than " + std::to_string(leastWidth) + "x" +
                        std::to_string(leastHeight);
    }
    return options;
}
