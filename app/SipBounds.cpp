#include "app/SipBounds.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace softphone {

namespace {

constexpr std::size_t kMaxLengthDigits = 9;

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool startsUri(std::string_view s) {
    const auto scheme = [&](std::string_view name) {
        return s.size() >= name.size() &&
               std::equal(name.begin(), name.end(), s.begin(), [](char a, char b) {
                   return a == std::tolower(static_cast<unsigned char>(b));
               });
    };
    return scheme("sip:") || scheme("sips:") || scheme("tel:");
}

// The URIs of one line: each one in angle brackets, and each sip:, sips: or tel: URI outside
// them up to the next space, comma or quote.
bool urisWithinBounds(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        const bool bracketed = line[i] == '<';
        if (!bracketed && !((i == 0 || !std::isalnum(static_cast<unsigned char>(line[i - 1]))) &&
                            startsUri(line.substr(i)))) {
            ++i;
            continue;
        }
        const std::size_t end = std::min(
            bracketed ? line.find('>', i) : line.find_first_of(" \t\r\n,\"<>", i), line.size());
        if (end - i > kMaxSipUri) return false;
        i = bracketed ? end + 1 : end;
    }
    return true;
}

}  // namespace

std::optional<long> sipContentLength(std::string_view headerLines) {
    std::optional<long> length;
    while (!headerLines.empty()) {
        const auto eol = headerLines.find("\r\n");
        const std::string_view line = headerLines.substr(0, eol);
        headerLines.remove_prefix(eol == std::string_view::npos ? headerLines.size() : eol + 2);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || line.empty() || line[0] == ' ' || line[0] == '\t')
            continue;  // not a header's first line
        const std::string_view name = trim(line.substr(0, colon));
        if (!sameName(name, "Content-Length") && !sameName(name, "l")) continue;
        const std::string_view value = trim(line.substr(colon + 1));
        if (length || value.empty() || value.size() > kMaxLengthDigits ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return -1;
        length = std::stol(std::string(value));
    }
    return length;
}

bool withinSipBounds(std::string_view header) {
    if (header.size() > kMaxSipMessage) return false;
    const std::size_t startLineEnd = std::min(header.find("\r\n"), header.size());
    if (startLineEnd > kMaxSipStartLine) return false;
    std::size_t lineStart = 0;
    while (lineStart < header.size()) {
        // A line with its continuation lines (those that begin with a space or a tab).
        std::size_t end = header.find("\r\n", lineStart);
        while (end != std::string_view::npos && end + 2 < header.size() &&
               (header[end + 2] == ' ' || header[end + 2] == '\t'))
            end = header.find("\r\n", end + 2);
        if (end == std::string_view::npos) end = header.size();
        const std::string_view line = header.substr(lineStart, end - lineStart);
        if (line.size() > kMaxSipHeaderLine || !urisWithinBounds(line)) return false;
        lineStart = end + 2;
    }
    return true;
}

}  // namespace softphone
