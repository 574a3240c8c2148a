#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

// The built program itself, started without a display: none of these needs one. Its exit
// status, then what it wrote to standard output and to standard error.
std::tuple<int, QString, QString> runProgram(const QStringList& arguments) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(NIMBREL_PROGRAM), arguments);
    if (!program.waitForFinished(20000) || program.exitStatus() != QProcess::NormalExit) return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

} // namespace

TEST(ProgramStart, HelpAndVersionAnswerOnStandardOutput) {
    const auto [helpExit, help, helpError] = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(helpExit, 0);
    EXPECT_TRUE(help.startsWith(QStringLiteral("使い方: nimbrel [FILE]")));
    EXPECT_TRUE(helpError.isEmpty());
    EXPECT_EQ(
        runProgram({QStringLiteral("--version")}),
        std::tuple(0, QStringLiteral("Nimbrel(32)(一目均衡表作成ﾌﾟﾛｸﾞﾗﾑ) Ver 3.04\n"), QString()));
    // Another option, or help asked for twice, is a wrong command.
    for (const QStringList& wrong : {QStringList{QStringLiteral("--versions")},
                                     QStringList{QStringLiteral("--help"), QStringLiteral("-")}}) {
        const auto [exitCode, out, error] = runProgram(wrong);
        EXPECT_EQ(exitCode, 2);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_TRUE(error.startsWith(QStringLiteral("使い方:")));
    }
}

} // namespace nimbrel
