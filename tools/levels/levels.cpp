// levels: makes, checks, solves and converts the game's level set.
//   levels generate SEED DIR [--count N] [--budget PICKS]   a new set of stage-NNN.txt files
//   levels pack DIR FILE            the stage files of DIR into a scrambled level file
//   levels unpack FILE DIR          a level file into stage files
//   levels verify FILE              every stored solution replayed through the game's rules
//   levels solve STAGE.txt [--budget PICKS] [--write]   the shortest solution the search finds
//   levels retarget STAGE.txt       the target recomputed from the start board and the solution
//   levels stats FILE|DIR [--budget PICKS]   per stage the length and the difficulty measures, the
//                                            curve, and a table per twelve stages
//   levels testbin STAGE.txt FILE   the 160-byte unscrambled test stage
#include "data/fileio.h"
#include "generate.h"
#include "main/level.h"
#include "measure.h"
#include "play.h"
#include "verify.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

static int fail(const std::string &message) {
    fprintf(stderr, "levels: %s\n", message.c_str());
    return 1;
}

// Reads "--name VALUE" options after the positional arguments; false on anything unknown.
static bool parseOptions(int argc, char **argv, int first, uint64_t *budget, int *count, bool *write) {
    for (int i = first; i < argc; i++) {
        if (budget && strcmp(argv[i], "--budget") == 0 && i + 1 < argc)
            *budget = strtoull(argv[++i], nullptr, 10);
        else if (count && strcmp(argv[i], "--count") == 0 && i + 1 < argc)
            *count = atoi(argv[++i]);
        else if (write && strcmp(argv[i], "--write") == 0)
            *write = true;
        else
            return false;
    }
    return (!budget || *budget > 0) && (!count || (*count >= 1 && *count <= 255));
}

static bool writeStageFiles(const std::string &dir, const std::vector<Stage> &stages, std::string &error) {
    mkdir(dir.c_str(), 0755);
    for (size_t k = 0; k < stages.size(); k++) {
        std::string path = dir + "/" + stageFileName(int(k) + 1);
        if (!writeTextFile(path, formatStage(stages[k]))) {
            error = path + ": cannot write the file";
            return false;
        }
    }
    return true;
}

static int generate(int argc, char **argv) {
    uint64_t budget = DEFAULT_BUDGET;
    int count = GENERATED_STAGES;
    const char *seed = argv[2];
    if (!*seed || strspn(seed, "0123456789") != strlen(seed) ||
        !parseOptions(argc, argv, 4, &budget, &count, nullptr))
        return fail("generate SEED DIR [--count 1..255] [--budget PICKS], SEED a whole number");
    std::vector<Stage> stages = generateLevels(uint32_t(strtoul(seed, nullptr, 10)), count, budget);
    std::string error;
    if (!writeStageFiles(argv[3], stages, error))
        return fail(error);
    return 0;
}

static int pack(const char *dir, const char *file) {
    std::vector<Stage> stages;
    std::string error;
    if (!readStageFolder(dir, stages, error) || !writeLevelFile(file, stages, error))
        return fail(error);
    return 0;
}

// A level file whose size is not a whole number of records, as stated by its count byte, is refused.
static bool readStages(const std::string &path, std::vector<Stage> &stages, std::string &error) {
    std::vector<uint8_t> plain;
    if (!readLevelFile(path, plain, error))
        return false;
    if (plain.empty() || plain.size() != 1 + size_t(LEVEL_RECORD_SIZE) * plain[0] || plain[0] == 0) {
        error = path + ": not a level file of 1 + 288 bytes per stage";
        return false;
    }
    stages.clear();
    for (size_t k = 0; k < plain[0]; k++)
        stages.push_back(recordToStage(plain.data() + 1 + LEVEL_RECORD_SIZE * k));
    return true;
}

static int unpack(const char *file, const char *dir) {
    std::vector<Stage> stages;
    std::string error;
    if (!readStages(file, stages, error) || !writeStageFiles(dir, stages, error))
        return fail(error);
    return 0;
}

static int verify(const char *file) {
    std::vector<std::string> failures = verifyLevelFile(file);
    for (const auto &failure : failures)
        fprintf(stderr, "levels: %s\n", failure.c_str());
    if (!failures.empty())
        return 1;
    printf("%s: every stage checked, every solution solves its stage\n", file);
    return 0;
}

static std::string picksText(const std::vector<Pick> &picks) {
    std::string text;
    for (const Pick &pick : picks)
        text += " " + std::to_string(pick.column) + "," + std::to_string(pick.row);
    return text;
}

