#include "ui/FileChooserPanel.h"

#include "data/DataFileLoader.h"
#include "ui/MessageBoxes.h"
#include "ui/TwipRect.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStorageInfo>

#include <algorithm>

namespace nimbrel {

namespace {

bool isWildcard(const QString& text) {
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

// "*.*" matches every name, as users of file dialogs expect, dotted or not.
QStringList nameFilters(const QString& pattern) {
    QStringList filters;
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        filters << (part.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : part.trimmed());
    return filters;
}

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

constexpr int kPathRole = Qt::UserRole;

// Whether a drive entry (the home folder, a volume's root) holds the folder.
bool holds(const QString& drive, const QString& folder) {
    return folder == drive ||
           folder.startsWith(drive.endsWith(QLatin1Char('/')) ? drive : drive + QLatin1Char('/'));
}

} // namespace

FileChooserPanel::FileChooserPanel(MessageBoxes& messages, QWidget* parent)
    : QWidget(parent), messages_(messages), fileNameBox_(new QLineEdit(this)),
      sheetNameBox_(new QComboBox(this)), sheetLabel_(new QLabel(QStringLiteral("シート名"), this)),
      fileList_(new QListWidget(this)), driveBox_(new QComboBox(this)),
      folderList_(new QListWidget(this)) {
    setObjectName(QStringLiteral("FileChooserPanel"));
    setAutoFillBackground(true);
    coverParent();
    if (parent) parent->installEventFilter(this);

    auto* fileLabel = new QLabel(QStringLiteral("ファイル名"), this);
    fileLabel->setGeometry(twipRect(120, 0, 2055, 255));
    fileNameBox_->setObjectName(QStringLiteral("fileNameBox"));
    fileNameBox_->setGeometry(twipRect(120, 240, 2052, 315));
    sheetLabel_->setGeometry(twipRect(120, 720, 735, 255));
    sheetNameBox_->setObjectName(QStringLiteral("sheetNameBox"));
    sheetNameBox_->setEditable(true);
    sheetNameBox_->setInsertPolicy(QComboBox::NoInsert);
    placeSheetBox();
    fileList_->setObjectName(QStringLiteral("fileList"));
    fileList_->setGeometry(twipRect(120, 1080, 2055, 1968));
    auto* driveLabel = new QLabel(QStringLiteral("ドライブ"), this);
    driveLabel->setGeometry(twipRect(2400, 0, 2295, 255));
    driveBox_->setObjectName(QStringLiteral("driveBox"));
    driveBox_->setGeometry(twipRect(2400, 240, 2292, 312));
    folderList_->setObjectName(QStringLiteral("folderList"));
    folderList_->setGeometry(twipRect(2400, 840, 2295, 2430));

    fileNameBox_->installEventFilter(this);
    connect(fileNameBox_, &QLineEdit::textChanged, this, &FileChooserPanel::fileNameChanged);
    // Enter in the sheet box, or a sheet chosen from its list, is the sheet the next load takes.
    connect(sheetNameBox_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { sheetName_ = sheetNameBox_->currentText(); });
    connect(sheetNameBox_, &QComboBox::textActivated, this,
            [this](const QString& name) { sheetName_ = name; });
    fileList_->installEventFilter(this);
    connect(fileList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { fileNameBox_->setText(item->text()); });
    connect(fileList_, &QListWidget::currentItemChanged, this, &FileChooserPanel::fileListMoved);
    connect(fileList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        fileList_->setCurrentItem(item);
        requestOpen(item->text());
    });
    connect(folderList_, &QListWidget::itemActivated, this, &FileChooserPanel::directoryActivated);

