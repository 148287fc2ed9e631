#include "TafQueries.h"

#include "AnswerCache.h"
#include "Database.h"

#include <set>
#include <vector>

namespace tafserver {
namespace {

// The TAF record as the client reads it; XqYq is the client's own and stays null.
const std::vector<FieldDef> &tafFields()
{
    static const std::vector<FieldDef> fields = {
        {"Comune", "string", 5},
        {"Sezione", "string", 1},
        {"Foglio", "string", 4},
        {"PF", "string", 2},
        {"Particella", "string", 11},
        {"XCassini", "r8"},
        {"YCassini", "r8"},
        {"NordGauss", "r8"},
        {"EstGauss", "r8"},
        {"Quota", "r8"},
        {"Immagini", "string", 2},
        {"Attendibilita_P", "string", 2},
        {"Attendibilita_A", "string", 2},
        {"Rif_Planim", "string", 70},
        {"Rif_Altim", "string", 70},
        {"Annotazioni", "string", 255},
        {"Origine_CS", "string", 50},
        {"Fuso", "string", 5},
        {"FG_ORIG", "string", 4},
        {"PF_ORIG", "string", 2},
        {"ULTIMA_VARIAZIONE", "string", 10},
        {"CAUSALE", "string", 15},
        {"XqYq", "r8"},
        {"Provincia", "string", 30},
    };
    return fields;
}

const std::vector<FieldDef> kFoglioFields = {{"Foglio", "string", 4}};
const std::vector<FieldDef> kPfFields = {{"PF", "string", 2}};
const std::vector<FieldDef> kReliabilityFields = {{"Attendibilita_P", "string", 2}};

constexpr std::string_view kSelect = R"sql(
SELECT t.codice || t.sezione, t.sezione, t.foglio, t.pf, t.particella, t.xcassini, t.ycassini,
       t.nord, t.est, t.quota, t.immagini, t.att_p, t.att_a, t.rif_planim, t.rif_altim,
       t.annotazioni, o.origine, t.fuso, t.fg_orig, t.pf_orig, t.ultima_var, t.causale, c.provincia
FROM taf t
LEFT JOIN comuni c ON c.codice = t.codice
LEFT JOIN origini o ON o.codice = t.codice || t.sezione
)sql";

constexpr std::string_view kOrder = " ORDER BY t.codice, t.sezione, t.foglio, t.pf_num";
constexpr std::string_view kByComune = "t.codice = ?1 AND (?2 = '' OR t.sezione = ?2)";
constexpr std::size_t kMaxListItems = 2000;

class TafPacket
{
public:
    TafPacket() : m_writer(tafFields()) {}

    // Appends every row the statement yields; its columns follow the fields, less XqYq.
    void addRows(Statement &q)
    {
        const std::vector<FieldDef> &fields = tafFields();
        while (q.step()) {
            m_writer.beginRow();
            int column = 0;
            for (const FieldDef &field : fields) {
                if (field.name == "XqYq")
                    continue; // the client's own, null here
                if (field.type == "r8") {
                    if (!q.isNull(column))
                        m_writer.number(field.name, q.real(column));
                } else if (field.name == "Immagini") {
                    m_writer.text(field.name, q.integer(column) > 0 ? "SI" : "NO");
                } else {
                    m_writer.text(field.name, q.text(column));
                }
                ++column;
            }
            m_writer.endRow();
        }
    }

    Answer answer()
    {
        Answer a;
        a.body = m_writer.finish();
        return a;
    }

private:
    PacketWriter m_writer;
};

Answer refusedTaf(std::string reason)
{
    return refused(tafFields(), std::move(reason));
}

// The checks every per-comune query makes first; nullopt when the request may go on.
std::optional<Answer> refusal(const QueryRequest &request, const std::vector<FieldDef> &fields)
{
    if (!filenameValid(request))
        return refused(fields, "filename non ammesso");
    if (!credentialsValid(request))
        return refused(fields, "credenziali non valide");
    return std::nullopt;
}

Statement &selection(Database &db, std::string_view where)
{
    std::string sql(kSelect);
    sql += "WHERE ";
    sql += where;
    sql += kOrder;
    return db.prepared(sql);
}

std::vector<std::string> splitList(const std::string &text)
{
    std::vector<std::string> items;
    if (text.empty())
        return items;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(';', start);
        items.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return items;
        start = end + 1;
    }
}

} // namespace

