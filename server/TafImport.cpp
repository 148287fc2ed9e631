#include "TafImport.h"

#include "AnswerCache.h"
#include "Database.h"
#include "TafRecord.h"

#include <ctime>
#include <fstream>
#include <ostream>

namespace tafserver {
namespace {

constexpr std::string_view kUpsert = R"sql(
INSERT INTO taf (codice, sezione, foglio, pf_num, pf, particella, xcassini, ycassini, nord, est,
                 quota, att_p, att_p_num, att_a, rif_planim, rif_altim, fuso, fg_orig, pf_orig,
                 ultima_var, causale)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21)
ON CONFLICT (codice, sezione, foglio, pf_num) DO UPDATE SET
    pf = excluded.pf, particella = excluded.particella,
    xcassini = coalesce(excluded.xcassini, xcassini), ycassini = coalesce(excluded.ycassini, ycassini),
    nord = coalesce(excluded.nord, nord), est = coalesce(excluded.est, est),
    fuso = CASE WHEN excluded.nord IS NULL THEN fuso ELSE excluded.fuso END,
    quota = excluded.quota, att_p = excluded.att_p, att_p_num = excluded.att_p_num,
    att_a = excluded.att_a, rif_planim = excluded.rif_planim, rif_altim = excluded.rif_altim,
    fg_orig = excluded.fg_orig, pf_orig = excluded.pf_orig, ultima_var = excluded.ultima_var,
    causale = excluded.causale
)sql";

constexpr int kReportedRejects = 200;

// Reliabilities read as plain numbers ("05" -> "5"), as the planimetric one.
std::string withoutLeadingZeros(std::string_view text)
{
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    return std::string(text);
}

void store(Database &db, const TafRecord &r)
{
    Statement &q = db.prepared(kUpsert);
    q.bind(1, r.codice).bind(2, r.sezione).bind(3, canonicalSheet(r.foglio, r.allegato));
    q.bind(4, r.pfNumber()).bind(5, r.pf).bind(6, r.particella);
    if (isGaussEast(r.est)) {
        q.bindNull(7).bindNull(8).bind(9, r.nord).bind(10, r.est).bind(17, fusoOf(r.est));
    } else {
        q.bind(7, r.nord).bind(8, r.est).bindNull(9).bindNull(10).bind(17, "");
    }
    if (r.quota)
        q.bind(11, *r.quota);
    else
        q.bindNull(11);
    q.bind(12, std::to_string(r.attP)).bind(13, r.attP).bind(14, withoutLeadingZeros(r.attA));
    q.bind(15, r.descPlanim).bind(16, r.descAltim);
    q.bind(18, r.fgOrig == 9999 ? std::string() : canonicalSheet(r.fgOrig, r.allOrig));
    q.bind(19, r.pfOrig).bind(20, displayDate(r.data)).bind(21, r.causale);
    q.run();
}

} // namespace

ImportResult importTafFile(Database &db, const std::string &path, std::ostream &log)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("impossibile leggere " + path);
    ImportResult result;
    Transaction transaction(db);
    std::string line;
    std::string reason;
    long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.find_first_not_of(" \r\x1a") == std::string::npos)
            continue; // blank lines and the old end-of-file mark
        const auto record = parseTafLine(line, reason);
        if (!record) {
            if (++result.rejected <= kReportedRejects)
                log << path << ": riga " << number << " scartata: " << reason << '\n';
            continue;
        }
        store(db, *record);
        ++result.loaded;
    }
    if (in.bad())
        throw std::runtime_error("errore di lettura di " + path);
    if (result.rejected > kReportedRejects)
        log << path << ": altre " << result.rejected - kReportedRejects << " righe scartate\n";
    bumpDataGeneration(db);
    transaction.commit();
    return result;
}

void stampLoadDate(Database &db)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d/%m/%Y", &local);
    db.setMeta("data_taf", text);
}

} // namespace tafserver
