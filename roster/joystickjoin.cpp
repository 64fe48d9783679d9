// Joystick join. Until controllers can be taught, a joystick's button leaves the lobby as
// it was.
#include "roster/roster.hpp"

void joinJoystickPlayer() {
    abandonJoin();
}
