#include "DemoImages.h"

#include "AnswerCache.h"
#include "Database.h"
#include "DemoRandom.h"
#include "ImageStore.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <thread>

namespace tafserver {
namespace {

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

QString pfCode(const ImagePoint &p)
{
    // PFxx/yyyw/zzzz[s], as surveyors write it.
    return QStringLiteral("PF%1/%2/%3")
        .arg(p.pf, 2, 10, QLatin1Char('0'))
        .arg(q(p.foglio), q(p.comune));
}

void drawPfMark(QPainter &painter, QPointF at, const QColor &colour)
{
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, 9, 9);
    painter.drawLine(at + QPointF(-14, 0), at + QPointF(14, 0));
    painter.drawLine(at + QPointF(0, -14), at + QPointF(0, 14));
}

void drawNorthArrow(QPainter &painter, QPointF at)
{
    QPainterPath arrow;
    arrow.moveTo(at + QPointF(0, -22));
    arrow.lineTo(at + QPointF(8, 8));
    arrow.lineTo(at + QPointF(0, 2));
    arrow.lineTo(at + QPointF(-8, 8));
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
    painter.drawText(QRectF(at.x() - 10, at.y() + 8, 20, 16), Qt::AlignCenter, QStringLiteral("N"));
}

// The detail monograph: a plan sketch of the spot with measured ties to the PF.
void drawMonograph(QPainter &painter, const ImagePoint &p, DemoRandom &rng)
{
    painter.fillRect(0, 0, 640, 480, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawText(QRectF(0, 8, 640, 24), Qt::AlignCenter,
                     QStringLiteral("MONOGRAFIA %1").arg(pfCode(p)));
    painter.setPen(QPen(Qt::darkGray, 2));
    const double road = rng.between(300, 360);
    painter.drawLine(QPointF(20, road), QPointF(620, road));
    painter.drawLine(QPointF(20, road + 50), QPointF(620, road + 50));
    const QRectF building(rng.between(120, 260), rng.between(90, 140), rng.between(150, 220),
                          rng.between(110, 150));
    painter.setPen(QPen(Qt::black, 3));
    painter.setBrush(QColor(230, 230, 230));
    painter.drawRect(building);
    const QPointF pf(building.right() + rng.between(30, 90), road - rng.between(20, 60));
    painter.setPen(QPen(Qt::blue, 1, Qt::DashLine));
    for (const QPointF corner : {building.bottomRight(), building.topRight()}) {
        painter.drawLine(pf, corner);
        const double metres = std::hypot(pf.x() - corner.x(), pf.y() - corner.y()) / 12.0;
        painter.drawText((pf + corner) / 2 + QPointF(6, 0), QString::number(metres, 'f', 2));
    }
    drawPfMark(painter, pf, Qt::red);
    drawNorthArrow(painter, QPointF(590, 70));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(20, 440, 600, 30), Qt::AlignLeft | Qt::AlignVCenter, q(p.description));
}

// A photo-like view: sky, ground, a wall in perspective and the marker on it.
void drawPhoto(QPainter &painter, const ImagePoint &p, DemoRandom &rng)
{
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(110, 160, 215));
    sky.setColorAt(1, QColor(200, 225, 245));
    painter.fillRect(0, 0, 640, 240, sky);
    QLinearGradient ground(0, 240, 0, 480);
    ground.setColorAt(0, QColor(150, 140, 110));
    ground.setColorAt(1, QColor(95, 85, 60));
    painter.fillRect(0, 240, 640, 240, ground);
    const double near = rng.between(380, 460);
    QPolygonF wall;
    wall << QPointF(60, 90) << QPointF(near, 150) << QPointF(near, 330) << QPointF(60, 400);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(190, 160, 130));
    painter.drawPolygon(wall);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(
            QColor(160 + rng.range(0, 40), 130 + rng.range(0, 30), 100 + rng.range(0, 30)));
        painter.drawRect(QRectF(rng.between(70, near - 30), rng.between(160, 320), 22, 10));
    }
    const QPointF marker(near - 20, rng.between(280, 320));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(marker.x() - 6, marker.y() - 30, 12, 60));
    painter.setBrush(Qt::red);
    painter.drawRect(QRectF(marker.x() - 6, marker.y() - 30, 12, 15));
    painter.drawRect(QRectF(marker.x() - 6, marker.y(), 12, 15));
    painter.setPen(Qt::white);
    painter.drawText(QRectF(10, 450, 620, 24), Qt::AlignRight, pfCode(p));
}

