// Ordering, the order list view, the order totals and the order list output.
#include "ui/vxcentralwidget.h"

#include "catalogview/articlelistmodel.h"
#include "catalog/orderlist.h"
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
bool writeFile(QWidget* parent, const QString& fileName, const QString& contents) {
    // Written aside and renamed over the target, so that a failed write never leaves a truncated file behind.
    // Unbuffered, because a buffered write that the disk takes only in part is flushed later without an
    // error; unbuffered, the short count shows, and the file is dropped instead of committed.
    QSaveFile file(fileName);
    // Where no file may be created beside the target (a read-only folder) but the target itself is writable,
    // the user still expects it to be written: then it is written in place.
    file.setDirectWriteFallback(true);
    const QByteArray bytes = contents.toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        QMessageBox::warning(
            parent, QStringLiteral("Vendrix"),
            vxCentralWidget::tr("Die Datei %1 konnte nicht geschrieben werden!").arg(fileName));
        return false;
    }
    return true;
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
    // Adds the same amounts in the same order as sumOrders over every category would.
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
    writeFile(this, fileName, tr("Bestellliste") + QLatin1String("\n============\n\n") + text);
}

void vxCentralWidget::slotExportOrderListHTML() {
    const QString fileName = askOrderListFileName(tr("HTML-Dateien") + QLatin1String(" (*.html)"));
    if (fileName.isNull())
        return;
    QString fragment;
    buildOrderListHtml(fragment);
    writeFile(
        this, fileName,
        QLatin1String("<HTML>\n<HEAD>\n"
                      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n<TITLE>") +
            tr("Bestelliste") + QLatin1String("</TITLE>\n</HEAD>\n<BODY>\n") + fragment +
            QLatin1String("</BODY>\n</HTML>\n"));
}
