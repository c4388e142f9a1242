#pragma once

#include <QJsonObject>
#include <QString>

// A user's long session at a human pace on one catalog, for the memory it holds on to: random actions
// through the real main window (selectors, searches, sorting, orders, the info dialog, exports, the order
// list, reopening), every modal dialog answered as a user would, the resident size and malloc's bytes in use
// sampled every few seconds.
struct SessionRequest {
    QString catalogDirectory;
    double minutes = 20.0;
    quint64 seed = 1;
};

// The samples (seconds, kB resident, kB in use by malloc) and, per quarter of the session, the median of
// the samples in its last fifth: a single sample may fall on a search that lists every article.
QJsonObject measureSession(const SessionRequest& request);
