#include "system/IniSettingsStore.h"
#include "ui/ChartTools.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"
#include "ui/MainWindow.h"
#include "ui/ReadoutWindow.h"

#include "LoaderTestSupport.h"
#include "PrintFakes.h"
#include "RecordedMessages.h"
#include "ScriptedInputs.h"

#include <QAction>
#include <QDate>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace nimbrel {

// The window of every evening: moving through time by keys on the chart and in the read-out,
// the wheel and a drag with the middle button; the crosshair; reloading the file shown and
// opening the files of other evenings.

namespace {

// `days` calendar days from 2020-01-01; day d closes at 1000 + d, 5 above its low and below
// its high, so that the range of any days shown is known without the program. `tail` is
// written after them.
QString writeRisingDays(const QTemporaryDir& dir, int days = 300, const QString& tail = {},
                        const QString& name = QStringLiteral("rising.txt")) {
    QString text = QStringLiteral("上昇\n円\n");
    for (int day = 1; day <= days; ++day) {
        const QString date =
            QDate(2020, 1, 1).addDays(day - 1).toString(QStringLiteral("yyyyMMdd"));
        text += QStringLiteral("%1 %2 %3 %4 %2\n")
                    .arg(date)
                    .arg(1000 + day)
                    .arg(1005 + day)
                    .arg(995 + day);
    }
    // Written beside and renamed, as a download job replaces a file.
    const QString path = dir.filePath(name);
    QFile file(path + QStringLiteral(".part"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((text + tail).toUtf8());
    file.close();
    QFile::remove(path);
    EXPECT_TRUE(QFile::rename(file.fileName(), path));
    return path;
}

class DailyUseWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(IniSettingsStore().fileName());
        window_ = std::make_unique<MainWindow>(store_, messages_, inputs_, printDialogs_);
        window_->resize(900, 600);
        window_->show();
        path_ = writeRisingDays(dir_);
        window_->openFile(path_);
        QCoreApplication::processEvents();
    }

    ChartView* view() const { return window_->chartView(); }
    const ChartLayout& layout() const { return window_->layout(); }
    std::pair<int, int> shown() const { return {layout().firstDay, layout().lastDay}; }
    void key(Qt::Key key, QWidget* to = nullptr) { QTest::keyClick(to ? to : view(), key); }

    QPoint pointAtDay(int day) const {
        const double y = layout().frame.top + layout().frame.height / 2;
        return QPoint(static_cast<int>(layout().days.x(day) / 15), static_cast<int>(y / 15));
    }

    void wheel(QPoint angle, QPoint pixels = {}, Qt::KeyboardModifiers modifiers = {},
               QPoint at = {300, 300}) {
        QWheelEvent event(at, view()->mapToGlobal(at), pixels, angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view(), &event);
    }

    void middle(QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MiddleButton;
        QMouseEvent event(type, at, view()->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::MiddleButton, held, {});
        QCoreApplication::sendEvent(view(), &event);
    }

    QTemporaryDir dir_;
    QString path_;
    IniSettingsStore store_;
    RecordedMessages messages_;
    ScriptedInputs inputs_;
    FakePrintDialogs printDialogs_;
    std::unique_ptr<MainWindow> window_;
};

using Days = std::pair<int, int>;

} // namespace

