#include "Regions.h"

#include <array>

namespace tafserver {
namespace {

// Fuso Ovest has a false east of 1,500,000 m, fuso Est of 2,520,000 m.
constexpr std::array<RegionInfo, 20> kRegions = {{
    {"ABRUZZO", "./taf/taf_abruzzo.csv", 2400000, 4680000},
    {"BASILICATA", "./taf/taf_basilicata.csv", 2600000, 4490000},
    {"CALABRIA", "./taf/taf_calabria.csv", 2630000, 4330000},
    {"CAMPANIA", "./taf/taf_campania.csv", 2480000, 4530000},
    {"EMILIA ROMAGNA", "./taf/taf_emiliaromagna.csv", 1650000, 4950000},
    {"FRIULI VENEZIA GIULIA", "./taf/taf_friuliveneziagiulia.csv", 2370000, 5090000},
    {"LAZIO", "./taf/taf_lazio.csv", 2320000, 4640000},
    {"LIGURIA", "./taf/taf_liguria.csv", 1470000, 4910000},
    {"LOMBARDIA", "./taf/taf_lombardia.csv", 1540000, 5050000},
    {"MARCHE", "./taf/taf_marche.csv", 2370000, 4800000},
    {"MOLISE", "./taf/taf_molise.csv", 2470000, 4610000},
    {"PIEMONTE", "./taf/taf_piemonte.csv", 1410000, 4980000},
    {"PUGLIA", "./taf/taf_puglia.csv", 2680000, 4520000},
    {"SARDEGNA", "./taf/taf_sardegna.csv", 1500000, 4450000},
    {"SICILIA", "./taf/taf_sicilia.csv", 2400000, 4180000},
    {"TOSCANA", "./taf/taf_toscana.csv", 1670000, 4820000},
    {"TRENTINO ALTO ADIGE", "./taf/taf_trentinoaltoadige.csv", 1670000, 5130000},
    {"UMBRIA", "./taf/taf_umbria.csv", 2300000, 4770000},
    {"VALLE D'AOSTA", "./taf/taf_valdaosta.csv", 1370000, 5070000},
    {"VENETO", "./taf/taf_veneto.csv", 1720000, 5040000},
}};

} // namespace

const RegionInfo *findRegion(std::string_view name)
{
    for (const RegionInfo &r : kRegions)
        if (r.name == name)
            return &r;
    return nullptr;
}

bool isRegionFile(std::string_view filename)
{
    for (const RegionInfo &r : kRegions)
        if (r.file == filename)
            return true;
    return false;
}

} // namespace tafserver
