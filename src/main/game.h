// A game: stage after stage, from start to the last stage, game over or exit.
#pragma once

#include <cstdint>

struct _ModPlugFile;
typedef struct _ModPlugFile ModPlugFile;

extern int32_t hsRank;                                   // rank of the hiscore entry just made, -1 when none
extern int32_t canSolve;                                 // auto-resolve still available in this game
extern int32_t curBlock, curBirdsBlock, curFlowersBlock; // which sheet variants the stage uses
extern int32_t lameMode, slowMode;                       // cheat names in the hiscore table
extern int32_t curMusic;                                 // the music track playing, 0 to 10
extern uint32_t currentTime, endTime;                    // milliseconds of the platform clock
extern int32_t paused, escape, canUndo;
extern int32_t workflow; // the menu's state; a game that ends with a hiscore entry leaves it at -3

// Flags reset by the asset set-up.
extern int32_t useSound, loaded, lastLoad;

// What one call of run keeps between its stages; the pause menu and the stage end work on it too.
struct StagePlay {
    int stage;          // 0-based; -1 is the test stage
    int32_t movesUsed;  // counted moves in this stage
    int restart;        // RESTART LEVEL was chosen
    ModPlugFile *music; // the module this run loaded, or nullptr
    int musicLoaded;    // a module has been loaded in this run
    int musicPending;   // the old track is fading out; the new one starts when it has stopped
    int warning;        // ticks until the next time warning sound
    int solving;        // auto-resolve is replaying the stored solution
    int solIndex;       // byte offset into currentSol; -1 while the board reset is pending
};

void run(int startStage, int a, int b); // startStage -1: the test stage

// Helpers the stage's screens share.
void animateStage();         // sparkles, flying pieces, mascot and scenery: one tick
void startPick();            // the hand starts its 32-tick countdown on the cursor's cell
void gameDrainConfirm();     // waits, polling every 100 ms, until START or JUMP is no longer released
void gameNewSheetVariants(); // fruit, bird and flower sheets chosen at random
