#pragma once

#include "ui/MessageBoxes.h"

#include <vector>

namespace nimbrel {

// Message boxes that are only noted, so that a test sees what the user would have been told.
class RecordedMessages final : public MessageBoxes {
public:
    std::vector<Message> shown;
    void showMessage(QWidget*, const Message& message) override { shown.push_back(message); }
};

} // namespace nimbrel
