#pragma once
#include "Board.h"

#include <optional>
#include <string>
#include <vector>

// How moonvale-board was asked to run.
struct BoardOptions {
    std::string data = ".";      // holds board.sqlite and the scratch folder
    std::string postgres;        // a libpq connection string: PostgreSQL instead of SQLite
    std::string listen = "127.0.0.1";
    int port = 8080;
    int threads = 64;            // connections served at once
    std::string site;            // the game's web build, served from the same origin
    bool trust_proxy = false;    // the client's address from X-Real-IP (set by the shipped nginx site)
    std::optional<long long> pretend_start; // the board's clock starts here (tests): seconds since 1970
    std::vector<std::string> backup; // FROM TO: copy a live SQLite database and exit
    BoardSettings settings;
    bool help = false;
    std::string error;
};

[[nodiscard]] BoardOptions parseBoardOptions(const std::vector<std::string>& arguments);
[[nodiscard]] std::string boardUsage();
