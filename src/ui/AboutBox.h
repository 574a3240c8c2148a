#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;

namespace nimbrel {

// The version window: the program's icon, name and version, and an OK button. It is
// modeless and only hides, so it comes back where the user left it.
class AboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Shows the window (again) with its product line.
    void showVersion();

    QLabel* icon() const { return icon_; }
    QLabel* productLine() const { return productLine_; }
    QPushButton* okButton() const { return okButton_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Where the window stood when it was hidden, wherever the user had dragged it.
    std::optional<QPoint> hiddenAt_;
    QLabel* icon_;
    QLabel* productLine_;
    QPushButton* okButton_;
};

} // namespace nimbrel