    fillDrives();
    connect(driveBox_, &QComboBox::activated, this, &FileChooserPanel::driveChosen);
    setDirectory(QDir::homePath());
    fileNameChanged({});
    hide();
}

void FileChooserPanel::coverParent() {
    // The panel hides the chart while it is shown, at any size of the client area.
    if (parentWidget()) setGeometry(parentWidget()->rect());
}

void FileChooserPanel::placeSheetBox() {
    // Fonts differ between desktops: a label text wider than the label's room pushes the box
    // right, and the box keeps its right edge in line with the file name box.
    constexpr int kGap = 4;
    const QRect label = twipRect(120, 720, 735, 255);
    const QRect box = twipRect(840, 660, 1332, 315);
    const int textWidth = sheetLabel_->fontMetrics().horizontalAdvance(sheetLabel_->text());
    sheetLabel_->setGeometry(label.adjusted(0, 0, std::max(0, textWidth - label.width()), 0));
    const int left = std::max(box.left(), label.left() + textWidth + kGap);
    sheetNameBox_->setGeometry(QRect(QPoint(left, box.top()), box.bottomRight()));
}

void FileChooserPanel::showPanel() {
    show();
    raise();
    // Ready for typing a name or pattern: what the box holds is replaced by the first key.
    fileNameBox_->setFocus();
    fileNameBox_->selectAll();
    sheetName_ = sheetNameBox_->currentText();
}

void FileChooserPanel::showFolder(const QString& path) {
    showPanel();
    setDirectory(path);
}

QString FileChooserPanel::resolved(const QString& path) const {
    return QDir::cleanPath(QDir(directory_).absoluteFilePath(QDir::fromNativeSeparators(path)));
}

bool FileChooserPanel::setDirectory(const QString& path) {
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QFileInfo info(target);
    if (!info.isDir() || !info.isReadable() || !QDir(target).isReadable()) {
        messages_.showMessage(this, Message{QStringLiteral("エラー"),
                                            QStringLiteral("フォルダを開けません\n") + target,
                                            MessageIcon::Exclamation});
        // The drive and folder lists go back to the folder still shown.
        driveBox_->setCurrentIndex(driveShown_);
        folderList_->setCurrentRow(directoryRow_);
        return false;
    }
    directory_ = target;
    showDriveOf(directory_);
    fillDirectoryList();
    fillFileList();
    return true;
}

void FileChooserPanel::setPattern(const QString& pattern) {
    pattern_ = pattern.isEmpty() ? QStringLiteral("*.*") : pattern;
    fillFileList();
}

QString FileChooserPanel::selectedFileName() const {
    const QListWidgetItem* item = fileList_->currentItem();
    return item ? item->text() : QString();
}

bool FileChooserPanel::selectFile(const QString& fileName) {
    fileNameBox_->setText(fileName);
    fileToOpen_ = fileName;
    const QList<QListWidgetItem*> found = fileList_->findItems(fileName, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    fileList_->setCurrentItem(found.front());
    return true;
}

void FileChooserPanel::setSheetName(const QString& name) {
    sheetName_ = name;
    sheetNameBox_->setEditText(name);
}

void FileChooserPanel::fileNameChanged(const QString& text) {
    // A workbook's name or pattern (.xls, .xlsx, .xlsm) shows the sheet box; the sheets of the
    // workbook it names are listed in it.
    const bool workbook = text.contains(QLatin1String(".xls"), Qt::CaseInsensitive);
    sheetLabel_->setVisible(workbook);
    sheetNameBox_->setVisible(workbook);
    QString path = workbook ? resolved(text.trimmed()) : QString();
    if (!QFileInfo(path).isFile()) path.clear();
    if (path == sheetsListedFor_) return;
    sheetsListedFor_ = path;
    const QString typed = sheetNameBox_->currentText();
    sheetNameBox_->clear();
    if (!path.isEmpty()) sheetNameBox_->addItems(workbookSheetNames(path));
    sheetNameBox_->setEditText(typed);
}

void FileChooserPanel::handToFileList(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return;
    if (isWildcard(text)) {
        const QString path = QDir::fromNativeSeparators(text);
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        if (slash >= 0 && !setDirectory(resolved(path.left(slash + 1)))) return;
        setPattern(path.mid(slash + 1));
        return;
    }
    const QFileInfo info(resolved(text));
    if (info.isDir()) {
        setDirectory(info.absoluteFilePath());
    } else if (info.isFile()) {
        if (info.absolutePath() != directory_ && !setDirectory(info.absolutePath())) return;
        // Opened even when the pattern does not list it: the user named it.
        selectFile(info.fileName());
        requestOpen(info.fileName());
    } else {
        setPattern(text); // a name that matches nothing lists nothing
    }
}

void FileChooserPanel::fillDrives() {
    driveBox_->clear();
    // The home folder first, then the roots of the volumes; each entry holds its folder.
    const QString home = QDir::cleanPath(QDir::homePath());
    driveBox_->addItem(home, home);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // A file mounted on its own (a container's hosts file, say) is no drive.
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir() ||
            driveBox_->findText(volume.rootPath()) >= 0)
            continue;
        driveBox_->addItem(volume.rootPath(), volume.rootPath());
    }
}

