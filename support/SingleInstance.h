#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace softphone {

// The socket through which later starts find the running program: "softphone.socket" in the
// user's runtime folder ($XDG_RUNTIME_DIR), else a name holding the user id in the temporary
// folder.
QString instanceSocketPath();

// One running program per user. A later start hands over to the running one and ends; a socket
// left behind by a program that was killed never blocks a start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString socketPath = instanceSocketPath());

    // True when no other instance answered: this one now listens for later starts. False when
    // another one runs: it has been asked to come to the front.
    bool claim();

signals:
    // A later start asked this instance to come to the front.
    void anotherStart();

private:
    bool askRunningInstance();

    QString path_;
    QLocalServer server_;
};

}  // namespace softphone
