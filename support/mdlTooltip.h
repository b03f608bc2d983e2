#pragma once

#include <QColor>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace softphone {

class clsTooltip;

// Colour values as the tooltip look takes them: 0x00BBGGRR for a plain colour, or a system
// colour number with the high bit set.
inline constexpr quint32 kSysColorInfoText = 0x80000017;
inline constexpr quint32 kSysColorInfoBackground = 0x80000018;
// Turns a colour value into a plain 0x00BBGGRR value; 0 when it cannot.
quint32 TranslateColor(quint32 color);
QColor ColorFromValue(quint32 plain);

// Animation flag of a tool's ShowMode: the tip rolls open from left to right.
inline constexpr qint32 kAnimateHorPositive = 0x1;
inline constexpr int kAnimationMs = 200;

// How one tool's tip is drawn.
struct TipLook {
    QColor back, fore;
    bool balloon = false;
    QString title;  // shown trimmed; no title line when blank
    qint32 icon = 0;
    qint32 margin = 0;
    qint32 alignment = 0;  // 0 left, 1 centred, 2 right
    qint32 width = 0;      // fixed text width in pixels; 0 or less: lines break at line breaks
    bool transparent = false;
};

// The one tooltip popup of the program, shared by every clsTooltip; it shows one tool's tip at
// a time and hands its moments back to the instance that owns that tool.
class TooltipWindow : public QWidget {
    Q_OBJECT
  public:
    TooltipWindow();

    void ShowTip(clsTooltip* owner, QWidget* tool, const QString& text, const TipLook& look,
                 qint32 showMode, bool centred);
    void Pop();

    // The delays of all tools, in milliseconds; a negative value restores that delay's default.
    void SetDelays(int initial, int autoPop, int reshow);
    int InitialDelay() const { return initial_; }
    int AutoPopDelay() const { return autoPop_; }
    int ReshowDelay() const { return reshow_; }
    static int DefaultInitialDelay();

    QWidget* Tool() const { return tool_; }
    clsTooltip* Owner() const { return owner_; }
    const QString& Text() const { return text_; }
    const TipLook& Look() const { return look_; }
    QString ShownTitle() const { return look_.title.trimmed(); }
    QRect TextRect() const { return textRect_; }
    bool Opening() const { return opening_.isActive(); }
    // True between a pop and the reshow delay's end: a next tip comes after the short delay.
    bool RecentlyShown() const { return reshowWindow_.isActive() || isVisible(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Layout(QWidget* tool, bool centred);
    void RollOpen();
    void Opened();

    QPointer<clsTooltip> owner_;
    QPointer<QWidget> tool_;
    QString text_;
    TipLook look_;
    QRect textRect_, titleRect_;
    int initial_, autoPop_, reshow_;
    QTimer autoPopTimer_, reshowWindow_, opening_;
    qint64 openingStart_ = 0;
};

namespace mdlTooltip {
// The shared popup; null while no clsTooltip exists.
TooltipWindow* Window();
// Instance bookkeeping of clsTooltip: the first creates the popup, the last destroys it.
void InstanceCreated();
void InstanceDestroyed();
}  // namespace mdlTooltip

}  // namespace softphone
