#include "ui/vxcentralwidget.h"

#include "catalogview/articlelistmodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

// A group box that places its children in a grid: with Horizontal orientation strips is the number of
// columns and children fill row by row; with Vertical it is the number of rows, filled column by column.
class StripBox {
public:
    StripBox(QWidget* parent, const char* objectName, int strips, Qt::Orientation orientation,
             const QString& title)
        : box(new QGroupBox(title, parent)), grid(new QGridLayout(box)), strips(strips),
          orientation(orientation) {
        box->setObjectName(QLatin1String(objectName));
        if (auto* layout = parent->layout())
            layout->addWidget(box);
    }

    template <class W> W* add(W* child) {
        const int major = count / strips, minor = count % strips;
        if (orientation == Qt::Horizontal)
            grid->addWidget(child, major, minor);
        else
            grid->addWidget(child, minor, major);
        ++count;
        return child;
    }

    QGroupBox* box;

private:
    QGridLayout* grid;
    int strips;
    Qt::Orientation orientation;
    int count = 0;
};

QWidget* vbox(QWidget* parent, const char* objectName) {
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(objectName));
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    if (parent->layout())
        parent->layout()->addWidget(w);
    return w;
}

// A column starts as wide as its title and widens to the widest text it has shown, so that names and prices
// are not cut off. It never narrows by itself, so a width the user dragged survives the next refill. Widening
// runs once after a burst of inserted rows. Measuring a cell lays its text out, which for every cell of a
// list of 200,000 rows would take seconds, and the view's own resizeColumnToContents lays out a thousand
// rows per column on each call. So the widener looks at an evenly spread sample of at most sampleRows of
// the new rows, and of those measures only the few longest texts of each column: the width of a line of
// text follows its length closely enough that the widest is always among them.
class ColumnWidener : public QObject {
public:
    ColumnWidener(QTreeView* list, int columns) : QObject(list), list(list), columns(columns) {
        for (int c = 0; c < columns; ++c)
            list->setColumnWidth(c, list->header()->sectionSizeHint(c));
        QAbstractItemModel* model = list->model();
        connect(model, &QAbstractItemModel::modelReset, this, &ColumnWidener::schedule);
        connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnWidener::schedule);
    }

private:
    static constexpr int sampleRows = 1000;
    static constexpr int candidatesPerColumn = 8;

    struct Candidate {
        qsizetype length = -1;
        int row = -1;
    };

    void schedule() {
        if (scheduled)
            return;
        scheduled = true;
        QTimer::singleShot(0, this, [this] {
            scheduled = false;
            widen();
        });
    }

    void widen() {
        const QAbstractItemModel* model = list->model();
        const int rows = model->rowCount();
        if (rows == 0)
            return;
        const int samples = std::min(rows, sampleRows);
        std::vector<Candidate> candidates(std::size_t(columns) * candidatesPerColumn);
        for (int i = 0; i < samples; ++i) {
            const int row = int(qint64(i) * rows / samples);
            for (int c = 0; c < columns; ++c) {
                // Keep the longest texts of the column; the shortest kept one makes room.
                Candidate* kept = &candidates[std::size_t(c) * candidatesPerColumn];
                Candidate* shortest = std::min_element(
                    kept, kept + candidatesPerColumn,
                    [](const Candidate& a, const Candidate& b) { return a.length < b.length; });
                const qsizetype length = model->index(row, c).data().toString().size();
                if (length > shortest->length)
                    *shortest = {length, row};
            }
        }
        for (int c = 0; c < columns; ++c) {
            int width = list->columnWidth(c);
            const Candidate* kept = &candidates[std::size_t(c) * candidatesPerColumn];
            for (int k = 0; k < candidatesPerColumn; ++k)
                if (kept[k].row >= 0)
                    width = std::max(width, list->sizeHintForIndex(model->index(kept[k].row, c)).width());
            if (width > list->columnWidth(c))
                list->setColumnWidth(c, width);
        }
    }

    QTreeView* list;
    int columns;
    bool scheduled = false;
};

} // namespace

vxCentralWidget::vxCentralWidget(QWidget* parent, const char* name) : QWidget(parent) {
    if (name)
        setObjectName(QLatin1String(name));
    buildWidgets();
    connectWidgets();
}

vxCentralWidget::~vxCentralWidget() {
    // The list outlives the members it shows (children go last): it must not look at them meanwhile.
    articleList->setIndex(nullptr);
}

