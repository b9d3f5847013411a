// The level set generator. The first stages are drawn by hand and teach one rule each. Every later
// stage is the best of many candidates: a start board of one of the shape families, random picks
// played through the rules to give the target, the search's shortest solution, and the difficulty
// measures, judged against what the curve asks of that stage.
#include "generate.h"

#include "measure.h"
#include "play.h"
#include "shapes.h"
#include "verify.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct TeachingStage {
    const char *title;
    const char *rows[BOARD_ROWS];
    std::vector<Pick> picks;
};

// Each shows one more rule than the one before; their targets come from the rules themselves.
const TeachingStage teachingStages[TEACHING_STAGES] = {
    {" A picked fruit morphs two steps down the chain.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "........", ".5..5..5"},
     {{4, 9}}},
    {" The fruits left, right, above and below it morph one step.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "...4....", "..444..."},
     {{3, 9}}},
    {" A fruit that morphs below the last one vanishes.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "........", "3.121.3."},
     {{3, 9}}},
    {" The fruits above a vanished fruit fall down.",
     {"........", "........", "........", "........", "........", "........", "...4....", "...5....",
      "...3....", "..325..."},
     {{3, 9}}},
    {" Two picks: the second one must fit what the first one left.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "..4444..", "..5555.."},
     {{2, 9}, {5, 9}}},
    {" Two picks in one tower: fallen fruits are picked where they land.",
     {"........", "........", "........", "........", "........", "..4.....", "..53....", "..35....",
      "..24....", "..53...."},
     {{2, 8}, {2, 9}}},
};

// What the curve asks of a stage.
struct Plan {
    int length;         // the solution length it aims at
    int fruits, kinds;  // the board's size and how many of the five fruits it mixes
    bool greedyAllowed; // the greedy player may solve it
    double tightness;   // 0 to 1: how much few solutions and fatal first picks count
    bool breather;      // forgiving: shorter than the stages around it, or among the first
    bool showcase;      // a full board
};

// The showcases come late and rarely: full boards play as spot-the-difference when they are common.
bool isShowcase(int number, int count) {
    return count >= 60 && (number == count || number == count - 18 || number == count - 36);
}

// From two picks after the teaching stages up to twelve at the end. Within each twelve (one music
// track) the length rises to a peak at the twelfth, with breathers at the first and the seventh.
// Longer stages are seldom measured within a candidate's budget, so the later stages grow harder by
// their measures rather than by their length.
Plan planFor(int number, int count) {
    static const int wave[12] = {-2, -1, 0, 0, 1, 1, -2, 0, 1, 1, 2, 2};
    Plan plan;
    int first = TEACHING_STAGES + 1;
    double along = count > first ? double(number - first) / double(count - first) : 1.0;
    if (number <= GREEDY_ALLOWED_UP_TO) {
        plan.length = 2 + (number - first) / 2;
    } else {
        double base = 4.0 + 6.0 * along;
        plan.length = std::clamp(int(std::lround(base)) + wave[(number - 1) % 12], 3, 12);
    }
    plan.fruits = std::min(48, 10 + int(36 * along) + (number % 3) * 4);
    plan.kinds = number < 16 ? 2 : number < 30 ? 3 : number < 50 ? 4 : 5;
    plan.greedyAllowed = number <= GREEDY_ALLOWED_UP_TO;
    plan.tightness = along;
    plan.breather = number <= GREEDY_ALLOWED_UP_TO || wave[(number - 1) % 12] < 0;
    plan.showcase = isShowcase(number, count);
    return plan;
}

// The family a stage draws from, by how far along the set it is, with their weights; a family of the
// last two stages is left out and one of the stages before them counts half, so the set keeps mixing.
Family chooseFamily(int number, const Plan &plan, const std::vector<Family> &recent, Random &random) {
    if (plan.showcase)
        return FAMILY_FULL;
    struct Weight {
        Family family;
        int from, to; // the stages it may appear in
        int weight;
    };
    constexpr int END = 255; // the most stages a level file holds
    static const Weight weights[] = {
        {FAMILY_LOW_ROWS, 7, 40, 2},   {FAMILY_ROWS, 7, END, 2},      {FAMILY_STAIRS, 7, END, 3},
        {FAMILY_PICTURE, 9, 60, 4},    {FAMILY_TOWERS, 13, END, 3},   {FAMILY_GAPS, 13, END, 2},
        {FAMILY_MIRRORED, 13, END, 3}, {FAMILY_CHECKERS, 16, END, 2}, {FAMILY_BIG_PICTURE, 25, END, 5},
    };
    auto weightOf = [&](const Weight &w, bool mixing) {
        if (number < w.from || number > w.to)
            return 0;
        auto seen = std::find(recent.begin(), recent.end(), w.family);
        if (!mixing || seen == recent.end())
            return 2 * w.weight;
        return seen - recent.begin() < 2 ? 0 : w.weight;
    };
    int total = 0;
    bool mixing = true;
    for (const Weight &w : weights)
        total += weightOf(w, mixing);
    if (total == 0) { // so few families offered that all were seen
        mixing = false;
        for (const Weight &w : weights)
            total += weightOf(w, mixing);
    }
    int roll = int(random() % uint32_t(total));
    for (const Weight &w : weights) {
        int weight = weightOf(w, mixing);
        if (roll < weight)
            return w.family;
        roll -= weight;
    }
    return FAMILY_LOW_ROWS;
}

