#include "online/Http.h"

// clang-format off
#include <windows.h>
#include <winhttp.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace {

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string failure(const char* what) {
    return std::string(what) + " (WinHTTP error " + std::to_string(GetLastError()) + ")";
}

// The handles of one exchange. A cancel closes the request from the watching thread, which ends a call
// blocked on it; whoever closes first closes.
class Exchange {
public:
    ~Exchange() {
        closeRequest();
        if (connection_) WinHttpCloseHandle(connection_);
        if (session_) WinHttpCloseHandle(session_);
    }
    void closeRequest() {
        const std::lock_guard lock(mutex_);
        if (request_) WinHttpCloseHandle(request_);
        request_ = nullptr;
    }
    HINTERNET session_ = nullptr;
    HINTERNET connection_ = nullptr;
    HINTERNET request_ = nullptr;

private:
    std::mutex mutex_;
};

} // namespace

bool httpAvailable() {
    return true; // WinHTTP is part of every Windows the game runs on
}

HttpResponse httpExchange(const HttpRequest& request) {
    HttpResponse response;
    const std::wstring url = wide(request.url);
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
    parts.dwSchemeLength = 1;
    parts.dwExtraInfoLength = 1; // the query, which follows the path in the same buffer
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) {
        response.error = failure("not an address");
        return response;
    }
    const std::wstring target = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                                std::wstring(parts.lpszExtraInfo ? parts.lpszExtraInfo : L"", parts.dwExtraInfoLength);
    Exchange exchange;
    const std::wstring agent = wide("Moonvale/" MOONVALE_VERSION);
    exchange.session_ = WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!exchange.session_) {
        response.error = failure("WinHTTP could not start");
        return response;
    }
    const int timeout = request.timeout_ms;
    WinHttpSetTimeouts(exchange.session_, timeout, std::min(timeout, 5000), timeout, timeout);
    exchange.connection_ = WinHttpConnect(exchange.session_, host, parts.nPort, 0);
    const std::wstring method = wide(request.method);
    if (exchange.connection_) {
        exchange.request_ = WinHttpOpenRequest(exchange.connection_, method.c_str(), target.c_str(), nullptr,
                                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                               parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    }
    if (!exchange.request_) {
        response.error = failure("the board's address cannot be used");
        return response;
    }
    HINTERNET handle = exchange.request_;
    // The whole exchange ends within about a second of a cancel, as on the other systems.
    std::atomic<bool> done{false};
    std::thread watcher;
    if (request.cancel) {
        watcher = std::thread([&] {
            while (!done.load()) {
                if (request.cancel->load()) {
                    exchange.closeRequest();
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    std::wstring headers;
    if (!request.bearer.empty()) headers += L"Authorization: Bearer " + wide(request.bearer) + L"\r\n";
    if (request.method == "POST") headers += L"Content-Type: application/octet-stream\r\n";
    const auto body_size = static_cast<DWORD>(request.body.size());
    void* body = body_size ? const_cast<char*>(request.body.data()) : WINHTTP_NO_REQUEST_DATA;
    bool ok = WinHttpSendRequest(handle, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                                 headers.empty() ? 0 : static_cast<DWORD>(-1L), body, body_size, body_size, 0) &&
              WinHttpReceiveResponse(handle, nullptr);
    if (ok) {
        DWORD status = 0;
        DWORD size = sizeof status;
        ok = WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
        DWORD wait = 0;
        size = sizeof wait;
        if (WinHttpQueryHeaders(handle, WINHTTP_QUERY_RETRY_AFTER | WINHTTP_QUERY_FLAG_NUMBER,
                                WINHTTP_HEADER_NAME_BY_INDEX, &wait, &size, WINHTTP_NO_HEADER_INDEX))
            response.retry_after = static_cast<int>(std::min<DWORD>(wait, 86400));
        response.status = ok ? static_cast<int>(status) : 0;
    }
    while (ok) {
        char buffer[8192];
        DWORD read = 0;
        if (!WinHttpReadData(handle, buffer, sizeof buffer, &read)) {
            ok = false;
            break;
        }
        if (read == 0) break;
        if (response.body.size() + read > request.max_body) {
            ok = false; // a longer answer is no answer
            break;
        }
        response.body.append(buffer, read);
    }
    if (!ok) {
        response.error = request.cancel && request.cancel->load() ? "cancelled" : failure("no answer");
        response.status = 0;
        response.body.clear();
    }
    done = true;
    if (watcher.joinable()) watcher.join();
    return response;
}
