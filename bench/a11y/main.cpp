// Times the two large card lists as a user of an assistive technology gets them: the program's
// main window on a real display, the accessibility bridge active and a client listening on the
// accessibility bus. On a generated base of N Notes (default 100,000) where one keyword is
// carried by one Note in ten:
//   - the Notes of that keyword (ResultWindow, about 3N/10 rows), as the selection dialog's Select
//     button lists them;
//   - every Note by date (DateListWindow, N rows), by the menu item Note > Open > by Date.
// For each: the time from the request until the window is shown, until the program is idle
// again and until the last event reached the client, and the number of accessibility events
// the client received meanwhile (by type); with a client that reads the tables, the cells it
// read and when. Every wait is bounded (--cap): past it the list is reported as "timeout" and
// the bench stops by itself.
//
// run.sh sets up the display (Xvfb), the private session and accessibility buses and the
// client (listener.py), then runs this program once per list:
//   bench/a11y/run.sh [--notes N] [--cap SECONDS] [--client listen|read|both] [--reference]
// Run alone, it measures whatever the environment gives it (without a bridge: the lists as
// they are with no client):
//   a11y [--notes N] [--list keyword|date|both] [--events FILE] [--cap SECONDS] [--quiet MS]

#include "core/session/session.h"
#include "gui/cards/cardentry.h"
#include "gui/retrieval/cardlists.h"
#include "gui/retrieval/datelistwindow.h"
#include "gui/retrieval/resultwindow.h"
#include "gui/shell/mainwindow.h"
#include "notebase.h"
#include "silentprompter.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

using namespace vlm;

namespace {

double seconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}
// The listener stamps its lines with the same clock.
double now() {
    return seconds(CLOCK_MONOTONIC);
}
double cpuNow() {
    return seconds(CLOCK_PROCESS_CPUTIME_ID);
}

// The listener's file, read as it grows: "<monotonic seconds> <event type>" per event.
class EventLog {
public:
    explicit EventLog(QString path) : file_(std::move(path)) {
        // What the listener wrote before this process started is not ours.
        if (!file_.fileName().isEmpty() && file_.open(QIODevice::ReadOnly))
            file_.seek(file_.size());
    }
    bool attached() const { return file_.isOpen(); }

    // Reads the lines written since the last call; returns how many there were (events and
    // the client's progress in reading tables).
    long read() {
        if (!attached()) return 0;
        long lines = 0;
        pending_ += file_.readAll();
        qsizetype start = 0;
        for (qsizetype nl; (nl = pending_.indexOf('\n', start)) >= 0; start = nl + 1) {
            const QByteArray line = pending_.mid(start, nl - start);
            const qsizetype space = line.indexOf(' ');
            if (line.startsWith('#') || space < 0) continue;
            const double stamp = line.left(space).toDouble();
            const QByteArray type = line.mid(space + 1);
            ++lines;
            if (type.startsWith("@read ")) {
                cellsRead_ += type.mid(6).toLong() - cellsInTable_;
                cellsInTable_ = type.mid(6).toLong();
                lastRead_ = std::max(lastRead_, stamp);
                continue;
            }
            cellsInTable_ = 0;
            last_ = std::max(last_, stamp);
            ++types_[type];
            ++count_;
        }
        pending_.remove(0, start);
        return lines;
    }
    // Forgets the counts so far (the lines stay read).
    void restart() {
        count_ = 0;
        last_ = 0;
        cellsRead_ = 0;
        lastRead_ = 0;
        types_.clear();
    }
    long count() const { return count_; }
    double lastStamp() const { return last_; }
    // Cells whose name the client read, and when it read the last one.
    long cellsRead() const { return cellsRead_; }
    double lastRead() const { return lastRead_; }
    // The most frequent types first.
    QString summary(int top = 6) const {
        std::vector<std::pair<long, QByteArray>> byCount;
        for (const auto& [type, n] : types_)
            byCount.emplace_back(n, type);
        std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        QStringList parts;
        for (int i = 0; i < int(byCount.size()); ++i) {
            if (i == top) {
                parts << QStringLiteral("%1 other types").arg(byCount.size() - size_t(top));
                break;
            }
            parts << QStringLiteral("%1 %2")
                         .arg(byCount[size_t(i)].second)
                         .arg(byCount[size_t(i)].first);
        }
        return parts.join(QStringLiteral(", "));
    }

private:
    QFile file_;
    QByteArray pending_;
    long count_ = 0;
    double last_ = 0;
    long cellsRead_ = 0;
    long cellsInTable_ = 0;
    double lastRead_ = 0;
    std::map<QByteArray, long> types_;
};

