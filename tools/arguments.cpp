#include "arguments.h"

#include <algorithm>
#include <cstdio>

std::optional<std::string> CommandArguments::value(std::string_view option) const {
    const auto last = std::find_if(given.rbegin(), given.rend(),
                                   [&](const auto& entry) { return entry.first == option; });
    if (last == given.rend()) return std::nullopt;
    return last->second;
}

bool CommandArguments::has(std::string_view option) const { return value(option).has_value(); }

bool readArguments(std::span<char*> args, const ArgumentRules& rules, CommandArguments& arguments,
                   std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string word = args[i];
        const auto option = std::find_if(rules.options.begin(), rules.options.end(),
                                         [&](const CommandOption& o) { return o.name == word; });
        if (option != rules.options.end()) {
            if (!option->takesValue) {
                arguments.given.emplace_back(word, std::string());
                continue;
            }
            if (i + 1 >= args.size()) {
                error = word + " " + std::string(rules.needsValue);
                return false;
            }
            std::string value = args[++i];
            if (option->check) {
                error = option->check(value);
                if (!error.empty()) return false;
            }
            arguments.given.emplace_back(word, std::move(value));
        } else if (word.starts_with("-")) {
            error = "unknown option '" + word + "'";
            return false;
        } else if (!arguments.input || (!rules.emptyInputCounts && arguments.input->empty())) {
            arguments.input = word;
        } else {
            error = std::string(rules.secondInput);
            return false;
        }
    }
    return true;
}

namespace {

std::string_view commandName(std::string_view usage) { return usage.substr(0, usage.find(' ')); }

}  // namespace

int usageFault(std::string_view usage, const std::string& message) {
    const std::string_view name = commandName(usage);
    std::fprintf(stderr, "krvtool %.*s: %s\nusage: krvtool %.*s\n", static_cast<int>(name.size()), name.data(),
                 message.c_str(), static_cast<int>(usage.size()), usage.data());
    return 2;
}

int commandFailure(std::string_view usage, const std::string& message) {
    const std::string_view name = commandName(usage);
    std::fprintf(stderr, "krvtool %.*s: %s\n", static_cast<int>(name.size()), name.data(), message.c_str());
    return 1;
}
