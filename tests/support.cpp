// Test support: window, state reset, scripted events and frame capture.
#include "support.hpp"

#include <unistd.h>

#include <cstdio>
#include <tuple>

namespace {

// The temporary images made by the running test.
std::vector<std::string> madeImages;

} // namespace

void openWindow(sf::Vector2u size) {
    screenWidth = static_cast<int>(size.x);
    screenHeight = static_cast<int>(size.y);
    if (!window.isOpen() || window.getSize() != size) {
        window.create(sf::VideoMode(size.x, size.y), "Twinrun test", sf::Style::None);
    }
}

void GameTest::SetUp() {
    sf::err().rdbuf(nullptr);
    openWindow(screenSize());
    players.clear();
    entities.clear();
    playerCount = bindingStep = entityCount = 0;
    awaitingConfirm = axisHeld = joinInProgress = matchRunning = false;
    inkColor = sf::Color::Black;
    backgroundColor = sf::Color::White;
    // Tests swap these files for their own; each test starts from the game's.
    auto files = std::tie(idlePath, markPath, groundPath, dinoLeftPath, dinoRightPath, cactus0Path,
                          coinPath, fontPath);
    static const auto games =
        std::apply([](auto&... file) { return std::make_tuple(file...); }, files);
    files = games;
    beforePresent = nullptr;
    startScript();
    static const bool lobbyReady [[maybe_unused]] = (setupLobby(), true);
    // The runtime's rand starts from the same seed in every test, whatever ran before.
    std::srand(1);
}

void GameTest::TearDown() {
    EXPECT_FALSE(scriptRanDry()) << "the test ran out of scripted input";
    beforePresent = nullptr;
    for (const std::string& path : madeImages) {
        std::remove(path.c_str());
    }
    madeImages.clear();
}

void MatchTest::SetUp() {
    GameTest::SetUp();
    addPlayer("WSAD");
    setupMatch();
    players[0].y = floorY;
    matchRunning = true;
}

sf::Event eventOf(const std::string& word) {
    sf::Event e{};
    const bool up = word[0] == '~';
    const char* w = word.c_str() + (up ? 1 : 0);
    unsigned int id = 0, button = 0;
    char axis = 0;
    float position = 0;
    if (word == "close") {
        e.type = sf::Event::Closed;
    } else if (std::sscanf(w, "-%u", &id) == 1) {
        e.type = sf::Event::JoystickDisconnected;
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

void script(const std::string& words) {
    std::istringstream stream(words);
    for (std::string word; stream >> word;) {
        if (word == "|") {
            scriptPassEnd();
        } else {
            scriptEvent(eventOf(word));
        }
    }
}

void scriptIdle(int passes) {
    scriptSource([passes]() mutable {
        scriptPassEnd();
        return passes-- > 0;
    });
}

void addPlayer(const std::string& keys) {
    addPlayer({});
    players.back().device = "keyboard";
    std::transform(keys.begin(), keys.end(), players.back().slot,
                   [](char key) { return static_cast<std::uint32_t>(key - 'A'); });
}

void addPlayer(std::initializer_list<std::uint32_t> joystickSlots) {
    playerCount += 1;
    appendPlayer(newPlayer());
    players.back().device = "joystick";
    std::copy(joystickSlots.begin(), joystickSlots.end(), players.back().slot);
}

void addEntity(const char* name, float x, float y, float width, float height) {
    entities.push_back(Entity{name, x, y, width, height, false});
    entityCount += 1;
}

Player& place(std::size_t p, float x, float y) {
    players[p] = Player{};
    players[p].x = x;
    players[p].y = y;
    return players[p];
}

void expectLobbyState(int records) {
    EXPECT_EQ(static_cast<int>(players.size()), records);
    EXPECT_EQ(playerCount, records);
    EXPECT_FALSE(bindingStep || awaitingConfirm || axisHeld || joinInProgress);
}

sf::Image grabWindow() {
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
}

std::string colours(const sf::Image& image, std::initializer_list<sf::Vector2f> points) {
    const sf::Color known[] = {sf::Color::Black, sf::Color::White, sf::Color::Red,
                               sf::Color::Green, sf::Color::Blue,  sf::Color::Cyan};
    std::string seen;
    for (const sf::Vector2f& point : points) {
        const sf::Color c =
            image.getPixel(static_cast<unsigned>(point.x), static_cast<unsigned>(point.y));
        seen += "kwrgbc?"[std::find(std::begin(known), std::end(known), c) - known];
    }
    return seen;
}

sf::Image solidImage(unsigned int w, unsigned int h, sf::Color color) {
    sf::Image image;
    image.create(w, h, color);
    return image;
}

std::string savedImage(const sf::Image& image) {
    madeImages.push_back(::testing::TempDir() + "twinrun-" + std::to_string(::getpid()) + "-" +
                         std::to_string(madeImages.size()) + ".png");
    EXPECT_TRUE(image.saveToFile(madeImages.back()));
    return madeImages.back();
}
