#include "quiz/quiz_build.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

#include "check/game_mazes.h"
#include "check_command.h"
#include "framework/audio_wav.h"
#include "framework/files.h"
#include "framework/framework.h"
#include "geometry/model.h"
#include "geometry/texture_list.h"
#include "geometry/trig.h"
#include "logic/logic_file.h"
#include "objects/object_source.h"
#include "quiz/quiz_assets.h"
#include "quiz/quiz_maze.h"
#include "quiz/quiz_title.h"
#include "quiz/quiz_writer.h"
#include "shell/game.h"
#include "shell/intro_file.h"
#include "shell/question_file.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTitlePicture = "quiz_title.bmp";
// Without intro music the title shows this long (Esc skips it).
constexpr int kIntroWithoutMusic = 8000;

// The data root is the framework's one setting: put back what it was.
class DataRootGuard {
public:
    DataRootGuard() : saved_(fw_data_root()) {}
    ~DataRootGuard() { fw_set_data_root(saved_); }
    DataRootGuard(const DataRootGuard&) = delete;
    DataRootGuard& operator=(const DataRootGuard&) = delete;

private:
    std::string saved_;
};

// The folder being built; removed unless kept.
class ScratchFolder {
public:
    explicit ScratchFolder(fs::path path) : path_(std::move(path)) {
        std::error_code code;
        fs::remove_all(path_, code);
    }
    ~ScratchFolder() {
        std::error_code code;
        if (!kept_) fs::remove_all(path_, code);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    fs::path path_;
    bool kept_ = false;
};

fs::path defaultGameFolder() {
    std::error_code code;
    const fs::path self = fs::read_symlink("/proc/self/exe", code);
    return code ? fs::path("game") : self.parent_path() / "game";
}

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

class Builder {
public:
    Builder(const std::string& quizFile, const QuizBuildOptions& options)
        : quizPath_(quizFile),
          fileName_(quizFile),
          outputName_(options.output),
          output_(options.output),
          game_(options.game.empty() ? defaultGameFolder() : fs::path(options.game)) {}

    QuizBuildResult run() {
        if (prepare()) {
            ScratchFolder scratch(output_.parent_path() /
                                  ("." + output_.filename().string() + ".quiz-new"));
            if (assemble(scratch.path()) && checkBuilt(scratch.path())) swapIn(scratch);
        }
        return std::move(result_);
    }

private:
    // Everything that can be judged before a file is written.
    bool prepare() {
        std::error_code code;
        if (output_.empty()) return fail("no output folder: give -o GAME_FOLDER");
        output_ = fs::absolute(output_, code).lexically_normal();
        if (output_.filename().empty()) output_ = output_.parent_path();
        if (!fs::is_regular_file(game_ / "Objects" / kMazeFiles[0], code)) {
            return fail(game_.string() + ": not a built game (no Objects/" + kMazeFiles[0] +
                        "): give the game folder with --game DIR");
        }
        const fs::path game = fs::weakly_canonical(game_, code);
        const fs::path out = fs::weakly_canonical(output_, code);
        const auto within = [](const fs::path& inner, const fs::path& outer) {
            const auto rel = inner.lexically_relative(outer);
            return !rel.empty() && *rel.begin() != "..";
        };
        if (within(out, game) || within(game, out)) {
            return fail(outputName_ +
                        ": the output must be a folder of its own, not the game "
                        "folder, inside it or around it");
        }
        if (within(fs::weakly_canonical(fs::absolute(quizPath_, code), code), out)) {
            return fail(fileName_ + " lies inside " + outputName_ +
                        ", which is made afresh: keep the quiz file and its pictures beside it");
        }
        if (fs::exists(output_, code) && !isReplaceable(output_)) {
            return fail(outputName_ +
                        " exists and is not a game folder: give a new or empty "
                        "folder, so nothing of yours is replaced");
        }
        std::string text;
        if (!fw_read_whole_file(quizPath_.string(), text)) return fail(fileName_ + ": cannot read the quiz file");
        quiz_ = parseQuizFile(text);
        title_ = quiz_.title.given() ? quiz_.title.text : quizPath_.stem().string();
        // Every mistake at once: the file's own, then what it names.
        std::vector<QuizProblem> problems = quiz_.problems;
        assets_ = gatherAssets(quiz_, quizPath_.parent_path(), libraryObjects(game_), problems);
        {
            DataRootGuard root;
            fw_set_data_root(game_.string());
            font_.reset(gfx_load_font("Fonts\\Cour20b.fnt"));
        }
        if (!font_)
            return fail(game_.string() + ": the game's font Fonts/Cour20b.fnt cannot be read");
        checkCharacters(quiz_, *font_, problems);
        readOwnMazes(problems);
        keepSourcesOutOfOutput(problems);
        if (quiz_.problems.empty()) planScreens(problems);
        std::stable_sort(
            problems.begin(), problems.end(),
            [](const QuizProblem& a, const QuizProblem& b) { return a.line < b.line; });
        for (const QuizProblem& problem : problems)
            result_.problems.push_back(problem.describe(fileName_));
        return result_.problems.empty();
    }

