#include "proof/proof_sheet.h"

#include <algorithm>
#include <memory>

#include "framework/framework.h"
#include "logic/logic_file.h"
#include "logic/message_board.h"
#include "logic/world.h"
#include "proof/indexed_canvas.h"
#include "shell/game.h"
#include "shell/game_palette.h"
#include "shell/message_band.h"

namespace {

constexpr int kMargin = 10;
constexpr int kTitleHeight = 34;
constexpr int kCaptionHeight = 26;
constexpr int kRowHeight = kCaptionHeight + kScreenHeight + kMargin;
constexpr int kSheetWidth = kMargin + kScreenWidth + kMargin + kScreenWidth + kMargin;
// Where the message panel starts its first line, as the band would show it
// with the text at rest.
constexpr int kMessageTop = 30;

const std::uint8_t kSheetBackground = static_cast<std::uint8_t>(cube_index(1, 1, 1));
const std::uint8_t kCaptionColour = static_cast<std::uint8_t>(cube_index(5, 5, 2));
const std::uint8_t kNoteColour = static_cast<std::uint8_t>(cube_index(3, 3, 3));
const std::uint8_t kBandColour = static_cast<std::uint8_t>(cube_index(0, 0, 1));
const std::uint8_t kEdgeColour = static_cast<std::uint8_t>(cube_index(5, 1, 1));

// The message as the band shows it: each line at the band's x, cut at its
// edges (marked in red, so a line that runs past them shows as cut).
void drawMessage(IndexedCanvas& sheet, const GfxFont* font, int left, int top,
                 const LogicObject& object) {
    sheet.fillRect(left, top, left + kScreenWidth - 1, top + kScreenHeight - 1, kSheetBackground);
    sheet.fillRect(left + MessageBand::kLeft, top, left + MessageBand::kRight,
                   top + kScreenHeight - 1, kBandColour);
    sheet.fillRect(left + MessageBand::kLeft - 1, top, left + MessageBand::kLeft - 1,
                   top + kScreenHeight - 1, kEdgeColour);
    sheet.fillRect(left + MessageBand::kRight + 1, top, left + MessageBand::kRight + 1,
                   top + kScreenHeight - 1, kEdgeColour);
    sheet.text(font, left + MessageBand::kLeft + 3, top + 4,
               "message, " + std::string(kLogicFile) + ":" + std::to_string(object.messageLine),
               kNoteColour);
    const std::size_t shown = std::min<std::size_t>(object.message.size(), Message::kMaxLines);
    for (std::size_t i = 0; i < shown; ++i) {
        sheet.text(font, left + MessageBand::kTextX, top + kMessageTop + 20 * static_cast<int>(i),
                   object.message[i], kWhite, left + MessageBand::kLeft,
                   left + MessageBand::kRight);
    }
    if (shown < object.message.size()) {
        sheet.text(
            font, left + MessageBand::kTextX, top + kMessageTop + 20 * static_cast<int>(shown),
            "(" + std::to_string(object.message.size() - shown) + " more lines: the game keeps 19)",
            kEdgeColour);
    }
    if (object.message.empty()) {
        sheet.text(font, left + MessageBand::kTextX, top + kMessageTop, "(no message)",
                   kNoteColour);
    }
}

std::string caption(const QuizFacts& quiz, std::size_t k, const QuestionCapture* screen) {
    const LogicObject& object = quiz.object(k);
    std::string text = "Object " + std::to_string(k) + " '" + object.name + "' " + kLogicFile +
                       ":" + std::to_string(quiz.objects[k]->line);
    if (screen) {
        const auto& questions = quiz.questions.questions;
        const int q = screen->question;
        text += "   question " + std::to_string(q + 1);
        if (q >= 0 && q < static_cast<int>(questions.size())) {
            text += " " + std::string(kQuestionFilePath) + ":" + std::to_string(questions[q].line) +
                    ", right answer " + std::to_string(questions[q].correctAnswer);
        }
    }
    return text;
}

}  // namespace

bool writeProofSheet(const std::string& path, const QuizFacts& quiz,
                     const std::vector<QuestionCapture>& screens, std::string& error) {
    const OwnedFont font(gfx_load_font("Fonts\\Cour20b.fnt"));
    if (!font) {
        error = "Fonts\\Cour20b.fnt: cannot load the game's font for the proof sheet";
        return false;
    }
    const int rows = static_cast<int>(quiz.objects.size());
    IndexedCanvas sheet(kSheetWidth, kTitleHeight + rows * kRowHeight, kSheetBackground);
    sheet.text(font.get(), kMargin, 8,
               "Every question screen and message, object by object: check the spelling.", kWhite);
    for (int k = 0; k < rows; ++k) {
        const int top = kTitleHeight + k * kRowHeight;
        const auto shown = std::find_if(screens.begin(), screens.end(),
                                        [&](const QuestionCapture& s) { return s.object == k; });
        const QuestionCapture* screen = shown == screens.end() ? nullptr : &*shown;
        sheet.text(font.get(), kMargin, top + 3, caption(quiz, static_cast<std::size_t>(k), screen),
                   kCaptionColour);
        const int pageTop = top + kCaptionHeight;
        if (screen) {
            sheet.copy(kMargin, pageTop, kScreenWidth, kScreenHeight, screen->pixels);
        } else {
            sheet.frameRect(kMargin, pageTop, kMargin + kScreenWidth - 1,
                            pageTop + kScreenHeight - 1, kNoteColour);
            sheet.text(font.get(), kMargin + 20, pageTop + 20, "(the question was not reached)",
                       kNoteColour);
        }
        drawMessage(sheet, font.get(), 2 * kMargin + kScreenWidth, pageTop,
                    quiz.object(static_cast<std::size_t>(k)));
    }
    const auto palette = game_palette();
    if (!sheet.writePng(path, palette.data())) {
        error = path + ": cannot write the proof sheet";
        return false;
    }
    return true;
}
