// The record readers, by stream and from a buffer: fixed-width texts, whitespace, numbers, price tiers.
#include "catalog/category.h"
#include "catalog/streamreaders.h"
#include "support/catalogdump.h"
#include "support/catalogwriter.h"

#include <QtTest>

#include <sstream>

using namespace vxtest;
using namespace std::string_literals;

namespace {

const unsigned char* data(const QByteArray& bytes) {
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

template <class Record>
void compareGroupRecord(const QByteArray& bytes, const QByteArray& key, const QByteArray& name) {
    Record read, parsed;
    read.name = "old";
    std::istringstream in(bytes.toStdString() + "next");
    QCOMPARE(read.read(in), 0);
    QCOMPARE(qint64(in.tellg()), qint64(bytes.size()));
    parsed.parse(data(bytes));
    for (const Record* record : {&read, &parsed}) {
        QCOMPARE(QByteArray::fromStdString(record->key), key);
        QCOMPARE(QByteArray::fromStdString(record->name), name);
    }
}

} // namespace

class tst_Readers : public QObject {
    Q_OBJECT

private slots:
    void simplify_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("simplified");
        QTest::newRow("runs and ends") << QByteArray("  a b   cd ") << QByteArray("a b cd");
        QTest::newRow("tab CR LF") << QByteArray("\r\nab\t\r\n cd\n") << QByteArray("ab cd");
        QTest::newRow("only spaces") << QByteArray("    ") << QByteArray();
        QTest::newRow("other bytes are no white space")
            << QByteArray("a\vb\fc\xA0") << QByteArray("a\vb\fc\xA0");
    }
    void simplify() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, simplified);
        std::string s = text.toStdString();
        simplifyText(s);
        QCOMPARE(QByteArray::fromStdString(s), simplified);
        // The buffer reader does the same, and only up to the first NUL.
        const QByteArray field = text + QByteArray("\0tail", 5);
        std::string out(std::size_t(field.size()), '?');
        out.resize(simplifiedText(out.data(), data(field), int(field.size())));
        QCOMPARE(QByteArray::fromStdString(out), simplified);
    }

    void groupRecords() {
        compareGroupRecord<Category>(QByteArray::fromStdString(GroupFields{"\0"s, " Null  Eins "}.bytes(1)),
                                     QByteArray("\0", 1), "Null Eins");
        compareGroupRecord<SubCategory>(
            QByteArray::fromStdString(GroupFields{"A\0\x01"s, "Widerst\xE4nde"}.bytes(3)),
            QByteArray("A\0\x01", 3), "Widerst\xE4nde");
        compareGroupRecord<SubSubCategory>(
            QByteArray::fromStdString(GroupFields{"A0101", "Kohle\tschicht\0cd"s, "\xFF\x01"}.bytes(5)),
            "A0101", "Kohle schicht");
        compareGroupRecord<SubSubCategory>(
            QByteArray::fromStdString(GroupFields{"B0101", std::string(40, 'n')}.bytes(5)), "B0101",
            QByteArray(40, 'n'));
    }

    void articles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("dump");
        ArticleFields plain;
        plain.groupKey = "A0101";
        plain.name = "  Widerstand   4,7k ";
        plain.otherNames = {"4K7", "", "4,7 kOhm"};
        plain.description = "Metallschicht\t0,6 W\xB5";
        plain.numbers(2, 100, 3, 100).tiers({{1, 2380}, {10, 2142}});
        QTest::newRow("two tiers") << QByteArray::fromStdString(plain.bytes())
                                   << QByteArray(
                                          "A0101|Widerstand 4,7k|4K7; 4,7 kOhm|Metallschicht 0,6 W\\xb5|"
                                          "2 100 3 100 5| 1@2.380 10@2.142");
        ArticleFields odd;
        odd.groupKey = "\0\0\0\0\0"s;
        odd.name = "ab\0cd"s;
        odd.otherNames = {"", "", "", "", "", "  z  "};
        odd.numbers(-1, -32768, 0, 0).tiers({{0x80000000LL, 0xFFFFFFFFLL}, {5, 0}});
        QTest::newRow("odd values") << QByteArray::fromStdString(odd.bytes())
                                    << QByteArray("\\x00\\x00\\x00\\x00\\x00|ab|z||-1 -32768 0 0 5| "
                                                  "-2147483648@4294967.295 5@0.000");
        ArticleFields full;
        full.groupKey = "B0202";
        full.name = std::string(24, 'N');
        full.otherNames = {std::string(24, '1'), "2", "3", "4", "5", "6"};
        full.description = std::string(50, 'D');
        full.tiers({});
        QTest::newRow("full fields, no tiers")
            << QByteArray::fromStdString(full.bytes())
            << "B0202|" + QByteArray(24, 'N') + "|" + QByteArray(24, '1') + "; 2; 3; 4; 5; 6|" +
                   QByteArray(50, 'D') + "|1 1 1 1 5|";
    }
    void articles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, dump);
        Article read, parsed;
        read.orderedUnits = parsed.orderedUnits = 5;
        read.priceTiers.resize(7);
        read.otherNames = "old";
        std::istringstream in(bytes.toStdString() + "next");
        QCOMPARE(read.read(in), 0);
        QCOMPARE(qint64(in.tellg()), qint64(bytes.size()));
        QCOMPARE(dumpArticle(read), dump);
        parsed.parse(data(bytes));
        QCOMPARE(dumpArticle(parsed), dump);
    }

    // A count byte of 128 or more announces no tiers; the bytes behind it belong to the next record.
    void tierCountOfEightBitsStartsNextRecord() {
        for (int count : {128, 255}) {
            ArticleFields second;
            second.name = "second";
            second.tiers({{3, 4000}});
            const std::string bytes = ArticleFields().countByte(count).bytes() + second.bytes();
            QCOMPARE(Article::tierCount(reinterpret_cast<const unsigned char*>(bytes.data())), 0);
            std::istringstream in(bytes);
            Article article;
            article.read(in);
            QVERIFY(article.priceTiers.empty());
            article.read(in);
            QCOMPARE(dumpArticle(article),
                     QByteArray("\\x00\\x00\\x00\\x00\\x00|second|||1 1 1 1 0| 3@4.000"));
        }
    }
};

QTEST_APPLESS_MAIN(tst_Readers)
#include "tst_readers.moc"