TEST_F(DailyUseWindowTest, KeysScrollByADayOrAChartAndShowFewerOrMoreDays) {
    ASSERT_EQ(shown(), Days(181, 300)); // the newest 120
    key(Qt::Key_Left);
    EXPECT_EQ(shown(), Days(180, 299));
    key(Qt::Key_Right);
    key(Qt::Key_Right); // the newest day is shown: nothing further
    EXPECT_EQ(shown(), Days(181, 300));
    key(Qt::Key_PageUp);
    EXPECT_EQ(shown(), Days(61, 180));
    // The ordinary scan: the range of days 61..180.
    EXPECT_EQ(window_->view().visibleHigh, Fixed4::fromWhole(1185));
    EXPECT_EQ(window_->view().visibleLow, Fixed4::fromWhole(1056));
    key(Qt::Key_PageUp);
    EXPECT_EQ(shown(), Days(1, 120));
    key(Qt::Key_PageDown);
    EXPECT_EQ(shown(), Days(121, 240));
    key(Qt::Key_End);
    EXPECT_EQ(shown(), Days(181, 300));
    key(Qt::Key_Home);
    EXPECT_EQ(shown(), Days(1, 120));

    // Fewer days by a quarter, around the newest day shown; more undoes it.
    key(Qt::Key_Plus);
    EXPECT_EQ(shown(), Days(31, 120));
    key(Qt::Key_Minus);
    EXPECT_EQ(shown(), Days(1, 120));
    for (int i = 0; i < 20; ++i) key(Qt::Key_Plus);
    EXPECT_EQ(shown(), Days(111, 120)); // never fewer than ten
    for (int i = 0; i < 30; ++i) key(Qt::Key_Minus);
    EXPECT_EQ(shown(), Days(1, 300)); // never more than are loaded

    // Keys with Ctrl or Alt are the menus', not the chart's.
    QTest::keyClick(view(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(shown(), Days(1, 300));
}

TEST_F(DailyUseWindowTest, ArrowsMoveTheReadoutAndTheChartFollowsIt) {
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(183));
    ReadoutWindow* readout = window_->readoutWindow();
    ASSERT_NE(readout, nullptr);
    ASSERT_EQ(readout->dayShown(), 183);
    // The keys reach the chart from the read-out, which has the focus after a click.
    key(Qt::Key_Left, readout);
    key(Qt::Key_Left, readout);
    EXPECT_EQ(readout->dayShown(), 181);
    EXPECT_EQ(readout->windowTitle(), QStringLiteral("20200629")); // 2020-01-01 + 180 days
    EXPECT_EQ(shown(), Days(181, 300));
    key(Qt::Key_Left, readout);
    EXPECT_EQ(readout->dayShown(), 180);
    EXPECT_EQ(shown(), Days(180, 299));
    key(Qt::Key_End, readout);
    for (int i = 0; i < 200; ++i) key(Qt::Key_Right);
    EXPECT_EQ(readout->dayShown(), 300);
    EXPECT_EQ(shown(), Days(181, 300));
}

TEST_F(DailyUseWindowTest, TheWheelScrollsAndZoomsAroundThePointerAndTheMiddleButtonPans) {
    wheel({0, 120}); // away from the user: older, 4 days a notch of 120 shown
    EXPECT_EQ(shown(), Days(177, 296));
    wheel({0, 60}); // half a notch waits for the other half
    EXPECT_EQ(shown(), Days(177, 296));
    wheel({0, 60});
    EXPECT_EQ(shown(), Days(173, 292));
    wheel({0, -240});
    EXPECT_EQ(shown(), Days(181, 300));

    // A trackpad: as many whole slots as the fingers moved, the rest kept for the next move.
    const double slot = layout().dayWidth / 15;
    const int moved = static_cast<int>(2.5 * slot);
    wheel({}, QPoint(moved, 0));
    EXPECT_EQ(shown(), Days(179, 298));
    wheel({}, QPoint(static_cast<int>(std::ceil(3 * slot)) - moved, 0));
    EXPECT_EQ(shown(), Days(178, 297));

    // Ctrl: the day under the pointer stays where it is, with fewer days around it.
    const QPoint atDay218 = pointAtDay(218);
    const double shareBefore = double(218 - 178) / (297 - 178);
    wheel({0, 120}, {}, Qt::ControlModifier, atDay218);
    EXPECT_EQ(shown().second - shown().first + 1, 96);
    EXPECT_NEAR(double(218 - shown().first) / (shown().second - shown().first), shareBefore, 0.01);
    wheel({0, -120}, {}, Qt::ControlModifier, atDay218);
    EXPECT_EQ(shown().second - shown().first + 1, 120);

    // Dragged ten slots right with the middle button: ten days older; back where it started:
    // the days it started with.
    const Days before = shown();
    const QPoint from = pointAtDay(200);
    middle(QEvent::MouseButtonPress, from);
    middle(QEvent::MouseMove, from + QPoint(static_cast<int>(10.2 * layout().dayWidth / 15), 0));
    EXPECT_EQ(shown(), Days(before.first - 10, before.second - 10));
    middle(QEvent::MouseMove, from);
    middle(QEvent::MouseButtonRelease, from);
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(window_->readoutWindow(), nullptr); // the middle button is no click

    // A thirtieth of 51 days shown is 1.7: a notch scrolls 2.
    for (int i = 0; i < 3; ++i) key(Qt::Key_Plus); // 120, 90, 68, 51
    const Days fewer = shown();
    ASSERT_EQ(fewer.second - fewer.first + 1, 51);
    wheel({0, 120});
    EXPECT_EQ(shown(), Days(fewer.first - 2, fewer.second - 2));
}

TEST_F(DailyUseWindowTest, TheCrosshairInvertsTheChartAndLeavesItAsItWas) {
    const QImage chart = view()->imageForDrawing().copy();
    window_->action("crosshair")->trigger();
    EXPECT_TRUE(window_->action("crosshair")->isChecked());
    const QPoint at = pointAtDay(250) + QPoint(0, 20);
    QTest::mouseMove(view(), at);
    const QImage crossed = view()->imageForDrawing().copy();
    // The changed pixels: a column at the slot's centre and a row at the pointer.
    const int column = static_cast<int>(layout().days.x(250) / 15);
    int inColumn = 0, inRow = 0, elsewhere = 0;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x) {
            if (chart.pixel(x, y) == crossed.pixel(x, y)) continue;
            if (std::abs(x - column) <= 1)
                ++inColumn;
            else if (std::abs(y - at.y()) <= 1)
                ++inRow;
            else
                ++elsewhere;
        }
    EXPECT_GT(inColumn, layout().frame.height / 15 * 0.9);
    EXPECT_GT(inRow, (layout().frame.right - layout().frame.left) / 15 * 0.9);
    EXPECT_EQ(elsewhere, 0);
    // The price at the pointer, between the grid's prices above and below it, beside the plot.
    const auto* price = view()->findChild<QLabel*>(QStringLiteral("crosshairPrice"));
    ASSERT_TRUE(price && price->isVisible());
    EXPECT_LT(std::abs(price->geometry().center().y() - at.y()), 2);
    EXPECT_GE(price->geometry().left(), 0);
    double above = 1e9, below = 0; // the prices of the grid lines nearest above and below
    for (const PriceGridLine& line : layout().priceGrid) {
        if (line.y / 15 < at.y())
            above = std::min(above, line.label.toDouble());
        else
            below = std::max(below, line.label.toDouble());
    }
    EXPECT_GT(price->text().toDouble(), below);
    EXPECT_LT(price->text().toDouble(), above);
    EXPECT_LT(above - below, 10);

    // Over the slots after the newest day, where the spans are drawn, it stays.
    QTest::mouseMove(view(), pointAtDay(320));
    EXPECT_TRUE(price->isVisible());

    // Moved and switched off, the chart is as it was, pixel for pixel.
    QTest::mouseMove(view(), pointAtDay(200));
    EXPECT_NE(view()->imageForDrawing(), crossed);
    window_->action("crosshair")->trigger();
    EXPECT_EQ(view()->imageForDrawing(), chart);
    EXPECT_FALSE(price->isVisible());
    window_->action("crosshair")->trigger();
    window_->close();
    EXPECT_EQ(store_.value(QStringLiteral("crosshair")), QStringLiteral("True"));
}

