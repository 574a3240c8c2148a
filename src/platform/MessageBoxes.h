#pragma once

#include "data/Message.h"

class QWidget;

// Modal message boxes: the window shows them through this, tests record them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void showMessage(QWidget* parent, const Message& message) = 0;
};

// The platform's modal message box with an OK button.
class QtMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const Message& message) override;
};