constexpr int MAX_SEARCH_LENGTH = 16; // how deep solve goes for a stage without a solution

static int solve(int argc, char **argv) {
    uint64_t budget = DEFAULT_BUDGET;
    bool write = false;
    if (!parseOptions(argc, argv, 3, &budget, nullptr, &write))
        return fail("solve STAGE.txt [--budget PICKS] [--write]");
    Stage stage;
    std::string error;
    if (!readStageFile(argv[2], stage, error))
        return fail(error);
    SolveResult result;
    if (stage.solution.empty()) {
        result = solveStage(stage.start, stage.target, MAX_SEARCH_LENGTH, budget);
        stage.solution = result.picks;
    } else {
        result = shortenSolution(stage, budget);
    }
    if (stage.solution.empty())
        return fail(std::string(argv[2]) + ": no solution found; none has fewer than " +
                    std::to_string(result.provenFloor) + " picks");
    printf("solution%s\n", picksText(stage.solution).c_str());
    if (result.provenFloor >= int(stage.solution.size()))
        printf("%zu picks, the shortest there is (%llu picks searched)\n", stage.solution.size(),
               (unsigned long long)result.nodes);
    else
        printf("%zu picks; the search proved only that none has fewer than %d (%llu picks searched)\n",
               stage.solution.size(), result.provenFloor, (unsigned long long)result.nodes);
    if (write) {
        noteSolverResult(stage, result, budget);
        if (!writeTextFile(argv[2], formatStage(stage)))
            return fail(std::string(argv[2]) + ": cannot write the file");
    }
    return 0;
}

// For hand-made stages: edit the start board and the picks, and let the rules make the target.
static int retarget(const char *path) {
    Stage stage;
    std::string error;
    if (!readStageFile(path, stage, error))
        return fail(error);
    Board board = stage.start;
    for (size_t j = 0; j < stage.solution.size(); j++) {
        if (!settledPick(board, stage.solution[j], board))
            return fail(std::string(path) + ": pick " + std::to_string(j + 1) + " is not on a fruit");
    }
    stage.target = board;
    if (!writeTextFile(path, formatStage(stage)))
        return fail(std::string(path) + ": cannot write the file");
    return 0;
}

