#pragma once
#include "i18n/Translation.h"

// Who made the game and with what. The asset generator writes it to assets/credits.txt, which the title
// shows, translated.
inline constexpr Message kCredits = msg("credits", "Moonvale\n"
                                                   "\n"
                                                   "Game, art, sound and music:\n"
                                                   "  the Moonvale team; every picture, effect and\n"
                                                   "  tune is drawn or composed by the project's own\n"
                                                   "  asset generator (tools/assetgen)\n"
                                                   "\n"
                                                   "Font: GNU Unifont 15.0.01, from Debian's\n"
                                                   "  fonts-unifont package, licensed GPL-2+\n"
                                                   "  with the font embedding exception\n"
                                                   "\n"
                                                   "Built with SDL3, SDL3_image, SDL3_ttf,\n"
                                                   "  SDL3_mixer (zlib licence) and glm (MIT)\n"
                                                   "Music encoded with libvorbis (BSD) and LAME (LGPL)\n"
                                                   "\n"
                                                   "Click anywhere to close\n");
