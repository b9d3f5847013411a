// A game: stage after stage, from start to the last stage, game over or exit.
#pragma once

#include "main/level.h"

#include <cstdint>

struct _ModPlugFile;
typedef struct _ModPlugFile ModPlugFile;
struct Screen;

// How a stage's ticks ended.
enum StageEnd { END_ESCAPE, END_RESTART, END_WON, END_LOST };

// What the game does next, each time the screen above the game has finished.
enum GameStep {
    STEP_STAGE,             // a stage starts, or the game ends after EXIT in the pause menu
    STEP_STAGE_OVER,        // the stage has ended as play.end says
    STEP_COUNTED,           // the bonus count after a won stage is over
    STEP_ENDING_SEEN,       // the congratulation screen after the last stage is over
    STEP_LIFE_LOST,         // the lost-life message is over
    STEP_GAME_OVER_SEEN,    // the game-over screen is over
    STEP_ENTERED_AT_END,    // the hiscore entry after the last stage is over
    STEP_ENTERED_GAME_OVER, // the hiscore entry after a game over is over
    STEP_CONTINUE_CHOSEN,   // the continue choice is made
    STEP_OVER,              // the game has ended
};

// The game in progress: what the stage, its pause menu, the stage end and the stage drawing share.
// A game starts it afresh; the menu reads how the last one ended.
struct StagePlay {
    int stage;           // 0-based; -1 is the test stage
    int32_t score;       // a life for every 2500 points
    int32_t lives;       // 3 at the start
    int32_t hsRank = -1; // rank of the hiscore entry made in this game, -1 when none
    int32_t canSolve;    // auto-resolve still available in this game
    int32_t curBlock, curBirdsBlock, curFlowersBlock; // which sheet variants the stage uses
    int32_t lameMode, slowMode;                       // cheat names in the hiscore table

    // The stage in play.
    uint32_t currentTime, endTime; // milliseconds of the platform clock; endTime holds the time left
                                   // while the pause menu is open
    int32_t movesUsed;             // counted moves in this stage
    int32_t paused;                // the pause menu is asked for
    int32_t escape;                // EXIT was chosen: the game ends at the next stage start
    int32_t canUndo;               // currentUndo holds the board before the last counted move
    Cells currentUndo;
    int restart;     // RESTART LEVEL was chosen
    int warning;     // ticks until the next time warning sound
    int solving;     // auto-resolve is replaying the stored solution
    int solIndex;    // byte offset into currentSol; -1 while the board reset is pending
    int pauseClosed; // the pause menu was open: the tick it opened in goes on

    // The stage's music: twelve stages share a track.
    ModPlugFile *music; // the module this game loaded, or nullptr
    int musicLoaded;    // a module has been loaded in this game
    int musicPending;   // the old track is fading out; the new one starts when it has stopped

    // The game's course.
    StageEnd end;               // how the last stage ended
    GameStep step;              // what the game does next
    int tutorialC1, tutorialC2; // the menu's layer counters, for the tutorial's background
    int continueChosen;         // the continue screen's answer: 1 continue, 0 leave
    int enteredHiscore;         // the game ended with an entry in the hiscore table
    int quitRequested;          // a quit request came during the hiscore entry: the program ends
};
extern StagePlay play;

// Called by the main menu for a new or continued game, and by the test mode with -1; a and b are
// the menu's layer counters, which the tutorial before a new game carries on. The game's screens
// run from the next tick on; the menu goes on when they have all finished.
void run(int startStage, int a, int b);
extern const Screen gameScreen;  // the game itself: the screens of a stage come and go above it
extern const Screen stageScreen; // one stage's ticks

// Helpers the stage's screens share.
void animateStage();         // sparkles, flying pieces, mascot and scenery: one tick
void startPick();            // the hand starts its 32-tick countdown on the cursor's cell
void gameNewSheetVariants(); // fruit, bird and flower sheets chosen at random
void addScore(int points);   // points for the score, and a life for every 2500 it passes
