// The pieces of trellicap-web that decide what is safe and what is shown, without a server:
// escaping, the command line, the search form, passwords and users, logins, rate limits and
// the remembered counts.
#include <gtest/gtest.h>

#include <crypt.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "web/html.h"
#include "web/listen_address.h"
#include "web/login_sessions.h"
#include "web/password_hash.h"
#include "web/rate_limiter.h"
#include "web/search_cache.h"
#include "web/search_request.h"
#include "web/users_file.h"
#include "web/web_options.h"

namespace trellicap::web {
namespace {

TEST(WebText, everyMarkupCharacterIsEscapedAndNumbersAreGrouped) {
    EXPECT_EQ(htmlEscape(u"<script>alert(1)</script>"),
              QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;"));
    EXPECT_EQ(htmlEscape(u"\"a\" & 'b'"), QStringLiteral("&quot;a&quot; &amp; &#39;b&#39;"));
    EXPECT_EQ(htmlEscape(QString::fromUtf8("Weld \u00e9 \u20ac")),
              QString::fromUtf8("Weld \u00e9 \u20ac"));
    EXPECT_EQ(queryString({{"q", "a&b=c d"}, {"page", "2"}}),
              QStringLiteral("q=a%26b%3Dc%20d&page=2"));
    EXPECT_EQ(groupedNumber(100000), QStringLiteral("100,000"));
    EXPECT_EQ(groupedNumber(999), QStringLiteral("999"));
}

TEST(WebCommandLine, listensOnLoopbackUnlessUsersLogIn) {
    EXPECT_TRUE(isLoopback(parseListenAddress(QStringLiteral("127.0.0.1:8080")).address));
    EXPECT_TRUE(isLoopback(parseListenAddress(QStringLiteral("127.3.2.1:1")).address));
    EXPECT_TRUE(isLoopback(parseListenAddress(QStringLiteral("[::1]:8080")).address));
    EXPECT_TRUE(isLoopback(parseListenAddress(QStringLiteral("localhost:8080")).address));
    for (const char* outward : {"0.0.0.0:8080", "192.168.1.20:80", "[::]:8080", "10.0.0.1:443"}) {
        const ListenParse parse = parseListenAddress(QString::fromLatin1(outward));
        ASSERT_TRUE(parse.ok()) << outward;
        EXPECT_FALSE(isLoopback(parse.address)) << outward;
    }
    for (const char* bad : {"8080", "127.0.0.1", "127.0.0.1:http", "127.0.0.1:70000",
                            "256.1.1.1:80", "::1:8080", "office-server:8080", ":8080"}) {
        EXPECT_FALSE(parseListenAddress(QString::fromLatin1(bad)).ok()) << bad;
    }
    EXPECT_EQ(listenText(parseListenAddress(QStringLiteral("[::1]:9")).address),
              QStringLiteral("[::1]:9"));

    const OptionsRead defaults = readWebOptions({});
    ASSERT_TRUE(defaults.ok());
    EXPECT_EQ(listenText(defaults.options.listen), QStringLiteral("127.0.0.1:8080"));
    EXPECT_TRUE(defaults.options.archivePath.endsWith(QStringLiteral("/archive.sqlite")));

    const OptionsRead open = readWebOptions({"--listen", "0.0.0.0:8080"});
    EXPECT_FALSE(open.ok());
    EXPECT_TRUE(open.error.contains(QStringLiteral("--users")));
    EXPECT_TRUE(readWebOptions({"--listen", "0.0.0.0:8080", "--users", "u"}).ok());

    EXPECT_FALSE(readWebOptions({"--archive", "a", "--server", "postgresql://u@h/d"}).ok());
    EXPECT_FALSE(readWebOptions({"--server", "postgresql://u:secret@h/d"}).ok());
    EXPECT_FALSE(readWebOptions({"--add-user", "anna"}).ok());
    EXPECT_FALSE(readWebOptions({"--add-user", "an:na", "--users", "u"}).ok());
    EXPECT_TRUE(readWebOptions({"--add-user", "anna", "--users", "u"}).ok());
    EXPECT_FALSE(readWebOptions({"--connections", "0"}).ok());
    EXPECT_FALSE(readWebOptions({"--rate-limit", "-1"}).ok());
    EXPECT_FALSE(readWebOptions({"--quiet", "--quiet"}).ok());
    EXPECT_FALSE(readWebOptions({"archive.sqlite"}).ok());
    EXPECT_EQ(readWebOptions({"--rate-limit=0"}).options.rateLimit, 0);
}

QueryParams params(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    QueryParams made;
    for (const auto& [name, value] : pairs) {
        made[QString::fromLatin1(name)] = QString::fromUtf8(value);
    }
    return made;
}

TEST(WebSearchForm, readsWhatWasTypedAndNamesWhatCannotBeUsed) {
    const SearchRequest typed = readSearchRequest(params({{"q", "  %' OR 1=1 --  "},
                                                          {"from", "2026-12-01"},
                                                          {"to", "2026-12-08"},
                                                          {"slot", "7"},
                                                          {"model", "TFT"},
                                                          {"source", "file"},
                                                          {"all", "1"},
                                                          {"sort", "slot"},
                                                          {"dir", "asc"},
                                                          {"size", "50"},
                                                          {"page", "3"}}));
    EXPECT_TRUE(typed.errors.isEmpty()) << typed.errors.join(' ').toStdString();
    EXPECT_EQ(typed.filter.text, QStringLiteral("%' OR 1=1 --"));  // a text to look for
    ASSERT_TRUE(typed.filter.fromMs && typed.filter.toMs);
    EXPECT_EQ(*typed.filter.toMs - *typed.filter.fromMs,
              8LL * 24 * 3600 * 1000);  // to's day included
    EXPECT_EQ(typed.filter.slot, 7);
    EXPECT_EQ(typed.filter.model, QStringLiteral("tft"));
    EXPECT_EQ(typed.filter.source, QStringLiteral("file"));
    EXPECT_TRUE(typed.filter.allVersions);
    EXPECT_EQ(typed.orderBy, archive::kColSlot);
    EXPECT_TRUE(typed.form.ascending);
    EXPECT_EQ(typed.offset(), 100);

    // The links keep the search and change only the page or the order.
    const QString next = searchLink(typed.form, 4);
    for (const char* part : {"q=%25%27%20OR%201%3D1%20--", "slot=7", "all=1", "sort=slot",
                             "dir=asc", "size=50", "page=4"}) {
        EXPECT_TRUE(next.contains(QString::fromLatin1(part))) << part << " " << next.toStdString();
    }
    EXPECT_FALSE(
        sortLink(typed.form, QStringLiteral("gain"), false).contains(QStringLiteral("page=")));

    const SearchRequest empty = readSearchRequest({});
    EXPECT_TRUE(empty.errors.isEmpty());
    EXPECT_FALSE(empty.filter.allVersions);
    EXPECT_EQ(empty.orderBy, archive::kColArrivedMs);
    EXPECT_EQ(empty.page, 1);
    EXPECT_EQ(empty.form.pageSize, kDefaultPageSize);

    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"slot", "0"},
             {"slot", "201"},
             {"slot", "seven"},
             {"from", "2026-13-45"},
             {"to", "yesterday"},
             {"model", "x"},
             {"source", "../x"},
             {"sort", "uuid;drop"},
             {"dir", "up"},
             {"size", "1000000"},
             {"page", "0"},
             {"page", "-1"},
             {"page", "99999999999999999999"}}) {
        const SearchRequest bad = readSearchRequest(params({{name, value}}));
        EXPECT_EQ(bad.errors.size(), 1) << name << "=" << value;
    }
    EXPECT_EQ(
        readSearchRequest(params({{"from", "2026-12-08"}, {"to", "2026-12-01"}})).errors.size(), 1);
    const SearchRequest longText = readSearchRequest(
        {{QStringLiteral("q"), QString(kLongestSearchText + 1, QLatin1Char('a'))}});
    EXPECT_EQ(longText.errors.size(), 1);

