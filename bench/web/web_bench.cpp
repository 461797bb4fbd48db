// trellicap-web under an office's load: 20 clients at once over loopback against the server
// process over an archive of 100,000 records (bench_archive.h). Goals: a search answers in
// <= 100 ms at the 95th percentile, a record page in <= 50 ms. Each client loops: a search
// from a mix (the newest first, a text, a slot, a model, a day, a page deep in the results, a
// sort by slot), then a record page (three times in four one of the 250 newest records, as an
// office opens what it just found; else any of the 100,000), its plot as SVG (drawn afresh
// for a version not shown before) and a thumbnail of the results. The first search and record page
// of the fresh server (nothing remembered yet) are measured apart.
//   build/bench/web/web_bench [--benchmark_counters_tabular=true]
#include <httplib.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <thread>

#include "bench_archive.h"
#include "qt_bench_main.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClients = 20;
constexpr auto kLoadTime = std::chrono::seconds(30);

struct Samples {
    std::mutex mutex;
    std::vector<double> ms;
    int failures = 0;
    void add(double value, bool ok) {
        std::lock_guard lock(mutex);
        ms.push_back(value);
        failures += ok ? 0 : 1;
    }
    double percentile(double p) {
        std::lock_guard lock(mutex);
        if (ms.empty()) {
            return 0;
        }
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const auto at = static_cast<std::size_t>(std::ceil(p / 100.0 * sorted.size())) - 1;
        return sorted[std::min(at, sorted.size() - 1)];
    }
};

class Server {
public:
    explicit Server(const QString& archive) {
        m_process.start(
            QStringLiteral(TRELLICAP_WEB_PATH),
            {"--archive", archive, "--listen", "127.0.0.1:0", "--quiet", "--rate-limit", "0"});
        QByteArray out;
        while (!out.contains('\n') && m_process.waitForReadyRead(30000)) {
            out += m_process.readAllStandardOutput();
        }
        const auto match =
            QRegularExpression(QStringLiteral(":(\\d+)/")).match(QString::fromUtf8(out));
        m_port = match.hasMatch() ? match.captured(1).toInt() : 0;
    }
    ~Server() {
        m_process.terminate();
        m_process.waitForFinished(10000);
    }
    [[nodiscard]] int port() const { return m_port; }

private:
    QProcess m_process;
    int m_port = 0;
};

std::vector<std::string> allRecords(const QString& path) {
    std::vector<std::string> uuids;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("ids"));
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (db.open()) {
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT uuid FROM records ORDER BY uuid"));
        while (query.next()) {
            uuids.push_back(query.value(0).toString().toStdString());
        }
    }
    return uuids;
}

// The records a results page links to, in its order (a plain scan: the clients share the
// server's two cores, and should take as little of them as they can).
std::vector<std::string> uuidsOn(const std::string& html) {
    std::vector<std::string> found;
    const std::string link = "/record/";
    for (std::size_t at = html.find(link); at != std::string::npos; at = html.find(link, at + 1)) {
        const std::string uuid = html.substr(at + link.size(), 36);
        if (uuid.size() == 36 && (found.empty() || found.back() != uuid)) {
            found.push_back(uuid);
        }
    }
    return found;
}

// The machine's load while the clients ran (other programs share its cores).
std::string loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed().toStdString() : "unknown";
}

double timed(httplib::Client& client, const std::string& path, bool* ok,
             std::string* body = nullptr) {
    const auto start = Clock::now();
    const auto answer = client.Get(path, {{"Accept-Encoding", "gzip, deflate"}});
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    *ok = answer && answer->status == 200;
    if (body && answer) {
        *body = answer->body;
    }
    return ms;
}

const std::vector<std::string> kSearches = {
    "/",
    "/?q=smith%2012",
    "/?slot=7",
    "/?model=dac",
    "/?from=2026-03-02&to=2026-03-08",
    "/?q=axle%20body&model=tft",
    "/?sort=slot&dir=asc",
    "/?q=depot%20north&page=3",
};

