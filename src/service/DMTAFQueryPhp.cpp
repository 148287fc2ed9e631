#include "service/DMTAFQueryPhp.h"

#include "service/CommaText.h"
#include "service/Error.h"
#include "service/ImageKind.h"
#include "service/MultipartForm.h"
#include "service/Notifier.h"
#include "service/RegionFile.h"
#include "service/ServiceConstants.h"
#include "service/TempFolder.h"

#include <QCoreApplication>

#include <algorithm>

#include <pugixml.hpp>

namespace tavix {

namespace {

const QString kUser = QStringLiteral("user");
const QString kPwd = QStringLiteral("pwd");
const QString kComune = QStringLiteral("comune");
const QString kFilename = QStringLiteral("filename");

// Without copying what may be a large answer.
bool isBlank(const QByteArray &body)
{
    return std::all_of(body.cbegin(), body.cend(),
                       [](char c) { return static_cast<unsigned char>(c) <= 0x20; });
}

bool isWellFormedXml(const QByteArray &body)
{
    pugi::xml_document doc;
    return doc.load_buffer(body.constData(), size_t(body.size())).status == pugi::status_ok;
}

} // namespace

TDM_Data::TDM_Data() = default;

TDM_Data::TDM_Data(HttpTransport::Timeouts timeouts) : m_http(timeouts) {}

// ---- request primitives ----------------------------------------------------------------------

QString TDM_Data::QueryAddress() const
{
    return serviceBase() + queryPage();
}

QString TDM_Data::ComuniAddress() const
{
    return serviceBase() + comuniPage();
}

void TDM_Data::Load(const tavix::QueryAddress &address)
{
    QByteArray body;
    bool failed = false;
    try {
        body = m_http.get(address.url());
        failed = isBlank(body);
    } catch (const Error &) {
        failed = true;
    }
    if (!failed) {
        try {
            ClientDataSet1.LoadPacket(body);
            return;
        } catch (const Error &) {
            if (isWellFormedXml(body))
                throw; // XML, but not a data packet: the caller's error
            failed = true;
        }
    }
    notifyError(QCoreApplication::translate("tavix", "Errore"),
                QCoreApplication::translate("tavix", "Interrogazione fallita"));
    ClientDataSet1.LoadPacket({});
}

bool TDM_Data::Download(const QString &address, const QString &localFile)
{
    return m_http.download(QUrl(address), localFile);
}

QString TDM_Data::Post(const QString &address, const MultipartForm &form)
{
    return m_http.post(QUrl(address), form);
}

tavix::QueryAddress TDM_Data::query(const QString &tipoquery) const
{
    return tavix::QueryAddress(QueryAddress(), tipoquery);
}

// Looks the comune up and starts the query with its "comune" pair; the region file of the
// lookup goes to `filename`, which the caller adds at its place in the pair order.
tavix::QueryAddress TDM_Data::perComuneQuery(const QString &tipoquery, const QString &comuneName,
                                             QString *filename)
{
    const ComuneCodeAndRegion lookup = QueryComuneCodeAndRegion(comuneName);
    *filename = RegionFile(lookup.region);
    tavix::QueryAddress q = query(tipoquery);
    q.add(kComune, lookup.code);
    return q;
}

QString TDM_Data::firstRowText(const QString &field)
{
    const int f = ClientDataSet1.fieldByName(field);
    ClientDataSet1.first();
    return ClientDataSet1.eof() ? QString() : ClientDataSet1.text(f);
}

QString TDM_Data::commaListOf(const QString &field)
{
    const int f = ClientDataSet1.fieldByName(field);
    QStringList values;
    for (ClientDataSet1.first(); !ClientDataSet1.eof(); ClientDataSet1.next())
        values << ClientDataSet1.text(f);
    return values.join(QLatin1Char(','));
}

QByteArray TDM_Data::packetOrError()
{
    ClientDataSet1.recordCount(); // a closed table (failed load) ends the operation with an error
    return ClientDataSet1.PacketText();
}

// ---- comune lookups ----------------------------------------------------------------------------

TDM_Data::ComuneCodeAndRegion TDM_Data::QueryComuneCodeAndRegion(const QString &comuneName)
{
    tavix::QueryAddress q(ComuniAddress(), QStringLiteral("codice_per_ncomune"));
    q.add(QStringLiteral("condizione"), NomeComuneCondition(comuneName));
    Load(q);
    const int region = ClientDataSet1.fieldByName(QStringLiteral("Regione"));
    const int code = ClientDataSet1.fieldByName(QStringLiteral("CodiceFiscale"));
    ClientDataSet1.first();
    if (ClientDataSet1.eof())
        return {};
    return {ClientDataSet1.text(region), ClientDataSet1.text(code)};
}

QString TDM_Data::QueryComuneCode(const QString &comuneName)
{
    return QueryComuneCodeAndRegion(comuneName).code;
}

QString TDM_Data::QueryComuneName(const QString &code)
{
    tavix::QueryAddress q(ComuniAddress(), QStringLiteral("ncomune_per_codice"));
    q.add(QStringLiteral("condizione"), CodiceFiscaleCondition(code));
    Load(q);
    return firstRowText(QStringLiteral("NomeComune"));
}

QString TDM_Data::QueryComuneProvince(const QString &code)
{
    tavix::QueryAddress q(ComuniAddress(), QStringLiteral("ncomune_per_codice"));
    q.add(QStringLiteral("condizione"), CodiceFiscaleCondition(code));
    Load(q);
    return firstRowText(QStringLiteral("Provincia"));
}

// ---- TAF selections ------------------------------------------------------------------------------

QByteArray TDM_Data::QueryTafByComune(const QString &comuneName)
{
    QString filename;
    tavix::QueryAddress q = perComuneQuery(QStringLiteral("Taf_Per_NComune"), comuneName, &filename);
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kFilename, filename);
    Load(q);
    return packetOrError();
}

