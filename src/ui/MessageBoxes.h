#pragma once

#include "system/Message.h"

class QWidget;

namespace nimbrel {

// Modal message boxes: the window shows them through this, tests record them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void showMessage(QWidget* parent, const Message& message) = 0;
};

} // namespace nimbrel
