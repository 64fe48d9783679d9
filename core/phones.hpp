// Phones as joysticks of the game: the session code, the phones' messages and their limits,
// the joystick numbers kept for each phone by the token its page keeps, and the locked queue
// through which the phone server's thread hands their events to the game.
#pragma once

#include <SFML/Window/Event.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

// Phones get joystick numbers from here up, above the library's own pads (0 to 7).
constexpr unsigned int firstPhoneJoystick = 8;
// Phones connected at once, at most.
constexpr int maxPhones = 64;
// Phones (tokens) that keep a joystick number of their own over a whole run, at most; past
// them a new phone takes the number of one that left without pressing a button.
constexpr int maxPhoneTokens = 256;
// The server reads no longer message: it closes the connection instead.
constexpr std::size_t maxPhoneMessage = 64;
// Messages of one phone beyond this many within a second are dropped.
constexpr int maxPhoneMessagesPerSecond = 60;
// The buttons of the phone's page, numbered from 0.
constexpr int phoneButtons = 4;

// A session code: 6 capital letters and digits from std::random_device.
std::string makeSessionCode();
// Whether a page's token is one: 8 to 32 letters and digits.
bool tokenValid(const std::string& token);
// Reads a message of a phone: "d" and a button's digit for its press, "u" and the digit for
// its release. False for anything else.
bool parsePhoneMessage(const std::string& text, int& button, bool& pressed);

// The times of a phone's last accepted messages, in microseconds, oldest at next once full.
struct RateWindow {
    std::int64_t times[maxPhoneMessagesPerSecond] = {};
    int count = 0;
    int next = 0;
};
// Whether a message at now fits in the limit, which then counts it: true while fewer than
// the limit's number of messages were accepted within the second before now.
bool rateAllows(RateWindow& window, std::int64_t now);

// One connection of a phone as the server holds it: the phone's seat (its joystick number
// less firstPhoneJoystick) and which of that seat's connections it is.
struct PhoneLink {
    int seat = -1;
    std::uint64_t generation = 0;
};

// Why a connection was refused.
enum class PhoneRefusal { none, wrongCode, badToken, full };
// What became of a message.
enum class PhoneVerdict { taken, dropped, close };

// Starts a session with this code: no phone known, nothing queued.
void startPhoneSession(const std::string& code);
// Takes a connection that gave this code and token: the page's phone gets its joystick number,
// the one it had before when it comes back, and the game hears it connected. A token that is
// still connected is taken over: its old connection counts as closed first.
PhoneRefusal openPhone(const std::string& code, const std::string& token, PhoneLink& link);
// Takes a message of the connection at now (microseconds of a steady clock): a press or a
// release of a button goes to the game. Every message counts against the rate. A press of a
// held button, a release of a free one and a press beyond the rate are dropped; a release of a
// held button goes through even beyond it, so that no button stays held. Malformed, overlong or
// from a connection taken over: close it.
PhoneVerdict phoneMessage(const PhoneLink& link, const std::string& text, std::int64_t now);
// The connection closed: its held buttons are let go and the game hears the phone gone.
void closePhone(const PhoneLink& link);
// Phones connected now.
int phonesConnected();

// Takes the phones' next event for the game into out; false when none is queued.
bool takePhoneEvent(sf::Event& out);
