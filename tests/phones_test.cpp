// Phones: their messages, the session's code, the limits per phone and per address, their
// one-press join and joystick numbers from 8 up kept by token, the bounded queue of the events
// the game gets through the platform, and the states the game tells their pages.
#include "support.hpp"

#include "core/phones/phones.hpp"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

const std::string code = "AB12CD";

// The events the game polls from the phones' queue, pass after pass until one brings none (or
// only the first passes), in the notation of the scripts ("+8" connected, "-8" gone, "8:2" and
// "~8:2" a press and a release of button 2).
std::string polled(int passes = 1000) {
    std::string words;
    for (std::size_t before = 1; passes-- > 0 && before != words.size();) {
        before = words.size();
        for (sf::Event e{}; takePhoneEvent(e);) {
            // A connection's joystick number is the first member of a button's too.
            const auto [joystick, button] = e.joystickButton;
            const char* form = e.type == sf::Event::JoystickConnected       ? "+%u"
                               : e.type == sf::Event::JoystickDisconnected  ? "-%u"
                               : e.type == sf::Event::JoystickButtonPressed ? "%u:%u"
                                                                            : "~%u:%u";
            char word[24];
            std::snprintf(word, sizeof word, form, joystick, button);
            words += (words.empty() ? "" : " ") + std::string(word);
        }
    }
    return words;
}

// Phone n's page (its token "phone1000" + n) connects at time at, refused for that reason or
// taken; its link.
PhoneLink open(int n, std::int64_t at = 0, PhoneRefusal refusal = PhoneRefusal::none) {
    PhoneLink link;
    EXPECT_EQ(openPhone(code, "phone" + std::to_string(1000 + n), link, at), refusal) << n;
    return link;
}

// Sends the messages, separated by blanks, step microseconds apart (one millisecond) from time
// at; the verdicts, a letter each: t taken, d dropped, c close.
std::string send(const PhoneLink& link, const std::string& messages, std::int64_t at = 0,
                 std::int64_t step = 1000) {
    std::istringstream stream(messages);
    std::string verdicts;
    for (std::string message; stream >> message; at += step) {
        verdicts += "tdc"[int(phoneMessage(link, message, at))];
    }
    return verdicts;
}

// n presses and releases of button 0, one after the other.
std::string taps(int n) {
    std::string messages;
    for (int i = 0; i < n; ++i) {
        messages += " d0 u0";
    }
    return messages;
}

// The states told to the controllers since the last call, as "8 joined 1" (joystick, state,
// player), each checked for its player's colour; forgets them.
std::string told() {
    static const char* const names[] = {"notJoined", "joined", "ready", "notReady", "running",
                                        "stunned",   "out",    "won",   "lobby"};
    std::string words;
    for (const auto& [joystick, state, player, colour] : controllerTellings) {
        words += (words.empty() ? "" : " ") + std::to_string(joystick) + " " + names[int(state)] +
                 " " + std::to_string(player);
        words += player >= 0 && colour != playerColor(player, false) ? " (colour)" : "";
    }
    controllerTellings.clear();
    return words;
}

} // namespace

class Phones : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startPhoneSession(code);
    }
    void TearDown() override {
        startPhoneSession("");
        GameTest::TearDown();
    }
};

TEST_F(Phones, OnlyTheSessionsCodeAndAWellFormedTokenConnectAndAtMost64PhonesAtOnce) {
    // The code is six capital letters and digits, drawn afresh each time.
    std::string drawn;
    for (int i = 0; i < 200; ++i) {
        drawn += makeSessionCode();
    }
    EXPECT_EQ(drawn.size(), 1200u);
    EXPECT_EQ(std::set<char>(drawn.begin(), drawn.end()).size(), 36u);
    using R = PhoneRefusal;
    // clang-format off
    const std::tuple<std::string, std::string, PhoneRefusal> tries[] = {
        {"AB12CE", "goodtoken", R::wrongCode}, {"ab12cd", "goodtoken", R::wrongCode},
        {code, "short7c", R::badToken}, {code, std::string(33, 'a'), R::badToken},
        {code, "good-token", R::badToken},
        {code, "8chars00", R::none}, {code, std::string(32, 'Z'), R::none}};
    // clang-format on
    for (const auto& [given, page, refusal] : tries) {
        PhoneLink link;
        EXPECT_EQ(openPhone(given, page, link, 0), refusal) << given << " " << page;
    }
    EXPECT_EQ(polled(), "+8 +9");
    for (int n = 2; n < 64; ++n) {
        open(n);
    }
    // Full: a new phone is refused, a page back takes its own place over.
    open(64, 0, R::full);
    closePhone(open(2));
    open(64);
}

