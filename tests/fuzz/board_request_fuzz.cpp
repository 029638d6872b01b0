// Any request, of any shape, gets an answer with a status the API documents and a JSON body, and never
// takes the board down (its database on tmpfs, where a commit costs no flush). Fields arrive one to a line: method, path, query (name=value&...), content
// type, authorization, and the body as the rest.
#include "Board.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

namespace {

Board& board() {
    static const std::string folder = "/dev/shm/moonvale-board-fuzz-" + std::to_string(getpid());
    static const std::unique_ptr<Store> store = [] {
        std::filesystem::create_directories(folder);
        auto made = std::make_unique<Store>(openSqlite(folder + "/board.sqlite"));
        made->createTables();
        return made;
    }();
    static Board instance(*store, [] {
        BoardSettings settings;
        settings.scratch = folder;
        settings.now = [] { return std::time_t{1796932800}; };
        return settings;
    }());
    return instance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string rest(reinterpret_cast<const char*>(data), size);
    const auto field = [&rest] {
        const std::size_t end = rest.find('\n');
        std::string value = rest.substr(0, end);
        rest = end == std::string::npos ? "" : rest.substr(end + 1);
        return value;
    };
    Request request;
    request.method = field();
    request.path = field();
    for (std::string query = field(); !query.empty();) {
        const std::string pair = query.substr(0, query.find('&'));
        request.query[pair.substr(0, pair.find('='))] = pair.find('=') == std::string::npos ? "" : pair.substr(pair.find('=') + 1);
        query = query.find('&') == std::string::npos ? "" : query.substr(query.find('&') + 1);
    }
    request.content_type = field();
    request.authorization = field();
    request.client = "127.0.0.1";
    request.body = rest;
    const Response response = board().handle(request);
    static const std::set<int> documented = {200, 202, 400, 403, 404, 405, 413, 415, 422, 429, 503};
    if (!documented.count(response.status)) std::abort();
    if (response.content_type == "application/json" && !nlohmann::json::accept(response.body)) std::abort();
    return 0;
}
