// The article list's rows: their texts and icons, their sorting, and the walks that fill selectors and list.
#include "catalog/articleitem.h"
#include "catalog/articlematcher.h"
#include "catalog/category.h"

#include <QComboBox>
#include <QImage>
#include <QTest>
#include <QTreeWidget>

namespace {
Article article(int status, std::vector<PriceTier> tiers, int packingUnit = 10, int priceUnit = 1) {
    Article a;
    a.name = "Widerstand 4,7k \xe4"; // Latin-1 umlaut
    a.description = "Kohleschicht";
    a.otherNames = "R1; R2";
    a.status = status;
    a.packingUnit = packingUnit;
    a.priceUnit = priceUnit;
    a.vatClass = 1;
    a.priceTiers = std::move(tiers);
    return a;
}

QStringList texts(const QTreeWidgetItem* row) {
    QStringList t;
    for (int i = 0; i < ArticleColumnCount; ++i)
        t << row->text(i);
    return t;
}

QImage iconImage(const QTreeWidgetItem* row, int column) {
    return row->icon(column).pixmap(16, 16).toImage();
}
} // namespace
Q_DECLARE_METATYPE(Article)

class tst_Rows : public QObject {
    Q_OBJECT

private slots:
    // Group rows show the smallest tier and its gross price, but no missing or zero price, and the status
    // letter; order rows show the ordered units and their value. The hidden columns carry the index path,
    // which reads back whole.
    void rowTexts_data() {
        QTest::addColumn<Article>("a");
        QTest::addColumn<bool>("orderRow");
        QTest::addColumn<QString>("shown"); // VPE, Menge, Preis, Status
        const auto row = [](const QByteArray& name, Article a, const char* shown, int orderedUnits = -1) {
            a.orderedUnits = std::max(orderedUnits, 0);
            QTest::newRow(name) << a << (orderedUnits >= 0) << QString(shown);
        };
        const char* const letters[] = {"?", " ", "R", "B", "A", "?"};
        for (int status = -1; status <= 5; ++status)
            row("status " + QByteArray::number(status), article(status, {{5, 0.25}, {50, 0.2}}),
                qPrintable(QStringLiteral("10|5|12.50|") + letters[std::max(status, 0)]));
        row("no tiers", article(1, {}), "0|0|| ");
        row("free", article(1, {{1, 0.0}}), "10|1|| ");
        row("price unit 100", article(1, {{10, 2.38}}, 10, 100), "10|10|2.38| ");
        row("ordered", article(3, {{1, 2.38}, {10, 2.142}}, 10, 100), "10|12|2.57|B", 12);
        row("ordered for free", article(1, {{1, 0.0}}), "10|1|0.00| ", 1);
    }
    void rowTexts() {
        QFETCH(Article, a);
        QFETCH(bool, orderRow);
        QFETCH(QString, shown);
        QTreeWidgetItem row;
        (orderRow ? setOrderItemTexts : setArticleItemTexts)(&row, a, {4294967295u, 2, 3, 123456});
        QCOMPARE(texts(&row).mid(1, 4).join('|'), shown);
        QCOMPARE(row.text(0) + "|" + texts(&row).mid(5).join('|'),
                 QStringLiteral("Widerstand 4,7k ä|Kohleschicht|R1; R2|4294967295|2|3|123456"));
        const IndexPath p = indexPathOf(&row);
        QVERIFY(p.c == 4294967295u && p.s == 2 && p.ss == 3 && p.a == 123456);
    }

    // The ordered and the unordered mark differ; plain and built rows show the one for their article.
    void iconFollowsOrderState() {
        QVERIFY(orderedPixmap().toImage() != unorderedPixmap().toImage());
        Article a = article(1, {{1, 1.0}});
        const std::unique_ptr<QTreeWidgetItem> built(newArticleItem(a, {}));
        QTreeWidgetItem plain;
        for (QTreeWidgetItem* row : {built.get(), &plain})
            for (int units : {0, 1, 0}) {
                a.orderedUnits = units;
                setArticleItemTexts(row, a, {});
                QCOMPARE(iconImage(row, ColumnName), (units ? orderedPixmap() : unorderedPixmap()).toImage());
                QVERIFY(row->icon(ColumnDescription).isNull());
            }
    }

