#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Best of several runs: the machines are shared, so the fastest run is the one least disturbed.
double bestOf(int runs, const std::function<double()>& run);

// Wall time in seconds of one run of program with arguments, output discarded. Negative when it could
// not be started or failed. extraEnvironment holds NAME=VALUE pairs.
double timeCommand(const QString& program, const QStringList& arguments,
                   const QStringList& extraEnvironment = {});

// Output of a command (for grep -c); empty when it fails.
QByteArray commandOutput(const QString& program, const QStringList& arguments,
                         const QStringList& extraEnvironment = {});

// VmRSS and VmHWM of this process in kB.
struct ResidentMemory {
    long long rssKb = 0;
    long long hwmKb = 0;
};
ResidentMemory residentMemory();
// Lets VmHWM start again from the current resident size.
void resetPeakMemory();
