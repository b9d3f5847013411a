// The stage text form and the scrambled level file, read and written for the level tool.
#include "stagefile.h"

#include "data/fileio.h"
#include "main/level.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>
#include <sstream>

constexpr int MAX_LEVELS = 255; // the level file's count is one byte

// Missing, unreadable and empty files alike give false.
static bool readText(const std::string &path, std::string &text) {
    uint32_t size = 0;
    uint8_t *bytes = loadBINFile(path.c_str(), &size);
    if (!bytes)
        return false;
    text.assign(reinterpret_cast<char *>(bytes), size);
    free(bytes);
    return true;
}

bool writeTextFile(const std::string &path, const std::string &text) {
    return writeFileAtomically(path.c_str(), text.data(), text.size());
}

static std::vector<std::string> words(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    std::string word;
    while (in >> word)
        out.push_back(word);
    return out;
}

static bool parseRow(const std::string &word, Board &board, int row) {
    if (word.size() != size_t(BOARD_COLUMNS))
        return false;
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        char ch = word[c];
        if (ch != '.' && (ch < '1' || ch > '5'))
            return false;
        board[cellAt(c, row)] = ch == '.' ? 0 : uint8_t(ch - '0');
    }
    return true;
}

static bool parsePick(const std::string &word, Pick &pick) {
    int column, row;
    char tail;
    if (sscanf(word.c_str(), "%d,%d%c", &column, &row, &tail) != 2)
        return false;
    pick = {column, row};
    return column >= 0 && column < BOARD_COLUMNS && row >= 0 && row < BOARD_ROWS;
}

bool parseStage(const std::string &text, const std::string &name, Stage &stage, std::string &error) {
    stage = Stage{};
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0, rows = 0;
    bool solution = false;
    auto fail = [&](const char *what) {
        error = name + ":" + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        lineNumber++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        if (line[first] == '#') {
            stage.comments.push_back(line.substr(first + 1));
            continue;
        }
        std::vector<std::string> items = words(line);
        if (items[0] == "solution") {
            if (rows < BOARD_ROWS)
                return fail("the solution comes after the ten rows of board and target");
            if (solution)
                return fail("a second solution line");
            solution = true;
            for (size_t i = 1; i < items.size(); i++) {
                Pick pick;
                if (!parsePick(items[i], pick))
                    return fail("a pick is column,row with column 0 to 7 and row 0 to 9");
                stage.solution.push_back(pick);
            }
            if (stage.solution.size() > size_t(LEVEL_MAX_SOLUTION))
                return fail("a solution holds at most 64 picks");
            continue;
        }
        if (rows == BOARD_ROWS || solution)
            return fail("text after the ten rows where only the solution line belongs");
        if (items.size() != 2 || !parseRow(items[0], stage.start, rows) ||
            !parseRow(items[1], stage.target, rows))
            return fail("a row is 8 board cells and 8 target cells, each '.' (empty) or 1 to 5");
        rows++;
    }
    lineNumber++;
    if (rows < BOARD_ROWS)
        return fail("the board and target need ten rows");
    if (!solution)
        return fail("the solution line is missing (\"solution\" and the picks)");
    return true;
}

static char cellChar(uint8_t value) { return value == 0 ? '.' : char('0' + value); }

std::string formatStage(const Stage &stage) {
    std::string text;
    for (const auto &comment : stage.comments)
        text += "#" + comment + "\n";
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++)
            text += cellChar(stage.start[cellAt(c, r)]);
        text += "  ";
        for (int c = 0; c < BOARD_COLUMNS; c++)
            text += cellChar(stage.target[cellAt(c, r)]);
        text += "\n";
    }
    text += "solution";
    for (const auto &pick : stage.solution)
        text += " " + std::to_string(pick.column) + "," + std::to_string(pick.row);
    text += "\n";
    return text;
}

bool readStageFile(const std::string &path, Stage &stage, std::string &error) {
    std::string text;
    if (!readText(path, text)) {
        error = path + ": cannot read the file (missing or empty)";
        return false;
    }
    return parseStage(text, path, stage, error);
}

std::string stageFileName(int number) {
    char name[32];
    snprintf(name, sizeof name, "stage-%03d.txt", number);
    return name;
}

