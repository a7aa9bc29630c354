#include "shell/intro.h"

#include "framework/framework.h"
#include "shell/content_picture.h"
#include "shell/frame.h"
#include "shell/game.h"

void Intro::build(const IntroFileContent& content) {
    entries.clear();
    entries.resize(content.entries.size());
    const std::vector<std::size_t> owners = pictureOwners(content.entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IntroRecord& record = content.entries[i];
        IntroEntry& entry = entries[i];
        entry.name = record.name;
        entry.x = record.x;
        entry.y = record.y;
        entry.time = record.time;
        if (!record.hasPicture()) continue;
        if (owners[i] == i) {
            entry.ownPicture =
                load_content_picture(record.name, {std::string(kIntroFilePath), record.line, {}});
            entry.picture = entry.ownPicture.get();
        } else {
            entry.picture = entries[owners[i]].picture;
        }
    }
    current = 0;
}

IntroGroup Intro::currentGroup() const {
    IntroGroup group{current, current};
    while (group.end + 1 < entries.size() && entries[group.end].time == 0) ++group.end;
    return group;
}

void Intro::drawGroup(const IntroGroup& group, DrawContext* context) const {
    for (std::size_t i = group.first; i <= group.end && i < entries.size(); ++i) {
        if (entries[i].picture) gfx_put_bitmap(context, entries[i].x, entries[i].y, entries[i].picture, 0);
    }
}

void Intro::advance(const IntroGroup& group, std::uint32_t elapsed) {
    // In 64 bits: a time near the 32-bit limit times 1000 must not wrap, and
    // a negative time has always passed.
    const std::int64_t due = std::int64_t{entries[group.end].time} * kMicrosecondsPerTime;
    if (std::int64_t{elapsed} >= due) current = group.end + 1;
}

void Intro::release() {
    sound.stop();
    sound.release();
    entries.clear();
    current = 0;
}

void loadIntro() {
    Game& g = game();
    const IntroFileContent content = readIntroFile();
    reportProblems(content.problems);
    g.intro.build(content);
    g.intro.sound.load("intro.wav", 0);
    g.state.introStarted = 0;
}

namespace {

void endIntro(Game& g) {
    g.intro.release();
    fw_set_draw_callback(draw_game_frame);
}

}  // namespace

void skip_intro() {
    Game& g = game();
    g.state.introStarted = 1;
    g.state.introOver = 1;
    endIntro(g);
}

void draw_intro_frame() {
    Game& g = game();
    GameState& state = g.state;
    if (g.intro.finished()) {
        // Nothing to show (no intro file, or no entry in it): the game's
        // first frame is drawn in this iteration instead.
        state.introStarted = 1;
        state.introOver = 1;
        endIntro(g);
        draw_game_frame();
        return;
    }
    if (!state.introStarted) {
        g.intro.sound.play();
        timer_start();
        state.introStarted = 1;
    }
    gfx_clear();
    const IntroGroup group = g.intro.currentGroup();
    g.intro.drawGroup(group, g.framework ? g.framework->drawContext : nullptr);
    g.intro.advance(group, timer_lap());
    if (g.intro.finished()) state.introOver = 1;
    fw_swap_buffers(1);
    // Esc sets introOver too, before this frame: the frame is still shown.
    if (state.introOver) endIntro(g);
}
