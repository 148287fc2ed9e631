#include "Upload.h"

#include "AnswerCache.h"
#include "Database.h"
#include "ImageStore.h"
#include "QueryCommon.h"
#include "Text.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <array>
#include <ctime>
#include <mutex>
#include <optional>

namespace tafserver {
namespace {

constexpr std::array<std::string_view, kImageKinds> kFileFields = {"file_planim", "file_altim",
                                                                   "file_emp", "file_infoaus"};
constexpr std::array<std::string_view, kImageKinds> kKindNames = {
    "monografia", "fotografia", "estratto di mappa", "informazioni ausiliarie"};

struct Incoming
{
    int kind;
    std::string bytes;
    std::string extension;
};

std::string textField(const FormFields &form, const char *name)
{
    const auto it = form.find(name);
    return it == form.end() ? std::string() : windows1252ToUtf8(trimmed(it->second));
}

// The file's extension when it is a picture the archive keeps; nullopt otherwise.
std::optional<std::string> imageExtension(const std::string &bytes)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (reader.read().isNull())
        return std::nullopt;
    if (format == "png" || format == "bmp" || format == "gif")
        return format.toStdString();
    if (format == "jpeg" || format == "jpg")
        return std::string("jpg");
    if (format == "tif" || format == "tiff")
        return std::string("tif");
    return std::nullopt;
}

std::string now()
{
    const std::time_t t = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&t));
    return text;
}

std::mutex &uploadMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

std::string uploadImages(Database &db, const std::filesystem::path &root, const FormFields &form)
{
    const std::string user = textField(form, "user");
    const auto comune = parseComune(textField(form, "comune"));
    const auto sheet = parseSheet(textField(form, "foglio"));
    const auto pf = parsePf(textField(form, "pf"));
    if (!comune || !sheet || !pf)
        return "Dati del punto fiduciale mancanti o non validi";
    const std::string section =
        comune->section.empty() ? upper(textField(form, "sezione")) : comune->section;

    Statement &account = db.prepared("SELECT attivo FROM utenti WHERE email = ?1");
    account.bind(1, user);
    const bool known = account.step() && account.integer(0) != 0;
    account.reset();
    if (!known)
        return "Utente non riconosciuto: impossibile associare le immagini";

    std::vector<Incoming> images;
    for (int kind = 0; kind < kImageKinds; ++kind) {
        const auto it = form.find(std::string(kFileFields[static_cast<std::size_t>(kind)]));
        if (it == form.end() || trimmed(it->second).empty())
            continue;
        const std::string name(kKindNames[static_cast<std::size_t>(kind)]);
        const auto bytes = base64Decode(trimmed(it->second));
        if (!bytes || bytes->empty())
            return "Immagine non valida (" + name + "): il file non e' codificato correttamente";
        const auto extension = imageExtension(*bytes);
        if (!extension)
            return "Immagine non valida (" + name + "): formato non riconosciuto";
        images.push_back({kind, *bytes, *extension});
    }
    if (images.empty())
        return "Nessuna immagine ricevuta";

    const std::lock_guard lock(uploadMutex());
    Statement &point = db.prepared(
        "SELECT 1 FROM taf WHERE codice = ?1 AND sezione = ?2 AND foglio = ?3 AND pf_num = ?4");
    point.bind(1, comune->base).bind(2, section).bind(3, *sheet).bind(4, *pf);
    const bool exists = point.step();
    point.reset();
    if (!exists)
        return "Punto fiduciale non presente in archivio";
    for (const Incoming &image : images) {
        Statement &q = db.prepared("SELECT 1 FROM immagini WHERE codice = ?1 AND sezione = ?2 "
                                   "AND foglio = ?3 AND pf_num = ?4 AND tipo = ?5");
        q.bind(1, comune->base).bind(2, section).bind(3, *sheet).bind(4, *pf).bind(5, image.kind);
        const bool present = q.step();
        q.reset();
        if (present)
            return "Il punto ha gia' un'immagine di tipo " +
                   std::string(kKindNames[static_cast<std::size_t>(image.kind)]) +
                   ": chiederne la sostituzione";
    }

    Transaction transaction(db);
    for (const Incoming &image : images) {
        const std::string path =
            imagePath(comune->base + section, *sheet, *pf, image.kind, image.extension);
        writeFileAtomically(root, path, image.bytes);
        db.prepared("INSERT INTO immagini(codice, sezione, foglio, pf_num, tipo, percorso) "
                    "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
            .bind(1, comune->base)
            .bind(2, section)
            .bind(3, *sheet)
            .bind(4, *pf)
            .bind(5, image.kind)
            .bind(6, path)
            .run();
    }
    db.prepared("UPDATE taf SET immagini = immagini + ?5 WHERE codice = ?1 AND sezione = ?2 "
                "AND foglio = ?3 AND pf_num = ?4")
        .bind(1, comune->base)
        .bind(2, section)
        .bind(3, *sheet)
        .bind(4, *pf)
        .bind(5, static_cast<long long>(images.size()))
        .run();
    bumpDataGeneration(db);
    transaction.commit();
    return {};
}

std::string recordPrintedCard(Database &db, const FormFields &form, const std::string &address)
{
    const std::string punto = textField(form, "punto");
    if (punto.empty() || punto.size() > 64)
        return "Campo punto mancante o non valido";
    db.prepared(
          "INSERT INTO schede_stampate(punto, utente, ora, indirizzo) VALUES (?1, ?2, ?3, ?4)")
        .bind(1, punto)
        .bind(2, textField(form, "user"))
        .bind(3, now())
        .bind(4, address)
        .run();
    return {};
}

} // namespace tafserver