bool playAll(const Board &start, const std::vector<Pick> &picks, Board &end) {
    end = start;
    for (const Pick &pick : picks) {
        if (!nextBoard(end, pick, end))
            return false;
    }
    return true;
}

Stage teachingStage(const TeachingStage &teaching) {
    Stage stage;
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            char ch = teaching.rows[r][c];
            stage.start[cellAt(c, r)] = ch == '.' ? 0 : uint8_t(ch - '0');
        }
    }
    stage.solution = teaching.picks;
    playAll(stage.start, stage.solution, stage.target);
    stage.comments.push_back(teaching.title);
    return stage;
}

Pick mirrorOf(const Pick &pick) { return {BOARD_COLUMNS - 1 - pick.column, pick.row}; }

// Random picks, each chosen by how much fruit it takes away: mostly picks that lower their fruit by
// two and four fruits around it. Such picks leave no slack for a shorter solution, so the search
// proves the shortest quickly, and every pick of the stage counts. On a mirrored board the picks
// may come in mirrored pairs, so the target keeps the symmetry; on a picture they leave the
// figure's fruit alone where they can, so the target still shows it.
std::vector<Pick> randomPicks(const Shape &shape, int count, bool inPairs, Random &random, Board &end) {
    std::vector<Pick> picks;
    end = shape.board;
    while (int(picks.size()) < count) {
        std::vector<Pick> choices;
        std::vector<uint32_t> weights;
        uint32_t total = 0;
        for (bool spareFigure : {true, false}) {
            for (int cell = 0; cell < BOARD_CELLS; cell++) {
                if (end[cell] == 0)
                    continue;
                int c = cell % BOARD_COLUMNS, r = cell / BOARD_COLUMNS;
                const int around[4] = {c > 0 ? cell - 1 : -1, c < BOARD_COLUMNS - 1 ? cell + 1 : -1,
                                       r > 0 ? cell - BOARD_COLUMNS : -1,
                                       r < BOARD_ROWS - 1 ? cell + BOARD_COLUMNS : -1};
                uint32_t lowered = end[cell] == 1 ? 1 : 2;
                bool touchesFigure = shape.figure != 0 && end[cell] == shape.figure;
                for (int n : around) {
                    lowered += n >= 0 && end[n] != 0;
                    touchesFigure = touchesFigure || (n >= 0 && shape.figure != 0 && end[n] == shape.figure);
                }
                if (spareFigure && touchesFigure)
                    continue;
                choices.push_back({c, r});
                weights.push_back(lowered * lowered * lowered);
                total += weights.back();
            }
            if (!choices.empty())
                break;
        }
        if (choices.empty())
            break;
        uint32_t roll = random() % total;
        size_t chosen = 0;
        while (roll >= weights[chosen])
            roll -= weights[chosen++];
        Pick pick = choices[chosen];
        nextBoard(end, pick, end);
        picks.push_back(pick);
        Pick mirror = mirrorOf(pick);
        if (inPairs && int(picks.size()) < count && mirror.column != pick.column &&
            nextBoard(end, mirror, end))
            picks.push_back(mirror);
    }
    return picks;
}

Board mirrored(const Board &board) {
    Board out{};
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLUMNS; c++)
            out[cellAt(BOARD_COLUMNS - 1 - c, r)] = board[cellAt(c, r)];
    return out;
}

int differingCells(const Board &a, const Board &b) {
    int n = 0;
    for (int i = 0; i < BOARD_CELLS; i++)
        n += a[i] != b[i];
    return n;
}

