// The article list's rows: their texts and icons, their sorting, and the walks that fill selectors and list.
#include "catalog/articleitem.h"
#include "catalog/articlematcher.h"
#include "catalog/category.h"

#include <QtTest>
#include <QtWidgets>

Q_DECLARE_METATYPE(Article)

class tst_Rows : public QObject {
    Q_OBJECT
    static Article article(int status, std::vector<PriceTier> t, int packing = 10, int per = 1,
                           int ordered = 0) {
        return {"", "Widerstand 4,7k \xe4", "Kohleschicht", "R1; R2", status, per, 1, packing, ordered, t};
    }
    static QStringList texts(const QTreeWidgetItem* row) {
        QStringList t;
        for (int i = 0; i < ArticleColumnCount; ++i)
            t << row->text(i);
        return t;
    }
    static QImage iconImage(const QTreeWidgetItem* row, int column) {
        return row->icon(column).pixmap(16, 16).toImage();
    }

private slots:
    // Group rows: smallest tier, its gross price (none if zero), status; order rows: ordered units, value.
    void rowTexts_data() {
        QTest::addColumn<Article>("a");
        QTest::addColumn<bool>("orderRow");
        QTest::addColumn<QString>("shown"); // VPE, Menge, Preis, Status
        const auto row = [](const QByteArray& name, const Article& a, const char* shown, bool order = false) {
            QTest::newRow(name) << a << order << QString(shown);
        };
        const char* const letters[] = {"?", " ", "R", "B", "A", "?"};
        for (int status = -1; status <= 5; ++status)
            row("status " + QByteArray::number(status),
                article(status, {{5, 0.25}, {50, 0.2}}, 10, 1, status & 1),
                qPrintable(QStringLiteral("10|5|12.50|") + letters[std::max(status, 0)]));
        row("no tiers", article(1, {}), "0|0|| ");
        row("free", article(1, {{1, 0.0}}), "10|1|| ");
        row("price unit 100", article(1, {{10, 2.38}}, 10, 100), "10|10|2.38| ");
        row("ordered", article(3, {{1, 2.38}, {10, 2.142}}, 10, 100, 12), "10|12|2.57|B", true);
        row("ordered for free", article(1, {{1, 0.0}}, 10, 1, 1), "10|1|0.00| ", true);
    }
    void rowTexts() {
        QFETCH(Article, a);
        QFETCH(bool, orderRow);
        QFETCH(QString, shown);
        QVERIFY(orderedPixmap().toImage() != unorderedPixmap().toImage());
        // Both start with the other mark and no texts, so that every text and the mark must change.
        const Article before{"", "", "", "", 0, 0, 0, 0, int(!a.orderedUnits), {}};
        QTreeWidgetItem plain;
        setArticleItemTexts(&plain, before, {});
        const std::unique_ptr<QTreeWidgetItem> built(newArticleItem(before, {}));
        for (QTreeWidgetItem* row : {&plain, built.get()}) {
            (orderRow ? setOrderItemTexts : setArticleItemTexts)(row, a, {4294967295u, 2, 3, 123456});
            QCOMPARE(texts(row).mid(1, 4).join('|'), shown);
            QCOMPARE(row->text(0) + "|" + texts(row).mid(5).join('|'),
                     QStringLiteral("Widerstand 4,7k ä|Kohleschicht|R1; R2|4294967295|2|3|123456"));
            QCOMPARE(iconImage(row, ColumnName),
                     (a.orderedUnits ? orderedPixmap() : unorderedPixmap()).toImage());
            QVERIFY(row->icon(ColumnDescription).isNull());
            QCOMPARE(indexPathOf(row).c, 4294967295u);
        }
    }

