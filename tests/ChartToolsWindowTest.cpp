#include "system/IniSettingsStore.h"
#include "ui/AnalysisWindow.h"
#include "ui/ChartView.h"
#include "ui/MainWindow.h"
#include "ui/MeasuringWindow.h"
#include "ui/OptionPanels.h"
#include "ui/ReadoutWindow.h"

#include "LoaderTestSupport.h"
#include "PrintFakes.h"
#include "Printers.h"
#include "RecordedMessages.h"
#include "ScriptedInputs.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace nimbrel {

// The mouse tools, option commands and panels as a user drives them: real widgets, real mouse
// events on the chart view, input boxes answered from a script.

namespace {

class ChartToolsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(IniSettingsStore().fileName());
        window_ = std::make_unique<MainWindow>(store_, messages_, inputs_, printDialogs_);
        window_->resize(900, 600);
        window_->show();
        QCoreApplication::processEvents();
        // The sample of the worked examples: 70 days of a Shift-JIS file.
        window_->openFile(kFixtures + QStringLiteral("/examples/nikkei_sjis_yymmdd.txt"));
        QCoreApplication::processEvents();
    }

    ChartView* view() const { return window_->chartView(); }
    const ChartLayout& layout() const { return window_->layout(); }
    QMenu* menu(const char* name) const { return window_->findChild<QMenu*>(name); }

    // The pixel (logical) where the chart draws day `day`, at the middle of the plot's height.
    QPoint pointAtDay(int day) const {
        const double y = layout().frame.top + layout().frame.height / 2;
        return QPoint(static_cast<int>(layout().days.x(day) / 15), static_cast<int>(y / 15));
    }

    // The pixel of a day's slot at the height of a price.
    QPoint pointAt(int day, double price) const {
        const double y = *layout().seriesPrices.y(price);
        return QPoint(static_cast<int>(layout().days.x(day) / 15), static_cast<int>(y / 15));
    }

    static QString field(QWidget* window, const char* name) {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    QImage image() const { return view()->imageForDrawing().copy(); }

    IniSettingsStore store_;
    RecordedMessages messages_;
    ScriptedInputs inputs_;
    FakePrintDialogs printDialogs_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace

TEST_F(ChartToolsWindowTest, TheReadoutFollowsThePointerAfterALeftClick) {
    QTest::mouseMove(view(), pointAtDay(60));
    EXPECT_EQ(window_->readoutWindow(), nullptr); // nothing shows before a click
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(60));
    ReadoutWindow* readout = window_->readoutWindow();
    ASSERT_NE(readout, nullptr);
    EXPECT_TRUE(readout->isVisible());
    EXPECT_EQ(readout->windowTitle(), QStringLiteral("20000121")); // the day clicked, at once
    EXPECT_EQ(field(readout, "close"), QStringLiteral("1236"));
    QTest::mouseMove(view(), pointAtDay(45));
    EXPECT_EQ(readout->windowTitle(), QStringLiteral("19991231")); // day 45 of the file
    EXPECT_EQ(field(readout, "close"), QStringLiteral("1226.3"));
    EXPECT_EQ(field(readout, "laggingFront"), QStringLiteral("1483.3")); // day 20's close
    EXPECT_EQ(field(readout, "laggingBack"), QStringLiteral("1235.5"));  // day 70's close

    // No decimals: the same day is shown again in the new form.
    inputs_.answers = {QStringLiteral("0")};
    window_->action("decimals")->trigger();
    EXPECT_EQ(field(readout, "close"), QStringLiteral("1226"));

    // A click on it hides it; a new file hides it too.
    QTest::mouseClick(readout, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(readout->isVisible());
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(30));
    EXPECT_TRUE(readout->isVisible());
    window_->openFile(kFixtures + QStringLiteral("/examples/one_price_lf.txt"));
    EXPECT_FALSE(readout->isVisible());
}

