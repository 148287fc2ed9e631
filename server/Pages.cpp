#include "Pages.h"

#include "AccountQueries.h"
#include "Database.h"
#include "Lookups.h"
#include "Registration.h"
#include "RegistrationPage.h"
#include "TafQueries.h"
#include "Text.h"
#include "Upload.h"

#include <httplib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <pthread.h>
#include <thread>

namespace tafserver {
namespace {

constexpr std::size_t kMaxBody = 16 * 1024 * 1024; // four images as Base64, with room to spare
constexpr std::size_t kWorkers = 32;
constexpr const char *kRefusalHeader = "X-Tafserver-Rifiuto";
constexpr const char *kText = "text/plain; charset=UTF-8";
constexpr const char *kHtml = "text/html; charset=UTF-8";
constexpr std::size_t kMaxFormBody = 8 * 1024; // four short fields

struct NamedQuery
{
    std::string_view name;
    QueryHandler handler;
};

constexpr NamedQuery kQueryPage[] = {
    {"Taf_Per_NComune", tafPerNComune},
    {"TAF_Per_PFFoglio", tafPerPfFoglio},
    {"TAF_Per_IntervalloFogli", tafPerIntervalloFogli},
    {"TAF_Per_Int_Attendibilita", tafPerIntAttendibilita},
    {"TAF_Per_Fogli_CComuni", tafPerFogliCComuni},
    {"TAF_Per_PF_Fogli_CComuni", tafPerPfFogliCComuni},
    {"Fogli_PerNComune", fogliPerNComune},
    {"PF_PerNComuneEFoglio", pfPerNComuneEFoglio},
    {"Attendibilita_PerNComune", attendibilitaPerNComune},
    {"data_agg_taf", dataAggTaf},
    {"controlla_user", controllaUser},
    {"controlla_aggiornamenti", controllaAggiornamenti},
    {"download_img", downloadImg},
};

constexpr NamedQuery kComuniPage[] = {
    {"codice_per_ncomune", codicePerNComune},
    {"ncomune_per_codice", nComunePerCodice},
};

template <std::size_t N>
QueryHandler findHandler(const NamedQuery (&table)[N], std::string_view name)
{
    for (const NamedQuery &q : table)
        if (q.name == name)
            return q.handler;
    return nullptr;
}

// One connection per worker thread, opened on its first request.
Database &threadDatabase(const std::string &path)
{
    thread_local std::unique_ptr<Database> db;
    if (!db)
        db = std::make_unique<Database>(path);
    return *db;
}

thread_local std::chrono::steady_clock::time_point t_requestStart;
thread_local std::string t_tipoquery;

void logRequest(const httplib::Request &req, const httplib::Response &res)
{
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t_requestStart)
            .count();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    // The query string carries passwords: only the page and the query name are logged.
    std::string line =
        std::string(stamp) + " " + req.remote_addr + " " + req.method + " " + req.path;
    if (!t_tipoquery.empty())
        line += " tipoquery=" + t_tipoquery;
    char tail[96];
    std::snprintf(tail, sizeof tail, " %d %zu %.1fms", res.status, res.body.size(), ms);
    line += tail;
    const std::string refusal = res.get_header_value(kRefusalHeader);
    if (!refusal.empty())
        line += " rifiuto: " + refusal;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void textAnswer(httplib::Response &res, int status, const std::string &message)
{
    res.status = status;
    res.set_content(message, kText);
}

template <std::size_t N>
void runQuery(const NamedQuery (&table)[N], const std::string &dbPath, const httplib::Request &req,
              httplib::Response &res)
{
    const std::size_t mark = req.target.find('?');
    const auto params =
        parseQuery(mark == std::string::npos ? std::string_view{}
                                             : std::string_view(req.target).substr(mark + 1));
    if (!params)
        return textAnswer(res, 400,
                          "Richiesta malformata: parametri non decodificabili o ripetuti");
    const auto it = params->find("tipoquery");
    t_tipoquery = it == params->end() ? std::string() : it->second.substr(0, 64);
    const QueryHandler handler = findHandler(table, t_tipoquery);
    if (!handler)
        return textAnswer(res, 400, "tipoquery sconosciuta su questa pagina: " + t_tipoquery);
    QueryRequest request{threadDatabase(dbPath), *params, req.get_header_value("Host")};
    Answer answer = handler(request);
    res.status = answer.status;
    res.body = std::move(answer.body); // packets run to a megabyte: no copy
    res.set_header("Content-Type", answer.contentType);
    if (!answer.refusal.empty())
        res.set_header(kRefusalHeader, answer.refusal);
}

FormFields formFields(const httplib::Request &req)
{
    FormFields fields;
    for (const auto &[name, part] : req.files)
        fields[name] = part.content;
    return fields;
}

void htmlAnswer(httplib::Response &res, const std::string &html)
{
    res.status = 200;
    res.set_content(html, kHtml);
    // The pages need nothing from elsewhere: no scripts, no frames, forms only back here.
    res.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'; "
                                              "form-action 'self'; frame-ancestors 'none'");
}

void submitRegistration(Database &db, const httplib::Request &req, httplib::Response &res)
{
    if (req.get_header_value("Content-Type").rfind("application/x-www-form-urlencoded", 0) != 0)
        return textAnswer(res, 400,
                          "Richiesta non valida: attesi campi application/x-www-form-urlencoded");
    if (req.body.size() > kMaxFormBody)
        return textAnswer(res, 413, "Richiesta troppo grande");
    const auto form = parseUtf8Form(req.body);
    if (!form)
        return textAnswer(res, 400, "Richiesta malformata: campi non decodificabili o ripetuti");
    const RegistrationFields fields = registrationFields(*form);
    const RegistrationErrors errors = registerUser(db, fields);
    htmlAnswer(res,
               errors.any() ? registrationFormPage(fields, errors) : registrationDonePage(fields));
}

void setupPages(httplib::Server &server, const ServeOptions &options)
{
    const std::string db = options.database;
    const std::filesystem::path root = options.root;
    server.Get("/query.php", [db](const httplib::Request &req, httplib::Response &res) {
        runQuery(kQueryPage, db, req, res);
    });
    server.Get("/comuni.php", [db](const httplib::Request &req, httplib::Response &res) {
        runQuery(kComuniPage, db, req, res);
    });
    server.Post("/upload.php", [db, root](const httplib::Request &req, httplib::Response &res) {
        if (!req.is_multipart_form_data())
            return textAnswer(res, 400, "Richiesta non valida: attesi campi multipart/form-data");
        textAnswer(res, 200, uploadImages(threadDatabase(db), root, formFields(req)));
    });
    server.Post("/stampate.php", [db](const httplib::Request &req, httplib::Response &res) {
        if (!req.is_multipart_form_data())
            return textAnswer(res, 400, "Richiesta non valida: attesi campi multipart/form-data");
        const std::string message =
            recordPrintedCard(threadDatabase(db), formFields(req), req.remote_addr);
        textAnswer(res, message.empty() ? 200 : 400, message);
    });
    server.Get("/registrazione.php", [](const httplib::Request &, httplib::Response &res) {
        htmlAnswer(res, registrationFormPage());
    });
    server.Post("/registrazione.php", [db](const httplib::Request &req, httplib::Response &res) {
        submitRegistration(threadDatabase(db), req, res);
    });
    for (const char *folder : {"immagini", "aggiornamenti", "stampe"}) {
        std::filesystem::create_directories(root / folder);
        server.set_mount_point(std::string("/") + folder, (root / folder).string());
    }
}

void setupLimitsAndLogging(httplib::Server &server)
{
    server.set_payload_max_length(kMaxBody);
    // A client that sends slowly holds a worker until the timeout: enough workers that a few
    // of them cannot starve the rest, and timeouts short enough to free them soon.
    server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    server.set_read_timeout(5);
    server.set_write_timeout(10);
    server.set_keep_alive_timeout(5);
    server.set_keep_alive_max_count(1000);
    // Headers and body go out in separate writes: without this, delayed ACKs add 40 ms.
    server.set_tcp_nodelay(true);
    server.set_pre_routing_handler([](const httplib::Request &, httplib::Response &) {
        t_requestStart = std::chrono::steady_clock::now();
        t_tipoquery.clear();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_exception_handler(
        [](const httplib::Request &, httplib::Response &res, std::exception_ptr error) {
            std::string what = "errore sconosciuto";
            try {
                std::rethrow_exception(error);
            } catch (const std::exception &e) {
                what = e.what();
            } catch (...) {
            }
            std::fprintf(stderr, "errore interno: %s\n", what.c_str());
            textAnswer(res, 500, "Errore interno del servizio: riprovare piu' tardi");
        });
    server.set_error_handler([](const httplib::Request &, httplib::Response &res) {
        if (!res.body.empty())
            return;
        switch (res.status) {
        case 404:
            res.set_content("Pagina inesistente", kText);
            break;
        case 413:
            res.set_content("Richiesta troppo grande", kText);
            break;
        case 414:
            res.set_content("Indirizzo troppo lungo", kText);
            break;
        default:
            res.set_content("Richiesta non valida", kText);
            break;
        }
    });
    server.set_logger(logRequest);
}

} // namespace

int serve(const ServeOptions &options)
{
    {
        Database db(options.database);
        db.createSchema();
    }
    std::signal(SIGPIPE, SIG_IGN); // a client gone mid-answer is an error to log, not a crash
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr); // workers inherit the mask

    httplib::Server server;
    setupPages(server, options);
    setupLimitsAndLogging(server);

    const int port = options.port == 0
                         ? server.bind_to_any_port(options.bind)
                         : (server.bind_to_port(options.bind, options.port) ? options.port : -1);
    if (port < 0) {
        std::fprintf(stderr, "tafserver: impossibile ascoltare su %s:%d\n", options.bind.c_str(),
                     options.port);
        return 1;
    }
    std::printf("tafserver: in ascolto su http://%s:%d/\n", options.bind.c_str(), port);
    std::fflush(stdout);

    std::thread watcher([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    const bool ok = server.listen_after_bind();
    if (watcher.joinable()) {
        pthread_kill(watcher.native_handle(), SIGTERM); // wakes the watcher if nobody signalled
        watcher.join();
    }
    std::fprintf(stderr, "tafserver: fermato\n");
    return ok ? 0 : 1;
}

} // namespace tafserver