    // Two searches with the same filter share one key; any difference makes another.
    EXPECT_EQ(filterKey(readSearchRequest(params({{"q", "a"}, {"page", "2"}})).filter),
              filterKey(readSearchRequest(params({{"q", "a"}, {"sort", "slot"}})).filter));
    EXPECT_NE(filterKey(readSearchRequest(params({{"q", "a"}})).filter),
              filterKey(readSearchRequest(params({{"q", "a"}, {"all", "1"}})).filter));
}

TEST(WebPasswords, argon2idAndBcryptHashesAcceptOnlyTheirPassword) {
    const QByteArray hash = hashPassword(QStringLiteral("correct horse"));
    EXPECT_TRUE(hash.startsWith("$argon2id$v=19$m=19456,t=2,p=1$"));
    EXPECT_TRUE(isKnownHash(hash));
    EXPECT_TRUE(verifyPassword(QStringLiteral("correct horse"), hash));
    EXPECT_FALSE(verifyPassword(QStringLiteral("correct horsE"), hash));
    EXPECT_FALSE(verifyPassword(QString(), hash));
    EXPECT_NE(hashPassword(QStringLiteral("correct horse")), hash);  // a fresh salt each time

    // A bcrypt hash made by the system, as htpasswd -B makes one.
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    ASSERT_NE(crypt_gensalt_rn("$2b$", 5, nullptr, 0, setting, sizeof(setting)), nullptr);
    crypt_data data{};
    const QByteArray bcrypt(crypt_r("battery staple", setting, &data));
    ASSERT_TRUE(bcrypt.startsWith("$2b$05$"));
    EXPECT_TRUE(isKnownHash(bcrypt));
    EXPECT_TRUE(verifyPassword(QStringLiteral("battery staple"), bcrypt));
    EXPECT_FALSE(verifyPassword(QStringLiteral("battery stapler"), bcrypt));

    for (const char* unknown : {"", "plain", "$1$abc$def", "$argon2i$v=19$m=1,t=1,p=1$x$y"}) {
        EXPECT_FALSE(isKnownHash(unknown)) << unknown;
        EXPECT_FALSE(verifyPassword(QStringLiteral("plain"), unknown)) << unknown;
    }
}