TEST_F(ChartToolsWindowTest, RightClicksCloseTheToolsAndPopUpTheMenus) {
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(30));
    ASSERT_NE(window_->readoutWindow(), nullptr);
    QTest::mouseClick(view(), Qt::RightButton, Qt::ControlModifier, pointAtDay(30));
    EXPECT_EQ(window_->readoutWindow(), nullptr);
    EXPECT_TRUE(menu("fileMenu")->isVisible());
    menu("fileMenu")->hide();

    window_->action("measureDays")->trigger();
    ASSERT_NE(window_->measuringWindow(), nullptr);
    // Ctrl with Shift is no Ctrl click: the options menu.
    QTest::mouseClick(view(), Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier,
                      pointAtDay(30));
    EXPECT_EQ(window_->measuringWindow(), nullptr);
    EXPECT_EQ(window_->measuringTool().state(), MeasureState::Off);
    EXPECT_TRUE(menu("optionsMenu")->isVisible());
    EXPECT_FALSE(menu("fileMenu")->isVisible());
}

TEST_F(ChartToolsWindowTest, TheAnalysisToolsMarkTheChartAndKeepTheirDatesAcrossBars) {
    // The basic numbers from day 36 (1999-12-20): "9 bars on" is day 44, 1999-12-30.
    window_->action("basicNumbers")->trigger();
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(36));
    EXPECT_EQ(window_->readoutWindow(), nullptr); // the click was the analysis tool's
    ASSERT_EQ(window_->view().marks.timeMarks.size(), 15u);
    EXPECT_EQ(window_->view().marks.timeMarks[0].bar, 44);
    ASSERT_TRUE(window_->findChild<AnalysisWindow*>());
    const QStringList marks = window_->findChildren<AnalysisWindow*>()[0]->lines();
    EXPECT_EQ(marks.mid(0, 2),
              (QStringList{QStringLiteral("9 19991230"), QStringLiteral("17 20000111")}));

    // A fall: A the high of day 36, B the low of day 40, C the high of day 44, each picked by
    // clicking near it.
    window_->action("priceTargets")->trigger();
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAt(36, 1318));
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAt(40, 1221));
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAt(44, 1262));
    const ChartMarks& drawn = window_->view().marks;
    EXPECT_EQ(drawn.targetsFrom, 44);
    QStringList targets;
    for (AnalysisWindow* w : window_->findChildren<AnalysisWindow*>())
        if (w->windowTitle() == QStringLiteral("値幅観測")) targets = w->lines();
    EXPECT_EQ(targets,
              (QStringList{"A 1320  (19991220)", "B 1219.2  (19991224)", "C 1263.9  (19991230)",
                           "N 1163.1", "V 1174.5", "E 1118.4", "NT 1207.8"}));

    // Weekly bars keep the marks at their dates: the week of 1999-12-20 is bar 8 of the weeks
    // from 1999-11-01.
    window_->action("weeklyBars")->trigger();
    EXPECT_TRUE(window_->action("weeklyBars")->isChecked());
    EXPECT_EQ(window_->series().dataCount, 14);
    EXPECT_EQ(window_->view().marks.timeMarks[0].bar, 8 + 8);
    EXPECT_EQ(window_->view().marks.targetsFrom, 9); // the week of 1999-12-30
    window_->action("dailyBars")->trigger();
    EXPECT_EQ(window_->series().dataCount, 70);
    EXPECT_EQ(window_->view().marks.timeMarks[0].bar, 44);

    // Esc clears them, and so does opening a file.
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_TRUE(window_->view().marks.timeMarks.empty());
    EXPECT_TRUE(window_->view().marks.targets.empty());
    EXPECT_TRUE(window_->findChildren<AnalysisWindow*>().isEmpty());
    window_->action("equalCount")->trigger();
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(30));
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(34));
    ASSERT_EQ(window_->view().marks.timeMarks.size(), 2u); // n = 5: days 38 and 42
    EXPECT_EQ(window_->view().marks.timeMarks[1].bar, 42);
    // The list of basic numbers is the user's: a list that is no list leaves it as it was.
    inputs_.answers = {QStringLiteral("9, ２６"), QStringLiteral("9,x")};
    window_->action("basicNumberList")->trigger();
    window_->action("basicNumberList")->trigger();
    window_->action("basicNumbers")->trigger();
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(36));
    EXPECT_EQ(window_->view().marks.timeMarks.size(), 2u + 2u);
    window_->openFile(kFixtures + QStringLiteral("/examples/one_price_lf.txt"));
    EXPECT_TRUE(window_->view().marks.timeMarks.empty());
}

