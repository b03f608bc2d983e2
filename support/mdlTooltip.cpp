#include "support/mdlTooltip.h"

#include <QApplication>
#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <array>

#include "support/clsTooltip.h"

namespace softphone {
namespace {

constexpr int kStem = 7;       // height of a balloon's pointer
constexpr int kRadius = 7;     // a balloon's corner radius
constexpr int kIconSize = 16;  // the title's icon

// System colour numbers 0..30 and the palette roles that stand for them here.
constexpr std::array<std::pair<QPalette::ColorGroup, QPalette::ColorRole>, 31> kSystemColors = {{
    {QPalette::Active, QPalette::Button},
    {QPalette::Active, QPalette::Dark},
    {QPalette::Active, QPalette::Highlight},
    {QPalette::Inactive, QPalette::Highlight},
    {QPalette::Active, QPalette::Window},
    {QPalette::Active, QPalette::Base},
    {QPalette::Active, QPalette::Shadow},
    {QPalette::Active, QPalette::WindowText},
    {QPalette::Active, QPalette::Text},
    {QPalette::Active, QPalette::HighlightedText},
    {QPalette::Active, QPalette::Window},
    {QPalette::Inactive, QPalette::Window},
    {QPalette::Active, QPalette::Mid},
    {QPalette::Active, QPalette::Highlight},
    {QPalette::Active, QPalette::HighlightedText},
    {QPalette::Active, QPalette::Button},
    {QPalette::Active, QPalette::Mid},
    {QPalette::Disabled, QPalette::Text},
    {QPalette::Active, QPalette::ButtonText},
    {QPalette::Inactive, QPalette::HighlightedText},
    {QPalette::Active, QPalette::Light},
    {QPalette::Active, QPalette::Shadow},
    {QPalette::Active, QPalette::Midlight},
    {QPalette::Active, QPalette::ToolTipText},
    {QPalette::Active, QPalette::ToolTipBase},
    {QPalette::Active, QPalette::Button},
    {QPalette::Active, QPalette::Link},
    {QPalette::Active, QPalette::Highlight},
    {QPalette::Inactive, QPalette::Highlight},
    {QPalette::Active, QPalette::Highlight},
    {QPalette::Active, QPalette::Window},
}};

quint32 ValueOf(const QColor& color) {
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}

TooltipWindow* g_window = nullptr;

Qt::Alignment TextAlignment(qint32 alignment) {
    switch (alignment & 3) {
        case 1:
            return Qt::AlignHCenter;
        case 2:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

QPainterPath BalloonOutline(QRectF area) {
    QPainterPath outline;
    outline.addRoundedRect(area.adjusted(0.5, kStem + 0.5, -0.5, -0.5), kRadius, kRadius);
    QPainterPath stem;
    const qreal x = area.center().x();
    stem.moveTo(x - kStem, kStem + 1);
    stem.lineTo(x, 0.5);
    stem.lineTo(x + kStem, kStem + 1);
    stem.closeSubpath();
    return outline.united(stem);
}

QFont TitleFont(QFont font) {
    font.setBold(true);
    return font;
}

}  // namespace

quint32 TranslateColor(quint32 color) {
    switch (color >> 24) {
        case 0x00:
        case 0x02:
            return color & 0xFFFFFF;
        case 0x80: {
            const quint32 index = color & 0xFFFFFF;
            if (index >= kSystemColors.size()) return 0;
            const auto [group, role] = kSystemColors[index];
            return ValueOf(QApplication::palette().color(group, role));
        }
        default:
            return 0;  // a palette index needs a palette; there is none
    }
}

QColor ColorFromValue(quint32 plain) {
    return QColor(int(plain & 0xFF), int(plain >> 8 & 0xFF), int(plain >> 16 & 0xFF));
}

TooltipWindow::TooltipWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("mdlTooltipWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    SetDelays(-1, -1, -1);
    autoPopTimer_.setSingleShot(true);
    reshowWindow_.setSingleShot(true);
    opening_.setInterval(15);
    connect(&autoPopTimer_, &QTimer::timeout, this, &TooltipWindow::Pop);
    connect(&opening_, &QTimer::timeout, this, &TooltipWindow::RollOpen);
}

int TooltipWindow::DefaultInitialDelay() {
    return QApplication::doubleClickInterval();
}

void TooltipWindow::SetDelays(int initial, int autoPop, int reshow) {
    const int base = DefaultInitialDelay();
    initial_ = initial < 0 ? base : initial;
    autoPop_ = autoPop < 0 ? base * 10 : autoPop;
    reshow_ = reshow < 0 ? base / 5 : reshow;
}

void TooltipWindow::ShowTip(clsTooltip* owner, QWidget* tool, const QString& text,
                            const TipLook& look, qint32 showMode, bool centred) {
    opening_.stop();
    owner_ = owner;
    tool_ = tool;
    text_ = text;
    look_ = look;
    setAttribute(Qt::WA_TransparentForMouseEvents, look.transparent);
    Layout(tool, centred);
    autoPopTimer_.start(autoPop_);
    if (showMode != 0 && !look.balloon) {
        openingStart_ = QDateTime::currentMSecsSinceEpoch();
        setMask(QRegion(0, 0, 1, height()));
        show();
        raise();
        opening_.start();
        return;
    }
    show();
    raise();
    Opened();
}

void TooltipWindow::RollOpen() {
    const qint64 elapsed = QDateTime::currentMSecsSinceEpoch() - openingStart_;
    if (elapsed >= kAnimationMs) {
        opening_.stop();
        clearMask();
        Opened();
        return;
    }
    setMask(QRegion(0, 0, std::max<int>(1, width() * elapsed / kAnimationMs), height()));
}

void TooltipWindow::Opened() {
    if (look_.balloon) setMask(QRegion(BalloonOutline(rect()).toFillPolygon().toPolygon()));
    if (owner_) owner_->HandleShown();
}

void TooltipWindow::Pop() {
    opening_.stop();
    autoPopTimer_.stop();
    if (!isVisible()) return;
    hide();
    reshowWindow_.start(reshow_);
    if (owner_) owner_->HandlePopped();
}

void TooltipWindow::Layout(QWidget* tool, bool centred) {
    const QFontMetrics textMetrics(font());
    const QFontMetrics titleMetrics(TitleFont(font()));
    const bool wrap = look_.width > 0;
    const int flags = int(TextAlignment(look_.alignment)) | (wrap ? Qt::TextWordWrap : 0);
    QSize textSize =
        textMetrics.boundingRect(QRect(0, 0, wrap ? look_.width : 32767, 32767), flags, text_)
            .size();
    if (wrap) textSize.setWidth(look_.width);

    const QString title = ShownTitle();
    QSize titleSize;
    if (!title.isEmpty()) {
        titleSize = titleMetrics.size(Qt::TextSingleLine, title);
        if (look_.icon != 0) titleSize += QSize(kIconSize + 4, 0);
        titleSize.setHeight(std::max(titleSize.height(), look_.icon != 0 ? kIconSize : 0) + 2);
    }
    const int border = 1;
    const int inset = border + std::max(0, look_.margin);
    const int top = inset + (look_.balloon ? kStem : 0);
    titleRect_ = QRect(inset, top, titleSize.width(), titleSize.height());
    textRect_ = QRect(inset, top + titleSize.height(), textSize.width(), textSize.height());
    const int contentWidth = std::max(titleSize.width(), textSize.width());
    textRect_.setWidth(contentWidth);
    resize(contentWidth + 2 * inset, textRect_.bottom() + 1 + inset);

    const QRect toolRect(tool->mapToGlobal(QPoint(0, 0)), tool->size());
    QPoint at = centred ? QPoint(toolRect.center().x() - width() / 2, toolRect.bottom() + 3)
                        : QCursor::pos() + QPoint(0, 20);
    if (const QScreen* screen = tool->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
    update();
}

void TooltipWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(look_.fore);
    painter.setBrush(look_.back);
    if (look_.balloon) {
        painter.fillRect(rect(), look_.back);
        painter.drawPath(BalloonOutline(rect()));
    } else {
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    const QString title = ShownTitle();
    if (!title.isEmpty()) {
        QRect titleText = titleRect_;
        if (look_.icon != 0) {
            static constexpr QStyle::StandardPixmap kIcons[] = {QStyle::SP_MessageBoxInformation,
                                                                QStyle::SP_MessageBoxWarning,
                                                                QStyle::SP_MessageBoxCritical};
            const int which = std::clamp(look_.icon, 1, 3) - 1;
            style()
                ->standardIcon(kIcons[which])
                .paint(&painter, QRect(titleRect_.topLeft(), QSize(kIconSize, kIconSize)));
            titleText.setLeft(titleRect_.left() + kIconSize + 4);
        }
        painter.setFont(TitleFont(font()));
        painter.drawText(titleText, Qt::AlignLeft | Qt::AlignVCenter, title);
        painter.setFont(font());
    }
    const int wrap = look_.width > 0 ? Qt::TextWordWrap : 0;
    painter.drawText(textRect_, int(TextAlignment(look_.alignment)) | Qt::AlignTop | wrap, text_);
}

namespace mdlTooltip {

TooltipWindow* Window() {
    return g_window;
}

namespace {
int g_instances = 0;
}  // namespace

void InstanceCreated() {
    if (!g_window) g_window = new TooltipWindow;
    ++g_instances;
}

void InstanceDestroyed() {
    if (--g_instances >= 1) return;
    g_instances = 0;
    delete g_window;
    g_window = nullptr;
}

}  // namespace mdlTooltip
}  // namespace softphone
