#include "system/IniSettingsStore.h"
#include "ui/QtInputBoxes.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtPrintDialogs.h"
#include "ui/AboutBox.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"
#include "ui/MainWindow.h"
#include "ui/MeasuringWindow.h"
#include "ui/ReadoutWindow.h"

#include "LoaderTestSupport.h"
#include "PrintFakes.h"
#include "PrintedPages.h"
#include "Printers.h"
#include "RecordedMessages.h"
#include "ScriptedInputs.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
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

namespace nimbrel {

namespace {

const QString kExamples = kFixtures + QStringLiteral("/examples");
const QString kNikkei = kExamples + QStringLiteral("/nikkei_sjis_yymmdd.txt");
const QString kNikkeiTitle = QStringLiteral("Nimbrel(32) … nikkei_sjis_yymmdd.txt");

// Each test starts from an empty settings file under the test run's XDG_CONFIG_HOME.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(IniSettingsStore().fileName()); }

    static std::map<QString, QString> savedSettings() {
        QSettings ini(IniSettingsStore().fileName(), QSettings::IniFormat);
        std::map<QString, QString> values;
        ini.beginGroup(QStringLiteral("UserDef"));
        for (const QString& key : ini.childKeys()) values[key] = ini.value(key).toString();
        return values;
    }

