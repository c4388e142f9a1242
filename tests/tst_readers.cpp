#include "catalog/category.h"
#include "catalog/streamreaders.h"
#include "support/catalogdump.h"
#include "support/catalogwriter.h"

#include <QtTest>

#include <sstream>

using namespace vxtest;

using namespace std::string_literals;

namespace {

std::string toStd(const QByteArray& bytes) {
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}
QByteArray toBytes(const std::string& s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

// The position a reader left the stream at; the size of the data when it ran into the end.
qint64 consumed(std::istringstream& in, std::size_t size) {
    if (in.eof())
        return qint64(size);
    return qint64(in.tellg());
}

template <class Record> void readGroupRecord(const QByteArray& bytes, int keyLength) {
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, name);
    Record record;
    record.key = "old";
    record.name = "old";
    std::istringstream in(toStd(bytes));
    QCOMPARE(record.read(in), 0);
    QVERIFY(!in.fail());
    QCOMPARE(consumed(in, std::size_t(bytes.size())), qint64(keyLength + 42));
    QCOMPARE(toBytes(record.key), key);
    QCOMPARE(toBytes(record.name), name);

    Record parsed;
    parsed.parse(reinterpret_cast<const unsigned char*>(bytes.constData()));
    QCOMPARE(toBytes(parsed.key), key);
    QCOMPARE(toBytes(parsed.name), name);
}

} // namespace

class tst_Readers : public QObject {
    Q_OBJECT

private slots:
    void integers_data();
    void integers();
    void readByteAtEnd();
    void fixedText_data();
    void fixedText();
    void simplify_data();
    void simplify();
    void groupRecords_data();
    void groupRecords();
    void groupRecordClearsChildren();
    void articles_data();
    void articles();
    void tierCountOfEightBitsStartsNextRecord();
    void shortRecordsReachTheEnd();
};

void tst_Readers::integers_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("int16");
    QTest::addColumn<quint32>("uint32");
    QTest::addColumn<double>("price");
    QTest::addColumn<int>("quantity");
    QTest::newRow("FF FF") << QByteArray("\xFF\xFF\xFF\xFF", 4) << -1 << 0xFFFFFFFFu << 4294967.295 << -1;
    QTest::newRow("64 00") << QByteArray("\x64\x00\x00\x00", 4) << 100 << 100u << 0.1 << 100;
    QTest::newRow("price 2.38") << QByteArray("\x4C\x09\x00\x00", 4) << 2380 << 2380u << 2.38 << 2380;
    QTest::newRow("int16 limits") << QByteArray("\x00\x80\xFF\x7F", 4) << -32768 << 0x7FFF8000u << 2147450.88
                                  << 0x7FFF8000;
    QTest::newRow("2^31") << QByteArray("\xFF\x7F\x00\x80", 4) << 32767 << 0x80007FFFu << 2147516.415
                          << int(-2147450881);
}

void tst_Readers::integers() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, int16);
    QFETCH(quint32, uint32);
    QFETCH(double, price);
    QFETCH(int, quantity);

    std::istringstream in16(toStd(bytes));
    QCOMPARE(readInt16(in16), int16);
    QCOMPARE(qint64(in16.tellg()), qint64(2));
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    QCOMPARE(int16At(p), int16);

    std::istringstream in32(toStd(bytes));
    QCOMPARE(readUInt32(in32), uint32);
    QVERIFY(!in32.fail());
    QCOMPARE(uint32At(p), uint32);

    PriceTier tier;
    std::istringstream tiers(toStd(bytes + bytes));
    tier.readQuantity(tiers);
    tier.readPrice(tiers);
    QCOMPARE(tier.quantity, quantity);
    QCOMPARE(tier.price, price);
}

void tst_Readers::readByteAtEnd() {
    std::istringstream in("\x7F"s);
    unsigned char byte = 0;
    readByte(in, byte);
    QCOMPARE(int(byte), 0x7F);
    QVERIFY(!in.eof());
    byte = 42;
    readByte(in, byte);
    QCOMPARE(int(byte), 42);
    QVERIFY(in.eof());
    QVERIFY(in.fail());
}

