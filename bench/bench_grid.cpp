// Times a TAF selection from its packet text to the painted grid against loading the packet
// alone, in one process: median of 5 runs after a warm-up, CPU time of the UI thread (the
// offscreen platform paints on it). Usage: bench_grid [rows] [--png FILE] (default 100000).

#include "TafPacketGenerator.h"

#include "mainwin/GridLayout.h"
#include "mainwin/TafDBGrid.h"
#include "mainwin/TafGridModel.h"
#include "service/ResultTable.h"

#include <QApplication>
#include <QPixmap>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

double threadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double wallMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Timing
{
    double cpu;
    double wall;
};

struct Case
{
    std::function<void()> setup; // untimed
    std::function<void()> work;  // timed
};

// One warm-up and five measured runs of every case, the cases taking turns within each run so
// that the allocator's state and the neighbours' load weigh on all of them alike.
std::vector<Timing> medianMs(const std::vector<Case> &cases)
{
    std::vector<std::vector<double>> cpu(cases.size()), wall(cases.size());
    for (int run = 0; run < 6; ++run) {
        for (std::size_t c = 0; c < cases.size(); ++c) {
            cases[c].setup();
            const double startCpu = threadMs(), startWall = wallMs();
            cases[c].work();
            if (run > 0) {
                cpu[c].push_back(threadMs() - startCpu);
                wall[c].push_back(wallMs() - startWall);
            }
        }
    }
    std::vector<Timing> medians;
    for (std::size_t c = 0; c < cases.size(); ++c) {
        std::sort(cpu[c].begin(), cpu[c].end());
        std::sort(wall[c].begin(), wall[c].end());
        medians.push_back({cpu[c][cpu[c].size() / 2], wall[c][wall[c].size() / 2]});
    }
    return medians;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    int rows = 100000;
    QString png;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--png") && i + 1 < args.size())
            png = args[++i];
        else
            rows = args[i].toInt();
    }

    const QByteArray packet = generateTafPacket(rows);
    tavix::ResultTable table;
    tavix::TafGridModel model(table);
    tavix::TafDBGrid grid;
    grid.setModel(&model);
    grid.resize(1400, 800);
    grid.show();
    QApplication::processEvents();

    const auto closeTable = [&] {
        table.LoadPacket(QByteArray());
        model.reload();
        QApplication::processEvents();
    };
    QPixmap shot;
    const auto loadPacket = [&] { table.LoadPacket(packet); };
    const auto showResult = [&] {
        tavix::ApplyGridLayout(table);
        model.reload();
        shot = grid.grab();
    };
    const auto closeAndLoad = [&] {
        closeTable();
        loadPacket();
    };
    const std::vector<Timing> t = medianMs({{closeTable, loadPacket},
                                            {closeTable, [&] { loadPacket(), showResult(); }},
                                            {closeAndLoad, showResult}});
    const Timing &load = t[0], &shown = t[1], &gridOnly = t[2];

    std::printf("%d rows, packet %.1f MB, grid %dx%d, %d columns shown\n", rows,
                double(packet.size()) / 1e6, grid.width(), grid.height(), model.columnCount());
    std::printf("  %-44s %8.1f ms cpu %8.1f ms wall\n", "LoadPacket", load.cpu, load.wall);
    std::printf("  %-44s %8.1f ms cpu %8.1f ms wall\n",
                "LoadPacket + layout + model reset + first paint", shown.cpu, shown.wall);
    std::printf("  %-44s %8.1f ms cpu %8.1f ms wall\n",
                "of which layout + model reset + first paint", gridOnly.cpu, gridOnly.wall);
    std::printf("  ratio %.2fx cpu, %.2fx wall; from the parts %.2fx cpu (target <= 1.30x)\n",
                shown.cpu / load.cpu, shown.wall / load.wall, (load.cpu + gridOnly.cpu) / load.cpu);
    if (!png.isEmpty())
        shot.save(png);
    return 0;
}
