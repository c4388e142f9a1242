// Texts and pixmaps of the article list's rows.
#include "catalog/articleitem.h"
#include "catalog/category.h"

#include <QComboBox>

#include <QImage>
#include <QPixmap>
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

QStringList texts(const QTreeWidgetItem& row) {
    QStringList t;
    for (int i = 0; i < ArticleColumnCount; ++i)
        t << row.text(i);
    return t;
}

// The check mark as drawn pixel by pixel, with its colour keys.
const char* const checkMarkRows[16] = {
    "################", "###############+", "##############+O", "#############+Oo",
    "############+Oo.", "###########+Oo. ", "##+o######+Oo. #", "#+OOo####+Oo.X##",
    " .oOOo##+Oo. ###", "# .oOOo+Oo.X####", "##X.oOOOo.X#####", "### .oOo. ######",
    "#### .o. #######", "##### X ########", "################", "################"};

QRgb expectedPixel(char key) {
    switch (key) {
    case ' ':
        return qRgba(0x00, 0x00, 0x00, 0xff);
    case '.':
        return qRgba(0x00, 0x40, 0x00, 0xff);
    case 'X':
        return qRgba(0x40, 0x00, 0x00, 0xff);
    case 'o':
        return qRgba(0x00, 0x80, 0x00, 0xff);
    case 'O':
        return qRgba(0x00, 0xc0, 0x00, 0xff);
    case '+':
        return qRgba(0xc0, 0xff, 0xc0, 0xff);
    default:
        return qRgba(0, 0, 0, 0);
    }
}

// Two main groups share key "A"; everything of that key lands under the first.
Category placedCatalogFirst(Category& second) {
    auto group = [](auto g, const char* key, const char* name) {
        g.key = key;
        g.name = name;
        return g;
    };
    auto article = [](const char* groupKey, const char* name) {
        Article a;
        a.groupKey = groupKey;
        a.name = name;
        return a;
    };
    Category first = group(Category(), "A", "Erste");
    second = group(Category(), "A", "Zweite");
    first.addSubCategory(group(SubCategory(), "A01", "Ober"));
    first.addSubCategory(group(SubCategory(), "A01", "Ober doppelt"));
    first.addSubSubCategory(group(SubSubCategory(), "A0101", "Gruppe"));
    first.addSubSubCategory(group(SubSubCategory(), "A0199", "Gruppe ohne Eltern"));
    first.addArticle(article("A0101", "R1"));
    first.addArticle(article("A0101", "R2"));
    return first;
}
} // namespace

