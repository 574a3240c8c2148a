#include "WindowScenario.h"

#include "ScenarioWindow.h"

#include "ui/AboutBox.h"
#include "ui/AnalysisWindow.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"
#include "ui/MeasuringWindow.h"
#include "ui/OptionPanels.h"
#include "ui/ReadoutWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

// The words of a step: blanks apart, "..." holding blanks, '' an empty word.
QStringList wordsOf(const QString& step) {
    QStringList words;
    for (qsizetype at = 0; at < step.size();) {
        if (step[at].isSpace()) {
            ++at;
        } else if (step[at] == '"') {
            const qsizetype end = step.indexOf('"', at + 1);
            words << step.mid(at + 1, end - at - 1);
            at = end < 0 ? step.size() : end + 1;
        } else {
            qsizetype end = at;
            while (end < step.size() && !step[end].isSpace()) ++end;
            const QString word = step.mid(at, end - at);
            words << (word == "''" ? QString() : word);
            at = end;
        }
    }
    return words;
}

} // namespace

QWidget* ScenarioWindow::widget(const QString& name) const {
    if (name == "chart") return chart();
    if (name == "readout") return window().readoutWindow();
    if (name == "measuring") return window().measuringWindow();
    if (name == "about") return window().aboutBox();
    if (name == "ok") return window().aboutBox()->okButton();
    if (name == "panel") return window().fileChooser();
    if (name == "sheetBox") return window().fileChooser()->sheetNameBox();
    if (name == "axisPanel") return window().yAxisPanel();
    if (name == "laggingPanel") return window().laggingLinePanel();
    if (name == "log") return window().yAxisPanel()->logButton();
    if (name == "normal") return window().yAxisPanel()->normalButton();
    if (name == "back") return window().laggingLinePanel()->backBox();
    if (name == "forward") return window().laggingLinePanel()->forwardBox();
    if (name == "execute") return window().laggingLinePanel()->executeButton();
    if (name == "axisCancel") return window().yAxisPanel()->cancelButton();
    for (AnalysisWindow* analysis : window().findChildren<AnalysisWindow*>())
        if (analysis->windowTitle() == name) return analysis;
    return window().findChild<QWidget*>(name); // the pop-up menus, the crosshair's price
}

// A day's slot at the middle of the plot's height, or at a price: "36", "36@1318"; "36.4" is
// four tenths of a slot right of the day's centre.
QPoint ScenarioWindow::pointAt(const QString& at) const {
    const ChartLayout& layout = window().layout();
    const double day = at.section('@', 0, 0).toDouble();
    const QString price = at.section('@', 1);
    const double x = layout.days.x(static_cast<int>(day)) + (day - int(day)) * layout.dayWidth;
    const double y = price.isEmpty() ? layout.frame.top + layout.frame.height / 2
                                     : *layout.seriesPrices.y(price.toDouble());
    return QPoint(static_cast<int>(x / 15), static_cast<int>(y / 15));
}

void ScenarioWindow::start(const QString& size) {
    store_ = std::make_unique<IniSettingsStore>();
    window_ = std::make_unique<MainWindow>(*store_, messages_, inputs_, dialogs_);
    window_->showAsSaved();
    if (!size.isEmpty())
        window_->resize(size.section('x', 0, 0).toInt(), size.section('x', 1).toInt());
    QCoreApplication::processEvents();
}

