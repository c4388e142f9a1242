#include "measurements.h"

#include "app/vxmainwindow.h"
#include "catalog/indexpath.h"
#include "support/gui.h"
#include "timing.h"
#include "ui/vxcentralwidget.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QJsonArray>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdio>

using namespace vxtest;

const char* const tenthPattern = "transistor|regler";
const char* const everyPattern = ".";
const char* const hardPatterns[9] = {"BC[^ ]*B",
                                     "\\s+",
                                     "^\\s*$",
                                     "Widerstand[^;]*Ohm",
                                     "Kondensator[^;]*pF",
                                     "[^x]*Ohm\\W",
                                     "\\D+pF$",
                                     "(?i)transistor|regler",
                                     "(\\w)\\1"};

QString archiveFillerName(int n) {
    return QStringLiteral("LEER%1").arg(n);
}

namespace {

// While it lives, answers every modal widget for which matches holds as soon as its event loop runs, without
// polling: for driving a dialog thousands of times in a row.
class ModalAnswerer : public QObject {
public:
    ModalAnswerer(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer)
        : matches(std::move(matches)), answer(std::move(answer)) {
        qApp->installEventFilter(this);
    }
    ~ModalAnswerer() override { qApp->removeEventFilter(this); }
    int answered() const { return count; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || !w || !w->isWindow() || !w->isModal() || !matches(w))
            return false;
        // Shown from exec(): the answer runs once its event loop does.
        QTimer::singleShot(0, w, [this, w] {
            ++count;
            answer(w);
        });
        return false;
    }

private:
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> answer;
    int count = 0;
};

const QStringList catalogFiles = {QStringLiteral("WGHAUPT"), QStringLiteral("WGOBER"),
                                  QStringLiteral("WGGRUPPE"), QStringLiteral("ART")};
// grep and the program both see the texts as bytes, case folded as the program's default search does.
const QStringList byteLocale = {QStringLiteral("LC_ALL=C")};

void note(const QString& text) {
    std::fprintf(stderr, "  %s\n", qPrintable(text));
    std::fflush(stderr);
}

double seconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e9;
}

// Lets the list widen its columns and paint, as it would before the user sees the result.
void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

class Session {
public:
    Session() {
        window.setWindowTitle(QStringLiteral("Vendrix"));
        window.resize(600, 450);
        window.show();
        settle();
        view = window.findChild<vxCentralWidget*>(QStringLiteral("view"));
        list = window.findChild<QTreeView*>(QStringLiteral("lvParts"));
        search = window.findChild<QLineEdit*>(QStringLiteral("leSearch"));
        searchButton = window.findChild<QPushButton*>(QStringLiteral("pbSearch"));
        orderListButton = window.findChild<QPushButton*>(QStringLiteral("pbOrderList"));
        orderCount = window.findChild<QLineEdit*>(QStringLiteral("leOrderCount"));
        category = window.findChild<QComboBox*>(QStringLiteral("cbCategory"));
    }

    // Opens a catalog through "Öffnen"; the clock starts when the directory dialog is answered.
    double open(const QString& directory) {
        QElapsedTimer timer;
        answerNextModalOf<QFileDialog>([&timer, directory](QFileDialog* dialog) {
            dialog->setDirectory(directory);
            timer.start();
            static_cast<QDialog*>(dialog)->accept();
        });
        // With articles ordered, "Öffnen" asks first; the clock starts again once the user has said "Ja".
        if (!orderCount->text().isEmpty() && orderCount->text() != QLatin1String("0"))
            answerNextModalOf<QMessageBox>([&timer](QMessageBox* box) {
                timer.start();
                box->button(QMessageBox::Yes)->click();
            });
        view->slotOpenCatalog();
        settle();
        return seconds(timer);
    }

    // Opening the small sample catalog frees the big one outside of any measurement.
    void openSmall() { open(QStringLiteral(VX_SOURCE_DIR "/samples/katalog")); }

    // Back to the first main group, so that no timed operation starts by deleting a big result list.
    void showFirstGroup() {
        category->setCurrentIndex(0);
        QMetaObject::invokeMethod(view, "slotCategoryChanged", Q_ARG(int, 0));
        settle();
    }

    double searchFor(const char* pattern) {
        showFirstGroup();
        search->setText(QString::fromLatin1(pattern));
        QElapsedTimer timer;
        timer.start();
        searchButton->click();
        settle();
        return seconds(timer);
    }