static bool isDirectory(const char *path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

static std::string measureText(int value, int cap = 0) {
    if (value == UNKNOWN)
        return "?";
    return (cap && value >= cap ? ">=" : "") + std::to_string(value);
}

// Per twelve stages (one music track each): the mean solution length, how many stages the greedy
// player solves, and the mean share of fatal first picks.
static void printGroups(const std::vector<Stage> &stages, const std::vector<Difficulty> &measures) {
    constexpr int GROUP = 12;
    printf("\nstages   mean picks  greedy solves  fatal first picks\n");
    for (size_t first = 0; first < stages.size(); first += GROUP) {
        size_t last = std::min(stages.size(), first + GROUP);
        double picks = 0, fatal = 0;
        int greedy = 0;
        for (size_t k = first; k < last; k++) {
            picks += measures[k].length;
            fatal += measures[k].fatalShare();
            greedy += measures[k].greedy > 0;
        }
        double n = double(last - first);
        printf("%3zu-%3zu %9.1f %9d of %zu %13.0f%%\n", first + 1, last, picks / n, greedy, last - first,
               100 * fatal / n);
    }
}

static int stats(int argc, char **argv) {
    uint64_t budget = DEFAULT_BUDGET;
    if (!parseOptions(argc, argv, 3, &budget, nullptr, nullptr))
        return fail("stats FILE|DIR [--budget PICKS]");
    std::vector<Stage> stages;
    std::string error;
    bool read =
        isDirectory(argv[2]) ? readStageFolder(argv[2], stages, error) : readStages(argv[2], stages, error);
    if (!read)
        return fail(error);
    printf("stage fruits picks shortest           greedy fatal solutions kinds\n");
    int proven = 0, longest = 0, greedyAfterTwelve = 0, undecided = 0;
    std::vector<Difficulty> measures;
    for (size_t k = 0; k < stages.size(); k++) {
        Stage stage = stages[k];
        int stored = int(stage.solution.size());
        SolveResult result = shortenSolution(stage, budget);
        int found = int(stage.solution.size());
        std::string status;
        if (result.provenFloor >= found) {
            proven++;
            status = "proven " + std::to_string(found);
        } else {
            status = "found " + std::to_string(found) + ", >= " + std::to_string(result.provenFloor);
        }
        Difficulty difficulty = measureStage(stage, budget);
        measures.push_back(difficulty);
        greedyAfterTwelve += k >= GREEDY_ALLOWED_UP_TO && difficulty.greedy > 0;
        undecided += difficulty.greedy == UNKNOWN || difficulty.unknownFirstPicks > 0 ||
                     difficulty.shortestSolutions == UNKNOWN;
        std::string kinds;
        for (int v = 1; v <= 5; v++)
            kinds += std::count(stage.start.begin(), stage.start.end(), v) ? char('0' + v) : '-';
        std::string fatal = std::to_string(int(100 * difficulty.fatalShare() + 0.5)) + "%";
        if (difficulty.unknownFirstPicks)
            fatal += "?";
        printf("%5zu %6d %5d %-18s %6s %5s %9s %s%s\n", k + 1, fruitCount(stage.start), stored,
               status.c_str(), difficulty.greedy ? measureText(difficulty.greedy).c_str() : "no",
               fatal.c_str(), measureText(difficulty.shortestSolutions, SOLUTIONS_CAP).c_str(), kinds.c_str(),
               found < stored ? "  (a shorter solution exists)" : "");
        longest = std::max(longest, stored);
    }
    printf("\nsolution length per stage (one column per stage)\n");
    for (int length = longest; length >= 1; length--) {
        printf("%3d ", length);
        for (const Stage &stage : stages)
            putchar(int(stage.solution.size()) >= length ? '#' : ' ');
        putchar('\n');
    }
    printf("    ");
    for (size_t k = 1; k <= stages.size(); k++)
        putchar(k % 10 == 0 ? '0' + char(k / 10 % 10) : k % 5 == 0 ? '+' : '.');
    putchar('\n');
    printGroups(stages, measures);
    printf("\n%zu stages, %d with a solution proven shortest (search budget %llu picks); after stage %d the "
           "greedy player solves %d\n",
           stages.size(), proven, (unsigned long long)budget, GREEDY_ALLOWED_UP_TO, greedyAfterTwelve);
    if (undecided > 0)
        printf("%d stages with a measure the search left undecided (?): give it a larger --budget\n",
               undecided);
    return 0;
}

// "test.bin" is the first 160 bytes of a record, unscrambled. A solution given in the stage text is
// replayed first, so the test stage is known to be solvable.
static int testbin(const char *path, const char *out) {
    Stage stage;
    std::string error;
    if (!readStageFile(path, stage, error))
        return fail(error);
    if (!isGravityStable(stage.start))
        return fail(std::string(path) + ": the start board has a fruit above an empty cell");
    Board board = stage.start;
    for (const Pick &pick : stage.solution) {
        if (!settledPick(board, pick, board))
            return fail(std::string(path) + ": a pick of the solution is not on a fruit");
    }
    if (!stage.solution.empty() && board != stage.target)
        return fail(std::string(path) + ": the solution does not reach the target");
    uint8_t record[LEVEL_RECORD_SIZE];
    stageToRecord(stage, record);
    if (!writeFileAtomically(out, record, LEVEL_SOLUTION_OFFSET))
        return fail(std::string(out) + ": cannot write the file");
    return 0;
}

static int usage() {
    fprintf(stderr, "usage: levels generate SEED DIR [--count N] [--budget PICKS]\n"
                    "       levels pack DIR FILE\n"
                    "       levels unpack FILE DIR\n"
                    "       levels verify FILE\n"
                    "       levels solve STAGE.txt [--budget PICKS] [--write]\n"
                    "       levels retarget STAGE.txt\n"
                    "       levels stats FILE|DIR [--budget PICKS]\n"
                    "       levels testbin STAGE.txt FILE\n");
    return 2;
}

int main(int argc, char **argv) {
    std::string command = argc >= 2 ? argv[1] : "";
    if (command == "generate" && argc >= 4)
        return generate(argc, argv);
    if (command == "pack" && argc == 4)
        return pack(argv[2], argv[3]);
    if (command == "unpack" && argc == 4)
        return unpack(argv[2], argv[3]);
    if (command == "verify" && argc == 3)
        return verify(argv[2]);
    if (command == "solve" && argc >= 3)
        return solve(argc, argv);
    if (command == "retarget" && argc == 3)
        return retarget(argv[2]);
    if (command == "stats" && argc >= 3)
        return stats(argc, argv);
    if (command == "testbin" && argc == 4)
        return testbin(argv[2], argv[3]);
    return usage();
}
