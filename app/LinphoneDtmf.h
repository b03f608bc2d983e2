#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>

#include "app/NetworkSettings.h"

namespace linphone {
class Call;
class Core;
}  // namespace linphone

namespace softphone {

// Sends the key presses of calls the way DtmfMode chooses. With SIP INFO, each INFO awaits its
// answer; one the far end refuses (405, 415 or 501: it takes no INFO, or not this body) is sent
// again as tones in the audio, and so is every later key of that call.
class LinphoneDtmf {
public:
    LinphoneDtmf();
    // For calls placed or answered from now on: the offer carries telephone-event only when
    // Automatic.
    void setMode(linphone::Core& core, DtmfMode mode);
    // `digit` is one of "0123456789*#".
    bool send(linphone::Core& core, linphone::Call& call, char digit);
    // Takes the INFO answers that arrived; forgets the calls that ended.
    void update(linphone::Core& core);

private:
    DtmfMode mode_ = DtmfMode::Automatic;
    std::uint64_t nextAnswer_ = 0;                        // of infoAnswersFrom
    std::map<std::string, std::deque<char>> unanswered_;  // INFO keys by Call-ID, oldest first
    std::map<std::string, long> answeredCseq_;            // the last INFO answered, by Call-ID
    std::set<std::string> refused_;                       // Call-IDs whose far end takes no INFO
};

}  // namespace softphone
