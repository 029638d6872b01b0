#include "core/Game.h"
#include "shell/Platform.h"
#include "shell/RendererChoice.h"

#include <SDL3/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <emscripten.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

// The page (packaging/web/pre.js) mounts the browser's IndexedDB at kStore and fills it before main
// runs. The game itself reads and writes assets/ in MEMFS as on the desktop; the files it writes are
// copied into the store, which is written back to IndexedDB when their bytes change.

namespace {

constexpr const char* kStore = "/store";

// NOLINTBEGIN: JavaScript, for Emscripten's EM_JS
// clang-format off
EM_JS_DEPS(platform_web, "$stringToNewUTF8,$UTF8ToString,$FS");

EM_JS(void, syncStore, (), {
    Module.storeWrites = (Module.storeWrites || 0) + 1; // the browser test counts them
    FS.syncfs(false, function(error) {
        if (error) Module.storageFailed(String(error));
    });
});

// The run in progress must outlive a page closed without warning, when IndexedDB's transactions still
// under way are dropped: kept as the page is hidden or closed, it goes to localStorage, which the page
// writes before it is gone. Kept at any other time, it goes to the store with the other files, and
// whichever of the two is newer is the one there.
EM_JS(int, keepInPage, (const char* name, const char* bytes, int size), {
    try {
        var text = String();
        for (var i = 0; i < size; i += 0x8000)
            text += String.fromCharCode.apply(null, HEAPU8.subarray(bytes + i, bytes + Math.min(size, i + 0x8000)));
        localStorage.setItem('moonvale/' + UTF8ToString(name), btoa(text));
        return 1;
    } catch (error) {
        return 0; // full, or refused: the store takes it
    }
});

EM_JS(void, forgetInPage, (const char* name), {
    try {
        localStorage.removeItem('moonvale/' + UTF8ToString(name));
    } catch (error) {
    }
});

// Writes what the page keeps into assets/ before the game reads it.
EM_JS(void, bringBackFromPage, (), {
    try {
        for (var i = 0; i < localStorage.length; ++i) {
            var key = localStorage.key(i);
            if (!key.startsWith('moonvale/')) continue;
            var text = atob(localStorage.getItem(key));
            var bytes = new Uint8Array(text.length);
            for (var k = 0; k < text.length; ++k) bytes[k] = text.charCodeAt(k);
            FS.writeFile('assets/' + key.substring(9), bytes);
        }
    } catch (error) {
        console.log('The run in progress cannot be read back from this browser: ' + error);
    }
});

EM_JS(void, askForIdleTime, (), {
    var run = function() { Module['_runIdleWork'](); };
    if (self.requestIdleCallback) {
        requestIdleCallback(run, {timeout: 1000});
    } else {
        setTimeout(run, 0);
    }
});

// Hidden, a tab may be discarded without another word; closed, it is gone: the run is kept first.
EM_JS(void, keepRunWhenPageLeaves, (), {
    var keep = function() { Module['_keepRunInProgress'](); };
    document.addEventListener('visibilitychange', function() {
        if (document.visibilityState === 'hidden') keep();
    });
    window.addEventListener('pagehide', keep);
});

EM_JS(char*, storeProblem, (), {
    return Module.storageError ? stringToNewUTF8(Module.storageError) : 0;
});

EM_JS(void, tellPageGameEnded, (), {
    if (Module.gameEnded) Module.gameEnded();
});

// SDL sizes the canvas's drawing buffer to its box on the page when the page resizes, not before.
EM_JS(void, resizeCanvasToItsBox, (), {
    window.dispatchEvent(new Event('resize'));
});

EM_JS(void, clearCanvasSize, (), {
    var canvas = document.getElementById('canvas');
    if (!canvas) return;
    canvas.style.removeProperty('width');
    canvas.style.removeProperty('height');
});

// What WebGL runs on: the unmasked renderer where the browser tells it, else its plain RENDERER string;
// null without WebGL.
EM_JS(char*, webglRenderer, (), {
    try {
        var gl = document.createElement('canvas').getContext('webgl');
        if (!gl) return 0;
        var info = gl.getExtension('WEBGL_debug_renderer_info');
        var name = String(gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER));
        var lose = gl.getExtension('WEBGL_lose_context');
        if (lose) lose.loseContext();
        return stringToNewUTF8(name);
    } catch (error) {
        return 0;
    }
});
// The page's safe-area insets (left, top, right, bottom) in CSS pixels, which a probe styled with them
// in index.html holds as its padding.
EM_JS(void, safeAreaInsets, (float* insets), {
    var probe = document.getElementById('safe');
    if (!probe) return;
    var style = getComputedStyle(probe);
    var sides = [style.paddingLeft, style.paddingTop, style.paddingRight, style.paddingBottom];
    for (var i = 0; i < 4; ++i) HEAPF32[(insets >> 2) + i] = parseFloat(sides[i]) || 0;
});

