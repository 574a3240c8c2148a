#pragma once

#include "options/InputBoxes.h"

class QWidget;

namespace nimbrel {

// The platform's input dialog, centred over the window it belongs to.
class QtInputBoxes final : public InputBoxes {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    QString ask(const QStringList& promptLines, const QString& defaultText) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace nimbrel
