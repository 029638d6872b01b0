#include "online/BoardAddress.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

constexpr std::size_t kMaxLength = 200;

bool isAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool validHost(std::string_view host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        return std::all_of(host.begin() + 1, host.end() - 1,
                           [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; });
    }
    if (host.empty() || host.front() == '-' || host.front() == '.' || host.back() == '-') return false;
    return std::all_of(host.begin(), host.end(), [](char c) { return isAlnum(c) || c == '-' || c == '.'; });
}

} // namespace

std::optional<std::string> parseBoardAddress(std::string_view text, std::string& why) {
    if (text.size() > kMaxLength) {
        why = "longer than " + std::to_string(kMaxLength) + " characters";
        return std::nullopt;
    }
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    std::string_view rest = text;
    std::string scheme;
    for (const char* candidate : {"http://", "https://"}) {
        if (lower.starts_with(candidate)) scheme = candidate;
    }
    if (scheme.empty()) {
        why = "not an http:// or https:// address";
        return std::nullopt;
    }
    rest.remove_prefix(scheme.size());
    const std::size_t slash = rest.find('/');
    const std::string_view authority = rest.substr(0, slash);
    std::string_view path = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash);
    // A user name, a query or an escape has no place in a board's address, and a space ends one.
    const bool path_ok = std::all_of(path.begin(), path.end(), [](char c) {
        return isAlnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    });
    if (!path_ok || path.find("..") != std::string_view::npos) {
        why = "its path may hold only letters, digits and / - _ . ~";
        return std::nullopt;
    }
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    std::string_view host = authority;
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
        host = authority.substr(0, colon);
        const std::string_view port = authority.substr(colon + 1);
        int number = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
        if (port.empty() || error != std::errc() || end != port.data() + port.size() || number < 1 || number > 65535) {
            why = "its port is not a number from 1 to 65535";
            return std::nullopt;
        }
    }
    if (!validHost(host)) {
        why = "it names no valid host";
        return std::nullopt;
    }
    std::string address = scheme;
    for (const char c : authority)
        address += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    address += path;
    return address;
}
