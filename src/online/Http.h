#pragma once
#include <atomic>
#include <cstddef>
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
HttpResponse httpExchange(const HttpRequest& request);
