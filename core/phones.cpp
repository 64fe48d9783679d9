// The phones' seats, which keep each phone's joystick number by its token, and the queue of
// their events, all behind one lock shared by the phone server's thread and the game's.
#include "core/phones.hpp"

#include <deque>
#include <mutex>
#include <vector>

namespace {

// A phone known by its token: its joystick number is firstPhoneJoystick + its place.
struct Seat {
    std::string token;
    bool connected = false;
    // A button was pressed: the phone may have joined, so its number is never given away.
    bool pressed = false;
    // Counts the seat's connections; only the newest one speaks for the phone.
    std::uint64_t generation = 0;
    bool held[phoneButtons] = {};
    RateWindow rate;
};

// Everything the server's thread and the game share, under its lock.
struct Hub {
    std::mutex lock;
    std::string code;
    std::vector<Seat> seats;
    int connected = 0;
    std::deque<sf::Event> events;
};

// The one hub of the process. Made before main, so that it is destroyed only after the phone
// server's thread, which main's exit handler stops, is gone.
Hub hub;

sf::Event joystickEvent(sf::Event::EventType type, int seat, int button = 0) {
    sf::Event e{};
    e.type = type;
    const unsigned int id = firstPhoneJoystick + static_cast<unsigned int>(seat);
    if (type == sf::Event::JoystickConnected || type == sf::Event::JoystickDisconnected) {
        e.joystickConnect.joystickId = id;
    } else {
        e.joystickButton = {id, static_cast<unsigned int>(button)};
    }
    return e;
}

// Lets go of the seat's held buttons and tells the game the phone is gone. Under the lock.
void dropSeat(int place) {
    Seat& seat = hub.seats[static_cast<std::size_t>(place)];
    for (int b = 0; b < phoneButtons; ++b) {
        if (seat.held[b]) {
            hub.events.push_back(joystickEvent(sf::Event::JoystickButtonReleased, place, b));
            seat.held[b] = false;
        }
    }
    hub.events.push_back(joystickEvent(sf::Event::JoystickDisconnected, place));
    seat.connected = false;
    hub.connected -= 1;
}

// The seat the link speaks for, or none when the link is not its seat's newest connection.
Seat* seatOf(const PhoneLink& link) {
    if (link.seat < 0 || link.seat >= static_cast<int>(hub.seats.size())) {
        return nullptr;
    }
    Seat& seat = hub.seats[static_cast<std::size_t>(link.seat)];
    return seat.connected && seat.generation == link.generation ? &seat : nullptr;
}

} // namespace

void startPhoneSession(const std::string& code) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    hub.code = code;
    hub.seats.clear();
    hub.connected = 0;
    hub.events.clear();
}

PhoneRefusal openPhone(const std::string& code, const std::string& token, PhoneLink& link) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    if (hub.code.empty() || code != hub.code) {
        return PhoneRefusal::wrongCode;
    }
    if (!tokenValid(token)) {
        return PhoneRefusal::badToken;
    }
    int place = 0;
    while (place < static_cast<int>(hub.seats.size()) &&
           hub.seats[static_cast<std::size_t>(place)].token != token) {
        place += 1;
    }
    const bool known = place < static_cast<int>(hub.seats.size());
    if (known && hub.seats[static_cast<std::size_t>(place)].connected) {
        // A page that comes back before its old connection was seen to drop.
        dropSeat(place);
    }
    if (!known && place >= maxPhoneTokens) {
        // Every number is taken: a phone gone without a press can't have joined, so a new
        // phone may have its number.
        place = 0;
        while (place < maxPhoneTokens && (hub.seats[static_cast<std::size_t>(place)].connected ||
                                          hub.seats[static_cast<std::size_t>(place)].pressed)) {
            place += 1;
        }
    }
    if (hub.connected >= maxPhones || place >= maxPhoneTokens) {
        return PhoneRefusal::full;
    }
    if (place == static_cast<int>(hub.seats.size())) {
        hub.seats.emplace_back();
    }
    hub.seats[static_cast<std::size_t>(place)].token = token;
    Seat& seat = hub.seats[static_cast<std::size_t>(place)];
    seat.connected = true;
    seat.generation += 1;
    seat.rate = RateWindow();
    hub.connected += 1;
    hub.events.push_back(joystickEvent(sf::Event::JoystickConnected, place));
    link = PhoneLink{place, seat.generation};
    return PhoneRefusal::none;
}

PhoneVerdict phoneMessage(const PhoneLink& link, const std::string& text, std::int64_t now) {
    int button = 0;
    bool pressed = false;
    if (!parsePhoneMessage(text, button, pressed)) {
        return PhoneVerdict::close;
    }
    const std::lock_guard<std::mutex> guard(hub.lock);
    Seat* seat = seatOf(link);
    if (seat == nullptr) {
        return PhoneVerdict::close;
    }
    // Every message counts against the rate; a release of a held button passes all the same.
    const bool inRate = rateAllows(seat->rate, now);
    if (seat->held[button] == pressed || (pressed && !inRate)) {
        return PhoneVerdict::dropped;
    }
    seat->held[button] = pressed;
    seat->pressed = seat->pressed || pressed;
    hub.events.push_back(joystickEvent(pressed ? sf::Event::JoystickButtonPressed
                                               : sf::Event::JoystickButtonReleased,
                                       link.seat, button));
    return PhoneVerdict::taken;
}

void closePhone(const PhoneLink& link) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    if (seatOf(link) != nullptr) {
        dropSeat(link.seat);
    }
}

int phonesConnected() {
    const std::lock_guard<std::mutex> guard(hub.lock);
    return hub.connected;
}

bool takePhoneEvent(sf::Event& out) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    if (hub.events.empty()) {
        return false;
    }
    out = hub.events.front();
    hub.events.pop_front();
    return true;
}
