// Phones as joysticks of the game: the session code, the phones' messages and their limits,
// the joystick numbers kept for each phone by the token its page keeps, and the bounded queue
// through which the phone server's thread hands their events to the game.
#pragma once

#include <SFML/Window/Event.hpp>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// Phones get joystick numbers from here up, above the library's own pads (0 to 7).
constexpr unsigned int firstPhoneJoystick = 8;
// Phones connected at once, at most.
constexpr int maxPhones = 64;
// Joystick numbers phones get over a whole run, at most; past them a new phone takes the
// number of the phone gone longest without a joined player, and when every phone gone had
// joined, the number (and the dinosaur) of the one gone longest.
constexpr int maxPhoneTokens = 256;
// The server reads no longer message: it closes the connection instead.
constexpr std::size_t maxPhoneMessage = 64;
// Messages of one phone beyond this many within a second are dropped, over all its connections.
constexpr int maxPhoneMessagesPerSecond = 60;
// Connections of one token beyond this many within a second are refused.
constexpr int maxPhoneConnectsPerSecond = 4;
// Events waiting for the game, at most: past it presses are dropped and new connections
// refused; releases and disconnects always go in, so that no button stays held.
constexpr std::size_t maxPhoneQueue = 1024;
// Phone events the game takes in one pass of its events, at most.
constexpr int maxPhoneEventsPerPass = 256;
// The buttons of the phone's page, numbered from 0.
constexpr int phoneButtons = 4;

// A session code: 6 capital letters and digits from std::random_device.
std::string makeSessionCode();
// Whether a page's token is one: 8 to 32 letters and digits.
bool tokenValid(const std::string& token);
// Reads a message of a phone: "d" and a button's digit for its press, "u" and the digit for
// its release. False for anything else.
bool parsePhoneMessage(const std::string& text, int& button, bool& pressed);

// The value of name in a query "a=1&b=2"; empty when it has none.
std::string queryValue(std::string_view query, std::string_view name);
// A request's Host in lower case when it is a plain name or address with its port, else empty.
std::string plainHost(std::string_view host);
// Whether a WebSocket may open from a page of this Origin to a server the request calls host
// (plain): only a page of that same host may; a request with no Origin is no page's.
bool originAllowed(std::string_view origin, const std::string& host);
// The Content-Security-Policy of the answers to a request for host (plain, or empty).
std::string pagePolicy(const std::string& host);

// The times of the last limit things allowed, in microseconds, oldest at next once full.
template <int limit> struct RateWindow {
    std::int64_t times[limit] = {};
    int count = 0;
    int next = 0;
};
// Whether a thing at now fits in the limit, which then counts it: true while fewer than limit
// were allowed within the second before now.
template <int limit> bool rateAllows(RateWindow<limit>& window, std::int64_t now) {
    if (window.count == limit && now - window.times[window.next] < 1000000) {
        return false;
    }
    window.count += window.count < limit;
    window.times[window.next] = now;
    window.next = (window.next + 1) % limit;
    return true;
}

// One connection of a phone as the server holds it: the phone's seat (its joystick number
// less firstPhoneJoystick) and the connection's own number.
struct PhoneLink {
    int seat = -1;
    std::uint64_t generation = 0;
};

// Why a connection was refused.
enum class PhoneRefusal { none, wrongCode, badToken, tooOften, full };
// What became of a message.
enum class PhoneVerdict { taken, dropped, close };

// Starts a session with this code: no phone known, nothing queued.
void startPhoneSession(const std::string& code);
// Takes a connection that gave this code and token at now (microseconds of a steady clock):
// the page's phone gets its joystick number, the one it had before when it comes back, and the
// game hears it connected. A token that is still connected is taken over: its old connection
// counts as closed first.
PhoneRefusal openPhone(const std::string& code, const std::string& token, PhoneLink& link,
                       std::int64_t now);
// Takes a message of the connection at now: a press or a release of a button goes to the
// game. Every message counts against the phone's rate. A press of a held button, a release of
// a free one and a press beyond the rate or the queue are dropped; a release of a held button
// goes through even beyond them, so that no button stays held. Malformed, overlong or from a
// connection taken over: close it.
PhoneVerdict phoneMessage(const PhoneLink& link, const std::string& text, std::int64_t now);
// The connection closed: its held buttons are let go and the game hears the phone gone.
void closePhone(const PhoneLink& link);
// Phones connected now.
int phonesConnected();
// The game joined a player on this joystick: if it is a phone's, the phone keeps its number
// while any other is free.
void notePhoneJoined(unsigned int joystickId);

// Takes the phones' next event for the game into out; false when none is queued, and after
// maxPhoneEventsPerPass in a row, so that a pass of the game's events ends; the next call
// starts a new pass.
bool takePhoneEvent(sf::Event& out);

// Connections from one address (IPv4, or IPv6 when not an IPv4 one) that have not shown the
// code yet, at most; more are closed at once.
constexpr int maxWaitingPerAddress = 8;
// Wrong codes from one address beyond this many within a second lock it out.
constexpr int maxWrongCodesPerSecond = 10;
// How long an address stays locked out, in microseconds: everything it sends is refused.
constexpr std::int64_t wrongCodeLockout = 60000000;

// What the server knows of one address.
struct AddressRecord {
    int waiting = 0;
    RateWindow<maxWrongCodesPerSecond> wrongCodes;
    std::int64_t lockedUntil = 0;
};
// The addresses with connections waiting or wrong codes of late, by address.
using AddressBook = std::map<std::string, AddressRecord>;

// A new connection from the address: true, counting it as waiting, while the address has
// fewer than maxWaitingPerAddress waiting.
bool admitWaiting(AddressBook& book, const std::string& address, std::int64_t now);
// A waiting connection showed the code or closed.
void endWaiting(AddressBook& book, const std::string& address, std::int64_t now);
// Whether the address is locked out at now.
bool addressLocked(AddressBook& book, const std::string& address, std::int64_t now);
// The address gave a wrong code at now: past the limit it is locked out.
void noteWrongCode(AddressBook& book, const std::string& address, std::int64_t now);
