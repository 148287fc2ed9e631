#include "TafPacketGenerator.h"

#include <cstdio>
#include <random>
#include <string>

namespace {

struct FieldDeclaration
{
    const char *name;
    const char *type;
    int width;
};

constexpr FieldDeclaration Fields[] = {
    {"Comune", "string", 5},
    {"Sezione", "string", 1},
    {"Foglio", "string", 4},
    {"PF", "string", 2},
    {"Particella", "string", 10},
    {"XCassini", "r8", 0},
    {"YCassini", "r8", 0},
    {"NordGauss", "r8", 0},
    {"EstGauss", "r8", 0},
    {"Quota", "r8", 0},
    {"Immagini", "string", 4},
    {"Attendibilita_P", "string", 2},
    {"Attendibilita_A", "string", 2},
    {"Rif_Planim", "string", 60},
    {"Rif_Altim", "string", 60},
    {"Annotazioni", "string", 250},
    {"Origine_CS", "string", 60},
    {"Fuso", "string", 5},
    {"FG_ORIG", "string", 4},
    {"PF_ORIG", "string", 2},
    {"ULTIMA_VARIAZIONE", "string", 10},
    {"CAUSALE", "string", 60},
    {"XqYq", "r8", 0},
    {"Provincia", "string", 2},
};

const char *const Planimetric[] = {"Spigolo di fabbricato lato nord", "Centro chiusino",
                                   "Pilastro del cancello d'ingresso", "Croce su roccia"};
const char *const Altimetric[] = {"Piano di campagna presso lo spigolo", "Sommità del pilastro",
                                  "Marciapiede davanti all'ingresso"};
const char *const Notes[] = {
    "Punto materializzato con chiodo su cordolo in cemento, verificato nel sopralluogo",
    "Spigolo esterno di fabbricato rurale &amp; recinzione; vedere la monografia allegata",
    "Centro del chiusino in ghisa sul marciapiede, lato destro della strada comunale",
    "Non più individuabile: fabbricato demolito, in attesa di sostituzione"};
const char *const Reasons[] = {"Aggiornamento monografia e coordinate", "Nuovo inserimento",
                               "Rideterminazione coordinate Gauss-Boaga"};

} // namespace

QByteArray generateTafPacket(int rows, unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };

    std::string out = "<?xml version=\"1.0\" standalone=\"yes\"?>\n<DATAPACKET Version=\"2.0\">"
                      "<METADATA><FIELDS>";
    for (const FieldDeclaration &f : Fields) {
        out += "<FIELD attrname=\"";
        out += f.name;
        out += "\" fieldtype=\"";
        out += f.type;
        out += f.width ? "\" WIDTH=\"" + std::to_string(f.width) + "\"/>" : std::string("\"/>");
    }
    out += "</FIELDS><PARAMS/></METADATA><ROWDATA>";
    out.reserve(out.size() + std::size_t(rows) * 520);

    char row[1600];
    for (int r = 0; r < rows; ++r) {
        const double x = uniform(-40000, 40000), y = uniform(-40000, 40000);
        char gauss[96] = "";
        if (pick(20) != 0)
            std::snprintf(gauss, sizeof gauss, " NordGauss=\"%.3f\" EstGauss=\"%.3f\"",
                          4990000 + y + uniform(-5, 5), 1395000 + x + uniform(-5, 5));
        const int n = std::snprintf(
            row, sizeof row,
            "<ROW Comune=\"L219\" Sezione=\"%s\" Foglio=\"%03d%c\" PF=\"%02d\" Particella=\"%d\" "
            "XCassini=\"%.3f\" YCassini=\"%.3f\"%s Quota=\"%.2f\" Immagini=\"%d%d%d%d\" "
            "Attendibilita_P=\"%d\" Attendibilita_A=\"%d\" Rif_Planim=\"%s\" Rif_Altim=\"%s\" "
            "Annotazioni=\"%s\" Origine_CS=\"Torino, Monte dei Cappuccini\" Fuso=\"OVEST\" "
            "FG_ORIG=\"%03d\" PF_ORIG=\"%02d\" ULTIMA_VARIAZIONE=\"%02d/%02d/20%02d\" "
            "CAUSALE=\"%s\" XqYq=\"0\" Provincia=\"TO\"/>\n",
            pick(10) == 0 ? "A" : "", 1 + pick(250), pick(8) == 0 ? 'A' : '0', 1 + pick(40),
            1 + pick(3000), x, y, gauss, 200 + uniform(0, 900), pick(2), pick(2), pick(2), pick(2),
            1 + pick(3), 1 + pick(3), Planimetric[pick(4)], Altimetric[pick(3)], Notes[pick(4)],
            1 + pick(250), 1 + pick(40), 1 + pick(28), 1 + pick(12), pick(25), Reasons[pick(3)]);
        out.append(row, std::size_t(n));
    }
    out += "</ROWDATA></DATAPACKET>\n";
    return QByteArray(out.data(), qsizetype(out.size()));
}
