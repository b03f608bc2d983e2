#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace softphone {

// What the user did to the tray icon, as the tray reports it.
enum class TrayActivation { Click, DoubleClick, MiddleClick, Other };

// The desktop's notification area (system tray) and its notification service.
class ITray : public QObject {
    Q_OBJECT
public:
    // Whether the desktop has a notification area at all.
    virtual bool available() const = 0;
    // StatusNotifier trays report only "activate" (a click), never a double-click.
    virtual bool reportsOnlyActivation() const = 0;
    virtual void setMenu(QMenu* menu) = 0;
    virtual void showIcon(const QIcon& icon, const QString& tip) = 0;
    virtual void removeIcon() = 0;
    virtual void showMessage(const QString& title, const QString& text) = 0;
    // A notification through the desktop's notification service, whether or not the icon shows;
    // false when the desktop could not be asked.
    virtual bool notify(const QString& summary, const QString& body) = 0;

signals:
    void activated(TrayActivation reason);
};

// The tray over QSystemTrayIcon; notifications over org.freedesktop.Notifications.
class QtTray : public ITray {
public:
    QtTray();
    ~QtTray() override;

    bool available() const override;
    bool reportsOnlyActivation() const override;
    void setMenu(QMenu* menu) override;
    void showIcon(const QIcon& icon, const QString& tip) override;
    void removeIcon() override;
    void showMessage(const QString& title, const QString& text) override;
    bool notify(const QString& summary, const QString& body) override;

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace softphone