Answer tafPerNComune(const QueryRequest &request)
{
    if (auto no = refusal(request, tafFields()))
        return *no;
    const auto comune = parseComune(request.get("comune"));
    if (!comune)
        return refusedTaf("codice comune non valido");
    // The heaviest answer and the most asked for: built once per state of the archive.
    const std::string key = "Taf_Per_NComune|" + comune->base + comune->section;
    const long long generation = dataGeneration(request.db);
    if (const auto cached = answerCache().find(key, generation))
        return packetAnswer(*cached);
    TafPacket packet;
    packet.addRows(selection(request.db, kByComune).bind(1, comune->base).bind(2, comune->section));
    Answer answer = packet.answer();
    answerCache().insert(key, generation, answer.body);
    return answer;
}

Answer tafPerPfFoglio(const QueryRequest &request)
{
    if (auto no = refusal(request, tafFields()))
        return *no;
    const auto comune = parseComune(request.get("comune"));
    const auto sheet = parseSheet(request.get("foglio"));
    const auto pf = parsePf(request.get("pf"));
    TafPacket packet;
    if (comune && sheet && pf) {
        Statement &q =
            selection(request.db, std::string(kByComune) + " AND t.foglio = ?3 AND t.pf_num = ?4");
        packet.addRows(
            q.bind(1, comune->base).bind(2, comune->section).bind(3, *sheet).bind(4, *pf));
    }
    return packet.answer();
}

Answer tafPerIntervalloFogli(const QueryRequest &request)
{
    if (auto no = refusal(request, tafFields()))
        return *no;
    const auto comune = parseComune(request.get("comune"));
    auto from = parseSheet(request.get("dafoglio"));
    auto to = parseSheet(request.get("afoglio"));
    TafPacket packet;
    if (comune && from && to) {
        // Whole sheets, every allegato included; the ends in either order.
        if (from->substr(0, 3) > to->substr(0, 3))
            std::swap(from, to);
        Statement &q = selection(request.db, std::string(kByComune) +
                                                 " AND substr(t.foglio, 1, 3) BETWEEN ?3 AND ?4");
        packet.addRows(q.bind(1, comune->base)
                           .bind(2, comune->section)
                           .bind(3, from->substr(0, 3))
                           .bind(4, to->substr(0, 3)));
    }
    return packet.answer();
}

Answer tafPerIntAttendibilita(const QueryRequest &request)
{
    if (auto no = refusal(request, tafFields()))
        return *no;
    const auto comune = parseComune(request.get("comune"));
    auto low = parseSmallNumber(request.get("davalore"));
    auto high = parseSmallNumber(request.get("avalore"));
    TafPacket packet;
    if (comune && low && high) {
        if (*low > *high)
            std::swap(low, high);
        Statement &q =
            selection(request.db, std::string(kByComune) + " AND t.att_p_num BETWEEN ?3 AND ?4");
        packet.addRows(
            q.bind(1, comune->base).bind(2, comune->section).bind(3, *low).bind(4, *high));
    }
    return packet.answer();
}

Answer tafPerFogliCComuni(const QueryRequest &request)
{
    if (auto no = refusal(request, tafFields()))
        return *no;
    const auto sheets = splitList(request.get("lfogli"));
    const auto codes = splitList(request.get("lcomuni"));
    if (sheets.size() != codes.size() || sheets.size() > kMaxListItems)
        return refusedTaf("liste lfogli e lcomuni non corrispondenti");
    TafPacket packet;
    std::set<std::pair<std::string, std::string>> seen;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const auto comune = parseComune(codes[i]);
        const auto sheet = parseSheet(sheets[i]);
        if (!comune || !sheet || !seen.emplace(codes[i], *sheet).second)
            continue;
        Statement &q = selection(request.db, std::string(kByComune) + " AND t.foglio = ?3");
        packet.addRows(q.bind(1, comune->base).bind(2, comune->section).bind(3, *sheet));
    }
    return packet.answer();
}

