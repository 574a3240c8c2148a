#include "ui/AboutBox.h"
#include "ui/ChartView.h"
#include "ui/MainWindow.h"
#include "ui/FileChooserPanel.h"
#include "platform/MessageBoxes.h"
#include "platform/IniSettingsStore.h"
#include "platform/QtMessageBoxes.h"

#include "LoaderTestSupport.h"
#include "Printers.h"
#include "RecordedMessages.h"
#include "ScriptedInputs.h"
#include "PrintFakes.h"
#include "PrintedPages.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// Each test starts from an empty settings file under the test run's XDG_CONFIG_HOME.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(IniSettingsStore().fileName()); }

    std::map<QString, QString> savedSettings() const {
        QSettings ini(IniSettingsStore().fileName(), QSettings::IniFormat);
        std::map<QString, QString> values;
        ini.beginGroup(QStringLiteral("UserDef"));
        for (const QString& key : ini.childKeys()) values[key] = ini.value(key).toString();
        return values;
    }

    void writeSettings(const std::map<QString, QString>& values) {
        IniSettingsStore store;
        for (const auto& [key, value] : values) store.setValue(key, value);
    }

    // A started window, as the program starts it.
    std::unique_ptr<MainWindow> start() {
        auto window = std::make_unique<MainWindow>(store_, messages_, inputs_, printDialogs_);
        window->showAsSaved();
        QCoreApplication::processEvents();
        return window;
    }

    static void openThroughPanel(MainWindow& window, const QString& folder, const QString& name) {
        window.action("File_Open")->trigger();
        FileChooserPanel* panel = window.fileChooser();
        ASSERT_TRUE(panel->isVisible());
        ASSERT_TRUE(panel->setDirectory(folder));
        QListWidget* files = panel->file1();
        const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QPoint at = files->visualItemRect(found.front()).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(panel->text1()->text(), name);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
    }

    // The page setup's choice: PDF files, on A5 paper across.
    void choosePdfOnA5Across() {
        printDialogs_.chooseInSetUp = [](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setPageSize(QPageSize(QPageSize::A5));
            printer.setPageOrientation(QPageLayout::Landscape);
        };
    }

    static bool imageHasChart(MainWindow& window) {
        const QImage& image = window.chartView()->imageForDrawing();
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                if (image.pixel(x, y) == qRgb(0, 0, 128)) return true; // a falling candle
        return false;
    }

    IniSettingsStore store_;
    RecordedMessages messages_;
    ScriptedInputs inputs_;
    FakePrintDialogs printDialogs_;
};

