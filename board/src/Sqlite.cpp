#include "Database.h"

#include <sqlite3.h>

#include <map>

namespace {

class SqliteConnection : public Connection {
public:
    explicit SqliteConnection(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK) {
            const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw DatabaseError("cannot open " + path + ": " + why);
        }
        sqlite3_busy_timeout(db_, 10000);
        // WAL lets readers run beside the one writer; FULL keeps a commit through a power cut.
        for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL"}) {
            if (sqlite3_exec(db_, pragma, nullptr, nullptr, nullptr) != SQLITE_OK) {
                const std::string why = sqlite3_errmsg(db_);
                sqlite3_close(db_);
                throw DatabaseError(std::string("cannot set up ").append(path).append(": ").append(why));
            }
        }
    }
    ~SqliteConnection() override {
        for (auto& [sql, statement] : statements_)
            sqlite3_finalize(statement);
        sqlite3_close(db_);
    }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::vector<Row> query(const std::string& sql, const std::vector<Param>& params) override {
        sqlite3_stmt* statement = prepare(sql);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        for (std::size_t i = 0; i < params.size(); ++i)
            bind(statement, static_cast<int>(i + 1), params[i]);
        std::vector<Row> rows;
        for (;;) {
            const int step = sqlite3_step(statement);
            if (step == SQLITE_DONE) break;
            if (step != SQLITE_ROW) {
                const std::string why = sqlite3_errmsg(db_);
                sqlite3_reset(statement);
                throw DatabaseError(why);
            }
            Row row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
                    row.emplace_back();
                    continue;
                }
                const void* data = sqlite3_column_blob(statement, c);
                const int size = sqlite3_column_bytes(statement, c);
                row.emplace_back(std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)));
            }
            rows.push_back(std::move(row));
        }
        sqlite3_reset(statement);
        return rows;
    }

protected:
    std::string beginSuffix() const override { return " IMMEDIATE"; }

private:
    sqlite3_stmt* prepare(const std::string& sql) {
        if (const auto found = statements_.find(sql); found != statements_.end()) return found->second;
        // $1 in the shared text is SQLite's ?1.
        std::string own = sql;
        for (char& c : own)
            if (c == '$') c = '?';
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, own.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw DatabaseError(std::string(sqlite3_errmsg(db_)) + " in " + sql);
        statements_.emplace(sql, statement);
        return statement;
    }
    static void bind(sqlite3_stmt* statement, int index, const Param& param) {
        switch (param.kind) {
        case Param::INT:
            sqlite3_bind_int64(statement, index, std::stoll(param.value));
            break;
        case Param::BYTES:
            sqlite3_bind_blob64(statement, index, param.value.data(), param.value.size(), SQLITE_TRANSIENT);
            break;
        case Param::NONE:
            sqlite3_bind_null(statement, index);
            break;
        case Param::TEXT:
            sqlite3_bind_text64(statement, index, param.value.data(), param.value.size(), SQLITE_TRANSIENT,
                                SQLITE_UTF8);
            break;
        }
    }

    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> statements_; // ours, finalized with the connection
};

class SqliteDatabase : public Database {
public:
    explicit SqliteDatabase(std::string path) : path_(std::move(path)) {}
    std::unique_ptr<Connection> connect() override { return std::make_unique<SqliteConnection>(path_); }
    std::string bytesType() const override { return "BLOB"; }
    std::string integerType() const override { return "INTEGER"; }
    std::string claimLock() const override { return ""; }

private:
    std::string path_;
};

} // namespace

std::unique_ptr<Database> openSqlite(const std::string& path) {
    return std::make_unique<SqliteDatabase>(path);
}

bool backupSqlite(const std::string& from, const std::string& to, std::string& why) {
    sqlite3* source = nullptr;
    sqlite3* target = nullptr;
    bool ok = sqlite3_open_v2(from.c_str(), &source, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
              sqlite3_open(to.c_str(), &target) == SQLITE_OK;
    if (ok) {
        sqlite3_busy_timeout(source, 10000);
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
        ok = backup != nullptr;
        if (backup) {
            // All at once, retried while the server holds its write lock.
            int step = SQLITE_OK;
            while ((step = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || step == SQLITE_LOCKED)
                sqlite3_sleep(50);
            ok = step == SQLITE_DONE;
            sqlite3_backup_finish(backup);
        }
    }
    if (!ok) why = target ? sqlite3_errmsg(target) : source ? sqlite3_errmsg(source) : "out of memory";
    sqlite3_close(source);
    sqlite3_close(target);
    return ok;
}
