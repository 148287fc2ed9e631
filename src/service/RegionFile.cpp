#include "service/RegionFile.h"

#include <array>
#include <utility>

namespace tavix {

namespace {

constexpr std::array<std::pair<const char *, const char *>, 20> kRegionFiles = {{
    {"ABRUZZO", "./taf/taf_abruzzo.csv"},
    {"BASILICATA", "./taf/taf_basilicata.csv"},
    {"CALABRIA", "./taf/taf_calabria.csv"},
    {"CAMPANIA", "./taf/taf_campania.csv"},
    {"EMILIA ROMAGNA", "./taf/taf_emiliaromagna.csv"},
    {"FRIULI VENEZIA GIULIA", "./taf/taf_friuliveneziagiulia.csv"},
    {"LAZIO", "./taf/taf_lazio.csv"},
    {"LIGURIA", "./taf/taf_liguria.csv"},
    {"LOMBARDIA", "./taf/taf_lombardia.csv"},
    {"MARCHE", "./taf/taf_marche.csv"},
    {"MOLISE", "./taf/taf_molise.csv"},
    {"PIEMONTE", "./taf/taf_piemonte.csv"},
    {"PUGLIA", "./taf/taf_puglia.csv"},
    {"SARDEGNA", "./taf/taf_sardegna.csv"},
    {"SICILIA", "./taf/taf_sicilia.csv"},
    {"TOSCANA", "./taf/taf_toscana.csv"},
    {"TRENTINO ALTO ADIGE", "./taf/taf_trentinoaltoadige.csv"},
    {"UMBRIA", "./taf/taf_umbria.csv"},
    {"VALLE D'AOSTA", "./taf/taf_valdaosta.csv"},
    {"VENETO", "./taf/taf_veneto.csv"},
}};

} // namespace

QString RegionFile(const QString &region)
{
    const QString wanted = region.trimmed();
    for (const auto &[name, file] : kRegionFiles) {
        if (wanted.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QLatin1String(file);
    }
    return {};
}

} // namespace tavix