QString writeDays(const QTemporaryDir& dir, int days) {
    QFile file(dir.filePath(QStringLiteral("days%1.txt").arg(days)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("days\r\ntest\r\n");
    for (int d = 1; d <= days; ++d)
        file.write(QStringLiteral("%1 %2 %3 %4 %5\r\n")
                       .arg(20000000 + d)
                       .arg(1000 + d % 7)
                       .arg(1010 + d % 7)
                       .arg(990 + d % 5)
                       .arg(1000 + (d % 2 ? 5 : -5))
                       .toLatin1());
    return QFileInfo(file).fileName();
}

} // namespace

TEST_F(MainWindowTest, MenusCarryTheirCaptionsNamesAndAccessKeys) {
    auto window = start();
    const std::pair<const char*, const char*> entries[] = {
        {"Menu_File", "ﾌｧｲﾙ(&F)"},
        {"File_Open", "ﾃﾞｰﾀﾌｧｲﾙを開く(&O)"},
        {"PrtSetting", "ページ設定(&U)"},
        {"PrintBox", "印刷(&P)"},
        {"Split_Print", "画面分割印刷(&S)"},
        {"Split_Print_Upper", "上半分(&U)"},
        {"Split_Print_Lower", "下半分(&L)"},
        {"Menu_End", "終了(&X)"},
        {"Menu_Option", "ｵﾌﾟｼｮﾝ(&O)"},
        {"ChgPlotDay", "表示日数の変更(&D)"},
        {"ChgMaxLength", "日数指定(&N)"},
        {"SelectTerm", "期間指定(&T)"},
        {"Zoom", "ズーム(&Z)"},
        {"Initialize", "グラフ初期化(&I)"},
        {"YAxisSet", "Y軸設定(&Y)"},
        {"SetLogY", "対数軸設定(&L)"},
        {"ChgYAxis2", "最大・最少設定(&H)"},
        {"ChgYAxis", "刻み値の変更(&S)"},
        {"SetMulti", "画面縮小(&M)"},
        {"SetRetardSpan", "遅行線設定(&R)"},
        {"ChkHigara", "日柄測定(&A)"},
        {"ChgKeta", "小数点以下桁数指定(&K)"},
        {"Menu_Help", "ﾍﾙﾌﾟ(&H)"},
        {"VersionInfo", "ﾊﾞｰｼﾞｮﾝ情報(&A)"},
    };
    for (const auto& [name, caption] : entries) {
        QAction* action = window->action(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromUtf8(caption)) << name;
    }
    for (const char* ready :
         {"File_Open", "PrtSetting", "PrintBox", "Split_Print", "Split_Print_Upper",
          "Split_Print_Lower", "Menu_End", "Initialize", "VersionInfo", "Zoom", "ChgKeta",
          "SetLogY", "ChkHigara", "ChgMaxLength", "SetMulti"})
        EXPECT_TRUE(window->action(ready)->isEnabled()) << ready;
    // ズーム stands in the options menu itself, right after the days-shown submenu.
    const QList<QAction*> options =
        window->findChild<QMenu*>(QStringLiteral("Menu_Option"))->actions();
    EXPECT_EQ(options[0]->objectName(), QStringLiteral("ChgPlotDay"));
    EXPECT_EQ(options[1]->objectName(), QStringLiteral("Zoom"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32)"));
}

TEST_F(MainWindowTest, ARunThatOnlyStartsAndEndsWritesBackWhatItRead) {
    {
        auto window = start();
        EXPECT_EQ(window->size(), QSize(433, 300)); // 6500 x 4500 twips
        EXPECT_EQ(window->view().maxLength, 120);
        EXPECT_EQ(window->fileChooser()->text2()->text(), QStringLiteral("sheet1"));
        EXPECT_FALSE(window->fileChooser()->text2()->isVisible());
        window->action("Menu_End")->trigger();
    }
    const std::map<QString, QString> first = savedSettings();
    const std::map<QString, QString> defaults = {
        {"top", "50"},         {"left", "50"},         {"height", "4500"},
        {"width", "6500"},     {"windowState", "0"},   {"SpanForward", "True"},
        {"SpanBack", "False"}, {"maxLength", "120"},   {"keta", "0.01"},
        {"logY", "False"},     {"filePattern", "*.*"}, {"sheet", "sheet1$"}};
    EXPECT_EQ(first, defaults);

    writeSettings({{"filePattern", "*.xls"}, {"maxLength", "250"}, {"SpanForward", "-1"}});
    {
        auto window = start();
        EXPECT_TRUE(window->fileChooser()->text2()->isVisibleTo(window->fileChooser()));
        window->close(); // the close box ends the program as 終了 does
    }
    std::map<QString, QString> second = defaults;
    second["filePattern"] = "*.xls";
    second["maxLength"] = "250";
    second["SpanForward"] = "-1";
    EXPECT_EQ(savedSettings(), second);

    writeSettings({{"filePattern", "*.XLS"}});
    auto window = start();
    EXPECT_FALSE(window->fileChooser()->text2()->isVisibleTo(window->fileChooser()));
}

TEST_F(MainWindowTest, SavedPlacesAndStatesComeBack) {
    writeSettings({{"top", "-4800"}, {"left", "300"}, {"windowState", "1"}});
    {
        auto window = start();
        EXPECT_TRUE(window->isMinimized());
        window->close();
    }
    EXPECT_EQ(savedSettings()["windowState"], QStringLiteral("1"));

    writeSettings({{"top", "1500"},
                   {"left", "3000"},
                   {"width", "15000"},
                   {"height", "9000"},
                   {"windowState", "0"}});
    auto window = start();
    EXPECT_EQ(window->pos(), QPoint(200, 100));
    EXPECT_EQ(window->size(), QSize(1000, 600));
    window->resize(1010, 600);
    window->close();
    EXPECT_EQ(savedSettings()["width"], QStringLiteral("15150"));
}

TEST_F(MainWindowTest, OpeningAFileShowsItsChartAndNamesItInTheTitle) {
    auto window = start();
    openThroughPanel(*window, kFixtures + QStringLiteral("/examples"),
                     QStringLiteral("nikkei_sjis_yymmdd.txt"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … nikkei_sjis_yymmdd.txt"));
    EXPECT_FALSE(window->fileChooser()->isVisible());
    EXPECT_EQ(window->series().dataCount, 70);
    EXPECT_EQ(window->series().ichimokuTable[52].span2.units() != 0, true);
    EXPECT_TRUE(imageHasChart(*window));
    EXPECT_TRUE(messages_.shown.empty());

    // A wrong sheet: the message, the program's title and an empty chart.
    openThroughPanel(*window, kFixtures, QStringLiteral("wrong_sheet.xls"));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QStringLiteral("シート名を確認して下さい"));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32)"));
    EXPECT_EQ(window->series().dataCount, 0);
    EXPECT_FALSE(imageHasChart(*window));
}

TEST_F(MainWindowTest, TheFileNameBoxTakesPatternsFoldersAndFiles) {
    auto window = start();
    FileChooserPanel* panel = window->fileChooser();
    window->action("File_Open")->trigger();
    ASSERT_TRUE(panel->setDirectory(kFixtures));
    QLineEdit* text1 = panel->text1();
    text1->clear();
    QTest::keyClicks(text1, QStringLiteral("*.txt"));
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(panel->file1()->count(), 0); // no .txt beside the workbooks
    text1->clear();
    QTest::keyClicks(text1, QStringLiteral("examples"));
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(panel->directory(), kFixtures + QStringLiteral("/examples"));
    EXPECT_EQ(panel->file1()->count(), 2);

    // A name ending in .xls shows the sheet box from the next key on (Enter, here).
    text1->clear();
    QTest::keyClicks(text1, QStringLiteral("../numbers.xls"));
    EXPECT_FALSE(panel->text2()->isVisible());
    QTest::keyClick(text1, Qt::Key_Return); // an existing file: selected and opened
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … numbers.xls"));
    EXPECT_EQ(window->series().dataCount, 12);
    window->action("File_Open")->trigger();
    EXPECT_TRUE(panel->text2()->isVisible());
    QTest::keyClick(text1, Qt::Key_X);
    QTest::keyClick(text1, Qt::Key_Y);
    EXPECT_FALSE(panel->text2()->isVisible());

    // A folder that cannot be read: the message, and the lists stay.
    const QString before = panel->directory();
    EXPECT_FALSE(panel->setDirectory(QStringLiteral("/nonexistent/folder")));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(messages_.shown[0].text, QStringLiteral("フォルダを開けません\n/nonexistent/folder"));
    EXPECT_EQ(panel->directory(), before);

    text1->setText(QStringLiteral("*.csv"));
    QTest::keyClick(text1, Qt::Key_Return);
    window->close();
    EXPECT_EQ(savedSettings()["filePattern"], QStringLiteral("*.csv"));
}

TEST_F(MainWindowTest, TheSheetNameAppliesOnEnterOrWhenThePanelOpens) {
    auto window = start();
    FileChooserPanel* panel = window->fileChooser();
    panel->text1()->setText(QStringLiteral("two_sheets.xls"));
    QTest::keyClick(panel->text1(), Qt::Key_Home); // shows the sheet box
    window->action("File_Open")->trigger();
    QLineEdit* text2 = panel->text2();
    text2->setText(QStringLiteral("prices"));
    EXPECT_EQ(panel->sheetSourceName(), QStringLiteral("sheet1$"));
    QTest::keyClick(text2, Qt::Key_Return);
    EXPECT_EQ(panel->sheetSourceName(), QStringLiteral("prices$"));
    text2->setText(QStringLiteral("sheet1"));
    openThroughPanel(*window, kFixtures, QStringLiteral("two_sheets.xls"));
    EXPECT_EQ(window->series().dataCount, 8); // "sheet1": the panel was opened again
    window->close();
    EXPECT_EQ(savedSettings()["sheet"], QStringLiteral("sheet1$"));
}

TEST_F(MainWindowTest, ARightClickHidesThePanelAndKeepsTheChart) {
    auto window = start();
    openThroughPanel(*window, kFixtures + QStringLiteral("/examples"),
                     QStringLiteral("nikkei_sjis_yymmdd.txt"));
    window->action("File_Open")->trigger();
    FileChooserPanel* panel = window->fileChooser();
    ASSERT_TRUE(panel->isVisible());
    QTest::mouseClick(panel, Qt::RightButton, {}, QPoint(400, 400));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(window->series().dataCount, 70);
}

TEST_F(MainWindowTest, ResetShowsTheNewestDaysAgain) {
    QTemporaryDir dir;
    auto window = start();
    openThroughPanel(*window, dir.path(), writeDays(dir, 300));
    EXPECT_EQ(window->view().firstDay, 181);
    window->action("Initialize")->trigger();
    EXPECT_EQ(window->view().firstDay, 181);
    openThroughPanel(*window, dir.path(), writeDays(dir, 100));
    window->action("Initialize")->trigger();
    EXPECT_EQ(window->view().firstDay, 1);
    EXPECT_EQ(window->view().endOffset, 0);
}

TEST_F(MainWindowTest, MinimisingKeepsTheImageAndResizingRedraws) {
    auto window = start();
    openThroughPanel(*window, kFixtures + QStringLiteral("/examples"),
                     QStringLiteral("nikkei_sjis_yymmdd.txt"));
    QImage& image = window->chartView()->imageForDrawing();
    image.setPixel(0, 0, qRgb(1, 2, 3)); // a mark that only a new pass removes
    window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->wasMinimized());
    window->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->chartView()->imageForDrawing().pixel(0, 0), qRgb(1, 2, 3));
    window->resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_NE(window->chartView()->imageForDrawing().pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(window->chartView()->imageForDrawing().size(), window->chartView()->size());
    EXPECT_TRUE(imageHasChart(*window));
}

TEST_F(MainWindowTest, TheVersionWindowIsOneWindowThatHides) {
    auto window = start();
    window->action("VersionInfo")->trigger();
    window->action("VersionInfo")->trigger();
    EXPECT_EQ(window->findChildren<AboutBox*>().size(), 1);
    AboutBox* about = window->aboutBox();
    ASSERT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(about->label()->text(),
              QStringLiteral("Nimbrel(32)(一目均衡表作成ﾌﾟﾛｸﾞﾗﾑ) Ver 3.04"));
    EXPECT_EQ(about->size(), QSize(484, 182));
    EXPECT_FALSE(about->picture()->pixmap().isNull());
    const QPoint place = about->pos();
    QTest::mouseClick(about->okButton(), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    window->action("VersionInfo")->trigger();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->pos(), place);
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(200, 150)); // the empty area
    EXPECT_FALSE(about->isVisible());
}

