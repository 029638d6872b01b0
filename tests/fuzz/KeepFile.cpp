#include "shell/Platform.h"

// The desktop's keepFile does nothing either; its own file brings the whole Game with it.
void keepFile(const std::string& /*path*/, std::string_view /*contents*/) {
}
