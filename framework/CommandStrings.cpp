#include "framework/CommandStrings.h"

std::string CommandPrompt(const std::string& commandString) {
    return commandString.substr(0, commandString.find('\n'));
}

std::string CommandTip(const std::string& commandString) {
    const size_t lineBreak = commandString.find('\n');
    return lineBreak == std::string::npos ? commandString : commandString.substr(lineBreak + 1);
}