namespace {

// The window itself has the focus; a window whose owner has it already counts as active.
bool hasFocusWindow(const QWidget* window) {
    return QTest::qWaitFor(
        [&] { return QGuiApplication::focusWindow() == window->windowHandle(); });
}

// What the window manager does when the user comes back to a window.
void activate(QWidget* window) {
    window->windowHandle()->requestActivate();
    ASSERT_TRUE(hasFocusWindow(window));
}

} // namespace

TEST_F(MainWindowTest, TheTitleLosesTheFileNameOnlyOnReturnFromAToolWindow) {
    auto window = start();
    activate(window.get());
    openThroughPanel(*window, kFixtures + QStringLiteral("/examples"),
                     QStringLiteral("nikkei_sjis_yymmdd.txt"));
    const QString withName = QStringLiteral("Nimbrel(32) … nikkei_sjis_yymmdd.txt");
    auto visit = [](QWidget* other) {
        other->show();
        ASSERT_TRUE(hasFocusWindow(other));
        other->close();
    };
    // Each of these takes the focus and gives it back to the main window.
    const std::pair<const char*, std::function<void()>> passes[] = {
        {"menu bar",
         [&] {
             QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
             QMenu* menu = window->findChild<QMenu*>(QStringLiteral("Menu_File"));
             ASSERT_TRUE(hasFocusWindow(menu));
             QTest::keyClick(menu, Qt::Key_Escape);
             QTest::keyClick(window->menuBar(), Qt::Key_Escape);
         }},
        {"pop-up menu",
         [&] {
             QMenu* menu = window->findChild<QMenu*>(QStringLiteral("Menu_Option"));
             menu->popup(window->mapToGlobal(QPoint(100, 100)));
             ASSERT_TRUE(hasFocusWindow(menu));
             menu->close();
         }},
        {"drive drop-down",
         [&] {
             window->action("File_Open")->trigger();
             QComboBox* drives = window->fileChooser()->drive1();
             drives->showPopup();
             ASSERT_TRUE(hasFocusWindow(drives->view()->window()));
             drives->hidePopup();
             window->fileChooser()->hide();
         }},
        {"message box",
         [&] {
             QMessageBox box(QMessageBox::Warning, QStringLiteral("エラー"), QStringLiteral("x"),
                             QMessageBox::Ok, window.get());
             visit(&box);
         }},
        {"input box",
         [&] {
             QInputDialog box(window.get());
             visit(&box);
         }},
    };
    for (const auto& [name, pass] : passes) {
        pass();
        activate(window.get());
        EXPECT_EQ(window->windowTitle(), withName) << name;
    }

    window->action("VersionInfo")->trigger();
    ASSERT_TRUE(hasFocusWindow(window->aboutBox()));
    EXPECT_EQ(window->windowTitle(), withName); // not while it is up
    QTest::mouseClick(window->aboutBox()->okButton(), Qt::LeftButton);
    activate(window.get());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32)"));

    // The read-out window counts as well, known by its name; another window does not.
    for (const auto& [name, isTool] : {std::pair{"Form3", true}, std::pair{"ChartTip", false}}) {
        window->setWindowTitle(withName);
        QWidget other(window.get(), Qt::Tool);
        other.setObjectName(QString::fromLatin1(name));
        visit(&other);
        activate(window.get());
        EXPECT_EQ(window->windowTitle(), isTool ? QStringLiteral("Nimbrel(32)") : withName) << name;
    }
}

