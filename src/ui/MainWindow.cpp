#include "ui/MainWindow.h"

#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "render/ImageSurface.h"
#include "options/InputBoxes.h"
#include "ui/MessageBoxes.h"
#include "ui/QtPrinter.h"
#include "system/SettingsStore.h"
#include "print/PrintDocument.h"
#include "tools/MouseDispatch.h"
#include "tools/ToolTexts.h"
#include "ui/AboutBox.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"
#include "ui/MeasuringWindow.h"
#include "ui/OptionPanels.h"
#include "ui/ReadoutWindow.h"
#include "ui/FileDrop.h"
#include "ui/SubmenuEnabling.h"
#include "ui/ToolWindowReturn.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>

#include <cmath>

// Qt's resource macro must stand outside any namespace.
static void initResources() {
    Q_INIT_RESOURCE(nimbrel);
}

namespace nimbrel {

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

MainWindow::MainWindow(SettingsStore& store, MessageBoxes& messages, InputBoxes& inputs,
                       PrintDialogs& printDialogs)
    : store_(store), messages_(messages), inputs_(inputs), printDialogs_(printDialogs),
      series_(std::make_unique<PriceSeries>()), chartView_(new ChartView(this)),
      fileChooser_(new FileChooserPanel(messages, chartView_)) {
    initResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kProgramTitle);
    setWindowIcon(QIcon(QStringLiteral(":/nimbrel.png")));
    setCentralWidget(chartView_);
    createOptionPanels();
    createMenus();
    enableSubmenusByTheirEntries(menuBar());
    applySettings();
    acceptDroppedFiles(*this);
    connect(chartView_, &ChartView::resized, this, &MainWindow::clientResized);
    connect(chartView_, &ChartView::pointerMoved, this, &MainWindow::pointerMoved);
    connect(chartView_, &ChartView::pressed, this, &MainWindow::pointerPressed);
    connect(fileChooser_, &FileChooserPanel::openRequested, this, &MainWindow::openDataFile);
    connect(new ToolWindowReturn(this), &ToolWindowReturn::returned, this,
            [this] { setWindowTitle(kProgramTitle); });
}

MainWindow::~MainWindow() {
    // The tool windows go first, while the state they report their end to is still here.
    delete measuring_;
    delete readout_;
}

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
    add(days, "ChgMaxLength", QStringLiteral("日数指定(&N)"), true);
    connect(action("ChgMaxLength"), &QAction::triggered, this,
            [this] { runOption(&changeDaysShown); });
    add(days, "SelectTerm", QStringLiteral("期間指定(&T)"), true);
    connect(action("SelectTerm"), &QAction::triggered, this, [this] { runOption(&selectPeriod); });
    add(options, "Zoom", QStringLiteral("ズーム(&Z)"), true, &MainWindow::startZoom);
    add(options, "Initialize", QStringLiteral("グラフ初期化(&I)"), true,
        &MainWindow::initializeChart);
    QMenu* axis = submenu(options, "YAxisSet", QStringLiteral("Y軸設定(&Y)"));
    add(axis, "SetLogY", QStringLiteral("対数軸設定(&L)"), true);
    connect(action("SetLogY"), &QAction::triggered, this, [this] {
        yAxisPanel_->showPanel();
        laggingPanel_->hide();
    });
    add(axis, "ChgYAxis2", QStringLiteral("最大・最少設定(&H)"), true);
    connect(action("ChgYAxis2"), &QAction::triggered, this,
            [this] { runOption(&changeAxisRange); });
    add(axis, "ChgYAxis", QStringLiteral("刻み値の変更(&S)"), true);
    connect(action("ChgYAxis"), &QAction::triggered, this, [this] { runOption(&changeAxisStep); });
    add(options, "SetMulti", QStringLiteral("画面縮小(&M)"), true);
    connect(action("SetMulti"), &QAction::triggered, this, [this] { runOption(&reduceDrawing); });
    add(options, "SetRetardSpan", QStringLiteral("遅行線設定(&R)"), true);
    connect(action("SetRetardSpan"), &QAction::triggered, laggingPanel_,
            &LaggingLinePanel::showPanel);
    add(options, "ChkHigara", QStringLiteral("日柄測定(&A)"), true, &MainWindow::armMeasuring);
    add(options, "ChgKeta", QStringLiteral("小数点以下桁数指定(&K)"), true,
        &MainWindow::askDecimals);

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
    yAxisPanel_->setLogarithmic(view_.logY);
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