QByteArray TDM_Data::QueryTafByPFFoglio(const QString &comuneName, const QString &pf,
                                        const QString &foglio)
{
    QString filename;
    tavix::QueryAddress q = perComuneQuery(QStringLiteral("TAF_Per_PFFoglio"), comuneName, &filename);
    q.add(QStringLiteral("pf"), pf).add(kUser, ServiceUser).add(kPwd, ServicePassword);
    q.add(QStringLiteral("foglio"), foglio).add(kFilename, filename);
    Load(q);
    return ClientDataSet1.PacketText();
}

QByteArray TDM_Data::QueryTafByFogliInterval(const QString &comuneName, const QString &fromSheet,
                                             const QString &toSheet)
{
    QString filename;
    tavix::QueryAddress q =
        perComuneQuery(QStringLiteral("TAF_Per_IntervalloFogli"), comuneName, &filename);
    q.add(QStringLiteral("dafoglio"), fromSheet).add(QStringLiteral("afoglio"), toSheet);
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kFilename, filename);
    Load(q);
    return packetOrError();
}

QByteArray TDM_Data::QueryTafByReliabilityInterval(const QString &comuneName, const QString &lower,
                                                   const QString &upper)
{
    QString filename;
    tavix::QueryAddress q =
        perComuneQuery(QStringLiteral("TAF_Per_Int_Attendibilita"), comuneName, &filename);
    q.add(QStringLiteral("davalore"), lower).add(QStringLiteral("avalore"), upper);
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kFilename, filename);
    Load(q);
    return packetOrError();
}

QByteArray TDM_Data::QueryTafByFogliList(const QString &sheetItems)
{
    const QStringList items = SplitCommaText(sheetItems);
    if (items.isEmpty())
        return {};
    const ListQueryParts parts = SplitSheetItems(items);
    tavix::QueryAddress q = query(QStringLiteral("TAF_Per_Fogli_CComuni"));
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kFilename, QString());
    q.add(QStringLiteral("lfogli"), parts.lfogli).add(QStringLiteral("lcomuni"), parts.lcomuni);
    Load(q);
    return ClientDataSet1.PacketText();
}

QByteArray TDM_Data::QueryTafByPFList(const QString &pfItems)
{
    const QStringList items = SplitCommaText(pfItems);
    if (items.isEmpty())
        return {};
    const ListQueryParts parts = SplitPFItems(items);
    tavix::QueryAddress q = query(QStringLiteral("TAF_Per_PF_Fogli_CComuni"));
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kFilename, QString());
    q.add(QStringLiteral("lpf"), parts.lpf).add(QStringLiteral("lfogli"), parts.lfogli);
    q.add(QStringLiteral("lcomuni"), parts.lcomuni);
    Load(q);
    return ClientDataSet1.PacketText();
}

// ---- lists ----------------------------------------------------------------------------------------

QString TDM_Data::QueryFogliOfComune(const QString &comuneName)
{
    const ComuneCodeAndRegion lookup = QueryComuneCodeAndRegion(comuneName);
    tavix::QueryAddress q = query(QStringLiteral("Fogli_PerNComune"));
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kComune, lookup.code);
    q.add(kFilename, RegionFile(lookup.region));
    Load(q);
    return commaListOf(QStringLiteral("Foglio"));
}

QString TDM_Data::QueryPFOfComuneFoglio(const QString &comuneName, const QString &foglio)
{
    QString filename;
    tavix::QueryAddress q =
        perComuneQuery(QStringLiteral("PF_PerNComuneEFoglio"), comuneName, &filename);
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(QStringLiteral("foglio"), foglio);
    q.add(kFilename, filename);
    Load(q);
    return commaListOf(QStringLiteral("PF"));
}

