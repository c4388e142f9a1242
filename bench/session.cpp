#include "session.h"

#include "app/vxmainwindow.h"
#include "catalog/indexpath.h"
#include "support/gui.h"
#include "timing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QJsonArray>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <random>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace vxtest;

namespace {

constexpr int sampleSeconds = 3;

// Bytes malloc hands out, in kB: unlike the resident size, it does not count pages the allocator keeps for
// later, so growth here is memory the program holds.
long long heapInUseKb() {
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return (long long)((info.uordblks + info.hblkhd) / 1024);
#else
    return 0;
#endif
}

// What the session's next modal dialog is to be answered with; the dialogs themselves are found by an
// application event filter as they are shown, so that no answer waits on a timer.
struct Plan {
    QString file;        // chosen in a file dialog; empty cancels it
    QString units;       // typed into the order dialog; null keeps its own
    bool confirm = true; // OK in the order dialog, "Ja" to the question, accepted print dialog
    QString pdf;         // where an accepted print dialog prints to
};

class Answerer : public QObject {
public:
    explicit Answerer(Plan& plan) : plan(plan) {
        qApp->installEventFilter(this);
        // A dialog that nothing answered (an unexpected one) is closed after a while rather than ending the
        // session; the count shows up in the results.
        connect(&watchdog, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || qobject_cast<QProgressDialog*>(modal)) {
                seen = nullptr;
                return;
            }
            if (modal != seen) {
                seen = modal;
                since.start();
            } else if (since.elapsed() > 5000) {
                ++stuck;
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        });
        watchdog.start(1000);
    }
    ~Answerer() override { qApp->removeEventFilter(this); }
    int stuckDialogs() const { return stuck; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || !w || !w->isWindow() || !w->isModal() ||
            qobject_cast<QProgressDialog*>(w))
            return false;
        // Shown from exec(): the answer runs once its event loop does.
        QTimer::singleShot(0, w, [this, w] {
            if (w->isVisible())
                answer(w);
        });
        return false;
    }

private:
    void answer(QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            QAbstractButton* button = box->button(plan.confirm ? QMessageBox::Yes : QMessageBox::No);
            if (!button)
                button = box->defaultButton();
            button ? button->click() : box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
            if (plan.file.isEmpty()) {
                dialog->reject();
                return;
            }
            if (dialog->fileMode() == QFileDialog::Directory)
                dialog->setDirectory(plan.file);
            else
                dialog->selectFile(plan.file);
            static_cast<QDialog*>(dialog)->accept();
        } else if (w->inherits("vxArticleOrderDialog")) {
            auto* field = w->findChild<QLineEdit*>(QStringLiteral("leOrderedUnits"));
            if (field && !plan.units.isNull()) {
                field->selectAll();
                QTest::keyClicks(field, plan.units);
            }
            if (auto* button = w->findChild<QPushButton*>(plan.confirm ? "pbOK" : "pbCancel"))
                button->click();
        } else if (auto* print = qobject_cast<QPrintDialog*>(w)) {
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(plan.pdf);
            print->done(plan.confirm ? QDialog::Accepted : QDialog::Rejected);
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            // The info dialog and anything else: closed as a user does after reading it.
            dialog->reject();
        }
    }

    Plan& plan;
    QTimer watchdog;
    QWidget* seen = nullptr;
    QElapsedTimer since;
    int stuck = 0;
};

// Searches a user might type: words and values of the generated catalog, expressions, now and then one
// that fails to compile, an empty one (the program asks for a pattern) and one that lists every article.
QString randomPattern(std::mt19937_64& random) {
    static const char* const pieces[] = {
        "Widerstand", "Kondensator", "Transistor", "Regler", "Diode", "Ohm",  "pF",       "nF",       "k",
        "%",          "\\d+",        "[0-9]",      "\\s",    "\\w+",  ".*",   "BC",       "[A-Z]{2}", "(?i)",
        "^",          "$",           "x|y",        "[^ ]*",  "0,25W", "Elko", "gegurtet", "1%",       "4,7"};
    const quint64 kind = random() % 20;
    if (kind == 0)
        return QStringLiteral(".");
    if (kind == 1)
        return QString();
    if (kind == 2)
        return QStringLiteral("(Ohm");
    QString pattern;
    for (quint64 n = 1 + random() % 3; n > 0; --n)
        pattern += QLatin1String(pieces[random() % std::size(pieces)]);
    // Letters of their own make most patterns new to every cache keyed by the text.
    if (random() % 2)
        pattern += QChar(QLatin1Char(char('a' + random() % 26)));
    return pattern;
}

