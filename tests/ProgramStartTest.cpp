#include <QProcess>

#include <gtest/gtest.h>

namespace nimbrel {

// A reader of the table that stops early (| head -1) makes the export of the built program a
// failed write, reported with exit status 1, not a death by the broken pipe's signal.
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
