#pragma once

#include <QStringList>

#include "dialer/Tray.h"

namespace softphone::test {

// A notification area the test controls: whether it exists, what kind it is, what it shows.
class FakeTray : public ITray {
public:
    bool Available() const override { return available; }
    bool ReportsOnlyActivation() const override { return onlyActivation; }
    void ShowIcon(const QIcon& icon, const QString& tip) override {
        iconShown = true;
        iconSize = icon.availableSizes().value(0);
        this->tip = tip;
    }
    void RemoveIcon() override { iconShown = false; }
    void ShowMessage(const QString& title, const QString& text) override {
        messages << title + ": " + text;
    }
    void Activate(TrayActivation reason) {
        if (onActivated) onActivated(reason);
    }

    bool available = true;
    bool onlyActivation = false;
    bool iconShown = false;
    QSize iconSize;
    QString tip;
    QStringList messages;
};

}  // namespace softphone::test
