// Test support, all in this header: a real window at a chosen size, a clean game state on the
// scripted platform, scripted events and frames read back as images.
#pragma once

#include "script.hpp"

#include "app/lobbyloop.hpp"
#include "core/globals.hpp"
#include "core/scale.hpp"
#include "match/match.hpp"
#include "roster/roster.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// The game's files that the running test swapped for images of its own, and their paths.
inline std::vector<std::pair<std::string*, std::string>> swappedFiles;

// Opens the window at that size, unless it is open at that size, as the desktop drawn at scale
// k: the world is the size divided by k.
inline void openWindow(sf::Vector2u size, int k = 1) {
    std::tie(desktopWidth, desktopHeight) = std::pair(int(size.x), int(size.y));
    useScale(k);
    if (!window.isOpen() || window.getSize() != size) {
        window.create(sf::VideoMode(size.x, size.y), "Twinrun test", sf::Style::None);
    }
    window.setView(worldView());
}

// Opens the window at screenSize(), makes that the screen size, sets the lobby up for it and
// resets the game's state (sound on), the script, the clock's frame limit, the sounds' record and
// both random sequences; afterwards puts the game's own files back. A test whose script ran dry
// fails.
class GameTest : public ::testing::Test {
  protected:
    virtual sf::Vector2u screenSize() const { return {800, 600}; }
    // Window pixels per world pixel.
    virtual int scale() const { return 1; }
    void SetUp() override {
        // Death tests run the test anew in a fresh process: forking one with a window open is
        // unsafe.
        testing::FLAGS_gtest_death_test_style = "threadsafe";
        openWindow(screenSize(), scale());
        players.clear();
        entities.clear();
        playerCount = bindingStep = entityCount = 0;
        awaitingConfirm = axisHeld = joinInProgress = matchRunning = soundMuted = false;
        std::tie(inkColor, backgroundColor) = std::pair(sf::Color::Black, sf::Color::White);
        beforePresent = nullptr;
        startScript();
        setupLobby();
        // The runtime's rand starts from the same seed in every test, whatever ran before.
        std::srand(1);
    }
    void TearDown() override {
        EXPECT_FALSE(scriptRanDry()) << "the test ran out of scripted input";
        // The game's own files back, the last swapped first.
        for (; !swappedFiles.empty(); swappedFiles.pop_back()) {
            std::remove(swappedFiles.back().first->c_str());
            *swappedFiles.back().first = swappedFiles.back().second;
        }
    }
};

// Adds a finished player, as a join would: a joystick and its five slots, or its keys as
// letters in the order jump, down, left, right ("WSAD").
inline void addPlayer(std::initializer_list<std::uint32_t> joystickSlots) {
    playerCount += 1;
    appendPlayer(newPlayer());
    players.back().device = "joystick";
    std::copy(joystickSlots.begin(), joystickSlots.end(), players.back().slot);
}
inline void addPlayer(const std::string& keys) {
    addPlayer({});
    players.back().device = "keyboard";
    std::transform(keys.begin(), keys.end(), players.back().slot,
                   [](char key) { return static_cast<std::uint32_t>(key - 'A'); });
}

// A match set up on a 1024 × 768 window with the real images and one keyboard player
// (WSAD), who stands on the floor (728) at x 30 as after its first tick.
class MatchTest : public GameTest {
  protected:
    sf::Vector2u screenSize() const override { return {1024, 768}; }
    void SetUp() override {
        GameTest::SetUp();
        addPlayer("WSAD");
        setupMatch();
        players[0].y = floorY;
        matchRunning = true;
    }
};

