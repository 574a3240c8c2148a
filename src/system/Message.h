#pragma once

#include <QString>

namespace nimbrel {

enum class MessageIcon { Information, Exclamation };

// A modal message as the user sees it: the window shows it in a box, the command line prints it.
struct Message {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::Information;
};

} // namespace nimbrel
