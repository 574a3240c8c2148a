#include "data/DataFileLoader.h"

#include "data/LoadFailures.h"
#include "data/SheetDataFile.h"

#include <QFile>

namespace {

Message errorMessage(const QString& text) {
    return Message{QStringLiteral("エラー"), text, MessageIcon::Exclamation};
}

} // namespace

LoadFailure cannotOpenFailure(const QString& path) {
    return {LoadProblem::CannotOpen, errorMessage(QStringLiteral("ファイルを開けません\n") + path)};
}

LoadFailure cannotReadFailure(const QString& path) {
    return {LoadProblem::CannotRead, errorMessage(QStringLiteral("ファイルを読めません\n") + path)};
}

LoadFailure sheetNameFailure() {
    return {LoadProblem::SheetName, errorMessage(QStringLiteral("シート名を確認して下さい"))};
}

LoadFailure unreadableDayFailure(int line, int daysKept) {
    return {LoadProblem::UnreadableDay,
            errorMessage(QStringLiteral("%1行目のデータを読めません\n%2日分を読み込みました")
                             .arg(line)
                             .arg(daysKept))};
}

LoadFailure tooManyDaysFailure() {
    return {LoadProblem::TooManyDays,
            errorMessage(QStringLiteral("データが%1日を超えています\n最初の%1日分を読み込みました")
                             .arg(kMaxDays))};
}

void storeDay(PriceSeries& series, int day, const PriceRow& row) {
    if (day >= 1 && day <= kMaxDays) series.priceTable[static_cast<size_t>(day)] = row;
}

void clearSeries(PriceSeries& series) {
    series.priceTable.fill(PriceRow{});
    series.ichimokuTable.fill(IchimokuRow{});
    series.dataCount = 0;
    series.titleLine1.clear();
    series.titleLine2.clear();
    series.priceFieldCount = 0;
}

std::optional<LoadFailure> loadDataFile(PriceSeries& series, const QString& directory,
                                        const QString& fileName, const QString& sheetSourceName) {
    clearSeries(series);
    QString folder = directory;
    if (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    const QString path = folder + QLatin1Char('/') + fileName;

    if (fileName.right(4).toLower() == QLatin1String(".xls"))
        return loadSheetFile(series, path, sheetSourceName);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return cannotOpenFailure(path);
    // Mapped where the file system allows it: the loader reads the bytes once, in order.
    if (file.size() > 0) {
        if (const uchar* mapped = file.map(0, file.size())) {
            return loadTextData(series, std::string_view(reinterpret_cast<const char*>(mapped),
                                                         static_cast<size_t>(file.size())));
        }
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return cannotOpenFailure(path);
    return loadTextData(series, std::string_view(bytes.constData(), bytes.size()));
}
