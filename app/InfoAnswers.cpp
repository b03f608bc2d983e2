#include "app/InfoAnswers.h"

#include <QByteArrayView>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace softphone {
namespace {

constexpr std::size_t kKept = 256;

std::mutex gMutex;
std::deque<InfoAnswer> gAnswers;
std::uint64_t gFirst = 0;  // the number of gAnswers.front()

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool named(std::string_view name, std::string_view wanted) {
    return QByteArrayView(name).compare(QByteArrayView(wanted), Qt::CaseInsensitive) == 0;
}

}  // namespace

void noteInfoAnswer(std::string_view message) {
    constexpr std::string_view kStatusLine = "SIP/2.0 ";
    if (!message.starts_with(kStatusLine) || message.size() < kStatusLine.size() + 3) return;
    const std::string_view code = message.substr(kStatusLine.size(), 3);
    if (code[0] < '2' || code[0] > '6' || code.find_first_not_of("0123456789") != code.npos) return;
    InfoAnswer answer{{}, 0, std::stoi(std::string(code))};
    bool info = false;
    std::size_t at = message.find("\r\n");
    while (at != std::string_view::npos && at + 2 < message.size()) {
        const std::size_t end = message.find("\r\n", at + 2);
        const std::string_view line = message.substr(at + 2, end - (at + 2));
        if (line.empty()) break;  // the end of the header
        at = end;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = trimmed(line.substr(0, colon));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (named(name, "CSeq")) {
            const std::size_t space = std::min(value.find(' '), value.size());
            info = trimmed(value.substr(space)) == "INFO";
            answer.cseq = std::strtol(std::string(value.substr(0, space)).c_str(), nullptr, 10);
        } else if (named(name, "Call-ID") || named(name, "i")) {
            answer.callId = value;
        }
    }
    if (!info || answer.callId.empty()) return;
    const std::lock_guard lock(gMutex);
    gAnswers.push_back(std::move(answer));
    if (gAnswers.size() > kKept) {
        gAnswers.pop_front();
        ++gFirst;
    }
}

std::vector<InfoAnswer> infoAnswersFrom(std::uint64_t& next) {
    const std::lock_guard lock(gMutex);
    next = std::max(next, gFirst);
    std::vector<InfoAnswer> answers(gAnswers.begin() + std::ptrdiff_t(next - gFirst),
                                    gAnswers.end());
    next = gFirst + gAnswers.size();
    return answers;
}

}  // namespace softphone