// What a stage's solution does, in words for its comment.
std::string ideaOf(const Stage &stage, const Difficulty &difficulty) {
    int falls = 0, repeats = 0;
    Board board = stage.start;
    for (size_t j = 0; j < stage.solution.size(); j++) {
        Board after;
        nextBoard(board, stage.solution[j], after);
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            bool fell = false; // a fruit of this column now stands lower than before
            for (int r = 0; r + 1 < BOARD_ROWS && !fell; r++)
                fell = board[cellAt(c, r)] != 0 && after[cellAt(c, r)] == 0 && after[cellAt(c, r + 1)] != 0 &&
                       board[cellAt(c, r + 1)] != 0;
            if (fell) {
                falls++;
                break;
            }
        }
        for (size_t i = 0; i < j; i++)
            repeats += stage.solution[i].column == stage.solution[j].column &&
                       stage.solution[i].row == stage.solution[j].row;
        board = after;
    }
    std::vector<std::string> ideas;
    if (difficulty.trap)
        ideas.push_back("the first pick that matches the most cells loses the stage");
    if (falls == 0)
        ideas.push_back("nothing falls: every pick works where the fruits stand");
    else if (falls == 1)
        ideas.push_back("one pick drops fruit into place");
    else
        ideas.push_back(std::to_string(falls) + " of the " + std::to_string(stage.solution.size()) +
                        " picks drop fruit into place");
    if (repeats > 0)
        ideas.push_back(repeats == 1 ? "one cell is picked twice"
                                     : "cells are picked again after they change");
    if (difficulty.shortestSolutions == 1)
        ideas.push_back("only one set of picks is that short");
    else if (difficulty.shortestSolutions == 2)
        ideas.push_back("two sets of picks are that short");
    if (stage.target == mirrored(stage.target) && stage.start == mirrored(stage.start))
        ideas.push_back("the target stays mirrored");
    std::string text;
    for (size_t i = 0; i < ideas.size(); i++)
        text += (i == 0 ? "" : i + 1 == ideas.size() ? " and " : ", ") + ideas[i];
    return text;
}

std::string sentence(std::string text) {
    if (!text.empty())
        text[0] = char(toupper(text[0]));
    return text;
}

struct Candidate {
    Stage stage;
    Family family;
    std::string about;
    Difficulty difficulty;
    double score = 0; // lower is better
};

// How far a candidate is from what the plan asks, by what is known before its measures: the length
// first, then variety and how much of the board the stage changes.
double roughScore(const Candidate &c, const Plan &plan, const std::vector<Family> &recent) {
    double score = 4.0 * std::abs(int(c.stage.solution.size()) - plan.length);
    for (size_t i = 0; i < recent.size(); i++)
        score += recent[i] == c.family ? (i == 0 ? 3.0 : i == 1 ? 1.5 : 0.75) : 0.0;
    int fruits = fruitCount(c.stage.start);
    if (differingCells(c.stage.start, c.stage.target) * 4 < fruits)
        score += 3.0; // spot the difference
    if (fruitCount(c.stage.target) * 3 < fruits)
        score += 2.0; // all but cleared
    return score;
}

// The full score adds how tight the stage is, or for a breather how forgiving; lower is better.
double scoreOf(const Candidate &c, const Plan &plan, const std::vector<Family> &recent) {
    const Difficulty &d = c.difficulty;
    double score = roughScore(c, plan, recent);
    double solutions = std::log2(double(std::max(1, d.shortestSolutions)));
    if (plan.breather)
        return score - solutions + 4.0 * d.fatalShare() + (d.trap ? 2.0 : 0.0);
    score += plan.tightness * (1.5 * solutions + 4.0 * (1.0 - d.fatalShare()));
    return score - (d.trap ? plan.tightness * 2.0 : 0.0);
}

constexpr int MOST_SLACK = 1;       // picks a walk may have beyond the lower bound of its stage
constexpr size_t RECENT_STAGES = 6; // a family seen among these counts against a candidate

// A candidate that keeps the hard rules: a solution proven shortest, no near-duplicate of an earlier
// stage, a gentle breather, and where it must, a defeat for the greedy player; measured, each search
// within budget. False when a try falls short of one of them; the cheap checks go first.
bool tryCandidate(Family family, const Plan &plan, Random &random, uint64_t budget,
                  const std::vector<Stage> &stages, std::vector<int> &lengths, bool anyLength, Candidate &c) {
    c.family = family;
    Shape shape = makeShape(c.family, plan.fruits, plan.kinds, random);
    c.about = shape.about;
    Stage &stage = c.stage;
    stage.start = shape.board;
    int walk = plan.length + int(random() % 3);
    stage.solution = randomPicks(shape, walk, shape.mirrored && random() % 2, random, stage.target);
    // A target that keeps less than half the fruits is all but cleared, and slow to measure.
    if (stage.target == stage.start || 2 * fruitCount(stage.target) < fruitCount(stage.start) ||
        int(stage.solution.size()) < walk)
        return false;
    // Walks whose picks take away much less fruit than they could are slow to prove shortest.
    if (walk - pickLowerBound(stage.start, stage.target) > MOST_SLACK)
        return false;
    if (std::any_of(stages.begin(), stages.end(),
                    [&](const Stage &other) { return nearDuplicate(stage.start, other.start); }))
        return false;
    // Failing within the walk's length and the spare moves, it fails within the shortest's too.
    if (!plan.greedyAllowed && greedyPicks(stage.start, stage.target, walk + GREEDY_SPARE_MOVES) != 0)
        return false;
    SolveResult result = shortenSolution(stage, budget);
    int length = int(stage.solution.size());
    int window = plan.greedyAllowed ? 1 : 2;
    if (result.provenFloor < length || (!anyLength && std::abs(length - plan.length) > window))
        return false;
    lengths.back() = length;
    if (!gentleBreather(lengths, lengths.size() - 1))
        return false;
    c.difficulty = measureStage(stage, budget, true);
    const Difficulty &d = c.difficulty;
    if (d.greedy == UNKNOWN || d.unknownFirstPicks > 0 || d.shortestSolutions == UNKNOWN)
        return false;
    // The game plays the solution tick by tick through its queues; so does the check.
    return stageFailure(stage).empty();
}

