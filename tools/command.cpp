// The registry of krvtool's subcommands and content steps.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "command.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    CommandFunction function;
};

struct Step {
    int order;
    const char* name;
    ContentStep step;
};

std::vector<Command>& commands() {
    static std::vector<Command> list;
    return list;
}

std::vector<Step>& steps() {
    static std::vector<Step> list;
    return list;
}

int usage() {
    std::fprintf(stderr, "usage: krvtool COMMAND [ARGS]\n\ncommands:\n");
    auto list = commands();
    std::sort(list.begin(), list.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const Command& command : list) std::fprintf(stderr, "  %s\n", command.usage);
    return 2;
}

// krvtool content SRC OUT: builds the whole default game folder.
int runContent(std::span<char*> args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: krvtool content SRC_FOLDER GAME_FOLDER\n");
        return 2;
    }
    const std::string source = args[0];
    const std::string game = args[1];
    std::error_code error;
    for (const char* folder : {"Objects", "Data", "Pics", "Fonts", "Wavs"}) {
        std::filesystem::create_directories(std::filesystem::path(game) / folder, error);
        if (error) {
            std::fprintf(stderr, "krvtool content: cannot create %s/%s: %s\n", game.c_str(), folder,
                         error.message().c_str());
            return 1;
        }
    }
    auto list = steps();
    std::stable_sort(list.begin(), list.end(),
                     [](const Step& a, const Step& b) { return a.order < b.order; });
    for (const Step& step : list) {
        if (!step.step(source, game)) {
            std::fprintf(stderr, "krvtool content: step '%s' failed\n", step.name);
            return 1;
        }
    }
    return 0;
}

const CommandRegistration contentCommand("content", "content SRC_FOLDER GAME_FOLDER", runContent);

}  // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usageText,
                                         CommandFunction function) {
    commands().push_back({name, usageText, function});
}

ContentStepRegistration::ContentStepRegistration(int order, const char* name, ContentStep step) {
    steps().push_back({order, name, step});
}

int run_krvtool(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string_view name = argv[1];
    for (const Command& command : commands()) {
        if (name == command.name) return command.function(std::span<char*>(argv + 2, argc - 2));
    }
    std::fprintf(stderr, "krvtool: unknown command '%s'\n", argv[1]);
    return usage();
}
