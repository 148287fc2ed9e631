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

// Runs `setup` (untimed) then `work` (timed): one warm-up and five measured runs.
Timing medianMs(const std::function<void()> &setup, const std::function<void()> &work)
{
    std::vector<double> cpu, wall;
    for (int run = 0; run < 6; ++run) {
        setup();
        const double startCpu = threadMs(), startWall = wallMs();
        work();
        if (run > 0) {
            cpu.push_back(threadMs() - startCpu);
            wall.push_back(wallMs() - startWall);
        }
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    return {cpu[cpu.size() / 2], wall[wall.size() / 2]};
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
    const Timing load = medianMs(closeTable, [&] { table.LoadPacket(packet); });
    const Timing shown = medianMs(closeTable, [&] {
        table.LoadPacket(packet);
        tavix::ApplyGridLayout(table);
        model.reload();
        shot = grid.grab();
    });
    const Timing gridOnly = medianMs(
        [&] {
            closeTable();
            table.LoadPacket(packet);
        },
        [&] {
            tavix::ApplyGridLayout(table);
            model.reload();
            shot = grid.grab();
        });

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
