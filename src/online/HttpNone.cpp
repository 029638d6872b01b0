#include "online/Http.h"

// Builds without a way to the network yet: the board stays off.
bool httpAvailable() {
    return false;
}

HttpResponse httpExchange(const HttpRequest& /*request*/) {
    HttpResponse response;
    response.error = "this build cannot reach a board";
    return response;
}