TEST_F(MainWindowTest, TheNormalPointerShowsOverAMessageBox) {
    QtMessageBoxes boxes;
    MainWindow window(store_, boxes, inputs_, printDialogs_);
    window.showAsSaved();
    std::optional<bool> busyOverBox;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            busyOverBox = QGuiApplication::overrideCursor() != nullptr;
            box->accept();
        }
    });
    answer.start(5);
    window.openFile(kFixtures + QStringLiteral("/wrong_sheet.xls"));
    ASSERT_TRUE(busyOverBox.has_value());
    EXPECT_FALSE(*busyOverBox);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // none left once the chart is drawn
}

TEST_F(MainWindowTest, TheVersionWindowComesBackWhereTheUserDraggedIt) {
    auto window = start();
    window->action("VersionInfo")->trigger();
    AboutBox* about = window->aboutBox();
    // A drag by the title bar moves the window without the program asking for it.
    const QPoint dragged = about->pos() + QPoint(-61, 47);
    about->windowHandle()->setFramePosition(dragged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return about->pos() == dragged; }));
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(about->okButton(), Qt::LeftButton);
        ASSERT_FALSE(about->isVisible());
        window->action("VersionInfo")->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(about->pos(), dragged) << round;
    }
}

TEST_F(MainWindowTest, ARunThatOnlyStartsAndEndsWritesBackWhatItReadInEveryState) {
    // Twips that are no whole pixel, and the negative place a maximised window may keep.
    const std::map<QString, QString> placements[] = {
        {{"top", "50"},
         {"left", "65"},
         {"width", "6512"},
         {"height", "4507"},
         {"windowState", "0"}},
        {{"top", "50"},
         {"left", "65"},
         {"width", "6512"},
         {"height", "4507"},
         {"windowState", "1"}},
        {{"top", "-4800"},
         {"left", "-90"},
         {"width", "9000"},
         {"height", "6007"},
         {"windowState", "2"}},
    };
    for (const auto& placement : placements) {
        writeSettings(placement);
        start()->close();
        std::map<QString, QString> saved = savedSettings();
        for (const auto& [key, value] : placement)
            EXPECT_EQ(saved[key], value)
                << key.toStdString() << " in state " << placement.at("windowState").toStdString();
    }

    // Maximised by the user, the window stores its maximised place.
    writeSettings(placements[0]);
    auto window = start();
    window->showMaximized();
    QCoreApplication::processEvents();
    const QString maximisedWidth = QString::number(window->width() * 15);
    window->close();
    EXPECT_EQ(savedSettings()["windowState"], QStringLiteral("2"));
    EXPECT_EQ(savedSettings()["width"], maximisedWidth);
}