// Ends the process when a step has not come back by its deadline: a request that keeps the
// event loop busy can be stopped only from another thread.
class Watchdog {
public:
    Watchdog(const QString& what, double capSeconds, const QString& eventsPath)
        : thread_([this, what, capSeconds, eventsPath] {
              std::unique_lock lock(mutex_);
              const auto grace = std::chrono::duration<double>(capSeconds + 10);
              if (cv_.wait_for(lock, grace, [this] { return done_; })) return;
              EventLog log(eventsPath);
              log.read();
              std::printf("%-36s timeout: no answer after %.0f s (%ld events in the listener's "
                          "file so far)\n",
                          qPrintable(what), capSeconds, log.count());
              std::fflush(stdout);
              std::_Exit(3);
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        cv_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

struct Settled {
    bool timedOut = false;
    double idle = 0;      // the end of the program's last busy moment
    double lastEvent = 0; // the last event the client received (0: none)
};

// Runs the event loop until the program has been idle (using under a third of a core) and
// the client has received nothing for `quiet` seconds, or until `deadline`.
Settled settle(EventLog& log, double quiet, double deadline) {
    constexpr int kSliceMs = 20;
    double busyUntil = now();
    double eventsUntil = 0;
    double t = busyUntil, c = cpuNow();
    QEventLoop loop;
    for (;;) {
        QTimer::singleShot(kSliceMs, &loop, &QEventLoop::quit);
        loop.exec();
        const double t2 = now(), c2 = cpuNow();
        if (c2 - c > 0.3 * (t2 - t)) busyUntil = t2;
        if (log.read() > 0) eventsUntil = t2;
        t = t2;
        c = c2;
        if (t - std::max(busyUntil, eventsUntil) >= quiet) break;
        if (t > deadline) return {true, busyUntil, log.lastStamp()};
    }
    return {false, busyUntil, log.lastStamp()};
}

struct Options {
    double cap = 300;
    double quiet = 1.0;
    QString events;
};

void measure(const Options& o, EventLog& log, const QString& what,
             const std::function<void()>& request, const std::function<QWidget*()>& window) {
    log.read();
    log.restart();
    Watchdog watchdog(what, o.cap, o.events);
    const double t0 = now();
    request();
    QWidget* w = window();
    const double shown = now() - t0;
    const Settled s = settle(log, o.quiet, t0 + o.cap);
    const auto* grid = w ? w->findChild<QTableView*>() : nullptr;
    const int rows = grid ? grid->model()->rowCount() : -1;
    const QString events =
        log.attached() ? QString::number(log.count()) : QStringLiteral("(no listener)");
    if (!w || !w->isVisible()) std::printf("%-36s the window did not open\n", qPrintable(what));
    if (s.timedOut)
        std::printf("%-36s %6d rows  timeout after %.0f s: shown %.2f s, busy until %.2f s, "
                    "%s events so far\n",
                    qPrintable(what), rows, o.cap, shown, s.idle - t0, qPrintable(events));
    else
        std::printf("%-36s %6d rows  shown %7.2f s  idle %7.2f s  last event %7.2f s  "
                    "events %s\n",
                    qPrintable(what), rows, shown, s.idle - t0,
                    s.lastEvent > t0 ? s.lastEvent - t0 : 0.0, qPrintable(events));
    if (log.count() > 0) std::printf("    %s\n", qPrintable(log.summary()));
    if (log.cellsRead() > 0)
        std::printf("    the client read %ld cells, the last at %.2f s\n", log.cellsRead(),
                    log.lastRead() - t0);
    std::fflush(stdout);
}

template <class W> QWidget* openWindow() {
    for (QWidget* w : QApplication::allWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QCommandLineParser cli;
    cli.addHelpOption();
    cli.addOptions({
        {"notes", "Notes in the base (default 100000).", "N", "100000"},
        {"list", "keyword, date or both (default both).", "list", "both"},
        {"events", "The listener's file of events.", "file"},
        {"cap", "Longest wait for one list, in seconds (default 300).", "s", "300"},
        {"quiet", "Quiet time that ends a list, in milliseconds (default 1000).", "ms", "1000"},
    });
    cli.process(app);
    const int notes = std::max(10, cli.value("notes").toInt());
    const QString list = cli.value("list");
    Options o;
    o.events = cli.value("events");
    o.cap = cli.value("cap").toDouble();
    o.quiet = cli.value("quiet").toDouble() / 1000;

    QTemporaryDir tmp;
    vlm::bench::SilentPrompter prompter;
    Session ctx(prompter);
    ctx.base.createStartBase(tmp.filePath(QStringLiteral("bench.vlm")));
    const double g0 = now();
    bench::generateNotes(ctx, notes, 3 * notes, notes / 10);
    std::printf("Card lists on %d Notes, a keyword carried by %d of them (generated in %.1f s), "
                "platform %s\n",
                notes, notes / 10, now() - g0, qPrintable(QApplication::platformName()));

    // The main window as the program builds it on a base.
    MainWindow main(ctx);
    cards::connectCardMenus(ctx, main.cardMenus());
    retrieval::connectRetrieval(ctx, main.retrievalControls());
    main.load();
    main.show();

    EventLog log(o.events);
    {
        // The bridge comes up once it has reached the accessibility bus.
        Watchdog watchdog(QStringLiteral("main window"), o.cap, o.events);
        const double t0 = now();
        while (!QAccessible::isActive() && now() - t0 < 10)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        std::printf("accessibility bridge %s, listener %s\n",
                    QAccessible::isActive() ? "active" : "inactive",
                    log.attached() ? qPrintable(o.events) : "none");
        const Settled s = settle(log, o.quiet, t0 + o.cap);
        std::printf("%-36s %s  events %ld\n\n", "main window shown",
                    s.timedOut ? "timeout" : "settled", log.count());
        std::fflush(stdout);
        if (s.timedOut) return 3;
    }

    if (list == QLatin1String("keyword") || list == QLatin1String("both"))
        measure(
            o, log, QStringLiteral("Notes of a keyword (fGrid)"),
            [&] { retrieval::notesByKeyword(ctx, bench::targetKeyword()); },
            openWindow<retrieval::ResultWindow>);
    if (list == QLatin1String("date") || list == QLatin1String("both"))
        measure(
            o, log, QStringLiteral("every Note by date (FListSel)"),
            [&] { main.action(QStringLiteral("mNotebyDate"))->trigger(); },
            openWindow<retrieval::DateListWindow>);
    return 0;
}
