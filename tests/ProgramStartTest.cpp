#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString standardOutput;
    QString standardError;
};

// The built program itself, started from a shell without a display: none of these needs one.
ProgramRun runProgram(const QStringList& arguments) {
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
    const ProgramRun help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.standardOutput.startsWith(QStringLiteral("使い方: nimbrel [FILE]")));
    EXPECT_TRUE(help.standardOutput.contains(QStringLiteral("--render OUT.png")));
    EXPECT_EQ(help.standardError, QString());

    const ProgramRun version = runProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.standardOutput,
              QStringLiteral("Nimbrel(32)(一目均衡表作成ﾌﾟﾛｸﾞﾗﾑ) Ver 3.04\n"));

    // Another option, or help asked for twice, is a wrong command.
    for (const QStringList& wrong : {QStringList{QStringLiteral("--versions")},
                                     QStringList{QStringLiteral("--help"), QStringLiteral("-")}}) {
        const ProgramRun run = runProgram(wrong);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.standardOutput, QString());
        EXPECT_TRUE(run.standardError.startsWith(QStringLiteral("使い方:")));
    }
}
