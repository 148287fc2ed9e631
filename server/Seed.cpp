#include "Seed.h"

#include "AnswerCache.h"
#include "Auth.h"
#include "Database.h"
#include "DemoArchive.h"
#include "DemoImages.h"
#include "TafImport.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <ostream>
#include <stdexcept>

#ifndef TAFSERVER_VERSION
#define TAFSERVER_VERSION "0.0.0"
#endif

namespace tafserver {
namespace {

std::vector<ComuneRow> readComuni(const char *resource)
{
    QFile file(QString::fromLatin1(resource));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("dati mancanti: ") + resource);
    std::vector<ComuneRow> rows;
    bool header = true;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (header || line.isEmpty()) {
            header = false;
            continue;
        }
        const QList<QByteArray> cells = line.split(';');
        if (cells.size() != 4)
            throw std::runtime_error(std::string("riga non valida in ") + resource + ": " +
                                     line.toStdString());
        rows.push_back({cells[1].toStdString(), cells[0].toStdString(), cells[2].toStdString(),
                        cells[3].toStdString()});
    }
    return rows;
}

void storeComuni(Database &db, const std::vector<ComuneRow> &rows)
{
    for (const ComuneRow &c : rows)
        db.prepared("INSERT OR REPLACE INTO comuni(codice, nome, provincia, regione) "
                    "VALUES (?1, ?2, ?3, ?4)")
            .bind(1, c.codice)
            .bind(2, c.nome)
            .bind(3, c.provincia)
            .bind(4, c.regione)
            .run();
}

void storeRelease(Database &db)
{
    const std::time_t now = std::time(nullptr);
    char today[16];
    std::strftime(today, sizeof today, "%Y-%m-%d", std::gmtime(&now));
    const std::string version = TAFSERVER_VERSION;
    db.prepared("INSERT OR IGNORE INTO rilasci(versione, percorsoremoto, fileremoto, data) "
                "VALUES (?1, 'aggiornamenti/', ?2, ?3)")
        .bind(1, version)
        .bind(2, "TavixSetup-" + version + ".exe")
        .bind(3, today)
        .run();
}

// Notes are the service's own remarks, not part of the TAF record.
void annotate(Database &db)
{
    db.exec(R"sql(
        UPDATE taf SET annotazioni = CASE (pf_num * 37 + CAST(substr(foglio, 2, 2) AS INTEGER) * 11
                                           + unicode(substr(codice, 4, 1))) % 23
            WHEN 0 THEN 'PF non più materializzato: usare il PF di origine'
            WHEN 1 THEN 'Materializzazione ricostruita dopo lavori stradali'
            WHEN 2 THEN 'Accesso da proprietà privata, chiedere il permesso'
            ELSE '' END
        WHERE annotazioni = '' AND codice || sezione IN (SELECT codice FROM temp.generati))sql");
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void seedArchive(Database &db, const std::filesystem::path &root, SeedScope scope,
                 const std::vector<ComuneRow> &comuni, std::ostream &log)
{
    const auto &demo = demoProvinces();
    const auto inDemo = [&](const ComuneRow &c) {
        return std::find(demo.begin(), demo.end(), c.provincia) != demo.end();
    };
    std::vector<ComuneRow> chosen;
    for (const ComuneRow &c : comuni)
        if (scope == SeedScope::All || inDemo(c))
            chosen.push_back(c);

    const std::filesystem::path folder = root / "taf-generati";
    std::filesystem::create_directories(folder);
    const auto start = std::chrono::steady_clock::now();
    const DemoArchive archive = writeDemoArchive(chosen, folder);
    log << "file TAF generati in " << secondsSince(start) << " s\n";
    long loaded = 0;
    for (const auto &file : archive.files) {
        const ImportResult result = importTafFile(db, file.string(), log);
        loaded += result.loaded;
    }
    std::filesystem::remove_all(folder);

    Transaction transaction(db);
    db.exec("CREATE TEMP TABLE IF NOT EXISTS generati(codice TEXT PRIMARY KEY)");
    for (const auto &[code, origin] : archive.origini) {
        db.prepared("INSERT OR REPLACE INTO origini(codice, origine) VALUES (?1, ?2)")
            .bind(1, code)
            .bind(2, origin)
            .run();
        db.prepared("INSERT OR IGNORE INTO temp.generati(codice) VALUES (?1)").bind(1, code).run();
    }
    annotate(db);
    bumpDataGeneration(db);
    transaction.commit();
    log << "archivio: " << loaded << " record TAF di " << archive.codes.size() << " comuni, "
        << secondsSince(start) << " s\n";

    // Images for the chief towns and the sections of the demo provinces.
    std::vector<std::string> pictured;
    for (const ComuneRow &c : chosen)
        if (inDemo(c) && (c.nome == c.provincia || c.codice.size() == 5))
            pictured.push_back(c.codice);
    log << "immagini: " << generateDemoImages(db, root, pictured) << ", " << secondsSince(start)
        << " s\n";
}

} // namespace

void seedDatabase(Database &db, const std::filesystem::path &root, SeedScope scope,
                  std::ostream &log)
{
    const auto start = std::chrono::steady_clock::now();
    db.createSchema();
    const std::vector<ComuneRow> comuni = readComuni(":/data/comuni.csv");
    std::vector<ComuneRow> sezioni = readComuni(":/data/sezioni.csv");
    {
        Transaction transaction(db);
        storeComuni(db, comuni);
        storeComuni(db, sezioni);
        storeRelease(db);
        transaction.commit();
    }
    Statement &existing = db.prepared("SELECT 1 FROM utenti WHERE email = ?1");
    existing.bind(1, kDemoUser);
    const bool hasDemoUser = existing.step();
    existing.reset();
    if (!hasDemoUser)
        addUser(db, kDemoUser, kDemoPassword);
    log << "comuni: " << comuni.size() << " e " << sezioni.size() << " sezioni\n";

    if (scope != SeedScope::Comuni) {
        std::vector<ComuneRow> all = comuni;
        all.insert(all.end(), sezioni.begin(), sezioni.end());
        seedArchive(db, root, scope, all, log);
    }
    stampLoadDate(db);
    db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    log << "fatto in " << secondsSince(start) << " s\n";
}

} // namespace tafserver