class RowsTest : public QObject {
    Q_OBJECT

private slots:
    void groupRowTexts_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("letter");
        QTest::newRow("stock") << 1 << " ";
        QTest::newRow("rest") << 2 << "R";
        QTest::newRow("order") << 3 << "B";
        QTest::newRow("sell-out") << 4 << "A";
        QTest::newRow("zero") << 0 << "?";
        QTest::newRow("five") << 5 << "?";
        QTest::newRow("negative") << -1 << "?";
    }
    void groupRowTexts() {
        QFETCH(int, status);
        QFETCH(QString, letter);
        QTreeWidgetItem row;
        setArticleItemTexts(&row, article(status, {{5, 0.25}, {50, 0.2}}), {1, 2, 3, 4});
        QCOMPARE(texts(row), (QStringList{QStringLiteral("Widerstand 4,7k ä"), "10", "5", "12.50", letter,
                                          "Kohleschicht", "R1; R2", "1", "2", "3", "4"}));
    }

    void priceColumnVariants() {
        QTreeWidgetItem row;
        setArticleItemTexts(&row, article(1, {}), {0, 0, 0, 0});
        QCOMPARE(row.text(ColumnPackingUnit), QStringLiteral("0"));
        QCOMPARE(row.text(ColumnQuantity), QStringLiteral("0"));
        QCOMPARE(row.text(ColumnPrice), QString());

        setArticleItemTexts(&row, article(1, {{1, 0.0}}), {0, 0, 0, 0});
        QCOMPARE(row.text(ColumnPrice), QString());

        setArticleItemTexts(&row, article(1, {{10, 2.38}}, 10, 100), {0, 0, 0, 0});
        QCOMPARE(row.text(ColumnPrice), QStringLiteral("2.38"));
    }

    void orderRowShowsUnitsAndOrderValue() {
        Article a = article(3, {{1, 2.38}, {10, 2.142}}, 10, 100);
        a.orderedUnits = 12;
        QTreeWidgetItem row;
        setOrderItemTexts(&row, a, {0, 1, 2, 3});
        QCOMPARE(row.text(ColumnPackingUnit), QStringLiteral("10"));
        QCOMPARE(row.text(ColumnQuantity), QStringLiteral("12"));
        QCOMPARE(row.text(ColumnPrice), QStringLiteral("2.57"));
        QCOMPARE(row.text(ColumnStatus), QStringLiteral("B"));

        Article free = article(1, {{1, 0.0}});
        free.orderedUnits = 1;
        setOrderItemTexts(&row, free, {0, 0, 0, 0});
        QCOMPARE(row.text(ColumnPrice), QStringLiteral("0.00"));
    }

    void iconFollowsOrderState() {
        Article a = article(1, {{1, 1.0}});
        QTreeWidgetItem row;
        setArticleItemTexts(&row, a, {0, 0, 0, 0});
        QCOMPARE(row.icon(ColumnName).pixmap(16, 16).toImage(), unorderedPixmap().toImage());
        a.orderedUnits = 1;
        setArticleItemTexts(&row, a, {0, 0, 0, 0});
        QCOMPARE(row.icon(ColumnName).pixmap(16, 16).toImage(), orderedPixmap().toImage());
        // Shared, not rebuilt per row.
        QCOMPARE(&orderedPixmap(), &orderedPixmap());
    }

    void pixmapsPixelByPixel() {
        const QImage ordered = orderedPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(ordered.size(), QSize(16, 16));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb want = expectedPixel(checkMarkRows[y][x]);
                const QRgb got = ordered.pixel(x, y);
                if (qAlpha(want) == 0)
                    QVERIFY2(qAlpha(got) == 0, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                else
                    QVERIFY2(got == want, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        const QImage unordered = unorderedPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(unordered.size(), QSize(16, 16));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                QCOMPARE(qAlpha(unordered.pixel(x, y)), 0);
    }

    void indexPathRoundTrip() {
        QTreeWidgetItem row;
        setArticleItemTexts(&row, article(1, {}), {4294967295u, 0, 7, 123456});
        const IndexPath p = indexPathOf(&row);
        QCOMPARE(p.c, 4294967295u);
        QCOMPARE(p.ss, 7u);
        QCOMPARE(p.a, 123456u);
    }

    // The rows the catalog builds keep their texts their own way and come sorted; a list of them must look
    // and sort exactly like one of plain items with the same texts: same order, ties in catalog order,
    // in any sort column and direction, also after a text is changed in the list.
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
        const char* const names[] = {"Widerstand", "widerstand", "\xc4tzmittel", "Atzmittel", "", "10 Ohm",
                                     "9 Ohm", "Widerstand", "\xe4tzmittel", "Zange", "zange", "Widerstand"};
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
            list->setSortingEnabled(true);
            list->sortByColumn(column, order);
        }
        QList<QTreeWidgetItem*> plainRows;
        std::vector<FoundArticle> found;
        for (unsigned a = 0; a < articles.size(); ++a) {
            auto* row = new QTreeWidgetItem;
            setArticleItemTexts(row, articles[a], {0, 1, 2, a});
            plainRows.append(row);
            found.push_back({&articles[a], {0, 1, 2, a}});
        }
        plain.setSortingEnabled(false);
        plain.addTopLevelItems(plainRows);
        plain.setSortingEnabled(true);
        addArticleRows(&built, found, RowKind::Group);

        const auto same = [&] {
            QCOMPARE(built.topLevelItemCount(), plain.topLevelItemCount());
            for (int i = 0; i < plain.topLevelItemCount(); ++i) {
                QCOMPARE(texts(*built.topLevelItem(i)), texts(*plain.topLevelItem(i)));
                QCOMPARE(built.topLevelItem(i)->icon(ColumnName).pixmap(16, 16).toImage(),
                         plain.topLevelItem(i)->icon(ColumnName).pixmap(16, 16).toImage());
            }
        };
        same();
        // A changed text moves the row as it would move a plain one.
        for (QTreeWidget* list : {&plain, &built})
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                if (list->topLevelItem(i)->text(ColumnArticle) == QLatin1String("3"))
                    list->topLevelItem(i)->setText(column, QStringLiteral("M"));
        same();
    }

    void cascadeFillsSelectorsAndClearsOnEmptyOrOutOfRange() {
        Category second;
        const Category c = placedCatalogFirst(second);
        QTreeWidget list;
        list.setColumnCount(ArticleColumnCount);
        QComboBox upper, lower;
        c.fillSubCategories(&list, &upper, &lower, 3);
        QCOMPARE(upper.count(), 2);
        QCOMPARE(upper.currentIndex(), 0);
        QCOMPARE(lower.count(), 2);
        QCOMPARE(list.topLevelItemCount(), 2);
        QCOMPARE(list.topLevelItem(0)->text(ColumnCategory), QStringLiteral("3"));

        // An upper group without groups: empty lower selector and list.
        c.selectSubCategory(&list, &lower, 3, 1);
        QCOMPARE(lower.count(), 0);
        QCOMPARE(list.topLevelItemCount(), 0);

        c.fillSubCategories(&list, &upper, &lower, 3);
        c.selectSubCategory(&list, &lower, 3, 2);
        QCOMPARE(list.topLevelItemCount(), 0);
        QCOMPARE(lower.count(), 2);
        c.fillSubCategories(&list, &upper, &lower, 3);
        c.selectSubSubCategory(&list, 3, 0, 5);
        QCOMPARE(list.topLevelItemCount(), 0);
        c.selectSubSubCategory(&list, 3, 7, 0);
        QCOMPARE(list.topLevelItemCount(), 0);

        // A main group without upper groups leaves no stale entries behind.
        second.fillSubCategories(&list, &upper, &lower, 4);
        QCOMPARE(upper.count(), 0);
        QCOMPARE(lower.count(), 0);
        QCOMPARE(list.topLevelItemCount(), 0);
    }
};

QTEST_MAIN(RowsTest)
#include "tst_rows.moc"
