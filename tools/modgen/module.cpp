// Writing a song as an M.K. module.
#include "module.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Periods of the three octaves a module may use; index 12 (C-3) is period 428.
constexpr int periods[NOTES] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                                428, 404, 381, 360, 340, 320, 302, 285, 269, 254, 240, 226,
                                214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

void putName(std::string &out, const std::string &name, size_t size) {
    std::string field = name.substr(0, size);
    field.resize(size, '\0');
    out += field;
}
void putWord(std::string &out, int value) {
    out += char((value >> 8) & 0xFF);
    out += char(value & 0xFF);
}

std::string patternBytes(const std::vector<Row> &rows, size_t first) {
    std::string out;
    for (size_t r = first; r < first + ROWS; r++)
        for (const Cell &cell : rows[r]) {
            int period = cell.note >= 0 ? periods[cell.note] : 0;
            out += char((cell.sample & 0xF0) | (period >> 8));
            out += char(period & 0xFF);
            out += char(((cell.sample & 0x0F) << 4) | cell.effect);
            out += char(cell.param);
        }
    return out;
}

} // namespace

std::string writeModule(const Song &song, const std::array<Sample, INSTRUMENTS> &instruments) {
    Song copy = song;
    if (song.loops) // for players that loop by themselves; ours starts the song again from the top
        command(copy, int(copy.rows.size()) - 1, 0xB, 0);
    std::vector<std::string> patterns;
    std::vector<int> orders;
    for (size_t first = 0; first + ROWS <= copy.rows.size(); first += ROWS) {
        std::string bytes = patternBytes(copy.rows, first);
        size_t index = 0;
        while (index < patterns.size() && patterns[index] != bytes)
            index++;
        if (index == patterns.size())
            patterns.push_back(bytes);
        orders.push_back(int(index));
    }
    if (orders.empty() || orders.size() > 128 || patterns.size() > 64) {
        fprintf(stderr, "modgen: %s has %zu orders of %zu patterns\n", song.title.c_str(), orders.size(),
                patterns.size());
        exit(1);
    }
    std::string out;
    putName(out, song.title, 20);
    for (int i = 1; i <= 31; i++) {
        Sample none{"", {}, 0, false};
        const Sample &s = i < INSTRUMENTS ? instruments[i] : none;
        putName(out, s.name, 22);
        putWord(out, int(s.data.size() / 2));
        out += char(0);        // finetune
        out += char(s.volume); // default volume
        putWord(out, 0);       // loop start
        putWord(out, s.loops ? int(s.data.size() / 2) : 1);
    }
    out += char(orders.size());
    out += char(127);
    for (size_t i = 0; i < 128; i++)
        out += char(i < orders.size() ? orders[i] : 0);
    out += "M.K.";
    for (const std::string &pattern : patterns)
        out += pattern;
    for (int i = 1; i < INSTRUMENTS; i++)
        out.append(reinterpret_cast<const char *>(instruments[i].data.data()), instruments[i].data.size());
    return out;
}