    // Unpacks through "Entpacken": archive dialog, hint box, directory dialog. The clock starts when the
    // directory is chosen.
    double unpack(const QString& archive, const QString& directory) {
        QElapsedTimer timer;
        const auto fileDialog = [](bool directories) {
            return [directories](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                return dialog && (dialog->fileMode() == QFileDialog::Directory) == directories;
            };
        };
        answerNextModalMatching(fileDialog(false), [archive](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            dialog->selectFile(archive);
            static_cast<QDialog*>(dialog)->accept();
        });
        answerNextModalOf<QMessageBox>([](QMessageBox* box) { box->accept(); });
        answerNextModalMatching(fileDialog(true), [&timer, directory](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            dialog->setDirectory(directory);
            timer.start();
            static_cast<QDialog*>(dialog)->accept();
        });
        view->slotUncompressCatalog();
        settle();
        return seconds(timer);
    }

    double showOrderList() {
        showFirstGroup();
        QElapsedTimer timer;
        timer.start();
        orderListButton->click();
        settle();
        return seconds(timer);
    }

    double updateTotals() {
        QElapsedTimer timer;
        timer.start();
        QMetaObject::invokeMethod(view, "slotUpdateOrderInfo");
        return seconds(timer);
    }

    // Orders articles spread evenly over the list of all articles, each through the context menu's
    // "Bestellen" with the order dialog confirmed as shown, that is with the article's minimum quantity.
    int orderSpreadArticles(int wanted) {
        searchFor(everyPattern);
        std::vector<int> orderable;
        const QAbstractItemModel* model = list->model();
        for (int i = 0; i < model->rowCount(); ++i) {
            // Without a price scale there is nothing to order.
            if (model->index(i, ColumnQuantity).data().toString() != QLatin1String("0"))
                orderable.push_back(i);
        }
        const std::size_t count = std::min(orderable.size(), std::size_t(wanted));
        ModalAnswerer confirm([](QWidget* w) { return w->inherits("vxArticleOrderDialog"); },
                              [](QWidget* w) {
                                  if (auto* ok = w->findChild<QPushButton*>(QStringLiteral("pbOK")))
                                      ok->click();
                              });
        for (std::size_t i = 0; i < count; ++i) {
            list->setCurrentIndex(model->index(orderable[i * orderable.size() / count], 0));
            QMetaObject::invokeMethod(view, "slotOrderPart");
        }
        return confirm.answered();
    }

    // One line per article: name, description and alternative names, tab separated, Latin-1 as in memory.
    bool writeTexts(const QString& fileName) const {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        std::string out;
        for (const Category& main : view->currentCatalog())
            for (const SubCategory& upper : main.subCategories)
                for (const SubSubCategory& group : upper.subSubCategories)
                    for (const Article& article : group.articles) {
                        out += article.name;
                        out += '\t';
                        out += article.description;
                        out += '\t';
                        out += article.otherNames;
                        out += '\n';
                        if (out.size() > (1u << 20)) {
                            file.write(out.data(), qint64(out.size()));
                            out.clear();
                        }
                    }
        file.write(out.data(), qint64(out.size()));
        return file.flush();
    }

    std::size_t articleCount() const {
        std::size_t n = 0;
        for (const Category& main : view->currentCatalog())
            for (const SubCategory& upper : main.subCategories)
                for (const SubSubCategory& group : upper.subSubCategories)
                    n += group.articles.size();
        return n;
    }

    int rows() const { return list->model()->rowCount(); }

    // Lists every article sorted by name, as at the start, outside the clock.
    void listEverySortedByName() {
        showFirstGroup();
        list->sortByColumn(ColumnName, Qt::AscendingOrder);
        searchFor(everyPattern);
    }

    // Clicks the title of a column, as a user sorts the list by it.
    double clickColumnTitle(int column) {
        QHeaderView* header = list->header();
        const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
        settle();
        return seconds(timer);
    }

    // Pages from the top of the list to its bottom, each page painted before the next; the time of each.
    std::vector<double> scrollPages() {
        list->scrollToTop();
        settle();
        QScrollBar* bar = list->verticalScrollBar();
        std::vector<double> pages;
        while (bar->value() < bar->maximum()) {
            QElapsedTimer timer;
            timer.start();
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            list->viewport()->repaint();
            pages.push_back(seconds(timer));
        }
        return pages;
    }
    QString orderCountText() const { return orderCount->text(); }

private:
    vxMainWindow window;
    vxCentralWidget* view = nullptr;
    QTreeView* list = nullptr;
    QLineEdit* search = nullptr;
    QPushButton* searchButton = nullptr;
    QPushButton* orderListButton = nullptr;
    QLineEdit* orderCount = nullptr;
    QComboBox* category = nullptr;
};

