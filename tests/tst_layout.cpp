// The browsing screen fits its window without cutting controls, and list columns fit the texts they show.
#include "app/vxmainwindow.h"
#include "catalog/articleitem.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTreeWidget>

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void leftPaneFitsAtAnyFontSize_data() {
        QTest::addColumn<qreal>("pointSize");
        QTest::newRow("default") << qreal(0);
        QTest::newRow("large") << qreal(14);
    }

    void leftPaneFitsAtAnyFontSize() {
        QFETCH(qreal, pointSize);
        const QFont original = QApplication::font();
        if (pointSize > 0) {
            QFont font = original;
            font.setPointSizeF(pointSize);
            QApplication::setFont(font);
        }
        {
            vxMainWindow window;
            window.resize(600, 450);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));

            auto* pane = window.findChild<QScrollArea*>(QStringLiteral("saLeft"));
            QVERIFY(pane);
            QWidget* content = pane->widget();
            QCOMPARE(content->objectName(), QStringLiteral("vbLeft"));
            // The pane only scrolls vertically, so anything wider than its viewport would be cut off.
            QVERIFY2(content->width() <= pane->viewport()->width(), "controls run under the right edge");
            QVERIFY(content->width() >= content->minimumSizeHint().width());
            const auto widgets = content->findChildren<QWidget*>();
            for (const QWidget* w : widgets) {
                if (!qobject_cast<const QGroupBox*>(w) && !qobject_cast<const QCheckBox*>(w) &&
                    !qobject_cast<const QPushButton*>(w))
                    continue;
                QVERIFY2(w->width() >= w->minimumSizeHint().width(), qPrintable(w->objectName()));
                const QRect inPane(w->mapTo(content, QPoint(0, 0)), w->size());
                QVERIFY2(content->rect().contains(inPane), qPrintable(w->objectName()));
            }
            // The article list keeps a usable share of the window.
            auto* list = window.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
            QVERIFY(list->width() >= 150);
        }
        QApplication::setFont(original);
    }

    void columnsGrowToTheirTextsAndStay() {
        QTreeWidget* list = nullptr;
        vxMainWindow window;
        window.resize(600, 450);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        list = window.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        const QFontMetrics metrics(list->font());
        for (int c = ColumnName; c <= ColumnOtherNames; ++c)
            QVERIFY(list->columnWidth(c) >= metrics.horizontalAdvance(list->headerItem()->text(c)));

        Article article;
        article.name = "Kohleschichtwiderstand X";
        article.description = "Kohleschichtwiderstand 0207, 1 kOhm, 5 %, 250 mW, gegurtet auf Rolle";
        article.packingUnit = 100000;
        const QString longName = QString::fromLatin1(article.name.c_str());
        const QString longDescription = QString::fromLatin1(article.description.c_str());
        addArticleItem(list, article, IndexPath{});
        QTRY_VERIFY(list->columnWidth(ColumnName) >= metrics.horizontalAdvance(longName));
        QVERIFY(list->columnWidth(ColumnDescription) >= metrics.horizontalAdvance(longDescription));
        for (int c = ColumnCategory; c <= ColumnArticle; ++c)
            QVERIFY(list->isColumnHidden(c));

        // Fewer or shorter rows never take width away, neither the program's nor the user's.
        list->setColumnWidth(ColumnPackingUnit, 300);
        const int nameWidth = list->columnWidth(ColumnName);
        list->clear();
        article.name = "R";
        article.packingUnit = 1;
        addArticleItem(list, article, IndexPath{});
        QTest::qWait(50);
        QCOMPARE(list->columnWidth(ColumnName), nameWidth);
        QCOMPARE(list->columnWidth(ColumnPackingUnit), 300);
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
