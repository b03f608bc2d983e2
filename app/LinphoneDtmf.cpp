#include "app/LinphoneDtmf.h"

#include <linphone++/linphone.hh>

#include "app/InfoAnswers.h"

namespace softphone {
namespace {

bool refusesInfo(int status) { return status == 405 || status == 415 || status == 501; }

}  // namespace

LinphoneDtmf::LinphoneDtmf() { infoAnswersFrom(nextAnswer_); }

void LinphoneDtmf::setMode(linphone::Core& core, DtmfMode mode) {
    mode_ = mode;
    core.setUseRfc2833ForDtmf(mode == DtmfMode::Automatic);
    core.setUseInfoForDtmf(false);
}

// The engine sends by INFO when told to, else by the audio stream: an RFC 2833 event when the
// answer took telephone-event, else a tone (for PCMU and PCMA, the telephone network's codecs).
bool LinphoneDtmf::send(linphone::Core& core, linphone::Call& call, char digit) {
    const std::string callId = call.getCallLog()->getCallId();
    const bool info = mode_ == DtmfMode::SipInfo && !refused_.contains(callId);
    core.setUseInfoForDtmf(info);
    const bool sent = call.sendDtmf(digit) == 0;
    core.setUseInfoForDtmf(false);
    if (sent && info) unanswered_[callId].push_back(digit);
    return sent;
}

void LinphoneDtmf::update(linphone::Core& core) {
    for (const InfoAnswer& answer : infoAnswersFrom(nextAnswer_)) {
        const auto keys = unanswered_.find(answer.callId);
        if (keys == unanswered_.end() || keys->second.empty()) continue;
        long& answered = answeredCseq_[answer.callId];
        if (answer.cseq <= answered) continue;  // a retransmission
        answered = answer.cseq;
        const char digit = keys->second.front();
        keys->second.pop_front();
        if (!refusesInfo(answer.status)) continue;
        refused_.insert(answer.callId);
        for (const auto& call : core.getCalls())
            if (call->getCallLog()->getCallId() == answer.callId) send(core, *call, digit);
    }
    if (core.getCallsNb() == 0) {
        unanswered_.clear();
        answeredCseq_.clear();
        refused_.clear();
    }
}

}  // namespace softphone
