#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace softphone::test {

class XvfbDisplay;

// The build folder's install set laid out by `cmake --install` in a temporary prefix, away from
// the build tree.
class InstalledTree {
  public:
    InstalledTree();

    bool Installed() const { return installed_; }
    QString Log() const { return log_; }
    // A path under the prefix, e.g. "bin/softphone".
    QString Path(const QString& relative) const;

  private:
    QTemporaryDir dir_;
    bool installed_ = false;
    QString log_;
};

// The folders of one user of the display: home, XDG config and data, runtime; and the sound
// server the programs play through.
QProcessEnvironment UserEnvironment(const XvfbDisplay& display, const QString& home,
                                    const QString& runtime, const QString& pulseServer);

// A program started by the test; stopped by its PID (SIGTERM, then SIGKILL) when the object goes.
class ProgramRun : public QProcess {
  public:
    ProgramRun(const QString& program, const QProcessEnvironment& env);
    ~ProgramRun() override;
};

// Logs in from the login dialog the way a person would, with any server address (registration
// need not succeed); returns the handset window's id, or empty when it did not appear.
QString LogIn(const XvfbDisplay& display, const QString& server);

}  // namespace softphone::test
