#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;

namespace nimbrel {

// A small tool window beside the main window that lists what an analysis tool found: the time
// marks with their dates, or the three turning points and their price targets. A click on it
// hides it; the marks stay on the chart.
class AnalysisWindow final : public QWidget {
    Q_OBJECT
public:
    AnalysisWindow(const QString& title, QWidget* parent);
    void showLines(const QStringList& lines);
    QStringList lines() const { return lines_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QStringList lines_;
    QLabel* text_;
};

} // namespace nimbrel
