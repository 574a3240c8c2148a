#include "ui/MainWindow.h"

#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "painter/ImageSurface.h"
#include "ui/AboutBox.h"
#include "ui/BusyPointer.h"
#include "ui/ChartNavigation.h"
#include "ui/ChartTools.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"
#include "ui/FileDrop.h"
#include "ui/FileWatch.h"
#include "ui/MenuTable.h"
#include "ui/MessageBoxes.h"
#include "ui/OptionPanels.h"
#include "ui/PrintController.h"
#include "ui/RecentFilesMenu.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>

// Qt's resource macro must stand outside any namespace.
static void initResources() {
    Q_INIT_RESOURCE(nimbrel);
}

namespace nimbrel {

MainWindow::MainWindow(SettingsStore& store, MessageBoxes& messages, InputBoxes& inputs,
                       PrintDialogs& printDialogs)
    : store_(store), messages_(messages), inputs_(inputs), days_(std::make_unique<PriceSeries>()),
      series_(std::make_unique<PriceSeries>()), chartView_(new ChartView(this)),
      fileChooser_(new FileChooserPanel(messages, chartView_)), tools_(new ChartTools(*this)),
      navigation_(std::make_unique<ChartNavigation>(*this, *tools_)),
      fileWatch_(new FileWatch(this)),
      printing_(std::make_unique<PrintController>(this, printDialogs, messages)) {
    initResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kProgramTitle);
    setWindowIcon(QIcon(QStringLiteral(":/nimbrel.png")));
    setCentralWidget(chartView_);
    createOptionPanels();
    createMenus();
    readSettings();
    acceptDroppedFiles(*this);
    connect(chartView_, &ChartView::resized, this, &MainWindow::clientResized);
    connect(chartView_, &ChartView::pointerMoved, tools_, &ChartTools::pointerMoved);
    connect(chartView_, &ChartView::pressed, tools_, &ChartTools::pointerPressed);
    connect(chartView_, &ChartView::pointerLeft, tools_, &ChartTools::pointerLeft);
    connect(chartView_, &ChartView::wheelTurned, this,
            [this](QPoint angle, QPoint pixels, Qt::KeyboardModifiers modifiers, QPointF twips) {
                navigation_->wheelTurned(angle, pixels, modifiers & Qt::ControlModifier, twips);
            });
    connect(chartView_, &ChartView::dragStarted, this,
            [this](QPointF twips) { navigation_->dragStarted(twips); });
    connect(chartView_, &ChartView::dragMoved, this,
            [this](QPointF twips) { navigation_->dragMoved(twips); });
    connect(fileChooser_, &FileChooserPanel::openRequested, this, &MainWindow::openDataFile);
    connect(fileWatch_, &FileWatch::settled, this, [this] { reloadShownFile(false); });
    connect(recentFiles_, &RecentFilesMenu::chosen, this, &MainWindow::openRecent);
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus() {
    auto print = [this](SheetPart part) { return [this, part] { printChart(part); }; };
    auto option = [this](auto command) { return [this, command] { runOption(command); }; };
    addMenus(
        menuBar(),
        {{"fileMenu",
          QStringLiteral("ﾌｧｲﾙ(&F)"),
          {{"openDataFile", QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙを開く(&O)"),
            [this] { fileChooser_->showPanel(); }},
           {"reload", QStringLiteral("再読み込み(&R)"), [this] { reloadShownFile(true); }},
           {"reloadOnChange", QStringLiteral("更新されたら再読み込み(&W)"),
            [this] { setReloadOnChange(!fileWatch_->enabled()); }},
           {"recentFiles", QStringLiteral("最近使ったﾌｧｲﾙ(&F)"), std::vector<MenuEntry>{}},
           {"pageSetup", QStringLiteral("ページ設定(&U)"), [this] { printing_->setUpPage(); }},
           {"print", QStringLiteral("印刷(&P)"), print(SheetPart::Whole)},
           {"splitPrint",
            QStringLiteral("画面分割印刷(&S)"),
            {{"printUpperHalf", QStringLiteral("上半分(&U)"), print(SheetPart::UpperHalf)},
             {"printLowerHalf", QStringLiteral("下半分(&L)"), print(SheetPart::LowerHalf)}}},
           {"quit", QStringLiteral("終了(&X)"), [this] { close(); }}}},
         {"optionsMenu",
          QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"),
          {{"daysShownMenu",
            QStringLiteral("表示日数の変更(&D)"),
            {{"daysShown", QStringLiteral("日数指定(&N)"), option(&changeDaysShown)},
             {"period", QStringLiteral("期間指定(&T)"), option(&selectPeriod)}}},
           {"zoom", QStringLiteral("ズーム(&Z)"), [this] { tools_->startZoom(); }},
           {"resetChart", QStringLiteral("グラフ初期化(&I)"), [this] { initializeChart(); }},
           {"yAxisMenu",
            QStringLiteral("Y軸設定(&Y)"),
            {{"logAxis", QStringLiteral("対数軸設定(&L)"),
              [this] {
                  yAxisPanel_->showPanel();
                  laggingPanel_->hide();
              }},
             {"priceRange", QStringLiteral("最大・最少設定(&H)"),
              option([this](const PriceSeries& s, ViewState& v, InputBoxes& b) {
                  return changeAxisRange(s, v, b, plotRows());
              })},
             {"axisStep", QStringLiteral("刻み値の変更(&S)"),
              option([this](const PriceSeries& s, ViewState& v, InputBoxes& b) {
                  return changeAxisStep(s, v, b, plotRows());
              })}}},
           {"reduceDrawing", QStringLiteral("画面縮小(&M)"), option(&reduceDrawing)},
           {"laggingLines", QStringLiteral("遅行線設定(&R)"), [this] { showLaggingPanel(); }},
           {"measureDays", QStringLiteral("日柄測定(&A)"), [this] { tools_->armMeasuring(); }},
           {"crosshair", QStringLiteral("十字線(&X)"),
            [this] { setCrosshair(!tools_->crosshairOn()); }},
           {"barsMenu",
            QStringLiteral("足の種類(&B)"),
            {{"dailyBars", QStringLiteral("日足(&D)"), [this] { setBars(BarPeriod::Daily); }},
             {"weeklyBars", QStringLiteral("週足(&W)"), [this] { setBars(BarPeriod::Weekly); }},
             {"monthlyBars", QStringLiteral("月足(&M)"), [this] { setBars(BarPeriod::Monthly); }}}},
           {"timeTheoryMenu",
            QStringLiteral("時間論(&T)"),
            {{"basicNumbers", QStringLiteral("基本数値(&B)"),
              [this] { tools_->armPicking(Picking::BasicNumbers); }},
             {"equalCount", QStringLiteral("対等数値(&E)"),
              [this] { tools_->armPicking(Picking::EqualCount); }},
             {"basicNumberList", QStringLiteral("基本数値の設定(&S)"),
              [this] { askBasicNumbers(); }}}},
           {"priceTargets", QStringLiteral("値幅観測(&P)"),
            [this] { tools_->armPicking(Picking::PriceTargets); }},
           {"clearMarks", QStringLiteral("印の消去(&C)"), [this] { clearMarks(); }},
           {"decimals", QStringLiteral("小数点以下桁数指定(&K)"), [this] { askDecimals(); }}}},
         {"helpMenu",
          QStringLiteral("ﾍﾙﾌﾟ(&H)"),
          {{"versionInfo", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), [this] { showVersionInfo(); }}}}});
    action("reload")->setShortcut(Qt::Key_F5);
    recentFiles_ = new RecentFilesMenu(findChild<QMenu*>(QStringLiteral("recentFiles")));
}

