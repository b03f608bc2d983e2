#include "dialer/KeyTable.h"

namespace softphone {

namespace {

const DialKey* findKey(auto matches) {
    for (const DialKey& k : kKeyTable)
        if (matches(k)) return &k;
    return nullptr;
}

}  // namespace

const DialKey* keyForCharacter(QChar c) {
    return findKey([c](const DialKey& k) { return c == QLatin1Char(k.key); });
}

const DialKey* keyForToneName(const QString& toneName) {
    return findKey([&](const DialKey& k) { return toneName == QLatin1String(k.toneName); });
}

const DialKey* keyForToneResource(const QString& toneName) {
    return findKey([&](const DialKey& k) {
        return toneName.compare(QLatin1String(k.toneName), Qt::CaseInsensitive) == 0;
    });
}

}  // namespace softphone
