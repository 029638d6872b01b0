#include "Database.h"

#include <libpq-fe.h>

#include <map>

namespace {

// bytea in text results: "\x" and two hex digits a byte.
std::string unhex(const char* text, int length) {
    std::string out;
    const auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (int i = 2; i + 1 < length; i += 2)
        out += static_cast<char>(digit(text[i]) << 4 | digit(text[i + 1]));
    return out;
}

class PostgresConnection : public Connection {
public:
    explicit PostgresConnection(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
        if (PQstatus(conn_) != CONNECTION_OK) {
            const std::string why = PQerrorMessage(conn_);
            PQfinish(conn_);
            throw DatabaseError("cannot connect to PostgreSQL: " + why);
        }
        PQclear(PQexec(conn_, "SET client_min_messages = warning"));
    }
    ~PostgresConnection() override { PQfinish(conn_); }
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;

    std::vector<Row> query(const std::string& sql, const std::vector<Param>& params) override {
        std::vector<const char*> values;
        std::vector<int> lengths;
        std::vector<int> formats;
        for (const Param& p : params) {
            values.push_back(p.kind == Param::NONE ? nullptr : p.value.c_str());
            lengths.push_back(static_cast<int>(p.value.size()));
            formats.push_back(p.kind == Param::BYTES ? 1 : 0);
        }
        const int count = static_cast<int>(params.size());
        PGresult* result = nullptr;
        if (count == 0) {
            result = PQexec(conn_, sql.c_str());
        } else {
            result = PQexecPrepared(conn_, prepare(sql, count).c_str(), count, values.data(), lengths.data(),
                                    formats.data(), 0);
        }
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            const std::string why = PQresultErrorMessage(result);
            PQclear(result);
            throw DatabaseError(why);
        }
        std::vector<Row> rows;
        for (int r = 0; r < PQntuples(result); ++r) {
            Row row;
            for (int c = 0; c < PQnfields(result); ++c) {
                if (PQgetisnull(result, r, c)) {
                    row.emplace_back();
                    continue;
                }
                const char* cell = PQgetvalue(result, r, c);
                const int length = PQgetlength(result, r, c);
                row.emplace_back(PQftype(result, c) == kByteaOid ? unhex(cell, length)
                                                                  : std::string(cell, static_cast<std::size_t>(length)));
            }
            rows.push_back(std::move(row));
        }
        PQclear(result);
        return rows;
    }

private:
    static constexpr Oid kByteaOid = 17;

    const std::string& prepare(const std::string& sql, int count) {
        if (const auto found = names_.find(sql); found != names_.end()) return found->second;
        const std::string name = "s" + std::to_string(names_.size());
        PGresult* result = PQprepare(conn_, name.c_str(), sql.c_str(), count, nullptr);
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        const std::string why = ok ? "" : PQresultErrorMessage(result);
        PQclear(result);
        if (!ok) throw DatabaseError(why + " in " + sql);
        return names_.emplace(sql, name).first->second;
    }

    PGconn* conn_;
    std::map<std::string, std::string> names_; // prepared statements by their text
};

class PostgresDatabase : public Database {
public:
    explicit PostgresDatabase(std::string conninfo) : conninfo_(std::move(conninfo)) {}
    std::unique_ptr<Connection> connect() override { return std::make_unique<PostgresConnection>(conninfo_); }
    std::string bytesType() const override { return "BYTEA"; }
    std::string integerType() const override { return "BIGINT"; }
    std::string claimLock() const override { return " FOR UPDATE SKIP LOCKED"; }

private:
    std::string conninfo_;
};

} // namespace

std::unique_ptr<Database> openPostgres(const std::string& conninfo) {
    return std::make_unique<PostgresDatabase>(conninfo);
}
