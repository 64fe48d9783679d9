// What a phone says and how often: the session's code, the page's token, the messages of its
// buttons, and the rate its messages are held to.
#include "core/phones.hpp"

#include <random>

namespace {

bool isLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string makeSessionCode() {
    static const char symbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device device;
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof symbols) - 2);
    std::string code;
    for (int i = 0; i < 6; ++i) {
        code += symbols[pick(device)];
    }
    return code;
}

bool tokenValid(const std::string& token) {
    if (token.size() < 8 || token.size() > 32) {
        return false;
    }
    for (const char c : token) {
        if (!isLetterOrDigit(c)) {
            return false;
        }
    }
    return true;
}

bool parsePhoneMessage(const std::string& text, int& button, bool& pressed) {
    if (text.size() != 2 || (text[0] != 'd' && text[0] != 'u') || text[1] < '0' ||
        text[1] >= '0' + phoneButtons) {
        return false;
    }
    pressed = text[0] == 'd';
    button = text[1] - '0';
    return true;
}

bool rateAllows(RateWindow& window, std::int64_t now) {
    if (window.count == maxPhoneMessagesPerSecond) {
        if (now - window.times[window.next] < 1000000) {
            return false;
        }
    } else {
        window.count += 1;
    }
    window.times[window.next] = now;
    window.next = (window.next + 1) % maxPhoneMessagesPerSecond;
    return true;
}