TEST_F(Phones, APressAndAReleaseOfButtons0To3AreTheMessagesAndAnythingElseCloses) {
    const PhoneLink link = open(0);
    // Taken, dropped (a press of a held button, a release of a free one) or closing.
    EXPECT_EQ(send(link, "d0 u0 d3 d2 u3 u2 d1 d1 u1 u1 u0"), "tttttttdtdd");
    for (const std::string& odd : std::initializer_list<std::string>{
             "d4", "x0", "D0", "d", "d00", "", "u/", " d0", "d0\n", std::string("d\0", 2)}) {
        EXPECT_EQ(phoneMessage(link, odd, 0), PhoneVerdict::close) << odd;
    }
    EXPECT_EQ(polled(), "+8 8:0 ~8:0 8:3 8:2 ~8:3 ~8:2 8:1 ~8:1");
}

TEST_F(Phones, APhoneHas60MessagesAnd4ConnectionsASecondOverAllItsConnections) {
    PhoneLink link = open(0);
    // 60 within 59 ms over two connections, which leave buttons 1 and 3 held. Then a press is
    // one too many, and so would be a release, but a release of a held button passes all the
    // same. Once the first message is a second old there is room for one more.
    EXPECT_EQ(send(link, "d2 u2 d3 u3" + taps(13), 0), std::string(30, 't'));
    link = open(0, 30000);
    EXPECT_EQ(send(link, "d2 u2" + taps(13) + " d1 d3", 30000), std::string(30, 't'));
    polled();
    EXPECT_EQ(send(link, "d2 u0 u1", 60000), "ddt");
    EXPECT_EQ(send(link, "d2", 1000000), "t");
    // Each phone has a rate of its own.
    EXPECT_EQ(send(open(1), "d0 u0", 60000), "tt");
    // Two more connections fit in the second, a fifth is refused, and the limit is the
    // token's: another phone connects all the same. Each connection takes the one before over,
    // which lets go of its held buttons once and speaks no more.
    open(0, 500000);
    open(0, 999000);
    open(0, 999500, PhoneRefusal::tooOften);
    open(2, 999500);
    link = open(0, 1000000);
    EXPECT_EQ(polled(), "~8:1 8:2 +9 9:0 ~9:0 ~8:2 ~8:3 -8 +8 -8 +8 +10 -8 +8");
}

TEST_F(Phones, AFullQueueDropsPressesButNeverAReleaseOrADisconnection) {
    const PhoneLink link = open(0);
    send(link, "d1");
    // Presses and releases within the rate, until 1024 events wait: then presses are dropped,
    // and so are the releases of the buttons they did not press, and new phones are refused.
    EXPECT_EQ(send(link, taps(550), 20000, 20000), std::string(1022, 't') + std::string(78, 'd'));
    open(1, 0, PhoneRefusal::full);
    EXPECT_EQ(send(link, "u1", 30000000), "t");
    closePhone(link);
    closePhone(link);
    // The game takes 256 a pass, the release and the disconnection (once) last.
    const std::string first = polled(1);
    EXPECT_EQ(std::count(first.begin(), first.end(), ' '), 255);
    const std::string rest = polled();
    EXPECT_EQ(rest.substr(rest.size() - 16), "8:0 ~8:0 ~8:1 -8");
}

TEST_F(Phones, APhoneKeepsItsNumberFrom8ByItsTokenAndANewOneTakesTheNumberFreedFirst) {
    // 256 numbers, the first phone's joined. A new phone takes the number freed first but the
    // joined one's. While the game has not taken a phone's disconnection its number is not
    // free; then it is the one freed last. A phone comes back to its own number, with a player
    // or while nobody took it.
    for (int n = 0; n < maxPhoneTokens; ++n) {
        closePhone(open(n));
    }
    notePhoneJoined(firstPhoneJoystick);
    polled();
    closePhone(open(300));
    EXPECT_EQ(open(301).seat, 2);
    EXPECT_EQ(open(0).seat, 0);
    polled();
    EXPECT_EQ(open(302).seat, 3);
    EXPECT_EQ(open(300).seat, 1);
    // When every phone gone had joined, a new one takes the number of the one gone longest
    // (1 to 3 are taken).
    for (unsigned int n = 0; n < maxPhoneTokens; ++n) {
        notePhoneJoined(firstPhoneJoystick + n);
    }
    EXPECT_EQ(open(400).seat, 4);
}

