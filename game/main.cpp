// The game's entry point. The command line is ignored; the data files are read from
// the current folder.
#include "game/startup.h"

int main(int, char**) {
    return RunGame(DefaultPlatform());
}
