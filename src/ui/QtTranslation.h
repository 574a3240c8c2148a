#pragma once

class QCoreApplication;

namespace nimbrel {

// Qt's own dialogs (the printer and file dialogs, the buttons of message and input boxes) in
// Japanese, as the rest of the program speaks: Qt's translation where the system has it.
// False when it has not; the dialogs then stay in English.
bool loadQtTranslation(QCoreApplication& application);

} // namespace nimbrel
