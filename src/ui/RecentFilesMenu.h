#pragma once

// moc of Qt 6.4 cannot read the C++20 library headers this brings in; it needs none of them.
#ifndef Q_MOC_RUN
#include "settings/UserSettings.h"
#endif

#include <QObject>

class QMenu;

namespace nimbrel {

// 最近使ったﾌｧｲﾙ: the files opened last, newest first, each with the sheet of a workbook.
class RecentFilesMenu final : public QObject {
    Q_OBJECT
public:
    explicit RecentFilesMenu(QMenu* menu);

    // The entries anew: "&1 path", with " [sheet]" after a workbook's path.
    void showFiles(const std::vector<RecentFile>& files);

signals:
    void chosen(const RecentFile& file);

private:
    QMenu* menu_;
};

} // namespace nimbrel
