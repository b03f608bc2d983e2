#include "support/clsTooltip.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace softphone {
namespace {

QString FixedTitle(const QString& title) {
    return title.left(kTitleLength).leftJustified(kTitleLength, QLatin1Char(' '));
}

TipLook LookOf(const ToolRecord& record) {
    TipLook look;
    look.back = ColorFromValue(record.backColor);
    look.fore = ColorFromValue(record.foreColor);
    look.balloon = record.Baloon;
    look.title = record.Title;
    look.icon = record.Icon;
    look.margin = record.Margin;
    look.alignment = record.Alignment;
    look.width = record.Width;
    look.transparent = record.transparent;
    return look;
}

}  // namespace

clsTooltip::clsTooltip(QObject* parent) : QObject(parent) {
    mdlTooltip::InstanceCreated();
    showTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, [this] {
        if (pending_) HandleShowTime(pending_);
        pending_ = nullptr;
    });
}

clsTooltip::~clsTooltip() {
    TooltipWindow* window = mdlTooltip::Window();
    if (window && window->Owner() == this) window->hide();
    mdlTooltip::InstanceDestroyed();
}

bool clsTooltip::AddTool(QWidget* ToolObj, const ToolOptions& options) {
    if (!ToolObj || !mdlTooltip::Window()) return false;
    ToolRecord record;
    record.control = ToolObj;
    record.backColor = TranslateColor(options.BackColor.value_or(kSysColorInfoBackground));
    record.foreColor = TranslateColor(options.ForeColor.value_or(kSysColorInfoText));
    record.Baloon = options.Baloon;
    record.Title = FixedTitle(options.Title);
    record.Icon = options.Icon;
    record.ShowMode = options.ShowMode;
    record.Margin = options.Margin;
    record.Alignment = options.Alignment;
    record.Width = options.Width;
    record.text = options.TOOLTIPTEXT;
    record.centred = options.CenteredTooltip;
    record.transparent = options.Transparent;
    tools_.push_back(record);
    ToolObj->installEventFilter(this);
    return true;
}

void clsTooltip::SetDelayTimes(std::optional<int> Show, std::optional<int> AutoHide,
                               std::optional<int> ReShow) {
    TooltipWindow* window = mdlTooltip::Window();
    if (!window) return;
    if (!Show && !AutoHide && !ReShow) {
        window->SetDelays(-1, -1, -1);
        return;
    }
    window->SetDelays(Show.value_or(window->InitialDelay()),
                      AutoHide.value_or(window->AutoPopDelay()),
                      ReShow.value_or(window->ReshowDelay()));
}

void clsTooltip::UpdateTool(QWidget* ToolObj, const ToolChanges& changes) {
    ToolRecord* record = Find(ToolObj);
    if (!record) return;
    if (changes.TOOLTIPTEXT) {
        record->text = changes.TOOLTIPTEXT->isEmpty() ? std::nullopt : changes.TOOLTIPTEXT;
    }
    if (changes.CenteredTooltip) record->centred = *changes.CenteredTooltip;
    if (changes.ForeColor) record->foreColor = TranslateColor(*changes.ForeColor);
    if (changes.BackColor) record->backColor = TranslateColor(*changes.BackColor);
    if (changes.Baloon) record->Baloon = *changes.Baloon;
    if (changes.Title) record->Title = FixedTitle(*changes.Title);
    if (changes.Icon) record->Icon = *changes.Icon;
    if (changes.ShowMode) record->ShowMode = *changes.ShowMode;
    if (changes.Margin) record->Margin = *changes.Margin;
    if (changes.Alignment) record->Alignment = *changes.Alignment;
    if (changes.Width) record->Width = *changes.Width;
    TooltipWindow* window = mdlTooltip::Window();
    if (window && window->isVisible() && window->Tool() == ToolObj) HandleShowTime(ToolObj);
}

void clsTooltip::RemoveTool(QWidget* ToolObj) {
    ToolRecord* record = Find(ToolObj);
    if (!record) return;
    record->removed = true;
    ToolObj->removeEventFilter(this);
    PointerGone(ToolObj);
}

ToolRecord* clsTooltip::Find(const QObject* control) {
    for (ToolRecord& record : tools_)
        if (!record.removed && record.control == control) return &record;
    return nullptr;
}

void clsTooltip::HandleShowTime(QWidget* tool) {
    TooltipWindow* window = mdlTooltip::Window();
    const ToolRecord* record = Find(tool);
    if (!window || !record) return;
    QString text;
    if (record->text) {
        text = *record->text;
    } else {
        answerText_.clear();
        emit NeedText(tool, answerText_);
        text = answerText_;
    }
    if (text.isEmpty()) return;  // nothing to show
    window->ShowTip(this, tool, text, LookOf(*record), record->ShowMode, record->centred);
}

void clsTooltip::PointerOver(QWidget* tool) {
    TooltipWindow* window = mdlTooltip::Window();
    if (!window || !tool->isEnabled() || pending_ == tool) return;
    if (window->isVisible() && window->Tool() == tool) return;
    pending_ = tool;
    showTimer_.start(window->RecentlyShown() ? window->ReshowDelay() : window->InitialDelay());
}

void clsTooltip::PointerGone(QWidget* tool) {
    if (pending_ == tool) {
        showTimer_.stop();
        pending_ = nullptr;
    }
    TooltipWindow* window = mdlTooltip::Window();
    if (window && window->Tool() == tool) window->Pop();
}

bool clsTooltip::eventFilter(QObject* watched, QEvent* event) {
    auto* tool = qobject_cast<QWidget*>(watched);
    if (!tool) return false;
    switch (event->type()) {
        case QEvent::Enter:
            PointerOver(tool);
            break;
        case QEvent::MouseMove:
            // A button holding the mouse hears moves beyond its edges.
            if (!tool->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
                PointerGone(tool);
            break;
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Hide:
        case QEvent::EnabledChange:
        case QEvent::Wheel:
            PointerGone(tool);
            break;
        default:
            break;
    }
    return false;
}

}  // namespace softphone
