#pragma once
#include "online/BoardSender.h"

#include <memory>
#include <string>

struct Settings;

// The board this run sends its daily runs to: the command line's address, else the settings'; none when
// there is no address, the player has not agreed, or this system cannot reach one. Says which in the log.
std::unique_ptr<BoardSender> startBoard(const Settings& settings, const std::string& command_line_address);