TEST_F(MainWindowTest, ASubmenuIsEnabledExactlyWhenOneOfItsEntriesIs) {
    auto window = start();
    const std::pair<const char*, const char*> entries[] = {
        {"Split_Print_Lower", "Split_Print"},
        {"SelectTerm", "ChgPlotDay"},
        {"ChgYAxis2", "YAxisSet"},
    };
    for (const auto& [entry, submenu] : entries) {
        QMenu* menu = window->findChild<QMenu*>(QString::fromLatin1(submenu));
        for (QAction* each : menu->actions()) each->setEnabled(false);
        EXPECT_FALSE(window->action(submenu)->isEnabled()) << submenu;
        window->action(entry)->setEnabled(true);
        EXPECT_TRUE(window->action(submenu)->isEnabled()) << entry;
        window->action(entry)->setEnabled(false);
        EXPECT_FALSE(window->action(submenu)->isEnabled()) << entry;
    }
    // Entries added later count too.
    QMenu* split = window->findChild<QMenu*>(QStringLiteral("Split_Print"));
    QAction* added = split->addAction(QStringLiteral("added"));
    EXPECT_TRUE(window->action("Split_Print")->isEnabled());
    split->removeAction(added);
    split->addSeparator(); // nothing to choose either
    EXPECT_FALSE(window->action("Split_Print")->isEnabled());
    delete added;
}