    // The quiz's own mazes, where their passages lead, and the places its
    // questions pin objects to.
    void readOwnMazes(std::vector<QuizProblem>& problems) {
        pins_.assign(quiz_.questions.size(), std::nullopt);
        bool allRead = true;
        for (const QuizValue& value : quiz_.mazes) {
            std::string error;
            QuizMaze maze;
            if (!readQuizMaze((quizPath_.parent_path() / value.text).string(), maze, error)) {
                problems.push_back({value.line, "maze '" + value.text + "': " + error});
                allRead = false;
            }
            ownMazes_.push_back(std::move(maze));
        }
        if (!allRead) return;
        resolvePassages();
        std::string names;
        for (const QuizMaze& maze : ownMazes_) {
            for (const auto& mark : maze.objectMarks)
                names += (names.empty() ? "" : ", ") + mark.first;
        }
        for (std::size_t i = 0; i < quiz_.questions.size(); ++i) {
            const QuizValue& place = quiz_.questions[i].place;
            if (!place.given()) continue;
            if (quiz_.mazes.empty()) {
                problems.push_back({place.line,
                                    "Place: names an object mark of your own maze: add a "
                                    "Maze: line with your .maze file"});
                continue;
            }
            for (std::size_t m = 0; m < ownMazes_.size() && !pins_[i]; ++m) {
                for (const auto& [name, at] : ownMazes_[m].objectMarks) {
                    if (name == place.text) pins_[i] = ObjectPin{static_cast<int>(m), at};
                }
            }
            if (!pins_[i]) {
                problems.push_back(
                    {place.line, "no object mark '" + place.text + "' in " + mazeNames() +
                                     (names.empty() ? ": none has object marks"
                                                    : ": the object marks are " + names)});
            }
        }
    }

    std::string mazeNames() const {
        std::string out;
        for (const QuizValue& value : quiz_.mazes) out += (out.empty() ? "" : " or ") + value.text;
        return out;
    }

    // Start points per maze: the first maze's home, then every start mark.
    std::vector<std::vector<Vec3>> ownStartPoints() const {
        std::vector<std::vector<Vec3>> starts(ownMazes_.size());
        for (std::size_t m = 0; m < ownMazes_.size(); ++m) {
            if (m == 0) starts[m].push_back(kMazeHome);
            for (const auto& mark : ownMazes_[m].startMarks) starts[m].push_back(mark.second);
        }
        return starts;
    }

    // A passage mark leads to the start mark of its name, in whichever of
    // the quiz's mazes it is; one without is left out, and the author told.
    void resolvePassages() {
        for (std::size_t m = 0; m < ownMazes_.size(); ++m) {
            for (const auto& [name, box] : ownMazes_[m].passageMarks) {
                bool found = false;
                for (std::size_t t = 0; t < ownMazes_.size() && !found; ++t) {
                    const auto& marks = ownMazes_[t].startMarks;
                    for (std::size_t k = 0; k < marks.size() && !found; ++k) {
                        if (marks[k].first != name) continue;
                        const auto index = static_cast<std::int32_t>(k + (t == 0 ? 1 : 0));
                        passages_.push_back(
                            {0, static_cast<std::int32_t>(m),
                             LogicPassage{static_cast<std::int32_t>(t), index, box}});
                        found = true;
                    }
                }
                if (!found) {
                    result_.notes.push_back(describeAt(
                        quiz_.mazes[m].line, "passage mark '" + name + "' of " +
                                                 quiz_.mazes[m].text +
                                                 " is left out: no maze of the quiz has a start "
                                                 "mark of that name for it to lead to"));
                }
            }
        }
    }