void MainWindow::writeSettings() {
    WindowPlacement& window = settings_.window;
    const bool asPlaced = standsAsPlaced();
    window.state = isMinimized()   ? WindowState::Minimized
                   : isMaximized() ? WindowState::Maximized
                                   : WindowState::Normal;
    if (!asPlaced) {
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
    saveSettings(store_, settings_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (aboutBox_) aboutBox_->hide();
    delete readout_;
    // An upper half still open comes out.
    if (printDocument_) {
        if (const std::optional<Message> failure = printDocument_->end())
            messages_.showMessage(this, *failure);
    }
    writeSettings();
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
        if (!chartView_->imageFitsView()) redrawChart();
    }
}

void MainWindow::clientResized() {
    if (isMinimized()) {
        wasMinimized_ = true;
    } else if (wasMinimized_) {
        wasMinimized_ = false;
    } else {
        redrawChart();
    }
}

void MainWindow::redrawChart() {
    BusyPointer busy;
    {
        ImageSurface surface(chartView_->imageForDrawing());
        ChartLayout layout = drawChart(surface, *series_, view_, kScreenProfile);
        // Without a chart the mouse keeps to the last one drawn.
        if (layout.hasRange) layout_ = std::move(layout);
        // A rubber band under way stays on the new image, so that the next move erases it.
        if (zoom_.state() == ZoomState::Band) zoom_.drawBand(surface);
    }
    chartView_->update();
}

void MainWindow::openDataFile() {
    const QString fileName = fileChooser_->fileToOpen();
    if (fileName.isEmpty()) return;
    BusyPointer busy;
    fileChooser_->hide();
    laggingPanel_->hide();
    yAxisPanel_->hide();
    if (readout_) readout_->hide();
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
    redrawChart();
}

void MainWindow::openFile(const QString& path) {
    const QFileInfo file(path);
    if (!fileChooser_->setDirectory(file.absolutePath())) return;
    fileChooser_->selectFile(file.fileName());
    openDataFile(); // a file that is not there is reported by the loader
}

void MainWindow::initializeChart() {
    zoom_.forgetFirstPoint();
    showNewestDays(*series_, view_);
    redrawChart();
}

void MainWindow::showVersionInfo() {
    if (!aboutBox_) aboutBox_ = new AboutBox(this);
    aboutBox_->showVersion();
}

bool MainWindow::standsAsPlaced() const {
    // Twips that are no whole pixel (50 is 3.33) stay as read while the window stands where
    // they put it. A minimised window keeps its normal place in pos() and size(); a maximised
    // one stores its maximised place unless it was read maximised and its normal place is
    // still the one read.
    if (isMaximized())
        return settings_.window.state == WindowState::Maximized &&
               normalGeometry() == placedGeometry_;
    return QRect(pos(), size()) == placedGeometry_;
}

void MainWindow::createOptionPanels() {
    laggingPanel_ = new LaggingLinePanel(chartView_);
    yAxisPanel_ = new YAxisPanel(chartView_);
    // A click on a box turns its line on at once; 実行 then takes both boxes as they stand.
    connect(laggingPanel_, &LaggingLinePanel::forwardClicked, this,
            [this] { view_.spanForward = true; });
    connect(laggingPanel_, &LaggingLinePanel::backClicked, this, [this] { view_.spanBack = true; });
    connect(laggingPanel_, &LaggingLinePanel::focusEntered, this,
            [this] { laggingPanel_->setBoxes(view_.spanForward, view_.spanBack); });
    connect(laggingPanel_, &LaggingLinePanel::executed, this, [this](bool forward, bool back) {
        view_.spanForward = forward;
        view_.spanBack = back;
        scanAndDraw();
    });
    connect(yAxisPanel_, &YAxisPanel::axisClicked, this,
            [this](bool logarithmic) { view_.logY = logarithmic; });
    connect(yAxisPanel_, &YAxisPanel::axisChosen, this, [this](bool logarithmic) {
        view_.logY = logarithmic;
        scanAndDraw();
    });
    connect(yAxisPanel_, &YAxisPanel::executed, this, &MainWindow::scanAndDraw);
}

void MainWindow::scanAndDraw() {
    BusyPointer busy;
    scanVisibleRange(*series_, view_);
    redrawChart();
}

void MainWindow::runOption(OptionResult (*command)(const PriceSeries&, ViewState&, InputBoxes&)) {
    const OptionResult result = command(*series_, view_, inputs_);
    if (result.message) messages_.showMessage(this, *result.message);
    if (result.redraw) redrawChart();
}

void MainWindow::askDecimals() {
    const OptionResult result = changeDecimals(view_, inputs_);
    if (!result.redraw) return;
    redrawChart();
    // The read-out shows its day again in the new number of decimals.
    if (readout_ && readout_->isVisible()) {
        readout_->activateWindow();
        showReadoutDay(readout_->n());
    }
}

void MainWindow::startZoom() {
    zoom_.arm(view_);
}

template <typename Draw> void MainWindow::drawOnChart(Draw draw) {
    if (!chartView_->imageFitsView()) return;
    {
        ImageSurface surface(chartView_->imageForDrawing());
        draw(surface);
    }
    chartView_->update();
}

ReadoutWindow* MainWindow::readoutWindow() const {
    return readout_;
}

MeasuringWindow* MainWindow::measuringWindow() const {
    return measuring_;
}

void MainWindow::showReadoutDay(int day) {
    if (readout_) readout_->showDay(day, readoutFields(*series_, day, view_.keta));
}

// A new tool window stands beside the main window's right edge, where it covers no chart, or
// inside that edge when the screen has no room beside it; `below` windows further down.
void MainWindow::placeToolWindow(QWidget* tool, int below) const {
    const QRect frame = frameGeometry();
    const QRect screen = this->screen()->availableGeometry();
    const QSize size = tool->frameGeometry().size().expandedTo(tool->size());
    int x = frame.right() + 1;
    if (x + size.width() > screen.right()) x = frame.right() - size.width();
    const int y = geometry().top() + below * (size.height() + 40);
    tool->move(std::max(x, screen.left()), std::min(y, screen.bottom() - size.height()));
}

void MainWindow::showReadout() {
    if (!readout_) {
        readout_ = new ReadoutWindow(this);
        placeToolWindow(readout_, 0);
    }
    readout_->show();
    readout_->raise();
    readout_->activateWindow();
}

void MainWindow::closeToolWindows() {
    if (aboutBox_) aboutBox_->hide();
    delete readout_;
    delete measuring_;
}

MeasuringWindow* MainWindow::measuringWindowMade() {
    if (!measuring_) {
        measuring_ = new MeasuringWindow(this);
        placeToolWindow(measuring_, 1);
        measuringTool_.windowCreated();
        // However the window goes, measuring ends with it.
        connect(measuring_, &QObject::destroyed, this, [this] { measuringTool_.windowClosed(); });
    }
    return measuring_;
}

void MainWindow::armMeasuring() {
    measuringTool_.arm();
    MeasuringWindow* window = measuringWindowMade();
    window->showFields(measuringTool_.fields());
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::pointerMoved(QPointF twips) {
    const ToolStates states{series_->dataCount, zoom_.state(), measuringTool_.state(),
                            readout_ && readout_->isVisible()};
    switch (moveAction(states)) {
    case MoveAction::FollowZoomBand:
        drawOnChart([&](Surface& surface) { zoom_.followPointer(surface, twips.x(), twips.y()); });
        break;
    case MoveAction::UpdateReadout:
        showReadoutDay(dayAt(layout_, twips.x()));
        break;
    case MoveAction::UpdateMeasuring:
        measuringTool_.pointerMoved(*series_, dayAt(layout_, twips.x()), view_.keta);
        if (measuring_) measuring_->showFields(measuringTool_.fields());
        break;
    case MoveAction::None:
        break;
    }
}

void MainWindow::pointerPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                QPointF twips, QPoint globalPosition) {
    MouseButton which = MouseButton::Middle;
    if (button == Qt::LeftButton) which = MouseButton::Left;
    if (button == Qt::RightButton) which = MouseButton::Right;
    const bool onlyCtrl =
        (modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) ==
        Qt::ControlModifier;
    const ToolStates states{series_->dataCount, zoom_.state(), measuringTool_.state(),
                            readout_ && readout_->isVisible()};
    const int day = dayAt(layout_, twips.x());
    auto popUp = [&](const char* menu) {
        findChild<QMenu*>(QString::fromLatin1(menu))->popup(globalPosition);
    };
    switch (pressAction(states, which, onlyCtrl)) {
    case PressAction::None:
        break;
    case PressAction::FirstZoomPoint:
        zoom_.startBand(day, twips.x(), twips.y());
        break;
    case PressAction::SecondZoomPoint: {
        BusyPointer busy;
        zoom_.apply(*series_, view_, day);
        redrawChart();
        break;
    }
    case PressAction::FirstMeasuringPoint: {
        measuringTool_.clicked(day);
        MeasuringWindow* window = measuringWindowMade();
        window->showFields(measuringTool_.fields());
        window->show();
        window->activateWindow();
        break;
    }
    case PressAction::EndMeasuring:
        measuringTool_.clicked(day);
        if (measuring_) {
            measuring_->showFields(measuringTool_.fields());
            measuring_->hide();
        }
        break;
    case PressAction::ShowReadout:
        showReadout();
        break;
    case PressAction::CancelZoom:
        drawOnChart([&](Surface& surface) { zoom_.cancel(surface); });
        break;
    case PressAction::FileMenu:
        if (aboutBox_) aboutBox_->hide();
        popUp("Menu_File");
        break;
    case PressAction::FileMenuClosingTools:
        closeToolWindows();
        popUp("Menu_File");
        break;
    case PressAction::OptionsMenu:
        fileChooser_->hide();
        closeToolWindows();
        popUp("Menu_Option");
        break;
    }
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
    redrawChart();
}

} // namespace nimbrel