    // Built rows look and sort (ties in catalog order) like plain ones, also after edits in the list.
    void listsLikePlainRows_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::SortOrder>("order");
        for (int column : {int(ColumnName), int(ColumnPackingUnit), int(ColumnPrice), int(ColumnStatus),
                           int(ColumnDescription), int(ColumnArticle)})
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder})
                QTest::addRow("column %d %s", column, order ? "down" : "up") << column << order;
    }
    void listsLikePlainRows() {
        QFETCH(int, column);
        QFETCH(Qt::SortOrder, order);
        QTreeWidget plain, built;
        for (QTreeWidget* list : {&plain, &built}) {
            list->setColumnCount(ArticleColumnCount);
            list->sortByColumn(column, order);
        }
        std::vector<Article> articles;
        articles.reserve(12);
        std::vector<FoundArticle> found;
        for (const QByteArray& name : QByteArray("Widerstand,widerstand,\xc4tzmittel,Atzmittel,,10 Ohm,9 Ohm,"
                                                 "Widerstand,\xe4tzmittel,Zange,zange,Widerstand")
                                          .split(',')) {
            const int i = int(articles.size());
            articles.push_back(
                article(i % 5, {{i % 3 + 1, 0.5 * (i % 4)}}, 10 * (i % 3), 1, i % 4 == 0 ? 2 : 0));
            articles.back().name = name.toStdString();
            articles.back().description = i % 2 ? "Kohleschicht" : "kohleschicht";
            setArticleItemTexts(new QTreeWidgetItem(&plain), articles.back(), {0, 1, 2, unsigned(i)});
            found.push_back({&articles.back(), {0, 1, 2, unsigned(i)}});
        }
        plain.setSortingEnabled(true);
        built.setSortingEnabled(true);
        addArticleRows(&built, found, RowKind::Group);
        for (bool changed : {false, true}) {
            for (QTreeWidget* list : {&plain, &built})
                for (int i = 0; changed && i < list->topLevelItemCount(); ++i)
                    if (QTreeWidgetItem* row = list->topLevelItem(i); row->text(ColumnArticle) == "3") {
                        row->setText(column, QStringLiteral("M"));
                        row->setIcon(ColumnName, orderedPixmap());
                        row->setIcon(ColumnDescription, unorderedPixmap());
                        row->setToolTip(ColumnName, QStringLiteral("Tipp"));
                    }
            QCOMPARE(built.topLevelItemCount(), plain.topLevelItemCount());
            for (int i = 0; i < plain.topLevelItemCount(); ++i) {
                const QTreeWidgetItem *b = built.topLevelItem(i), *p = plain.topLevelItem(i);
                QCOMPARE(texts(b), texts(p));
                QCOMPARE(b->toolTip(ColumnName), p->toolTip(ColumnName));
                QCOMPARE(iconImage(b, ColumnName), iconImage(p, ColumnName));
                QCOMPARE(iconImage(b, ColumnDescription), iconImage(p, ColumnDescription));
            }
        }
    }

    // Filling lists the first upper group's groups and rows; search adds matches; update rewrites a row.
    void walksFillSearchAndUpdate() {
        Category c{"A", "A", {{"A01", "A01", {}}, {"A01", "A01", {}}}}; // all groups go to the first
        c.addSubSubCategory({"A0101", "A0101", {}});
        c.addSubSubCategory({"A0199", "A0199", {}});
        for (const char* name : {"R2", "R1"})
            c.addArticle({"A0101", name, "", "", 0, 0, 0, 0, 0, {}});
        QTreeWidget list;
        list.setColumnCount(ArticleColumnCount);
        QComboBox upper, lower;
        const auto shown = [&] { // selector entry counts, then each row's name and index path
            QStringList t{QString::number(upper.count()) + " " + QString::number(lower.count())};
            for (int i = 0; i < list.topLevelItemCount(); ++i)
                t << list.topLevelItem(i)->text(0) + " " + texts(list.topLevelItem(i)).mid(7).join(' ');
            return t.join(" / ");
        };
        c.fillSubCategories(&list, &upper, &lower, 3);
        QCOMPARE(shown(), QStringLiteral("2 2 / R2 3 0 0 0 / R1 3 0 0 1"));
        c.searchArticles(&list, ArticleMatcher(QStringLiteral("1"), true, false, false, false), 3);
        QCOMPARE(shown(), QStringLiteral("2 2 / R2 3 0 0 0 / R1 3 0 0 1 / R1 3 0 0 1"));
        c.updateArticleItem(list.topLevelItem(2), 3, 0, 0, 0);
        QCOMPARE(shown(), QStringLiteral("2 2 / R2 3 0 0 0 / R1 3 0 0 1 / R2 3 0 0 0"));
    }
};

QTEST_MAIN(tst_Rows)
#include "tst_rows.moc"
