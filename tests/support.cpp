// Test support: window, state reset, scripted events and frame capture.
#include "support.hpp"

#include <unistd.h>

void GameTest::SetUp() {
    sf::err().rdbuf(nullptr);
    const sf::Vector2u size = screenSize();
    screenWidth = static_cast<int>(size.x);
    screenHeight = static_cast<int>(size.y);
    if (!window.isOpen() || window.getSize() != size) {
        window.create(sf::VideoMode(size.x, size.y), "Twinrun test", sf::Style::None);
    }
    players.clear();
    playerCount = 0;
    bindingStep = 0;
    awaitingConfirm = false;
    axisHeld = false;
    pendingButton = 0;
    pendingAxis = sf::Joystick::X;
    joinInProgress = false;
    matchRunning = false;
    entities.clear();
    entityCount = 0;
    inkColor = sf::Color::Black;
    backgroundColor = sf::Color::White;
    // Tests may swap any image or the font for one of their own: each starts from the game's.
    static std::string* const paths[] = {&idlePath,      &markPath,    &groundPath,  &dinoLeftPath,
                                         &dinoRightPath, &cactus0Path, &cactus1Path, &coinPath,
                                         &hammerPath,    &cloudPath,   &birdPath,    &sawPath,
                                         &fontPath};
    static const std::vector<std::string> games([] {
        std::vector<std::string> all;
        for (const std::string* path : paths) {
            all.push_back(*path);
        }
        return all;
    }());
    for (std::size_t i = 0; i < games.size(); ++i) {
        *paths[i] = games[i];
    }
    beforePresent = nullptr;
    startScript();
    static const bool lobbyReady = (setupLobby(), true);
    (void)lobbyReady;
    // The runtime's rand starts from the same seed in every test, whatever ran before.
    std::srand(1);
}

void GameTest::TearDown() {
    EXPECT_FALSE(scriptRanDry()) << "the test ran out of scripted input";
    beforePresent = nullptr;
}

void MatchTest::SetUp() {
    GameTest::SetUp();
    addKeyboardPlayer(sf::Keyboard::Up, sf::Keyboard::Down, sf::Keyboard::Left,
                      sf::Keyboard::Right);
    setupMatch();
    players[0].y = floorY;
    matchRunning = true;
}

sf::Event keyEvent(sf::Event::EventType type, sf::Keyboard::Key key) {
    sf::Event e{};
    e.type = type;
    e.key.code = key;
    return e;
}

sf::Event buttonEvent(sf::Event::EventType type, unsigned int joystickId, unsigned int button) {
    sf::Event e{};
    e.type = type;
    e.joystickButton.joystickId = joystickId;
    e.joystickButton.button = button;
    return e;
}

sf::Event axisMoved(unsigned int joystickId, sf::Joystick::Axis axis, float position) {
    sf::Event e{};
    e.type = sf::Event::JoystickMoved;
    e.joystickMove.joystickId = joystickId;
    e.joystickMove.axis = axis;
    e.joystickMove.position = position;
    return e;
}

sf::Event closeRequest() {
    sf::Event e{};
    e.type = sf::Event::Closed;
    return e;
}

void scriptPresses(std::initializer_list<sf::Keyboard::Key> keys) {
    for (sf::Keyboard::Key key : keys) {
        scriptEvent(keyEvent(sf::Event::KeyPressed, key));
    }
}

void scriptButtons(unsigned int joystickId, std::initializer_list<unsigned int> buttons) {
    for (unsigned int button : buttons) {
        scriptEvent(buttonEvent(sf::Event::JoystickButtonPressed, joystickId, button));
    }
}

void scriptIdle(int passes) {
    scriptSource([passes]() mutable {
        if (passes-- <= 0) {
            return false;
        }
        scriptPassEnd();
        return true;
    });
}

void addKeyboardPlayer(sf::Keyboard::Key jump, sf::Keyboard::Key down, sf::Keyboard::Key left,
                       sf::Keyboard::Key right) {
    playerCount += 1;
    Player player = newPlayer();
    player.device = "keyboard";
    player.slot[0] = static_cast<std::uint32_t>(jump);
    player.slot[1] = static_cast<std::uint32_t>(down);
    player.slot[2] = static_cast<std::uint32_t>(left);
    player.slot[3] = static_cast<std::uint32_t>(right);
    appendPlayer(player);
}

void addJoystickPlayer(std::initializer_list<std::uint32_t> slots) {
    playerCount += 1;
    Player player = newPlayer();
    player.device = "joystick";
    std::copy(slots.begin(), slots.end(), player.slot);
    appendPlayer(player);
}

void addEntity(const char* name, float x, float y, float width, float height) {
    entities.push_back(Entity{name, x, y, width, height, false});
    entityCount += 1;
}

void expectLobbyState(int records) {
    EXPECT_EQ(static_cast<int>(players.size()), records);
    EXPECT_EQ(playerCount, records);
    EXPECT_EQ(bindingStep, 0);
    EXPECT_FALSE(awaitingConfirm);
    EXPECT_FALSE(axisHeld);
    EXPECT_FALSE(joinInProgress);
}

sf::Image grabWindow() {
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
}

void recordPrompts(std::vector<std::string>& prompts) {
    beforePresent = [&prompts] { prompts.push_back(promptText.getString().toAnsiString()); };
}

std::string solidImage(unsigned int w, unsigned int h, sf::Color color) {
    sf::Image image;
    image.create(w, h, color);
    const std::string path = ::testing::TempDir() + "twinrun-" + std::to_string(::getpid()) + "-" +
                             std::to_string(color.toInteger()) + ".png";
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}