class Session {
public:
    Session(const QString& catalog, quint64 seed) : catalog(catalog), random(seed), answerer(plan) {
        window.setWindowTitle(QStringLiteral("Vendrix"));
        window.resize(700, 500);
        window.show();
        list = window.findChild<QTreeView*>(QStringLiteral("lvParts"));
        plan.pdf = temp.filePath(QStringLiteral("liste.pdf"));
        reopen();
    }

    // One random action, as a user at the keyboard and mouse would do it.
    void act() {
        ++count;
        plan.confirm = chance(85);
        plan.units = QString();
        plan.file.clear();
        const quint64 kind = random() % 100;
        if (kind < 22)
            chooseInSelector();
        else if (kind < 32)
            searchRandom();
        else if (kind < 40)
            sortByRandomColumn();
        else if (kind < 54)
            order();
        else if (kind < 59)
            rowMenu(QStringLiteral("Abbestellen"));
        else if (kind < 61)
            rowMenu(QStringLiteral("Alle abbestellen"));
        else if (kind < 69)
            rowMenu(QStringLiteral("Info"));
        else if (kind < 75)
            exportOrderList();
        else if (kind < 80)
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("pbOrderList")), Qt::LeftButton);
        else if (kind < 86)
            doubleClickAnyRow();
        else if (kind < 89)
            importOrderList();
        else if (kind < 91)
            print();
        else if (kind < 92)
            reopen();
        else
            scrollList();
        QApplication::processEvents();
    }

    int actions() const { return count; }
    int stuckDialogs() const { return answerer.stuckDialogs(); }

private:
    bool chance(int percent) { return int(random() % 100) < percent; }
    int anyRow() {
        const int rows = rowCount(list);
        return rows ? int(random() % quint64(rows)) : -1;
    }
    void trigger(const QString& text) {
        for (QAction* action : window.findChildren<QAction*>())
            if (action->text() == text) {
                action->trigger();
                return;
            }
    }

    void reopen() {
        plan.file = catalog;
        trigger(QStringLiteral("Öffnen"));
    }

    void chooseInSelector() {
        const char* names[] = {"cbCategory", "cbSubCategory", "cbSubSubCategory"};
        auto* box = window.findChild<QComboBox*>(QLatin1String(names[random() % 3]));
        // Mostly groups: the two entries after them search again and list the order.
        if (box && box->count() > 0)
            chooseEntry(box, int(random() % quint64(box->count())));
    }

    void searchRandom() {
        for (const char* name : {"cbName", "cbDescription", "cbOtherNames"})
            window.findChild<QCheckBox*>(QLatin1String(name))->setChecked(chance(80));
        window.findChild<QCheckBox*>(QStringLiteral("cbCaseSensitive"))->setChecked(chance(20));
        window.findChild<QLineEdit*>(QStringLiteral("leSearch"))->setText(randomPattern(random));
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("pbSearch")), Qt::LeftButton);
    }

    void sortByRandomColumn() {
        QHeaderView* header = list->header();
        const int column = int(random() % (ColumnOtherNames + 1));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                 header->height() / 2));
    }

    void order() {
        static const char* const inputs[] = {"", "1", "2", "3", "5", "10", "25", "100", "abc", "0"};
        if (const int row = anyRow(); row >= 0) {
            plan.units = chance(50) ? QString() : QString::fromLatin1(inputs[random() % std::size(inputs)]);
            chooseFromRowMenu(list, row, QStringLiteral("Bestellen"));
        }
    }

    void rowMenu(const QString& entry) {
        if (const int row = anyRow(); row >= 0)
            chooseFromRowMenu(list, row, entry);
    }

    void doubleClickAnyRow() {
        if (const int row = anyRow(); row >= 0)
            doubleClickRow(list, row);
    }

    void exportOrderList() {
        static const char* const kinds[][2] = {{"Exportiere Text-Datei", "liste.txt"},
                                               {"Exportiere HTML-Datei", "liste.html"},
                                               {"Exportiere CSV-Datei", "liste.csv"}};
        const auto& kind = kinds[random() % 3];
        plan.file = chance(90) ? temp.filePath(QLatin1String(kind[1])) : QString();
        trigger(QString::fromUtf8(kind[0]));
    }

    void importOrderList() {
        const QString csv = temp.filePath(QStringLiteral("liste.csv"));
        plan.file = QFileInfo::exists(csv) ? csv : QString();
        trigger(QStringLiteral("Importiere CSV-Datei"));
    }

    void print() { trigger(QStringLiteral("Drucken")); }

    void scrollList() {
        if (const int row = anyRow(); row >= 0)
            list->scrollTo(list->model()->index(row, 0));
    }

    QString catalog;
    std::mt19937_64 random;
    QTemporaryDir temp;
    Plan plan;
    Answerer answerer;
    vxMainWindow window;
    QTreeView* list = nullptr;
    int count = 0;
};