void vxCentralWidget::buildWidgets() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* split = new QSplitter(this);
    split->setObjectName(QStringLiteral("split"));
    layout->addWidget(split);

    // The stacked group boxes are taller than a 450 pixel window; the pane scrolls rather than forcing
    // the window to grow.
    auto* leftScroll = new QScrollArea(split);
    leftScroll->setObjectName(QStringLiteral("saLeft"));
    leftScroll->setWidgetResizable(true);
    leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    leftScroll->setFrameShape(QFrame::NoFrame);
    auto* vbLeft = new QWidget;
    vbLeft->setObjectName(QStringLiteral("vbLeft"));
    auto* leftLayout = new QVBoxLayout(vbLeft);
    // A little air keeps the group titles off the window edge and the scroll bar.
    const int air = std::max(0, vbLeft->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
    leftLayout->setContentsMargins(air, 0, air, 0);
    leftScroll->setWidget(vbLeft);

    lvParts = new QTreeView(split);
    lvParts->setObjectName(QStringLiteral("lvParts"));
    articleList = new ArticleListModel(this);
    articleList->setObjectName(QStringLiteral("articleList"));
    lvParts->setModel(articleList);

    QWidget* vbLUpper = vbox(vbLeft, "vbLUpper");
    QWidget* vbLLower = vbox(vbLeft, "vbLLower");
    QWidget* vbLSearch = vbox(vbLeft, "vbLSearch");
    leftLayout->addStretch(1);

    cbCategory =
        StripBox(vbLUpper, "gbCategory", 1, Qt::Horizontal, tr("Warenhauptgruppe")).add(new QComboBox);
    cbSubCategory =
        StripBox(vbLUpper, "gbSubCategory", 1, Qt::Horizontal, tr("Warenobergruppe")).add(new QComboBox);
    cbSubSubCategory =
        StripBox(vbLUpper, "gbSubSubCategory", 1, Qt::Horizontal, tr("Warengruppe")).add(new QComboBox);
    cbCategory->setObjectName(QStringLiteral("cbCategory"));
    cbSubCategory->setObjectName(QStringLiteral("cbSubCategory"));
    cbSubSubCategory->setObjectName(QStringLiteral("cbSubSubCategory"));

    StripBox search(vbLLower, "gbSearch", 4, Qt::Vertical, tr("Suchen"));
    StripBox searchString(search.box, "gbSearchString", 1, Qt::Horizontal, tr("Nach"));
    search.add(searchString.box);
    leSearch = searchString.add(new QLineEdit);
    leSearch->setObjectName(QStringLiteral("leSearch"));
    StripBox searchIn(search.box, "gbSearchIn", 3, Qt::Vertical, tr("In"));
    search.add(searchIn.box);
    cbName = searchIn.add(new QCheckBox(tr("Artikelname")));
    cbName->setObjectName(QStringLiteral("cbName"));
    cbName->setChecked(true);
    cbDescription = searchIn.add(new QCheckBox(tr("Beschreibung")));
    cbDescription->setObjectName(QStringLiteral("cbDescription"));
    cbDescription->setChecked(true);
    cbOtherNames = searchIn.add(new QCheckBox(tr("Weitere Namen")));
    cbOtherNames->setObjectName(QStringLiteral("cbOtherNames"));
    cbOtherNames->setChecked(true);
    cbCaseSensitive = search.add(new QCheckBox(tr("Groß-/Kleinschreibung beachten")));
    cbCaseSensitive->setObjectName(QStringLiteral("cbCaseSensitive"));
    cbCaseSensitive->setChecked(false);
    pbSearch = search.add(new QPushButton(tr("Suche starten")));
    pbSearch->setObjectName(QStringLiteral("pbSearch"));

    StripBox order(vbLSearch, "gbOrder", 3, Qt::Vertical, tr("Bestellung"));
    StripBox orderCount(order.box, "gbOrderCount", 1, Qt::Horizontal, tr("Bisher bestellte Artikel"));
    order.add(orderCount.box);
    leOrderCount = orderCount.add(new QLineEdit);
    leOrderCount->setObjectName(QStringLiteral("leOrderCount"));
    StripBox orderSum(order.box, "gbOrderSum", 2, Qt::Horizontal, tr("Summe (ohne Verpackung/Versand)"));
    order.add(orderSum.box);
    StripBox sumNetto(orderSum.box, "gbOrderSumNetto", 1, Qt::Horizontal, tr("Netto"));
    orderSum.add(sumNetto.box);
    leOrderSumNetto = sumNetto.add(new QLineEdit);
    leOrderSumNetto->setObjectName(QStringLiteral("leOrderSumNetto"));
    StripBox sumBrutto(orderSum.box, "gbOrderSumBrutto", 1, Qt::Horizontal, tr("Brutto"));
    orderSum.add(sumBrutto.box);
    leOrderSumBrutto = sumBrutto.add(new QLineEdit);
    leOrderSumBrutto->setObjectName(QStringLiteral("leOrderSumBrutto"));
    pbOrderList = order.add(new QPushButton(tr("Bestellliste")));
    pbOrderList->setObjectName(QStringLiteral("pbOrderList"));

    // A screen reader announces what a control is for, not only its current text: the titles of the group
    // boxes, which a reader does not connect to the control inside, become the controls' names.
    cbCategory->setAccessibleName(tr("Warenhauptgruppe"));
    cbSubCategory->setAccessibleName(tr("Warenobergruppe"));
    cbSubSubCategory->setAccessibleName(tr("Warengruppe"));
    leSearch->setAccessibleName(tr("Suchen nach"));
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             cbName, cbDescription, cbOtherNames, cbCaseSensitive, pbSearch, pbOrderList})
        button->setAccessibleName(button->text());
    leOrderCount->setAccessibleName(tr("Bisher bestellte Artikel"));
    leOrderSumNetto->setAccessibleName(tr("Summe netto"));
    leOrderSumBrutto->setAccessibleName(tr("Summe brutto"));
    lvParts->setAccessibleName(tr("Artikelliste"));
    lvParts->setAccessibleDescription(
        tr("Die Artikel der gewählten Warengruppe, das Suchergebnis oder die Bestellliste. "
           "Das Kontextmenü einer Zeile bestellt den Artikel, zeigt seine Informationen oder bestellt ab."));

    articleList->setTitles({tr("Artikel"), tr("VPE"), tr("Menge"), tr("Preis"), tr("Status"),
                            tr("Beschreibung"), tr("Weitere Namen"), QStringLiteral("C"),
                            QStringLiteral("SC"), QStringLiteral("SSC"), QStringLiteral("A")});
    // The index path travels with every row but is not for the eye.
    for (int column = ColumnCategory; column <= ColumnArticle; ++column)
        lvParts->setColumnHidden(column, true);
    lvParts->setRootIsDecorated(false);
    lvParts->setUniformRowHeights(true);
    lvParts->setAllColumnsShowFocus(true);
    lvParts->setSelectionMode(QAbstractItemView::SingleSelection);
    lvParts->setSortingEnabled(true);
    lvParts->sortByColumn(ColumnName, Qt::AscendingOrder);
    lvParts->setContextMenuPolicy(Qt::CustomContextMenu);
    new ColumnWidener(lvParts, ColumnOtherNames + 1);

    // Wide enough for the controls, so that only the height scrolls.
    leftScroll->setMinimumWidth(vbLeft->minimumSizeHint().width() +
                                leftScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    pmParts = new QMenu(this);
    pmParts->addAction(tr("Bestellen"), this, &vxCentralWidget::slotOrderPart);
    pmParts->addAction(tr("Info"), this, &vxCentralWidget::slotShowArticleInfo);
    pmParts->addSeparator();
    pmParts->addAction(tr("Abbestellen"), this, &vxCentralWidget::slotDisorderPart);
    pmParts->addAction(tr("Alle abbestellen"), this, &vxCentralWidget::slotDisorderAllParts);
}