QStringList catalogPaths(const QString& directory) {
    QStringList paths;
    for (const QString& name : catalogFiles)
        paths << directory + QLatin1Char('/') + name;
    return paths;
}

qint64 catalogBytes(const QString& directory) {
    qint64 bytes = 0;
    for (const QString& path : catalogPaths(directory))
        bytes += QFileInfo(path).size();
    return bytes;
}

} // namespace

QJsonObject measureCatalog(const MeasureRequest& request) {
    QJsonObject result;
    Session session;
    const QString directory = QDir(request.catalogDirectory).absolutePath();
    const int runs = request.runs;

    // Memory first, in a process that has loaded nothing big yet; the small catalog brings in everything
    // the program needs besides the catalog itself (dialogs, fonts, icons).
    session.openSmall();
    resetPeakMemory();
    const ResidentMemory before = residentMemory();
    session.open(directory);
    const ResidentMemory after = residentMemory();
    result[QStringLiteral("articles")] = double(session.articleCount());
    result[QStringLiteral("catalogBytes")] = double(catalogBytes(directory));
    result[QStringLiteral("rssDeltaKb")] = double(after.rssKb - before.rssKb);
    result[QStringLiteral("hwmDeltaKb")] = double(after.hwmKb - before.rssKb);
    if (!session.writeTexts(request.textsFile))
        note(QStringLiteral("cannot write %1").arg(request.textsFile));

    const auto wanted = [&request](const char* name) {
        return request.only.isEmpty() || request.only.contains(QLatin1String(name));
    };
    // The best of the runs of opening a catalog and of md5sum over its files.
    const auto openFigures = [&](const QString& catalog, const char* openKey, const char* md5Key) {
        const QStringList paths = catalogPaths(catalog);
        double open = 1e9, md5 = 1e9;
        for (int i = 0; i < runs; ++i) {
            md5 = std::min(md5, timeCommand(QStringLiteral("md5sum"), paths));
            session.openSmall();
            open = std::min(open, session.open(catalog));
        }
        result[QLatin1String(openKey)] = open;
        result[QLatin1String(md5Key)] = md5;
    };
    if (!request.shuffledDirectory.isEmpty() && wanted("openShuffled")) {
        note(QStringLiteral("opening with the article records shuffled"));
        openFigures(QDir(request.shuffledDirectory).absolutePath(), "openShuffled", "md5sumShuffled");
        // Everything after is measured on the catalog as generated.
        session.open(directory);
    }
    if (wanted("open")) {
        note(QStringLiteral("opening"));
        openFigures(directory, "open", "md5sum");
        result[QStringLiteral("firstGroupRows")] = session.rows();
    }

    const auto searchFigures = [&](const char* pattern, const QString& name) {
        note(QStringLiteral("searching \"%1\"").arg(QLatin1String(pattern)));
        const QStringList grepArguments = {QStringLiteral("-E"), QStringLiteral("-i"), QStringLiteral("-c"),
                                           QString::fromLatin1(pattern), request.textsFile};
        double search = 1e9, grep = 1e9;
        for (int i = 0; i < runs; ++i) {
            grep = std::min(grep, timeCommand(QStringLiteral("grep"), grepArguments, byteLocale));
            const double once = session.searchFor(pattern);
            // The first search of a catalog also ranks its articles by name for the list's order.
            if (i == 0)
                result[name + QStringLiteral("First")] = once;
            search = std::min(search, once);
        }
        result[name] = search;
        result[name + QStringLiteral("Rows")] = session.rows();
        result[name + QStringLiteral("Grep")] = grep;
        result[name + QStringLiteral("GrepCount")] =
            commandOutput(QStringLiteral("grep"), grepArguments, byteLocale).trimmed().toInt();
    };
    if (wanted("searchTenth"))
        searchFigures(tenthPattern, QStringLiteral("searchTenth"));
    if (wanted("searchEvery"))
        searchFigures(everyPattern, QStringLiteral("searchEvery"));
    if (wanted("patterns")) {
        QJsonArray searches;
        for (const char* pattern : hardPatterns) {
            note(QStringLiteral("searching \"%1\"").arg(QLatin1String(pattern)));
            double best = 1e9;
            for (int i = 0; i < runs; ++i)
                best = std::min(best, session.searchFor(pattern));
            searches.append(QJsonObject{{QStringLiteral("pattern"), QLatin1String(pattern)},
                                        {QStringLiteral("seconds"), best},
                                        {QStringLiteral("rows"), session.rows()}});
        }
        result[QStringLiteral("patterns")] = searches;
    }
    if (wanted("sort")) {
        note(QStringLiteral("sorting \".\" by price"));
        double sort = 1e9;
        for (int i = 0; i < runs; ++i) {
            session.listEverySortedByName();
            const double once = session.clickColumnTitle(ColumnPrice);
            // The first sort by a column ranks the catalog's articles by it; the later ones only sort.
            if (i == 0)
                result[QStringLiteral("sortFirst")] = once;
            sort = std::min(sort, once);
        }
        result[QStringLiteral("sort")] = sort;
        result[QStringLiteral("sortRows")] = session.rows();
    }
    if (wanted("scroll")) {
        note(QStringLiteral("scrolling through \".\""));
        // Sorted by price, as the sort above left it; one pass, it paints every row once.
        const std::vector<double> pages = session.scrollPages();
        double slowest = 0.0, total = 0.0;
        for (double page : pages) {
            slowest = std::max(slowest, page);
            total += page;
        }
        result[QStringLiteral("scroll")] = slowest;
        result[QStringLiteral("scrollPages")] = double(pages.size());
        result[QStringLiteral("scrollTotal")] = total;
    }
    if (wanted("orders")) {

        note(QStringLiteral("order list"));
        result[QStringLiteral("ordered")] = session.orderSpreadArticles(orderedArticles);
        double orderList = 1e9, totals = 1e9;
        for (int i = 0; i < runs; ++i)
            orderList = std::min(orderList, session.showOrderList());
        result[QStringLiteral("orderListRows")] = session.rows();
        // The totals take milliseconds; more runs tame the noise.
        for (int i = 0; i < 5 * runs; ++i)
            totals = std::min(totals, session.updateTotals());
        result[QStringLiteral("orderList")] = orderList;
        result[QStringLiteral("totals")] = totals;
        result[QStringLiteral("orderCount")] = session.orderCountText().toInt();
    }

    if (!request.archive.isEmpty() && wanted("unpack")) {
        note(QStringLiteral("unpacking"));
        const QString target = directory + QStringLiteral(".unpacked");
        QDir().mkpath(target);
        QStringList gzipped;
        for (const QString& name : catalogFiles)
            gzipped << request.gzipDirectory + QLatin1Char('/') + name + QStringLiteral(".gz");
        for (int n = 1; n <= archiveFillers; ++n)
            gzipped << request.gzipDirectory + QLatin1Char('/') + archiveFillerName(n) +
                           QStringLiteral(".gz");
        const QStringList gunzipArguments =
            QStringList{QStringLiteral("-d"), QStringLiteral("-f"), QStringLiteral("-k")} + gzipped;
        double unpack = 1e9, gunzip = 1e9;
        for (int i = 0; i < runs; ++i) {
            gunzip = std::min(gunzip, timeCommand(QStringLiteral("gzip"), gunzipArguments));
            unpack = std::min(unpack, session.unpack(QFileInfo(request.archive).absoluteFilePath(), target));
        }
        result[QStringLiteral("unpack")] = unpack;
        result[QStringLiteral("gunzip")] = gunzip;
        // The figure counts only when the files came out as they went in.
        bool same = true;
        for (const QString& name : catalogFiles) {
            QFile original(directory + QLatin1Char('/') + name), unpacked(target + QLatin1Char('/') + name);
            same = same && original.open(QIODevice::ReadOnly) && unpacked.open(QIODevice::ReadOnly) &&
                   original.readAll() == unpacked.readAll();
        }
        for (int n = 1; n <= archiveFillers; ++n)
            same = same && QFileInfo(target + QLatin1Char('/') + archiveFillerName(n)).size() == 0;
        result[QStringLiteral("unpackVerified")] = same;
    }

    if (request.reopenings > 0 && wanted("reopen")) {
        note(QStringLiteral("opening %1 times").arg(request.reopenings));
        QJsonArray rss;
        for (int i = 0; i < request.reopenings; ++i) {
            session.open(directory);
            rss.append(double(residentMemory().rssKb));
            session.orderSpreadArticles(100);
        }
        result[QStringLiteral("reopen")] = request.reopenings;
        result[QStringLiteral("reopenRssKb")] = rss;
    }
    return result;
}
