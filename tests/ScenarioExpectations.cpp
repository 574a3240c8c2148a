#include "ScenarioWindow.h"

#include "ui/AnalysisWindow.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"

#include "PrintedPages.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QSettings>

#include <gtest/gtest.h>

namespace nimbrel {

// expect title TEXT | days FIRST-LAST | bars COUNT | high PRICE | legend TEXT
//   | setting KEY=VALUE ... | messages COUNT [START OF THE LAST] | shown WIDGET [no]
//   | checked ENTRY-OR-BOX [no] | enabled ENTRY [no] | sheets LISTED,... [TEXT]
//   | view logY|spanForward|spanBack [no] | view step STEP | crosshair PRICE
//   | readout FIELD TEXT | measuring FIELD TEXT | marks COUNT [FIRST BAR]
//   | lines WINDOW-TITLE START | recent PLACE FILE-OR-'' | placed WINDOW
//   | pdf FILE PAGES [WIDTHxHEIGHT] | file FILE TEXT | files FOLDER NAME,... | asked COUNT
//   | image same|changed | crossed DAY | pointer normal
void ScenarioWindow::expect(const QStringList& w) {
    const QString& what = w[1];
    const QString value = w.value(2);
    if (what == "title") {
        EXPECT_EQ(window().windowTitle(), value);
    } else if (what == "days") {
        EXPECT_EQ(
            QStringLiteral("%1-%2").arg(window().layout().firstDay).arg(window().layout().lastDay),
            value);
    } else if (what == "bars") {
        EXPECT_EQ(window().series().dataCount, value.toInt());
    } else if (what == "high") {
        EXPECT_EQ(plainDecimal(window().view().visibleHigh), value.toStdString());
    } else if (what == "legend") {
        EXPECT_EQ(window().layout().legend, value);
    } else if (what == "setting") {
        QSettings ini(IniSettingsStore().fileName(), QSettings::IniFormat);
        for (const QString& pair : w.mid(2))
            EXPECT_EQ(ini.value(QStringLiteral("UserDef/") + pair.section('=', 0, 0)).toString(),
                      pair.section('=', 1))
                << pair.toStdString();
    } else if (what == "messages") {
        ASSERT_EQ(messages_.shown.size(), value.toUInt());
        if (w.size() > 3) {
            EXPECT_TRUE(messages_.shown.back().text.startsWith(w[3]))
                << messages_.shown.back().text.toStdString();
        }
    } else if (what == "shown") {
        const QWidget* shown = widget(value);
        // A box of a panel counts as shown where the panel would show it.
        EXPECT_EQ(shown && (shown->isWindow() ? shown->isVisible()
                                              : shown->isVisibleTo(shown->parentWidget())),
                  w.value(3) != "no");
    } else if (what == "checked") {
        const QAction* entry = window().action(value.toLatin1().constData());
        const auto* box = qobject_cast<QAbstractButton*>(widget(value));
        ASSERT_TRUE(entry || box);
        EXPECT_EQ(entry ? entry->isChecked() : box->isChecked(), w.value(3) != "no");
    } else if (what == "enabled") {
        const QAction* entry = window().action(value.toLatin1().constData());
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->isEnabled(), w.value(3) != "no");
    } else if (what == "sheets") {
        const QComboBox* box = window().fileChooser()->sheetNameBox();
        QStringList listed;
        for (int i = 0; i < box->count(); ++i) listed << box->itemText(i);
        EXPECT_EQ(listed.join(','), value);
        if (w.size() > 3) {
            EXPECT_EQ(box->currentText(), w[3]);
        }
    } else if (what == "view" && value == "step") {
        EXPECT_EQ(window().view().userStep, w[3].toFloat());
    } else if (what == "view") {
        const ViewState& view = window().view();
        const std::map<QString, bool> flags = {{QStringLiteral("logY"), view.logY},
                                               {QStringLiteral("spanForward"), view.spanForward},
                                               {QStringLiteral("spanBack"), view.spanBack}};
        EXPECT_EQ(flags.at(value), w.value(3) != "no");
    } else if (what == "crosshair") {
        const QWidget* price = widget(QStringLiteral("crosshairPrice"));
        EXPECT_TRUE(price && price->isVisible());
        EXPECT_EQ(static_cast<const QLabel*>(price)->text(), value);
    } else if (what == "recent") {
        const QAction* entry = window().action(("recentFile" + value).toLatin1().constData());
        EXPECT_TRUE(w[3].isEmpty() ? !entry
                                   : entry && entry->text().startsWith('&' + value + ' ') &&
                                         entry->text().endsWith('/' + w[3]));
    } else if (what == "placed") {
        EXPECT_EQ(widget(value)->pos(), placed_);
    } else if (what == "readout" || what == "measuring") {
        QWidget* tool = widget(what);
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(value == "title" ? tool->windowTitle() : tool->findChild<QLabel*>(value)->text(),
                  w.value(3));
    } else if (what == "marks") {
        const auto& marks = window().view().marks.timeMarks;
        ASSERT_EQ(marks.size(), value.toUInt());
        if (w.size() > 3) {
            EXPECT_EQ(marks[0].bar, w[3].toInt());
        }
    } else if (what == "lines") {
        const auto* analysis = qobject_cast<AnalysisWindow*>(widget(value));
        ASSERT_NE(analysis, nullptr);
        EXPECT_TRUE(analysis->lines().join('|').startsWith(w.value(3)))
            << analysis->lines().join('|').toStdString();
    } else if (what == "pdf") {
        EXPECT_EQ(pdfPageCount(path(value)), w[3].toInt());
        if (w.size() > 4) {
            const QSizeF size = pdfPageSize(path(value));
            EXPECT_EQ(QStringLiteral("%1x%2").arg(qRound(size.width())).arg(qRound(size.height())),
                      w[4]);
        }
    } else if (what == "file") {
        QFile file(path(value));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(file.readAll()), w.value(3));
    } else if (what == "files") {
        EXPECT_EQ(QDir(path(value)).entryList(QDir::Files | QDir::Hidden).join(','), w.value(3));
    } else if (what == "asked") {
        EXPECT_EQ(dialogs_.suggested.size(), value.toUInt());
    } else if (what == "image") {
        EXPECT_EQ(chart()->imageForDrawing() == snapshot_, value == "same");
    } else if (what == "crossed") {
        // What changed since the snapshot: a column at the day's slot centre and a row at the
        // pointer, across the plot.
        const QImage& now = chart()->imageForDrawing();
        const int column = static_cast<int>(window().layout().days.x(value.toInt()) / 15);
        int inColumn = 0, inRow = 0, elsewhere = 0;
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x) {
                if (now.pixel(x, y) == snapshot_.pixel(x, y)) continue;
                ++(std::abs(x - column) <= 1         ? inColumn
                   : std::abs(y - pointer_.y()) <= 1 ? inRow
                                                     : elsewhere);
            }
        const ChartLayout& layout = window().layout();
        EXPECT_GT(inColumn, layout.frame.height / 15 * 0.9);
        EXPECT_GT(inRow, (layout.frame.right - layout.frame.left) / 15 * 0.9);
        EXPECT_EQ(elsewhere, 0);
    } else if (what == "pointer") {
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    } else {
        ADD_FAILURE() << "nothing to expect of that";
    }
}

} // namespace nimbrel
