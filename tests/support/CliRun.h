#pragma once

// Runs the built tocsmith-cli and keeps what it printed and its exit status.

#include <QProcess>
#include <QString>
#include <QStringList>

struct CliRun
{
    int status = -1; // -1 when it could not start or crashed
    QString out;
    QString err;
};

// env: the environment of the run (the test's own when empty).
inline CliRun runCli(const QStringList& args,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOCSMITH_OUT_DIR "/tocsmith-cli"), args);
    CliRun run;
    if (!p.waitForStarted(-1))
        return run;
    p.waitForFinished(-1);
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}
