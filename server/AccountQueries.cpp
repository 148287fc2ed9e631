#include "AccountQueries.h"

#include "Auth.h"
#include "Database.h"
#include "ImageStore.h"
#include "Text.h"

#include <array>
#include <charconv>

namespace tafserver {
namespace {

long versionPart(std::string_view &rest)
{
    const std::size_t dot = rest.find('.');
    const std::string_view part = rest.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
    long value = 0;
    std::from_chars(part.data(), part.data() + part.size(), value);
    return value;
}

// Stored paths may be relative to this service; the client needs an absolute address.
std::string absoluteAddress(const std::string &path, const std::string &host)
{
    if (path.rfind("http://", 0) == 0 || path.rfind("https://", 0) == 0 || host.empty())
        return path;
    return "http://" + host + "/" + path;
}

const std::vector<FieldDef> kDateFields = {{"data_taf", "string", 10}};
const std::vector<FieldDef> kMessageFields = {{"messaggio", "string", 255}};
const std::vector<FieldDef> kUpdateFields = {{"percorsoremoto", "string", 255},
                                             {"fileremoto", "string", 255}};
const std::vector<FieldDef> kImageFields = {{"monografia_planim", "string", 255},
                                            {"monografia_altim", "string", 255},
                                            {"emp", "string", 255},
                                            {"info_ausiliarie", "string", 255}};

} // namespace

int compareVersions(std::string_view a, std::string_view b)
{
    a = trimmed(a);
    b = trimmed(b);
    while (!a.empty() || !b.empty()) {
        const long x = versionPart(a);
        const long y = versionPart(b);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

Answer dataAggTaf(const QueryRequest &request)
{
    if (!credentialsValid(request))
        return refused(kDateFields, "credenziali non valide");
    PacketWriter packet(kDateFields);
    packet.beginRow();
    packet.text("data_taf", request.db.meta("data_taf"));
    packet.endRow();
    return packetAnswer(packet.finish());
}

Answer controllaUser(const QueryRequest &request)
{
    const std::string &user = request.get("user");
    std::string message;
    switch (checkCredentials(request.db, user, request.get("pwd"))) {
    case Credentials::Ok:
        message = "OK Benvenuto " + user;
        break;
    case Credentials::Disabled:
        message = "KO Utenza disabilitata: rivolgersi all'assistenza";
        break;
    case Credentials::Unknown:
        message = user.empty() ? "KO Indicare l'utente e la password"
                               : "KO Utente o password non riconosciuti";
        break;
    }
    PacketWriter packet(kMessageFields);
    packet.beginRow();
    packet.text("messaggio", message);
    packet.endRow();
    return packetAnswer(packet.finish());
}

Answer controllaAggiornamenti(const QueryRequest &request)
{
    if (!credentialsValid(request))
        return refused(kUpdateFields, "credenziali non valide");
    PacketWriter packet(kUpdateFields);
    Statement &q = request.db.prepared("SELECT versione, percorsoremoto, fileremoto FROM rilasci");
    std::string newest = request.get("versione");
    std::string path;
    std::string file;
    while (q.step()) {
        if (compareVersions(q.text(0), newest) > 0) {
            newest = q.text(0);
            path = q.text(1);
            file = q.text(2);
        }
    }
    if (!file.empty()) {
        packet.beginRow();
        packet.text("percorsoremoto", absoluteAddress(path, request.host));
        packet.text("fileremoto", file);
        packet.endRow();
    }
    return packetAnswer(packet.finish());
}

Answer downloadImg(const QueryRequest &request)
{
    if (!credentialsValid(request))
        return refused(kImageFields, "credenziali non valide");
    const auto comune = parseComune(request.get("comune"));
    const auto sheet = parseSheet(request.get("foglio"));
    const auto pf = parsePf(request.get("pf"));
    PacketWriter packet(kImageFields);
    if (!comune || !sheet || !pf)
        return packetAnswer(packet.finish());
    const std::string section =
        comune->section.empty() ? upper(trimmed(request.get("sezione"))) : comune->section;
    Statement &exists = request.db.prepared(
        "SELECT 1 FROM taf WHERE codice = ?1 AND sezione = ?2 AND foglio = ?3 AND pf_num = ?4");
    exists.bind(1, comune->base).bind(2, section).bind(3, *sheet).bind(4, *pf);
    const bool found = exists.step();
    exists.reset();
    if (!found)
        return packetAnswer(packet.finish());

    std::array<std::string, kImageKinds> paths;
    Statement &q = request.db.prepared("SELECT tipo, percorso FROM immagini WHERE codice = ?1 "
                                       "AND sezione = ?2 AND foglio = ?3 AND pf_num = ?4");
    q.bind(1, comune->base).bind(2, section).bind(3, *sheet).bind(4, *pf);
    while (q.step()) {
        const long long kind = q.integer(0);
        if (kind >= 0 && kind < kImageKinds)
            paths[static_cast<std::size_t>(kind)] = q.text(1);
    }
    static constexpr std::string_view names[kImageKinds] = {"monografia_planim", "monografia_altim",
                                                            "emp", "info_ausiliarie"};
    packet.beginRow();
    for (int kind = 0; kind < kImageKinds; ++kind)
        packet.text(names[kind], paths[static_cast<std::size_t>(kind)]);
    packet.endRow();
    return packetAnswer(packet.finish());
}

} // namespace tafserver
