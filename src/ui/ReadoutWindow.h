#pragma once

// moc of Qt 6.4 cannot read the C++20 library headers this brings in; it needs none of them.
#ifndef Q_MOC_RUN
#include "tools/Readout.h"
#endif

#include <QWidget>

class QLabel;

namespace nimbrel {

// The read-out window: a small tool window above the main window that lists the values
// of the day under the pointer. A click on its background hides it; it keeps the day it shows.
class ReadoutWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ReadoutWindow(QWidget* parent);

    // Shows day n's fields (n is the day the window shows, read back after a change of
    // decimalsUnit).
    void showDay(int day, const ReadoutFields& fields);
    int dayShown() const { return dayShown_; }
    const ReadoutFields& fields() const { return fields_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setFields(const ReadoutFields& fields);

    int dayShown_ = 0;
    ReadoutFields fields_;
    QLabel* open_;
    QLabel* high_;
    QLabel* low_;
    QLabel* close_;
    QLabel* conversion_;
    QLabel* base_;
    QLabel* span1_;
    QLabel* span2_;
    QLabel* laggingFront_;
    QLabel* laggingBack_;
};

} // namespace nimbrel