TEST_F(ChartToolsWindowTest, MeasuringCountsTheDaysBetweenTwoClicks) {
    // A new window, armed, shows no number that no measurement gave: the first time, and after
    // a right click destroyed it.
    for (int time = 0; time < 2; ++time) {
        window_->action("measureDays")->trigger();
        ASSERT_NE(window_->measuringWindow(), nullptr);
        for (const char* name : {"from", "to", "dayCount", "priceRange", "percent"})
            EXPECT_EQ(field(window_->measuringWindow(), name), QString()) << name;
        QTest::mouseClick(view(), Qt::RightButton, {}, pointAtDay(30));
        menu("optionsMenu")->hide();
    }
    window_->action("measureDays")->trigger();
    MeasuringWindow* measuring = window_->measuringWindow();
    ASSERT_TRUE(measuring && measuring->isVisible());
    QTest::mouseMove(view(), pointAtDay(40));
    EXPECT_EQ(field(measuring, "from"), QStringLiteral("19991224"));
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(40));
    EXPECT_EQ(window_->readoutWindow(), nullptr); // the click was the measuring tool's
    QTest::mouseMove(view(), pointAtDay(36));
    EXPECT_EQ(field(measuring, "dayCount"), QStringLiteral("-5"));
    EXPECT_EQ(field(measuring, "to"), QStringLiteral("19991220"));
    EXPECT_EQ(field(measuring, "priceRange"), QStringLiteral("83")); // 1309 - 1226
    EXPECT_EQ(field(measuring, "percent"), QStringLiteral("6.77"));  // 1309 / 1226 - 1
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(44));
    EXPECT_FALSE(measuring->isVisible());
    EXPECT_EQ(window_->measuringTool().state(), MeasureState::Off);
}

TEST_F(ChartToolsWindowTest, TheZoomBandIsInvertedIntoTheImageAndErasedWithoutARedraw) {
    window_->action("zoom")->trigger();
    const QPoint from = pointAtDay(30), to = pointAtDay(50) + QPoint(0, 60);
    QTest::mouseClick(view(), Qt::LeftButton, {}, from);
    const QImage before = image();
    QTest::mouseMove(view(), to);
    const QImage during = image();
    // Every changed pixel is inverted and lies on the band's frame; the frame is dotted, so
    // only some of its pixels change.
    int changed = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) == during.pixel(x, y)) continue;
            ++changed;
            EXPECT_EQ(during.pixel(x, y) & 0xFFFFFF, ~before.pixel(x, y) & 0xFFFFFF);
            const bool onFrame = ((x == from.x() || x == to.x()) && y >= from.y() && y <= to.y()) ||
                                 ((y == from.y() || y == to.y()) && x >= from.x() && x <= to.x());
            EXPECT_TRUE(onFrame) << x << "," << y;
        }
    }
    const int perimeter = 2 * (to.x() - from.x() + to.y() - from.y());
    EXPECT_GT(changed, perimeter / 4);
    EXPECT_LT(changed, perimeter * 2 / 3);

    // A right click erases it and gives the zoom up.
    QTest::mouseClick(view(), Qt::RightButton, {}, to);
    EXPECT_EQ(image(), before);
    EXPECT_EQ(window_->view().endOffset, 0);

    // A band under way stays right over a redraw: after a resize and more moves, a right
    // click leaves the chart as a fresh pass draws it.
    window_->action("zoom")->trigger();
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(20));
    QTest::mouseMove(view(), pointAtDay(40));
    window_->resize(880, 590);
    QCoreApplication::processEvents();
    QTest::mouseMove(view(), pointAtDay(45));
    QTest::mouseClick(view(), Qt::RightButton, {}, pointAtDay(45));
    const QImage cancelled = image();
    window_->redrawChart();
    EXPECT_EQ(cancelled, image());

    // Two clicks zoom to the days between them; a reset shows the newest days again.
    window_->action("zoom")->trigger();
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(50));
    QTest::mouseMove(view(), pointAtDay(35));
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(35));
    EXPECT_EQ(layout().firstDay, 35);
    EXPECT_EQ(layout().lastDay, 50);
    window_->action("resetChart")->trigger();
    EXPECT_EQ(layout().firstDay, 1);
    EXPECT_EQ(layout().lastDay, 70);
}

