// Ordering, the order list view, the order totals and the order list output.
#include "ui/vxcentralwidget.h"

#include "catalog/ordercsv.h"
#include "catalog/orderlist.h"
#include "catalogview/articlelistmodel.h"
#include "ui/printing.h"
#include "ui/vxarticleinfodialog.h"
#include "ui/vxarticleorderdialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QTextStream>

namespace {
const QString columnSeparator = QStringLiteral(" | ");
constexpr int unitsWidth = 12;
constexpr int nameWidth = 34;
constexpr int netWidth = 10;
constexpr int grossWidth = 10;
const QString rule = QString(unitsWidth + nameWidth + netWidth + grossWidth + 3 * 3, QLatin1Char('=')) + '\n';

// The name is taken as typed, without an added extension; an existing file is replaced without a question.
QString askOrderListFileName(const QString& filter) {
    return QFileDialog::getSaveFileName(nullptr, QString(), QStringLiteral("."), filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

// The order list files are written as UTF-8, so umlauts of the catalog survive in any editor or browser.
bool writeFile(QWidget* parent, const QString& fileName, const QByteArray& bytes) {
    // Written aside and renamed over the target, so that a failed write never leaves a truncated file behind.
    // Unbuffered, because a buffered write that the disk takes only in part is flushed later without an
    // error; unbuffered, the short count shows, and the file is dropped instead of committed.
    QSaveFile file(fileName);
    // Where no file may be created beside the target (a read-only folder) but the target itself is writable,
    // the user still expects it to be written: then it is written in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        QMessageBox::warning(
            parent, QStringLiteral("Vendrix"),
            vxCentralWidget::tr("Die Datei %1 konnte nicht geschrieben werden!").arg(fileName));
        return false;
    }
    return true;
}

// Texts from a file may hold markup characters; shown as they are.
void warnPlain(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vendrix"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString orderFileProblem(const OrderCsv& file, const QString& fileName) {
    switch (file.status) {
    case OrderCsv::Ok:
        break;
    case OrderCsv::Unreadable:
        return vxCentralWidget::tr("Die Datei %1 konnte nicht gelesen werden!").arg(fileName);
    case OrderCsv::NotAFile:
        return vxCentralWidget::tr("%1 ist keine gewöhnliche Datei und wurde nicht gelesen.").arg(fileName);
    case OrderCsv::TooLarge:
        return vxCentralWidget::tr("Die Datei %1 ist größer als %2 MiB und damit keine Bestellliste.")
            .arg(fileName, QString::number(OrderCsv::maxFileSize >> 20));
    case OrderCsv::NotText:
        return vxCentralWidget::tr("Die Datei %1 ist keine Textdatei, sondern enthält Binärdaten.")
            .arg(fileName);
    case OrderCsv::LineTooLong:
        return vxCentralWidget::tr("Die Datei %1 ist keine Bestellliste: Zeile %2 ist länger als %3 KiB.")
            .arg(fileName, QString::number(file.line), QString::number(OrderCsv::maxRowSize >> 10));
    case OrderCsv::OpenQuote:
        return vxCentralWidget::tr("Die Datei %1 ist unvollständig: das Anführungszeichen in Zeile %2 wird "
                                   "nie geschlossen.")
            .arg(fileName, QString::number(file.line));
    case OrderCsv::TooManyRows:
        return vxCentralWidget::tr("Die Datei %1 hat mehr als %2 Zeilen; so viele lassen sich nicht auf "
                                   "einmal importieren.")
            .arg(fileName, QString::number(OrderCsv::maxRows));
    case OrderCsv::MissingColumns:
        return vxCentralWidget::tr("Die Datei %1 ist keine Bestellliste: ihr fehlen die Spalten %2.")
            .arg(fileName, file.missing.join(QLatin1String(", ")));
    }
    return QString();
}

// The first few refused rows by line and article, then how many more.
QString refusedRows(const std::vector<std::pair<int, QString>>& refused) {
    constexpr std::size_t named = 5;
    QStringList rows;
    for (std::size_t i = 0; i < refused.size() && i < named; ++i) {
        const QString& name = refused[i].second;
        rows << vxCentralWidget::tr("Zeile %1 (%2)")
                    .arg(refused[i].first)
                    .arg(name.size() > 40 ? name.left(39) + QChar(0x2026) : name);
    }
    QString text =
        refused.size() == 1
            ? vxCentralWidget::tr("1 Zeile nicht übernommen: %1").arg(rows.join(QLatin1String(", ")))
            : vxCentralWidget::tr("%1 Zeilen nicht übernommen: %2")
                  .arg(refused.size())
                  .arg(rows.join(QLatin1String(", ")));
    if (refused.size() > named)
        text += vxCentralWidget::tr(" und %1 weitere").arg(refused.size() - named);
    return text + QLatin1Char('.') + QLatin1Char('\n') +
           vxCentralWidget::tr("Sie passen zu keinem Artikel des Katalogs, oder der Artikel lässt ihre Menge "
                               "nicht zu.");
}
} // namespace

