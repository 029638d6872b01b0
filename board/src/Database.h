#pragma once
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A value bound to a statement's $n: text, a whole number, bytes, or NULL.
struct Param {
    enum Kind { TEXT, INT, BYTES, NONE };
    std::string value;
    Kind kind = TEXT;
};
inline Param text(std::string value) { return {std::move(value), Param::TEXT}; }
inline Param integer(long long value) { return {std::to_string(value), Param::INT}; }
inline Param bytes(std::string value) { return {std::move(value), Param::BYTES}; }

// A result's cells as text (numbers written out), bytes as they are; NULL as nothing.
using Row = std::vector<std::optional<std::string>>;

struct DatabaseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One connection to the board's database, used by one thread at a time. Statements are written with
// $1, $2... and prepared once per connection. Throws DatabaseError.
class Connection {
public:
    virtual ~Connection() = default;
    virtual std::vector<Row> query(const std::string& sql, const std::vector<Param>& params) = 0;
    // The whole of work, or none of it. SQLite takes the write lock at once, PostgreSQL row locks.
    template <typename Work> auto transaction(Work work) {
        query("BEGIN" + beginSuffix(), {});
        try {
            auto result = work();
            query("COMMIT", {});
            return result;
        } catch (...) {
            try {
                query("ROLLBACK", {});
            } catch (const DatabaseError&) { // the first error is the one to report
            }
            throw;
        }
    }

protected:
    virtual std::string beginSuffix() const { return ""; }
};

// Where connections come from: an SQLite file or a PostgreSQL server.
class Database {
public:
    virtual ~Database() = default;
    virtual std::unique_ptr<Connection> connect() = 0;
    // Column types for the tables: "BLOB" and "INTEGER" in SQLite, "BYTEA" and "BIGINT" in PostgreSQL.
    virtual std::string bytesType() const = 0;
    virtual std::string integerType() const = 0;
    // "FOR UPDATE SKIP LOCKED" where several workers may claim at once; SQLite's one writer needs none.
    virtual std::string claimLock() const = 0;
};

[[nodiscard]] std::unique_ptr<Database> openSqlite(const std::string& path);
// libpq's connection string, e.g. "host=/tmp/pg dbname=board".
[[nodiscard]] std::unique_ptr<Database> openPostgres(const std::string& conninfo);
// A consistent copy of a live SQLite database, through SQLite's backup API. False with why.
bool backupSqlite(const std::string& from, const std::string& to, std::string& why);
