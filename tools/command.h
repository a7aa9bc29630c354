#pragma once
// krvtool's subcommands register themselves from their own files, so adding
// a tool never touches a shared table.

#include <span>
#include <string>
#include <string_view>

using CommandFunction = int (*)(std::span<char*> args);  // args after the name

struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction function);
};

// A step of `krvtool content SRC OUT`; steps run in ascending order.
using ContentStep = bool (*)(const std::string& sourceFolder, const std::string& gameFolder);

struct ContentStepRegistration {
    ContentStepRegistration(int order, const char* name, ContentStep step);
};

// Dispatches argv[1] to its subcommand; prints the list without one.
int run_krvtool(int argc, char** argv);
