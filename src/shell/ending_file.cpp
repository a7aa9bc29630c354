#include "shell/ending_file.h"

#include "framework/files.h"

EndingFileContent parseEndingFile(TextFile& file) {
    EndingFileContent content;
    content.opened = file.isOpen();
    std::string line;
    while (file.readLine(line)) {
        if (!line.empty()) content.lines.push_back(line);
    }
    return content;
}

EndingFileContent readEndingFile(std::string_view gamePath) {
    TextFile file;
    file.open(gamePath);
    return parseEndingFile(file);
}
