#include "ui/MainWindow.h"

#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "platform/ImageSurface.h"
#include "platform/MessageBoxes.h"
#include "platform/QtPrinter.h"
#include "platform/SettingsStore.h"
#include "print/PrintDocument.h"
#include "ui/AboutBox.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace {

int pixels(float twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

// Busy pointer for the length of a command that loads or draws.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

static void initResources() {
    Q_INIT_RESOURCE(nimbrel);
}

MainWindow::MainWindow(SettingsStore& store, MessageBoxes& messages, PrintDialogs& printDialogs)
    : store_(store), messages_(messages), printDialogs_(printDialogs),
      series_(std::make_unique<PriceSeries>()), chartView_(new ChartView(this)),
      fileChooser_(new FileChooserPanel(messages, chartView_)) {
    initResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kProgramTitle);
    setWindowIcon(QIcon(QStringLiteral(":/nimbrel.png")));
    setCentralWidget(chartView_);
    createMenus();
    applySettings();
    connect(chartView_, &ChartView::resized, this, &MainWindow::clientResized);
    connect(fileChooser_, &FileChooserPanel::openRequested, this, &MainWindow::openDataFile);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &MainWindow::programWindowActivated);
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus() {
    auto add = [this](QMenu* menu, const char* name, const QString& caption, bool enabled,
                      void (MainWindow::*command)() = nullptr) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        // Entries whose commands are not built yet stay visible but cannot be chosen.
        action->setEnabled(enabled);
        if (command) connect(action, &QAction::triggered, this, command);
        return action;
    };
    auto submenu = [](QMenu* parent, const char* name, const QString& caption) {
        QMenu* menu = parent->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto topMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };

    QMenu* file = topMenu("Menu_File", QStringLiteral("ﾌｧｲﾙ(&F)"));
    add(file, "File_Open", QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙを開く(&O)"), true);
    connect(action("File_Open"), &QAction::triggered, fileChooser_, &FileChooserPanel::showPanel);
    add(file, "PrtSetting", QStringLiteral("ページ設定(&U)"), true, &MainWindow::setUpPage);
    add(file, "PrintBox", QStringLiteral("印刷(&P)"), true);
    connect(action("PrintBox"), &QAction::triggered, this,
            [this] { printChart(SheetPart::Whole); });
    QMenu* split = submenu(file, "Split_Print", QStringLiteral("画面分割印刷(&S)"));
    add(split, "Split_Print_Upper", QStringLiteral("上半分(&U)"), true);
    connect(action("Split_Print_Upper"), &QAction::triggered, this,
            [this] { printChart(SheetPart::UpperHalf); });
    add(split, "Split_Print_Lower", QStringLiteral("下半分(&L)"), true);
    connect(action("Split_Print_Lower"), &QAction::triggered, this,
            [this] { printChart(SheetPart::LowerHalf); });
    add(file, "Menu_End", QStringLiteral("終了(&X)"), true);
    connect(action("Menu_End"), &QAction::triggered, this, &QWidget::close);

    QMenu* options = topMenu("Menu_Option", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    QMenu* days = submenu(options, "ChgPlotDay", QStringLiteral("表示日数の変更(&D)"));
    add(days, "ChgMaxLength", QStringLiteral("日数指定(&N)"), false);
    add(days, "SelectTerm", QStringLiteral("期間指定(&T)"), false);
    add(options, "Zoom", QStringLiteral("ズーム(&Z)"), false);
    add(options, "Initialize", QStringLiteral("グラフ初期化(&I)"), true,
        &MainWindow::initializeChart);
    QMenu* axis = submenu(options, "YAxisSet", QStringLiteral("Y軸設定(&Y)"));
    add(axis, "SetLogY", QStringLiteral("対数軸設定(&L)"), false);
    add(axis, "ChgYAxis2", QStringLiteral("最大・最少設定(&H)"), false);
    add(axis, "ChgYAxis", QStringLiteral("刻み値の変更(&S)"), false);
    add(options, "SetMulti", QStringLiteral("画面縮小(&M)"), false);
    add(options, "SetRetardSpan", QStringLiteral("遅行線設定(&R)"), false);
    add(options, "ChkHigara", QStringLiteral("日柄測定(&A)"), false);
    add(options, "ChgKeta", QStringLiteral("小数点以下桁数指定(&K)"), false);

    QMenu* help = topMenu("Menu_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    add(help, "VersionInfo", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), true, &MainWindow::showVersionInfo);
}

QAction* MainWindow::action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

void MainWindow::applySettings() {
    settings_ = loadSettings(store_);
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->geometry();
    settings_.window = placementOnScreens(settings_.window, screens);
    const WindowPlacement& window = settings_.window;
    move(pixels(window.left), pixels(window.top));
    resize(pixels(window.width), pixels(window.height));
    placedGeometry_ = QRect(pos(), size());

    view_.maxLength = settings_.maxLength;
    view_.keta = settings_.keta;
    view_.logY = settings_.logY;
    view_.spanForward = spanForwardAsRead_ = settings_.spanForward();
    view_.spanBack = settings_.spanBack;
    fileChooser_->setPattern(settings_.filePattern);
    fileChooser_->text1()->setText(settings_.filePattern);
    fileChooser_->setSheetSourceName(settings_.sheetSourceName);
    fileChooser_->showSheetBoxForPattern();
    wasMinimized_ = false;
}

void MainWindow::showAsSaved() {
    switch (settings_.window.state) {
    case WindowState::Minimized:
        showMinimized();
        break;
    case WindowState::Maximized:
        showMaximized();
        break;
    default:
        show();
        break;
    }
}

void MainWindow::saveSettings() {
    WindowPlacement& window = settings_.window;
    window.state = isMinimized()   ? WindowState::Minimized
                   : isMaximized() ? WindowState::Maximized
                                   : WindowState::Normal;
    // Twips that are no whole pixel (50 is 3.33) stay as read while the window has not moved.
    if (QRect(pos(), size()) != placedGeometry_ || window.state != WindowState::Normal) {
        window.left = static_cast<float>(pos().x() * kTwipsPerPixel);
        window.top = static_cast<float>(pos().y() * kTwipsPerPixel);
        window.width = static_cast<float>(width() * kTwipsPerPixel);
        window.height = static_cast<float>(height() * kTwipsPerPixel);
    }
    if (view_.spanForward != spanForwardAsRead_) settings_.setSpanForward(view_.spanForward);
    settings_.spanBack = view_.spanBack;
    settings_.maxLength = view_.maxLength;
    settings_.keta = view_.keta;
    settings_.logY = view_.logY;
    settings_.filePattern = fileChooser_->pattern();
    settings_.sheetSourceName = fileChooser_->sheetSourceName();
    ::saveSettings(store_, settings_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (aboutBox_) aboutBox_->hide();
    // An upper half still open comes out.
    if (printDocument_) {
        if (const std::optional<Message> failure = printDocument_->end())
            messages_.showMessage(this, *failure);
    }
    saveSettings();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized()) {
        wasMinimized_ = true;
    } else if (wasMinimized_) {
        // Restored: the kept image shows the chart again, unless the size changed meanwhile.
        wasMinimized_ = false;
        if (!chartView_->imageFitsView()) drawChart();
    }
}

void MainWindow::clientResized() {
    if (isMinimized()) {
        wasMinimized_ = true;
    } else if (wasMinimized_) {
        wasMinimized_ = false;
    } else {
        drawChart();
    }
}

void MainWindow::drawChart() {
    BusyPointer busy;
    {
        ImageSurface surface(chartView_->imageForDrawing());
        ChartLayout layout = ::drawChart(surface, *series_, view_, kScreenProfile);
        // Without a chart the mouse keeps to the last one drawn.
        if (layout.hasRange) layout_ = std::move(layout);
    }
    chartView_->update();
}

void MainWindow::openDataFile() {
    const QString fileName = fileChooser_->fileToOpen();
    if (fileName.isEmpty()) return;
    BusyPointer busy;
    fileChooser_->hide();
    view_.userStep = 0;
    view_.reduceX = view_.reduceY = 1;
    setWindowTitle(kProgramTitle + QStringLiteral(" … ") + fileName);
    const std::optional<LoadFailure> failure = loadDataFile(
        *series_, fileChooser_->directory(), fileName, fileChooser_->sheetSourceName());
    if (failure) {
        if (failure->problem == LoadProblem::SheetName) setWindowTitle(kProgramTitle);
        messages_.showMessage(this, failure->message);
    }
    showNewestDays(*series_, view_);
    computeIchimoku(*series_);
    drawChart();
}

void MainWindow::openFile(const QString& path) {
    const QFileInfo file(path);
    if (!fileChooser_->setDirectory(file.absolutePath())) return;
    fileChooser_->selectFile(file.fileName());
    openDataFile(); // a file that is not there is reported by the loader
}

void MainWindow::initializeChart() {
    showNewestDays(*series_, view_);
    drawChart();
}

void MainWindow::showVersionInfo() {
    if (!aboutBox_) aboutBox_ = new AboutBox(this);
    aboutBox_->showVersion();
}

void MainWindow::programWindowActivated(QWindow* now) {
    // Back from another window of the program (the version window, say): the title is the
    // program's own again.
    if (now && now == windowHandle() && lastActiveWindow_ && lastActiveWindow_ != windowHandle())
        setWindowTitle(kProgramTitle);
    if (now) lastActiveWindow_ = now;
}

PrintDocument& MainWindow::printDocument() {
    if (!printDocument_) {
        printer_ = std::make_unique<QtPrinter>();
        printDocument_ = std::make_unique<PrintDocument>(*printer_);
    }
    return *printDocument_;
}

void MainWindow::setUpPage() {
    printDocument();
    printer_->setUp(printDialogs_, this);
}

void MainWindow::printChart(SheetPart part) {
    PrintDocument& document = printDocument();
    if (document.chooseFile(printDialogs_, this, *series_)) {
        PrintResult result;
        {
            BusyPointer busy;
            result = document.printChart(*series_, view_, part);
        }
        if (result.failure) messages_.showMessage(this, *result.failure);
        if (result.printedChart)
            setWindowTitle(kProgramTitle + QStringLiteral(" … ") + fileChooser_->fileToOpen() +
                           QStringLiteral(" *"));
    }
    // The command's own dialogs were no visit to another window: the title stays.
    lastActiveWindow_ = windowHandle();
    drawChart();
}
