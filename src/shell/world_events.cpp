#include "shell/world_events.h"

#include "logic/world.h"
#include "shell/game_state.h"
#include "shell/player_view.h"
#include "shell/questions.h"

void check_player_position(World& world, PlayerView& view, GameState& state) {
    const PositionCheck check = world.checkPlayerPosition(view.position);
    if (check.collider) {
        view.setCollider(check.collider);
        view.setPosition(check.eye);
    }
    if (check.objectInReach) state.questionShown = 1;
}

void answer_question(World& world, QuestionStore& questions, GameState& state, int digit) {
    switch (world.answerQuestion(questions.isRightAnswer(digit))) {
    case AnswerOutcome::None: break;
    case AnswerOutcome::Wrong: state.questionShown = 0; break;
    case AnswerOutcome::Next:
        questions.nextQuestion();
        state.questionShown = 0;
        break;
    // The question stays up until the key handler installs the ending.
    case AnswerOutcome::Won: state.gameWon = 1; break;
    }
}
