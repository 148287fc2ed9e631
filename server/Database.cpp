#include "Database.h"

namespace tafserver {
namespace {

constexpr std::string_view kSchema = R"sql(
CREATE TABLE IF NOT EXISTS comuni (
    codice    TEXT PRIMARY KEY,          -- 4 characters, or 5 for a sezione censuaria
    nome      TEXT NOT NULL,
    provincia TEXT NOT NULL,
    regione   TEXT NOT NULL
) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS comuni_nome ON comuni(nome);

-- Cassini-Soldner origin of each comune's maps (not carried by the TAF record).
CREATE TABLE IF NOT EXISTS origini (
    codice  TEXT PRIMARY KEY,
    origine TEXT NOT NULL
) WITHOUT ROWID;

CREATE TABLE IF NOT EXISTS taf (
    codice      TEXT NOT NULL,           -- 4 characters
    sezione     TEXT NOT NULL,           -- '' or one letter
    foglio      TEXT NOT NULL,           -- canonical: 3 characters of sheet + allegato
    pf_num      INTEGER NOT NULL,
    pf          TEXT NOT NULL,
    particella  TEXT NOT NULL,
    xcassini    REAL,
    ycassini    REAL,
    nord        REAL,
    est         REAL,
    quota       REAL,
    att_p       TEXT NOT NULL,
    att_p_num   INTEGER,
    att_a       TEXT NOT NULL,
    rif_planim  TEXT NOT NULL,
    rif_altim   TEXT NOT NULL,
    annotazioni TEXT NOT NULL DEFAULT '',
    fuso        TEXT NOT NULL DEFAULT '',
    fg_orig     TEXT NOT NULL,
    pf_orig     TEXT NOT NULL,
    ultima_var  TEXT NOT NULL,
    causale     TEXT NOT NULL,
    immagini    INTEGER NOT NULL DEFAULT 0,  -- number of stored images
    PRIMARY KEY (codice, sezione, foglio, pf_num)
) WITHOUT ROWID;

CREATE TABLE IF NOT EXISTS immagini (
    codice   TEXT NOT NULL,
    sezione  TEXT NOT NULL,
    foglio   TEXT NOT NULL,
    pf_num   INTEGER NOT NULL,
    tipo     INTEGER NOT NULL,            -- 0 monograph, 1 photograph, 2 map extract, 3 info
    percorso TEXT NOT NULL,               -- relative to the service root
    PRIMARY KEY (codice, sezione, foglio, pf_num, tipo)
) WITHOUT ROWID;

CREATE TABLE IF NOT EXISTS utenti (
    email  TEXT PRIMARY KEY COLLATE NOCASE,
    hash   TEXT NOT NULL,
    attivo INTEGER NOT NULL DEFAULT 1,
    creato TEXT NOT NULL,
    nome   TEXT NOT NULL DEFAULT ''     -- the technician, as given on the registration page
);

CREATE TABLE IF NOT EXISTS rilasci (
    versione       TEXT PRIMARY KEY,
    percorsoremoto TEXT NOT NULL,
    fileremoto     TEXT NOT NULL,
    data           TEXT NOT NULL
);

CREATE TABLE IF NOT EXISTS schede_stampate (
    id        INTEGER PRIMARY KEY,
    punto     TEXT NOT NULL,
    utente    TEXT NOT NULL,
    ora       TEXT NOT NULL,
    indirizzo TEXT NOT NULL
);

CREATE TABLE IF NOT EXISTS meta (
    chiave TEXT PRIMARY KEY,
    valore TEXT NOT NULL
);
)sql";

// Columns added after databases were already in use: (table, column, definition).
struct AddedColumn
{
    std::string_view table;
    std::string_view column;
    std::string_view definition;
};
constexpr AddedColumn kAddedColumns[] = {
    {"utenti", "nome", "TEXT NOT NULL DEFAULT ''"},
};

} // namespace

Statement::Statement(sqlite3 *db, std::string_view sql) : m_db(db)
{
    if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &m_stmt, nullptr) != SQLITE_OK)
        throw DbError(std::string("SQL non valido: ") + sqlite3_errmsg(db));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement &Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    return *this;
}

Statement &Statement::bind(int index, std::string_view value)
{
    sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

Statement &Statement::bind(int index, double value)
{
    sqlite3_bind_double(m_stmt, index, value);
    return *this;
}

Statement &Statement::bind(int index, long long value)
{
    sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

Statement &Statement::bindNull(int index)
{
    sqlite3_bind_null(m_stmt, index);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const std::string message = sqlite3_errmsg(m_db);
    sqlite3_reset(m_stmt);
    throw DbError("errore del database: " + message);
}

void Statement::run()
{
    while (step()) {
    }
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::string_view Statement::text(int column) const
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    if (!p)
        return {};
    return {p, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column))};
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

long long Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

Database::Database(const std::string &path)
{
    if (sqlite3_open_v2(path.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "memoria esaurita";
        sqlite3_close(m_db);
        throw DbError("impossibile aprire " + path + ": " + message);
    }
    sqlite3_busy_timeout(m_db, 5000);
    exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
}

Database::~Database()
{
    m_statements.clear();
    sqlite3_close(m_db);
}

void Database::exec(std::string_view sql)
{
    char *error = nullptr;
    const std::string text(sql);
    if (sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "errore sconosciuto";
        sqlite3_free(error);
        throw DbError("errore del database: " + message);
    }
}

Statement &Database::prepared(std::string_view sql)
{
    auto &slot = m_statements[std::string(sql)];
    if (!slot)
        slot = std::make_unique<Statement>(m_db, sql);
    return slot->reset();
}

void Database::createSchema()
{
    exec(kSchema);
    addMissingColumns();
}

void Database::addMissingColumns()
{
    // In a write transaction: two processes opening an old database add each column once.
    Transaction transaction(*this);
    for (const AddedColumn &added : kAddedColumns) {
        Statement &q = prepared("SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2");
        q.bind(1, added.table).bind(2, added.column);
        const bool present = q.step();
        q.reset();
        if (!present)
            exec("ALTER TABLE " + std::string(added.table) + " ADD COLUMN " +
                 std::string(added.column) + " " + std::string(added.definition));
    }
    transaction.commit();
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

std::string Database::meta(std::string_view key)
{
    Statement &q = prepared("SELECT valore FROM meta WHERE chiave = ?1");
    q.bind(1, key);
    std::string value = q.step() ? std::string(q.text(0)) : std::string();
    q.reset();
    return value;
}

void Database::setMeta(std::string_view key, std::string_view value)
{
    prepared("INSERT INTO meta(chiave, valore) VALUES (?1, ?2) "
             "ON CONFLICT(chiave) DO UPDATE SET valore = excluded.valore")
        .bind(1, key)
        .bind(2, value)
        .run();
}

Transaction::Transaction(Database &db) : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.exec("ROLLBACK");
        } catch (const DbError &) {
        }
    }
}

void Transaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

} // namespace tafserver