// Day d of `days` calendar days from 2020-01-01 closes at 1000 + d, 5 above its low and below
// its high, so that the range of any days shown is known without the program. Written beside
// and renamed, as a download job replaces a file.
void ScenarioWindow::writeDays(const QString& name, int days, const QString& tail) {
    QString text = QStringLiteral("上昇\n円\n");
    for (int day = 1; day <= days; ++day)
        text += QStringLiteral("%1 %2 %3 %4 %2\n")
                    .arg(QDate(2020, 1, 1).addDays(day - 1).toString(QStringLiteral("yyyyMMdd")))
                    .arg(1000 + day)
                    .arg(1005 + day)
                    .arg(995 + day);
    QFile file(dir_.filePath(name + QStringLiteral(".part")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((text + tail).toUtf8());
    file.close();
    QFile::remove(dir_.filePath(name));
    ASSERT_TRUE(file.rename(dir_.filePath(name)));
}

void ScenarioWindow::mouse(const QStringList& w, bool click) {
    Qt::KeyboardModifiers modifiers;
    if (w.contains("ctrl")) modifiers |= Qt::ControlModifier;
    if (w.contains("shift")) modifiers |= Qt::ShiftModifier;
    const Qt::MouseButton button = w.contains("right") ? Qt::RightButton : Qt::LeftButton;
    QWidget* target = w[1][0].isDigit() ? chart() : widget(w[1]);
    ASSERT_NE(target, nullptr);
    const QPoint at = w[1][0].isDigit() ? pointAt(w[1]) : QPoint(5, 5);
    if (target == chart()) pointer_ = at;
    if (!click)
        QTest::mouseMove(target, at);
    else if (w.contains("double"))
        QTest::mouseDClick(target, button, modifiers, at);
    else
        QTest::mouseClick(target, button, modifiers, at);
}

void ScenarioWindow::run(const QStringList& w) {
    const QString& verb = w[0];
    if (verb == "settings") {
        IniSettingsStore store;
        for (const QString& pair : w.mid(1))
            store.setValue(pair.section('=', 0, 0), pair.section('=', 1));
    } else if (verb == "start") {
        start(w.value(1));
    } else if (verb == "quit") {
        window().action("quit")->trigger();
        window_.reset();
    } else if (verb == "open") {
        window().openFile(path(w[1]));
    } else if (verb == "menu") {
        QAction* entry = window().action(w[1].toLatin1().constData());
        for (QAction* each : window().findChildren<QAction*>())
            if (!entry && each->text() == w[1]) entry = each;
        ASSERT_NE(entry, nullptr);
        entry->trigger();
    } else if (verb == "answer") {
        for (const QString& answer : w.mid(1)) inputs_.answers.push_back(answer);
    } else if (verb == "key") {
        const QKeyCombination key = QKeySequence::fromString(w[1].section('*', 0, 0))[0];
        QWidget* target =
            w.value(2) == "window" ? window_.get() : widget(w.value(2, QStringLiteral("chart")));
        ASSERT_NE(target, nullptr);
        for (int times = std::max(w[1].section('*', 1).toInt(), 1); times > 0; --times)
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
    } else if (verb == "hide") {
        widget(w[1])->hide();
    } else if (verb == "wait") {
        if (w[1] == "bars")
            (void)QTest::qWaitFor([&] { return window().series().dataCount == w[2].toInt(); },
                                  5000);
        else
            QTest::qWait(w[1].toInt());
    } else if (verb == "shift") {
        QWidget* moved = widget(w[1]);
        placed_ = moved->pos() + QPoint(w[2].toInt(), w[3].toInt());
        moved->windowHandle()->setFramePosition(placed_);
        ASSERT_TRUE(QTest::qWaitFor([&] { return moved->pos() == placed_; }));
    } else if (verb == "type") {
        FileChooserPanel* panel = window().fileChooser();
        QLineEdit* box = w[1] == "sheet" ? panel->sheetNameBox()->lineEdit() : panel->fileNameBox();
        box->selectAll();
        QTest::keyClicks(box, w[2]);
        if (w.value(3) != "held") QTest::keyClick(box, Qt::Key_Return);
    } else if (verb == "choose") {
        emit window().fileChooser()->sheetNameBox()->textActivated(w[1]);
    } else if (verb == "click" || verb == "move") {
        mouse(w, verb == "click");
    } else if (verb == "wheel") {
        const QPoint at = w.size() > 2 ? pointAt(w.last()) : QPoint(300, 300);
        QWheelEvent event(at, chart()->mapToGlobal(at), {}, QPoint(0, w[1].toInt()), Qt::NoButton,
                          w.contains("ctrl") ? Qt::ControlModifier : Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(chart(), &event);
    } else if (verb == "drag") {
        const QPoint from = pointAt(w[1]);
        const QPoint to =
            from + QPoint(static_cast<int>(w[2].toDouble() * window().layout().dayWidth / 15), 0);
        for (const auto& [type, at] : {std::pair{QEvent::MouseButtonPress, from},
                                       {QEvent::MouseMove, to},
                                       {QEvent::MouseButtonRelease, to}}) {
            QMouseEvent event(type, at, chart()->mapToGlobal(at),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::MiddleButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MiddleButton,
                              {});
            QCoreApplication::sendEvent(chart(), &event);
        }
    } else if (verb == "drop") {
        QMimeData data;
        data.setUrls({w[1].contains("://") ? QUrl(w[1]) : QUrl::fromLocalFile(path(w[1]))});
        const QPoint at = chart()->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window_.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted()) QCoreApplication::sendEvent(window_.get(), &dropped);
        QCoreApplication::processEvents(); // the drop is answered before the file opens
    } else if (verb == "write") {
        writeDays(w[1], w[2].toInt(), w.value(3));
    } else if (verb == "append") {
        QFile file(path(w[1]));
        ASSERT_TRUE(file.open(QIODevice::Append) && file.write((w[2] + '\n').toUtf8()) > 0);
    } else if (verb == "put") {
        QFile file(dir_.filePath(w[1]));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(w[2].toUtf8()) >= 0);
    } else if (verb == "copy") {
        ASSERT_TRUE(QFile::copy(path(w[1]), dir_.filePath(w[2])));
    } else if (verb == "remove") {
        ASSERT_TRUE(QFile::remove(path(w[1])));
    } else if (verb == "rename") {
        ASSERT_TRUE(QDir().rename(path(w[1]), dir_.filePath(w[2])));
    } else if (verb == "mkdir") {
        ASSERT_TRUE(QDir(dir_.path()).mkpath(w[1]));
    } else if (verb == "paper") {
        dialogs_.chooseInSetUp = nullptr;
        const QPageSize paper(w[1] == "A5" ? QPageSize::A5 : QPageSize::A4);
        if (w[1] != "cancel")
            dialogs_.chooseInSetUp = [=](QPrinter& printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setPageSize(paper);
                printer.setPageOrientation(w.contains("landscape") ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
            };
        window().action("pageSetup")->trigger();
    } else if (verb == "pdf") {
        for (const QString& name : w.mid(1)) dialogs_.fileAnswers.push_back(path(name));
    } else if (verb == "snapshot") {
        snapshot_ = chart()->imageForDrawing().copy();
    } else if (verb == "expect") {
        expect(w);
    } else {
        ADD_FAILURE() << "no such step";
    }
}

void runScenario(const char* name, const char* steps) {
    ScenarioWindow scenario;
    for (const QString& step : QString::fromUtf8(steps).split(';')) {
        const QStringList words = wordsOf(step);
        if (words.isEmpty()) continue;
        SCOPED_TRACE(std::string(name) + ": " + step.trimmed().toStdString());
        scenario.run(words);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

} // namespace nimbrel
