// Entry point: reads the options, prepares the lobby, opens the full-screen window and its
// sound, and runs the lobby loop.
#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "core/phones.hpp"
#include "core/phoneserver.hpp"
#include "core/platform.hpp"
#include "core/system.hpp"
#include "core/window.hpp"
#include "roster/phonecard.hpp"
#include "roster/roster.hpp"

#include <SFML/System/Err.hpp>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

constexpr const char* usage =
    "Usage: twinrun [--mute] [--phones] [--phones-port N]\n"
    "  --mute            play without sound\n"
    "  --phones          let phones on the same network join as controllers: open the\n"
    "                    address shown (or scan the lobby's QR code) in the phone's browser;\n"
    "                    this opens a network port, which a firewall may ask about\n"
    "  --phones-port N   take phones on port N (7770 by default, 0 any free one); implies\n"
    "                    --phones\n";

// Takes phones on this port when phonesWanted.
bool phonesWanted = false;
unsigned short phonesPort = 7770;

// Reads a port number, 0 (any free port) to 65535; false for anything else.
bool readPort(const char* text, unsigned short& port) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 65535) {
        return false;
    }
    port = static_cast<unsigned short>(value);
    return true;
}

// Starts the phone server and says where phones join; without it the game plays on.
void openToPhones() {
    const std::string code = makeSessionCode();
    std::string error;
    if (!startPhoneServer(phonesPort, code, error)) {
        std::cerr << "twinrun: no phones: " << error << std::endl;
        return;
    }
    // The server's thread ends before the globals it shares are destroyed, even on exit().
    std::atexit(stopPhoneServer);
    const std::string address =
        "http://" + networkAddress() + ":" + std::to_string(phonesPort) + "/#" + code;
    std::cout << "twinrun: phones join at " << address << std::endl;
    preparePhoneCard(address);
}

} // namespace

int main(int argc, char** argv) {
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "--mute") == 0) {
            soundMuted = true;
        } else if (std::strcmp(argv[a], "--phones") == 0) {
            phonesWanted = true;
        } else if (std::strcmp(argv[a], "--phones-port") == 0) {
            if (a + 1 == argc || !readPort(argv[a + 1], phonesPort)) {
                std::cerr << "twinrun: --phones-port takes a port number, 0 to 65535\n" << usage;
                return 2;
            }
            phonesWanted = true;
            a += 1;
        } else if (std::strcmp(argv[a], "--help") == 0 || std::strcmp(argv[a], "-h") == 0) {
            std::cout << usage;
            return 0;
        } else {
            std::cerr << "twinrun: unknown option " << argv[a] << "\n" << usage;
            return 2;
        }
    }
    // The game writes its own diagnostics; the library's would only repeat them.
    sf::err().rdbuf(nullptr);
    prepareSystem();
    setupLobby();
    if (!openGameWindow()) {
        std::cerr << "twinrun: could not open a " << screenWidth << "x" << screenHeight
                  << " full-screen window" << std::endl;
        return 1;
    }
    if (!soundMuted) {
        openAudio();
    }
    if (phonesWanted) {
        openToPhones();
    }
    // Every screen, the lobby and the joins included, shows at most 60 frames a second.
    limitFrames(60);
    runLobby();
    return 0;
}