// The bars' period is one choice of three, ticked in the menu.
void MainWindow::tickBars() {
    const std::pair<const char*, BarPeriod> entries[] = {{"dailyBars", BarPeriod::Daily},
                                                         {"weeklyBars", BarPeriod::Weekly},
                                                         {"monthlyBars", BarPeriod::Monthly}};
    for (const auto& [name, period] : entries) {
        QAction* entry = action(name);
        entry->setCheckable(true);
        entry->setChecked(view_.bars == period);
    }
}

QAction* MainWindow::action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

ReadoutWindow* MainWindow::readoutWindow() const {
    return tools_->readoutWindow();
}

MeasuringWindow* MainWindow::measuringWindow() const {
    return tools_->measuringWindow();
}

const MeasuringTool& MainWindow::measuringTool() const {
    return tools_->measuringTool();
}

const ZoomTool& MainWindow::zoomTool() const {
    return tools_->zoomTool();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    tools_->closeToolWindows();
    printing_->end();
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
    drawChartNow();
}

// Without the busy pointer: a move through time draws many times a second.
void MainWindow::drawChartNow() {
    {
        ImageSurface surface(chartView_->imageForDrawing());
        ChartLayout layout = drawChart(surface, *series_, view_, kScreenProfile);
        tools_->chartRedrawn(surface, layout);
        // Without a chart the mouse keeps to the last one drawn.
        if (layout.hasRange) layout_ = std::move(layout);
    }
    chartView_->update();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Esc gives up a picking under way and clears the marks.
    if (event->key() == Qt::Key_Escape) {
        clearMarks();
        return;
    }
    if (navigation_->keyPressed(*event)) return;
    QMainWindow::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        navigation_->keyPressed(*static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::moveView(const std::function<bool(const PriceSeries&, ViewState&)>& move) {
    if (move(*series_, view_)) drawChartNow();
}

void MainWindow::setCrosshair(bool on) {
    tools_->setCrosshair(on);
    QAction* entry = action("crosshair");
    entry->setCheckable(true);
    entry->setChecked(on);
}

void MainWindow::initializeChart() {
    tools_->forgetZoomPoint();
    showNewestDays(*series_, view_);
    redrawChart();
}

void MainWindow::showVersionInfo() {
    if (!aboutBox_) aboutBox_ = new AboutBox(this);
    aboutBox_->showVersion();
}

void MainWindow::showLaggingPanel() {
    // The boxes show the lines drawn whenever the panel is shown, not once the focus enters it.
    laggingPanel_->setBoxes(view_.spanForward, view_.spanBack);
    laggingPanel_->showPanel();
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

int MainWindow::plotRows() const {
    return std::max(static_cast<int>(layout_.frame.height / kTwipsPerPixel), 1);
}

void MainWindow::runOption(
    const std::function<OptionResult(const PriceSeries&, ViewState&, InputBoxes&)>& command) {
    const OptionResult result = command(*series_, view_, inputs_);
    if (result.message) messages_.showMessage(this, *result.message);
    if (result.redraw) redrawChart();
}

void MainWindow::askDecimals() {
    const OptionResult result = changeDecimals(view_, inputs_);
    if (!result.redraw) return;
    redrawChart();
    tools_->refreshReadout();
}

void MainWindow::printChart(SheetPart part) {
    if (printing_->print(*series_, view_, part)) showFileTitle(QStringLiteral(" *"));
    redrawChart();
}

} // namespace nimbrel
