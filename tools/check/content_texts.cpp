#include "check/content_texts.h"

#include <variant>

#include "framework/files.h"
#include "logic/logic_file.h"
#include "shell/ending_file.h"

ContentTexts readContentTexts() {
    ContentTexts texts;
    TextFile logic;
    if (logic.open(kLogicFile)) texts.logic = parseLogicFile(logic);
    if (texts.logic) {
        for (const LogicRecord& record : texts.logic->records) {
            const auto* object = std::get_if<LogicObject>(&record.value);
            if (!object) continue;
            for (std::size_t i = 0; i < object->message.size(); ++i) {
                texts.messages.push_back({object->messageLine + static_cast<int>(i), object->message[i]});
            }
        }
    }
    texts.questions = readQuestionFile();
    TextFile ending;
    if (ending.open(kEndingFilePath)) {
        std::string line;
        while (ending.readLine(line)) texts.ending.push_back({ending.lineNumber(), line});
    }
    return texts;
}