// Idle time as a user's: the event loop runs (timers, deferred deletes) and the process sleeps.
void pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

} // namespace

QJsonObject measureSession(const SessionRequest& request) {
    struct Sample {
        double seconds;
        long long rssKb, heapKb;
    };
    std::vector<Sample> samples;
    Session session(QFileInfo(request.catalogDirectory).absoluteFilePath(), request.seed);
    std::mt19937_64 pace(request.seed + 1);
    const double total = request.minutes * 60.0;
    QElapsedTimer clock;
    clock.start();
    double nextSample = 0.0;
    for (double now = 0.0; now < total; now = double(clock.elapsed()) / 1000.0) {
        if (now >= nextSample) {
            samples.push_back({now, residentMemory().rssKb, heapInUseKb()});
            if (samples.size() % (60 / sampleSeconds) == 1) {
                std::fprintf(stderr,
                             "  session %.0f of %g min: %d actions, %.1f MB resident, %.1f MB in use\n",
                             now / 60.0, request.minutes, session.actions(),
                             double(samples.back().rssKb) / 1024.0, double(samples.back().heapKb) / 1024.0);
                std::fflush(stderr);
            }
            nextSample += sampleSeconds;
        }
        session.act();
        pause(100 + int(pace() % 101));
    }
    samples.push_back({total, residentMemory().rssKb, heapInUseKb()});

    QJsonArray sampleArray, rssQuarters, heapQuarters;
    for (const Sample& s : samples)
        sampleArray.append(QJsonArray{s.seconds, double(s.rssKb), double(s.heapKb)});
    for (int quarter = 1; quarter <= 4; ++quarter) {
        const double end = total * quarter / 4.0;
        const double from = end - total / 20.0;
        std::vector<double> rss, heap;
        const Sample* before = &samples.front();
        for (const Sample& s : samples) {
            if (s.seconds >= from && s.seconds <= end) {
                rss.push_back(double(s.rssKb));
                heap.push_back(double(s.heapKb));
            }
            if (s.seconds <= end)
                before = &s;
        }
        // In a short session the last fifth of a quarter may fall between two samples.
        if (rss.empty()) {
            rss.push_back(double(before->rssKb));
            heap.push_back(double(before->heapKb));
        }
        rssQuarters.append(median(rss));
        heapQuarters.append(median(heap));
    }
    QJsonObject result;
    result[QStringLiteral("session")] = request.minutes;
    result[QStringLiteral("sessionActions")] = session.actions();
    result[QStringLiteral("sessionStuckDialogs")] = session.stuckDialogs();
    result[QStringLiteral("sessionRssKb")] = rssQuarters;
    result[QStringLiteral("sessionHeapKb")] = heapQuarters;
    result[QStringLiteral("sessionSamples")] = sampleArray;
    return result;
}
