#include "proof/key_script.h"

#include <cstdio>

std::string scriptKeyName(int scanCode) {
    // The key scripts' own names, so what is written reads back the same.
    std::string name = HeadlessBackend::keyNameOfScanCode(scanCode);
    if (!name.empty()) return name;
    // Two digits at least: a raw scan code, not a digit key.
    char raw[8];
    std::snprintf(raw, sizeof raw, "%02d", scanCode);
    return raw;
}

std::string keyScriptText(const std::vector<HeadlessBackend::KeyAction>& played,
                          const std::vector<ScriptNote>& notes, int lastIteration,
                          const std::string& header) {
    std::string text = header;
    std::size_t note = 0;
    const auto notesUpTo = [&](int iteration) {
        for (; note < notes.size() && notes[note].iteration <= iteration; ++note)
            text += "# " + notes[note].text + "\n";
    };
    char line[64];
    for (const HeadlessBackend::KeyAction& action : played) {
        notesUpTo(action.iteration);
        std::snprintf(line, sizeof line, "%-7d %-4s %s\n", action.iteration,
                      action.down ? "down" : "up", scriptKeyName(action.scanCode).c_str());
        text += line;
    }
    notesUpTo(lastIteration);
    std::snprintf(line, sizeof line, "%-7d end\n", lastIteration);
    text += line;
    return text;
}