// The event of a word: "J" a press of a key (a letter, or Escape), "2:7" a press of button 7
// of joystick 2, "~J" and "~2:7" their releases, "2:X=-100" axis X of joystick 2 moved to -100
// (axes X Y Z R U V), "-2" joystick 2 unplugged, "+2" joystick 2 plugged in, "close" the window's
// close request, "blur" the window's loss of the focus.
inline sf::Event eventOf(const std::string& word) {
    sf::Event e{};
    const bool up = word[0] == '~';
    const char* w = word.c_str() + up;
    unsigned int id = 0, button = 0;
    char axis = 0;
    float position = 0;
    if (word == "close" || word == "blur") {
        e.type = word == "close" ? sf::Event::Closed : sf::Event::LostFocus;
    } else if ((w[0] == '-' || w[0] == '+') && std::sscanf(w + 1, "%u", &id) == 1) {
        e.type = w[0] == '-' ? sf::Event::JoystickDisconnected : sf::Event::JoystickConnected;
        e.joystickConnect.joystickId = id;
    } else if (std::sscanf(w, "%u:%c=%f", &id, &axis, &position) == 3) {
        e.type = sf::Event::JoystickMoved;
        e.joystickMove = {id, sf::Joystick::Axis(std::string("XYZRUV").find(axis)), position};
    } else if (std::sscanf(w, "%u:%u", &id, &button) == 2) {
        e.type = up ? sf::Event::JoystickButtonReleased : sf::Event::JoystickButtonPressed;
        e.joystickButton = {id, button};
    } else {
        e.type = up ? sf::Event::KeyReleased : sf::Event::KeyPressed;
        e.key.code = sf::Keyboard::Key(std::string(w) == "Escape" ? sf::Keyboard::Escape
                                                                  : sf::Keyboard::A + w[0] - 'A');
    }
    return e;
}

// The effects asked for since the script started or the last call, by name; forgets them.
inline std::string heard() {
    static const char* const names[] = {"taught", "joined", "ready", "unready", "start",  "jump",
                                        "coin",   "stun",   "out",   "over",    "hundred"};
    std::string said;
    for (const SoundRequest& request : std::exchange(soundRequests, {})) {
        said += (said.empty() ? "" : " ") + std::string(names[int(request.sound)]);
    }
    return said;
}

// Scripts the events of words separated by blanks; "|" ends a pass.
inline void script(const std::string& words) {
    std::istringstream stream(words);
    for (std::string word; stream >> word;) {
        scriptEvent(word == "|" ? std::nullopt : std::optional(eventOf(word)));
    }
}

// Supplies pass ends while a match runs, and one more for the lobby after it.
inline void scriptMatch() {
    scriptSource([] {
        scriptEvent();
        return matchRunning;
    });
}

// Runs n ticks of the match.
inline void ticks(int n) {
    for (Clock clock; n > 0; --n) {
        runTick(clock);
    }
}

// Appends an entity as a spawner would.
inline void addEntity(const char* name, float x, float y, float width = 64, float height = 64) {
    entities.push_back(Entity{name, x, y, width, height, false});
    entityCount += 1;
}

// Puts player p back as new at (x, y); the player.
inline Player& place(std::size_t p, float x, float y) {
    players[p] = Player{};
    std::tie(players[p].x, players[p].y) = std::pair(x, y);
    return players[p];
}

// The window's current contents, read before they are presented.
inline sf::Image grabWindow() {
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
}

// The colours of the image at the points, a letter each: k black, w white, r red, g green,
// b blue, c cyan, ? any other.
inline std::string colours(const sf::Image& image, std::initializer_list<sf::Vector2f> points) {
    const sf::Color known[] = {sf::Color::Black, sf::Color::White, sf::Color::Red,
                               sf::Color::Green, sf::Color::Blue,  sf::Color::Cyan};
    std::string seen;
    for (const sf::Vector2f& point : points) {
        const sf::Color c = image.getPixel(unsigned(point.x), unsigned(point.y));
        seen += "kwrgbc?"[std::find(std::begin(known), std::end(known), c) - known];
    }
    return seen;
}

// An image of w × h pixels of one colour.
inline sf::Image solidImage(unsigned int w, unsigned int h, sf::Color color) {
    sf::Image image;
    image.create(w, h, color);
    return image;
}

// Saves the image as a temporary PNG and makes it the game's file at path until the test ends.
inline void useImage(std::string& path, const sf::Image& image) {
    swappedFiles.emplace_back(&path, path);
    path = ::testing::TempDir() + "twinrun-" + std::to_string(::getpid()) + "-" +
           std::to_string(swappedFiles.size()) + ".png";
    EXPECT_TRUE(image.saveToFile(path));
}
