// The phones' latest states behind a lock of their own: the game's thread keeps them, the
// phone server's thread reads them for the pages.
#include "core/phones/phonestates.hpp"

#include "core/phones/phones.hpp"

#include <cstdio>
#include <mutex>
#include <vector>

namespace {

// One seat's latest state and its number; 0 for none.
struct Kept {
    std::uint64_t version = 0;
    std::string text;
};

// The kept states by seat, the number of the last one kept, and their lock.
std::mutex lock;
std::vector<Kept> kept;
std::uint64_t lastVersion = 0;

} // namespace

std::string phoneStateText(ControllerState state, int player, sf::Color colour) {
    static const char* const names[] = {"notjoined", "joined", "ready", "notready", "running",
                                        "stunned",   "out",    "won",   "lobby"};
    char text[40];
    std::snprintf(text, sizeof text, "%s %d #%02x%02x%02x", names[static_cast<int>(state)],
                  player + 1, colour.r, colour.g, colour.b);
    return text;
}

void keepPhoneState(int seat, const std::string& text) {
    if (seat < 0 || seat >= maxPhoneTokens) {
        return;
    }
    const std::lock_guard<std::mutex> guard(lock);
    if (seat >= static_cast<int>(kept.size())) {
        kept.resize(static_cast<std::size_t>(seat) + 1);
    }
    kept[static_cast<std::size_t>(seat)] = {++lastVersion, text};
}

bool newerPhoneState(int seat, std::uint64_t& seen, std::string& text) {
    const std::lock_guard<std::mutex> guard(lock);
    if (seat < 0 || seat >= static_cast<int>(kept.size()) ||
        kept[static_cast<std::size_t>(seat)].version <= seen) {
        return false;
    }
    seen = kept[static_cast<std::size_t>(seat)].version;
    text = kept[static_cast<std::size_t>(seat)].text;
    return true;
}

void forgetPhoneStates() {
    const std::lock_guard<std::mutex> guard(lock);
    kept.clear();
}
