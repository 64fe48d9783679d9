// The phones' seats, which keep each phone's joystick number by its token, and the bounded
// queue of their events, all behind one lock shared by the phone server's thread and the game's.
#include "core/phones/phones.hpp"

#include <deque>
#include <mutex>
#include <vector>

namespace {

// A phone known by its token: its joystick number is firstPhoneJoystick + its place.
struct Seat {
    std::string token;
    bool connected = false;
    // A player joined on its number: the number goes to another phone only when no other is
    // free.
    bool joined = false;
    // Disconnections queued that the game has not taken: until then it may still hear from
    // the phone, and the seat is not free.
    int unheard = 0;
    // When the game took its last disconnection: free seats go to new phones oldest first.
    std::uint64_t freedAt = 0;
    // Its newest connection's stamp: only that one speaks for the phone.
    std::uint64_t generation = 0;
    bool held[phoneButtons] = {};
    // Kept over the phone's connections, so that coming back starts no limit afresh.
    RateWindow<maxPhoneMessagesPerSecond> messages;
    RateWindow<maxPhoneConnectsPerSecond> connects;
};

// Everything the server's thread and the game share, under its lock.
struct Hub {
    std::mutex lock;
    std::string code;
    std::vector<Seat> seats;
    int connected = 0;
    std::deque<sf::Event> events;
    // Counts connections taken and disconnections the game took: the seats' generations and
    // freedAt are its values, unique and in order.
    std::uint64_t stamp = 0;
    // Events the game took in its current pass.
    int takenInPass = 0;
};

// The one hub of the process. Made before main, so that it is destroyed only after the phone
// server's thread, which main's exit handler stops, is gone.
Hub hub;

void queue(sf::Event::EventType type, int seat, int button = 0) {
    sf::Event e{};
    e.type = type;
    const unsigned int id = firstPhoneJoystick + static_cast<unsigned int>(seat);
    if (type == sf::Event::JoystickConnected || type == sf::Event::JoystickDisconnected) {
        e.joystickConnect.joystickId = id;
    } else {
        e.joystickButton = {id, static_cast<unsigned int>(button)};
    }
    hub.events.push_back(e);
}

// Lets go of the seat's held buttons and tells the game the phone is gone. Under the lock.
void dropSeat(int place) {
    Seat& seat = hub.seats[static_cast<std::size_t>(place)];
    for (int b = 0; b < phoneButtons; ++b) {
        if (seat.held[b]) {
            queue(sf::Event::JoystickButtonReleased, place, b);
            seat.held[b] = false;
        }
    }
    queue(sf::Event::JoystickDisconnected, place);
    seat.unheard += 1;
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

// The place of the token: its own seat; a new one while numbers remain; else the free seat
// freed first, one whose phone never joined before one whose player was left behind (past
// every number, a new phone takes over the dinosaur of the joined phone gone longest, rather
// than be refused for good); -1 when there is none.
int placeOf(const std::string& token) {
    const int count = static_cast<int>(hub.seats.size());
    int oldest[2] = {-1, -1};
    for (int place = 0; place < count; ++place) {
        const Seat& seat = hub.seats[static_cast<std::size_t>(place)];
        if (seat.token == token) {
            return place;
        }
        int& best = oldest[seat.joined ? 1 : 0];
        const bool free = !seat.connected && seat.unheard == 0;
        if (free && (best < 0 || seat.freedAt < hub.seats[std::size_t(best)].freedAt)) {
            best = place;
        }
    }
    return count < maxPhoneTokens ? count : oldest[0] >= 0 ? oldest[0] : oldest[1];
}

} // namespace

void startPhoneSession(const std::string& code) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    hub.code = code;
    hub.seats.clear();
    hub.connected = 0;
    hub.events.clear();
    hub.stamp = 0;
    hub.takenInPass = 0;
}

PhoneRefusal openPhone(const std::string& code, const std::string& token, PhoneLink& link,
                       std::int64_t now) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    if (hub.code.empty() || code != hub.code) {
        return PhoneRefusal::wrongCode;
    }
    if (!tokenValid(token)) {
        return PhoneRefusal::badToken;
    }
    const int place = placeOf(token);
    const bool known = place >= 0 && place < static_cast<int>(hub.seats.size()) &&
                       hub.seats[static_cast<std::size_t>(place)].token == token;
    // A page back may take its own connection over even when the phones are full.
    const bool back = known && hub.seats[static_cast<std::size_t>(place)].connected;
    if (place < 0 || (hub.connected >= maxPhones && !back) || hub.events.size() >= maxPhoneQueue) {
        return PhoneRefusal::full;
    }
    if (place == static_cast<int>(hub.seats.size())) {
        hub.seats.emplace_back();
    } else if (!known) {
        hub.seats[static_cast<std::size_t>(place)] = Seat();
    }
    Seat& seat = hub.seats[static_cast<std::size_t>(place)];
    if (!rateAllows(seat.connects, now)) {
        return PhoneRefusal::tooOften;
    }
    if (seat.connected) {
        // A page that comes back before its old connection was seen to drop.
        dropSeat(place);
    }
    seat.token = token;
    seat.connected = true;
    seat.generation = ++hub.stamp;
    hub.connected += 1;
    queue(sf::Event::JoystickConnected, place);
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
    const bool inRate = rateAllows(seat->messages, now);
    if (seat->held[button] == pressed ||
        (pressed && (!inRate || hub.events.size() >= maxPhoneQueue))) {
        return PhoneVerdict::dropped;
    }
    seat->held[button] = pressed;
    queue(pressed ? sf::Event::JoystickButtonPressed : sf::Event::JoystickButtonReleased, link.seat,
          button);
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

void notePhoneJoined(unsigned int joystickId) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    const std::size_t place = joystickId - firstPhoneJoystick;
    if (joystickId >= firstPhoneJoystick && place < hub.seats.size()) {
        hub.seats[place].joined = true;
    }
}

bool takePhoneEvent(sf::Event& out) {
    const std::lock_guard<std::mutex> guard(hub.lock);
    if (hub.events.empty() || hub.takenInPass == maxPhoneEventsPerPass) {
        hub.takenInPass = 0;
        return false;
    }
    hub.takenInPass += 1;
    out = hub.events.front();
    hub.events.pop_front();
    if (out.type == sf::Event::JoystickDisconnected) {
        Seat& seat = hub.seats[out.joystickConnect.joystickId - firstPhoneJoystick];
        seat.unheard -= 1;
        seat.freedAt = ++hub.stamp;
    }
    return true;
}
