#include "DemoArchive.h"

#include "DemoRandom.h"
#include "Regions.h"
#include "TafRecord.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace tafserver {
namespace {

struct Place
{
    double east;
    double north;
};

// Gauss-Boaga of the demo provinces' chief towns; other provinces scatter around their region.
const std::map<std::string, Place> &provinceCentres()
{
    static const std::map<std::string, Place> centres = {
        {"ROMA", {2311196, 4640970}},     {"AOSTA", {1369500, 5065600}},
        {"L'AQUILA", {2388400, 4691000}}, {"BOLOGNA", {1685700, 4928800}},
        {"FIRENZE", {1681522, 4848815}},  {"NAPOLI", {2458306, 4522593}},
    };
    return centres;
}

Place provinceCentre(const ComuneRow &c)
{
    const auto known = provinceCentres().find(c.provincia);
    if (known != provinceCentres().end())
        return known->second;
    const RegionInfo *region = findRegion(c.regione);
    DemoRandom rng("provincia:" + c.provincia);
    const Place base =
        region ? Place{region->centreEast, region->centreNorth} : Place{2320000, 4640000};
    return {base.east + rng.between(-45000, 45000), base.north + rng.between(-45000, 45000)};
}

constexpr const char *kPlanim[] = {
    "SPIGOLO NE FABBRICATO",
    "SPIGOLO SO DI FABBRICATO RURALE",
    "PALO ENEL IN CLS",
    "CHIODO SU MURO DI CINTA",
    "CENTRO TOMBINO IN GHISA",
    "PILASTRO CANCELLO LATO STRADA",
    "CIPPO IN CLS CON CROCE",
    "SPIGOLO MURO DI SOSTEGNO",
    "CENTRO CHIUSINO SIP",
    "SPIGOLO NO CAPPELLA CIMITERO",
    "PALO TELEFONICO IN LEGNO",
    "CAMPANILE CHIESA PARROCCHIALE",
    "SPIGOLO SE CABINA ELETTRICA",
    "CHIODO SU MARCIAPIEDE",
    "CENTRO FONTANA PIAZZA",
    "SPIGOLO PONTE SU FOSSO",
    "PICCHETTO IN FERRO",
    "SPIGOLO NE SERBATOIO ACQUEDOTTO",
};
constexpr const char *kAltim[] = {
    "PIANO STRADALE ALLA BASE", "SOGLIA INGRESSO PRINCIPALE",
    "SOMMITA' DEL CIPPO",       "TESTA DEL CHIODO",
    "PIANO MARCIAPIEDE",        "CORONAMENTO MURO",
    "PIANO DI CAMPAGNA",        "BORDO CHIUSINO",
};

int reliability(DemoRandom &rng)
{
    static constexpr int weights[] = {2, 4, 10, 14, 16, 14, 10, 8, 8, 6, 4, 4};
    int draw = rng.range(1, 100);
    for (int i = 0; i < 12; ++i) {
        draw -= weights[i];
        if (draw <= 0)
            return i + 1;
    }
    return 12;
}

struct Profile
{
    int sheets;
    int maxSheet;
    double fullShare;
    double heightBase;
};

Profile profileOf(const ComuneRow &c, DemoRandom &rng)
{
    const bool capoluogo = c.nome == c.provincia;
    const double height = c.regione == "VALLE D'AOSTA" ? rng.between(500, 1800)
                          : c.regione == "ABRUZZO"     ? rng.between(250, 1100)
                                                       : rng.between(5, 450);
    if (c.codice == "H501")
        return {56, 1250, 0.95, 25};
    if (capoluogo)
        return {rng.range(18, 26), rng.range(250, 600), 0.85, height};
    if (c.codice.size() == 5)
        return {rng.range(3, 6), rng.range(20, 45), 0.5, height};
    return {rng.range(2, 6), rng.range(12, 80), 0.4, height};
}

std::vector<int> sheetNumbers(DemoRandom &rng, const Profile &p)
{
    std::set<int> numbers;
    while (static_cast<int>(numbers.size()) < std::min(p.sheets, p.maxSheet))
        numbers.insert(rng.range(1, p.maxSheet));
    return {numbers.begin(), numbers.end()};
}

// The date of the last change and the approval protocol of that year.
void lastChange(DemoRandom &rng, TafRecord &r)
{
    const int year = rng.range(1991, 2023);
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02d", rng.range(1, 28), rng.range(1, 12),
                  year % 100);
    r.data = text;
    std::snprintf(text, sizeof text, "%04d/%07d", year, rng.range(1, 999999));
    r.causale = text;
}

class ComuneWriter
{
public:
    ComuneWriter(const ComuneRow &c, std::ofstream &out)
        : m_c(c), m_out(out), m_rng(c.codice), m_profile(profileOf(c, m_rng))
    {
        const Place province = provinceCentre(c);
        const bool capoluogo = c.nome == c.provincia;
        m_centre = capoluogo ? province
                             : Place{province.east + m_rng.between(-30000, 30000),
                                     province.north + m_rng.between(-30000, 30000)};
        m_largeOrigin = capoluogo || m_rng.chance(0.3);
        const double reach = m_largeOrigin ? 20000 : 3000;
        const Place around = m_largeOrigin ? province : m_centre;
        m_origin = {around.east + m_rng.between(-reach, reach),
                    around.north + m_rng.between(-reach, reach)};
        m_rotation = m_rng.between(-0.004, 0.004);
        m_shortPf = m_rng.chance(0.2);
    }

    std::string originName() const
    {
        if (m_largeOrigin)
            return "GRANDE ORIGINE " + m_c.provincia.substr(0, 25);
        return m_c.nome.substr(0, 30) + " (" + m_c.codice + ")";
    }

