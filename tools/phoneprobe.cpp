// The phone server alone, for scripts/measure-phones: it starts on a free port and prints its
// loopback address; then, until its standard input closes, it takes the phones' events as the
// game would, but polling every 100 µs, and prints the wall-clock time at which it took each
// press; 30 ms after each release it tells that phone a state, ready and not ready in turn, and
// prints the time it told it. Times are in microseconds since the epoch. With --idle S it takes
// nothing and, after S seconds, prints the CPU time the process spent in them, the server's thread
// all of it.
#include "core/phones/phones.hpp"
#include "core/phones/phoneserver.hpp"
#include "core/phones/phonestates.hpp"

#include <sys/resource.h>
#include <sys/select.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long long wallMicroseconds() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<long long>(
        std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

bool inputOpen() {
    fd_set read;
    FD_ZERO(&read);
    FD_SET(0, &read);
    timeval none{};
    char byte = 0;
    return select(1, &read, nullptr, nullptr, &none) == 0 || ::read(0, &byte, 1) > 0;
}

} // namespace

int main(int argc, char** argv) {
    unsigned short port = 0;
    const std::string code = makeSessionCode();
    std::string error;
    if (!startPhoneServer(port, code, error)) {
        std::fprintf(stderr, "phoneprobe: %s\n", error.c_str());
        return 1;
    }
    std::printf("http://127.0.0.1:%u/#%s\n", port, code.c_str());
    std::fflush(stdout);
    if (argc == 3 && std::strcmp(argv[1], "--idle") == 0) {
        const double before = cpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[2])));
        std::printf("cpu %.6f\n", cpuSeconds() - before);
    } else {
        bool ready = false;
        // The seat of the phone that let go of a button, and when it is told its state: 30 ms
        // later, when the page has done with the release.
        int seat = -1;
        long long tellAt = 0;
        for (int polls = 0; polls % 1000 != 0 || inputOpen(); ++polls) {
            sf::Event event{};
            while (takePhoneEvent(event)) {
                if (event.type == sf::Event::JoystickButtonPressed) {
                    std::printf("press %lld\n", wallMicroseconds());
                    std::fflush(stdout);
                } else if (event.type == sf::Event::JoystickButtonReleased) {
                    seat = static_cast<int>(event.joystickButton.joystickId - firstPhoneJoystick);
                    tellAt = wallMicroseconds() + 30000;
                }
            }
            if (seat >= 0 && wallMicroseconds() >= tellAt) {
                ready = !ready;
                const long long now = wallMicroseconds();
                tellPhone(seat,
                          phoneStateText(ready ? ControllerState::ready : ControllerState::notReady,
                                         0, sf::Color::Red));
                std::printf("state %lld\n", now);
                std::fflush(stdout);
                seat = -1;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    stopPhoneServer();
    return 0;
}
