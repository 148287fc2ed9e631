#pragma once
// SQLite access: one connection per thread, statements prepared once and bound, never pasted.

#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tafserver {

struct DbError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

class Statement
{
public:
    Statement(sqlite3 *db, std::string_view sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Clears previous bindings and rewinds; returns *this for chained binds.
    Statement &reset();
    Statement &bind(int index, std::string_view value);
    Statement &bind(int index, const char *value) { return bind(index, std::string_view(value)); }
    Statement &bind(int index, double value);
    Statement &bind(int index, long long value);
    Statement &bind(int index, int value) { return bind(index, static_cast<long long>(value)); }
    Statement &bindNull(int index);

    bool step(); // true while a row is available
    void run();  // steps to the end

    bool isNull(int column) const;
    std::string_view text(int column) const;
    double real(int column) const;
    long long integer(int column) const;

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

class Database
{
public:
    explicit Database(const std::string &path);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void exec(std::string_view sql);
    // A statement prepared on first use and kept for the life of the connection.
    Statement &prepared(std::string_view sql);
    // Creates what is missing, and adds the columns an older database lacks.
    void createSchema();
    // Rows changed by the last INSERT, UPDATE or DELETE on this connection.
    int changes() const;

    std::string meta(std::string_view key);
    void setMeta(std::string_view key, std::string_view value);

private:
    void addMissingColumns();

    sqlite3 *m_db = nullptr;
    std::unordered_map<std::string, std::unique_ptr<Statement>> m_statements;
};

// Commits when commit() was called, rolls back otherwise (also on an exception).
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace tafserver
