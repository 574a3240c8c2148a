#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace nimbrel {

class MessageBoxes;

// The panel over the chart from which a data file is opened: drive list (Drive1), directory
// list (Dir1), file list (File1) with its pattern, the file name box (Text1) and the sheet name
// box (Text2). It holds the sheet source name (the sheet name and "$") that the loader uses.
class FileChooserPanel final : public QWidget {
    Q_OBJECT
public:
    FileChooserPanel(MessageBoxes& messages, QWidget* parent);

    // "ﾃﾞｰﾀﾌｧｲﾙを開く": shows the panel and takes the sheet name from Text2.
    void showPanel();
    // Shows the panel with the lists in that folder (a folder named on the command line or
    // dropped on the window).
    void showFolder(const QString& path);

    QString directory() const { return directory_; }
    // Moves the directory and file lists there; a folder that cannot be read is reported and
    // the lists stay where they were. False then.
    bool setDirectory(const QString& path);
    QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);
    QString selectedFileName() const;
    bool selectFile(const QString& fileName);
    // The file a double-click or Enter asked to open, in directory().
    QString fileToOpen() const { return fileToOpen_; }

    QString sheetSourceName() const { return sheetSourceName_; }
    // Also shows the name, without its "$", in Text2.
    void setSheetSourceName(const QString& name);

    // The start-up rule: the sheet name box shows when the pattern text names .xls files.
    void showSheetBoxForPattern();
    // What Enter in Text1 does: a folder moves the lists, a pattern filters them, an existing
    // file is selected and opened.
    void handToFileList(const QString& text);

    QLineEdit* text1() const { return text1_; }
    QLineEdit* text2() const { return text2_; }
    QLabel* sheetLabel() const { return sheetLabel_; }
    QListWidget* file1() const { return file1_; }
    QListWidget* dir1() const { return dir1_; }
    QComboBox* drive1() const { return drive1_; }

signals:
    // A file was double-clicked, or named in Text1 with Enter: open it.
    void openRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void coverParent();
    void placeSheetBox();
    void fillDrives();
    void driveChosen(int index);
    void showDriveOf(const QString& folder);
    void fileListMoved(QListWidgetItem* current);
    void requestOpen(const QString& fileName);
    void directoryActivated(QListWidgetItem* item);
    void fillDirectoryList();
    void fillFileList();
    void setSheetBoxVisible(bool visible);
    QString resolved(const QString& path) const;

    MessageBoxes& messages_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLabel* sheetLabel_;
    QListWidget* file1_;
    QComboBox* drive1_;
    QListWidget* dir1_;
    QString directory_;
    int directoryRow_ = -1; // the row of directory_ in Dir1
    int driveShown_ = -1;   // the Drive1 entry that holds directory_
    QString fileToOpen_;
    QString pattern_ = QStringLiteral("*.*");
    QString sheetSourceName_ = QStringLiteral("sheet1$");
};

} // namespace nimbrel
