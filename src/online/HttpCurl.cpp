#include "online/Http.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <string_view>

// libcurl is loaded when first needed rather than linked: the game starts on a system without it (the
// portable tarball promises nothing beyond the C library), and the board is then simply off.
namespace {

struct Curl {
    CURLcode (*global_init)(long) = nullptr;
    CURL* (*easy_init)() = nullptr;
    CURLcode (*easy_setopt)(CURL*, CURLoption, ...) = nullptr;
    CURLcode (*easy_perform)(CURL*) = nullptr;
    CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...) = nullptr;
    void (*easy_cleanup)(CURL*) = nullptr;
    const char* (*easy_strerror)(CURLcode) = nullptr;
    curl_slist* (*slist_append)(curl_slist*, const char*) = nullptr;
    void (*slist_free_all)(curl_slist*) = nullptr;
    bool loaded = false;
};

template <typename Function>
bool load(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

const Curl& curl() {
    static Curl loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        void* library = nullptr;
        for (const char* name : {"libcurl.so.4", "libcurl-gnutls.so.4"}) {
            if ((library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) != nullptr) break;
        }
        if (!library) return;
        Curl c;
        const bool all = load(library, "curl_global_init", c.global_init) && load(library, "curl_easy_init", c.easy_init) &&
                         load(library, "curl_easy_setopt", c.easy_setopt) &&
                         load(library, "curl_easy_perform", c.easy_perform) &&
                         load(library, "curl_easy_getinfo", c.easy_getinfo) &&
                         load(library, "curl_easy_cleanup", c.easy_cleanup) &&
                         load(library, "curl_easy_strerror", c.easy_strerror) &&
                         load(library, "curl_slist_append", c.slist_append) &&
                         load(library, "curl_slist_free_all", c.slist_free_all);
        if (!all || c.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return;
        c.loaded = true;
        loaded = c;
    });
    return loaded;
}

struct BodyTaken {
    std::string* body;
    std::size_t limit;
};

std::size_t takeBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* taken = static_cast<BodyTaken*>(user);
    const std::size_t bytes = size * count;
    if (taken->body->size() + bytes > taken->limit) return 0; // ends the exchange as failed
    taken->body->append(data, bytes);
    return bytes;
}

std::size_t takeHeader(char* data, std::size_t size, std::size_t count, void* user) {
    const std::size_t bytes = size * count;
    std::string line(data, bytes);
    std::transform(line.begin(), line.end(), line.begin(), [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    constexpr std::string_view kRetryAfter = "retry-after:";
    if (line.starts_with(kRetryAfter)) {
        const long seconds = std::strtol(line.c_str() + kRetryAfter.size(), nullptr, 10);
        *static_cast<int*>(user) = static_cast<int>(std::clamp(seconds, 0L, 86400L));
    }
    return bytes;
}

int keepGoing(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* cancel = static_cast<const std::atomic<bool>*>(user);
    return cancel && cancel->load() ? 1 : 0;
}

} // namespace

bool httpAvailable() {
    return curl().loaded;
}

HttpResponse httpExchange(const HttpRequest& request) {
    HttpResponse response;
    const Curl& c = curl();
    if (!c.loaded) {
        response.error = "libcurl is not installed";
        return response;
    }
    CURL* handle = c.easy_init();
    if (!handle) {
        response.error = "libcurl could not start";
        return response;
    }
    curl_slist* headers = c.slist_append(nullptr, "Expect:");
    const std::string authorization = "Authorization: Bearer " + request.bearer;
    if (!request.bearer.empty()) headers = c.slist_append(headers, authorization.c_str());
    c.easy_setopt(handle, CURLOPT_URL, request.url.c_str());
    c.easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    c.easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    c.easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout_ms));
    c.easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::min(request.timeout_ms, 5000)));
    c.easy_setopt(handle, CURLOPT_USERAGENT, "Moonvale/" MOONVALE_VERSION);
    c.easy_setopt(handle, CURLOPT_WRITEFUNCTION, takeBody);
    BodyTaken taken{&response.body, request.max_body};
    c.easy_setopt(handle, CURLOPT_WRITEDATA, &taken);
    c.easy_setopt(handle, CURLOPT_HEADERFUNCTION, takeHeader);
    c.easy_setopt(handle, CURLOPT_HEADERDATA, &response.retry_after);
    c.easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    c.easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, keepGoing);
    c.easy_setopt(handle, CURLOPT_XFERINFODATA, request.cancel);
    if (request.method == "POST") {
        headers = c.slist_append(headers, "Content-Type: application/octet-stream");
        c.easy_setopt(handle, CURLOPT_POST, 1L);
        c.easy_setopt(handle, CURLOPT_POSTFIELDS, request.body.data());
        c.easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    } else if (request.method != "GET") {
        c.easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    c.easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    const CURLcode result = c.easy_perform(handle);
    if (result == CURLE_OK) {
        long status = 0;
        c.easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        response.status = static_cast<int>(status);
    } else {
        response.error = c.easy_strerror(result);
        response.body.clear();
    }
    c.easy_cleanup(handle);
    c.slist_free_all(headers);
    return response;
}