// The name field: a real input element, so that the phone's keyboard opens and an input method composes
// in it. Its keys go no further than the field: the game would take them twice.
EM_JS(void, showNameField, (int x, int y, int w, int h, const char* text), {
    var field = document.getElementById('namefield');
    if (!field) {
        field = document.createElement('input');
        field.id = 'namefield';
        field.type = 'text';
        field.autocomplete = 'off';
        field.spellcheck = false;
        field.style.cssText = 'position: fixed; box-sizing: border-box; padding: 0 8px; font: 16px monospace;' +
                              'color: #fff; background: #0c0a1e; border: 1px solid #9680dc; outline: none;';
        var keep = function(event) {
            if (event.type === 'keydown' && event.key === 'Enter') Module.nameFieldEnded = 1;
            if (event.type === 'keydown' && event.key === 'Escape') Module.nameFieldEnded = 2;
            event.stopPropagation();
        };
        ['keydown', 'keypress', 'keyup'].forEach(function(type) { field.addEventListener(type, keep); });
        document.body.appendChild(field);
    }
    var box = Module.canvas.getBoundingClientRect();
    var scale = Math.min(box.width / 1280, box.height / 720);
    var left = box.left + (box.width - 1280 * scale) / 2;
    var top = box.top + (box.height - 720 * scale) / 2;
    field.style.left = (left + x * scale) + 'px';
    field.style.top = (top + y * scale) + 'px';
    field.style.width = (w * scale) + 'px';
    field.style.height = (h * scale) + 'px';
    field.value = UTF8ToString(text);
    field.style.display = 'block';
    Module.nameFieldEnded = 0;
    field.focus();
});

EM_JS(void, hideNameField, (), {
    var field = document.getElementById('namefield');
    if (!field || field.style.display === 'none') return;
    field.style.display = 'none';
    field.blur();
    Module.canvas.focus();
});

// The field's text, or null while it is hidden; how it ended (1: Enter, 2: Esc) where asked.
EM_JS(char*, nameFieldText, (int* ended), {
    var field = document.getElementById('namefield');
    if (!field || field.style.display === 'none') return 0;
    HEAP32[ended >> 2] = Module.nameFieldEnded || 0;
    Module.nameFieldEnded = 0;
    return stringToNewUTF8(field.value);
});

EM_JS(int, reducedMotion, (), {
    return window.matchMedia && window.matchMedia('(prefers-reduced-motion: reduce)').matches ? 1 : 0;
});

EM_JS(int, coarsePointer, (), {
    return window.matchMedia && window.matchMedia('(pointer: coarse)').matches ? 1 : 0;
});
// clang-format on
// NOLINTEND

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// What the store holds, by file name: a write of the same bytes (the score, saved on every frame while
// the player is dead) then costs no IndexedDB transaction.
std::map<std::string, std::string>& keptFiles() {
    static std::map<std::string, std::string> kept;
    return kept;
}

Uint64 last_frame_ns = 0;

void webFrame(void* argument) {
    Game& game = *static_cast<Game*>(argument);
    const Uint64 now = SDL_GetTicksNS();
    // The browser stops calling while the tab is hidden: the first frame back covers one frame's
    // worth, not the whole absence (the game has paused itself by then anyway).
    constexpr float kLongestDt = 0.1f;
    if (last_frame_ns != 0)
        game.setNextDt(std::min(kLongestDt, static_cast<float>(now - last_frame_ns) / 1e9f));
    last_frame_ns = now;
    game.frame();
    if (game.getIsRunning()) return;
    emscripten_cancel_main_loop();
    game.clean();
    tellPageGameEnded();
}

} // namespace

bool enterGameFolder() {
    if (char* problem = storeProblem()) {
        SDL_Log("The high score cannot be kept in this browser: %s", problem);
        free(problem); // NOLINT(cppcoreguidelines-no-malloc): allocated by stringToNewUTF8
        bringBackFromPage();
        return true; // the packed assets are there all the same
    }
    // The store holds assets/ as the game wrote it, its folders (the board's queue) included.
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kStore, error)) {
        if (!entry.is_regular_file()) continue;
        const std::filesystem::path name = entry.path().lexically_relative(kStore);
        const std::string bytes = readWhole(entry.path());
        std::filesystem::create_directories((std::filesystem::path("assets") / name).parent_path(), error);
        std::ofstream(std::filesystem::path("assets") / name, std::ios::binary) << bytes;
        keptFiles()[name.generic_string()] = bytes;
    }
    bringBackFromPage(); // after the store: a run kept as the page left is the newer
    return true;
}

