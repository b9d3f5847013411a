// The program entry.
#include "main/startup.h"

int main(int argc, char **argv) { return gameMain(argc, argv); }