// Gathers measured candidates and takes the best. A candidate's searches get a twentieth of a search
// budget: of so many, those that take long to measure are given up rather than waited for, which
// also keeps the set quick to measure. The candidates come from one family chosen for the stage
// while the first half of the tries lasts, then from any; when the tries run out it goes on, with
// any length, until one candidate passes.
constexpr int GATHERED = 3, TRIES = 400;

Candidate bestCandidate(int number, const Plan &plan, Random &random, uint64_t budget,
                        const std::vector<Stage> &stages, const std::vector<Family> &recent) {
    uint64_t searchBudget = std::max<uint64_t>(budget / 20, 1000);
    std::vector<int> lengths;
    for (const Stage &stage : stages)
        lengths.push_back(int(stage.solution.size()));
    lengths.push_back(0);
    Family chosen = chooseFamily(number, plan, recent, random);
    Candidate best;
    int gathered = 0;
    for (int attempt = 0; gathered < GATHERED && (attempt < TRIES || gathered == 0); attempt++) {
        Family family = attempt < TRIES / 2 ? chosen : chooseFamily(number, plan, recent, random);
        Candidate c;
        if (!tryCandidate(family, plan, random, searchBudget, stages, lengths, attempt >= TRIES, c))
            continue;
        c.score = scoreOf(c, plan, recent);
        if (gathered++ == 0 || c.score < best.score)
            best = c;
    }
    return best;
}

} // namespace

bool nearDuplicate(const Board &a, const Board &b) {
    for (const Board &other : {b, mirrored(b)}) {
        int differ = 0, filled = 0;
        for (int i = 0; i < BOARD_CELLS; i++) {
            differ += a[i] != other[i];
            filled += a[i] != 0 || other[i] != 0;
        }
        if (4 * differ < filled)
            return true;
    }
    return false;
}

bool gentleBreather(const std::vector<int> &lengths, size_t index) {
    size_t first = index >= 8 ? index - 8 : 0;
    int sum = 0;
    for (size_t k = first; k < index; k++)
        sum += lengths[k];
    return index == first || 2 * lengths[index] * int(index - first) >= sum;
}

void noteSolverResult(Stage &stage, const SolveResult &result, uint64_t budget) {
    const std::string prefix = " solver:";
    stage.comments.erase(std::remove_if(stage.comments.begin(), stage.comments.end(),
                                        [&](const std::string &line) { return line.rfind(prefix, 0) == 0; }),
                         stage.comments.end());
    int length = int(stage.solution.size());
    std::string note = prefix;
    if (result.provenFloor >= length)
        note += " shortest, proven";
    else
        note += " none shorter than " + std::to_string(result.provenFloor) +
                " picks; the search stopped at " + std::to_string(budget) + " picks played";
    stage.comments.push_back(note);
}

std::vector<Stage> generateLevels(uint32_t seed, int count, uint64_t budget) {
    Random random(seed);
    std::vector<Stage> stages;
    std::vector<Family> recent; // the families of the last stages, the latest first
    for (const TeachingStage &teaching : teachingStages) {
        if (int(stages.size()) == count)
            break;
        Stage stage = teachingStage(teaching);
        noteSolverResult(stage, shortenSolution(stage, budget), budget);
        stages.push_back(stage);
    }
    while (int(stages.size()) < count) {
        int number = int(stages.size()) + 1;
        Plan plan = planFor(number, count);
        Candidate c = bestCandidate(number, plan, random, budget, stages, recent);
        c.stage.comments.push_back(" " + sentence(c.about) + ": " + ideaOf(c.stage, c.difficulty) + ".");
        noteSolverResult(c.stage, SolveResult{{}, int(c.stage.solution.size()), 0, false}, budget);
        stages.push_back(c.stage);
        recent.insert(recent.begin(), c.family);
        recent.resize(std::min<size_t>(recent.size(), RECENT_STAGES));
        fprintf(stderr, "stage %d: %zu picks, %s\n", number, c.stage.solution.size(), familyName(c.family));
    }
    return stages;
}