// The map extract: parcels around the PF with their numbers.
void drawMapExtract(QPainter &painter, const ImagePoint &p, DemoRandom &rng)
{
    painter.fillRect(0, 0, 640, 480, QColor(252, 250, 240));
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    double x = 0;
    while (x < 640) {
        const double next = x + rng.between(70, 150);
        double y = 0;
        while (y < 480) {
            const double bottom = y + rng.between(60, 130);
            QPolygonF parcel;
            parcel << QPointF(x + rng.between(-8, 8), y) << QPointF(next, y + rng.between(-8, 8))
                   << QPointF(next, bottom) << QPointF(x, bottom);
            painter.drawPolygon(parcel);
            painter.drawText(parcel.boundingRect(), Qt::AlignCenter,
                             QString::number(rng.range(1, 1800)));
            y = bottom;
        }
        x = next;
    }
    const QPointF pf(320 + rng.between(-40, 40), 240 + rng.between(-40, 40));
    QPolygonF triangle;
    triangle << pf + QPointF(0, -11) << pf + QPointF(10, 7) << pf + QPointF(-10, 7);
    painter.setPen(QPen(Qt::red, 2));
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawPolygon(triangle);
    painter.setPen(Qt::black);
    painter.fillRect(QRectF(0, 0, 640, 26), QColor(255, 255, 255, 230));
    painter.drawText(QRectF(8, 0, 624, 26), Qt::AlignVCenter,
                     QStringLiteral("Estratto di mappa - Comune %1 - Foglio %2 - %3")
                         .arg(q(p.comune), q(p.foglio), pfCode(p)));
}

// The auxiliary information sheet: the point's data as a filled-in form.
void drawInfoSheet(QPainter &painter, const ImagePoint &p, DemoRandom &)
{
    painter.fillRect(0, 0, 480, 640, Qt::white);
    painter.setPen(Qt::black);
    QFont title = painter.font();
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(0, 20, 480, 30), Qt::AlignCenter,
                     QStringLiteral("INFORMAZIONI AUSILIARIE"));
    painter.setFont(QFont());
    const QStringList lines = {
        QStringLiteral("Punto fiduciale: %1").arg(pfCode(p)),
        QStringLiteral("Particella: %1").arg(q(p.particella)),
        QStringLiteral("Est: %1").arg(p.east, 0, 'f', 3),
        QStringLiteral("Nord: %1").arg(p.north, 0, 'f', 3),
        QStringLiteral("Attendibilita': %1").arg(q(p.reliability)),
        QStringLiteral("Descrizione: %1").arg(q(p.description)),
        QStringLiteral("Accesso: dalla via pubblica"),
        QStringLiteral("Visibilita' satellitare: buona"),
    };
    double y = 80;
    for (const QString &line : lines) {
        painter.drawText(QRectF(30, y, 420, 24), Qt::AlignVCenter, line);
        painter.drawLine(QPointF(30, y + 26), QPointF(450, y + 26));
        y += 44;
    }
    painter.drawRect(QRectF(20, 10, 440, 610));
}

struct Job
{
    ImagePoint point;
    int kind;
    std::string path;
};

