// A command's string holds its status-bar prompt, then a line break, then
// its tooltip. No <windows.h>: tested natively.
#pragma once

#include <string>

std::string CommandPrompt(const std::string& commandString);
// The tooltip; a string without a line break is its own tooltip.
std::string CommandTip(const std::string& commandString);
