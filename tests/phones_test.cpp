// Phones: their messages, the session's code, the limits, their joystick numbers from 8 up
// kept by token, the events the game gets through the platform, and the lobby's card.
#include "support.hpp"

#include "core/phones.hpp"
#include "roster/phonecard.hpp"

#include <set>

namespace {

const std::string code = "AB12CD";

// The events the game polls from the phones' queue, in the notation of the scripts ("+8"
// connected, "-8" gone, "8:2" and "~8:2" a press and a release of button 2).
std::string polled() {
    script("|");
    std::string words;
    while (pollInput()) {
        const bool button = event.type == sf::Event::JoystickButtonPressed ||
                            event.type == sf::Event::JoystickButtonReleased;
        words += words.empty() ? "" : " ";
        words += event.type == sf::Event::JoystickConnected        ? "+"
                 : event.type == sf::Event::JoystickDisconnected   ? "-"
                 : event.type == sf::Event::JoystickButtonReleased ? "~"
                                                                   : "";
        words += button ? std::to_string(event.joystickButton.joystickId) + ":" +
                              std::to_string(event.joystickButton.button)
                        : std::to_string(event.joystickConnect.joystickId);
    }
    return words;
}

// A page's token for phone n.
std::string token(int n) {
    return "phone" + std::to_string(1000 + n);
}

PhoneLink open(int n) {
    PhoneLink link;
    EXPECT_EQ(openPhone(code, token(n), link), PhoneRefusal::none) << n;
    return link;
}

// Sends the messages, separated by blanks, one millisecond apart from time at; the verdicts,
// a letter each: t taken, d dropped, c close.
std::string send(const PhoneLink& link, const std::string& messages, std::int64_t at = 0) {
    std::istringstream stream(messages);
    std::string verdicts;
    for (std::string message; stream >> message; at += 1000) {
        verdicts += "tdc"[int(phoneMessage(link, message, at))];
    }
    return verdicts;
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
        phoneJoinAddress.clear();
        GameTest::TearDown();
    }
};

TEST_F(Phones, OnlyTheSessionsCodeAndAWellFormedTokenConnectAndAtMost64PhonesAtOnce) {
    // The code is six capital letters and digits, drawn afresh each time.
    std::string drawn;
    for (int i = 0; i < 200; ++i) {
        const std::string one = makeSessionCode();
        EXPECT_EQ(one.size(), 6u);
        drawn += one;
    }
    EXPECT_EQ(drawn.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), std::string::npos);
    EXPECT_EQ(std::set<char>(drawn.begin(), drawn.end()).size(), 36u);
    using R = PhoneRefusal;
    // clang-format off
    const std::tuple<std::string, std::string, PhoneRefusal> tries[] = {
        {"AB12CE", "goodtoken", R::wrongCode}, {"ab12cd", "goodtoken", R::wrongCode},
        {"AB12C", "goodtoken", R::wrongCode}, {"", "goodtoken", R::wrongCode},
        {code, "short7c", R::badToken}, {code, std::string(33, 'a'), R::badToken},
        {code, "good-token", R::badToken}, {code, "", R::badToken},
        {code, "8chars00", R::none}, {code, std::string(32, 'Z'), R::none}};
    // clang-format on
    for (const auto& [given, page, refusal] : tries) {
        PhoneLink link;
        EXPECT_EQ(openPhone(given, page, link), refusal) << given << " " << page;
    }
    EXPECT_EQ(polled(), "+8 +9");
    std::vector<PhoneLink> links;
    for (int n = 2; n < 64; ++n) {
        links.push_back(open(n));
    }
    // Full: a new phone is refused, a page back takes its own place over.
    PhoneLink refused;
    EXPECT_EQ(openPhone(code, token(64), refused), PhoneRefusal::full);
    EXPECT_EQ(openPhone(code, token(2), refused), PhoneRefusal::none);
    closePhone(links[1]);
    EXPECT_EQ(phonesConnected(), 63);
    EXPECT_EQ(openPhone(code, token(64), refused), PhoneRefusal::none);
    // Without a session nothing connects, not even with no code.
    startPhoneSession("");
    EXPECT_EQ(openPhone("", token(1), refused), PhoneRefusal::wrongCode);
}

TEST_F(Phones, APressAndAReleaseOfButtons0To3AreTheMessagesAndAnythingElseCloses) {
    const PhoneLink link = open(0);
    // Taken, dropped (a press of a held button, a release of a free one) or closing.
    const std::pair<const char*, const char*> sent[] = {
        {"d0 u0 d3 d2 u3 u2", "tttttt"},
        {"d1 d1 u1 u1 u0", "tdtdd"},
    };
    for (const auto& [messages, verdicts] : sent) {
        EXPECT_EQ(send(link, messages), verdicts) << messages;
    }
    for (const std::string& odd : std::initializer_list<std::string>{
             "d4", "x0", "D0", "d", "d00", "", "u/", " d0", "d0\n", std::string("d\0", 2),
             std::string(maxPhoneMessage + 1, 'd')}) {
        EXPECT_EQ(phoneMessage(link, odd, 0), PhoneVerdict::close) << odd;
    }
    EXPECT_EQ(polled(), "+8 8:0 ~8:0 8:3 8:2 ~8:3 ~8:2 8:1 ~8:1");
}

