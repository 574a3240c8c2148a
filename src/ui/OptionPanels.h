#pragma once

#include <QFrame>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace nimbrel {

// The two small panels of the options menu that sit over the chart's top left corner. They
// report what the user does; the main window changes the view. A right click on a panel's
// background hides it.

// 遅行線の設定: which lagging lines are drawn.
class LaggingLinePanel final : public QFrame {
    Q_OBJECT
public:
    explicit LaggingLinePanel(QWidget* parent);
    // Shows the panel on top, its boxes as they were left.
    void showPanel();
    void setBoxes(bool forward, bool back);
    QCheckBox* forwardBox() const { return forward_; }
    QCheckBox* backBox() const { return back_; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    void forwardClicked();
    void backClicked();
    // The keyboard focus came into the panel from elsewhere.
    void focusEntered();
    // 実行, with the boxes as they stand; the panel is hidden.
    void executed(bool forward, bool back);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QCheckBox* forward_;
    QCheckBox* back_;
    QPushButton* execute_;
    QPushButton* cancel_;
};

// Y 軸対数設定: a normal or a logarithmic price axis.
class YAxisPanel final : public QFrame {
    Q_OBJECT
public:
    explicit YAxisPanel(QWidget* parent);
    void showPanel();
    void setLogarithmic(bool logarithmic);
    QRadioButton* normalButton() const { return normal_; }
    QRadioButton* logButton() const { return log_; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    // A click on an option button: logarithmic or not.
    void axisClicked(bool logarithmic);
    // A double click on one: the panel is hidden.
    void axisChosen(bool logarithmic);
    // 実行: the panel is hidden.
    void executed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRadioButton* normal_;
    QRadioButton* log_;
    QPushButton* execute_;
    QPushButton* cancel_;
};

} // namespace nimbrel
