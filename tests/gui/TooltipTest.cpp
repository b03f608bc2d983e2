// Tooltips: text on request, titles, wrapping, delays, the opening moments, colours, and the
// one shared popup.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "support/clsTooltip.h"
#include "tests/support/Wait.h"

namespace softphone {
namespace {

class TooltipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.setGeometry(50, 50, 300, 200);
        tool->setObjectName("tool");
        tool->setGeometry(20, 20, 80, 20);
        other->setGeometry(20, 80, 80, 20);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        tips.SetDelayTimes(1, 5000, 1);
    }
    static void Enter(QWidget* w) {
        QEnterEvent enter(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                          w->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(w, &enter);
    }
    static void Leave(QWidget* w) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, &leave);
    }
    static TooltipWindow* Popup() { return mdlTooltip::Window(); }
    // Hovers `w` and waits for its tip; false when none shows within a second.
    static bool Hover(QWidget* w) {
        Enter(w);
        return test::WaitUntil([&] { return Popup()->isVisible() && Popup()->Tool() == w; }, 1000);
    }
    static ToolOptions Text(const QString& text) {
        ToolOptions options;
        options.TOOLTIPTEXT = text;
        return options;
    }

    QWidget host;
    QLabel* tool = new QLabel(&host);
    QLabel* other = new QLabel(&host);
    clsTooltip tips;
};

TEST_F(TooltipTest, StartUpLookRollsOpenCentredUnderTheControl) {
    ASSERT_TRUE(tips.AddTool(tool, Text("Click to Make Call")));
    QSignalSpy shown(&tips, &clsTooltip::Show);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(Hover(tool));
    EXPECT_EQ(Popup()->Text(), "Click to Make Call");
    EXPECT_TRUE(Popup()->Opening()) << "ShowMode 1 rolls the tip open";
    ASSERT_TRUE(test::WaitUntil([&] { return shown.count() == 1; }, 2000));
    EXPECT_GE(clock.elapsed(), kAnimationMs - 20) << "Show comes after the animation";
    const QRect toolOnScreen(tool->mapToGlobal(QPoint(0, 0)), tool->size());
    EXPECT_NEAR(Popup()->geometry().center().x(), toolOnScreen.center().x(), 1);
    EXPECT_GT(Popup()->geometry().top(), toolOnScreen.bottom());
    EXPECT_EQ(Popup()->TextRect().left(), 1 + 5) << "border and a margin of 5";
    EXPECT_EQ(Popup()->Look().back, ColorFromValue(TranslateColor(kSysColorInfoBackground)));
}

