// Test support: window, state reset, scripted events and frame capture.
#include "support.hpp"

#include <cstdlib>
#include <unistd.h>

void resetGameState() {
    players.clear();
    playerCount = 0;
    bindingStep = 0;
    awaitingConfirm = false;
    pendingKey = sf::Keyboard::Escape;
    joinInProgress = false;
    matchRunning = false;
    axisHeld = false;
    lobbyAction = PlayerAction();
    event = sf::Event{};
    idlePath = "src/idle.gif";
    markPath = "src/mark.png";
    fontPath = "src/Pixellari.ttf";
    beforePresent = nullptr;
    startScript();
}

void GameTest::SetUp() {
    sf::err().rdbuf(nullptr);
    const sf::Vector2u size = screenSize();
    screenWidth = static_cast<int>(size.x);
    screenHeight = static_cast<int>(size.y);
    if (!window.isOpen() || window.getSize() != size) {
        window.create(sf::VideoMode(size.x, size.y), "Twinrun test", sf::Style::None);
    }
    ASSERT_TRUE(window.isOpen());
    resetGameState();
    static bool lobbyReady = false;
    if (!lobbyReady) {
        setupLobby();
        lobbyReady = true;
    }
}

void GameTest::TearDown() {
    EXPECT_FALSE(scriptRanDry()) << "the test ran out of scripted input";
    stopScript();
    beforePresent = nullptr;
}

sf::Event keyPressed(sf::Keyboard::Key key) {
    sf::Event e{};
    e.type = sf::Event::KeyPressed;
    e.key.code = key;
    return e;
}

sf::Event keyReleased(sf::Keyboard::Key key) {
    sf::Event e = keyPressed(key);
    e.type = sf::Event::KeyReleased;
    return e;
}

sf::Event buttonPressed(unsigned int joystickId, unsigned int button) {
    sf::Event e{};
    e.type = sf::Event::JoystickButtonPressed;
    e.joystickButton.joystickId = joystickId;
    e.joystickButton.button = button;
    return e;
}

sf::Event buttonReleased(unsigned int joystickId, unsigned int button) {
    sf::Event e = buttonPressed(joystickId, button);
    e.type = sf::Event::JoystickButtonReleased;
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

void scriptTap(sf::Keyboard::Key key) {
    scriptEvent(keyPressed(key));
    scriptEvent(keyReleased(key));
}

void addKeyboardPlayer(sf::Keyboard::Key jump, sf::Keyboard::Key down, sf::Keyboard::Key left,
                       sf::Keyboard::Key right) {
    playerCount += 1;
    Player player = newPlayer();
    player.device = "keyboard";
    player.jumpKey() = static_cast<std::uint32_t>(jump);
    player.downKey() = static_cast<std::uint32_t>(down);
    player.leftKey() = static_cast<std::uint32_t>(left);
    player.rightKey() = static_cast<std::uint32_t>(right);
    appendPlayer(player);
}

void addJoystickPlayer(unsigned int joystickId, unsigned int jump, unsigned int down,
                       unsigned int left, unsigned int right, unsigned int axis) {
    playerCount += 1;
    Player player = newPlayer();
    player.device = "joystick";
    player.joystickId() = joystickId;
    player.jumpButton() = jump;
    player.downButton() = down;
    player.leftButton() = left;
    player.rightButton() = right;
    player.axis() = axis;
    appendPlayer(player);
}

sf::Image grabWindow() {
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
}

FrameRecorder::FrameRecorder() {
    beforePresent = [this] {
        prompts.push_back(promptText.getString().toAnsiString());
        if (keepImages) {
            images.push_back(grabWindow());
        }
    };
}

FrameRecorder::~FrameRecorder() {
    beforePresent = nullptr;
}

std::string writeSolidImage(unsigned int w, unsigned int h, sf::Color color,
                            const std::string& name) {
    sf::Image image;
    image.create(w, h, color);
    const std::string path =
        ::testing::TempDir() + "twinrun-" + std::to_string(::getpid()) + "-" + name + ".png";
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}

::testing::AssertionResult sameColor(sf::Color actual, sf::Color expected) {
    if (actual.r == expected.r && actual.g == expected.g && actual.b == expected.b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "colour (" << int(actual.r) << ", " << int(actual.g) << ", " << int(actual.b)
           << ") instead of (" << int(expected.r) << ", " << int(expected.g) << ", "
           << int(expected.b) << ")";
}
