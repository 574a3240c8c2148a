#include "ui/RecentFilesMenu.h"

#include <QDir>
#include <QMenu>

namespace nimbrel {

namespace {

bool namesWorkbook(const QString& path) {
    return path.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu* menu) : QObject(menu), menu_(menu) {}

void RecentFilesMenu::showFiles(const std::vector<RecentFile>& files) {
    menu_->clear();
    int number = 0;
    for (const RecentFile& file : files) {
        ++number;
        QString name = QDir::toNativeSeparators(file.path);
        if (namesWorkbook(file.path)) name += QStringLiteral(" [") + file.sheet + QLatin1Char(']');
        // A name's own "&" is no mnemonic.
        const QString caption = QStringLiteral("&%1 ").arg(number) +
                                name.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* entry = menu_->addAction(caption, this, [this, file] { emit chosen(file); });
        entry->setObjectName(QStringLiteral("recentFile%1").arg(number));
    }
    menu_->setEnabled(!files.empty());
}

} // namespace nimbrel
