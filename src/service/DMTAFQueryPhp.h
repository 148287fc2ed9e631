#pragma once

#include "service/HttpTransport.h"
#include "service/QueryAddress.h"
#include "service/ResultTable.h"

#include <QString>
#include <QStringList>

#include <array>

namespace tavix {

class MultipartForm;

// The data module: one operation per request of the archive service. Each query loads its
// answer into ClientDataSet1 and returns what its callers need.
class TDM_Data
{
public:
    TDM_Data();
    explicit TDM_Data(HttpTransport::Timeouts timeouts);

    // Credentials sent with every query that carries them; filled by the access gate.
    QString ServiceUser;
    QString ServicePassword;
    ResultTable ClientDataSet1;

    struct ComuneCodeAndRegion
    {
        QString region;
        QString code;
    };
    struct ImageDownload
    {
        QString status = QStringLiteral("OK");
        std::array<QString, 4> localNames; // in the order of ImageKind; empty for none
    };
    struct UpdateInfo
    {
        QString address;  // where to download from; empty means no update
        QString fileName; // the name offered when saving
    };

    // Comune lookups.
    ComuneCodeAndRegion QueryComuneCodeAndRegion(const QString &comuneName);
    QString QueryComuneCode(const QString &comuneName);
    QString QueryComuneName(const QString &code);
    QString QueryComuneProvince(const QString &code);

    // TAF selections: the answer as packet text.
    QByteArray QueryTafByComune(const QString &comuneName);
    QByteArray QueryTafByPFFoglio(const QString &comuneName, const QString &pf, const QString &foglio);
    QByteArray QueryTafByFogliInterval(const QString &comuneName, const QString &fromSheet,
                                       const QString &toSheet);
    QByteArray QueryTafByReliabilityInterval(const QString &comuneName, const QString &lower,
                                             const QString &upper);
    QByteArray QueryTafByFogliList(const QString &sheetItems);
    QByteArray QueryTafByPFList(const QString &pfItems);

    // Lists for the selection dialogs, as comma lists.
    QString QueryFogliOfComune(const QString &comuneName);
    QString QueryPFOfComuneFoglio(const QString &comuneName, const QString &foglio);
    QString QueryReliabilitiesOfComune(const QString &comuneName);

    QString QueryTafUpdateDate();
    QString QueryUserCheck(const QString &user, const QString &password, const QString &version);
    UpdateInfo QueryUpdateCheck(const QString &user, const QString &password,
                                const QString &version);

    ImageDownload DownloadImages(const QString &code, const QString &sezione,
                                 const QString &foglio, const QString &pf);
    // files: one path per image kind, empty for none. An empty answer means success.
    QString UploadImages(const QString &user, const QString &code, const QString &sezione,
                         const QString &foglio, const QString &pf,
                         const std::array<QString, 4> &files);
    void SendPrintedCards(const QString &entries);

    // Request primitives.
    QString QueryAddress() const;
    QString ComuniAddress() const;
    void Load(const tavix::QueryAddress &address);
    bool Download(const QString &address, const QString &localFile);
    QString Post(const QString &address, const MultipartForm &form);

    HttpTransport &transport() { return m_http; }

private:
    tavix::QueryAddress query(const QString &tipoquery) const;
    tavix::QueryAddress perComuneQuery(const QString &tipoquery, const QString &comuneName,
                                       QString *filename);
    QString firstRowText(const QString &field);
    QString commaListOf(const QString &field);
    QByteArray packetOrError();

    HttpTransport m_http;
};

// Sheet and PF list items taken apart by position, as the list queries send them.
struct ListQueryParts
{
    QString lpf;
    QString lfogli;
    QString lcomuni;
};
ListQueryParts SplitSheetItems(const QStringList &items);
ListQueryParts SplitPFItems(const QStringList &items);

} // namespace tavix
