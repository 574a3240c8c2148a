#pragma once

#include "ui/MessageBoxes.h"

namespace nimbrel {

// The platform's modal message box with an OK button.
class QtMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const Message& message) override;
};

} // namespace nimbrel