    // Files the quiz names must not lie in the folder a build replaces.
    void keepSourcesOutOfOutput(std::vector<QuizProblem>& problems) const {
        std::error_code code;
        const fs::path out = fs::weakly_canonical(output_, code);
        const auto check = [&](const QuizValue& value) {
            if (!value.given()) return;
            const fs::path file = fs::weakly_canonical(
                fs::absolute(quizPath_.parent_path() / value.text, code), code);
            const auto rel = file.lexically_relative(out);
            if (!rel.empty() && *rel.begin() != "..") {
                problems.push_back({value.line, "'" + value.text + "' lies inside " + outputName_ +
                                                    ", which is made afresh: keep it beside it"});
            }
        };
        check(quiz_.introPicture);
        for (const QuizValue& maze : quiz_.mazes) check(maze);
        for (const QuizQuestion& question : quiz_.questions) {
            check(question.picture);
            if (isShapeFile(question.object.text)) check(question.object);
        }
    }

    static bool isReplaceable(const fs::path& folder) {
        std::error_code code;
        if (!fs::is_directory(folder, code)) return false;
        return fs::is_empty(folder, code) || fs::is_directory(folder / "Data", code) ||
               fs::is_directory(folder / "Objects", code);
    }

    void planScreens(std::vector<QuizProblem>& problems) {
        const std::string total = std::to_string(quiz_.questions.size());
        for (std::size_t i = 0; i < quiz_.questions.size(); ++i) {
            const QuizQuestion& question = quiz_.questions[i];
            PlannedQuestion plan;
            QuestionScreenInput input;
            input.header = fillPlaceholders(
                fillPlaceholders(quiz_.words.question, "n", std::to_string(i + 1)), "total", total);
            input.text = question.text;
            input.answers = question.answers;
            input.press = question.answers.size() == 2 ? quiz_.words.press2 : quiz_.words.press3;
            if (assets_.pictures[i]) {
                input.pictureWidth = assets_.pictures[i]->width();
                input.pictureHeight = assets_.pictures[i]->height();
                plan.picture = "q" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + ".bmp";
            }
            std::string why;
            if (!layoutQuestion(input, plan.screen, why)) problems.push_back({question.line, why});
            plan.right = question.right;
            plan.objectName = assets_.objects[i].name;
            plan.objectFile = assets_.objects[i].file;
            const std::size_t hintLines = messageLines(quiz_, i, false).size();
            if (hintLines > static_cast<std::size_t>(kHintMaxLines)) {
                problems.push_back({question.hintLine,
                                    "the hint takes " + std::to_string(hintLines) +
                                        " lines of the message band, which keeps " +
                                        std::to_string(kHintMaxLines) + ": shorten it by " +
                                        std::to_string(hintLines - kHintMaxLines) + " lines of " +
                                        std::to_string(kHintColumns) + " characters"});
            }
            plans_.push_back(std::move(plan));
        }
        ending_ = endingLines(quiz_, title_);
        if (ending_.size() > static_cast<std::size_t>(kEndingMaxLines)) {
            problems.push_back(
                {quiz_.endingLine, "the ending takes " + std::to_string(ending_.size()) +
                                       " lines, the game shows " + std::to_string(kEndingMaxLines) +
                                       ": shorten it"});
        }
    }

    bool assemble(const fs::path& folder) {
        std::error_code code;
        fs::create_directories(folder, code);
        if (code) return fail("cannot create " + folder.string() + ": " + code.message());
        // The game as built, but its own quiz's data: ours replaces it.
        for (const auto& entry : fs::directory_iterator(game_, code)) {
            const fs::path name = entry.path().filename();
            if (name == "Data") continue;
            fs::copy(entry.path(), folder / name, fs::copy_options::recursive, code);
            if (code) return fail("cannot copy " + entry.path().string() + ": " + code.message());
        }
        fs::create_directories(folder / "Data", code);
        if (code)
            return fail("cannot create " + (folder / "Data").string() + ": " + code.message());
        leaveOutGamesQuizPictures(folder);
        return writePictures(folder) && compileShapes(folder) && compileMazes(folder) &&
               place(folder) && writeData(folder);
    }