TEST(WebUsers, theFileKeepsOneLinePerUserForItsOwnerOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("users"));
    const QByteArray anna = hashPassword(QStringLiteral("a"));
    ASSERT_TRUE(writeUser(path, QStringLiteral("anna"), anna).isEmpty());
    ASSERT_TRUE(
        writeUser(path, QStringLiteral("bob"), hashPassword(QStringLiteral("b"))).isEmpty());
    const QByteArray newer = hashPassword(QStringLiteral("a2"));
    ASSERT_TRUE(writeUser(path, QStringLiteral("anna"), newer).isEmpty());
    EXPECT_EQ(QFile(path).permissions() &
                  ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
              0);
    const UsersRead read = readUsersFile(path);
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    ASSERT_EQ(read.users.size(), 2u);
    EXPECT_EQ(read.users[0].name, QStringLiteral("anna"));
    EXPECT_EQ(hashOf(read.users, QStringLiteral("anna")), newer);
    EXPECT_FALSE(hashOf(read.users, QStringLiteral("carol")));

    const auto fileWith = [&dir](const QByteArray& text) {
        const QString bad = dir.filePath(QStringLiteral("bad"));
        QFile file(bad);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return bad;
    };
    const UsersRead commented = readUsersFile(fileWith("# the office\n\nanna:" + anna + "\n"));
    EXPECT_TRUE(commented.error.isEmpty());
    const UsersRead plain = readUsersFile(fileWith("# the office\nanna:secret\n"));
    EXPECT_TRUE(plain.users.empty());
    EXPECT_TRUE(plain.error.contains(QStringLiteral("line 2"))) << plain.error.toStdString();
    EXPECT_TRUE(readUsersFile(fileWith("anna:" + anna + "\nanna:" + anna + "\n"))
                    .error.contains(QStringLiteral("twice")));
    EXPECT_FALSE(readUsersFile(fileWith("# nobody\n")).error.isEmpty());
    EXPECT_FALSE(readUsersFile(dir.filePath(QStringLiteral("missing"))).error.isEmpty());
}