TEST_F(DailyUseWindowTest, AReloadKeepsTheDaysShownFromTheNewestAndAFailedOneKeepsTheChart) {
    EXPECT_EQ(window_->action("reload")->shortcut(), QKeySequence(Qt::Key_F5));
    // The read-out on the slot after the newest day, which the reload fills.
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointAtDay(301));
    ReadoutWindow* readout = window_->readoutWindow();
    ASSERT_TRUE(readout && readout->dayShown() == 301);
    EXPECT_EQ(readout->fields().close, QStringLiteral("0"));
    key(Qt::Key_PageUp);
    ASSERT_EQ(shown(), Days(61, 180)); // 120 days, 120 short of the newest
    writeRisingDays(dir_, 302);
    window_->action("reload")->trigger();
    EXPECT_EQ(shown(), Days(63, 182));
    EXPECT_EQ(window_->series().dataCount, 302);
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Nimbrel(32) … rising.txt"));
    EXPECT_EQ(readout->fields().close, QStringLiteral("1301"));

    // Half written: the chart stays, the title and a message say why.
    writeRisingDays(dir_, 303, QStringLiteral("20201030 1304 13"));
    window_->action("reload")->trigger();
    EXPECT_EQ(window_->series().dataCount, 302);
    EXPECT_EQ(shown(), Days(63, 182));
    EXPECT_EQ(window_->view().visibleHigh, Fixed4::fromWhole(1187));
    EXPECT_EQ(window_->windowTitle(),
              QStringLiteral("Nimbrel(32) … rising.txt （再読み込みできません）"));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(messages_.shown[0].text.startsWith(QStringLiteral("306行目のデータを読めません")));

    // Rewritten on disk with the option on: reloaded once the file stands still, without a word.
    window_->action("reloadOnChange")->trigger();
    writeRisingDays(dir_, 310);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window_->series().dataCount == 310; }, 5000));
    EXPECT_EQ(shown(), Days(71, 190));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Nimbrel(32) … rising.txt"));
    EXPECT_EQ(messages_.shown.size(), 1u);
    // Deleted, as a download job does before it writes the next: nothing to reload yet.
    ASSERT_TRUE(QFile::remove(path_));
    QTest::qWait(1000);
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Nimbrel(32) … rising.txt"));
    writeRisingDays(dir_, 311, QStringLiteral("20201107 1312 13"));
    QTest::qWait(1000);
    EXPECT_EQ(window_->series().dataCount, 310);
    EXPECT_TRUE(window_->windowTitle().endsWith(QStringLiteral("（再読み込みできません）")));
    EXPECT_EQ(messages_.shown.size(), 1u);
    window_->close();
    EXPECT_EQ(store_.value(QStringLiteral("reloadOnChange")), QStringLiteral("True"));
}