QString TDM_Data::QueryReliabilitiesOfComune(const QString &comuneName)
{
    QString filename;
    tavix::QueryAddress q =
        perComuneQuery(QStringLiteral("Attendibilita_PerNComune"), comuneName, &filename);
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kFilename, filename);
    Load(q);
    return commaListOf(QStringLiteral("Attendibilita_P"));
}

// ---- account and archive ------------------------------------------------------------------------

QString TDM_Data::QueryTafUpdateDate()
{
    tavix::QueryAddress q = query(QStringLiteral("data_agg_taf"));
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword);
    Load(q);
    return firstRowText(QStringLiteral("data_taf"));
}

QString TDM_Data::QueryUserCheck(const QString &user, const QString &password,
                                 const QString &version)
{
    tavix::QueryAddress q = query(QStringLiteral("controlla_user"));
    q.add(kUser, user).add(kPwd, password).add(QStringLiteral("versione"), version);
    Load(q);
    return firstRowText(QStringLiteral("messaggio"));
}

TDM_Data::UpdateInfo TDM_Data::QueryUpdateCheck(const QString &user, const QString &password,
                                                const QString &version)
{
    tavix::QueryAddress q = query(QStringLiteral("controlla_aggiornamenti"));
    q.add(QStringLiteral("versione"), version).add(kUser, user).add(kPwd, password);
    Load(q);
    const int path = ClientDataSet1.fieldByName(QStringLiteral("percorsoremoto"));
    const int file = ClientDataSet1.fieldByName(QStringLiteral("fileremoto"));
    ClientDataSet1.first();
    if (ClientDataSet1.eof())
        return {};
    return {ClientDataSet1.text(path) + ClientDataSet1.text(file), ClientDataSet1.text(file)};
}

// ---- images and reports ---------------------------------------------------------------------------

TDM_Data::ImageDownload TDM_Data::DownloadImages(const QString &code, const QString &sezione,
                                                 const QString &foglio, const QString &pf)
{
    ImageDownload result;
    tavix::QueryAddress q = query(QStringLiteral("download_img"));
    q.add(kUser, ServiceUser).add(kPwd, ServicePassword).add(kComune, code);
    q.add(QStringLiteral("sezione"), sezione).add(QStringLiteral("foglio"), foglio);
    q.add(QStringLiteral("pf"), pf);
    Load(q);
    std::array<QString, 4> remote;
    for (ImageKind kind : kImageKinds)
        remote[size_t(kind)] = firstRowText(imageAnswerField(kind));
    for (ImageKind kind : kImageKinds) {
        const QString &path = remote[size_t(kind)];
        if (path.isEmpty())
            continue;
        try {
            const QString local = ImageLocalName(TempFolder(), path, kind);
            Download(serviceBase() + path, local); // its outcome is not examined
            result.localNames[size_t(kind)] = local;
        } catch (const Error &) {
            result.status = QStringLiteral("KO");
        }
    }
    return result;
}

QString TDM_Data::UploadImages(const QString &user, const QString &code, const QString &sezione,
                               const QString &foglio, const QString &pf,
                               const std::array<QString, 4> &files)
{
    MultipartForm form;
    form.addText(kUser, user);
    form.addText(kComune, code);
    form.addText(QStringLiteral("sezione"), sezione);
    form.addText(QStringLiteral("foglio"), foglio);
    form.addText(QStringLiteral("pf"), pf);
    for (ImageKind kind : kImageKinds) {
        if (files[size_t(kind)].isEmpty())
            form.addText(imageUploadField(kind), QString());
    }
    for (ImageKind kind : kImageKinds) {
        if (!files[size_t(kind)].isEmpty())
            form.addFile(imageUploadField(kind), files[size_t(kind)]);
    }
    return Post(serviceBase() + uploadPage(), form);
}

void TDM_Data::SendPrintedCards(const QString &entries)
{
    for (const QString &entry : SplitCommaText(entries)) {
        MultipartForm form;
        form.addText(QStringLiteral("punto"), entry);
        Post(serviceBase() + printedCardsPage(), form);
    }
}

// ---- list items ----------------------------------------------------------------------------------

ListQueryParts SplitSheetItems(const QStringList &items)
{
    QStringList sheets, codes;
    for (const QString &item : items) {
        sheets << item.mid(0, 4);
        codes << item.mid(5, item.size() == 10 ? 5 : 4);
    }
    return {QString(), sheets.join(QLatin1Char(';')), codes.join(QLatin1Char(';'))};
}

ListQueryParts SplitPFItems(const QStringList &items)
{
    QStringList pfs, sheets, codes;
    for (QString item : items) {
        if (item.size() > 1 && item.at(1) == QLatin1Char('/'))
            item.prepend(QLatin1Char('0'));
        pfs << item.mid(0, 2);
        sheets << item.mid(3, 4);
        codes << item.mid(8, item.size() == 13 ? 5 : 4);
    }
    return {pfs.join(QLatin1Char(';')), sheets.join(QLatin1Char(';')), codes.join(QLatin1Char(';'))};
}

} // namespace tavix