TEST_F(MainWindowTest, ADroppedFileOpensAndADroppedFolderShowsThePanel) {
    auto window = start();
    auto drop = [&](const QUrl& url) {
        QMimeData data;
        data.setUrls({url});
        const QPoint at = window->chartView()->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &dropped);
        QCoreApplication::processEvents(); // the drop is answered before the file opens
        return true;
    };
    EXPECT_FALSE(drop(QUrl(QStringLiteral("https://example.com/prices.txt"))));
    const QString examples = kFixtures + QStringLiteral("/examples");
    ASSERT_TRUE(drop(QUrl::fromLocalFile(examples + QStringLiteral("/nikkei_sjis_yymmdd.txt"))));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … nikkei_sjis_yymmdd.txt"));
    EXPECT_EQ(window->series().dataCount, 70);

    ASSERT_TRUE(drop(QUrl::fromLocalFile(kFixtures)));
    EXPECT_TRUE(window->fileChooser()->isVisible());
    EXPECT_EQ(window->fileChooser()->directory(), kFixtures);
    EXPECT_EQ(window->series().dataCount, 70); // a folder opens no file
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(MainWindowTest, PrintCommandsPutTheChartOnTheChosenPaperAndDrawTheScreenAgain) {
    QTemporaryDir dir;
    auto window = start();
    openThroughPanel(*window, kFixtures + QStringLiteral("/examples"),
                     QStringLiteral("nikkei_sjis_yymmdd.txt"));
    const ChartLayout screen = window->layout();
    choosePdfOnA5Across();
    window->action("PrtSetting")->trigger();
    printDialogs_.chooseInSetUp = nullptr; // cancelled: the choice holds
    window->action("PrtSetting")->trigger();
    EXPECT_EQ(printDialogs_.setUps, 2);
    const QString first = dir.filePath(QStringLiteral("first.pdf"));
    const QString second = dir.filePath(QStringLiteral("second.pdf"));
    printDialogs_.fileAnswers = {first, QString(), second};

    QImage& image = window->chartView()->imageForDrawing();
    image.setPixel(0, 0, qRgb(1, 2, 3)); // a mark that only a new pass removes
    printDialogs_.whileAsking = [] {     // the file dialog is a window of its own
        QWidget dialog;
        dialog.show();
        dialog.activateWindow();
        QCoreApplication::processEvents();
    };
    window->action("Split_Print_Upper")->trigger();
    window->activateWindow(); // back from the file dialog, after the chart was printed
    QCoreApplication::processEvents();
    EXPECT_NE(image.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(window->layout().frame.left, screen.frame.left);
    EXPECT_EQ(window->layout().dayWidth, screen.dayWidth);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … nikkei_sjis_yymmdd.txt *"));
    EXPECT_FALSE(QFile::exists(first)); // the sheet waits for its lower half

    openThroughPanel(*window, dir.path(), writeDays(dir, 300));
    window->action("Split_Print_Lower")->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … days300.txt *"));
    EXPECT_EQ(pdfPageCount(first), 1);
    const QSizeF a5Across = pdfPageSize(first);
    EXPECT_NEAR(a5Across.width(), 595.3, 0.5);
    EXPECT_NEAR(a5Across.height(), 419.5, 0.5);
    std::vector<double> titles; // the nikkei file's above the other's
    for (const PdfWord& word : pdfWords(first))
        if (word.text.startsWith(QStringLiteral("日経平均")) || word.text == QStringLiteral("days"))
            titles.push_back(word.y / a5Across.height());
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_TRUE(titles[0] < 0.1 && titles[1] > 0.45) << titles[1];

    window->action("PrintBox")->trigger(); // the file question cancelled: nothing is printed
    window->action("PrintBox")->trigger();
    EXPECT_EQ(printDialogs_.suggested, (std::vector<QString>{QString(), first, first}));
    EXPECT_EQ(pdfPageCount(second), 1);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("first.pdf"), QStringLiteral("second.pdf")}));
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(imageHasChart(*window));
}

