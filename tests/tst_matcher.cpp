#include "catalog/articlematcher.h"

#include <QtTest>

// The matcher's scan for the words of a pattern must never decide otherwise than the expression alone.
class tst_Matcher : public QObject {
    Q_OBJECT

private slots:
    void agreesWithTheExpression() {
        const QList<QByteArray> fields =
            QStringLiteral(
                "Transistor BC547,TRANSISTOR,Spannungsregler 7805,,Gehäuse,GEHÄUSE,Straße,STRASSE,µF,"
                "ÿx,x×y,x÷y,Ångström,abc,abbc,ac,a{2},aa,a+b,^abc,kelvin")
                .toLatin1()
                .split(',');
        // Case folding beyond ASCII, quantifiers, anchors, escapes, groups, classes, words hiding in others.
        const QStringList patterns =
            QStringLiteral("transistor|regler,gehäuse,straße,µf,Ÿ,ÿX,x×y,X÷Y,ångström,\u212Bngstr\u00F6m,"
                           "\u212Aelvin,ab?c,ab*c,ab+c,a{2},a{x,^^abc,abc$,a.c,abc|,a|b?,a\\+b,(?i)ABC,[ab]c,"
                           "ler|Regler 7805,BC5|c547|ge,m|ngstr")
                .split(',');
        for (const QString& pattern : patterns)
            for (bool caseSensitive : {false, true}) {
                const ArticleMatcher matcher(pattern, false, true, false, caseSensitive);
                const QRegularExpression expression((caseSensitive ? "" : "(?i)") + pattern,
                                                    QRegularExpression::UseUnicodePropertiesOption);
                for (const QByteArray& field : fields) {
                    Article article;
                    article.description = field.toStdString();
                    QVERIFY2(matcher.matches(article) ==
                                 expression.match(QString::fromLatin1(field)).hasMatch(),
                             qPrintable(pattern + (caseSensitive ? " cs on " : " ci on ") +
                                        QString::fromLatin1(field)));
                }
            }
    }
};

QTEST_APPLESS_MAIN(tst_Matcher)
#include "tst_matcher.moc"