Answer tafPerPfFogliCComuni(const QueryRequest &request)
{
    if (auto no = refusal(request, tafFields()))
        return *no;
    const auto pfs = splitList(request.get("lpf"));
    const auto sheets = splitList(request.get("lfogli"));
    const auto codes = splitList(request.get("lcomuni"));
    if (pfs.size() != sheets.size() || sheets.size() != codes.size() ||
        sheets.size() > kMaxListItems)
        return refusedTaf("liste lpf, lfogli e lcomuni non corrispondenti");
    TafPacket packet;
    std::set<std::tuple<std::string, std::string, int>> seen;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const auto comune = parseComune(codes[i]);
        const auto sheet = parseSheet(sheets[i]);
        const auto pf = parsePf(pfs[i]);
        if (!comune || !sheet || !pf || !seen.emplace(codes[i], *sheet, *pf).second)
            continue;
        Statement &q =
            selection(request.db, std::string(kByComune) + " AND t.foglio = ?3 AND t.pf_num = ?4");
        packet.addRows(
            q.bind(1, comune->base).bind(2, comune->section).bind(3, *sheet).bind(4, *pf));
    }
    return packet.answer();
}

Answer fogliPerNComune(const QueryRequest &request)
{
    if (auto no = refusal(request, kFoglioFields))
        return *no;
    PacketWriter packet(kFoglioFields);
    if (const auto comune = parseComune(request.get("comune"))) {
        Statement &q = request.db.prepared(
            "SELECT DISTINCT foglio FROM taf WHERE codice = ?1 AND (?2 = '' OR sezione = ?2) "
            "ORDER BY foglio");
        q.bind(1, comune->base).bind(2, comune->section);
        while (q.step()) {
            packet.beginRow();
            packet.text("Foglio", q.text(0));
            packet.endRow();
        }
    }
    return packetAnswer(packet.finish());
}

Answer pfPerNComuneEFoglio(const QueryRequest &request)
{
    if (auto no = refusal(request, kPfFields))
        return *no;
    PacketWriter packet(kPfFields);
    const auto comune = parseComune(request.get("comune"));
    const auto sheet = parseSheet(request.get("foglio"));
    if (comune && sheet) {
        Statement &q = request.db.prepared(
            "SELECT min(pf) FROM taf WHERE codice = ?1 AND (?2 = '' OR sezione = ?2) "
            "AND foglio = ?3 GROUP BY pf_num ORDER BY pf_num");
        q.bind(1, comune->base).bind(2, comune->section).bind(3, *sheet);
        while (q.step()) {
            packet.beginRow();
            packet.text("PF", q.text(0));
            packet.endRow();
        }
    }
    return packetAnswer(packet.finish());
}

Answer attendibilitaPerNComune(const QueryRequest &request)
{
    if (auto no = refusal(request, kReliabilityFields))
        return *no;
    PacketWriter packet(kReliabilityFields);
    if (const auto comune = parseComune(request.get("comune"))) {
        Statement &q = request.db.prepared(
            "SELECT DISTINCT att_p_num FROM taf WHERE codice = ?1 AND (?2 = '' OR sezione = ?2) "
            "AND att_p_num IS NOT NULL ORDER BY att_p_num");
        q.bind(1, comune->base).bind(2, comune->section);
        while (q.step()) {
            packet.beginRow();
            packet.text("Attendibilita_P", std::to_string(q.integer(0)));
            packet.endRow();
        }
    }
    return packetAnswer(packet.finish());
}

} // namespace tafserver
