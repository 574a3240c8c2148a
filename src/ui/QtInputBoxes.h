#pragma once

#include "options/InputBoxes.h"

class QWidget;

// The platform's input dialog, centred over the window it belongs to.
class QtInputBoxes final : public InputBoxes {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    QString ask(const QStringList& promptLines, const QString& defaultText) override;

private:
    QWidget* parent_ = nullptr;
};
