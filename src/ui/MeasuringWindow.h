#pragma once

// moc of Qt 6.4 cannot read the C++20 library headers this brings in; it needs none of them.
#ifndef Q_MOC_RUN
#include "tools/MeasuringTool.h"
#endif

#include <QWidget>

class QLabel;

namespace nimbrel {

// The measuring window (日柄測定): from and to dates, the day count, the price range and
// the percentage of the measuring tool. A click on its background hides it.
class MeasuringWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MeasuringWindow(QWidget* parent);
    void showFields(const MeasuringFields& fields);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* from_;
    QLabel* to_;
    QLabel* dayCount_;
    QLabel* priceRange_;
    QLabel* percent_;
};

} // namespace nimbrel