    static void writeSettings(const std::map<QString, QString>& values) {
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

    // What the user chooses in the next page setups: PDF files, on this paper.
    void choosePaper(QPageSize::PageSizeId paper, QPageLayout::Orientation orientation) {
        printDialogs_.chooseInSetUp = [=](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setPageSize(QPageSize(paper));
            printer.setPageOrientation(orientation);
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

TEST_F(MainWindowTest, TheSettingsReadAtTheStartAreWrittenBackAtTheEnd) {
    {
        auto window = start();
        EXPECT_EQ(window->size(), QSize(433, 300)); // 6500 x 4500 twips
        window->action("quit")->trigger();
    }
    std::map<QString, QString> defaults = {
        {"top", "50"},
        {"left", "50"},
        {"height", "4500"},
        {"width", "6500"},
        {"windowState", "0"},
        {"SpanForward", "True"},
        {"SpanBack", "False"},
        {"maxLength", "120"},
        {"keta", "0.01"},
        {"logY", "False"},
        {"filePattern", "*.*"},
        {"sheet", "sheet1$"},
        {"bars", "daily"},
        {"basicNumbers", "9,17,26,33,42,51,65,76,83,97,101,129,172,226,257"},
        {"crosshair", "False"},
        {"reloadOnChange", "False"}};
    for (const char* key : {"recentFile", "recentSheet"})
        for (int place = 1; place <= 8; ++place) defaults[key + QString::number(place)] = "";
    EXPECT_EQ(savedSettings(), defaults);

    // Twips that are no whole pixel, the negative place a maximised window may keep and "-1"
    // for on stay as they were read, in every state; so does every view option.
    const std::map<QString, QString> asRead[] = {
        {{"left", "65"}, {"width", "6512"}, {"height", "4507"}, {"windowState", "0"}},
        {{"left", "65"}, {"width", "6512"}, {"windowState", "1"}, {"SpanForward", "-1"}},
        {{"top", "-4800"}, {"left", "-90"}, {"height", "6007"}, {"windowState", "2"}},
        {{"maxLength", "250"}, {"keta", "0.05"}, {"logY", "True"}, {"windowState", "0"}},
        {{"SpanBack", "True"},
         {"sheet", "prices$"},
         {"bars", "monthly"},
         {"basicNumbers", "9,26"}},
        {{"crosshair", "True"},
         {"reloadOnChange", "True"},
         {"recentFile1", "/nowhere/a.xls"},
         {"recentSheet1", "日足"},
         {"recentFile2", "/nowhere/b.txt"}}};
    for (const auto& read : asRead) {
        writeSettings(read);
        start()->close(); // the close box ends the program as 終了 does
        std::map<QString, QString> saved = savedSettings();
        for (const auto& [key, value] : read) EXPECT_EQ(saved[key], value) << key.toStdString();
    }

    // What the user changed is written instead.
    writeSettings({{"top", "1500"}, {"left", "3000"}, {"width", "15000"}, {"height", "9000"}});
    writeSettings({{"filePattern", "*.xls"}});
    auto window = start();
    EXPECT_EQ(window->pos(), QPoint(200, 100));
    EXPECT_EQ(window->size(), QSize(1000, 600));
    EXPECT_TRUE(window->fileChooser()->sheetNameBox()->isVisibleTo(window->fileChooser()));
    inputs_.answers = {QStringLiteral("3")};
    window->action("decimals")->trigger();
    window->action("weeklyBars")->trigger();
    window->showMaximized();
    QCoreApplication::processEvents();
    const QString maximisedWidth = QString::number(window->width() * 15);
    window->close();
    EXPECT_EQ(savedSettings()["windowState"], QStringLiteral("2"));
    EXPECT_EQ(savedSettings()["width"], maximisedWidth);
    EXPECT_EQ(savedSettings()["keta"], QStringLiteral("0.001"));
    EXPECT_EQ(savedSettings()["bars"], QStringLiteral("weekly"));
}

TEST_F(MainWindowTest, MenusCarryTheirCaptions) {
    auto window = start();
    // clang-format off
    const std::pair<const char*, const char*> entries[] = {
        {"fileMenu", "ﾌｧｲﾙ(&F)"}, {"openDataFile", "ﾃﾞｰﾀﾌｧｲﾙを開く(&O)"}, {"pageSetup", "ページ設定(&U)"},
        {"print", "印刷(&P)"}, {"splitPrint", "画面分割印刷(&S)"}, {"printUpperHalf", "上半分(&U)"},
        {"printLowerHalf", "下半分(&L)"}, {"quit", "終了(&X)"}, {"optionsMenu", "ｵﾌﾟｼｮﾝ(&O)"},
        {"daysShownMenu", "表示日数の変更(&D)"}, {"daysShown", "日数指定(&N)"}, {"period", "期間指定(&T)"},
        {"zoom", "ズーム(&Z)"}, {"resetChart", "グラフ初期化(&I)"}, {"yAxisMenu", "Y軸設定(&Y)"},
        {"logAxis", "対数軸設定(&L)"}, {"priceRange", "最大・最少設定(&H)"}, {"axisStep", "刻み値の変更(&S)"},
        {"reduceDrawing", "画面縮小(&M)"}, {"laggingLines", "遅行線設定(&R)"}, {"measureDays", "日柄測定(&A)"},
        {"decimals", "小数点以下桁数指定(&K)"}, {"helpMenu", "ﾍﾙﾌﾟ(&H)"}, {"versionInfo", "ﾊﾞｰｼﾞｮﾝ情報(&A)"},
        {"reload", "再読み込み(&R)"}, {"reloadOnChange", "更新されたら再読み込み(&W)"},
        {"crosshair", "十字線(&X)"},
    };
    // clang-format on
    for (const auto& [name, caption] : entries) {
        QAction* action = window->action(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromUtf8(caption)) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
    EXPECT_FALSE(window->action("recentFiles")->isEnabled()); // no file opened yet
    // ズーム stands in the options menu itself, right after the days-shown submenu.
    const QList<QAction*> options =
        window->findChild<QMenu*>(QStringLiteral("optionsMenu"))->actions();
    EXPECT_EQ(options[1]->objectName(), QStringLiteral("zoom"));
}

TEST_F(MainWindowTest, TheFileNameBoxOpensFilesAndSheetsAndTheTitleNamesTheFile) {
    auto window = start();
    FileChooserPanel* panel = window->fileChooser();
    QLineEdit* text1 = panel->fileNameBox();
    QComboBox* text2 = panel->sheetNameBox();
    window->action("openDataFile")->trigger();
    ASSERT_TRUE(panel->setDirectory(kFixtures));
    auto enter = [&](const char* typed) { // typed over what the box held
        text1->selectAll();
        QTest::keyClicks(text1, QString::fromUtf8(typed));
        QTest::keyClick(text1, Qt::Key_Return);
    };
    enter("*.txt");
    EXPECT_EQ(panel->fileList()->count(), 0); // no .txt beside the workbooks
    enter("examples");
    EXPECT_EQ(panel->directory(), kExamples);
    EXPECT_EQ(panel->fileList()->count(), 2);
    enter("nikkei_sjis_yymmdd.txt");
    EXPECT_EQ(window->windowTitle(), kNikkeiTitle);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(window->series().dataCount, 70);
    EXPECT_TRUE(imageHasChart(*window));
    // A right click puts the panel away and keeps the chart.
    window->action("openDataFile")->trigger();
    QTest::mouseClick(panel, Qt::RightButton, {}, QPoint(400, 400));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(window->series().dataCount, 70);

    // A workbook's name shows the sheet box at once, listing the workbook's sheets; Enter there
    // takes the sheet, Enter in the name box opens the file even though the pattern does not
    // list it.
    window->action("openDataFile")->trigger();
    QTest::keyClicks(text1, QStringLiteral("../two_sheets.xls"));
    ASSERT_TRUE(text2->isVisible());
    ASSERT_EQ(text2->count(), 2);
    EXPECT_EQ(text2->itemText(0), QStringLiteral("prices"));
    EXPECT_EQ(text2->itemText(1), QStringLiteral("Sheet1"));
    EXPECT_EQ(text2->currentText(), QStringLiteral("sheet1")); // what was typed stays
    text2->setEditText(QStringLiteral("prices"));
    QTest::keyClick(text2->lineEdit(), Qt::Key_Return);
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … two_sheets.xls"));
    EXPECT_EQ(window->series().dataCount, 10); // the sheet "prices"

    // Opening the panel takes the sheet box as it stands. A wrong sheet: the message, the
    // program's title and an empty chart.
    text2->setEditText(QStringLiteral("sheet1"));
    window->action("openDataFile")->trigger();
    enter("wrong_sheet.xls");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, QStringLiteral("シート名を確認して下さい"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32)"));
    EXPECT_EQ(window->series().dataCount, 0);
    EXPECT_FALSE(imageHasChart(*window));
    // Back in the panel, the sheet box offers the sheets the workbook has; one chosen from the
    // list is the sheet the next load takes.
    window->action("openDataFile")->trigger();
    ASSERT_TRUE(text2->isVisible());
    ASSERT_EQ(text2->count(), 1);
    EXPECT_EQ(text2->itemText(0), QStringLiteral("data"));
    text2->textActivated(QStringLiteral("data"));
    enter("wrong_sheet.xls");
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_GT(window->series().dataCount, 0);
    text2->setEditText(QStringLiteral("sheet1"));
    QTest::keyClick(text2->lineEdit(), Qt::Key_Return);
    window->action("openDataFile")->trigger();
    enter("two_sheets.xls");
    EXPECT_EQ(window->series().dataCount, 8);
    window->action("openDataFile")->trigger();
    enter("*.csv"); // a name not ending in .xls hides the sheet box
    EXPECT_FALSE(text2->isVisible());
    window->close();
    EXPECT_EQ(savedSettings()["filePattern"], QStringLiteral("*.csv"));
    EXPECT_EQ(savedSettings()["sheet"], QStringLiteral("sheet1$"));
}

TEST_F(MainWindowTest, TheVersionWindowIsOneWindowThatComesBackWhereItWasLeft) {
    auto window = start();
    window->action("versionInfo")->trigger();
    window->action("versionInfo")->trigger();
    EXPECT_EQ(window->findChildren<AboutBox*>().size(), 1);
    AboutBox* about = window->aboutBox();
    ASSERT_TRUE(about->isVisible());
    EXPECT_EQ(about->productLine()->text(),
              QStringLiteral("Nimbrel(32)(一目均衡表作成ﾌﾟﾛｸﾞﾗﾑ) Ver 3.04"));
    // A drag by the title bar moves the window without the program asking for it.
    const QPoint dragged = about->pos() + QPoint(-61, 47);
    about->windowHandle()->setFramePosition(dragged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return about->pos() == dragged; }));
    // OK hides it, and so does a click on its empty area.
    for (QWidget* clicked :
         {static_cast<QWidget*>(about->okButton()), static_cast<QWidget*>(about)}) {
        QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(about->isVisible());
        window->action("versionInfo")->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(about->pos(), dragged);
    }
    // A right click on the empty chart puts it away for the file menu.
    QTest::mouseClick(window->chartView(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(window->findChild<QMenu*>(QStringLiteral("fileMenu"))->isVisible());
}

TEST_F(MainWindowTest, TheTitleKeepsNamingTheFileShownWhereverTheUserGoes) {
    auto window = start();
    activate(window.get());
    window->openFile(kNikkei);
    // The version, read-out and measuring windows, and a pop-up menu, each visited and left.
    auto visit = [&](QWidget* other, const std::function<void()>& show) {
        show();
        ASSERT_TRUE(hasFocusWindow(other));
        other->hide();
        activate(window.get());
        EXPECT_EQ(window->windowTitle(), kNikkeiTitle) << other->metaObject()->className();
    };
    window->action("versionInfo")->trigger();
    visit(window->aboutBox(), [] {});
    QTest::mouseClick(window->chartView(), Qt::LeftButton, {}, QPoint(200, 150));
    visit(window->readoutWindow(), [] {});
    window->action("measureDays")->trigger();
    visit(window->measuringWindow(), [] {});
    QMenu* menu = window->findChild<QMenu*>(QStringLiteral("optionsMenu"));
    visit(menu, [&] { menu->popup(window->mapToGlobal(QPoint(100, 100))); });
}

// Qt's own dialogs speak Japanese, and the page setup's button says that it sets, not prints.
TEST_F(MainWindowTest, QtsOwnDialogsSpeakJapanese) {
    QStringList buttons;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->isVisible() && !button->text().isEmpty()) buttons << button->text();
        QMetaObject::invokeMethod(dialog, "reject");
    });
    look.start(50);
    QtPrintDialogs dialogs;
    QPrinter printer;
    EXPECT_FALSE(dialogs.setUpPrinter(nullptr, printer));
    EXPECT_TRUE(buttons.contains(QStringLiteral("設定(&S)")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル")));
    EXPECT_FALSE(buttons.contains(QStringLiteral("&Print")));
    buttons.clear();
    QtInputBoxes inputs;
    EXPECT_EQ(inputs.ask({QStringLiteral("表示日数は?")}, QString()), QString());
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル")));
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
    ASSERT_TRUE(drop(QUrl::fromLocalFile(kNikkei)));
    EXPECT_EQ(window->windowTitle(), kNikkeiTitle);
    EXPECT_EQ(window->series().dataCount, 70);
    ASSERT_TRUE(drop(QUrl::fromLocalFile(kFixtures)));
    EXPECT_TRUE(window->fileChooser()->isVisible());
    EXPECT_EQ(window->fileChooser()->directory(), kFixtures);
    EXPECT_EQ(window->series().dataCount, 70); // a folder opens no file
}

TEST_F(MainWindowTest, PrintCommandsPutTheChartOnTheChosenPaperAndDrawTheScreenAgain) {
    QTemporaryDir dir;
    auto window = start();
    window->openFile(kNikkei);
    const float screenLeft = window->layout().frame.left;
    choosePaper(QPageSize::A5, QPageLayout::Landscape);
    window->action("pageSetup")->trigger();
    const QString first = dir.filePath(QStringLiteral("first.pdf"));
    const QString second = dir.filePath(QStringLiteral("second.pdf"));
    printDialogs_.fileAnswers = {first, QString(), second};
    QImage& image = window->chartView()->imageForDrawing();
    image.setPixel(0, 0, qRgb(1, 2, 3)); // a mark that only a new pass removes
    window->action("printUpperHalf")->trigger();
    EXPECT_NE(image.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(window->layout().frame.left, screenLeft);
    EXPECT_EQ(window->windowTitle(), kNikkeiTitle + QStringLiteral(" *"));
    EXPECT_FALSE(QFile::exists(first)); // the sheet waits for its lower half

    // A page setup while the sheet is open holds from the next sheet; a cancelled one changes
    // nothing.
    choosePaper(QPageSize::A4, QPageLayout::Portrait);
    window->action("pageSetup")->trigger();
    printDialogs_.chooseInSetUp = nullptr;
    window->action("pageSetup")->trigger();
    window->openFile(kExamples + QStringLiteral("/one_price_lf.txt"));
    window->action("printLowerHalf")->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nimbrel(32) … one_price_lf.txt *"));
    EXPECT_EQ(pdfPageCount(first), 1);
    EXPECT_NEAR(pdfPageSize(first).width(), 595.3, 0.5); // A5 across
    EXPECT_NEAR(pdfPageSize(first).height(), 419.5, 0.5);
    EXPECT_LT(pdfWordHeight(first, QStringLiteral("日経平均")), 0.1); // the first file above
    EXPECT_GT(pdfWordHeight(first, QStringLiteral("Single")), 0.45);  // the other below

    window->action("print")->trigger(); // the file question cancelled: nothing is printed
    window->action("print")->trigger();
    EXPECT_EQ(printDialogs_.suggested, (std::vector<QString>{QString(), first, first}));
    EXPECT_EQ(pdfPageSize(second), QSizeF(595, 842));
    EXPECT_NEAR(pdfPageSize(first).height(), 419.5, 0.5); // the cancelled print left it alone
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("first.pdf"), QStringLiteral("second.pdf")}));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(MainWindowTest, APrinterErrorIsShownAndItsSheetAbandonedWithoutSpoilingAnOlderFile) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("sheets"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString pdf = folder + QStringLiteral("/chart.pdf");
    QFile older(pdf);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
    older.close();
    auto window = start();
    choosePaper(QPageSize::A4, QPageLayout::Portrait);
    window->action("pageSetup")->trigger();
    printDialogs_.fileAnswers = {QStringLiteral("/nonexistent/folder/x.pdf"), pdf, pdf};
    window->action("print")->trigger(); // no data: no question, nothing printed
    EXPECT_TRUE(printDialogs_.suggested.empty());

    window->openFile(kNikkei);
    window->action("printUpperHalf")->trigger();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(messages_.shown[0].text.startsWith(
        QStringLiteral("印刷できません\n/nonexistent/folder/x.pdf: ")))
        << messages_.shown[0].text.toStdString();
    EXPECT_EQ(window->windowTitle(), kNikkeiTitle);
    EXPECT_TRUE(imageHasChart(*window));

    // The next half begins a sheet of its own. Its folder goes away before the sheet is done,
    // as a disk that failed would: the sheet is reported and dropped, and the older file stays.
    window->action("printUpperHalf")->trigger();
    const QString moved = dir.filePath(QStringLiteral("moved"));
    ASSERT_TRUE(QDir().rename(folder, moved));
    window->action("printLowerHalf")->trigger();
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_TRUE(messages_.shown[1].text.startsWith(QStringLiteral("印刷できません\n") + pdf));
    QFile kept(moved + QStringLiteral("/chart.pdf"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "older");
    EXPECT_EQ(QDir(moved).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("chart.pdf")});

    // The end of the program brings out a sheet still open, replacing the older file.
    ASSERT_TRUE(QDir().rename(moved, folder));
    window->action("printUpperHalf")->trigger();
    window->close();
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(messages_.shown.size(), 2u);
}

} // namespace nimbrel
