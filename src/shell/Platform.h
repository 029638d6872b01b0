#pragma once
#include <SDL3/SDL.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class Game;

// Where the operating systems differ for the game, in one place. Platform.cpp serves the desktops,
// PlatformWeb.cpp the browser.

// The game reads assets/ from the folder it runs in. On Linux the launcher starts it in the player's
// data folder; on Windows there is no launcher, and a shortcut may start it anywhere, so the game
// moves to the folder that holds its executable (and assets/). Started by its path from a folder
// without assets/ (a board's verifier, a script), it moves to where they are: beside it, or the
// installed data folder. In a browser the assets are packed into the page's file system, and the
// files the player keeps are brought back from its storage. False when no assets were found.
[[nodiscard]] bool enterGameFolder();

// Runs frames until the game quits, then cleans it up. On the desktop the Game's own loop paces them;
// in a browser the page's animation frames drive them, this never returns, and the page is told when
// the game has ended (a tab cannot be closed by its own page).
void runMainLoop(Game& game);

// Called once a file has been written whole: the browser copies it into its lasting storage.
void keepFile(const std::string& path, std::string_view contents);
// Called once a kept file is removed: the browser removes it from its storage too.
void forgetFile(const std::string& path);
// In a browser, runs work once the page is idle between frames (or on its next task where it cannot
// tell); elsewhere at once.
void runWhenIdle(const std::function<void()>& work);

// In a browser, a text field of the page's own over the game's, at area (in the game's 1280 x 720
// pixels): SDL takes single key presses there, so a phone's keyboard and an input method type into it.
// Elsewhere these do nothing, and SDL's text input is the field.
void showPageTextField(const SDL_Rect& area, const std::string& text);
void hidePageTextField();
// What the page's field holds, and whether Enter or Esc ended it since last asked; nothing elsewhere.
struct PageTextField {
    std::string text;
    bool entered = false;
    bool escaped = false;
};
[[nodiscard]] std::optional<PageTextField> readPageTextField();

// Why the game should draw with SDL's software renderer without asking OpenGL first, or nullptr:
// Linux without GPU device nodes surely has no GPU. Elsewhere the game asks OpenGL what it runs on.
[[nodiscard]] const char* reasonToDrawInSoftware();

// In a browser the canvas's drawing buffer keeps the size the game asked for, stretched by the page's
// style, until the page is resized: this gives it the page's size before the first frame. Elsewhere
// a window already has the size it shows.
void fitWindowToPage();

// In a browser, SDL leaves a canvas it drew at the screen's own pixels at 1 x 1 CSS pixels when its window
// goes: this gives the canvas back to the page's stylesheet, for the next window to take its size.
void giveCanvasBackToPage();

// Xlib's default error handler ends the process on any protocol error, and SDL can ask about a window
// the window manager has just destroyed (a configure event still queued while the game closes from
// fullscreen): the game would end with status 1, half cleaned up. Under X11 this logs such errors and
// goes on. Call once the window is open.
void surviveWindowSystemErrors();

// Whether the game keeps moonvale.log in its folder; a browser's console already is the log.
[[nodiscard]] bool keepsLogFile();

// The part of the window that no notch, rounded corner or system bar covers, in the window's units: a
// browser takes it from the page's safe-area insets.
[[nodiscard]] SDL_Rect windowSafeArea(SDL_Window* window);

// The player asked the system for less motion: a browser's prefers-reduced-motion. The desktops have
// no one place that says so; there the player sets it in Options.
[[nodiscard]] bool prefersReducedMotion();

// The device is played mainly by touch: a browser's coarse pointer, or a touch screen SDL knows of.
[[nodiscard]] bool hasCoarsePointer();
