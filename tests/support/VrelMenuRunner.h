// Runs the built vrelmenu program for the black-box tests of the tool.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct VrelMenuResult {
    int Code = -1;
    QByteArray Out;
    QByteArray Err;
};

// The exit code, stdout and stderr of one run; Code -1 when it did not end
// normally within a minute.
inline VrelMenuResult vrelmenu(const QStringList &args, const QString &workingDirectory = QString())
{
    QProcess p;
    p.setWorkingDirectory(workingDirectory);
    p.start(QStringLiteral(VREL_BIN_DIR "/vrelmenu"), args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