TEST(WebLoginSessions, aSessionLastsWhileUsedAndEndsAtLogoutOrAfterADay) {
    qint64 now = 0;
    LoginSessions sessions([&now] { return now; });
    const QString token = sessions.start(QStringLiteral("anna"));
    EXPECT_EQ(token.size(), 43);
    EXPECT_NE(sessions.start(QStringLiteral("anna")), token);
    EXPECT_EQ(sessions.userOf(token), QStringLiteral("anna"));
    EXPECT_FALSE(sessions.userOf(token + QLatin1Char('x')));
    // Used every seven hours it lasts, up to a day.
    for (int i = 0; i < 3; ++i) {
        now += 7LL * 3600 * 1000;
        EXPECT_EQ(sessions.userOf(token), QStringLiteral("anna")) << i;
    }
    now += 3LL * 3600 * 1000;
    EXPECT_FALSE(sessions.userOf(token));
    // Left alone for eight hours, it ends.
    const QString idle = sessions.start(QStringLiteral("bob"));
    now += LoginSessions::kIdleMs;
    EXPECT_FALSE(sessions.userOf(idle));
    const QString ended = sessions.start(QStringLiteral("carol"));
    sessions.end(ended);
    EXPECT_FALSE(sessions.userOf(ended));
}

TEST(WebRateLimit, aBurstPassesThenTheClientWaitsForItsRate) {
    qint64 now = 0;
    RateLimiter limiter(2, 4, [&now] { return now; });
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(limiter.allow(QStringLiteral("a"))) << i;
    }
    EXPECT_FALSE(limiter.allow(QStringLiteral("a")));
    EXPECT_EQ(limiter.secondsUntilNext(QStringLiteral("a")), 1);
    EXPECT_TRUE(limiter.allow(QStringLiteral("b")));  // each client its own bucket
    now += 500;
    EXPECT_TRUE(limiter.allow(QStringLiteral("a")));
    EXPECT_FALSE(limiter.allow(QStringLiteral("a")));
    now += 10000;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(limiter.allow(QStringLiteral("a"))) << i;  // never more than the burst
    }
    EXPECT_FALSE(limiter.allow(QStringLiteral("a")));
    RateLimiter none(0, 0);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(none.allow(QStringLiteral("a")));
    }
}

SearchKeys keysOf(int count) {
    auto keys = std::make_shared<std::vector<archive::VersionKey>>();
    for (int i = 0; i < count; ++i) {
        keys->push_back({QString::number(i), 1});
    }
    return keys;
}

TEST(WebSearchCache, aResultIsMadeOncePerSearchAndArchiveState) {
    SearchCache cache(10);
    int made = 0;
    const auto make = [&made] {
        ++made;
        return keysOf(4);
    };
    const SearchKeys first = cache.get(QStringLiteral("a"), QStringLiteral("s1"), make);
    ASSERT_TRUE(first);
    EXPECT_EQ(cache.get(QStringLiteral("a"), QStringLiteral("s1"), make), first);
    EXPECT_EQ(made, 1);
    EXPECT_NE(cache.get(QStringLiteral("a"), QStringLiteral("s2"), make), first);  // changed
    EXPECT_EQ(made, 2);
    // Over ten keys the oldest results go.
    ASSERT_TRUE(cache.get(QStringLiteral("b"), QStringLiteral("s2"), make));
    EXPECT_EQ(cache.results(), 2u);
    ASSERT_TRUE(cache.get(QStringLiteral("a"), QStringLiteral("s1"), make));
    EXPECT_EQ(made, 4);
    // A failure is not remembered.
    EXPECT_FALSE(cache.get(QStringLiteral("c"), QStringLiteral("s2"), [] { return SearchKeys(); }));
    EXPECT_TRUE(cache.get(QStringLiteral("c"), QStringLiteral("s2"), make));

    // Many asking at once: one makes it, the others take it.
    SearchCache shared;
    std::atomic<int> runs = 0;
    std::atomic<int> right = 0;
    std::vector<std::thread> askers;
    for (int i = 0; i < 8; ++i) {
        askers.emplace_back([&] {
            const SearchKeys keys = shared.get(QStringLiteral("k"), QStringLiteral("s"), [&runs] {
                ++runs;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                return keysOf(7);
            });
            right += keys && keys->size() == 7 ? 1 : 0;
        });
    }
    for (std::thread& asker : askers) {
        asker.join();
    }
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(right, 8);
}

}  // namespace
}  // namespace trellicap::web
