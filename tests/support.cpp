// Test support: window, state reset, scripted events and frame capture.
#include "support.hpp"

#include <unistd.h>

#include <sstream>

void GameTest::SetUp() {
    sf::err().rdbuf(nullptr);
    const sf::Vector2u size = screenSize();
    screenWidth = static_cast<int>(size.x);
    screenHeight = static_cast<int>(size.y);
    if (!window.isOpen() || window.getSize() != size) {
        window.create(sf::VideoMode(size.x, size.y), "Twinrun test", sf::Style::None);
    }
    players.clear();
    entities.clear();
    playerCount = bindingStep = entityCount = 0;
    awaitingConfirm = axisHeld = joinInProgress = matchRunning = false;
    inkColor = sf::Color::Black;
    backgroundColor = sf::Color::White;
    // Tests swap these files for their own; each test starts from the game's.
    static const auto games =
        std::make_tuple(idlePath, markPath, dinoLeftPath, cactus0Path, coinPath, fontPath);
    std::tie(idlePath, markPath, dinoLeftPath, cactus0Path, coinPath, fontPath) = games;
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
    addKeyboardPlayer("WSAD");
    setupMatch();
    players[0].y = floorY;
    matchRunning = true;
}

sf::Event eventOf(const std::string& word) {
    sf::Event e{};
    const bool release = word[0] == '~';
    const std::string w = word.substr(release ? 1 : 0);
    const std::size_t colon = w.find(':');
    const std::size_t equals = w.find('=');
    if (w == "close") {
        e.type = sf::Event::Closed;
    } else if (w[0] == '-') {
        e.type = sf::Event::JoystickDisconnected;
        e.joystickConnect.joystickId = static_cast<unsigned int>(std::stoi(w.substr(1)));
    } else if (equals != std::string::npos) {
        e.type = sf::Event::JoystickMoved;
        e.joystickMove.joystickId = static_cast<unsigned int>(std::stoi(w));
        e.joystickMove.axis =
            static_cast<sf::Joystick::Axis>(std::string("XYZRUV").find(w[colon + 1]));
        e.joystickMove.position = std::stof(w.substr(equals + 1));
    } else if (colon != std::string::npos) {
        e.type = release ? sf::Event::JoystickButtonReleased : sf::Event::JoystickButtonPressed;
        e.joystickButton.joystickId = static_cast<unsigned int>(std::stoi(w));
        e.joystickButton.button = static_cast<unsigned int>(std::stoi(w.substr(colon + 1)));
    } else {
        e.type = release ? sf::Event::KeyReleased : sf::Event::KeyPressed;
        e.key.code = w == "Escape" ? sf::Keyboard::Escape
                                   : static_cast<sf::Keyboard::Key>(sf::Keyboard::A + w[0] - 'A');
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
        if (passes-- <= 0) {
            return false;
        }
        scriptPassEnd();
        return true;
    });
}

void addKeyboardPlayer(const std::string& keys) {
    playerCount += 1;
    Player player = newPlayer();
    player.device = "keyboard";
    for (std::size_t i = 0; i < 4; ++i) {
        player.slot[i] = static_cast<std::uint32_t>(keys[i] - 'A');
    }
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
                             std::to_string(w) + "-" + std::to_string(color.toInteger()) + ".png";
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}
