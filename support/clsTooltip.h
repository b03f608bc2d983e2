#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>
#include <vector>

#include "support/mdlTooltip.h"

class QWidget;

namespace softphone {

// Title line length: longer titles are cut, shorter ones padded with blanks.
inline constexpr int kTitleLength = 80;

// The options of AddTool; colours are colour values (see TranslateColor).
struct ToolOptions {
    std::optional<QString> TOOLTIPTEXT;  // none: the text is asked for with NeedText
    std::optional<quint32> ForeColor, BackColor;
    bool Baloon = false;
    QString Title;
    qint32 Icon = 0;
    qint32 ShowMode = kAnimateHorPositive;
    qint32 Margin = 5;
    bool CenteredTooltip = true;
    bool Transparent = false;
    qint32 Alignment = 0;
    qint32 Width = 0;
};

// The options of UpdateTool: only those given change.
struct ToolChanges {
    std::optional<QString> TOOLTIPTEXT;  // empty: ask with NeedText from now on
    std::optional<quint32> ForeColor, BackColor;
    std::optional<bool> Baloon;
    std::optional<QString> Title;
    std::optional<qint32> Icon, ShowMode, Margin;
    std::optional<bool> CenteredTooltip;
    std::optional<qint32> Alignment, Width;
};

struct ToolRecord {
    QPointer<QWidget> control;
    quint32 backColor = 0, foreColor = 0;
    bool Baloon = false;
    QString Title;
    qint32 Icon = 0, ShowMode = 0, Margin = 0, Alignment = 0, Width = 0;
    // What the shared popup keeps per tool.
    std::optional<QString> text;
    bool centred = false, transparent = false, removed = false;
};

// Attaches tooltips to controls; each tool keeps its own look. All instances share one popup.
class clsTooltip : public QObject {
    Q_OBJECT
  public:
    explicit clsTooltip(QObject* parent = nullptr);
    ~clsTooltip() override;

    bool AddTool(QWidget* ToolObj, const ToolOptions& options = {});
    // Delays in milliseconds; none given restores all three defaults.
    void SetDelayTimes(std::optional<int> Show = {}, std::optional<int> AutoHide = {},
                       std::optional<int> ReShow = {});
    void UpdateTool(QWidget* ToolObj, const ToolChanges& changes);
    void RemoveTool(QWidget* ToolObj);

    const std::vector<ToolRecord>& Tools() const { return tools_; }

    // The popup's moments for one of this instance's tools.
    void HandleShowTime(QWidget* tool);
    void HandleShown() { emit Show(); }
    void HandlePopped() { emit Pop(); }

  signals:
    void NeedText(QWidget* Tool, QString& text);
    void Pop();
    void Show();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ToolRecord* Find(const QObject* control);
    void PointerOver(QWidget* tool);
    void PointerGone(QWidget* tool);

    std::vector<ToolRecord> tools_;
    QString answerText_;
    QPointer<QWidget> pending_;
    QTimer showTimer_;
};

}  // namespace softphone