void vxCentralWidget::connectWidgets() {
    connect(cbCategory, &QComboBox::activated, this, &vxCentralWidget::slotCategoryChanged);
    connect(cbSubCategory, &QComboBox::activated, this, &vxCentralWidget::slotSubCategoryChanged);
    connect(cbSubSubCategory, &QComboBox::activated, this, &vxCentralWidget::slotSubSubCategoryChanged);
    connect(pbSearch, &QPushButton::clicked, this, &vxCentralWidget::slotSearchArticles);
    connect(pbOrderList, &QPushButton::clicked, this, &vxCentralWidget::slotOrderedArticles);
    connect(lvParts, &QTreeView::doubleClicked, this, &vxCentralWidget::slotDisplayArticle);
    connect(lvParts, &QWidget::customContextMenuRequested, this, &vxCentralWidget::listContextMenuRequested);
}

void vxCentralWidget::listContextMenuRequested(const QPoint& pos) {
    const int column = lvParts->columnAt(pos.x());
    slotRightButtonClicked(lvParts->indexAt(pos), lvParts->viewport()->mapToGlobal(pos), column);
}

void vxCentralWidget::slotRightButtonClicked(const QModelIndex& row, const QPoint& globalPos, int column) {
    if (!row.isValid() || column < 0)
        return;
    pmParts->popup(globalPos, pmParts->actions().constFirst());
}

bool vxCentralWidget::showsOrderList() const {
    return cbCategory->currentText() == tr("Bestellliste");
}

bool vxCentralWidget::showsSearch() const {
    return cbCategory->currentText() == tr("Suche");
}

Category* vxCentralWidget::categoryAt(unsigned c) {
    return c < catalog.size() ? &catalog[c] : nullptr;
}

int vxCentralWidget::selectedRow() const {
    const QModelIndexList selected = lvParts->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}
