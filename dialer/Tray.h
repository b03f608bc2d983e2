#pragma once

#include <QIcon>
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace softphone {

// What the user did to the tray icon, as the tray reports it.
enum class TrayActivation { Click, DoubleClick, MiddleClick, Other };

// The desktop's notification area (system tray).
class ITray {
public:
    virtual ~ITray() = default;
    // Whether the desktop has a notification area at all.
    virtual bool available() const = 0;
    // StatusNotifier trays report only "activate" (a click), never a double-click.
    virtual bool reportsOnlyActivation() const = 0;
    virtual void showIcon(const QIcon& icon, const QString& tip) = 0;
    virtual void removeIcon() = 0;
    virtual void showMessage(const QString& title, const QString& text) = 0;

    std::function<void(TrayActivation)> onActivated;
};

// The tray over QSystemTrayIcon; `menu` is its context menu (not owned).
class QtTray : public ITray {
public:
    explicit QtTray(QMenu* menu);
    ~QtTray() override;

    bool available() const override;
    bool reportsOnlyActivation() const override;
    void showIcon(const QIcon& icon, const QString& tip) override;
    void removeIcon() override;
    void showMessage(const QString& title, const QString& text) override;

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace softphone