std::vector<Job> plannedJobs(Database &db, const std::vector<std::string> &comuni)
{
    static constexpr double shares[kImageKinds] = {0.8, 0.55, 0.7, 0.4};
    std::vector<Job> jobs;
    for (const std::string &code : comuni) {
        const std::string base = code.substr(0, 4);
        const std::string section = code.size() == 5 ? code.substr(4, 1) : std::string();
        Statement &q = db.prepared(R"sql(
            SELECT foglio, pf_num, coalesce(est, ycassini), coalesce(nord, xcassini), rif_planim,
                   particella, att_p
            FROM taf WHERE codice = ?1 AND sezione = ?2 AND foglio IN (
                SELECT DISTINCT foglio FROM taf WHERE codice = ?1 AND sezione = ?2
                ORDER BY foglio LIMIT 1)
            ORDER BY foglio, pf_num)sql");
        q.bind(1, base).bind(2, section);
        while (q.step()) {
            ImagePoint p{code,
                         std::string(q.text(0)),
                         static_cast<int>(q.integer(1)),
                         q.real(2),
                         q.real(3),
                         std::string(q.text(4)),
                         std::string(q.text(5)),
                         std::string(q.text(6))};
            DemoRandom rng("img:" + code + p.foglio + std::to_string(p.pf));
            if (rng.chance(0.2))
                continue;
            for (int kind = 0; kind < kImageKinds; ++kind)
                if (rng.chance(shares[kind]))
                    jobs.push_back({p, kind, imagePath(code, p.foglio, p.pf, kind, "png")});
        }
    }
    return jobs;
}

} // namespace

QByteArray drawDemoImage(const ImagePoint &point, int kind)
{
    QImage image(kind == 3 ? QSize(480, 640) : QSize(640, 480), QImage::Format_RGB32);
    DemoRandom rng("draw:" + point.comune + point.foglio + std::to_string(point.pf) +
                   std::to_string(kind));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        switch (kind) {
        case 0:
            drawMonograph(painter, point, rng);
            break;
        case 1:
            drawPhoto(painter, point, rng);
            break;
        case 2:
            drawMapExtract(painter, point, rng);
            break;
        default:
            drawInfoSheet(painter, point, rng);
            break;
        }
    }
    // Sketches, map extracts and forms are black and white on paper; only the photo has colour.
    if (kind == 1)
        image.convertTo(QImage::Format_RGB888);
    else
        image.convertTo(QImage::Format_Grayscale8);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 50);
    return bytes;
}

int generateDemoImages(Database &db, const std::filesystem::path &root,
                       const std::vector<std::string> &comuni)
{
    const std::vector<Job> jobs = plannedJobs(db, comuni);
    const unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    std::vector<std::string> failures(workers);
    for (unsigned w = 0; w < workers; ++w) {
        threads.emplace_back([&, w] {
            try {
                for (std::size_t i = w; i < jobs.size(); i += workers) {
                    const QByteArray png = drawDemoImage(jobs[i].point, jobs[i].kind);
                    writeFileAtomically(root, jobs[i].path,
                                        {png.constData(), static_cast<std::size_t>(png.size())},
                                        false);
                }
            } catch (const std::exception &e) {
                failures[w] = e.what();
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    for (const std::string &failure : failures)
        if (!failure.empty())
            throw std::runtime_error(failure);

    Transaction transaction(db);
    for (const Job &job : jobs) {
        const std::string base = job.point.comune.substr(0, 4);
        const std::string section = job.point.comune.size() == 5 ? job.point.comune.substr(4) : "";
        db.prepared(
              "INSERT OR REPLACE INTO immagini(codice, sezione, foglio, pf_num, tipo, percorso) "
              "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
            .bind(1, base)
            .bind(2, section)
            .bind(3, job.point.foglio)
            .bind(4, job.point.pf)
            .bind(5, job.kind)
            .bind(6, job.path)
            .run();
    }
    db.exec(
        "UPDATE taf SET immagini = (SELECT count(*) FROM immagini i WHERE i.codice = taf.codice "
        "AND i.sezione = taf.sezione AND i.foglio = taf.foglio AND i.pf_num = taf.pf_num) "
        "WHERE EXISTS (SELECT 1 FROM immagini i WHERE i.codice = taf.codice "
        "AND i.sezione = taf.sezione AND i.foglio = taf.foglio AND i.pf_num = taf.pf_num)");
    bumpDataGeneration(db);
    transaction.commit();
    return static_cast<int>(jobs.size());
}

} // namespace tafserver
