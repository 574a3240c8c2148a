#include <QProcess>
#include <QProcessEnvironment>
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
    // One line a form, each of them named.
    for (const QString& asked : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const auto [helpExit, help, helpError] = runProgram({asked});
        EXPECT_EQ(helpExit, 0);
        EXPECT_TRUE(help.startsWith(QStringLiteral("使い方:\n  nimbrel [FILE | FOLDER]\n  nimbrel "
                                                   "--help | -h | --version\n")));
        for (const char* form : {"  nimbrel --export-csv OUT ", "  nimbrel --render OUT.png ",
                                 "  nimbrel --print-pdf OUT.pdf "})
            EXPECT_TRUE(help.contains(QStringLiteral("\n") + QString::fromLatin1(form))) << form;
        EXPECT_TRUE(helpError.isEmpty());
    }
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

// A reader of the table that stops early (| head -1) makes the export a failed write, reported
// with exit status 1, not a death by the broken pipe's signal.
TEST(ProgramStart, AnExportIntoAPipeClosedEarlyIsAFailedWrite) {
    QProcess shell;
    shell.start(QStringLiteral("/bin/bash"),
                {QStringLiteral("-c"),
                 QStringLiteral("\"$0\" --export-csv - \"$1\" 2>/dev/null | head -c 1 >/dev/null; "
                                "echo ${PIPESTATUS[0]}"),
                 QStringLiteral(NIMBREL_PROGRAM), QStringLiteral(NIMBREL_SAMPLE)});
    ASSERT_TRUE(shell.waitForFinished(20000));
    EXPECT_EQ(shell.readAllStandardOutput().trimmed(), "1");
}

} // namespace nimbrel
