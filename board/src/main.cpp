#include "Board.h"
#include "Options.h"

#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

httplib::Server* serving = nullptr; // for the signal handler

void stopServing(int /*signal*/) {
    if (serving) serving->stop();
}

// The game beside this program (a build, or lib/moonvale/ of an install), else the installed one.
std::string defaultVerifier() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    for (const std::filesystem::path& candidate :
         {self.parent_path() / "moonvale", self.parent_path() / "../moonvale",
          self.parent_path() / "../lib/moonvale/moonvale", std::filesystem::path("/usr/lib/moonvale/moonvale")}) {
        if (std::filesystem::is_regular_file(candidate, error)) return std::filesystem::canonical(candidate, error);
    }
    return {};
}

Request requestOf(const httplib::Request& in, bool trust_proxy) {
    Request request;
    request.method = in.method;
    request.path = in.path;
    for (const auto& [name, value] : in.params)
        request.query.emplace(name, value); // the first of a repeated name
    request.content_type = in.get_header_value("Content-Type");
    request.authorization = in.get_header_value("Authorization");
    request.client = trust_proxy && in.has_header("X-Real-IP") ? in.get_header_value("X-Real-IP") : in.remote_addr;
    request.body = in.body;
    return request;
}

void send(const Response& response, httplib::Response& out) {
    out.status = response.status;
    out.set_content(response.body, response.content_type);
    if (response.retry_after > 0) out.set_header("Retry-After", std::to_string(response.retry_after));
    out.set_header("Cache-Control", "no-store");
    // A game page on another site may name this board (?board=). The key travels in a header, never in
    // a cookie, so allowing every origin lends no page anything of another's.
    out.set_header("Access-Control-Allow-Origin", "*");
    out.set_header("Access-Control-Expose-Headers", "Retry-After");
}

} // namespace

int main(int argc, char* argv[]) {
    BoardOptions options = parseBoardOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        (void)std::fprintf(stderr, "moonvale-board: %s\n%s", options.error.c_str(), boardUsage().c_str());
        return 2;
    }
    if (options.help) {
        (void)std::fputs(boardUsage().c_str(), stdout);
        return 0;
    }
    if (!options.backup.empty()) {
        std::string why;
        if (backupSqlite(options.backup[0], options.backup[1], why)) return 0;
        (void)std::fprintf(stderr, "moonvale-board: cannot back up %s: %s\n", options.backup[0].c_str(), why.c_str());
        return 1;
    }
    BoardSettings& settings = options.settings;
    if (settings.verifier.empty()) settings.verifier = defaultVerifier();
    if (access(settings.verifier.c_str(), X_OK) != 0) {
        (void)std::fprintf(stderr, "moonvale-board: no game to verify runs with (--verifier PATH)\n");
        return 2;
    }
    std::error_code error;
    settings.scratch = options.data + "/verifying";
    std::filesystem::create_directories(settings.scratch, error);
    if (options.pretend_start) {
        const std::time_t started = std::time(nullptr);
        const long long pretend = *options.pretend_start;
        settings.now = [started, pretend] { return static_cast<std::time_t>(pretend + (std::time(nullptr) - started)); };
    }
    try {
        Store store(options.postgres.empty() ? openSqlite(options.data + "/board.sqlite") : openPostgres(options.postgres));
        store.createTables();
        Board board(store, settings);
        board.start();

        httplib::Server server;
        // One thread a connection: enough for the proxy's keep-alive connections and a LAN's players.
        const int threads = options.threads;
        server.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<std::size_t>(threads)); };
        server.set_tcp_nodelay(true);
        // A little over the largest run, so that the board itself says why a larger one is refused.
        server.set_payload_max_length(settings.max_replay_bytes + 1);
        server.set_read_timeout(5, 0);
        server.set_write_timeout(5, 0);
        server.set_keep_alive_timeout(5);
        server.set_keep_alive_max_count(1000);
        const auto handler = [&](const httplib::Request& in, httplib::Response& out) {
            send(board.handle(requestOf(in, options.trust_proxy)), out);
        };
        server.Get("/v1/.*", handler);
        server.Post("/v1/.*", handler);
        server.Delete("/v1/.*", handler);
        server.Put("/v1/.*", handler);
        // A browser asks before it sends a run or a key from another site.
        server.Options("/v1/.*", [](const httplib::Request& /*in*/, httplib::Response& out) {
            out.status = 204;
            out.set_header("Access-Control-Allow-Origin", "*");
            out.set_header("Access-Control-Allow-Methods", "GET, POST, DELETE");
            out.set_header("Access-Control-Allow-Headers", "Authorization, Content-Type");
            out.set_header("Access-Control-Max-Age", "86400");
        });
        server.set_error_handler([&](const httplib::Request& /*in*/, httplib::Response& out) {
            if (!out.body.empty()) return;
            if (out.status == 413) {
                send(refusal(413, "a replay is at most " + std::to_string(settings.max_replay_bytes / 1024) + " KB"), out);
            } else {
                send(refusal(out.status, out.status == 404 ? "no such address" : "the request was refused"), out);
            }
        });
        if (!options.site.empty()) {
            for (const auto& [extension, type] : {std::pair{"wasm", "application/wasm"},
                                                  {"webmanifest", "application/manifest+json"},
                                                  {"data", "application/octet-stream"}})
                server.set_file_extension_and_mimetype_mapping(extension, type);
            // The page learns from this header that its own site is a board (a plain host has none, and
            // asking it for /v1/ would leave a 404 in the console).
            if (!server.set_mount_point("/", options.site, {{"X-Moonvale-Board", "v1"}})) {
                (void)std::fprintf(stderr, "moonvale-board: no web build in %s\n", options.site.c_str());
                return 2;
            }
        }
        serving = &server;
        (void)std::signal(SIGTERM, stopServing);
        (void)std::signal(SIGINT, stopServing);
        (void)std::signal(SIGPIPE, SIG_IGN);
        if (!server.bind_to_port(options.listen, options.port)) {
            (void)std::fprintf(stderr, "moonvale-board: cannot listen on %s port %d\n", options.listen.c_str(), options.port);
            return 1;
        }
        (void)std::fprintf(stderr, "moonvale-board: listening on http://%s:%d/, verifying with %s\n", options.listen.c_str(),
                     options.port, settings.verifier.c_str());
        server.listen_after_bind();
        board.stop();
    } catch (const DatabaseError& failure) {
        (void)std::fprintf(stderr, "moonvale-board: %s\n", failure.what());
        return 1;
    }
    return 0;
}