void vxCentralWidget::slotShowArticleInfo() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const IndexPath path = articleList->pathAt(row);
    if (const Category* category = categoryAt(path.c))
        category->showArticleInfo(path.s, path.ss, path.a, showArticleInfoDialog);
}

void vxCentralWidget::slotOrderPart() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const IndexPath path = articleList->pathAt(row);
    if (Category* category = categoryAt(path.c))
        category->orderArticle(path.s, path.ss, path.a, runArticleOrderDialog);
    ordered.update(catalog, path);
    refreshAfterOrderChange(row);
}

void vxCentralWidget::slotDisorderPart() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const IndexPath path = articleList->pathAt(row);
    if (Category* category = categoryAt(path.c))
        category->setOrderedUnits(path.s, path.ss, path.a, 0);
    ordered.update(catalog, path);
    refreshAfterOrderChange(row);
}

void vxCentralWidget::refreshAfterOrderChange(int row) {
    if (showsOrderList())
        slotOrderedArticles();
    else
        articleList->refreshRow(row);
    slotUpdateOrderInfo();
}

void vxCentralWidget::slotDisorderAllParts() {
    for (Category& category : catalog)
        category.clearOrderedUnits();
    ordered.clear();
    if (showsOrderList())
        articleList->clear();
    else
        articleList->refreshAll();
    slotUpdateOrderInfo();
}

void vxCentralWidget::slotOrderedArticles() {
    for (QComboBox* box : {cbCategory, cbSubCategory, cbSubSubCategory})
        if (box->count() > 0)
            box->setCurrentIndex(box->count() - 1);
    cbSubCategory->setEnabled(false);
    cbSubSubCategory->setEnabled(false);
    // The ordered articles in catalog order, as a walk over the whole catalog would find them.
    std::vector<FoundArticle> found;
    ordered.listOrderedArticles(catalog, found);
    std::vector<std::uint32_t> numbers;
    numbers.reserve(found.size());
    for (const FoundArticle& f : found)
        numbers.push_back(articles.number(f.path));
    articleList->setRows(std::move(numbers), RowKind::Order);
}

void vxCentralWidget::slotUpdateOrderInfo() {
    int count = 0;
    double net = 0.0, gross = 0.0;
    // In catalog order, as the exports list them, so that the sums are those of their rows to the last bit.
    ordered.sumOrders(catalog, count, net, gross);
    leOrderCount->setText(QString::number(count));
    leOrderSumNetto->setText(QString::number(net, 'f', 2));
    leOrderSumBrutto->setText(QString::number(gross, 'f', 2));
}

void vxCentralWidget::buildOrderListHtml(QString& out) const {
    out.clear();
    out += QLatin1String("<CENTER><H2>") + tr("Bestellliste") + QLatin1String("</H2><P>\n");
    out += QLatin1String("<TABLE BORDER=1 CELLSPACING=0>\n");
    out += QLatin1String("<TR><TH>Menge (VPE)</TH><TH>Artikel</TH><TH>Netto</TH><TH>Brutto</TH></TR>\n");
    for (const Category& category : catalog)
        category.appendOrderListHtml(out);
    out += QLatin1String("<TR><TD>&nbsp;</TD><TD ALIGN=LEFT><B>Summe</B></TD><TD ALIGN=RIGHT><B>") +
           leOrderSumNetto->text().toHtmlEscaped() + QLatin1String("</B></TD><TD ALIGN=RIGHT><B>") +
           leOrderSumBrutto->text().toHtmlEscaped() + QLatin1String("</B></TD></TR>\n");
    out += QLatin1String("</TABLE></CENTER>\n");
}

