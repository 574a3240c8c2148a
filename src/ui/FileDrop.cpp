#include "ui/FileDrop.h"

#include "ui/FileChooserPanel.h"
#include "ui/MainWindow.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace nimbrel {

namespace {

// The first local file or folder of a drag; a drag of texts or web addresses has none.
QString droppedPath(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

class DropOpener final : public QObject {
public:
    explicit DropOpener(MainWindow& window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (droppedPath(drag->mimeData()).isEmpty())
                drag->ignore();
            else
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = droppedPath(drop->mimeData());
            if (path.isEmpty()) return false;
            drop->acceptProposedAction();
            // The file manager waits until the drop is taken: open once it has its answer, so
            // that a message box of the open sequence does not hold it up.
            QMetaObject::invokeMethod(
                &window_, [window = &window_, path] { openNamedPath(*window, path); },
                Qt::QueuedConnection);
            return true;
        }
        default:
            return false;
        }
    }

private:
    MainWindow& window_;
};

} // namespace

void openNamedPath(MainWindow& window, const QString& path) {
    if (QFileInfo(path).isDir())
        window.fileChooser()->showFolder(path);
    else
        window.openFile(path);
}

void acceptDroppedFiles(MainWindow& window) {
    window.setAcceptDrops(true);
    window.installEventFilter(new DropOpener(window));
}

} // namespace nimbrel
