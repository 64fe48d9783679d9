// What a phone says: the session's code, the page's token, the messages of its buttons, and
// what of its requests the server reads: the query, the host and the origin.
#include "core/phones/phones.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>

namespace {

bool isLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
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

std::string queryValue(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const auto end = query.find('&');
        const std::string_view pair = query.substr(0, end);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
            pair[name.size()] == '=') {
            return std::string(pair.substr(name.size() + 1));
        }
        query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
    }
    return {};
}

std::string plainHost(std::string_view host) {
    const bool plain = !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return isLetterOrDigit(c) || std::strchr(".-:[]", c) != nullptr;
    });
    return plain ? lowerCase(host) : std::string();
}

bool originAllowed(std::string_view origin, const std::string& host) {
    const auto scheme = origin.find("://");
    return origin.empty() || (scheme != std::string_view::npos && !host.empty() &&
                              lowerCase(origin.substr(scheme + 3)) == host);
}

std::string pagePolicy(const std::string& host) {
    return "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
           "connect-src " +
           (host.empty() ? std::string("'self'") : "ws://" + host) +
           "; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
}