void webUnderLoad(benchmark::State& state) {
    const QString path = QStringLiteral(TRELLICAP_WEB_BENCH_ARCHIVE);
    if (!trellicap::bench::ensureBenchArchive(path)) {
        state.SkipWithError("the archive could not be made");
        return;
    }
    const std::vector<std::string> everyRecord = allRecords(path);
    for (auto _ : state) {
        Server server(path);
        if (server.port() == 0) {
            state.SkipWithError("trellicap-web did not start");
            return;
        }
        httplib::Client first("127.0.0.1", server.port());
        bool ok = false;
        std::string page;
        const double coldSearch = timed(first, "/", &ok, &page);
        const double coldText = timed(first, "/?q=okafor%2042", &ok);
        const std::vector<std::string> newest = uuidsOn(page);
        const double coldRecord =
            newest.empty() ? 0 : timed(first, "/record/" + newest.front(), &ok);
        const double coldPlot =
            newest.empty() ? 0 : timed(first, "/plot/" + newest.front() + "/1.svg", &ok);
        // The 250 newest records: what the office has just been finding.
        std::vector<std::string> recent;
        for (int p = 1; p <= 10; ++p) {
            std::string body;
            timed(first, "/?page=" + std::to_string(p), &ok, &body);
            for (const std::string& uuid : uuidsOn(body)) {
                recent.push_back(uuid);
            }
        }
        const double deepPage = timed(first, "/?page=3900", &ok);

        Samples searches;
        Samples recentRecords;
        Samples anyRecords;
        Samples recentPlots;
        Samples anyPlots;
        Samples thumbnails;
        std::atomic<long> requests = 0;
        const auto end = Clock::now() + kLoadTime;
        std::vector<std::thread> clients;
        for (int c = 0; c < kClients; ++c) {
            clients.emplace_back([&, c] {
                std::mt19937 random(static_cast<unsigned>(c) * 7919u + 1);
                httplib::Client client("127.0.0.1", server.port());
                client.set_keep_alive(true);
                client.set_read_timeout(60);
                for (std::size_t loop = c; Clock::now() < end; ++loop) {
                    bool good = false;
                    std::string results;
                    const double search =
                        timed(client, kSearches[loop % kSearches.size()], &good, &results);
                    searches.add(search, good);
                    const bool anyOne = random() % 4 == 0;
                    const std::string& uuid = anyOne ? everyRecord[random() % everyRecord.size()]
                                                     : recent[random() % recent.size()];
                    const double record = timed(client, "/record/" + uuid, &good);
                    (anyOne ? anyRecords : recentRecords).add(record, good);
                    // The plot, as a browser that has not shown this version yet fetches it.
                    const double plot = timed(client, "/plot/" + uuid + "/1.svg", &good);
                    (anyOne ? anyPlots : recentPlots).add(plot, good);
                    const std::vector<std::string> shown = uuidsOn(results);
                    if (!shown.empty()) {
                        const double thumbnail = timed(
                            client, "/thumb/" + shown[random() % shown.size()] + "/1.png", &good);
                        thumbnails.add(thumbnail, good);
                    }
                    requests += 4;
                }
            });
        }
        for (std::thread& client : clients) {
            client.join();
        }
        const double seconds = std::chrono::duration<double>(kLoadTime).count();
        std::printf("\nload average after the run (1, 5, 15 minutes): %s\n", loadAverage().c_str());
        std::printf(
            "trellicap-web, %d clients for %.0f s over loopback, %zu records; "
            "%.0f requests a second\n",
            kClients, seconds, everyRecord.size(), requests / seconds);
        std::printf("%-36s %7s %8s %8s %8s %8s %6s\n", "", "count", "p50 ms", "p95 ms", "p99 ms",
                    "max ms", "failed");
        for (auto [name, samples] :
             {std::pair<const char*, Samples*>{"search (mix of 8)", &searches},
              {"record page, one of 250 newest", &recentRecords},
              {"record page, any of 100,000", &anyRecords},
              {"its plot (SVG), one of 250 newest", &recentPlots},
              {"its plot (SVG), any of 100,000", &anyPlots},
              {"thumbnail", &thumbnails}}) {
            std::printf("%-36s %7zu %8.1f %8.1f %8.1f %8.1f %6d\n", name, samples->ms.size(),
                        samples->percentile(50), samples->percentile(95), samples->percentile(99),
                        samples->percentile(100), samples->failures);
        }
        std::printf(
            "fresh server, one client: first search %.1f ms, first text search %.1f ms, "
            "first record page %.1f ms and its plot %.1f ms, page 3,900 of the newest "
            "%.1f ms\n",
            coldSearch, coldText, coldRecord, coldPlot, deepPage);
        std::printf(
            "goals: search p95 %.1f ms (<= 100: %s), record page p95 %.1f ms over the "
            "newest, %.1f ms over any (<= 50)\n\n",
            searches.percentile(95), searches.percentile(95) <= 100 ? "met" : "NOT met",
            recentRecords.percentile(95), anyRecords.percentile(95));
        state.counters["search_p95_ms"] = searches.percentile(95);
        state.counters["record_recent_p95_ms"] = recentRecords.percentile(95);
        state.counters["record_any_p95_ms"] = anyRecords.percentile(95);
        state.counters["thumbnail_p95_ms"] = thumbnails.percentile(95);
        state.counters["plot_any_p95_ms"] = anyPlots.percentile(95);
        state.counters["requests_per_s"] = requests / seconds;
        state.counters["failed"] = searches.failures + recentRecords.failures +
                                   anyRecords.failures + recentPlots.failures + anyPlots.failures +
                                   thumbnails.failures;
    }
}
BENCHMARK(webUnderLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QCoreApplication>(argc, argv);
}