TEST(PhoneAddresses, EightConnectionsWaitPerAddressAndTenWrongCodesASecondLockItOut) {
    AddressBook book;
    for (int i = 0; i < maxWaitingPerAddress; ++i) {
        EXPECT_TRUE(admitWaiting(book, "A", 0));
    }
    EXPECT_FALSE(admitWaiting(book, "A", 0));
    EXPECT_TRUE(admitWaiting(book, "B", 0));
    endWaiting(book, "A", 0);
    EXPECT_TRUE(admitWaiting(book, "A", 0));
    // Wrong codes of an address, 10 a second, go on for ever; the 11th within a second locks
    // the address out for a minute, and the address alone.
    for (int i = 0; i < 30; ++i) {
        noteWrongCode(book, "C", i * 100000);
    }
    EXPECT_FALSE(addressLocked(book, "C", 2900000));
    noteWrongCode(book, "C", 2950000);
    EXPECT_TRUE(addressLocked(book, "C", 62949999));
    EXPECT_FALSE(addressLocked(book, "C", 62950000) || addressLocked(book, "A", 2950000));
    // Addresses that hold nothing any more are forgotten: at once when their last connection
    // ends, else once the book holds many.
    for (int i = 0; i < 300; ++i) {
        noteWrongCode(book, std::to_string(i), 0);
    }
    admitWaiting(book, "D", 70000000);
    endWaiting(book, "D", 70000000);
    EXPECT_EQ(book.size(), 2u);
}

TEST_F(Phones, APhoneJoinsAtItsFirstPressAndEachControllerIsToldWhereItsPlayerStands) {
    // Player 0, on the keyboard, has nothing to be told and is never ready: no match starts.
    addPlayer("WSAD");
    // A lobby pass with these events; "match" a match's first tick; "stun p" player p hit by a
    // hammer, "calm p" at its stun's end and "out p" past the left edge, each for a tick;
    // "back" everyone back from a match over or left with Escape, in a lobby pass.
    // clang-format off
    const std::pair<std::string, const char*> moments[] = {
        {"+8", "8 notJoined -1"}, {"8:0 ~8:0", "8 joined 1"}, {"", ""}, {"8:0", "8 ready 1"},
        {"-8 +8", "8 notReady 1"}, {"+9 9:3", "9 notJoined -1 9 joined 2"},
        {"match", "8 running 1 9 running 2"}, {"stun 1", "8 stunned 1"},
        {"calm 1", "8 running 1"}, {"out 1", "8 out 1"}, {"out 2", "8 lobby 1 9 won 2"},
        {"back", ""}, {"9:0", "9 ready 2"}, {"match", "8 running 1 9 running 2"},
        {"back", "8 notReady 1 9 notReady 2"}};
    // clang-format on
    for (const auto& [moment, expected] : moments) {
        const std::string word = moment.substr(0, moment.find(' '));
        const int p = moment.empty() ? 0 : moment.back() - '0';
        if (word == "match") {
            std::for_each(players.begin(), players.end(), [](Player& one) { one.ready = false; });
            matchRunning = true;
            matchWinner = -1;
            setupMatch();
            players[0].alive = false;
        } else if (word == "stun" || word == "calm") {
            players[p].hitTimer = word == "stun" ? 0 : 100;
        } else if (word == "out") {
            players[p].x = -500.0f;
        } else if (word == "back") {
            matchRunning = false;
            std::for_each(players.begin(), players.end(), [](Player& one) { one.alive = true; });
        }
        if (matchRunning) {
            ticks(1);
        } else {
            script((word == "back" ? "" : moment) + " |");
            lobbyPass();
        }
        EXPECT_EQ(told(), expected) << moment;
    }
    // A phone joins at its first press with the page's buttons 0 to 3 as JUMP, DOWN, LEFT and
    // RIGHT.
    const std::vector<std::uint32_t> slots(players[1].slot, players[1].slot + 5);
    EXPECT_EQ(slots, (std::vector<std::uint32_t>{8, 0, 1, 2, 3}));
}
