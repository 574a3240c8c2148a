#include "data/DataFileLoader.h"

#include "data/LoadFailures.h"
#include "data/SheetDataFile.h"
#include "data/TextDataFile.h"

#include <QFile>

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
