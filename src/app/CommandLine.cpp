#include "app/CommandLine.h"

#include "data/CsvExport.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {

constexpr char kUsage[] = "使い方: nimbrel --export-csv OUT [--sheet NAME] FILE\n";

struct ExportRequest {
    QString output;
    QString sheet = QStringLiteral("sheet1");
    QString file;
};

bool parseExport(const QStringList& arguments, ExportRequest& request) {
    bool haveOutput = false, haveFile = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--export-csv") && hasValue && !haveOutput) {
            request.output = arguments[++i];
            haveOutput = true;
        } else if (argument == QLatin1String("--sheet") && hasValue) {
            request.sheet = arguments[++i];
        } else if ((!argument.startsWith(QLatin1String("--")) || argument == QLatin1String("-")) &&
                   !haveFile) {
            request.file = argument;
            haveFile = true;
        } else {
            return false;
        }
    }
    return haveOutput && haveFile && !request.sheet.isEmpty();
}

std::string messageLine(const Message& message) {
    return (message.title + QStringLiteral(": ") + message.text).toStdString() + "\n";
}

} // namespace

CommandResult runCommandLine(const QStringList& arguments) {
    CommandResult result;
    ExportRequest request;
    if (!parseExport(arguments, request)) {
        result.exitCode = 2;
        result.standardError = kUsage;
        return result;
    }

    auto series = std::make_unique<PriceSeries>();
    const QFileInfo file(request.file);
    const std::optional<LoadFailure> failure =
        loadDataFile(*series, file.path(), file.fileName(), request.sheet + QLatin1Char('$'));
    if (failure) {
        result.exitCode = 1;
        result.standardError = messageLine(failure->message);
    }
    computeIchimoku(*series);
    std::string table = csvTable(*series);

    if (request.output == QLatin1String("-")) {
        result.standardOutput = std::move(table);
        return result;
    }
    QFile out(request.output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(table.data(), static_cast<qint64>(table.size())) !=
            static_cast<qint64>(table.size()) ||
        !out.flush()) {
        result.exitCode = 1;
        result.standardError += messageLine(Message{
            QStringLiteral("エラー"), QStringLiteral("ファイルに書き込めません\n") + request.output,
            MessageIcon::Exclamation});
    }
    return result;
}
