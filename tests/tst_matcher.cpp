#include "catalog/articlematcher.h"

#include <QRegularExpression>
#include <QtTest>

// The matcher scans fields for the words of a pattern before, or instead of, running the expression. Every
// case here compares it with the expression alone on the same Latin-1 text, so a scan that turns away a
// field the expression would match, or lets one through that it would not, fails.
class MatcherTest : public QObject {
    Q_OBJECT

private slots:
    void agreesWithTheExpression_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QByteArray>("field");

        const QList<QByteArray> fields = {
            "Transistor BC547", "transistor", "TRANSISTOR", "Spannungsregler 7805", "Regler", "",
            "Gehäuse", "GEH\xC4USE", "geh\xE4use", "Stra\xDF" "e", "STRASSE", "\xB5" "F", "\xFF" "x", "x\xD7y",
            "x\xF7y", "\xC5ngstr\xF6m", "\xE5ngstr\xF6m", "abc", "abbc", "ac", "aXc", "a{2}", "aa", "a+b",
            "^abc", "Kelvin", "kelvin"};
        const QList<QString> patterns = {
            QStringLiteral("transistor|regler"), QStringLiteral("Transistor"), QStringLiteral("gehäuse"),
            QStringLiteral("GEHÄUSE"), QStringLiteral("straße"), QStringLiteral("µf"), QStringLiteral("Ÿ"),
            QStringLiteral("ÿX"), QStringLiteral("x×y"), QStringLiteral("X÷Y"), QStringLiteral("ångström"),
            QStringLiteral("\u212Bngstr\u00F6m"), QStringLiteral("\u212Aelvin"), QStringLiteral("ab?c"),
            QStringLiteral("ab*c"), QStringLiteral("ab+c"), QStringLiteral("a{2}"), QStringLiteral("a{x"),
            QStringLiteral("^abc"), QStringLiteral("^^abc"), QStringLiteral("abc$"), QStringLiteral("a.c"),
            QStringLiteral("abc|"), QStringLiteral("|abc"), QStringLiteral("a|b?"), QStringLiteral("."),
            QStringLiteral("a\\+b"), QStringLiteral("(?i)ABC"), QStringLiteral("[ab]c"), QStringLiteral(" abc"),
            QStringLiteral("a b"), QStringLiteral("regler|"), QStringLiteral("xyz"),
            QStringLiteral("ler|Regler 7805"), QStringLiteral("o|x"), QStringLiteral("BC5|c547|ge"),
            QStringLiteral("7805|spannungs"), QStringLiteral("m|ngstr"), QStringLiteral("ahäuse|gehäus")};
        for (const QString& pattern : patterns)
            for (bool caseSensitive : {false, true})
                for (const QByteArray& field : fields)
                    QTest::addRow("%s %s \"%s\"", qPrintable(pattern), caseSensitive ? "cs" : "ci",
                                  field.toPercentEncoding().constData())
                        << pattern << caseSensitive << field;
    }

    void agreesWithTheExpression() {
        QFETCH(QString, pattern);
        QFETCH(bool, caseSensitive);
        QFETCH(QByteArray, field);
        QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
        if (!caseSensitive)
            options |= QRegularExpression::CaseInsensitiveOption;
        const QRegularExpression expression(pattern, options);
        const bool expected = expression.match(QString::fromLatin1(field)).hasMatch();
        Article article;
        article.description = field.toStdString();
        QCOMPARE(ArticleMatcher(pattern, false, true, false, caseSensitive).matches(article), expected);
    }

    // One matcher serves all fields and articles of a search; nothing of one field may stay for the next.
    void fieldsInTurn() {
        const ArticleMatcher matcher(QStringLiteral("^kond"), true, true, true, false);
        Article a;
        a.name = "Elko 100\xB5" "F";
        a.description = "Kondensator, radial, sehr lange Beschreibung mit vielen Worten";
        a.otherNames = "Elektrolytkondensator";
        QVERIFY(matcher.matches(a));
        a.description = "Elektrolytkondensator";
        a.otherNames = "K";
        QVERIFY(!matcher.matches(a));
        a.otherNames = "Kond";
        QVERIFY(matcher.matches(a));
    }
};

QTEST_APPLESS_MAIN(MatcherTest)
#include "tst_matcher.moc"