static std::vector<std::function<void()>>& idleWork() {
    static std::vector<std::function<void()>> work;
    return work;
}

extern "C" EMSCRIPTEN_KEEPALIVE void runIdleWork() {
    std::vector<std::function<void()>> work;
    work.swap(idleWork());
    for (const std::function<void()>& job : work)
        job();
}

void runWhenIdle(const std::function<void()>& work) {
    if (idleWork().empty()) askForIdleTime();
    idleWork().push_back(work);
}

// While the page is being hidden or closed: the run in progress then goes to localStorage.
static bool page_leaving = false;

extern "C" EMSCRIPTEN_KEEPALIVE void keepRunInProgress() {
    page_leaving = true;
    Game::getInstance().keepRunNow();
    page_leaving = false;
}

void runMainLoop(Game& game) {
    keepRunWhenPageLeaves();
    emscripten_set_main_loop_arg(webFrame, &game, 0, true);
}

// A file's place in the store: its path under assets/.
static std::filesystem::path storedName(const std::string& path) {
    return std::filesystem::path(path).lexically_relative("assets");
}

static void forgetStored(const std::filesystem::path& name) {
    if (keptFiles().erase(name.generic_string()) == 0) return;
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(kStore) / name, error);
    syncStore();
}

// The files of the run in progress, kept in the page's own storage.
static bool keptInPage(const std::filesystem::path& name) {
    return name == "run.mvr" || name == "run.day";
}

void keepFile(const std::string& path, std::string_view contents) {
    const std::filesystem::path name = storedName(path);
    // Only then: writing localStorage holds up the frame, tens of milliseconds for a long run.
    if (keptInPage(name) && page_leaving &&
        keepInPage(name.c_str(), contents.data(), static_cast<int>(contents.size())) != 0) {
        forgetStored(name);
        return;
    }
    if (keptInPage(name)) forgetInPage(name.c_str()); // older than this one
    auto [kept, added] = keptFiles().try_emplace(name.generic_string());
    if (!added && kept->second == contents) return;
    kept->second = contents;
    std::error_code error;
    std::filesystem::create_directories((std::filesystem::path(kStore) / name).parent_path(), error);
    std::ofstream(std::filesystem::path(kStore) / name, std::ios::binary)
        .write(contents.data(), static_cast<std::streamsize>(contents.size()));
    syncStore();
}

void forgetFile(const std::string& path) {
    const std::filesystem::path name = storedName(path);
    if (keptInPage(name)) forgetInPage(name.c_str());
    forgetStored(name);
}

// Without a GPU, WebGL is a CPU rasteriser behind the browser's command queue (SwiftShader, llvmpipe),
// which falls behind SDL's software renderer on a 2D canvas at a thousand enemies (scripts/bench.sh); on
// a GPU it draws the frame for a fraction of the CPU time and the battery.
const char* reasonToDrawInSoftware() {
    static std::string reason;
    char* name = webglRenderer();
    if (!name) return "this browser offers no WebGL";
    const std::string renderer = name;
    free(name); // NOLINT(cppcoreguidelines-no-malloc): allocated by stringToNewUTF8
    if (isSoftwareRasterizer(renderer)) {
        reason = "WebGL here is " + renderer + ", a software rasteriser";
        return reason.c_str();
    }
    SDL_Log("WebGL runs on %s", renderer.c_str());
    return nullptr;
}

void fitWindowToPage() {
    resizeCanvasToItsBox();
}

void giveCanvasBackToPage() {
    clearCanvasSize();
}

void surviveWindowSystemErrors() {
}

bool keepsLogFile() {
    return false;
}

SDL_Rect windowSafeArea(SDL_Window* window) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    float insets[4] = {};
    safeAreaInsets(insets);
    const auto left = static_cast<int>(insets[0]);
    const auto top = static_cast<int>(insets[1]);
    return {left, top, width - left - static_cast<int>(insets[2]),
            height - top - static_cast<int>(insets[3])};
}

bool prefersReducedMotion() {
    return reducedMotion() != 0;
}

bool hasCoarsePointer() {
    return coarsePointer() != 0;
}

void showPageTextField(const SDL_Rect& area, const std::string& text) {
    showNameField(area.x, area.y, area.w, area.h, text.c_str());
}

void hidePageTextField() {
    hideNameField();
}

std::optional<PageTextField> readPageTextField() {
    int ended = 0;
    char* text = nameFieldText(&ended);
    if (!text) return std::nullopt;
    PageTextField field{text, ended == 1, ended == 2};
    free(text); // NOLINT(cppcoreguidelines-no-malloc): allocated by stringToNewUTF8
    return field;
}