TEST_F(DailyUseWindowTest, RecentFilesOpenWithTheirSheetAndAMissingOneLeavesTheList) {
    const QString other = writeRisingDays(dir_, 50, {}, QStringLiteral("other.txt"));
    window_->openFile(other);
    QAction* first = window_->action("recentFile1");
    ASSERT_TRUE(first && window_->action("recentFile2"));
    EXPECT_EQ(first->text(), QStringLiteral("&1 ") + other);
    EXPECT_EQ(window_->action("recentFile2")->text(), QStringLiteral("&2 ") + path_);
    window_->action("recentFile2")->trigger();
    EXPECT_EQ(window_->series().dataCount, 300);
    EXPECT_EQ(window_->action("recentFile1")->text(), QStringLiteral("&1 ") + path_);

    QFile::remove(other);
    window_->action("recentFile2")->trigger();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QStringLiteral("ファイルを開けません\n") + other);
    EXPECT_EQ(window_->series().dataCount, 300); // the chart shown stays
    EXPECT_EQ(window_->action("recentFile2"), nullptr);
    window_->close();
    EXPECT_EQ(store_.value(QStringLiteral("recentFile1")), path_);
    EXPECT_EQ(store_.value(QStringLiteral("recentFile2")), QString());
}

TEST_F(DailyUseWindowTest, AFileOpensWithAnAxisOfItsOwnAndAWorkbookIsListedWithItsSheet) {
    inputs_.answers = {QStringLiteral("5")};
    window_->action("axisStep")->trigger();
    ASSERT_EQ(window_->view().userStep, 5.0f);
    // Named .xlsx, read by what it holds; opened on its second sheet.
    const QString book = dir_.filePath(QStringLiteral("two_sheets.xlsx"));
    ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("/two_sheets.xls"), book));
    window_->fileChooser()->setSheetName(QStringLiteral("prices"));
    window_->openFile(book);
    EXPECT_EQ(window_->series().dataCount, 10);
    EXPECT_EQ(window_->view().userStep, 0.0f); // the step chosen for the other file
    window_->fileChooser()->setSheetName(QStringLiteral("sheet1"));
    window_->openFile(path_);
    QAction* listed = window_->action("recentFile2");
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->text(), QStringLiteral("&2 ") + book + QStringLiteral(" [prices]"));
    listed->trigger();
    EXPECT_EQ(window_->series().dataCount, 10);
}

} // namespace nimbrel
