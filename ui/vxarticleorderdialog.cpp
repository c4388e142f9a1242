#include "ui/vxarticleorderdialog.h"

#include "ui/articledocument.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

void buildArticleOrderHtml(const Article& article, QString& out) {
    out = QLatin1String("<QT><CENTER><TABLE>\n");
    out += articleDocumentRow(vxArticleOrderDialog::tr("Name"), articleText(article.name));
    out += articleDocumentRow(vxArticleOrderDialog::tr("Beschreibung"), articleText(article.description));
    out += articleDocumentRow(vxArticleOrderDialog::tr("1 VPE enthält"),
                              QString::number(article.packingUnit) + QLatin1Char(' ') +
                                  vxArticleOrderDialog::tr("Stück"));
    out += QLatin1String("</TABLE></CENTER></QT>\n");
}

vxArticleOrderDialog::vxArticleOrderDialog(const Article& article, QWidget* parent, const char* name)
    : QDialog(parent), heldArticle(article) {
    if (name)
        setObjectName(QLatin1String(name));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* articleBox = new QGroupBox(tr("Artikel"), this);
    auto* articleLayout = new QGridLayout(articleBox);
    teArticleInfo = new QTextBrowser(articleBox);
    teArticleInfo->setObjectName(QStringLiteral("teArticleInfo"));
    articleLayout->addWidget(teArticleInfo, 0, 0);

    auto* unitsBox = new QGroupBox(tr("Bestellte Einheiten"), this);
    auto* unitsLayout = new QGridLayout(unitsBox);
    leOrderedUnits = new QLineEdit(unitsBox);
    leOrderedUnits->setObjectName(QStringLiteral("leOrderedUnits"));
    unitsLayout->addWidget(leOrderedUnits, 0, 0);

    if (heldArticle.orderedUnits != 0) {
        leOrderedUnits->setText(QString::number(heldArticle.orderedUnits));
    } else if (!heldArticle.priceTiers.empty()) {
        heldArticle.orderedUnits = heldArticle.priceTiers.front().quantity;
        leOrderedUnits->setText(QString::number(heldArticle.orderedUnits));
    } else {
        refuseOrder();
    }

    auto* buttons = new QWidget(this);
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    auto* pbCancel = new QPushButton(tr("Abbruch"), buttons);
    pbCancel->setObjectName(QStringLiteral("pbCancel"));
    auto* pbOK = new QPushButton(tr("OK"), buttons);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    buttonLayout->addWidget(pbCancel);
    buttonLayout->addWidget(pbOK);

    connect(pbCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(pbOK, &QPushButton::clicked, this, &QDialog::accept);
    // Connected only now: the starting value is not subject to the minimum.
    connect(leOrderedUnits, &QLineEdit::textChanged, this, &vxArticleOrderDialog::slotOrderedUnitsChanged);

    layout->addWidget(articleBox);
    layout->addWidget(unitsBox);
    layout->addWidget(buttons);
    layout->activate();
    for (QPushButton* button : {pbCancel, pbOK})
        button->setFixedSize(button->sizeHint());
    resize(550, 400);

    QString document;
    buildArticleOrderHtml(heldArticle, document);
    teArticleInfo->setHtml(document);
}

void vxArticleOrderDialog::slotOrderedUnitsChanged(const QString& text) {
    bool ok = false;
    const int units = text.toInt(&ok, 10);
    // Half-typed or cleared input stays in the field; OK then stores the value held before.
    if (!ok)
        return;
    if (heldArticle.priceTiers.empty()) {
        refuseOrder();
        return;
    }
    if (heldArticle.acceptsOrderedUnits(units))
        heldArticle.orderedUnits = units;
    showOrderedUnits(QString::number(heldArticle.orderedUnits));
}

void vxArticleOrderDialog::showOrderedUnits(const QString& text) {
    // Setting the same text again would only re-enter the slot through textChanged.
    if (leOrderedUnits->text() != text)
        leOrderedUnits->setText(text);
}

void vxArticleOrderDialog::refuseOrder() {
    showOrderedUnits(tr("Keine Preisinformationen!"));
    leOrderedUnits->setReadOnly(true);
}

bool runArticleOrderDialog(Article& article) {
    vxArticleOrderDialog dialog(article);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    article = dialog.article();
    return true;
}
