// Runs one of the built programs to its end and keeps what it said: its
// exit status, standard output and standard error. For the tests of the
// command line (they link Qt Core).
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace qrv::test
{

struct TResult {
    int Status = -1;
    QByteArray Out;
    QByteArray Err;
};

// `folder`, when given, is the program's working folder.
inline TResult RunProgram(const QString& program, const QStringList& args, const QString& folder = {})
{
    QProcess process;
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(60000)) << args.join(' ').toStdString();
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace qrv::test
