#include "timing.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <limits>

double bestOf(int runs, const std::function<double()>& run) {
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < std::max(1, runs); ++i)
        best = std::min(best, run());
    return best;
}

namespace {
void prepare(QProcess& process, const QStringList& extraEnvironment) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : extraEnvironment)
        environment.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
}
} // namespace

double timeCommand(const QString& program, const QStringList& arguments,
                   const QStringList& extraEnvironment) {
    QProcess process;
    prepare(process, extraEnvironment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return -1.0;
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    // grep -c exits with 1 when nothing matched; that is a result, not a failure.
    return process.exitCode() <= 1 ? seconds : -1.0;
}

QByteArray commandOutput(const QString& program, const QStringList& arguments,
                         const QStringList& extraEnvironment) {
    QProcess process;
    prepare(process, extraEnvironment);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return process.readAllStandardOutput();
}

ResidentMemory residentMemory() {
    ResidentMemory memory;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return memory;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const auto value = [&line] {
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
        };
        if (line.startsWith("VmRSS:"))
            memory.rssKb = value();
        else if (line.startsWith("VmHWM:"))
            memory.hwmKb = value();
    }
    return memory;
}

void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
