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

class tst_Rows : public QObject {
    Q_OBJECT

private slots:
    // Group rows show the gross price of the smallest tier and the status letter; the hidden columns carry
    // the index path, which reads back whole.
    void groupRowTexts_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("letter");
        const char* const letters[] = {"?", " ", "R", "B", "A", "?"};
        for (int status = -1; status <= 5; ++status)
            QTest::addRow("status %d", status) << status << letters[std::max(status, 0) % 6];
    }
    void groupRowTexts() {
        QFETCH(int, status);
        QFETCH(QString, letter);
        QTreeWidgetItem row;
        setArticleItemTexts(&row, article(status, {{5, 0.25}, {50, 0.2}}), {4294967295u, 2, 3, 123456});
        QCOMPARE(texts(&row), (QStringList{QStringLiteral("Widerstand 4,7k ä"), "10", "5", "12.50", letter,
                                           "Kohleschicht", "R1; R2", "4294967295", "2", "3", "123456"}));
        const IndexPath p = indexPathOf(&row);
        QVERIFY(p.c == 4294967295u && p.s == 2 && p.ss == 3 && p.a == 123456);
    }

    // Group rows leave out a missing or zero price; order rows show the ordered units and their value.
    void priceAndQuantityColumns() {
        QTreeWidgetItem row;
        const auto columns = [&row] {
            return QStringList{row.text(ColumnPackingUnit), row.text(ColumnQuantity), row.text(ColumnPrice)};
        };
        setArticleItemTexts(&row, article(1, {}), {});
        QCOMPARE(columns(), (QStringList{"0", "0", ""}));
        setArticleItemTexts(&row, article(1, {{1, 0.0}}), {});
        QCOMPARE(row.text(ColumnPrice), QString());
        setArticleItemTexts(&row, article(1, {{10, 2.38}}, 10, 100), {});
        QCOMPARE(row.text(ColumnPrice), QStringLiteral("2.38"));

        Article a = article(3, {{1, 2.38}, {10, 2.142}}, 10, 100);
        a.orderedUnits = 12;
        setOrderItemTexts(&row, a, {});
        QCOMPARE(columns(), (QStringList{"10", "12", "2.57"}));
        QCOMPARE(row.text(ColumnStatus), QStringLiteral("B"));
        a = article(1, {{1, 0.0}});
        a.orderedUnits = 1;
        setOrderItemTexts(&row, a, {});
        QCOMPARE(row.text(ColumnPrice), QStringLiteral("0.00"));
    }

    void iconFollowsOrderState() {
        QVERIFY(orderedPixmap().toImage() != unorderedPixmap().toImage());
        Article a = article(1, {{1, 1.0}});
        std::unique_ptr<QTreeWidgetItem> built(newArticleItem(a, {}));
        QTreeWidgetItem plain;
        for (QTreeWidgetItem* row : {built.get(), &plain}) {
            a.orderedUnits = 0;
            setArticleItemTexts(row, a, {});
            QCOMPARE(iconImage(row, ColumnName), unorderedPixmap().toImage());
            a.orderedUnits = 1;
            setArticleItemTexts(row, a, {});
            QCOMPARE(iconImage(row, ColumnName), orderedPixmap().toImage());
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

    // Two main groups share key "A"; everything of that key lands under the first. The walks fill the lower
    // selectors and the list, and clear them for an empty level or an index past the end.
    void cascadeFillsSelectorsAndClearsOnEmptyOrOutOfRange() {
        const auto group = [](auto g, const char* key, const char* name) {
            g.key = key;
            g.name = name;
            return g;
        };
        Category c = group(Category(), "A", "Erste");
        const Category second = group(Category(), "A", "Zweite");
        c.addSubCategory(group(SubCategory(), "A01", "Ober"));
        c.addSubCategory(group(SubCategory(), "A01", "Ober doppelt"));
        c.addSubSubCategory(group(SubSubCategory(), "A0101", "Gruppe"));
        c.addSubSubCategory(group(SubSubCategory(), "A0199", "Gruppe ohne Eltern"));
        for (const char* name : {"R2", "R1"}) {
            Article a;
            a.groupKey = "A0101";
            a.name = name;
            c.addArticle(a);
        }
        QTreeWidget list;
        list.setColumnCount(ArticleColumnCount);
        QComboBox upper, lower;
        // Rows in catalog order: the name and the index path of each.
        const auto rows = [&list] {
            QStringList shown;
            for (int i = 0; i < list.topLevelItemCount(); ++i)
                shown << list.topLevelItem(i)->text(ColumnName) + " " +
                             texts(list.topLevelItem(i)).mid(7).join('.');
            return shown;
        };
        c.fillSubCategories(&list, &upper, &lower, 3);
        QCOMPARE(upper.count(), 2);
        QCOMPARE(lower.count(), 2);
        QCOMPARE(rows(), (QStringList{"R2 3.0.0.0", "R1 3.0.0.1"}));

        // The search walk lists what the matcher finds; updating a row rewrites it from its article.
        list.clear();
        c.searchArticles(&list, ArticleMatcher(QStringLiteral("1"), true, false, false, false), 3);
        QCOMPARE(rows(), QStringList{"R1 3.0.0.1"});
        c.updateArticleItem(list.topLevelItem(0), 3, 0, 0, 0);
        QCOMPARE(rows(), QStringList{"R2 3.0.0.0"});

        c.selectSubCategory(&list, &lower, 3, 1); // an upper group without groups
        QCOMPARE(lower.count() + list.topLevelItemCount(), 0);
        c.fillSubCategories(&list, &upper, &lower, 3);
        c.selectSubCategory(&list, &lower, 3, 2);
        QCOMPARE(list.topLevelItemCount(), 0);
        QCOMPARE(lower.count(), 2);
        for (const auto& [s, ss] : {std::pair{0u, 5u}, std::pair{7u, 0u}}) {
            c.fillSubCategories(&list, &upper, &lower, 3);
            c.selectSubSubCategory(&list, 3, s, ss);
            QCOMPARE(list.topLevelItemCount(), 0);
        }
        // A main group without upper groups leaves no stale entries behind.
        second.fillSubCategories(&list, &upper, &lower, 4);
        QCOMPARE(upper.count() + lower.count() + list.topLevelItemCount(), 0);
    }
};

QTEST_MAIN(tst_Rows)
#include "tst_rows.moc"
