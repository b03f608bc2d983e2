#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace softphone {

// A final answer to an INFO request, as it arrived at the phone. The engine reports none, so the
// phone notes them itself to hear a far end refuse the key presses it sends by INFO.
struct InfoAnswer {
    std::string callId;
    long cseq = 0;  // retransmitted answers repeat it
    int status = 0;
};

// Notes `message` (a SIP message, or its start line and header lines) when it is a final answer
// to an INFO. The transports' guards hand over each message that arrives.
void noteInfoAnswer(std::string_view message);

// The answers noted from number `next` on (the most recent ones only, when many came since), and
// `next` moved past them; each reader keeps its own.
std::vector<InfoAnswer> infoAnswersFrom(std::uint64_t& next);

}  // namespace softphone