    // The game's own quiz goes with its data: its question and intro
    // pictures would only weigh down the copy (and a web site made of it).
    // The frame, the menu, the title and every texture stay.
    void leaveOutGamesQuizPictures(const fs::path& folder) const {
        std::vector<std::string> names;
        TextFile file;
        if (file.openNative((game_ / "Data" / "krv.int").string())) {
            for (const IntroRecord& entry : parseIntroFile(file, "krv.int").entries)
                names.push_back(entry.name);
        }
        file.close();
        if (file.openNative((game_ / "Data" / "krv.qry").string())) {
            for (const QuestionRecord& question : parseQuestionFile(file, "krv.qry").questions) {
                for (const QuestionPictureLine& picture : question.pictures)
                    names.push_back(picture.name);
            }
        }
        std::string models;
        std::error_code code;
        for (const auto& entry : fs::directory_iterator(folder / "Objects", code)) {
            std::string text;
            if (fw_read_whole_file(entry.path().string(), text)) models += text;
        }
        static const char* const kKept[] = {"border1.bmp", "ext_sel.bmp", "ext_not.bmp",
                                            "title.bmp"};
        for (const std::string& name : names) {
            if (!isContainedFileName(name) || name.find_first_of("/\\") != std::string::npos)
                continue;
            if (std::find(std::begin(kKept), std::end(kKept), name) != std::end(kKept)) continue;
            if (models.find(fs::path(name).stem().string()) != std::string::npos)
                continue;  // a texture
            fs::remove(folder / "Pics" / name, code);
        }
    }

    bool writePictures(const fs::path& folder) {
        for (std::size_t i = 0; i < plans_.size(); ++i) {
            const auto& shown = plans_[i].screen.picture;
            if (!shown) continue;
            if (!saveScaledPicture(*assets_.pictures[i], shown->width, shown->height,
                                   (folder / "Pics" / plans_[i].picture).string()))
                return fail("cannot write " + (folder / "Pics" / plans_[i].picture).string());
        }
        const IndexedPicture title =
            makeQuizTitlePicture(*font_, title_, quiz_.intro, assets_.introPicture);
        if (!savePicture(title, (folder / "Pics" / kTitlePicture).string()))
            return fail("cannot write " + (folder / "Pics" / kTitlePicture).string());
        return true;
    }

    bool compileShapes(const fs::path& folder) {
        for (std::size_t i = 0; i < assets_.objects.size(); ++i) {
            const QuizObjectChoice& choice = assets_.objects[i];
            if (choice.shape.empty() || fs::exists(folder / "Objects" / choice.file)) continue;
            std::string error;
            if (!compile_object_file(choice.shape.string(),
                                     (folder / "Objects" / choice.file).string(), false, error)) {
                return fail(describeAt(quiz_.questions[i].object.line, "object: " + error));
            }
        }
        return true;
    }

    bool compileMazes(const fs::path& folder) {
        for (std::size_t m = 0; m < quiz_.mazes.size(); ++m) {
            std::string error;
            if (!compileQuizMaze(ownMazes_[m], (folder / "Objects" / kMazeFiles[m]).string(), error)) {
                return fail(describeAt(quiz_.mazes[m].line, "maze: " + error));
            }
        }
        return true;
    }

    // The mazes' start points and passages: the game's own, or those of the
    // quiz's mazes.
    bool baseLogic(LogicFileContents& base) {
        if (!ownMazes_.empty()) {
            const std::vector<std::vector<Vec3>> starts = ownStartPoints();
            for (std::size_t m = 0; m < starts.size(); ++m) {
                for (const Vec3& p : starts[m]) {
                    base.records.push_back({0, static_cast<std::int32_t>(m),
                                            LogicStartPoint{StartPoint{p.x, p.y, p.z}}});
                }
            }
            base.records.insert(base.records.end(), passages_.begin(), passages_.end());
            return true;
        }
        TextFile file;
        if (!file.openNative((game_ / "Data" / "krv.lgk").string())) {
            return fail((game_ / "Data" / "krv.lgk").string() +
                        ": missing: the mazes' start points and passages are read from the game's "
                        "logic file");
        }
        base = parseLogicFile(file);
        std::erase_if(base.records, [](const LogicRecord& r) {
            return std::holds_alternative<LogicObject>(r.value);
        });
        return true;
    }

