#include "dialer/LinkInbox.h"

#include <utility>

namespace softphone {

void LinkInbox::receive(const QString& link) {
    if (link.isEmpty()) return;
    if (open_)
        emit linkArrived(link);
    else
        waiting_ = link;
}

void LinkInbox::open() {
    open_ = true;
    if (!waiting_.isEmpty()) emit linkArrived(std::exchange(waiting_, QString()));
}

}  // namespace softphone
