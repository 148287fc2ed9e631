// Times the result table against pugixml on the same generated TAF packets, in one process:
// median of 5 runs after a warm-up. Usage: bench_packet [rows…] (default 10000 100000 1000000).

#include "TafPacketGenerator.h"

#include "service/ResultTable.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

// CPU time of this thread (user and system, page faults included): on a machine shared
// with other work, wall time would mostly measure the neighbours.
double threadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs `setup` (untimed) then `work` (timed): one warm-up and five measured runs.
double medianMs(const std::function<void()> &setup, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < 6; ++run) {
        setup();
        const double start = threadMs();
        work();
        const double took = threadMs() - start;
        if (run > 0)
            times.push_back(took);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct StringWriter : pugi::xml_writer
{
    std::string text;
    void write(const void *data, std::size_t size) override
    {
        text.append(static_cast<const char *>(data), size);
    }
};

// Distance of every row from a centre into XqYq (Gauss coordinates when present, Cassini
// otherwise), then the zone filter; returns the rows inside the radius.
int annotateZone(tavix::ResultTable &table, double radius)
{
    table.setFiltered(false);
    const int nord = table.fieldByName(QStringLiteral("NordGauss"));
    const int est = table.fieldByName(QStringLiteral("EstGauss"));
    const int x = table.fieldByName(QStringLiteral("XCassini"));
    const int y = table.fieldByName(QStringLiteral("YCassini"));
    const int distance = table.fieldByName(QStringLiteral("XqYq"));
    const int rows = table.rowCount();
    for (int r = 0; r < rows; ++r) {
        const bool gauss = !table.isNullAt(r, nord) && !table.isNullAt(r, est);
        const double dx = gauss ? table.numberAt(r, est) - 1395000 : table.numberAt(r, x);
        const double dy = gauss ? table.numberAt(r, nord) - 4990000 : table.numberAt(r, y);
        table.setNumberAt(r, distance, std::hypot(dx, dy));
    }
    table.setFilter(QString::asprintf("XqYq<%f", radius));
    table.setFiltered(true);
    const int inside = table.recordCount();
    table.setFiltered(false);
    return inside;
}

void report(const char *what, double ms, double reference, double megabytes)
{
    std::printf("  %-34s %9.1f ms %8.0f MB/s %6.2fx\n", what, ms, megabytes / (ms / 1000),
                ms / reference);
}

void benchmark(int rows)
{
    const QByteArray packet = generateTafPacket(rows);
    const double megabytes = double(packet.size()) / 1e6;
    std::printf("%d rows, packet %.1f MB\n", rows, megabytes);

    std::vector<char> buffer(std::size_t(packet.size()));
    const auto copyPacket = [&] { std::memcpy(buffer.data(), packet.constData(), buffer.size()); };
    const double copy = medianMs([] {}, copyPacket);
    const double parse = medianMs(copyPacket, [&] {
        pugi::xml_document doc;
        if (!doc.load_buffer_inplace(buffer.data(), buffer.size()))
            std::abort();
    });
    const double parseCopying =
        medianMs([] {},
                 [&] {
                     pugi::xml_document doc;
                     if (!doc.load_buffer(packet.constData(), std::size_t(packet.size())))
                         std::abort();
                 });

    tavix::ResultTable table;
    const double load = medianMs([] {}, [&] { table.LoadPacket(packet); });
    QByteArray written;
    const double save =
        medianMs([&] { written = QByteArray(); }, [&] { written = table.PacketText(); });

    pugi::xml_document doc;
    doc.load_buffer(packet.constData(), std::size_t(packet.size()));
    StringWriter writer;
    const auto resetWriter = [&] {
        writer.text = std::string();
        writer.text.reserve(std::size_t(packet.size()) + (1 << 20));
    };
    const double pugiSave = medianMs(resetWriter, [&] { doc.save(writer, "", pugi::format_raw); });
    int inside = 0;
    const double zone = medianMs([] {}, [&] { inside = annotateZone(table, 10000); });

    report("memcpy of the packet", copy, parse, megabytes);
    report("pugixml in-place parse (reference)", parse, parse, megabytes);
    report("pugixml parse of const bytes", parseCopying, parse, megabytes);
    report("LoadPacket", load, parse, megabytes);
    report("PacketText", save, parse, megabytes);
    report("pugixml save (format_raw)", pugiSave, parse, megabytes);
    report("zone annotation + filter", zone, parse, megabytes);
    std::printf("  PacketText/pugixml save %.2fx; written %.1f MB; %d rows inside the zone\n",
                save / pugiSave, double(written.size()) / 1e6, inside);
    std::printf("  table resident %.0f bytes/row, %.2fx the packet (packet %.0f bytes/row)\n\n",
                double(table.memoryBytes()) / rows, double(table.memoryBytes()) / packet.size(),
                double(packet.size()) / rows);
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {10000, 100000, 1000000};
    for (int rows : sizes)
        benchmark(rows);
    return 0;
}
