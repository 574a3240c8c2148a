#include "ui/QtInputBoxes.h"

#include <QInputDialog>

namespace nimbrel {

QString QtInputBoxes::ask(const QStringList& promptLines, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, QStringLiteral("Nimbrel"),
                                               promptLines.join(QLatin1Char('\n')),
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

} // namespace nimbrel
