// Pages and photos read from a local HTTP server that the test starts and stops: redirections,
// errors, a slow answer, a huge answer, addresses that are not fetched.
#include "importer/importer.h"
#include "importer/pagefetcher.h"
#include "importer/sourceimport.h"
#include "localhttpserver.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::importer;
using Answer = LocalHttpServer::Answer;

class tst_Fetch : public QObject {
    Q_OBJECT

private slots:
    void redirectionsAreFollowedUpToTheLimit_data();
    void redirectionsAreFollowedUpToTheLimit();
    void failuresAreSaidInFrench_data();
    void failuresAreSaidInFrench();
    void answerAtTheSizeLimitIsRead();
    void endlessAnswerStopsBeingReadAtTheLimit();
    void slowAnswerEndsAtTheTimeout();
    void serverCharsetComesBeforeThePageOwn();
    void photoOfAPageGoesToNoPrivateHostOfAnother_data();
    void photoOfAPageGoesToNoPrivateHostOfAnother();
    void photosOfASourceStayWithinTheirCaps_data();
    void photosOfASourceStayWithinTheirCaps();
};

void tst_Fetch::photosOfASourceStayWithinTheirCaps_data()
{
    QTest::addColumn<bool>("silent"); // the photos never answer, else each is too big
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("fetched"); // photos asked at most
    // 400 ms each within 1 s: three, and a fourth when a coarse timer fires a little early.
    QTest::newRow("photos that never answer")
        << true << "photos limitées à 1 s de lecture par source, les recettes suivantes sont sans image" << 4;
    // Each failed photo brings 10 MB: the fifth reaches the 50 MB of a source.
    QTest::newRow("photos too big, their bytes counted")
        << false << "photos limitées à 20 (50 Mo) par source, les recettes suivantes sont sans image" << 5;
}

void tst_Fetch::photosOfASourceStayWithinTheirCaps()
{
    QFETCH(bool, silent);
    QFETCH(QString, note);
    QFETCH(int, fetched);
    LocalHttpServer server;
    QByteArray recipes;
    for (int i = 0; i < 8; ++i)
        recipes += QByteArray(i ? "," : "") + "{\"@type\":\"Recipe\",\"name\":\"Plat " + QByteArray::number(i)
                   + "\",\"recipeIngredient\":[\"1 œuf\"],\"image\":\"/photo" + QByteArray::number(i) + ".jpg\"}";
    Answer page;
    page.body = "<html><head><script type=\"application/ld+json\">[" + recipes + "]</script></head></html>";
    server.serve("/plats", page);
    Answer photo;
    if (silent) {
        photo.delayMs = 60000;
    } else {
        photo.body = QByteArray(kMaxSourceBytes + 1, 'x');
        photo.sendLength = false;
    }
    for (int i = 0; i < 8; ++i)
        server.serve(QStringLiteral("/photo%1.jpg").arg(i), photo);
    QTemporaryDir book;
    SourceOptions options;
    options.bookDir = book.path();
    if (silent) {
        options.timeoutMs = 400;
        options.photoTimeMs = 1000;
    }
    const SourceRead read = readSource(server.url("/plats"), options);
    QVERIFY2(read.failure.isEmpty(), qPrintable(read.failure));
    QCOMPARE(read.recipes.size(), size_t(8));
    QCOMPARE(read.notes, QStringList{note});
    const qsizetype asked = std::count_if(server.requests.begin(), server.requests.end(),
                                          [](const QString &p) { return p.startsWith(QLatin1String("/photo")); });
    QVERIFY2(asked <= fetched, qPrintable(QString::number(asked)));
    QVERIFY(std::all_of(read.recipes.begin(), read.recipes.end(), [](const SourceRecipe &r) { return r.imagePath.isEmpty(); }));
}

void tst_Fetch::serverCharsetComesBeforeThePageOwn()
{
    LocalHttpServer server;
    Answer page;
    page.contentType = "text/html; Charset=\"ISO-8859-1\"";
    page.body = "<html><head><meta charset=\"utf-8\"><script type=\"application/ld+json\">"
                "{\"@type\":\"Recipe\",\"name\":\"Cr\xE8me\",\"recipeInstructions\":\"Cuire.\"}</script></head></html>";
    server.serve("/creme", page);
    const Fetched f = PageFetcher().fetch(QUrl(server.url("/creme")));
    QVERIFY2(f.ok(), qPrintable(f.reason));
    const ParseResult r = parseSource(f.body, "creme", nullptr, f.charset);
    QCOMPARE(r.recipes.size(), size_t(1));
    QCOMPARE(r.recipes.front().title, QStringLiteral("Crème"));
}

void tst_Fetch::photoOfAPageGoesToNoPrivateHostOfAnother_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("redirected");
    QTest::addColumn<bool>("read");
    QTest::newRow("same host as the page") << "http://127.0.0.1/r" << false << true;
    QTest::newRow("page of another host") << "https://recettes.example/r" << false << false;
    QTest::newRow("redirection from another host's photo") << "http://localhost/r" << true << false;
}

void tst_Fetch::photoOfAPageGoesToNoPrivateHostOfAnother()
{
    QFETCH(QString, page);
    QFETCH(bool, redirected);
    QFETCH(bool, read);
    LocalHttpServer server;
    QVERIFY(server.isListening());
    Answer photo;
    photo.body = "jpeg";
    server.serve("/photo.jpg", photo);
    QUrl url(server.url("/photo.jpg"));
    if (redirected) {
        // The page's own host (localhost) gives the photo, which sends to 127.0.0.1.
        Answer hop;
        hop.status = 302;
        hop.location = server.url("/photo.jpg").toLatin1();
        server.serve("/hop", hop);
        url = QUrl(server.url("/hop"));
        url.setHost("localhost");
    }
    const Fetched f = PageFetcher().fetchFromPage(url, QUrl(page));
    QCOMPARE(f.ok(), read);
    if (!read)
        QVERIFY2(f.reason.contains(QStringLiteral("adresse locale ou privée")), qPrintable(f.reason));
}

