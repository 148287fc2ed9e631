// tafserver: the archive service. Subcommands seed, import-taf, add-user, add-release, serve.

#include "Auth.h"
#include "Database.h"
#include "Pages.h"
#include "Seed.h"
#include "TafImport.h"

#include <QGuiApplication>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char *kUsage =
    "uso:\n"
    "  tafserver seed --db FILE [--scope demo|all|comuni] [--root DIR]\n"
    "  tafserver import-taf --db FILE TAFFILE...   (exit code 2: some lines rejected)\n"
    "  tafserver add-user --db FILE EMAIL PASSWORD\n"
    "  tafserver add-release --db FILE VERSIONE FILE [--path INDIRIZZO]\n"
    "  tafserver serve --db FILE [--port 8642] [--bind 127.0.0.1] [--root DIR]\n"
    "--root is the folder of images, updates and prints (default: beside the database,\n"
    "named after it with \"-files\").\n";

struct UsageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// "--key value" options and the remaining positional arguments.
struct Arguments
{
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;

    std::string option(const std::string &key, const std::string &fallback = {}) const
    {
        const auto it = options.find(key);
        return it == options.end() ? fallback : it->second;
    }
    std::string required(const std::string &key) const
    {
        const std::string value = option(key);
        if (value.empty())
            throw UsageError("manca l'opzione " + key);
        return value;
    }
};

Arguments parseArguments(int argc, char **argv, std::initializer_list<std::string> known)
{
    Arguments args;
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.rfind("--", 0) != 0) {
            args.positional.push_back(word);
            continue;
        }
        if (std::find(known.begin(), known.end(), word) == known.end())
            throw UsageError("opzione sconosciuta: " + word);
        if (i + 1 >= argc)
            throw UsageError("manca il valore di " + word);
        args.options[word] = argv[++i];
    }
    return args;
}

std::filesystem::path rootFor(const Arguments &args, const std::string &db)
{
    const std::string root = args.option("--root");
    if (!root.empty())
        return root;
    const std::filesystem::path path(db);
    return path.parent_path() / (path.stem().string() + "-files");
}

int seed(const Arguments &args)
{
    const std::string db = args.required("--db");
    const std::string scope = args.option("--scope", "demo");
    const tafserver::SeedScope chosen = scope == "all"    ? tafserver::SeedScope::All
                                        : scope == "demo" ? tafserver::SeedScope::Demo
                                        : scope == "comuni"
                                            ? tafserver::SeedScope::Comuni
                                            : throw UsageError("scope sconosciuto: " + scope);
    tafserver::Database database(db);
    tafserver::seedDatabase(database, rootFor(args, db), chosen, std::cerr);
    return 0;
}

int importTaf(const Arguments &args)
{
    tafserver::Database database(args.required("--db"));
    database.createSchema();
    if (args.positional.empty())
        throw UsageError("indicare almeno un file TAF");
    long rejected = 0;
    for (const std::string &file : args.positional) {
        const auto result = tafserver::importTafFile(database, file, std::cerr);
        std::cerr << file << ": " << result.loaded << " record caricati, " << result.rejected
                  << " scartati\n";
        rejected += result.rejected;
    }
    tafserver::stampLoadDate(database);
    return rejected == 0 ? 0 : 2;
}

int addUser(const Arguments &args)
{
    if (args.positional.size() != 2)
        throw UsageError("indicare EMAIL e PASSWORD");
    tafserver::Database database(args.required("--db"));
    database.createSchema();
    tafserver::addUser(database, args.positional[0], args.positional[1]);
    return 0;
}

int addRelease(const Arguments &args)
{
    if (args.positional.size() != 2)
        throw UsageError("indicare VERSIONE e FILE");
    tafserver::Database database(args.required("--db"));
    database.createSchema();
    database
        .prepared("INSERT OR REPLACE INTO rilasci(versione, percorsoremoto, fileremoto, data) "
                  "VALUES (?1, ?2, ?3, date('now'))")
        .bind(1, args.positional[0])
        .bind(2, args.option("--path", "aggiornamenti/"))
        .bind(3, args.positional[1])
        .run();
    return 0;
}

int serve(const Arguments &args)
{
    tafserver::ServeOptions options;
    options.database = args.required("--db");
    if (!std::filesystem::exists(options.database))
        throw std::runtime_error("database inesistente: " + options.database +
                                 " (crearlo con tafserver seed)");
    options.bind = args.option("--bind", options.bind);
    const std::string port = args.option("--port", "8642");
    const auto parsed = std::from_chars(port.data(), port.data() + port.size(), options.port);
    if (parsed.ec != std::errc() || parsed.ptr != port.data() + port.size() || options.port < 0 ||
        options.port > 65535)
        throw UsageError("porta non valida: " + port);
    options.root = rootFor(args, options.database);
    return tafserver::serve(options);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    // Only the seed draws (text needs fonts, hence a GUI application without a display); the
    // service reads uploaded pictures, for which the core application is enough.
    int qtArgc = 1;
    std::unique_ptr<QCoreApplication> app;
    if (command == "seed") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(qtArgc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(qtArgc, argv);
    }

    try {
        if (command == "seed")
            return seed(parseArguments(argc, argv, {"--db", "--scope", "--root"}));
        if (command == "import-taf")
            return importTaf(parseArguments(argc, argv, {"--db"}));
        if (command == "add-user")
            return addUser(parseArguments(argc, argv, {"--db"}));
        if (command == "add-release")
            return addRelease(parseArguments(argc, argv, {"--db", "--path"}));
        if (command == "serve")
            return serve(parseArguments(argc, argv, {"--db", "--port", "--bind", "--root"}));
        std::cerr << kUsage;
        return command.empty() || command == "--help" ? 0 : 64;
    } catch (const UsageError &e) {
        std::cerr << "tafserver: " << e.what() << '\n' << kUsage;
        return 64;
    } catch (const std::exception &e) {
        std::cerr << "tafserver: " << e.what() << '\n';
        return 1;
    }
}
