// The interface text table: every text the game shows, by id, per language.
#include "main/i18n.h"

unsigned lang_id = 0;

static_assert(TEXT_HIT_KEY == 88 && TEXT_SCROLLER == 89 && TEXT_COUNT == 90, "the ids are the table's rows");

// Language blocks of TEXT_COUNT texts each; id n of language l is entry l * TEXT_COUNT + n.

const char *const translation[][TEXT_COUNT] = {
    {
        "BACK TO GAME",                            // 0
        "UNDO LAST MOVE",                          // 1
        "RESTART LEVEL",                           // 2
        "AUTO RESOLVE",                            // 3
        "EXIT",                                    // 4
        "PRESS START",                             // 5
        "NEW GAME",                                // 6
        "CONTINUE",                                // 7
        "HISCORES",                                // 8
        "OPTIONS",                                 // 9
        "PRESS START",                             // 10
        "NOT AVAILABLE",                           // 11
        "CONFIGURE KEYS",                          // 12
        "PRESS START KEY",                         // 13
        "PRESS LEFT KEY",                          // 14
        "PRESS RIGHT KEY",                         // 15
        "PRESS UP KEY",                            // 16
        "PRESS DOWN KEY",                          // 17
        "PRESS ACTION KEY",                        // 18
        "CONFIGURE PAD",                           // 19
        "PRESS START BUTTON",                      // 20
        "PRESS ACTION BUTTON",                     // 21
        "MUSIC VOLUME",                            // 22
        "SFX VOLUME",                              // 23
        "SCREEN SETTINGS",                         // 24
        "BOXED 320 X 240",                         // 25
        "BOXED 640 X 480",                         // 26
        "FULL SCREEN",                             // 27
        "SCALING SETTINGS",                        // 28
        "NOT AVAILABLE",                           // 29
        "SIMPLE",                                  // 30
        "SCALE2X",                                 // 31
        "SCANLINE",                                // 32
        "BILINEAR AA",                             // 33
        "ANTIALIASING",                            // 34
        "APPLY AND BACK TO MENU",                  // 35
        "YES",                                     // 36
        "NO",                                      // 37
        "SOUNDCHECK",                              // 38
        "RESET TO DEFAULT",                        // 39
        "RESET HISCORES",                          // 40
        "BACK TO MENU",                            // 41
        "ALREADY USED, CHOOSE ANOTHER ONE",        // 42
        "ENTER YOUR NAME:",                        // 43
        "TIME UP",                                 // 44
        "NO MOVE LEFT",                            // 45
        "ALL GONE",                                // 46
        "MOVE",                                    // 47
        "LIVES",                                   // 48
        "LIFE",                                    // 49
        "AT STAGE",                                // 50
        "SURE TO QUIT?",                           // 51
        "<--- CONTINUE    EXIT --->",              // 52
        "ANY POSSIBLE HISCORE ENTRY WILL BE LOST", // 53
        "TIME BONUS",                              // 54
        "LIFE BONUS",                              // 55
        "MOVE BONUS",                              // 56
        "CONGRATULATIONS",                         // 57
        "WONDERFUL",                               // 58
        "EXCELLENT",                               // 59
        "AWESOME",                                 // 60
        "GREAT",                                   // 61
        "STAGE %d NEXT",                           // 62
        "SCORE",                                   // 63
        "CONTINUE?",                               // 64
        "CREDITS",                                 // 65
        "THIS PROJECT USES CODE OF",               // 66
        "THE FOLLOWING OPEN-SOURCE",               // 67
        "PROJECTS IN UNMODDED FORM:",              // 68
        "SDL, SDL MIXER, LIBMODPLUG",              // 69
        "AND ZLIB",                                // 70
        "YOU CAN GET THE SOURCE CODE",             // 71
        "OF THE MENTIONED LIBRARIES",              // 72
        "BY VISITING THE RESPECTIVE",              // 73
        "HOMEPAGES.",                              // 74
        "HOW TO PLAY",                             // 75
        "REPRODUCE THE RIGHT SCREEN BY",           // 76
        "PICKING FRUITS. CHOSEN FRUITS",           // 77
        "CHANGE INTO OTHER FRUITS WHILE",          // 78
        "THE CENTERED ONE MORPHS BY TWO",          // 79
        "STEPS. THE ONE LOCATED ABOVE,",           // 80
        "BELOW, TO THE LEFT and TO THE",           // 81
        "RIGHT MORPHS ONE STEP.",                  // 82
        "LEVEL ONE AHEAD...",                      // 83
        "CONGRATULATIONS",                         // 84
        "KAVRIN HAD ENOUGH FRUITS FOR SURE NOW.",  // 85
        "THANK YOU VERY MUCH FOR GUIDING HIM.",    // 86
        "WHAT ADVENTURES MIGHT BE UP NEXT?",       // 87
        "HIT ACTION BUTTON OR ANY KEY",            // 88
        // 89: the credits scroller; it enters from the right edge and leaves the screen completely.
        "                                         " // 41 blanks
        "WELCOME TO MIRABO! --- "
        "A FRUIT-MORPHING PUZZLE GAME MADE WITH LOVE BY ZENK, A VERY SMALL STUDIO --- "
        "GAME DESIGN, CODE, PIXEL ART, SOUND EFFECTS AND MUSIC BY THE ZENK TEAM --- "
        "LEVEL DESIGN: THE ZENK PUZZLE MACHINE, CHECKED STAGE BY STAGE BY OUR OWN SOLVER --- "
        "KAVRIN THE LITTLE FRUIT LOVER WAS DRAWN PIXEL BY PIXEL IN THE ZENK WORKSHOP --- "
        "THANKS TO THE AUTHORS OF THE OPEN-SOURCE LIBRARIES THAT MAKE THIS GAME RUN: SDL, SDL MIXER, "
        "LIBMODPLUG AND ZLIB. YOU ARE GREAT! --- "
        "GREETINGS FLY OUT TO EVERY HANDHELD OWNER, TO ALL TRACKER MUSICIANS OUT THERE, TO THE HOMEBREW "
        "SCENE, TO ALL PUZZLE FANS AND TO EVERYONE WHO KEEPS SMALL GAMES ALIVE --- "
        "HELLO ALSO TO THE HIPPO, THE BIRDS AND THE FLOWERS OF THE SAVANNA AND TO ALL THE MONKEYS IN THE "
        "JUNGLE :) --- "
        "DID YOU LIKE MIRABO? THEN PLEASE SUPPORT US: TELL YOUR FRIENDS, SHARE YOUR HISCORES, SEND US "
        "YOUR IDEAS AND REPORT EVERY BUG YOU FIND. EVERY KIND WORD KEEPS THE ZENK TEAM MAKING GAMES (AND "
        "EATING FRUIT) --- "
        "HINT: A FRUIT PICKED IN THE CENTRE MORPHS BY TWO STEPS, ITS NEIGHBOURS BY ONE. THINK BEFORE YOU "
        "PICK! :) --- "
        "THANK YOU FOR PLAYING. HAVE FUN AND SEE YOU IN THE NEXT STAGE..."
        "                                                 ", // 49 blanks
    },
};

// Called by every screen for each text it shows.
const char *text(int id) { return translation[lang_id][id]; }