    void write()
    {
        const std::vector<int> numbers = sheetNumbers(m_rng, m_profile);
        const int columns = static_cast<int>(std::ceil(std::sqrt(numbers.size())));
        for (std::size_t k = 0; k < numbers.size(); ++k) {
            const char allegato = m_rng.chance(0.08) ? (m_rng.chance(0.8) ? 'A' : 'B') : ' ';
            const bool full = allegato == ' ' && m_rng.chance(m_profile.fullShare);
            const int count = full ? m_rng.range(36, 46) : m_rng.range(6, 24);
            const Place corner{
                m_centre.east + (static_cast<int>(k) % columns - columns / 2) * 2000.0,
                m_centre.north + (static_cast<int>(k) / columns - columns / 2) * 1400.0};
            writeSheet(numbers[k], allegato, count, corner, m_rng.chance(0.1));
        }
    }

private:
    void writeSheet(int foglio, char allegato, int count, Place corner, bool oldSheet)
    {
        const int perRow =
            std::max(1, static_cast<int>(std::round(std::sqrt(count * 2000.0 / 1400.0))));
        const int rows = (count + perRow - 1) / perRow;
        int pf = 0;
        for (int i = 0; i < count; ++i) {
            pf += m_rng.chance(0.05) ? 2 : 1;
            if (pf > 99)
                break;
            const Place at{corner.east + (i % perRow + m_rng.between(0.2, 0.8)) * 2000.0 / perRow,
                           corner.north + (i / perRow + m_rng.between(0.2, 0.8)) * 1400.0 / rows};
            TafRecord r = pointRecord(foglio, allegato, pf);
            if (!oldSheet && !m_rng.chance(0.03)) {
                r.nord = at.north;
                r.est = at.east;
                emit(r);
            }
            const double dx = at.east - m_origin.east;
            const double dy = at.north - m_origin.north;
            const double scale = 1.0 - 0.00035;
            r.nord = scale * (dy * std::cos(m_rotation) - dx * std::sin(m_rotation));
            r.est = scale * (dx * std::cos(m_rotation) + dy * std::sin(m_rotation));
            emit(r);
        }
    }

    TafRecord pointRecord(int foglio, char allegato, int pf)
    {
        TafRecord r;
        r.codice = m_c.codice.substr(0, 4);
        r.sezione = m_c.codice.size() == 5 ? m_c.codice.substr(4, 1) : std::string();
        r.foglio = foglio;
        r.allegato = allegato;
        char text[32];
        std::snprintf(text, sizeof text, (m_shortPf && pf < 10) ? "%d" : "%02d", pf);
        r.pf = text;
        const int kind = m_rng.range(1, 20);
        r.particella = kind <= 2   ? "STRADA"
                       : kind == 3 ? "ACQUE"
                                   : std::to_string(m_rng.range(1, 1800));
        r.descPlanim = m_rng.pick(kPlanim);
        r.attP = reliability(m_rng);
        if (m_rng.chance(0.25)) {
            r.fgOrig = foglio;
            r.pfOrig = std::to_string(m_rng.range(1, 40));
        }
        lastChange(m_rng, r);
        if (m_rng.chance(0.85)) {
            r.quota = std::round((m_profile.heightBase + m_rng.between(-30, 80)) * 1000) / 1000;
            r.descAltim = m_rng.pick(kAltim);
            std::snprintf(text, sizeof text, "%02d", reliability(m_rng));
            r.attA = text;
        }
        return r;
    }

    void emit(const TafRecord &r) { m_out << formatTafLine(r) << "\r\n"; }

    const ComuneRow &m_c;
    std::ofstream &m_out;
    DemoRandom m_rng;
    Profile m_profile;
    Place m_centre{};
    Place m_origin{};
    double m_rotation = 0;
    bool m_largeOrigin = false;
    bool m_shortPf = false;
};

std::string fileNameOf(const std::string &provincia)
{
    std::string name = "TAF_";
    for (const char c : provincia)
        name += (c >= 'A' && c <= 'Z') ? c : '_';
    return name + ".TXT";
}

} // namespace

const std::vector<std::string> &demoProvinces()
{
    static const std::vector<std::string> provinces = {"ROMA",    "AOSTA",   "L'AQUILA",
                                                       "BOLOGNA", "FIRENZE", "NAPOLI"};
    return provinces;
}

DemoArchive writeDemoArchive(const std::vector<ComuneRow> &comuni,
                             const std::filesystem::path &folder)
{
    std::set<std::string> sectioned;
    for (const ComuneRow &c : comuni)
        if (c.codice.size() == 5)
            sectioned.insert(c.codice.substr(0, 4));

    DemoArchive archive;
    std::map<std::string, std::ofstream> files;
    for (const ComuneRow &c : comuni) {
        if (c.codice.size() == 4 && sectioned.count(c.codice))
            continue;
        auto it = files.find(c.provincia);
        if (it == files.end()) {
            const auto path = folder / fileNameOf(c.provincia);
            it = files.emplace(c.provincia, std::ofstream(path, std::ios::binary)).first;
            if (!it->second)
                throw std::runtime_error("impossibile scrivere " + path.string());
            archive.files.push_back(path);
        }
        ComuneWriter writer(c, it->second);
        writer.write();
        archive.origini.emplace_back(c.codice, writer.originName());
        archive.codes.push_back(c.codice);
    }
    for (auto &[province, out] : files) {
        out.close();
        if (!out)
            throw std::runtime_error("errore di scrittura dei file TAF di " + province);
    }
    return archive;
}

} // namespace tafserver
