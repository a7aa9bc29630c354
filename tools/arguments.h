#pragma once
// The words of a krvtool command of the form
//   INPUT -o OUTPUT [--option VALUE]... [--flag]...
// read the one way for every such command. The first fault ends the reading
// with the sentence the command prints above its usage line.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct CommandOption {
    std::string_view name;  // "-o", "--maze"
    bool takesValue = true;
    // The sentence for a value the option cannot take, or empty; said as
    // soon as the option is read, before any later word is looked at.
    std::string (*check)(const std::string& value) = nullptr;
};

struct ArgumentRules {
    std::span<const CommandOption> options;
    std::string_view needsValue;   // after the option's name: "needs a value"
    std::string_view secondInput;  // "one game folder only"
    // False: an empty word leaves the input to be given by a later one.
    bool emptyInputCounts = true;
};

struct CommandArguments {
    std::optional<std::string> input;
    std::vector<std::pair<std::string, std::string>> given;  // option and value ("" for a flag), in order

    // The value given last for the option, if any.
    std::optional<std::string> value(std::string_view option) const;
    bool has(std::string_view option) const;
};

// "krvtool NAME: message" and "usage: krvtool USAGE" on stderr, NAME being
// the usage's first word; returns 2, the exit status of a usage fault.
int usageFault(std::string_view usage, const std::string& message);

// "krvtool NAME: message" on stderr; returns 1, the exit status of a
// command that failed.
int commandFailure(std::string_view usage, const std::string& message);

// False with the sentence in `error`: an option without its value, an
// unknown option (any word starting with '-'), a second input, a value
// its option's check refuses.
bool readArguments(std::span<char*> args, const ArgumentRules& rules, CommandArguments& arguments,
                   std::string& error);
