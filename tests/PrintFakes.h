#pragma once

#include "print/PrintDialogs.h"

#include <QString>

#include <functional>
#include <vector>

namespace nimbrel {

// Answers the print dialogs as a test says and keeps what they were asked.
class FakePrintDialogs final : public PrintDialogs {
public:
    // What the user does in the page setup; without it the dialog is cancelled.
    std::function<void(QPrinter&)> chooseInSetUp;
    // The file names given to the PDF questions in turn; an empty one (or none left) cancels.
    std::vector<QString> fileAnswers;
    std::vector<QString> suggested; // what each PDF question started from

    bool setUpPrinter(QWidget*, QPrinter& printer) override {
        if (!chooseInSetUp) return false;
        chooseInSetUp(printer);
        return true;
    }
    QString pdfFileName(QWidget*, const QString& start) override {
        const size_t asked = suggested.size();
        suggested.push_back(start);
        return asked < fileAnswers.size() ? fileAnswers[asked] : QString();
    }
};

} // namespace nimbrel