void tst_Readers::fixedText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("position");
    const QByteArray after("after");
    QTest::newRow("NUL padded") << QByteArray("ab\0\0\0", 5) + after << 5 << QByteArray("ab") << qint64(5);
    QTest::newRow("bytes after the first NUL")
        << QByteArray("ab\0cd\0", 6) + after << 6 << QByteArray("ab") << qint64(6);
    QTest::newRow("full field") << QByteArray(40, 'x') + after << 40 << QByteArray(40, 'x') << qint64(40);
    QTest::newRow("only NUL") << QByteArray(24, '\0') + after << 24 << QByteArray() << qint64(24);
    QTest::newRow("Latin-1 kept") << QByteArray("\xE4\xF6\xFC\xDF\xB5", 5) << 5
                                  << QByteArray("\xE4\xF6\xFC\xDF\xB5", 5) << qint64(5);
    QTest::newRow("cut by the end") << QByteArray("abc") << 40 << QByteArray("abc") << qint64(3);
}

void tst_Readers::fixedText() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QFETCH(QByteArray, text);
    QFETCH(qint64, position);
    std::istringstream in(toStd(bytes));
    std::string read = "old";
    readFixedText(in, read, width);
    QCOMPARE(toBytes(read), text);
    QCOMPARE(consumed(in, std::size_t(bytes.size())), position);
    if (bytes.size() >= width)
        QCOMPARE(toBytes(::fixedText(reinterpret_cast<const unsigned char*>(bytes.constData()), width)),
                 text);
}

void tst_Readers::simplify_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("simplified");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("runs and ends") << QByteArray("  ab   cd") << QByteArray("ab cd");
    QTest::newRow("tab") << QByteArray("ab\tcd") << QByteArray("ab cd");
    QTest::newRow("CR LF") << QByteArray("\r\nab \r\n cd\n") << QByteArray("ab cd");
    QTest::newRow("only spaces") << QByteArray("    ") << QByteArray();
    QTest::newRow("single letters") << QByteArray(" a b  c ") << QByteArray("a b c");
    QTest::newRow("other bytes are no white space") << QByteArray("a\vb\fc\xA0") << QByteArray("a\vb\fc\xA0");
}

void tst_Readers::simplify() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, simplified);
    std::string s = toStd(text);
    simplifyText(s);
    QCOMPARE(toBytes(s), simplified);
}

void tst_Readers::groupRecords_data() {
    QTest::addColumn<int>("keyLength");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("name");
    const auto row = [](const char* tag, int keyLength, const std::string& key, const std::string& name,
                        const char* expectedName, std::string trailer = "\0\0"s) {
        GroupFields item{key, name, trailer};
        QTest::newRow(tag) << keyLength << toBytes(item.bytes(keyLength)) << toBytes(key.substr(0, keyLength))
                           << QByteArray(expectedName);
    };
    row("WGHAUPT", 1, "A", "  Passive   Bauelemente ", "Passive Bauelemente");
    row("WGHAUPT NUL key", 1, "\0"s, "Null", "Null");
    row("WGOBER", 3, "A01", "Widerst\xE4nde", "Widerst\xE4nde");
    row("WGOBER NUL in key", 3, "A\0\x01"s, "x", "x");
    row("WGGRUPPE", 5, "A0101", "Kohle\tschicht", "Kohle schicht");
    row("WGGRUPPE name after NUL ignored", 5, "\xFF\xFF\xFF\xFF\xFF", "ab\0cd"s, "ab");
    row("WGGRUPPE 40 bytes", 5, "B0101", std::string(40, 'n'), "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn");
    row("WGGRUPPE odd trailer", 5, "B0101", "n", "n", "\xFF\x01");
}

void tst_Readers::groupRecords() {
    QFETCH(int, keyLength);
    QFETCH(QByteArray, bytes);
    if (keyLength == 1)
        readGroupRecord<Category>(bytes, keyLength);
    else if (keyLength == 3)
        readGroupRecord<SubCategory>(bytes, keyLength);
    else
        readGroupRecord<SubSubCategory>(bytes, keyLength);
}

void tst_Readers::groupRecordClearsChildren() {
    Category main;
    main.subCategories.resize(2);
    std::istringstream in(GroupFields{"A", "x"}.bytes(1));
    main.read(in);
    QVERIFY(main.subCategories.empty());

    SubSubCategory group;
    group.articles.resize(3);
    std::istringstream in5(GroupFields{"A0101", "x"}.bytes(5));
    group.read(in5);
    QVERIFY(group.articles.empty());
}

