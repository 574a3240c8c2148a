#pragma once

#include <QString>
#include <QStringList>

namespace nimbrel {

// Modal input boxes: the option commands ask through this, tests answer from a script.
class InputBoxes {
public:
    virtual ~InputBoxes() = default;
    // A box titled "Nimbrel" showing the prompt's lines, with a text field that starts with
    // defaultText, and OK and Cancel. Cancel gives the empty text.
    virtual QString ask(const QStringList& promptLines, const QString& defaultText) = 0;
};

} // namespace nimbrel
