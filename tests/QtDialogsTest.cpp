#include "system/IniSettingsStore.h"
#include "ui/MainWindow.h"
#include "ui/QtInputBoxes.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtPrintDialogs.h"

#include "LoaderTestSupport.h"
#include "PrintFakes.h"
#include "ScriptedInputs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace nimbrel {

// Qt's own dialogs speak Japanese, and the page setup's button says that it sets, not prints.
TEST(QtDialogs, SpeakJapanese) {
    QStringList buttons;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->isVisible() && !button->text().isEmpty()) buttons << button->text();
        QMetaObject::invokeMethod(dialog, "reject");
    });
    look.start(50);
    QtPrintDialogs dialogs;
    QPrinter printer;
    EXPECT_FALSE(dialogs.setUpPrinter(nullptr, printer));
    EXPECT_TRUE(buttons.contains(QStringLiteral("設定(&S)")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル")));
    EXPECT_FALSE(buttons.contains(QStringLiteral("&Print")));
    buttons.clear();
    QtInputBoxes inputs;
    EXPECT_EQ(inputs.ask({QStringLiteral("表示日数は?")}, QString()), QString());
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル")));
}

// A message box shown while the window is busy has the normal pointer over it.
TEST(QtDialogs, TheNormalPointerShowsOverAMessageBox) {
    IniSettingsStore store;
    QtMessageBoxes boxes;
    ScriptedInputs inputs;
    FakePrintDialogs printDialogs;
    MainWindow window(store, boxes, inputs, printDialogs);
    window.show();
    std::optional<bool> busyOverBox;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            busyOverBox = QGuiApplication::overrideCursor() != nullptr;
            box->accept();
        }
    });
    answer.start(5);
    window.openFile(kFixtures + QStringLiteral("/wrong_sheet.xls"));
    ASSERT_TRUE(busyOverBox.has_value());
    EXPECT_FALSE(*busyOverBox);
}

} // namespace nimbrel
