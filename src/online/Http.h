#pragma once
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>

// One HTTP exchange with the board, made on the sender's own thread, never the frame's.
struct HttpRequest {
    std::string method = "GET";
    std::string url;
    std::string bearer;       // the device key, when the request needs it
    std::string body;         // sent as application/octet-stream when not empty
    int timeout_ms = 10000;   // the whole exchange, connecting included
    const std::atomic<bool>* cancel = nullptr; // set: the exchange ends within about a second
    std::size_t max_body = std::size_t{64} * 1024; // a longer answer is no answer
};

struct HttpResponse {
    int status = 0;      // 0: no answer (no network, refused, timed out); error says why
    std::string body;    // at most the request's max_body bytes
    int retry_after = -1; // seconds, when the board asked for a wait
    std::string error;
};

// Whether this build can reach a board here (on Linux: whether libcurl is installed).
bool httpAvailable();
// Waits for the answer: for the threads of the desktop builds.
HttpResponse httpExchange(const HttpRequest& request);

#ifdef __EMSCRIPTEN__
// The browser's, which cannot wait: an exchange started now (fetch), its answer taken on a later frame.
// The cancel flag is not used: a page that closes ends its fetches.
int httpStart(const HttpRequest& request);
// The answer once it has come, and the exchange forgotten; nothing while it is under way.
std::optional<HttpResponse> httpTake(int exchange);
#endif
