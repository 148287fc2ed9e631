#include "settings/ReferenceLists.h"

#include "service/Cp1252.h"
#include "service/Error.h"

#include <QCoreApplication>
#include <QFile>

namespace tavix {

namespace {

const char *const kProvinces[] = {
    "AGRIGENTO", "ALESSANDRIA", "ANCONA", "AOSTA", "AREZZO", "ASCOLI PICENO", "ASTI",
    "AVELLINO", "BARI", "BELLUNO", "BENEVENTO", "BERGAMO", "BIELLA", "BOLOGNA", "BOLZANO",
    "BRESCIA", "BRINDISI", "CAGLIARI", "CALTANISSETTA", "CAMPOBASSO", "CASERTA", "CATANIA",
    "CATANZARO", "CHIETI", "COMO", "COSENZA", "CREMONA", "CROTONE", "CUNEO", "ENNA", "FERRARA",
    "FIRENZE", "FOGGIA", "FORLI", "FROSINONE", "GENOVA", "GORIZIA", "GROSSETO", "IMPERIA",
    "ISERNIA", "LA SPEZIA", "L'AQUILA", "LATINA", "LECCE", "LECCO", "LIVORNO", "LODI", "LUCCA",
    "MACERATA", "MANTOVA", "MASSA CARRARA", "MATERA", "MESSINA", "MILANO", "MODENA", "NAPOLI",
    "NOVARA", "NUORO", "ORISTANO", "PADOVA", "PALERMO", "PARMA", "PAVIA", "PERUGIA", "PESARO",
    "PESCARA", "PIACENZA", "PISA", "PISTOIA", "PORDENONE", "POTENZA", "PRATO", "RAGUSA",
    "RAVENNA", "REGGIO DI CALABRIA", "REGGIO NELL'EMILIA", "RIETI", "RIMINI", "ROMA", "ROVIGO",
    "SALERNO", "SASSARI", "SAVONA", "SIENA", "SIRACUSA", "SONDRIO", "TARANTO", "TERAMO", "TERNI",
    "TORINO", "TRAPANI", "TRENTO", "TREVISO", "TRIESTE", "UDINE", "VARESE", "VENEZIA",
    "VERBANIA", "VERCELLI", "VERONA", "VIBO VALENTIA", "VICENZA", "VITERBO"};
static_assert(std::size(kProvinces) == 103);

QString &folderOverride()
{
    static QString folder;
    return folder;
}

} // namespace

void FillProvinceList(QStringList &list)
{
    for (const char *name : kProvinces)
        list << QLatin1String(name);
}

QString ComuniFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath() + QLatin1String("/FilesComuni");
}

void setComuniFolder(const QString &folder)
{
    folderOverride() = folder;
}

QStringList SplitLines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines << fromCp1252(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << fromCp1252(bytes.mid(start));
    return lines;
}

void LoadComuni(const QString &province, QStringList &list)
{
    list.clear();
    const QString path = ComuniFolder() + QLatin1Char('/') + province + QLatin1String(".txt");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(QCoreApplication::translate("tavix", "Impossibile leggere l'elenco dei comuni "
                                                         "%1: %2")
                        .arg(path, file.errorString()));
    }
    list = SplitLines(file.readAll());
}

} // namespace tavix
