// The system's own words for an error code, for messages to the user.
#pragma once

#include <cstdint>
#include <string>

// Without line breaks at the end; "System error N." where the system has none.
std::string SystemErrorText(uint32_t code);
