#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

namespace softphone {

// The socket through which later starts find the running program: "softphone.socket" in the
// user's runtime folder ($XDG_RUNTIME_DIR), else a name holding the user id in the temporary
// folder.
QString instanceSocketPath();

// One running program per user. A later start hands over to the running one, with the link it
// was started with, and ends; a socket left behind by a program that was killed never blocks a
// start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString socketPath = instanceSocketPath());

    // True when no other instance answered: this one now listens for later starts. False when
    // another one runs: it has been asked to come to the front and handed `link`, if any.
    bool claim(const QString& link = QString());

signals:
    // A later start asked this instance to come to the front.
    void anotherStart();
    // ... and handed it a link to open (a tel:, sip: or callto: address, as the desktop gave it).
    void linkOpened(const QString& link);

private:
    bool askRunningInstance(const QString& link);
    void takeRequest(QLocalSocket* caller);

    QString path_;
    QLocalServer server_;
};

}  // namespace softphone