bool readStageFolder(const std::string &dir, std::vector<Stage> &stages, std::string &error) {
    std::map<int, std::string> files;
    DIR *d = opendir(dir.c_str());
    if (!d) {
        error = dir + ": cannot open the folder";
        return false;
    }
    while (dirent *entry = readdir(d)) {
        int number;
        char tail;
        if (sscanf(entry->d_name, "stage-%d.tx%c", &number, &tail) == 2 && tail == 't' &&
            entry->d_name == stageFileName(number))
            files[number] = dir + "/" + entry->d_name;
    }
    closedir(d);
    stages.clear();
    for (const auto &[number, path] : files) {
        if (number != int(stages.size()) + 1) {
            error = dir + ": stage " + std::to_string(stages.size() + 1) + " is missing (" +
                    stageFileName(int(stages.size()) + 1) + ")";
            return false;
        }
        Stage stage;
        if (!readStageFile(path, stage, error))
            return false;
        stages.push_back(stage);
    }
    if (stages.empty() || stages.size() > size_t(MAX_LEVELS)) {
        error = dir + ": a level set holds 1 to 255 stages (stage-001.txt on), not " +
                std::to_string(stages.size());
        return false;
    }
    return true;
}

void stageToRecord(const Stage &stage, uint8_t *record) {
    memset(record, 0, LEVEL_RECORD_SIZE);
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            record[16 * r + c] = stage.start[cellAt(c, r)];
            record[16 * r + 8 + c] = stage.target[cellAt(c, r)];
        }
    }
    // Unused entries are end markers too, so no stray pick hides behind the first one.
    memset(record + LEVEL_SOLUTION_OFFSET, SOLUTION_END, 2 * LEVEL_MAX_SOLUTION);
    for (size_t j = 0; j < stage.solution.size() && j < size_t(LEVEL_MAX_SOLUTION); j++) {
        record[LEVEL_SOLUTION_OFFSET + 2 * j] = uint8_t(stage.solution[j].column);
        record[LEVEL_SOLUTION_OFFSET + 2 * j + 1] = uint8_t(stage.solution[j].row);
    }
}

Stage recordToStage(const uint8_t *record) {
    Stage stage;
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            stage.start[cellAt(c, r)] = uint8_t(startValue(record, c, r));
            stage.target[cellAt(c, r)] = uint8_t(targetValue(record, c, r));
        }
    }
    int n = solutionLength(record);
    for (int j = 0; j < n; j++)
        stage.solution.push_back(
            {record[LEVEL_SOLUTION_OFFSET + 2 * j], record[LEVEL_SOLUTION_OFFSET + 2 * j + 1]});
    return stage;
}

bool readLevelFile(const std::string &path, std::vector<uint8_t> &plain, std::string &error) {
    std::string bytes;
    if (!readText(path, bytes)) {
        error = path + ": cannot read the file (missing or empty)";
        return false;
    }
    plain.assign(bytes.begin(), bytes.end());
    descrambleLevels(plain.data(), plain.size());
    return true;
}

bool writeLevelFile(const std::string &path, const std::vector<Stage> &stages, std::string &error) {
    if (stages.empty() || stages.size() > size_t(MAX_LEVELS)) {
        error = path + ": a level file holds 1 to 255 stages, not " + std::to_string(stages.size());
        return false;
    }
    std::vector<uint8_t> plain(1 + LEVEL_RECORD_SIZE * stages.size());
    plain[0] = uint8_t(stages.size());
    for (size_t k = 0; k < stages.size(); k++)
        stageToRecord(stages[k], plain.data() + 1 + LEVEL_RECORD_SIZE * k);
    scrambleLevels(plain.data(), plain.size());
    if (!writeFileAtomically(path.c_str(), plain.data(), plain.size())) {
        error = path + ": cannot write the file";
        return false;
    }
    return true;
}

bool isGravityStable(const Board &board) {
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        for (int r = 0; r + 1 < BOARD_ROWS; r++) {
            if (board[cellAt(c, r)] != 0 && board[cellAt(c, r + 1)] == 0)
                return false;
        }
    }
    return true;
}

int fruitCount(const Board &board) {
    return int(std::count_if(board.begin(), board.end(), [](uint8_t v) { return v != 0; }));
}