void vxCentralWidget::buildOrderListText(QString& out) const {
    out.clear();
    appendPadded(out, tr("Menge (VPE)"), unitsWidth, 0);
    out += columnSeparator;
    appendPadded(out, tr("Artikel"), nameWidth, 0);
    out += columnSeparator;
    appendPadded(out, tr("Netto"), netWidth, 0);
    out += columnSeparator;
    appendPadded(out, tr("Brutto"), grossWidth, 0);
    out += QLatin1Char('\n');
    out += rule;
    for (const Category& category : catalog)
        category.appendOrderListText(out, columnSeparator, unitsWidth, nameWidth, netWidth, grossWidth);
    out += rule;
    appendPadded(out, QString(), unitsWidth, 1);
    out += columnSeparator;
    appendPadded(out, tr("Summe"), nameWidth, 0);
    out += columnSeparator;
    appendPadded(out, leOrderSumNetto->text(), netWidth, 1);
    out += columnSeparator;
    appendPadded(out, leOrderSumBrutto->text(), grossWidth, 1);
    out += QLatin1String("\n\n");
}

void vxCentralWidget::slotPrintOrderList() {
    QString fragment;
    buildOrderListHtml(fragment);
    printRichTextDocument(this, QLatin1String("<QT>\n") + fragment + QLatin1String("</QT>\n"));
}

void vxCentralWidget::slotExportOrderListText() {
    const QString fileName = askOrderListFileName(tr("Text-Dateien") + QLatin1String(" (*.txt)"));
    if (fileName.isNull())
        return;
    QString text;
    buildOrderListText(text);
    writeFile(this, fileName, (tr("Bestellliste") + QLatin1String("\n============\n\n") + text).toUtf8());
}

void vxCentralWidget::slotExportOrderListHTML() {
    const QString fileName = askOrderListFileName(tr("HTML-Dateien") + QLatin1String(" (*.html)"));
    if (fileName.isNull())
        return;
    QString fragment;
    buildOrderListHtml(fragment);
    const QString page =
        QLatin1String("<HTML>\n<HEAD>\n"
                      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n<TITLE>") +
        tr("Bestelliste") + QLatin1String("</TITLE>\n</HEAD>\n<BODY>\n") + fragment +
        QLatin1String("</BODY>\n</HTML>\n");
    writeFile(this, fileName, page.toUtf8());
}

void vxCentralWidget::slotExportOrderListCSV() {
    const QString fileName = askOrderListFileName(tr("CSV-Dateien") + QLatin1String(" (*.csv)"));
    if (fileName.isNull())
        return;
    std::vector<FoundArticle> found;
    ordered.listOrderedArticles(catalog, found);
    writeFile(this, fileName, orderListCsv(found));
}

void vxCentralWidget::slotImportOrderListCSV() {
    if (catalog.empty()) {
        QMessageBox::information(this, QStringLiteral("Vendrix"),
                                 tr("Es ist kein Katalog geöffnet. Eine Bestellliste lässt sich erst "
                                    "importieren, wenn ein Katalog geöffnet ist."));
        return;
    }
    const QString fileName = QFileDialog::getOpenFileName(nullptr, QString(), QStringLiteral("."),
                                                          tr("CSV-Dateien") + QLatin1String(" (*.csv)"));
    if (fileName.isNull())
        return;
    const OrderCsv file = readOrderCsvFile(fileName);
    if (file.status != OrderCsv::Ok) {
        warnPlain(this, orderFileProblem(file, fileName) + QLatin1Char(' ') +
                            tr("Die Bestellung bleibt unverändert."));
        return;
    }
    const OrderCsvMatch match = matchOrderCsv(catalog, file);
    for (const auto& [path, units] : match.orders) {
        if (Category* category = categoryAt(path.c))
            category->setOrderedUnits(path.s, path.ss, path.a, units);
        ordered.update(catalog, path);
    }
    if (showsOrderList())
        slotOrderedArticles();
    else
        articleList->refreshAll();
    slotUpdateOrderInfo();
    if (!match.refused.empty())
        warnPlain(this, refusedRows(match.refused));
}

bool vxCentralWidget::mayDiscardOrders(const QString& question) {
    return ordered.size() == 0 ||
           QMessageBox::question(this, QStringLiteral("Vendrix"), question.arg(ordered.size()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