TEST_F(Phones, MessagesBeyond60InASecondAreDroppedButAReleaseOfAHeldButtonGoesThrough) {
    const PhoneLink link = open(0);
    std::string more;
    for (int i = 0; i < 29; ++i) {
        more += " d1 u1";
    }
    // 60 within 59 ms, which leave buttons 0 and 1 held. Then a press is one too many, and so
    // would be a release, but a release of a held button passes all the same. Once the first
    // message is a second old there is room for one more.
    EXPECT_EQ(send(link, "d0" + more + " d1"), std::string(60, 't'));
    EXPECT_EQ(send(link, "d2 u3 u0", 60000), "ddt");
    EXPECT_EQ(send(link, "d2", 999999), "d");
    EXPECT_EQ(send(link, "d3", 1000000), "t");
    EXPECT_EQ(send(link, "d2", 1000500), "d");
    EXPECT_EQ(send(link, "u3 u1", 1000600), "tt");
    // Each phone has a rate of its own.
    EXPECT_EQ(send(open(1), "d0 u0", 60000), "tt");
}

TEST_F(Phones, EachPhoneKeepsItsJoystickNumberFrom8AndAPhoneGoneLetsGoOfItsButtons) {
    const PhoneLink first = open(0);
    PhoneLink second = open(1);
    send(first, "d3");
    send(second, "d0 d1 u0");
    closePhone(second);
    closePhone(second);
    // A new page takes the next number; a page back takes its old one.
    open(2);
    second = open(1);
    EXPECT_EQ(polled(), "+8 +9 8:3 9:0 9:1 ~9:0 ~9:1 -9 +10 +9");
    // The same page again while its old connection is open takes it over: that one is gone
    // and speaks no more.
    const PhoneLink again = open(0);
    EXPECT_EQ(send(first, "u3"), "c");
    closePhone(first);
    EXPECT_EQ(send(again, "d2"), "t");
    EXPECT_EQ(polled(), "~8:3 -8 +8 8:2");
    EXPECT_EQ(phonesConnected(), 3);
    // Up to 256 phones keep their numbers. Past them, a new phone takes the number of one
    // gone without a press, as it can't have joined; when every one pressed, none.
    for (int n = 3; n < maxPhoneTokens; ++n) {
        const PhoneLink link = open(n);
        send(link, n == 100 ? "" : "d0 u0");
        closePhone(link);
    }
    PhoneLink late;
    EXPECT_EQ(openPhone(code, token(maxPhoneTokens), late), PhoneRefusal::none);
    EXPECT_EQ(late.seat, 100);
    send(late, "d0");
    closePhone(late);
    EXPECT_EQ(openPhone(code, token(maxPhoneTokens + 1), late), PhoneRefusal::full);
    EXPECT_EQ(openPhone(code, token(200), late), PhoneRefusal::none);
    EXPECT_EQ(late.seat, 200);
}

TEST_F(Phones, APhonesFirstPressJoinsItWithButtons0To3AsJumpDownLeftRightAndGoingStopsIt) {
    const PhoneLink link = open(0);
    // The first press, JUMP like any, joins at once with the page's buttons, and only joins.
    send(link, "d0 u0");
    script("|");
    lobbyPass();
    ASSERT_EQ(playerCount, 1);
    const std::vector<std::uint32_t> slots(players[0].slot, players[0].slot + 6);
    EXPECT_EQ(slots, (std::vector<std::uint32_t>{8, 0, 1, 2, 3, 0}));
    EXPECT_EQ(players[0].device + " " + heard() + " " + std::to_string(players[0].ready),
              "joystick joined 0");
    // In a match, right held; then the phone goes.
    setupMatch();
    send(link, "d3", 3000000);
    script("|");
    handleMatchEvents();
    EXPECT_EQ(players[0].speed, 1.0f);
    closePhone(link);
    script("|");
    handleMatchEvents();
    EXPECT_EQ(players[0].speed, 0.0f);
}

TEST_F(Phones, TheLobbyShowsTheAddressAndItsCodeInTheBottomRightCornerOnlyWithPhones) {
    for (const sf::Vector2u size : {sf::Vector2u{1024, 768}, sf::Vector2u{1920, 1080}}) {
        openWindow(size);
        while (playerCount < 4) {
            addPlayer("WSAD");
        }
        sf::Image frames[2];
        for (const int phones : {0, 1}) {
            phones ? preparePhoneCard("http://192.168.100.200:65535/#AB12CD")
                   : phoneJoinAddress.clear();
            beforePresent = [&frames, phones] { frames[phones] = grabWindow(); };
            script("|");
            lobbyPass();
        }
        // Every pixel the card changes lies in the bottom-right quarter, inside the margins,
        // and clear of the figures in their row (at half the height, 118 high; the last at 4/5
        // of the width, 111 wide).
        int changed = 0, outside = 0;
        for (unsigned y = 0; y < size.y; ++y) {
            for (unsigned x = 0; x < size.x; ++x) {
                const bool inCorner = (x > size.x * 0.8 + 56 || y > size.y / 2 + 60) &&
                                      x > size.x / 2 && y > size.y / 2 && x < size.x - 16 &&
                                      y < size.y - 16;
                const bool differs = frames[0].getPixel(x, y) != frames[1].getPixel(x, y);
                changed += differs;
                outside += differs && !inCorner;
            }
        }
        EXPECT_TRUE(changed > 3000 && outside == 0) << size.x << ": " << changed << " " << outside;
    }
}

TEST_F(Phones, EachControllerIsToldWhereItsPlayerStandsWhenThatChanges) {
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
        std::istringstream words(moment);
        std::string word;
        int p = 0;
        words >> word >> p;
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
}
