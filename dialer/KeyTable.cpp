#include "dialer/KeyTable.h"

namespace softphone {

namespace {

const DialKey* FindKey(auto matches) {
    for (const DialKey& k : kKeyTable)
        if (matches(k)) return &k;
    return nullptr;
}

}  // namespace

const DialKey* KeyForCharacter(QChar c) {
    return FindKey([c](const DialKey& k) { return c == QLatin1Char(k.key); });
}

const DialKey* KeyForToneName(const QString& toneName) {
    return FindKey([&](const DialKey& k) { return toneName == QLatin1String(k.toneName); });
}

const DialKey* KeyForToneResource(const QString& toneName) {
    return FindKey([&](const DialKey& k) {
        return toneName.compare(QLatin1String(k.toneName), Qt::CaseInsensitive) == 0;
    });
}

}  // namespace softphone