void tst_Readers::articles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QByteArray>("dump");

    ArticleFields plain;
    plain.groupKey = "A0101";
    plain.name = "  Widerstand   4,7k ";
    plain.otherNames = {"4K7", "", "4,7 kOhm"};
    plain.description = "Metallschicht\t0,6 W\xB5";
    plain.numbers(2, 100, 3, 100).tiers({{1, 2380}, {10, 2142}});
    QTest::newRow("two tiers") << toBytes(plain.bytes()) << qint64(248)
                               << QByteArray("A0101|Widerstand 4,7k|4K7; 4,7 kOhm|Metallschicht 0,6 W\\xb5|"
                                             "2 100 3 100 5| 1@2.380 10@2.142");

    ArticleFields none = plain;
    none.otherNames = {};
    none.tiers({});
    QTest::newRow("no tiers, no other names")
        << toBytes(none.bytes()) << qint64(232)
        << QByteArray("A0101|Widerstand 4,7k||Metallschicht 0,6 W\\xb5|2 100 3 100 5|");

    ArticleFields odd;
    odd.groupKey = "\0\0\0\0\0"s;
    odd.name = "ab\0cd"s;
    odd.otherNames = {"", "", "", "", "", "  z  "};
    odd.numbers(-1, -32768, 0, 0).tiers({{0x80000000LL, 0xFFFFFFFFLL}, {5, 0}});
    QTest::newRow("odd values") << toBytes(odd.bytes()) << qint64(248)
                                << QByteArray("\\x00\\x00\\x00\\x00\\x00|ab|z||-1 -32768 0 0 5| "
                                              "-2147483648@4294967.295 5@0.000");

    ArticleFields full;
    full.groupKey = "B0202";
    full.name = std::string(24, 'N');
    full.otherNames = {std::string(24, '1'), "2", "3", "4", "5", "6"};
    full.description = std::string(50, 'D');
    full.tiers({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
    QTest::newRow("full fields, five tiers")
        << toBytes(full.bytes()) << qint64(272)
        << "B0202|" + QByteArray(24, 'N') + "|" + QByteArray(24, '1') + "; 2; 3; 4; 5; 6|" +
               QByteArray(50, 'D') + "|1 1 1 1 5| 1@0.001 2@0.002 3@0.003 4@0.004 5@0.005";
}

void tst_Readers::articles() {
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFETCH(QByteArray, dump);
    QCOMPARE(qint64(bytes.size()), size);

    Article article;
    article.orderedUnits = 5;
    article.priceTiers.resize(7);
    article.otherNames = "old";
    std::istringstream in(toStd(bytes) + "next");
    QCOMPARE(article.read(in), 0);
    QVERIFY(!in.fail());
    QCOMPARE(qint64(in.tellg()), size);
    QCOMPARE(dumpArticle(article), dump);

    Article parsed;
    parsed.orderedUnits = 5;
    parsed.parse(reinterpret_cast<const unsigned char*>(bytes.constData()));
    QCOMPARE(dumpArticle(parsed), dump);
}

void tst_Readers::tierCountOfEightBitsStartsNextRecord() {
    // A count byte of 128 or more announces no tiers; the tier bytes written anyway belong to the next
    // record.
    for (int count : {128, 200, 255}) {
        ArticleFields first;
        first.groupKey = "A0101";
        first.name = "first";
        first.countByte(count);
        ArticleFields second = first;
        second.name = "second";
        second.countByte(-1).tiers({{3, 4000}});
        std::istringstream in(first.bytes() + second.bytes());
        Article article;
        article.read(in);
        QVERIFY(article.priceTiers.empty());
        QCOMPARE(qint64(in.tellg()), qint64(232));
        article.read(in);
        QCOMPARE(article.name, "second"s);
        QCOMPARE(article.priceTiers.size(), std::size_t(1));
        QCOMPARE(article.priceTiers[0].price, 4.0);
    }
}

void tst_Readers::shortRecordsReachTheEnd() {
    // The loop that reads records relies on a cut record setting eof.
    ArticleFields item;
    item.groupKey = "A0101";
    item.tiers({{1, 100}, {2, 90}});
    const std::string record = item.bytes();
    for (std::size_t cut :
         {std::size_t(0), std::size_t(1), std::size_t(231), std::size_t(232), record.size() - 1}) {
        std::istringstream in(record.substr(0, cut));
        Article article;
        article.read(in);
        QVERIFY2(in.eof(), QByteArray::number(qulonglong(cut)));
    }
    const std::string group = GroupFields{"A01", "x"}.bytes(3);
    for (std::size_t cut = 0; cut < group.size(); ++cut) {
        std::istringstream in(group.substr(0, cut));
        SubCategory upper;
        upper.read(in);
        QVERIFY(in.eof());
    }
}

QTEST_APPLESS_MAIN(tst_Readers)
#include "tst_readers.moc"