    // The rows the catalog builds keep their texts their own way and come sorted; a list of them must look
    // and sort exactly like one of plain items with the same texts: same order, ties in catalog order, in
    // any sort column and direction, also after a text, an icon or a tool tip is changed in the list.
    void listsLikePlainRows_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::SortOrder>("order");
        for (int column : {int(ColumnName), int(ColumnPackingUnit), int(ColumnPrice), int(ColumnStatus),
                           int(ColumnDescription), int(ColumnArticle)})
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder})
                QTest::addRow("column %d %s", column, order == Qt::AscendingOrder ? "up" : "down")
                    << column << order;
    }
    void listsLikePlainRows() {
        QFETCH(int, column);
        QFETCH(Qt::SortOrder, order);
        const char* const names[] = {"Widerstand", "widerstand", "\xc4tzmittel", "Atzmittel",    "",
                                     "10 Ohm",     "9 Ohm",      "Widerstand",   "\xe4tzmittel", "Zange",
                                     "zange",      "Widerstand"};
        std::vector<Article> articles;
        for (int i = 0; i < int(std::size(names)); ++i) {
            Article a = article(i % 5, {{i % 3 + 1, 0.5 * (i % 4)}}, 10 * (i % 3));
            a.name = names[i];
            a.description = i % 2 ? "Kohleschicht" : "kohleschicht";
            a.orderedUnits = i % 4 == 0 ? 2 : 0;
            articles.push_back(a);
        }
        QTreeWidget plain, built;
        for (QTreeWidget* list : {&plain, &built}) {
            list->setColumnCount(ArticleColumnCount);
            list->sortByColumn(column, order);
        }
        std::vector<FoundArticle> found;
        for (unsigned a = 0; a < articles.size(); ++a) {
            plain.addTopLevelItem(new QTreeWidgetItem);
            setArticleItemTexts(plain.topLevelItem(int(a)), articles[a], {0, 1, 2, a});
            found.push_back({&articles[a], {0, 1, 2, a}});
        }
        plain.setSortingEnabled(true);
        built.setSortingEnabled(true);
        addArticleRows(&built, found, RowKind::Group);

        const auto same = [&] {
            QCOMPARE(built.topLevelItemCount(), plain.topLevelItemCount());
            for (int i = 0; i < plain.topLevelItemCount(); ++i) {
                const QTreeWidgetItem *b = built.topLevelItem(i), *p = plain.topLevelItem(i);
                QCOMPARE(texts(b), texts(p));
                QCOMPARE(b->toolTip(ColumnName), p->toolTip(ColumnName));
                for (int c : {int(ColumnName), int(ColumnDescription)})
                    QCOMPARE(iconImage(b, c), iconImage(p, c));
            }
        };
        same();
        // A changed text moves the row as it would move a plain one.
        for (QTreeWidget* list : {&plain, &built})
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                if (QTreeWidgetItem* row = list->topLevelItem(i);
                    row->text(ColumnArticle) == QLatin1String("3")) {
                    row->setText(column, QStringLiteral("M"));
                    row->setIcon(ColumnName, orderedPixmap());
                    row->setIcon(ColumnDescription, unorderedPixmap());
                    row->setToolTip(ColumnName, QStringLiteral("Tipp"));
                }
        same();
    }

    // The walks fill the lower selectors and the list, and clear them for an empty level or an index past
    // the end. The search walk lists what the matcher finds; updating a row rewrites it from its article.
    void cascadeFillsSelectorsAndClearsOnEmptyOrOutOfRange() {
        const auto group = [](auto g, const char* key) {
            g.key = g.name = key;
            return g;
        };
        Category c = group(Category(), "A");
        c.addSubCategory(group(SubCategory(), "A01"));
        c.addSubCategory(group(SubCategory(), "A01")); // no groups: they all went to the first
        c.addSubSubCategory(group(SubSubCategory(), "A0101"));
        c.addSubSubCategory(group(SubSubCategory(), "A0199")); // of no upper group: under the first as well
        for (const char* name : {"R2", "R1"}) {
            Article a;
            a.groupKey = "A0101";
            a.name = name;
            c.addArticle(a);
        }
        QTreeWidget list;
        list.setColumnCount(ArticleColumnCount);
        QComboBox upper, lower;
        // Selector entries, then each row's name and index path.
        const auto shown = [&] {
            QStringList texts{QString::number(upper.count()) + " " + QString::number(lower.count())};
            for (int i = 0; i < list.topLevelItemCount(); ++i)
                texts << list.topLevelItem(i)->text(0) + " " + ::texts(list.topLevelItem(i)).mid(7).join(' ');
            return texts.join(" / ");
        };
        c.fillSubCategories(&list, &upper, &lower, 3);
        QCOMPARE(shown(), QStringLiteral("2 2 / R2 3 0 0 0 / R1 3 0 0 1"));
        c.searchArticles(&list, ArticleMatcher(QStringLiteral("1"), true, false, false, false), 3);
        QCOMPARE(shown(), QStringLiteral("2 2 / R2 3 0 0 0 / R1 3 0 0 1 / R1 3 0 0 1"));
        c.updateArticleItem(list.topLevelItem(2), 3, 0, 0, 0);
        QCOMPARE(shown(), QStringLiteral("2 2 / R2 3 0 0 0 / R1 3 0 0 1 / R2 3 0 0 0"));
        c.selectSubCategory(&list, &lower, 3, 1);
        QCOMPARE(shown(), QStringLiteral("2 0"));
        for (const auto& [s, ss] : {std::pair{2u, 0u}, std::pair{0u, 5u}, std::pair{7u, 0u}}) {
            c.fillSubCategories(&list, &upper, &lower, 3);
            c.selectSubCategory(&list, &lower, 3, s);
            c.selectSubSubCategory(&list, 3, s, ss);
            QCOMPARE(shown(), QStringLiteral("2 2"));
        }
        // A main group without upper groups leaves no stale entries behind.
        group(Category(), "B").fillSubCategories(&list, &upper, &lower, 4);
        QCOMPARE(shown(), QStringLiteral("0 0"));
    }
};

QTEST_MAIN(tst_Rows)
#include "tst_rows.moc"
