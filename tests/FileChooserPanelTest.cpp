#include "ui/FileChooserPanel.h"

#include "platform/TwipRect.h"

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
        panel_.text1()->setText(QStringLiteral("*.*")); // as the window starts it
        panel_.showPanel();
        ASSERT_TRUE(panel_.setDirectory(folder_.path()));
    }

    static QPoint centreOf(QListWidget* list, const QString& text) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchEndsWith);
        EXPECT_EQ(found.size(), 1) << text.toStdString();
        return found.isEmpty() ? QPoint() : list->visualItemRect(found.front()).center();
    }

    static void click(QListWidget* list, const QString& text) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, text));
    }

    static void doubleClick(QListWidget* list, const QString& text) {
        click(list, text);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, text));
    }

    QWidget client_;
    RecordedMessages messages_;
    QTemporaryDir folder_;
    FileChooserPanel panel_{messages_, &client_};
};

} // namespace

TEST_F(FileChooserPanelTest, TheKeysPickFilesInTheListAndEnterOpensTheHighlightedOne) {
    // Opening the panel is for typing a name: the first key replaces what Text1 held.
    EXPECT_TRUE(panel_.text1()->hasFocus());
    QTest::keyClicks(panel_.text1(), QStringLiteral("*.txt"));
    EXPECT_EQ(panel_.text1()->text(), QStringLiteral("*.txt"));

    QSignalSpy opened(&panel_, &FileChooserPanel::openRequested);
    click(panel_.file1(), QStringLiteral("a.txt"));
    const std::pair<Qt::Key, const char*> steps[] = {
        {Qt::Key_Down, "b.txt"}, {Qt::Key_End, "c.txt"}, {Qt::Key_Up, "b.txt"}};
    for (const auto& [key, name] : steps) {
        QTest::keyClick(panel_.file1(), key);
        EXPECT_EQ(panel_.text1()->text(), QString::fromLatin1(name)) << name;
    }
    EXPECT_EQ(opened.count(), 0);
    QTest::keyClick(panel_.file1(), Qt::Key_Return);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(panel_.fileToOpen(), QStringLiteral("b.txt"));

    // A pattern typed afterwards refills the list and stays in Text1.
    panel_.text1()->setFocus();
    panel_.text1()->setText(QStringLiteral("c*"));
    QTest::keyClick(panel_.text1(), Qt::Key_Return);
    EXPECT_EQ(panel_.file1()->count(), 1);
    EXPECT_EQ(panel_.text1()->text(), QStringLiteral("c*"));
}

TEST_F(FileChooserPanelTest, EscPutsThePanelAwayUnlessTheDriveDropDownIsOpen) {
    panel_.drive1()->showPopup();
    QWidget* dropDown = panel_.drive1()->view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dropDown));
    QTest::keyClick(panel_.drive1()->view(), Qt::Key_Escape);
    EXPECT_FALSE(dropDown->isVisible());
    EXPECT_TRUE(panel_.isVisible());

    click(panel_.file1(), QStringLiteral("a.txt"));
    QTest::keyClick(panel_.file1(), Qt::Key_Escape);
    EXPECT_FALSE(panel_.isVisible());
}

TEST_F(FileChooserPanelTest, TheDriveBoxShowsTheDriveTheUserChose) {
    QComboBox* drives = panel_.drive1();
    // The root of the home folder's volume: the entry that used to give way to the home entry.
    const QString root = QStorageInfo(QDir::homePath()).rootPath();
    const int index = drives->findText(root);
    ASSERT_GE(index, 1) << root.toStdString();
    drives->showPopup();
    QAbstractItemView* dropDown = drives->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dropDown->window()));
    const QPoint at = dropDown->visualRect(dropDown->model()->index(index, 0)).center();
    QTest::mouseClick(dropDown->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(drives->currentText(), root);
    EXPECT_EQ(panel_.directory(), QDir::cleanPath(root));

    // Going down into the home folder from there keeps the chosen drive.
    ASSERT_TRUE(panel_.setDirectory(QDir::homePath()));
    EXPECT_EQ(drives->currentText(), root);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(FileChooserPanelTest, AFolderThatCannotBeReadLeavesTheListsAndTheirHighlight) {
    QListWidget* dirs = panel_.dir1();
    const QString shownName = QFileInfo(folder_.path()).fileName();
    ASSERT_TRUE(QDir(folder_.path()).rmdir(QStringLiteral("gone"))); // gone since it was listed
    doubleClick(dirs, QStringLiteral("gone"));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(panel_.directory(), folder_.path());
    EXPECT_TRUE(dirs->currentItem()->text().endsWith(shownName));
    EXPECT_TRUE(dirs->currentItem()->isSelected());

    // A folder highlighted but not entered: opening a file shows the file's folder again.
    click(dirs, QStringLiteral("other"));
    doubleClick(panel_.file1(), QStringLiteral("a.txt"));
    EXPECT_EQ(panel_.fileToOpen(), QStringLiteral("a.txt"));
    EXPECT_TRUE(dirs->currentItem()->text().endsWith(shownName));
}

TEST_F(FileChooserPanelTest, ThePanelCoversItsClientAreaAtEverySize) {
    const std::pair<QWidget*, QRect> controls[] = {
        {panel_.file1(), twipRect(120, 1080, 2055, 1968)},
        {panel_.dir1(), twipRect(2400, 840, 2295, 2430)},
    };
    for (const QSize size : {QSize(1300, 950), QSize(802, 538), QSize(400, 300)}) {
        client_.resize(size);
        EXPECT_EQ(panel_.geometry(), QRect(QPoint(0, 0), size));
        for (const auto& [control, place] : controls)
            EXPECT_EQ(control->geometry(), place) << control->objectName().toStdString();
    }
}

TEST_F(FileChooserPanelTest, TheSheetLabelEndsBeforeItsBox) {
    const QFont before = QApplication::font();
    for (const int pixels : {12, 20}) {
        QFont font = before;
        font.setPixelSize(pixels);
        QApplication::setFont(font);
        FileChooserPanel panel(messages_, &client_);
        const QLabel* label = panel.sheetLabel();
        const int textEnd = label->x() + label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_LT(textEnd, panel.text2()->x()) << pixels;
        EXPECT_LE(textEnd, label->geometry().right() + 1) << pixels; // the label shows it all
        // The box still ends in line with Text1.
        EXPECT_EQ(panel.text2()->geometry().right(), twipRect(840, 660, 1332, 315).right());
    }
    QApplication::setFont(before);
}