    bool place(const fs::path& folder) {
        DataRootGuard root;
        fw_set_data_root(folder.string());
        buildTrigTables();
        LogicFileContents base;
        if (!baseLogic(base)) return false;
        TextureList textures;
        auto mazes = loadGameMazes(textures);
        std::vector<Model*> mazeModels;
        for (auto& maze : mazes) mazeModels.push_back(maze.get());
        std::vector<std::unique_ptr<Model>> models;
        std::vector<const Model*> objects;
        for (std::size_t i = 0; i < plans_.size(); ++i) {
            auto model = std::make_unique<Model>("Objects\\" + plans_[i].objectFile, textures,
                                                 kObjectCellSize, Vec3{}, ModelLoadMode::Check);
            if (!model->loaded)
                return fail(describeAt(quiz_.questions[i].line, model->loadError.describe()));
            objects.push_back(model.get());
            models.push_back(std::move(model));
        }
        std::vector<PlacedObject> placed;
        std::string problem;
        std::size_t failed = 0;
        if (!placeObjects(base, mazeModels, objects, pins_, placed, problem, failed)) {
            // A pinned object's question says where.
            const QuizValue& pin = failed < pins_.size() && pins_[failed]
                                       ? quiz_.questions[failed].place
                                       : QuizValue{};
            return fail(pin.given() ? describeAt(pin.line, "place '" + pin.text + "': " + problem)
                                    : fileName_ + ": " + problem);
        }
        for (std::size_t i = 0; i < plans_.size(); ++i) {
            plans_[i].place = placed[i];
            plans_[i].message = messageLines(quiz_, i, placed[i].firstInMaze);
            char note[160];
            std::snprintf(note, sizeof note,
                          "question %zu: %s in maze %d, a walk of %.0f s from the %s", i + 1,
                          plans_[i].objectName.c_str(), placed[i].maze, placed[i].seconds(),
                          i == 0 ? "start" : "object before");
            result_.notes.push_back(note);
        }
        base_ = std::move(base);
        return true;
    }

    bool writeData(const fs::path& folder) {
        const fs::path data = folder / "Data";
        AudioFrames music;
        int milliseconds = kIntroWithoutMusic;
        if (read_wav_for_mix((folder / "Wavs" / "intro.wav").string(), music)) {
            milliseconds = static_cast<int>(music.size() / 2 * 1000 / AudioMixer::kRate);
        }
        const bool written =
            writeText(data / "krv.lgk", logicFileText(title_, base_, plans_)) &&
            writeText(data / "krv.qry", questionFileText(title_, plans_)) &&
            writeText(data / "krv.int", introFileText(kTitlePicture, milliseconds)) &&
            writeText(data / "krv.end", endingFileText(ending_)) &&
            writeText(data / "page.txt", pageFileText(title_, quiz_.page));
        return written || fail("cannot write the data files into " + data.string());
    }

    // The built folder must pass what the game and check demand; anything
    // found is the builder's fault, but the author sees it, not a broken quiz.
    bool checkBuilt(const fs::path& folder) {
        DataRootGuard root;
        const CheckReport report = checkGameData(folder.string());
        for (const std::string& problem : report.problems) {
            result_.problems.push_back("the built quiz fails its check (please report this): " +
                                       problem);
        }
        return report.problems.empty();
    }

    bool swapIn(ScratchFolder& scratch) {
        std::error_code code;
        const fs::path old =
            output_.parent_path() / ("." + output_.filename().string() + ".quiz-old");
        fs::remove_all(old, code);
        const bool existed = fs::exists(output_, code);
        if (existed) {
            fs::rename(output_, old, code);
            if (code) return fail("cannot move " + output_.string() + " aside: " + code.message());
        }
        fs::rename(scratch.path(), output_, code);
        if (code) {
            std::error_code back;
            if (existed) fs::rename(old, output_, back);
            return fail("cannot write " + output_.string() + ": " + code.message());
        }
        scratch.keep();
        fs::remove_all(old, code);
        result_.notes.push_back(outputName_ + ": " + std::to_string(plans_.size()) +
                                " questions, every object reached; krvtool check: no problems");
        return true;
    }

    std::string describeAt(int line, const std::string& reason) const {
        return QuizProblem{line, reason}.describe(fileName_);
    }

    bool fail(const std::string& problem) {
        result_.problems.push_back(problem);
        return false;
    }

    fs::path quizPath_;
    std::string fileName_;
    std::string outputName_;  // as the author gave it, for messages
    fs::path output_;
    fs::path game_;
    QuizFile quiz_;
    std::string title_;
    QuizAssets assets_;
    OwnedFont font_;
    std::vector<PlannedQuestion> plans_;
    std::vector<QuizMaze> ownMazes_;
    std::vector<LogicRecord> passages_;
    std::vector<std::optional<ObjectPin>> pins_;
    std::vector<std::string> ending_;
    LogicFileContents base_;
    QuizBuildResult result_;
};

}  // namespace

QuizBuildResult buildQuiz(const std::string& quizFile, const QuizBuildOptions& options) {
    return Builder(quizFile, options).run();
}
