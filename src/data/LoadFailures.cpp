#include "data/LoadFailures.h"

namespace nimbrel {

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

LoadFailure newestDaysKeptFailure() {
    return {LoadProblem::TooManyDays,
            errorMessage(QStringLiteral("データが%1日を超えています\n最新の%1日分を読み込みました")
                             .arg(kMaxDays))};
}

LoadFailure noDataFailure(const QString& path) {
    return {LoadProblem::NoData, errorMessage(QStringLiteral("データがありません\n") + path)};
}

LoadFailure sheetNameFailure() {
    return {LoadProblem::SheetName, errorMessage(QStringLiteral("シート名を確認して下さい"))};
}

LoadFailure unreadableDayFailure(int64_t line, int daysKept) {
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

} // namespace nimbrel
