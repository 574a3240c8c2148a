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

// The panel over the chart from which a data file is opened: drive box, folder list, file list
// with its pattern, the file name box and the sheet name box. It holds the sheet name that the
// loader uses.
class FileChooserPanel final : public QWidget {
    Q_OBJECT
public:
    FileChooserPanel(MessageBoxes& messages, QWidget* parent);

    // "ﾃﾞｰﾀﾌｧｲﾙを開く": shows the panel and takes the sheet name from its box.
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

    QString sheetName() const { return sheetName_; }
    // Also shows the name in the sheet box.
    void setSheetName(const QString& name);

    // What Enter in the file name box does: a folder moves the lists, a pattern filters them, an
    // existing file is selected and opened.
    void handToFileList(const QString& text);

    QLineEdit* fileNameBox() const { return fileNameBox_; }
    QComboBox* sheetNameBox() const { return sheetNameBox_; }
    QLabel* sheetLabel() const { return sheetLabel_; }
    QListWidget* fileList() const { return fileList_; }
    QListWidget* folderList() const { return folderList_; }
    QComboBox* driveBox() const { return driveBox_; }

signals:
    // A file was double-clicked, or named in the file name box with Enter: open it.
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
    void fileNameChanged(const QString& text);
    QString resolved(const QString& path) const;

    MessageBoxes& messages_;
    QLineEdit* fileNameBox_;
    QComboBox* sheetNameBox_;
    QLabel* sheetLabel_;
    QListWidget* fileList_;
    QComboBox* driveBox_;
    QListWidget* folderList_;
    QString directory_;
    int directoryRow_ = -1; // the row of directory_ in the folder list
    int driveShown_ = -1;   // the drive box entry that holds directory_
    QString fileToOpen_;
    QString sheetsListedFor_; // the workbook whose sheets the sheet box lists
    QString pattern_ = QStringLiteral("*.*");
    QString sheetName_ = QStringLiteral("sheet1");
};

} // namespace nimbrel
