#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

// The built program itself, started without a display: none of these needs one. Its exit
// status, then what it wrote to standard output and to standard error (where the dynamic
// loader also tells the libraries it loads, with `librariesShown`).
std::tuple<int, QString, QString> runProgram(const QStringList& arguments,
                                             bool librariesShown = false) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (librariesShown) environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(NIMBREL_PROGRAM), arguments);
    if (!program.waitForFinished(20000) || program.exitStatus() != QProcess::NormalExit) return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

} // namespace

// The launcher starts the program of each command's job, which loads the libraries of that job
// alone: Qt's GUI only to print (its fonts come through FreeType too), FreeType only to draw.
TEST(ProgramStart, EachCommandRunsInTheProgramOfItsJobWithItsLibrariesAlone) {
    QTemporaryDir dir;
    const QString sample = QStringLiteral(NIMBREL_SAMPLE);
    const struct {
        QStringList arguments;
        const char* written; // what OUT (or standard output) starts with
        bool gui, freetype;
    } commands[] = {
        {{QStringLiteral("--version")}, "Nimbrel", false, false},
        {{QStringLiteral("--export-csv"), QStringLiteral("-"), sample}, "day,date,", false, false},
        {{QStringLiteral("--render"), dir.filePath(QStringLiteral("out.png")),
          QStringLiteral("--size"), QStringLiteral("320x200"), sample},
         "\x89PNG",
         false,
         true},
        {{QStringLiteral("--print-pdf"), dir.filePath(QStringLiteral("out.pdf")),
          QStringLiteral("--days"), QStringLiteral("30"), sample},
         "%PDF",
         true,
         true},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.arguments.join(QLatin1Char(' ')).toStdString());
        const auto [exitCode, out, error] = runProgram(command.arguments, true);
        EXPECT_EQ(exitCode, 0);
        QByteArray written = out.toUtf8();
        if (command.arguments.size() > 1 && command.arguments[1] != QLatin1String("-")) {
            QFile file(command.arguments[1]);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            written = file.readAll();
        }
        EXPECT_TRUE(written.startsWith(command.written));
        EXPECT_EQ(error.contains(QStringLiteral("libQt6Gui.so")), command.gui);
        EXPECT_EQ(error.contains(QStringLiteral("libfreetype.so")), command.freetype);
        EXPECT_TRUE(error.contains(QStringLiteral("libQt6Core.so"))) << "no loader's report";
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