TEST_F(MainWindowTest, APrinterErrorIsShownAndItsSheetAbandoned) {
    QTemporaryDir dir;
    auto window = start();
    choosePdfOnA5Across();
    window->action("PrtSetting")->trigger();
    const QString good = dir.filePath(QStringLiteral("good.pdf"));
    printDialogs_.fileAnswers = {QStringLiteral("/nonexistent/folder/x.pdf"), good};
    window->action("PrintBox")->trigger(); // no data: no question, nothing printed
    EXPECT_TRUE(printDialogs_.suggested.empty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32)"));

    openThroughPanel(*window, kFixtures + QStringLiteral("/examples"),
                     QStringLiteral("nikkei_sjis_yymmdd.txt"));
    window->action("Split_Print_Upper")->trigger();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(messages_.shown[0].text.startsWith(
        QStringLiteral("印刷できません\n/nonexistent/folder/x.pdf: ")))
        << messages_.shown[0].text.toStdString();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … nikkei_sjis_yymmdd.txt"));
    EXPECT_TRUE(imageHasChart(*window));

    // The next half begins a sheet of its own, and the end of the program brings it out.
    window->action("Split_Print_Upper")->trigger();
    EXPECT_FALSE(QFile::exists(good));
    window->close();
    EXPECT_EQ(pdfPageCount(good), 1);
    EXPECT_EQ(messages_.shown.size(), 1u);
}