TEST_F(TooltipTest, WithoutAnimationShowIsRaisedAtOnce) {
    struct Case {
        const char* name;
        bool balloon;
        qint32 showMode;
    };
    const Case cases[] = {{"balloon", true, kAnimateHorPositive}, {"ShowMode 0", false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clsTooltip own;
        own.SetDelayTimes(1, 5000, 1);
        ToolOptions options = Text("tip");
        options.Baloon = c.balloon;
        options.ShowMode = c.showMode;
        QLabel target(&host);
        target.setGeometry(150, 20, 40, 20);
        target.show();
        own.AddTool(&target, options);
        QSignalSpy shown(&own, &clsTooltip::Show);
        ASSERT_TRUE(Hover(&target));
        EXPECT_EQ(shown.count(), 1);
        EXPECT_FALSE(Popup()->Opening());
        Leave(&target);
    }
}

TEST_F(TooltipTest, TitlesAreCutOrPaddedToEightyCharacters) {
    struct Case {
        QString title, shown;
    };
    const Case cases[] = {
        {"", ""},
        {"     ", ""},
        {"Account", "Account"},
        {QString(100, 'T'), QString(80, 'T')},
        {QString(79, 'a') + "bc", QString(79, 'a') + "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        clsTooltip own;
        own.SetDelayTimes(1, 5000, 1);
        ToolOptions options = Text("tip");
        options.Title = c.title;
        QLabel target(&host);
        target.show();
        own.AddTool(&target, options);
        EXPECT_EQ(own.Tools().back().Title.size(), kTitleLength);
        ASSERT_TRUE(Hover(&target));
        EXPECT_EQ(Popup()->ShownTitle(), c.shown);
        Leave(&target);
    }
}

TEST_F(TooltipTest, BlankTitleAddsNoLine) {
    tips.AddTool(tool, Text("tip"));
    ToolOptions blank = Text("tip");
    blank.Title = "   ";
    tips.AddTool(other, blank);
    ASSERT_TRUE(Hover(tool));
    const int plain = Popup()->height();
    Leave(tool);
    ASSERT_TRUE(Hover(other));
    EXPECT_EQ(Popup()->height(), plain);
}

TEST_F(TooltipTest, NeedTextSuppliesTheTextOfAToolWithout) {
    tips.AddTool(tool);
    QObject::connect(&tips, &clsTooltip::NeedText, [](QWidget* asked, QString& text) {
        text = "asked for " + asked->objectName();
    });
    ASSERT_TRUE(Hover(tool));
    EXPECT_EQ(Popup()->Text(), "asked for tool");
}

TEST_F(TooltipTest, NoTextFromNobodyShowsNoTip) {
    tips.AddTool(tool);
    QSignalSpy shown(&tips, &clsTooltip::Show);
    EXPECT_FALSE(Hover(tool));
    EXPECT_EQ(shown.count(), 0);
}

TEST_F(TooltipTest, WidthWrapsTheTextAtThatWidth) {
    const QString text = "Include International Country Code before the number you dial";
    tips.AddTool(tool, Text(text));
    ToolOptions wrapped = Text(text);
    wrapped.Width = 120;
    tips.AddTool(other, wrapped);
    ASSERT_TRUE(Hover(tool));
    const QRect natural = Popup()->TextRect();
    Leave(tool);
    ASSERT_TRUE(Hover(other));
    const QRect narrow = Popup()->TextRect();
    EXPECT_GT(natural.width(), 120);
    EXPECT_EQ(narrow.width(), 120);
    EXPECT_GE(narrow.height(), 2 * natural.height());
}

TEST_F(TooltipTest, DelaysAreSetSingly) {
    TooltipWindow* popup = Popup();
    tips.SetDelayTimes();
    const int initial = popup->InitialDelay(), autoPop = popup->AutoPopDelay();
    EXPECT_EQ(initial, TooltipWindow::DefaultInitialDelay());
    EXPECT_EQ(autoPop, 10 * initial);
    EXPECT_EQ(popup->ReshowDelay(), initial / 5);
    tips.SetDelayTimes(std::nullopt, 150);
    EXPECT_EQ(popup->InitialDelay(), initial);
    EXPECT_EQ(popup->AutoPopDelay(), 150);
}

TEST_F(TooltipTest, ShowDelayAndAutoHideTakeEffect) {
    tips.AddTool(tool, Text("tip"));
    tips.SetDelayTimes(300, 150, 300);
    QSignalSpy popped(&tips, &clsTooltip::Pop);
    Enter(tool);
    test::Pump(100);
    EXPECT_FALSE(Popup()->isVisible()) << "not before the show delay";
    ASSERT_TRUE(test::WaitUntil([] { return Popup()->isVisible(); }, 2000));
    ASSERT_TRUE(test::WaitUntil([] { return !Popup()->isVisible(); }, 2000));
    EXPECT_EQ(popped.count(), 1);
}

TEST_F(TooltipTest, LeavingPopsTheTip) {
    tips.AddTool(tool, Text("tip"));
    QSignalSpy popped(&tips, &clsTooltip::Pop);
    ASSERT_TRUE(Hover(tool));
    Leave(tool);
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(popped.count(), 1);
}

TEST_F(TooltipTest, UpdateToolChangesOnlyWhatIsGiven) {
    ToolOptions options = Text("before");
    options.Margin = 3;
    tips.AddTool(tool, options);
    ToolChanges changes;
    changes.TOOLTIPTEXT = QString("after");
    changes.BackColor = 0x0000FF;  // red as 0x00BBGGRR
    tips.UpdateTool(tool, changes);
    ASSERT_TRUE(Hover(tool));
    EXPECT_EQ(Popup()->Text(), "after");
    EXPECT_EQ(Popup()->Look().back, QColor(255, 0, 0));
    EXPECT_EQ(Popup()->Look().margin, 3);
}

TEST_F(TooltipTest, RemovedToolShowsNoTip) {
    tips.AddTool(tool, Text("tip"));
    tips.RemoveTool(tool);
    EXPECT_FALSE(Hover(tool));
}

TEST_F(TooltipTest, MomentsGoToTheInstanceThatOwnsTheTool) {
    clsTooltip second;
    tips.AddTool(tool, Text("first's"));
    second.AddTool(other, Text("second's"));
    QSignalSpy firstShown(&tips, &clsTooltip::Show), secondShown(&second, &clsTooltip::Show);
    ASSERT_TRUE(Hover(other));
    ASSERT_TRUE(test::WaitUntil([&] { return secondShown.count() == 1; }, 2000));
    EXPECT_EQ(firstShown.count(), 0);
}

TEST(TooltipWindowLife, TheLastInstanceTakesThePopupAlong) {
    auto first = std::make_unique<clsTooltip>();
    TooltipWindow* shared = mdlTooltip::Window();
    ASSERT_NE(shared, nullptr);
    {
        clsTooltip second;
        EXPECT_EQ(mdlTooltip::Window(), shared);
    }
    EXPECT_EQ(mdlTooltip::Window(), shared);
    first.reset();
    EXPECT_EQ(mdlTooltip::Window(), nullptr);
}

TEST(TranslateColor, PlainAndSystemValues) {
    const quint32 tipBack = [] {
        const QColor c = QApplication::palette().color(QPalette::ToolTipBase);
        return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
    }();
    struct Case {
        quint32 in, out;
    };
    const Case cases[] = {
        {0x00000000, 0x00000000}, {0x00123456, 0x00123456},
        {0x02123456, 0x00123456}, {kSysColorInfoBackground, tipBack},
        {0x80000063, 0},          {0x01000005, 0},
        {0x7F000000, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TranslateColor(c.in), c.out) << std::hex << c.in;
    EXPECT_EQ(ColorFromValue(0x00123456), QColor(0x56, 0x34, 0x12));
}

}  // namespace
}  // namespace softphone