TEST_F(ChartToolsWindowTest, TheOptionBoxesTellWhatTheyRefuseAndTheUsersRangeHolds) {
    inputs_.answers = {QStringLiteral("71")};
    window_->action("daysShown")->trigger();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QStringLiteral("最大表示日数は70日です"));
    inputs_.answers = {QStringLiteral("20000"), QStringLiteral("17000")};
    window_->action("priceRange")->trigger();
    const float right = layout().frame.right;
    window_->resize(800, 550); // a redraw that scans no prices
    QCoreApplication::processEvents();
    EXPECT_LT(layout().frame.right, right);
    EXPECT_EQ(layout().axis.top, 20000);
    EXPECT_EQ(layout().axis.bottom, Fixed4::fromWhole(17000));
}

TEST_F(ChartToolsWindowTest, ThePanelsSwitchTheAxisAndTheLaggingLines) {
    window_->action("logAxis")->trigger();
    YAxisPanel* axis = window_->yAxisPanel();
    ASSERT_TRUE(axis->isVisible());
    QTest::mouseClick(axis->logButton(), Qt::LeftButton);
    EXPECT_TRUE(window_->view().logY); // at once
    QTest::mouseClick(axis->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(axis->isVisible());
    EXPECT_FALSE(layout().seriesPrices.logarithmic); // not drawn again until the next pass
    window_->action("logAxis")->trigger();
    QTest::mouseDClick(axis->normalButton(), Qt::LeftButton);
    EXPECT_FALSE(window_->view().logY);
    EXPECT_FALSE(axis->isVisible());
    window_->action("logAxis")->trigger();
    QTest::mouseDClick(axis->logButton(), Qt::LeftButton);
    EXPECT_TRUE(layout().seriesPrices.logarithmic);

    window_->action("laggingLines")->trigger();
    LaggingLinePanel* lagging = window_->laggingLinePanel();
    ASSERT_TRUE(lagging->isVisible());
    window_->action("logAxis")->trigger(); // the axis panel hides the lagging-line panel
    EXPECT_FALSE(lagging->isVisible());
    window_->action("laggingLines")->trigger();
    EXPECT_TRUE(axis->isVisible()); // and not the other way round
    QTest::mouseClick(lagging->backBox(), Qt::LeftButton);
    EXPECT_TRUE(window_->view().spanBack);
    QTest::mouseClick(lagging->forwardBox(), Qt::LeftButton); // unchecked, yet on until 実行
    EXPECT_TRUE(window_->view().spanForward);
    QTest::mouseClick(lagging->executeButton(), Qt::LeftButton);
    EXPECT_FALSE(window_->view().spanForward);
    EXPECT_TRUE(window_->view().spanBack);
    EXPECT_FALSE(lagging->isVisible());
    // Shown again, the boxes show the lines drawn.
    window_->action("laggingLines")->trigger();
    EXPECT_FALSE(lagging->forwardBox()->isChecked());
    EXPECT_TRUE(lagging->backBox()->isChecked());

    // A right click on a panel hides it and reaches no chart tool.
    QTest::mouseClick(axis, Qt::RightButton, {}, QPoint(5, axis->height() - 5));
    EXPECT_FALSE(axis->isVisible());
    EXPECT_FALSE(menu("optionsMenu")->isVisible());
}

} // namespace nimbrel
