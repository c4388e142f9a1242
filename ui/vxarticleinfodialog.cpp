#include "ui/vxarticleinfodialog.h"

#include "ui/articledocument.h"
#include "ui/printing.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
QString statusText(int status) {
    switch (status) {
    case 1:
        return vxArticleInfoDialog::tr("Lagertyp, wird nach Möglichkeit stets ab Lager angeboten (wenn auch "
                                       "vielleicht nicht immer in der "
                                       "gewünschten Menge)") +
               QLatin1Char('.');
    case 2:
        return QLatin1String("<B>R</B> = ") +
               vxArticleInfoDialog::tr("Restbestand im Lager, wenn dieser verkauft ist erhält der Artikel "
                                       "automatisch den Status B "
                                       "(Bestellung erforderlich)") +
               QLatin1Char('.');
    case 3:
        return QLatin1String("<B>B</B> = ") +
               vxArticleInfoDialog::tr(
                   "Bestellung erforderlich, der Artikel wird nur auf Kundenwunsch bestellt") +
               QLatin1Char('.');
    case 4:
        return QLatin1String("<B>A</B> = ") +
               vxArticleInfoDialog::tr("Ausverkauf, wenn der aktuelle Lagerbestand alle ist kann der Artikel "
                                       "nicht mehr bzw. nur noch "
                                       "zum regulären Marktpreis (z.B. bei Sonderposten) geliefert werden") +
               QLatin1Char('.');
    default:
        return vxArticleInfoDialog::tr("Unbekannt");
    }
}

QString amount(double value) {
    return QString::number(value, 'f', 2);
}

void appendPriceTable(const Article& article, QString& out) {
    const bool fullRate = article.vatClass == 1;
    const double vatFactor = Article::vatDivisor(article.vatClass);
    out += QLatin1String("<TABLE>\n");
    out += QLatin1String("<TR><TH ALIGN=CENTER>") + vxArticleInfoDialog::tr("Menge") +
           QLatin1String("</TH><TH ALIGN=CENTER>") + vxArticleInfoDialog::tr("Netto") +
           QLatin1String("</TH><TH ALIGN=CENTER>") + vxArticleInfoDialog::tr("Brutto") +
           QLatin1String("<BR>") + vxArticleInfoDialog::tr("(incl. ") +
           QLatin1String(fullRate ? "16%)" : "7%)") + QLatin1String("</TH></TR>\n");
    for (const PriceTier& tier : article.priceTiers)
        out += QLatin1String("<TR><TD ALIGN=RIGHT>") + QString::number(tier.quantity) +
               QLatin1String("</TD><TD ALIGN=RIGHT>") + amount(tier.price / vatFactor) +
               QLatin1String("</TD><TD ALIGN=RIGHT>") + amount(tier.price) + QLatin1String("</TD></TR>\n");
    out += QLatin1String("</TABLE>\n");
}
} // namespace

void buildArticleInfoHtml(const Article& article, QString& out) {
    out = QLatin1String("<QT><CENTER><TABLE>\n");
    out += articleDocumentRow(vxArticleInfoDialog::tr("Name"), articleText(article.name));
    out += articleDocumentRow(vxArticleInfoDialog::tr("Beschreibung"), articleText(article.description));
    out += articleDocumentRow(vxArticleInfoDialog::tr("Weitere Namen"), articleText(article.otherNames));
    out += articleDocumentRow(vxArticleInfoDialog::tr("Status"), statusText(article.status));
    out += articleDocumentRow(vxArticleInfoDialog::tr("1 VPE enthält"), QString::number(article.packingUnit) +
                                                                            QLatin1Char(' ') +
                                                                            vxArticleInfoDialog::tr("Stück"));
    out += QLatin1String("<TR><TD><B>") + vxArticleInfoDialog::tr("Preise für ") +
           QLatin1String(article.priceUnit == 1 ? "1 " : "100 ") + vxArticleInfoDialog::tr("Stück") +
           QLatin1String("</B>:</TD><TD>");
    if (article.priceTiers.empty())
        out += vxArticleInfoDialog::tr(
            "Keine Preisinformationen vorhanden! Bitte fragen Sie bei Korvel electronics nach.");
    else
        appendPriceTable(article, out);
    out += QLatin1String("</TD></TR>\n");
    out += QLatin1String("</TABLE></CENTER></QT>\n");
}

vxArticleInfoDialog::vxArticleInfoDialog(const Article& article, QWidget* parent, const char* name)
    : QDialog(parent), article(article) {
    if (name)
        setObjectName(QLatin1String(name));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* info = new QGroupBox(tr("Artikel-Info"), this);
    auto* infoLayout = new QGridLayout(info);
    teArticleInfo = new QTextBrowser(info);
    teArticleInfo->setObjectName(QStringLiteral("teArticleInfo"));
    infoLayout->addWidget(teArticleInfo, 0, 0);

    auto* buttons = new QWidget(this);
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    auto* pbPrint = new QPushButton(tr("Drucken"), buttons);
    pbPrint->setObjectName(QStringLiteral("pbPrint"));
    auto* pbOK = new QPushButton(tr("OK"), buttons);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    buttonLayout->addWidget(pbPrint);
    buttonLayout->addWidget(pbOK);

    connect(pbPrint, &QPushButton::clicked, this, &vxArticleInfoDialog::slotPrint);
    connect(pbOK, &QPushButton::clicked, this, &QDialog::accept);

    layout->addWidget(info);
    layout->addWidget(buttons);
    layout->activate();
    for (QPushButton* button : {pbPrint, pbOK})
        button->setFixedSize(button->sizeHint());
    resize(550, 400);

    QString document;
    buildArticleInfoHtml(this->article, document);
    teArticleInfo->setHtml(document);
}

void vxArticleInfoDialog::slotPrint() {
    QString document;
    buildArticleInfoHtml(article, document);
    printRichTextDocument(this, document);
}

void showArticleInfoDialog(const Article& article) {
    vxArticleInfoDialog dialog(article);
    dialog.exec();
}