void FileChooserPanel::driveChosen(int index) {
    setDirectory(driveBox_->itemData(index).toString());
}

void FileChooserPanel::showDriveOf(const QString& folder) {
    // The entry shown stays while it holds the folder, so the drive the user chose stays chosen
    // even when another entry (the home folder on the same volume) holds the folder more
    // closely. Otherwise the entry that holds the folder most closely.
    auto entry = [this](int index) { return driveBox_->itemData(index).toString(); };
    int shown = driveBox_->currentIndex();
    if (shown < 0 || !holds(entry(shown), folder)) {
        shown = -1;
        for (int index = 0; index < driveBox_->count(); ++index) {
            if (holds(entry(index), folder) &&
                (shown < 0 || entry(index).size() > entry(shown).size()))
                shown = index;
        }
    }
    driveBox_->setCurrentIndex(shown);
    driveShown_ = shown;
}

void FileChooserPanel::directoryActivated(QListWidgetItem* item) {
    setDirectory(item->data(kPathRole).toString());
}

void FileChooserPanel::fillDirectoryList() {
    folderList_->clear();
    // The folders from the root down to this one, then the folders inside it.
    QStringList chain;
    for (QDir dir(directory_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp()) break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, folderList_);
        item->setData(kPathRole, path);
        ++depth;
    }
    directoryRow_ = folderList_->count() - 1;
    folderList_->setCurrentRow(directoryRow_);
    const QFileInfoList children =
        QDir(directory_)
            .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& child : children) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + child.fileName(),
                                         folderList_);
        item->setData(kPathRole, child.absoluteFilePath());
    }
}

void FileChooserPanel::fillFileList() {
    fileList_->clear();
    if (directory_.isEmpty()) return;
    QDir dir(directory_);
    dir.setNameFilters(nameFilters(pattern_));
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    for (const QString& name : dir.entryList()) {
        auto* item = new QListWidgetItem(name, fileList_);
        item->setToolTip(name); // a name wider than the list can still be read
    }
}

void FileChooserPanel::fileListMoved(QListWidgetItem* current) {
    // Moving through the list with the keys picks the file as a click does. The list has no
    // focus when it is refilled, so a new folder or pattern leaves the file name box alone.
    if (current && fileList_->hasFocus()) fileNameBox_->setText(current->text());
}

void FileChooserPanel::requestOpen(const QString& fileName) {
    fileToOpen_ = fileName;
    // The folder list shows the folder the file comes from, whatever was highlighted in it.
    folderList_->setCurrentRow(directoryRow_);
    emit openRequested();
}

bool FileChooserPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == fileNameBox_) {
            if (isEnter(key)) handToFileList(fileNameBox_->text());
        } else if (watched == fileList_ && isEnter(key)) {
            // Enter on the highlighted file opens it as a double-click does.
            if (const QListWidgetItem* item = fileList_->currentItem()) requestOpen(item->text());
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && watched == fileList_) {
        fileNameBox_->setText(selectedFileName());
    } else if (event->type() == QEvent::Resize && watched == parentWidget()) {
        coverParent();
    }
    return QWidget::eventFilter(watched, event);
}

void FileChooserPanel::keyPressEvent(QKeyEvent* event) {
    // Esc, which the boxes and lists pass on, puts the panel away as a right click does. An open
    // drop-down of the drive list takes its own Esc.
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QWidget::keyPressEvent(event);
}

void FileChooserPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) hide();
    QWidget::mousePressEvent(event);
}

} // namespace nimbrel