void tst_Fetch::redirectionsAreFollowedUpToTheLimit_data()
{
    QTest::addColumn<int>("hops");
    QTest::addColumn<bool>("read");
    QTest::newRow("none") << 0 << true;
    QTest::newRow("at the limit") << kMaxRedirects << true;
    QTest::newRow("one past") << kMaxRedirects + 1 << false;
}

void tst_Fetch::redirectionsAreFollowedUpToTheLimit()
{
    QFETCH(int, hops);
    QFETCH(bool, read);
    LocalHttpServer server;
    QVERIFY(server.isListening());
    for (int i = 0; i < hops; ++i) {
        Answer a;
        a.status = 302;
        a.location = server.url(QStringLiteral("/r%1").arg(i + 1)).toLatin1();
        server.serve(QStringLiteral("/r%1").arg(i), a);
    }
    Answer page;
    page.body = "<html>recette</html>";
    server.serve(QStringLiteral("/r%1").arg(hops), page);

    const Fetched f = PageFetcher().fetch(QUrl(server.url("/r0")));
    QCOMPARE(f.ok(), read);
    if (read) {
        QCOMPARE(f.body, page.body);
        QCOMPARE(f.finalUrl.toString(), server.url(QStringLiteral("/r%1").arg(hops)));
    } else {
        QCOMPARE(f.reason, QStringLiteral("plus de 5 redirections"));
        QVERIFY(f.body.isEmpty());
    }
}

void tst_Fetch::failuresAreSaidInFrench_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing page") << "/absente" << "le serveur a répondu 404 Not Found";
    QTest::newRow("huge with its length") << "/enorme" << "plus de 10 Mo";
    QTest::newRow("huge without length") << "/enorme-sans-longueur" << "plus de 10 Mo";
    QTest::newRow("redirection elsewhere") << "/vers-ftp" << "redirection vers une adresse qui n'est ni http:// ni https://";
    QTest::newRow("other scheme") << "ftp://127.0.0.1/x" << "seules les adresses http:// et https:// sont lues";
    QTest::newRow("nobody there") << "http://127.0.0.1:1/x" << "connexion refusée";
    QTest::newRow("corrupt compression") << "/gzip-corrompu" << "réponse du serveur illisible (données corrompues ou mal compressées)";
}

void tst_Fetch::failuresAreSaidInFrench()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    LocalHttpServer server;
    Answer huge;
    huge.body = QByteArray(kMaxSourceBytes + 1, 'x');
    server.serve("/enorme", huge);
    huge.sendLength = false;
    server.serve("/enorme-sans-longueur", huge);
    Answer ftp;
    ftp.status = 301;
    ftp.location = "ftp://127.0.0.1/recette";
    server.serve("/vers-ftp", ftp);
    Answer gzip;
    gzip.headers = "Content-Encoding: gzip\r\n";
    gzip.body = QByteArray(5000, 'x');
    server.serve("/gzip-corrompu", gzip);

    const QString address = path.startsWith('/') ? server.url(path) : path;
    const Fetched f = PageFetcher().fetch(QUrl(address));
    QCOMPARE(f.reason, reason);
    QVERIFY(f.body.isEmpty());
    QCOMPARE(pageError(address, f.reason), QStringLiteral("La page %1 n'a pas pu être lue : %2.").arg(address, reason));
}

void tst_Fetch::answerAtTheSizeLimitIsRead()
{
    LocalHttpServer server;
    Answer full;
    full.body = QByteArray(kMaxSourceBytes, 'x');
    full.sendLength = false;
    server.serve("/pleine", full);
    const Fetched f = PageFetcher().fetch(QUrl(server.url("/pleine")));
    QVERIFY2(f.ok(), qPrintable(f.reason));
    QCOMPARE(f.body.size(), qsizetype(kMaxSourceBytes));
}

void tst_Fetch::endlessAnswerStopsBeingReadAtTheLimit()
{
    EndlessHttpServer server;
    const qint64 limit = 1024 * 1024;
    const Fetched f = PageFetcher().fetch(QUrl(server.url("/sans-fin")), limit);
    QCOMPARE(f.reason, QStringLiteral("plus de 1 Mo"));
    QVERIFY(f.body.isEmpty());
    QVERIFY2(f.received <= limit + 1, qPrintable(QString::number(f.received)));
    // Once the fetch is over nothing more is taken from the connection: what the server could
    // send is what was read, Qt's small buffer and the system's socket buffers.
    QTest::qWait(200);
    QVERIFY2(server.sent() < limit + 32 * 1024 * 1024, qPrintable(QString::number(server.sent())));
}

void tst_Fetch::slowAnswerEndsAtTheTimeout()
{
    LocalHttpServer server;
    Answer slow;
    slow.body = "<html>tard</html>";
    slow.delayMs = 5000;
    server.serve("/lente", slow);
    const Fetched f = PageFetcher(200).fetch(QUrl(server.url("/lente")));
    QCOMPARE(f.reason, QStringLiteral("pas de réponse complète en 1 s"));
    QVERIFY(f.body.isEmpty());
}

QTEST_GUILESS_MAIN(tst_Fetch)
#include "tst_fetch.moc"
