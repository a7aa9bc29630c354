#include "shell/intro_file.h"

#include <unordered_map>

#include "framework/files.h"

IntroFileContent parseIntroFile(TextFile& file, std::string_view name) {
    IntroFileContent content;
    content.opened = file.isOpen();
    std::string line;
    while (file.readLine(line)) {
        if (isBlankOrComment(line)) continue;
        IntroRecord entry;
        entry.name = line;
        entry.line = file.lineNumber();
        std::int32_t* const fields[] = {&entry.x, &entry.y, &entry.time};
        bool complete = true;
        for (std::int32_t* field : fields) {
            if (!file.readLine(line)) {
                complete = false;
                break;
            }
            *field = readLineNumber(line);
        }
        if (!complete) {
            content.problems.push_back({std::string(name), entry.line,
                                        "the file ends inside this entry; it is left out"});
            break;
        }
        content.entries.push_back(std::move(entry));
    }
    return content;
}

IntroFileContent readIntroFile(std::string_view gamePath) {
    TextFile file;
    file.open(gamePath);
    return parseIntroFile(file, gamePath);
}

std::vector<std::size_t> pictureOwners(const std::vector<IntroRecord>& entries) {
    std::unordered_map<std::string_view, std::size_t> firstByName;
    std::vector<std::size_t> owners(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        owners[i] = firstByName.try_emplace(entries[i].name, i).first->second;
    }
    return owners;
}
