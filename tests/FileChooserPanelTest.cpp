#include "ui/FileChooserPanel.h"

#include "ui/TwipRect.h"

#include "Printers.h"
#include "RecordedMessages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

// The panel over a client area of its own, in an active window, with its lists in a folder of
// three files and two folders.
class FileChooserPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        client_.resize(900, 640);
        client_.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&client_));
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            ASSERT_TRUE(
                QFile(folder_.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("gone")));
        ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("other")));
        panel_.fileNameBox()->setText(QStringLiteral("*.*")); // as the window starts it
        panel_.showPanel();
        ASSERT_TRUE(panel_.setDirectory(folder_.path()));
    }

    static QPoint centreOf(QListWidget* list, const QString& text) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchEndsWith);
        EXPECT_EQ(found.size(), 1) << text.toStdString();
        return found.isEmpty() ? QPoint() : list->visualItemRect(found.front()).center();
    }

    static void click(QListWidget* list, const QString& text, bool twice = false) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, text));
        if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, text));
    }

    QWidget client_;
    RecordedMessages messages_;
    QTemporaryDir folder_;
    FileChooserPanel panel_{messages_, &client_};
};

} // namespace

TEST_F(FileChooserPanelTest, TheKeysPickFilesInTheListEnterOpensAndEscPutsThePanelAway) {
    // Opening the panel is for typing a name: the first key replaces what the file name box held.
    EXPECT_TRUE(panel_.fileNameBox()->hasFocus());
    QTest::keyClicks(panel_.fileNameBox(), QStringLiteral("*.txt"));
    EXPECT_EQ(panel_.fileNameBox()->text(), QStringLiteral("*.txt"));

    QSignalSpy opened(&panel_, &FileChooserPanel::openRequested);
    click(panel_.fileList(), QStringLiteral("a.txt"));
    const std::pair<Qt::Key, const char*> steps[] = {
        {Qt::Key_Down, "b.txt"}, {Qt::Key_End, "c.txt"}, {Qt::Key_Up, "b.txt"}};
    for (const auto& [key, name] : steps) {
        QTest::keyClick(panel_.fileList(), key);
        EXPECT_EQ(panel_.fileNameBox()->text(), QString::fromLatin1(name)) << name;
    }
    EXPECT_EQ(opened.count(), 0);
    QTest::keyClick(panel_.fileList(), Qt::Key_Return);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(panel_.fileToOpen(), QStringLiteral("b.txt"));

    // *.* lists every file, one without a dot too, as file dialogs do.
    ASSERT_TRUE(QFile(folder_.filePath(QStringLiteral("prices"))).open(QIODevice::WriteOnly));
    panel_.fileNameBox()->setFocus();
    panel_.fileNameBox()->setText(QStringLiteral("*.*"));
    QTest::keyClick(panel_.fileNameBox(), Qt::Key_Return);
    EXPECT_EQ(panel_.fileList()->count(), 4);

    // A pattern typed afterwards refills the list and stays in the file name box.
    panel_.fileNameBox()->setText(QStringLiteral("c*"));
    QTest::keyClick(panel_.fileNameBox(), Qt::Key_Return);
    EXPECT_EQ(panel_.fileList()->count(), 1);
    EXPECT_EQ(panel_.fileNameBox()->text(), QStringLiteral("c*"));

    // Esc in the drive drop-down closes only the drop-down; Esc in the list the panel.
    panel_.driveBox()->showPopup();
    QWidget* dropDown = panel_.driveBox()->view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dropDown));
    QTest::keyClick(panel_.driveBox()->view(), Qt::Key_Escape);
    EXPECT_FALSE(dropDown->isVisible());
    EXPECT_TRUE(panel_.isVisible());
    QTest::keyClick(panel_.fileList(), Qt::Key_Escape);
    EXPECT_FALSE(panel_.isVisible());
}

TEST_F(FileChooserPanelTest, AFolderThatCannotBeReadLeavesTheListsAndTheirHighlight) {
    QListWidget* dirs = panel_.folderList();
    const QString shownName = QFileInfo(folder_.path()).fileName();
    ASSERT_TRUE(QDir(folder_.path()).rmdir(QStringLiteral("gone"))); // gone since it was listed
    click(dirs, QStringLiteral("gone"), true);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(messages_.shown[0].text,
              QStringLiteral("フォルダを開けません\n") + folder_.filePath(QStringLiteral("gone")));
    EXPECT_EQ(panel_.directory(), folder_.path());
    EXPECT_EQ(panel_.fileList()->count(), 3);
    EXPECT_TRUE(dirs->currentItem()->text().endsWith(shownName));

    // A folder highlighted but not entered: opening a file shows the file's folder again.
    click(dirs, QStringLiteral("other"));
    click(panel_.fileList(), QStringLiteral("a.txt"), true);
    EXPECT_EQ(panel_.fileToOpen(), QStringLiteral("a.txt"));
    EXPECT_TRUE(dirs->currentItem()->text().endsWith(shownName));
}

} // namespace nimbrel
