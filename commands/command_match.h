#pragma once
#include <cstdint>
#include <optional>

#include "commands/command_table.h"

// Decoding of the broadcast command strings into what the dispatcher does.
// Pure and allocation-free; the dispatcher owns every side effect.
namespace zembrit {

struct Command {
    CommandId id = CommandId::None;
    // The command word as received (points into the input), for the toolbar
    // label; the whole string for the shell and preset commands.
    const char* word = nullptr;
    // Numeric argument, or the preset number 1 to 4.
    int32_t number = 0;
    // False for a numeric command without a number: its word holds no space,
    // or no digit follows; the dispatcher ignores it.
    bool hasNumber = false;
};

// text may be nullptr; anything unrecognised gives CommandId::None.
Command matchCommand(const char* text);

// Leading white space skipped, one optional sign, digits up to the first
// non-digit; a value beyond 32 bits saturates. Nothing without a digit.
std::optional<int32_t> parseCommandNumber(const char* text);

}  // namespace zembrit
