#include "online/Http.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

// NOLINTBEGIN: JavaScript, for Emscripten's EM_JS
// clang-format off
EM_JS_DEPS(http_web, "$stringToNewUTF8,$UTF8ToString");

EM_JS(int, fetchStart, (const char* method, const char* url, const char* bearer, const unsigned char* body,
                        int body_size, int timeout_ms, int max_body), {
    var all = Module.boardFetches || (Module.boardFetches = {next: 1, calls: {}});
    var id = all.next++;
    var call = all.calls[id] = {done: false, status: 0, body: null, retryAfter: -1, error: ""};
    var headers = {};
    var key = UTF8ToString(bearer);
    if (key) headers['Authorization'] = 'Bearer ' + key;
    var init = {method: UTF8ToString(method), headers: headers, cache: 'no-store'};
    if (body_size > 0) {
        init.body = HEAPU8.slice(body, body + body_size);
        headers['Content-Type'] = 'application/octet-stream';
    }
    var controller = new AbortController();
    init.signal = controller.signal;
    var timer = setTimeout(function() { controller.abort(); }, timeout_ms);
    fetch(UTF8ToString(url), init).then(function(response) {
        call.status = response.status;
        var wait = parseInt(response.headers.get('Retry-After'), 10);
        if (wait >= 0) call.retryAfter = Math.min(wait, 86400);
        return response.arrayBuffer();
    }).then(function(bytes) {
        if (bytes.byteLength > max_body) throw new Error('the answer is too long');
        call.body = new Uint8Array(bytes);
    }).catch(function(error) {
        call.status = 0;
        call.body = null;
        call.error = String(error && error.name === 'AbortError' ? 'timed out' : error);
    }).finally(function() {
        clearTimeout(timer);
        call.done = true;
    });
    return id;
});

// -1 while under way; else the answer's length, its status, wait and error left where asked.
EM_JS(int, fetchState, (int id, int* status, int* retry_after, char** error), {
    var call = Module.boardFetches && Module.boardFetches.calls[id];
    if (!call) return -2;
    if (!call.done) return -1;
    HEAP32[status >> 2] = call.status;
    HEAP32[retry_after >> 2] = call.retryAfter;
    HEAPU32[error >> 2] = call.error ? stringToNewUTF8(call.error) : 0;
    return call.body ? call.body.length : 0;
});

EM_JS(void, fetchTake, (int id, unsigned char* into), {
    var call = Module.boardFetches.calls[id];
    if (call.body) HEAPU8.set(call.body, into);
    delete Module.boardFetches.calls[id];
});
// clang-format on
// NOLINTEND

} // namespace

bool httpAvailable() {
    return true;
}

HttpResponse httpExchange(const HttpRequest& /*request*/) {
    HttpResponse response;
    response.error = "a page cannot wait for the network: the board is asked with httpStart";
    return response;
}

int httpStart(const HttpRequest& request) {
    return fetchStart(request.method.c_str(), request.url.c_str(), request.bearer.c_str(),
                      reinterpret_cast<const unsigned char*>(request.body.data()), static_cast<int>(request.body.size()),
                      request.timeout_ms, static_cast<int>(request.max_body));
}

std::optional<HttpResponse> httpTake(int exchange) {
    HttpResponse response;
    char* error = nullptr;
    const int size = fetchState(exchange, &response.status, &response.retry_after, &error);
    if (size == -1) return std::nullopt;
    if (size == -2) {
        response.error = "no such exchange";
        return response;
    }
    if (error) {
        response.error = error;
        free(error); // NOLINT(cppcoreguidelines-no-malloc): allocated by stringToNewUTF8
    }
    response.body.resize(static_cast<std::size_t>(size));
    fetchTake(exchange, reinterpret_cast<unsigned char*>(response.body.data()));
    return response;
}
